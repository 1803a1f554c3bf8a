#pragma once

#include <vector>

#include "core/base/result.h"
#include "core/maps/weighted_map.h"

namespace quill {

// One map of the earlier key morphing into one map of the later key (indices from 0). A map
// named in k pairs is split into k identical copies of p / k each, which leaves its key's
// attractor as it was: that is how the key with fewer maps is padded.
struct MapPair {
  int earlier = 0;
  int later = 0;
  friend bool operator==(const MapPair&, const MapPair&) = default;
};
using Matching = std::vector<MapPair>;

// Keys of up to this many maps are matched by trying every matching; larger ones greedily.
inline constexpr int kMostMapsMatchedExhaustively = 8;

// What morphing `from` into `to` changes: the distance of their six coefficients, plus a
// penalty far beyond any such distance when their determinants have opposite signs (no morph
// between them avoids a flat map).
double pairCost(const PlaneMap& from, const PlaneMap& to);

// The summed pairCost of the matching's pairs.
double matchingCost(const std::vector<WeightedMap>& earlier, const std::vector<WeightedMap>& later,
                    const Matching& matching);

// The matching of least summed cost in which every map of both keys takes part and there are as
// many pairs as the larger key has maps; sorted by earlier, then later map. Both keys need at
// least one map.
Matching matchMaps(const std::vector<WeightedMap>& earlier, const std::vector<WeightedMap>& later);

// Whether `matching` can morph a key of `earlierCount` maps into one of `laterCount`: as many pairs
// as the larger key has maps, every index in range, every map of both keys in a pair. Fails with
// a message naming the first map that is wrong.
Status checkMatching(const Matching& matching, int earlierCount, int laterCount);

}  // namespace quill
