#include "export/shape_list_2d.h"

#include <cmath>
#include <functional>

#include "export/export.h"
#include "model/chain_size.h"
#include "model/format.h"
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

// Thins a plate or wheel outline into the shape's points. The thinning would
// quietly drop a point that is not a number (its distance compares false) and
// hide the fault: such an outline is kept whole, so that the check refuses it.
void set_outline(Shape2D& shape, const Outline& outline)
{
    bool finite = true;
    for (const Point2D& q : outline)
        if (!std::isfinite(q.x) || !std::isfinite(q.y)) finite = false;
    if (finite)
        simplify_closed_outline(outline, outline_tolerance, shape.points);
    else
        shape.points = outline;
}

void set_circle(Shape2D& shape, std::int64_t code, double cx, double cy, double r)
{
    shape.layer = code;
    shape.is_circle = 1;
    shape.cx = cx;
    shape.cy = cy;
    shape.r = r;
    shape.points.clear();
}

// One shape object serves the whole walk, so that its points keep their
// memory from plate to plate.
struct ShapeWalk {
    std::int64_t layer;  // -1: every layer
    const std::function<void(const Shape2D&)>& visit;
    Shape2D shape;
    Outline work;

    bool wanted(std::int64_t code) const { return layer < 0 || layer == code; }

    void circle(std::int64_t code, double cx, double cy, double r)
    {
        if (!(r > 0.0) || !wanted(code)) return;
        set_circle(shape, code, cx, cy, r);
        visit(shape);
    }

    // A laid drive has no empty outline; a polyline without a point would
    // only trouble the readers.
    void polyline(std::int64_t code)
    {
        if (work.empty()) return;
        shape.layer = code;
        shape.is_circle = 0;
        shape.cx = shape.cy = shape.r = 0.0;
        set_outline(shape, work);
        visit(shape);
    }

    void wheel(std::int64_t code, const SprocketGeometry& geometry, const PitchCircle& circle, double bore,
               std::int64_t pitch_circle)
    {
        if (wanted(code)) {
            place_outline(geometry.outline, circle, work);
            polyline(code);
        }
        this->circle(code, circle.x, circle.y, bore / 2.0);
        if (pitch_circle != 0) this->circle(LayerPitchCircle, circle.x, circle.y, circle.radius);
    }

    void chain(const DriveSolution& solution, const ChainSize& size)
    {
        const Outline& rollers = solution.rollers;
        const std::size_t n = rollers.size();
        for (std::size_t i = 0; i < n; ++i) {
            const std::int64_t code = link_is_inner(solution.link_parity, i) ? LayerInnerPlate : LayerOuterPlate;
            if (!wanted(code)) continue;
            const Point2D& a = rollers[i];
            const Point2D& b = rollers[(i + 1) % n];
            link_plate_outline(a.x, a.y, b.x, b.y, size.plate_height, work, size.pitch / 400.0);
            polyline(code);
        }
        for (const Point2D& r : rollers) {
            circle(LayerRoller, r.x, r.y, size.roller_diameter / 2.0);
            circle(LayerPin, r.x, r.y, size.pin_diameter / 2.0);
        }
    }
};

bool known_drive(const DriveInput& input, const DriveSolution& solution)
{
    return solution.laid != 0 && input.size_index >= 0 && input.size_index < chain_size_count;
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

LayerTexts::LayerTexts()
{
    for (std::size_t code = 0; code < name.size(); ++code) {
        name[code] = layer_name(static_cast<std::int64_t>(code));
        colour[code] = format_integer(layer_colour_index(static_cast<std::int64_t>(code)));
    }
}

std::size_t LayerTexts::slot(std::int64_t code) const
{
    if (code >= 0 && code < static_cast<std::int64_t>(name.size())) return static_cast<std::size_t>(code);
    return static_cast<std::size_t>(LayerPitchCircle);
}

void add_circle_shape_2d(std::vector<Shape2D>& list, std::int64_t code, double cx, double cy, double r)
{
    if (!(r > 0.0)) return;
    Shape2D shape;
    set_circle(shape, code, cx, cy, r);
    list.push_back(std::move(shape));
}

std::int64_t for_each_2d_shape(const DriveInput& input, const DriveSolution& solution, const DriveOptions& options,
                               std::int64_t layer, const std::function<void(const Shape2D&)>& visit)
{
    if (!known_drive(input, solution)) {
        export_error_text = text::export_no_valid_drive;
        return 0;
    }
    load_chain_size_table();
    const ChainSize& chain = chain_sizes[static_cast<std::size_t>(input.size_index)];

    ShapeWalk walk{layer, visit, {}, {}};
    const std::int64_t scope = options.export_scope;
    const std::int64_t flag = options.export_pitch_circles;
    if (scope == ExportEverything || scope == ExportWheel1Only)
        walk.wheel(LayerZ1, solution.wheel1_geometry, solution.circles[Wheel1], options.bore1, flag);
    if (scope == ExportEverything || scope == ExportWheel2Only)
        walk.wheel(LayerZ2, solution.wheel2_geometry, solution.circles[Wheel2], options.bore2, flag);
    if (scope == ExportEverything || scope == ExportIdlerOnly)
        walk.wheel(LayerIdler, solution.idler_geometry, solution.circles[Idler], options.idler_bore, flag);
    if (scope == ExportEverything || scope == ExportChainOnly) walk.chain(solution, chain);
    return 1;
}

std::int64_t check_2d_shapes(const DriveInput& input, const DriveSolution& solution, const DriveOptions& options,
                             const std::function<void(const Shape2D&)>& also)
{
    // A drive that went wrong somewhere (or a bore of "inf" in a project file)
    // must not reach a file as "nan" or "inf", which no reader takes; and a
    // scope that selects nothing would be an empty drawing with absurd extents.
    std::int64_t count = 0;
    bool finite = true;
    const std::int64_t walked = for_each_2d_shape(input, solution, options, -1, [&](const Shape2D& shape) {
        ++count;
        if (!finite_shape(shape)) finite = false;
        if (also) also(shape);
    });
    if (!walked) return 0;
    if (count == 0 || !finite) {
        export_error_text = text::export_no_valid_drive;
        return 0;
    }
    return check_export_bores(solution, options);
}

std::int64_t build_2d_shape_list(const DriveInput& input, const DriveSolution& solution,
                                 const DriveOptions& options, std::vector<Shape2D>& list)
{
    list.clear();
    if (!check_2d_shapes(input, solution, options)) return 0;
    for_each_2d_shape(input, solution, options, -1, [&list](const Shape2D& shape) { list.push_back(shape); });
    return 1;
}
