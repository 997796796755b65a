#include <gtest/gtest.h>

#include <cairo.h>

#include <cmath>
#include <cstdint>

#include "app/shell/canvas_draw.h"
#include "app/shell/canvas_view.h"
#include "model/chain_size.h"
#include "model/drive.h"
#include "model/outline.h"

namespace {

struct Rgb {
    int r, g, b;
};

bool operator==(Rgb a, CanvasColour c)
{
    return a.r == c.r && a.g == c.g && a.b == c.b;
}

std::ostream& operator<<(std::ostream& os, Rgb c)
{
    return os << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}

// An output surface of the canvas; scale 2 gives a surface of twice the
// canvas's pixels, as on a high-resolution screen.
class Picture {
public:
    Picture(int width, int height, int scale = 1)
        : width_(width), height_(height), scale_(scale),
          surface_(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width * scale, height * scale))
    {
    }
    ~Picture() { cairo_surface_destroy(surface_); }
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    void draw(std::int64_t show_pitch_circles = 1) { redraw_canvas(surface_, width_, height_, show_pitch_circles); }
    cairo_surface_t* surface() { return surface_; }

    // The output pixel under a canvas point.
    Rgb at_canvas(double X, double Y) const
    {
        const int x = static_cast<int>(std::floor(X * scale_));
        const int y = static_cast<int>(std::floor(Y * scale_));
        return pixel(x, y);
    }
    Rgb at_model(double x, double y) const
    {
        const Point2D p = world_to_screen(x, y);
        return at_canvas(p.x, p.y);
    }
    Rgb pixel(int x, int y) const
    {
        cairo_surface_flush(surface_);
        const unsigned char* row =
            cairo_image_surface_get_data(surface_) + y * cairo_image_surface_get_stride(surface_);
        const std::uint32_t v = reinterpret_cast<const std::uint32_t*>(row)[x];
        return {static_cast<int>((v >> 16) & 255), static_cast<int>((v >> 8) & 255), static_cast<int>(v & 255)};
    }
    // Output pixels in a canvas rectangle for which pred holds.
    template <typename Pred>
    int count(int x0, int y0, int x1, int y1, Pred pred) const
    {
        int n = 0;
        for (int y = y0 * scale_; y < y1 * scale_; ++y)
            for (int x = x0 * scale_; x < x1 * scale_; ++x)
                if (pred(pixel(x, y))) ++n;
        return n;
    }

private:
    int width_, height_, scale_;
    cairo_surface_t* surface_;
};

class DriveDrawing : public ::testing::Test {
protected:
    void SetUp() override
    {
        drive_input = DriveInput{};
        drive_options = DriveOptions{};
        drive_solution = DriveSolution{};
        zoom = 1.0;
        view_centre_x = 0.0;
        view_centre_y = 0.0;
        device_scale = 1.0;
        last_draw_ms = 0;
    }
    void calculate(std::int64_t fit_width = 1280, std::int64_t fit_height = 860)
    {
        compute_drive(drive_input, drive_solution);
        update_display_outlines();
        fit_view_to_drive(static_cast<double>(fit_width), static_cast<double>(fit_height));
    }
    // A model point at `fraction` of the root radius from a wheel's centre, up
    // and to the left: clear of the centre lines, the label, the pitch circle
    // and the chain.
    static Point2D inside_body(const PitchCircle& c, const SprocketGeometry& g, double fraction = 0.5)
    {
        const double r = g.root_diameter / 2.0 * fraction;
        return {c.x - r * std::sqrt(0.5), c.y + r * std::sqrt(0.5)};
    }
    // A link on the tight strand halfway between the wheels: of the links
    // there (the slack strand crosses too, over the idler), the highest.
    static std::size_t tight_strand_link()
    {
        const Outline& r = drive_solution.rollers;
        std::size_t best = 0;
        double best_y = -1e300;
        for (std::size_t i = 0; i + 1 < r.size(); ++i) {
            const double mx = (r[i].x + r[i + 1].x) / 2.0;
            if (std::fabs(mx - drive_input.centre_distance / 2.0) < 2.0 * drive_solution.pitch && r[i].y > best_y) {
                best_y = r[i].y;
                best = i;
            }
        }
        return best;
    }
};

