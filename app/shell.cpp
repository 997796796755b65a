#include "app/shell.h"

#include <numbers>

#include "app/about_picture.h"
#include "app/canvas_draw.h"
#include "app/canvas_mouse.h"
#include "app/canvas_view.h"
#include "app/canvas_window.h"
#include "app/commands.h"
#include "app/main_window.h"
#include "app/toolkit.h"
#include "model/drive.h"
#include "model/report.h"
#include "text/texts.h"

std::int64_t quit_requested = 0;
std::int64_t animation_ticks = 0;
std::int64_t redraw_pending = 0;
std::int64_t report_pending = 0;
std::int64_t loading_gadgets = 0;
std::int64_t project_modified = 0;
std::string project_path;

namespace {

constexpr double four_pi = 4.0 * std::numbers::pi;
constexpr int max_ticks_per_step = 4;
constexpr int animation_period_ms = 30;

bool is_change(const ProgramEvent& event)
{
    return event.type == GadgetEventType::Change;
}

void handle_gadget_event(const ProgramEvent& event)
{
    const bool loading = loading_gadgets != 0;
    switch (event.id) {
    case OpenButton:
        open_project_dialog();
        break;
    case SaveButton:
        save_project(0);
        break;
    case SaveAsButton:
        save_project(1);
        break;
    case HelpMenuButton:
        show_popup_menu();
        break;
    case Dxf2DButton:
        export_drive_to_file(0);
        break;
    case Step2DButton:
        export_drive_to_file(1);
        break;
    case Dxf3DButton:
        export_drive_to_file(2);
        break;
    case Step3DButton:
        export_drive_to_file(3);
        break;
    case StlButton:
        export_drive_to_file(4);
        break;

    // The shape of the drive changes: a new view.
    case ChainSizeCombo:
    case IdlerSideCombo:
    case Z1Field:
    case Z2Field:
    case CentreDistanceField:
        if (is_change(event) && !loading) {
            recalculate_and_redraw(1);
            mark_project_modified();
        }
        break;

    // The wheels stay where they are: keep the user's view.
    case Bore1Field:
    case Bore2Field:
    case IdlerBoreField:
    case LinksField:
    case IdlerTeethField:
        if (is_change(event) && !loading) {
            recalculate_and_redraw(0);
            mark_project_modified();
        }
        break;

    case ExportPitchCirclesCheck:
    case ShowPitchCirclesCheck:
        if (!loading) {
            gadgets_to_project();
            redraw_pending = 1;
            mark_project_modified();
        }
        break;

    case ExportScopeCombo:
        if (is_change(event) && !loading) {
            gadgets_to_project();
            mark_project_modified();
        }
        break;

    case ChordToleranceField:
        // Read at the next recalculation or export; nothing to redo now.
        if (is_change(event) && !loading) mark_project_modified();
        break;

    case IdlerPositionSlider:
        if (!loading) {
            update_idler_percent_label();
            drive_input.idler_position = static_cast<double>(gadget_state(IdlerPositionSlider)) / 100.0;
            if (drive_solution.valid) {
                lay_chain(drive_input, drive_solution);
                report_pending = 1;
                redraw_pending = 1;
            }
            mark_project_modified();
        }
        break;

    case RotateCheck:
        if (gadget_state(RotateCheck) != 0) {
            start_timer(animation_timer, animation_period_ms);
        } else {
            stop_timer(animation_timer);
            // Ticks counted before the stop would turn the wheel after the
            // report below was written and leave it behind the drawing.
            animation_ticks = 0;
            update_report_text();
        }
        break;

    case Canvas:
        handle_canvas_event(event);
        break;

    default:
        break;
    }
}

void handle_menu_event(const ProgramEvent& event)
{
    switch (event.id) {
    case Open:
        open_project_dialog();
        break;
    case Save:
        save_project(0);
        break;
    case UserGuide:
        open_user_guide();
        break;
    case About:
        show_about_window(main_window_number, text::program_version_line, about_picture_png(),
                          std::string(text::build_language) == "en" ? 0 : 1);
        break;
    default:
        break;
    }
}

}  // namespace

void handle_event(const ProgramEvent& event)
{
    switch (event.kind) {
    case EventKind::Timer:
        if (event.id == animation_timer && drive_solution.valid) ++animation_ticks;
        break;
    case EventKind::CloseWindow:
        if (confirm_discard_or_save() == 1) quit_requested = 1;
        break;
    case EventKind::Menu:
        handle_menu_event(event);
        break;
    case EventKind::Gadget:
        handle_gadget_event(event);
        break;
    case EventKind::None:
        break;
    }
}

void recalculate_and_redraw(std::int64_t fit)
{
    gadgets_to_project();
    compute_drive(drive_input, drive_solution);
    update_display_outlines();
    if (fit == 1) fit_view_to_drive();
    update_report_text();
    redraw_canvas();
}

void update_report_text()
{
    set_gadget_text(ReportEditor, build_report_text(drive_input, drive_options, drive_solution));
}

void mark_project_modified()
{
    if (loading_gadgets || project_modified) return;
    project_modified = 1;
    update_window_title();
}

std::string window_title_text()
{
    std::string title = text::title_prefix;
    if (project_path.empty()) {
        title += text::title_new_project;
    } else {
        std::size_t slash = project_path.find_last_of('/');
        title += slash == std::string::npos ? project_path : project_path.substr(slash + 1);
    }
    if (project_modified) title += text::title_modified_mark;
    title += text::title_suffix;
    return title;
}

void update_window_title()
{
    set_window_title(window_title_text());
}

double normalise_rotation_angle(double angle)
{
    if (angle > four_pi) angle -= four_pi;
    if (angle < 0.0) angle += four_pi;
    return angle;
}

void animation_step()
{
    // Ticks counted while the drive was valid may meet a drive that an edit
    // has made invalid since: laying it would replace the real error.
    if (!drive_solution.valid) {
        animation_ticks = 0;
        return;
    }
    std::int64_t n = animation_ticks < max_ticks_per_step ? animation_ticks : max_ticks_per_step;
    double speed = static_cast<double>(gadget_state(SpeedSlider));
    double step = speed * 0.1 * std::numbers::pi / 180.0;
    drive_input.rotation = normalise_rotation_angle(drive_input.rotation + static_cast<double>(n) * step);
    animation_ticks = 0;
    lay_chain(drive_input, drive_solution);
    redraw_pending = 1;
}

void do_idle_work()
{
    if (animation_ticks > 0) animation_step();
    if (report_pending) {
        report_pending = 0;
        update_report_text();
    }
    if (redraw_pending && !quit_requested) redraw_canvas();
}

void main_loop_pass()
{
    ProgramEvent event;
    if (wait_event(event)) handle_event(event);
    while (!quit_requested && events_pending())
        if (poll_event(event)) handle_event(event);
    do_idle_work();
}

void reset_shell_state()
{
    quit_requested = 0;
    animation_ticks = 0;
    redraw_pending = 0;
    report_pending = 0;
    loading_gadgets = 0;
    project_modified = 0;
    project_path.clear();
    zoom = 1.0;
    view_centre_x = 0.0;
    view_centre_y = 0.0;
    device_scale = 1.0;
    reset_canvas_mouse_state();
    wheel1_display_outline.clear();
    wheel2_display_outline.clear();
    idler_display_outline.clear();
}
