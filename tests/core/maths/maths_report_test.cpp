#include "core/maths/maths_report.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <atomic>
#include <cmath>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

#include "../render/picture_diff.h"
#include "chaos_game_box.h"
#include "core/editor/table_maps.h"

namespace quill {
namespace {

using Point = std::array<double, 2>;

struct MapRow {
  std::string name;
  PlaneMap map;
  double det, s1, s2;
  std::optional<double> ratio, rotation;  // given exactly for the similarities
  bool flips;
  std::optional<Point> fixedPoint;
  bool expanding;
};

// Within a few units in the last place, however large or small; exactly where 0 is wanted.
void expectClose(double actual, double wanted) {
  EXPECT_NEAR(actual, wanted, 1e-15 * std::abs(wanted)) << "wanted " << wanted;
}

TEST(MathsReport, MapsWorkedByHand) {
  const double kInf = std::numeric_limits<double>::infinity();
  const double kBig = std::ldexp(1.0, 520), kBigUlp = std::ldexp(1.0, 468);
  const double golden = (std::sqrt(5.0) + 1) / 4;  // σ of the shear: √(eigenvalues of AᵀA)
  const std::vector<MapRow> rows = {
      // (I − A) x = (1, 0) with I − A = [[1, 0.5], [−0.5, 1]]: x = (0.8, 0.4).
      {"half size, quarter turn",
       {0, -0.5, 0.5, 0, 1, 0},
       0.25,
       0.5,
       0.5,
       0.5,
       90,
       false,
       Point{0.8, 0.4},
       false},
      {"half turn",
       {-0.5, 0, 0, -0.5, 0.3, 0},
       0.25,
       0.5,
       0.5,
       0.5,
       180,
       false,
       Point{0.2, 0},
       false},
      {"half turn with a negative zero",
       {-0.5, 0, -0.0, -0.5, 0, 0},
       0.25,
       0.5,
       0.5,
       0.5,
       180,
       false,
       Point{0, 0},
       false},
      {"shear",
       {0.5, 0.5, 0, 0.5, 0, 0},
       0.25,
       golden,
       golden - 0.5,
       {},
       {},
       false,
       Point{0, 0},
       false},
      {"mirror in the x axis",
       {0.5, 0, 0, -0.5, 0, 0},
       -0.25,
       0.5,
       0.5,
       0.5,
       0,
       true,
       Point{0, 0},
       false},
      // Mirror in y = x = R(90°)·diag(1, −1); (I − A) x = (0.3, 0.6) gives (0.8, 1).
      {"mirror in the diagonal",
       {0, 0.5, 0.5, 0, 0.3, 0.6},
       -0.25,
       0.5,
       0.5,
       0.5,
       90,
       true,
       Point{0.8, 1},
       false},
      // Rank one: rows (0.5, 0.25) twice, σ1 = √2·|(0.5, 0.25)|.
      {"singular",
       {0.5, 0.25, 0.5, 0.25, 0.25, 0},
       0,
       std::sqrt(0.625),
       0,
       {},
       {},
       false,
       Point{0.75, 0.5},
       false},
      {"zero: a point, no similarity",
       {0, 0, 0, 0, 0.3, 0.4},
       0,
       0,
       0,
       {},
       {},
       false,
       Point{0.3, 0.4},
       false},
      {"expanding", {1.5, 0, 0, 0.5, 0.5, 0}, 0.75, 1.5, 0.5, {}, {}, false, Point{-1, 0}, true},
      {"identity: no fixed point", {1, 0, 0, 1, 0.1, 0}, 1, 1, 1, 1, 0, false, {}, true},
      // At the ends of the doubles: the det past the largest or below the smallest, and σ1, σ2,
      // the ratio and the fixed point still right.
      {"1e300 times: det past the largest double",
       {1e300, 0, 0, 1e300, 1, 0},
       kInf,
       1e300,
       1e300,
       1e300,
       0,
       false,
       Point{1 / (1 - 1e300), 0},
       true},
      {"1e-300 times: det below the smallest double",
       {1e-300, 0, 0, 1e-300, 0.5, 0.25},
       0,
       1e-300,
       1e-300,
       1e-300,
       0,
       false,
       Point{0.5, 0.25},
       false},
      {"mirror at 1e-300: flips though the det underflows",
       {1e-300, 0, 0, -1e-300, 0, 0},
       -0.0,
       1e-300,
       1e-300,
       1e-300,
       0,
       true,
       Point{0, 0},
       false},
      {"quarter turn at 1e300",
       {0, -1e300, 1e300, 0, 0, 0},
       kInf,
       1e300,
       1e300,
       1e300,
       90,
       false,
       Point{0, 0},
       true},
      // σ2 = |det| / σ1 keeps what the halved difference of the two parts cancels to 0.
      {"1e300 one way, 1e-300 the other",
       {1e300, 0, 0, 1e-300, 0, 1},
       1e300 * 1e-300,
       1e300,
       1e-300,
       {},
       {},
       false,
       Point{0, 1 / (1 - 1e-300)},
       true},
      // (rotation + reflection) / 2 overflowed to a similarity of no ratio.
      {"1e308 one way, a half the other",
       {1e308, 0, 0, 0.5, 0, 0},
       5e307,
       1e308,
       0.5,
       {},
       {},
       false,
       Point{0, 0},
       true},
      // a·d and b·c pass the largest double; a·d − b·c = 2^989 (1 + 2^-53) does not. I − A is
      // singular to the last bit.
      {"products past the largest double that cancel",
       {kBig + kBigUlp, kBig, kBig, kBig + kBigUlp, 0, 0},
       std::ldexp(1.0, 989),
       std::ldexp(1.0, 521),
       std::ldexp(1.0, 468),
       {},
       {},
       false,
       {},
       true},
  };
  for (const MapRow& row : rows) {
    SCOPED_TRACE(row.name);
    const SystemFacts facts = analyseSystem(std::vector<WeightedMap>{{row.map, 1}});
    const MapFacts& m = facts.maps.at(0);
    EXPECT_EQ(m.index, 1);
    EXPECT_DOUBLE_EQ(m.det, row.det);
    expectClose(m.singularValues[0], row.s1);
    expectClose(m.singularValues[1], row.s2);
    EXPECT_EQ(m.similarity, row.ratio.has_value());
    EXPECT_EQ(m.ratio, row.ratio);
    // EXPECT rather than ASSERT: one failing row does not hide the rows after it.
    EXPECT_EQ(m.rotationDegrees.has_value(), row.rotation.has_value());
    if (row.rotation && m.rotationDegrees) {
      EXPECT_NEAR(*m.rotationDegrees, *row.rotation, 1e-12);
    }
    EXPECT_EQ(m.flips, row.flips);
    EXPECT_EQ(m.fixedPoint.has_value(), row.fixedPoint.has_value());
    if (row.fixedPoint && m.fixedPoint) {
      expectClose((*m.fixedPoint)[0], (*row.fixedPoint)[0]);
      expectClose((*m.fixedPoint)[1], (*row.fixedPoint)[1]);
    }
    EXPECT_EQ(m.expanding, row.expanding);
    EXPECT_EQ(facts.contracting, !row.expanding);
  }
}

std::vector<WeightedMap> sierpinski() {
  return {
      {{0.5, 0, 0, 0.5, 0, 0}, 1}, {{0.5, 0, 0, 0.5, 0.5, 0}, 1}, {{0.5, 0, 0, 0.5, 0.25, 0.5}, 1}};
}

// The Koch curve from (0, 0) to (1, 0): four thirds, the middle two turned by ±60°.
std::vector<WeightedMap> koch() {
  const double t = 1.0 / 3, c = 1.0 / 6, s = std::sqrt(3.0) / 6;
  return {{{t, 0, 0, t, 0, 0}, 1},
          {{c, -s, s, c, t, 0}, 1},
          {{c, s, -s, c, 0.5, s}, 1},
          {{t, 0, 0, t, 2 * t, 0}, 1}};
}

TEST(MathsReport, SimilarityDimensions) {
  // Ratios 1/2 and 1/4: with x = 2^-D, x + x² = 1, so x = (√5 − 1) / 2.
  const double unequal = -std::log2((std::sqrt(5.0) - 1) / 2);
  const struct {
    std::string name;
    std::vector<WeightedMap> maps;
    std::optional<double> dimension;
  } rows[] = {
      {"Sierpinski gasket", sierpinski(), std::log(3.0) / std::log(2.0)},
      {"Koch curve", koch(), std::log(4.0) / std::log(3.0)},
      {"ratios 1/2 and 1/4, one turned and one flipped",
       {{{0, -0.5, 0.5, 0, 0, 0}, 1}, {{0.25, 0, 0, -0.25, 1, 0}, 1}},
       unequal},
      {"one map: a point", {{{0.5, 0, 0, 0.5, 1, 1}, 1}}, 0},
      {"a shear among similarities",
       {{{0.5, 0, 0, 0.5, 0, 0}, 1}, {{0.5, 0.1, 0, 0.5, 0, 0}, 1}},
       {}},
      {"an expanding similarity", {{{0.5, 0, 0, 0.5, 0, 0}, 1}, {{2, 0, 0, 2, 0, 0}, 1}}, {}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const SystemFacts facts = analyseSystem(row.maps);
    ASSERT_EQ(facts.similarityDimension.has_value(), row.dimension.has_value());
    if (row.dimension) {
      EXPECT_NEAR(*facts.similarityDimension, *row.dimension, 1e-14);
    }
  }
}

TEST(MathsReport, DetSharesCountEveryMapAtLeastOneHundredth) {
  const std::vector<WeightedMap> maps = {
      {{0.5, 0, 0, 0.5, 0, 0}, 1}, {{0, 0, 0, 0, 0, 0}, 1}, {{-0.5, 0, 0, 0.5, 0, 0}, 1}};
  const SystemFacts facts = analyseSystem(maps);
  EXPECT_DOUBLE_EQ(facts.maps[0].detShare, 0.25 / 0.51);
  EXPECT_DOUBLE_EQ(facts.maps[1].detShare, 0.01 / 0.51);
  EXPECT_DOUBLE_EQ(facts.maps[2].detShare, 0.25 / 0.51);
  // Shared out as the p column would be, even where the dets' sum passes the largest double.
  const SystemFacts huge = analyseSystem(
      std::vector<WeightedMap>{{{1e200, 0, 0, 1e108, 0, 0}, 1}, {{0, 1e200, 1e108, 0, 0, 0}, 1}});
  EXPECT_EQ(huge.maps[0].detShare, 0.5);
  EXPECT_EQ(huge.maps[1].detShare, 0.5);
}

// The presets as the grid reads them, through weightedMaps: every point of two long chaos
// games lies in the report's box, and they come near each side.
TEST(MathsReport, PresetBoxesAgainstChaosGames) {
  for (int pattern = 0; pattern < 11; ++pattern) {
    SCOPED_TRACE(kPatterns[std::size_t(pattern)].menuCaption.toStdString());
    const std::vector<WeightedMap> rows = testing::presetRows(pattern);
    const std::vector<WeightedMap> maps = weightedMaps(testing::drawingState(rows, 1).maps);
    ASSERT_EQ(maps.size(), rows.size());
    std::vector<PlaneMap> planeMaps;
    std::vector<double> p;
    for (const WeightedMap& m : maps) {
      planeMaps.push_back(m.map);
      p.push_back(m.p);
    }
    EXPECT_EQ(p.back(), rows.back().p);
    const std::optional<Box> box = analyseSystem(maps).boundingBox;
    ASSERT_TRUE(box.has_value());
    const double size = std::max(box->xmax - box->xmin, box->ymax - box->ymin);
    const auto [reached, outside] = testing::playTwoGames(planeMaps, p, *box, 1e-12 * size, 0, 0);
    EXPECT_EQ(outside, 0);
    EXPECT_NEAR(reached.xmin, box->xmin, 2e-3 * size);
    EXPECT_NEAR(reached.ymin, box->ymin, 2e-3 * size);
    EXPECT_NEAR(reached.xmax, box->xmax, 2e-3 * size);
    EXPECT_NEAR(reached.ymax, box->ymax, 2e-3 * size);
  }
}

class BoxCountingOf : public ::testing::TestWithParam<int> {};

TEST_P(BoxCountingOf, ComesWithinThreeHundredthsOfTheSimilarityDimension) {
  const std::vector<WeightedMap> maps = GetParam() == 0 ? sierpinski() : koch();
  double progress = 0;
  const std::optional<BoxCounting> boxes =
      countBoxes(maps, 10'000'000, ChaosRandom(), {nullptr, [&](double done) { progress = done; }});
  ASSERT_TRUE(boxes.has_value());
  EXPECT_NEAR(boxes->slope, *analyseSystem(maps).similarityDimension, 0.03);
  EXPECT_EQ(progress, 1);
  EXPECT_EQ(boxes->steps, 10'000'000);
  EXPECT_EQ(boxes->points.front().boxSize, 1);
  EXPECT_EQ(boxes->points.front().occupied, 1);
  EXPECT_LE(0, boxes->fitFirst);
  EXPECT_LE(boxes->fitFirst + 2, boxes->fitLast);
  EXPECT_LT(boxes->fitLast, int(boxes->points.size()));
}

INSTANTIATE_TEST_SUITE_P(MathsReport, BoxCountingOf, ::testing::Values(0, 1),
                         [](const ::testing::TestParamInfo<int>& row) {
                           return row.param == 0 ? "Sierpinski" : "Koch";
                         });

TEST(MathsReport, BoxCountingNeedsAnAttractorAndStopsWhenCancelled) {
  const std::atomic<bool> cancel{true};
  EXPECT_FALSE(countBoxes(sierpinski(), 100'000, ChaosRandom(), {&cancel, {}}));
  EXPECT_FALSE(countBoxes({}, 100'000, ChaosRandom(), {}));
  EXPECT_FALSE(
      countBoxes(std::vector<WeightedMap>{{{1.5, 0, 0, 0.5, 0, 0}, 1}}, 1000, ChaosRandom(), {}));
  const std::optional<BoxCounting> point = countBoxes(
      std::vector<WeightedMap>{{{0.5, 0, 0, 0.5, 0.1, 0.2}, 0}}, 1000, ChaosRandom(), {});
  ASSERT_TRUE(point.has_value());
  EXPECT_EQ(point->slope, 0);
}

TEST(MathsReport, JsonInTheReportsShape) {
  const std::vector<WeightedMap> maps = {{{0.5, 0, 0, 0.5, 0.1, 0}, 0.1},
                                         {{1, 0, 0, 1, 0, 0}, 0.9}};
  EXPECT_EQ(reportJson(analyseSystem(maps), std::nullopt),
            R"({
  "maps": [
    {"index": 1, "a": 0.5, "b": 0, "c": 0, "d": 0.5, "e": 0.1, "f": 0, "p": 0.1, "det": 0.25, "singular_values": [0.5, 0.5], "similarity": true, "ratio": 0.5, "rotation_degrees": 0, "flips": false, "fixed_point": [0.2, 0], "expanding": false},
    {"index": 2, "a": 1, "b": 0, "c": 0, "d": 1, "e": 0, "f": 0, "p": 0.9, "det": 1, "singular_values": [1, 1], "similarity": true, "ratio": 1, "rotation_degrees": 0, "flips": false, "fixed_point": null, "expanding": true}
  ],
  "contracting": false,
  "bounding_box": null,
  "similarity_dimension": null,
  "box_dimension": null
}
)");

  // Numbers read back exactly, whatever their digits.
  const SystemFacts facts = analyseSystem(koch());
  BoxCounting boxes;
  boxes.slope = 1.0 / 3;
  const QJsonObject report = QJsonDocument::fromJson(reportJson(facts, boxes)).object();
  ASSERT_FALSE(report.isEmpty());
  EXPECT_EQ(report["box_dimension"].toDouble(), 1.0 / 3);
  EXPECT_EQ(report["similarity_dimension"].toDouble(), *facts.similarityDimension);
  EXPECT_EQ(report["bounding_box"][2].toDouble(), facts.boundingBox->xmax);
  const QJsonObject turned = report["maps"][1].toObject();
  EXPECT_EQ(turned["b"].toDouble(), koch()[1].map.b);
  EXPECT_EQ(turned["rotation_degrees"].toDouble(), *facts.maps[1].rotationDegrees);
  EXPECT_EQ(turned["fixed_point"][1].toDouble(), (*facts.maps[1].fixedPoint)[1]);
  EXPECT_EQ(report["maps"].toArray().size(), 4);
}

// At the ends of the doubles: a det past the largest is null, every other number reads back bit
// for bit, the smallest subnormal too.
TEST(MathsReport, JsonAtTheEndsOfTheDoubles) {
  const std::vector<WeightedMap> maps = {{{1e300, 0, 0, 1e300, 1, 0}, 0.5},
                                         {{1e-300, 0, 0, -1e-300, 4.9e-324, 0}, 0.5}};
  const SystemFacts facts = analyseSystem(maps);
  const QJsonObject report = QJsonDocument::fromJson(reportJson(facts, std::nullopt)).object();
  ASSERT_FALSE(report.isEmpty());
  const QJsonArray shown = report["maps"].toArray();
  ASSERT_EQ(shown.size(), 2);
  EXPECT_TRUE(shown[0]["det"].isNull());
  EXPECT_EQ(shown[1]["det"].toDouble(1), 0);
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(i);
    const QJsonObject map = shown[i].toObject();
    const MapFacts& m = facts.maps[std::size_t(i)];
    EXPECT_EQ(map["a"].toDouble(), m.row.map.a);
    EXPECT_EQ(map["e"].toDouble(), m.row.map.e);
    EXPECT_EQ(map["singular_values"][0].toDouble(), m.singularValues[0]);
    EXPECT_EQ(map["singular_values"][1].toDouble(), m.singularValues[1]);
    EXPECT_EQ(map["ratio"].toDouble(), *m.ratio);
    EXPECT_EQ(map["fixed_point"][0].toDouble(), (*m.fixedPoint)[0]);
    EXPECT_EQ(map["flips"].toBool(), i == 1);
  }
}

}  // namespace
}  // namespace quill
