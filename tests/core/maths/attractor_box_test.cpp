#include "core/maths/attractor_box.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "../render/picture_diff.h"
#include "chaos_game_box.h"
#include "core/base/chaos_random.h"

namespace quill {
namespace {

struct HandRow {
  std::string name;
  std::vector<PlaneMap> maps;
  Box box;
};

double sizeOf(const Box& box) { return std::max(box.xmax - box.xmin, box.ymax - box.ymin); }

TEST(AttractorBox, BoxesWorkedByHand) {
  const double third = 1.0 / 3;
  const std::vector<HandRow> rows = {
      {"Sierpinski gasket of three half maps",
       {{0.5, 0, 0, 0.5, 0, 0}, {0.5, 0, 0, 0.5, 0.5, 0}, {0.5, 0, 0, 0.5, 0.25, 0.5}},
       {0, 0, 1, 1}},
      {"middle-thirds Cantor set on a line",
       {{third, 0, 0, 0, 0, 0}, {third, 0, 0, 0, 2 * third, 0}},
       {0, 0, 1, 0}},
      // (I − A) p = t: p = (0.4, 0.8).
      {"single contraction: its fixed point", {{0.5, 0.25, 0, 0.5, 0, 0.4}}, {0.4, 0.8, 0.4, 0.8}},
      // Every side is touched along a whole edge: many pieces share the best bound.
      {"square of four half maps",
       {{0.5, 0, 0, 0.5, 0, 0},
        {0.5, 0, 0, 0.5, 0.5, 0},
        {0.5, 0, 0, 0.5, 0, 0.5},
        {0.5, 0, 0, 0.5, 0.5, 0.5}},
       {0, 0, 1, 1}},
      // Each map turns the square a quarter and halves it onto one of its quarters: the
      // attractor is the whole square, reached only through turned directions.
      {"quarter turns of ratio 0.5 tiling the square",
       {{0, -0.5, 0.5, 0, 0.5, 0},
        {0, -0.5, 0.5, 0, 1, 0},
        {0, -0.5, 0.5, 0, 0.5, 0.5},
        {0, -0.5, 0.5, 0, 1, 0.5}},
       {0, 0, 1, 1}},
      // x → −x/2 + 1, y → y/2 and x → x/2, y → −y/2 + 1/2: the box needs the reflections.
      {"reflections", {{-0.5, 0, 0, 0.5, 1, 0}, {0.5, 0, 0, -0.5, 0, 0.5}}, {0, 0, 1, 0.5}},
  };
  for (const HandRow& row : rows) {
    SCOPED_TRACE(row.name);
    const std::optional<Box> box = attractorBox(row.maps);
    ASSERT_TRUE(box.has_value());
    const double tolerance = 1e-9 * std::max(sizeOf(row.box), 1e-6);
    EXPECT_NEAR(box->xmin, row.box.xmin, tolerance);
    EXPECT_NEAR(box->ymin, row.box.ymin, tolerance);
    EXPECT_NEAR(box->xmax, row.box.xmax, tolerance);
    EXPECT_NEAR(box->ymax, row.box.ymax, tolerance);
  }
}

TEST(AttractorBox, NoBoxWithoutContraction) {
  const std::vector<std::pair<std::string, std::vector<PlaneMap>>> rows = {
      {"no maps", {}},
      {"one map stretches", {{0.5, 0, 0, 0.5, 0, 0}, {1.2, 0, 0, 0.5, 0, 0}}},
      {"a shear of stretch above 1 with entries below 1", {{0.7, 0.7, 0, 0.7, 0, 0}}},
      {"an isometry", {{0, -1, 1, 0, 0, 0}}},
      {"not a number", {{0.5, 0, 0, 0.5, std::nan(""), 0}}},
  };
  for (const auto& [name, maps] : rows) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(attractorBox(maps).has_value());
  }
  EXPECT_DOUBLE_EQ(largestStretch({0.7, 0.7, 0, 0.7, 0, 0}), 0.35 * (1 + std::sqrt(5.0)));
  EXPECT_DOUBLE_EQ(largestStretch({2, 0, 0, 0.5, 7, 7}), 2);
}

// Every point of two long chaos games lies in the box, and together they come close to each
// side: one weighs the maps by p (the fern's tips need long runs of its likely map), the other
// by at least 0.25 each (the trees' stems need long runs of a rare one).
void checkAgainstChaosGame(const std::vector<WeightedMap>& rows, double reachTolerance) {
  std::vector<PlaneMap> maps;
  // The files' e and f are already fractions of the square.
  for (const WeightedMap& r : rows) maps.push_back(r.map);
  const std::optional<BoxBounds> bounds = rescaledAttractorBoxBounds(maps);
  ASSERT_TRUE(bounds.has_value());
  const Box& box = bounds->outer;
  const double size = sizeOf(box);
  ASSERT_GT(size, 0);
  std::vector<double> p;
  for (const WeightedMap& r : rows) p.push_back(r.p);
  // The slack covers the game's own rounding.
  const auto [reached, outside] = testing::playTwoGames(maps, p, box, 1e-12 * size, 0, 0);
  EXPECT_EQ(outside, 0);
  EXPECT_NEAR(reached.xmin, box.xmin, reachTolerance * size);
  EXPECT_NEAR(reached.ymin, box.ymin, reachTolerance * size);
  EXPECT_NEAR(reached.xmax, box.xmax, reachTolerance * size);
  EXPECT_NEAR(reached.ymax, box.ymax, reachTolerance * size);
  // The smallest box lies between the two: the answer is exact to the tolerance.
  const Box& inner = bounds->inner;
  EXPECT_LE(box.xmax - inner.xmax, 1e-9 * size);
  EXPECT_LE(inner.xmin - box.xmin, 1e-9 * size);
  EXPECT_LE(box.ymax - inner.ymax, 1e-9 * size);
  EXPECT_LE(inner.ymin - box.ymin, 1e-9 * size);
}

// Cantor Maze's quarter turns keep one side of the square: not contractions, so no box from
// attractorBox; with y rescaled they contract, and the presets are checked that way.
TEST(AttractorBox, PresetsAgainstChaosGame) {
  for (int pattern = 0; pattern < 11; ++pattern) {
    SCOPED_TRACE(kPatterns[std::size_t(pattern)].menuCaption.toStdString());
    const std::vector<WeightedMap> rows = testing::presetRows(pattern);
    ASSERT_FALSE(rows.empty());
    std::vector<PlaneMap> maps;
    for (const WeightedMap& r : rows) maps.push_back(r.map);
    EXPECT_EQ(attractorBox(maps).has_value(), pattern != 3);
    checkAgainstChaosGame(rows, 2e-3);
  }
}

TEST(AttractorBox, TenMapsAgainstChaosGame) { checkAgainstChaosGame(testing::kTenMaps, 2e-3); }

// Maps of stretch 0.999 need a search far deeper than the work allowed: the answer comes back
// promptly and still holds every point.
TEST(AttractorBox, BarelyContractingMapsStillHoldTheAttractor) {
  const double r = 0.999;
  const double turn = 0.05;
  const std::vector<PlaneMap> maps = {
      {r * std::cos(turn), -r * std::sin(turn), r * std::sin(turn), r * std::cos(turn), 0.001, 0},
      {0.5, 0, 0, 0.5, 0.5, 0.5}};
  const std::optional<BoxBounds> bounds = attractorBoxBounds(maps);
  ASSERT_TRUE(bounds.has_value());
  const Box& box = bounds->outer;
  ChaosRandom random;
  double x = 0;
  double y = 0;
  int outside = 0;
  for (int n = 0; n < 1'000'000; ++n) {
    const PlaneMap& m = maps[random.nextBits() & 1];
    const double nx = m.a * x + m.b * y + m.e;
    y = m.c * x + m.d * y + m.f;
    x = nx;
    outside += n > 10000 && (x < box.xmin || x > box.xmax || y < box.ymin || y > box.ymax);
  }
  EXPECT_EQ(outside, 0);
  EXPECT_LE(bounds->inner.xmin, bounds->inner.xmax);
  EXPECT_LE(box.xmin, bounds->inner.xmin);
  EXPECT_GE(box.xmax, bounds->inner.xmax);
}

}  // namespace
}  // namespace quill
