#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "export/export.h"
#include "export/shape_list_2d.h"
#include "tests/export/export_support.h"

namespace {

// 08B after ISO 606: pitch, roller and pin diameter, plate height.
constexpr double pitch_08b = 12.7;
constexpr double roller_08b = 8.51;
constexpr double pin_08b = 4.45;
constexpr double plate_08b = 11.81;
constexpr double nan = std::numeric_limits<double>::quiet_NaN();

std::vector<Shape2D> build(const LaidDrive& d, std::int64_t expected = 1)
{
    std::vector<Shape2D> list;
    EXPECT_EQ(build_2d_shape_list(d.input, d.solution, d.options, list), expected);
    return list;
}

std::string layers_of(const std::vector<Shape2D>& list)
{
    std::string out;
    for (const Shape2D& s : list) out += layer_name(s.layer) + (s.is_circle ? "(c) " : " ");
    return out;
}

TEST(LayerTable, NamesAndColoursOfEveryCode)
{
    const char* names[] = {"Z1", "Z2", "IDLER", "INNER_PLATE", "OUTER_PLATE", "PIN", "ROLLER", "PITCH_CIRCLE", "BUSH"};
    const std::int64_t colours[] = {5, 30, 3, 8, 2, 7, 9, 4, 252};
    for (std::int64_t code = 0; code <= 8; ++code) {
        EXPECT_EQ(layer_name(code), names[code]) << code;
        EXPECT_EQ(layer_colour_index(code), colours[code]) << code;
    }
    // Anything else is drawn as a pitch circle.
    for (std::int64_t code : {std::int64_t{7}, std::int64_t{9}, std::int64_t{-1}, std::int64_t{1000}}) {
        EXPECT_EQ(layer_name(code), "PITCH_CIRCLE") << code;
        EXPECT_EQ(layer_colour_index(code), 4) << code;
    }
}

TEST(ShapeList2D, EverythingOfTheDefaultDriveInOrder)
{
    LaidDrive d;
    ASSERT_EQ(d.solution.laid, 1);
    ASSERT_EQ(d.solution.rollers.size(), 106u);
    ASSERT_EQ(d.solution.link_parity, 0);
    const std::vector<Shape2D> list = build(d);
    ASSERT_EQ(list.size(), 3u * 2u + 106u + 212u) << layers_of(list);

    // Each wheel: its outline, then its pitch circle round the wheel's centre.
    const std::int64_t wheel_layers[] = {LayerZ1, LayerZ2, LayerIdler};
    const PitchCircle circles[] = {d.solution.circles[Wheel1], d.solution.circles[Wheel2], d.solution.circles[Idler]};
    for (std::size_t w = 0; w < 3; ++w) {
        const Shape2D& outline = list[2 * w];
        EXPECT_EQ(outline.layer, wheel_layers[w]);
        EXPECT_EQ(outline.is_circle, 0);
        EXPECT_GT(outline.points.size(), 100u);
        const Shape2D& pc = list[2 * w + 1];
        EXPECT_EQ(pc.layer, LayerPitchCircle);
        EXPECT_EQ(pc.is_circle, 1);
        EXPECT_DOUBLE_EQ(pc.cx, circles[w].x);
        EXPECT_DOUBLE_EQ(pc.cy, circles[w].y);
        EXPECT_DOUBLE_EQ(pc.r, circles[w].radius);
    }
    // Z1's pitch circle after DIN 8196: p / sin(180 deg / z).
    EXPECT_NEAR(list[1].r, pitch_08b / std::sin(M_PI / 17) / 2, 1e-9);

    // The plates alternate inner, outer from link 0; then roller, pin, roller, pin ...
    int inner = 0, outer = 0;
    for (std::size_t i = 0; i < 106; ++i) {
        const Shape2D& plate = list[6 + i];
        EXPECT_EQ(plate.is_circle, 0);
        EXPECT_EQ(plate.layer, i % 2 == 0 ? LayerInnerPlate : LayerOuterPlate) << i;
        (plate.layer == LayerInnerPlate ? inner : outer)++;
    }
    EXPECT_EQ(inner, 53);
    EXPECT_EQ(outer, 53);
    for (std::size_t i = 0; i < 106; ++i) {
        const Shape2D& roller = list[112 + 2 * i];
        const Shape2D& pin = list[113 + 2 * i];
        ASSERT_EQ(roller.layer, LayerRoller);
        ASSERT_EQ(pin.layer, LayerPin);
        EXPECT_DOUBLE_EQ(roller.r, roller_08b / 2);
        EXPECT_DOUBLE_EQ(pin.r, pin_08b / 2);
        // Roller i on roller centre i, its pin with it.
        EXPECT_EQ(roller.cx, d.solution.rollers[i].x);
        EXPECT_EQ(roller.cy, d.solution.rollers[i].y);
        EXPECT_EQ(pin.cx, roller.cx);
        EXPECT_EQ(pin.cy, roller.cy);
    }
}

TEST(ShapeList2D, BoresOnTheWheelsOwnLayers)
{
    LaidDrive d;
    d.options.bore1 = 20;
    d.options.bore2 = 25;
    d.options.idler_bore = 10;
    d.options.export_pitch_circles = 0;
    std::vector<Shape2D> list = build(d);
    ASSERT_EQ(list.size(), 6u + 318u);
    const std::int64_t layers[] = {LayerZ1, LayerZ2, LayerIdler};
    const double radii[] = {10, 12.5, 5};
    const PitchCircle circles[] = {d.solution.circles[Wheel1], d.solution.circles[Wheel2], d.solution.circles[Idler]};
    for (std::size_t w = 0; w < 3; ++w) {
        EXPECT_EQ(list[2 * w].is_circle, 0);
        const Shape2D& bore = list[2 * w + 1];
        EXPECT_EQ(bore.is_circle, 1);
        EXPECT_EQ(bore.layer, layers[w]);
        EXPECT_DOUBLE_EQ(bore.r, radii[w]);
        EXPECT_DOUBLE_EQ(bore.cx, circles[w].x);
        EXPECT_DOUBLE_EQ(bore.cy, circles[w].y);
    }

    // With the pitch circle: outline, bore, pitch circle.
    d.options.export_pitch_circles = 1;
    d.options.export_scope = ExportWheel2Only;
    list = build(d);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[1].layer, LayerZ2);
    EXPECT_EQ(list[2].layer, LayerPitchCircle);

