#include <benchmark/benchmark.h>

#include "model/chain_size.h"
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
