#include "tests/export/export_support.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "export/step_file.h"
#include "model/geometry.h"
#include "model/outline.h"
#include "tests/support/outline_measure.h"

LaidDrive::LaidDrive()
{
    compute_drive(input, solution);
}

double dxf_number(const std::string& text)
{
    // The test reads the C locale's way; the files must never hold a comma.
    std::istringstream in(text);
    in.imbue(std::locale::classic());
    double x = std::nan("");
    in >> x;
    return in && in.peek() == EOF ? x : std::nan("");
}

DxfFile parse_dxf(const std::string& bytes)
{
    DxfFile file;
    std::vector<std::string> lines;
    file.crlf_everywhere = bytes.size() >= 2 && bytes.compare(bytes.size() - 2, 2, "\r\n") == 0;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find("\r\n", start);
        if (end == std::string::npos) {
            file.crlf_everywhere = false;
            end = bytes.size();
        }
        std::string line = bytes.substr(start, end - start);
        if (line.find_first_of("\r\n") != std::string::npos) file.crlf_everywhere = false;
        if (!line.empty() && line[0] == ' ') file.leading_blank = true;
        lines.push_back(line);
        start = end + 2;
    }
    if (lines.size() % 2 != 0) return file;
    for (std::size_t i = 0; i < lines.size(); i += 2) file.pairs.emplace_back(lines[i], lines[i + 1]);

    const auto& p = file.pairs;
    std::size_t i = 0;
    bool eof = false;
    while (i < p.size()) {
        if (p[i] == std::pair<std::string, std::string>("0", "EOF")) {
            eof = i + 1 == p.size();
            break;
        }
        if (p[i] != std::pair<std::string, std::string>("0", "SECTION") || i + 1 >= p.size() || p[i + 1].first != "2")
            return file;
        const std::string name = p[i + 1].second;
        file.sections.push_back(name);
        i += 2;
        if (name == "HEADER") {
            while (i < p.size() && p[i].first != "0") file.header.push_back(p[i++]);
        } else if (name == "ENTITIES") {
            while (i < p.size() && p[i] != std::pair<std::string, std::string>("0", "ENDSEC")) {
                DxfEntity e;
                e.type = p[i++].second;
                while (i < p.size() && p[i].first != "0") e.groups.insert(p[i++]);
                auto one = [&](const char* code) {
                    auto it = e.groups.find(code);
                    return it == e.groups.end() ? std::string() : it->second;
                };
                e.layer = one("8");
                e.colour = one("62");
                if (e.type == "CIRCLE") {
                    e.cx = dxf_number(one("10"));
                    e.cy = dxf_number(one("20"));
                    e.r = dxf_number(one("40"));
                } else if (e.type == "POLYLINE") {
                    while (i < p.size() && p[i] == std::pair<std::string, std::string>("0", "VERTEX")) {
                        ++i;
                        Point2D v{std::nan(""), std::nan("")};
                        while (i < p.size() && p[i].first != "0") {
                            if (p[i].first == "8") e.vertex_layers.push_back(p[i].second);
                            if (p[i].first == "62") e.vertex_has_colour = true;
                            if (p[i].first == "10") v.x = dxf_number(p[i].second);
                            if (p[i].first == "20") v.y = dxf_number(p[i].second);
                            ++i;
                        }
                        e.vertices.push_back(v);
                    }
                    if (i >= p.size() || p[i] != std::pair<std::string, std::string>("0", "SEQEND")) return file;
                    ++i;
                    while (i < p.size() && p[i].first != "0") {
                        if (p[i].first == "8") e.vertex_layers.push_back(p[i].second);
                        if (p[i].first == "62") e.vertex_has_colour = true;
                        ++i;
                    }
                }
                file.entities.push_back(std::move(e));
            }
        } else {
            while (i < p.size() && p[i] != std::pair<std::string, std::string>("0", "ENDSEC")) ++i;
        }
        if (i >= p.size()) return file;
        ++i;  // ENDSEC
    }
    file.well_formed = eof;
    return file;
}

std::map<std::string, int> count_by_layer(const DxfFile& file, const std::string& type)
{
    std::map<std::string, int> counts;
    for (const DxfEntity& e : file.entities)
        if (e.type == type) ++counts[e.layer];
    return counts;
}

