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
const char* const chain_too_long = "De ketting zou langer worden dan het programma legt (hoogstens {} rollen).";
const char* const chain_barely_wraps_wheel1 =
    "De ketting omspant wiel 1 nauwelijks: minder schakels, een grotere hartafstand of het spanwiel verder van wiel 1.";
const char* const chain_does_not_close_here =
    "De ketting kan met {} schakels niet sluiten op deze plaats van het spanwiel: een ander aantal schakels of "
    "het spanwiel verplaatsen.";
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
const char* const report_bore1_too_small = "Boring Z1 is te klein om te boren (minder dan 0.01 mm).\n";
const char* const report_bore2_too_small = "Boring Z2 is te klein om te boren (minder dan 0.01 mm).\n";
const char* const report_idler_bore_too_small = "Boring spanwiel is te klein om te boren (minder dan 0.01 mm).\n";
const char* const report_pointed = "  spits: ";
const char* const report_tooth_width = "  tandbreedte bf1 = ";
const char* const report_wrap = "   omspanning ";

// Main window
const char* const cannot_open_display = "Zandrel: kan het beeldscherm niet openen.\n";
const char* const window_title_initial = "Zandrel - rollenketting met kettingwielen (ISO 606 / DIN 8187 / DIN 8196)";
const char* const title_prefix = "Zandrel - ";
const char* const title_new_project = "nieuw project";
const char* const title_modified_mark = " *";
const char* const title_suffix = "   (ISO 606 / DIN 8187 / DIN 8196)";
const char* const program_version_line = "Zandrel 1.00";
const char* const build_language = "nl";
const char* const button_open = "Openen...";
const char* const button_save = "Opslaan";
const char* const button_save_as = "Opslaan als...";
const char* const button_help = "Help";
const char* const tooltip_open = "Project openen (Ctrl+O)";
const char* const tooltip_save = "Project opslaan (Ctrl+S)";
const char* const tooltip_help = "Handleiding (F1) en Over Zandrel";
const char* const menu_user_guide = "Handleiding\tF1";
const char* const menu_about = "Over Zandrel";
const char* const label_chain = "Ketting (ISO 606 / DIN 8187)";
const char* const label_z1 = "Tanden Z1 (drijvend wiel)";
const char* const label_z2 = "Tanden Z2";
const char* const label_centre_distance = "Hartafstand a [mm]";
const char* const label_links = "Schakels (0 = automatisch)";
const char* const tooltip_links = "0 = het kleinste even aantal waarmee de ketting om de wielen past";
const char* const label_idler_teeth = "Tanden spanwiel";
const char* const label_idler_position = "Plaats spanwiel";
const char* const tooltip_idler_position = "Plaats langs het losse part: links = bij Z1, rechts = bij Z2 (of sleep het spanwiel in de tekening)";
const char* const percent_suffix = " %";
const char* const idler_side_outside = "Spanwiel buiten de ketting (drukt naar binnen)";
const char* const idler_side_inside = "Spanwiel binnen de ketting (drukt naar buiten)";
const char* const label_bores = "Boring Z1 / Z2 [mm]";
const char* const tooltip_bore1 = "Boring van wiel 1, 0 = geen";
const char* const tooltip_bore2 = "Boring van wiel 2, 0 = geen";
const char* const label_idler_bore = "Boring spanwiel [mm]";
const char* const check_rotate = "Draaien";
const char* const tooltip_speed = "Snelheid van de animatie";
const char* const check_show_pitch_circles = "Steekcirkels tonen";
const char* const check_export_pitch_circles = "Steekcirkels meeexporteren";
const char* const scope_everything = "Exporteren: alles, zoals in beeld";
const char* const scope_chain = "Exporteren: alleen de ketting";
const char* const scope_wheel1 = "Exporteren: alleen wiel 1 (Z1)";
const char* const scope_wheel2 = "Exporteren: alleen wiel 2 (Z2)";
const char* const scope_idler = "Exporteren: alleen het spanwiel";
const char* const button_dxf_2d = "2D DXF...";
const char* const button_step_2d = "2D STEP...";
const char* const button_dxf_3d = "3D DXF...";
const char* const button_step_3d = "3D STEP...";
const char* const button_stl = "STL...";
const char* const tooltip_dxf_2d = "2D-tekening zoals in beeld: wielen, schalmen, pennen en rollen als losse curven op eigen lagen";
const char* const tooltip_step_2d = "Dezelfde curven als STEP (AP214), elke omtrek een gesloten curve";
const char* const tooltip_dxf_3d = "3D-model als driehoeken (3DFACE), per onderdeel een laag";
const char* const tooltip_step_3d = "3D-model als volumes (STEP AP214): elk wiel, elke schalm, bus, rol en pen een eigen volume";
const char* const tooltip_stl = "3D-model als gesloten driehoeksnet (STL, binair), bijvoorbeeld voor 3D-printen";
const char* const label_chord_tolerance = "Koordafwijking 3D [mm]";
const char* const tooltip_chord_tolerance = "Grootste afstand tussen het driehoeksnet en de echte vorm; groter = kleiner bestand";
const char* const chain_pitch_infix = "   p = ";

