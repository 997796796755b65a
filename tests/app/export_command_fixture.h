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
        ASSERT_EQ(start_program().status, 0);
        ASSERT_EQ(drive_solution.laid, 1) << "the default drive should be laid at start";
        forget_what_was_shown();
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

    // The press showed one box, titled after the program, and no save dialog.
    static void expect_refused_with(const std::string& text, MessageKind kind)
    {
        ASSERT_EQ(standin.message_boxes.size(), 1u);
        EXPECT_EQ(standin.message_boxes[0].title, "Zandrel");
        EXPECT_EQ(standin.message_boxes[0].text, text);
        EXPECT_EQ(standin.message_boxes[0].kind, kind);
        EXPECT_TRUE(standin.file_dialogs.empty());
    }

    // Presses the button and picks `path` in the save dialog.
    static void export_to(GadgetId button, const std::string& path)
    {
        standin.chosen_paths.push_back(path);
        press(button);
    }
};
