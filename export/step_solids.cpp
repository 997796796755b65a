#include "export/step_solids.h"

#include <cmath>
#include <initializer_list>

#include "export/export.h"
#include "export/export_file.h"
#include "export/part_list_3d.h"
#include "files/path_name.h"
#include "export/step_file.h"
#include "model/chain_size.h"
#include "model/geometry.h"
#include "model/outline.h"
#include "text/texts.h"

namespace {

std::string num(double value)
{
    return format_export_number(value);
}

std::string ref(std::int64_t number)
{
    return step_ref(number);
}

const char* sense(bool same)
{
    return same ? ".T." : ".F.";
}

std::int64_t add_edge_curve(std::int64_t from, std::int64_t to, std::int64_t curve)
{
    return step_add_entity("EDGE_CURVE(''," + ref(from) + "," + ref(to) + "," + ref(curve) + ",.T.)");
}

std::int64_t add_line(std::int64_t point, std::int64_t vector)
{
    return step_add_entity("LINE(''," + ref(point) + "," + ref(vector) + ")");
}

std::int64_t add_vector(std::int64_t direction, double length)
{
    return step_add_entity("VECTOR(''," + ref(direction) + "," + num(length) + ")");
}

// The EDGE_LOOP of the oriented edges and its bound, outer or inner.
std::int64_t add_bound(std::initializer_list<std::int64_t> oriented, bool outer)
{
    std::string loop = "EDGE_LOOP('',(";
    for (const std::int64_t o : oriented) {
        if (loop.back() != '(') loop += ',';
        loop += ref(o);
    }
    const std::int64_t l = step_add_entity(loop + "))");
    return step_add_entity((outer ? "FACE_OUTER_BOUND(''," : "FACE_BOUND(''," ) + ref(l) + ",.T.)");
}

std::int64_t add_face(const std::string& bounds, std::int64_t surface, bool same)
{
    return step_add_entity("ADVANCED_FACE('',(" + bounds + ")," + ref(surface) + "," + sense(same) + ")");
}

// A flat end face at height z on a plane placed at (x, y, z); the bottom one
// looks down (sense .F.), the top one up.
std::int64_t add_end_face(double x, double y, double z, std::int64_t dz, std::int64_t dx, const std::string& bounds,
                          bool top)
{
    const std::int64_t placement = step_axis2_placement(x, y, z, dz, dx);
    const std::int64_t plane = step_add_entity("PLANE(''," + ref(placement) + ")");
    return add_face(bounds, plane, top);
}

std::int64_t add_solid(const std::string& faces, const std::string& name)
{
    const std::int64_t shell = step_add_entity("CLOSED_SHELL('',(" + faces + "))");
    return step_add_entity("MANIFOLD_SOLID_BREP('" + step_string(name) + "'," + ref(shell) + ")");
}

std::int64_t add_axis_directions(std::int64_t& dx)
{
    const std::int64_t dz = step_add_entity("DIRECTION('',(0.,0.,1.))");
    dx = step_add_entity("DIRECTION('',(1.,0.,0.))");
    return dz;
}

}  // namespace

