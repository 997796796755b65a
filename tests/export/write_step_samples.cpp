// Writes the 2D STEP files of the sample drives that a real reader checks
// (check_step_occt.py), and one whose name needs the string escapes.
#include <cstdio>

#include "export/step_2d.h"
#include "tests/export/sample_drives.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s folder\n", argv[0]);
        return 2;
    }
    std::vector<SampleDrive> drives = sample_drives();
    // Of the large drive the idler, far from the origin: the curves of the
    // 250-tooth wheel, some 60000 control points each, take the reader half a
    // minute apiece.
    drives.back().options.export_scope = ExportIdlerOnly;
    // An apostrophe, a backslash, a letter of the upper half of Latin-1 and
    // one beyond it.
    SampleDrive named{"it's a \\ dr\xC3\xA9ve \xE2\x82\xAC", {}, {}};
    named.options.export_scope = ExportWheel1Only;
    drives.push_back(named);
    return write_sample_files(argv[1], drives, "stp", write_step_2d) == 0 ? 0 : 1;
}
