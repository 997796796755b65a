#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <numbers>
#include <string>
#include <vector>

#include "export/export.h"
#include "export/step_file.h"
#include "export/step_solids.h"
#include "tests/export/export_support.h"

namespace {

// The entity texts a call makes when its first entity is #first, by number.
std::vector<std::string> made_from(std::int64_t first, const std::function<void()>& call)
{
    step_empty_store();
    while (step_entity_counter + 1 < first) step_add_entity("DUMMY()");
    call();
    return step_texts_made();
}

TEST(StepSolids, PinAsTheWorkedExample)
{
    std::int64_t solid = 0;
    const auto e = made_from(100, [&] { solid = step_tube_solid(10, 0, 4, 0, -8, 8, "Pin 1a"); });
    EXPECT_EQ(solid, 161);
    EXPECT_EQ(e.at(100), "DIRECTION('',(0.,0.,1.))");
    EXPECT_EQ(e.at(101), "DIRECTION('',(1.,0.,0.))");
    EXPECT_EQ(e.at(102), "VECTOR('',#100,16.000000)");
    EXPECT_EQ(e.at(103), "CARTESIAN_POINT('',(12.000000,0.000000,-8.000000))");
    EXPECT_EQ(e.at(104), "VERTEX_POINT('',#103)");
    EXPECT_EQ(e.at(113), "CIRCLE('',#112,2.000000)");
    EXPECT_EQ(e.at(118), "EDGE_CURVE('',#106,#104,#113,.T.)");
    EXPECT_EQ(e.at(123), "EDGE_CURVE('',#104,#108,#122,.T.)");
    EXPECT_EQ(e.at(129), "CYLINDRICAL_SURFACE('',#128,2.000000)");
    EXPECT_EQ(e.at(130), "ORIENTED_EDGE('',*,*,#117,.T.)");
    EXPECT_EQ(e.at(131), "ORIENTED_EDGE('',*,*,#126,.T.)");
    EXPECT_EQ(e.at(136), "ADVANCED_FACE('',(#135),#129,.T.)");
    EXPECT_EQ(e.at(143), "ADVANCED_FACE('',(#142),#129,.T.)");
    EXPECT_EQ(e.at(147), "FACE_OUTER_BOUND('',#146,.T.)");
    EXPECT_EQ(e.at(151), "FACE_OUTER_BOUND('',#150,.T.)");
    EXPECT_EQ(e.at(152), "CARTESIAN_POINT('',(10.000000,0.000000,-8.000000))");
    EXPECT_EQ(e.at(155), "ADVANCED_FACE('',(#147),#154,.F.)");
    EXPECT_EQ(e.at(160), "CLOSED_SHELL('',(#136,#143,#155,#159))");
    EXPECT_EQ(e.at(161), "MANIFOLD_SOLID_BREP('Pin 1a',#160)");

    // A tube: the inner side looks at the axis and bounds the end faces from inside.
    const auto t = made_from(1, [&] { solid = step_tube_solid(0, 0, 8, 4, 0, 1, "Bush 1a"); });
    EXPECT_EQ(solid, 112);
    EXPECT_EQ(t.at(53 + 34), "ADVANCED_FACE('',(#86),#80,.F.)");
    EXPECT_EQ(t.at(53 + 45), "FACE_BOUND('',#97,.T.)");
    EXPECT_EQ(t.at(106), "ADVANCED_FACE('',(#48,#98),#105,.F.)");
}

TEST(StepSolids, SquarePrismAsTheWorkedExample)
{
    const Outline square = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    std::int64_t solid = 0;
    const auto e = made_from(18, [&] { solid = step_extruded_profile_solid(square, {}, {}, {}, 0, 0, 5, "box"); });
    EXPECT_EQ(solid, 146);
    const std::map<std::int64_t, std::string> expected = {
        {18, "DIRECTION('',(0.,0.,1.))"},
        {20, "VECTOR('',#18,5.000000)"},
        {21, "CARTESIAN_POINT('',(0.000000,0.000000,0.000000))"},
        {25, "LINE('',#21,#20)"},
        {26, "EDGE_CURVE('',#22,#24,#25,.T.)"},
        {45, "DIRECTION('',(1.000000,0.000000,0.))"},
        {47, "VECTOR('',#45,10.000000)"},
        {53, "DIRECTION('',(0.000000,-1.000000,0.))"},
        {54, "AXIS2_PLACEMENT_3D('',#52,#53,#45)"},
        {55, "PLANE('',#54)"},
        {56, "EDGE_CURVE('',#22,#28,#48,.T.)"},
        {57, "EDGE_CURVE('',#24,#30,#51,.T.)"},
        {61, "ORIENTED_EDGE('',*,*,#26,.F.)"},
        {62, "EDGE_LOOP('',(#58,#59,#60,#61))"},
        {64, "ADVANCED_FACE('',(#63),#55,.T.)"},
        {137, "CARTESIAN_POINT('',(0.000000,0.000000,0.000000))"},
        {140, "ADVANCED_FACE('',(#130),#139,.F.)"},
        {145, "CLOSED_SHELL('',(#64,#84,#104,#124,#140,#144))"},
        {146, "MANIFOLD_SOLID_BREP('box',#145)"},
    };
    for (const auto& [number, text] : expected) EXPECT_EQ(e.at(number), text) << "#" << number;
    EXPECT_EQ(e.size(), 147u);

    // Repeated points are dropped before anything is written; two distinct
    // points are no prism.
    const Outline repeated = {{0, 0}, {10, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}};
    const auto r = made_from(18, [&] { solid = step_extruded_profile_solid(repeated, {}, {}, {}, 0, 0, 5, "box"); });
    EXPECT_EQ(r, e);
    const auto none =
        made_from(1, [&] { solid = step_extruded_profile_solid({{0, 0}, {1, 1}, {0, 0}}, {}, {}, {}, 0, 0, 5, "x"); });
    EXPECT_EQ(solid, 0);
    EXPECT_EQ(none.size(), 1u);
}

TEST(StepSolids, ProfileBreaks)
{
    auto breaks_of = [](const std::vector<double>& x, const std::vector<double>& y) {
        std::vector<std::int64_t> breaks;
        const std::int64_t m = split_profile_at_corners(x, y, static_cast<std::int64_t>(x.size()), breaks);
        breaks.resize(static_cast<std::size_t>(m));
        return breaks;
    };
    // A circle of n points turns by 360/n degrees at each: no corner.
    auto circle = [&](int n, double spike_at_7) {
        std::vector<double> x, y;
        for (int i = 0; i < n; ++i) {
            x.push_back(std::cos(2 * std::numbers::pi * i / n) + (i == 7 ? spike_at_7 : 0.0));
            y.push_back(std::sin(2 * std::numbers::pi * i / n));
        }
        return breaks_of(x, y);
    };
    EXPECT_EQ(circle(300, 0), (std::vector<std::int64_t>{0, 100, 200}));
    EXPECT_EQ(circle(900, 0), (std::vector<std::int64_t>{0, 200, 400, 600, 800}));
    EXPECT_EQ(circle(60, 0.5).front(), 6);  // a spike at point 7: corners at 6, 7, 8
    EXPECT_EQ(breaks_of({0, 1, 0}, {0, 0, 1}), (std::vector<std::int64_t>{0, 1, 2}));
    // A turn below 15 degrees is no corner; one above is. The outline turns
    // by 10 degrees at each of its 36 points but at 5 and 6, which share 20.
    for (const double degrees : {14.9, 15.1}) {
        std::vector<double> x, y;
        double heading = 0;
        for (int i = 0; i < 36; ++i) {
            x.push_back(i == 0 ? 0.0 : x.back() + std::cos(heading));
            y.push_back(i == 0 ? 0.0 : y.back() + std::sin(heading));
            heading += (i == 5 ? degrees : i == 6 ? 20 - degrees : 10) * std::numbers::pi / 180;
        }
        EXPECT_EQ(breaks_of(x, y).front(), degrees > 15 ? 5 : 0) << degrees;
    }
}

// What a solid modeller needs of every solid: each edge bounds exactly two
// of its faces, passed once in each direction.
TEST(StepSolids, EveryEdgeOfEverySolidIsUsedOnceEachWay)
{
    LaidDrive drive;
    drive.options.bore1 = 20;
    TestFolder folder;
    ASSERT_EQ(write_step_3d(folder.file("drive.stp"), drive.input, drive.solution, drive.options), 533);
    const StepFile file = parse_step(read_whole_file(folder.file("drive.stp")));
    ASSERT_TRUE(file.well_formed);
    const auto entity = [&](std::int64_t n) -> const std::string& {
        return file.entities.at(static_cast<std::size_t>(n));
    };
    const auto refs = [&](std::int64_t n) { return step_references(entity(n)); };
    int solids = 0;
    for (std::int64_t n = 1; n < static_cast<std::int64_t>(file.entities.size()); ++n) {
        if (!entity(n).starts_with("MANIFOLD_SOLID_BREP")) continue;
        ++solids;
        std::map<std::int64_t, std::pair<int, int>> uses;  // edge: senses .T. and .F.
        for (const std::int64_t face : refs(refs(n).at(0))) {
            const std::vector<std::int64_t> bounds = refs(face);  // then the surface
            for (std::size_t b = 0; b + 1 < bounds.size(); ++b)
                for (const std::int64_t oriented : refs(refs(bounds[b]).at(0))) {
                    const std::int64_t edge = refs(oriented).at(0);
                    ASSERT_TRUE(entity(edge).starts_with("EDGE_CURVE('',")) << "#" << oriented;
                    (entity(oriented).ends_with(".T.)") ? uses[edge].first : uses[edge].second) += 1;
                }
        }
        for (const auto& [edge, senses] : uses)
            ASSERT_EQ(senses, std::make_pair(1, 1)) << "edge #" << edge << " of " << entity(n);
    }
    EXPECT_EQ(solids, 533);
}

TEST(StepSolids, AnExportWithoutASolidWritesNothing)
{
    LaidDrive drive;
    TestFolder folder;
    drive.options.export_scope = ExportWheel1Only;
    drive.solution.wheel1_geometry.outline = {{1, 1}, {2, 2}, {1, 1}};
    EXPECT_EQ(write_step_3d(folder.file("a.stp"), drive.input, drive.solution, drive.options), 0);
    EXPECT_EQ(export_error_text, "There is no solid to export.");
    EXPECT_EQ(folder_listing(folder.path), "");
}

}  // namespace