// Canvas
const char* const canvas_label_z1 = "Z1 = ";
const char* const canvas_label_z2 = "Z2 = ";
const char* const canvas_label_idler = "spanwiel";
const char* const canvas_strand_note = "Boven: strak part   onder: los part met spanwiel   {} schakels";
const char* const canvas_status_line =
    "Wiel = zoomen   slepen = verschuiven   spanwiel slepen = verplaatsen   dubbelklik = passend   ({} px/mm, {} ms)";

// Project and preferences files
const char* const project_cannot_open = "Kan het bestand niet openen.";
const char* const project_not_zandrel = "Dit is geen Zandrel-project.";
const char* const project_unknown_chain_size = "Onbekende kettingmaat in het project; 08B gekozen.";
const char* const project_cannot_write = "Kan het bestand niet schrijven.";
const char* const project_open_title = "Project openen";
const char* const project_save_title = "Project opslaan";
const char* const project_filter = "Zandrel-project (*.zdr)";
const char* const project_all_files_filter = "Alle bestanden (*.*)";
// Follows "'" + file name.
const char* const project_overwrite_question = "' bestaat al. Overschrijven?";
const char* const project_changed_question = "Het project is gewijzigd. Wijzigingen opslaan?";
const char* const message_box_title = "Zandrel";
const char* const dialog_button_ok = "_OK";
const char* const dialog_button_cancel = "_Annuleren";
const char* const dialog_button_yes = "_Ja";
const char* const dialog_button_no = "_Nee";
const char* const dialog_button_open = "_Openen";
const char* const dialog_button_save = "Op_slaan";

// User guide and About
const char* const user_guide_file_name = "zandrel_handleiding.html";
const char* const user_guide_title = "Handleiding";
const char* const user_guide_write_failed = "Kan de handleiding niet in de tijdelijke map zetten:\n";
const char* const user_guide_no_browser =
    "Er kon geen browser voor de handleiding gestart worden (is xdg-open geïnstalleerd?). Open hem zelf:\n";
const char* const user_guide_browser_failed =
    "De browser voor de handleiding kon niet gestart worden. Open hem zelf:\n";
const char* const about_title_english = "About";
const char* const about_close_english = "Close";
const char* const about_title_dutch = "Over";
const char* const about_close_dutch = "Sluiten";

// Export
const char* const export_no_valid_drive = "Er is geen geldige opstelling om te exporteren.";
const char* const export_title_prefix = "Export ";
const char* const export_filter_dxf = "DXF R12 (*.dxf)|*.dxf";
const char* const export_filter_step = "STEP AP214 (*.stp;*.step)|*.stp;*.step";
const char* const export_filter_stl = "STL (*.stl)|*.stl";
const char* const export_default_base_name = "zandrel";
const char* const export_3d_suffix = "_3d";
const char* const export_unit_curves = " curven";
const char* const export_unit_triangles = " driehoeken";
const char* const export_unit_solids = " volumes";
const char* const export_written_to = " geschreven naar\n";
const char* const export_size_open = "\n(";
const char* const export_size_close = " KB)";
const char* const layer_z1 = "Z1";
const char* const layer_z2 = "Z2";
const char* const layer_idler = "SPANWIEL";
const char* const layer_inner_plate = "BINNENSCHALM";
const char* const layer_outer_plate = "BUITENSCHALM";
const char* const layer_pin = "PEN";
const char* const layer_roller = "ROL";
const char* const layer_pitch_circle = "STEEKCIRKEL";
const char* const layer_bush = "BUS";
const char* const step_originating_system = "QX Zandrel";
const char* const step_description_2d = "Kettingoverbrenging";
const char* const step_description_3d = "Kettingoverbrenging 3D";
const char* const export_no_solid = "Er is geen volume om te exporteren.";
const char* const part_z1 = "Z1 = ";
const char* const part_z2 = "Z2 = ";
const char* const part_idler = "Spanwiel z = ";
const char* const part_inner_plate = "Binnenschalm";
const char* const part_outer_plate = "Buitenschalm";
const char* const part_bush = "Bus";
const char* const part_roller = "Rol";
const char* const part_pin = "Pen";
const char* const stl_too_many_triangles = "Te veel driehoeken voor een STL-bestand; kies een grotere koordafwijking.";
const char* const stl_header_prefix = "QX Zandrel STL, mm, koordafwijking ";
const char* const stl_header_unit = " mm";

}  // namespace text
