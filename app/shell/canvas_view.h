#pragma once

// The canvas view: the one transform from model millimetres (y up) to canvas
// pixels (y down), the clip rectangle, and the path builders through which
// every outline, circle and line of the drawing reaches cairo. The builders
// only add to cairo's current path; the caller fills or strokes it.
//
// No coordinate a builder gives to cairo lies outside the clip rectangle, at
// any zoom: cairo (and the X server behind it) copes badly with coordinates
// of millions of pixels, which a zoom of 100000 px/mm easily produces.

#include <cairo.h>

#include <cstdint>
#include <span>

#include "model/point.h"

// View state, one instance each for the whole run.
extern double zoom;           // canvas pixels per mm; 1.0 at start-up
extern double view_centre_x;  // mm: the model point at the centre of the canvas
extern double view_centre_y;
extern double device_scale;   // output pixels per canvas pixel; set at every redraw
// The canvas's size in canvas pixels as the transform uses it. The redraw sets
// it from the surface it draws on; the mouse code sets it from the control
// before it turns a pointer position into a model point.
extern int canvas_width;
extern int canvas_height;

// The clip rectangle in canvas pixels: the canvas grown by 40 pixels on every side.
extern double clip_xmin;
extern double clip_xmax;
extern double clip_ymin;
extern double clip_ymax;
// Entry and exit parameter of the segment that clip_segment_liang_barsky clipped last.
extern double clip_t0;
extern double clip_t1;

// Screen lists hold canvas points (x right, y down) in Point2D.
using ScreenList = Outline;

Point2D world_to_screen(double x, double y);
Point2D screen_to_world(double X, double Y);
void set_clip_rect_from_canvas(double width, double height);

// 1 when the circle, grown by 2 pixels, lies wholly outside the clip rectangle.
std::int64_t circle_offscreen(double x, double y, double r);

// Edges: 0 left, 1 right, 2 top, 3 bottom. A point on an edge is inside it.
std::int64_t clip_edge_inside(Point2D p, int edge);
// Only for a segment whose ends lie on different sides of the edge.
Point2D clip_edge_intersection(Point2D a, Point2D b, int edge);
// 1 when some part of a-b lies inside the clip rectangle; sets clip_t0 and clip_t1.
std::int64_t clip_segment_liang_barsky(Point2D a, Point2D b);

// Adds the visible part of a-b. pen is 1 while cairo's current point is the
// end of the last segment added, so that the next one continues its sub-path.
void add_clipped_segment(cairo_t* cr, Point2D a, Point2D b, std::int64_t& pen);

// Appends the canvas point of (x, y) mm, unless force is 0 and it lies within
// 0.4 pixel of the last point in both x and y.
void append_screen_point(ScreenList& list, double x, double y, std::int64_t force);
// Clears the list and fills it with ceil(6 sqrt(r zoom)) points (16 to 4000) of the circle.
void screen_circle_polygon(double x, double y, double r, ScreenList& list);

// Open (or closed, without a close-path) polyline, clipped segment by segment.
void build_clipped_polyline_path(cairo_t* cr, const ScreenList& list, std::int64_t closed);
// Sutherland-Hodgman against the clip rectangle, in place; the rest becomes a closed sub-path.
void clip_polygon_and_build_path(cairo_t* cr, ScreenList& list);
// A closed sub-path, clipped only when some point lies outside the rectangle.
void build_polygon_path(cairo_t* cr, ScreenList& list);
// A true arc when it is small and wholly inside the rectangle, else a clipped polygon.
void build_circle_path(cairo_t* cr, double x, double y, double r);
void build_clipped_circle_polygon_path(cairo_t* cr, double x, double y, double r);
void build_segment_path_mm(cairo_t* cr, double x1, double y1, double x2, double y2);
// The circle as a clipped closed polyline, for dashed strokes.
void build_circle_outline_path(cairo_t* cr, double x, double y, double r);
// The band a solid stroke of the closed polygon would paint, 2 half_width
// wide with mitred corners (bevelled where cairo's default mitre limit of 10
// would bevel them): the polygon moved half_width to either side, two closed
// sub-paths that run opposite ways. Every band is wound the same way, so one
// fill of any number of them with the non-zero rule paints what their strokes
// would, for a fraction of the cost of cairo's stroker. (cairo runs its
// outline in to the corner point on the inside of every turn; the band cuts
// that corner, so a pixel there may differ by a sample or two.)
void build_outline_ring_path(cairo_t* cr, std::span<const Point2D> polygon, double half_width);

// The smaller of two numbers (b when they are equal).
double min_of_two(double a, double b);
// Centres the drive in a canvas of the given size and zooms it to fill the
// canvas less 40 pixels of the width and 90 of the height. Nothing without a
// valid drive.
void fit_view_to_drive(double width, double height);
