#pragma once

#include <cstdint>
#include <string>

#include "model/drive.h"

// The 2D drawing of the export scope as a DXF file of release 12: a HEADER with
// the version, millimetres and the extents, and an ENTITIES section with one
// CIRCLE or closed POLYLINE per shape, on the layer of its kind and in that
// layer's colour. 8-bit text, CR LF line ends. Returns the number of entities
// written; 0 on failure with the reason in export_error_text, and then no file
// is left behind (an existing file stays as it was).
std::int64_t write_dxf_2d(const std::string& path, const DriveInput& input, const DriveSolution& solution,
                          const DriveOptions& options);
