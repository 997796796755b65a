#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "model/chain_size.h"
#include "model/drive.h"
#include "model/lay_chain.h"

namespace {

constexpr double pi = 3.141592653589793;

double gap(const Point2D& a, const Point2D& b) { return std::hypot(b.x - a.x, b.y - a.y); }

// Which pitch circle a roller sits on: 0, 1, 2 by slot, or -1 on a strand.
int circle_of(const DriveSolution& s, const Point2D& r)
{
    for (int k = 0; k < 3; ++k) {
        const PitchCircle& c = s.circles[static_cast<std::size_t>(k)];
        if (std::fabs(std::hypot(r.x - c.x, r.y - c.y) - c.radius) < 1e-9 * std::max(1.0, c.radius)) return k;
    }
    return -1;
}

// How far a roller on circle c is from the nearest seat of its phase, in radians.
double seat_error(const PitchCircle& c, const Point2D& r)
{
    const double step = 2 * pi / static_cast<double>(c.teeth);
    const double a = std::atan2(r.y - c.y, r.x - c.x) - c.phase;
    return std::fabs(a - step * std::round(a / step));
}

// The rollers as runs of (circle, count) in chain order.
std::vector<std::pair<int, int>> runs(const DriveSolution& s)
{
    std::vector<std::pair<int, int>> out;
    for (const Point2D& r : s.rollers) {
        const int k = circle_of(s, r);
        if (!out.empty() && out.back().first == k)
            ++out.back().second;
        else
            out.push_back({k, 1});
    }
    return out;
}

DriveSolution solved(const DriveInput& in)
{
    DriveSolution s;
    compute_drive(in, s);
    return s;
}

}  // namespace

TEST(LayChain, DefaultDrive)
{
    DriveInput in;
    DriveSolution s = solved(in);
    ASSERT_EQ(s.laid, 1) << s.error_text;
    EXPECT_EQ(s.chosen_links, 106);
    EXPECT_GT(s.tight_links, 104.0);
    EXPECT_LT(s.tight_links, 105.0);
    EXPECT_EQ(s.rollers.size(), 106u);
    EXPECT_EQ(s.link_parity, 0);
    EXPECT_LT(s.closure_deviation, 1e-9);
    EXPECT_EQ(s.warning_text, "");
    EXPECT_EQ(s.error_text, "");
    // The coarse search stopped at its 23rd quarter pitch.
    EXPECT_GT(s.idler_deflection, 22 * 12.7 / 4);
    EXPECT_LT(s.idler_deflection, 23 * 12.7 / 4);
    // Both sprockets wrap well over 120 degrees.
    EXPECT_GT(s.circles[Wheel1].wrap, 120 * pi / 180);
    EXPECT_GT(s.circles[Wheel2].wrap, 120 * pi / 180);
    // The idler sits below the slack strand's line, pushed in by the deflection.
    const Point2D m = {(s.slack_start.x + s.slack_end.x) / 2, (s.slack_start.y + s.slack_end.y) / 2};
    const PitchCircle& idler = s.circles[Idler];
    const double depth = (idler.x - m.x) * s.strand_normal.x + (idler.y - m.y) * s.strand_normal.y;
    EXPECT_NEAR(depth, s.idler_deflection - idler.radius, 1e-9);
}

TEST(LayChain, DefaultDriveRollerByRoller)
{
    DriveSolution s = solved({});
    ASSERT_EQ(s.laid, 1);
    // Roller 0 on seat -4 of wheel 1.
    const double theta0 = -4 * 2 * pi / 17;
    const double r1 = s.circles[Wheel1].radius;
    EXPECT_NEAR(s.rollers[0].x, r1 * std::cos(theta0), 1e-9);
    EXPECT_NEAR(s.rollers[0].y, r1 * std::sin(theta0), 1e-9);
    // Wheel 1, 19 on the strand, idler arrival + 1, 17 on the strand, wheel 2
    // arrival + 19, 39 on the tight strand, wheel 1 arrival + 7 closing rollers.
    const std::vector<std::pair<int, int>> expected = {{Wheel1, 1}, {-1, 19}, {Idler, 2}, {-1, 17},
                                                       {Wheel2, 20}, {-1, 39}, {Wheel1, 8}};
    EXPECT_EQ(runs(s), expected);
    for (std::size_t i = 0; i < s.rollers.size(); ++i)
        EXPECT_NEAR(gap(s.rollers[i], s.rollers[(i + 1) % s.rollers.size()]), 12.7, 1e-9) << i;
}

