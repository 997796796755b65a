#include <benchmark/benchmark.h>

#include <cairo.h>

#include <cmath>
#include <string>

#include "app/shell/canvas_draw.h"
#include "app/shell/canvas_view.h"
#include "app/shell/recalculation.h"
#include "model/drive.h"
#include "model/geometry.h"
#include "tests/app/standin.h"

namespace {

constexpr int width = 1280;
constexpr int height = 860;

void prepare(const DriveInput& input)
{
    drive_input = input;
    drive_options = DriveOptions{};
    compute_drive(drive_input, drive_solution);
    update_display_outlines();
    fit_view_to_drive(width, height);
}

// The outermost point of wheel 1's outline, as it lies in the drive: a tooth tip.
Point2D wheel1_tooth_tip()
{
    const PitchCircle& c = drive_solution.circles[Wheel1];
    Point2D best{};
    double best_r = -1.0;
    for (const Point2D& q : wheel1_display_outline) {
        const double r = std::hypot(q.x, q.y);
        if (r > best_r) {
            best_r = r;
            best = q;
        }
    }
    return wheel_placement(c)(best);
}

void run(benchmark::State& state)
{
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    for (auto _ : state) {
        redraw_canvas(surface, width, height, 1);
        benchmark::ClobberMemory();
    }
    state.counters["rollers"] = static_cast<double>(drive_solution.rollers.size());
    state.counters["laid"] = static_cast<double>(drive_solution.laid);
    state.counters["zoom"] = zoom;
    cairo_surface_destroy(surface);
}

// Every animation tick draws the whole canvas after laying the chain.
void BM_redraw_default_fitted(benchmark::State& state)
{
    prepare(DriveInput{});
    run(state);
}
BENCHMARK(BM_redraw_default_fitted)->Unit(benchmark::kMillisecond);

// Close up, every circle is far larger than the canvas and goes through the clipping.
void BM_redraw_default_tooth_1000(benchmark::State& state)
{
    prepare(DriveInput{});
    const Point2D tip = wheel1_tooth_tip();
    zoom = 1000.0;
    view_centre_x = tip.x;
    view_centre_y = tip.y;
    run(state);
}
BENCHMARK(BM_redraw_default_tooth_1000)->Unit(benchmark::kMillisecond);

// The largest chain on the largest wheels: the most points and links on one canvas.
void BM_redraw_32B_250_250(benchmark::State& state)
{
    DriveInput in;
    in.size_index = 9;
    in.z1 = 250;
    in.z2 = 250;
    in.centre_distance = 6000.0;
    prepare(in);
    run(state);
}
BENCHMARK(BM_redraw_32B_250_250)->Unit(benchmark::kMillisecond);

// A keystroke in a field with the largest wheels, z1 = z2 = 250, from the new
// text to the finished report and picture: the program's own recalculation,
// run on its window on the stand-in toolkit with the canvas painted on an
// image surface (the real toolkit's part left out). Arg 0 types in the centre
// distance, which leaves the wheels as they were; arg 1 in "Teeth Z1", which
// makes wheel 1 anew at every keystroke.
void BM_keystroke_z250(benchmark::State& state)
{
    standin_reset();
    if (start_program().status != 0) {
        state.SkipWithError("the program did not start on the stand-in");
        return;
    }
    // The canvas of the other benchmarks, reached as a user reaches it: by
    // resizing the window, so that the program lays out its own canvas.
    const Rect started = gadget_rect(Canvas);
    user_resizes_window(standin.window_width + width - started.width,
                        standin.window_height + height - started.height);
    const Rect canvas = gadget_rect(Canvas);
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, canvas.width, canvas.height);
    standin.canvas_surface = surface;

    // The fields keep what was typed without the change event: the loop calls
    // what that event would call.
    set_gadget_text(Z1Field, "250");
    set_gadget_text(Z2Field, "250");
    set_gadget_text(CentreDistanceField, "2000");
    recalculate_and_redraw(1);
    const bool in_centre_distance = state.range(0) == 0;
    const GadgetId field = in_centre_distance ? CentreDistanceField : Z1Field;
    const std::string typed = in_centre_distance ? "2001" : "249";
    const std::string before = gadget_text(field);
    bool odd = false;
    for (auto _ : state) {
        odd = !odd;
        set_gadget_text(field, odd ? typed : before);
        recalculate_and_redraw(1);
        benchmark::ClobberMemory();
    }
    state.counters["laid"] = static_cast<double>(drive_solution.laid);
    state.counters["canvas_width"] = canvas.width;
    state.counters["canvas_height"] = canvas.height;
    standin.canvas_surface = nullptr;
    cairo_surface_destroy(surface);
}
BENCHMARK(BM_keystroke_z250)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
