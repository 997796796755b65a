#include "model/geometry.h"

#include <cmath>

#include "model/outline.h"

double normalise_angle_0_2pi(double angle)
{
    double y = std::fmod(angle, two_pi);
    if (y < 0.0) y += two_pi;
    return y;
}

double normalise_angle_pm_pi(double angle)
{
    double y = normalise_angle_0_2pi(angle);
    if (y > pi) y -= two_pi;
    return y;
}

double normalise_rotation_angle(double angle)
{
    if (angle > four_pi) angle -= four_pi;
    if (angle < 0.0) angle += four_pi;
    return angle;
}

std::int64_t outer_tangent_points(double x1, double y1, double r1, double x2, double y2, double r2, Point2D& P,
                                  Point2D& Q)
{
    const double dx = x2 - x1;
    const double dy = y2 - y1;
    const double d = std::sqrt(dx * dx + dy * dy);
    if (d < 1e-9) return 0;
    const double c = (r2 - r1) / d;
    // Written so that NaN fails as well: one circle inside the other.
    if (!(c >= -1.0 && c <= 1.0)) return 0;
    const double theta = std::atan2(dy, dx) + std::acos(c);
    const double nx = std::cos(theta);
    const double ny = std::sin(theta);
    P = {x1 - r1 * nx, y1 - r1 * ny};
    Q = {x2 - r2 * nx, y2 - r2 * ny};
    return 1;
}

std::int64_t circle_circle_intersection(double x0, double y0, double r0, double x1, double y1, double r1,
                                        Point2D& X1, Point2D& X2)
{
    const double dx = x1 - x0;
    const double dy = y1 - y0;
    const double d = std::sqrt(dx * dx + dy * dy);
    if (!(d >= 1e-12)) return 0;
    const double a = (r0 * r0 - r1 * r1 + d * d) / (2.0 * d);
    double h2 = r0 * r0 - a * a;
    if (h2 < 0.0) {
        // A near-tangency counts as touching.
        if (h2 < -1e-9 * r0 * r0) return 0;
        h2 = 0.0;
    }
    if (!(h2 >= 0.0)) return 0;
    const double h = std::sqrt(h2);
    const double mx = x0 + a * dx / d;
    const double my = y0 + a * dy / d;
    X1 = {mx - h * dy / d, my + h * dx / d};
    X2 = {mx + h * dy / d, my - h * dx / d};
    return 1;
}

double signed_radius(const PitchCircle& circle)
{
    return circle.radius * static_cast<double>(circle.sense);
}

WheelPlacement wheel_placement(const PitchCircle& circle)
{
    return {circle.x, circle.y, std::cos(circle.phase), std::sin(circle.phase)};
}

const SprocketGeometry& wheel_geometry(const DriveSolution& solution, WheelSlot slot)
{
    switch (slot) {
    case Wheel1: return solution.wheel1_geometry;
    case Idler: return solution.idler_geometry;
    default: return solution.wheel2_geometry;
    }
}

void place_outline(const Outline& outline, const PitchCircle& circle, Outline& placed)
{
    const WheelPlacement place = wheel_placement(circle);
    placed.clear();
    placed.reserve(outline.size());
    for (const Point2D& q : outline) placed.push_back(place(q));
}

void place_wheel_outline(const DriveSolution& solution, WheelSlot slot, double tolerance, Outline& list)
{
    Outline placed;
    place_outline(wheel_geometry(solution, slot).outline, solution.circles[static_cast<std::size_t>(slot)], placed);
    simplify_closed_outline(placed, tolerance, list);
}
