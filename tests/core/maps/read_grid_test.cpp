#include "core/maps/read_grid.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/row_name.h"

namespace quill {
namespace {

using Row = std::array<QString, kColumnCount>;

const Row kGood = {"0.5", "0", "0", "0.5", "0", "0", "0.5"};
const QString kEmpty = QStringLiteral("Required parameter value cannot be empty.");
const QString kInvalid = QStringLiteral("Invalid parameter value.");

// kGood with up to two fields replaced.
Row with(int column, const QString& text, int column2 = kColA, const QString& text2 = "0.5") {
  Row row = kGood;
  row[column2] = text2;
  row[column] = text;
  return row;
}

PanelState grid(const std::vector<Row>& rows) {
  PanelState state;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    for (int column = 0; column < kColumnCount; ++column) {
      state.cell(int(i) + 1, column) = rows[i][column];
    }
  }
  return state;
}

struct GridCase {
  std::string name;
  std::vector<Row> rows;  // rows 1, 2, … of the grid
  QString message;        // empty: read without a message
  int mapCount;           // the maps read, when read
};

class ReadGrid : public ::testing::TestWithParam<GridCase> {};

// The count comes from the a column alone; the first row that does not read decides the one
// message, an empty field before a text that is not a number.
TEST_P(ReadGrid, CountsMapsAndRefusesTheFirstBadRow) {
  const GridCase& c = GetParam();
  const Result<MapTable> read = readGrid(grid(c.rows));
  EXPECT_EQ(read.ok(), c.message.isEmpty());
  EXPECT_EQ(read.message().toStdString(), c.message.toStdString());
  if (!read) return;
  EXPECT_EQ(read->mapCount, c.mapCount);
  for (int i = 0; i < kMapSlots; ++i) {
    const bool map = i >= 1 && i <= c.mapCount;
    EXPECT_EQ(read->mapA[i], map ? 0.5 : 0) << "slot " << i;
    EXPECT_EQ(read->mapP[i], map ? 0.5 : 0) << "slot " << i;
  }
}

const Row kNoA = {"", "x", "y", "", "1", "2", "3"};

INSTANTIATE_TEST_SUITE_P(
    Rows, ReadGrid,
    ::testing::ValuesIn(std::vector<GridCase>{
        {"empty grid", {}, {}, 0},
        {"ten rows", std::vector<Row>(10, kGood), {}, 10},
        {"rows below an empty a are ignored", {kGood, kGood, kGood, kNoA, kGood}, {}, 3},
        {"empty p in row 2", {kGood, with(kColP, "")}, kEmpty, 0},
        {"empty before non-numeric", {with(kColB, "abc", kColF, "")}, kEmpty, 0},
        {"an earlier row decides", {with(kColC, "abc"), with(kColP, "")}, kInvalid, 0},
        {"comma separator", {with(kColE, "0,5")}, kInvalid, 0},
        {"blank is not empty", {with(kColB, " ")}, kInvalid, 0},
        {"too large", {with(kColA, "1e999")}, kInvalid, 0},
    }),
    testing::RowName{});

struct SumsCase {
  std::string name;
  std::vector<QString> p;
  std::vector<double> cumP;
};

class RunningSums : public ::testing::TestWithParam<SumsCase> {};

TEST_P(RunningSums, OfTheProbabilities) {
  const SumsCase& c = GetParam();
  std::vector<Row> rows;
  for (const QString& p : c.p) rows.push_back(with(kColP, p));
  const Result<MapTable> read = readGrid(grid(rows));
  ASSERT_TRUE(read);
  for (std::size_t i = 0; i < c.cumP.size(); ++i) {
    EXPECT_DOUBLE_EQ(read->mapCumP[i + 1], c.cumP[i]) << "row " << i + 1;
  }
}

INSTANTIATE_TEST_SUITE_P(Rows, RunningSums,
                         ::testing::ValuesIn(std::vector<SumsCase>{
                             {"texts as typed", {"0.25", " .25 ", "5e-1"}, {0.25, 0.5, 1.0}},
                             {"a map of p 0 is never chosen", {"0.5", "0", "0.5"}, {0.5, 0, 0.5}},
                             {"the first map of p 0", {"0", "0.3", "0.7"}, {0, 0.3, 1.0}},
                         }),
                         testing::RowName{});

}  // namespace
}  // namespace quill
