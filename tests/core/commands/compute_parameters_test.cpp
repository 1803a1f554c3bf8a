#include <gtest/gtest.h>

#include "support/fakes.h"
#include "support/row_name.h"

namespace quill {
namespace {

const QString kAll = QStringLiteral("Please enter values for all parameters");
const QString kNumeric = QStringLiteral("Please enter only numerical values");
const QString kIndex = QStringLiteral("Enter index i from 1 to 10");

struct ComputeCase {
  std::string name;
  std::array<QString, kComputeFieldCount> inputs;  // r, s, angle 1, angle 2, i
  QString message;                                 // empty: accepted
  int row;                                         // the row that changes
  std::array<const char*, 4> shown;                // a, b, c, d in that row
};

class ComputeParameters : public ::testing::TestWithParam<ComputeCase> {};

TEST_P(ComputeParameters, FillsRowOrRefuses) {
  const ComputeCase& c = GetParam();
  testing::PanelFixture f;
  for (int row = 1; row <= kGridRows; ++row) f.setRow(row, {"9", "9", "9", "9", "9", "9", "9"});
  f.state.computeFields = c.inputs;
  computeParameters(f.document);

  EXPECT_EQ(f.dialogs.messages.join(u'|').toStdString(), c.message.toStdString());
  for (int row = 1; row <= kGridRows; ++row) {
    for (int column = 0; column < kColumnCount; ++column) {
      const bool computed = row == c.row && column <= kColD;
      EXPECT_EQ(f.state.cell(row, column).toStdString(), computed ? c.shown[column] : "9")
          << row << column;
    }
  }
  // The table keeps full precision; only the grid shows the cut value.
  if (c.row == 3) {
    EXPECT_NEAR(f.drawing.maps.mapA[3], 0.8660254037844, 1e-12);
  }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, ComputeParameters, ::testing::ValuesIn(std::vector<ComputeCase>{
    {"halves", {"0.5", "0.5", "0", "0", "2"}, {}, 2, {"0.5", "0", "0", "0.5"}},
    {"cos 90 is tiny and cut to 0", {"1", "1", "90", "90", "1"}, {}, 1, {"0", "-1", "1", "0"}},
    {"cut downwards", {"1", "1", "30", "120", "3"}, {}, 3, {"0.866", "-0.867", "0.499", "-0.5"}},
    {"index halves to even", {"1", "1", "0", "0", " 2.5 "}, {}, 2, {"1", "0", "0", "1"}},
    {"index 3.5 is 4", {"1", "1", "0", "0", "3.5"}, {}, 4, {"1", "0", "0", "1"}},
    {"index 0", {"1", "1", "0", "0", "0"}, kIndex, 0, {}},
    {"index 11", {"1", "1", "0", "0", "11"}, kIndex, 0, {}},
    {"negative index", {"1", "1", "0", "0", "-3"}, kIndex, 0, {}},
    {"index beyond 32 bits", {"1", "1", "0", "0", "1e20"}, kIndex, 0, {}},
    {"empty before numeric", {"abc", "1", "0", "0", ""}, kAll, 0, {}},
    {"comma separator", {"1", "1", "0,5", "0", "1"}, kNumeric, 0, {}},
    {"beyond a double", {"1e999", "1", "0", "0", "1"}, kNumeric, 0, {}},
    {"radians overflow", {"1", "1", "0", "1e308", "1"}, kNumeric, 0, {}},
}), testing::RowName{});
// clang-format on

}  // namespace
}  // namespace quill