TEST(LayChain, RotationOfWheel1)
{
    for (double rotation : {0.1, 0.2}) {
        DriveInput in;
        in.rotation = rotation;
        DriveSolution s = solved(in);
        ASSERT_EQ(s.laid, 1);
        EXPECT_EQ(s.rollers.size(), 106u);
        EXPECT_EQ(s.link_parity, 0);
        const double theta0 = rotation - 4 * 2 * pi / 17;
        EXPECT_NEAR(std::atan2(s.rollers[0].y, s.rollers[0].x), theta0, 1e-9) << rotation;
        EXPECT_NEAR(s.circles[Wheel1].phase, rotation, 0.0);
    }
    // One full turn of an odd wheel moves the links by an odd number of seats:
    // the same rollers, inner and outer links swapped.
    DriveInput in;
    in.rotation = 0.3;
    const DriveSolution a = solved(in);
    in.rotation = 0.3 + 2 * pi;
    const DriveSolution b = solved(in);
    in.rotation = 0.3 + 4 * pi;
    const DriveSolution c = solved(in);
    ASSERT_EQ(a.laid + b.laid + c.laid, 3);
    EXPECT_NE(a.link_parity, b.link_parity);
    EXPECT_EQ(a.link_parity, c.link_parity);
    ASSERT_EQ(a.rollers.size(), b.rollers.size());
    for (std::size_t i = 0; i < a.rollers.size(); ++i) EXPECT_LT(gap(a.rollers[i], b.rollers[i]), 1e-6);
}

TEST(LayChain, ChosenLinkCounts)
{
    DriveInput in;
    in.links = 105;
    DriveSolution odd = solved(in);
    ASSERT_EQ(odd.laid, 1);
    EXPECT_EQ(odd.rollers.size(), 105u);
    EXPECT_EQ(odd.warning_text, "Odd number of links: an offset (cranked) link is needed.\n");
    EXPECT_LT(odd.idler_deflection, solved({}).idler_deflection);

    in.links = 104;
    DriveSolution short_chain = solved(in);
    EXPECT_EQ(short_chain.laid, 0);
    EXPECT_EQ(short_chain.valid, 1);
    EXPECT_EQ(short_chain.error_text, "Chain too short: at least 104.44 links needed.");

    for (std::int64_t n : {107, 120}) {
        in.links = n;
        DriveSolution s = solved(in);
        EXPECT_EQ(s.laid, 0);
        EXPECT_EQ(s.error_text, "The idler cannot take up that much slack: fewer links or a larger centre distance.");
    }

    // A negative count is automatic, as 0 is.
    in.links = -3;
    EXPECT_EQ(solved(in).chosen_links, 106);
}

TEST(LayChain, LinksEqualToTheTightCountNeedNoDeflection)
{
    // Find a centre distance at which the tight chain is exactly 106 links.
    DriveInput in;
    double lo = 500.0, hi = 540.0;
    for (int i = 0; i < 80; ++i) {
        in.centre_distance = (lo + hi) / 2;
        (solved(in).tight_links < 106.0 ? lo : hi) = in.centre_distance;
    }
    in.centre_distance = lo;
    in.links = 106;
    DriveSolution s = solved(in);
    ASSERT_NEAR(s.tight_links, 106.0, 1e-6);
    ASSERT_EQ(s.laid, 1) << s.error_text;
    EXPECT_EQ(s.idler_deflection, 0.0);
    EXPECT_EQ(s.rollers.size(), 106u);
}

TEST(LayChain, IdlerPositionAndSide)
{
    for (double position : {0.1, 0.9}) {
        DriveInput in;
        in.idler_position = position;
        DriveSolution s = solved(in);
        EXPECT_EQ(s.laid, 0);
        EXPECT_EQ(s.error_text, "The idler runs into a wheel: fewer links or move the idler.");
    }

    DriveInput inside;
    inside.idler_outside = 0;
    DriveSolution s = solved(inside);
    ASSERT_EQ(s.laid, 1) << s.error_text;
    EXPECT_EQ(s.chosen_links, 106);
    EXPECT_EQ(s.circles[Idler].sense, 1);
    EXPECT_GT(s.circles[Wheel1].wrap, 120 * pi / 180);
    EXPECT_GT(s.circles[Wheel2].wrap, 120 * pi / 180);
    // Inside, the idler pushes the strand out of the loop: its centre lies
    // inside the loop, above the strand's line.
    const PitchCircle& idler = s.circles[Idler];
    const double side = (idler.x - s.slack_start.x) * s.strand_normal.x + (idler.y - s.slack_start.y) * s.strand_normal.y;
    EXPECT_NEAR(side, idler.radius - s.idler_deflection, 1e-9);
}

