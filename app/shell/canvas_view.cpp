#include "app/shell/canvas_view.h"

#include <cmath>
#include <numbers>
#include <utility>

#include "model/drive.h"

double zoom = 1.0;
double view_centre_x = 0.0;
double view_centre_y = 0.0;
double device_scale = 1.0;
int canvas_width = 0;
int canvas_height = 0;

double clip_xmin = -40.0;
double clip_xmax = 40.0;
double clip_ymin = -40.0;
double clip_ymax = 40.0;
double clip_t0 = 0.0;
double clip_t1 = 1.0;

namespace {

Point2D along(Point2D a, Point2D b, double t)
{
    return {a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)};
}

}  // namespace

Point2D world_to_screen(double x, double y)
{
    // W/2 as a real number: a canvas of odd width has its centre between two columns.
    return {canvas_width / 2.0 + (x - view_centre_x) * zoom, canvas_height / 2.0 - (y - view_centre_y) * zoom};
}

Point2D screen_to_world(double X, double Y)
{
    return {view_centre_x + (X - canvas_width / 2.0) / zoom, view_centre_y - (Y - canvas_height / 2.0) / zoom};
}

void set_clip_rect_from_canvas(double width, double height)
{
    clip_xmin = -40.0;
    clip_ymin = -40.0;
    clip_xmax = width + 40.0;
    clip_ymax = height + 40.0;
}

std::int64_t circle_offscreen(double x, double y, double r)
{
    const Point2D c = world_to_screen(x, y);
    const double R = r * zoom + 2.0;
    return (c.x + R < clip_xmin || c.x - R > clip_xmax || c.y + R < clip_ymin || c.y - R > clip_ymax) ? 1 : 0;
}

std::int64_t clip_edge_inside(Point2D p, int edge)
{
    switch (edge) {
    case 0: return p.x >= clip_xmin ? 1 : 0;
    case 1: return p.x <= clip_xmax ? 1 : 0;
    case 2: return p.y >= clip_ymin ? 1 : 0;
    default: return p.y <= clip_ymax ? 1 : 0;
    }
}

Point2D clip_edge_intersection(Point2D a, Point2D b, int edge)
{
    double t = 0.0;
    switch (edge) {
    case 0: t = (clip_xmin - a.x) / (b.x - a.x); break;
    case 1: t = (clip_xmax - a.x) / (b.x - a.x); break;
    case 2: t = (clip_ymin - a.y) / (b.y - a.y); break;
    default: t = (clip_ymax - a.y) / (b.y - a.y); break;
    }
    return along(a, b, t);
}

std::int64_t clip_segment_liang_barsky(Point2D a, Point2D b)
{
    clip_t0 = 0.0;
    clip_t1 = 1.0;
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x - clip_xmin, clip_xmax - a.x, a.y - clip_ymin, clip_ymax - a.y};
    for (int edge = 0; edge < 4; ++edge) {
        if (p[edge] == 0.0) {
            if (q[edge] < 0.0) return 0;
        } else if (p[edge] < 0.0) {
            const double r = q[edge] / p[edge];
            if (r > clip_t1) return 0;
            if (r > clip_t0) clip_t0 = r;
        } else {
            const double r = q[edge] / p[edge];
            if (r < clip_t0) return 0;
            if (r < clip_t1) clip_t1 = r;
        }
    }
    return 1;
}

void add_clipped_segment(cairo_t* cr, Point2D a, Point2D b, std::int64_t& pen)
{
    if (!clip_segment_liang_barsky(a, b)) {
        pen = 0;
        return;
    }
    if (pen == 0 || clip_t0 > 0.0) {
        const Point2D s = along(a, b, clip_t0);
        cairo_move_to(cr, s.x, s.y);
    }
    const Point2D e = along(a, b, clip_t1);
    cairo_line_to(cr, e.x, e.y);
    pen = clip_t1 >= 1.0 ? 1 : 0;
}

void append_screen_point(ScreenList& list, double x, double y, std::int64_t force)
{
    const Point2D s = world_to_screen(x, y);
    // Each coordinate by itself: cheaper than a distance, and just as good at
    // thinning an outline seen small.
    if (force == 0 && !list.empty() && std::fabs(s.x - list.back().x) < 0.4 && std::fabs(s.y - list.back().y) < 0.4)
        return;
    list.push_back(s);
}

