#include "tests/export/sample_drives.h"

#include <cstdio>

std::vector<SampleDrive> sample_drives()
{
    std::vector<SampleDrive> drives;
    for (std::int64_t scope = 0; scope <= 4; ++scope) {
        drives.push_back({"scope" + std::to_string(scope), {}, {}});
        drives.back().options.export_scope = scope;
    }
    SampleDrive bores{"bores", {}, {}};
    bores.options.bore1 = 20;
    bores.options.bore2 = 25;
    bores.options.idler_bore = 10;
    bores.options.export_pitch_circles = 0;
    drives.push_back(bores);

    SampleDrive turned{"turned", {}, {}};
    turned.input.rotation = 2.0;
    drives.push_back(turned);

    SampleDrive large{"large", {}, {}};
    large.input.size_index = 9;  // 32B
    large.input.z2 = 250;
    large.input.links = 400;
    large.input.centre_distance = 6400;
    drives.push_back(large);
    return drives;
}

int write_sample_files(const std::string& folder, const std::vector<SampleDrive>& drives, const char* extension,
                       ExportWriter writer)
{
    int failures = 0;
    for (const SampleDrive& drive : drives) {
        const std::string name = drive.name + "." + extension;
        DriveSolution solution;
        if (!compute_drive(drive.input, solution)) {
            std::fprintf(stderr, "%s: the drive is not laid: %s\n", name.c_str(), solution.error_text.c_str());
            ++failures;
            continue;
        }
        const std::int64_t count = writer(folder + "/" + name, drive.input, solution, drive.options);
        if (count == 0) {
            std::fprintf(stderr, "%s: %s\n", name.c_str(), export_error_text.c_str());
            ++failures;
            continue;
        }
        std::printf("%s\t%lld\n", name.c_str(), static_cast<long long>(count));
    }
    return failures;
}
