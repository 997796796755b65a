#pragma once

#include <string>
#include <vector>

#include "export/export.h"

// The drives whose files the real readers check: every scope of the
// program's default drive, the drive with bores and without pitch circles,
// the drive turned so that the other links are the inner ones, and a large
// 32B drive with a wheel of 250 teeth.
struct SampleDrive {
    std::string name;  // the file's name without extension
    DriveInput input;
    DriveOptions options;
};

std::vector<SampleDrive> sample_drives();

// Lays each drive and writes its file name + "." + extension into the folder
// with the writer, printing the file's name, a tab and the writer's count.
// Returns 0 when every file was written.
int write_sample_files(const std::string& folder, const std::vector<SampleDrive>& drives, const char* extension,
                       ExportWriter writer);
