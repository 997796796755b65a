#pragma once

#include <vector>

// A point in model millimetres, y upwards. Closed outlines are lists of these
// that do not repeat their first point; the closing segment is implied.
struct Point2D {
    double x = 0.0;
    double y = 0.0;
};

using Outline = std::vector<Point2D>;
