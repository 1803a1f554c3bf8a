#include "core/picture/hit_counts.h"

#include <gtest/gtest.h>

#include "core/canvas/canvas.h"
#include "core/render/chaos_game.h"
#include "core/render/render_fixtures.h"

namespace quill {
namespace {

using testing::drawingState;
using testing::kHalfMaps;

constexpr int kWidth = 200;  // pixels of the grid
constexpr int kHeight = 150;

// The reference game counting its plots where the canvas would put them.
struct CountingSurface {
  Canvas probe{kWidth, kHeight, 15, kWhite};  // only its pixelOf
  std::vector<std::uint32_t> counts = std::vector<std::uint32_t>(kWidth * kHeight);

  void pset(float x, float y, Rgb /*colour*/) {
    int px = 0;
    int py = 0;
    if (probe.pixelOf(x, y, px, py)) ++counts[std::size_t(py * kWidth + px)];
  }
  void line(float, float, float, float, Rgb) {}
  void lineTo(float, float, Rgb) {}
  void setDrawStyle(DrawStyle) {}
  void setCurrentX(float) {}
  void setCurrentY(float) {}
  void print(const QString&) {}
};

DrawingState gridState(int count) {
  DrawingState state = drawingState({kHalfMaps[0], kHalfMaps[1], kHalfMaps[2]}, count);
  state.square = DrawingSquare::onCanvas(float(kWidth * 15), float(kHeight * 15));
  return state;
}

struct SplitRow {
  int threads;
  HitSettings settings;
};

// Counted on any number of threads, from segments whose warm-up is too short to find the true
// start (taken out and played again) or long enough, the grid is the reference game's hit for hit.
TEST(HitCounts, EqualTheReferenceGamesPlotsWhateverTheSplit) {
  constexpr int kSteps = 60'000;
  DrawingState state = gridState(kSteps);
  CountingSurface direct;
  ChaosRandom reference;
  RenderControl control;
  ASSERT_TRUE(playChaosGame(direct, state, reference, control));

  const SplitRow rows[] = {{1, {}}, {2, {7'000, 2}}, {3, {5'000, 0}}, {2, {4'096, 64}}};
  for (const SplitRow& row : rows) {
    SCOPED_TRACE(row.threads);
    control.threads = row.threads;
    const Result<HitGrid> hits = countHits(kWidth, kHeight, gridState(kSteps), ChaosRandom(),
                                           nullptr, control, row.settings);
    ASSERT_TRUE(hits.ok()) << hits.message().toStdString();
    EXPECT_EQ(hits->counts, direct.counts);
  }
}

// The tints follow the orbit too: the sums agree however the game is split.
TEST(HitCounts, TintSumsDoNotDependOnTheSplit) {
  std::array<Tint, kMapSlots> tints{};
  tints[1] = {65535, 0, 0};
  tints[2] = {0, 65535, 0};
  tints[3] = {0, 0, 65535};
  RenderControl control;
  control.threads = 1;
  const Result<HitGrid> one =
      countHits(kWidth, kHeight, gridState(50'000), ChaosRandom(), &tints, control);
  control.threads = 3;
  const Result<HitGrid> split =
      countHits(kWidth, kHeight, gridState(50'000), ChaosRandom(), &tints, control, {3'000, 3});
  ASSERT_TRUE(one.ok() && split.ok());
  EXPECT_EQ(split->counts, one->counts);
  EXPECT_EQ(split->colourSums, one->colourSums);
}

}  // namespace
}  // namespace quill
