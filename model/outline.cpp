#include "model/outline.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "model/geometry.h"

namespace {

// Points closer than this in both coordinates are one point.
constexpr double same_point = 1e-9;
// A turn by more than 15 degrees is a corner, which the curves keep sharp and
// where a prism's side starts a new face.
const double corner_cosine = std::cos(15.0 * radians_per_degree);
// The room densify_segment's arrays get beyond what they need, so that they
// grow in blocks rather than point by point.
constexpr std::size_t densify_spare = 1025;

int clamped_count(double arc_length, double step, int lowest, int highest)
{
    double n = std::ceil(arc_length / step);
    if (!(n >= lowest)) return lowest;  // also catches NaN
    if (n > highest) return highest;
    return static_cast<int>(n);
}

// Finds the point of a run farthest from the segment joining its ends, the
// first one where several are equally far: the heart of the simplification,
// which asks it about n log n times. Long runs skip the blocks of points that
// cannot hold the answer: the distance from a segment is convex, so no point
// in a block's bounding box lies farther than the box's farthest corner.
class FarthestPoint {
public:
    explicit FarthestPoint(const std::vector<Point2D>& points) : p(points)
    {
        boxes.reserve(p.size() / block + 1);
        for (std::size_t start = 0; start < p.size(); start += block) {
            Box box{p[start].x, p[start].y, p[start].x, p[start].y};
            for (std::size_t i = start; i < std::min(start + block, p.size()); ++i) {
                box.min_x = std::min(box.min_x, p[i].x);
                box.min_y = std::min(box.min_y, p[i].y);
                box.max_x = std::max(box.max_x, p[i].x);
                box.max_y = std::max(box.max_y, p[i].y);
            }
            boxes.push_back(box);
        }
        bounds.resize(boxes.size());
    }

    // The index in a + 1 .. b - 1 of the farthest point from p[a] p[b].
    std::size_t find(std::size_t a, std::size_t b)
    {
        ax = p[a].x;
        ay = p[a].y;
        dx = p[b].x - ax;
        dy = p[b].y - ay;
        const double l2 = dx * dx + dy * dy;
        segment_l2 = l2;
        best_d2 = -1.0;
        best_index = a + 1;

        const std::size_t first_block = (a + 1 + block - 1) / block;
        const std::size_t end_block = b / block;
        if (end_block < first_block + 4) {
            scan(a + 1, b);
            return best_index;
        }
        scan(a + 1, first_block * block);
        scan(end_block * block, b);

        // Rounding in the distance of a point is far below this margin.
        double reach2 = 0.0;
        std::size_t most = first_block;
        for (std::size_t k = first_block; k < end_block; ++k) {
            const Box& box = boxes[k];
            double bound = 0.0;
            for (const double x : {box.min_x, box.max_x}) {
                for (const double y : {box.min_y, box.max_y}) {
                    bound = std::max(bound, squared_distance(x, y));
                    reach2 = std::max(reach2, (x - ax) * (x - ax) + (y - ay) * (y - ay));
                }
            }
            bounds[k] = bound;
            if (bound > bounds[most]) most = k;
        }
        const double margin = 1e-9 * std::sqrt(reach2) + 1e-300;
        scan(most * block, (most + 1) * block);
        for (std::size_t k = first_block; k < end_block; ++k) {
            if (k == most) continue;
            const double reach = std::sqrt(bounds[k]) + margin;
            if (reach * reach >= best_d2) scan(k * block, (k + 1) * block);
        }
        return best_index;
    }

private:
    static constexpr std::size_t block = 32;
    struct Box {
        double min_x, min_y, max_x, max_y;
    };

    double squared_distance(double x, double y) const
    {
        const double px = x - ax, py = y - ay;
        const double t = segment_l2 != 0.0 ? std::clamp((px * dx + py * dy) / segment_l2, 0.0, 1.0) : 0.0;
        const double ex = px - t * dx, ey = py - t * dy;
        return ex * ex + ey * ey;
    }

    // Blocks may be scanned out of order; among equal distances the lowest
    // index still wins.
    void scan(std::size_t from, std::size_t to)
    {
        for (std::size_t i = from; i < to; ++i) {
            const double d2 = squared_distance(p[i].x, p[i].y);
            if (d2 > best_d2 || (d2 == best_d2 && i < best_index)) {
                best_d2 = d2;
                best_index = i;
            }
        }
    }

    const std::vector<Point2D>& p;
    std::vector<Box> boxes;
    std::vector<double> bounds;
    double ax = 0.0, ay = 0.0, dx = 0.0, dy = 0.0, segment_l2 = 0.0;
    double best_d2 = -1.0;
    std::size_t best_index = 0;
};

}  // namespace

