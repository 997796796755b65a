#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "export/dxf_writer.h"
#include "export/export.h"
#include "files/file_output.h"
#include "export/mesh_writers.h"
#include "export/shape_list_2d.h"
#include "export/step_2d.h"
#include "export/step_file.h"
#include "export/step_solids.h"

namespace {

// 0: the drive the program starts with (106 links); 1: its wheels with a chain
// of 400 links; 2: 32B, Z1 = 17, Z2 = 250, 400 links; 3: the longest chain
// the program lays, 05B round three wheels of 250 teeth at 39 m, idler inside,
// 19998 links (a file of hundreds of megabytes).
struct BenchDrive {
    DriveInput input;
    DriveSolution solution;
    DriveOptions options;

    explicit BenchDrive(std::int64_t which)
    {
        if (which == 1) {
            input.links = 400;
            input.centre_distance = 2376;
        } else if (which == 2) {
            input.size_index = 9;
            input.z2 = 250;
            input.links = 400;
            input.centre_distance = 6400;
        } else if (which == 3) {
            input.size_index = 0;
            input.z1 = input.z2 = input.idler_teeth = 250;
            input.centre_distance = 39000;
            input.links = 19998;
            input.idler_outside = 0;
        }
        compute_drive(input, solution);
    }
};

std::string bench_path(const char* extension = ".dxf")
{
    return "/tmp/zandrel_export_bench_" + std::to_string(getpid()) + extension;
}

void BM_build_2d_shape_list(benchmark::State& state)
{
    const BenchDrive d(state.range(0));
    std::vector<Shape2D> list;
    for (auto _ : state) {
        build_2d_shape_list(d.input, d.solution, d.options, list);
        benchmark::DoNotOptimize(list.data());
    }
    std::size_t points = 0;
    for (const Shape2D& s : list) points += s.points.size();
    state.counters["rollers"] = static_cast<double>(d.solution.rollers.size());
    state.counters["shapes"] = static_cast<double>(list.size());
    state.counters["points"] = static_cast<double>(points);
}
BENCHMARK(BM_build_2d_shape_list)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// A whole export as its button runs it, the file on the disk included: for
// the 2D files the shapes and the text, for the meshes (at the default chord
// tolerance of 0.01 mm) the part list and the tessellation part by part.
// `items` names what the writer counts.
void run_export(benchmark::State& state, ExportWriter writer, const char* extension, const char* items)
{
    const BenchDrive d(state.range(0));
    const std::string path = bench_path(extension);
    std::int64_t count = 0;
    for (auto _ : state) {
        count = writer(path, d.input, d.solution, d.options);
        benchmark::DoNotOptimize(count);
    }
    struct stat status {};
    stat(path.c_str(), &status);
    std::remove(path.c_str());
    if (count == 0) state.SkipWithError("the export failed");
    state.counters[items] = static_cast<double>(count);
    state.counters["KB"] = static_cast<double>(status.st_size / 1024);
    // The process's peak so far: run one case alone to read it as that case's.
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_write_dxf_2d(benchmark::State& state)
{
    run_export(state, write_dxf_2d, ".dxf", "entities");
}
BENCHMARK(BM_write_dxf_2d)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_write_dxf_2d)->Arg(3)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_write_step_2d(benchmark::State& state)
{
    run_export(state, write_step_2d, ".stp", "curves");
    state.counters["entities"] = static_cast<double>(step_entity_counter);
}
BENCHMARK(BM_write_step_2d)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_write_step_2d)->Arg(3)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_write_step_3d(benchmark::State& state)
{
    run_export(state, write_step_3d, ".stp", "solids");
    state.counters["entities"] = static_cast<double>(step_entity_counter);
}
BENCHMARK(BM_write_step_3d)->Arg(0)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_write_step_3d)->Arg(3)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_write_stl_binary(benchmark::State& state)
{
    run_export(state, write_stl_binary, ".stl", "triangles");
}
BENCHMARK(BM_write_stl_binary)->Arg(0)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_write_stl_binary)->Arg(3)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_write_dxf_3d(benchmark::State& state)
{
    run_export(state, write_dxf_3d, ".dxf", "triangles");
}
BENCHMARK(BM_write_dxf_3d)->Arg(0)->Arg(2)->Unit(benchmark::kMillisecond);

// The file output alone, for the same number of bytes: what the disk costs
// (the write, the flush to the disk and the rename).
void BM_file_output_alone(benchmark::State& state)
{
    const BenchDrive d(state.range(0));
    const std::string path = bench_path();
    write_dxf_2d(path, d.input, d.solution, d.options);
    std::string bytes;
    read_small_file(path, 1 << 30, bytes);
    for (auto _ : state) benchmark::DoNotOptimize(write_file_replacing(path, bytes));
    std::remove(path.c_str());
    state.counters["KB"] = static_cast<double>(bytes.size() / 1024);
}
BENCHMARK(BM_file_output_alone)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace
