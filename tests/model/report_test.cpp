#include <gtest/gtest.h>

#include <cmath>

#include "model/drive.h"
#include "model/report.h"

namespace {

// The report of the default drive, as a user reads it under the panel.
const char* const default_report = R"(Chain 08B  (1/2")  ISO 606 / DIN 8187
  p = 12.700   d1 = 8.51   b1 = 7.75
  d2 = 4.45   h = 11.81

Wheel 1 (driving)
  z = 17   d = 69.116   df = 60.606
  da = 74.30  (72.11 .. 76.48)
  ri = 4.368   re = 25.67   α = 124.71°
  tooth width bf1 = 7.21   wrap 188.5°

Wheel 2
  z = 34   d = 137.642   df = 129.132
  da = 143.12  (141.23 .. 145.01)
  ri = 4.368   re = 63.86   α = 127.35°
  tooth width bf1 = 7.21   wrap 204.6°

Idler
  z = 15   d = 61.084   df = 52.574
  da = 66.18  (63.92 .. 68.45)
  ri = 4.368   re = 22.47   α = 124.00°
  tooth width bf1 = 7.21   wrap 33.1°

Ratio i = Z2 / Z1 = 2.0000
Links without idler (ISO): 104.43
Links (laid, tight): 104.44
Chosen number of links: 106
Chain length: 1346.2 mm
Centre distance without idler: 510.02 mm
Idler deflection: 70.54 mm
Idler at (x, y): 249.20, -11.66
)";

struct Solved {
    DriveInput input;
    DriveOptions options;
    DriveSolution solution;
};

Solved solve(DriveInput input, DriveOptions options = {})
{
    Solved s{input, options, {}};
    compute_drive(s.input, s.solution);
    return s;
}

std::string report_of(const Solved& s) { return build_report_text(s.input, s.options, s.solution); }

bool contains(const std::string& haystack, const std::string& needle)
{
    return haystack.find(needle) != std::string::npos;
}

}  // namespace

TEST(Report, DefaultDriveWordForWord)
{
    EXPECT_EQ(report_of(solve({})), default_report);
}

TEST(Report, UnknownChainSizeHasNoChainBlock)
{
    DriveInput in;
    in.size_index = 10;
    EXPECT_EQ(report_of(solve(in)), "\nERROR: Unknown chain size.\n");
}

TEST(Report, ErrorOfTheSolveKeepsTheChainBlock)
{
    DriveInput in;
    in.centre_distance = 100.0;  // the wheels overlap
    const std::string r = report_of(solve(in));
    EXPECT_EQ(r.rfind("Chain 08B  (1/2\")  ISO 606 / DIN 8187\n", 0), 0u);
    EXPECT_TRUE(contains(r, "  d2 = 4.45   h = 11.81\n\n\nERROR: Centre distance too small: the wheels overlap "
                            "(minimum 108.7 mm).\n"));
    EXPECT_FALSE(contains(r, "Wheel 1"));
    EXPECT_FALSE(contains(r, "Note:"));
}

TEST(Report, FailedLayingShowsWheelsWithoutWrapAndTheError)
{
    DriveInput in;
    in.links = 104;
    const std::string r = report_of(solve(in));
    EXPECT_TRUE(contains(r, "Wheel 1 (driving)\n"));
    EXPECT_TRUE(contains(r, "Idler\n  z = 15"));
    EXPECT_FALSE(contains(r, "wrap"));
    EXPECT_TRUE(contains(r, "  tooth width bf1 = 7.21\n\nRatio i = Z2 / Z1 = 2.0000\nLinks without idler (ISO): 104.43\n"
                            "\nERROR: Chain too short: at least 104.44 links needed.\n"));
    EXPECT_FALSE(contains(r, "Chosen number of links"));
    // The report ends with the error block when there are no notes.
    EXPECT_EQ(r.substr(r.size() - 8), "needed.\n");
}

TEST(Report, BoreNotesAboveEightTenthsOfTheRoot)
{
    Solved s = solve({});
    const double df1 = s.solution.wheel1_geometry.root_diameter;
    const double df2 = s.solution.wheel2_geometry.root_diameter;
    const double dfi = s.solution.idler_geometry.root_diameter;

    s.options.bore1 = 0.8 * df1;
    s.options.bore2 = 0.8 * df2;
    s.options.idler_bore = 0.8 * dfi;
    EXPECT_FALSE(contains(report_of(s), "Note:"));

    s.options.bore1 = std::nextafter(0.8 * df1, 1e9);
    s.options.idler_bore = 45.0;
    EXPECT_EQ(report_of(s).substr(report_of(s).find("\nNote:")),
              "\nNote:\nBore of Z1 is too large for the wheel.\nBore of the idler is too large for the wheel.\n");

    s.options.bore1 = -100.0;
    s.options.idler_bore = 0.0;
    s.options.bore2 = df2;
    EXPECT_EQ(report_of(s).substr(report_of(s).find("\nNote:")), "\nNote:\nBore of Z2 is too large for the wheel.\n");
    s.options.bore1 = 1e-300;
    s.options.idler_bore = smallest_bore;  // the smallest taken
    s.options.bore2 = 0.0;
    EXPECT_EQ(report_of(s).substr(report_of(s).find("\nNote:")),
              "\nNote:\nBore of Z1 is too small to be cut (below 0.01 mm).\n");
}

TEST(Report, WarningsComeBeforeBoreNotes)
{
    DriveInput in;
    in.links = 105;
    DriveOptions options;
    options.bore2 = 200.0;
    const std::string r = report_of(solve(in, options));
    EXPECT_EQ(r.substr(r.find("\nNote:")),
              "\nNote:\nOdd number of links: an offset (cranked) link is needed.\n"
              "Bore of Z2 is too large for the wheel.\n");
    EXPECT_TRUE(contains(r, "Chosen number of links: 105\nChain length: 1333.5 mm\n"));
}

TEST(Report, NoCentreDistanceLineWhenNoneFits)
{
    Solved s = solve({});
    ASSERT_TRUE(contains(report_of(s), "Centre distance without idler: 510.02 mm\n"));
    s.solution.centre_distance_without_idler = 0.0;
    const std::string r = report_of(s);
    EXPECT_FALSE(contains(r, "Centre distance without idler"));
    EXPECT_TRUE(contains(r, "Chain length: 1346.2 mm\nIdler deflection: 70.54 mm\n"));
}

TEST(Report, PointedToothLine)
{
    SprocketGeometry g;
    ASSERT_EQ(build_sprocket(g, 17, 12.7, 0.9 * 12.7, 7.75, 0.0), 1);
    const std::string paragraph = format_wheel_report("Wheel 2", g, PitchCircle{}, false);
    EXPECT_TRUE(contains(paragraph, ")  pointed: "));
    EXPECT_EQ(paragraph.substr(paragraph.size() - 2), "\n\n");
    EXPECT_EQ(paragraph.rfind("Wheel 2\n  z = 17   d = ", 0), 0u);
}
