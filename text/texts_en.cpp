#include "text/texts.h"

namespace text {

const char* const teeth_out_of_range = "Number of teeth must be between 6 and 250.";
const char* const invalid_chain_dimensions = "Invalid chain dimensions.";
const char* const tooth_form_failed = "Tooth form could not be constructed.";

const char* const unknown_chain_size = "Unknown chain size.";
const char* const prefix_wheel1 = "Z1: ";
const char* const prefix_wheel2 = "Z2: ";
const char* const prefix_idler = "Idler: ";
const char* const wheels_overlap = "Centre distance too small: the wheels overlap (minimum {} mm).";
const char* const no_valid_input = "No valid input.";
const char* const centre_distance_too_small = "Centre distance too small.";
const char* const chain_cannot_be_laid = "The chain cannot be laid around the wheels (idler too close to a wheel?).";
const char* const chain_too_short = "Chain too short: at least {} links needed.";
const char* const idler_cannot_take_up =
    "The idler cannot take up that much slack: fewer links or a larger centre distance.";
const char* const idler_runs_into_wheel = "The idler runs into a wheel: fewer links or move the idler.";
const char* const internal_roller_count = "Internal error: {} rollers instead of {}";
const char* const warn_odd_links = "Odd number of links: an offset (cranked) link is needed.\n";
const char* const warn_idler_touches_wheel1 = "The idler touches wheel 1.\n";
const char* const warn_idler_touches_wheel2 = "The idler touches wheel 2.\n";
const char* const warn_wrap_below_120 = "Wrap angle below 120\u00b0 on a sprocket.\n";
const char* const warn_recommended_centre_distance = "Recommended centre distance: 30 to 50 x the pitch ({} - {} mm).\n";
const char* const warn_chain_not_closed = "The chain does not close neatly (deviation {} mm).\n";

const char* const report_chain = "Chain ";
const char* const report_wheel1 = "Wheel 1 (driving)";
const char* const report_wheel2 = "Wheel 2";
const char* const report_idler = "Idler";
const char* const report_ratio = "Ratio i = Z2 / Z1 = ";
const char* const report_iso_links = "Links without idler (ISO): ";
const char* const report_tight_links = "Links (laid, tight): ";
const char* const report_chosen_links = "Chosen number of links: ";
const char* const report_chain_length = "Chain length: ";
const char* const report_centre_distance_without_idler = "Centre distance without idler: ";
const char* const report_idler_deflection = "Idler deflection: ";
const char* const report_idler_at = "Idler at (x, y): ";
const char* const report_error = "\nERROR: ";
const char* const report_note = "\nNote:\n";
const char* const report_bore1_too_large = "Bore of Z1 is too large for the wheel.\n";
const char* const report_bore2_too_large = "Bore of Z2 is too large for the wheel.\n";
const char* const report_idler_bore_too_large = "Bore of the idler is too large for the wheel.\n";
const char* const report_pointed = "  pointed: ";
const char* const report_tooth_width = "  tooth width bf1 = ";
const char* const report_wrap = "   wrap ";

}  // namespace text
