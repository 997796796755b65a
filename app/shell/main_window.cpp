#include "app/shell/main_window.h"

#include <array>
#include <cmath>

#include "app/shell/canvas_window.h"
#include "app/shell/number_text.h"
#include "app/shell/shell_state.h"
#include "app/toolkit/toolkit.h"
#include "model/chain_size.h"
#include "model/drive.h"
#include "model/format.h"
#include "text/texts.h"

LayoutMetrics layout_metrics;

double max_of_two(double a, double b)
{
    return b < a ? a : b;
}

LayoutMetrics layout_metrics_from(int text_height, int widest_label)
{
    LayoutMetrics m;
    // A font too small to measure sensibly (or no measurement at all) lays the
    // panel out as for a 15 pixel font.
    m.text_height = text_height < 10 ? 15 : text_height;
    m.row_height = m.text_height + 18;
    m.row_step = m.row_height + 5;
    m.label_width = widest_label + 22;
    // The quotient first: 23 / 15 * 150 lands a hair above 230 and rounds up to 231.
    m.input_width = static_cast<int>(std::ceil(static_cast<double>(m.text_height) / 15.0 * 150.0));
    m.half_input_width = (m.input_width - 6) / 2;
    m.panel_width = m.label_width + m.input_width + 18;
    m.scroll_width = m.panel_width + 38;
    m.wide_width = m.label_width + m.input_width - 10;
    return m;
}

void measure_layout_metrics(const std::vector<std::string>& labels)
{
    int text_height = 0;
    int widest = 0;
    int width = 0;
    int height = 0;
    if (measure_control_text("Ag", width, height)) {
        text_height = height;
        for (const std::string& label : labels)
            if (measure_control_text(label, width, height) && width > widest) widest = width;
    }
    layout_metrics = layout_metrics_from(text_height, widest);
}

int main_window_height(int monitor_height)
{
    int height = 860;
    if (monitor_height > 0 && monitor_height - 80 < height) height = monitor_height - 80;
    return height;
}

void add_row_label(int y, const std::string& text)
{
    const LayoutMetrics& m = layout_metrics;
    create_label(-1, {10, y + (m.row_height - m.text_height) / 2, m.label_width - 12, m.text_height + 4}, text);
}

