#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/point.h"

// Ramer-Douglas-Peucker on a closed outline: no dropped point lies farther
// than tolerance from the kept outline. destination is cleared first; the kept
// points keep their source order and P[0] is always kept.
void simplify_closed_outline(const Outline& source, double tolerance, Outline& destination);

// The length round a closed outline, its closing edge included.
double outline_length(const Outline& outline);

double point_segment_distance(double px, double py, double ax, double ay, double bx, double by);

// Counter-clockwise outline of a link plate around the pins (x1, y1) and
// (x2, y2): round ends of radius H/2 and a concave waist. Returns 0 when built
// and 1 for coincident pins or H <= 0 (list left empty); callers look at the
// list. A step of 0 or less is the pin distance / 50.
int link_plate_outline(double x1, double y1, double x2, double y2, double plate_height, Outline& list,
                       double step);

// The circle as a counter-clockwise polygon starting on +x, with as many
// points, from `fewest` to `most`, as keep the sagitta of every chord,
// r (pi / n)^2 / 2 to second order, within `tolerance`. The STEP curves and
// the meshes both draw their circles with it, at their own bounds.
void circle_outline(double cx, double cy, double r, double tolerance, double fewest, double most, Outline& loop);

// Equal pieces of at most max_length for a length; at least one. The cap only
// keeps a nonsensical length from overflowing the count.
std::size_t piece_count(double length, double max_length);

// Cuts every edge of the closed loop longer than max_length into equal pieces.
// Nothing happens for max_length <= 0 or fewer than 2 points.
void densify_polygon(Outline& loop, double max_length);

// Whether two points are one: closer than 1e-9 mm in x and in y.
bool same_outline_point(double ax, double ay, double bx, double by);

// Whether the closed polygon x, y of n points turns by more than 15 degrees
// at point i (indices taken modulo n): a corner, where a curve gets a triple
// knot and a prism's side a new face.
bool outline_corner(const std::vector<double>& x, const std::vector<double>& y, std::int64_t n, std::int64_t i);

// The outline's points as two arrays, without those that repeat the point
// before them (within 1e-9 mm in x and y), nor a last one that repeats the
// first: a run of no length has no direction to write.
void distinct_outline_points(const Outline& outline, std::vector<double>& x, std::vector<double>& y);

// The `count` consecutive points of the closed polygon x, y of n points from
// index `start` on (indices taken modulo n), with every edge cut into pieces
// shorter than `step`: written to out_x, out_y from index 0, which grow as
// needed. Returns the number of points written; the first is the segment's
// first point, the last its last.
std::int64_t densify_segment(const std::vector<double>& x, const std::vector<double>& y, std::int64_t n,
                             std::int64_t start, std::int64_t count, double step, std::vector<double>& out_x,
                             std::vector<double>& out_y);
