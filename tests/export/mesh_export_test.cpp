#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <set>
#include <tuple>

#include "export/export.h"
#include "export/export_file.h"
#include "export/mesh_writers.h"
#include "export/shape_list_2d.h"
#include "export/step_solids.h"
#include "export/tessellation.h"
#include "model/geometry.h"
#include "tests/export/export_support.h"
#include "tests/support/outline_measure.h"

namespace {

struct Shell {
    std::size_t edges_without_partner = 0;
    double volume = 0.0;
};

// A vertex by the bits of its coordinates: equal only for equal points (short
// of a 64-bit collision, which could only hide a fault).
std::uint64_t vertex_key(const MeshTriangle& t, int k)
{
    std::uint64_t key = 0;
    for (double c : {t.x[k], t.y[k], t.z[k]}) {
        std::uint64_t bits;
        std::memcpy(&bits, &c, sizeof bits);
        key = (key ^ bits) * 0x100000001B3ULL + (key >> 29);
    }
    return key;
}

// Closed and consistently oriented: every directed edge has exactly one
// partner running the other way, within the part.
Shell shell_of(const std::vector<MeshTriangle>& triangles)
{
    using Edge = unsigned __int128;
    std::vector<Edge> edges;
    Shell shell;
    for (const MeshTriangle& t : triangles) {
        for (int k = 0; k < 3; ++k) edges.push_back(Edge(vertex_key(t, k)) << 64 | vertex_key(t, (k + 1) % 3));
        shell.volume += (t.x[0] * (t.y[1] * t.z[2] - t.z[1] * t.y[2]) - t.y[0] * (t.x[1] * t.z[2] - t.z[1] * t.x[2]) +
                         t.z[0] * (t.x[1] * t.y[2] - t.y[1] * t.x[2])) /
                        6.0;
    }
    std::sort(edges.begin(), edges.end());
    for (std::size_t i = 0; i < edges.size(); ++i) {
        const Edge back = edges[i] << 64 | edges[i] >> 64;
        const bool once = (i == 0 || edges[i - 1] != edges[i]) && (i + 1 == edges.size() || edges[i + 1] != edges[i]);
        const auto reverse = std::equal_range(edges.begin(), edges.end(), back);
        if (!once || reverse.second - reverse.first != 1) ++shell.edges_without_partner;
    }
    return shell;
}

// Meshes the drive part by part and holds every part to its shell and its volume.
std::size_t check_every_part(const DriveInput& input, const DriveSolution& solution, const DriveOptions& options)
{
    std::vector<ExportPart> parts;
    EXPECT_EQ(build_3d_part_list(input, solution, options, parts), 1) << export_error_text;
    const double tolerance = mesh_chord_tolerance(options);
    std::int64_t number = 0;
    build_export_mesh(solution, parts, tolerance, [&](const ExportPart& part) {
        ++number;
        const Shell shell = shell_of(mesh_triangles);
        const PartSolid solid = part_solid(solution, part);
        EXPECT_EQ(shell.edges_without_partner, 0u) << part.name;
        EXPECT_GT(shell.volume, 0.0) << part.name;
        const double thickness = part.z_high - part.z_low;
        EXPECT_NEAR(shell.volume, solid.volume, tolerance * solid.edge_length * thickness) << part.name;
        for (const MeshTriangle& t : mesh_triangles)
            EXPECT_TRUE(t.part_number == number && t.layer == part.layer) << part.name;
        return !::testing::Test::HasFailure();
    });
    release_mesh_triangles();
    return parts.size();
}

// The default drive; with bores and a coarse tolerance; a bore close to the
// tooth gaps with a fine one; a tiny bore; the chain turned so that the other
// links are the inner ones; the large drive.
TEST(MeshShells, EveryPartClosedOutwardAndOfItsVolume)
{
    const LaidDrive drive;
    const SprocketGeometry& z1 = drive.solution.wheel1_geometry;
    const std::tuple<DriveInput, DriveOptions, std::size_t> cases[] = {
        {{}, {}, 533},
        {{}, {.bore1 = 20, .bore2 = 25, .idler_bore = 10, .chord_tolerance = 0.1}, 533},
        {{},
         {.bore1 = z1.pitch_diameter - 2 * z1.seating_radius - 0.5, .export_scope = ExportWheel1Only,
          .chord_tolerance = 0.0005},
         1},
        {{}, {.idler_bore = 0.01, .export_scope = ExportIdlerOnly}, 1},
        {{.rotation = 2.0}, {.export_scope = ExportChainOnly, .chord_tolerance = 0.1}, 530},
        {{.size_index = 9, .z2 = 250, .centre_distance = 6400, .links = 400}, {.bore2 = 300, .chord_tolerance = 1.0},
         2003}};
    for (const auto& [input, options, parts] : cases) {
        DriveSolution solution;
        ASSERT_EQ(compute_drive(input, solution), 1);
        EXPECT_EQ(check_every_part(input, solution, options), parts);
    }
}

// 08B: b1 7.75, plates 1.6 thick and 11.81 high, rollers 8.51, pins 4.45,
// bushes (8.51 + 4.45) / 2; rollers 2% of b1 short of the plates on either
// side, pins 0.08 p beyond them.
TEST(PartList3D, TheDefaultDriveWheelsThenLinkByLink)
{
    LaidDrive drive;
    drive.options.bore1 = 20;
    std::vector<ExportPart> parts;
    ASSERT_EQ(build_3d_part_list(drive.input, drive.solution, drive.options, parts), 1);
    ASSERT_EQ(parts.size(), 533u);
    const double w1 = drive.solution.wheel1_geometry.tooth_width / 2;
    const double w2 = drive.solution.wheel2_geometry.tooth_width / 2;
    const double wi = drive.solution.idler_geometry.tooth_width / 2;
    struct Expected {
        const char* name;
        std::int64_t kind, layer;
        double z_low, z_high, size, hole;  // plates: height and hole; cylinders: diameters; wheels: 0 and bore
    };
    const Expected expected[] = {
        {"Z1 = 17", PartWheel, LayerZ1, -w1, w1, 0, 20},
        {"Z2 = 34", PartWheel, LayerZ2, -w2, w2, 0, 0},
        {"Idler z = 15", PartWheel, LayerIdler, -wi, wi, 0, 0},
        {"Inner plate 1a", PartPlate, LayerInnerPlate, 3.875, 5.475, 11.81, 6.48},
        {"Inner plate 1b", PartPlate, LayerInnerPlate, -5.475, -3.875, 11.81, 6.48},
        {"Bush 1a", PartCylinder, LayerBush, -5.475, 5.475, 6.48, 4.45},
        {"Roller 1a", PartCylinder, LayerRoller, -3.72, 3.72, 8.51, 6.48},
        {"Bush 1b", PartCylinder, LayerBush, -5.475, 5.475, 6.48, 4.45},
        {"Roller 1b", PartCylinder, LayerRoller, -3.72, 3.72, 8.51, 6.48},
        {"Outer plate 2a", PartPlate, LayerOuterPlate, 5.475, 7.075, 11.81, 4.45},
        {"Outer plate 2b", PartPlate, LayerOuterPlate, -7.075, -5.475, 11.81, 4.45},
        {"Pin 2a", PartCylinder, LayerPin, -8.091, 8.091, 4.45, 0},
    };
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const ExportPart& p = parts[i];
        const Expected& e = expected[i];
        const bool plate = e.kind == PartPlate;
        EXPECT_TRUE(p.name == e.name && p.kind == e.kind && p.layer == e.layer) << p.name << " for " << e.name;
        EXPECT_NEAR(p.z_low, e.z_low, 1e-9) << e.name;
        EXPECT_NEAR(p.z_high, e.z_high, 1e-9) << e.name;
        EXPECT_NEAR(plate ? p.plate_height : p.outer_diameter, e.size, 1e-9) << e.name;
        EXPECT_NEAR(plate ? p.plate_hole_diameter : p.bore + p.inner_diameter, e.hole, 1e-9) << e.name;
    }
    EXPECT_EQ(parts[2].wheel_slot, Idler);
    // Cylinder "b" on the link's second roller; the last link closes the loop on roller 0.
    const Outline& rollers = drive.solution.rollers;
    EXPECT_TRUE(parts[3].x2 == rollers[1].x && parts[7].cy == rollers[1].y);
    EXPECT_EQ(parts.back().name, "Pin 106b");
    EXPECT_TRUE(parts.back().cx == rollers[0].x && parts[parts.size() - 3].y2 == rollers[0].y);
}

