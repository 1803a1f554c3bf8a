#pragma once

#include <cstdint>
#include <optional>

#include "core/maps/map_table.h"

namespace quill {

// How many steps a segment of the chaos game drawn on its own plays before its first step, with
// the true draws of those steps, so that its orbit has forgotten where it started and holds the
// reference's point to the bit.
//
// Two orbits driven by the same maps close in: m steps move the gap between them by the product
// of the maps' linear parts, which stretches no vector by more than its largest singular value.
// With σm the largest over every product of m maps that can be chosen, w = m·q steps leave at
// most σm^q of the first gap, in exact arithmetic. Products of a few steps see a contraction
// single maps hide (a quarter turn with a shrink in one direction stretches nothing twice). The
// warm-up starts from the reference's start point, within the figure's reach, so the first gap
// is at most of the figure's size; kGapBits halvings take it 8 bits below the 52-bit spacing of
// doubles of that size. From then on a step whose rounding absorbs the gap makes the two points
// the same double, and they stay the same; kSettleSteps more give such a step room to happen
// where the coordinates are small (a map that halves towards 0 keeps the gap relative to the
// point). This only makes a match likely: the drawing compares the points bit for bit and draws
// again a segment that missed.
inline constexpr int kGapBits = 60;
inline constexpr std::int64_t kSettleSteps = 64;
// Products of up to this many maps are looked at (10^4 of them for ten maps).
inline constexpr int kLongestProduct = 4;

// The largest singular value of the matrix (a b; c d): the most it stretches a vector.
double largestSingularValue(double a, double b, double c, double d);

// The warm-up in steps for the maps that can be chosen (those with a share of [0, 1)); nothing
// when no product of up to kLongestProduct of them is sure to shrink (σm ≥ 1 or not a number),
// or they shrink so slowly that the warm-up would outrun any count.
[[nodiscard]] std::optional<std::int64_t> chaosWarmUpSteps(const MapTable& maps);

}  // namespace quill
