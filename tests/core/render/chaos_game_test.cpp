#include "core/render/chaos_game.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "core/canvas/canvas.h"
#include "core/render/drawing.h"
#include "core/render/fast_drawing.h"
#include "core/render/map_choice.h"
#include "recording_surface.h"
#include "render_fixtures.h"

namespace quill::testing {
namespace {

using Kind = SurfaceCall::Kind;

constexpr int kRandomSteps = 1 << 24;  // every value r can take is k / 2^24

MapTable tableOf(std::initializer_list<double> probabilities) {
  DrawingState state = drawingState({}, 0);
  int i = 0;
  for (double p : probabilities) {
    ++i;
    state.maps.mapP[i] = p;
    state.maps.mapCumP[i] = p == 0 ? 0 : state.maps.mapCumP[i - 1] + p;
  }
  state.maps.mapCount = i;
  return state.maps;
}

// The choice as first written: the first row j of 1 to 10 with cumP(j − 1) < r ≤ cumP(j), or
// whose cumP is 0 after a non-zero one with r above that; 0 when no row is taken.
int runningSumRule(const MapTable& maps, float r) {
  const double value = r;
  const auto& cum = maps.mapCumP;
  for (int j = 1; j <= kMaxMaps; ++j) {
    if ((cum[j - 1] < value && value <= cum[j]) ||
        (cum[j] == 0 && cum[j - 1] != 0 && value > cum[j - 1])) {
      return j;
    }
  }
  return 0;
}

// For every r, a table of positive probabilities that add up to 1 chooses as the running sums do.
TEST(MapChoice, PositiveProbabilitiesAddingUpToOneChooseByTheirRunningSums) {
  struct Case {
    const char* name;
    std::initializer_list<double> p;
  };
  const Case cases[] = {
      {"Sierpinski thirds", {0.33, 0.33, 0.34}},
      {"fern", {0.01, 0.85, 0.07, 0.07}},
      {"sum rounds above 1", {0.1, 0.2, 0.7}},
      {"exact binary fractions", {0.5, 0.25, 0.25}},
      {"ten tenths, sum rounds below 1", {0.1, 0.1, 0.1, 0.1, 0.1, 0.1, 0.1, 0.1, 0.1, 0.1}},
      {"one map", {1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const MapTable maps = tableOf(c.p);
    const MapChoice choice(maps);
    int mismatches = 0;
    for (int k = 0; k < kRandomSteps; ++k) {
      const float r = float(k) * 0x1p-24f;
      mismatches += choice.pick(r) != runningSumRule(maps, r);
    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(choice.pick(0.0f), 0);  // r = 0 takes no map
    EXPECT_EQ(choice.pick(1.0f - 0x1p-24f), int(c.p.size()));
  }
}

// Other tables choose in proportion to max(p, 0); each share is counted over every r.
TEST(MapChoice, ChoosesInProportionToThePositiveProbabilities) {
  struct Case {
    const char* name;
    std::initializer_list<double> p;
    std::vector<double> shares;  // of maps 1 to mapCount
  };
  const Case cases[] = {
      {"a zero in the middle is never chosen", {0.5, 0, 0.5}, {0.5, 0, 0.5}},
      {"a zero first is never chosen", {0, 0.5, 0.5}, {0, 0.5, 0.5}},
      {"a negative probability is never chosen", {-0.2, 0.6, 0.6}, {0, 0.5, 0.5}},
      {"a sum below 1 never jumps to the corner", {0.25, 0.25}, {0.5, 0.5}},
      {"a sum above 1", {3, 1}, {0.75, 0.25}},
      {"all zero chooses evenly", {0, 0, 0, 0}, {0.25, 0.25, 0.25, 0.25}},
      {"all negative chooses evenly", {-1, -2}, {0.5, 0.5}},
      {"huge probabilities", {1e308, 1e308, 1e308, 1e308}, {0.25, 0.25, 0.25, 0.25}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const MapChoice choice(tableOf(c.p));
    std::array<int, kMapSlots> counts{};
    for (int k = 1; k < kRandomSteps; ++k) ++counts[choice.pick(float(k) * 0x1p-24f)];
    EXPECT_EQ(counts[0], 0);  // every r above 0 takes a map
    for (std::size_t j = 0; j < c.shares.size(); ++j) {
      EXPECT_NEAR(double(counts[j + 1]) / kRandomSteps, c.shares[j], 1e-6) << "map " << j + 1;
    }
  }
  EXPECT_EQ(MapChoice(tableOf({})).pick(0.5f), 0);
}

TEST(ChaosGame, CountsOfZeroOrLessPlotNothingAndUseNoRandomNumbers) {
  for (int count : {0, -1, -2147483647 - 1}) {
    SCOPED_TRACE(count);
    DrawingState state = drawingState({kHalfMaps[0], kHalfMaps[1], kHalfMaps[2]}, count);
    ChaosRandom random;
    RecordingSurface surface;
    ASSERT_TRUE(drawReference(surface, DrawingKind::ChaosGame, state, random, RenderControl{}));
    EXPECT_EQ(surface.calls.size(), 6u);  // the frame
    EXPECT_TRUE(surface.only(Kind::PSet).empty());
    EXPECT_EQ(random.nextBits(), ChaosRandom().nextBits());
  }
  SCOPED_TRACE("no maps");
  DrawingState state = drawingState({}, 1000);
  ChaosRandom random;
  RecordingSurface surface;
  ASSERT_TRUE(drawReference(surface, DrawingKind::ChaosGame, state, random, RenderControl{}));
  EXPECT_EQ(surface.calls.size(), 6u);
}

TEST(ChaosGame, OneStepPlotsTheStartPointMappedByTheChosenMap) {
  // Start: map 1's image of the lower-left corner, (0.1, 0.2) of the side.
  DrawingState state =
      drawingState({{{0.5, 0, 0, 0.5, 0.1, 0.2}, 0.5}, {{0, -1, 1, 0, 0.9, 0.05}, 0.5}}, 1);
  ChaosRandom random;
  ChaosRandom peek = random;
  const float r = peek.next();
  RecordingSurface surface;
  ASSERT_TRUE(playChaosGame(surface, state, random, RenderControl{}));
  const std::vector<SurfaceCall> points = surface.only(Kind::PSet);
  ASSERT_EQ(points.size(), 1u);
  const UnitPoint expected =
      r <= 0.5f ? UnitPoint{0.5 * 0.1 + 0.1, 0.5 * 0.2 + 0.2} : UnitPoint{-0.2 + 0.9, 0.1 + 0.05};
  EXPECT_NEAR(points[0].x1, canvasX(state, expected), kTwipTolerance);
  EXPECT_NEAR(points[0].y1, canvasY(state, expected), kTwipTolerance);
  EXPECT_EQ(points[0].color, kPen);
}

// Figure coordinates of a plotted point, in fractions of the side.
UnitPoint unitOf(const DrawingState& state, const SurfaceCall& point) {
  return {(double(point.x1) - state.square.originX) / state.square.viewScale,
          (state.square.originY - double(point.y1)) / state.square.viewScale};
}

TEST(ChaosGame, HalfMapsPlotOnlyInsideTheirTriangle) {
  DrawingState state = drawingState({kHalfMaps[0], kHalfMaps[1], kHalfMaps[2]}, 200000);
  ChaosRandom random;
  RecordingSurface surface;
  ASSERT_TRUE(playChaosGame(surface, state, random, RenderControl{}));
  const std::vector<SurfaceCall> points = surface.only(Kind::PSet);
  ASSERT_EQ(points.size(), 200000u);
  constexpr double kSlack = 1e-6;  // single-precision rounding of the canvas coordinates
  int outside = 0;
  for (const SurfaceCall& point : points) {
    const UnitPoint p = unitOf(state, point);
    outside += !(p.v >= -kSlack && p.v <= 2 * p.u + kSlack && p.v <= 2 * (1 - p.u) + kSlack);
  }
  EXPECT_EQ(outside, 0);
}

TEST(ChaosGame, AMapOfProbabilityZeroIsNeverChosen) {
  // Map 2 would throw the point far right of the square.
  DrawingState state = drawingState(
      {{{0.5, 0, 0, 0.5, 0, 0}, 0.5}, {{0.5, 0, 0, 0.5, 5, 0}, 0}, {{0.5, 0, 0, 0.5, 0.5, 0}, 0.5}},
      100000);
  ChaosRandom random;
  RecordingSurface surface;
  ASSERT_TRUE(playChaosGame(surface, state, random, RenderControl{}));
  int left = 0, right = 0, beyond = 0;
  for (const SurfaceCall& point : surface.only(Kind::PSet)) {
    const double u = unitOf(state, point).u;
    beyond += u > 1.0 + 1e-6;
    (u < 0.5 ? left : right) += 1;
  }
  EXPECT_EQ(beyond, 0);
  EXPECT_GT(left, 45000);
  EXPECT_GT(right, 45000);
}

TEST(ChaosGame, AFreshRunRepeatsItsPictureAndASecondGameContinuesTheSequence) {
  auto play = [](ChaosRandom& random) {
    DrawingState state = drawingState({kHalfMaps[0], kHalfMaps[1], kHalfMaps[2]}, 5000);
    RecordingSurface surface;
    EXPECT_TRUE(playChaosGame(surface, state, random, RenderControl{}));
    std::vector<std::pair<float, float>> points;
    for (const SurfaceCall& call : surface.only(Kind::PSet)) points.emplace_back(call.x1, call.y1);
    return points;
  };
  ChaosRandom firstRun;
  ChaosRandom secondRun;
  const auto first = play(firstRun);
  EXPECT_EQ(first, play(secondRun));
  EXPECT_NE(first, play(firstRun));

  // The same on the canvas, picture against picture.
  auto picture = [](ChaosRandom& random) {
    DrawingState state = drawingState({kHalfMaps[0], kHalfMaps[1], kHalfMaps[2]}, 20000);
    Canvas canvas(kCanvasWidth, kCanvasHeight, 15.0, kWhite);
    EXPECT_TRUE(drawFast(canvas, DrawingKind::ChaosGame, state, random, RenderControl{}));
    return canvas.picture();
  };
  ChaosRandom a;
  ChaosRandom b;
  EXPECT_EQ(picture(a), picture(b));
}

TEST(ChaosGame, CancelStopsAtTheEndOfABatch) {
  std::atomic<bool> cancel{false};
  RenderControl control;
  control.cancel = &cancel;
  int reports = 0;
  control.progress = [&](double) {
    ++reports;
    cancel = true;
  };
  DrawingState state = drawingState({kHalfMaps[0], kHalfMaps[1], kHalfMaps[2]}, 10 * kChaosBatch);
  ChaosRandom random;
  RecordingSurface surface;
  EXPECT_FALSE(playChaosGame(surface, state, random, control));
  EXPECT_EQ(surface.only(Kind::PSet).size(), std::size_t(kChaosBatch));
  EXPECT_EQ(reports, 1);
}

}  // namespace
}  // namespace quill::testing
