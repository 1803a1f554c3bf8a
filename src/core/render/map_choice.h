#pragma once

#include <algorithm>
#include <array>
#include <cmath>

#include "core/maps/map_table.h"

namespace quill {

// How the chaos game picks a map from a random number r in [0, 1): map j with probability
// proportional to max(p_j, 0) among maps 1 to mapCount, so a map of probability 0 or less is
// never chosen; every map equally when none has a positive probability.
//
// Map j takes the r with bound(j − 1) < r ≤ bound(j), the bounds being the running sums of the
// weights divided by their total. A total within 2^-30 of 1 is taken as 1 — the difference
// lies far below the 2^-24 steps of r — so a table whose probabilities add up to 1 chooses by
// its plain running sums. r = 0 takes no map.
class MapChoice {
 public:
  explicit MapChoice(const MapTable& maps) : mapCount_(std::clamp(maps.mapCount, 0, kMaxMaps)) {
    std::array<double, kMapSlots> weight{};
    double total = 0;
    for (int j = 1; j <= mapCount_; ++j) {
      weight[j] = maps.mapP[j] > 0 ? maps.mapP[j] : 0.0;
      total += weight[j];
    }
    if (total == 0) {
      for (int j = 1; j <= mapCount_; ++j) weight[j] = 1;
      total = mapCount_;
    } else if (!std::isfinite(total)) {
      // Weights near the largest double overflow their sum; only their ratios matter.
      double largest = 0;
      for (int j = 1; j <= mapCount_; ++j) largest = std::max(largest, weight[j]);
      total = 0;
      for (int j = 1; j <= mapCount_; ++j) total += (weight[j] /= largest);
    }
    const bool normalised = std::abs(total - 1.0) <= 0x1p-30;
    double sum = 0;
    for (int j = 1; j <= mapCount_; ++j) {
      sum += weight[j];
      bound_[j] = normalised ? sum : sum / total;
    }
  }

  int mapCount() const { return mapCount_; }

  // The bound above map j's share of [0, 1); bound(0) is 0 and bound(mapCount) covers every r.
  double bound(int j) const { return bound_[j]; }

  // The chosen map, 1 to mapCount, or 0 when r takes none (r = 0, or no maps).
  int pick(float r) const {
    const double value = r;
    if (!(value > 0)) return 0;
    for (int j = 1; j <= mapCount_; ++j) {
      if (value <= bound_[j]) return j;
    }
    return 0;
  }

 private:
  int mapCount_;
  std::array<double, kMapSlots> bound_{};
};

}  // namespace quill
