#include <gtest/gtest.h>

#include <string>

#include "app/shell/canvas_view.h"
#include "app/shell/main_window.h"
#include "app/program/main_loop.h"
#include "app/shell/recalculation.h"
#include "app/shell/shell_state.h"
#include "model/drive.h"
#include "tests/app/standin.h"

namespace {

bool same_rect(Rect a, Rect b)
{
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

#define EXPECT_RECT(id, X, Y, W, H) \
    EXPECT_TRUE(same_rect(gadget_rect(id), Rect{X, Y, W, H})) \
        << #id << " is (" << gadget_rect(id).x << ", " << gadget_rect(id).y << ", " << gadget_rect(id).width \
        << ", " << gadget_rect(id).height << ")"

TEST(LayoutMetrics, FromFifteenPixelFontAndLabelOf150)
{
    LayoutMetrics m = layout_metrics_from(15, 150);
    EXPECT_EQ(m.row_height, 33);
    EXPECT_EQ(m.row_step, 38);
    EXPECT_EQ(m.label_width, 172);
    EXPECT_EQ(m.input_width, 150);
    EXPECT_EQ(m.half_input_width, 72);
    EXPECT_EQ(m.panel_width, 340);
    EXPECT_EQ(m.scroll_width, 378);
    EXPECT_EQ(m.wide_width, 312);
}

TEST(LayoutMetrics, InputWidthRoundsUpAfterTheQuotient)
{
    EXPECT_EQ(layout_metrics_from(15, 0).input_width, 150);
    EXPECT_EQ(layout_metrics_from(17, 0).input_width, 170);
    EXPECT_EQ(layout_metrics_from(23, 0).input_width, 231);
    EXPECT_EQ(layout_metrics_from(31, 0).input_width, 311);
}

TEST(LayoutMetrics, TinyOrUnmeasuredFontCountsAsFifteen)
{
    EXPECT_EQ(layout_metrics_from(9, 100).row_height, 33);
    EXPECT_EQ(layout_metrics_from(9, 100).input_width, 150);
    EXPECT_EQ(layout_metrics_from(0, 0).text_height, 15);
    EXPECT_EQ(layout_metrics_from(10, 0).text_height, 10);

    standin_reset();
    standin.measuring_fails = true;
    measure_layout_metrics({"Chain", "Teeth"});
    EXPECT_EQ(layout_metrics.text_height, 15);
    EXPECT_EQ(layout_metrics.label_width, 22);
}

TEST(LayoutMetrics, WidestOfTheMeasuredLabels)
{
    standin_reset();
    standin.text_height = 17;
    standin.text_widths["Teeth Z1 (driving wheel)"] = 161;
    measure_layout_metrics({"Chain (ISO 606 / DIN 8187)", "Teeth Z1 (driving wheel)", "Links (0 = automatic)"});
    EXPECT_EQ(layout_metrics.text_height, 17);
    EXPECT_EQ(layout_metrics.label_width, 183);
}

TEST(LayoutMetrics, WindowHeightFollowsTheMonitor)
{
    EXPECT_EQ(main_window_height(700), 620);
    EXPECT_EQ(main_window_height(1200), 860);
    EXPECT_EQ(main_window_height(940), 860);
    EXPECT_EQ(main_window_height(0), 860);
}

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        standin_reset();
        standin.text_height = 15;
        standin.text_widths["Chain (ISO 606 / DIN 8187)"] = 150;
        build_main_window();
    }
};

TEST_F(MainWindow, WindowAndPanel)
{
    EXPECT_EQ(standin.window_width, 1280);
    EXPECT_EQ(standin.window_height, 860);
    EXPECT_EQ(standin.title, "Zandrel - roller chain with sprockets (ISO 606 / DIN 8187 / DIN 8196)");
    EXPECT_EQ(standin.min_width, 378 + 400);
    EXPECT_EQ(standin.min_height, 420);
    EXPECT_RECT(ScrollPanel, 0, 0, 378, 860);
    EXPECT_EQ(standin.panel_content_width, 356);
    EXPECT_EQ(standin.panel_scroll_step, 38);
    EXPECT_EQ(layout_metrics.report_top, 723);
    EXPECT_EQ(standin.panel_content_height, 723 + 129 + 8);
    EXPECT_EQ(standin.canvas_font, "Sans 10");
}

