#include "model/lay_chain.h"

#include <algorithm>
#include <cmath>

#include "model/chain_size.h"
#include "model/format.h"
#include "model/geometry.h"
#include "model/roller_laying.h"
#include "text/texts.h"

namespace {

double distance(double ax, double ay, double bx, double by) { return std::hypot(bx - ax, by - ay); }

int fail(DriveSolution& solution, std::string reason)
{
    solution.error_text = std::move(reason);
    return 0;
}

// Wrap angle of the chain on circle `slot`, from where it arrives to where it
// leaves. 0 when a tangent does not exist (an outside idler overlapping a
// wheel): the value must still be defined for the report and the checks.
double wrap_angle(const DriveSolution& solution, int slot)
{
    const PitchCircle& w = solution.circles[static_cast<std::size_t>(slot)];
    const PitchCircle& previous = solution.circles[static_cast<std::size_t>((slot + 2) % 3)];
    const PitchCircle& next = solution.circles[static_cast<std::size_t>((slot + 1) % 3)];
    Point2D p, arrive, leave, q;
    if (!outer_tangent_points(previous.x, previous.y, signed_radius(previous), w.x, w.y, signed_radius(w), p, arrive))
        return 0.0;
    if (!outer_tangent_points(w.x, w.y, signed_radius(w), next.x, next.y, signed_radius(next), leave, q)) return 0.0;
    const double a_in = std::atan2(arrive.y - w.y, arrive.x - w.x);
    const double a_out = std::atan2(leave.y - w.y, leave.x - w.x);
    return normalise_angle_0_2pi(static_cast<double>(w.sense) * (a_out - a_in));
}

// What the trial at k quarter pitches of deflection says, in the order the
// search has always looked: past the travel limit, then a chain that cannot
// be laid, then one long enough.
GridStop grid_stop(const DriveInput& input, DriveSolution& solution, std::int64_t k, double links,
                   double travel_limit)
{
    const double deflection = static_cast<double>(k) * (solution.pitch / 4.0);
    if (deflection > travel_limit) return GridStop::PastLimit;
    const double laid = chain_links_at_deflection(input, solution, deflection, 0);
    if (laid == laying_too_long) return GridStop::TooLong;
    if (laid < 0.0) return GridStop::RunsIntoWheel;
    return laid >= links ? GridStop::Enough : GridStop::None;
}

// How far an outside idler may push the strand in: the distance from its
// place on the slack strand to the tight strand, less the plate height. The
// place is taken at the position as stored, unclamped.
double outside_travel_limit(const DriveInput& input, const DriveSolution& solution, double plate_height)
{
    const PitchCircle& w1 = solution.circles[Wheel1];
    const PitchCircle& w2 = solution.circles[Wheel2];
    Point2D p2, q2;
    if (!outer_tangent_points(w2.x, w2.y, w2.radius, w1.x, w1.y, w1.radius, p2, q2)) return 0.0;
    const double t = input.idler_position;
    const double mx = solution.slack_start.x + t * (solution.slack_end.x - solution.slack_start.x);
    const double my = solution.slack_start.y + t * (solution.slack_end.y - solution.slack_start.y);
    const double vx = q2.x - p2.x;
    const double vy = q2.y - p2.y;
    const Point2D e = solution.strand_normal;
    const double den = e.x * vy - e.y * vx;
    if (std::fabs(den) <= 1e-12) return 0.0;
    return ((p2.x - mx) * vy - (p2.y - my) * vx) / den - plate_height;
}

std::string chain_too_long() { return text::fill(text::chain_too_long, {format_integer(roller_guard)}); }

// The trial counts at the two ends of the search for the deflection: `lo`
// needs too few links, `hi` enough. The search narrows onto the deflection at
// which the count first reaches the chosen links; where the count jumps there
// instead of passing through them, no deflection closes the chain.
struct SearchEnds {
    double too_few;
    double enough;
};

SearchEnds trials_at_the_ends(const DriveInput& input, DriveSolution& solution, double lo, double hi)
{
    return {chain_links_at_deflection(input, solution, lo, 0), chain_links_at_deflection(input, solution, hi, 0)};
}

// The jump met on real drives: with a small wheel 1 and the idler inside, the
// chain's arrival on wheel 1 passes roller 0 as the idler is pushed out, and
// the closing gap counts a whole turn of wheel 1 more.
bool count_jumps_a_turn_of_wheel1(const SearchEnds& ends, const DriveSolution& solution)
{
    return ends.too_few >= 0.0 &&
           ends.enough - ends.too_few >= static_cast<double>(solution.circles[Wheel1].teeth) - 1.0;
}

std::string why_not_closed(const SearchEnds& ends, const DriveSolution& solution, std::int64_t links)
{
    if (ends.too_few == laying_too_long || ends.enough == laying_too_long) return chain_too_long();
    if (ends.too_few < 0.0 || ends.enough < 0.0) return text::idler_runs_into_wheel;
    if (count_jumps_a_turn_of_wheel1(ends, solution)) return text::chain_barely_wraps_wheel1;
    return text::fill(text::chain_does_not_close_here, {format_integer(links)});
}

}  // namespace

