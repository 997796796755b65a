// The guide and About commands for real, on the toolkit stand-in: what F1 and
// the Help menu's items do, as far as the program decides it. Built once per
// language; the expected texts come from the build (help.cmake).
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <numbers>
#include <string>
#include <thread>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "app/shell/about_picture.h"
#include "app/commands/help_commands.h"
#include "app/program/main_loop.h"
#include "app/shell/recalculation.h"
#include "app/shell/shell_state.h"
#include "model/drive.h"
#include "text/texts.h"
#include "tests/app/standin.h"
#include "tests/support/test_folder.h"

namespace fs = std::filesystem;

namespace {

double degrees(double d)
{
    return d * std::numbers::pi / 180.0;
}

// ---- F1 and "User guide" ----------------------------------------------------

// A temporary folder of the test's own and a stand-in xdg-open on PATH that
// appends its arguments, one per line after their count, to a record, and
// ends with status 0 unless a test gives it another ending.
class GuideCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/zandrel-help-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root = pattern;
        temp = root + "/tmp";
        bin = root + "/bin";
        record = root + "/record";
        fs::create_directories(temp);
        fs::create_directories(bin);
        write_opener("");
        tmpdir = std::make_unique<ScopedEnv>("TMPDIR", temp);
        path = std::make_unique<ScopedEnv>("PATH", bin + ":/usr/bin:/bin");
        standin_reset();
        ASSERT_EQ(start_program().status, 0);
        standin.canvas_presented = 0;
    }

    void TearDown() override
    {
        path.reset();
        tmpdir.reset();
        std::error_code ignored;
        fs::permissions(root, fs::perms::owner_all, ignored);
        fs::remove_all(root, ignored);
    }

    void write_opener(const std::string& ending)
    {
        std::ofstream(bin + "/xdg-open") << "#!/bin/sh\n"
                                            "printf '%s\\n' \"$#\" \"$@\" >> '" + record + "'\n" + ending;
        fs::permissions(bin + "/xdg-open", fs::perms::owner_all);
    }

    // The stand-in runs detached: wait until it has written `lines` lines.
    std::vector<std::string> recorded_lines(std::size_t lines)
    {
        std::vector<std::string> result;
        for (int i = 0; i < 200; ++i) {
            result.clear();
            std::ifstream in(record);
            for (std::string line; std::getline(in, line);) result.push_back(line);
            if (result.size() >= lines) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
        }
        return result;
    }

    std::string root;
    std::string temp;
    std::string bin;
    std::string record;
    std::unique_ptr<ScopedEnv> tmpdir;
    std::unique_ptr<ScopedEnv> path;
};

TEST_F(GuideCommand, F1WritesTheGuideAndHandsItsPathToTheBrowser)
{
    user_chooses_menu(UserGuide);
    run_one_pass();

    const std::vector<std::string> lines = recorded_lines(2);
    ASSERT_EQ(lines.size(), 2u) << "the stand-in xdg-open did not run";
    EXPECT_EQ(lines[0], "1");  // exactly one argument
    const fs::path guide = lines[1];
    // The plain path, no quotes around it, in a folder of its own under ours.
    EXPECT_EQ(guide.filename(), ZANDREL_EXPECTED_GUIDE_FILE);
    EXPECT_EQ(guide.parent_path().parent_path(), fs::path(temp));
    EXPECT_EQ(read_whole_file(guide), read_whole_file(ZANDREL_GUIDE_SOURCE));
    struct stat folder {};
    ASSERT_EQ(lstat(guide.parent_path().c_str(), &folder), 0);
    EXPECT_TRUE(S_ISDIR(folder.st_mode));
    EXPECT_EQ(folder.st_mode & 0777, 0700u);
    watched_children_end();
    run_one_pass();
    EXPECT_TRUE(standin.message_boxes.empty()) << "the opener ended with 0";
    EXPECT_EQ(standin.canvas_presented, 0) << "the guide has nothing to do with the drive";
}

TEST_F(GuideCommand, PressedTwiceWritesTheSamePathTwice)
{
    EXPECT_EQ(open_user_guide(), 0);
    const std::vector<std::string> first = recorded_lines(2);
    ASSERT_EQ(first.size(), 2u);
    // The reader's browser may have left the file changed or gone.
    fs::remove(first[1]);
    EXPECT_EQ(open_user_guide(), 0);
    const std::vector<std::string> both = recorded_lines(4);
    ASSERT_EQ(both.size(), 4u);
    EXPECT_EQ(both[3], first[1]);
    EXPECT_EQ(read_whole_file(both[3]), read_whole_file(ZANDREL_GUIDE_SOURCE));
}