void screen_circle_polygon(double x, double y, double r, ScreenList& list)
{
    list.clear();
    double count = std::ceil(6.0 * std::sqrt(r * zoom));
    if (!(count >= 16.0)) count = 16.0;  // also a NaN from a negative radius
    if (count > 4000.0) count = 4000.0;
    const int n = static_cast<int>(count);
    list.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        const double angle = 2.0 * std::numbers::pi * i / n;
        append_screen_point(list, x + r * std::cos(angle), y + r * std::sin(angle), 1);
    }
}

void build_clipped_polyline_path(cairo_t* cr, const ScreenList& list, std::int64_t closed)
{
    if (list.size() < 2) return;
    std::int64_t pen = 0;
    Point2D prev = list.front();
    for (std::size_t i = 1; i < list.size(); ++i) {
        add_clipped_segment(cr, prev, list[i], pen);
        prev = list[i];
    }
    if (closed == 1) add_clipped_segment(cr, prev, list.front(), pen);
}

void clip_polygon_and_build_path(cairo_t* cr, ScreenList& list)
{
    ScreenList out;
    out.reserve(list.size() + 8);
    for (int edge = 0; edge < 4; ++edge) {
        if (list.empty()) return;
        out.clear();
        Point2D s = list.back();
        std::int64_t s_inside = clip_edge_inside(s, edge);
        for (const Point2D& e : list) {
            const std::int64_t e_inside = clip_edge_inside(e, edge);
            if (e_inside) {
                if (!s_inside) out.push_back(clip_edge_intersection(s, e, edge));
                out.push_back(e);
            } else if (s_inside) {
                out.push_back(clip_edge_intersection(s, e, edge));
            }
            s = e;
            s_inside = e_inside;
        }
        std::swap(list, out);
    }
    if (list.size() < 3) return;
    cairo_move_to(cr, list.front().x, list.front().y);
    for (std::size_t i = 1; i < list.size(); ++i) cairo_line_to(cr, list[i].x, list[i].y);
    cairo_close_path(cr);
}

void build_polygon_path(cairo_t* cr, ScreenList& list)
{
    if (list.size() < 3) return;
    for (const Point2D& p : list) {
        if (!(p.x >= clip_xmin && p.x <= clip_xmax && p.y >= clip_ymin && p.y <= clip_ymax)) {
            clip_polygon_and_build_path(cr, list);
            return;
        }
    }
    cairo_move_to(cr, list.front().x, list.front().y);
    for (std::size_t i = 1; i < list.size(); ++i) cairo_line_to(cr, list[i].x, list[i].y);
    cairo_close_path(cr);
}

