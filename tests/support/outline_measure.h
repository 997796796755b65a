#pragma once

#include "model/outline.h"
#include "model/point.h"

// The enclosed area of a closed outline, positive when it runs
// counter-clockwise (the shoelace formula); its length is the model's
// outline_length.
double signed_area(const Outline& outline);
