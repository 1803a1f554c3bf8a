#include "core/maps/number_text.h"

#include <gtest/gtest.h>

#include <charconv>
#include <limits>
#include <random>
#include <string>

namespace quill {
namespace {

TEST(NumberText, NumericTestAcceptsAndRefuses) {
  const std::u16string manyNines(400, u'9');
  // clang-format off
  const std::pair<const char16_t*, std::optional<double>> rows[] = {
      {u" \t-2.5  ", -2.5}, {u"+3", 3}, {u".5", 0.5}, {u"5.", 5}, {u"1e-3", 0.001},
      {u"2E+05", 2e5}, {u"-1e-400", 0}, {u"5e-324", 5e-324},
      {u"", {}}, {u"   ", {}}, {u"0,5", {}}, {u"abc", {}}, {u"1e999", {}}, {u"-1e999", {}},
      {manyNines.c_str(), {}}, {u"1e99999999999999999999", {}}, {u"0x10", {}}, {u"inf", {}},
      {u"nan", {}}, {u".", {}}, {u"1e+", {}}, {u"e5", {}}, {u"1.2.3", {}}, {u"- 1", {}},
      {u"1 2", {}}, {u"\u0661", {}},
  };
  // clang-format on
  for (const auto& [text, expected] : rows) {
    SCOPED_TRACE(QString::fromUtf16(text).toStdString());
    EXPECT_EQ(parseNumber(QString::fromUtf16(text)), expected);
    if (expected) {
      EXPECT_TRUE(looksNumeric(QString::fromUtf16(text)));
    }
  }
}

TEST(NumberText, DefaultConversionLayout) {
  // clang-format off
  const std::pair<double, const char*> rows[] = {
      {0.0, "0"}, {-0.0, "0"}, {0.5, "0.5"}, {-0.867, "-0.867"}, {100, "100"}, {1e-4, "0.0001"},
      {1e-5, "1E-05"}, {-2.5e-7, "-2.5E-07"}, {1e20, "1E+20"}, {1e300, "1E+300"},
      {123456789012345, "123456789012345"}, {1e15, "1E+15"}, {1.0 / 3, "0.333333333333333"},
      {0.1 + 0.2, "0.3"}, {999999999999999.9, "1E+15"},
  };
  // clang-format on
  for (const auto& [value, text] : rows) EXPECT_EQ(numberToText(value).toStdString(), text) << text;
}

TEST(NumberText, RoundTripsFifteenDigits) {
  std::mt19937_64 generator(20240611);
  std::uniform_int_distribution<int> digitCount(1, 15), exponent(-300, 300), digit(0, 9);
  for (int n = 0; n < 200000; ++n) {
    std::string decimal = std::string(n % 2 ? "-" : "") + char('1' + digit(generator) % 9) + '.';
    for (int k = digitCount(generator); k > 1; --k) decimal += char('0' + digit(generator));
    decimal += 'e' + std::to_string(exponent(generator));
    double value = 0;
    std::from_chars(decimal.data(), decimal.data() + decimal.size(), value);
    const QString text = numberToText(value);
    ASSERT_EQ(parseNumber(text), value) << decimal << " -> " << text.toStdString();
  }
}

// Rounded to 15 digits, the largest doubles would carry past the largest double and be
// written as a number too large to read back (a saved file that no longer loads).
TEST(NumberText, TheLargestDoublesWriteATextThatReadsBack) {
  const double largest = std::numeric_limits<double>::max();
  EXPECT_EQ(numberToText(largest).toStdString(), "1.79769313486231E+308");
  for (double value : {largest, -largest, 1.797693134862315e308, 1.79769313486231e308}) {
    const QString text = numberToText(value);
    const std::optional<double> back = parseNumber(text);
    ASSERT_TRUE(back.has_value()) << text.toStdString();
    EXPECT_EQ(numberToText(*back), text);
  }
}

}  // namespace
}  // namespace quill
