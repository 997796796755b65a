#include "export/tessellation.h"

#include <algorithm>
#include <cmath>

#include "model/geometry.h"
#include "model/outline.h"

std::vector<MeshTriangle> mesh_triangles;

namespace {

// The part being tessellated, stamped on each of its triangles.
std::int64_t mesh_part_number = 0;
std::int64_t mesh_layer = 0;

// The cap's zipper walks a loop from its point of smallest angle round the
// centre, with the angles unwrapped to rise from there.
std::size_t unwrapped_angles(const Outline& loop, Point2D centre, std::vector<double>& angles)
{
    const std::size_t n = loop.size();
    std::size_t start = 0;
    double best = 1e9;
    for (std::size_t i = 0; i < n; ++i) {
        const double a = std::atan2(loop[i].y - centre.y, loop[i].x - centre.x);
        if (a < best) {
            best = a;
            start = i;
        }
    }
    angles.resize(n + 1);
    for (std::size_t k = 0; k < n; ++k) {
        const Point2D& q = loop[(start + k) % n];
        double a = std::atan2(q.y - centre.y, q.x - centre.x);
        if (k > 0)
            while (a < angles[k - 1]) a += two_pi;
        angles[k] = a;
    }
    angles[n] = angles[0] + two_pi;
    return start;
}

// Appends the triangle with these corners in this order, stamped with
// mesh_layer and mesh_part_number.
void add_mesh_triangle(double x1, double y1, double z1, double x2, double y2, double z2, double x3, double y3,
                       double z3)
{
    MeshTriangle& t = mesh_triangles.emplace_back();
    t.x[0] = x1;
    t.y[0] = y1;
    t.z[0] = z1;
    t.x[1] = x2;
    t.y[1] = y2;
    t.z[1] = z2;
    t.x[2] = x3;
    t.y[2] = y3;
    t.z[2] = z3;
    t.layer = mesh_layer;
    t.part_number = mesh_part_number;
}

void add_flat(Point2D a, Point2D b, Point2D c, double z)
{
    add_mesh_triangle(a.x, a.y, z, b.x, b.y, z, c.x, c.y, z);
}

// One horizontal triangle facing +z (up = 1) or -z (up = 0); nothing when its
// corners lie on one line.
void emit_flat_triangle(Point2D a, Point2D b, Point2D c, double z, std::int64_t up)
{
    const double cross = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
    if (cross == 0.0) return;
    if ((cross > 0.0) == (up != 0))
        add_flat(a, b, c, z);
    else
        add_flat(a, c, b, z);
}

// The wall over a closed counter-clockwise loop from z_low to z_high, two
// triangles an edge, facing away from the loop's inside when outward = 1
// (an outer boundary) and into it when outward = 0 (a hole).
void extrude_wall_triangles(const Outline& loop, double z_low, double z_high, std::int64_t outward)
{
    const std::size_t n = loop.size();
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t next = (i + 1) % n;
        const Point2D& a = outward ? loop[i] : loop[next];
        const Point2D& b = outward ? loop[next] : loop[i];
        add_mesh_triangle(a.x, a.y, z_low, b.x, b.y, z_low, b.x, b.y, z_high);
        add_mesh_triangle(a.x, a.y, z_low, b.x, b.y, z_high, a.x, a.y, z_high);
    }
}

// The flat cap at height z of the region inside `outer` (counter-clockwise):
// a fan from `centre` without a hole, an angular zipper round `centre`
// between `outer` and `hole` (counter-clockwise too) with one. up = 1 faces
// every triangle +z, up = 0 faces it -z.
void triangulate_cap(const Outline& outer, const Outline& hole, Point2D centre, double z, std::int64_t up)
{
    const std::size_t n = outer.size();
    const std::size_t m = hole.size();
    if (n == 0) return;
    if (m == 0) {
        for (std::size_t i = 0; i < n; ++i) emit_flat_triangle(centre, outer[i], outer[(i + 1) % n], z, up);
        return;
    }
    std::vector<double> a;
    std::vector<double> b;
    const std::size_t i0 = unwrapped_angles(outer, centre, a);
    const std::size_t j0 = unwrapped_angles(hole, centre, b);
    // Whichever loop's next point comes first round the centre moves on; the
    // outer one on a tie. Once a loop is used up, the other pivots on its
    // start point, which closes the ring.
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < n || j < m) {
        const Point2D& o0 = outer[(i0 + i) % n];
        const Point2D& o1 = outer[(i0 + i + 1) % n];
        const Point2D& h0 = hole[(j0 + j) % m];
        const Point2D& h1 = hole[(j0 + j + 1) % m];
        if (j == m || (i < n && a[i + 1] <= b[j + 1])) {
            emit_flat_triangle(o0, o1, h0, z, up);
            ++i;
        } else {
            emit_flat_triangle(h0, o0, h1, z, up);
            ++j;
        }
    }
}

}  // namespace