double idler_travel_limit(const DriveInput& input, const DriveSolution& solution)
{
    if (!input.idler_outside)
        return 2.0 * (input.centre_distance + solution.circles[Wheel1].radius + solution.circles[Wheel2].radius);
    return outside_travel_limit(input, solution, chain_sizes[static_cast<std::size_t>(input.size_index)].plate_height);
}

std::int64_t first_grid_step(const DriveInput& input, DriveSolution& solution, double links, double travel_limit,
                             GridStop* why)
{
    // A long chain pushes the idler thousands of quarter pitches in, and each
    // trial lays the whole chain. The three stops switch on as the idler goes
    // further (short of a trial that counts a turn of wheel 1 too many), so a
    // step at which one has is bracketed by doubling and then found by halving.
    constexpr std::int64_t far_beyond_any_drive = std::int64_t{1} << 52;
    std::int64_t clear = 0;  // no stop at any step up to here
    std::int64_t stop = 1;
    GridStop at_stop = GridStop::None;  // what the trial at `stop` said
    while ((at_stop = grid_stop(input, solution, stop, links, travel_limit)) == GridStop::None) {
        clear = stop;
        if (stop >= far_beyond_any_drive) break;
        stop *= 2;
    }
    while (at_stop != GridStop::None && stop - clear > 1) {
        const std::int64_t mid = clear + (stop - clear) / 2;
        const GridStop at_mid = grid_stop(input, solution, mid, links, travel_limit);
        if (at_mid == GridStop::None) {
            clear = mid;
        } else {
            stop = mid;
            at_stop = at_mid;
        }
    }
    if (why != nullptr) *why = at_stop;
    return stop;
}

double centre_distance_for_links(double pitch, std::int64_t z1, std::int64_t z2, std::int64_t links)
{
    const double a = static_cast<double>(links) - static_cast<double>(z1 + z2) / 2.0;
    const double b = static_cast<double>(z2 - z1) / two_pi;
    const double d = a * a - 8.0 * b * b;
    if (a <= 0.0 || d < 0.0) return 0.0;
    return pitch / 4.0 * (a + std::sqrt(d));
}

std::int64_t round_up_links_even(double links)
{
    const double up = std::ceil(links - 1e-6);
    // A count outside any real chain must not reach the integer conversion.
    if (!(up > -1e15 && up < 1e15)) return 0;
    std::int64_t n = static_cast<std::int64_t>(up);
    if (n % 2 != 0) ++n;
    return n;
}

void place_idler(const DriveInput& input, DriveSolution& solution, double deflection)
{
    const double t = std::clamp(input.idler_position, 0.0, 1.0);
    const double mx = solution.slack_start.x + t * (solution.slack_end.x - solution.slack_start.x);
    const double my = solution.slack_start.y + t * (solution.slack_end.y - solution.slack_start.y);
    PitchCircle& idler = solution.circles[Idler];
    // Outside, the idler starts below the strand and moves into the loop;
    // inside, it starts above it and moves out.
    const double offset = input.idler_outside ? deflection - idler.radius : idler.radius - deflection;
    idler.x = mx + solution.strand_normal.x * offset;
    idler.y = my + solution.strand_normal.y * offset;
}

