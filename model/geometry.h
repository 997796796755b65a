#pragma once

// The plane geometry the drive, the drawing and the exports share: angles,
// tangents, circle intersections, a wheel's outline placed on its pitch
// circle, and which links are inner links.

#include <cstddef>
#include <cstdint>

#include "model/drive.h"
#include "model/point.h"

constexpr double pi = 3.141592653589793;
constexpr double two_pi = 6.283185307179586;
constexpr double four_pi = 12.566370614359172;
constexpr double radians_per_degree = 0.017453292519943295;
constexpr double degrees_per_radian = 57.29577951308232;

double normalise_angle_0_2pi(double angle);  // [0, 2 pi)
double normalise_angle_pm_pi(double angle);  // (-pi, pi]

// Wheel 1's angle kept in [0, 4 pi], two full turns: one step down, then one
// step up, so an angle of exactly 4 pi stays 4 pi. Enough for every angle the
// animation makes; an angle more than a step away stays outside.
double normalise_rotation_angle(double angle);

// The common tangent of two circles with signed radii (a radius of 0 is a
// point): a chain from P to Q keeps a positive circle on its left. 0 when
// there is none; P and Q are then untouched.
std::int64_t outer_tangent_points(double x1, double y1, double r1, double x2, double y2, double r2, Point2D& P,
                                  Point2D& Q);

// The two points where the circles meet, X1 left of the line from centre 0
// to centre 1; a near-tangency counts as touching. 0 when they do not meet.
std::int64_t circle_circle_intersection(double x0, double y0, double r0, double x1, double y1, double r1,
                                        Point2D& X1, Point2D& X2);

// The radius as the tangent constructions take it: negative when the chain
// runs clockwise round the circle.
double signed_radius(const PitchCircle& circle);

// Turns a point of a tooth outline (drawn around (0, 0)) by the wheel's phase
// and moves it to the wheel's centre.
struct WheelPlacement {
    double x = 0.0;
    double y = 0.0;
    double cos_phase = 1.0;
    double sin_phase = 0.0;

    Point2D operator()(const Point2D& q) const
    {
        return {x + q.x * cos_phase - q.y * sin_phase, y + q.x * sin_phase + q.y * cos_phase};
    }
};
WheelPlacement wheel_placement(const PitchCircle& circle);

// The tooth outline of a wheel slot: wheel 1, the idler, or wheel 2.
const SprocketGeometry& wheel_geometry(const DriveSolution& solution, WheelSlot slot);

// The outline placed on its circle, point for point, still counter-clockwise.
void place_outline(const Outline& outline, const PitchCircle& circle, Outline& placed);
// The wheel of the slot placed on its circle and simplified at the tolerance.
void place_wheel_outline(const DriveSolution& solution, WheelSlot slot, double tolerance, Outline& list);

// Link i joins roller i and i + 1 (the last one joins the last roller and
// roller 0). The link from roller 0 belongs to the seat it sits on, so the
// kinds travel with wheel 1's seats as it turns.
inline bool link_is_inner(std::int64_t link_parity, std::size_t link)
{
    return ((static_cast<std::int64_t>(link & 1) + link_parity) & 1) == 0;
}
