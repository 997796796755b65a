#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <numbers>
#include <string>

#include "app/shell/canvas_draw.h"
#include "app/shell/canvas_view.h"
#include "app/program/main_loop.h"
#include "app/shell/main_window.h"
#include "app/shell/project_file.h"
#include "app/shell/recalculation.h"
#include "app/shell/shell_state.h"
#include "model/drive.h"
#include "model/geometry.h"
#include "model/lay_chain.h"
#include "model/report.h"
#include "tests/app/standin.h"
#include "tests/support/test_folder.h"

namespace {

const std::string new_title = "Zandrel - new project   (ISO 606 / DIN 8187 / DIN 8196)";
const std::string changed_title = "Zandrel - new project *   (ISO 606 / DIN 8187 / DIN 8196)";

double degrees(double d)
{
    return d * std::numbers::pi / 180.0;
}

class Dispatch : public ::testing::Test {
protected:
    void SetUp() override
    {
        standin_reset();
        ASSERT_EQ(start_program().status, 0);
        standin.title_sets = 0;
        standin.canvas_presented = 0;
        unfit_view();
    }

    std::string report() { return gadget_text(ReportEditor); }
};

TEST(StartUp, DefaultDriveInTheWindow)
{
    standin_reset();
    ASSERT_EQ(start_program().status, 0);
    EXPECT_EQ(standin.title, new_title);
    EXPECT_EQ(drive_input.size_index, 2);
    EXPECT_EQ(drive_input.z1, 17);
    EXPECT_EQ(drive_input.z2, 34);
    EXPECT_DOUBLE_EQ(drive_input.centre_distance, 500.0);
    EXPECT_EQ(drive_input.links, 0);
    EXPECT_EQ(drive_input.idler_teeth, 15);
    EXPECT_DOUBLE_EQ(drive_input.idler_position, 0.5);
    EXPECT_EQ(drive_input.idler_outside, 1);
    EXPECT_DOUBLE_EQ(drive_options.chord_tolerance, 0.01);
    EXPECT_EQ(drive_solution.valid, 1);
    EXPECT_EQ(drive_solution.laid, 1);
    // The view is the fit of the drive in the canvas, and the canvas was shown.
    const double started_zoom = zoom;
    fit_view_to_drive(gadget_rect(Canvas).width, gadget_rect(Canvas).height);
    EXPECT_DOUBLE_EQ(zoom, started_zoom);
    EXPECT_GE(standin.canvas_presented, 1);
    // The report is the model's report of the default drive.
    DriveSolution fresh;
    compute_drive(DriveInput{}, fresh);
    EXPECT_EQ(gadget_text(ReportEditor), build_report_text(DriveInput{}, DriveOptions{}, fresh));
    EXPECT_NE(gadget_text(ReportEditor).find("08B"), std::string::npos);
    EXPECT_FALSE(wheel1_display_outline.empty());
    EXPECT_FALSE(idler_display_outline.empty());
    EXPECT_LE(wheel1_display_outline.size(), drive_solution.wheel1_geometry.outline.size());
    // The queued close met an unchanged project: it quit without a question.
    EXPECT_TRUE(standin.message_boxes.empty());
    EXPECT_TRUE(standin.file_dialogs.empty());
}

TEST(StartUp, ProjectArgumentOpenedOnlyWhenItHoldsSomething)
{
    TestFolder folder;
    ScopedEnv home("HOME", folder.path);
    const std::string empty = folder.file("empty.zdr");
    const std::string full = folder.file("full.zdr");
    write_whole_file(empty, "");
    DriveInput input;
    input.z1 = 23;
    ASSERT_EQ(write_project_file(full, input, DriveOptions{}), 1);

    for (const std::string& skipped : {empty, folder.path, folder.file("missing.zdr")}) {
        standin_reset();
        ASSERT_EQ(start_program({skipped}).status, 0);
        EXPECT_EQ(drive_input.z1, 17) << skipped;
        EXPECT_TRUE(standin.message_boxes.empty()) << skipped;
        EXPECT_EQ(standin.title, new_title);
    }
    standin_reset();
    ASSERT_EQ(start_program({full, empty}).status, 0);
    EXPECT_EQ(drive_input.z1, 23);
    EXPECT_EQ(gadget_text(Z1Field), "23");
    EXPECT_EQ(project_path, full);
    EXPECT_EQ(standin.title, "Zandrel - full.zdr   (ISO 606 / DIN 8187 / DIN 8196)");
}

TEST_F(Dispatch, WheelEditsRecalculateAndRefit)
{
    user_types(Z1Field, "19");
    run_one_pass();
    EXPECT_EQ(drive_input.z1, 19);
    EXPECT_TRUE(view_was_fitted());
    EXPECT_NE(report().find("19"), std::string::npos);
    EXPECT_EQ(standin.title, changed_title);

    const auto fits_after = [](auto act) {
        unfit_view();
        act();
        run_one_pass();
        return view_was_fitted();
    };
    EXPECT_TRUE(fits_after([] { user_types(Z2Field, "40"); }));
    EXPECT_TRUE(fits_after([] { user_types(CentreDistanceField, "612,5"); }));
    EXPECT_TRUE(fits_after([] { user_selects(ChainSizeCombo, 3); }));
    EXPECT_TRUE(fits_after([] { user_selects(IdlerSideCombo, 1); }));
    EXPECT_EQ(drive_input.z2, 40);
    EXPECT_DOUBLE_EQ(drive_input.centre_distance, 612.5);
    EXPECT_EQ(drive_input.size_index, 3);
    EXPECT_EQ(drive_input.idler_outside, 0);
    DriveSolution expected;
    compute_drive(drive_input, expected);
    EXPECT_EQ(report(), build_report_text(drive_input, drive_options, expected));
}

TEST_F(Dispatch, BoresLinksAndIdlerTeethKeepTheView)
{
    const std::string before = report();
    user_types(LinksField, "120");
    run_one_pass();
    EXPECT_EQ(drive_input.links, 120);
    EXPECT_NE(report(), before);
    user_types(IdlerTeethField, "21");
    run_one_pass();
    user_types(Bore1Field, "-5");
    run_one_pass();
    user_types(Bore2Field, "20");
    run_one_pass();
    user_types(IdlerBoreField, "8");
    run_one_pass();
    EXPECT_FALSE(view_was_fitted());
    EXPECT_EQ(drive_input.idler_teeth, 21);
    // A negative bore is stored as none while the field keeps the text.
    EXPECT_DOUBLE_EQ(drive_options.bore1, 0.0);
    EXPECT_EQ(gadget_text(Bore1Field), "-5");
    EXPECT_DOUBLE_EQ(drive_options.bore2, 20.0);
    EXPECT_DOUBLE_EQ(drive_options.idler_bore, 8.0);
    EXPECT_EQ(standin.title, changed_title);
}

TEST_F(Dispatch, EveryKeystrokeCountsButDuplicatesWaitAsOne)
{
    // Typed one key per pass: first 3 teeth (an error), then 34.
    user_types(Z2Field, "3");
    run_one_pass();
    EXPECT_EQ(drive_input.z2, 3);
    EXPECT_EQ(drive_solution.valid, 0);
    EXPECT_NE(report().find("Number of teeth must be between 6 and 250."), std::string::npos);
    user_types(Z2Field, "34");
    run_one_pass();
    EXPECT_EQ(drive_input.z2, 34);
    EXPECT_EQ(drive_solution.valid, 1);

    // Both keys before the loop looks: the second change waits as the first,
    // which reads the field when it is handled, so nothing is lost.
    unfit_view();
    user_types(Z2Field, "4");
    user_types(Z2Field, "45");
    EXPECT_EQ(queued_event_count(), 1u);
    run_one_pass();
    EXPECT_TRUE(view_was_fitted());
    EXPECT_EQ(drive_input.z2, 45);
}

TEST_F(Dispatch, WildInputEndsInTheReportNotInACrash)
{
    const std::string huge_integer(40, '9');
    for (GadgetId id : {Z1Field, Z2Field, IdlerTeethField, LinksField}) {
        for (const std::string& typed : {huge_integer, "-" + huge_integer, std::string("0"), std::string("-1")}) {
            user_types(id, typed);
            run_one_pass();
            EXPECT_FALSE(report().empty()) << id << " " << typed;
        }
        user_types(id, id == Z1Field ? "17" : id == Z2Field ? "34" : id == IdlerTeethField ? "15" : "0");
        run_one_pass();
    }
    EXPECT_EQ(drive_solution.laid, 1);
    user_types(Z1Field, huge_integer);
    run_one_pass();
    EXPECT_EQ(drive_input.z1, std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(drive_solution.valid, 0);
    EXPECT_EQ(drive_solution.error_text, "Z1: Number of teeth must be between 6 and 250.");
    user_types(Z1Field, "17");
    run_one_pass();
    for (GadgetId id : {CentreDistanceField, Bore1Field, Bore2Field, IdlerBoreField}) {
        for (const char* typed : {"1e999", "-1e999", "1e-999", "nan", "inf", "0", "-0"}) {
            user_types(id, typed);
            run_one_pass();
            EXPECT_FALSE(report().empty()) << id << " " << typed;
        }
        user_types(id, id == CentreDistanceField ? "500" : "0");
        run_one_pass();
    }
    EXPECT_EQ(drive_solution.laid, 1);
}

TEST_F(Dispatch, ChordToleranceOnlyMarksTheProject)
{
    const std::string before = report();
    int redraws = standin.canvas_presented;
    user_types(ChordToleranceField, "0.05");
    run_one_pass();
    EXPECT_EQ(standin.title, changed_title);
    EXPECT_EQ(report(), before);
    EXPECT_EQ(standin.canvas_presented, redraws);
    EXPECT_DOUBLE_EQ(drive_options.chord_tolerance, 0.01);
    // It arrives with the next reading of the controls.
    user_types(LinksField, "0");
    run_one_pass();
    EXPECT_DOUBLE_EQ(drive_options.chord_tolerance, 0.05);
}

TEST_F(Dispatch, ChordToleranceOutsideItsRangeFallsBack)
{
    auto stored = [](const std::string& typed) {
        set_gadget_text(ChordToleranceField, typed);
        gadgets_to_project();
        return drive_options.chord_tolerance;
    };
    EXPECT_DOUBLE_EQ(stored("2"), 0.01);
    EXPECT_DOUBLE_EQ(stored("0.0004"), 0.01);
    EXPECT_DOUBLE_EQ(stored("0.0005"), 0.0005);
    EXPECT_DOUBLE_EQ(stored("1"), 1.0);
    EXPECT_DOUBLE_EQ(stored("abc"), 0.01);
    EXPECT_EQ(gadget_text(ChordToleranceField), "abc");
}

TEST_F(Dispatch, CheckBoxesAndScope)
{
    user_toggles(ShowPitchCirclesCheck);
    run_one_pass();
    EXPECT_EQ(drive_options.show_pitch_circles, 0);
    EXPECT_EQ(standin.canvas_presented, 1);
    EXPECT_EQ(standin.title, changed_title);

    user_toggles(ExportPitchCirclesCheck);
    user_toggles(ShowPitchCirclesCheck);
    run_one_pass();
    EXPECT_EQ(drive_options.export_pitch_circles, 0);
    EXPECT_EQ(drive_options.show_pitch_circles, 1);
    EXPECT_EQ(standin.canvas_presented, 2) << "two requests in one pass give one redraw";

    user_selects(ExportScopeCombo, 3);
    run_one_pass();
    EXPECT_EQ(drive_options.export_scope, 3);
    EXPECT_EQ(standin.canvas_presented, 2);
    EXPECT_FALSE(view_was_fitted());
}

TEST_F(Dispatch, TitleOfNewNamedAndChangedProjects)
{
    EXPECT_EQ(window_title_text(), new_title);
    project_path = "/home/someone/drives/conveyor.zdr";
    update_window_title();
    EXPECT_EQ(standin.title, "Zandrel - conveyor.zdr   (ISO 606 / DIN 8187 / DIN 8196)");
    mark_project_modified();
    EXPECT_EQ(standin.title, "Zandrel - conveyor.zdr *   (ISO 606 / DIN 8187 / DIN 8196)");
    int sets = standin.title_sets;
    mark_project_modified();
    user_types(Z1Field, "18");
    run_one_pass();
    EXPECT_EQ(standin.title_sets, sets) << "a second change does not set the title again";
    project_path = "plain.zdr";
    project_modified = 0;
    EXPECT_EQ(window_title_text(), "Zandrel - plain.zdr   (ISO 606 / DIN 8187 / DIN 8196)");
}

TEST_F(Dispatch, NothingHappensWhileTheProgramFillsTheControls)
{
    const std::string before = report();
    loading_gadgets = 1;
    for (GadgetId id : {Z1Field, Z2Field, CentreDistanceField, LinksField, IdlerTeethField, Bore1Field,
                        ChordToleranceField, ChainSizeCombo, IdlerSideCombo, ExportScopeCombo})
        user_types(id, "7");
    user_toggles(ShowPitchCirclesCheck);
    user_moves_slider(IdlerPositionSlider, 20);
    run_one_pass();
    mark_project_modified();
    loading_gadgets = 0;
    EXPECT_EQ(report(), before);
    EXPECT_EQ(drive_input.z1, 17);
    EXPECT_DOUBLE_EQ(drive_input.idler_position, 0.5);
    EXPECT_EQ(drive_options.show_pitch_circles, 1);
    EXPECT_EQ(project_modified, 0);
    EXPECT_EQ(standin.title, new_title);
    EXPECT_FALSE(view_was_fitted());
}

TEST_F(Dispatch, RecordsShownInTheControls)
{
    drive_input.size_index = 5;
    drive_input.z1 = -3;
    drive_input.z2 = 40;
    drive_input.centre_distance = 612.123456;
    drive_input.links = 118;
    drive_input.idler_teeth = 21;
    drive_input.idler_position = 0.995;
    drive_input.idler_outside = 0;
    drive_options.bore1 = 12.5;
    drive_options.bore2 = 0.0;
    drive_options.idler_bore = 9.525;
    drive_options.show_pitch_circles = 0;
    drive_options.export_pitch_circles = 0;
    drive_options.export_scope = 4;
    drive_options.chord_tolerance = 0.02;
    user_types(Z1Field, "99");  // waiting from before the load: it stays
    project_to_gadgets();
    EXPECT_EQ(loading_gadgets, 0);
    EXPECT_EQ(queued_event_count(), 1u);
    EXPECT_EQ(gadget_state(ChainSizeCombo), 5);
    EXPECT_EQ(gadget_text(Z1Field), "-3");
    EXPECT_EQ(gadget_text(CentreDistanceField), "612.1235");
    EXPECT_EQ(gadget_text(LinksField), "118");
    EXPECT_EQ(gadget_state(IdlerPositionSlider), 98);
    EXPECT_EQ(gadget_text(IdlerPercentLabel), "98 %");
    EXPECT_EQ(gadget_state(IdlerSideCombo), 1);
    EXPECT_EQ(gadget_text(Bore1Field), "12.5");
    EXPECT_EQ(gadget_text(IdlerBoreField), "9.525");
    EXPECT_EQ(gadget_state(ExportScopeCombo), 4);
    EXPECT_EQ(gadget_text(ChordToleranceField), "0.02");
    EXPECT_EQ(project_modified, 0);

    // A loaded decimal keeps its full value while its field shows it
    // unchanged; an edited field reads as typed.
    gadgets_to_project();
    EXPECT_EQ(drive_input.centre_distance, 612.123456);
    EXPECT_EQ(drive_input.idler_outside, 0);
    set_gadget_text(CentreDistanceField, "612.12");
    gadgets_to_project();
    EXPECT_EQ(drive_input.centre_distance, 612.12);

    drive_input.idler_position = 0.5;
    project_to_gadgets();
    EXPECT_EQ(gadget_text(IdlerPercentLabel), "50 %");
    drive_input.idler_position = std::nan("");
    project_to_gadgets();
    EXPECT_EQ(gadget_state(IdlerPositionSlider), 2);
}

TEST_F(Dispatch, IdlerSliderLaysTheChainAtTheEndOfThePass)
{
    const std::string before = report();
    user_moves_slider(IdlerPositionSlider, 30);
    run_one_pass();
    EXPECT_DOUBLE_EQ(drive_input.idler_position, 0.3);
    EXPECT_EQ(gadget_text(IdlerPercentLabel), "30 %");
    EXPECT_EQ(drive_solution.laid, 1);
    EXPECT_NE(report(), before);
    DriveSolution expected;
    compute_drive(drive_input, expected);
    EXPECT_EQ(report(), build_report_text(drive_input, drive_options, expected));
    EXPECT_EQ(standin.canvas_presented, 1);
    EXPECT_FALSE(view_was_fitted());
    EXPECT_EQ(standin.title, changed_title);
}

TEST_F(Dispatch, IdlerSliderOnAnInvalidDriveOnlyStoresThePosition)
{
    user_types(Z1Field, "2");
    run_one_pass();
    ASSERT_EQ(drive_solution.valid, 0);
    const std::string error = drive_solution.error_text;
    project_modified = 0;
    int redraws = standin.canvas_presented;
    user_moves_slider(IdlerPositionSlider, 70);
    run_one_pass();
    EXPECT_DOUBLE_EQ(drive_input.idler_position, 0.7);
    EXPECT_EQ(drive_solution.error_text, error);
    EXPECT_EQ(standin.canvas_presented, redraws);
    EXPECT_EQ(project_modified, 1);
}

TEST(RotationAngle, KeptWithinTwoTurns)
{
    EXPECT_NEAR(normalise_rotation_angle(four_pi + 0.1), 0.1, 1e-12);
    EXPECT_NEAR(normalise_rotation_angle(-0.1), four_pi - 0.1, 1e-12);
    EXPECT_EQ(normalise_rotation_angle(four_pi), four_pi);
    EXPECT_EQ(normalise_rotation_angle(0.0), 0.0);
    EXPECT_EQ(normalise_rotation_angle(1.0), 1.0);
    // One step each way only.
    EXPECT_NEAR(normalise_rotation_angle(2 * four_pi + 0.1), four_pi + 0.1, 1e-12);
    EXPECT_NEAR(normalise_rotation_angle(-four_pi - 0.1), -0.1, 1e-12);
}

TEST_F(Dispatch, RotationTurnsBySpeedTenthsOfADegreePerTick)
{
    user_toggles(RotateCheck);
    run_one_pass();
    ASSERT_TRUE(standin.timer_on);
    EXPECT_EQ(standin.timer_period, 30);

    timer_ticks(1);
    run_one_pass();
    EXPECT_NEAR(drive_input.rotation, degrees(0.4), 1e-12);
    EXPECT_EQ(drive_solution.laid, 1);
    EXPECT_EQ(animation_ticks, 0);

    // Nine ticks in one pass: four are applied, the rest are lost.
    timer_ticks(9);
    run_one_pass();
    EXPECT_NEAR(drive_input.rotation, degrees(0.4 + 1.6), 1e-12);
    EXPECT_EQ(animation_ticks, 0);

    set_gadget_state(SpeedSlider, 20);
    timer_ticks(2);
    run_one_pass();
    EXPECT_NEAR(drive_input.rotation, degrees(2.0 + 4.0), 1e-12);
}

TEST_F(Dispatch, RotationWrapsAfterTwoTurns)
{
    user_toggles(RotateCheck);
    run_one_pass();
    drive_input.rotation = four_pi - degrees(0.1);
    timer_ticks(1);
    run_one_pass();
    EXPECT_NEAR(drive_input.rotation, degrees(0.3), 1e-9);
}

TEST_F(Dispatch, RotationDoesNotRebuildTheReportUntilItStops)
{
    user_toggles(RotateCheck);
    run_one_pass();
    set_gadget_text(ReportEditor, "stale");
    timer_ticks(3);
    run_one_pass();
    EXPECT_EQ(report(), "stale");
    user_toggles(RotateCheck);
    run_one_pass();
    EXPECT_FALSE(standin.timer_on);
    EXPECT_EQ(report(), build_report_text(drive_input, drive_options, drive_solution));
}

TEST_F(Dispatch, StoppingDropsWaitingAndCountedTicks)
{
    user_toggles(RotateCheck);
    run_one_pass();
    // Ticks counted in this pass, then the box is unticked in the same pass.
    timer_ticks(3);
    user_toggles(RotateCheck);
    timer_ticks(1);  // waiting behind the untick: dropped with the timer
    run_one_pass();
    EXPECT_EQ(drive_input.rotation, 0.0);
    EXPECT_EQ(animation_ticks, 0);

    // Ticks still waiting when the box is unticked are dropped with the timer.
    user_toggles(RotateCheck);
    run_one_pass();
    ProgramEvent tick;
    tick.kind = EventKind::Timer;
    tick.id = animation_timer;
    post_event(tick);
    stop_timer(animation_timer);
    EXPECT_EQ(queued_event_count(), 0u);
}

TEST_F(Dispatch, TicksAreCountedOnlyForAValidDrive)
{
    user_types(CentreDistanceField, "5");
    run_one_pass();
    ASSERT_EQ(drive_solution.valid, 0);
    const std::string error = drive_solution.error_text;
    user_toggles(RotateCheck);
    run_one_pass();
    timer_ticks(2);
    run_one_pass();
    EXPECT_EQ(drive_input.rotation, 0.0);
    EXPECT_EQ(drive_solution.error_text, error);
}

TEST_F(Dispatch, TickCountedBeforeAnEditThatBreaksTheDrive)
{
    user_toggles(RotateCheck);
    run_one_pass();
    // The tick is counted while the drive is valid; the edit behind it in the
    // same pass makes it invalid before the idle work turns the wheel.
    timer_ticks(1);
    user_types(Z1Field, "3");
    run_one_pass();
    EXPECT_EQ(drive_solution.valid, 0);
    EXPECT_EQ(drive_input.rotation, 0.0);
    EXPECT_EQ(drive_solution.error_text, "Z1: Number of teeth must be between 6 and 250.");
    EXPECT_EQ(animation_ticks, 0);
    EXPECT_EQ(report().find("No valid input."), std::string::npos);
}

TEST_F(Dispatch, DriveStandsStillWhileTheMainWindowIsBlocked)
{
    user_toggles(RotateCheck);
    run_one_pass();
    block_main_window(true);
    timer_ticks(3);
    user_types(Z1Field, "20");
    EXPECT_EQ(queued_event_count(), 0u);
    block_main_window(false);
    run_one_pass();
    EXPECT_EQ(drive_input.rotation, 0.0) << "no catching up afterwards";
    EXPECT_EQ(drive_input.z1, 17);
    timer_ticks(1);
    run_one_pass();
    EXPECT_NEAR(drive_input.rotation, degrees(0.4), 1e-12);
}

TEST_F(Dispatch, CommandsReachTheirHandlers)
{
    // The commands run for real: their dialogs are cancelled, the saves go to
    // a project file of the test's own, the guide to its temporary folder.
    TestFolder folder;
    ScopedEnv home("HOME", folder.path);
    ScopedEnv temporary("TMPDIR", folder.path);
    ScopedEnv path("PATH", folder.path);
    write_whole_file(folder.file("xdg-open"), "#!/bin/sh\n");  // a browser that shows nothing
    std::filesystem::permissions(folder.file("xdg-open"), std::filesystem::perms::owner_all);
    project_path = folder.file("drive.zdr");

    user_clicks(OpenButton);
    user_chooses_menu(Open);
    user_clicks(SaveButton);
    user_chooses_menu(Save);
    user_clicks(SaveAsButton);
    user_chooses_menu(UserGuide);
    user_chooses_menu(About);
    user_clicks(HelpMenuButton);
    for (GadgetId id : {Dxf2DButton, Step2DButton, Dxf3DButton, Step3DButton, StlButton}) user_clicks(id);
    run_one_pass();

    // Open twice, Save as once (Save writes the named project without asking),
    // then the five exports in button order.
    std::vector<std::string> dialogs;
    for (const StandInFileDialog& d : standin.file_dialogs) dialogs.push_back((d.save ? "save " : "open ") + d.dialog.title);
    EXPECT_EQ(dialogs, (std::vector<std::string>{"open Open project", "open Open project", "save Save project",
                                                 "save Export DXF", "save Export STP", "save Export DXF",
                                                 "save Export STP", "save Export STL"}));
    EXPECT_TRUE(path_exists(project_path));
    EXPECT_TRUE(standin.message_boxes.empty()) << standin.message_boxes.front().text;
    // The guide was written into this run's folder under the temporary folder.
    bool guide_written = false;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder.path))
        if (entry.path().filename() == "zandrel_user_guide.html") guide_written = true;
    EXPECT_TRUE(guide_written);
    ASSERT_EQ(standin.about_windows.size(), 1u);
    EXPECT_EQ(standin.about_windows[0].title_line, "Zandrel 1.00");
    EXPECT_EQ(standin.about_windows[0].window_title, "About");
    EXPECT_EQ(standin.popup_shown, 1);
    EXPECT_EQ(project_modified, 0);
}

