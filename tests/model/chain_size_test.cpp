#include <gtest/gtest.h>

#include "model/chain_size.h"

TEST(ChainSizeTable, TenRowsInOrderWithSaneDimensions)
{
    EXPECT_EQ(load_chain_size_table(), 0);
    const char* names[] = {"05B", "06B", "08B", "10B", "12B", "16B", "20B", "24B", "28B", "32B"};
    for (int i = 0; i < chain_size_count; ++i) {
        const ChainSize& row = chain_sizes[static_cast<std::size_t>(i)];
        EXPECT_EQ(row.name, names[i]);
        EXPECT_GT(row.pitch, row.roller_diameter);
        EXPECT_GT(row.roller_diameter, row.pin_diameter);
        EXPECT_GT(row.plate_height, row.roller_diameter);
        if (i > 0) {
            EXPECT_GT(row.pitch, chain_sizes[static_cast<std::size_t>(i - 1)].pitch);
        }
    }
    const ChainSize& c08 = chain_sizes[2];
    EXPECT_EQ(c08.inch, "1/2");
    EXPECT_DOUBLE_EQ(c08.pitch, 12.7);
    EXPECT_DOUBLE_EQ(c08.roller_diameter, 8.51);
    EXPECT_DOUBLE_EQ(c08.inner_width, 7.75);
    EXPECT_DOUBLE_EQ(c08.pin_diameter, 4.45);
    EXPECT_DOUBLE_EQ(c08.plate_height, 11.81);
    const ChainSize& c32 = chain_sizes[9];
    EXPECT_DOUBLE_EQ(c32.pitch, 50.8);
    EXPECT_DOUBLE_EQ(c32.roller_diameter, 29.21);
    EXPECT_DOUBLE_EQ(c32.inner_plate_thickness, 6.0);
    EXPECT_DOUBLE_EQ(c32.outer_plate_thickness, 7.0);
    EXPECT_DOUBLE_EQ(chain_sizes[5].outer_plate_thickness, 4.0);

    // Loading again changes nothing.
    chain_sizes_loaded = 1;
    EXPECT_EQ(load_chain_size_table(), 0);
    EXPECT_EQ(chain_sizes[2].name, "08B");
}

TEST(ChainSizeTable, LabelsAndBushDiameter)
{
    load_chain_size_table();
    EXPECT_EQ(chain_size_label(0), "05B");
    EXPECT_EQ(chain_size_label(2), "08B  (1/2\")");
    EXPECT_EQ(chain_size_label(6), "20B  (1 1/4\")");
    EXPECT_NEAR(chain_bush_diameter(2), 6.48, 1e-12);
}

TEST(ChainSizeTable, FindByNameTrimsBlanksOnly)
{
    EXPECT_EQ(find_chain_size_index("08B"), 2);
    EXPECT_EQ(find_chain_size_index("08b"), 2);
    EXPECT_EQ(find_chain_size_index("  08b   "), 2);
    EXPECT_EQ(find_chain_size_index("32B"), 9);
    EXPECT_EQ(find_chain_size_index("05b"), 0);
    EXPECT_EQ(find_chain_size_index("8B"), -1);
    EXPECT_EQ(find_chain_size_index("08B\t"), -1);
    EXPECT_EQ(find_chain_size_index(""), -1);
    EXPECT_EQ(find_chain_size_index("    "), -1);
    EXPECT_EQ(find_chain_size_index("08 B"), -1);
}
