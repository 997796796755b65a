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
const char* const chain_too_long = "The chain would be longer than the program lays (at most {} rollers).";
const char* const chain_barely_wraps_wheel1 =
    "The chain barely wraps wheel 1: fewer links, a larger centre distance or the idler further from wheel 1.";
const char* const chain_does_not_close_here =
    "The chain cannot close with {} links at this idler position: other links or move the idler.";
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
const char* const report_bore1_too_small = "Bore of Z1 is too small to be cut (below 0.01 mm).\n";
const char* const report_bore2_too_small = "Bore of Z2 is too small to be cut (below 0.01 mm).\n";
const char* const report_idler_bore_too_small = "Bore of the idler is too small to be cut (below 0.01 mm).\n";
const char* const report_pointed = "  pointed: ";
const char* const report_tooth_width = "  tooth width bf1 = ";
const char* const report_wrap = "   wrap ";

// Main window
const char* const cannot_open_display = "Zandrel: cannot open the display.\n";
const char* const window_title_initial = "Zandrel - roller chain with sprockets (ISO 606 / DIN 8187 / DIN 8196)";
const char* const title_prefix = "Zandrel - ";
const char* const title_new_project = "new project";
const char* const title_modified_mark = " *";
const char* const title_suffix = "   (ISO 606 / DIN 8187 / DIN 8196)";
const char* const program_version_line = "Zandrel 1.00";
const char* const build_language = "en";
const char* const button_open = "Open...";
const char* const button_save = "Save";
const char* const button_save_as = "Save as...";
const char* const button_help = "Help";
const char* const tooltip_open = "Open project (Ctrl+O)";
const char* const tooltip_save = "Save project (Ctrl+S)";
const char* const tooltip_help = "User guide (F1) and About Zandrel";
const char* const menu_user_guide = "User guide\tF1";
const char* const menu_about = "About Zandrel";
const char* const label_chain = "Chain (ISO 606 / DIN 8187)";
const char* const label_z1 = "Teeth Z1 (driving wheel)";
const char* const label_z2 = "Teeth Z2";
const char* const label_centre_distance = "Centre distance a [mm]";
const char* const label_links = "Links (0 = automatic)";
const char* const tooltip_links = "0 = the smallest even number that fits around the wheels";
const char* const label_idler_teeth = "Idler teeth";
const char* const label_idler_position = "Idler position";
const char* const tooltip_idler_position = "Position along the slack strand: left = near Z1, right = near Z2 (or drag the idler in the drawing)";
const char* const percent_suffix = " %";
const char* const idler_side_outside = "Idler outside the chain (pushes inwards)";
const char* const idler_side_inside = "Idler inside the chain (pushes outwards)";
const char* const label_bores = "Bore Z1 / Z2 [mm]";
const char* const tooltip_bore1 = "Bore of wheel 1, 0 = none";
const char* const tooltip_bore2 = "Bore of wheel 2, 0 = none";
const char* const label_idler_bore = "Idler bore [mm]";
const char* const check_rotate = "Rotate";
const char* const tooltip_speed = "Animation speed";
const char* const check_show_pitch_circles = "Show pitch circles";
const char* const check_export_pitch_circles = "Export pitch circles too";
const char* const scope_everything = "Export: everything, as shown";
const char* const scope_chain = "Export: the chain only";
const char* const scope_wheel1 = "Export: wheel 1 (Z1) only";
const char* const scope_wheel2 = "Export: wheel 2 (Z2) only";
const char* const scope_idler = "Export: the idler only";
const char* const button_dxf_2d = "2D DXF...";
const char* const button_step_2d = "2D STEP...";
const char* const button_dxf_3d = "3D DXF...";
const char* const button_step_3d = "3D STEP...";
const char* const button_stl = "STL...";
const char* const tooltip_dxf_2d = "2D drawing as shown: wheels, plates, pins and rollers as separate curves on their own layers";
const char* const tooltip_step_2d = "The same curves as STEP (AP214), every outline one closed curve";
const char* const tooltip_dxf_3d = "3D model as triangles (3DFACE), a layer per kind of part";
const char* const tooltip_step_3d = "3D model as solids (STEP AP214): every wheel, plate, bush, roller and pin its own solid";
const char* const tooltip_stl = "3D model as closed triangle mesh (binary STL), for example for 3D printing";
const char* const label_chord_tolerance = "3D chord tolerance [mm]";
const char* const tooltip_chord_tolerance = "Largest distance between the triangle mesh and the true shape; larger = smaller file";
const char* const chain_pitch_infix = "   p = ";

