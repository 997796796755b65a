#include <benchmark/benchmark.h>

#include "model/chain_size.h"
#include "model/drive.h"
#include "model/lay_chain.h"
#include "model/outline.h"
#include "model/sprocket.h"

namespace {

void build_wheel(SprocketGeometry& g, int size_index, int teeth)
{
    load_chain_size_table();
    const ChainSize& c = chain_sizes[static_cast<std::size_t>(size_index)];
    build_sprocket(g, teeth, c.pitch, c.roller_diameter, c.inner_width, 0.0);
}

void BM_build_sprocket(benchmark::State& state)
{
    SprocketGeometry g;
    for (auto _ : state) {
        build_wheel(g, static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
        benchmark::DoNotOptimize(g.outline.data());
    }
    state.counters["points"] = static_cast<double>(g.outline.size());
}
BENCHMARK(BM_build_sprocket)->Args({2, 17})->Args({9, 250})->Unit(benchmark::kMicrosecond);

// The drawing thins every wheel at 0.001 mm after each recalculation.
void BM_simplify_closed_outline(benchmark::State& state)
{
    SprocketGeometry g;
    build_wheel(g, static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    Outline thin;
    for (auto _ : state) {
        simplify_closed_outline(g.outline, 0.001, thin);
        benchmark::DoNotOptimize(thin.data());
    }
    state.counters["kept"] = static_cast<double>(thin.size());
}
BENCHMARK(BM_simplify_closed_outline)->Args({2, 17})->Args({9, 250})->Unit(benchmark::kMicrosecond);

}  // namespace

namespace {

// 0: the drive the program starts with; 1: 05B round two small wheels at
// 80 pitches; 2: the longest chain the program lays, 05B round three wheels
// of 250 teeth at 39 m with the idler inside (19998 links).
DriveInput bench_drive(std::int64_t which)
{
    DriveInput in;
    if (which == 0) return in;
    in.size_index = 0;  // 05B
    in.idler_outside = 0;
    if (which == 1) {
        in.z1 = 9;
        in.z2 = 9;
        in.centre_distance = 80 * 8.0;
    } else {
        in.z1 = in.z2 = in.idler_teeth = 250;
        in.centre_distance = 39000.0;
        in.links = 19998;
    }
    return in;
}

// The full recalculation on every keystroke in a field.
void BM_compute_drive(benchmark::State& state)
{
    const DriveInput in = bench_drive(state.range(0));
    DriveSolution s;
    for (auto _ : state) benchmark::DoNotOptimize(compute_drive(in, s));
    state.counters["links"] = static_cast<double>(s.chosen_links);
}
BENCHMARK(BM_compute_drive)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

// The laying alone, on every animation tick and every mouse move of an idler drag.
void BM_lay_chain(benchmark::State& state)
{
    DriveInput in = bench_drive(state.range(0));
    DriveSolution s;
    compute_drive(in, s);
    double rotation = 0.0;
    for (auto _ : state) {
        rotation += 0.0069813;  // 4 x 0.1 degree, one tick at the default speed
        in.rotation = rotation;
        benchmark::DoNotOptimize(lay_chain(in, s));
    }
    state.counters["laid"] = static_cast<double>(s.laid);
    state.counters["links"] = static_cast<double>(s.chosen_links);
}
BENCHMARK(BM_lay_chain)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

}  // namespace
