#include "model/chain_size.h"

std::array<ChainSize, chain_size_count> chain_sizes;
int chain_sizes_loaded = 0;

int load_chain_size_table()
{
    if (chain_sizes_loaded) return 0;
    // ISO 606 / DIN 8187, B series, simplex.
    chain_sizes = {{
        {"05B", "-", 8.0, 5.0, 3.0, 2.31, 7.11, 0.8, 0.8},
        {"06B", "3/8", 9.525, 6.35, 5.72, 3.28, 8.26, 1.3, 1.3},
        {"08B", "1/2", 12.7, 8.51, 7.75, 4.45, 11.81, 1.6, 1.6},
        {"10B", "5/8", 15.875, 10.16, 9.65, 5.08, 14.73, 1.7, 1.7},
        {"12B", "3/4", 19.05, 12.07, 11.68, 5.72, 16.13, 1.85, 1.85},
        {"16B", "1", 25.4, 15.88, 17.02, 8.28, 21.08, 3.1, 4.0},
        {"20B", "1 1/4", 31.75, 19.05, 19.56, 10.19, 26.42, 3.5, 4.5},
        {"24B", "1 1/2", 38.1, 25.4, 25.4, 14.63, 33.4, 4.8, 6.0},
        {"28B", "1 3/4", 44.45, 27.94, 30.99, 15.9, 37.08, 6.0, 7.5},
        {"32B", "2", 50.8, 29.21, 30.99, 17.81, 42.29, 6.0, 7.0},
    }};
    chain_sizes_loaded = 1;
    return 0;
}

std::string chain_size_label(std::int64_t size_index)
{
    const ChainSize& row = chain_sizes[static_cast<std::size_t>(size_index)];
    if (row.inch == "-") return row.name;
    return row.name + "  (" + row.inch + "\")";
}

int find_chain_size_index(const std::string& text)
{
    load_chain_size_table();
    // Only blanks are trimmed: a tab is part of the name and makes it unknown.
    std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return -1;
    std::size_t last = text.find_last_not_of(' ');
    std::string name = text.substr(first, last - first + 1);
    for (char& c : name)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    for (int i = 0; i < chain_size_count; ++i)
        if (chain_sizes[static_cast<std::size_t>(i)].name == name) return i;
    return -1;
}

double chain_bush_diameter(std::int64_t size_index)
{
    const ChainSize& row = chain_sizes[static_cast<std::size_t>(size_index)];
    return (row.roller_diameter + row.pin_diameter) / 2.0;
}
