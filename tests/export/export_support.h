#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "export/part_list_3d.h"
#include "model/drive.h"
#include "model/point.h"
#include "tests/support/test_folder.h"

// The drive the program starts with: 08B, Z1 = 17, Z2 = 34, 500 mm, 106 rollers.
struct LaidDrive {
    DriveInput input;
    DriveSolution solution;
    DriveOptions options;
    LaidDrive();
};

// A DXF file read the way a plain reader does: the lines, then the pairs.
struct DxfEntity {
    std::string type;    // CIRCLE or POLYLINE
    std::string layer;
    std::string colour;  // group 62 as written
    double cx = 0.0, cy = 0.0, r = 0.0;
    std::vector<Point2D> vertices;
    std::multimap<std::string, std::string> groups;  // the entity's own groups, without its vertices
    std::vector<std::string> vertex_layers;          // group 8 of every VERTEX and of the SEQEND (last)
    bool vertex_has_colour = false;
};

struct DxfFile {
    bool crlf_everywhere = false;  // every line ends in CR LF, the last one too, no lone CR or LF
    bool leading_blank = false;    // some line starts with a blank
    std::vector<std::pair<std::string, std::string>> pairs;
    std::vector<std::pair<std::string, std::string>> header;  // the pairs between HEADER and its ENDSEC
    std::vector<std::string> sections;                        // names in order
    std::vector<DxfEntity> entities;
    bool well_formed = false;  // sections closed, EOF last, polylines ended by SEQEND
};

DxfFile parse_dxf(const std::string& bytes);
// A number as written in the file, read in the C way; NaN when it is no number.
double dxf_number(const std::string& text);
std::map<std::string, int> count_by_layer(const DxfFile& file, const std::string& type);

// Distance from p to the closed polyline.
double distance_to_closed_polyline(const Point2D& p, const std::vector<Point2D>& outline);

// The solid a part stands for, by closed forms from the drive and the chain
// table rather than from any mesh or file: its volume, and the length of its
// section's edges (outline and holes), which times the thickness and a chord
// tolerance bounds how far a faithful mesh may differ.
struct PartSolid {
    double volume = 0.0;
    double edge_length = 0.0;
};
PartSolid part_solid(const DriveSolution& solution, const ExportPart& part);

// A STEP file read the plain way: its lines, and the DATA section's entity
// texts by number ([0] unused).
struct StepFile {
    std::vector<std::string> lines;  // without their LF
    std::vector<std::string> entities;
    bool well_formed = false;  // LF line ends only; header, DATA and end in place; #1, #2 ... without gaps;
                               // every reference outside a string to a lower number
};

StepFile parse_step(const std::string& bytes);

// The numbers "#k" the text refers to, in order, strings left out.
std::vector<std::int64_t> step_references(const std::string& text);

// The n-th innermost "(...)" list of an entity text: for a B-spline 0 holds
// the control points, 1 the multiplicities, 2 the knots.
std::string step_list(const std::string& text, int n);

// With no file open the entity operations collect their lines in the store:
// the first empties it and starts the numbering again, the second gives the
// entity texts made since by number ([0] unused).
void step_empty_store();
std::vector<std::string> step_texts_made();