TEST_F(MainWindow, RowsAtTheirPlaces)
{
    EXPECT_RECT(OpenButton, 8, 8, 80, 37);
    EXPECT_RECT(SaveButton, 94, 8, 80, 37);
    EXPECT_RECT(SaveAsButton, 180, 8, 80, 37);
    EXPECT_RECT(HelpMenuButton, 268, 8, 80, 37);
    EXPECT_RECT(ChainSizeCombo, 172, 55, 150, 33);
    EXPECT_RECT(Z1Field, 172, 93, 150, 33);
    EXPECT_RECT(Z2Field, 172, 131, 150, 33);
    EXPECT_RECT(CentreDistanceField, 172, 169, 150, 33);
    EXPECT_RECT(LinksField, 172, 207, 150, 33);
    EXPECT_RECT(IdlerTeethField, 172, 245, 150, 33);
    EXPECT_RECT(IdlerPositionSlider, 172, 283, 104, 33);
    EXPECT_RECT(IdlerPercentLabel, 278, 292, 44, 19);
    EXPECT_RECT(IdlerSideCombo, 10, 321, 312, 33);
    EXPECT_RECT(Bore1Field, 172, 359, 72, 33);
    EXPECT_RECT(Bore2Field, 250, 359, 72, 33);
    EXPECT_RECT(IdlerBoreField, 172, 397, 72, 33);
    EXPECT_RECT(RotateCheck, 10, 441, 136, 33);
    EXPECT_RECT(SpeedSlider, 146, 441, 192, 33);
    EXPECT_RECT(ShowPitchCirclesCheck, 10, 479, 312, 33);
    EXPECT_RECT(ExportPitchCirclesCheck, 10, 517, 312, 33);
    EXPECT_RECT(ExportScopeCombo, 10, 555, 312, 33);
    EXPECT_RECT(Dxf2DButton, 8, 593, 166, 39);
    EXPECT_RECT(Step2DButton, 182, 593, 166, 39);
    EXPECT_RECT(Dxf3DButton, 8, 636, 108, 39);
    EXPECT_RECT(Step3DButton, 124, 636, 108, 39);
    EXPECT_RECT(StlButton, 240, 636, 108, 39);
    EXPECT_RECT(ChordToleranceField, 172, 679, 72, 33);
    EXPECT_RECT(ReportEditor, 8, 723, 340, 129);
    EXPECT_RECT(Canvas, 382, 8, 1280 - 378 - 12, 844);
}

TEST_F(MainWindow, RowLabelsAreCentredOnTheirRows)
{
    ASSERT_EQ(standin.labels.size(), 10u);
    EXPECT_EQ(standin.labels[0].text, "Chain (ISO 606 / DIN 8187)");
    EXPECT_TRUE(same_rect(standin.labels[0].rect, Rect{10, 55 + 9, 160, 19}));
    EXPECT_EQ(standin.labels[9].text, "3D chord tolerance [mm]");
    EXPECT_EQ(standin.labels[9].rect.y, 679 + 9);
    for (const StandInLabel& label : standin.labels) EXPECT_EQ(label.rect.x, 10);
    // Every control but the canvas lies in the panel.
    for (int id = OpenButton; id <= ReportEditor; ++id)
        EXPECT_TRUE(standin.gadgets[static_cast<std::size_t>(id)].in_panel) << id;
    EXPECT_FALSE(standin.gadgets[Canvas].in_panel);
}

