#include <gtest/gtest.h>

#include "app/shell/main_window.h"
#include "app/program/main_loop.h"
#include "app/shell/recalculation.h"
#include "app/shell/shell_state.h"
#include "tests/app/standin.h"

namespace {

// Linked with the Dutch table: the same window speaks Dutch.
TEST(DutchWindow, TitlesLabelsAndAbout)
{
    standin_reset();
    build_main_window();
    EXPECT_EQ(standin.title, "Zandrel - rollenketting met kettingwielen (ISO 606 / DIN 8187 / DIN 8196)");
    update_window_title();
    EXPECT_EQ(standin.title, "Zandrel - nieuw project   (ISO 606 / DIN 8187 / DIN 8196)");
    project_modified = 1;
    update_window_title();
    EXPECT_EQ(standin.title, "Zandrel - nieuw project *   (ISO 606 / DIN 8187 / DIN 8196)");

    EXPECT_EQ(standin.labels[0].text, "Ketting (ISO 606 / DIN 8187)");
    EXPECT_EQ(standin.gadgets[OpenButton].text, "Openen...");
    EXPECT_EQ(standin.gadgets[HelpMenuButton].text, "Help");
    EXPECT_EQ(standin.gadgets[RotateCheck].text, "Draaien");
    EXPECT_EQ(standin.gadgets[IdlerSideCombo].items[0], "Spanwiel buiten de ketting (drukt naar binnen)");
    EXPECT_EQ(standin.gadgets[ExportScopeCombo].items[2], "Exporteren: alleen wiel 1 (Z1)");
    EXPECT_EQ(standin.gadgets[ChainSizeCombo].items[2], "08B  (1/2\")   p = 12.7");
    EXPECT_EQ(standin.menu[0].text, "Handleiding\tF1");
    EXPECT_EQ(gadget_text(IdlerPercentLabel), "50 %");

    user_chooses_menu(About);
    run_one_pass();
    ASSERT_EQ(standin.about_windows.size(), 1u);
    EXPECT_EQ(standin.about_windows[0].window_title, "Over");
    EXPECT_EQ(standin.about_windows[0].close_caption, "Sluiten");
    EXPECT_EQ(standin.about_windows[0].title_line, "Zandrel 1.00");
}

}  // namespace
