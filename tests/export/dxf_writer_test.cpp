#include <gtest/gtest.h>

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <vector>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <csignal>
#include <unistd.h>

#include "export/dxf_writer.h"
#include "export/export.h"
#include "export/export_file.h"
#include "tests/export/export_support.h"

namespace {

constexpr double pitch_08b = 12.7;

TEST(ExportNumber, SixDecimalsAndTheZeroRule)
{
    EXPECT_EQ(format_export_number(0.0), "0.000000");
    EXPECT_EQ(format_export_number(-0.0), "0.000000");
    EXPECT_EQ(format_export_number(1.5), "1.500000");
    EXPECT_EQ(format_export_number(-574.629969), "-574.629969");
    EXPECT_EQ(format_export_number(3e-13), "0.000000");
    EXPECT_EQ(format_export_number(-3e-13), "0.000000");
    EXPECT_EQ(format_export_number(-2e-7), "-0.000000");
    EXPECT_EQ(format_export_number(1e-12), "0.000000");
    // The nearest text to the double itself: 5e-7 is stored a hair below
    // 0.0000005 and 2.0000005 a hair above.
    EXPECT_EQ(format_export_number(5e-7), "0.000000");
    EXPECT_EQ(format_export_number(2.0000005), "2.000001");
    EXPECT_EQ(format_export_number(123456789.125), "123456789.125000");
    const std::string big = format_export_number(1e300);
    EXPECT_EQ(big.size(), 301u + 7u);
    EXPECT_EQ(big.find_first_of("eE+"), std::string::npos);
}

// The text is the correctly rounded one, against the standard library's exact
// conversion, also for values a hair from a rounding boundary and exact ties.
TEST(ExportNumber, NearestTextEverywhere)
{
    auto reference = [](double x) {
        if (std::fabs(x) < 1e-12) x = 0.0;
        char buffer[400];
        auto result = std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::fixed, 6);
        return std::string(buffer, result.ptr);
    };
    std::vector<double> values = {1.0 / 128, -1.0 / 128, 3.0 / 128, 0.5e-6, 1.5e-6, 2.5e-6, 999999.9999995,
                                  -0.0000004999999, 1e15 / 1e6 + 0.5e-6, 123456789012.3456785, 4503599627.3704965};
    std::mt19937_64 random(20261208);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    for (double scale : {1e-9, 1e-6, 1e-3, 1.0, 100.0, 1e4, 1e7, 1e10}) {
        for (int i = 0; i < 20000; ++i) values.push_back(unit(random) * scale);
        // Right at, below and above the half millionths.
        for (int i = 0; i < 2000; ++i) {
            const double half = (std::floor(unit(random) * scale * 1e6) + 0.5) / 1e6;
            values.push_back(half);
            values.push_back(std::nextafter(half, INFINITY));
            values.push_back(std::nextafter(half, -INFINITY));
        }
    }
    int wrong = 0;
    for (double x : values) {
        if (format_export_number(x) == reference(x)) continue;
        if (++wrong < 5) ADD_FAILURE() << std::hexfloat << x << ": " << format_export_number(x) << " vs " << reference(x);
    }
    EXPECT_EQ(wrong, 0);
}

TEST(ExportNumber, NoDecimalCommaUnderADutchLocale)
{
    const char* old = std::setlocale(LC_ALL, nullptr);
    const std::string saved = old != nullptr ? old : "C";
    if (std::setlocale(LC_ALL, "nl_NL.UTF-8") == nullptr && std::setlocale(LC_ALL, "nl_NL.utf8") == nullptr)
        GTEST_SKIP() << "no Dutch locale installed";
    char probe[32];
    std::snprintf(probe, sizeof probe, "%.1f", 1.5);
    const std::string printed = probe;
    const std::string ours = format_export_number(1234.5);
    std::setlocale(LC_ALL, saved.c_str());
    ASSERT_EQ(printed, "1,5");  // the trap is there
    EXPECT_EQ(ours, "1234.500000");
}