namespace {

int rounded(double x)
{
    return static_cast<int>(std::lround(x));
}

int report_height(int inner_height)
{
    return rounded(max_of_two(120.0, inner_height - layout_metrics.report_top - 8.0));
}

// A decimal the program put into a field, and the text it was shown as. The
// text has 4 decimals; while the field still shows it, it stands for the value
// itself, so that a value loaded with more decimals is not changed by saving.
struct ShownDecimal {
    std::string text;
    double value = 0.0;
};
std::array<ShownDecimal, gadget_count> shown_decimals;

void show_decimal(GadgetId field, double value)
{
    ShownDecimal& shown = shown_decimals[static_cast<std::size_t>(field)];
    shown.text = format_number_short(value);
    shown.value = value;
    set_gadget_text(field, shown.text);
}

Rect canvas_rect(int inner_width, int inner_height)
{
    const LayoutMetrics& m = layout_metrics;
    return {m.scroll_width + 4, 8, rounded(max_of_two(50.0, inner_width - m.scroll_width - 12.0)),
            rounded(max_of_two(50.0, inner_height - 16.0))};
}

Rect input_rect(int y)
{
    const LayoutMetrics& m = layout_metrics;
    return {m.label_width, y, m.input_width, m.row_height};
}

// Open, Save and Save as on the left of the panel's top row, the help menu on its right.
void add_file_buttons()
{
    const LayoutMetrics& m = layout_metrics;
    const int bw = (m.panel_width - 18) / 4;
    const int button_height = m.row_height + 4;
    create_button(OpenButton, {8, 8, bw, button_height}, text::button_open, text::tooltip_open);
    create_button(SaveButton, {bw + 14, 8, bw, button_height}, text::button_save, text::tooltip_save);
    create_button(SaveAsButton, {2 * bw + 20, 8, bw, button_height}, text::button_save_as, "");
    create_button(HelpMenuButton, {m.panel_width - bw + 8, 8, bw, button_height}, text::button_help,
                  text::tooltip_help);
}

// Each chain size with its pitch, as the chain combo lists them.
std::vector<std::string> chain_size_choices()
{
    load_chain_size_table();
    std::vector<std::string> sizes;
    for (int row = 0; row < chain_size_count; ++row)
        sizes.push_back(chain_size_label(row) + text::chain_pitch_infix +
                        format_number_short(chain_sizes[static_cast<std::size_t>(row)].pitch));
    return sizes;
}

// The rows below return the y of the row that follows them.

// The chain, the teeth, the centre distance and the links, from y on.
int add_drive_rows(int y, const DriveInput& in)
{
    const LayoutMetrics& m = layout_metrics;
    const std::vector<std::string> sizes = chain_size_choices();
    add_row_label(y, text::label_chain);
    create_combo(ChainSizeCombo, input_rect(y), sizes, static_cast<int>(in.size_index), "");

    y += m.row_step;
    add_row_label(y, text::label_z1);
    create_text_field(Z1Field, input_rect(y), format_integer(in.z1), "");
    y += m.row_step;
    add_row_label(y, text::label_z2);
    create_text_field(Z2Field, input_rect(y), format_integer(in.z2), "");
    y += m.row_step;
    add_row_label(y, text::label_centre_distance);
    create_text_field(CentreDistanceField, input_rect(y), format_number_short(in.centre_distance), "");
    y += m.row_step;
    add_row_label(y, text::label_links);
    create_text_field(LinksField, input_rect(y), format_integer(in.links), text::tooltip_links);
    y += m.row_step;
    add_row_label(y, text::label_idler_teeth);
    create_text_field(IdlerTeethField, input_rect(y), format_integer(in.idler_teeth), "");
    return y + m.row_step;
}

// The idler's place along the slack strand, its percentage beside the
// slider, and the side of the chain it pushes from.
int add_idler_rows(int y, const DriveInput& in)
{
    const LayoutMetrics& m = layout_metrics;
    add_row_label(y, text::label_idler_position);
    const int percent = static_cast<int>(std::lround(in.idler_position * 100.0));
    create_slider(IdlerPositionSlider, {m.label_width, y, m.input_width - 46, m.row_height}, 2, 98, percent, false,
                  text::tooltip_idler_position);
    create_label(IdlerPercentLabel,
                 {m.label_width + m.input_width - 44, y + (m.row_height - m.text_height) / 2, 44, m.text_height + 4},
                 format_integer(percent) + text::percent_suffix);

    y += m.row_step;
    create_combo(IdlerSideCombo, {10, y, m.wide_width, m.row_height},
                 {text::idler_side_outside, text::idler_side_inside}, in.idler_outside != 0 ? 0 : 1, "");
    return y + m.row_step;
}

// The two wheels' bores side by side in one row, the idler's in the next.
int add_bore_rows(int y, const DriveOptions& opt)
{
    const LayoutMetrics& m = layout_metrics;
    add_row_label(y, text::label_bores);
    create_text_field(Bore1Field, {m.label_width, y, m.half_input_width, m.row_height}, format_number_short(opt.bore1),
                      text::tooltip_bore1);
    create_text_field(Bore2Field,
                      {m.label_width + m.input_width - m.half_input_width, y, m.half_input_width, m.row_height},
                      format_number_short(opt.bore2), text::tooltip_bore2);
    y += m.row_step;
    add_row_label(y, text::label_idler_bore);
    create_text_field(IdlerBoreField, {m.label_width, y, m.half_input_width, m.row_height},
                      format_number_short(opt.idler_bore), "");
    return y + m.row_step;
}

// The turning of the wheels and its speed, the pitch circles on the canvas and
// in the files, and what the exports take.
int add_view_rows(int y, const DriveOptions& opt)
{
    const LayoutMetrics& m = layout_metrics;
    create_check(RotateCheck, {10, y, rounded(m.panel_width * 0.4), m.row_height}, text::check_rotate, false, "");
    create_slider(SpeedSlider,
                  {rounded(m.panel_width * 0.4 + 10), y, rounded(m.panel_width * 0.6 - 12), m.row_height}, 1, 20, 4,
                  true, text::tooltip_speed);
    y += m.row_step;
    create_check(ShowPitchCirclesCheck, {10, y, m.wide_width, m.row_height}, text::check_show_pitch_circles,
                 opt.show_pitch_circles != 0, "");
    y += m.row_step;
    create_check(ExportPitchCirclesCheck, {10, y, m.wide_width, m.row_height}, text::check_export_pitch_circles,
                 opt.export_pitch_circles != 0, "");
    y += m.row_step;
    create_combo(ExportScopeCombo, {10, y, m.wide_width, m.row_height},
                 {text::scope_everything, text::scope_chain, text::scope_wheel1, text::scope_wheel2,
                  text::scope_idler},
                 static_cast<int>(opt.export_scope), "");
    return y + m.row_step;
}

// The two 2D export buttons in a row, the three 3D ones in the next, then the
// chord tolerance of the meshes. Returns where the report starts.
int add_export_rows(int yb, const DriveOptions& opt)
{
    const LayoutMetrics& m = layout_metrics;
    const int b2 = (m.panel_width - 8) / 2;
    const int b3 = (m.panel_width - 16) / 3;
    create_button(Dxf2DButton, {8, yb, b2, m.row_height + 6}, text::button_dxf_2d, text::tooltip_dxf_2d);
    create_button(Step2DButton, {m.panel_width - b2 + 8, yb, b2, m.row_height + 6}, text::button_step_2d,
                  text::tooltip_step_2d);
    const int y = yb + m.row_height + 10;
    create_button(Dxf3DButton, {8, y, b3, m.row_height + 6}, text::button_dxf_3d, text::tooltip_dxf_3d);
    create_button(Step3DButton, {b3 + 16, y, b3, m.row_height + 6}, text::button_step_3d, text::tooltip_step_3d);
    create_button(StlButton, {m.panel_width - b3 + 8, y, b3, m.row_height + 6}, text::button_stl,
                  text::tooltip_stl);

    const int yc = yb + 2 * m.row_height + 20;
    add_row_label(yc, text::label_chord_tolerance);
    create_text_field(ChordToleranceField, {m.label_width, yc, m.half_input_width, m.row_height},
                      format_number_short(opt.chord_tolerance), text::tooltip_chord_tolerance);
    return yc + m.row_step + 6;
}

void add_menu_and_shortcuts()
{
    std::vector<MenuItem> menu = {{UserGuide, text::menu_user_guide}, {About, text::menu_about}};
    create_popup_menu(menu);  // without it the shortcuts still reach the guide
    add_shortcut(ShortcutKey::CtrlO, Open);
    add_shortcut(ShortcutKey::CtrlS, Save);
    add_shortcut(ShortcutKey::F1, UserGuide);
}

}  // namespace

