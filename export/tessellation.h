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

// The triangles being made. The writers tessellate one part at a time into
// this list and write it out before the next, so that it never holds more
// than one part of a long chain.
extern std::vector<MeshTriangle> mesh_triangles;

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

// Appends the closed, outward-facing shell of a cylinder, a tube when
// inner_diameter is above 0, to mesh_triangles.
void tessellate_cylinder(double cx, double cy, double outer_diameter, double inner_diameter, double z_low,
                         double z_high, double tolerance);

// The circle as a counter-clockwise polygon starting on +x, with as many
// points (12 to 4000) as keep the sagitta of each chord within the tolerance.
std::int64_t mesh_circle_polygon(double cx, double cy, double r, double tolerance, Outline& loop);