TEST(ExportText, EightBitWithCrLf)
{
    ExportFile file;
    write_line_crlf(file, "0\r\nCIRCLE");
    EXPECT_EQ(file.bytes, "0\r\nCIRCLE\r\n");

    file.bytes.clear();
    // é (U+00E9) and ÿ (U+00FF) are one byte each; € (U+20AC) and the
    // four-byte 😀 have no 8-bit form; a stray byte is no character.
    write_line_crlf(file, "a\xC3\xA9" "b\xE2\x82\xAC" "c\xC3\xBF" "d\xF0\x9F\x98\x80" "e\x80" "f\xC3");
    EXPECT_EQ(file.bytes, "a\xE9" "bc\xFF" "def\r\n");

    // Long plain runs with a character beyond them, at every position.
    for (std::size_t lead = 0; lead < 20; ++lead) {
        file.bytes.clear();
        write_line_crlf(file, std::string(lead, 'x') + "\xC3\xA9" + std::string(lead, 'y') + "\xE2\x82\xAC");
        EXPECT_EQ(file.bytes, std::string(lead, 'x') + "\xE9" + std::string(lead, 'y') + "\r\n") << lead;
    }
}

class DxfWriter : public ::testing::Test {
protected:
    LaidDrive drive;
    TestFolder folder;

    DxfFile write(const std::string& name, std::int64_t& count)
    {
        count = write_dxf_2d(folder.file(name), drive.input, drive.solution, drive.options);
        return parse_dxf(read_whole_file(folder.file(name)));
    }
};

TEST_F(DxfWriter, DefaultDriveFileLayout)
{
    ASSERT_EQ(drive.solution.rollers.size(), 106u);
    std::int64_t count = 0;
    const DxfFile dxf = write("drive.dxf", count);
    EXPECT_EQ(export_error_text, "");
    ASSERT_TRUE(dxf.well_formed);
    EXPECT_TRUE(dxf.crlf_everywhere);
    EXPECT_FALSE(dxf.leading_blank);
    EXPECT_EQ(dxf.sections, (std::vector<std::string>{"HEADER", "ENTITIES"}));

    // The header: version, millimetres, extents and nothing else.
    ASSERT_EQ(dxf.header.size(), 12u);
    const std::vector<std::pair<std::string, std::string>> fixed = {
        {"9", "$ACADVER"}, {"1", "AC1009"}, {"9", "$INSUNITS"}, {"70", "4"}, {"9", "$EXTMIN"}};
    for (std::size_t i = 0; i < fixed.size(); ++i) EXPECT_EQ(dxf.header[i], fixed[i]);
    EXPECT_EQ(dxf.header[5].first, "10");
    EXPECT_EQ(dxf.header[6].first, "20");
    EXPECT_EQ(dxf.header[7], (std::pair<std::string, std::string>{"30", "0.0"}));
    EXPECT_EQ(dxf.header[8], (std::pair<std::string, std::string>{"9", "$EXTMAX"}));
    EXPECT_EQ(dxf.header[11], (std::pair<std::string, std::string>{"30", "0.0"}));

    // The count the command shows is the number of entities in the file.
    EXPECT_EQ(count, 324);
    EXPECT_EQ(dxf.entities.size(), 324u);
    const std::map<std::string, int> polylines = {{"Z1", 1}, {"Z2", 1}, {"IDLER", 1}, {"INNER_PLATE", 53},
                                                  {"OUTER_PLATE", 53}};
    const std::map<std::string, int> circles = {{"PITCH_CIRCLE", 3}, {"ROLLER", 106}, {"PIN", 106}};
    EXPECT_EQ(count_by_layer(dxf, "POLYLINE"), polylines);
    EXPECT_EQ(count_by_layer(dxf, "CIRCLE"), circles);

    // Wheels first, each with its pitch circle; the plates; roller and pin pairs.
    const char* head[] = {"Z1", "PITCH_CIRCLE", "Z2", "PITCH_CIRCLE", "IDLER", "PITCH_CIRCLE", "INNER_PLATE",
                          "OUTER_PLATE"};
    for (std::size_t i = 0; i < 8; ++i) EXPECT_EQ(dxf.entities[i].layer, head[i]) << i;
    EXPECT_EQ(dxf.entities[111].layer, "OUTER_PLATE");
    for (std::size_t i = 112; i < 324; i += 2) {
        ASSERT_EQ(dxf.entities[i].layer, "ROLLER") << i;
        ASSERT_EQ(dxf.entities[i + 1].layer, "PIN") << i;
    }

    const std::map<std::string, std::string> colour = {{"Z1", "5"},         {"Z2", "30"},         {"IDLER", "3"},
                                                       {"INNER_PLATE", "8"}, {"OUTER_PLATE", "2"}, {"PIN", "7"},
                                                       {"ROLLER", "9"},      {"PITCH_CIRCLE", "4"}};
    for (const DxfEntity& e : dxf.entities) {
        EXPECT_EQ(e.colour, colour.at(e.layer));
        if (e.type == "CIRCLE") {
            EXPECT_EQ(e.groups.size(), 6u);  // 8 62 10 20 30 40
            EXPECT_EQ(e.groups.find("30")->second, "0.0");
            EXPECT_GT(e.r, 0);
            continue;
        }
        ASSERT_EQ(e.type, "POLYLINE");
        const std::multimap<std::string, std::string> polyline_groups = {
            {"8", e.layer}, {"62", e.colour}, {"66", "1"}, {"70", "1"}, {"10", "0.0"}, {"20", "0.0"}, {"30", "0.0"}};
        EXPECT_EQ(e.groups, polyline_groups);  // closed, vertices follow
        // Vertices and the sequence end on the layer, without a colour.
        EXPECT_EQ(e.vertex_layers.size(), e.vertices.size() + 1);
        for (const std::string& layer : e.vertex_layers) EXPECT_EQ(layer, e.layer);
        EXPECT_FALSE(e.vertex_has_colour);
        ASSERT_GE(e.vertices.size(), 8u);
        const Point2D& first = e.vertices.front();
        const Point2D& last = e.vertices.back();
        EXPECT_GT(std::hypot(first.x - last.x, first.y - last.y), 0.0) << "the first vertex is repeated";
    }
}

