#include "app/commands/canvas_mouse.h"

#include <cmath>

#include "app/shell/canvas_view.h"
#include "app/shell/canvas_window.h"
#include "app/shell/main_window.h"
#include "app/shell/shell_state.h"
#include "app/toolkit/toolkit.h"
#include "model/drive.h"
#include "model/lay_chain.h"

std::int64_t panning = 0;
std::int64_t pan_start_mouse_x = 0;
std::int64_t pan_start_mouse_y = 0;
double pan_start_centre_x = 0.0;
double pan_start_centre_y = 0.0;
std::int64_t dragging_idler = 0;

namespace {

// The idler stays this far from either end of the slack strand while dragged.
constexpr double min_drag_position = 0.02;
constexpr double max_drag_position = 0.98;

struct Pointer {
    std::int64_t mx = 0;  // canvas pixels
    std::int64_t my = 0;
    double x = 0.0;       // the model point under it, mm
    double y = 0.0;
};

// GTK reports pointer positions in the control's own (logical) pixels, the
// units of the canvas's size, whatever the screen's scale factor: they are
// rounded, not divided by device_scale.
Pointer pointer_of(const ProgramEvent& event)
{
    // The transform uses the size of the last redraw; the control may have
    // been resized since.
    const Rect r = gadget_rect(Canvas);
    canvas_width = r.width;
    canvas_height = r.height;
    Pointer p;
    p.mx = std::llround(event.x);
    p.my = std::llround(event.y);
    const Point2D world = screen_to_world(static_cast<double>(p.mx), static_cast<double>(p.my));
    p.x = world.x;
    p.y = world.y;
    return p;
}

void start_pan(const Pointer& p)
{
    panning = 1;
    pan_start_mouse_x = p.mx;
    pan_start_mouse_y = p.my;
    pan_start_centre_x = view_centre_x;
    pan_start_centre_y = view_centre_y;
}

void zoom_about_pointer(const Pointer& p, int notches)
{
    zoom *= std::pow(zoom_per_notch, notches);
    if (zoom > max_wheel_zoom) zoom = max_wheel_zoom;
    if (zoom < min_wheel_zoom) zoom = min_wheel_zoom;
    view_centre_x = p.x - (static_cast<double>(p.mx) - canvas_width / 2.0) / zoom;
    view_centre_y = p.y + (static_cast<double>(p.my) - canvas_height / 2.0) / zoom;
    redraw_pending = 1;
}

void pointer_moved(const Pointer& p)
{
    if (dragging_idler) {
        drag_idler_to_point(p.x, p.y);
    } else if (panning) {
        view_centre_x = pan_start_centre_x - static_cast<double>(p.mx - pan_start_mouse_x) / zoom;
        view_centre_y = pan_start_centre_y + static_cast<double>(p.my - pan_start_mouse_y) / zoom;
        redraw_pending = 1;
    } else {
        set_canvas_cursor(point_hits_idler(p.x, p.y) ? CanvasCursor::Hand : CanvasCursor::Default);
    }
}

void double_clicked(const Pointer& p)
{
    fit_view_to_drive();
    // GTK sends a double-click as press, release, press, double-press: the
    // second press has already started a pan from the old view, and the
    // first pointer move before the release would put that view back. The
    // pan goes on from the fitted view instead. On the idler that press
    // grabbed it, and in the new view the pointer lies over another point of
    // the strand: the idler would jump there at the first move. A double-click
    // is a fit, not a drag, so the grab ends.
    if (panning) start_pan(p);
    dragging_idler = 0;
    redraw_pending = 1;
}

}  // namespace

void handle_canvas_event(const ProgramEvent& event)
{
    const Pointer p = pointer_of(event);
    switch (event.type) {
    case GadgetEventType::PointerEnter:
        bring_main_window_to_front();
        break;
    case GadgetEventType::WheelTurn:
        zoom_about_pointer(p, event.notches);
        break;
    case GadgetEventType::LeftDown:
        if (point_hits_idler(p.x, p.y)) {
            dragging_idler = 1;
        } else {
            start_pan(p);
        }
        break;
    case GadgetEventType::LeftUp:
        panning = 0;
        dragging_idler = 0;
        break;
    case GadgetEventType::PointerMove:
        pointer_moved(p);
        break;
    case GadgetEventType::LeftDoubleClick:
        double_clicked(p);
        break;
    default:
        break;
    }
}

std::int64_t point_hits_idler(double x, double y)
{
    const DriveSolution& s = drive_solution;
    if (!s.laid) return 0;
    const double dx = x - s.circles[Idler].x;
    const double dy = y - s.circles[Idler].y;
    const double r = s.idler_geometry.tip_diameter / 2.0;
    return dx * dx + dy * dy < r * r ? 1 : 0;
}

void drag_idler_to_point(double x, double y)
{
    // Laying needs the sprockets of a valid drive.
    if (!drive_solution.valid) return;
    const Point2D p = drive_solution.slack_start;
    const Point2D q = drive_solution.slack_end;
    const double dx = q.x - p.x;
    const double dy = q.y - p.y;
    const double d2 = dx * dx + dy * dy;
    if (d2 < 1e-12) return;

    double t = ((x - p.x) * dx + (y - p.y) * dy) / d2;
    if (t < min_drag_position) t = min_drag_position;
    if (t > max_drag_position) t = max_drag_position;

    const double old = drive_input.idler_position;
    drive_input.idler_position = t;
    if (lay_chain(drive_input, drive_solution) == 0) {
        drive_input.idler_position = old;
        lay_chain(drive_input, drive_solution);
    }

    // std::lround rounds halves away from zero.
    set_gadget_state(IdlerPositionSlider, std::lround(drive_input.idler_position * 100.0));
    update_idler_percent_label();
    if (std::fabs(drive_input.idler_position - old) > 1e-12) mark_project_modified();
    report_pending = 1;
    redraw_pending = 1;
}

void reset_canvas_mouse_state()
{
    panning = 0;
    pan_start_mouse_x = 0;
    pan_start_mouse_y = 0;
    pan_start_centre_x = 0.0;
    pan_start_centre_y = 0.0;
    dragging_idler = 0;
}
