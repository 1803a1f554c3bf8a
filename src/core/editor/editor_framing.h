#pragma once

#include <optional>
#include <span>

#include "core/maths/attractor_box.h"

namespace quill {

// What "Frame All" shows: the attractor's box (when every map contracts) together with every
// map's parallelogram, so that each handle is in view; the unit square when there are no maps.
// Points that are not finite are left out.
Box frameAllBox(std::span<const PlaneMap> maps);

// The box of the maps' parallelograms; nothing when there are none that are finite.
std::optional<Box> parallelogramsBox(std::span<const PlaneMap> maps);

// How many times wider or taller than its parallelograms' box an attractor must reach before the
// editor suggests "Fit Maps to Square".
inline constexpr double kFitHintRatio = 2;

// True when the maps' parallelograms are far smaller than their attractor (the attractor's box
// is more than kFitHintRatio times their box's size, across or up): the system is written in
// coordinates of its own, far from the unit square, and fitting it would make it editable.
bool parallelogramsFarSmallerThanAttractor(std::span<const PlaneMap> maps);

}  // namespace quill