void step_cylinder_faces(double cx, double cy, double r, double z_low, double z_high, std::int64_t outward,
                         std::int64_t axis_direction, std::int64_t ref_direction, CylinderFaces& result)
{
    const std::int64_t v = add_vector(axis_direction, z_high - z_low);
    const std::int64_t a0 = step_vertex_point(cx + r, cy, z_low);
    const std::int64_t b0 = step_vertex_point(cx - r, cy, z_low);
    const std::int64_t a1 = step_vertex_point(cx + r, cy, z_high);
    const std::int64_t b1 = step_vertex_point(cx - r, cy, z_high);
    const auto circle = [&](double z) {
        const std::int64_t placement = step_axis2_placement(cx, cy, z, axis_direction, ref_direction);
        return step_add_entity("CIRCLE(''," + ref(placement) + "," + num(r) + ")");
    };
    const std::int64_t k0 = circle(z_low);
    const std::int64_t k1 = circle(z_high);
    const std::int64_t e1 = add_edge_curve(a0, b0, k0);
    const std::int64_t e2 = add_edge_curve(b0, a0, k0);
    const std::int64_t e3 = add_edge_curve(a1, b1, k1);
    const std::int64_t e4 = add_edge_curve(b1, a1, k1);
    const auto seam = [&](double x, std::int64_t from, std::int64_t to) {
        const std::int64_t line = add_line(step_cartesian_point(x, cy, z_low), v);
        return add_edge_curve(from, to, line);
    };
    const std::int64_t s0 = seam(cx + r, a0, a1);
    const std::int64_t s1 = seam(cx - r, b0, b1);
    const std::int64_t placement = step_axis2_placement(cx, cy, z_low, axis_direction, ref_direction);
    const std::int64_t surface = step_add_entity("CYLINDRICAL_SURFACE(''," + ref(placement) + "," + num(r) + ")");

    // Every edge is used twice, once each way: a seam by the two halves, an
    // arc by its half and by the loop of its end face. With the material
    // outside, the loops run the other way and the faces look at the axis.
    const bool out = outward != 0;
    const auto o = [](std::int64_t edge, bool same) { return step_oriented_edge(edge, same ? 1 : 0); };
    const auto half = [&](std::int64_t o1, std::int64_t o2, std::int64_t o3, std::int64_t o4) {
        return add_face(ref(add_bound({o1, o2, o3, o4}, true)), surface, out);
    };
    std::int64_t first = 0;
    std::int64_t second = 0;
    if (out) {
        const std::int64_t o1 = o(e1, true), o2 = o(s1, true), o3 = o(e3, false), o4 = o(s0, false);
        first = half(o1, o2, o3, o4);
        const std::int64_t p1 = o(e2, true), p2 = o(s0, true), p3 = o(e4, false), p4 = o(s1, false);
        second = half(p1, p2, p3, p4);
        const std::int64_t b1o = o(e2, false), b2o = o(e1, false);
        result.bottom_bound = add_bound({b1o, b2o}, true);
        const std::int64_t t1o = o(e3, true), t2o = o(e4, true);
        result.top_bound = add_bound({t1o, t2o}, true);
    } else {
        const std::int64_t o1 = o(e1, false), o2 = o(s0, true), o3 = o(e3, true), o4 = o(s1, false);
        first = half(o1, o2, o3, o4);
        const std::int64_t p1 = o(e2, false), p2 = o(s1, true), p3 = o(e4, true), p4 = o(s0, false);
        second = half(p1, p2, p3, p4);
        const std::int64_t b1o = o(e1, true), b2o = o(e2, true);
        result.bottom_bound = add_bound({b1o, b2o}, false);
        const std::int64_t t1o = o(e4, false), t2o = o(e3, false);
        result.top_bound = add_bound({t1o, t2o}, false);
    }
    result.face_refs = "," + ref(first) + "," + ref(second);
}

std::int64_t step_tube_solid(double cx, double cy, double outer_diameter, double inner_diameter, double z_low,
                             double z_high, const std::string& name)
{
    std::int64_t dx = 0;
    const std::int64_t dz = add_axis_directions(dx);
    CylinderFaces side;
    step_cylinder_faces(cx, cy, outer_diameter / 2.0, z_low, z_high, 1, dz, dx, side);
    std::string faces = side.face_refs.substr(1);
    std::string bottom = ref(side.bottom_bound);
    std::string top = ref(side.top_bound);
    if (inner_diameter > 0.0) {
        step_cylinder_faces(cx, cy, inner_diameter / 2.0, z_low, z_high, 0, dz, dx, side);
        faces += side.face_refs;
        bottom += "," + ref(side.bottom_bound);
        top += "," + ref(side.top_bound);
    }
    faces += "," + ref(add_end_face(cx, cy, z_low, dz, dx, bottom, false));
    faces += "," + ref(add_end_face(cx, cy, z_high, dz, dx, top, true));
    return add_solid(faces, name);
}

std::int64_t split_profile_at_corners(const std::vector<double>& x, const std::vector<double>& y, std::int64_t n,
                                      std::vector<std::int64_t>& breaks)
{
    std::vector<bool> corner(static_cast<std::size_t>(n), false);
    std::int64_t first_corner = -1;
    for (std::int64_t i = 0; i < n; ++i) {
        corner[static_cast<std::size_t>(i)] = outline_corner(x, y, n, i);
        if (corner[static_cast<std::size_t>(i)] && first_corner < 0) first_corner = i;
    }
    const std::int64_t s = first_corner < 0 ? 0 : first_corner;
    breaks.assign(static_cast<std::size_t>(n) + 1, 0);
    std::int64_t m = 0;
    breaks[static_cast<std::size_t>(m++)] = s;
    std::int64_t last = 0;
    for (std::int64_t j = 1; j < n; ++j) {
        const std::int64_t idx = (s + j) % n;
        // No face runs over more than 200 edges, and an outline without a
        // corner still gets three faces.
        const bool cut = corner[static_cast<std::size_t>(idx)] || j - last >= 200 || (j == n / 3 && last == 0) ||
                         (j == (2 * n) / 3 && last <= n / 3);
        if (!cut) continue;
        breaks[static_cast<std::size_t>(m++)] = idx;
        last = j;
    }
    breaks[static_cast<std::size_t>(m)] = breaks[0];
    return m;
}

