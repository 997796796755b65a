// The canvas under the mouse, on the stand-in toolkit: the program is started
// for real and the tests act as the user's mouse, event by event.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "app/commands/canvas_mouse.h"
#include "app/shell/canvas_view.h"
#include "app/shell/main_window.h"
#include "app/program/main_loop.h"
#include "app/shell/recalculation.h"
#include "app/shell/shell_state.h"
#include "model/drive.h"
#include "model/report.h"
#include "tests/app/standin.h"

namespace {

// One mouse event on the canvas and the pass of the main loop that serves it.
void mouse(GadgetEventType type, double x, double y, int notches = 0)
{
    post_event(canvas_event(type, x, y, notches));
    run_one_pass();
}

void press(double x, double y)
{
    mouse(GadgetEventType::LeftDown, x, y);
}
void release(double x, double y)
{
    mouse(GadgetEventType::LeftUp, x, y);
}
void move_to(double x, double y)
{
    mouse(GadgetEventType::PointerMove, x, y);
}
void wheel(double x, double y, int notches)
{
    mouse(GadgetEventType::WheelTurn, x, y, notches);
}

double canvas_w()
{
    return gadget_rect(Canvas).width;
}
double canvas_h()
{
    return gadget_rect(Canvas).height;
}

// The model point shown at a canvas pixel, by the view's definition: the view
// centre sits mid-canvas and y runs upwards.
Point2D model_at(double px, double py)
{
    return {view_centre_x + (px - canvas_w() / 2.0) / zoom, view_centre_y - (py - canvas_h() / 2.0) / zoom};
}

// The canvas pixel nearest to a model point.
Point2D pixel_of(double x, double y)
{
    return {std::round(canvas_w() / 2.0 + (x - view_centre_x) * zoom),
            std::round(canvas_h() / 2.0 - (y - view_centre_y) * zoom)};
}

Point2D idler_centre_pixel()
{
    const PitchCircle& c = drive_solution.circles[Idler];
    return pixel_of(c.x, c.y);
}

// The point at fraction t of the slack strand as it lies now.
Point2D on_slack_strand(double t)
{
    const Point2D p = drive_solution.slack_start;
    const Point2D q = drive_solution.slack_end;
    return {p.x + t * (q.x - p.x), p.y + t * (q.y - p.y)};
}

class CanvasMouse : public ::testing::Test {
protected:
    void SetUp() override
    {
        standin_reset();
        ASSERT_EQ(start_program().status, 0);
        ASSERT_EQ(drive_solution.laid, 1);
        standin.canvas_presented = 0;
    }

    // An idler inside the chain on a long drive: the chain lays at every
    // position from 2 % to 98 %.
    void use_drive_that_lays_everywhere()
    {
        user_selects(IdlerSideCombo, 1);
        user_types(CentreDistanceField, "1000");
        run_one_pass();
        ASSERT_EQ(drive_input.idler_outside, 0);
        ASSERT_EQ(drive_solution.laid, 1);
        project_modified = 0;
        update_window_title();
        standin.canvas_presented = 0;
    }

