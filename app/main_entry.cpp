#include <clocale>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/commands.h"
#include "app/main_window.h"
#include "app/project_file.h"
#include "app/shell.h"
#include "app/toolkit.h"
#include "model/chain_size.h"
#include "model/drive.h"
#include "text/texts.h"

namespace {

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
    if (!toolkit_start(argc, argv)) {
        // Without a display there is no window to say it in.
        std::fputs(text::cannot_open_display, stderr);
        return 1;
    }

    reset_shell_state();
    drive_solution = DriveSolution{};
    load_chain_size_table();
    zoom = 1.0;
    device_scale = 1.0;

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