namespace {

// The prism being written: the distinct points of its outline, the breaks
// that cut its side into runs (breaks[m] = breaks[0]), its two heights and
// the VECTOR from the bottom to the top.
struct Prism {
    const std::vector<double>& x;
    const std::vector<double>& y;
    std::int64_t n;
    const std::vector<std::int64_t>& breaks;
    std::int64_t m;
    double z_low;
    double z_high;
    std::int64_t vz;
};

// Entities at each break k of a prism's side; entry m repeats entry 0, so
// that run k goes from entry k to entry k + 1.
struct SideBreaks {
    std::vector<std::int64_t> bottom;   // VERTEX_POINT at z_low
    std::vector<std::int64_t> top;      // VERTEX_POINT at z_high
    std::vector<std::int64_t> upright;  // EDGE_CURVE from bottom to top
};

// The vertices at the breaks, and the upright edge at each of them.
SideBreaks add_side_breaks(const Prism& prism)
{
    const std::size_t m = static_cast<std::size_t>(prism.m);
    SideBreaks at{std::vector<std::int64_t>(m + 1), std::vector<std::int64_t>(m + 1), std::vector<std::int64_t>(m + 1)};
    for (std::size_t k = 0; k < m; ++k) {
        const std::size_t i = static_cast<std::size_t>(prism.breaks[k]);
        const std::int64_t low = step_cartesian_point(prism.x[i], prism.y[i], prism.z_low);
        at.bottom[k] = step_add_entity("VERTEX_POINT(''," + ref(low) + ")");
        const std::int64_t high = step_cartesian_point(prism.x[i], prism.y[i], prism.z_high);
        at.top[k] = step_add_entity("VERTEX_POINT(''," + ref(high) + ")");
        at.upright[k] = add_edge_curve(at.bottom[k], at.top[k], add_line(low, prism.vz));
    }
    at.bottom.back() = at.bottom.front();
    at.top.back() = at.top.front();
    at.upright.back() = at.upright.front();
    return at;
}

// The curves along the bottom and the top of one run of the side, and the
// surface they bound.
struct SideRun {
    std::int64_t curve_low = 0;
    std::int64_t curve_high = 0;
    std::int64_t surface = 0;
};

// A run of a single edge, from point ia to point ib: two lines and a plane.
SideRun add_flat_run(const Prism& prism, std::size_t ia, std::size_t ib)
{
    const std::vector<double>& x = prism.x;
    const std::vector<double>& y = prism.y;
    const double ddx = x[ib] - x[ia];
    const double ddy = y[ib] - y[ia];
    const double length = std::hypot(ddx, ddy);
    const double ux = ddx / length;
    const double uy = ddy / length;
    SideRun run;
    const std::int64_t d = step_add_entity("DIRECTION('',(" + num(ux) + "," + num(uy) + ",0.))");
    const std::int64_t p0 = step_cartesian_point(x[ia], y[ia], prism.z_low);
    run.curve_low = add_line(p0, add_vector(d, length));
    const std::int64_t p1 = step_cartesian_point(x[ia], y[ia], prism.z_high);
    run.curve_high = add_line(p1, add_vector(d, length));
    const std::int64_t p2 = step_cartesian_point(x[ia], y[ia], prism.z_low);
    const std::int64_t normal = step_add_entity("DIRECTION('',(" + num(uy) + "," + num(-ux) + ",0.))");
    const std::int64_t placement =
        step_add_entity("AXIS2_PLACEMENT_3D(''," + ref(p2) + "," + ref(normal) + "," + ref(d) + ")");
    run.surface = step_add_entity("PLANE(''," + ref(placement) + ")");
    return run;
}

// A run of `count` points from point a on: a B-spline laid on it at each
// height, and the extrusion of the bottom one. cx, cy are the work arrays of
// the densified run, kept from run to run.
SideRun add_curved_run(const Prism& prism, std::int64_t a, std::int64_t count, std::vector<double>& cx,
                       std::vector<double>& cy)
{
    SideRun run;
    const std::int64_t q = densify_segment(prism.x, prism.y, prism.n, a, count, 0.25, cx, cy);
    run.curve_low = step_open_bspline(cx, cy, q, prism.z_low);
    run.curve_high = step_open_bspline(cx, cy, q, prism.z_high);
    run.surface = step_add_entity("SURFACE_OF_LINEAR_EXTRUSION(''," + ref(run.curve_low) + "," + ref(prism.vz) + ")");
    return run;
}

// The side, run by run: a plane for a single edge, else the extrusion of
// a B-spline laid on the run. A loop along the bottom edge in the
// outline's direction, up at its end, back along the top and down at its
// start looks out of a counter-clockwise outline. Returns the faces'
// references, comma-separated, with the edges along the bottom and the top
// of each run in bottom_edges and top_edges.
std::string add_side_faces(const Prism& prism, const SideBreaks& at, std::vector<std::int64_t>& bottom_edges,
                           std::vector<std::int64_t>& top_edges)
{
    const std::int64_t n = prism.n;
    bottom_edges.assign(static_cast<std::size_t>(prism.m), 0);
    top_edges.assign(static_cast<std::size_t>(prism.m), 0);
    std::vector<double> cx;
    std::vector<double> cy;
    cx.reserve(1025);
    cy.reserve(1025);
    std::string faces;
    for (std::int64_t k = 0; k < prism.m; ++k) {
        const std::size_t sk = static_cast<std::size_t>(k);
        const std::int64_t a = prism.breaks[sk];
        const std::int64_t b = prism.breaks[sk + 1];
        const std::int64_t count = ((b - a + n) % n) + 1;
        const SideRun run = count == 2 ? add_flat_run(prism, static_cast<std::size_t>(a), static_cast<std::size_t>(b))
                                       : add_curved_run(prism, a, count, cx, cy);
        bottom_edges[sk] = add_edge_curve(at.bottom[sk], at.bottom[sk + 1], run.curve_low);
        top_edges[sk] = add_edge_curve(at.top[sk], at.top[sk + 1], run.curve_high);
        const std::int64_t o1 = step_oriented_edge(bottom_edges[sk], 1);
        const std::int64_t o2 = step_oriented_edge(at.upright[sk + 1], 1);
        const std::int64_t o3 = step_oriented_edge(top_edges[sk], 0);
        const std::int64_t o4 = step_oriented_edge(at.upright[sk], 0);
        const std::int64_t face = add_face(ref(add_bound({o1, o2, o3, o4}, true)), run.surface, true);
        if (!faces.empty()) faces += ',';
        faces += ref(face);
    }
    return faces;
}

// The outer loop of an end face, over the m edges along the side's bottom or
// top: clockwise seen from above at the bottom, counter-clockwise at the top.
// Returns its FACE_OUTER_BOUND.
std::int64_t add_end_loop(const std::vector<std::int64_t>& edges, std::int64_t m, bool top)
{
    std::string loop = "EDGE_LOOP('',(";
    for (std::int64_t k = 0; k < m; ++k) {
        const std::size_t i = static_cast<std::size_t>(top ? k : m - 1 - k);
        if (k != 0) loop += ',';
        loop += ref(step_oriented_edge(edges[i], top ? 1 : 0));
    }
    const std::int64_t l = step_add_entity(loop + "))");
    return step_add_entity("FACE_OUTER_BOUND(''," + ref(l) + ",.T.)");
}

}  // namespace

