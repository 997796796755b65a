#include "export/export_file.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "export/export.h"
#include "text/texts.h"

void append_fixed_decimals(std::string& out, double x, int decimals)
{
    static constexpr double scales[] = {1.0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
    decimals = std::clamp(decimals, 1, 9);

    // Nearly every coordinate takes the quick road: the units of the last
    // decimal as a whole number. Below 2^50 every k + 0.5 is a double, and
    // rounding is monotonic, so the scaled double lies on the same side of
    // each such half as the exact product, or on the half itself. Only then,
    // and for huge values, does to_chars decide, which is exact but several
    // times slower.
    const double scaled = x * scales[decimals];
    const double magnitude = std::fabs(scaled);
    if (magnitude < 1e15) {
        const double whole = std::floor(magnitude);
        const double fraction = magnitude - whole;  // exact
        if (fraction != 0.5) {
            unsigned long long units = static_cast<unsigned long long>(whole) + (fraction > 0.5 ? 1 : 0);
            char buffer[32];
            char* end = buffer + sizeof buffer;
            char* p = end;
            for (int i = 0; i < decimals; ++i, units /= 10) *--p = static_cast<char>('0' + units % 10);
            *--p = '.';
            do {
                *--p = static_cast<char>('0' + units % 10);
                units /= 10;
            } while (units != 0);
            // A small negative value that rounds to zero keeps its sign.
            if (x < 0.0) *--p = '-';
            out.append(p, end);
            return;
        }
    }
    // to_chars gives the correctly rounded decimal of the double and ignores
    // the locale, which under GTK may well use a decimal comma.
    char buffer[400];  // the largest double has 309 integer digits
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::fixed, decimals);
    out.append(buffer, result.ptr);
}

void append_export_number(std::string& out, double x)
{
    if (std::fabs(x) < 1e-12) x = 0.0;
    append_fixed_decimals(out, x, 6);
}

std::string format_export_number(double x)
{
    std::string out;
    append_export_number(out, x);
    return out;
}

void append_8bit_text(std::string& out, std::string_view text)
{
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n) {
        // Plain ASCII, which is all the writers produce, is copied in runs,
        // looked at eight bytes at a time.
        std::size_t run = i;
        while (run + 8 <= n) {
            std::uint64_t eight;
            std::memcpy(&eight, text.data() + run, 8);
            if (eight & 0x8080808080808080ULL) break;
            run += 8;
        }
        while (run < n && static_cast<unsigned char>(text[run]) < 0x80) ++run;
        out.append(text.data() + i, run - i);
        i = run;
        if (i >= n) break;

        const unsigned char lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        if (lead >= 0xC2 && lead <= 0xDF)
            length = 2;
        else if (lead >= 0xE0 && lead <= 0xEF)
            length = 3;
        else if (lead >= 0xF0 && lead <= 0xF4)
            length = 4;
        bool whole = length != 0 && i + length <= n;
        for (std::size_t k = 1; whole && k < length; ++k)
            whole = (static_cast<unsigned char>(text[i + k]) & 0xC0) == 0x80;
        if (!whole) {
            ++i;  // a byte that starts no character is no character: left out
            continue;
        }
        if (length == 2) {
            const unsigned code = (lead & 0x1Fu) << 6 | (static_cast<unsigned char>(text[i + 1]) & 0x3Fu);
            if (code <= 0xFF) out += static_cast<char>(code);
        }
        i += length;  // characters above U+00FF have no 8-bit form
    }
}

namespace {

// Large enough that the disk sees few writes, small enough to go unnoticed in memory.
constexpr std::size_t export_piece_bytes = 1u << 20;

void hand_over(ExportFile& file)
{
    // A file that is not open collects everything (the tests look at it).
    if (file.output.fd < 0) return;
    output_write(file.output, file.bytes);
    file.bytes.clear();
}

void hand_over_when_large(ExportFile& file)
{
    if (file.bytes.size() >= export_piece_bytes) hand_over(file);
}

}  // namespace

std::int64_t begin_export_file(ExportFile& file, const std::string& path)
{
    file.bytes.clear();
    if (!output_open(file.output, path)) {
        export_error_text = text::project_cannot_write;
        return 0;
    }
    file.bytes.reserve(export_piece_bytes + export_piece_bytes / 4);
    return 1;
}

bool export_file_ok(const ExportFile& file)
{
    return file.output.fd >= 0 && file.output.error == 0;
}

void write_line_crlf(ExportFile& file, std::string_view text)
{
    append_8bit_text(file.bytes, text);
    file.bytes += "\r\n";
    hand_over_when_large(file);
}

void write_export_bytes(ExportFile& file, std::string_view bytes)
{
    file.bytes.append(bytes);
    hand_over_when_large(file);
}

void patch_export_file(ExportFile& file, std::uint64_t offset, std::string_view bytes)
{
    hand_over(file);
    output_patch(file.output, offset, bytes);
}

std::int64_t finish_export_file(ExportFile& file)
{
    hand_over(file);
    if (!output_commit(file.output)) {
        export_error_text = text::project_cannot_write;
        return 0;
    }
    return 1;
}