TEST(PartList3D, ScopesOddChainsAndRefusals)
{
    LaidDrive drive;
    std::vector<ExportPart> parts;
    drive.options.export_scope = ExportWheel1Only;
    ASSERT_EQ(build_3d_part_list(drive.input, drive.solution, drive.options, parts), 1);
    ASSERT_EQ(parts.size(), 1u);
    EXPECT_EQ(parts[0].name, "Z1 = 17");

    // Chains alone: turned so that link 1 is an outer link, and odd chains,
    // whose last link is of the same kind as link 1: roller 0 carries each
    // cylinder once.
    drive.options.export_scope = ExportChainOnly;
    for (auto [links, outside, rotation, count, first] :
         {std::tuple{0, 1, 0.0, 530u, "Inner plate 1a"}, std::tuple{0, 1, 2.0, 530u, "Outer plate 1a"},
          std::tuple{105, 1, 0.0, 524u, "Inner plate 1a"}, std::tuple{107, 0, 0.0, 533u, "Outer plate 1a"}}) {
        const DriveInput input{.links = links, .idler_outside = outside, .rotation = rotation};
        DriveSolution solution;
        ASSERT_EQ(compute_drive(input, solution), 1) << links;
        ASSERT_EQ(build_3d_part_list(input, solution, drive.options, parts), 1);
        EXPECT_TRUE(parts.size() == count && parts[0].name == first) << links << ": " << parts[0].name;
        std::set<std::tuple<std::int64_t, double, double>> cylinders;
        for (const ExportPart& part : parts) {
            if (part.kind != PartCylinder) continue;
            EXPECT_TRUE(cylinders.insert({part.layer, part.cx, part.cy}).second) << part.name;
        }
    }

    // Refused, with an empty list: a bore into the tooth gaps of an exported
    // wheel, a roller that is not a number (no laid drive: see the writers).
    drive.options.bore2 = drive.solution.wheel2_geometry.root_diameter;
    EXPECT_EQ(build_3d_part_list(drive.input, drive.solution, drive.options, parts), 1);
    drive.options.export_scope = ExportEverything;
    EXPECT_EQ(build_3d_part_list(drive.input, drive.solution, drive.options, parts), 0);
    EXPECT_EQ(export_error_text, "Bore of Z2 is too large for the wheel.");
    drive.options.bore2 = 0;
    drive.solution.rollers[7].x = std::nan("");
    EXPECT_EQ(build_3d_part_list(drive.input, drive.solution, drive.options, parts), 0);
    EXPECT_EQ(export_error_text, "There is no valid drive to export.");
    EXPECT_TRUE(parts.empty());
}

