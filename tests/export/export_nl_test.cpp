#include <gtest/gtest.h>

#include "export/dxf_writer.h"
#include "export/export.h"
#include "export/mesh_writers.h"
#include "export/part_list_3d.h"
#include "export/shape_list_2d.h"
#include "export/step_2d.h"
#include "tests/export/export_support.h"

namespace {

TEST(DutchExport, LayerNames)
{
    const char* names[] = {"Z1", "Z2", "SPANWIEL", "BINNENSCHALM", "BUITENSCHALM", "PEN", "ROL", "STEEKCIRKEL", "BUS"};
    for (std::int64_t code = 0; code <= 8; ++code) EXPECT_EQ(layer_name(code), names[code]);
    EXPECT_EQ(layer_name(-1), "STEEKCIRKEL");
    EXPECT_EQ(layer_colour_index(2), 3);
}

TEST(DutchExport, TheFileCarriesTheDutchLayers)
{
    LaidDrive drive;
    TestFolder folder;
    ASSERT_EQ(write_dxf_2d(folder.file("aandrijving.dxf"), drive.input, drive.solution, drive.options), 324);
    const DxfFile dxf = parse_dxf(read_whole_file(folder.file("aandrijving.dxf")));
    ASSERT_TRUE(dxf.well_formed);
    EXPECT_TRUE(dxf.crlf_everywhere);
    const std::map<std::string, int> polylines = {{"Z1", 1}, {"Z2", 1}, {"SPANWIEL", 1}, {"BINNENSCHALM", 53},
                                                  {"BUITENSCHALM", 53}};
    const std::map<std::string, int> circles = {{"STEEKCIRKEL", 3}, {"ROL", 106}, {"PEN", 106}};
    EXPECT_EQ(count_by_layer(dxf, "POLYLINE"), polylines);
    EXPECT_EQ(count_by_layer(dxf, "CIRCLE"), circles);
}

TEST(DutchExport, TheStepFileCarriesTheDutchNames)
{
    LaidDrive drive;
    TestFolder folder;
    ASSERT_EQ(write_step_2d(folder.file("aandrijving.stp"), drive.input, drive.solution, drive.options), 324);
    const std::string text = read_whole_file(folder.file("aandrijving.stp"));
    EXPECT_NE(text.find("\nFILE_DESCRIPTION(('Kettingoverbrenging'),'2;1');\n"), std::string::npos);
    for (const char* name : {"SPANWIEL", "BINNENSCHALM", "BUITENSCHALM", "PEN", "ROL", "STEEKCIRKEL"})
        EXPECT_NE(text.find(std::string("=GEOMETRIC_CURVE_SET('") + name + "',(#"), std::string::npos) << name;
}

TEST(DutchExport, Messages)
{
    LaidDrive drive;
    TestFolder folder;
    EXPECT_EQ(write_dxf_2d(folder.path, drive.input, drive.solution, drive.options), 0);
    EXPECT_EQ(export_error_text, "Kan het bestand niet schrijven.");
    drive.solution.laid = 0;
    EXPECT_EQ(write_dxf_2d(folder.file("a.dxf"), drive.input, drive.solution, drive.options), 0);
    EXPECT_EQ(export_error_text, "Er is geen geldige opstelling om te exporteren.");
    drive.solution.laid = 1;
    drive.options.idler_bore = 1e300;
    EXPECT_EQ(write_dxf_2d(folder.file("a.dxf"), drive.input, drive.solution, drive.options), 0);
    EXPECT_EQ(export_error_text, "Boring spanwiel is te groot voor het wiel.");
    EXPECT_EQ(folder_listing(folder.path), "");

    EXPECT_EQ(export_result_message(Dxf2D, 324, "/tmp/a.dxf", 3070),
              "324 curven geschreven naar\n/tmp/a.dxf\n(3070 KB)");
    EXPECT_EQ(export_result_message(Stl, 12, "a.stl", 0), "12 driehoeken geschreven naar\na.stl\n(0 KB)");
    EXPECT_EQ(export_result_message(Step3D, 3, "a.stp", 0), "3 volumes geschreven naar\na.stp\n(0 KB)");
    EXPECT_EQ(overwrite_question_text("/x/a.dxf"), "'a.dxf' bestaat al. Overschrijven?");
    // File names and dialog texts are the same in both builds.
    EXPECT_EQ(propose_export_path(Step3D, "", ""), "zandrel_3d.stp");
    EXPECT_EQ(export_dialog_title(Stl), "Export STL");
}

TEST(DutchExport, PartNamesAndTheStlRefusal)
{
    LaidDrive drive;
    std::vector<ExportPart> parts;
    ASSERT_EQ(build_3d_part_list(drive.input, drive.solution, drive.options, parts), 1);
    const char* names[] = {"Spanwiel z = 15", "Binnenschalm 1a", "Binnenschalm 1b", "Bus 1a", "Rol 1a",
                           "Bus 1b", "Rol 1b", "Buitenschalm 2a", "Buitenschalm 2b", "Pen 2a"};
    for (std::size_t i = 0; i < std::size(names); ++i) EXPECT_EQ(parts[i + 2].name, names[i]);
    TestFolder folder;
    EXPECT_EQ(write_stl_binary_at_most(folder.file("a.stl"), drive.input, drive.solution, drive.options, 10), 0);
    EXPECT_EQ(export_error_text, "Te veel driehoeken voor een STL-bestand; kies een grotere koordafwijking.");
}

}  // namespace
