// Writes the 3D STEP files that a real reader checks (check_step_occt.py
// SOLID): the program's default drive whole and wheel 1 with a bore. After
// each file's count comes, part by part, its layer, its volume by the closed
// form and the mesh deflection at which the reader's measure of that volume
// is off by less than 0.03 %.
#include <cmath>
#include <cstdio>
#include <numbers>

#include "export/part_list_3d.h"
#include "export/step_solids.h"
#include "model/chain_size.h"
#include "model/outline.h"
#include "tests/export/sample_drives.h"
#include "tests/support/outline_measure.h"

namespace {

double disc(double diameter)
{
    return std::numbers::pi * diameter * diameter / 4.0;
}

// A part's section (outline less holes) and the length of its edges.
struct Section {
    double area = 0.0;
    double length = 0.0;
};

Section section_of(const ExportPart& part, const DriveSolution& solution, double pitch)
{
    const auto hole = [](Section s, double diameter, int count) {
        s.area -= count * disc(diameter);
        s.length += count * std::numbers::pi * diameter;
        return s;
    };
    if (part.kind == PartCylinder) return hole({disc(part.outer_diameter), std::numbers::pi * part.outer_diameter},
                                               part.inner_diameter, 1);
    Outline outline;
    if (part.kind == PartWheel)
        outline = part.wheel_slot == Wheel1 ? solution.wheel1_geometry.outline
                  : part.wheel_slot == Idler ? solution.idler_geometry.outline
                                             : solution.wheel2_geometry.outline;
    else
        link_plate_outline(part.x1, part.y1, part.x2, part.y2, part.plate_height, outline, pitch / 2000.0);
    const Section whole{std::fabs(signed_area(outline)), outline_length(outline)};
    return part.kind == PartWheel ? hole(whole, part.bore, 1) : hole(whole, part.plate_hole_diameter, 2);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s folder\n", argv[0]);
        return 2;
    }
    SampleDrive drive{"drive_3d", {}, {}};
    SampleDrive wheel{"wheel_3d", {}, {}};
    wheel.options.export_scope = ExportWheel1Only;
    wheel.options.bore1 = 20;
    for (const SampleDrive& sample : {drive, wheel}) {
        const std::string name = sample.name + ".stp";
        DriveSolution solution;
        compute_drive(sample.input, solution);
        const std::int64_t count = write_step_3d(std::string(argv[1]) + "/" + name, sample.input, solution,
                                                 sample.options);
        if (count == 0) {
            std::fprintf(stderr, "%s: %s\n", name.c_str(), export_error_text.c_str());
            return 1;
        }
        std::vector<ExportPart> parts;
        build_3d_part_list(sample.input, solution, sample.options, parts);
        const double pitch = chain_sizes[static_cast<std::size_t>(sample.input.size_index)].pitch;
        std::printf("%s\t%lld\t", name.c_str(), static_cast<long long>(count));
        // A mesh with chords of sagitta d loses about 2/3 d of area per unit
        // of edge length.
        for (const ExportPart& part : parts) {
            const Section section = section_of(part, solution, pitch);
            std::printf(" %lld:%.6f:%.6g", static_cast<long long>(part.layer), section.area * (part.z_high - part.z_low),
                        0.00045 * section.area / section.length);
        }
        std::printf("\n");
    }
    return 0;
}