TEST_F(MainWindow, InitialValuesAndItems)
{
    const StandInGadget& sizes = standin.gadgets[ChainSizeCombo];
    ASSERT_EQ(sizes.items.size(), 10u);
    EXPECT_EQ(sizes.items[2], "08B  (1/2\")   p = 12.7");
    EXPECT_EQ(sizes.items[0], "05B   p = 8");
    EXPECT_EQ(sizes.state, 2);
    EXPECT_EQ(gadget_text(Z1Field), "17");
    EXPECT_EQ(gadget_text(Z2Field), "34");
    EXPECT_EQ(gadget_text(CentreDistanceField), "500");
    EXPECT_EQ(gadget_text(LinksField), "0");
    EXPECT_EQ(gadget_text(IdlerTeethField), "15");
    EXPECT_EQ(gadget_state(IdlerPositionSlider), 50);
    EXPECT_EQ(standin.gadgets[IdlerPositionSlider].minimum, 2);
    EXPECT_EQ(standin.gadgets[IdlerPositionSlider].maximum, 98);
    EXPECT_EQ(gadget_text(IdlerPercentLabel), "50 %");
    EXPECT_EQ(gadget_state(IdlerSideCombo), 0);
    EXPECT_EQ(standin.gadgets[IdlerSideCombo].items[1], "Idler inside the chain (pushes outwards)");
    EXPECT_EQ(gadget_text(Bore1Field), "0");
    EXPECT_EQ(gadget_text(ChordToleranceField), "0.01");
    EXPECT_EQ(gadget_state(RotateCheck), 0);
    EXPECT_EQ(gadget_state(SpeedSlider), 4);
    EXPECT_EQ(standin.gadgets[SpeedSlider].maximum, 20);
    EXPECT_EQ(gadget_state(ShowPitchCirclesCheck), 1);
    EXPECT_EQ(gadget_state(ExportPitchCirclesCheck), 1);
    EXPECT_EQ(standin.gadgets[ExportScopeCombo].items.size(), 5u);
    EXPECT_EQ(standin.gadgets[ExportScopeCombo].items[4], "Export: the idler only");
    EXPECT_EQ(standin.gadgets[LinksField].tooltip, "0 = the smallest even number that fits around the wheels");
    EXPECT_EQ(standin.gadgets[SaveAsButton].tooltip, "");
    EXPECT_EQ(standin.gadgets[OpenButton].text, "Open...");
    ASSERT_EQ(standin.menu.size(), 2u);
    EXPECT_EQ(standin.menu[0].id, UserGuide);
    EXPECT_EQ(standin.menu[0].text, "User guide\tF1");
    EXPECT_EQ(standin.menu[1].id, About);
    ASSERT_EQ(standin.shortcuts.size(), 3u);
    EXPECT_EQ(standin.shortcuts[0].second, Open);
    EXPECT_EQ(standin.shortcuts[1].second, Save);
    EXPECT_EQ(standin.shortcuts[2].second, UserGuide);
}

TEST_F(MainWindow, ResizeKeepsTheMinimumSizes)
{
    int redraws = standin.canvas_presented;
    user_resizes_window(1000, 700);
    EXPECT_RECT(Canvas, 382, 8, 610, 684);
    EXPECT_RECT(ScrollPanel, 0, 0, 378, 700);
    // 700 - 723 - 8 is below 120: the report keeps 120 and the panel scrolls.
    EXPECT_RECT(ReportEditor, 8, 723, 340, 120);
    EXPECT_EQ(standin.panel_content_height, 723 + 120 + 8);
    EXPECT_EQ(standin.canvas_presented, redraws + 1);

    user_resizes_window(400, 40);
    EXPECT_RECT(Canvas, 382, 8, 50, 50);
    user_resizes_window(1600, 1000);
    EXPECT_RECT(ReportEditor, 8, 723, 340, 269);
    EXPECT_EQ(standin.panel_content_height, 1000);
    EXPECT_RECT(Canvas, 382, 8, 1600 - 378 - 12, 1000 - 16);
    EXPECT_EQ(canvas_width, 1600 - 378 - 12);  // the picture is drawn for the size it got
}

TEST(MainWindowMonitor, SmallDesktopGivesLowerWindow)
{
    standin_reset();
    standin.monitor_height = 700;
    build_main_window();
    EXPECT_EQ(standin.window_height, 620);
    EXPECT_EQ(gadget_rect(ReportEditor).height, 120);
}

}  // namespace
