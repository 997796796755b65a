#include "export/step_file.h"

#include <cstdio>
#include <ctime>

#include "files/path_name.h"
#include "model/format.h"
#include "text/texts.h"

ExportFile step_entity_store;
std::int64_t step_entity_counter = 0;

namespace {

// One line at a time is made here and handed over, so that the many small
// entities of a large file cost no allocation each.
std::string entity_line;

// Starts "#n=" in entity_line with the next number.
std::int64_t begin_entity()
{
    const std::int64_t n = ++step_entity_counter;
    entity_line.clear();
    entity_line += '#';
    entity_line += format_integer(n);
    entity_line += '=';
    return n;
}

void end_entity()
{
    entity_line += ";\n";
    write_export_bytes(step_entity_store, entity_line);
}

void write_line(std::string_view text)
{
    entity_line.assign(text);
    entity_line += '\n';
    write_export_bytes(step_entity_store, entity_line);
}

std::string time_stamp()
{
    const std::time_t now = std::time(nullptr);
    std::tm local {};
    localtime_r(&now, &local);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02dT%02d:%02d:%02d", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    return buffer;
}

// The store holds nothing between exports, not even its buffer.
void release_buffer()
{
    step_entity_store.bytes.clear();
    step_entity_store.bytes.shrink_to_fit();
    entity_line.clear();
    entity_line.shrink_to_fit();
}

void append_hex_byte(std::string& out, unsigned code)
{
    const char* digits = "0123456789ABCDEF";
    out += digits[code >> 4];
    out += digits[code & 0xFu];
}

}  // namespace

std::string step_string(std::string_view text)
{
    std::string latin1;
    append_8bit_text(latin1, text);
    std::string out;
    for (const char c : latin1) {
        const unsigned char code = static_cast<unsigned char>(c);
        // An apostrophe would end the string: the names lose theirs. Both
        // rows of control characters go too.
        if (code == '\'' || code < 0x20 || (code >= 0x7F && code < 0xA0)) continue;
        if (code == '\\') {
            out += "\\\\";
        } else if (code < 0x80) {
            out += c;
        } else {
            out += "\\X\\";
            append_hex_byte(out, code);
        }
    }
    return out;
}

std::int64_t step_begin(const std::string& path, std::string_view product_name, std::string_view description)
{
    step_entity_counter = 0;
    if (!begin_export_file(step_entity_store, path)) return 0;

    write_line("ISO-10303-21;");
    write_line("HEADER;");
    write_line("FILE_DESCRIPTION(('" + step_string(description) + "'),'2;1');");
    const std::string system = step_string(text::step_originating_system);
    write_line("FILE_NAME('" + step_string(file_name_of(path)) + "','" + time_stamp() + "',(''),(''),'" + system +
               "','" + system + "','');");
    write_line("FILE_SCHEMA(('AUTOMOTIVE_DESIGN { 1 0 10303 214 1 1 1 1 }'));");
    write_line("ENDSEC;");
    write_line("DATA;");

    const std::string name = step_string(product_name);
    step_add_entity("APPLICATION_CONTEXT('core data for automotive mechanical design processes')");
    step_add_entity("APPLICATION_PROTOCOL_DEFINITION('international standard','automotive_design',2000,#1)");
    step_add_entity("PRODUCT_CONTEXT('',#1,'mechanical')");
    step_add_entity("PRODUCT('" + name + "','" + name + "','',(#3))");
    step_add_entity("PRODUCT_DEFINITION_FORMATION('','',#4)");
    step_add_entity("PRODUCT_DEFINITION_CONTEXT('part definition',#1,'design')");
    step_add_entity("PRODUCT_DEFINITION('design','',#5,#6)");
    step_add_entity("PRODUCT_DEFINITION_SHAPE('','',#7)");
    const std::int64_t length = step_add_entity("(LENGTH_UNIT()NAMED_UNIT(*)SI_UNIT(.MILLI.,.METRE.))");
    const std::int64_t angle = step_add_entity("(NAMED_UNIT(*)PLANE_ANGLE_UNIT()SI_UNIT($,.RADIAN.))");
    const std::int64_t solid_angle = step_add_entity("(NAMED_UNIT(*)SI_UNIT($,.STERADIAN.)SOLID_ANGLE_UNIT())");
    const std::int64_t uncertainty =
        step_add_entity("UNCERTAINTY_MEASURE_WITH_UNIT(LENGTH_MEASURE(1.E-06)," + step_ref(length) +
                        ",'distance_accuracy_value','confusion accuracy')");
    step_add_entity("(GEOMETRIC_REPRESENTATION_CONTEXT(3)GLOBAL_UNCERTAINTY_ASSIGNED_CONTEXT((" +
                    step_ref(uncertainty) + "))GLOBAL_UNIT_ASSIGNED_CONTEXT((" + step_ref(length) + "," +
                    step_ref(angle) + "," + step_ref(solid_angle) +
                    "))REPRESENTATION_CONTEXT('Context #1','3D Context with UNIT and UNCERTAINTY'))");
    return 1;
}