    bool title_marked() const { return standin.title.find(" *") != std::string::npos; }
};

TEST_F(CanvasMouse, WheelZoomsAboutThePointerWithoutDrift)
{
    const double z0 = zoom;
    const double px = 301.4;  // pointer positions are rounded to whole pixels
    const double py = 222.6;
    const Point2D under = model_at(301, 223);

    wheel(px, py, 1);
    EXPECT_NEAR(zoom, z0 * 1.2, 1e-12 * z0);
    EXPECT_NEAR(model_at(301, 223).x, under.x, 1e-9);
    EXPECT_NEAR(model_at(301, 223).y, under.y, 1e-9);
    EXPECT_EQ(standin.canvas_presented, 1);

    // Notches away from the user zoom in, towards the user zoom out; after as
    // many of each the view is back and the point has not crept.
    for (int notches : {3, -2, 5, -1, -4, 2, -3}) wheel(px, py, notches);
    EXPECT_NEAR(zoom, z0 * 1.2, 1e-12 * z0);
    EXPECT_NEAR(model_at(301, 223).x, under.x, 1e-9);
    EXPECT_NEAR(model_at(301, 223).y, under.y, 1e-9);
    wheel(px, py, -1);
    EXPECT_NEAR(zoom, z0, 1e-12 * z0);
}

TEST_F(CanvasMouse, WheelZoomStopsAtTheLimitsWithThePointStill)
{
    zoom = 0.0101;
    const Point2D under = model_at(400, 300);
    wheel(400, 300, -1);
    EXPECT_EQ(zoom, 0.01) << "the limit, not 0.0101 / 1.2";
    EXPECT_NEAR(model_at(400, 300).x, under.x, 1e-9);
    EXPECT_NEAR(model_at(400, 300).y, under.y, 1e-9);
    wheel(400, 300, -3);
    EXPECT_EQ(zoom, 0.01);
    EXPECT_NEAR(model_at(400, 300).x, under.x, 1e-9);

    zoom = 90000.0;
    const Point2D near_tooth = model_at(123, 456);
    wheel(123, 456, 1);
    EXPECT_EQ(zoom, 100000.0) << "the limit, not 108000";
    wheel(123, 456, 2);
    EXPECT_EQ(zoom, 100000.0);
    EXPECT_NEAR(model_at(123, 456).x, near_tooth.x, 1e-9);
    EXPECT_NEAR(model_at(123, 456).y, near_tooth.y, 1e-9);
}

TEST_F(CanvasMouse, DoubleClickFitsTheDriveIntoEveryCanvasSize)
{
    const DriveSolution& s = drive_solution;
    const double r1 = s.wheel1_geometry.tip_diameter / 2.0;
    const double r2 = s.wheel2_geometry.tip_diameter / 2.0;
    const double ri = s.idler_geometry.tip_diameter / 2.0;
    const Rect original = gadget_rect(Canvas);
    struct Size {
        int w, h;
    };
    for (Size size : {Size{1280, 860}, Size{700, 500}, Size{2000, 300}, Size{500, 2000}}) {
        set_gadget_rect(Canvas, {original.x, original.y, size.w, size.h});
        zoom = 7.0;
        view_centre_x = -1000.0;
        view_centre_y = 1000.0;
        mouse(GadgetEventType::LeftDoubleClick, 10, 10);
        // Every tip circle lies within the canvas less 20 pixels left and
        // right and 45 top and bottom, and touches that frame on one axis.
        double left = 1e300, right = -1e300, top = 1e300, bottom = -1e300;
        const std::pair<const PitchCircle*, double> wheels[3] = {
            {&s.circles[Wheel1], r1}, {&s.circles[Wheel2], r2}, {&s.circles[Idler], ri}};
        for (const auto& [c, r] : wheels) {
            const double X = size.w / 2.0 + (c->x - view_centre_x) * zoom;
            const double Y = size.h / 2.0 - (c->y - view_centre_y) * zoom;
            left = std::min(left, X - r * zoom);
            right = std::max(right, X + r * zoom);
            top = std::min(top, Y - r * zoom);
            bottom = std::max(bottom, Y + r * zoom);
        }
        SCOPED_TRACE(std::to_string(size.w) + " x " + std::to_string(size.h));
        EXPECT_GE(left, 20.0 - 1e-9);
        EXPECT_LE(right, size.w - 20.0 + 1e-9);
        EXPECT_GE(top, 45.0 - 1e-9);
        EXPECT_LE(bottom, size.h - 45.0 + 1e-9);
        const bool fills_width = std::fabs(left - 20.0) < 1e-9 && std::fabs(right - (size.w - 20.0)) < 1e-9;
        const bool fills_height = std::fabs(top - 45.0) < 1e-9 || std::fabs(bottom - (size.h - 45.0)) < 1e-9;
        EXPECT_TRUE(fills_width || fills_height);
        EXPECT_EQ(redraw_pending, 0) << "the double-click asks for a redraw, which the pass served";
    }

    // 10 pixels of height left over the margins set the scale; none leave 1.0.
    const double ymax = std::max(r1, r2);
    const double yi = s.circles[Idler].y;
    const double ymin = std::min(-ymax, yi - ri);
    set_gadget_rect(Canvas, {original.x, original.y, 1280, 100});
    mouse(GadgetEventType::LeftDoubleClick, 10, 10);
    EXPECT_NEAR(zoom, 10.0 / (ymax - ymin), 1e-12);
    set_gadget_rect(Canvas, {original.x, original.y, 1280, 80});
    mouse(GadgetEventType::LeftDoubleClick, 10, 10);
    EXPECT_EQ(zoom, 1.0);
}

TEST_F(CanvasMouse, DragPansWithThePointerAndReleaseEndsIt)
{
    const Point2D grabbed = model_at(40, 40);  // far from the idler
    press(40, 40);
    EXPECT_EQ(drive_input.idler_position, 0.5);
    move_to(140, 90);
    EXPECT_NEAR(model_at(140, 90).x, grabbed.x, 1e-9);
    EXPECT_NEAR(model_at(140, 90).y, grabbed.y, 1e-9);
    move_to(-60, 300);
    EXPECT_NEAR(model_at(-60, 300).x, grabbed.x, 1e-9);
    EXPECT_NEAR(model_at(-60, 300).y, grabbed.y, 1e-9);
    EXPECT_EQ(standin.canvas_presented, 2);
    EXPECT_EQ(standin.cursor, CanvasCursor::Default) << "no cursor changes during a pan";
    const std::size_t cursors = standin.cursors_set.size();

    release(-60, 300);
    const double cx = view_centre_x;
    const double cy = view_centre_y;
    move_to(200, 200);
    EXPECT_EQ(view_centre_x, cx);
    EXPECT_EQ(view_centre_y, cy);
    EXPECT_EQ(standin.cursors_set.size(), cursors + 1) << "out of a pan every move sets the cursor";
}

TEST_F(CanvasMouse, WheelDuringAPanKeepsThePansStart)
{
    const double start_x = view_centre_x;
    const double start_y = view_centre_y;
    press(40, 40);
    move_to(100, 60);
    wheel(100, 60, 2);
    const double z = zoom;
    move_to(110, 70);
    // The travel since the press, at the new zoom, from the centre at the press.
    EXPECT_NEAR(view_centre_x, start_x - 70.0 / z, 1e-9);
    EXPECT_NEAR(view_centre_y, start_y + 30.0 / z, 1e-9);
}

TEST_F(CanvasMouse, DoubleClickIsNotUndoneByThePanOfItsSecondPress)
{
    mouse(GadgetEventType::LeftDoubleClick, 500, 400);
    const double fitted_zoom = zoom;
    const double fitted_x = view_centre_x;
    const double fitted_y = view_centre_y;
    // Away from the fitted view: pan and zoom.
    press(40, 40);
    move_to(300, 200);
    release(300, 200);
    wheel(300, 200, 3);
    ASSERT_NE(zoom, fitted_zoom);

    // As GTK delivers a double-click, then a hand that shakes by a few pixels
    // before it lets go.
    press(40, 40);
    release(40, 40);
    press(40, 40);
    mouse(GadgetEventType::LeftDoubleClick, 40, 40);
    EXPECT_EQ(zoom, fitted_zoom);
    EXPECT_EQ(view_centre_x, fitted_x);
    EXPECT_EQ(view_centre_y, fitted_y);
    move_to(43, 39);
    EXPECT_EQ(zoom, fitted_zoom);
    EXPECT_NEAR(view_centre_x, fitted_x - 3.0 / fitted_zoom, 1e-9);
    EXPECT_NEAR(view_centre_y, fitted_y - 1.0 / fitted_zoom, 1e-9);
    release(43, 39);
}

TEST_F(CanvasMouse, DoubleClickOnTheIdlerDoesNotMoveIt)
{
    // Zoomed in about a point off the idler: after the fit the pointer lies
    // over another part of the drawing.
    const Point2D off = pixel_of(drive_solution.circles[Idler].x - 40.0, drive_solution.circles[Idler].y);
    wheel(off.x, off.y, 4);
    const Point2D c = idler_centre_pixel();
    press(c.x, c.y);
    release(c.x, c.y);
    press(c.x, c.y);
    mouse(GadgetEventType::LeftDoubleClick, c.x, c.y);
    move_to(c.x + 2, c.y + 1);
    release(c.x + 2, c.y + 1);
    EXPECT_EQ(drive_input.idler_position, 0.5);
    EXPECT_EQ(gadget_state(IdlerPositionSlider), 50);
    EXPECT_FALSE(title_marked());
}

TEST_F(CanvasMouse, IdlerIsHitStrictlyInsideItsTipCircle)
{
    const double r = drive_solution.idler_geometry.tip_diameter / 2.0;
    // On a centre at y = 0 the distance to (x, r) is exactly r.
    drive_solution.circles[Idler].x = 250.0;
    drive_solution.circles[Idler].y = 0.0;
    EXPECT_EQ(point_hits_idler(250.0, r), 0) << "the edge itself is outside";
    EXPECT_EQ(point_hits_idler(250.0, -r), 0);
    EXPECT_EQ(point_hits_idler(250.0, std::nextafter(r, 0.0)), 1);
    EXPECT_EQ(point_hits_idler(250.0 + 0.6 * r, 0.6 * r), 1);
    EXPECT_EQ(point_hits_idler(250.0 + 0.75 * r, 0.75 * r), 0);
    drive_solution.laid = 0;
    EXPECT_EQ(point_hits_idler(250.0, 0.0), 0) << "no idler to grab on a drive that is not laid";
}

TEST_F(CanvasMouse, HandCursorOverTheIdlerOnlyWhenTheDriveIsLaid)
{
    const double r_px = drive_solution.idler_geometry.tip_diameter / 2.0 * zoom;
    const Point2D c = idler_centre_pixel();
    move_to(c.x, c.y);
    EXPECT_EQ(standin.cursor, CanvasCursor::Hand);
    move_to(c.x + r_px - 2.0, c.y);
    EXPECT_EQ(standin.cursor, CanvasCursor::Hand);
    move_to(c.x + r_px + 2.0, c.y);
    EXPECT_EQ(standin.cursor, CanvasCursor::Default);

    // Just outside the tip circle a press pans rather than drags.
    const double before = drive_input.idler_position;
    press(c.x + r_px + 2.0, c.y);
    move_to(c.x + r_px + 30.0, c.y + 20.0);
    EXPECT_EQ(drive_input.idler_position, before);
    release(c.x + r_px + 30.0, c.y + 20.0);

    // Too few links: valid, not laid. The idler is still drawn but not grabbed.
    user_types(LinksField, "100");
    run_one_pass();
    ASSERT_EQ(drive_solution.valid, 1);
    ASSERT_EQ(drive_solution.laid, 0);
    const Point2D c2 = idler_centre_pixel();
    move_to(c2.x, c2.y);
    EXPECT_EQ(standin.cursor, CanvasCursor::Default);
}

TEST_F(CanvasMouse, DraggingTheIdlerFollowsTheSlackStrandWithinItsEnds)
{
    use_drive_that_lays_everywhere();
    const Point2D c = idler_centre_pixel();
    press(c.x, c.y);
    EXPECT_EQ(standin.cursor, CanvasCursor::Default) << "a press does not touch the cursor";

    // The idler goes to the pointer's projection onto the slack strand.
    const Point2D target = pixel_of(on_slack_strand(0.3).x, on_slack_strand(0.3).y);
    const double strand = std::hypot(drive_solution.slack_end.x - drive_solution.slack_start.x,
                                     drive_solution.slack_end.y - drive_solution.slack_start.y);
    const std::string report_before = gadget_text(ReportEditor);
    move_to(target.x, target.y);
    EXPECT_NEAR(drive_input.idler_position, 0.3, 1.0 / zoom / strand);
    EXPECT_EQ(drive_solution.laid, 1);
    EXPECT_EQ(gadget_state(IdlerPositionSlider), 30);
    EXPECT_EQ(gadget_text(IdlerPercentLabel), "30 %");
    EXPECT_TRUE(title_marked());
    EXPECT_NE(gadget_text(ReportEditor), report_before);
    EXPECT_EQ(gadget_text(ReportEditor), build_report_text(drive_input, drive_options, drive_solution));
    EXPECT_EQ(standin.canvas_presented, 1);

    // Beyond either end of the strand: held at 98 % and 2 %.
    const Point2D beyond_end = pixel_of(on_slack_strand(1.5).x, on_slack_strand(1.5).y);
    move_to(beyond_end.x, beyond_end.y);
    EXPECT_EQ(drive_input.idler_position, 0.98);
    EXPECT_EQ(drive_solution.laid, 1);
    EXPECT_EQ(gadget_state(IdlerPositionSlider), 98);
    EXPECT_EQ(gadget_text(IdlerPercentLabel), "98 %");
    const Point2D beyond_start = pixel_of(on_slack_strand(-0.5).x, on_slack_strand(-0.5).y);
    move_to(beyond_start.x, beyond_start.y);
    EXPECT_EQ(drive_input.idler_position, 0.02);
    EXPECT_EQ(drive_solution.laid, 1);
    EXPECT_EQ(gadget_state(IdlerPositionSlider), 2);
    EXPECT_EQ(gadget_text(IdlerPercentLabel), "2 %");

    // The release ends the drag: the next moves leave the idler alone.
    release(beyond_start.x, beyond_start.y);
    move_to(target.x, target.y);
    EXPECT_EQ(drive_input.idler_position, 0.02);
}

TEST_F(CanvasMouse, APositionWhereTheChainCannotBeLaidIsTakenBack)
{
    // The default drive's chain cannot reach round the idler close to wheel 1.
    const Point2D c = idler_centre_pixel();
    const Point2D too_close = pixel_of(on_slack_strand(0.05).x, on_slack_strand(0.05).y);
    press(c.x, c.y);
    move_to(too_close.x, too_close.y);
    EXPECT_EQ(drive_input.idler_position, 0.5);
    EXPECT_EQ(drive_solution.laid, 1) << "laid again where it was";
    EXPECT_EQ(gadget_state(IdlerPositionSlider), 50);
    EXPECT_EQ(gadget_text(IdlerPercentLabel), "50 %");
    EXPECT_FALSE(title_marked());
    EXPECT_EQ(standin.canvas_presented, 1);

    // The drag goes on where the chain can be laid.
    const Point2D fine = pixel_of(on_slack_strand(0.6).x, on_slack_strand(0.6).y);
    move_to(fine.x, fine.y);
    EXPECT_EQ(gadget_state(IdlerPositionSlider), 60);
    EXPECT_TRUE(title_marked());
}

TEST_F(CanvasMouse, ADragMoveThatLeavesTheIdlerMarksNothingButStillRedraws)
{
    use_drive_that_lays_everywhere();
    const Point2D c = idler_centre_pixel();
    press(c.x, c.y);
    const Point2D beyond_end = pixel_of(on_slack_strand(1.5).x, on_slack_strand(1.5).y);
    move_to(beyond_end.x, beyond_end.y);
    ASSERT_EQ(drive_input.idler_position, 0.98);
    // As after a save.
    project_modified = 0;
    update_window_title();
    set_gadget_text(ReportEditor, "stale");
    const int redraws = standin.canvas_presented;

    move_to(beyond_end.x + 40, beyond_end.y + 5);
    EXPECT_EQ(drive_input.idler_position, 0.98);
    EXPECT_FALSE(title_marked());
    EXPECT_EQ(gadget_text(ReportEditor), build_report_text(drive_input, drive_options, drive_solution));
    EXPECT_EQ(standin.canvas_presented, redraws + 1);
}

TEST_F(CanvasMouse, AStrandOfNoLengthStopsTheDragWithoutATrace)
{
    drive_solution.slack_end = drive_solution.slack_start;
    set_gadget_state(IdlerPositionSlider, 37);
    redraw_pending = 0;
    report_pending = 0;
    drag_idler_to_point(drive_solution.slack_start.x + 100.0, drive_solution.slack_start.y);
    EXPECT_EQ(drive_input.idler_position, 0.5);
    EXPECT_EQ(gadget_state(IdlerPositionSlider), 37);
    EXPECT_EQ(redraw_pending, 0);
    EXPECT_EQ(report_pending, 0);
    EXPECT_FALSE(title_marked());
}

}  // namespace
