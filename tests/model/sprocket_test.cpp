#include <gtest/gtest.h>

#include <cmath>

#include "model/chain_size.h"
#include "model/sprocket.h"
#include "tests/support/outline_measure.h"

namespace {

constexpr double pi = 3.141592653589793;

int build(SprocketGeometry& g, int size_index, long teeth)
{
    load_chain_size_table();
    const ChainSize& c = chain_sizes[static_cast<std::size_t>(size_index)];
    return build_sprocket(g, teeth, c.pitch, c.roller_diameter, c.inner_width, 0.0);
}

// Points of one gap: 2m - 2, with m = (Ns + 1) + Nf + Nt.
std::size_t gap_points(int ns, int nf, int nt) { return 2 * static_cast<std::size_t>(ns + 1 + nf + nt) - 2; }

}  // namespace

TEST(Sprocket, DefaultWheelsHaveTheExpectedPointCounts)
{
    SprocketGeometry g;
    ASSERT_EQ(build(g, 2, 17), 1);
    EXPECT_EQ(g.valid, 1);
    EXPECT_EQ(g.pointed, 0);
    EXPECT_EQ(g.error_text, "");
    EXPECT_EQ(g.outline.size(), 17 * gap_points(75, 77, 6));
    EXPECT_EQ(g.outline.size(), 17u * 316u);
    EXPECT_NEAR(g.tooth_width, 0.93 * 7.75, 1e-12);
    EXPECT_DOUBLE_EQ(g.drawn_tip_diameter, g.tip_diameter);

    ASSERT_EQ(build(g, 2, 34), 1);
    EXPECT_EQ(g.outline.size(), 34 * gap_points(77, 79, 5));
    EXPECT_EQ(g.outline.size(), 34u * 322u);

    // From 10B up the tooth is 0.95 of the inner width.
    ASSERT_EQ(build(g, 3, 20), 1);
    EXPECT_NEAR(g.tooth_width, 0.95 * 9.65, 1e-12);
}

TEST(Sprocket, DimensionsOfTheDefaultWheel)
{
    SprocketGeometry g;
    ASSERT_EQ(build(g, 2, 17), 1);
    const double d = 12.7 / std::sin(pi / 17);
    EXPECT_NEAR(g.pitch_diameter, d, 1e-12);
    EXPECT_NEAR(g.pitch_diameter, 69.12, 0.01);  // the catalogue value for 08B z17
    EXPECT_NEAR(g.root_diameter, d - 8.51, 1e-12);
    EXPECT_NEAR(g.tip_diameter_min, d + 12.7 * (1 - 1.6 / 17) - 8.51, 1e-12);
    EXPECT_NEAR(g.tip_diameter_max, d + 1.25 * 12.7 - 8.51, 1e-12);
    EXPECT_NEAR(g.seating_radius, 0.505 * 8.51 + 0.0345 * std::cbrt(8.51), 1e-12);
    EXPECT_NEAR(g.seating_angle * 180 / pi, 130 - 90.0 / 17, 1e-9);
}

TEST(Sprocket, PointedToothWithALargeRoller)
{
    SprocketGeometry g;
    ASSERT_EQ(build_sprocket(g, 17, 12.7, 0.9 * 12.7, 7.75, 0.0), 1);
    EXPECT_EQ(g.pointed, 1);
    EXPECT_LT(g.drawn_tip_diameter, g.tip_diameter);
    EXPECT_EQ(g.outline.size(), 17 * gap_points(101, 37, 0));
    EXPECT_EQ(g.outline.size(), 17u * 276u);
    double r_max = 0;
    for (const Point2D& p : g.outline) r_max = std::max(r_max, std::hypot(p.x, p.y));
    EXPECT_NEAR(2 * r_max, g.drawn_tip_diameter, 1e-9);
}

TEST(Sprocket, RefusesBadInputWithItsText)
{
    SprocketGeometry g;
    ASSERT_EQ(build(g, 2, 17), 1);
    EXPECT_EQ(build(g, 2, 5), 0);
    EXPECT_EQ(g.error_text, "Number of teeth must be between 6 and 250.");
    EXPECT_EQ(g.valid, 0);
    EXPECT_TRUE(g.outline.empty());
    EXPECT_EQ(build(g, 2, 251), 0);
    EXPECT_EQ(g.error_text, "Number of teeth must be between 6 and 250.");
    EXPECT_EQ(build(g, 2, 6), 1);
    EXPECT_EQ(build(g, 2, 250), 1);

    EXPECT_EQ(build_sprocket(g, 17, 12.7, 12.7, 7.75, 0.0), 0);
    EXPECT_EQ(g.error_text, "Invalid chain dimensions.");
    EXPECT_EQ(build_sprocket(g, 17, 12.7, 0.0, 7.75, 0.0), 0);
    EXPECT_EQ(g.error_text, "Invalid chain dimensions.");
    EXPECT_EQ(build_sprocket(g, 17, 12.7, std::nan(""), 7.75, 0.0), 0);
    EXPECT_EQ(g.error_text, "Invalid chain dimensions.");
    EXPECT_EQ(g.pointed, 0);
    EXPECT_TRUE(g.outline.empty());
    EXPECT_EQ(build(g, 2, 17), 1);
    EXPECT_EQ(g.error_text, "");
}

