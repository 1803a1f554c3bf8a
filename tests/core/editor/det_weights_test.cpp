#include "core/editor/det_weights.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "core/maps/number_text.h"

namespace quill {
namespace {

struct Row {
  const char* name;
  std::vector<double> dets;
  QStringList texts;
};

// Worked by hand: shares rounded to thousandths, the remainder to the largest.
TEST(DetProportionalTexts, SharesAddToExactlyOneInDecimal) {
  const double inf = std::numeric_limits<double>::infinity();
  const std::vector<Row> rows = {
      {"one map", {0.25}, {"1"}},
      {"Sierpinski: thirds, the spare thousandth to the first",
       {0.25, 0.25, 0.25},
       {"0.334", "0.333", "0.333"}},
      {"fern: as its preset", {0, 0.7241, 0.1038, -0.1088}, {"0.011", "0.764", "0.11", "0.115"}},
      {"singular map floored at 0.01", {0, 0.5, 0.5}, {"0.01", "0.495", "0.495"}},
      {"a flip weighs as its |det|", {-0.25, 0.25}, {"0.5", "0.5"}},
      {"all singular", {0, 0}, {"0.5", "0.5"}},
      {"a share too small for thousandths", {0, 30}, {"0.0003", "0.9997"}},
      {"a det that is not finite weighs as a flat map", {inf, 0.01}, {"0.5", "0.5"}},
      {"dets whose sum passes the largest double", {1e308, -1e308}, {"0.5", "0.5"}},
      {"no maps", {}, {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const QStringList texts = detProportionalTexts(row.dets);
    EXPECT_EQ(texts, row.texts);
    // Whatever the digits, they count whole units of the last decimal and add to one.
    if (texts.isEmpty()) continue;
    constexpr double kUnit = 1e9;
    long long sum = 0;
    for (const QString& text : texts) {
      const double value = parseNumber(text).value_or(-1);
      EXPECT_GT(value, 0) << text.toStdString();
      EXPECT_NEAR(value * kUnit, std::round(value * kUnit), 1e-6) << text.toStdString();
      sum += std::llround(value * kUnit);
    }
    EXPECT_EQ(sum, static_cast<long long>(kUnit));
  }
}

// "Set p ∝ |det|" writes nothing when every p is the share it would write, whatever its text.
TEST(DetProportionalTexts, SameProbabilitiesComparesValuesNotTexts) {
  const struct {
    const char* name;
    std::vector<double> current;
    QStringList texts;
    bool same;
  } rows[] = {
      {"the same numbers", {0.334, 0.333, 0.333}, {"0.334", "0.333", "0.333"}, true},
      {"written otherwise", {0.5, 0.5}, {".50", "5e-1"}, true},
      {"one p differs", {0.5, 0.5}, {"0.4", "0.6"}, false},
      {"another count of maps", {1}, {"0.5", "0.5"}, false},
      {"a text that is no number", {0.5}, {"x"}, false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(sameProbabilities(row.current, row.texts), row.same);
  }
}

}  // namespace
}  // namespace quill
