#include "core/maths/report_wording.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/row_name.h"

namespace quill {
namespace {

struct WordingRow {
  std::string name;
  PlaneMap map;
  const char* contracts;
  const char* fixedPoints;
};

class ReportWordingOf : public ::testing::TestWithParam<WordingRow> {};

TEST_P(ReportWordingOf, ContractionAndFixedPoints) {
  const WordingRow& row = GetParam();
  const std::vector<WeightedMap> maps = {{row.map, 1.0}};
  const SystemFacts facts = analyseSystem(maps);
  ASSERT_EQ(facts.maps.size(), 1u);
  EXPECT_EQ(contractionWording(facts.maps[0]), QString::fromUtf8(row.contracts));
  EXPECT_EQ(fixedPointWording(facts.maps[0]), QString::fromUtf8(row.fixedPoints));
}

// Worked by hand: x' = a·x + b·y + e, y' = c·x + d·y + f.
INSTANTIATE_TEST_SUITE_P(
    MathsReport, ReportWordingOf,
    ::testing::Values(
        WordingRow{"halving towards a point", {0.5, 0, 0, 0.5, 0.25, 0}, "yes", "(0.5, 0)"},
        WordingRow{"keeps x and halves y: the x axis stays put",
                   {1, 0, 0, 0.5, 0, 0},
                   "does not contract (stretches by 1)",
                   "line through (0, 0) along (1, 0)"},
        WordingRow{"keeps x, halves y and lifts by 0.3: the line y = 0.6",
                   {1, 0, 0, 0.5, 0, 0.3},
                   "does not contract (stretches by 1)",
                   "line through (0, 0.6) along (1, 0)"},
        WordingRow{"keeps x and moves it: nothing stays put",
                   {1, 0, 0, 0.5, 0.1, 0},
                   "does not contract (stretches by 1)",
                   "none"},
        WordingRow{"a shear along the x axis",
                   {1, 0.5, 0, 1, 0, 0},
                   "EXPANDS",
                   "line through (0, 0) along (1, 0)"},
        WordingRow{"halves x and keeps y: the y axis stays put",
                   {0.5, 0, 0, 1, 0, 0},
                   "does not contract (stretches by 1)",
                   "line through (0, 0) along (0, 1)"},
        WordingRow{"the identity",
                   {1, 0, 0, 1, 0, 0},
                   "does not contract (stretches by 1)",
                   "every point"},
        WordingRow{
            "a translation", {1, 0, 0, 1, 0.1, 0}, "does not contract (stretches by 1)", "none"},
        WordingRow{"a turn by a whole square's side",
                   {0.6, -0.8, 0.8, 0.6, 0, 0},
                   "does not contract (stretches by 1)",
                   "(0, 0)"},
        WordingRow{"stretch just beyond 1", {1.000001, 0, 0, 0.5, 0, 0}, "EXPANDS", "(0, 0)"},
        WordingRow{"stretch by 1.5", {1.5, 0, 0, 0.5, 0.5, 0}, "EXPANDS", "(-1, 0)"}),
    testing::RowName());

}  // namespace
}  // namespace quill
