#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "export/part_list_3d.h"
#include "model/drive.h"
#include "model/point.h"

// One triangle of the mesh exports, in model millimetres. Its normal is
// (vertex 2 - vertex 1) x (vertex 3 - vertex 1) and points out of the material.
struct MeshTriangle {
    double x[3] = {0.0, 0.0, 0.0};
    double y[3] = {0.0, 0.0, 0.0};
    double z[3] = {0.0, 0.0, 0.0};
    std::int64_t layer = 0;        // LayerCode of its part
    std::int64_t part_number = 0;  // 1-based position of its part in the part list
};

// The triangles being made, stamped with the part being tessellated. The
// writers tessellate one part at a time into this list and write it out before
// the next, so that it never holds more than one part of a long chain.
extern std::vector<MeshTriangle> mesh_triangles;
extern std::int64_t mesh_part_number;
extern std::int64_t mesh_layer;

// The chord tolerance of the options; 0.01 mm when it is not above 0.
double mesh_chord_tolerance(const DriveOptions& options);

// The mesh build: goes through the parts in order, numbering them from 1 (a
// part without triangles keeps its number), and calls `written` after each
// part with mesh_triangles holding that part's triangles alone, so that a
// writer holds one part of a long chain at a time; `written` returns false to
// stop there. Returns the number of triangles made.
std::int64_t build_export_mesh(const DriveSolution& solution, const std::vector<ExportPart>& parts, double tolerance,
                               const std::function<bool(const ExportPart&)>& written);

// Empties mesh_triangles and gives its memory back.
void release_mesh_triangles();

// Appends the closed, outward-facing shell of one part to mesh_triangles.
void tessellate_part(const DriveSolution& solution, const ExportPart& part, double tolerance);
void tessellate_wheel(const DriveSolution& solution, const ExportPart& part, double tolerance);
void tessellate_cylinder(double cx, double cy, double outer_diameter, double inner_diameter, double z_low,
                         double z_high, double tolerance);
// Cut along its middle line into two halves of one hole each; nothing for a
// plate whose hole centres coincide or whose outline does not cross that line
// at its top and at its bottom.
void tessellate_link_plate(const ExportPart& part, double tolerance);

// The circle as a counter-clockwise polygon starting on +x, with as many
// points (12 to 4000) as keep the sagitta of each chord within the tolerance.
std::int64_t mesh_circle_polygon(double cx, double cy, double r, double tolerance, Outline& loop);

// Cuts every edge of the closed loop longer than max_length into equal pieces;
// returns the new point count. Nothing happens for max_length <= 0 or fewer
// than 2 points.
std::int64_t densify_polygon(Outline& loop, double max_length);

// The flat cap at height z of the region inside `outer` (counter-clockwise):
// a fan from `centre` without a hole, an angular zipper round `centre`
// between `outer` and `hole` (counter-clockwise too) with one. up = 1 faces
// every triangle +z, up = 0 faces it -z.
void triangulate_cap(const Outline& outer, const Outline& hole, Point2D centre, double z, std::int64_t up);

// The wall over a closed counter-clockwise loop from z_low to z_high, two
// triangles an edge, facing away from the loop's inside when outward = 1
// (an outer boundary) and into it when outward = 0 (a hole).
void extrude_wall_triangles(const Outline& loop, double z_low, double z_high, std::int64_t outward);

// One horizontal triangle facing +z (up = 1) or -z (up = 0); nothing when its
// corners lie on one line.
void emit_flat_triangle(Point2D a, Point2D b, Point2D c, double z, std::int64_t up);

// Appends the triangle with these corners in this order, stamped with
// mesh_layer and mesh_part_number.
void add_mesh_triangle(double x1, double y1, double z1, double x2, double y2, double z2, double x3, double y3,
                       double z3);
