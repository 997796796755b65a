#pragma once

#include <array>
#include <cstdint>
#include <string>

// One simplex roller chain of the European B series; lengths in mm.
struct ChainSize {
    std::string name;   // "08B"
    std::string inch;   // "1/2", or "-" when the size has no inch designation
    double pitch = 0.0;
    double roller_diameter = 0.0;
    double inner_width = 0.0;
    double pin_diameter = 0.0;
    double plate_height = 0.0;
    double inner_plate_thickness = 0.0;
    double outer_plate_thickness = 0.0;
};

constexpr int chain_size_count = 10;

extern std::array<ChainSize, chain_size_count> chain_sizes;
extern int chain_sizes_loaded;

// Fills the table once; later calls return at once. Always returns 0.
int load_chain_size_table();

// "05B", or "08B  (1/2\")" for a size with an inch designation. index must be 0..9.
std::string chain_size_label(std::int64_t size_index);

// Row of the trimmed (blanks only) and upper-cased name, or -1.
int find_chain_size_index(const std::string& text);

// Outside diameter of the bush of an inner link.
double chain_bush_diameter(std::int64_t size_index);