TEST(MeshPrimitives, CirclesPinsBushesAndTheNumberForm)
{
    Outline loop;
    for (auto [r, tolerance, n] : {std::tuple{2.225, 0.01, 34}, {10.0, 0.01, 71}, {1000.0, 0.0005, 3142},
                                   {1e6, 0.0005, 4000}, {0.05, 0.01, 12}})
        EXPECT_EQ(mesh_circle_polygon(3, 4, r, tolerance, loop), n) << r;
    EXPECT_TRUE(loop[0].x == 3.05 && signed_area(loop) > 0.0);

    tessellate_cylinder(0, 0, 4.45, 0, -8, 8, 0.01);     // a pin of 08B: 4 x 34
    tessellate_cylinder(0, 0, 6.48, 4.45, -5, 5, 0.01);  // a bush: 4 x (40 + 34)
    EXPECT_EQ(mesh_triangles.size(), 136u + 296u);
    release_mesh_triangles();
    EXPECT_EQ(mesh_chord_tolerance({.chord_tolerance = 0}), 0.01);

    // The 3D DXF's coordinates: exactly four decimals, the sign kept.
    std::string out;
    for (double x : {1.0, 0.0, -0.0, -1e-15, -574.62996, 0.00005}) {
        append_fixed_decimals(out, x, 4);
        out += ' ';
    }
    EXPECT_EQ(out, "1.0000 0.0000 0.0000 -0.0000 -574.6300 0.0001 ");
}