bool is_red_text(Rgb c)
{
    return c.r > 150 && c.g < 80 && c.b < 80;
}

// The dashed pitch circle over the background or over a wheel: far more blue than red.
bool is_pitch_blue(Rgb c)
{
    return c.b - c.r > 100;
}

TEST_F(DriveDrawing, DefaultDriveShowsEachWheelInItsColour)
{
    calculate();
    Picture picture(1280, 860);
    picture.draw();
    const DriveSolution& s = drive_solution;
    const Point2D p1 = inside_body(s.circles[Wheel1], s.wheel1_geometry);
    const Point2D p2 = inside_body(s.circles[Wheel2], s.wheel2_geometry);
    const Point2D pi = inside_body(s.circles[Idler], s.idler_geometry);
    EXPECT_EQ(picture.at_model(p1.x, p1.y), wheel1_colour) << picture.at_model(p1.x, p1.y);
    EXPECT_EQ(picture.at_model(p2.x, p2.y), wheel2_colour) << picture.at_model(p2.x, p2.y);
    EXPECT_EQ(picture.at_model(pi.x, pi.y), idler_colour) << picture.at_model(pi.x, pi.y);
    // Inside the chain loop, between the tight strand and the idler: the background.
    const Point2D top = drive_solution.rollers[tight_strand_link()];
    EXPECT_EQ(picture.at_model(top.x, top.y - 30.0), background_colour);
    EXPECT_EQ(picture.at_canvas(1275, 5), background_colour);
    // The drive is laid, so no red text at the top.
    EXPECT_EQ(picture.count(0, 0, 1280, 40, is_red_text), 0);
}

TEST_F(DriveDrawing, InnerAndOuterLinksTakeTurnsAndParityDecidesWhich)
{
    calculate();
    const std::size_t i = tight_strand_link();
    const Point2D a = drive_solution.rollers[i];
    const Point2D b = drive_solution.rollers[i + 1];
    const bool inner = (i + static_cast<std::size_t>(drive_solution.link_parity)) % 2 == 0;
    // Close enough that the waist of an inner link shows between the outer plates' ends.
    zoom = 20.0;
    view_centre_x = (a.x + b.x) / 2.0;
    view_centre_y = (a.y + b.y) / 2.0;
    {
        Picture picture(1280, 860);
        picture.draw();
        const Rgb mid = picture.at_model((a.x + b.x) / 2.0, (a.y + b.y) / 2.0);
        EXPECT_EQ(mid, inner ? inner_plate_colour : outer_plate_colour) << mid;
    }
    // The other parity turns that link into the other kind.
    drive_solution.link_parity = 1 - drive_solution.link_parity;
    Picture picture(1280, 860);
    picture.draw();
    const Rgb mid = picture.at_model((a.x + b.x) / 2.0, (a.y + b.y) / 2.0);
    EXPECT_EQ(mid, inner ? outer_plate_colour : inner_plate_colour) << mid;
}

TEST_F(DriveDrawing, ZoomedOnARollerShowsPinBushAndPlates)
{
    calculate();
    const std::size_t i = tight_strand_link();
    const Point2D r = drive_solution.rollers[i];
    const Point2D next = drive_solution.rollers[i + 1];
    zoom = 20.0;
    view_centre_x = r.x;
    view_centre_y = r.y;
    Picture picture(1280, 860);
    picture.draw();

    const ChainSize& row = chain_sizes[static_cast<std::size_t>(drive_input.size_index)];
    const double rp = row.pin_diameter / 2.0;
    const double rb = chain_bush_diameter(drive_input.size_index) / 2.0;
    const double ux = (next.x - r.x) / std::hypot(next.x - r.x, next.y - r.y);
    const double uy = (next.y - r.y) / std::hypot(next.x - r.x, next.y - r.y);
    EXPECT_EQ(picture.at_model(r.x, r.y), pin_colour);
    // Between pin and bush radius, across the link (not along the centre line).
    const double ring = (rp + rb) / 2.0;
    EXPECT_EQ(picture.at_model(r.x - uy * ring, r.y + ux * ring), bush_colour);
    // Beyond the bush, the outer plates cover the inner ones at the shared pin.
    const double beyond = (rb + row.plate_height / 2.0) / 2.0;
    EXPECT_EQ(picture.at_model(r.x - uy * beyond, r.y + ux * beyond), outer_plate_colour);
}

