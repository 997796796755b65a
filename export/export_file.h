#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// One export file in the making. A writer builds the whole file in `bytes`
// and hands it to finish_export_file, which puts it on the disk in one checked
// step: afterwards the file is either complete or not there at all (a file it
// was to replace then stays as it was). So no writer can report a count for a
// file that a full disk or a lost connection cut short.
struct ExportFile {
    std::string path;
    std::string bytes;
};

// The number form of the 2D DXF and the STEP files: exactly 6 decimals, '.' as
// the decimal point in every locale, no exponent; a magnitude below 1e-12 is
// written as 0.000000, while a larger negative value that rounds to zero keeps
// its sign ("-0.000000"). Callers pass finite values only: the writers refuse
// a drive that is not finite before they write.
std::string format_export_number(double x);
void append_export_number(std::string& out, double x);

// Appends `text` in the file's 8-bit form (every character up to U+00FF as
// one byte, every character above it left out) and then CR LF. A writer
// passes a whole entity at once, its lines joined by CR LF.
void write_line_crlf(ExportFile& file, std::string_view text);

// The 8-bit form of UTF-8 text, as write_line_crlf writes it.
void append_8bit_text(std::string& out, std::string_view text);

// Writes the file to its path: 1 when it is completely on the disk, 0 with
// "Cannot write the file." in export_error_text and no file left behind.
std::int64_t finish_export_file(const ExportFile& file);
