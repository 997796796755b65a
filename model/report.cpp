#include "model/report.h"

#include "model/chain_size.h"
#include "model/format.h"
#include "model/geometry.h"
#include "text/texts.h"

namespace {

std::string F(int decimals, double value) { return format_fixed(value, decimals); }

}  // namespace

std::string format_wheel_report(const std::string& title, const SprocketGeometry& g, const PitchCircle& circle,
                                bool laid)
{
    std::string out = title + "\n";
    out += "  z = " + format_integer(g.teeth) + "   d = " + F(3, g.pitch_diameter) + "   df = " + F(3, g.root_diameter) +
           "\n";
    out += "  da = " + F(2, g.tip_diameter) + "  (" + F(2, g.tip_diameter_min) + " .. " + F(2, g.tip_diameter_max) +
           ")";
    if (g.pointed) out += text::report_pointed + F(2, g.drawn_tip_diameter);
    out += "\n";
    out += "  ri = " + F(3, g.seating_radius) + "   re = " + F(2, g.flank_radius) +
           "   \u03b1 = " + F(2, g.seating_angle * degrees_per_radian) + "\u00b0\n";
    out += text::report_tooth_width + F(2, g.tooth_width);
    if (laid) out += text::report_wrap + F(1, circle.wrap * degrees_per_radian) + "\u00b0";
    out += "\n\n";
    return out;
}

std::string build_report_text(const DriveInput& input, const DriveOptions& options, const DriveSolution& solution)
{
    load_chain_size_table();
    std::string out;
    if (input.size_index >= 0 && input.size_index < chain_size_count) {
        const ChainSize& c = chain_sizes[static_cast<std::size_t>(input.size_index)];
        out += text::report_chain + chain_size_label(input.size_index) + "  ISO 606 / DIN 8187\n";
        out += "  p = " + F(3, c.pitch) + "   d1 = " + F(2, c.roller_diameter) + "   b1 = " + F(2, c.inner_width) + "\n";
        out += "  d2 = " + F(2, c.pin_diameter) + "   h = " + F(2, c.plate_height) + "\n\n";
    }

    const bool laid = solution.laid != 0;
    if (solution.valid) {
        out += format_wheel_report(text::report_wheel1, solution.wheel1_geometry, solution.circles[Wheel1], laid);
        out += format_wheel_report(text::report_wheel2, solution.wheel2_geometry, solution.circles[Wheel2], laid);
        out += format_wheel_report(text::report_idler, solution.idler_geometry, solution.circles[Idler], laid);
        out += text::report_ratio + F(4, static_cast<double>(input.z2) / static_cast<double>(input.z1)) + "\n";
        out += text::report_iso_links + F(2, solution.iso_links) + "\n";
    }

    if (laid) {
        out += text::report_tight_links + F(2, solution.tight_links) + "\n";
        out += text::report_chosen_links + format_integer(solution.chosen_links) + "\n";
        out += text::report_chain_length + F(1, static_cast<double>(solution.chosen_links) * solution.pitch) + " mm\n";
        if (solution.centre_distance_without_idler > 0.0)
            out += text::report_centre_distance_without_idler + F(2, solution.centre_distance_without_idler) + " mm\n";
        out += text::report_idler_deflection + F(2, solution.idler_deflection) + " mm\n";
        const PitchCircle& idler = solution.circles[Idler];
        out += text::report_idler_at + F(2, idler.x) + ", " + F(2, idler.y) + "\n";
    }

    if (!solution.error_text.empty()) out += text::report_error + solution.error_text + "\n";

    std::string notes = solution.warning_text;
    if (solution.valid) {
        // A bore wider than 0.8 of the root circle leaves too little hub.
        if (options.bore1 > 0.0 && options.bore1 > 0.8 * solution.wheel1_geometry.root_diameter)
            notes += text::report_bore1_too_large;
        if (bore_too_small(options.bore1)) notes += text::report_bore1_too_small;
        if (options.bore2 > 0.0 && options.bore2 > 0.8 * solution.wheel2_geometry.root_diameter)
            notes += text::report_bore2_too_large;
        if (bore_too_small(options.bore2)) notes += text::report_bore2_too_small;
        if (options.idler_bore > 0.0 && options.idler_bore > 0.8 * solution.idler_geometry.root_diameter)
            notes += text::report_idler_bore_too_large;
        if (bore_too_small(options.idler_bore)) notes += text::report_idler_bore_too_small;
    }
    if (!notes.empty()) out += text::report_note + notes;
    return out;
}