// Where the count of links jumps as the idler is pushed out, or the chain is
// longer than the laying's limit, the user reads what to change.
TEST(LayChain, DrivesThatCannotCloseSayWhy)
{
    struct Case {
        DriveInput in;
        const char* error;
    };
    const char* barely = "The chain barely wraps wheel 1: fewer links, a larger centre distance or the idler further "
                         "from wheel 1.";
    const char* too_long = "The chain would be longer than the program lays (at most 20000 rollers).";
    auto inside = [](int size, int z1, int z2, int idler, double a, double position) {
        return DriveInput{.size_index = size, .z1 = z1, .z2 = z2, .idler_teeth = idler, .centre_distance = a,
                          .idler_position = position, .idler_outside = 0};
    };
    const Case cases[] = {
        {inside(8, 7, 108, 8, 1325.218, 0.067), barely},  // was laid with a gap of 16 mm
        {inside(9, 6, 91, 10, 947.724, 0.092), barely},
        {inside(2, 6, 63, 19, 162.185, 0.747), barely},
        {inside(0, 250, 250, 250, 79500.0, 0.5), too_long},  // in the search for the deflection
        {inside(0, 250, 250, 250, 80000.0, 0.5), too_long},  // already without deflection
        {DriveInput{.centre_distance = 1e9}, too_long},
    };
    for (const Case& c : cases) {
        const DriveSolution s = solved(c.in);
        EXPECT_EQ(s.laid, 0) << c.in.centre_distance;
        EXPECT_EQ(s.error_text, c.error) << c.in.centre_distance;
    }
    // What the first one advises does lay it: the idler further from wheel 1.
    DriveInput further = cases[0].in;
    further.idler_position = 0.15;
    EXPECT_EQ(solved(further).laid, 1);
}

TEST(LayChain, ShortCentreDistanceWarns)
{
    DriveInput in;
    in.centre_distance = 350.0;
    DriveSolution s = solved(in);
    ASSERT_EQ(s.laid, 1) << s.error_text;
    EXPECT_EQ(s.chosen_links, 82);
    EXPECT_EQ(s.warning_text, "Recommended centre distance: 30 to 50 x the pitch (381 - 635 mm).\n");
    // Up to 80 pitches there is no such warning.
    in.centre_distance = 80 * 12.7;
    EXPECT_EQ(solved(in).warning_text, "");
}

TEST(LayChain, PlaceIdlerClampsThePosition)
{
    DriveInput in;
    DriveSolution s = solved(in);
    ASSERT_EQ(s.laid, 1);
    const double r = s.circles[Idler].radius;
    in.idler_position = -0.5;
    place_idler(in, s, 0.0);
    EXPECT_NEAR(s.circles[Idler].x, s.slack_start.x - s.strand_normal.x * r, 1e-9);
    EXPECT_NEAR(s.circles[Idler].y, s.slack_start.y - s.strand_normal.y * r, 1e-9);
    in.idler_position = 1.5;
    place_idler(in, s, 2.0);
    EXPECT_NEAR(s.circles[Idler].x, s.slack_end.x + s.strand_normal.x * (2.0 - r), 1e-9);
    EXPECT_NEAR(s.circles[Idler].y, s.slack_end.y + s.strand_normal.y * (2.0 - r), 1e-9);
}

TEST(LayChain, RecoversWithoutARecalculation)
{
    DriveInput in;
    DriveSolution s = solved(in);
    ASSERT_EQ(s.laid, 1);
    in.idler_position = 0.1;
    EXPECT_EQ(lay_chain(in, s), 0);
    EXPECT_EQ(s.laid, 0);
    EXPECT_TRUE(s.rollers.empty());
    EXPECT_EQ(s.valid, 1);
    in.idler_position = 0.5;
    EXPECT_EQ(lay_chain(in, s), 1);
    EXPECT_EQ(s.rollers.size(), 106u);
    EXPECT_EQ(s.error_text, "");

    DriveSolution invalid;
    EXPECT_EQ(lay_chain(in, invalid), 0);
    EXPECT_EQ(invalid.error_text, "No valid input.");
}

