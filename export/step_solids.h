#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/drive.h"
#include "model/point.h"

// The 3D STEP model: every wheel, plate, bush, roller and pin of the export
// scope one closed manifold solid with exact faces, all under one advanced
// B-rep shape representation. Returns the number of solids, 0 on failure with
// the reason in export_error_text and no file left behind.
std::int64_t write_step_3d(const std::string& path, const DriveInput& input, const DriveSolution& solution,
                           const DriveOptions& options);

// The side of a cylinder between two heights as two half faces (angles 0 to
// pi and pi to 2 pi) joined by straight seams at angle 0 and pi, and the two
// circle loops that the flat faces at its ends take as bounds.
struct CylinderFaces {
    std::string face_refs;           // "," + first half face + "," + second half face
    std::int64_t bottom_bound = 0;   // the circle at z_low
    std::int64_t top_bound = 0;      // the circle at z_high
};

// Adds the 50 entities of one cylinder side. outward = 1: the material lies
// inside (a solid cylinder, the outside of a tube); 0: outside (a hole, the
// bore of a tube). The two directions are the caller's +z and +x.
void step_cylinder_faces(double cx, double cy, double r, double z_low, double z_high, std::int64_t outward,
                         std::int64_t axis_direction, std::int64_t ref_direction, CylinderFaces& result);

// A solid cylinder (inner diameter 0 or less) or a tube; returns its
// MANIFOLD_SOLID_BREP.
std::int64_t step_tube_solid(double cx, double cy, double outer_diameter, double inner_diameter, double z_low,
                             double z_high, const std::string& name);

// Where the side of a prism over the closed outline x, y (n points) is cut
// into faces: at every point where the outline turns by more than 15 degrees,
// and wherever a run would otherwise exceed 200 edges (an outline without
// corners is cut in three). Fills breaks[0..m] (breaks[m] = breaks[0]) and
// returns m.
std::int64_t split_profile_at_corners(const std::vector<double>& x, const std::vector<double>& y, std::int64_t n,
                                      std::vector<std::int64_t>& breaks);

// A holed prism from z_low to z_high over the counter-clockwise outline,
// pierced by the holes of a diameter above 0; returns its MANIFOLD_SOLID_BREP.
// Repeated points are dropped first; 0, adding nothing, when fewer than three
// are left.
std::int64_t step_extruded_profile_solid(const Outline& outline, const std::vector<double>& bore_x,
                                         const std::vector<double>& bore_y, const std::vector<double>& bore_diameter,
                                         std::int64_t bore_count, double z_low, double z_high, const std::string& name);
