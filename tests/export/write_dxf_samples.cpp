// Writes the 2D DXF files of the sample drives that a real reader audits
// (audit_dxf.py).
#include <cstdio>

#include "export/dxf_writer.h"
#include "tests/export/sample_drives.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s folder\n", argv[0]);
        return 2;
    }
    return write_sample_files(argv[1], sample_drives(), "dxf", write_dxf_2d) == 0 ? 0 : 1;
}
