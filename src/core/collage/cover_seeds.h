#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "core/base/chaos_random.h"
#include "core/collage/target.h"
#include "core/maps/weighted_map.h"

namespace quill {

// `count` maps (1 to 10) from a cover of the target: its cells split into `count` clusters by
// k-means from a seeded start, each cluster the image of the whole target under a map that
// matches their spreads, turned the way that keeps the image most inside the target.
std::vector<PlaneMap> seedMaps(const Target& target, int count, std::uint64_t seed);

// Each map turned (by one of 24 turns, flipped or not, about the target's centre) the way that
// keeps its image of the target most inside the target, its image's place and size kept: a map
// that a fit left in a wrong turn, which no small step mends, finds its way back.
std::vector<PlaneMap> turnMaps(const Target& target, std::span<const PlaneMap> maps);

// The maps with one of them, picked at random, turned by one of the same turns at random about
// the target's centre (its image's place kept) and moved by up to kHopMove each way: a start for
// another fit once one has settled.
inline constexpr double kHopMove = 0.03;
std::vector<PlaneMap> hopMaps(const Target& target, std::span<const PlaneMap> maps,
                              ChaosRandom& random);

}  // namespace quill