// A fresh machine has no xdg-open: the user is told where the guide is.
TEST_F(GuideCommand, NoBrowserOpenerNamesTheGuideInAMessage)
{
    const ScopedEnv no_opener("PATH", root + "/nothing-here");
    EXPECT_EQ(open_user_guide(), 0);
    ASSERT_EQ(standin.message_boxes.size(), 1u);
    EXPECT_EQ(standin.message_boxes[0].title, ZANDREL_EXPECTED_GUIDE_TITLE);
    EXPECT_EQ(standin.message_boxes[0].kind, MessageKind::Warning);
    const std::string& said = standin.message_boxes[0].text;
    ASSERT_TRUE(said.starts_with(text::user_guide_no_browser));
    EXPECT_EQ(read_whole_file(said.substr(std::strlen(text::user_guide_no_browser))),
              read_whole_file(ZANDREL_GUIDE_SOURCE));
}

// Without a browser to hand the guide to, xdg-open fails and shows nothing:
// the program then names the guide, also when the opener ends while the
// About window is open.
TEST_F(GuideCommand, AnOpenerThatFailsNamesTheGuideInAMessage)
{
    write_opener("exit 3\n");
    user_chooses_menu(UserGuide);
    run_one_pass();
    const std::vector<std::string> lines = recorded_lines(2);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(standin.message_boxes.empty()) << "said before the opener ended";

    standin.while_about_open = [] { watched_children_end(); };
    user_chooses_menu(About);
    run_one_pass();
    ASSERT_EQ(standin.message_boxes.size(), 1u);
    EXPECT_EQ(standin.message_boxes[0].title, ZANDREL_EXPECTED_GUIDE_TITLE);
    EXPECT_EQ(standin.message_boxes[0].kind, MessageKind::Warning);
    // It was found, so the warning does not ask whether it is installed.
    EXPECT_EQ(standin.message_boxes[0].text, ZANDREL_EXPECTED_BROWSER_FAILED + lines[1]);
}

TEST_F(GuideCommand, AGuideThatCannotBeWrittenIsAnErrorBoxAndNoBrowser)
{
    // The first guide makes this run's folder; take it away and leave only a
    // temporary folder nobody can create anything in, not even root.
    ASSERT_EQ(open_user_guide(), 0);
    const std::vector<std::string> lines = recorded_lines(2);
    ASSERT_EQ(lines.size(), 2u);
    fs::remove_all(fs::path(lines[1]).parent_path());
    const ScopedEnv unusable("TMPDIR", "/proc");

    user_chooses_menu(UserGuide);
    run_one_pass();
    ASSERT_EQ(standin.message_boxes.size(), 1u);
    EXPECT_EQ(standin.message_boxes[0].title, ZANDREL_EXPECTED_GUIDE_TITLE);
    EXPECT_EQ(standin.message_boxes[0].text,
              std::string(ZANDREL_EXPECTED_GUIDE_FAILED) + "/proc/" + text::user_guide_file_name);
    EXPECT_EQ(standin.message_boxes[0].kind, MessageKind::Error);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(recorded_lines(2).size(), 2u) << "the browser was started without a guide";
    EXPECT_EQ(open_user_guide(), 1);
}

// ---- The About window -------------------------------------------------------

class AboutWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        standin_reset();
        ASSERT_EQ(start_program().status, 0);
        standin.canvas_presented = 0;
    }
};

TEST_F(AboutWindow, TheMenuItemShowsPictureNameAndCaptionsOfTheBuild)
{
    bool blocked_while_open = false;
    standin.while_about_open = [&] { blocked_while_open = standin.main_window_blocked && standin.about_window_open; };
    const int front_before = standin.front_requests;
    user_chooses_menu(About);
    run_one_pass();

    ASSERT_EQ(standin.about_windows.size(), 1u);
    const AboutWindowContent& shown = standin.about_windows[0];
    EXPECT_EQ(shown.window_title, ZANDREL_EXPECTED_ABOUT_TITLE);
    EXPECT_EQ(shown.close_caption, ZANDREL_EXPECTED_ABOUT_CLOSE);
    EXPECT_EQ(shown.title_line, "Zandrel 1.00");
    // The built-in picture, decoded: 256 x 256, transparent in the corners,
    // something opaque in the ring.
    ASSERT_EQ(shown.picture_width, 256);
    ASSERT_EQ(shown.picture_height, 256);
    ASSERT_EQ(shown.picture_rgba.size(), 256u * 256u * 4u);
    EXPECT_EQ(shown.picture_rgba[3], 0);
    EXPECT_EQ(shown.picture_rgba[shown.picture_rgba.size() - 1], 0);
    bool opaque = false;
    for (std::size_t i = 3; i < shown.picture_rgba.size(); i += 4) opaque = opaque || shown.picture_rgba[i] == 255;
    EXPECT_TRUE(opaque);

    EXPECT_TRUE(blocked_while_open);
    EXPECT_FALSE(standin.about_window_open);
    EXPECT_FALSE(standin.main_window_blocked);
    EXPECT_FALSE(main_window_blocked());
    EXPECT_EQ(standin.front_requests, front_before + 1);
}

