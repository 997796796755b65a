#include <gtest/gtest.h>

#include "app/shell/canvas_draw.h"

// Linked with the Dutch table: the drawing's texts in the other build.
TEST(DutchCanvasTexts, TopAndStatusLines)
{
    EXPECT_EQ(strand_note_text(110), "Boven: strak part   onder: los part met spanwiel   110 schakels");
    EXPECT_EQ(status_line_text(1.0, 0),
              "Wiel = zoomen   slepen = verschuiven   spanwiel slepen = verplaatsen   dubbelklik = passend   "
              "(1.00 px/mm, 0 ms)");
}
