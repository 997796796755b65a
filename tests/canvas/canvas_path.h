#pragma once

#include <cairo.h>

#include <vector>

#include "model/point.h"

// What a builder left in cairo's current path, counted by operation.
struct PathSummary {
    int sub_paths = 0;  // move-tos that start something drawn
    int lines = 0;
    int curves = 0;
    int closes = 0;
    std::vector<Point2D> points;  // every point cairo holds, control points included
};

PathSummary summarise_path(cairo_t* cr);
// 1 when every point lies in the closed rectangle.
bool all_points_within(const PathSummary& path, double xmin, double xmax, double ymin, double ymax);

// A scratch context on a small image surface, with a canvas of width x height
// canvas pixels as the view's canvas and the clip rectangle set from it.
struct PathCanvas {
    cairo_surface_t* surface = nullptr;
    cairo_t* cr = nullptr;
    PathCanvas(int width, int height);
    ~PathCanvas();
    PathCanvas(const PathCanvas&) = delete;
    PathCanvas& operator=(const PathCanvas&) = delete;
};
