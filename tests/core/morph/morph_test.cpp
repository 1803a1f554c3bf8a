// The morph between keys: the polar split, the ends of every morph, padding, matching, and the
// turn that must not collapse.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <random>

#include "core/maps/drawing_state.h"
#include "core/maps/read_grid.h"
#include "core/morph/animation.h"
#include "core/morph/key_file.h"
#include "core/morph/map_blend.h"
#include "core/morph/polar_split.h"
#include "core/picture/hit_counts.h"
#include "support/row_name.h"

namespace quill {
namespace {

const std::vector<WeightedMap> kTriangle = {{{0.5, 0, 0, 0.5, 0, 0}, 0.33},
                                            {{0.5, 0, 0, 0.5, 0.5, 0}, 0.33},
                                            {{0.5, 0, 0, 0.5, 0.25, 0.5}, 0.34}};
const std::vector<WeightedMap> kLeaf = {{{0, 0, 0, 0.16, 0.5, 0}, 0.01},
                                        {{0.85, 0.04, -0.04, 0.85, 0.08, 0.16}, 0.85},
                                        {{0.2, -0.26, 0.23, 0.22, 0.4, 0.05}, 0.07},
                                        {{-0.15, 0.28, 0.26, 0.24, 0.57, -0.01}, 0.07}};

bool sameMaps(const std::vector<WeightedMap>& x, const std::vector<WeightedMap>& y) {
  return x.size() == y.size() &&
         std::equal(x.begin(), x.end(), y.begin(), [](const WeightedMap& m, const WeightedMap& n) {
           return std::memcmp(&m, &n, sizeof m) == 0;
         });
}

double det(const PlaneMap& m) { return m.a * m.d - m.b * m.c; }

std::vector<WeightedMap> randomSystem(std::mt19937_64& random, int count) {
  std::uniform_real_distribution<double> coefficient(-0.7, 0.7);
  std::vector<WeightedMap> maps;
  for (int i = 0; i < count; ++i) {
    PlaneMap m{coefficient(random), coefficient(random), coefficient(random),
               coefficient(random), coefficient(random), coefficient(random)};
    maps.push_back({m, 1.0 / count});
  }
  return maps;
}

struct SplitRow {
  std::string name;
  int sign;  // of the determinant
};

class PolarSplitRoundTrip : public ::testing::TestWithParam<SplitRow> {};

TEST_P(PolarSplitRoundTrip, JoinsBackToTheMapWithAStretchThatIsSymmetricAndPositive) {
  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> coefficient(-2, 2);
  for (int trial = 0; trial < 2000; ++trial) {
    PlaneMap m{coefficient(random),
               coefficient(random),
               coefficient(random),
               coefficient(random),
               0.1,
               0.2};
    if (det(m) * GetParam().sign <= 0) std::swap(m.a, m.b), std::swap(m.c, m.d);
    if (det(m) * GetParam().sign <= 0) continue;
    const PolarSplit split = polarSplit(m);
    EXPECT_EQ(split.mirrored, GetParam().sign < 0);
    const Symmetric2& s = split.stretch;
    EXPECT_GT(s.xx + s.yy, 0);
    EXPECT_GT(s.xx * s.yy - s.xy * s.xy, 0);
    const PlaneMap back = joinPolar(split, m.e, m.f);
    const double scale = std::max({std::abs(m.a), std::abs(m.b), std::abs(m.c), std::abs(m.d)});
    for (const auto& [x, y] : {std::pair{back.a, m.a}, {back.b, m.b}, {back.c, m.c}, {back.d, m.d}})
      ASSERT_NEAR(x, y, 1e-13 * scale) << "trial " << trial;
    const Symmetric2 roundTrip = expSymmetric(logSymmetric(s));
    EXPECT_NEAR(roundTrip.xx, s.xx, 1e-12 * scale);
    EXPECT_NEAR(roundTrip.xy, s.xy, 1e-12 * scale);
  }
}

INSTANTIATE_TEST_SUITE_P(Morph, PolarSplitRoundTrip,
                         ::testing::Values(SplitRow{"turning", 1}, SplitRow{"mirrored", -1}),
                         testing::RowName());

struct EndsRow {
  std::string name;
  Easing easing;
  bool loop;
};

class MorphEnds : public ::testing::TestWithParam<EndsRow> {};

TEST_P(MorphEnds, FramesAtTheKeysTimesAreTheKeysOwnMapsBitForBit) {
  Animation animation;
  animation.keys = {{0, kTriangle, {}, {}}, {1.5, kLeaf, {}, {}}, {2, kTriangle, {}, {}}};
  animation.keys[2].maps[0].map.e = 0.1;
  animation.easing = GetParam().easing;
  animation.loop = GetParam().loop;
  const Result<AnimationPlan> plan = planAnimation(animation);
  ASSERT_TRUE(plan) << plan.message().toStdString();
  constexpr int kFrames = 9;
  EXPECT_TRUE(sameMaps(systemAt(*plan, frameTime(*plan, 0, kFrames)), kTriangle));
  EXPECT_TRUE(sameMaps(systemAt(*plan, 1.5), kLeaf));
  const auto& lastShown = GetParam().loop ? kTriangle : animation.keys[2].maps;
  const int last = GetParam().loop ? kFrames : kFrames - 1;  // the frame after the last, looped
  EXPECT_TRUE(sameMaps(systemAt(*plan, frameTime(*plan, last, kFrames)), lastShown));
  // Between the keys the system keeps the larger key's count and the p total runs on.
  const std::vector<WeightedMap> between = systemAt(*plan, 0.7);
  EXPECT_EQ(between.size(), 4u);
  double total = 0;
  for (const WeightedMap& map : between) total += map.p;
  EXPECT_NEAR(total, 1.0, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(Morph, MorphEnds,
                         ::testing::Values(EndsRow{"linear", Easing::Linear, false},
                                           EndsRow{"smooth", Easing::Smooth, false},
                                           EndsRow{"spline", Easing::Spline, false},
                                           EndsRow{"spline_looped", Easing::Spline, true}),
                         testing::RowName());

TEST(Morph, PaddingBySplittingAMapLeavesTheChaosGameHitForHit) {
  std::vector<WeightedMap> split = kLeaf;
  split[1].p /= 2;
  split.insert(split.begin() + 2, split[1]);
  Animation animation;
  animation.keys = {{0, kLeaf, {}, {}}, {1, split, {}, {}}};
  const Result<AnimationPlan> plan = planAnimation(animation);
  ASSERT_TRUE(plan) << plan.message().toStdString();
  const std::vector<WeightedMap> padded = systemAt(*plan, 0.5);
  ASSERT_EQ(padded.size(), 5u);
  const auto hits = [](const std::vector<WeightedMap>& maps) {
    DrawingState state;
    state.square = DrawingSquare::onCanvas(320 * 15, 240 * 15);
    state.maps = mapTableOf(maps);
    state.iterationCount = 200'000;
    RenderControl control;
    control.threads = 1;
    return countHits(320, 240, state, ChaosRandom(), nullptr, control).value().counts;
  };
  EXPECT_EQ(hits(kLeaf), hits(padded));
}

TEST(Morph, MatchingIsAsCheapAsEveryMatchingTriedInTurn) {
  std::mt19937_64 random(11);
  for (int earlier = 1; earlier <= 6; ++earlier) {
    for (int later = 1; later <= 6; ++later) {
      const auto x = randomSystem(random, earlier), y = randomSystem(random, later);
      const Matching found = matchMaps(x, y);
      ASSERT_TRUE(checkMatching(found, earlier, later));
      // Every way of giving each map of the larger key one of the other's, all of them used.
      const int rows = std::max(earlier, later), columns = std::min(earlier, later);
      double best = INFINITY;
      std::vector<int> choice(std::size_t(rows), 0);
      for (;;) {
        Matching matching;
        for (int r = 0; r < rows; ++r) {
          matching.push_back(earlier >= later ? MapPair{r, choice[std::size_t(r)]}
                                              : MapPair{choice[std::size_t(r)], r});
        }
        if (checkMatching(matching, earlier, later)) {
          best = std::min(best, matchingCost(x, y, matching));
        }
        int r = 0;
        while (r < rows && ++choice[std::size_t(r)] == columns) choice[std::size_t(r++)] = 0;
        if (r == rows) break;
      }
      EXPECT_NEAR(matchingCost(x, y, found), best, 1e-12 * best) << earlier << " to " << later;
    }
  }
}

TEST(Morph, AMapTurningBy179DegreesKeepsItsAreaWhereABlendOfCoefficientsCollapses) {
  const PlaneMap from{0.6, -0.2, 0.1, 0.3, 0.1, 0.2};
  const double turn = 179 * std::numbers::pi / 180;
  const PlaneMap to{std::cos(turn) * from.a - std::sin(turn) * from.c,
                    std::cos(turn) * from.b - std::sin(turn) * from.d,
                    std::sin(turn) * from.a + std::cos(turn) * from.c,
                    std::sin(turn) * from.b + std::cos(turn) * from.d,
                    0.5,
                    0.4};
  const double low = std::min(std::abs(det(from)), std::abs(det(to))) * (1 - 1e-12);
  const double high = std::max(std::abs(det(from)), std::abs(det(to))) * (1 + 1e-12);
  const MorphState x = morphState({from, 1}, 1), y = morphState({to, 1}, 1);
  bool blendLeaves = false;
  for (int frame = 0; frame <= 100; ++frame) {
    const double u = frame / 100.0;
    const double kept = std::abs(det(blendStates(x, y, u).map));
    EXPECT_TRUE(kept >= low && kept <= high) << "frame " << frame << ": " << kept;
    const double blended = std::abs(det(blendCoefficients(from, to, u)));
    blendLeaves = blendLeaves || blended < low || blended > high;
  }
  EXPECT_TRUE(blendLeaves);
}

// A stem map is flat: its stretch has no logarithm, and one whose small side rounds to a tiny
// positive number must not be taken for one that has, or the morph collapses at once.
TEST(Morph, AMapGrowingIntoAStemKeepsItsSizeUntilTheStem) {
  const PlaneMap half{0.5, 0, 0, 0.5, 0, 0};
  const PlaneMap stem{0, 0, 0, 0.16, 0, 0};
  const MorphState x = morphState({half, 1}, 1), y = morphState({stem, 1}, 1);
  const PlaneMap quarter = blendStates(x, y, 0.25).map;
  EXPECT_NEAR(quarter.a, 0.375, 1e-9);
  EXPECT_NEAR(quarter.d, 0.415, 1e-9);
}

TEST(Morph, MapsOfOppositeTurnAreNamedAndPassThroughAFlatMapOnlyHalfway) {
  std::vector<WeightedMap> mirrored = kTriangle;
  for (WeightedMap& map : mirrored) map.map.d = -map.map.d;
  Animation animation;
  animation.keys = {{0, kTriangle, {}, {}}, {1, mirrored, {}, {}}};
  const Result<AnimationPlan> plan = planAnimation(animation);
  ASSERT_TRUE(plan);
  ASSERT_EQ(plan->turnOvers.size(), 3u);
  EXPECT_TRUE(turnOverMessage(plan->turnOvers[0])
                  .startsWith("Map 1 of key 1 and map 1 of key 2 turn over"));
  for (const double u : {0.25, 0.75}) EXPECT_GT(std::abs(det(systemAt(*plan, u)[0].map)), 0.05);
  EXPECT_NEAR(det(systemAt(*plan, 0.5)[0].map), 0, 1e-15);
}

TEST(Morph, TheAnimationFileReadsBackBitForBitAndNamesTheFieldThatIsWrong) {
  Animation animation;
  animation.keys = {{0, kTriangle, "Gasket", "pattern:Sierpinski"}, {2.5, kLeaf, {}, {}}};
  animation.keys[1].maps[1].map.a = 0.1 + 0.2;  // a number with no short decimal form
  animation.easing = Easing::Spline;
  animation.loop = true;
  animation.matchings[0] = {{0, 0}, {1, 1}, {2, 2}, {2, 3}};
  QTemporaryDir dir;
  const QString path = dir.filePath("keys.qmanim");
  ASSERT_TRUE(writeAnimationFile(path, animation));
  const Result<Animation> read = readAnimationFile(path);
  ASSERT_TRUE(read) << read.message().toStdString();
  EXPECT_EQ(read->easing, Easing::Spline);
  EXPECT_TRUE(read->loop);
  ASSERT_EQ(read->keys.size(), 2u);
  EXPECT_EQ(read->keys[0].name, "Gasket");
  EXPECT_TRUE(sameMaps(read->keys[1].maps, animation.keys[1].maps));
  EXPECT_EQ(read->matchings.at(0), animation.matchings[0]);
  const QString fifo = dir.filePath("fifo.qmanim");  // would wait for a writer forever
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  EXPECT_EQ(readAnimationFile(fifo).message(), "Cannot read the animation file.");

  const struct {
    const char* text;
    const char* says;
  } wrong[] = {
      {"[]", "not JSON"},
      {R"({"format":"x","version":1,"keys":[]})", "format must be"},
      {R"({"format":"quillmere-animation","version":2,"keys":[]})", "version must be 1"},
      {R"({"format":"quillmere-animation","version":1,"keys":[{"time":0,"maps":[[1,2]]}]})",
       "keys[1].maps[1] must be 7 numbers"},
      {R"({"format":"quillmere-animation","version":1,"easing":"bouncy","keys":[]})",
       "easing must be"},
      {R"({"format":"quillmere-animation","version":1,"keys":[{"time":"0","maps":[]}]})",
       "keys[1].time must be a number"},
  };
  for (const auto& row : wrong) {
    const Result<Animation> bad = readAnimationText(row.text);
    ASSERT_FALSE(bad) << row.text;
    EXPECT_TRUE(bad.message().contains(row.says)) << bad.message().toStdString();
  }
}

}  // namespace
}  // namespace quill
