#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "app/shell/canvas_draw.h"
#include "app/shell/canvas_view.h"
#include "canvas_path.h"
#include "model/chain_size.h"
#include "model/drive.h"
#include "model/outline.h"

namespace {

// zoom 1 and the model origin at the canvas centre: model (x, y) is canvas
// (W/2 + x, H/2 - y), so the cases below can be written in canvas pixels.
class CanvasView : public ::testing::Test {
protected:
    void SetUp() override
    {
        zoom = 1.0;
        view_centre_x = 0.0;
        view_centre_y = 0.0;
    }
};

ScreenList screen(std::initializer_list<Point2D> points)
{
    return ScreenList(points);
}

TEST_F(CanvasView, TransformPutsTheViewCentreMidCanvasWithYUp)
{
    canvas_width = 201;  // odd: the centre lies between two pixel columns
    canvas_height = 100;
    zoom = 2.0;
    view_centre_x = 10.0;
    view_centre_y = 5.0;
    Point2D c = world_to_screen(10.0, 5.0);
    EXPECT_DOUBLE_EQ(c.x, 100.5);
    EXPECT_DOUBLE_EQ(c.y, 50.0);
    Point2D up_right = world_to_screen(11.0, 6.0);
    EXPECT_DOUBLE_EQ(up_right.x, 102.5);
    EXPECT_DOUBLE_EQ(up_right.y, 48.0);
    Point2D back = screen_to_world(up_right.x, up_right.y);
    EXPECT_DOUBLE_EQ(back.x, 11.0);
    EXPECT_DOUBLE_EQ(back.y, 6.0);
}

TEST_F(CanvasView, PolygonInsideReachesCairoWithExactlyItsOwnPoints)
{
    PathCanvas c(200, 100);
    // Corners on the rectangle's border count as inside.
    ScreenList list = screen({{-40, -40}, {240, -40}, {240, 140}, {100.25, 50.5}});
    build_polygon_path(c.cr, list);
    PathSummary path = summarise_path(c.cr);
    EXPECT_EQ(path.sub_paths, 1);
    EXPECT_EQ(path.lines, 3);
    EXPECT_EQ(path.closes, 1);
    ASSERT_GE(path.points.size(), 4u);
    EXPECT_EQ(path.points[0].x, -40.0);
    EXPECT_EQ(path.points[3].x, 100.25);
    EXPECT_EQ(path.points[3].y, 50.5);
}

TEST_F(CanvasView, PolygonOutsideAddsNothingAndOneCoveringAllFollowsTheBorder)
{
    PathCanvas c(200, 100);
    ScreenList outside = screen({{300, 0}, {400, 0}, {400, 100}, {300, 100}});
    build_polygon_path(c.cr, outside);
    PathSummary nothing = summarise_path(c.cr);
    EXPECT_EQ(nothing.points.size(), 0u);
    EXPECT_TRUE(outside.empty());

    ScreenList cover = screen({{-1e6, -1e6}, {1e6, -1e6}, {1e6, 1e6}, {-1e6, 1e6}});
    build_polygon_path(c.cr, cover);
    PathSummary border = summarise_path(c.cr);
    EXPECT_EQ(border.sub_paths, 1);
    EXPECT_EQ(border.closes, 1);
    EXPECT_TRUE(all_points_within(border, -40, 240, -40, 140));
    for (const Point2D& p : border.points) {
        EXPECT_TRUE(p.x == -40 || p.x == 240) << p.x;
        EXPECT_TRUE(p.y == -40 || p.y == 140) << p.y;
    }
}

TEST_F(CanvasView, PolygonCrossingOneEdgeIsCutOnIt)
{
    PathCanvas c(200, 100);
    // One corner 100 pixels beyond the left edge: the triangle becomes a quadrilateral.
    ScreenList list = screen({{-140, 50}, {100, 0}, {100, 100}});
    build_polygon_path(c.cr, list);
    PathSummary path = summarise_path(c.cr);
    EXPECT_EQ(path.sub_paths, 1);
    EXPECT_EQ(path.lines, 3);
    EXPECT_EQ(path.closes, 1);
    EXPECT_TRUE(all_points_within(path, -40, 240, -40, 140));
    ASSERT_EQ(list.size(), 4u);  // the caller's list now holds the clipped polygon
    int on_edge = 0;
    for (const Point2D& p : list) {
        if (p.x != -40.0) continue;
        ++on_edge;
        EXPECT_NEAR(std::fabs(p.y - 50.0), 50.0 * 100.0 / 240.0, 1e-9);
    }
    EXPECT_EQ(on_edge, 2);
}

TEST_F(CanvasView, CircleWhollyInsideIsOneArc)
{
    PathCanvas c(200, 100);
    build_circle_path(c.cr, 0.0, 0.0, 20.0);
    PathSummary path = summarise_path(c.cr);
    EXPECT_EQ(path.sub_paths, 1);
    EXPECT_EQ(path.lines, 0);
    EXPECT_GT(path.curves, 0);
    EXPECT_EQ(path.closes, 1);
    EXPECT_TRUE(all_points_within(path, 80, 120, 30, 70));
}

TEST_F(CanvasView, CircleCrossingTheBorderIsAClippedPolygon)
{
    PathCanvas c(400, 400);
    // Radius 100 px: 60 points, 6 degrees apart; the centre 45 pixels inside
    // the left edge keeps the 39 with cos(angle) >= -0.45, plus 2 on the edge.
    build_circle_path(c.cr, -195.0, 0.0, 100.0);
    PathSummary path = summarise_path(c.cr);
    EXPECT_EQ(path.curves, 0);
    EXPECT_EQ(path.sub_paths, 1);
    EXPECT_EQ(path.lines, 40);
    EXPECT_EQ(path.closes, 1);
    EXPECT_TRUE(all_points_within(path, -40, 440, -40, 440));
}

TEST_F(CanvasView, CircleTouchingTheBorderFromInsideIsNoArc)
{
    PathCanvas c(400, 400);
    build_circle_path(c.cr, -190.0, 0.0, 50.0);  // X - R = -40 = clip_xmin exactly
    PathSummary path = summarise_path(c.cr);
    EXPECT_EQ(path.curves, 0);
    EXPECT_EQ(path.lines, 42);  // ceil(6 sqrt 50) = 43 points, none cut
    EXPECT_EQ(path.closes, 1);
}

TEST_F(CanvasView, CircleOf20000PixelsIsAPolygonEvenWhenInside)
{
    PathCanvas c(50000, 50000);
    zoom = 20000.0;
    build_circle_path(c.cr, 0.0, 0.0, 1.0);
    PathSummary big = summarise_path(c.cr);
    EXPECT_EQ(big.curves, 0);
    EXPECT_EQ(big.lines, 848);  // 849 points
    EXPECT_EQ(big.closes, 1);
    cairo_new_path(c.cr);

    zoom = 19999.0;
    build_circle_path(c.cr, 0.0, 0.0, 1.0);
    PathSummary arc = summarise_path(c.cr);
    EXPECT_GT(arc.curves, 0);
    EXPECT_EQ(arc.lines, 0);
}

TEST_F(CanvasView, CircleCullKeepsATwoPixelMargin)
{
    PathCanvas c(200, 100);
    // Radius 10; the circle's far side 1 or 3 pixels beyond each edge.
    EXPECT_EQ(circle_offscreen(-151.0, 0.0, 10.0), 0);
    EXPECT_EQ(circle_offscreen(-153.0, 0.0, 10.0), 1);
    EXPECT_EQ(circle_offscreen(151.0, 0.0, 10.0), 0);
    EXPECT_EQ(circle_offscreen(153.0, 0.0, 10.0), 1);
    EXPECT_EQ(circle_offscreen(0.0, 101.0, 10.0), 0);
    EXPECT_EQ(circle_offscreen(0.0, 103.0, 10.0), 1);
    EXPECT_EQ(circle_offscreen(0.0, -101.0, 10.0), 0);
    EXPECT_EQ(circle_offscreen(0.0, -103.0, 10.0), 1);
    // A circle around the whole canvas is not culled.
    EXPECT_EQ(circle_offscreen(0.0, 0.0, 1e6), 0);
}

TEST_F(CanvasView, SegmentsAreCutAtTheBorder)
{
    PathCanvas c(200, 100);
    build_segment_path_mm(c.cr, -300.0, 0.0, -150.0, 20.0);
    EXPECT_EQ(summarise_path(c.cr).points.size(), 0u);

    build_segment_path_mm(c.cr, 0.0, 0.0, 300.0, 0.0);  // canvas (100, 50) to (400, 50)
    PathSummary out = summarise_path(c.cr);
    EXPECT_EQ(out.sub_paths, 1);
    EXPECT_EQ(out.lines, 1);
    ASSERT_EQ(out.points.size(), 2u);
    EXPECT_DOUBLE_EQ(out.points[1].x, 240.0);
    EXPECT_DOUBLE_EQ(out.points[1].y, 50.0);
    cairo_new_path(c.cr);

    build_segment_path_mm(c.cr, 0.0, -300.0, 0.0, 0.0);  // from far below up to the centre
    PathSummary in = summarise_path(c.cr);
    ASSERT_EQ(in.points.size(), 2u);
    EXPECT_DOUBLE_EQ(in.points[0].y, 140.0);
    EXPECT_DOUBLE_EQ(in.points[1].y, 50.0);
}

TEST_F(CanvasView, PolylineLeavingAndComingBackMakesTwoSubPaths)
{
    PathCanvas c(200, 100);
    ScreenList list = screen({{0, 50}, {300, 50}, {300, 80}, {100, 80}});
    build_clipped_polyline_path(c.cr, list, 0);
    PathSummary path = summarise_path(c.cr);
    EXPECT_EQ(path.sub_paths, 2);
    EXPECT_EQ(path.lines, 2);
    EXPECT_EQ(path.closes, 0);
    ASSERT_EQ(path.points.size(), 4u);
    EXPECT_DOUBLE_EQ(path.points[2].x, 240.0);  // the second starts on the border
    EXPECT_DOUBLE_EQ(path.points[2].y, 80.0);
    cairo_new_path(c.cr);

    // Wholly inside: one sub-path, no move between its segments.
    ScreenList inside = screen({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
    build_clipped_polyline_path(c.cr, inside, 0);
    PathSummary open = summarise_path(c.cr);
    EXPECT_EQ(open.sub_paths, 1);
    EXPECT_EQ(open.lines, 3);
    EXPECT_EQ(open.points.size(), 4u);
}

TEST_F(CanvasView, ClosedPolylineReturnsByALineNotAClosePath)
{
    PathCanvas c(200, 100);
    ScreenList two = screen({{0, 0}, {50, 50}});
    build_clipped_polyline_path(c.cr, two, 1);
    PathSummary there_and_back = summarise_path(c.cr);
    EXPECT_EQ(there_and_back.sub_paths, 1);
    EXPECT_EQ(there_and_back.lines, 2);
    EXPECT_EQ(there_and_back.closes, 0);
    ASSERT_EQ(there_and_back.points.size(), 3u);
    EXPECT_EQ(there_and_back.points[2].x, 0.0);
    EXPECT_EQ(there_and_back.points[2].y, 0.0);
}

TEST_F(CanvasView, NearDuplicatePointsAreDroppedPerCoordinate)
{
    canvas_width = 200;
    canvas_height = 100;
    ScreenList list;
    append_screen_point(list, 0.0, 0.0, 0);
    append_screen_point(list, 0.3, 5.0, 0);  // close in x, far in y: kept
    EXPECT_EQ(list.size(), 2u);
    append_screen_point(list, 0.69, 5.39, 0);  // 0.39 in both: dropped
    EXPECT_EQ(list.size(), 2u);
    append_screen_point(list, 0.3, 5.0, 1);  // an exact duplicate, forced
    EXPECT_EQ(list.size(), 3u);

    // The test is in canvas pixels: at zoom 100 the same 0.3 mm step is 30 pixels.
    zoom = 100.0;
    ScreenList fine;
    append_screen_point(fine, 0.0, 0.0, 0);
    append_screen_point(fine, 0.003, 0.003, 0);
    append_screen_point(fine, 0.3, 0.0, 0);
    EXPECT_EQ(fine.size(), 2u);
}

TEST_F(CanvasView, CirclePolygonHas6SqrtRPointsBetween16And4000)
{
    canvas_width = 200;
    canvas_height = 100;
    ScreenList list;
    screen_circle_polygon(0.0, 0.0, 7.0, list);
    EXPECT_EQ(list.size(), 16u);
    screen_circle_polygon(0.0, 0.0, 100.0, list);
    EXPECT_EQ(list.size(), 60u);
    EXPECT_DOUBLE_EQ(list[0].x, 200.0);  // starts on the +x side
    EXPECT_DOUBLE_EQ(list[0].y, 50.0);
    EXPECT_LT(list[1].y, 50.0);  // counter-clockwise in the model: upwards on the canvas
    screen_circle_polygon(0.0, 0.0, 1e9, list);
    EXPECT_EQ(list.size(), 4000u);

    screen_circle_polygon(3.0, 4.0, 0.0, list);
    ASSERT_EQ(list.size(), 16u);
    for (const Point2D& p : list) {
        EXPECT_EQ(p.x, 103.0);
        EXPECT_EQ(p.y, 46.0);
    }
}

// Everything the drawing builds for the default drive at the given view, in one path.
void build_whole_drawing(cairo_t* cr)
{
    const DriveSolution& s = drive_solution;
    const PitchCircle* circles[3] = {&s.circles[Wheel1], &s.circles[Wheel2], &s.circles[Idler]};
    const Outline* outlines[3] = {&wheel1_display_outline, &wheel2_display_outline, &idler_display_outline};
    for (int w = 0; w < 3; ++w) {
        const PitchCircle& pc = *circles[w];
        ScreenList list;
        const double c = std::cos(pc.phase);
        const double si = std::sin(pc.phase);
        for (const Point2D& q : *outlines[w])
            append_screen_point(list, pc.x + q.x * c - q.y * si, pc.y + q.x * si + q.y * c, 0);
        build_polygon_path(cr, list);
        build_circle_path(cr, pc.x, pc.y, 10.0);  // a bore
        build_circle_outline_path(cr, pc.x, pc.y, pc.radius);
        build_segment_path_mm(cr, pc.x - 100.0, pc.y, pc.x + 100.0, pc.y);
    }
    const ChainSize& row = chain_sizes[static_cast<std::size_t>(drive_input.size_index)];
    Outline plate;
    link_plate_outline(0.0, 0.0, row.pitch, 0.0, row.plate_height, plate, row.pitch / 400.0);
    const Outline& r = s.rollers;
    for (std::size_t i = 0; i < r.size(); ++i) {
        const Point2D a = r[i];
        const Point2D b = r[(i + 1) % r.size()];
        const double L = std::hypot(b.x - a.x, b.y - a.y);
        ScreenList list;
        for (const Point2D& q : plate)
            append_screen_point(list, a.x + (q.x * (b.x - a.x) - q.y * (b.y - a.y)) / L,
                                a.y + (q.x * (b.y - a.y) + q.y * (b.x - a.x)) / L, 0);
        build_polygon_path(cr, list);
        build_circle_path(cr, a.x, a.y, chain_bush_diameter(drive_input.size_index) / 2.0);
        build_circle_path(cr, a.x, a.y, row.pin_diameter / 2.0);
    }
}

TEST_F(CanvasView, NothingLeavesTheClipRectangleAtTheHighestZoom)
{
    drive_input = DriveInput{};
    ASSERT_EQ(compute_drive(drive_input, drive_solution), 1);
    update_display_outlines();
    PathCanvas c(1280, 860);

    // The bottom of a tooth gap of wheel 1 (the outline starts there), and a
    // roller, each with the outline or the plates running through the view.
    const PitchCircle& w1 = drive_solution.circles[Wheel1];
    const Point2D seat = wheel1_display_outline[0];
    const Point2D roller = drive_solution.rollers[drive_solution.rollers.size() / 4];
    const Point2D views[] = {{w1.x + seat.x * std::cos(w1.phase), w1.y + seat.x * std::sin(w1.phase)}, roller};
    for (double z : {1e5, 1000.0, 20.0}) {
        for (const Point2D& v : views) {
            zoom = z;
            view_centre_x = v.x;
            view_centre_y = v.y;
            cairo_new_path(c.cr);
            build_whole_drawing(c.cr);
            PathSummary path = summarise_path(c.cr);
            EXPECT_GT(path.lines + path.curves, 0) << "zoom " << z;
            EXPECT_TRUE(all_points_within(path, -40, 1320, -40, 900)) << "zoom " << z;
            if (z >= 1000.0) {
                EXPECT_EQ(path.curves, 0) << "zoom " << z;  // every circle is far larger than the canvas
            }
        }
    }
}

// The drawing paints its outlines as the bands their strokes cover. Black on
// white, the bands of every closed outline of the default drive (wheels and
// plates), fitted and close up, paint what cairo's strokes paint: to 4 of 255
// levels at cairo's finest anti-aliasing; at 4 x 4 samples a pixel one row of
// samples may fall the other way where cairo runs its stroke into the inner
// corner of a turn.
TEST_F(CanvasView, OutlineBandsPaintWhatTheStrokesPaint)
{
    drive_input = DriveInput{};
    ASSERT_EQ(compute_drive(drive_input, drive_solution), 1);
    update_display_outlines();
    const Point2D roller = drive_solution.rollers[drive_solution.rollers.size() / 4];
    PathCanvas view(1280, 860);
    for (double close_up : {0.0, 20.0}) {
        fit_view_to_drive(1280, 860);
        if (close_up > 0.0) zoom = close_up, view_centre_x = roller.x, view_centre_y = roller.y;
        cairo_new_path(view.cr);
        build_whole_drawing(view.cr);
        cairo_path_t* path = cairo_copy_path(view.cr);
        for (cairo_antialias_t antialias : {CAIRO_ANTIALIAS_DEFAULT, CAIRO_ANTIALIAS_FAST}) {
            cairo_surface_t* surface[2];
            cairo_t* cr[2];
            for (int k = 0; k < 2; ++k) {
                surface[k] = cairo_image_surface_create(CAIRO_FORMAT_A8, 1280, 860);
                cr[k] = cairo_create(surface[k]);
                cairo_set_antialias(cr[k], antialias);
            }
            // The closed sub-paths of straight lines: the outlines of wheels and plates.
            ScreenList outline;
            bool straight = true;
            for (int i = 0; i < path->num_data; i += path->data[i].header.length) {
                const cairo_path_data_t* d = &path->data[i];
                if (d->header.type == CAIRO_PATH_MOVE_TO) outline.clear(), straight = true;
                if (d->header.type == CAIRO_PATH_CURVE_TO) straight = false;
                if (d->header.type == CAIRO_PATH_MOVE_TO || d->header.type == CAIRO_PATH_LINE_TO)
                    outline.push_back({d[1].point.x, d[1].point.y});
                if (d->header.type != CAIRO_PATH_CLOSE_PATH || !straight) continue;
                build_polygon_path(cr[0], outline);
                build_outline_ring_path(cr[1], outline, 0.5);
            }
            cairo_set_line_width(cr[0], 1.0);
            cairo_stroke(cr[0]);
            cairo_fill(cr[1]);
            for (int k = 0; k < 2; ++k) cairo_surface_flush(surface[k]);
            int largest = 0;
            const unsigned char* stroked = cairo_image_surface_get_data(surface[0]);
            const unsigned char* banded = cairo_image_surface_get_data(surface[1]);
            for (int i = 0; i < cairo_image_surface_get_stride(surface[0]) * 860; ++i)
                largest = std::max(largest, std::abs(stroked[i] - banded[i]));
            EXPECT_LE(largest, antialias == CAIRO_ANTIALIAS_DEFAULT ? 4 : 4 * 16) << "zoom " << zoom;
            for (int k = 0; k < 2; ++k) cairo_destroy(cr[k]), cairo_surface_destroy(surface[k]);
        }
        cairo_path_destroy(path);
    }
}

TEST_F(CanvasView, FitLeavesTheDriveInTheCanvasWithItsMargins)
{
    drive_input = DriveInput{};
    ASSERT_EQ(compute_drive(drive_input, drive_solution), 1);
    fit_view_to_drive(1280, 860);
    canvas_width = 1280;
    canvas_height = 860;
    const DriveSolution& s = drive_solution;
    double left = 1e9, right = -1e9, top = 1e9, bottom = -1e9;
    const SprocketGeometry* g[3] = {&s.wheel1_geometry, &s.idler_geometry, &s.wheel2_geometry};
    for (int w = 0; w < 3; ++w) {
        const Point2D c = world_to_screen(s.circles[static_cast<std::size_t>(w)].x, s.circles[static_cast<std::size_t>(w)].y);
        const double R = g[w]->tip_diameter / 2.0 * zoom;
        left = std::min(left, c.x - R);
        right = std::max(right, c.x + R);
        top = std::min(top, c.y - R);
        bottom = std::max(bottom, c.y + R);
    }
    // The wheels span the width less 20 pixels each side; the height has room to spare.
    EXPECT_NEAR(left, 20.0, 1e-9);
    EXPECT_NEAR(right, 1260.0, 1e-9);
    EXPECT_GE(top, 45.0 - 1e-9);
    EXPECT_LE(bottom, 815.0 + 1e-9);
    EXPECT_NEAR(top - 45.0, 815.0 - bottom, 1e-9);

    // Too low a canvas: the zoom falls back to 1; no valid drive: nothing moves.
    fit_view_to_drive(1280, 80);
    EXPECT_EQ(zoom, 1.0);
    drive_solution.valid = 0;
    zoom = 3.0;
    fit_view_to_drive(1280, 860);
    EXPECT_EQ(zoom, 3.0);
}

}  // namespace
