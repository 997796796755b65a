#include <benchmark/benchmark.h>

#include <cairo.h>

#include <cmath>

#include "app/shell/canvas_draw.h"
#include "app/shell/canvas_view.h"
#include "model/drive.h"
#include "model/geometry.h"
#include "model/report.h"

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
// text to the finished report and picture: the drive, the display outlines,
// the fit, the report and the redraw (the toolkit's part left out). Arg 0 types
// in the centre distance, which leaves the wheels as they were; arg 1 in
// "Teeth Z1", which makes wheel 1 anew at every keystroke.
void BM_keystroke_z250(benchmark::State& state)
{
    DriveInput in;
    in.z1 = 250;
    in.z2 = 250;
    in.centre_distance = 2000.0;
    prepare(in);
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    std::size_t report_size = 0;
    bool odd = false;
    for (auto _ : state) {
        odd = !odd;
        if (state.range(0) == 0)
            drive_input.centre_distance = odd ? 2001.0 : 2000.0;
        else
            drive_input.z1 = odd ? 249 : 250;
        compute_drive(drive_input, drive_solution);
        update_display_outlines();
        fit_view_to_drive(width, height);
        report_size += build_report_text(drive_input, drive_options, drive_solution).size();
        redraw_canvas(surface, width, height, 1);
        benchmark::ClobberMemory();
    }
    state.counters["laid"] = static_cast<double>(drive_solution.laid);
    benchmark::DoNotOptimize(report_size);
    cairo_surface_destroy(surface);
}
BENCHMARK(BM_keystroke_z250)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
