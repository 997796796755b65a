#include "text/texts.h"

namespace text {

const char* const teeth_out_of_range = "Tandental moet tussen 6 en 250 liggen.";
const char* const invalid_chain_dimensions = "Ongeldige kettingmaten.";
const char* const tooth_form_failed = "Tandvorm kan niet worden gemaakt.";

const char* const unknown_chain_size = "Onbekende kettingmaat.";
const char* const prefix_wheel1 = "Z1: ";
const char* const prefix_wheel2 = "Z2: ";
const char* const prefix_idler = "Spanwiel: ";
const char* const wheels_overlap = "Hartafstand te klein: de wielen overlappen (minimaal {} mm).";
const char* const no_valid_input = "Geen geldige invoer.";
const char* const centre_distance_too_small = "Hartafstand te klein.";
const char* const chain_cannot_be_laid =
    "De ketting kan niet om de wielen gelegd worden (spanwiel te dicht bij een wiel?).";
const char* const chain_too_short = "Ketting te kort: minstens {} schakels nodig.";
const char* const idler_cannot_take_up =
    "Het spanwiel kan zoveel speling niet opnemen: minder schakels of een grotere hartafstand.";
const char* const idler_runs_into_wheel =
    "Het spanwiel komt tegen een wiel aan: minder schakels of het spanwiel verplaatsen.";
const char* const internal_roller_count = "Interne fout: {} rollen in plaats van {}";
const char* const warn_odd_links = "Oneven aantal schakels: er is een verkropte schakel nodig.\n";
const char* const warn_idler_touches_wheel1 = "Het spanwiel raakt wiel 1.\n";
const char* const warn_idler_touches_wheel2 = "Het spanwiel raakt wiel 2.\n";
const char* const warn_wrap_below_120 = "Omspanningshoek kleiner dan 120\u00b0 op een kettingwiel.\n";
const char* const warn_recommended_centre_distance = "Aanbevolen hartafstand: 30 tot 50 x de steek ({} - {} mm).\n";
const char* const warn_chain_not_closed = "De ketting sluit niet netjes (afwijking {} mm).\n";

const char* const report_chain = "Ketting ";
const char* const report_wheel1 = "Wiel 1 (drijvend)";
const char* const report_wheel2 = "Wiel 2";
const char* const report_idler = "Spanwiel";
const char* const report_ratio = "Overbrenging i = Z2 / Z1 = ";
const char* const report_iso_links = "Schakels zonder spanwiel (ISO): ";
const char* const report_tight_links = "Schakels (gelegd, strak): ";
const char* const report_chosen_links = "Gekozen aantal schakels: ";
const char* const report_chain_length = "Kettinglengte: ";
const char* const report_centre_distance_without_idler = "Hartafstand zonder spanwiel: ";
const char* const report_idler_deflection = "Indrukking spanwiel: ";
const char* const report_idler_at = "Spanwiel op (x, y): ";
const char* const report_error = "\nFOUT: ";
const char* const report_note = "\nLet op:\n";
const char* const report_bore1_too_large = "Boring Z1 is te groot voor het wiel.\n";
const char* const report_bore2_too_large = "Boring Z2 is te groot voor het wiel.\n";
const char* const report_idler_bore_too_large = "Boring spanwiel is te groot voor het wiel.\n";
const char* const report_pointed = "  spits: ";
const char* const report_tooth_width = "  tandbreedte bf1 = ";
const char* const report_wrap = "   omspanning ";

}  // namespace text