void build_outline_ring_path(cairo_t* cr, std::span<const Point2D> polygon, double half_width)
{
    // Every corner once: a point repeated (by the clipping) has no direction.
    ScreenList corner;
    corner.reserve(polygon.size());
    for (const Point2D& p : polygon)
        if (corner.empty() || p.x != corner.back().x || p.y != corner.back().y) corner.push_back(p);
    while (corner.size() > 1 && corner.back().x == corner.front().x && corner.back().y == corner.front().y)
        corner.pop_back();
    const std::size_t n = corner.size();
    if (n < 3) return;

    ScreenList along_edge(n);  // unit direction from corner i to corner i + 1
    for (std::size_t i = 0; i < n; ++i) {
        const Point2D& a = corner[i];
        const Point2D& b = corner[i + 1 < n ? i + 1 : 0];
        const double length = std::sqrt((b.x - a.x) * (b.x - a.x) + (b.y - a.y) * (b.y - a.y));
        along_edge[i] = {(b.x - a.x) / length, (b.y - a.y) / length};
    }
    ScreenList left;
    ScreenList right;
    left.reserve(n + 8);
    right.reserve(n + 8);
    for (std::size_t i = 0; i < n; ++i) {
        const Point2D in = along_edge[i > 0 ? i - 1 : n - 1];
        const Point2D out = along_edge[i];
        const Point2D in_normal{-in.y * half_width, in.x * half_width};
        const Point2D out_normal{-out.y * half_width, out.x * half_width};
        const Point2D& p = corner[i];
        const double cosine = in.x * out.x + in.y * out.y;
        // cairo's test with its mitre limit of 10: 2 <= 10^2 (1 + cos).
        if (2.0 <= 100.0 * (1.0 + cosine)) {
            const double k = 1.0 / (1.0 + cosine);
            const Point2D mitre{(in_normal.x + out_normal.x) * k, (in_normal.y + out_normal.y) * k};
            left.push_back({p.x + mitre.x, p.y + mitre.y});
            right.push_back({p.x - mitre.x, p.y - mitre.y});
        } else {
            left.push_back({p.x + in_normal.x, p.y + in_normal.y});
            left.push_back({p.x + out_normal.x, p.y + out_normal.y});
            right.push_back({p.x - in_normal.x, p.y - in_normal.y});
            right.push_back({p.x - out_normal.x, p.y - out_normal.y});
        }
    }
    // The right side forwards and the left side backwards: whichever way the
    // polygon runs, the outer of the two then runs the same way round.
    cairo_move_to(cr, right.front().x, right.front().y);
    for (std::size_t i = 1; i < right.size(); ++i) cairo_line_to(cr, right[i].x, right[i].y);
    cairo_close_path(cr);
    cairo_move_to(cr, left.back().x, left.back().y);
    for (std::size_t i = left.size() - 1; i-- > 0;) cairo_line_to(cr, left[i].x, left[i].y);
    cairo_close_path(cr);
}

void build_circle_path(cairo_t* cr, double x, double y, double r)
{
    const double R = r * zoom;
    const Point2D c = world_to_screen(x, y);
    if (R < 20000.0 && clip_xmin < c.x - R && c.x + R < clip_xmax && clip_ymin < c.y - R && c.y + R < clip_ymax) {
        cairo_new_sub_path(cr);
        cairo_arc(cr, c.x, c.y, R, 0.0, 2.0 * std::numbers::pi);
        cairo_close_path(cr);
        return;
    }
    build_clipped_circle_polygon_path(cr, x, y, r);
}

void build_clipped_circle_polygon_path(cairo_t* cr, double x, double y, double r)
{
    ScreenList list;
    screen_circle_polygon(x, y, r, list);
    clip_polygon_and_build_path(cr, list);
}

void build_segment_path_mm(cairo_t* cr, double x1, double y1, double x2, double y2)
{
    ScreenList list;
    list.reserve(2);
    append_screen_point(list, x1, y1, 1);
    append_screen_point(list, x2, y2, 1);
    build_clipped_polyline_path(cr, list, 0);
}

void build_circle_outline_path(cairo_t* cr, double x, double y, double r)
{
    ScreenList list;
    screen_circle_polygon(x, y, r, list);
    build_clipped_polyline_path(cr, list, 1);
}

double min_of_two(double a, double b)
{
    return a < b ? a : b;
}

void fit_view_to_drive(double width, double height)
{
    const DriveSolution& s = drive_solution;
    if (!s.valid) return;
    const double da1 = s.wheel1_geometry.tip_diameter;
    const double da2 = s.wheel2_geometry.tip_diameter;
    const double dai = s.idler_geometry.tip_diameter;
    const double a = drive_input.centre_distance;

    const double xmin = -da1 / 2.0;
    const double xmax = a + da2 / 2.0;
    double ymax = (da1 > da2 ? da1 : da2) / 2.0;
    double ymin = -ymax;
    if (s.laid) {
        // The idler may reach beyond the wheels in y only: it sits between them.
        const double yi = s.circles[Idler].y;
        if (yi - dai / 2.0 < ymin) ymin = yi - dai / 2.0;
        if (yi + dai / 2.0 > ymax) ymax = yi + dai / 2.0;
    }
    view_centre_x = (xmin + xmax) / 2.0;
    view_centre_y = (ymin + ymax) / 2.0;
    zoom = min_of_two((width - 40.0) / (xmax - xmin), (height - 90.0) / (ymax - ymin));
    if (!(zoom > 0.0) || !std::isfinite(zoom)) zoom = 1.0;
}
