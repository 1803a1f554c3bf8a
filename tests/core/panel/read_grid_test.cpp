#include <gtest/gtest.h>

#include <vector>

#include "support/fakes.h"

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

TEST(readGrid, CountsMapsAndRefusesFirstBadRow) {
  struct Case {
    const char* name;
    std::vector<Row> rows;  // rows 1, 2, … of the grid
    QString message;        // empty: read without a message
    int mapCount;
    int converted;  // rows read into the table (p = 0.5); the others hold 0
  };
  const Row noA = {"", "x", "y", "", "1", "2", "3"};
  // clang-format off
  const Case cases[] = {
      {"empty grid", {}, {}, 0, 0},
      {"ten rows", std::vector<Row>(10, kGood), {}, 10, 10},
      {"rows below an empty a are ignored", {kGood, kGood, kGood, noA, kGood}, {}, 3, 3},
      {"empty p in row 2", {kGood, with(kColP, "")}, kEmpty, 2, 1},
      {"empty before non-numeric", {with(kColB, "abc", kColF, "")}, kEmpty, 1, 0},
      {"earlier row decides", {with(kColC, "abc"), with(kColP, "")}, kInvalid, 2, 0},
      {"comma separator", {with(kColE, "0,5")}, kInvalid, 1, 0},
      {"blank is not empty", {with(kColB, " ")}, kInvalid, 1, 0},
      {"too large", {with(kColA, "1e999")}, kInvalid, 1, 0},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    testing::PanelFixture f;
    f.setRow(4, kGood);  // a stale map from an earlier read must not survive
    ASSERT_TRUE(readGrid(f.document));
    f.state.clearGrid();
    for (std::size_t i = 0; i < c.rows.size(); ++i) f.setRow(int(i) + 1, c.rows[i]);
    const Status read = readGrid(f.document);
    EXPECT_EQ(read.ok(), c.message.isEmpty());
    EXPECT_EQ(read.message().toStdString(), c.message.toStdString());
    EXPECT_TRUE(f.dialogs.messages.isEmpty());  // the command that reads the panel shows it
    EXPECT_EQ(f.drawing.maps.mapCount, c.mapCount);
    for (int i = 1; i <= kMaxMaps; ++i) {
      EXPECT_EQ(f.drawing.maps.mapP[i], i <= c.converted ? 0.5 : 0) << "row " << i;
    }
  }
}

TEST(readGrid, CumulativeProbabilities) {
  const std::pair<std::vector<QString>, std::vector<double>> cases[] = {
      {{"0.25", " .25 ", "5e-1"}, {0.25, 0.5, 1.0}},
      {{"0.5", "0", "0.5"}, {0.5, 0, 0.5}},  // a map of p 0 is never chosen
      {{"0", "0.3", "0.7"}, {0, 0.3, 1.0}},
  };
  for (const auto& [p, cumP] : cases) {
    testing::PanelFixture f;
    for (std::size_t i = 0; i < p.size(); ++i) f.setRow(int(i) + 1, with(kColP, p[i]));
    ASSERT_TRUE(readGrid(f.document));
    for (std::size_t i = 0; i < cumP.size(); ++i) {
      EXPECT_DOUBLE_EQ(f.drawing.maps.mapCumP[i + 1], cumP[i]) << p[0].toStdString() << " " << i;
    }
  }
}

}  // namespace
}  // namespace quill
