#include "app/program/main_loop.h"

#include "app/shell/about_picture.h"
#include "app/commands/commands.h"
#include "app/shell/main_window.h"
#include "app/shell/recalculation.h"
#include "app/shell/shell_state.h"
#include "app/toolkit/toolkit.h"
#include "export/export.h"
#include "model/drive.h"
#include "model/lay_chain.h"
#include "text/texts.h"

namespace {

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
        export_drive_to_file(Dxf2D);
        break;
    case Step2DButton:
        export_drive_to_file(Step2D);
        break;
    case Dxf3DButton:
        export_drive_to_file(Dxf3D);
        break;
    case Step3DButton:
        export_drive_to_file(Step3D);
        break;
    case StlButton:
        export_drive_to_file(Stl);
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
    case EventKind::ChildEnded:
        guide_opener_ended(event.id, event.failed);
        break;
    case EventKind::None:
        break;
    }
}

