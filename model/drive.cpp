#include "model/drive.h"

#include <cmath>

#include "model/chain_size.h"
#include "model/format.h"
#include "text/texts.h"

DriveInput drive_input;
DriveOptions drive_options;
DriveSolution drive_solution;

namespace {

constexpr double pi = 3.141592653589793;
constexpr double two_pi = 6.283185307179586;

}  // namespace

double centre_distance_for_links(double pitch, std::int64_t z1, std::int64_t z2, std::int64_t links)
{
    const double a = static_cast<double>(links) - static_cast<double>(z1 + z2) / 2.0;
    const double b = static_cast<double>(z2 - z1) / two_pi;
    const double d = a * a - 8.0 * b * b;
    if (a <= 0.0 || d < 0.0) return 0.0;
    return pitch / 4.0 * (a + std::sqrt(d));
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

std::int64_t round_up_links_even(double links)
{
    const double up = std::ceil(links - 1e-6);
    // A count outside any real chain must not reach the integer conversion.
    if (!(up > -1e15 && up < 1e15)) return 0;
    std::int64_t n = static_cast<std::int64_t>(up);
    if (n % 2 != 0) ++n;
    return n;
}

std::int64_t compute_drive(const DriveInput& input, DriveSolution& solution)
{
    load_chain_size_table();
    solution.valid = 0;
    solution.laid = 0;
    solution.error_text.clear();
    solution.warning_text.clear();
    solution.rollers.clear();

    if (input.size_index < 0 || input.size_index >= chain_size_count) {
        solution.error_text = text::unknown_chain_size;
        return 0;
    }
    // A project file can carry NaN or infinities; they would end in integer
    // conversions and NaN rollers further down.
    if (!std::isfinite(input.centre_distance) || !std::isfinite(input.idler_position) ||
        !std::isfinite(input.rotation)) {
        solution.error_text = text::no_valid_input;
        return 0;
    }

    const ChainSize& chain = chain_sizes[static_cast<std::size_t>(input.size_index)];
    const double p = chain.pitch;
    solution.pitch = p;

    struct Wheel {
        SprocketGeometry& geometry;
        std::int64_t teeth;
        const char* prefix;
    };
    const Wheel wheels[] = {{solution.wheel1_geometry, input.z1, text::prefix_wheel1},
                            {solution.wheel2_geometry, input.z2, text::prefix_wheel2},
                            {solution.idler_geometry, input.idler_teeth, text::prefix_idler}};
    for (const Wheel& w : wheels) {
        if (!build_sprocket(w.geometry, w.teeth, p, chain.roller_diameter, chain.inner_width, 0.0)) {
            solution.error_text = std::string(w.prefix) + w.geometry.error_text;
            return 0;
        }
    }

    const double a = input.centre_distance;
    const double minimum =
        (solution.wheel1_geometry.drawn_tip_diameter + solution.wheel2_geometry.drawn_tip_diameter) / 2.0;
    if (!(a > minimum)) {
        solution.error_text = text::fill(text::wheels_overlap, {format_fixed(minimum, 1)});
        return 0;
    }

    PitchCircle& w1 = solution.circles[Wheel1];
    w1.x = 0.0;
    w1.y = 0.0;
    w1.radius = solution.wheel1_geometry.pitch_diameter / 2.0;
    w1.sense = 1;
    w1.teeth = input.z1;
    PitchCircle& w2 = solution.circles[Wheel2];
    w2.x = a;
    w2.y = 0.0;
    w2.radius = solution.wheel2_geometry.pitch_diameter / 2.0;
    w2.sense = 1;
    w2.teeth = input.z2;
    PitchCircle& idler = solution.circles[Idler];
    idler.radius = solution.idler_geometry.pitch_diameter / 2.0;
    idler.teeth = input.idler_teeth;

    const double z1 = static_cast<double>(input.z1);
    const double z2 = static_cast<double>(input.z2);
    const double skew = (z2 - z1) / two_pi;
    solution.iso_links = 2.0 * a / p + (z1 + z2) / 2.0 + (p / a) * skew * skew;

    solution.valid = 1;
    return lay_chain(input, solution);
}