double point_segment_distance(double px, double py, double ax, double ay, double bx, double by)
{
    const double dx = bx - ax;
    const double dy = by - ay;
    const double l2 = dx * dx + dy * dy;
    double t = 0.0;
    if (l2 != 0.0) {
        t = ((px - ax) * dx + (py - ay) * dy) / l2;
        t = std::clamp(t, 0.0, 1.0);
    }
    return std::hypot(px - ax - t * dx, py - ay - t * dy);
}

void simplify_closed_outline(const Outline& source, double tolerance, Outline& destination)
{
    destination.clear();
    const std::size_t n = source.size();
    if (n < 4 || !(tolerance > 0.0)) {
        destination = source;
        return;
    }

    // The outline as an open chain from P[0] back to a copy of P[0].
    std::vector<Point2D> p(source.begin(), source.end());
    p.push_back(source[0]);
    std::vector<unsigned char> keep(n + 1, 0);

    std::size_t far_index = 0;
    double far_d2 = 0.0;
    for (std::size_t i = 1; i < n; ++i) {
        const double dx = p[i].x - p[0].x;
        const double dy = p[i].y - p[0].y;
        const double d2 = dx * dx + dy * dy;
        if (d2 > far_d2) {
            far_d2 = d2;
            far_index = i;
        }
    }
    keep[0] = keep[far_index] = keep[n] = 1;

    FarthestPoint farthest(p);

    // An explicit stack: outlines of thousands of points would recurse deeply.
    std::vector<std::size_t> stack;
    stack.reserve(2 * n + 5);
    stack.push_back(0);
    stack.push_back(far_index);
    stack.push_back(far_index);
    stack.push_back(n);
    while (!stack.empty()) {
        const std::size_t b = stack.back();
        stack.pop_back();
        const std::size_t a = stack.back();
        stack.pop_back();
        if (b < a + 2) continue;
        const std::size_t best_index = farthest.find(a, b);
        const Point2D& q = p[best_index];
        const double best = point_segment_distance(q.x, q.y, p[a].x, p[a].y, p[b].x, p[b].y);
        if (best > tolerance) {
            keep[best_index] = 1;
            stack.push_back(a);
            stack.push_back(best_index);
            stack.push_back(best_index);
            stack.push_back(b);
        }
    }

    for (std::size_t i = 0; i < n; ++i)
        if (keep[i]) destination.push_back(p[i]);
}

int link_plate_outline(double x1, double y1, double x2, double y2, double plate_height, Outline& list,
                       double step)
{
    list.clear();
    const double length = std::hypot(x2 - x1, y2 - y1);
    if (!(length > 0.0) || !(plate_height > 0.0)) return 1;
    if (step <= 0.0) step = length / 50.0;

    const double r = plate_height / 2.0;
    double w = 0.4 * plate_height;
    const double half_length = length / 2.0;
    if (half_length <= r) w = r;

    // A concave waist arc touches both end circles from outside and reaches
    // in to the half-height w between the pins.
    double rho = 0.0;
    double c = 0.0;
    double theta = pi / 2.0;
    if (w < r && r * r < w * w + half_length * half_length) {
        rho = (w * w + half_length * half_length - r * r) / (2.0 * (r - w));
        c = w + rho;
        theta = std::atan2(c, half_length);
    }

    Outline local;
    local.reserve(4001);
    const int m = clamped_count((two_pi - 2.0 * theta) * r, step, 8, 1000);
    auto end_arc = [&](double cx, double from) {
        for (int i = 0; i <= m; ++i) {
            const double a = from + static_cast<double>(i) * (two_pi - 2.0 * theta) / m;
            local.push_back({cx + r * std::cos(a), r * std::sin(a)});
        }
    };
    auto waist_arc = [&](double cy, Point2D from, Point2D to) {
        const double a0 = std::atan2(from.y - cy, from.x - half_length);
        const double a1 = std::atan2(to.y - cy, to.x - half_length);
        const int k = clamped_count(std::fabs(a1 - a0) * rho, step, 2, 1000);
        for (int i = 1; i < k; ++i) {
            const double a = a0 + static_cast<double>(i) * (a1 - a0) / k;
            local.push_back({half_length + rho * std::cos(a), cy + rho * std::sin(a)});
        }
    };

    const double rc = r * std::cos(theta);
    const double rs = r * std::sin(theta);
    end_arc(0.0, theta);
    if (rho > 0.0) waist_arc(-c, {rc, -rs}, {length - rc, -rs});
    end_arc(length, theta - pi);
    if (rho > 0.0) waist_arc(c, {length - rc, rs}, {rc, rs});

    const double ux = (x2 - x1) / length;
    const double uy = (y2 - y1) / length;
    list.reserve(local.size());
    for (const Point2D& q : local) list.push_back({x1 + q.x * ux - q.y * uy, y1 + q.x * uy + q.y * ux});
    return 0;
}