TEST(Sprocket, OutlineStartsNextToAToothAndEndsOnItsTip)
{
    SprocketGeometry g;
    ASSERT_EQ(build(g, 2, 17), 1);
    const Outline& o = g.outline;
    EXPECT_LT(o.front().y, 0.0);
    EXPECT_NEAR(std::atan2(o.back().y, o.back().x), -pi / 17, 1e-9);
    EXPECT_NEAR(std::hypot(o.back().x, o.back().y), g.tip_diameter / 2, 1e-9);
    // H[0] of gap 0, the bottom of the gap on +x, follows the mirrored half.
    const std::size_t m = 75 + 1 + 77 + 6;
    const Point2D bottom = o[m - 2];
    EXPECT_NEAR(bottom.x, g.pitch_diameter / 2 - g.seating_radius, 1e-12);
    EXPECT_NEAR(bottom.y, 0.0, 1e-12);
}

TEST(Sprocket, CallerStepIsUsedUnchanged)
{
    SprocketGeometry fine, coarse, by_default, negative;
    ASSERT_EQ(build_sprocket(fine, 17, 12.7, 8.51, 7.75, 0.01), 1);
    ASSERT_EQ(build_sprocket(coarse, 17, 12.7, 8.51, 7.75, 0.5), 1);
    ASSERT_EQ(build_sprocket(by_default, 17, 12.7, 8.51, 7.75, 12.7 / 200), 1);
    ASSERT_EQ(build_sprocket(negative, 17, 12.7, 8.51, 7.75, -1.0), 1);
    EXPECT_GT(fine.outline.size(), by_default.outline.size());
    EXPECT_LT(coarse.outline.size(), by_default.outline.size());
    EXPECT_EQ(negative.outline.size(), by_default.outline.size());
    // The minimum counts hold however coarse the step: 4 + 1 seat, 2 flank, 1 tip.
    ASSERT_EQ(build_sprocket(coarse, 17, 12.7, 8.51, 7.75, 1000.0), 1);
    EXPECT_EQ(coarse.outline.size(), 17 * gap_points(4, 2, 1));
}

// Every size at every tooth count builds a simple counter-clockwise outline
// between the root and the tip circle, with its points one step apart at most.
TEST(Sprocket, EveryOutlineIsSimpleCounterClockwiseAndWithinItsCircles)
{
    load_chain_size_table();
    SprocketGeometry g;
    for (int size = 0; size < chain_size_count; ++size) {
        for (int z : {6, 7, 9, 13, 17, 25, 34, 57, 80, 120, 181, 250}) {
            ASSERT_EQ(build(g, size, z), 1) << size << " " << z;
            EXPECT_EQ(g.pointed, 0) << size << " " << z;
            const Outline& o = g.outline;
            const double step = g.pitch / 200;
            // The seat radius is a little larger than the roller's, so the
            // gap bottom lies just inside the root circle.
            const double r_min = g.pitch_diameter / 2 - g.seating_radius;
            ASSERT_LT(g.root_diameter / 2 - r_min, 0.1 * g.roller_diameter);
            const double r_max = g.tip_diameter / 2;
            double winding = 0.0;
            for (std::size_t i = 0; i < o.size(); ++i) {
                const Point2D& p = o[i];
                const Point2D& q = o[(i + 1) % o.size()];
                const double r = std::hypot(p.x, p.y);
                ASSERT_GE(r, r_min - 1e-9) << size << " " << z << " at " << i;
                ASSERT_LE(r, r_max + 1e-9) << size << " " << z << " at " << i;
                const double gap = std::hypot(q.x - p.x, q.y - p.y);
                ASSERT_LE(gap, step * 1.0001) << size << " " << z << " at " << i;
                ASSERT_GT(gap, 0.0) << size << " " << z << " at " << i;
                // The angle about the centre never runs backwards: the outline
                // is star-shaped, hence simple.
                const double turn = std::atan2(p.x * q.y - p.y * q.x, p.x * q.x + p.y * q.y);
                ASSERT_GE(turn, -1e-12) << size << " " << z << " at " << i;
                winding += turn;
            }
            EXPECT_NEAR(winding, 2 * pi, 1e-9) << size << " " << z;
            EXPECT_GT(signed_area(o), 0.0);
            // The area lies between the root and the tip disc.
            EXPECT_GT(signed_area(o), pi * r_min * r_min);
            EXPECT_LT(signed_area(o), pi * r_max * r_max);
        }
    }
}

// Rollers of the chain sit in the gaps: a roller circle at a seat on the pitch
// circle touches the outline but is not cut by it.
TEST(Sprocket, RollerSitsInTheGap)
{
    SprocketGeometry g;
    ASSERT_EQ(build(g, 2, 17), 1);
    const double R = g.pitch_diameter / 2;
    for (int k = 0; k < 17; ++k) {
        const double a = k * 2 * pi / 17;
        double nearest = 1e9;
        for (const Point2D& p : g.outline)
            nearest = std::min(nearest, std::hypot(p.x - R * std::cos(a), p.y - R * std::sin(a)));
        EXPECT_GE(nearest, g.roller_diameter / 2 - 1e-9);
        EXPECT_NEAR(nearest, g.seating_radius, 1e-9);
    }
}