std::int64_t step_add_entity(std::string_view text)
{
    const std::int64_t n = begin_entity();
    append_8bit_text(entity_line, text);
    end_entity();
    return n;
}

std::string step_ref(std::int64_t number)
{
    std::string ref = "#";
    ref += format_integer(number);
    return ref;
}

std::int64_t step_cartesian_point(double x, double y, double z)
{
    const std::int64_t n = begin_entity();
    entity_line += "CARTESIAN_POINT('',(";
    append_export_number(entity_line, x);
    entity_line += ',';
    append_export_number(entity_line, y);
    entity_line += ',';
    append_export_number(entity_line, z);
    entity_line += "))";
    end_entity();
    return n;
}

std::int64_t step_vertex_point(double x, double y, double z)
{
    const std::int64_t point = step_cartesian_point(x, y, z);
    return step_add_entity("VERTEX_POINT(''," + step_ref(point) + ")");
}

std::int64_t step_axis2_placement(double x, double y, double z, std::int64_t axis, std::int64_t reference)
{
    const std::int64_t point = step_cartesian_point(x, y, z);
    return step_add_entity("AXIS2_PLACEMENT_3D(''," + step_ref(point) + "," + step_ref(axis) + "," +
                           step_ref(reference) + ")");
}

std::int64_t step_oriented_edge(std::int64_t edge, std::int64_t same_sense)
{
    return step_add_entity("ORIENTED_EDGE('',*,*," + step_ref(edge) + (same_sense != 0 ? ",.T.)" : ",.F.)"));
}

std::int64_t step_open_bspline(const std::vector<double>& x, const std::vector<double>& y, std::int64_t n, double z)
{
    if (n < 2 || static_cast<std::size_t>(n) > x.size() || static_cast<std::size_t>(n) > y.size()) return 0;
    const std::int64_t degree = n - 1 < 3 ? n - 1 : 3;
    const std::int64_t first = step_entity_counter + 1;
    for (std::int64_t i = 0; i < n; ++i)
        step_cartesian_point(x[static_cast<std::size_t>(i)], y[static_cast<std::size_t>(i)], z);

    std::string curve = "B_SPLINE_CURVE_WITH_KNOTS('',";
    curve += format_integer(degree);
    curve += ",(";
    for (std::int64_t i = 0; i < n; ++i) {
        if (i != 0) curve += ',';
        curve += '#';
        curve += format_integer(first + i);
    }
    curve += "),.UNSPECIFIED.,.F.,.F.,(";
    curve += format_integer(degree + 1);
    for (std::int64_t i = 0; i < n - degree - 1; ++i) curve += ",1";
    curve += ',';
    curve += format_integer(degree + 1);
    curve += "),(";
    for (std::int64_t k = 0; k <= n - degree; ++k) {
        if (k != 0) curve += ',';
        curve += format_integer(k);
        curve += ".0";
    }
    curve += "),.UNSPECIFIED.)";
    return step_add_entity(curve);
}

std::int64_t step_write_file()
{
    write_line("ENDSEC;");
    write_line("END-ISO-10303-21;");
    const std::int64_t written = finish_export_file(step_entity_store);
    release_buffer();
    return written;
}

void step_discard()
{
    output_discard(step_entity_store.output);
    release_buffer();
}
