// Times what a user waits for while working the canvas, on the stand-in
// toolkit with the real drawing on an image surface of the canvas's size:
//   - an idler drag: from the pointer move to the finished redraw (the pass of
//     the main loop that lays the chain and rebuilds the report, then the
//     drawing);
//   - the animation step: one timer tick turned into rotation, the chain laid
//     again and drawn.
// Both must fit within the 30 ms animation tick. Prints median and worst of
// 300 of each. Not a test: run it by hand on a Release build.

#include <cairo.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "app/shell/canvas_draw.h"
#include "app/commands/canvas_mouse.h"
#include "app/shell/canvas_view.h"
#include "app/program/main_loop.h"
#include "app/shell/recalculation.h"
#include "model/drive.h"
#include "tests/app/standin.h"

namespace {

using Clock = std::chrono::steady_clock;

double ms_since(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void report(const char* what, std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    std::printf("%-44s median %6.2f ms   worst %6.2f ms   (%zu samples)\n", what, samples[samples.size() / 2],
                samples.back(), samples.size());
}

void post_canvas(GadgetEventType type, double x, double y)
{
    post_event(canvas_event(type, x, y));
}

Point2D pixel_of(double x, double y)
{
    const Rect r = gadget_rect(Canvas);
    return {r.width / 2.0 + (x - view_centre_x) * zoom, r.height / 2.0 - (y - view_centre_y) * zoom};
}

}  // namespace

int main()
{
    standin_reset();
    if (start_program().status != 0) return 1;

    const Rect canvas = gadget_rect(Canvas);
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, canvas.width, canvas.height);
    std::printf("canvas %d x %d, default drive, %zu rollers\n", canvas.width, canvas.height,
                drive_solution.rollers.size());
    redraw_canvas(surface, canvas.width, canvas.height, 1);  // fonts and caches warm

    // The drag: back and forth between 30 % and 70 % of the slack strand, so
    // that every move lays the chain somewhere new.
    const Point2D grab = pixel_of(drive_solution.circles[Idler].x, drive_solution.circles[Idler].y);
    post_canvas(GadgetEventType::LeftDown, grab.x, grab.y);
    run_one_pass();
    const Point2D p = drive_solution.slack_start;
    const Point2D q = drive_solution.slack_end;
    std::vector<double> drag;
    for (int i = 0; i < 300; ++i) {
        const double t = 0.3 + 0.4 * (i % 40) / 39.0;
        const Point2D target = pixel_of(p.x + t * (q.x - p.x), p.y + t * (q.y - p.y));
        post_canvas(GadgetEventType::PointerMove, target.x, target.y);
        const Clock::time_point start = Clock::now();
        run_one_pass();
        redraw_canvas(surface, canvas.width, canvas.height, 1);
        drag.push_back(ms_since(start));
    }
    post_canvas(GadgetEventType::LeftUp, grab.x, grab.y);
    run_one_pass();
    if (!drive_solution.laid) std::printf("the chain was left unlaid\n");

    user_toggles(RotateCheck);
    run_one_pass();
    std::vector<double> step;
    std::vector<double> draw_only;
    for (int i = 0; i < 300; ++i) {
        timer_ticks(1);
        const Clock::time_point start = Clock::now();
        run_one_pass();
        const Clock::time_point drawing = Clock::now();
        redraw_canvas(surface, canvas.width, canvas.height, 1);
        step.push_back(ms_since(start));
        draw_only.push_back(ms_since(drawing));
    }

    user_toggles(RotateCheck);
    run_one_pass();
    if (step.size() != 300 || drive_input.rotation == 0.0) std::printf("the drive did not turn\n");
    report("idler drag, move to finished redraw", drag);
    report("animation step, laying and drawing", step);
    report("  of which the drawing", draw_only);
    cairo_surface_destroy(surface);
    return 0;
}