void build_main_window()
{
    const std::vector<std::string> measured = {text::label_chain, text::label_z1, text::label_links,
                                               text::label_idler_position, text::label_bores};
    load_canvas_font("Sans", 10);
    shown_decimals = {};

    int window_height = main_window_height(monitor_height_at_origin());
    open_main_window(1280, window_height, text::window_title_initial);

    measure_layout_metrics(measured);
    LayoutMetrics& m = layout_metrics;
    m.scroll_width = m.panel_width + 38;

    int inner_width = 0;
    int inner_height = 0;
    window_inner_size(inner_width, inner_height);
    begin_panel(ScrollPanel, {0, 0, m.scroll_width, inner_height}, m.panel_width + 16, 3000, m.row_step);
    add_file_buttons();

    // The controls start with the default drive, which the first recalculation reads back.
    const DriveInput in;
    const DriveOptions opt;
    int y = add_drive_rows(m.row_height + 22, in);
    y = add_idler_rows(y, in);
    y = add_bore_rows(y, opt);
    y = add_view_rows(y + 6, opt);
    m.report_top = add_export_rows(y, opt);

    const int report = report_height(inner_height);
    create_report_editor(ReportEditor, {8, m.report_top, m.panel_width, report}, "Monospace", 9);
    end_panel();
    set_panel_content_height(m.report_top + report + 8);

    create_canvas(Canvas, canvas_rect(inner_width, inner_height));
    add_menu_and_shortcuts();

    set_window_min_size(m.scroll_width + 400, 420);
    set_resize_handler(on_main_window_resized);
    on_main_window_resized();
    show_main_window();
}

