// Writes the mesh files that the real readers check (audit_mesh.py): the
// program's default drive as a 3D DXF, and wheel 1 with a bore as an STL file.
#include <cstdio>

#include "export/mesh_writers.h"
#include "tests/export/sample_drives.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s folder\n", argv[0]);
        return 2;
    }
    SampleDrive drive{"drive_3d", {}, {}};
    drive.options.chord_tolerance = 0.1;
    SampleDrive wheel{"wheel", {}, {}};
    wheel.options.export_scope = ExportWheel1Only;
    wheel.options.bore1 = 20;
    const int failures = write_sample_files(argv[1], {drive}, "dxf", write_dxf_3d) +
                         write_sample_files(argv[1], {wheel}, "stl", write_stl_binary);
    return failures == 0 ? 0 : 1;
}
