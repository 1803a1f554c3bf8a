#pragma once

#include <span>
#include <vector>

#include "core/maps/weighted_map.h"

namespace quill {

// The largest stretch a fitted map may have: every fitted system contracts, with room to spare.
inline constexpr double kFitStretch = 0.95;

// The map with the singular values of its linear part cut to at most `most`, its turns (the
// singular vectors) and offset kept: the nearest such map in the Frobenius norm. A map with a
// coefficient that is not finite becomes the map onto the square's centre.
PlaneMap clampStretch(const PlaneMap& map, double most);

// The maps with p shared in proportion to |det| (detShares), as the grid takes them.
std::vector<WeightedMap> withDetShares(std::span<const PlaneMap> maps);

}  // namespace quill
