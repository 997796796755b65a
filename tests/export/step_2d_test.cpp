#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <csignal>
#include <limits>
#include <regex>

#include "export/export.h"
#include "export/shape_list_2d.h"
#include "export/step_2d.h"
#include "export/step_file.h"
#include "tests/export/export_support.h"

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
    EXPECT_EQ(step_texts_made()[2], "CARTESIAN_POINT('',(1.000000,1.000000,2.500000))");
}

TEST(StepCurves, SquareCircleAndWhatMakesNoCurve)
{
    // The square keeps its four corners, with the closing point or a double point or not.
    for (const Outline& square : {Outline{{0, 0}, {1, 0}, {1, 1}, {0, 1}},
                                  Outline{{0, 0}, {1, 0}, {1, 1}, {1, 1 + 1e-10}, {0, 1}, {0, 0}}}) {
        step_empty_store();
        EXPECT_EQ(step_closed_bspline(square), 22);
        const std::vector<std::string> made = step_texts_made();
        ASSERT_EQ(made.size(), 23u);
        EXPECT_EQ(made[22], "B_SPLINE_CURVE_WITH_KNOTS('',3,(#1,#2,#3,#4,#5,#6,#7,#8,#9,#10,#11,#12,#13,#14,#15,#16,"
                            "#17,#18,#19,#20,#21),.UNSPECIFIED.,.T.,.F.,(4,1,1,3,1,1,3,1,1,3,1,1,4),"
                            "(0.,1.,2.,3.,4.,5.,6.,7.,8.,9.,10.,11.,12.),.UNSPECIFIED.)");
        // Five control points a side, a fifth of it apart, round from (0, 0) back to it.
        const Point2D corners[] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}, {0, 0}};
        for (std::size_t k = 0; k <= 20; ++k) {
            const Point2D a = corners[k / 5 % 4], b = corners[k / 5 % 4 + 1];
            const double t = static_cast<double>(k % 5) / 5.0;
            char point[80];
            std::snprintf(point, sizeof point, "CARTESIAN_POINT('',(%.6f,%.6f,0.000000))", a.x + (b.x - a.x) * t,
                          a.y + (b.y - a.y) * t);
            EXPECT_EQ(made[k + 1], point) << k;
        }
    }
    Outline points;
    const std::pair<double, std::size_t> sizes[] = {{0.05, 24}, {0.5, 50},   {1, 71},
                                                     {10, 223},  {100, 703}, {3000, 3848}};
    for (const auto& [r, n] : sizes) {
        circle_to_points(5, -7, r, points);
        ASSERT_EQ(points.size(), n) << r;
        EXPECT_TRUE(points[0].x == 5 + r && points[0].y == -7 && points[1].y > -7) << r;  // counter-clockwise from +x
    }
    circle_to_points(5, -7, 10, points);
    step_empty_store();
    EXPECT_EQ(step_closed_bspline(points), 448);
    std::string ones;
    for (int i = 0; i < 443; ++i) ones += "1,";
    const std::string circle = step_texts_made().back();
    EXPECT_EQ(step_list(circle, 1), "4," + ones + "4");
    EXPECT_TRUE(step_list(circle, 2).ends_with(",443.,444."));

    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const Outline& speck : {Outline{{0, 0}, {1, 0}}, Outline{{0, 0}, {1e-10, 0}, {0, 1e-10}, {0, 0}},
                                 Outline{{0, 0}, {1, 0}, {0, 0}, {1, 0}}, Outline{{0, 0}, {1, 0}, {nan, 1}}}) {
        step_empty_store();
        EXPECT_EQ(step_closed_bspline(speck), 0);
        EXPECT_EQ(step_entity_store.bytes, "");
    }
    circle_to_points(0, 0, nan, points);
    EXPECT_TRUE(points.empty());
}

