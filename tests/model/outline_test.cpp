#include <gtest/gtest.h>

#include <cmath>

#include "model/chain_size.h"
#include "model/outline.h"
#include "model/sprocket.h"
#include "tests/support/outline_measure.h"

namespace {

constexpr double pi = 3.141592653589793;

// Distance of a point from the closed polygon o.
double distance_to_outline(const Point2D& p, const Outline& o)
{
    double best = 1e300;
    for (std::size_t i = 0; i < o.size(); ++i) {
        const Point2D& a = o[i];
        const Point2D& b = o[(i + 1) % o.size()];
        best = std::min(best, point_segment_distance(p.x, p.y, a.x, a.y, b.x, b.y));
    }
    return best;
}

bool same(const Point2D& a, const Point2D& b) { return a.x == b.x && a.y == b.y; }

}  // namespace

TEST(PointSegmentDistance, InsideBeyondAndDegenerate)
{
    EXPECT_DOUBLE_EQ(point_segment_distance(5, 3, 0, 0, 10, 0), 3.0);
    EXPECT_DOUBLE_EQ(point_segment_distance(13, 4, 0, 0, 10, 0), 5.0);  // beyond b: distance to b
    EXPECT_DOUBLE_EQ(point_segment_distance(-3, -4, 0, 0, 10, 0), 5.0);  // before a: distance to a
    EXPECT_DOUBLE_EQ(point_segment_distance(4, 5, 1, 1, 1, 1), 5.0);   // zero length
}

TEST(SimplifyClosedOutline, SmallOrUntoleratedSourcesComeBackUnchanged)
{
    Outline three = {{0, 0}, {1, 0}, {0, 1}};
    Outline out = {{9, 9}};
    simplify_closed_outline(three, 10.0, out);
    ASSERT_EQ(out.size(), 3u);
    Outline square = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    simplify_closed_outline(square, 0.0, out);
    EXPECT_EQ(out.size(), 4u);
    simplify_closed_outline(square, -1.0, out);
    EXPECT_EQ(out.size(), 4u);
}

TEST(SimplifyClosedOutline, Square)
{
    Outline square = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    Outline out;
    simplify_closed_outline(square, 0.5, out);
    ASSERT_EQ(out.size(), 4u);
    simplify_closed_outline(square, 0.8, out);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_TRUE(same(out[0], square[0]));
    EXPECT_TRUE(same(out[1], square[2]));
    // A point exactly at the tolerance is dropped.
    simplify_closed_outline(square, std::sqrt(0.5), out);
    EXPECT_EQ(out.size(), 2u);
}

TEST(SimplifyClosedOutline, CircleWithALargeToleranceKeepsTwoPoints)
{
    Outline circle;
    for (int i = 0; i < 100; ++i) circle.push_back({5 * std::cos(i * 2 * pi / 100), 5 * std::sin(i * 2 * pi / 100)});
    Outline out;
    simplify_closed_outline(circle, 6.0, out);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_TRUE(same(out[0], circle[0]));
    EXPECT_TRUE(same(out[1], circle[50]));

    Outline all_equal(7, Point2D{2, 3});
    simplify_closed_outline(all_equal, 0.1, out);
    ASSERT_EQ(out.size(), 1u);
}