TEST_F(Dispatch, CloseAsksAndCancelKeepsRunning)
{
    mark_project_modified();
    standin.answers = {MessageAnswer::Cancel};
    user_closes_window();
    run_one_pass();
    EXPECT_EQ(quit_requested, 0);
    ASSERT_EQ(standin.message_boxes.size(), 1u);
    EXPECT_EQ(standin.message_boxes[0].kind, MessageKind::QuestionYesNoCancel);
    standin.answers = {MessageAnswer::No};
    user_closes_window();
    user_types(Z1Field, "20");  // after the close: not handled any more
    run_one_pass();
    EXPECT_EQ(quit_requested, 1);
    EXPECT_EQ(drive_input.z1, 17);
}

TEST_F(Dispatch, CanvasDoubleClickFitsAndEnterTakesFocus)
{
    post_event(canvas_event(GadgetEventType::LeftDoubleClick, 0, 0));
    post_event(canvas_event(GadgetEventType::PointerEnter, 0, 0));
    run_one_pass();
    EXPECT_TRUE(view_was_fitted());
    EXPECT_EQ(standin.canvas_presented, 1);
    EXPECT_EQ(standin.front_requests, 1);
}

TEST(EventQueue, FirstInFirstOutWithoutRepeatingTheLastEvent)
{
    clear_event_queue();
    set_main_window_blocked(false);
    ProgramEvent a;
    a.kind = EventKind::Gadget;
    a.id = Z1Field;
    ProgramEvent b = a;
    b.id = Z2Field;
    EXPECT_EQ(post_event(a), 1);
    EXPECT_EQ(post_event(a), 0);
    EXPECT_EQ(post_event(b), 1);
    EXPECT_EQ(post_event(a), 1) << "only the last waiting event counts";
    ProgramEvent click = a;
    click.type = GadgetEventType::Click;
    EXPECT_EQ(post_event(click), 1) << "another event type is another event";
    ProgramEvent out;
    ASSERT_TRUE(take_event(out));
    EXPECT_EQ(out.id, Z1Field);
    ASSERT_TRUE(take_event(out));
    EXPECT_EQ(out.id, Z2Field);
    ASSERT_TRUE(take_event(out));
    EXPECT_EQ(out.id, Z1Field);
    ASSERT_TRUE(take_event(out));
    EXPECT_EQ(out.type, GadgetEventType::Click);
    EXPECT_FALSE(take_event(out));
}