std::int64_t step_extruded_profile_solid(const Outline& outline, const std::vector<double>& bore_x,
                                         const std::vector<double>& bore_y, const std::vector<double>& bore_diameter,
                                         std::int64_t bore_count, double z_low, double z_high, const std::string& name)
{
    std::vector<double> x;
    std::vector<double> y;
    distinct_outline_points(outline, x, y);
    const std::int64_t n = static_cast<std::int64_t>(x.size());
    if (n < 3) return 0;
    std::vector<std::int64_t> breaks;
    const std::int64_t m = split_profile_at_corners(x, y, n, breaks);

    std::int64_t dx = 0;
    const std::int64_t dz = add_axis_directions(dx);
    const std::int64_t vz = add_vector(dz, z_high - z_low);
    const Prism prism{x, y, n, breaks, m, z_low, z_high, vz};

    const SideBreaks at = add_side_breaks(prism);
    std::vector<std::int64_t> bottom_edges;
    std::vector<std::int64_t> top_edges;
    std::string faces = add_side_faces(prism, at, bottom_edges, top_edges);
    std::string bottom = ref(add_end_loop(bottom_edges, m, false));
    std::string top = ref(add_end_loop(top_edges, m, true));

    CylinderFaces hole;
    for (std::int64_t j = 0; j < bore_count; ++j) {
        const std::size_t sj = static_cast<std::size_t>(j);
        if (!(bore_diameter[sj] > 0.0)) continue;
        step_cylinder_faces(bore_x[sj], bore_y[sj], bore_diameter[sj] / 2.0, z_low, z_high, 0, dz, dx, hole);
        faces += hole.face_refs;
        // Appended apart: "," + a temporary here makes GCC 12 see an
        // overlapping copy that cannot happen (-Wrestrict).
        bottom.append(",").append(ref(hole.bottom_bound));
        top.append(",").append(ref(hole.top_bound));
    }
    faces += "," + ref(add_end_face(0.0, 0.0, z_low, dz, dx, bottom, false));
    faces += "," + ref(add_end_face(0.0, 0.0, z_high, dz, dx, top, true));
    return add_solid(faces, name);
}

