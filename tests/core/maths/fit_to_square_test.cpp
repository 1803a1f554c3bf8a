#include "core/maths/fit_to_square.h"

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

struct SystemRow {
  std::string name;
  std::vector<PlaneMap> maps;
  std::vector<double> p;
};

// Maps moved by the similarity x → k·R(turn)·x + t: the attractor moves the same way.
std::vector<PlaneMap> moved(const std::vector<PlaneMap>& maps, double k, double turn, double tx,
                            double ty) {
  const double c = std::cos(turn);
  const double s = std::sin(turn);
  std::vector<PlaneMap> result;
  for (const PlaneMap& m : maps) {
    // R A Rᵀ, and e' = k R e − (R A Rᵀ) t + t.
    const double a = c * (m.a * c - m.b * s) - s * (m.c * c - m.d * s);
    const double b = c * (m.a * s + m.b * c) - s * (m.c * s + m.d * c);
    const double cc = s * (m.a * c - m.b * s) + c * (m.c * c - m.d * s);
    const double d = s * (m.a * s + m.b * c) + c * (m.c * s + m.d * c);
    const double e = k * (c * m.e - s * m.f) - (a * tx + b * ty) + tx;
    const double f = k * (s * m.e + c * m.f) - (cc * tx + d * ty) + ty;
    result.push_back({a, b, cc, d, e, f});
  }
  return result;
}

std::vector<SystemRow> systemRows() {
  std::vector<SystemRow> rows;
  for (int pattern = 0; pattern < 11; ++pattern) {
    SystemRow row{kPatterns[std::size_t(pattern)].menuCaption.toStdString(), {}, {}};
    for (const WeightedMap& r : testing::presetRows(pattern)) {
      row.maps.push_back(r.map);
      row.p.push_back(r.p);
    }
    rows.push_back(row);
  }
  const std::vector<PlaneMap> gasket = {
      {0.5, 0, 0, 0.5, 0, 0}, {0.5, 0, 0, 0.5, 0.5, 0}, {0.5, 0, 0, 0.5, 0.25, 0.5}};
  rows.push_back({"fern in its usual coordinates (x −2.2 to 2.7, y 0 to 10)",
                  {{0, 0, 0, 0.16, 0, 0},
                   {0.85, 0.04, -0.04, 0.85, 0, 1.6},
                   {0.2, -0.26, 0.23, 0.22, 0, 1.6},
                   {-0.15, 0.28, 0.26, 0.24, 0, 0.44}},
                  {0.01, 0.85, 0.07, 0.07}});
  rows.push_back({"gasket scaled by 7 and moved to (−40, 12)", moved(gasket, 7, 0, -40, 12), {}});
  rows.push_back({"gasket turned by 40° and moved to (3, −2)", moved(gasket, 1, 0.7, 3, -2), {}});
  rows.push_back(
      {"turned and reflected maps far out",
       moved({{0.4, -0.3, 0.3, 0.4, 0, 0}, {-0.45, 0, 0, 0.45, 1, 0.2}}, 0.01, 2, 1e4, -5e3),
       {}});
  rows.push_back({"a segment: no height", {{0.3, 0, 0, 0, 5, 5}, {0.3, 0, 0, 0, 7, 5}}, {}});
  return rows;
}

// The box of two long chaos games of the fitted maps; the points outside the square are counted.
Box chaosGameBox(const SystemRow& row, const std::vector<PlaneMap>& maps, int& outside) {
  const std::vector<double> p = row.p.empty() ? std::vector<double>(maps.size(), 1.0) : row.p;
  const testing::GameBox game = testing::playTwoGames(maps, p, Box{0, 0, 1, 1}, 0, 0.5, 0.5);
  outside = game.outside;
  return game.reached;
}

TEST(FitToSquare, FittedAttractorFillsTheSquareCentred) {
  for (const SystemRow& row : systemRows()) {
    SCOPED_TRACE(row.name);
    ASSERT_FALSE(row.maps.empty());
    const Result<std::vector<PlaneMap>> fitted = fitToSquare(row.maps);
    ASSERT_TRUE(fitted.ok()) << fitted.message().toStdString();
    ASSERT_EQ(fitted->size(), row.maps.size());
    for (std::size_t i = 0; i < row.maps.size(); ++i) {
      const PlaneMap& m = row.maps[i];
      const PlaneMap& g = (*fitted)[i];
      EXPECT_TRUE(m.a == g.a && m.b == g.b && m.c == g.c && m.d == g.d) << "map " << i + 1;
    }
    int outside = 0;
    const Box reached = chaosGameBox(row, *fitted, outside);
    EXPECT_EQ(outside, 0);
    const double width = reached.xmax - reached.xmin;
    const double height = reached.ymax - reached.ymin;
    EXPECT_NEAR(std::max(width, height), kFittedSide, 1e-3);
    EXPECT_NEAR((reached.xmin + reached.xmax) / 2, 0.5, 1e-3);
    EXPECT_NEAR((reached.ymin + reached.ymax) / 2, 0.5, 1e-3);
  }
}

TEST(FitToSquare, RefusesMapsWithoutAnAttractor) {
  const std::vector<std::pair<std::string, std::vector<PlaneMap>>> rows = {
      {"no maps", {}},
      {"a map that stretches", {{0.5, 0, 0, 0.5, 0, 0}, {1.2, 0, 0, 0.5, 0.3, 0}}},
      {"a translation", {{1, 0, 0, 1, 0.1, 0}}},
  };
  for (const auto& [name, maps] : rows) {
    SCOPED_TRACE(name);
    const Result<std::vector<PlaneMap>> fitted = fitToSquare(maps);
    EXPECT_FALSE(fitted.ok());
    EXPECT_EQ(fitted.message(), kNoAttractorMessage);
  }
  // An attractor of one point has no size to scale: it is moved to the centre as it is.
  const Result<std::vector<PlaneMap>> point =
      fitToSquare(std::vector<PlaneMap>{{0.5, 0, 0, 0.5, 3, 4}});
  ASSERT_TRUE(point.ok());
  EXPECT_DOUBLE_EQ(point->front().e / 0.5, 0.5);
  EXPECT_DOUBLE_EQ(point->front().f / 0.5, 0.5);
}

}  // namespace
}  // namespace quill