TEST(MeshFiles, TheDefaultDriveAsStlAndDxf)
{
    LaidDrive drive;
    TestFolder folder;
    const std::int64_t n = write_stl_binary(folder.file("drive.stl"), drive.input, drive.solution, drive.options);
    EXPECT_GT(n, 100000);
    EXPECT_TRUE(mesh_triangles.empty());
    const std::string stl = read_whole_file(folder.file("drive.stl"));
    ASSERT_EQ(stl.size(), 84 + 50 * static_cast<std::size_t>(n));
    const std::string title = "QX Zandrel STL, mm, koordafwijking 0.0100 mm";
    EXPECT_EQ(stl.substr(0, 80), title + std::string(80 - title.size(), ' '));
    std::uint32_t count = 0;
    for (int i = 83; i >= 80; --i) count = count << 8 | static_cast<unsigned char>(stl[i]);
    EXPECT_EQ(count, n);
    for (std::size_t at = 84 + 48; at < stl.size(); at += 50) ASSERT_EQ(stl.substr(at, 2), std::string(2, '\0'));

    EXPECT_EQ(write_dxf_3d(folder.file("drive.dxf"), drive.input, drive.solution, drive.options), n);
    const std::string dxf = read_whole_file(folder.file("drive.dxf"));
    const std::string head =
        "0\r\nSECTION\r\n2\r\nHEADER\r\n9\r\n$ACADVER\r\n1\r\nAC1009\r\n9\r\n$INSUNITS\r\n70\r\n4\r\n0\r\nENDSEC\r\n"
        "0\r\nSECTION\r\n2\r\nENTITIES\r\n0\r\n3DFACE\r\n8\r\nZ1\r\n62\r\n5\r\n10\r\n";
    const std::string tail = "\r\n0\r\nENDSEC\r\n0\r\nEOF\r\n";
    EXPECT_EQ(dxf.substr(0, head.size()), head);
    EXPECT_EQ(dxf.substr(dxf.size() - tail.size()), tail);
    std::int64_t faces = 0;
    for (std::size_t at = 0; (at = dxf.find("\r\n3DFACE\r\n", at + 1)) != std::string::npos;) ++faces;
    EXPECT_EQ(faces, n);
}

// A bore of next to nothing would be a circle of radius 0.000000 and facets
// with coinciding corners: every kind refuses it and writes nothing, and the
// smallest bore taken is still a file.
TEST(ExportKinds, AVanishingBoreIsRefusedByEvery)
{
    TestFolder folder;
    LaidDrive drive;
    for (std::int64_t kind : {Dxf2D, Step2D, Dxf3D, Step3D, Stl}) {
        drive.options.bore1 = 1e-300;
        EXPECT_EQ(write_export_file(kind, folder.file("refused"), drive.input, drive.solution, drive.options), 0);
        EXPECT_EQ(export_error_text, "Bore of Z1 is too small to be cut (below 0.01 mm).");
        EXPECT_FALSE(path_exists(folder.file("refused")));
        drive.options.bore1 = smallest_bore;
        drive.options.export_scope = ExportWheel1Only;
        EXPECT_GT(write_export_file(kind, folder.file("a"), drive.input, drive.solution, drive.options), 0);
        drive.options.export_scope = ExportEverything;
    }
}

TEST(MeshFiles, RefusalsLeaveNoFile)
{
    TestFolder folder;
    for (ExportWriter writer : {write_stl_binary, write_dxf_3d, write_step_3d}) {
        LaidDrive drive;
        drive.solution.laid = 0;
        EXPECT_EQ(writer(folder.file("a"), drive.input, drive.solution, drive.options), 0);
        EXPECT_EQ(export_error_text, "There is no valid drive to export.");
        drive.solution.laid = 1;
        drive.options.idler_bore = 1e300;
        EXPECT_EQ(writer(folder.file("a"), drive.input, drive.solution, drive.options), 0);
        EXPECT_EQ(export_error_text, "Bore of the idler is too large for the wheel.");
        drive.options.idler_bore = 0;
        EXPECT_EQ(writer(folder.path, drive.input, drive.solution, drive.options), 0);
        EXPECT_EQ(export_error_text, "Cannot write the file.");
    }
    // A count beyond the file's field, here made small.
    LaidDrive drive;
    const std::string stl = folder.file("a.stl");
    write_whole_file(stl, "keep me");
    EXPECT_EQ(write_stl_binary_at_most(stl, drive.input, drive.solution, drive.options, 1000), 0);
    EXPECT_EQ(export_error_text, "Too many triangles for an STL file; choose a larger chord tolerance.");
    EXPECT_EQ(read_whole_file(stl), "keep me");
    EXPECT_EQ(folder_listing(folder.path), "a.stl\n");
    EXPECT_TRUE(mesh_triangles.empty());
}

}  // namespace