TEST_F(AboutWindow, LanguageChoosesTheCaptions)
{
    EXPECT_EQ(show_about_window(main_window_number, "Zandrel 1.00", about_picture_png(), 0), 0);
    EXPECT_EQ(show_about_window(main_window_number, "Zandrel 1.00", about_picture_png(), 1), 0);
    EXPECT_EQ(show_about_window(main_window_number, "Zandrel 1.00", about_picture_png(), 7), 0);
    ASSERT_EQ(standin.about_windows.size(), 3u);
    EXPECT_EQ(standin.about_windows[0].window_title, "About");
    EXPECT_EQ(standin.about_windows[0].close_caption, "Close");
    for (std::size_t i : {1u, 2u}) {
        EXPECT_EQ(standin.about_windows[i].window_title, "Over");
        EXPECT_EQ(standin.about_windows[i].close_caption, "Sluiten");
    }
}

TEST_F(AboutWindow, APictureThatDoesNotDecodeLeavesTheWindowWithoutOne)
{
    std::vector<unsigned char> damaged(about_picture_png().begin(), about_picture_png().end());
    damaged.resize(damaged.size() / 2);
    EXPECT_EQ(show_about_window(main_window_number, "Zandrel 1.00", damaged, 0), 0);
    EXPECT_EQ(show_about_window(main_window_number, "Zandrel 1.00", {}, 0), 0);
    ASSERT_EQ(standin.about_windows.size(), 2u);
    for (const AboutWindowContent& shown : standin.about_windows) {
        EXPECT_EQ(shown.picture_width, 0);
        EXPECT_TRUE(shown.picture_rgba.empty());
        EXPECT_EQ(shown.title_line, "Zandrel 1.00");
    }
    EXPECT_TRUE(standin.message_boxes.empty());
}

TEST_F(AboutWindow, AWindowThatCannotOpenLeavesTheMainWindowAlone)
{
    standin.about_window_fails = true;
    const int front_before = standin.front_requests;
    user_chooses_menu(About);
    run_one_pass();
    EXPECT_TRUE(standin.about_windows.empty());
    EXPECT_FALSE(main_window_blocked());
    EXPECT_EQ(standin.front_requests, front_before);
    EXPECT_TRUE(standin.message_boxes.empty());
    // And the main window still takes its events.
    user_clicks(OpenButton);
    run_one_pass();
    EXPECT_EQ(open_dialogs_shown(), 1);
}

TEST_F(AboutWindow, TheDriveStandsStillWhileItIsOpenAndDoesNotCatchUp)
{
    user_toggles(RotateCheck);
    run_one_pass();
    ASSERT_TRUE(standin.timer_on);
    timer_ticks(1);
    run_one_pass();
    const double before = drive_input.rotation;
    ASSERT_NEAR(before, degrees(0.4), 1e-12);

    std::size_t queued_meanwhile = 99;
    standin.while_about_open = [&] {
        // Seconds of ticks, and the user clicking and closing the main window.
        timer_ticks(100);
        user_clicks(OpenButton);
        user_closes_window();
        queued_meanwhile = queued_event_count();
    };
    user_chooses_menu(About);
    run_one_pass();
    EXPECT_EQ(queued_meanwhile, 0u);
    EXPECT_EQ(animation_ticks, 0);
    EXPECT_EQ(drive_input.rotation, before);
    EXPECT_EQ(open_dialogs_shown(), 0);
    EXPECT_TRUE(standin.message_boxes.empty());
    EXPECT_EQ(quit_requested, 0);

    // The timer still runs: the next tick turns the drive by one step.
    EXPECT_TRUE(standin.timer_on);
    timer_ticks(1);
    run_one_pass();
    EXPECT_NEAR(drive_input.rotation, before + degrees(0.4), 1e-12);
}

TEST_F(AboutWindow, EventsWaitingBeforeItOpenedAreStillHandled)
{
    // A click that was queued before the menu item counts; the About window
    // only drops what arrives while it is open.
    user_chooses_menu(About);
    user_clicks(OpenButton);
    run_one_pass();
    EXPECT_EQ(standin.about_windows.size(), 1u);
    EXPECT_EQ(open_dialogs_shown(), 1);
}

}  // namespace
