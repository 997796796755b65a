#pragma once

#include <cstdint>

#include "model/drive.h"

// Lays the chain and solves the idler on a valid drive; never rebuilds the
// sprockets. 1 when laid, else 0 with the reason in error_text.
std::int64_t lay_chain(const DriveInput& input, DriveSolution& solution);

// Puts the idler's centre for the deflection s: its place on the slack strand,
// moved along the strand's normal.
void place_idler(const DriveInput& input, DriveSolution& solution, double deflection);

// Links that close the chain with the idler pushed in by `deflection`, or the
// laying's failure (laying_impossible, laying_too_long). store = 0 is a trial:
// nothing is allocated or stored.
double chain_links_at_deflection(const DriveInput& input, DriveSolution& solution, double deflection,
                                 std::int64_t store);

// How far the idler may be pushed against the slack strand: an outside idler
// up to the tight strand less the plate height, an inside one 2 (a + r1 + r2).
double idler_travel_limit(const DriveInput& input, const DriveSolution& solution);

// What the trial at a step of the search says, in the order it is looked at.
enum class GridStop { None, PastLimit, RunsIntoWheel, TooLong, Enough };

// The search pushes the idler in by whole quarter pitches, step k at k p / 4.
// Returns a step at which the idler is past its travel limit, the chain cannot
// be laid, or it needs at least `links` links, while it did not at the step
// before. That is the first such step wherever the links a trial counts grow
// with the deflection; where a trial's arrival on wheel 1 passes roller 0 and
// it counts a whole turn of wheel 1 more (a small wheel 1, the idler inside),
// a later one may be found than a walk step by step would find. `why`, when
// given, gets what the trial at the returned step said.
std::int64_t first_grid_step(const DriveInput& input, DriveSolution& solution, double links, double travel_limit,
                             GridStop* why = nullptr);

// Centre distance at which `links` links fit the two wheels without idler, 0 when none.
double centre_distance_for_links(double pitch, std::int64_t z1, std::int64_t z2, std::int64_t links);

// The smallest even count not below `links` (less a tolerance of 1e-6).
std::int64_t round_up_links_even(double links);
