// Prints the report of the default drive in the linked language: what the
// end-to-end test expects to find in the window's report field.

#include <cstdio>

#include "model/drive.h"
#include "model/report.h"

int main()
{
    DriveSolution solution;
    compute_drive(DriveInput{}, solution);
    std::string report = build_report_text(DriveInput{}, DriveOptions{}, solution);
    std::fwrite(report.data(), 1, report.size(), stdout);
    return 0;
}
