#include "canvas_path.h"

#include "app/shell/canvas_view.h"

PathSummary summarise_path(cairo_t* cr)
{
    PathSummary out;
    cairo_path_t* path = cairo_copy_path(cr);
    bool pending_move = false;
    for (int i = 0; i < path->num_data; i += path->data[i].header.length) {
        const cairo_path_data_t* d = &path->data[i];
        for (int j = 1; j < d->header.length; ++j) out.points.push_back({d[j].point.x, d[j].point.y});
        switch (d->header.type) {
        case CAIRO_PATH_MOVE_TO: pending_move = true; break;
        case CAIRO_PATH_LINE_TO:
        case CAIRO_PATH_CURVE_TO:
            if (pending_move) ++out.sub_paths;
            pending_move = false;
            if (d->header.type == CAIRO_PATH_LINE_TO)
                ++out.lines;
            else
                ++out.curves;
            break;
        case CAIRO_PATH_CLOSE_PATH: ++out.closes; break;
        }
    }
    cairo_path_destroy(path);
    return out;
}

bool all_points_within(const PathSummary& path, double xmin, double xmax, double ymin, double ymax)
{
    for (const Point2D& p : path.points)
        if (!(p.x >= xmin && p.x <= xmax && p.y >= ymin && p.y <= ymax)) return false;
    return true;
}

PathCanvas::PathCanvas(int width, int height)
{
    surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 16, 16);
    cr = cairo_create(surface);
    canvas_width = width;
    canvas_height = height;
    set_clip_rect_from_canvas(width, height);
}

PathCanvas::~PathCanvas()
{
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
}