// The extents read back from the file enclose every entity, and touch them.
TEST_F(DxfWriter, ExtentsEncloseEverything)
{
    drive.options.bore1 = 60;  // the largest whole bore wheel 1 takes
    std::int64_t count = 0;
    const DxfFile dxf = write("drive.dxf", count);
    ASSERT_TRUE(dxf.well_formed);
    auto value = [&](std::size_t i) { return dxf_number(dxf.header[i].second); };
    const double min_x = value(5), min_y = value(6), max_x = value(9), max_y = value(10);
    double lo_x = INFINITY, lo_y = INFINITY, hi_x = -INFINITY, hi_y = -INFINITY;
    auto add = [&](double x, double y) {
        lo_x = std::min(lo_x, x);
        lo_y = std::min(lo_y, y);
        hi_x = std::max(hi_x, x);
        hi_y = std::max(hi_y, y);
    };
    for (const DxfEntity& e : dxf.entities) {
        if (e.type == "CIRCLE") {
            add(e.cx - e.r, e.cy - e.r);
            add(e.cx + e.r, e.cy + e.r);
        }
        for (const Point2D& v : e.vertices) add(v.x, v.y);
    }
    EXPECT_NEAR(min_x, lo_x, 2e-6);
    EXPECT_NEAR(min_y, lo_y, 2e-6);
    EXPECT_NEAR(max_x, hi_x, 2e-6);
    EXPECT_NEAR(max_y, hi_y, 2e-6);
    // Wheel 2 (Z2 = 34) reaches beyond its pitch circle round (500, 0).
    EXPECT_GT(max_x, 500.0 + 68.82);
}