TEST(LayChain, TrialLeavesTheRollersAlone)
{
    DriveInput in;
    DriveSolution s = solved(in);
    ASSERT_EQ(s.laid, 1);
    const Outline before = s.rollers;
    EXPECT_GT(chain_links_at_deflection(in, s, 30.0, 0), 100.0);
    // Near wheel 1 the idler soon runs into it and the trial fails.
    in.idler_position = 0.1;
    double links = 0.0;
    for (double deflection = 0.0; deflection < 200.0 && links >= 0.0; deflection += 1.0)
        links = chain_links_at_deflection(in, s, deflection, 0);
    EXPECT_LT(links, 0.0);
    ASSERT_EQ(s.rollers.size(), before.size());
    for (std::size_t i = 0; i < before.size(); ++i) EXPECT_EQ(s.rollers[i].x, before[i].x);
}

// Whatever drive the user enters: a laid chain is a real chain.
TEST(LayChain, EveryLaidChainIsClosedAndSeated)
{
    load_chain_size_table();
    std::mt19937 random(20261208);
    int laid = 0;
    const int drives = 400;
    for (int i = 0; i < drives; ++i) {
        DriveInput in;
        in.size_index = std::uniform_int_distribution<int>(0, 9)(random);
        in.z1 = std::uniform_int_distribution<int>(6, 120)(random);
        in.z2 = std::uniform_int_distribution<int>(6, 120)(random);
        in.idler_teeth = std::uniform_int_distribution<int>(6, 40)(random);
        const double p = chain_sizes[static_cast<std::size_t>(in.size_index)].pitch;
        in.centre_distance = std::uniform_real_distribution<double>(30 * p, 80 * p)(random);
        in.idler_position = std::uniform_real_distribution<double>(0.2, 0.8)(random);
        in.idler_outside = std::uniform_int_distribution<int>(0, 1)(random);
        in.rotation = std::uniform_real_distribution<double>(0, 4 * pi)(random);
        if (std::uniform_int_distribution<int>(0, 3)(random) == 0) in.links = 0;
        DriveSolution s = solved(in);
        if (!s.laid) continue;
        ++laid;
        const std::string drive = "drive " + std::to_string(i);
        ASSERT_EQ(s.rollers.size(), static_cast<std::size_t>(s.chosen_links)) << drive;
        if (in.links == 0) {
            EXPECT_EQ(s.chosen_links % 2, 0) << drive;
        }
        double deviation = 0;
        std::array<int, 3> on_circle = {0, 0, 0};
        for (std::size_t k = 0; k < s.rollers.size(); ++k) {
            const double d = gap(s.rollers[k], s.rollers[(k + 1) % s.rollers.size()]);
            ASSERT_NEAR(d, p, 1e-6) << drive << " roller " << k;
            deviation = std::max(deviation, std::fabs(d - p));
            const int c = circle_of(s, s.rollers[k]);
            if (c >= 0) {
                ++on_circle[static_cast<std::size_t>(c)];
                ASSERT_LT(seat_error(s.circles[static_cast<std::size_t>(c)], s.rollers[k]), 1e-6)
                    << drive << " roller " << k;
            }
        }
        EXPECT_NEAR(s.closure_deviation, deviation, 1e-12) << drive;
        EXPECT_GE(on_circle[Wheel1], 1) << drive;
        EXPECT_GE(on_circle[Idler], 1) << drive;
        EXPECT_GE(on_circle[Wheel2], 1) << drive;
        EXPECT_GE(s.circles[Wheel1].wrap, 0.0);
        EXPECT_LT(s.circles[Wheel1].wrap, 2 * pi);
    }
    // The sweep must exercise the laying, not only its refusals.
    EXPECT_GT(laid, drives / 3);
}

// The search for the deflection, done the long way: the idler pushed in one
// quarter pitch at a time until it is past its travel limit, the chain cannot
// be laid, or it is long enough; then 60 halvings of the last step.
struct WalkedSearch {
    std::int64_t step = 0;
    int stop = 0;  // 1 past the limit, 2 into a wheel, 3 long enough
    Outline rollers;
    bool closed = false;  // exactly the chosen links, each one pitch long
};

