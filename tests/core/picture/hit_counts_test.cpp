#include "core/picture/hit_counts.h"

#include <gtest/gtest.h>

#include <string>

#include "core/canvas/canvas.h"
#include "core/render/chaos_game.h"
#include "core/render/render_fixtures.h"
#include "support/row_name.h"

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
  std::string name;
  int threads;
  SegmentSettings settings;
  int steps = 60'000;
  HitTally tally = HitTally::Automatic;
};
void PrintTo(const SplitRow& row, std::ostream* out) { *out << row.name; }

class HitCountSplits : public ::testing::TestWithParam<SplitRow> {};

// Counted on any number of threads, from segments whose warm-up is too short to find the true
// start (taken out and played again) or long enough, the grid is the reference game's hit for hit.
TEST_P(HitCountSplits, EqualTheReferenceGamesPlots) {
  const SplitRow& row = GetParam();
  DrawingState state = gridState(row.steps);
  CountingSurface direct;
  ChaosRandom reference;
  RenderControl control;
  ASSERT_TRUE(playChaosGame(direct, state, reference, control));

  control.threads = row.threads;
  const Result<HitGrid> hits = countHits(kWidth, kHeight, gridState(row.steps), ChaosRandom(),
                                         nullptr, control, row.settings, row.tally);
  ASSERT_TRUE(hits.ok()) << hits.message().toStdString();
  EXPECT_EQ(hits->counts, direct.counts);
}

INSTANTIATE_TEST_SUITE_P(
    HitCounts, HitCountSplits,
    ::testing::Values(
        SplitRow{"one thread", 1, {}},
        SplitRow{"warm-ups too short: every segment taken out", 2, {7'000, 2}},
        SplitRow{"warm-ups from the maps", 3, {5'000, 0}},
        SplitRow{"long warm-ups", 2, {4'096, 64}},
        SplitRow{"cut as drawing cuts it", 2, {}, 2'500'000},
        SplitRow{"short first segments ramping up", 2, {4'096, 0, 100}},
        SplitRow{"private planes, one thread", 1, {}, 60'000, HitTally::PrivatePlanes},
        SplitRow{"private planes, three threads, segments taken out",
                 3,
                 {5'000, 2},
                 60'000,
                 HitTally::PrivatePlanes},
        SplitRow{"small bands, one thread", 1, {}, 60'000, HitTally::SmallBands},
        SplitRow{"small bands, two threads, segments taken out",
                 2,
                 {7'000, 2},
                 60'000,
                 HitTally::SmallBands},
        SplitRow{"small bands, three threads", 3, {5'000, 0}, 200'000, HitTally::SmallBands},
        SplitRow{"poster bands, two threads", 2, {4'096, 64}, 60'000, HitTally::Bands}),
    testing::RowName());

struct TintRow {
  std::string name;
  std::vector<WeightedMap> maps;
  HitTally tally = HitTally::Automatic;
};
void PrintTo(const TintRow& row, std::ostream* out) { *out << row.name; }

class TintSplits : public ::testing::TestWithParam<TintRow> {};

// The tints follow the orbit too: the sums agree however the game is split, also where a short
// warm-up finds the true point but not yet the true tint (maps that forget the point at once).
TEST_P(TintSplits, SumTheOneOrbitGamesTints) {
  std::array<Tint, kMapSlots> tints{};
  tints[1] = {65535, 0, 0};
  tints[2] = {0, 65535, 0};
  tints[3] = {0, 0, 65535};
  DrawingState state = gridState(50'000);
  testing::storeRows(state.maps, GetParam().maps);
  RenderControl control;
  control.threads = 1;
  const Result<HitGrid> one = countHits(kWidth, kHeight, state, ChaosRandom(), &tints, control);
  control.threads = 3;
  const Result<HitGrid> split = countHits(kWidth, kHeight, state, ChaosRandom(), &tints, control,
                                          {3'000, 3}, GetParam().tally);
  ASSERT_TRUE(one.ok() && split.ok());
  EXPECT_EQ(split->counts, one->counts);
  EXPECT_EQ(split->colourSums, one->colourSums);
}

INSTANTIATE_TEST_SUITE_P(HitCounts, TintSplits,
                         ::testing::Values(TintRow{"half maps",
                                                   {kHalfMaps[0], kHalfMaps[1], kHalfMaps[2]}},
                                           TintRow{"constant maps",
                                                   {{{0, 0, 0, 0, 0.2, 0.2}, 0.3},
                                                    {{0, 0, 0, 0, 0.5, 0.8}, 0.3},
                                                    {{0, 0, 0, 0, 0.8, 0.2}, 0.4}}}),
                         testing::RowName());

}  // namespace
}  // namespace quill