TEST(EventQueue, MergedWheelTurnsKeepTheirNotchesAndTheNewestPosition)
{
    clear_event_queue();
    ProgramEvent wheel = canvas_event(GadgetEventType::WheelTurn, 10, 0, 1);
    post_event(wheel);
    wheel.x = 30;
    post_event(wheel);
    post_event(wheel);
    ProgramEvent out;
    ASSERT_TRUE(take_event(out));
    EXPECT_EQ(out.notches, 3);
    EXPECT_EQ(out.x, 30);
    EXPECT_FALSE(take_event(out));
}

TEST(EventQueue, BlockedMainWindowDropsItsEvents)
{
    clear_event_queue();
    set_main_window_blocked(true);
    ProgramEvent tick;
    tick.kind = EventKind::Timer;
    tick.id = animation_timer;
    EXPECT_EQ(post_event(tick), 0);
    ProgramEvent about_key = tick;
    about_key.window = 1;
    EXPECT_EQ(post_event(about_key), 1);
    set_main_window_blocked(false);
    EXPECT_EQ(post_event(tick), 1);
    EXPECT_EQ(queued_event_count(), 2u);
    ProgramEvent other;
    other.kind = EventKind::Timer;
    other.id = 2;
    post_event(other);
    drop_timer_events(animation_timer);
    EXPECT_EQ(queued_event_count(), 1u);
    clear_event_queue();
}

}  // namespace
