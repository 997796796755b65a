#include "model/roller_laying.h"

#include <cmath>

#include "model/geometry.h"

// The chain is laid as a real chain: on a wheel every roller sits in a seat on
// the pitch circle, on a strand the rollers lie one pitch apart on the line,
// and the first roller on the next wheel is where a circle of one pitch round
// the last strand roller meets that wheel's pitch circle. Only the gap left on
// wheel 1 when the chain comes back to roller 0 is not a whole pitch; it is
// returned as the fraction of the link count.

namespace {

Point2D seat_point(const PitchCircle& c, double angle)
{
    return {c.x + c.radius * std::cos(angle), c.y + c.radius * std::sin(angle)};
}

double angle_from_centre(const PitchCircle& c, const Point2D& p) { return std::atan2(p.y - c.y, p.x - c.x); }

void add_roller_point(DriveSolution& solution, double x, double y) { solution.rollers.push_back({x, y}); }

// 1 when the chain still wraps the wheel at the seat `angle`: the straight
// line from that roller towards `next` would cut the wheel or its next seat.
std::int64_t roller_still_wraps(const PitchCircle& wheel, double angle, const PitchCircle& next)
{
    const Point2D r = seat_point(wheel, angle);
    Point2D p, q;
    if (!outer_tangent_points(r.x, r.y, 0.0, next.x, next.y, signed_radius(next), p, q)) return 0;
    const double dx = q.x - r.x;
    const double dy = q.y - r.y;
    const double sense = static_cast<double>(wheel.sense);
    // The wheel's centre must lie strictly on the running side of the line,
    // or the line from this roller would cut the wheel.
    const double c1 = (dx * (wheel.y - r.y) - dy * (wheel.x - r.x)) * sense;
    if (c1 <= 0.0) return 1;
    const Point2D r2 = seat_point(wheel, angle + sense * two_pi / static_cast<double>(wheel.teeth));
    const double c2 = (dx * (r2.y - r.y) - dy * (r2.x - r.x)) * sense;
    return c2 < 0.0 ? 1 : 0;
}

}  // namespace

double lay_chain_rollers(DriveSolution& solution, std::int64_t store)
{
    const double p = solution.pitch;
    std::int64_t count = 0;
    if (store) solution.rollers.clear();

    // Roller 0: the first seat of wheel 1, in the running sense, from which the
    // chain may leave towards the idler.
    const PitchCircle& w1 = solution.circles[Wheel1];
    Point2D tangent_w1, tangent_idler;
    const PitchCircle& idler = solution.circles[Idler];
    if (!outer_tangent_points(w1.x, w1.y, signed_radius(w1), idler.x, idler.y, signed_radius(idler), tangent_w1,
                              tangent_idler))
        return laying_impossible;
    const double dth1 = two_pi / static_cast<double>(w1.teeth);
    const double a = normalise_angle_pm_pi(angle_from_centre(w1, tangent_w1) + pi / 2.0) - pi / 2.0;
    double theta = w1.phase + dth1 * std::floor((a - w1.phase) / dth1);
    for (int i = 0; i < 3 && !roller_still_wraps(w1, theta - dth1, idler); ++i) theta -= dth1;
    for (int i = 0; i < 3 && roller_still_wraps(w1, theta, idler); ++i) theta += dth1;
    const double theta0 = theta;
    // The seat number stays a double: a huge rotation must not overflow an
    // integer, and a negative seat's parity is that of its magnitude.
    const double seat = std::round((theta - w1.phase) / dth1);
    solution.link_parity = std::fmod(std::fabs(seat), 2.0) == 1.0 ? 1 : 0;

    Point2D r = seat_point(w1, theta);
    if (store) add_roller_point(solution, r.x, r.y);

    for (int leg = 0; leg < 3; ++leg) {
        PitchCircle& next = solution.circles[static_cast<std::size_t>((leg + 1) % 3)];

        // Straight strand from the last roller towards the next wheel.
        Point2D unused, q;
        if (!outer_tangent_points(r.x, r.y, 0.0, next.x, next.y, signed_radius(next), unused, q)) return laying_impossible;
        double dx = q.x - r.x;
        double dy = q.y - r.y;
        double length = std::sqrt(dx * dx + dy * dy);
        if (length > 1e-12) {
            dx /= length;
            dy /= length;
        }
        while (p < length) {
            r.x += p * dx;
            r.y += p * dy;
            length -= p;
            if (++count > roller_guard) return laying_too_long;
            if (store) add_roller_point(solution, r.x, r.y);
        }

        // Arrival: one pitch from the last strand roller, further along the
        // wheel in the running sense.
        Point2D x1, x2;
        if (!circle_circle_intersection(r.x, r.y, p, next.x, next.y, next.radius, x1, x2)) return laying_impossible;
        const double aq = angle_from_centre(next, q);
        const double sense = static_cast<double>(next.sense);
        const double e1 = normalise_angle_pm_pi(sense * (angle_from_centre(next, x1) - aq));
        const double e2 = normalise_angle_pm_pi(sense * (angle_from_centre(next, x2) - aq));
        r = e2 > e1 ? x2 : x1;
        ++count;
        if (store) add_roller_point(solution, r.x, r.y);
        const double arrival = angle_from_centre(next, r);

        if (leg == 2) {
            // Back on wheel 1: the seats up to roller 0 close the chain.
            const double gap = normalise_angle_0_2pi(theta0 - arrival);
            if (store) {
                const double closing = std::round(gap / dth1);
                for (double j = 1.0; j < closing; j += 1.0) {
                    const Point2D c = seat_point(w1, arrival + j * dth1);
                    add_roller_point(solution, c.x, c.y);
                }
            }
            return static_cast<double>(count) + gap / dth1;
        }

        // The idler's and wheel 2's seats pass through their arrival roller.
        next.phase = arrival;
        const PitchCircle& after = solution.circles[static_cast<std::size_t>((leg + 2) % 3)];
        const double dth = two_pi / static_cast<double>(next.teeth);
        double angle = arrival;
        for (std::int64_t steps = 1; roller_still_wraps(next, angle, after); ++steps) {
            if (steps > next.teeth) return laying_impossible;
            angle += sense * dth;
            r = seat_point(next, angle);
            if (++count > roller_guard) return laying_too_long;
            if (store) add_roller_point(solution, r.x, r.y);
        }
    }
    return laying_impossible;  // not reached: the third leg closes the chain
}
