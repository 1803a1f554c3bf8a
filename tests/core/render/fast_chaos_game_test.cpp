#include "core/render/fast_chaos_game.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <string>
#include <vector>

#include "core/render/drawing.h"
#include "core/render/fast_drawing.h"
#include "core/render/map_guide.h"
#include "picture_diff.h"
#include "render_fixtures.h"
#include "support/row_name.h"

namespace quill::testing {
namespace {

MapTable tableOfProbabilities(std::initializer_list<double> probabilities) {
  DrawingState state = drawingState({}, 0);
  int i = 0;
  for (double p : probabilities) state.maps.mapP[++i] = p;
  state.maps.mapCount = i;
  return state.maps;
}

// Every one of the 2^24 values r can take picks the same map through the guide as through the
// bounds. Tables with maps far smaller than a bucket make buckets where several maps end.
TEST(MapGuide, PicksTheMapOfTheBoundsForEveryRandomNumber) {
  struct Case {
    const char* name;
    std::initializer_list<double> p;
  };
  const Case cases[] = {
      {"Sierpinski thirds", {0.33, 0.33, 0.34}},
      {"fern", {0.011, 0.764, 0.11, 0.115}},
      {"ten tenths, sum rounds below 1", {0.1, 0.1, 0.1, 0.1, 0.1, 0.1, 0.1, 0.1, 0.1, 0.1}},
      {"tiny maps share buckets", {1e-7, 2e-7, 0.5, 1e-9, 3e-4, 0.2, 1e-5, 0.2999}},
      {"zeros and negatives", {0, 0.4, -1, 0, 0.6}},
      {"unnormalised", {3, 1, 7}},
      {"one map", {1}},
      {"no map", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const MapChoice choice(tableOfProbabilities(c.p));
    const MapGuide guide(choice);
    int mismatches = 0;
    for (std::uint32_t k = 0; k < (1u << MapGuide::kRandomBits); ++k) {
      mismatches += guide.pick(k) != choice.pick(float(k) * 0x1p-24f);
    }
    EXPECT_EQ(mismatches, 0);
  }
}

// Plays the same game both ways from the same generator and compares the ink, the generator
// afterwards and the current position.
void expectSameGame(const DrawingState& shared, int width, int height, Rgb pen = kPen,
                    double twipsPerPixel = 15) {
  DrawingState reference = shared;
  DrawingState fast = shared;
  reference.penColor = fast.penColor = pen;
  Canvas expected(width, height, twipsPerPixel, kWhite);
  Canvas actual(width, height, twipsPerPixel, kWhite);
  ChaosRandom referenceRandom;
  ChaosRandom fastRandom;
  ASSERT_TRUE(drawReference(expected, DrawingKind::ChaosGame, reference, referenceRandom, {}));
  ASSERT_TRUE(drawFast(actual, DrawingKind::ChaosGame, fast, fastRandom, {}));
  EXPECT_TRUE(sameInk(expected, actual));
  EXPECT_EQ(referenceRandom.nextBits(), fastRandom.nextBits());
  // The last point may have run off to NaN.
  auto same = [](float a, float b) { return a == b || (std::isnan(a) && std::isnan(b)); };
  EXPECT_PRED2(same, expected.currentX(), actual.currentX());
  EXPECT_PRED2(same, expected.currentY(), actual.currentY());
}

struct GameRow {
  std::string name;
  std::vector<WeightedMap> rows;
  int steps;
  int width = kCanvasWidth;  // pixels
  int height = kCanvasHeight;
  Rgb pen = kPen;
  double twipsPerPixel = 15;
};
void PrintTo(const GameRow& row, std::ostream* out) { *out << row.name; }

class FastGames : public ::testing::TestWithParam<GameRow> {};

TEST_P(FastGames, PlotTheReferencePicturePixelForPixel) {
  const GameRow& row = GetParam();
  expectSameGame(drawingState(row.rows, row.steps), row.width, row.height, row.pen,
                 row.twipsPerPixel);
}

const std::vector<WeightedMap> kHalf = {kHalfMaps[0], kHalfMaps[1], kHalfMaps[2]};

INSTANTIATE_TEST_SUITE_P(
    FastChaosGame, FastGames,
    ::testing::Values(
        GameRow{"Sierpinski", kHalf, 300000},
        GameRow{"fern preset", presetRows(kFernPattern), 300000},
        GameRow{"ten maps", kTenMaps, 300000}, GameRow{"one step", kHalf, 1},
        GameRow{"no steps", kHalf, 0}, GameRow{"negative count", kHalf, -5},
        // The square is three times the canvas: most points fall outside and are clipped.
        GameRow{"thrown off the canvas",
                {{{0.5, 0, 0, 0.5, 0, 0}, 0.5}, {{0.5, 0, 0, 0.5, 2.5, 1.5}, 0.5}},
                100000},
        // Growing maps run off to infinity and NaN; nothing is plotted from there on.
        GameRow{"growing maps",
                {{{1.5, 0, 0, 1.5, 0.1, 0}, 0.5}, {{-2, 0.5, 0, 2, 0, 0.1}, 0.5}},
                20000},
        GameRow{"a map of probability zero",
                {{{0.5, 0, 0, 0.5, 0, 0}, 0.5}, {{1, 0, 0, 1, 5, 5}, 0}},
                50000},
        GameRow{"a one-pixel-high canvas, pen black", kHalf, 50000, 300, 1, kBlack},
        GameRow{"110 dots an inch: pixel edges between whole twips", presetRows(kFernPattern),
                300000, kCanvasWidth, kCanvasHeight, kPen, 1440.0 / 110}),
    testing::RowName());

TEST(FastChaosGame, ASecondGameContinuesTheSequenceAsTheReferenceDoes) {
  DrawingState state = drawingState({kHalfMaps[0], kHalfMaps[1], kHalfMaps[2]}, 20000);
  Canvas expected(kCanvasWidth, kCanvasHeight, 15.0, kWhite);
  Canvas actual(kCanvasWidth, kCanvasHeight, 15.0, kWhite);
  ChaosRandom referenceRandom;
  ChaosRandom fastRandom;
  for (int game = 0; game < 2; ++game) {
    ASSERT_TRUE(playChaosGame(expected, state, referenceRandom, {}));
    ASSERT_TRUE(playChaosGameFast(actual, state, fastRandom, {}));
  }
  EXPECT_TRUE(sameInk(expected, actual));
}

TEST(FastChaosGame, CancelStopsAtTheEndOfABatchAndReportsProgress) {
  std::atomic<bool> cancel{false};
  std::vector<double> reports;
  RenderControl control;
  control.cancel = &cancel;
  control.progress = [&](double done) {
    reports.push_back(done);
    if (reports.size() == 2) cancel = true;
  };
  DrawingState state = drawingState({kHalfMaps[0], kHalfMaps[1], kHalfMaps[2]}, 10 * kChaosBatch);
  Canvas canvas(kCanvasWidth, kCanvasHeight, 15.0, kWhite);
  ChaosRandom random;
  EXPECT_FALSE(playChaosGameFast(canvas, state, random, control));
  EXPECT_EQ(reports, (std::vector<double>{0.1, 0.2}));
  // Exactly two batches of numbers were used.
  ChaosRandom expected;
  for (int i = 0; i < 2 * kChaosBatch; ++i) expected.nextBits();
  EXPECT_EQ(random.nextBits(), expected.nextBits());
}

}  // namespace
}  // namespace quill::testing
