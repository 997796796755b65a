#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/drive.h"
#include "model/point.h"

// The 2D drawing of the export scope as a STEP wireframe: every outline and
// every circle one closed cubic B-spline in z = 0, the curves of each layer
// one curve set named after the layer. Returns the number of curves, 0 on
// failure with the reason in export_error_text and no file left behind.
std::int64_t write_step_2d(const std::string& path, const DriveInput& input, const DriveSolution& solution,
                           const DriveOptions& options);

// Replaces `points` by a polygon inscribed in the circle, counter-clockwise
// from the +x side of the centre, with chords at most about 0.001 mm off the
// circle (24 to 20000 points). Empty unless r is a number above 0.
void circle_to_points(double cx, double cy, double r, Outline& points);

// One closed cubic B-spline on the outline (closed, the first point not
// repeated): its control polygon runs along the outline in steps below
// 0.25 mm, and a point where the outline turns by more than 15 degrees gets a
// triple knot, so the curve keeps that corner sharp. Returns the curve's
// number, or 0 with nothing added when the outline has fewer than three
// distinct points or a point that is not a number.
std::int64_t step_closed_bspline(const Outline& outline);