// A bore that reaches the bottoms of the tooth gaps leaves no wheel to make:
// the export of that wheel says so and writes nothing, whatever the number.
TEST_F(DxfWriter, BoresTooLargeForTheirWheelAreRefused)
{
    const double limit = drive.solution.wheel2_geometry.pitch_diameter -
                         2.0 * drive.solution.wheel2_geometry.seating_radius;
    std::int64_t count = 0;
    for (const double bore : {limit, 1e300}) {
        drive.options.bore2 = bore;
        write("drive.dxf", count);
        EXPECT_EQ(count, 0) << bore;
        EXPECT_EQ(export_error_text, "Bore of Z2 is too large for the wheel.");
        EXPECT_EQ(folder_listing(folder.path), "");
    }
    // Just short of the gaps it is a wheel; and a scope without wheel 2 does not mind.
    drive.options.bore2 = limit - 0.001;
    write("drive.dxf", count);
    EXPECT_EQ(count, 325);
    drive.options.bore2 = 1e300;
    drive.options.export_scope = ExportWheel1Only;
    write("wheel1.dxf", count);
    EXPECT_EQ(count, 2);
}

TEST_F(DxfWriter, GeometryReadBackFromTheFile)
{
    drive.options.export_scope = ExportChainOnly;
    std::int64_t count = 0;
    const DxfFile dxf = write("chain.dxf", count);
    ASSERT_EQ(count, 318);
    ASSERT_EQ(dxf.entities.size(), 318u);
    // Link 0 first: its plate around roller 0 and roller 1.
    const DxfEntity& first = dxf.entities.front();
    EXPECT_EQ(first.type, "POLYLINE");
    EXPECT_EQ(first.layer, "INNER_PLATE");
    const Point2D r0 = drive.solution.rollers[0], r1 = drive.solution.rollers[1];
    for (const Point2D& v : first.vertices) {
        const double d = std::min(std::hypot(v.x - r0.x, v.y - r0.y), std::hypot(v.x - r1.x, v.y - r1.y));
        EXPECT_LT(d, pitch_08b);
    }
    // The file ends with the roller and the pin of the last roller.
    const DxfEntity& roller = dxf.entities[316];
    const DxfEntity& pin = dxf.entities[317];
    EXPECT_EQ(roller.layer, "ROLLER");
    EXPECT_EQ(pin.layer, "PIN");
    EXPECT_NEAR(roller.cx, drive.solution.rollers.back().x, 1e-6);
    EXPECT_NEAR(roller.cy, drive.solution.rollers.back().y, 1e-6);

    std::vector<Point2D> centres;
    for (std::size_t i = 106; i < 318; i += 2) {
        const DxfEntity& r = dxf.entities[i];
        const DxfEntity& p = dxf.entities[i + 1];
        ASSERT_EQ(r.layer, "ROLLER");
        EXPECT_EQ(p.groups.find("10")->second, r.groups.find("10")->second);  // concentric, to the digit
        EXPECT_EQ(p.groups.find("20")->second, r.groups.find("20")->second);
        EXPECT_EQ(r.groups.find("40")->second, "4.255000");
        EXPECT_EQ(p.groups.find("40")->second, "2.225000");
        centres.push_back({r.cx, r.cy});
    }
    for (std::size_t i = 0; i < centres.size(); ++i) {
        const Point2D& a = centres[i];
        const Point2D& b = centres[(i + 1) % centres.size()];
        EXPECT_NEAR(std::hypot(b.x - a.x, b.y - a.y), pitch_08b, 2e-6) << i;
    }
}

