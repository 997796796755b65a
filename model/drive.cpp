#include "model/drive.h"

#include <cmath>

#include "model/chain_size.h"
#include "model/format.h"
#include "model/geometry.h"
#include "model/lay_chain.h"
#include "text/texts.h"

DriveInput drive_input;
DriveOptions drive_options;
DriveSolution drive_solution;

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
