#pragma once

#include <cstdint>

#include "model/drive.h"

// Lays the chain roller by roller round wheel 1, the idler and wheel 2 for
// the idler centre as it stands, and sets the link parity and the idler's and
// wheel 2's phases. Returns the links that close the chain as a real number
// (the gap left on wheel 1 is its fraction), -1 when it cannot be laid. With
// store = 1 the rollers are stored; store = 0 is a trial that allocates nothing.
double lay_chain_rollers(DriveSolution& solution, std::int64_t store);
