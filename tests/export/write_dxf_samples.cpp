// Writes the 2D DXF files that a real reader audits (audit_dxf.py): every
// scope of the program's default drive, the drive with bores, the drive turned
// so that the other links are the inner ones, and a large drive. With "3d"
// after the folder, the mesh files instead (audit_mesh.py): the default drive
// as a 3D DXF and wheel 1 with a bore as an STL file.
#include <cstdio>
#include <string>

#include "export/dxf_writer.h"
#include "export/export.h"
#include "export/mesh_writers.h"

namespace {

int write(const std::string& folder, const char* name, const DriveInput& input, const DriveOptions& options,
          ExportWriter writer = write_dxf_2d)
{
    DriveSolution solution;
    if (!compute_drive(input, solution)) {
        std::fprintf(stderr, "%s: the drive is not laid: %s\n", name, solution.error_text.c_str());
        return 1;
    }
    const std::int64_t count = writer(folder + "/" + name, input, solution, options);
    if (count == 0) {
        std::fprintf(stderr, "%s: %s\n", name, export_error_text.c_str());
        return 1;
    }
    std::printf("%s %lld\n", name, static_cast<long long>(count));
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: %s folder [3d]\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    int failures = 0;
    const DriveInput standard;
    if (argc == 3) {
        DriveOptions options;
        options.chord_tolerance = 0.1;
        failures += write(folder, "drive_3d.dxf", standard, options, write_dxf_3d);
        options.chord_tolerance = 0.01;
        options.export_scope = ExportWheel1Only;
        options.bore1 = 20;
        failures += write(folder, "wheel.stl", standard, options, write_stl_binary);
        return failures == 0 ? 0 : 1;
    }
    for (std::int64_t scope = 0; scope <= 4; ++scope) {
        DriveOptions options;
        options.export_scope = scope;
        const std::string name = "scope" + std::to_string(scope) + ".dxf";
        failures += write(folder, name.c_str(), standard, options);
    }
    DriveOptions bores;
    bores.bore1 = 20;
    bores.bore2 = 25;
    bores.idler_bore = 10;
    bores.export_pitch_circles = 0;
    failures += write(folder, "bores.dxf", standard, bores);

    DriveInput turned;
    turned.rotation = 2.0;
    failures += write(folder, "turned.dxf", turned, DriveOptions{});

    DriveInput large;
    large.size_index = 9;  // 32B
    large.z2 = 250;
    large.links = 400;
    large.centre_distance = 6400;
    failures += write(folder, "large.dxf", large, DriveOptions{});
    return failures == 0 ? 0 : 1;
}
