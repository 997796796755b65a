#include "export/mesh_writers.h"

#include <bit>
#include <cmath>
#include <vector>

#include "export/export.h"
#include "export/export_file.h"
#include "export/part_list_3d.h"
#include "export/shape_list_2d.h"
#include "export/tessellation.h"
#include "model/format.h"
#include "text/texts.h"

namespace {

// The part list of the export scope; a scope that selects nothing would be a
// file without a solid.
std::int64_t mesh_parts(const DriveInput& input, const DriveSolution& solution, const DriveOptions& options,
                        std::vector<ExportPart>& parts)
{
    if (!build_3d_part_list(input, solution, options, parts)) return 0;
    if (parts.empty()) {
        export_error_text = text::export_no_valid_drive;
        return 0;
    }
    return 1;
}

char* put_le32(char* p, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i) *p++ = static_cast<char>((value >> (8 * i)) & 0xFFu);
    return p;
}

char* put_float(char* p, double value)
{
    return put_le32(p, std::bit_cast<std::uint32_t>(static_cast<float>(value)));
}

void write_stl_record(ExportFile& file, const MeshTriangle& t)
{
    const double ax = t.x[1] - t.x[0], ay = t.y[1] - t.y[0], az = t.z[1] - t.z[0];
    const double bx = t.x[2] - t.x[0], by = t.y[2] - t.y[0], bz = t.z[2] - t.z[0];
    double nx = ay * bz - az * by;
    double ny = az * bx - ax * bz;
    double nz = ax * by - ay * bx;
    const double length = std::sqrt(nx * nx + ny * ny + nz * nz);
    if (length > 0.0) {
        nx /= length;
        ny /= length;
        nz /= length;
    }
    char record[50];
    char* p = record;
    p = put_float(p, nx);
    p = put_float(p, ny);
    p = put_float(p, nz);
    for (int k = 0; k < 3; ++k) {
        p = put_float(p, t.x[k]);
        p = put_float(p, t.y[k]);
        p = put_float(p, t.z[k]);
    }
    p[0] = p[1] = 0;  // no attributes
    write_export_bytes(file, std::string_view(record, sizeof record));
}

}  // namespace

std::int64_t write_stl_binary(const std::string& path, const DriveInput& input, const DriveSolution& solution,
                              const DriveOptions& options)
{
    return write_stl_binary_at_most(path, input, solution, options, stl_most_triangles);
}

std::int64_t write_stl_binary_at_most(const std::string& path, const DriveInput& input,
                                      const DriveSolution& solution, const DriveOptions& options,
                                      std::uint64_t most_triangles)
{
    std::vector<ExportPart> parts;
    if (!mesh_parts(input, solution, options, parts)) return 0;
    ExportFile file;
    if (!begin_export_file(file, path)) return 0;

    // The header names the tolerance the mesh is made at, also where the
    // options hold none that can be used.
    const double tolerance = mesh_chord_tolerance(options);
    std::string header = text::stl_header_prefix + format_fixed(tolerance, 4) + text::stl_header_unit;
    header.resize(80, ' ');
    header.append(4, '\0');  // the count, known at the end
    write_export_bytes(file, header);

    std::uint64_t count = 0;
    bool too_many = false;
    build_export_mesh(solution, parts, tolerance, [&](const ExportPart&) {
        count += mesh_triangles.size();
        if (count > most_triangles) {
            too_many = true;
            return false;
        }
        for (const MeshTriangle& t : mesh_triangles) write_stl_record(file, t);
        return export_file_ok(file);  // a full disk: the rest is not worth making
    });
    release_mesh_triangles();
    if (too_many) {
        export_error_text = text::stl_too_many_triangles;
        return 0;
    }

    char bytes[4];
    put_le32(bytes, static_cast<std::uint32_t>(count));
    patch_export_file(file, 80, std::string_view(bytes, sizeof bytes));
    if (!finish_export_file(file)) return 0;
    return static_cast<std::int64_t>(count);
}

std::int64_t write_dxf_3d(const std::string& path, const DriveInput& input, const DriveSolution& solution,
                          const DriveOptions& options)
{
    std::vector<ExportPart> parts;
    if (!mesh_parts(input, solution, options, parts)) return 0;
    ExportFile file;
    if (!begin_export_file(file, path)) return 0;

    write_line_crlf(file, "0\r\nSECTION\r\n2\r\nHEADER\r\n9\r\n$ACADVER\r\n1\r\nAC1009\r\n9\r\n$INSUNITS\r\n70\r\n4\r\n"
                          "0\r\nENDSEC");
    write_line_crlf(file, "0\r\nSECTION\r\n2\r\nENTITIES");

    // Each face starts with the same lines for all the triangles of a part.
    const LayerTexts layers;
    std::string head;
    std::string face;
    static const char* const corner_codes[4][3] = {{"\r\n10\r\n", "\r\n20\r\n", "\r\n30\r\n"},
                                                   {"\r\n11\r\n", "\r\n21\r\n", "\r\n31\r\n"},
                                                   {"\r\n12\r\n", "\r\n22\r\n", "\r\n32\r\n"},
                                                   {"\r\n13\r\n", "\r\n23\r\n", "\r\n33\r\n"}};
    const double tolerance = mesh_chord_tolerance(options);
    const std::int64_t count = build_export_mesh(solution, parts, tolerance, [&](const ExportPart& part) {
        const std::size_t slot = layers.slot(part.layer);
        head = "0\r\n3DFACE\r\n8\r\n" + layers.name[slot] + "\r\n62\r\n" + layers.colour[slot];
        for (const MeshTriangle& t : mesh_triangles) {
            face = head;
            for (int k = 0; k < 4; ++k) {
                const int v = k < 3 ? k : 2;  // a triangle: the fourth corner is the third
                face += corner_codes[k][0];
                append_fixed_decimals(face, t.x[v], 4);
                face += corner_codes[k][1];
                append_fixed_decimals(face, t.y[v], 4);
                face += corner_codes[k][2];
                append_fixed_decimals(face, t.z[v], 4);
            }
            write_line_crlf(file, face);
        }
        return export_file_ok(file);
    });
    release_mesh_triangles();

    write_line_crlf(file, "0\r\nENDSEC\r\n0\r\nEOF");
    if (!finish_export_file(file)) return 0;
    return count;
}