void on_main_window_resized()
{
    int inner_width = 0;
    int inner_height = 0;
    window_inner_size(inner_width, inner_height);

    Rect panel = gadget_rect(ScrollPanel);
    panel.height = inner_height;
    set_gadget_rect(ScrollPanel, panel);

    const int report = report_height(inner_height);
    Rect editor = gadget_rect(ReportEditor);
    editor.height = report;
    set_gadget_rect(ReportEditor, editor);
    set_panel_content_height(layout_metrics.report_top + report + 8);

    set_gadget_rect(Canvas, canvas_rect(inner_width, inner_height));
    redraw_canvas();
}

double read_gadget_decimal(GadgetId gadget)
{
    const std::string text = gadget_text(gadget);
    const ShownDecimal& shown = shown_decimals[static_cast<std::size_t>(gadget)];
    if (!shown.text.empty() && text == shown.text) return shown.value;
    return read_decimal_text(text);
}

std::int64_t read_gadget_integer(GadgetId gadget)
{
    return read_integer_text(gadget_text(gadget));
}

void gadgets_to_project()
{
    drive_input.size_index = gadget_state(ChainSizeCombo);
    drive_input.z1 = read_gadget_integer(Z1Field);
    drive_input.z2 = read_gadget_integer(Z2Field);
    drive_input.idler_teeth = read_gadget_integer(IdlerTeethField);
    drive_input.centre_distance = read_gadget_decimal(CentreDistanceField);
    drive_input.links = read_gadget_integer(LinksField);
    drive_input.idler_outside = gadget_state(IdlerSideCombo) == 0 ? 1 : 0;

    drive_options.bore1 = max_of_two(0.0, read_gadget_decimal(Bore1Field));
    drive_options.bore2 = max_of_two(0.0, read_gadget_decimal(Bore2Field));
    drive_options.idler_bore = max_of_two(0.0, read_gadget_decimal(IdlerBoreField));
    drive_options.show_pitch_circles = gadget_state(ShowPitchCirclesCheck) != 0 ? 1 : 0;
    drive_options.export_pitch_circles = gadget_state(ExportPitchCirclesCheck) != 0 ? 1 : 0;
    drive_options.export_scope = gadget_state(ExportScopeCombo);
    if (drive_options.export_scope < 0) drive_options.export_scope = 0;
    double tolerance = read_gadget_decimal(ChordToleranceField);
    drive_options.chord_tolerance = (tolerance < 0.0005 || tolerance > 1.0) ? 0.01 : tolerance;
}

void project_to_gadgets()
{
    loading_gadgets = 1;
    set_gadget_state(ChainSizeCombo, drive_input.size_index);
    set_gadget_text(Z1Field, format_integer(drive_input.z1));
    set_gadget_text(Z2Field, format_integer(drive_input.z2));
    set_gadget_text(IdlerTeethField, format_integer(drive_input.idler_teeth));
    show_decimal(CentreDistanceField, drive_input.centre_distance);
    set_gadget_text(LinksField, format_integer(drive_input.links));
    // Halves away from zero; the slider keeps the result within its range
    // (held to 0..100 first, so that a wild value cannot overflow the cast).
    double percent = drive_input.idler_position * 100.0;
    if (!(percent >= 0.0)) percent = 0.0;
    if (percent > 100.0) percent = 100.0;
    set_gadget_state(IdlerPositionSlider, static_cast<std::int64_t>(std::round(percent)));
    update_idler_percent_label();
    set_gadget_state(IdlerSideCombo, drive_input.idler_outside != 0 ? 0 : 1);
    show_decimal(Bore1Field, drive_options.bore1);
    show_decimal(Bore2Field, drive_options.bore2);
    show_decimal(IdlerBoreField, drive_options.idler_bore);
    set_gadget_state(ShowPitchCirclesCheck, drive_options.show_pitch_circles);
    set_gadget_state(ExportPitchCirclesCheck, drive_options.export_pitch_circles);
    set_gadget_state(ExportScopeCombo, drive_options.export_scope);
    show_decimal(ChordToleranceField, drive_options.chord_tolerance);
    settle_and_discard_events();
    loading_gadgets = 0;
}

void update_idler_percent_label()
{
    set_gadget_text(IdlerPercentLabel, format_integer(gadget_state(IdlerPositionSlider)) + text::percent_suffix);
}