double mesh_chord_tolerance(const DriveOptions& options)
{
    const double tolerance = options.chord_tolerance;
    return tolerance > 0.0 && std::isfinite(tolerance) ? tolerance : 0.01;
}

std::int64_t mesh_circle_polygon(double cx, double cy, double r, double tolerance, Outline& loop)
{
    circle_outline(cx, cy, r, tolerance, 12.0, 4000.0, loop);
    return static_cast<std::int64_t>(loop.size());
}

void tessellate_cylinder(double cx, double cy, double outer_diameter, double inner_diameter, double z_low,
                         double z_high, double tolerance)
{
    Outline outer;
    Outline inner;
    mesh_circle_polygon(cx, cy, outer_diameter / 2.0, tolerance, outer);
    if (inner_diameter > 0.0) mesh_circle_polygon(cx, cy, inner_diameter / 2.0, tolerance, inner);
    triangulate_cap(outer, inner, {cx, cy}, z_low, 0);
    triangulate_cap(outer, inner, {cx, cy}, z_high, 1);
    extrude_wall_triangles(outer, z_low, z_high, 1);
    if (!inner.empty()) extrude_wall_triangles(inner, z_low, z_high, 0);
}

namespace {

// A wheel with a bore has its outline cut into pieces of a fifth of the bore,
// so that the cap's zipper meets the bore at short steps. A tiny bore in a
// large wheel would make that millions of points; beyond this many the steps
// are already far finer than the zipper needs.
constexpr double most_densified_wheel_points = 20000.0;

void tessellate_wheel(const DriveSolution& solution, const ExportPart& part, double tolerance)
{
    if (part.wheel_slot < Wheel1 || part.wheel_slot > Wheel2) return;
    const PitchCircle& circle = solution.circles[static_cast<std::size_t>(part.wheel_slot)];
    Outline outline;
    place_wheel_outline(solution, static_cast<WheelSlot>(part.wheel_slot), tolerance, outline);
    Outline bore;
    if (part.bore > 0.0) {
        densify_polygon(outline, std::max(0.2 * part.bore, outline_length(outline) / most_densified_wheel_points));
        mesh_circle_polygon(circle.x, circle.y, part.bore / 2.0, tolerance, bore);
    }
    const Point2D centre{circle.x, circle.y};
    triangulate_cap(outline, bore, centre, part.z_low, 0);
    triangulate_cap(outline, bore, centre, part.z_high, 1);
    extrude_wall_triangles(outline, part.z_low, part.z_high, 1);
    if (!bore.empty()) extrude_wall_triangles(bore, part.z_low, part.z_high, 0);
}

// A link plate, cut along its middle line into two halves of one hole each;
// nothing for a plate whose hole centres coincide or whose outline does not
// cross that line at its top and at its bottom.
void tessellate_link_plate(const ExportPart& part, double tolerance)
{
    const double x1 = part.x1;
    const double y1 = part.y1;
    const double length = std::hypot(part.x2 - x1, part.y2 - y1);
    if (!(length > 0.0)) return;
    const double ux = (part.x2 - x1) / length;
    const double uy = (part.y2 - y1) / length;
    const double dh = part.plate_hole_diameter;

    // In the plate's own frame: hole 1 at (0, 0), hole 2 at (length, 0).
    Outline fine;
    Outline outline;
    link_plate_outline(0.0, 0.0, length, 0.0, part.plate_height, fine, length / 400.0);
    simplify_closed_outline(fine, tolerance, outline);
    densify_polygon(outline, 0.2 * dh);

    // The boundary with the two crossings of the middle line put in; an
    // outline point on the line is a crossing itself.
    const double middle = length / 2.0;
    const std::size_t n = outline.size();
    Outline boundary;
    boundary.reserve(n + 3);
    std::size_t low = 0;
    std::size_t high = 0;
    bool has_low = false;
    bool has_high = false;
    auto crossing = [&](double y) {
        if (y < 0.0) {
            low = boundary.size();
            has_low = true;
        } else {
            high = boundary.size();
            has_high = true;
        }
    };
    for (std::size_t i = 0; i < n; ++i) {
        const Point2D& p = outline[i];
        const Point2D& q = outline[(i + 1) % n];
        double di = p.x - middle;
        double dj = q.x - middle;
        if (std::fabs(di) < 1e-9) {
            crossing(p.y);
            di = 0.0;
        }
        boundary.push_back(p);
        if (std::fabs(dj) < 1e-9) dj = 0.0;
        if ((di < 0.0 && dj > 0.0) || (di > 0.0 && dj < 0.0)) {
            const double t = di / (di - dj);
            const double y = p.y + t * (q.y - p.y);
            crossing(y);
            boundary.push_back({middle, y});
        }
    }
    if (!has_low || !has_high) return;

    for (Point2D& q : boundary) q = {x1 + q.x * ux - q.y * uy, y1 + q.x * uy + q.y * ux};

    // The two halves share the points of the cut line from the bottom
    // crossing to the top one.
    const Point2D bottom = boundary[low];
    const Point2D top = boundary[high];
    const std::size_t pieces = piece_count(std::hypot(top.x - bottom.x, top.y - bottom.y), 0.2 * dh);
    Outline cut;
    for (std::size_t s = 1; s < pieces; ++s) {
        const double t = static_cast<double>(s) / static_cast<double>(pieces);
        cut.push_back({bottom.x + t * (top.x - bottom.x), bottom.y + t * (top.y - bottom.y)});
    }

    const std::size_t k = boundary.size();
    Outline half;
    Outline hole;
    auto tessellate_half = [&](std::size_t from, std::size_t to, bool up_the_cut, Point2D centre) {
        half.clear();
        for (std::size_t i = from;; i = (i + 1) % k) {
            half.push_back(boundary[i]);
            if (i == to) break;
        }
        if (up_the_cut)
            half.insert(half.end(), cut.begin(), cut.end());
        else
            half.insert(half.end(), cut.rbegin(), cut.rend());
        mesh_circle_polygon(centre.x, centre.y, dh / 2.0, tolerance, hole);
        triangulate_cap(half, hole, centre, part.z_low, 0);
        triangulate_cap(half, hole, centre, part.z_high, 1);
        extrude_wall_triangles(hole, part.z_low, part.z_high, 0);
    };
    // Counter-clockwise from the top crossing runs over the end of hole 1.
    tessellate_half(high, low, true, {x1, y1});
    tessellate_half(low, high, false, {part.x2, part.y2});
    extrude_wall_triangles(boundary, part.z_low, part.z_high, 1);
}

// Appends the closed, outward-facing shell of one part to mesh_triangles.
void tessellate_part(const DriveSolution& solution, const ExportPart& part, double tolerance)
{
    mesh_layer = part.layer;
    if (part.kind == PartWheel)
        tessellate_wheel(solution, part, tolerance);
    else if (part.kind == PartPlate)
        tessellate_link_plate(part, tolerance);
    else
        tessellate_cylinder(part.cx, part.cy, part.outer_diameter, part.inner_diameter, part.z_low, part.z_high,
                            tolerance);
}

}  // namespace

std::int64_t build_export_mesh(const DriveSolution& solution, const std::vector<ExportPart>& parts, double tolerance,
                               const std::function<bool(const ExportPart&)>& written)
{
    std::int64_t count = 0;
    mesh_part_number = 0;
    for (const ExportPart& part : parts) {
        mesh_triangles.clear();
        ++mesh_part_number;  // also for a part without triangles, so numbers stay list positions
        tessellate_part(solution, part, tolerance);
        count += static_cast<std::int64_t>(mesh_triangles.size());
        if (!written(part)) break;
    }
    return count;
}

void release_mesh_triangles()
{
    std::vector<MeshTriangle>().swap(mesh_triangles);
}
