#pragma once

#include "model/point.h"

// The enclosed area of a closed outline, positive when it runs
// counter-clockwise (the shoelace formula), and its length round.
double signed_area(const Outline& outline);
double outline_length(const Outline& outline);