// With `step` given, the walk is skipped and the rest is done from that step.
WalkedSearch walk_the_grid(const DriveInput& in, DriveSolution s, double links, std::int64_t step = 0)
{
    WalkedSearch w;
    w.step = step;
    w.stop = 3;
    const double limit = idler_travel_limit(in, s);
    const double q = s.pitch / 4.0;
    for (w.step = std::max<std::int64_t>(step, 1); step == 0; ++w.step) {
        const double d = static_cast<double>(w.step) * q;
        const double laid = d > limit ? 0.0 : chain_links_at_deflection(in, s, d, 0);
        w.stop = d > limit ? 1 : laid < 0.0 ? 2 : laid >= links ? 3 : 0;
        if (w.stop != 0) break;
    }
    if (w.stop != 3) return w;
    double lo = static_cast<double>(w.step - 1) * q;
    double hi = static_cast<double>(w.step) * q;
    for (int i = 0; i < 60; ++i) {
        const double mid = (lo + hi) / 2.0;
        (chain_links_at_deflection(in, s, mid, 0) >= links ? hi : lo) = mid;
    }
    chain_links_at_deflection(in, s, (lo + hi) / 2.0, 1);
    w.rollers = s.rollers;
    w.closed = w.rollers.size() == static_cast<std::size_t>(links);
    for (std::size_t k = 0; w.closed && k < w.rollers.size(); ++k)
        w.closed = std::fabs(gap(w.rollers[k], w.rollers[(k + 1) % w.rollers.size()]) - s.pitch) < 1e-9;
    return w;
}

// The search brackets the deflection by doubling and halving over the same
// grid: on drives of every chain size it must find the same step and lay the
// very same rollers as the walk, or fail for the same reason. The second half
// of the drives has a small wheel 1 and the idler inside, where the count can
// jump by a turn of wheel 1 and the search may stop at a later step than the
// walk: from the search's step, a chain that closes is laid all the same, one
// that cannot close is refused in words.
TEST(LayChain, TheSearchFindsWhatTheWalkFinds)
{
    std::mt19937 random(20261208);
    auto uniform = [&random](double a, double b) { return std::uniform_real_distribution<double>(a, b)(random); };
    auto whole = [&random](int a, int b) { return std::uniform_int_distribution<int>(a, b)(random); };
    load_chain_size_table();
    int searched = 0;
    int stops[4] = {0, 0, 0, 0};
    int refused = 0;
    for (int trial = 0; trial < 800; ++trial) {
        const bool small_wheel = trial >= 400;
        const int size = whole(0, 9);  // a braced list draws in order
        DriveInput in{.size_index = size, .z1 = small_wheel ? whole(6, 11) : whole(9, 120),
                      .z2 = whole(small_wheel ? 40 : 9, 120), .idler_teeth = whole(9, 40),
                      .centre_distance = chain_sizes[static_cast<std::size_t>(size)].pitch *
                                         (small_wheel ? uniform(8.0, 40.0) : uniform(15.0, 150.0)),
                      .idler_position = uniform(0.05, 0.95), .idler_outside = small_wheel ? 0 : whole(0, 1)};
        DriveSolution s;
        compute_drive(in, s);
        if (!s.valid) continue;
        const double tight = chain_links_at_deflection(in, s, 0.0, 0);
        if (tight < 0.0) continue;
        in.links = whole(0, 1) == 0 ? 0 : round_up_links_even(tight) + whole(0, 80);
        compute_drive(in, s);
        const double n = static_cast<double>(in.links > 0 ? in.links : round_up_links_even(tight));
        if (!(tight + 1e-9 < n)) continue;

        DriveSolution fresh = s;
        GridStop why = GridStop::None;
        const std::int64_t step = first_grid_step(in, fresh, n, idler_travel_limit(in, fresh), &why);
        if (small_wheel && why != GridStop::Enough) continue;
        const WalkedSearch walked = walk_the_grid(in, s, n, small_wheel ? step : 0);
        EXPECT_EQ(step, walked.step) << trial;
        ++searched;
        ++stops[walked.stop];
        if (walked.stop == 3 && !walked.closed) {
            ++refused;
            EXPECT_TRUE(s.laid || s.error_text.starts_with("The chain barely wraps wheel 1:") ||
                        s.error_text.starts_with("The idler runs into a wheel:"))
                << trial << ": " << s.error_text;
            if (!s.laid) continue;
        }
        if (walked.stop == 3) {
            ASSERT_EQ(s.laid, 1) << trial << ": " << s.error_text;
            ASSERT_TRUE(std::equal(s.rollers.begin(), s.rollers.end(), walked.rollers.begin(), walked.rollers.end(),
                                   [](Point2D a, Point2D b) { return a.x == b.x && a.y == b.y; }))
                << trial;
        } else {
            EXPECT_EQ(s.laid, 0) << trial;
        }
    }
    // The sweep met every way the search can end.
    EXPECT_GT(searched, 150);
    EXPECT_GT(stops[1], 0);
    EXPECT_GT(stops[2], 0);
    EXPECT_GT(stops[3], 50);
    EXPECT_GT(refused, 5);
}
