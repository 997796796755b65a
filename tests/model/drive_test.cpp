#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "model/chain_size.h"
#include "model/drive.h"
#include "model/geometry.h"
#include "model/lay_chain.h"

namespace {


}  // namespace

TEST(Geometry, OuterTangentPoints)
{
    Point2D P{7, 7}, Q{8, 8};
    ASSERT_EQ(outer_tangent_points(0, 0, 10, 100, 0, 10, P, Q), 1);
    EXPECT_NEAR(P.x, 0.0, 1e-12);
    EXPECT_NEAR(P.y, -10.0, 1e-12);
    EXPECT_NEAR(Q.x, 100.0, 1e-12);
    EXPECT_NEAR(Q.y, -10.0, 1e-12);

    // A negative radius gives the crossed tangent.
    ASSERT_EQ(outer_tangent_points(0, 0, 10, 100, 0, -10, P, Q), 1);
    EXPECT_NEAR(P.x, 2.0, 1e-12);
    EXPECT_NEAR(P.y, -std::sqrt(96.0), 1e-12);
    EXPECT_NEAR(Q.x, 98.0, 1e-12);
    EXPECT_NEAR(Q.y, std::sqrt(96.0), 1e-12);

    // From a point: the tangent touches the circle at a right angle.
    ASSERT_EQ(outer_tangent_points(0, 0, 0, 50, 0, 30, P, Q), 1);
    EXPECT_NEAR(std::hypot(Q.x - 50, Q.y), 30.0, 1e-12);
    EXPECT_NEAR((Q.x - P.x) * (Q.x - 50) + (Q.y - P.y) * Q.y, 0.0, 1e-9);

    P = {7, 7};
    Q = {8, 8};
    EXPECT_EQ(outer_tangent_points(1, 1, 5, 1 + 1e-10, 1, 5, P, Q), 0);
    EXPECT_EQ(outer_tangent_points(0, 0, 10, 5, 0, 30, P, Q), 0);  // |r2 - r1| > D
    EXPECT_EQ(P.x, 7.0);
    EXPECT_EQ(Q.y, 8.0);
}

TEST(Geometry, AngleNormalisation)
{
    EXPECT_DOUBLE_EQ(normalise_angle_pm_pi(pi), pi);
    EXPECT_DOUBLE_EQ(normalise_angle_pm_pi(-pi), pi);
    EXPECT_NEAR(normalise_angle_pm_pi(3 * pi / 2), -pi / 2, 1e-15);
    EXPECT_NEAR(normalise_angle_0_2pi(-0.5), 2 * pi - 0.5, 1e-15);
    EXPECT_NEAR(normalise_angle_0_2pi(4 * pi + 0.25), 0.25, 1e-14);
    EXPECT_DOUBLE_EQ(normalise_angle_0_2pi(0.0), 0.0);
}