void circle_outline(double cx, double cy, double r, double tolerance, double fewest, double most, Outline& loop)
{
    double n = std::ceil(pi / std::sqrt(2.0 * tolerance / r));
    if (!(n >= fewest)) n = fewest;  // also a NaN
    if (n > most) n = most;
    const std::size_t count = static_cast<std::size_t>(n);
    loop.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        const double a = two_pi * static_cast<double>(i) / n;
        loop[i] = {cx + r * std::cos(a), cy + r * std::sin(a)};
    }
}

double outline_length(const Outline& outline)
{
    double length = 0.0;
    for (std::size_t i = 0; i < outline.size(); ++i) {
        const Point2D& p = outline[i];
        const Point2D& q = outline[(i + 1) % outline.size()];
        length += std::hypot(q.x - p.x, q.y - p.y);
    }
    return length;
}

std::size_t piece_count(double length, double max_length)
{
    if (!(max_length > 0.0)) return 1;
    const double pieces = std::ceil(length / max_length);
    if (!(pieces >= 1.0)) return 1;
    return static_cast<std::size_t>(std::min(pieces, 1e9));
}

void densify_polygon(Outline& loop, double max_length)
{
    const std::size_t n = loop.size();
    if (!(max_length > 0.0) || n < 2) return;
    Outline dense;
    dense.reserve(n + 1);
    for (std::size_t i = 0; i < n; ++i) {
        const Point2D& a = loop[i];
        const Point2D& b = loop[(i + 1) % n];
        const std::size_t pieces = piece_count(std::hypot(b.x - a.x, b.y - a.y), max_length);
        if (dense.size() + pieces > dense.capacity()) dense.reserve(dense.size() + pieces + 1024);
        dense.push_back(a);
        for (std::size_t s = 1; s < pieces; ++s) {
            const double t = static_cast<double>(s) / static_cast<double>(pieces);
            dense.push_back({a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)});
        }
    }
    loop.swap(dense);
}

bool same_outline_point(double ax, double ay, double bx, double by)
{
    return std::fabs(ax - bx) < same_point && std::fabs(ay - by) < same_point;
}

std::int64_t densify_segment(const std::vector<double>& x, const std::vector<double>& y, std::int64_t n,
                             std::int64_t start, std::int64_t count, double step, std::vector<double>& out_x,
                             std::vector<double>& out_y)
{
    if (n <= 0 || count <= 0) return 0;
    std::size_t written = 0;
    auto room = [&](std::size_t more) {
        if (out_x.size() < written + more) out_x.resize(written + more + densify_spare);
        if (out_y.size() < written + more) out_y.resize(written + more + densify_spare);
    };
    const auto at = [n](std::int64_t i) { return static_cast<std::size_t>(((i % n) + n) % n); };
    for (std::int64_t i = 0; i + 1 < count; ++i) {
        const std::size_t h = at(start + i);
        const std::size_t g = at(start + i + 1);
        const double dx = x[g] - x[h];
        const double dy = y[g] - y[h];
        std::size_t parts = 1;
        // A step that is no positive number cuts nothing.
        if (step > 0.0) {
            const double pieces = std::trunc(std::hypot(dx, dy) / step);
            if (pieces < 1e9) parts += static_cast<std::size_t>(pieces);
        }
        room(parts + 1);
        for (std::size_t j = 0; j < parts; ++j) {
            const double t = static_cast<double>(j) / static_cast<double>(parts);
            out_x[written] = x[h] + dx * t;
            out_y[written] = y[h] + dy * t;
            ++written;
        }
    }
    room(1);
    const std::size_t last = at(start + count - 1);
    out_x[written] = x[last];
    out_y[written] = y[last];
    return static_cast<std::int64_t>(written + 1);
}

bool outline_corner(const std::vector<double>& x, const std::vector<double>& y, std::int64_t n, std::int64_t i)
{
    const auto at = [n](std::int64_t k) { return static_cast<std::size_t>(((k % n) + n) % n); };
    const std::size_t p = at(i - 1), c = at(i), q = at(i + 1);
    const double ax = x[c] - x[p], ay = y[c] - y[p];
    const double bx = x[q] - x[c], by = y[q] - y[c];
    double d = std::hypot(ax, ay) * std::hypot(bx, by);
    if (d < 1e-30) d = 1e-30;
    return (ax * bx + ay * by) / d < corner_cosine;
}

void distinct_outline_points(const Outline& outline, std::vector<double>& x, std::vector<double>& y)
{
    x.clear();
    y.clear();
    x.reserve(outline.size());
    y.reserve(outline.size());
    for (const Point2D& q : outline) {
        if (!x.empty() && same_outline_point(x.back(), y.back(), q.x, q.y)) continue;
        x.push_back(q.x);
        y.push_back(q.y);
    }
    // An outline that closes on its first point is taken as not doing so.
    if (x.size() >= 2 && same_outline_point(x.back(), y.back(), x.front(), y.front())) {
        x.pop_back();
        y.pop_back();
    }
}
