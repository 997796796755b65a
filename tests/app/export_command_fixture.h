#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/program/main_loop.h"
#include "app/shell/recalculation.h"
#include "app/shell/shell_state.h"
#include "model/drive.h"
#include "tests/app/standin.h"
#include "tests/export/export_support.h"

// The export command run for real on the toolkit stand-in: the program is
// started as the user would start it, the test presses the export buttons,
// picks the paths and answers the boxes, then looks at the files, the
// preferences and what the user was shown. HOME is a scratch folder, so the
// remembered export folder starts empty.
class ExportCommandTest : public ::testing::Test {
protected:
    TestFolder home;
    TestFolder work;
    ScopedEnv home_env{"HOME", home.path};  // after `home`, which it names

    void SetUp() override
    {
        standin_reset();
        start_program();
        ASSERT_EQ(drive_solution.laid, 1) << "the default drive should be laid at start";
        forget_what_was_shown();
    }

    // Runs the real start-up; a close queued first ends the main loop after
    // its first pass, and the window stays as the program left it.
    static void start_program()
    {
        std::string name = "zandrel";
        std::vector<char*> argv = {name.data(), nullptr};
        user_closes_window();
        ASSERT_EQ(main_entry(1, argv.data()), 0);
        quit_requested = 0;
    }

    static void forget_what_was_shown()
    {
        standin.message_boxes.clear();
        standin.file_dialogs.clear();
        standin.cursors_set.clear();
    }

    // The user presses an export button; the program handles the click.
    static void press(GadgetId button)
    {
        user_clicks(button);
        run_one_pass();
    }

    // Presses the button and picks `path` in the save dialog.
    static void export_to(GadgetId button, const std::string& path)
    {
        standin.chosen_paths.push_back(path);
        press(button);
    }
};
