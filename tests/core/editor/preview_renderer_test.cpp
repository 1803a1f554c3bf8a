#include "core/editor/preview_renderer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "../render/picture_diff.h"
#include "support/row_name.h"

namespace quill {
namespace {

const std::vector<WeightedMap>& kFern = testing::kUnitFern;

struct PreviewRow {
  std::string name;
  std::vector<WeightedMap> maps;
  PreviewFrame frame;
  std::uint64_t points;
  int calls = 1;  // the orbit and generator carried from call to call
};
void PrintTo(const PreviewRow& row, std::ostream* out) { *out << row.name; }

struct Played {
  std::vector<std::uint8_t> hits;
  PreviewOrbit orbit;
  std::uint32_t nextBits;  // the generator's state, by what it gives next
  bool finished;
};

template <typename Play>
Played play(const PreviewRow& row, Play playIt, const RenderControl& control = {}) {
  const std::vector<WeightedMap>& maps = row.maps;
  Played result;
  result.hits.assign(std::size_t(row.frame.width) * std::size_t(row.frame.height), 0);
  ChaosRandom random;
  for (int call = 0; call < row.calls; ++call) {
    result.finished =
        playIt(maps, row.frame, row.points, random, result.orbit, result.hits.data(), control);
  }
  result.nextBits = random.nextBits();
  return result;
}

void expectSame(const Played& reference, const Played& fast) {
  EXPECT_EQ(reference.finished, fast.finished);
  EXPECT_EQ(reference.nextBits, fast.nextBits);
  EXPECT_EQ(std::memcmp(&reference.orbit, &fast.orbit, sizeof(PreviewOrbit)), 0)
      << "orbit (" << reference.orbit.x << ", " << reference.orbit.y << ") against ("
      << fast.orbit.x << ", " << fast.orbit.y << ")";
  std::size_t differing = 0;
  std::size_t first = 0;
  for (std::size_t i = 0; i < reference.hits.size(); ++i) {
    if (reference.hits[i] != fast.hits[i] && differing++ == 0) first = i;
  }
  EXPECT_EQ(differing, 0u) << "first at byte " << first;
}

std::uint64_t plotted(const Played& played) {
  std::uint64_t sum = 0;
  for (std::uint8_t h : played.hits) sum += h;
  return sum;
}

std::vector<PreviewRow> previewRows() {
  const PreviewFrame whole;
  const PreviewFrame zoomed{0.41, 0.52, 0.05 / 700, 700, 500};
  const PreviewFrame aside{0.85, 0.3, 0.001, 400, 300};  // mostly right of the attractor
  const PreviewFrame tiny{0.2, 0.8, 0.6, 1, 1};
  std::vector<WeightedMap> unweighted = testing::kTenMaps;
  for (WeightedMap& r : unweighted) r.p = r.p > 0.1 ? 0 : -1;  // none positive: all alike
  std::vector<WeightedMap> rare = kFern;
  rare[0].p = 1e-6;  // a share far below one guide bucket
  rare[2].p = 3e-4;
  std::vector<WeightedMap> extreme = kFern;
  extreme[0].p = 1e308;  // weights whose sum overflows
  extreme[1].p = 1e308;
  extreme[2].p = std::nan("");
  const std::vector<WeightedMap> expanding = {{{1.3, 0.2, -0.1, 1.1, 0.05, 0}, 0.2},
                                              {{0.5, 0, 0, 0.5, 0.5, 0.5}, 0.8}};
  const std::vector<WeightedMap> exploding = {{{3, 0, 0, 3, 0, 0}, 1}};
  return {
      {"ten maps", testing::kTenMaps, whole, 400'000},
      {"fern", kFern, whole, 400'000},
      {"zoomed in", testing::kTenMaps, zoomed, 300'000},
      {"off to the side", kFern, aside, 300'000},
      {"one-pixel frame", kFern, tiny, 100'000},
      {"no positive probability", unweighted, whole, 200'000},
      {"rare maps", rare, whole, 300'000},
      {"huge and unreadable probabilities", extreme, whole, 100'000},
      {"a map that expands", expanding, whole, 300'000},
      {"every orbit runs off", exploding, whole, 100'000},
      {"no maps", {}, whole, 100'000},
      {"points not a multiple of the batch", kFern, whole, 3 * 65536 + 17},
      {"fewer points than the skipped start", kFern, whole, 7, 5},
      {"orbit carried over calls", testing::kTenMaps, zoomed, 70'001, 4},
  };
}

class PreviewGames : public ::testing::TestWithParam<PreviewRow> {};

TEST_P(PreviewGames, FastMatchesReference) {
  const PreviewRow& row = GetParam();
  const Played reference = play(row, playPreviewReference);
  const Played fast = play(row, playPreview);
  expectSame(reference, fast);
  EXPECT_TRUE(fast.finished);
  if (row.maps.empty()) {
    EXPECT_EQ(plotted(fast), 0u);
    EXPECT_EQ(fast.nextBits, ChaosRandom().nextBits());
  }
}

INSTANTIATE_TEST_SUITE_P(PreviewRenderer, PreviewGames, ::testing::ValuesIn(previewRows()),
                         testing::RowName());

TEST(PreviewRenderer, CancelledBeforeTheFirstBatch) {
  std::atomic<bool> cancel{true};
  RenderControl control;
  control.cancel = &cancel;
  const PreviewRow row{"cancelled", kFern, PreviewFrame{}, 200'000};
  const Played reference = play(row, playPreviewReference, control);
  const Played fast = play(row, playPreview, control);
  expectSame(reference, fast);
  EXPECT_FALSE(fast.finished);
  EXPECT_EQ(plotted(fast), 0u);
}

// A constant map puts every point on (0.3, 0.7): pixel (333, 333) of the default frame, 0.4 of
// the side from the left and top edges at 0.0012 a pixel. After the 20 skipped steps, 1000
// points would be counted; the count stops at 255.
TEST(PreviewRenderer, CountsInThePixelAndSaturates) {
  for (const auto& [points, count] : {std::pair<std::uint64_t, int>{100, 80}, {1020, 255}}) {
    const PreviewRow row{"constant", {{{0, 0, 0, 0, 0.3, 0.7}, 1}}, PreviewFrame{}, points};
    for (const Played& played : {play(row, playPreviewReference), play(row, playPreview)}) {
      EXPECT_EQ(played.hits[333 * 1000 + 333], count);
      EXPECT_EQ(plotted(played), std::uint64_t(count));
    }
  }
}

}  // namespace
}  // namespace quill
