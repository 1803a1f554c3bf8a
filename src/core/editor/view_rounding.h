#pragma once

#include "core/maps/weighted_map.h"

namespace quill {

// How far a dragged value may stray from the pointer's exact value so that it reads short: half
// a screen pixel, but never more than half of 10^-4 (four decimals at the default zoom and
// farther out) and never less than half of 10^-10 (at most ten decimals however far in); the
// finest, ten decimals, for a view of no pixel size (0).
double dragTolerance(double unitsPerPixel);

// The decimal with the fewest decimals (0 to 10) within `tolerance` of `value`, as the double
// nearest it; `value` itself when it is not finite or too large to carry decimals.
double shortestDecimalWithin(double value, double tolerance);

// `exact`, a drag's result from `start`, with each coefficient the drag changed rounded to the
// shortest decimal within `tolerance`: first the corner P0 (e, f), then a to d as the way from the
// rounded P0 to where P1 and P2 should be, so a corner the drag kept stays within `tolerance`.
// Coefficients the drag left alone keep their very value.
PlaneMap roundedDrag(const PlaneMap& start, const PlaneMap& exact, double tolerance);

}  // namespace quill
