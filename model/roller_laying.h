#pragma once

#include <cstdint>

#include "model/drive.h"

// The most rollers one laying places after roller 0; a longer chain is refused
// rather than laid for minutes and drawn in hundreds of megabytes.
inline constexpr std::int64_t roller_guard = 20000;

// What lay_chain_rollers returns when the chain cannot be laid round the wheels
// (a tangent or an arrival does not exist, or a wheel would take more rollers
// than it has teeth), and when it would need more rollers than roller_guard.
inline constexpr double laying_impossible = -1.0;
inline constexpr double laying_too_long = -2.0;

// Lays the chain roller by roller round wheel 1, the idler and wheel 2 for
// the idler centre as it stands, and sets the link parity and the idler's and
// wheel 2's phases. Returns the links that close the chain as a real number
// (the gap left on wheel 1 is its fraction), or one of the two failures above. With
// store = 1 the rollers are stored; store = 0 is a trial that allocates nothing.
double lay_chain_rollers(DriveSolution& solution, std::int64_t store);
