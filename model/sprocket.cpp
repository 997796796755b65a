#include "model/sprocket.h"

#include <algorithm>
#include <cmath>

#include "model/geometry.h"
#include "text/texts.h"

namespace {

std::int64_t count_at_least(double arc_length, double step, std::int64_t minimum)
{
    return std::max(minimum, static_cast<std::int64_t>(std::ceil(arc_length / step)));
}

// The diameters, radii and angles of z teeth for the chain's pitch, roller
// and inner width.
void set_tooth_dimensions(SprocketGeometry& g, double zd, double p, double d1, double b1)
{
    const double R = p / (2.0 * std::sin(pi / zd));
    g.pitch_diameter = 2.0 * R;
    g.root_diameter = g.pitch_diameter - d1;
    g.tip_diameter_min = g.pitch_diameter + p * (1.0 - 1.6 / zd) - d1;
    g.tip_diameter_max = g.pitch_diameter + 1.25 * p - d1;
    g.tip_diameter = (g.tip_diameter_min + g.tip_diameter_max) / 2.0;
    g.seating_radius = 0.505 * d1 + 0.0345 * std::cbrt(d1);
    g.flank_radius = 0.5 * (0.12 * d1 * (zd + 2.0) + 0.008 * d1 * (zd * zd + 180.0));
    g.seating_angle = (130.0 - 90.0 / zd) * radians_per_degree;
    g.tooth_width = (p <= 12.7 ? 0.93 : 0.95) * b1;
}

// The seat, round the roller's place on the pitch circle: from the bottom of
// the gap on +x to the end of the seat, half the seating angle on.
void add_seat_arc(const SprocketGeometry& g, double step, Outline& half)
{
    const double R = g.pitch_diameter / 2.0;
    const double ri = g.seating_radius;
    const double half_alpha = g.seating_angle / 2.0;
    const std::int64_t ns = count_at_least(ri * half_alpha, step, 4);
    half.reserve(static_cast<std::size_t>(ns + 1));
    for (std::int64_t i = 0; i <= ns; ++i) {
        double theta = half_alpha * static_cast<double>(i) / static_cast<double>(ns);
        half.push_back({R - ri * std::cos(theta), ri * std::sin(theta)});
    }
}

// The flank circle: centre (fx, fy), radius re, and (ux, uy) from the seat's
// centre to the end of the seat, as flank_arc_point takes them.
struct FlankCircle {
    double fx;
    double fy;
    double re;
    double ux;
    double uy;
};

// The flank circle touches the seat circle from outside at the end of the seat.
FlankCircle flank_circle(const SprocketGeometry& g)
{
    const double R = g.pitch_diameter / 2.0;
    const double ri = g.seating_radius;
    const double re = g.flank_radius;
    const double half_alpha = g.seating_angle / 2.0;
    const double ux = -std::cos(half_alpha);
    const double uy = std::sin(half_alpha);
    return {R + (ri + re) * ux, (ri + re) * uy, re, ux, uy};
}

// How far the flank turns before it reaches the tip circle or the tooth's
// centre line: stepped to the first angle past that, then the last step
// halved 60 times. 1 with the angle in phi_end, 0 when the flank has not got
// there after half a turn.
int flank_end_angle(const FlankCircle& f, double ra, double half_tau, double step, double& phi_end)
{
    const double dphi = std::min(step / f.re, 0.01);
    double lo = 0.0;
    double hi = 0.0;
    for (double phi = 0.0;;) {
        if (flank_limit_reached(f.fx, f.fy, f.re, f.ux, f.uy, phi + dphi, ra, half_tau)) {
            lo = phi;
            hi = phi + dphi;
            break;
        }
        phi += dphi;
        if (phi > pi) return 0;
    }
    for (int i = 0; i < 60; ++i) {
        double mid = (lo + hi) / 2.0;
        if (!flank_limit_reached(f.fx, f.fy, f.re, f.ux, f.uy, mid, ra, half_tau))
            lo = mid;
        else
            hi = mid;
    }
    phi_end = lo;
    return 1;
}

void add_flank_arc(const FlankCircle& f, double phi_end, double step, Outline& half)
{
    const std::int64_t nf = count_at_least(f.re * phi_end, step, 2);
    for (std::int64_t i = 1; i <= nf; ++i)
        half.push_back(flank_arc_point(f.fx, f.fy, f.re, f.ux, f.uy,
                                       phi_end * static_cast<double>(i) / static_cast<double>(nf)));
}

// The tip circle from the flank's end on to the tooth's centre line. A flank
// that ends on that line makes a pointed tooth, drawn as far out as the flank
// reaches.
void add_tip_arc(SprocketGeometry& g, double half_tau, double step, Outline& half)
{
    const double ra = g.tip_diameter / 2.0;
    const Point2D e = half.back();
    const double ae = std::atan2(e.y, e.x);
    if (ae >= half_tau - 1e-9) {
        g.pointed = 1;
        g.drawn_tip_diameter = 2.0 * std::hypot(e.x, e.y);
        return;
    }
    const std::int64_t nt = count_at_least((half_tau - ae) * ra, step, 1);
    for (std::int64_t i = 1; i <= nt; ++i) {
        double a = ae + (half_tau - ae) * static_cast<double>(i) / static_cast<double>(nt);
        half.push_back({ra * std::cos(a), ra * std::sin(a)});
    }
    g.drawn_tip_diameter = 2.0 * ra;
}

// Each gap: the mirrored half (without its two ends, which lie on the axis
// and on the previous gap's tooth line), then the half itself.
void lay_out_gaps(const Outline& half, std::int64_t z, double tau, Outline& outline)
{
    const std::size_t m = half.size();
    outline.reserve(static_cast<std::size_t>(z) * (2 * m - 2));
    for (std::int64_t k = 0; k < z; ++k) {
        const double c = std::cos(static_cast<double>(k) * tau);
        const double s = std::sin(static_cast<double>(k) * tau);
        for (std::size_t i = m - 2; i >= 1; --i) {
            const Point2D& h = half[i];
            outline.push_back({h.x * c + h.y * s, h.x * s - h.y * c});
        }
        for (const Point2D& h : half) outline.push_back({h.x * c - h.y * s, h.x * s + h.y * c});
    }
}

}  // namespace

