#pragma once

#include <QString>

#include "core/maths/maths_report.h"

namespace quill {

// How the Maths Report words what a map does.

// Four significant digits are plenty to read a map by; -0 reads as 0.
QString reportNumber(double value);

// "(x, y)".
QString reportPoint(double x, double y);

// Whether the map contracts: "yes" for σ1 < 1; "does not contract (stretches by 1)" for σ1 = 1
// (to rounding: a turn by 0.6, 0.8 is as long as the square's side); "EXPANDS" beyond.
QString contractionWording(const MapFacts& map);

// Its fixed point "(x, y)", a line of them "line through (x, y) along (u, v)", "every point"
// (the identity), or "none".
QString fixedPointWording(const MapFacts& map);

// σ1 within this many units in the last place of 1 counts as exactly 1 in the wording.
inline constexpr double kUnitStretchUlps = 4;

}  // namespace quill