TEST_F(DxfWriter, EveryScope)
{
    const std::pair<std::int64_t, std::map<std::string, int>> scopes[] = {
        {ExportEverything,
         {{"Z1", 1}, {"Z2", 1}, {"IDLER", 1}, {"PITCH_CIRCLE", 3}, {"INNER_PLATE", 53}, {"OUTER_PLATE", 53},
          {"ROLLER", 106}, {"PIN", 106}}},
        {ExportChainOnly, {{"INNER_PLATE", 53}, {"OUTER_PLATE", 53}, {"ROLLER", 106}, {"PIN", 106}}},
        {ExportWheel1Only, {{"Z1", 1}, {"PITCH_CIRCLE", 1}}},
        {ExportWheel2Only, {{"Z2", 1}, {"PITCH_CIRCLE", 1}}},
        {ExportIdlerOnly, {{"IDLER", 1}, {"PITCH_CIRCLE", 1}}},
    };
    for (const auto& [scope, expected] : scopes) {
        drive.options.export_scope = scope;
        std::int64_t count = 0;
        const DxfFile dxf = write("scope.dxf", count);
        ASSERT_TRUE(dxf.well_formed) << scope;
        std::map<std::string, int> seen;
        for (const DxfEntity& e : dxf.entities) ++seen[e.layer];
        EXPECT_EQ(seen, expected) << "scope " << scope;
        EXPECT_EQ(count, static_cast<std::int64_t>(dxf.entities.size()));
    }
    // Without pitch circles a wheel alone is a single polyline.
    drive.options.export_pitch_circles = 0;
    drive.options.export_scope = ExportIdlerOnly;
    std::int64_t count = 0;
    const DxfFile dxf = write("idler.dxf", count);
    EXPECT_EQ(count, 1);
    ASSERT_EQ(dxf.entities.size(), 1u);
    EXPECT_EQ(dxf.entities[0].type, "POLYLINE");
}

TEST_F(DxfWriter, ReplacesAnExistingFile)
{
    write_whole_file(folder.file("drive.dxf"), std::string(5000000, 'x'));
    std::int64_t count = 0;
    const DxfFile dxf = write("drive.dxf", count);
    EXPECT_EQ(count, 324);
    EXPECT_TRUE(dxf.well_formed);
    EXPECT_EQ(folder_listing(folder.path), "drive.dxf\n");
}

TEST_F(DxfWriter, RefusesWithoutADriveAndWritesNothing)
{
    drive.solution.laid = 0;
    EXPECT_EQ(write_dxf_2d(folder.file("a.dxf"), drive.input, drive.solution, drive.options), 0);
    EXPECT_EQ(export_error_text, "There is no valid drive to export.");
    drive.solution.laid = 1;
    drive.solution.rollers[3].x = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(write_dxf_2d(folder.file("b.dxf"), drive.input, drive.solution, drive.options), 0);
    EXPECT_EQ(export_error_text, "There is no valid drive to export.");
    EXPECT_EQ(folder_listing(folder.path), "");
}

// Every failure: 0, the reason, and no file left behind; a file that was there stays.
TEST_F(DxfWriter, FailuresLeaveNoFile)
{
    write_whole_file(folder.file("plain"), "not a folder");
    mkdir(folder.file("sub").c_str(), 0755);
    const std::string paths[] = {
        folder.file("sub"),              // a folder
        folder.file("plain/drive.dxf"),  // below a regular file
        folder.file("missing/drive.dxf"),
        "/dev/full",
        "",
    };
    for (const std::string& path : paths) {
        export_error_text.clear();
        EXPECT_EQ(write_dxf_2d(path, drive.input, drive.solution, drive.options), 0) << path;
        EXPECT_EQ(export_error_text, "Cannot write the file.") << path;
        EXPECT_EQ(folder_listing(folder.path), "plain\nsub\n") << path;
    }
    struct stat status {};
    ASSERT_EQ(stat("/dev/full", &status), 0);
    EXPECT_TRUE(S_ISCHR(status.st_mode));
    EXPECT_EQ(read_whole_file(folder.file("plain")), "not a folder");
}

// A write that fails half way, as on a full disk: here the file size limit
// cuts the writes off in a child process.
TEST_F(DxfWriter, WriteCutOffHalfWay)
{
    write_whole_file(folder.file("old.dxf"), "the old drawing");
    for (const char* name : {"new.dxf", "old.dxf"}) {
        const std::string path = folder.file(name);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            signal(SIGXFSZ, SIG_IGN);
            rlimit limit{200000, 200000};
            setrlimit(RLIMIT_FSIZE, &limit);
            const std::int64_t count = write_dxf_2d(path, drive.input, drive.solution, drive.options);
            _exit(count == 0 && export_error_text == "Cannot write the file." ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0) << name << ": a cut-off file was reported as written";
        EXPECT_EQ(folder_listing(folder.path), "old.dxf\n") << name;
    }
    EXPECT_EQ(read_whole_file(folder.file("old.dxf")), "the old drawing");
}

}  // namespace