TEST_F(DriveDrawing, PitchCirclesOnlyWhenTicked)
{
    calculate();
    Picture ticked(1280, 860);
    ticked.draw(1);
    Picture unticked(1280, 860);
    unticked.draw(0);
    // Blue dashes where the chain leaves the pitch circles free, in the ticked picture only.
    EXPECT_GT(ticked.count(0, 0, 1280, 860, is_pitch_blue), 200);
    EXPECT_EQ(unticked.count(0, 0, 1280, 860, is_pitch_blue), 0);
    // Wheel 2's circle runs through its tooth gaps on the side away from the chain (its left).
    const PitchCircle& c = drive_solution.circles[Wheel2];
    const Point2D centre = world_to_screen(c.x, c.y);
    const double R = c.radius * zoom;
    int on_circle = 0;
    for (int y = static_cast<int>(centre.y - R / 2); y < static_cast<int>(centre.y + R / 2); ++y)
        for (int x = static_cast<int>(centre.x - R - 3); x < static_cast<int>(centre.x - R / 2); ++x)
            if (std::fabs(std::hypot(x + 0.5 - centre.x, y + 0.5 - centre.y) - R) < 2.0) {
                // Bluer than the same pixel without the circle, over a tooth or a gap alike.
                const Rgb with = ticked.pixel(x, y);
                const Rgb without = unticked.pixel(x, y);
                if (with.b - with.r > without.b - without.r + 40) ++on_circle;
            }
    EXPECT_GT(on_circle, 60);  // dashes along some 290 pixels of arc
}

TEST_F(DriveDrawing, ErrorIsWrittenInRedAndNoWheelsAreDrawn)
{
    drive_input.z1 = 5;
    calculate();
    ASSERT_FALSE(drive_solution.error_text.empty());
    Picture picture(1280, 860);
    picture.draw();
    EXPECT_GT(picture.count(10, 10, 600, 36, is_red_text), 20);
    EXPECT_EQ(picture.count(0, 0, 1280, 860, [](Rgb c) { return c == wheel1_colour || c == wheel2_colour; }), 0);
    // The status line is drawn all the same, in grey at the bottom.
    EXPECT_GT(picture.count(10, 860 - 26, 600, 860, [](Rgb c) { return c.r < 160; }), 20);
}

TEST_F(DriveDrawing, ValidButUnlaidDriveShowsTwoWheelsAndNoChain)
{
    drive_input.links = 10;  // far too short to go round
    calculate();
    ASSERT_EQ(drive_solution.valid, 1);
    ASSERT_EQ(drive_solution.laid, 0);
    Picture picture(1280, 860);
    picture.draw();
    EXPECT_GT(picture.count(0, 0, 1280, 860, [](Rgb c) { return c == wheel1_colour; }), 1000);
    EXPECT_GT(picture.count(0, 0, 1280, 860, [](Rgb c) { return c == wheel2_colour; }), 1000);
    // Between the wheels' centre lines there is nothing but background: no idler, no chain.
    const int x0 = static_cast<int>(world_to_screen(drive_solution.wheel1_geometry.tip_diameter, 0.0).x) + 10;
    const int x1 = static_cast<int>(world_to_screen(drive_input.centre_distance - drive_solution.wheel2_geometry.tip_diameter, 0.0).x) - 10;
    ASSERT_LT(x0 + 200, x1);
    EXPECT_EQ(picture.count(x0, 40, x1, 830, [](Rgb c) { return !(c == background_colour); }), 0);
    // With the links it needs, the same place holds the idler and the chain.
    drive_input.links = 0;
    calculate();
    Picture laid(1280, 860);
    laid.draw();
    EXPECT_GT(laid.count(x0, 40, x1, 830, [](Rgb c) { return c == idler_colour; }), 1000);
    EXPECT_GT(laid.count(x0, 40, x1, 830, [](Rgb c) { return c == outer_plate_colour; }), 1000);
    EXPECT_GT(picture.count(10, 10, 600, 36, is_red_text), 20);
}

