#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "export/export_file.h"

// An ISO 10303-21 file of the AP214 schema AUTOMOTIVE_DESIGN, written as it
// is made. Every entity instance becomes its final line at once and goes to
// the file under the next instance number; numbers only ever refer back, so
// nothing of the model has to wait in memory. Calling order: step_begin, any
// number of entity operations, then step_write_file (or step_discard).

// The file being written, with the bytes that have not reached the disk yet.
// While no file is open the lines collect in its bytes.
extern ExportFile step_entity_store;
// The instance number of the last entity added; 0 right after step_begin.
extern std::int64_t step_entity_counter;

// What step_begin's preamble gives every file: the product definition shape
// the representations are attached to, and the context of every
// representation (three-dimensional; the 2D drawing lies in z = 0).
constexpr std::int64_t step_shape_definition = 8;
constexpr std::int64_t step_representation_context = 13;

// Opens the file at `path`, writes the header (the description, the file name
// without folder, the local time of writing) and the thirteen entities of the
// preamble: application context, the product named `product_name`, units,
// uncertainty and the geometric context. A file still open from an export
// that gave up is discarded first. 1, or 0 with "Cannot write the file." in
// export_error_text.
std::int64_t step_begin(const std::string& path, std::string_view product_name, std::string_view description);

// Adds "#n=text;" with the next number n and returns n. Names inside the text
// go through step_string.
std::int64_t step_add_entity(std::string_view text);

// "#" + number.
std::string step_ref(std::int64_t number);

// The text of a quoted STEP string, without its quotes, from UTF-8 text:
// apostrophes and control characters are left out, a backslash is doubled,
// the characters U+0080 to U+00FF are written as \X\hh, and characters above
// them, which the 8-bit file cannot carry, are left out.
std::string step_string(std::string_view text);

// The shared entities; each returns the number of the entity its name says,
// after the entities it needs.
std::int64_t step_cartesian_point(double x, double y, double z);
std::int64_t step_vertex_point(double x, double y, double z);
// The two directions are made by the caller beforehand.
std::int64_t step_axis2_placement(double x, double y, double z, std::int64_t axis, std::int64_t reference);
std::int64_t step_oriented_edge(std::int64_t edge, std::int64_t same_sense);

// A clamped uniform B-spline through the control polygon of the first n
// points of x and y, at height z: degree 3, or n - 1 below four points. The n
// points stand directly before the curve. 0, adding nothing, when n < 2.
std::int64_t step_open_bspline(const std::vector<double>& x, const std::vector<double>& y, std::int64_t n,
                               double z);

// Ends the DATA section and the file and puts the file in its place: 1, or 0
// with "Cannot write the file." in export_error_text and no file left behind.
std::int64_t step_write_file();

// Gives up the file begun: the target stays as it was.
void step_discard();
