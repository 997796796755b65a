#include "app/program/main_loop.h"

#include <clocale>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/shell/canvas_draw.h"
#include "app/shell/canvas_view.h"
#include "app/shell/canvas_window.h"
#include "app/commands/commands.h"
#include "app/shell/main_window.h"
#include "app/shell/project_file.h"
#include "app/shell/recalculation.h"
#include "app/shell/shell_state.h"
#include "app/toolkit/toolkit.h"
#include "model/chain_size.h"
#include "model/drive.h"
#include "model/geometry.h"
#include "model/lay_chain.h"
#include "text/texts.h"

namespace {

constexpr int max_ticks_per_step = 4;

// A project named on the command line is opened only when it is a file with
// something in it; anything else starts the default drive without a word.
bool names_project_file(const std::string& path)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return false;
    auto size = std::filesystem::file_size(path, error);
    return !error && size > 0;
}

}  // namespace

int main_entry(int argc, char** argv)
{
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i]);

    // The user's language for everything but numbers: every number text of the
    // program has a '.' as its decimal point.
    std::setlocale(LC_ALL, "");
    std::setlocale(LC_NUMERIC, "C");
    // Under a file-size limit the kernel would end the program at the first
    // write beyond it, unsaved work and all; ignored, that write fails and
    // the save or export says so like any other failed write.
    std::signal(SIGXFSZ, SIG_IGN);
    if (!toolkit_start(argc, argv)) {
        // Without a display there is no window to say it in.
        std::fputs(text::cannot_open_display, stderr);
        return 1;
    }

    reset_program_state();
    drive_solution = DriveSolution{};
    load_chain_size_table();

    build_main_window();
    set_project_defaults(drive_input, drive_options);
    // The first drive is read back from the controls, which show the defaults.
    recalculate_and_redraw(1);
    update_window_title();

    if (!arguments.empty() && names_project_file(arguments[0])) open_project_file(arguments[0]);

    while (!quit_requested) main_loop_pass();

    toolkit_shutdown();
    return 0;
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
    double step = speed * 0.1 * radians_per_degree;
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

void reset_program_state()
{
    reset_shell_state();
    zoom = 1.0;
    view_centre_x = 0.0;
    view_centre_y = 0.0;
    device_scale = 1.0;
    reset_canvas_mouse_state();
    wheel1_display_outline.clear();
    wheel2_display_outline.clear();
    idler_display_outline.clear();
}
