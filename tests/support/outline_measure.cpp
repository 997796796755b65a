#include "tests/support/outline_measure.h"

#include <cmath>

double signed_area(const Outline& outline)
{
    double twice = 0.0;
    for (std::size_t i = 0; i < outline.size(); ++i) {
        const Point2D& p = outline[i];
        const Point2D& q = outline[(i + 1) % outline.size()];
        twice += p.x * q.y - q.x * p.y;
    }
    return twice / 2.0;
}
