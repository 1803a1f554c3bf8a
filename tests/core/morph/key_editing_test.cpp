// The Animation window's key editing: the grid as a key and back, keys added and removed with
// the user's matchings, and the matching as text.

#include "core/morph/key_editing.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>

#include "core/maps/read_grid.h"
#include "support/row_name.h"

namespace quill {
namespace {

AnimationKey keyAt(double time, int maps) {
  AnimationKey key;
  key.time = time;
  for (int i = 0; i < maps; ++i) key.maps.push_back({{0.5, 0, 0, 0.5, 0.1 * i, 0}, 1.0 / maps});
  return key;
}

TEST(KeyEditing, MapsPutInTheGridReadBackBitForBit) {
  // Values whose fifteen-digit text reads back as another double, and ordinary ones.
  const std::vector<WeightedMap> maps = {{{0.1 + 0.2, 1.0 / 3, -2.0 / 7, 0.5, 1e-7, 0}, 0.3},
                                         {{0.85, 0.04, -0.04, 0.85, 0.08, 0.16}, 0.7}};
  PanelState state;
  state.cell(3, kColA) = QStringLiteral("9");  // a row beyond the key's must go
  putMapsInGrid(state, maps);
  EXPECT_EQ(state.cell(2, kColA), QStringLiteral("0.85"));
  EXPECT_TRUE(state.cell(3, kColA).isEmpty());
  const Result<std::vector<WeightedMap>> back = gridKeyMaps(state);
  ASSERT_TRUE(back) << back.message().toStdString();
  ASSERT_EQ(back->size(), maps.size());
  for (std::size_t i = 0; i < maps.size(); ++i) {
    const WeightedMap &m = maps[i], &b = (*back)[i];
    EXPECT_EQ(std::memcmp(&m, &b, sizeof m), 0) << "map " << i + 1;
  }
}

TEST(KeyEditing, AGridThatDoesNotReadGivesItsMessage) {
  PanelState state;
  EXPECT_EQ(gridKeyMaps(state).message(), kNoMapsForKeyMessage);
  state.cell(1, kColA) = QStringLiteral("x");
  EXPECT_EQ(gridKeyMaps(state).message(), kEmptyFieldMessage);
}

TEST(KeyEditing, KeysAddedAndRemovedKeepTheMatchingsOfSegmentsTheyLeaveAlone) {
  Animation animation;
  for (double time : {0.0, 1.0, 2.0, 3.0}) insertKey(animation, keyAt(time, 2));
  const Matching crossed = {{0, 1}, {1, 0}};
  animation.matchings = {{0, crossed}, {1, crossed}, {2, crossed}};
  // Between keys 2 and 3: segment 1 is split, segment 2 becomes 3.
  EXPECT_EQ(insertKey(animation, keyAt(1.5, 2)), 2);
  EXPECT_EQ(animation.matchings, (std::map<int, Matching>{{0, crossed}, {3, crossed}}));
  // At the same time as a key: after the last instead.
  EXPECT_EQ(insertKey(animation, keyAt(1.0, 2)), 5);
  EXPECT_EQ(animation.keys.back().time, 4.0);
  removeKey(animation, 1);  // key 2 ended segment 0 and began segment 1
  EXPECT_EQ(animation.matchings, (std::map<int, Matching>{{2, crossed}}));
  EXPECT_EQ(animation.keys.size(), 5u);
  EXPECT_EQ(animation.keys[1].time, 1.5);
}

TEST(KeyEditing, AKeyMovesOnlyBetweenItsNeighbours) {
  Animation animation;
  for (double time : {0.0, 1.0, 2.0}) insertKey(animation, keyAt(time, 1));
  const auto [low, high] = keyTimeRange(animation, 1);
  EXPECT_GT(low, 0.0);
  EXPECT_LT(high, 2.0);
  EXPECT_LT(keyTimeRange(animation, 0).first, -1.0);
}

struct MatchingRow {
  std::string name;
  QString text;
  std::optional<Matching> matching;  // nothing: refused
};

class MatchingText : public ::testing::TestWithParam<MatchingRow> {};

TEST_P(MatchingText, ReadsAsPairsOrRefuses) {
  const Result<Matching> read = readMatchingText(GetParam().text);
  if (!GetParam().matching) {
    EXPECT_EQ(read.message(), kMatchingTextMessage);
    return;
  }
  ASSERT_TRUE(read);
  EXPECT_EQ(*read, *GetParam().matching);
  EXPECT_EQ(readMatchingText(matchingText(*read)).message(), QString());
}

const Matching kSwapped = {{0, 1}, {1, 0}, {2, 2}};
INSTANTIATE_TEST_SUITE_P(
    KeyEditing, MatchingText,
    ::testing::Values(MatchingRow{"arrows", QStringLiteral("1→2, 2→1, 3→3"), kSwapped},
                      MatchingRow{"ascii", QStringLiteral("1->2 2-1;3 - 3"), kSwapped},
                      MatchingRow{"empty", QStringLiteral(" , "), std::nullopt},
                      MatchingRow{"map zero", QStringLiteral("0→1"), std::nullopt},
                      MatchingRow{"stray word", QStringLiteral("1→2, two→1"), std::nullopt},
                      MatchingRow{"half a pair", QStringLiteral("1→2, 3"), std::nullopt}),
    testing::RowName{});

}  // namespace
}  // namespace quill