    // A negative or NaN bore is no bore.
    d.options.bore2 = -4;
    EXPECT_EQ(build(d).size(), 2u);
    d.options.bore2 = nan;
    EXPECT_EQ(build(d).size(), 2u);
    list.clear();
    add_circle_shape_2d(list, LayerPin, 1, 2, 0.0);
    add_circle_shape_2d(list, LayerPin, 1, 2, -1.0);
    EXPECT_TRUE(list.empty());
}

TEST(ShapeList2D, LinkParityDecidesWhichLinksAreInner)
{
    LaidDrive d;
    d.options.export_scope = ExportChainOnly;
    d.solution.link_parity = 1;
    const std::vector<Shape2D> list = build(d);
    for (std::size_t i = 0; i < 106; ++i) EXPECT_EQ(list[i].layer, i % 2 == 0 ? LayerOuterPlate : LayerInnerPlate);
}

TEST(ShapeList2D, RefusesWhatIsNoDrive)
{
    LaidDrive d;
    std::vector<Shape2D> list(4);

    LaidDrive not_laid;
    not_laid.solution.laid = 0;
    export_error_text.clear();
    EXPECT_EQ(build_2d_shape_list(not_laid.input, not_laid.solution, not_laid.options, list), 0);
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(export_error_text, "There is no valid drive to export.");

    for (std::int64_t index : {std::int64_t{-1}, std::int64_t{10}}) {
        DriveInput input = d.input;
        input.size_index = index;
        list.resize(2);
        export_error_text.clear();
        EXPECT_EQ(build_2d_shape_list(input, d.solution, d.options, list), 0) << index;
        EXPECT_TRUE(list.empty());
        EXPECT_EQ(export_error_text, "There is no valid drive to export.");
    }

    // A scope the program does not know selects nothing, and nothing is no drawing.
    d.options.export_scope = 5;
    list.resize(2);
    export_error_text.clear();
    EXPECT_EQ(build_2d_shape_list(d.input, d.solution, d.options, list), 0);
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(export_error_text, "There is no valid drive to export.");
}