// Canvas
const char* const canvas_label_z1 = "Z1 = ";
const char* const canvas_label_z2 = "Z2 = ";
const char* const canvas_label_idler = "idler";
const char* const canvas_strand_note = "Top: tight strand   bottom: slack strand with idler   {} links";
const char* const canvas_status_line =
    "Wheel = zoom   drag = pan   drag idler = move it   double-click = fit   ({} px/mm, {} ms)";

// Project and preferences files
const char* const project_cannot_open = "Cannot open the file.";
const char* const project_not_zandrel = "This is not a Zandrel project.";
const char* const project_unknown_chain_size = "Unknown chain size in the project; 08B chosen.";
const char* const project_cannot_write = "Cannot write the file.";
const char* const project_open_title = "Open project";
const char* const project_save_title = "Save project";
const char* const project_filter = "Zandrel project (*.zdr)";
const char* const project_all_files_filter = "All files (*.*)";
// Follows "'" + file name.
const char* const project_overwrite_question = "' already exists. Overwrite?";
const char* const project_changed_question = "The project has been changed. Save changes?";
const char* const message_box_title = "Zandrel";
const char* const dialog_button_ok = "_OK";
const char* const dialog_button_cancel = "_Cancel";
const char* const dialog_button_yes = "_Yes";
const char* const dialog_button_no = "_No";
const char* const dialog_button_open = "_Open";
const char* const dialog_button_save = "_Save";

// User guide and About
const char* const user_guide_file_name = "zandrel_user_guide.html";
const char* const user_guide_title = "User guide";
const char* const user_guide_write_failed = "Cannot write the user guide to the temporary folder:\n";
const char* const user_guide_no_browser =
    "No browser could be started for the user guide (is xdg-open installed?). Open it yourself:\n";
const char* const user_guide_browser_failed =
    "The browser could not be started for the user guide. Open it yourself:\n";
const char* const about_title_english = "About";
const char* const about_close_english = "Close";
const char* const about_title_dutch = "Over";
const char* const about_close_dutch = "Sluiten";

// Export
const char* const export_no_valid_drive = "There is no valid drive to export.";
const char* const export_title_prefix = "Export ";
const char* const export_filter_dxf = "DXF R12 (*.dxf)|*.dxf";
const char* const export_filter_step = "STEP AP214 (*.stp;*.step)|*.stp;*.step";
const char* const export_filter_stl = "STL (*.stl)|*.stl";
const char* const export_default_base_name = "zandrel";
const char* const export_3d_suffix = "_3d";
const char* const export_unit_curves = " curves";
const char* const export_unit_triangles = " triangles";
const char* const export_unit_solids = " solids";
const char* const export_written_to = " written to\n";
const char* const export_size_open = "\n(";
const char* const export_size_close = " KB)";
const char* const layer_z1 = "Z1";
const char* const layer_z2 = "Z2";
const char* const layer_idler = "IDLER";
const char* const layer_inner_plate = "INNER_PLATE";
const char* const layer_outer_plate = "OUTER_PLATE";
const char* const layer_pin = "PIN";
const char* const layer_roller = "ROLLER";
const char* const layer_pitch_circle = "PITCH_CIRCLE";
const char* const layer_bush = "BUSH";
const char* const step_originating_system = "QX Zandrel";
const char* const step_description_2d = "Chain drive";
const char* const step_description_3d = "Chain drive 3D";
const char* const export_no_solid = "There is no solid to export.";
const char* const part_z1 = "Z1 = ";
const char* const part_z2 = "Z2 = ";
const char* const part_idler = "Idler z = ";
const char* const part_inner_plate = "Inner plate";
const char* const part_outer_plate = "Outer plate";
const char* const part_bush = "Bush";
const char* const part_roller = "Roller";
const char* const part_pin = "Pin";
const char* const stl_too_many_triangles = "Too many triangles for an STL file; choose a larger chord tolerance.";
const char* const stl_header_prefix = "QX Zandrel STL, mm, koordafwijking ";
const char* const stl_header_unit = " mm";

}  // namespace text
