#include "export/part_list_3d.h"

#include <algorithm>
#include <cmath>

#include "export/export.h"
#include "export/shape_list_2d.h"
#include "model/chain_size.h"
#include "model/format.h"
#include "model/geometry.h"
#include "text/texts.h"

namespace {

ExportPart& add_part(std::vector<ExportPart>& list, std::int64_t kind, std::int64_t layer, const std::string& name,
                     double z_low, double z_high)
{
    ExportPart& part = list.emplace_back();
    part.kind = kind;
    part.layer = layer;
    part.name = name;
    part.z_low = z_low;
    part.z_high = z_high;
    return part;
}

// A wheel from -thickness / 2 to +thickness / 2.
void add_wheel_part(std::vector<ExportPart>& list, std::int64_t layer, const std::string& name,
                    std::int64_t wheel_slot, double bore, double thickness)
{
    ExportPart& part = add_part(list, PartWheel, layer, name, -thickness / 2, thickness / 2);
    part.wheel_slot = wheel_slot;
    part.bore = bore;
}

void add_plate_part(std::vector<ExportPart>& list, std::int64_t layer, const std::string& name, double x1, double y1,
                    double x2, double y2, double plate_height, double hole_diameter, double z_low, double z_high)
{
    ExportPart& part = add_part(list, PartPlate, layer, name, z_low, z_high);
    part.x1 = x1;
    part.y1 = y1;
    part.x2 = x2;
    part.y2 = y2;
    part.plate_height = plate_height;
    part.plate_hole_diameter = hole_diameter;
}

void add_cylinder_part(std::vector<ExportPart>& list, std::int64_t layer, const std::string& name, double cx,
                       double cy, double outer_diameter, double inner_diameter, double z_low, double z_high)
{
    ExportPart& part = add_part(list, PartCylinder, layer, name, z_low, z_high);
    part.cx = cx;
    part.cy = cy;
    part.outer_diameter = outer_diameter;
    part.inner_diameter = inner_diameter;
}

bool finite_point(double x, double y)
{
    return std::isfinite(x) && std::isfinite(y);
}

// A drive that went wrong somewhere must not reach a file as "nan", nor a
// mesh whose circles and caps are made from it.
bool finite_drive(const DriveSolution& solution)
{
    for (const PitchCircle& circle : solution.circles)
        if (!finite_point(circle.x, circle.y) || !std::isfinite(circle.phase)) return false;
    for (const Point2D& roller : solution.rollers)
        if (!finite_point(roller.x, roller.y)) return false;
    return true;
}

void add_chain(std::vector<ExportPart>& list, const DriveInput& input, const DriveSolution& solution)
{
    const ChainSize& size = chain_sizes[static_cast<std::size_t>(input.size_index)];
    const double p = size.pitch;
    const double d1 = size.roller_diameter;
    const double b1 = size.inner_width;
    const double d2 = size.pin_diameter;
    const double h = size.plate_height;
    const double ti = size.inner_plate_thickness;
    const double to = size.outer_plate_thickness;
    const double db = chain_bush_diameter(input.size_index);
    const double e = std::max(0.08 * p, 0.5);  // how far a pin stands out beyond the outer plates
    const double c = 0.02 * b1;                // between a roller's end and the inner plate beside it

    const Outline& rollers = solution.rollers;
    const std::size_t n = rollers.size();
    list.reserve(list.size() + 5 * n);
    const std::string inner_plate = text::part_inner_plate;
    const std::string outer_plate = text::part_outer_plate;
    const std::string bush = text::part_bush;
    const std::string roller = text::part_roller;
    const std::string pin = text::part_pin;
    for (std::size_t i = 0; i < n; ++i) {
        const Point2D& a = rollers[i];
        const Point2D& b = rollers[(i + 1) % n];
        std::string number = " ";
        number += format_integer(static_cast<long long>(i + 1));
        // "Inner plate 1a": "a" for the +z plate and the first roller, "b" for the other.
        auto name = [&number](const std::string& kind, std::size_t j) {
            std::string text = kind;
            text += number;
            text += j == 0 ? "a" : "b";
            return text;
        };
        // Roller 0 already carries the cylinders of link 1 when the loop
        // closes on a link of the same kind.
        const std::size_t cylinders = (i + 1 == n && n % 2 == 1) ? 1 : 2;
        if (link_is_inner(solution.link_parity, i)) {
            add_plate_part(list, LayerInnerPlate, name(inner_plate, 0), a.x, a.y, b.x, b.y, h, db, b1 / 2,
                           b1 / 2 + ti);
            add_plate_part(list, LayerInnerPlate, name(inner_plate, 1), a.x, a.y, b.x, b.y, h, db, -b1 / 2 - ti,
                           -b1 / 2);
            for (std::size_t j = 0; j < cylinders; ++j) {
                const Point2D& k = j == 0 ? a : b;
                add_cylinder_part(list, LayerBush, name(bush, j), k.x, k.y, db, d2, -(b1 / 2 + ti), b1 / 2 + ti);
                add_cylinder_part(list, LayerRoller, name(roller, j), k.x, k.y, d1, db, -(b1 / 2 - c), b1 / 2 - c);
            }
        } else {
            add_plate_part(list, LayerOuterPlate, name(outer_plate, 0), a.x, a.y, b.x, b.y, h, d2, b1 / 2 + ti,
                           b1 / 2 + ti + to);
            add_plate_part(list, LayerOuterPlate, name(outer_plate, 1), a.x, a.y, b.x, b.y, h, d2,
                           -b1 / 2 - ti - to, -b1 / 2 - ti);
            const double reach = b1 / 2 + ti + to + e;
            for (std::size_t j = 0; j < cylinders; ++j) {
                const Point2D& k = j == 0 ? a : b;
                add_cylinder_part(list, LayerPin, name(pin, j), k.x, k.y, d2, 0.0, -reach, reach);
            }
        }
    }
}

}  // namespace

std::int64_t build_3d_part_list(const DriveInput& input, const DriveSolution& solution, const DriveOptions& options,
                                std::vector<ExportPart>& list)
{
    list.clear();
    export_error_text.clear();
    if (solution.laid == 0 || input.size_index < 0 || input.size_index >= chain_size_count ||
        !finite_drive(solution)) {
        export_error_text = text::export_no_valid_drive;
        return 0;
    }
    if (!check_export_bores(solution, options)) return 0;
    load_chain_size_table();

    const std::int64_t scope = options.export_scope;
    if (scope == ExportEverything || scope == ExportWheel1Only)
        add_wheel_part(list, LayerZ1, text::part_z1 + format_integer(input.z1), Wheel1, options.bore1,
                       solution.wheel1_geometry.tooth_width);
    if (scope == ExportEverything || scope == ExportWheel2Only)
        add_wheel_part(list, LayerZ2, text::part_z2 + format_integer(input.z2), Wheel2, options.bore2,
                       solution.wheel2_geometry.tooth_width);
    if (scope == ExportEverything || scope == ExportIdlerOnly)
        add_wheel_part(list, LayerIdler, text::part_idler + format_integer(input.idler_teeth), Idler,
                       options.idler_bore, solution.idler_geometry.tooth_width);
    if (scope == ExportEverything || scope == ExportChainOnly) add_chain(list, input, solution);
    return 1;
}