// A coordinate that is not a number must never reach a file.
TEST(ShapeList2D, RefusesCoordinatesThatAreNotFinite)
{
    auto refused = [](const LaidDrive& d) {
        std::vector<Shape2D> list;
        export_error_text.clear();
        const std::int64_t built = build_2d_shape_list(d.input, d.solution, d.options, list);
        return built == 0 && list.empty() && export_error_text == "There is no valid drive to export.";
    };
    {
        LaidDrive d;
        d.solution.rollers[57].y = nan;
        EXPECT_TRUE(refused(d));
        d.options.export_scope = ExportWheel1Only;  // the broken roller is not exported
        EXPECT_FALSE(refused(d));
    }
    {
        LaidDrive d;
        d.solution.circles[Idler].phase = nan;
        EXPECT_TRUE(refused(d));
    }
    {
        LaidDrive d;
        d.solution.circles[Wheel2].radius = INFINITY;
        EXPECT_TRUE(refused(d));
        d.options.export_pitch_circles = 0;
        EXPECT_FALSE(refused(d));
    }
    {
        LaidDrive d;
        d.options.bore1 = INFINITY;
        EXPECT_TRUE(refused(d));
    }
    {
        LaidDrive d;
        d.solution.wheel1_geometry.outline[10].x = -INFINITY;
        EXPECT_TRUE(refused(d));
    }
}

TEST(ShapeListGeometry, PlatesSpanTheirTwoRollers)
{
    LaidDrive d;
    d.options.export_scope = ExportChainOnly;
    const std::vector<Shape2D> list = build(d);
    const auto& r = d.solution.rollers;
    for (std::size_t i = 0; i < 106; ++i) {
        const Point2D a = r[i];
        const Point2D b = r[(i + 1) % r.size()];
        const std::vector<Point2D>& plate = list[i].points;
        ASSERT_GE(plate.size(), 8u);
        // Round ends of radius h/2 round both pins: every point within h/2 of
        // the pin line, and the ends reach h/2 beyond the pins.
        const double ux = (b.x - a.x) / pitch_08b, uy = (b.y - a.y) / pitch_08b;
        double lowest = INFINITY, highest = -INFINITY, widest = 0;
        double area = 0;
        for (std::size_t k = 0; k < plate.size(); ++k) {
            const Point2D& q = plate[k];
            const double along = (q.x - a.x) * ux + (q.y - a.y) * uy;
            const double across = -(q.x - a.x) * uy + (q.y - a.y) * ux;
            lowest = std::min(lowest, along);
            highest = std::max(highest, along);
            widest = std::max(widest, std::fabs(across));
            const Point2D& n = plate[(k + 1) % plate.size()];
            area += q.x * n.y - n.x * q.y;
        }
        EXPECT_NEAR(lowest, -plate_08b / 2, 0.002) << i;
        EXPECT_NEAR(highest, pitch_08b + plate_08b / 2, 0.002) << i;
        EXPECT_NEAR(widest, plate_08b / 2, 0.002) << i;
        EXPECT_GT(area, 0) << "plate " << i << " runs clockwise";
        EXPECT_NE(plate.front().x, plate.back().x);  // the first point is not repeated
    }
}

// The exported wheel follows the model's tooth outline to 0.001 mm, turned
// to the wheel's phase and moved to its centre.
TEST(ShapeListGeometry, WheelOutlinesWithinAThousandthOfTheModel)
{
    LaidDrive d;
    d.input.rotation = 0.7;  // every wheel at a phase of its own
    compute_drive(d.input, d.solution);
    ASSERT_EQ(d.solution.laid, 1);
    const std::vector<Shape2D> list = build(d);
    const SprocketGeometry* geometry[] = {&d.solution.wheel1_geometry, &d.solution.wheel2_geometry,
                                          &d.solution.idler_geometry};
    const PitchCircle circles[] = {d.solution.circles[Wheel1], d.solution.circles[Wheel2], d.solution.circles[Idler]};
    for (std::size_t w = 0; w < 3; ++w) {
        const std::vector<Point2D>& exported = list[2 * w].points;
        const PitchCircle& c = circles[w];
        std::vector<Point2D> model;
        for (const Point2D& q : geometry[w]->outline) {
            const double angle = std::atan2(q.y, q.x) + c.phase;
            const double radius = std::hypot(q.x, q.y);
            model.push_back({c.x + radius * std::cos(angle), c.y + radius * std::sin(angle)});
        }
        ASSERT_LT(exported.size(), model.size());  // thinned
        double worst = 0;
        for (const Point2D& q : model) worst = std::max(worst, distance_to_closed_polyline(q, exported));
        EXPECT_LE(worst, 0.001 + 1e-9) << "wheel " << w;
        // And every exported point is a point of the model outline.
        for (const Point2D& q : exported) ASSERT_LT(distance_to_closed_polyline(q, model), 1e-9);
    }
}

}  // namespace
