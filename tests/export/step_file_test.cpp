#include <gtest/gtest.h>

#include <regex>

#include "export/step_file.h"
#include "tests/export/export_support.h"
#include "tests/export/step_support.h"

namespace {

TEST(StepFile, HeaderPreambleAndNumbering)
{
    TestFolder folder;
    for (int round = 0; round < 2; ++round) {  // the second export numbers from 1 again
        ASSERT_EQ(step_begin(folder.file("o'neil.stp"), "drive", "Chain drive"), 1);
        EXPECT_EQ(step_cartesian_point(1.5, -1e-13, 2), 14);
        EXPECT_EQ(step_oriented_edge(7, 0), 15);
        ASSERT_EQ(step_write_file(), 1);
        EXPECT_EQ(step_entity_store.bytes.capacity(), std::string().capacity());  // nothing kept between exports
    }
    const StepFile file = parse_step(read_whole_file(folder.file("o'neil.stp")));
    ASSERT_TRUE(file.well_formed);
    ASSERT_EQ(file.entities.size(), 16u);
    EXPECT_EQ(file.lines[2], "FILE_DESCRIPTION(('Chain drive'),'2;1');");
    const std::regex file_name(R"(FILE_NAME\('oneil\.stp','\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d',)"
                               R"(\(''\),\(''\),'QX Zandrel','QX Zandrel',''\);)");
    EXPECT_TRUE(std::regex_match(file.lines[3], file_name)) << file.lines[3];
    EXPECT_EQ(file.lines[4], "FILE_SCHEMA(('AUTOMOTIVE_DESIGN { 1 0 10303 214 1 1 1 1 }'));");
    EXPECT_EQ(file.lines[7], "#1=APPLICATION_CONTEXT('core data for automotive mechanical design processes');");
    EXPECT_EQ(file.entities[4], "PRODUCT('drive','drive','',(#3))");
    EXPECT_EQ(file.entities[13], "(GEOMETRIC_REPRESENTATION_CONTEXT(3)GLOBAL_UNCERTAINTY_ASSIGNED_CONTEXT((#12))"
                                 "GLOBAL_UNIT_ASSIGNED_CONTEXT((#9,#10,#11))REPRESENTATION_CONTEXT('Context #1',"
                                 "'3D Context with UNIT and UNCERTAINTY'))");
    EXPECT_EQ(file.entities[14], "CARTESIAN_POINT('',(1.500000,0.000000,2.000000))");
    EXPECT_EQ(file.entities[15], "ORIENTED_EDGE('',*,*,#7,.F.)");
}

// Whatever the names hold, the strings stay valid: no apostrophe, a backslash
// doubled, no control character, the upper half of Latin-1 escaped.
TEST(StepFile, StringsAreValidStepText)
{
    EXPECT_EQ(step_string("it's a \\ dr\xC3\xA9ve \xE2\x82\xAC\x01\t\x7F\xC2\x85\xC3\xBF\xC3"),
              "its a \\\\ dr\\X\\E9ve \\X\\FF");
}

// Degree 3 at most, clamped at both ends, with the points just before the curve.
TEST(StepFile, OpenBsplineDegreesAndKnots)
{
    const std::vector<double> x = {0, 1, 2, 3, 4, 5}, y = {0, 1, 0, 1, 0, 1};
    const char* expected[] = {"1,(#1,#2),.UNSPECIFIED.,.F.,.F.,(2,2),(0.0,1.0)",
                              "2,(#1,#2,#3),.UNSPECIFIED.,.F.,.F.,(3,3),(0.0,1.0)",
                              "3,(#1,#2,#3,#4),.UNSPECIFIED.,.F.,.F.,(4,4),(0.0,1.0)", nullptr,
                              "3,(#1,#2,#3,#4,#5,#6),.UNSPECIFIED.,.F.,.F.,(4,1,1,4),(0.0,1.0,2.0,3.0)"};
    for (std::int64_t n = 2; n <= 6; n += n == 4 ? 2 : 1) {
        step_empty_store();
        EXPECT_EQ(step_open_bspline(x, y, n, 2.5), n + 1);
        EXPECT_EQ(step_texts_made().back(), "B_SPLINE_CURVE_WITH_KNOTS(''," + std::string(expected[n - 2]) +
                                                ",.UNSPECIFIED.)");
    }
    EXPECT_EQ(step_texts_made()[1], "CARTESIAN_POINT('',(1.000000,1.000000,2.500000))");
}

}  // namespace