std::int64_t write_step_3d(const std::string& path, const DriveInput& input, const DriveSolution& solution,
                           const DriveOptions& options)
{
    export_error_text.clear();
    std::vector<ExportPart> parts;
    if (!build_3d_part_list(input, solution, options, parts)) return 0;

    // Outlines are simplified no further than a drawing can show, as in the
    // 2D files; the plates are laid out as finely as there.
    constexpr double outline_tolerance = 0.001;
    const double plate_step = chain_sizes[static_cast<std::size_t>(input.size_index)].pitch / 400.0;
    Outline raw;
    Outline outline;
    const auto wheel_outline = [&](const ExportPart& part) {
        place_wheel_outline(solution, static_cast<WheelSlot>(part.wheel_slot), outline_tolerance, outline);
    };
    const auto plate_outline = [&](const ExportPart& part) {
        link_plate_outline(part.x1, part.y1, part.x2, part.y2, part.plate_height, raw, plate_step);
        simplify_closed_outline(raw, outline_tolerance, outline);
    };

    // A file without a solid in it helps nobody: say so instead. Cylinders
    // always make one; a wheel or plate only with an outline of three points.
    bool any_solid = false;
    std::vector<double> x;
    std::vector<double> y;
    for (const ExportPart& part : parts) {
        if (part.kind == PartCylinder) {
            any_solid = true;
        } else {
            part.kind == PartWheel ? wheel_outline(part) : plate_outline(part);
            distinct_outline_points(outline, x, y);
            any_solid = x.size() >= 3;
        }
        if (any_solid) break;
    }
    if (!any_solid) {
        export_error_text = text::export_no_solid;
        return 0;
    }

    if (!step_begin(path, base_name_of(path), text::step_description_3d)) return 0;
    std::int64_t dx = 0;
    const std::int64_t dz = add_axis_directions(dx);
    std::string items = ref(step_axis2_placement(0.0, 0.0, 0.0, dz, dx));

    std::int64_t count = 0;
    std::vector<double> hole_x(2);
    std::vector<double> hole_y(2);
    std::vector<double> hole_d(2);
    for (const ExportPart& part : parts) {
        if (!export_file_ok(step_entity_store)) break;  // a full disk: the rest is not worth making
        std::int64_t solid = 0;
        if (part.kind == PartWheel) {
            wheel_outline(part);
            const PitchCircle& circle = solution.circles[static_cast<std::size_t>(part.wheel_slot)];
            hole_x[0] = circle.x;
            hole_y[0] = circle.y;
            hole_d[0] = part.bore;
            solid = step_extruded_profile_solid(outline, hole_x, hole_y, hole_d, 1, part.z_low, part.z_high, part.name);
        } else if (part.kind == PartPlate) {
            plate_outline(part);
            hole_x = {part.x1, part.x2};
            hole_y = {part.y1, part.y2};
            hole_d = {part.plate_hole_diameter, part.plate_hole_diameter};
            solid = step_extruded_profile_solid(outline, hole_x, hole_y, hole_d, 2, part.z_low, part.z_high, part.name);
        } else {
            solid = step_tube_solid(part.cx, part.cy, part.outer_diameter, part.inner_diameter, part.z_low,
                                    part.z_high, part.name);
        }
        if (solid == 0) continue;
        items += "," + ref(solid);
        ++count;
    }

    const std::int64_t representation = step_add_entity("ADVANCED_BREP_SHAPE_REPRESENTATION('" +
                                                        step_string(base_name_of(path)) + "',(" + items + ")," +
                                                        ref(step_representation_context) + ")");
    step_add_entity("SHAPE_DEFINITION_REPRESENTATION(" + ref(step_shape_definition) + "," + ref(representation) + ")");
    if (!step_write_file()) return 0;
    return count;
}
