#include <gtest/gtest.h>

#include <cairo.h>

#include <algorithm>
#include <chrono>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/shell/main_window.h"
#include "app/shell/project_file.h"
#include "app/program/main_loop.h"
#include "app/shell/recalculation.h"
#include "app/shell/shell_state.h"
#include "app/toolkit/toolkit.h"
#include "model/drive.h"

// The toolkit layer on GTK itself. It needs an X display (the full suite runs
// under xvfb-run); without one the cases are skipped.

namespace {

bool display_ready = false;

class GtkWindow : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        // A Dutch user: GTK takes the user's locale at start, decimal comma and all.
        setenv("LC_ALL", "nl_NL.UTF-8", 1);
        static int argc = 1;
        static char name[] = "app_gtk_tests";
        static char* args[] = {name, nullptr};
        static char** argv = args;
        display_ready = std::getenv("DISPLAY") != nullptr && toolkit_start(argc, argv);
        if (!display_ready) return;
        reset_shell_state();
        build_main_window();
        set_project_defaults(drive_input, drive_options);
        recalculate_and_redraw(1);
    }

    void SetUp() override
    {
        if (!display_ready) GTEST_SKIP() << "no X display";
        settle_and_discard_events();
        clear_event_queue();
    }
};

TEST_F(GtkWindow, NumbersStayWithThePointAfterTheToolkitStarts)
{
    if (std::string(std::setlocale(LC_CTYPE, nullptr)).find("nl_NL") == std::string::npos)
        GTEST_SKIP() << "no nl_NL.UTF-8 locale to start in";  // a fresh machine has only C until one is generated
    EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
    EXPECT_STREQ(std::localeconv()->decimal_point, ".");
    EXPECT_NE(std::string(std::setlocale(LC_CTYPE, nullptr)).find("nl_NL"), std::string::npos);
    EXPECT_EQ(gadget_text(CentreDistanceField), "500");
    EXPECT_NE(gadget_text(ReportEditor).find("12.700"), std::string::npos);
}

TEST_F(GtkWindow, ProgramChangesRaiseNoEvents)
{
    for (GadgetId id : {Z1Field, Z2Field, CentreDistanceField, LinksField, IdlerTeethField, Bore1Field, Bore2Field,
                        IdlerBoreField, ChordToleranceField, IdlerPercentLabel, ReportEditor})
        set_gadget_text(id, "12");
    for (GadgetId id : {ChainSizeCombo, IdlerSideCombo, ExportScopeCombo, RotateCheck, ShowPitchCirclesCheck,
                        ExportPitchCirclesCheck, IdlerPositionSlider, SpeedSlider})
        set_gadget_state(id, 1);
    drive_input.idler_position = 0.3;
    drive_options.show_pitch_circles = 0;
    project_to_gadgets();
    update_report_text();
    for (int i = 0; i < 200 && events_pending(); ++i) {
        ProgramEvent event;
        if (poll_event(event)) ADD_FAILURE() << "event of control " << event.id;
    }
    EXPECT_EQ(queued_event_count(), 0u);
    EXPECT_EQ(gadget_state(IdlerPositionSlider), 30);
    EXPECT_EQ(gadget_text(IdlerPercentLabel), "30 %");
    EXPECT_EQ(gadget_state(ShowPitchCirclesCheck), 0);

    // Put the default drive back for the other cases.
    set_gadget_state(RotateCheck, 0);
    set_gadget_state(SpeedSlider, 4);
    set_project_defaults(drive_input, drive_options);
    project_to_gadgets();
    recalculate_and_redraw(1);
}

TEST_F(GtkWindow, ControlsHoldWhatTheProgramSets)
{
    set_gadget_state(SpeedSlider, 25);
    EXPECT_EQ(gadget_state(SpeedSlider), 20) << "the slider keeps its range";
    set_gadget_state(SpeedSlider, 4);
    set_gadget_state(ExportScopeCombo, 9);
    EXPECT_EQ(gadget_state(ExportScopeCombo), -1) << "an item the list lacks selects nothing";
    set_gadget_state(ExportScopeCombo, 0);
    set_gadget_text(ReportEditor, "line 1\nline 2");
    EXPECT_EQ(gadget_text(ReportEditor), "line 1\nline 2");
    update_report_text();
    EXPECT_EQ(queued_event_count(), 0u);
}

