#pragma once

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

// Every text the user sees. The English and the Dutch table define the same
// keys; each program links exactly one of them, so the logic never asks which
// language it speaks. A key missing from one table is a link error.
namespace text {

// The pattern with each "{}" replaced by the next value, in order.
std::string fill(const char* pattern, std::initializer_list<std::string_view> values);

// Sprocket tooth form
extern const char* const teeth_out_of_range;
extern const char* const invalid_chain_dimensions;
extern const char* const tooth_form_failed;

// Drive solve and chain laying; "{}" stands for a number filled in by fill()
extern const char* const unknown_chain_size;
extern const char* const prefix_wheel1;
extern const char* const prefix_wheel2;
extern const char* const prefix_idler;
extern const char* const wheels_overlap;
extern const char* const no_valid_input;
extern const char* const centre_distance_too_small;
extern const char* const chain_cannot_be_laid;
extern const char* const chain_too_short;
extern const char* const idler_cannot_take_up;
extern const char* const idler_runs_into_wheel;
extern const char* const chain_too_long;
extern const char* const chain_barely_wraps_wheel1;
extern const char* const chain_does_not_close_here;
extern const char* const warn_odd_links;
extern const char* const warn_idler_touches_wheel1;
extern const char* const warn_idler_touches_wheel2;
extern const char* const warn_wrap_below_120;
extern const char* const warn_recommended_centre_distance;
extern const char* const warn_chain_not_closed;

// Report
extern const char* const report_chain;
extern const char* const report_wheel1;
extern const char* const report_wheel2;
extern const char* const report_idler;
extern const char* const report_ratio;
extern const char* const report_iso_links;
extern const char* const report_tight_links;
extern const char* const report_chosen_links;
extern const char* const report_chain_length;
extern const char* const report_centre_distance_without_idler;
extern const char* const report_idler_deflection;
extern const char* const report_idler_at;
extern const char* const report_error;
extern const char* const report_note;
extern const char* const report_bore1_too_large;
extern const char* const report_bore2_too_large;
extern const char* const report_idler_bore_too_large;
extern const char* const report_bore1_too_small;
extern const char* const report_bore2_too_small;
extern const char* const report_idler_bore_too_small;
extern const char* const report_pointed;
extern const char* const report_tooth_width;
extern const char* const report_wrap;

// Main window
extern const char* const cannot_open_display;
extern const char* const window_title_initial;
extern const char* const title_prefix;
extern const char* const title_new_project;
extern const char* const title_modified_mark;
extern const char* const title_suffix;
extern const char* const program_version_line;
extern const char* const build_language;
extern const char* const button_open;
extern const char* const button_save;
extern const char* const button_save_as;
extern const char* const button_help;
extern const char* const tooltip_open;
extern const char* const tooltip_save;
extern const char* const tooltip_help;
extern const char* const menu_user_guide;
extern const char* const menu_about;
extern const char* const label_chain;
extern const char* const label_z1;
extern const char* const label_z2;
extern const char* const label_centre_distance;
extern const char* const label_links;
extern const char* const tooltip_links;
extern const char* const label_idler_teeth;
extern const char* const label_idler_position;
extern const char* const tooltip_idler_position;
extern const char* const percent_suffix;
extern const char* const idler_side_outside;
extern const char* const idler_side_inside;
extern const char* const label_bores;
extern const char* const tooltip_bore1;
extern const char* const tooltip_bore2;
extern const char* const label_idler_bore;
extern const char* const check_rotate;
extern const char* const tooltip_speed;
extern const char* const check_show_pitch_circles;
extern const char* const check_export_pitch_circles;
extern const char* const scope_everything;
extern const char* const scope_chain;
extern const char* const scope_wheel1;
extern const char* const scope_wheel2;
extern const char* const scope_idler;
extern const char* const button_dxf_2d;
extern const char* const button_step_2d;
extern const char* const button_dxf_3d;
extern const char* const button_step_3d;
extern const char* const button_stl;
extern const char* const tooltip_dxf_2d;
extern const char* const tooltip_step_2d;
extern const char* const tooltip_dxf_3d;
extern const char* const tooltip_step_3d;
extern const char* const tooltip_stl;
extern const char* const label_chord_tolerance;
extern const char* const tooltip_chord_tolerance;
extern const char* const chain_pitch_infix;

// Canvas; "{}" stands for a number filled in by fill()
extern const char* const canvas_label_z1;
extern const char* const canvas_label_z2;
extern const char* const canvas_label_idler;
extern const char* const canvas_strand_note;
extern const char* const canvas_status_line;

// Project and preferences files
extern const char* const project_cannot_open;
extern const char* const project_not_zandrel;
extern const char* const project_unknown_chain_size;
extern const char* const project_cannot_write;
extern const char* const project_open_title;
extern const char* const project_save_title;
extern const char* const project_filter;
extern const char* const project_all_files_filter;
extern const char* const project_overwrite_question;
extern const char* const project_changed_question;
// The title of the program's message boxes, the same in every build.
extern const char* const message_box_title;
// The buttons of the message boxes and the file dialogs; '_' marks the key
// that presses one together with Alt.
extern const char* const dialog_button_ok;
extern const char* const dialog_button_cancel;
extern const char* const dialog_button_yes;
extern const char* const dialog_button_no;
extern const char* const dialog_button_open;
extern const char* const dialog_button_save;

// User guide and About
extern const char* const user_guide_file_name;
extern const char* const user_guide_title;
// Followed by the path of the guide.
extern const char* const user_guide_write_failed;
// Followed by the path of the written guide: when there is no xdg-open, and
// when it ended with a failure.
extern const char* const user_guide_no_browser;
extern const char* const user_guide_browser_failed;
// The About window's captions. The caller names the language, so every
// table carries both.
extern const char* const about_title_english;
extern const char* const about_close_english;
extern const char* const about_title_dutch;
extern const char* const about_close_dutch;

// Export; "Cannot write the file." is project_cannot_write and the overwrite
// question project_overwrite_question, shared with the project file.
extern const char* const export_no_valid_drive;
extern const char* const export_title_prefix;
extern const char* const export_filter_dxf;
extern const char* const export_filter_step;
extern const char* const export_filter_stl;
extern const char* const export_default_base_name;
extern const char* const export_3d_suffix;
// The result: count + unit + written_to + path + size_open + KB + size_close.
extern const char* const export_unit_curves;
extern const char* const export_unit_triangles;
extern const char* const export_unit_solids;
extern const char* const export_written_to;
extern const char* const export_size_open;
extern const char* const export_size_close;
// Layer names of the DXF files and curve sets of the STEP files.
extern const char* const layer_z1;
extern const char* const layer_z2;
extern const char* const layer_idler;
extern const char* const layer_inner_plate;
extern const char* const layer_outer_plate;
extern const char* const layer_pin;
extern const char* const layer_roller;
extern const char* const layer_pitch_circle;
extern const char* const layer_bush;
// The STEP header's originating system (the same in both builds) and the
// descriptions of the 2D and the 3D STEP file.
extern const char* const step_originating_system;
extern const char* const step_description_2d;
extern const char* const step_description_3d;
// A 3D STEP export in which no part makes a solid.
extern const char* const export_no_solid;
// The names of the 3D parts, written as the solids' names: "Z1 = " + teeth,
// "Inner plate" + " " + link number + "a" or "b".
extern const char* const part_z1;
extern const char* const part_z2;
extern const char* const part_idler;
extern const char* const part_inner_plate;
extern const char* const part_outer_plate;
extern const char* const part_bush;
extern const char* const part_roller;
extern const char* const part_pin;
// The STL file: a mesh whose count does not fit the file's 32-bit field, and
// the header (the same in both builds) around the chord tolerance.
extern const char* const stl_too_many_triangles;
extern const char* const stl_header_prefix;
extern const char* const stl_header_unit;

}  // namespace text

// Carried by each table, so the program that links the Dutch texts opens the
// Dutch guide: the user guide, a complete HTML document, UTF-8 without a byte
// order mark; and the About picture, a PNG, the same in both languages.
std::string_view user_guide_document();
std::span<const unsigned char> about_picture_png();
