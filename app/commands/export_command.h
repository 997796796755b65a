#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/toolkit/toolkit.h"

// The command behind the five export buttons: reads the fields, refuses when
// no drive is laid or a bore of the export scope cannot be made (the writers'
// check_export_bores), asks for the file (proposed in the last export folder),
// asks before overwriting, writes the file of the kind (an ExportKind) under
// the busy cursor and tells the user the count and the size, or the reason it
// failed. The export folder is remembered only after a file was written.
void export_drive_to_file(std::int64_t kind);

// A filter text as the export kinds give it, "DXF R12 (*.dxf)|*.dxf": pairs of
// a display name and its patterns, separated by "|", the patterns of one entry
// separated by ";". A name without patterns is dropped.
std::vector<FileFilter> file_filters_of(const std::string& filter_text);
