#pragma once

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
