#include "export/step_2d.h"

#include <cmath>

#include "export/export.h"
#include "files/path_name.h"
#include "export/shape_list_2d.h"
#include "export/step_file.h"
#include "model/format.h"
#include "model/outline.h"
#include "text/texts.h"

namespace {

// The control polygon's longest step: close enough to the outline that the
// smoothing of the cubic stays far below what a machine can cut.
constexpr double control_step = 0.25;
// The room the control polygon's arrays get beyond what they need, so that
// they grow in blocks rather than point by point.
constexpr std::size_t control_spare = 4097;

// Three points that are not one another: less is a point or a line to and
// fro, no outline.
bool three_distinct(const std::vector<double>& x, const std::vector<double>& y)
{
    const std::size_t n = x.size();
    std::size_t second = 1;
    while (second < n && same_outline_point(x[0], y[0], x[second], y[second])) ++second;
    for (std::size_t i = second + 1; i < n; ++i)
        if (!same_outline_point(x[0], y[0], x[i], y[i]) && !same_outline_point(x[second], y[second], x[i], y[i]))
            return true;
    return false;
}

}  // namespace

void circle_to_points(double cx, double cy, double r, Outline& points)
{
    points.clear();
    if (!(r > 0.0) || !std::isfinite(r)) return;
    circle_outline(cx, cy, r, 0.001, 24.0, 20000.0, points);
}

std::int64_t step_closed_bspline(const Outline& outline)
{
    for (const Point2D& q : outline)
        if (!std::isfinite(q.x) || !std::isfinite(q.y)) return 0;
    std::vector<double> x, y;
    distinct_outline_points(outline, x, y);
    const std::int64_t n = static_cast<std::int64_t>(x.size());
    if (n < 3 || !three_distinct(x, y)) return 0;
    const auto at = [n](std::int64_t i) { return static_cast<std::size_t>(((i % n) + n) % n); };

    std::vector<std::int64_t> corners;
    for (std::int64_t j = 0; j < n; ++j)
        if (outline_corner(x, y, n, j)) corners.push_back(j);
    if (corners.empty()) corners.push_back(0);
    const std::size_t segments = corners.size();
    corners.push_back(corners.front());

    // The control polygon, segment by segment from corner to corner; each
    // segment shares its first point with the end of the one before. Every
    // segment ends in a triple knot (a quadruple one at the curve's end),
    // which puts the curve through the corner.
    std::vector<double> control_x, control_y, piece_x, piece_y;
    std::size_t control = 0;
    std::string multiplicities = "4";
    std::int64_t knots = 1;
    for (std::size_t k = 0; k < segments; ++k) {
        const std::int64_t s = corners[k], e = corners[k + 1];
        const std::int64_t count = segments == 1 ? n + 1 : ((e - s + n) % n) + 1;
        double length = 0.0;
        for (std::int64_t i = 0; i + 1 < count; ++i) {
            const std::size_t h = at(s + i), g = at(s + i + 1);
            length += std::hypot(x[g] - x[h], y[g] - y[h]);
        }
        const double step = std::fmin(control_step, length / 3.0);
        const std::int64_t m = densify_segment(x, y, n, s, count, step, piece_x, piece_y);

        const std::size_t from = k == 0 ? 0 : 1;
        const std::size_t added = static_cast<std::size_t>(m) - from;
        if (control_x.size() < control + added) {
            control_x.resize(control + added + control_spare);
            control_y.resize(control + added + control_spare);
        }
        for (std::size_t i = from; i < static_cast<std::size_t>(m); ++i, ++control) {
            control_x[control] = piece_x[i];
            control_y[control] = piece_y[i];
        }
        // Each sub-edge is below a third of the segment, so m is at least 4.
        for (std::int64_t i = 0; i < m - 4; ++i) multiplicities += ",1";
        multiplicities += k + 1 == segments ? ",4" : ",3";
        knots += m - 3;
    }

    const std::int64_t first = step_entity_counter + 1;
    for (std::size_t i = 0; i < control; ++i) step_cartesian_point(control_x[i], control_y[i], 0.0);

    std::string curve = "B_SPLINE_CURVE_WITH_KNOTS('',3,(";
    curve.reserve(curve.size() + control * 8 + multiplicities.size() + static_cast<std::size_t>(knots) * 6 + 64);
    for (std::size_t i = 0; i < control; ++i) {
        if (i != 0) curve += ',';
        curve += '#';
        curve += format_integer(first + static_cast<std::int64_t>(i));
    }
    curve += "),.UNSPECIFIED.,.T.,.F.,(";
    curve += multiplicities;
    curve += "),(";
    for (std::int64_t k = 0; k < knots; ++k) {
        if (k != 0) curve += ',';
        curve += format_integer(k);
        curve += '.';
    }
    curve += "),.UNSPECIFIED.)";
    return step_add_entity(curve);
}

std::int64_t write_step_2d(const std::string& path, const DriveInput& input, const DriveSolution& solution,
                           const DriveOptions& options)
{
    export_error_text.clear();
    if (!check_2d_shapes(input, solution, options)) return 0;
    const std::string name = base_name_of(path);
    if (!step_begin(path, name, text::step_description_2d)) return 0;

    std::int64_t curves = 0;
    std::string sets;
    std::string layer_curves;
    Outline circle;
    // The curve sets go layer by layer; a plate is made only in its own
    // layer's walk, so the drawing is never held whole.
    for (std::int64_t layer = LayerZ1; layer <= LayerPitchCircle; ++layer) {
        layer_curves.clear();
        for_each_2d_shape(input, solution, options, layer, [&](const Shape2D& shape) {
            if (!export_file_ok(step_entity_store)) return;  // a full disk: the rest is not worth making
            if (shape.is_circle) circle_to_points(shape.cx, shape.cy, shape.r, circle);
            const std::int64_t curve = step_closed_bspline(shape.is_circle ? circle : shape.points);
            if (curve == 0) return;
            ++curves;
            if (!layer_curves.empty()) layer_curves += ',';
            layer_curves += step_ref(curve);
        });
        if (layer_curves.empty()) continue;
        const std::int64_t set =
            step_add_entity("GEOMETRIC_CURVE_SET('" + step_string(layer_name(layer)) + "',(" + layer_curves + "))");
        if (!sets.empty()) sets += ',';
        sets += step_ref(set);
    }
    if (curves == 0) {
        // Only specks: a representation without curves is no STEP model.
        step_discard();
        export_error_text = text::export_no_valid_drive;
        return 0;
    }
    const std::int64_t representation =
        step_add_entity("GEOMETRICALLY_BOUNDED_WIREFRAME_SHAPE_REPRESENTATION('" + step_string(name) + "',(" + sets +
                        ")," + step_ref(step_representation_context) + ")");
    step_add_entity("SHAPE_DEFINITION_REPRESENTATION(" + step_ref(step_shape_definition) + "," +
                    step_ref(representation) + ")");
    if (!step_write_file()) return 0;
    return curves;
}
