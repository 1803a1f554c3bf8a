#pragma once

#include <algorithm>
#include <cmath>
#include <span>
#include <vector>

#include "core/base/chaos_random.h"
#include "core/maths/attractor_box.h"

namespace quill::testing {

// What two long chaos games of a system reached: the box of their points, and how many points
// fell outside `bounds` (widened by `slack`).
struct GameBox {
  Box reached{INFINITY, INFINITY, -INFINITY, -INFINITY};
  int outside = 0;
};

// Two chaos games of 1.5·10^6 points from `start` (the first 100 points not counted): one weighs
// the maps by `p`, the other gives each map at least a quarter, since long runs of a rare map
// reach the tips (the trees' stems) and long runs of a likely one reach others (the fern's tip).
inline GameBox playTwoGames(std::span<const PlaneMap> maps, std::span<const double> p,
                            const Box& bounds, double slack, double startX, double startY) {
  ChaosRandom random;
  GameBox game;
  for (double least : {0.0, 0.25}) {
    std::vector<double> cumulative;
    double total = 0;
    for (double weight : p) cumulative.push_back(total += std::max(weight, least));
    double x = startX;
    double y = startY;
    for (int n = 0; n < 1'500'000; ++n) {
      const double r = double(random.next()) * total;
      std::size_t j = 0;
      while (j + 1 < maps.size() && r >= cumulative[j]) ++j;
      const PlaneMap& m = maps[j];
      const double nx = m.a * x + m.b * y + m.e;
      y = m.c * x + m.d * y + m.f;
      x = nx;
      if (n < 100) continue;
      game.outside += x < bounds.xmin - slack || x > bounds.xmax + slack ||
                      y < bounds.ymin - slack || y > bounds.ymax + slack;
      Box& b = game.reached;
      b = {std::min(b.xmin, x), std::min(b.ymin, y), std::max(b.xmax, x), std::max(b.ymax, y)};
    }
  }
  return game;
}

}  // namespace quill::testing
