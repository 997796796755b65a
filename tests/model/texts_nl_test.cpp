#include <gtest/gtest.h>

#include "model/sprocket.h"

// Linked with the Dutch table: the same logic speaks Dutch.
TEST(DutchTexts, SprocketErrors)
{
    SprocketGeometry g;
    EXPECT_EQ(build_sprocket(g, 5, 12.7, 8.51, 7.75, 0.0), 0);
    EXPECT_EQ(g.error_text, "Tandental moet tussen 6 en 250 liggen.");
    EXPECT_EQ(build_sprocket(g, 17, 12.7, 13.0, 7.75, 0.0), 0);
    EXPECT_EQ(g.error_text, "Ongeldige kettingmaten.");
}