double distance_to_closed_polyline(const Point2D& p, const std::vector<Point2D>& outline)
{
    double best = INFINITY;
    for (std::size_t i = 0; i < outline.size(); ++i) {
        const Point2D& a = outline[i];
        const Point2D& b = outline[(i + 1) % outline.size()];
        const double dx = b.x - a.x, dy = b.y - a.y;
        const double l2 = dx * dx + dy * dy;
        const double t = l2 > 0.0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / l2, 0.0, 1.0) : 0.0;
        best = std::min(best, std::hypot(p.x - a.x - t * dx, p.y - a.y - t * dy));
    }
    return best;
}

PartSolid part_solid(const DriveSolution& solution, const ExportPart& part)
{
    const auto less_holes = [&](double area, double length, int holes, double diameter) {
        return PartSolid{(area - holes * pi * diameter * diameter / 4.0) * (part.z_high - part.z_low),
                         length + holes * pi * diameter};
    };
    if (part.kind == PartCylinder)
        return less_holes(pi * part.outer_diameter * part.outer_diameter / 4.0, pi * part.outer_diameter, 1,
                          part.inner_diameter);
    Outline outline;
    if (part.kind == PartWheel)
        outline = wheel_geometry(solution, static_cast<WheelSlot>(part.wheel_slot)).outline;
    else
        link_plate_outline(part.x1, part.y1, part.x2, part.y2, part.plate_height, outline, solution.pitch / 2000.0);
    return less_holes(std::fabs(signed_area(outline)), outline_length(outline), part.kind == PartWheel ? 1 : 2,
                      part.kind == PartWheel ? part.bore : part.plate_hole_diameter);
}

std::vector<std::int64_t> step_references(const std::string& text)
{
    std::vector<std::int64_t> refs;
    bool in_string = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\'') in_string = !in_string;
        if (!in_string && text[i] == '#') refs.push_back(std::atoll(text.c_str() + i + 1));
    }
    return refs;
}

StepFile parse_step(const std::string& bytes)
{
    StepFile file;
    std::istringstream in(bytes);
    for (std::string line; std::getline(in, line);) file.lines.push_back(line);
    const auto& l = file.lines;
    std::size_t data = 0;
    while (data < l.size() && l[data] != "DATA;") ++data;
    file.well_formed = bytes.ends_with("\nENDSEC;\nEND-ISO-10303-21;\n") && bytes.find('\r') == std::string::npos &&
                       data < l.size() && l[0] == "ISO-10303-21;" && l[1] == "HEADER;" && l[data - 1] == "ENDSEC;";
    file.entities.emplace_back();
    for (std::size_t i = data + 1; file.well_formed && i + 2 < l.size(); ++i) {
        // Appended piece by piece: "#" + std::to_string(...) trips a false -Wrestrict of GCC 12 at -O3.
        std::string number = "#";
        number += std::to_string(file.entities.size());
        number += '=';
        file.well_formed = l[i].starts_with(number) && l[i].ends_with(";");
        file.entities.push_back(l[i].substr(number.size(), l[i].size() - number.size() - 1));
        for (std::int64_t ref : step_references(file.entities.back()))
            if (ref < 1 || ref >= static_cast<std::int64_t>(file.entities.size()) - 1) file.well_formed = false;
    }
    return file;
}

std::string step_list(const std::string& text, int n)
{
    std::size_t close = 0;
    for (int seen = 0; (close = text.find(')', close + 1)) != std::string::npos;) {
        const std::size_t open = text.rfind('(', close);
        const std::size_t before = text.rfind(')', close - 1);
        if (before != std::string::npos && before > open) continue;  // it holds lists
        if (seen++ == n) return text.substr(open + 1, close - open - 1);
    }
    return "";
}

void step_empty_store()
{
    step_entity_store.bytes.clear();
    step_entity_counter = 0;
}

std::vector<std::string> step_texts_made()
{
    const StepFile file = parse_step("ISO-10303-21;\nHEADER;\nENDSEC;\nDATA;\n" + step_entity_store.bytes +
                               "ENDSEC;\nEND-ISO-10303-21;\n");
    return file.entities;
}
