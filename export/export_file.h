#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "files/file_output.h"

// One export file in the making. A writer opens it before its first entity
// and hands each entity to it as soon as it is made; the text collects in
// `bytes` and goes to the disk in large checked pieces, so the memory of an
// export stays the same whatever the size of the file. Only a file that was
// written completely replaces the target (see OutputFile); a writer that gives
// up, or meets a write error, leaves no file behind.
struct ExportFile {
    OutputFile output;
    std::string bytes;  // made, not yet handed to the output
};

// Starts the file at `path`: 1, or 0 with "Cannot write the file." in
// export_error_text.
std::int64_t begin_export_file(ExportFile& file, const std::string& path);

// Whether every write so far has succeeded; a writer may stop early when not.
bool export_file_ok(const ExportFile& file);

// The number form of the 2D DXF and the STEP files: exactly 6 decimals, '.' as
// the decimal point in every locale, no exponent; a magnitude below 1e-12 is
// written as 0.000000, while a larger negative value that rounds to zero keeps
// its sign ("-0.000000"). Callers pass finite values only: the writers refuse
// a drive that is not finite before they write.
std::string format_export_number(double x);
void append_export_number(std::string& out, double x);

// x with exactly `decimals` (1 to 9) decimals in the same form, without the
// zero rule: an exact zero of either sign is written without a sign, any
// other negative value keeps its '-' even when it rounds to zero.
void append_fixed_decimals(std::string& out, double x, int decimals);

// Appends `text` in the file's 8-bit form (every character up to U+00FF as
// one byte, every character above it left out) and then CR LF. A writer
// passes a whole entity at once, its lines joined by CR LF.
void write_line_crlf(ExportFile& file, std::string_view text);

// Appends bytes as they are (a binary file).
void write_export_bytes(ExportFile& file, std::string_view bytes);

// Overwrites bytes written earlier at `offset` from the start of the file,
// for a count that is known only at the end.
void patch_export_file(ExportFile& file, std::uint64_t offset, std::string_view bytes);

// The 8-bit form of UTF-8 text, as write_line_crlf writes it.
void append_8bit_text(std::string& out, std::string_view text);

// Puts the file in its place: 1 when it is completely on the disk, 0 with
// "Cannot write the file." in export_error_text and no file left behind.
std::int64_t finish_export_file(ExportFile& file);
