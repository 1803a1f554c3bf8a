#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/render/segmented_orbit.h"
#include "support/map_rows.h"
#include "support/row_name.h"

namespace quill {
namespace {

struct CutRow {
  std::string name;
  SegmentCut cut;
  std::vector<std::int64_t> ends;  // of each segment in turn
};
void PrintTo(const CutRow& row, std::ostream* out) { *out << row.name; }

class SegmentCuts : public ::testing::TestWithParam<CutRow> {};

// The segments follow one another from step 0 to the last step, ramping up from the first.
TEST_P(SegmentCuts, TileTheGameInOrder) {
  const CutRow& row = GetParam();
  ASSERT_EQ(row.cut.count(), std::int64_t(row.ends.size()));
  std::int64_t first = 0;
  for (std::int64_t k = 0; k < row.cut.count(); ++k) {
    SCOPED_TRACE(k);
    EXPECT_EQ(row.cut.first(k), first);
    EXPECT_EQ(row.cut.end(k), row.ends[std::size_t(k)]);
    first = row.cut.end(k);
  }
}

INSTANTIATE_TEST_SUITE_P(
    SegmentCut, SegmentCuts,
    ::testing::Values(
        CutRow{"even segments", {10, 4, 0, 0}, {4, 8, 10}},
        CutRow{"ramp, then even segments", {40, 8, 0, 1}, {1, 3, 7, 15, 23, 31, 39, 40}},
        CutRow{"ramp that stops short of a doubling", {30, 10, 0, 3}, {3, 9, 19, 29, 30}},
        CutRow{"game over within the ramp", {20, 100, 0, 2}, {2, 6, 14, 20}},
        CutRow{"first as long as the rest: no ramp", {9, 3, 0, 3}, {3, 6, 9}},
        CutRow{"one step a segment", {3, 1, 0, 0}, {1, 2, 3}}),
    testing::RowName());

// A long game on the canvas starts with a segment of the shortest length worth its warm-up, not
// an eighth of a thread's share, so its first points come within milliseconds.
TEST(SegmentCut, ALongGameStartsShortAndRampsUp) {
  MapTable maps;
  testing::storeRows(maps, testing::kUnitFern);
  const std::optional<SegmentCut> cut = cutChaosGame(maps, 2'000'000'000, 2, {});
  ASSERT_TRUE(cut.has_value());
  EXPECT_LE(cut->end(0), std::int64_t{1} << 21);
  EXPECT_EQ(cut->end(1) - cut->first(1), 2 * cut->end(0));
  EXPECT_EQ(cut->end(cut->count() - 1), 2'000'000'000);
  EXPECT_EQ(cut->end(cut->count() / 2) - cut->first(cut->count() / 2), cut->segmentSteps);
}

}  // namespace
}  // namespace quill