// The default drive read back: a curve per shape, a curve set per layer in
// order, and every control point on the outline it stands for.
TEST(StepWriter, DefaultDriveCurvesOnTheModel)
{
    LaidDrive drive;
    TestFolder folder;
    const std::string path = folder.file("it's a drive.stp");
    ASSERT_EQ(write_step_2d(path, drive.input, drive.solution, drive.options), 324);
    const StepFile file = parse_step(read_whole_file(path));
    ASSERT_TRUE(file.well_formed);
    EXPECT_TRUE(file.lines[3].starts_with("FILE_NAME('its a drive.stp','"));
    EXPECT_EQ(file.entities[4], "PRODUCT('its a drive','its a drive','',(#3))");
    const std::size_t last = file.entities.size() - 1;
    EXPECT_EQ(file.entities[last], "SHAPE_DEFINITION_REPRESENTATION(#8,#" + std::to_string(last - 1) + ")");
    const std::string& representation = file.entities[last - 1];
    EXPECT_TRUE(representation.starts_with("GEOMETRICALLY_BOUNDED_WIREFRAME_SHAPE_REPRESENTATION('its a drive',("));
    EXPECT_TRUE(representation.ends_with(",#13)"));

    std::vector<Shape2D> shapes;
    ASSERT_EQ(build_2d_shape_list(drive.input, drive.solution, drive.options, shapes), 1);
    const char* layers[] = {"Z1", "Z2", "IDLER", "INNER_PLATE", "OUTER_PLATE", "PIN", "ROLLER", "PITCH_CIRCLE"};
    const std::vector<std::int64_t> sets = step_references(step_list(representation, 0));
    ASSERT_EQ(sets.size(), 8u);
    double worst = 0.0;
    for (std::int64_t layer = 0; layer < 8; ++layer) {
        const std::string& set = file.entities[static_cast<std::size_t>(sets[static_cast<std::size_t>(layer)])];
        EXPECT_TRUE(set.starts_with("GEOMETRIC_CURVE_SET('" + std::string(layers[layer]) + "',(")) << set;
        const std::vector<std::int64_t> curves = step_references(set);
        std::size_t k = 0;
        for (const Shape2D& shape : shapes) {
            if (shape.layer != layer) continue;
            ASSERT_LT(k, curves.size()) << layers[layer];
            const std::string& curve = file.entities[static_cast<std::size_t>(curves[k++])];
            for (std::int64_t point : step_references(step_list(curve, 0))) {
                double x = 0, y = 0;
                std::sscanf(step_list(file.entities[static_cast<std::size_t>(point)], 0).c_str(), "%lf,%lf", &x, &y);
                worst = std::max(worst, shape.is_circle ? std::fabs(std::hypot(x - shape.cx, y - shape.cy) - shape.r)
                                                        : distance_to_closed_polyline({x, y}, shape.points));
            }
        }
        EXPECT_EQ(k, curves.size()) << layers[layer];
    }
    EXPECT_LT(worst, 0.003);
}

// The product is the file's name without its extension, a dot that starts the
// name or ends it, or is followed by a blank, being no extension.
TEST(StepWriter, ProductNamedAfterTheFile)
{
    LaidDrive drive;
    TestFolder folder;
    drive.options.export_scope = ExportIdlerOnly;
    const std::pair<std::string, std::string> names[] = {
        {"a.b.stp", "a.b"}, {".stp", ".stp"}, {"drive.", "drive."}, {"my.drive 2", "my.drive 2"}};
    for (const auto& [name, product] : names) {
        ASSERT_EQ(write_step_2d(folder.file(name), drive.input, drive.solution, drive.options), 2) << name;
        EXPECT_EQ(parse_step(read_whole_file(folder.file(name))).entities[4],
                  "PRODUCT('" + product + "','" + product + "','',(#3))");
    }
}

// A file that cannot be made, a write cut off half way, a file given up: 0,
// the reason, and no file; the old file stays.
TEST(StepWriter, FailuresLeaveNoFile)
{
    LaidDrive drive;
    TestFolder folder;
    write_whole_file(folder.file("old.stp"), "the old drawing");
    for (const std::string& path : {folder.file("missing/a.stp"), std::string("/dev/full")}) {
        EXPECT_EQ(write_step_2d(path, drive.input, drive.solution, drive.options), 0) << path;
        EXPECT_EQ(export_error_text, "Cannot write the file.") << path;
    }
    ASSERT_EQ(step_begin(folder.file("given-up.stp"), "x", "y"), 1);
    step_discard();

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{1000000, 1000000};
        setrlimit(RLIMIT_FSIZE, &limit);
        const std::int64_t count = write_step_2d(folder.file("old.stp"), drive.input, drive.solution, drive.options);
        _exit(count == 0 && export_error_text == "Cannot write the file." ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a cut-off file was reported as written";
    EXPECT_EQ(folder_listing(folder.path), "old.stp\n");
    EXPECT_EQ(read_whole_file(folder.file("old.stp")), "the old drawing");
}

}  // namespace
