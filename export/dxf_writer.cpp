#include "export/dxf_writer.h"

#include <algorithm>

#include "export/export.h"
#include "export/export_file.h"
#include "export/shape_list_2d.h"

namespace {

// One group: its code line and its value line, joined by CR LF. The last
// line of an entity gets its CR LF from write_line_crlf.
void group(std::string& out, const char* code, std::string_view value)
{
    if (!out.empty()) out += "\r\n";
    out += code;
    out += "\r\n";
    out += value;
}

void number_group(std::string& out, const char* code, double value)
{
    if (!out.empty()) out += "\r\n";
    out += code;
    out += "\r\n";
    append_export_number(out, value);
}

struct Extents {
    double min_x = 1e30;
    double min_y = 1e30;
    double max_x = -1e30;
    double max_y = -1e30;

    void add(double x, double y)
    {
        min_x = std::min(min_x, x);
        min_y = std::min(min_y, y);
        max_x = std::max(max_x, x);
        max_y = std::max(max_y, y);
    }
};

void add_shape(Extents& e, const Shape2D& shape)
{
    if (shape.is_circle) {
        e.add(shape.cx - shape.r, shape.cy - shape.r);
        e.add(shape.cx + shape.r, shape.cy + shape.r);
    } else {
        for (const Point2D& q : shape.points) e.add(q.x, q.y);
    }
}

void write_entity(std::string& out, const Shape2D& shape, const LayerTexts& layers)
{
    const std::size_t slot = layers.slot(shape.layer);
    const std::string& layer = layers.name[slot];
    if (shape.is_circle) {
        group(out, "0", "CIRCLE");
        group(out, "8", layer);
        group(out, "62", layers.colour[slot]);
        number_group(out, "10", shape.cx);
        number_group(out, "20", shape.cy);
        group(out, "30", "0.0");
        number_group(out, "40", shape.r);
        return;
    }
    group(out, "0", "POLYLINE");
    group(out, "8", layer);
    group(out, "62", layers.colour[slot]);
    group(out, "66", "1");
    group(out, "70", "1");  // closed: the first vertex is not repeated
    group(out, "10", "0.0");
    group(out, "20", "0.0");
    group(out, "30", "0.0");
    for (const Point2D& q : shape.points) {
        group(out, "0", "VERTEX");
        group(out, "8", layer);
        number_group(out, "10", q.x);
        number_group(out, "20", q.y);
        group(out, "30", "0.0");
    }
    group(out, "0", "SEQEND");
    group(out, "8", layer);
}

}  // namespace

std::int64_t write_dxf_2d(const std::string& path, const DriveInput& input, const DriveSolution& solution,
                          const DriveOptions& options)
{
    export_error_text.clear();
    // The header carries the extents, so the shapes are made twice: once for
    // the extents and the checks, once to be written as they come.
    Extents extents;
    if (!check_2d_shapes(input, solution, options, [&extents](const Shape2D& shape) { add_shape(extents, shape); }))
        return 0;

    ExportFile file;
    if (!begin_export_file(file, path)) return 0;

    std::string part;
    group(part, "0", "SECTION");
    group(part, "2", "HEADER");
    group(part, "9", "$ACADVER");
    group(part, "1", "AC1009");
    group(part, "9", "$INSUNITS");
    group(part, "70", "4");  // millimetres
    group(part, "9", "$EXTMIN");
    number_group(part, "10", extents.min_x);
    number_group(part, "20", extents.min_y);
    group(part, "30", "0.0");
    group(part, "9", "$EXTMAX");
    number_group(part, "10", extents.max_x);
    number_group(part, "20", extents.max_y);
    group(part, "30", "0.0");
    group(part, "0", "ENDSEC");
    write_line_crlf(file, part);

    part.clear();
    group(part, "0", "SECTION");
    group(part, "2", "ENTITIES");
    write_line_crlf(file, part);

    const LayerTexts layers;
    std::int64_t count = 0;
    for_each_2d_shape(input, solution, options, -1, [&](const Shape2D& shape) {
        if (!export_file_ok(file)) return;  // a full disk: the rest is not worth formatting
        part.clear();
        write_entity(part, shape, layers);
        write_line_crlf(file, part);
        ++count;
    });

    part.clear();
    group(part, "0", "ENDSEC");
    group(part, "0", "EOF");
    write_line_crlf(file, part);

    if (!finish_export_file(file)) return 0;
    return count;
}