TEST_F(DriveDrawing, BoreIsAHole)
{
    drive_options.bore1 = 40.0;
    calculate();
    Picture picture(1280, 860);
    picture.draw();
    const Point2D c = {drive_solution.circles[Wheel1].x, drive_solution.circles[Wheel1].y};
    // Inside the bore, off the centre lines: the background shows through.
    EXPECT_EQ(picture.at_model(c.x - 10.0, c.y + 10.0), background_colour);
    EXPECT_EQ(picture.at_model(c.x - 20.0, c.y + 20.0), wheel1_colour);
}

TEST_F(DriveDrawing, HighResolutionSurfaceIsDrawnAtDeviceScale)
{
    calculate();
    Picture picture(640, 430, 2);
    calculate(640, 430);
    picture.draw();
    EXPECT_DOUBLE_EQ(device_scale, 2.0);
    const Point2D p1 = inside_body(drive_solution.circles[Wheel1], drive_solution.wheel1_geometry);
    EXPECT_EQ(picture.at_model(p1.x, p1.y), wheel1_colour);
    const Point2D p2 = inside_body(drive_solution.circles[Wheel2], drive_solution.wheel2_geometry);
    EXPECT_EQ(picture.at_model(p2.x, p2.y), wheel2_colour);
}

TEST_F(DriveDrawing, HighestZoomStillFillsTheWheel)
{
    calculate();
    const Point2D p = inside_body(drive_solution.circles[Wheel1], drive_solution.wheel1_geometry, 0.9);
    zoom = 100000.0;
    view_centre_x = p.x;
    view_centre_y = p.y;
    Picture picture(1280, 860);
    picture.draw();
    EXPECT_EQ(picture.at_canvas(640, 430), wheel1_colour);
    EXPECT_EQ(picture.at_canvas(1270, 300), wheel1_colour);
}

// A recalculation thins again only the wheels that changed, yet the drawing
// always shows the wheels as they are now, also after a fresh start.
TEST_F(DriveDrawing, DisplayOutlinesFollowEveryWheel)
{
    calculate();
    drive_input.z1 = 23;
    calculate();
    wheel2_display_outline.clear();  // as a fresh start leaves it
    calculate();
    Outline thinned;
    simplify_closed_outline(drive_solution.wheel1_geometry.outline, 0.001, thinned);
    EXPECT_EQ(wheel1_display_outline.size(), thinned.size());
    simplify_closed_outline(drive_solution.wheel2_geometry.outline, 0.001, thinned);
    EXPECT_EQ(wheel2_display_outline.size(), thinned.size());
}

TEST_F(DriveDrawing, ChainSizeOutsideTheTableDrawsNoChain)
{
    calculate();
    for (std::int64_t k : {std::int64_t{-1}, std::int64_t{10}, std::int64_t{1000}}) {
        drive_input.size_index = k;
        Picture picture(1280, 860);
        cairo_t* cr = cairo_create(picture.surface());
        set_clip_rect_from_canvas(1280, 860);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_paint(cr);
        draw_chain(cr);
        cairo_destroy(cr);
        EXPECT_EQ(picture.count(0, 0, 1280, 860, [](Rgb c) { return c.r != 255 || c.g != 255 || c.b != 255; }), 0)
            << k;
    }
}

TEST_F(DriveDrawing, MissingSurfaceDrawsNothingButTakesTheTime)
{
    calculate();
    last_draw_ms = 1234;
    redraw_canvas(nullptr, 1280, 860, 1);
    EXPECT_GE(last_draw_ms, 0);
    EXPECT_LT(last_draw_ms, 1234);
}

TEST_F(DriveDrawing, TopAndStatusLinesInEnglish)
{
    EXPECT_EQ(strand_note_text(110), "Top: tight strand   bottom: slack strand with idler   110 links");
    EXPECT_EQ(status_line_text(1.0, 0),
              "Wheel = zoom   drag = pan   drag idler = move it   double-click = fit   (1.00 px/mm, 0 ms)");
    EXPECT_EQ(status_line_text(1.2345, 17),
              "Wheel = zoom   drag = pan   drag idler = move it   double-click = fit   (1.23 px/mm, 17 ms)");
}

}  // namespace
