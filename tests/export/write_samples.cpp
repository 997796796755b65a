// Writes the files of one kind that a real reader checks into FOLDER and
// prints a line a file: its name, a tab and the writer's count.
//   write_samples dxf FOLDER     2D DXF of every sample drive (audit_dxf.py)
//   write_samples mesh FOLDER    3D DXF of the default drive, STL of wheel 1 with a bore (audit_mesh.py)
//   write_samples step FOLDER    2D STEP of every sample drive and of a name that needs the string escapes
//   write_samples step3d FOLDER  3D STEP of the default drive and of wheel 1 with a bore; after the count a
//                                tab and, part by part, "layer:volume:deflection": its closed-form volume and
//                                the mesh deflection at which the reader measures it to 0.03 %
//                                (check_step_occt.py)
#include <cstdio>
#include <string>
#include <vector>

#include "export/dxf_writer.h"
#include "export/export.h"
#include "export/mesh_writers.h"
#include "export/step_2d.h"
#include "export/step_solids.h"
#include "tests/export/export_support.h"

namespace {

struct Sample {
    std::string file;
    ExportWriter writer;
    DriveInput input{};
    DriveOptions options{};
};

// Every scope of the program's default drive, the drive with bores and without
// pitch circles, the drive turned so that the other links are the inner ones,
// and a large 32B drive with a wheel of 250 teeth.
std::vector<Sample> every_drive(const std::string& extension, ExportWriter writer)
{
    std::vector<Sample> samples;
    for (std::int64_t scope = 0; scope <= 4; ++scope)
        samples.push_back({"scope" + std::to_string(scope) + extension, writer, {}, {.export_scope = scope}});
    samples.push_back({"bores" + extension, writer, {}, {.bore1 = 20, .bore2 = 25, .idler_bore = 10,
                                                         .export_pitch_circles = 0}});
    samples.push_back({"turned" + extension, writer, {.rotation = 2.0}});
    samples.push_back({"large" + extension, writer, {.size_index = 9, .z2 = 250, .centre_distance = 6400,
                                                     .links = 400}});
    return samples;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string kind = argc == 3 ? argv[1] : "";
    const DriveOptions wheel{.bore1 = 20, .export_scope = ExportWheel1Only};
    std::vector<Sample> samples;
    if (kind == "dxf") samples = every_drive(".dxf", write_dxf_2d);
    if (kind == "mesh")
        samples = {{"drive_3d.dxf", write_dxf_3d, {}, {.chord_tolerance = 0.1}},
                   {"wheel.stl", write_stl_binary, {}, wheel}};
    if (kind == "step") {
        samples = every_drive(".stp", write_step_2d);
        // Of the large drive only the idler, far from the origin: the reader
        // takes half a minute on each curve of the 250-tooth wheel.
        samples.back().options.export_scope = ExportIdlerOnly;
        // An apostrophe, a backslash, a letter of Latin-1's upper half and one beyond it.
        samples.push_back(
            {"it's a \\ dr\xC3\xA9ve \xE2\x82\xAC.stp", write_step_2d, {}, {.export_scope = ExportWheel1Only}});
    }
    if (kind == "step3d") samples = {{"drive_3d.stp", write_step_3d}, {"wheel_3d.stp", write_step_3d, {}, wheel}};
    if (samples.empty()) {
        std::fprintf(stderr, "usage: %s dxf|mesh|step|step3d folder\n", argv[0]);
        return 2;
    }
    int failures = 0;
    for (const Sample& sample : samples) {
        DriveSolution solution;
        const bool laid = compute_drive(sample.input, solution) == 1;
        const std::int64_t count =
            laid ? sample.writer(std::string(argv[2]) + "/" + sample.file, sample.input, solution, sample.options) : 0;
        if (count == 0) {
            std::fprintf(stderr, "%s: %s\n", sample.file.c_str(),
                         (laid ? export_error_text : solution.error_text).c_str());
            ++failures;
            continue;
        }
        std::printf("%s\t%lld", sample.file.c_str(), static_cast<long long>(count));
        std::vector<ExportPart> parts;
        if (kind == "step3d") build_3d_part_list(sample.input, solution, sample.options, parts);
        // A mesh with chords of sagitta d loses about 2/3 d of area per unit of edge length.
        for (const ExportPart& part : parts) {
            const PartSolid solid = part_solid(solution, part);
            std::printf("%s%lld:%.6f:%.6g", &part == &parts[0] ? "\t" : " ", static_cast<long long>(part.layer),
                        solid.volume, 0.00045 * solid.volume / (part.z_high - part.z_low) / solid.edge_length);
        }
        std::printf("\n");
    }
    return failures == 0 ? 0 : 1;
}