// The property the drawing and the exports rely on: no dropped point is
// farther than the tolerance from the kept outline.
TEST(SimplifyClosedOutline, DroppedPointsStayWithinTheTolerance)
{
    load_chain_size_table();
    SprocketGeometry g;
    for (auto [size, z] : {std::pair{2, 17}, {2, 34}, {9, 250}, {0, 6}}) {
        const ChainSize& c = chain_sizes[static_cast<std::size_t>(size)];
        ASSERT_EQ(build_sprocket(g, z, c.pitch, c.roller_diameter, c.inner_width, 0.0), 1);
        for (double tol : {0.001, 0.01, 0.1}) {
            Outline thin;
            simplify_closed_outline(g.outline, tol, thin);
            ASSERT_GE(thin.size(), 3u);
            EXPECT_LT(thin.size(), g.outline.size());
            EXPECT_TRUE(same(thin[0], g.outline[0]));
            // Kept points come in source order, and every dropped point lies
            // within the tolerance of the kept segment that bridges it.
            std::size_t j = 0;
            for (std::size_t i = 0; i < g.outline.size(); ++i) {
                const Point2D& p = g.outline[i];
                if (j < thin.size() && same(p, thin[j])) {
                    ++j;
                    continue;
                }
                ASSERT_GT(j, 0u);
                const Point2D& a = thin[j - 1];
                const Point2D& b = thin[j % thin.size()];
                ASSERT_LE(point_segment_distance(p.x, p.y, a.x, a.y, b.x, b.y), tol) << size << " z" << z << " at " << i;
            }
            EXPECT_EQ(j, thin.size());
            EXPECT_GT(signed_area(thin), 0.0);
        }
    }
}

TEST(LinkPlateOutline, DegenerateInputLeavesTheListEmpty)
{
    Outline list = {{1, 1}};
    EXPECT_EQ(link_plate_outline(3, 4, 3, 4, 11.81, list, 0.0), 1);
    EXPECT_TRUE(list.empty());
    list = {{1, 1}};
    EXPECT_EQ(link_plate_outline(0, 0, 12.7, 0, 0.0, list, 0.0), 1);
    EXPECT_TRUE(list.empty());
}

TEST(LinkPlateOutline, PlateOfAn08BChain)
{
    const double H = 11.81;
    Outline plate;
    ASSERT_EQ(link_plate_outline(0, 0, 12.7, 0, H, plate, 0.0), 0);
    ASSERT_GT(plate.size(), 20u);
    // Round ends of radius H/2, waist at 0.4 H in the middle.
    double top_at_middle = 0.0;
    for (const Point2D& p : plate) {
        // Inside the stadium around the two pins.
        const double to_axis = point_segment_distance(p.x, p.y, 0, 0, 12.7, 0);
        EXPECT_LE(to_axis, H / 2 + 1e-9);
        if (std::fabs(p.x - 6.35) < 0.2) top_at_middle = std::max(top_at_middle, std::fabs(p.y));
    }
    EXPECT_NEAR(top_at_middle, 0.4 * H, 0.01);
    EXPECT_GT(signed_area(plate), 0.0);
    // Smaller than the stadium around the pins, larger than its waist band.
    EXPECT_LT(signed_area(plate), pi * (H / 2) * (H / 2) + 12.7 * H);
    EXPECT_GT(signed_area(plate), pi * (H / 2) * (H / 2) + 12.7 * 0.8 * H);
}

TEST(LinkPlateOutline, CounterClockwiseAndSymmetricWhenThePinsSwap)
{
    const double H = 11.81;
    for (double angle : {0.0, 0.7, 2.0, 3.5, -1.2}) {
        const double x1 = 10, y1 = -4;
        const double x2 = x1 + 12.7 * std::cos(angle), y2 = y1 + 12.7 * std::sin(angle);
        Outline forward, backward;
        ASSERT_EQ(link_plate_outline(x1, y1, x2, y2, H, forward, 0.0), 0);
        ASSERT_EQ(link_plate_outline(x2, y2, x1, y1, H, backward, 0.0), 0);
        EXPECT_GT(signed_area(forward), 0.0);
        EXPECT_NEAR(signed_area(forward), signed_area(backward), 1e-9);
        ASSERT_EQ(forward.size(), backward.size());
        // The swapped plate is the same plate: every point lies on the other outline.
        for (const Point2D& p : forward) ASSERT_LT(distance_to_outline(p, backward), 1e-3);
    }
}

TEST(LinkPlateOutline, ClosePinsGiveAStadium)
{
    const double H = 10.0;
    Outline plate;
    ASSERT_EQ(link_plate_outline(0, 0, 5.0, 0, H, plate, 0.0), 0);  // 5 < 0.6 H
    for (const Point2D& p : plate) {
        if (p.x > 0.01 && p.x < 4.99) {
            EXPECT_NEAR(std::fabs(p.y), 5.0, 1e-9);
        }
    }
    EXPECT_NEAR(signed_area(plate), pi * 25 + 5.0 * 10.0, 0.5);
}

TEST(LinkPlateOutline, PointCountsAreLimited)
{
    Outline plate;
    ASSERT_EQ(link_plate_outline(0, 0, 12.7, 0, 11.81, plate, 1e-9), 0);
    EXPECT_EQ(plate.size(), 2u * 1001u + 2u * 999u);
    ASSERT_EQ(link_plate_outline(0, 0, 12.7, 0, 11.81, plate, 1e9), 0);
    EXPECT_EQ(plate.size(), 2u * 9u + 2u * 1u);
}

namespace {

// The plain method, straight from its definition, to hold the fast one to.
void reference_keep(const std::vector<Point2D>& p, std::size_t a, std::size_t b, double tolerance,
                    std::vector<unsigned char>& keep)
{
    if (b < a + 2) return;
    double best = -1.0;
    std::size_t index = a + 1;
    for (std::size_t i = a + 1; i < b; ++i) {
        const double d = point_segment_distance(p[i].x, p[i].y, p[a].x, p[a].y, p[b].x, p[b].y);
        if (d > best) {
            best = d;
            index = i;
        }
    }
    if (best <= tolerance) return;
    keep[index] = 1;
    reference_keep(p, a, index, tolerance, keep);
    reference_keep(p, index, b, tolerance, keep);
}

Outline reference_simplify(const Outline& source, double tolerance)
{
    std::vector<Point2D> p(source.begin(), source.end());
    p.push_back(source[0]);
    const std::size_t n = source.size();
    std::size_t far = 0;
    double far_d2 = 0.0;
    for (std::size_t i = 1; i < n; ++i) {
        const double d2 = (p[i].x - p[0].x) * (p[i].x - p[0].x) + (p[i].y - p[0].y) * (p[i].y - p[0].y);
        if (d2 > far_d2) {
            far_d2 = d2;
            far = i;
        }
    }
    std::vector<unsigned char> keep(n + 1, 0);
    keep[0] = keep[far] = 1;
    reference_keep(p, 0, far, tolerance, keep);
    reference_keep(p, far, n, tolerance, keep);
    Outline out;
    for (std::size_t i = 0; i < n; ++i)
        if (keep[i]) out.push_back(p[i]);
    return out;
}

}  // namespace

// Skipping far-off blocks of points is only a short cut: the kept points are
// exactly those of the plain method, ties included.
TEST(SimplifyClosedOutline, KeepsExactlyThePointsOfThePlainMethod)
{
    load_chain_size_table();
    std::vector<Outline> outlines;
    SprocketGeometry g;
    for (auto [size, z] : {std::pair{2, 17}, {9, 120}, {0, 6}}) {
        const ChainSize& c = chain_sizes[static_cast<std::size_t>(size)];
        ASSERT_EQ(build_sprocket(g, z, c.pitch, c.roller_diameter, c.inner_width, 0.0), 1);
        outlines.push_back(g.outline);
    }
    // A circle of many points: every split meets exactly equal distances.
    Outline circle;
    for (int i = 0; i < 4096; ++i) circle.push_back({std::cos(i * 2 * pi / 4096), std::sin(i * 2 * pi / 4096)});
    outlines.push_back(circle);
    // A square with long straight runs of equal distances.
    Outline square;
    for (int i = 0; i < 800; ++i) square.push_back({static_cast<double>(i % 200), i < 200 ? 0.0 : 1.0 * (i / 200)});
    outlines.push_back(square);

    for (const Outline& o : outlines) {
        for (double tol : {0.0005, 0.001, 0.01, 0.3}) {
            Outline fast;
            simplify_closed_outline(o, tol, fast);
            const Outline plain = reference_simplify(o, tol);
            ASSERT_EQ(fast.size(), plain.size()) << "tolerance " << tol;
            for (std::size_t i = 0; i < fast.size(); ++i) ASSERT_TRUE(same(fast[i], plain[i])) << i;
        }
    }
}