TEST_F(GtkWindow, CanvasSizeComesFromTheLayout)
{
    int width = 0;
    int height = 0;
    window_inner_size(width, height);
    Rect canvas = gadget_rect(Canvas);
    EXPECT_EQ(canvas.x, layout_metrics.scroll_width + 4);
    EXPECT_EQ(canvas.width, std::max(50, width - layout_metrics.scroll_width - 12));
    EXPECT_EQ(canvas.height, std::max(50, height - 16));
    EXPECT_GT(canvas.width, 400);
}

TEST_F(GtkWindow, CanvasPictureFollowsTheCanvasSize)
{
    Rect canvas = gadget_rect(Canvas);
    cairo_surface_t* picture = canvas_surface();
    ASSERT_NE(picture, nullptr);
    const int scale = cairo_image_surface_get_width(picture) / canvas.width;
    ASSERT_GE(scale, 1);
    EXPECT_EQ(cairo_image_surface_get_width(picture), canvas.width * scale);
    EXPECT_EQ(cairo_image_surface_get_height(picture), canvas.height * scale);
    Rect smaller = canvas;
    smaller.width -= 100;
    smaller.height -= 30;
    set_gadget_rect(Canvas, smaller);
    picture = canvas_surface();
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(cairo_image_surface_get_width(picture), smaller.width * scale);
    EXPECT_EQ(cairo_image_surface_get_height(picture), smaller.height * scale);
    set_gadget_rect(Canvas, canvas);
    present_canvas();
    EXPECT_EQ(queued_event_count(), 0u);
}

TEST_F(GtkWindow, TimerTicksAndStoppingDropsThem)
{
    start_timer(animation_timer, 30);
    EXPECT_TRUE(timer_running(animation_timer));
    ProgramEvent event;
    bool ticked = false;
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!ticked && std::chrono::steady_clock::now() < until)
        ticked = wait_event(event) && event.kind == EventKind::Timer && event.id == animation_timer;
    EXPECT_TRUE(ticked);
    ProgramEvent tick;
    tick.kind = EventKind::Timer;
    tick.id = animation_timer;
    post_event(tick);
    stop_timer(animation_timer);
    EXPECT_FALSE(timer_running(animation_timer));
    EXPECT_EQ(queued_event_count(), 0u);
}

// A keystroke in a field: from its change event to the end of the report
// update. One frame (16 ms) is the aim for an optimised build.
double keystroke_ms(GadgetId field)
{
    std::vector<double> times;
    for (int i = 0; i < 15; ++i) {
        ProgramEvent change;
        change.kind = EventKind::Gadget;
        change.id = field;
        change.type = GadgetEventType::Change;
        auto start = std::chrono::steady_clock::now();
        handle_event(change);
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        settle_and_discard_events();
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

TEST_F(GtkWindow, KeystrokeRecalculationFitsAFrame)
{
    set_project_defaults(drive_input, drive_options);
    project_to_gadgets();
    double default_drive = keystroke_ms(Z1Field);
    ASSERT_EQ(drive_solution.laid, 1);

    set_gadget_text(Z1Field, "250");
    set_gadget_text(Z2Field, "250");
    set_gadget_text(CentreDistanceField, "2000");
    double largest_wheels = keystroke_ms(Z1Field);
    ASSERT_EQ(drive_solution.valid, 1);
    RecordProperty("default_drive_ms", std::to_string(default_drive));
    RecordProperty("z250_ms", std::to_string(largest_wheels));
    std::printf("keystroke to report: default drive %.2f ms, z = 250 both %.2f ms\n", default_drive, largest_wheels);

#if defined(NDEBUG) && !defined(__SANITIZE_ADDRESS__)
    const double limit_ms = 16.0;
#else
    // Checked, unoptimised and sharing the machine with the rest of the suite
    // (400 ms has been seen): only a gross slowdown fails.
    const double limit_ms = 1500.0;
#endif
    EXPECT_LT(default_drive, limit_ms);
    EXPECT_LT(largest_wheels, limit_ms);

    set_project_defaults(drive_input, drive_options);
    project_to_gadgets();
    recalculate_and_redraw(1);
}

}  // namespace