double chain_links_at_deflection(const DriveInput& input, DriveSolution& solution, double deflection,
                                 std::int64_t store)
{
    place_idler(input, solution, deflection);
    return lay_chain_rollers(solution, store);
}

namespace {

// The slack strand runs from wheel 1 to wheel 2 on their outer tangent; the
// idler is pushed in along its normal. 1, or 0 with the reason in error_text
// when the wheels are too close for a strand.
int find_slack_strand(DriveSolution& solution)
{
    const PitchCircle& w1 = solution.circles[Wheel1];
    const PitchCircle& w2 = solution.circles[Wheel2];
    Point2D p, q;
    const bool strand = outer_tangent_points(w1.x, w1.y, w1.radius, w2.x, w2.y, w2.radius, p, q) != 0;
    if (strand) {
        solution.slack_start = p;
        solution.slack_end = q;
    }
    const double ux = q.x - p.x;
    const double uy = q.y - p.y;
    const double u_length = std::hypot(ux, uy);
    if (!strand || u_length < 1e-9) return fail(solution, text::centre_distance_too_small);
    solution.strand_normal = {-uy / u_length, ux / u_length};
    return 1;
}

// The links of the chain tight round the wheels with the idler not pushed in,
// and the count the chain gets: the user's, else the smallest even one that
// closes. 1, or 0 with the reason in error_text when no chain or only a
// longer one can be laid.
int choose_links(const DriveInput& input, DriveSolution& solution)
{
    const double tight = chain_links_at_deflection(input, solution, 0.0, 0);
    solution.tight_links = tight;
    if (tight == laying_too_long) return fail(solution, chain_too_long());
    if (tight < 0.0) return fail(solution, text::chain_cannot_be_laid);

    const std::int64_t n = input.links > 0 ? input.links : round_up_links_even(tight);
    solution.chosen_links = n;
    solution.centre_distance_without_idler =
        centre_distance_for_links(solution.pitch, solution.circles[Wheel1].teeth, solution.circles[Wheel2].teeth, n);
    if (static_cast<double>(n) < tight - 1e-6)
        return fail(solution, text::fill(text::chain_too_short, {format_fixed(tight, 2)}));
    return 1;
}

// Where the search for the idler's deflection ended: `lo` needs too few
// links, `hi` enough, and the deflection lies between them. All three stay 0
// when the tight chain is already long enough.
struct IdlerSearch {
    double lo = 0.0;
    double hi = 0.0;
    double deflection = 0.0;
};

// Pushes the idler in until the chain is long enough: the first step of
// quarter pitches at which it is, then the last step halved 60 times. 1, or 0
// with the reason in error_text when the idler cannot take up the slack.
int search_idler_deflection(const DriveInput& input, DriveSolution& solution, IdlerSearch& search)
{
    const double wanted = static_cast<double>(solution.chosen_links);
    if (!(solution.tight_links + 1e-9 < wanted)) return 1;

    GridStop why = GridStop::None;
    const std::int64_t k = first_grid_step(input, solution, wanted, idler_travel_limit(input, solution), &why);
    switch (why) {
    case GridStop::Enough: break;
    case GridStop::RunsIntoWheel: return fail(solution, text::idler_runs_into_wheel);
    case GridStop::TooLong: return fail(solution, chain_too_long());
    default: return fail(solution, text::idler_cannot_take_up);
    }
    const double quarter_pitch = solution.pitch / 4.0;
    double lo = static_cast<double>(k - 1) * quarter_pitch;
    double hi = static_cast<double>(k) * quarter_pitch;
    for (int i = 0; i < 60; ++i) {
        const double mid = (lo + hi) / 2.0;
        if (chain_links_at_deflection(input, solution, mid, 0) >= wanted)
            hi = mid;
        else
            lo = mid;
    }
    search = {lo, hi, (lo + hi) / 2.0};
    return 1;
}

// The largest amount by which a link of the laid chain, closing link
// included, is off the pitch.
double largest_link_error(const Outline& rollers, double pitch)
{
    const std::size_t stored = rollers.size();
    double deviation = 0.0;
    for (std::size_t i = 0; i < stored; ++i) {
        const Point2D& r0 = rollers[i];
        const Point2D& r1 = rollers[(i + 1) % stored];
        deviation = std::max(deviation, std::fabs(distance(r0.x, r0.y, r1.x, r1.y) - pitch));
    }
    return deviation;
}

// Lays the chain for good at the deflection found and checks that it closes.
// 1, or 0 with the reason in error_text.
int lay_closed_chain(const DriveInput& input, DriveSolution& solution, const IdlerSearch& search)
{
    const std::int64_t n = solution.chosen_links;
    chain_links_at_deflection(input, solution, search.deflection, 1);
    solution.closure_deviation = 0.0;
    if (solution.rollers.size() != static_cast<std::size_t>(n))
        return fail(solution, why_not_closed(trials_at_the_ends(input, solution, search.lo, search.hi), solution, n));

    const double deviation = largest_link_error(solution.rollers, solution.pitch);
    solution.closure_deviation = deviation;
    // Laid across a turn of wheel 1, the chain keeps the gap of the fraction of
    // a link the search could not close, up to millimetres: not a chain to
    // show or to cut. A closed chain is exact to far below a micrometre.
    if (deviation > 1e-9 && search.hi > 0.0) {
        if (count_jumps_a_turn_of_wheel1(trials_at_the_ends(input, solution, search.lo, search.hi), solution))
            return fail(solution, text::chain_barely_wraps_wheel1);
        chain_links_at_deflection(input, solution, search.deflection, 1);  // the trials moved the idler
    }
    return 1;
}

// What is worth a warning about the laid chain, each a line of warning_text.
void add_warnings(const DriveInput& input, DriveSolution& solution)
{
    const PitchCircle& w1 = solution.circles[Wheel1];
    const PitchCircle& w2 = solution.circles[Wheel2];
    const PitchCircle& idler = solution.circles[Idler];
    const double pitch = solution.pitch;
    const double a = input.centre_distance;
    std::string& warnings = solution.warning_text;
    if (solution.chosen_links % 2 != 0) warnings += text::warn_odd_links;
    const double idler_tip = solution.idler_geometry.drawn_tip_diameter;
    if (distance(idler.x, idler.y, w1.x, w1.y) < (solution.wheel1_geometry.drawn_tip_diameter + idler_tip) / 2.0)
        warnings += text::warn_idler_touches_wheel1;
    if (distance(idler.x, idler.y, w2.x, w2.y) < (solution.wheel2_geometry.drawn_tip_diameter + idler_tip) / 2.0)
        warnings += text::warn_idler_touches_wheel2;
    if (w1.wrap * degrees_per_radian < 120.0 || w2.wrap * degrees_per_radian < 120.0)
        warnings += text::warn_wrap_below_120;
    // The advice names 30 to 50 pitches; only beyond 80 is it worth a warning.
    if (a < 30.0 * pitch || a > 80.0 * pitch)
        warnings += text::fill(text::warn_recommended_centre_distance,
                               {format_fixed(30.0 * pitch, 0), format_fixed(50.0 * pitch, 0)});
    if (solution.closure_deviation > 0.01 * pitch)
        warnings += text::fill(text::warn_chain_not_closed, {format_fixed(solution.closure_deviation, 3)});
}

}  // namespace

std::int64_t lay_chain(const DriveInput& input, DriveSolution& solution)
{
    solution.laid = 0;
    solution.warning_text.clear();
    solution.error_text.clear();
    solution.rollers.clear();

    // The animation, the slider and the drag call this without compute_drive;
    // a non-finite rotation or position must not reach the laying either.
    if (!solution.valid || !std::isfinite(input.rotation) || !std::isfinite(input.idler_position) ||
        !std::isfinite(input.centre_distance))
        return fail(solution, text::no_valid_input);

    solution.circles[Wheel1].phase = input.rotation;
    solution.circles[Idler].sense = input.idler_outside ? -1 : 1;
    if (!find_slack_strand(solution) || !choose_links(input, solution)) return 0;

    IdlerSearch search;
    if (!search_idler_deflection(input, solution, search)) return 0;
    solution.idler_deflection = search.deflection;
    if (!lay_closed_chain(input, solution, search)) return 0;

    for (int slot = 0; slot < 3; ++slot)
        solution.circles[static_cast<std::size_t>(slot)].wrap = wrap_angle(solution, slot);
    add_warnings(input, solution);

    solution.laid = 1;
    return 1;
}
