#include "export/shape_list_2d.h"

#include <cmath>

#include "export/export.h"
#include "model/chain_size.h"
#include "model/geometry.h"
#include "model/outline.h"
#include "text/texts.h"

namespace {

// Thinning that no drawing or machine can see, while it drops most points of
// the finely stepped arcs.
constexpr double outline_tolerance = 0.001;

bool finite_shape(const Shape2D& shape)
{
    if (!std::isfinite(shape.cx) || !std::isfinite(shape.cy) || !std::isfinite(shape.r)) return false;
    for (const Point2D& q : shape.points)
        if (!std::isfinite(q.x) || !std::isfinite(q.y)) return false;
    return true;
}

void add_polyline(std::vector<Shape2D>& list, std::int64_t code, const Outline& outline)
{
    // A laid drive has no empty outline; a polyline without a point would
    // only trouble the readers.
    if (outline.empty()) return;
    Shape2D shape;
    shape.layer = code;
    shape.is_circle = 0;
    bool finite = true;
    for (const Point2D& q : outline)
        if (!std::isfinite(q.x) || !std::isfinite(q.y)) finite = false;
    // The thinning would quietly drop a point that is not a number (its
    // distance compares false) and hide the fault: such an outline is kept
    // whole, so that the check of the finished list refuses it.
    if (finite)
        simplify_closed_outline(outline, outline_tolerance, shape.points);
    else
        shape.points = outline;
    list.push_back(std::move(shape));
}

void add_chain(std::vector<Shape2D>& list, const DriveSolution& solution, const ChainSize& chain)
{
    const std::size_t n = solution.rollers.size();
    if (n == 0) return;
    Outline closed(solution.rollers);
    closed.push_back(solution.rollers[0]);

    Outline plate;
    for (std::size_t i = 0; i < n; ++i) {
        const std::int64_t code = link_is_inner(solution.link_parity, i) ? LayerInnerPlate : LayerOuterPlate;
        link_plate_outline(closed[i].x, closed[i].y, closed[i + 1].x, closed[i + 1].y, chain.plate_height, plate,
                           chain.pitch / 400.0);
        add_polyline(list, code, plate);
    }
    for (std::size_t i = 0; i < n; ++i) {
        add_circle_shape_2d(list, LayerRoller, closed[i].x, closed[i].y, chain.roller_diameter / 2.0);
        add_circle_shape_2d(list, LayerPin, closed[i].x, closed[i].y, chain.pin_diameter / 2.0);
    }
}

}  // namespace

std::string layer_name(std::int64_t code)
{
    switch (code) {
    case LayerZ1: return text::layer_z1;
    case LayerZ2: return text::layer_z2;
    case LayerIdler: return text::layer_idler;
    case LayerInnerPlate: return text::layer_inner_plate;
    case LayerOuterPlate: return text::layer_outer_plate;
    case LayerPin: return text::layer_pin;
    case LayerRoller: return text::layer_roller;
    case LayerBush: return text::layer_bush;
    default: return text::layer_pitch_circle;
    }
}

std::int64_t layer_colour_index(std::int64_t code)
{
    switch (code) {
    case LayerZ1: return 5;
    case LayerZ2: return 30;
    case LayerIdler: return 3;
    case LayerInnerPlate: return 8;
    case LayerOuterPlate: return 2;
    case LayerPin: return 7;
    case LayerRoller: return 9;
    case LayerBush: return 252;
    default: return 4;
    }
}

void add_circle_shape_2d(std::vector<Shape2D>& list, std::int64_t code, double cx, double cy, double r)
{
    if (!(r > 0.0)) return;
    Shape2D shape;
    shape.layer = code;
    shape.is_circle = 1;
    shape.cx = cx;
    shape.cy = cy;
    shape.r = r;
    list.push_back(std::move(shape));
}

void add_wheel_outline_shape_2d(std::vector<Shape2D>& list, std::int64_t code, const SprocketGeometry& geometry,
                                const PitchCircle& circle, double bore, std::int64_t pitch_circle)
{
    Outline placed;
    place_outline(geometry.outline, circle, placed);
    add_polyline(list, code, placed);
    add_circle_shape_2d(list, code, circle.x, circle.y, bore / 2.0);
    if (pitch_circle != 0) add_circle_shape_2d(list, LayerPitchCircle, circle.x, circle.y, circle.radius);
}

std::int64_t build_2d_shape_list(const DriveInput& input, const DriveSolution& solution,
                                 const DriveOptions& options, std::vector<Shape2D>& list)
{
    list.clear();
    if (solution.laid == 0 || input.size_index < 0 || input.size_index >= chain_size_count) {
        export_error_text = text::export_no_valid_drive;
        return 0;
    }
    load_chain_size_table();
    const ChainSize& chain = chain_sizes[static_cast<std::size_t>(input.size_index)];

    const std::int64_t scope = options.export_scope;
    const std::int64_t flag = options.export_pitch_circles;
    if (scope == ExportEverything || scope == ExportWheel1Only)
        add_wheel_outline_shape_2d(list, LayerZ1, solution.wheel1_geometry, solution.circles[Wheel1], options.bore1,
                                   flag);
    if (scope == ExportEverything || scope == ExportWheel2Only)
        add_wheel_outline_shape_2d(list, LayerZ2, solution.wheel2_geometry, solution.circles[Wheel2], options.bore2,
                                   flag);
    if (scope == ExportEverything || scope == ExportIdlerOnly)
        add_wheel_outline_shape_2d(list, LayerIdler, solution.idler_geometry, solution.circles[Idler],
                                   options.idler_bore, flag);
    if (scope == ExportEverything || scope == ExportChainOnly) add_chain(list, solution, chain);

    // A drive that went wrong somewhere (or a bore of "inf" in a project file)
    // must not reach a file as "nan" or "inf", which no reader takes; and a
    // scope that selects nothing would be an empty drawing with absurd extents.
    bool sound = !list.empty();
    for (const Shape2D& shape : list)
        if (!finite_shape(shape)) sound = false;
    if (!sound) {
        list.clear();
        export_error_text = text::export_no_valid_drive;
        return 0;
    }
    return 1;
}
