#pragma once

#include <cstdint>
#include <string>

#include "model/drive.h"

// The two mesh exports of the drive, or of its export scope: every wheel,
// plate, bush, roller and pin a closed, outward-facing triangle shell at the
// chord tolerance of the options. Each returns the number of triangles
// written; 0 on failure with the reason in export_error_text, and then no file
// is left behind (an existing file stays as it was). The parts are meshed and
// written one at a time, so a long chain never has all its triangles in memory.

// Binary STL: an 80-byte header of blanks after its text, the triangle count
// (32 bits), then 50 bytes a triangle: unit normal and corners as
// little-endian floats and a zero attribute count.
std::int64_t write_stl_binary(const std::string& path, const DriveInput& input, const DriveSolution& solution,
                              const DriveOptions& options);

// The most triangles the count of an STL file holds.
constexpr std::uint64_t stl_most_triangles = 0xFFFFFFFFu;

// write_stl_binary for a mesh of at most `most_triangles`; a larger one is
// refused with "Too many triangles for an STL file; ...".
std::int64_t write_stl_binary_at_most(const std::string& path, const DriveInput& input,
                                      const DriveSolution& solution, const DriveOptions& options,
                                      std::uint64_t most_triangles);

// DXF R12 of 3DFACE entities, one per triangle, on the layer of its part and in
// that layer's colour; corners with four decimals, the fourth repeating the
// third. 8-bit text, CR LF line ends.
std::int64_t write_dxf_3d(const std::string& path, const DriveInput& input, const DriveSolution& solution,
                          const DriveOptions& options);