Point2D flank_arc_point(double fx, double fy, double re, double ux, double uy, double phi)
{
    double c = std::cos(phi);
    double s = std::sin(phi);
    return {fx + re * (-ux * c + uy * s), fy + re * (-ux * s - uy * c)};
}

int flank_limit_reached(double fx, double fy, double re, double ux, double uy, double phi,
                        double tip_radius, double half_tooth_angle)
{
    Point2D q = flank_arc_point(fx, fy, re, ux, uy, phi);
    if (std::hypot(q.x, q.y) >= tip_radius) return 1;
    return std::atan2(q.y, q.x) >= half_tooth_angle ? 1 : 0;
}

int build_sprocket(SprocketGeometry& g, std::int64_t z, double p, double d1, double b1, double step)
{
    g.outline.clear();
    g.valid = 0;
    g.error_text.clear();
    g.pointed = 0;
    g.teeth = z;
    g.pitch = p;
    g.roller_diameter = d1;

    if (z < 6 || z > 250) {
        g.error_text = text::teeth_out_of_range;
        return 0;
    }
    // Written so that NaN dimensions fail here too.
    if (!(p > 0.0) || !(d1 > 0.0) || !(p > d1)) {
        g.error_text = text::invalid_chain_dimensions;
        return 0;
    }
    if (step <= 0.0) step = p / 200.0;

    const double zd = static_cast<double>(z);
    const double tau = two_pi / zd;
    const double half_tau = tau / 2.0;
    set_tooth_dimensions(g, zd, p, d1, b1);

    // Half profile: from the bottom of the gap on +x up to the next tooth's centre line.
    Outline half;
    add_seat_arc(g, step, half);
    const FlankCircle flank = flank_circle(g);
    double phi_end = 0.0;
    if (!flank_end_angle(flank, g.tip_diameter / 2.0, half_tau, step, phi_end)) {
        g.error_text = text::tooth_form_failed;
        return 0;
    }
    add_flank_arc(flank, phi_end, step, half);
    add_tip_arc(g, half_tau, step, half);

    lay_out_gaps(half, z, tau, g.outline);
    g.valid = 1;
    return 1;
}
