#pragma once

#include <cstdint>
#include <string>
#include <vector>

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
// entity texts made since.
void step_empty_store();
std::vector<std::string> step_texts_made();