TEST(Geometry, RoundUpLinksEven)
{
    EXPECT_EQ(round_up_links_even(104.5), 106);
    EXPECT_EQ(round_up_links_even(104.0 + 0.5e-6), 104);
    EXPECT_EQ(round_up_links_even(103.0 + 0.5e-6), 104);
    EXPECT_EQ(round_up_links_even(105.0), 106);
    EXPECT_EQ(round_up_links_even(104.0 + 2e-6), 106);
    EXPECT_EQ(round_up_links_even(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(Geometry, CentreDistanceForLinks)
{
    EXPECT_GT(centre_distance_for_links(12.7, 17, 34, 106), 500.0);
    EXPECT_LT(centre_distance_for_links(12.7, 17, 34, 104), 500.0);
    EXPECT_EQ(centre_distance_for_links(12.7, 17, 34, 25), 0.0);  // (17 + 34) / 2 or fewer
    // The inverse of the link formula of a chain without idler.
    const double a = centre_distance_for_links(12.7, 17, 34, 106);
    const double skew = (34.0 - 17.0) / (2 * pi);
    EXPECT_NEAR(2 * a / 12.7 + (17.0 + 34.0) / 2 + 12.7 / a * skew * skew, 106.0, 1e-9);
}

TEST(Geometry, CircleCircleIntersection)
{
    Point2D X1{9, 9}, X2{9, 9};
    ASSERT_EQ(circle_circle_intersection(0, 0, 5, 8, 0, 5, X1, X2), 1);
    EXPECT_NEAR(X1.x, 4.0, 1e-12);
    EXPECT_NEAR(X1.y, 3.0, 1e-12);  // on the left of the direction from the first centre
    EXPECT_NEAR(X2.x, 4.0, 1e-12);
    EXPECT_NEAR(X2.y, -3.0, 1e-12);

    // Just missing each other counts as touching.
    ASSERT_EQ(circle_circle_intersection(0, 0, 5, 10.0 + 1e-9, 0, 5, X1, X2), 1);
    EXPECT_NEAR(X1.x, 5.0, 1e-8);
    EXPECT_DOUBLE_EQ(X1.x, X2.x);
    EXPECT_DOUBLE_EQ(X1.y, X2.y);

    X1 = {9, 9};
    EXPECT_EQ(circle_circle_intersection(0, 0, 5, 10.1, 0, 5, X1, X2), 0);
    EXPECT_EQ(circle_circle_intersection(0, 0, 5, 1e-13, 0, 5, X1, X2), 0);
    EXPECT_EQ(X1.x, 9.0);
}

TEST(ComputeDrive, DefaultDriveWheels)
{
    DriveInput in;
    DriveSolution s;
    ASSERT_EQ(compute_drive(in, s), 1);
    EXPECT_EQ(s.valid, 1);
    EXPECT_GT(s.iso_links, 104.0);
    EXPECT_LT(s.iso_links, 105.0);
    EXPECT_DOUBLE_EQ(s.pitch, 12.7);
    EXPECT_DOUBLE_EQ(s.circles[Wheel1].radius, s.wheel1_geometry.pitch_diameter / 2);
    EXPECT_DOUBLE_EQ(s.circles[Wheel2].radius, s.wheel2_geometry.pitch_diameter / 2);
    EXPECT_DOUBLE_EQ(s.circles[Idler].radius, s.idler_geometry.pitch_diameter / 2);
    EXPECT_EQ(s.circles[Wheel2].x, 500.0);
    EXPECT_EQ(s.circles[Wheel1].sense, 1);
    EXPECT_EQ(s.circles[Wheel2].sense, 1);
    EXPECT_EQ(s.circles[Idler].sense, -1);
    EXPECT_EQ(s.wheel1_geometry.teeth, 17);
    EXPECT_EQ(s.wheel2_geometry.teeth, 34);
    EXPECT_EQ(s.idler_geometry.teeth, 15);
}

TEST(ComputeDrive, RefusalsInTheirOrder)
{
    DriveSolution s;
    DriveInput in;
    ASSERT_EQ(compute_drive(in, s), 1);
    const std::size_t outline_points = s.wheel1_geometry.outline.size();

    for (std::int64_t bad : {10, -1}) {
        in.size_index = bad;
        EXPECT_EQ(compute_drive(in, s), 0);
        EXPECT_EQ(s.error_text, "Unknown chain size.");
        EXPECT_EQ(s.valid, 0);
        EXPECT_EQ(s.laid, 0);
        EXPECT_TRUE(s.rollers.empty());
        EXPECT_TRUE(s.warning_text.empty());
        EXPECT_EQ(s.wheel1_geometry.outline.size(), outline_points);  // left as it was
    }

    in = {};
    in.z1 = 5;
    in.idler_teeth = 3;
    EXPECT_EQ(compute_drive(in, s), 0);
    EXPECT_EQ(s.error_text, "Z1: Number of teeth must be between 6 and 250.");
    in.z1 = 17;
    in.z2 = 251;
    EXPECT_EQ(compute_drive(in, s), 0);
    EXPECT_EQ(s.error_text, "Z2: Number of teeth must be between 6 and 250.");
    in.z2 = 34;
    EXPECT_EQ(compute_drive(in, s), 0);
    EXPECT_EQ(s.error_text, "Idler: Number of teeth must be between 6 and 250.");
}

TEST(ComputeDrive, WheelsMustNotOverlap)
{
    DriveInput in;
    DriveSolution s;
    ASSERT_EQ(compute_drive(in, s), 1);
    const double m = (s.wheel1_geometry.drawn_tip_diameter + s.wheel2_geometry.drawn_tip_diameter) / 2;
    in.centre_distance = m;
    EXPECT_EQ(compute_drive(in, s), 0);
    EXPECT_EQ(s.error_text, "Centre distance too small: the wheels overlap (minimum 108.7 mm).");
    EXPECT_EQ(s.valid, 0);
    in.centre_distance = std::nextafter(m, 1e9);
    compute_drive(in, s);
    EXPECT_EQ(s.valid, 1);  // past the overlap check; the laying may still refuse
}

// A project file can carry NaN or infinities: refused, never laid with NaN rollers.
TEST(ComputeDrive, NonFiniteInputIsRefused)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (int field = 0; field < 3; ++field) {
        for (double bad : {nan, inf, -inf}) {
            DriveInput in;
            if (field == 0) in.centre_distance = bad;
            if (field == 1) in.idler_position = bad;
            if (field == 2) in.rotation = bad;
            DriveSolution s;
            EXPECT_EQ(compute_drive(in, s), 0);
            EXPECT_EQ(s.error_text, "No valid input.");
            EXPECT_EQ(s.valid, 0);
            EXPECT_EQ(s.laid, 0);
            EXPECT_TRUE(s.rollers.empty());
        }
    }

    // The animation and the drag call the laying alone.
    DriveInput in;
    DriveSolution s;
    ASSERT_EQ(compute_drive(in, s), 1);
    in.rotation = nan;
    EXPECT_EQ(lay_chain(in, s), 0);
    EXPECT_EQ(s.error_text, "No valid input.");
    in.rotation = 0.0;
    in.idler_position = inf;
    EXPECT_EQ(lay_chain(in, s), 0);
    in.idler_position = 0.5;
    EXPECT_EQ(lay_chain(in, s), 1);

    // Huge but finite values end in an error, not in undefined behaviour.
    in.rotation = 1e300;
    lay_chain(in, s);
    in.rotation = 0.0;
    in.centre_distance = 1e300;
    EXPECT_EQ(compute_drive(in, s), 0);
    in.centre_distance = 500.0;
    in.links = std::numeric_limits<std::int64_t>::max();
    EXPECT_EQ(compute_drive(in, s), 0);
    EXPECT_EQ(s.error_text, "The idler cannot take up that much slack: fewer links or a larger centre distance.");
}
