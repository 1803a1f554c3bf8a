#include "core/maps/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace quill {

namespace {

bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }
bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// The text between surrounding blanks.
QStringView trimmed(QStringView text) {
  qsizetype begin = 0;
  qsizetype end = text.size();
  while (begin < end && isBlank(text[begin])) ++begin;
  while (end > begin && isBlank(text[end - 1])) --end;
  return text.mid(begin, end - begin);
}

// Checks the number syntax of a trimmed text: sign, digits with an optional period and fraction
// (at least one digit in all), then an optional exponent with at least one digit.
bool matchesSyntax(QStringView s) {
  qsizetype i = 0;
  const qsizetype n = s.size();
  if (i < n && (s[i] == u'+' || s[i] == u'-')) ++i;
  qsizetype digits = 0;
  while (i < n && isDigit(s[i])) ++i, ++digits;
  if (i < n && s[i] == u'.') {
    ++i;
    while (i < n && isDigit(s[i])) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < n && (s[i] == u'e' || s[i] == u'E')) {
    ++i;
    if (i < n && (s[i] == u'+' || s[i] == u'-')) ++i;
    qsizetype exponentDigits = 0;
    while (i < n && isDigit(s[i])) ++i, ++exponentDigits;
    if (exponentDigits == 0) return false;
  }
  return i == n;
}

// For a numeric text without sign that is out of the range of a double: true when its magnitude
// is too large, false when it is too small. Such a text is at least 1e300 or below 1e-300, so the
// side is given by the decimal position of its first significant digit.
bool overflows(std::string_view magnitudeText) {
  const std::size_t e = magnitudeText.find_first_of("eE");
  const std::string_view mantissa = magnitudeText.substr(0, e);
  long long exponent = 0;
  if (e != std::string_view::npos) {
    // Clamp: a longer exponent only makes the answer clearer, and the sum below must not overflow.
    std::string_view digits = magnitudeText.substr(e + 1);
    const bool minus = !digits.empty() && digits.front() == '-';
    if (!digits.empty() && (digits.front() == '+' || digits.front() == '-'))
      digits.remove_prefix(1);
    for (char c : digits) exponent = std::min(exponent * 10 + (c - '0'), 1'000'000'000LL);
    if (minus) exponent = -exponent;
  }
  const std::size_t firstSignificant = mantissa.find_first_of("123456789");
  if (firstSignificant == std::string_view::npos) return false;  // zero is never out of range
  const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
  // Power of ten of the first significant digit, before the exponent is applied.
  const long long leading = firstSignificant < point ? (long long)(point - firstSignificant) - 1
                                                     : -(long long)(firstSignificant - point);
  return leading + exponent > 0;
}

}  // namespace

bool looksNumeric(QStringView text) { return matchesSyntax(trimmed(text)); }

std::optional<double> parseNumber(QStringView text) {
  const QStringView s = trimmed(text);
  if (!matchesSyntax(s)) return std::nullopt;
  // The syntax is plain ASCII by now; from_chars reads it without any locale.
  std::string ascii = s.toString().toStdString();
  const bool negative = ascii.front() == '-';
  const std::size_t start = (ascii.front() == '+' || ascii.front() == '-') ? 1 : 0;
  double value = 0.0;
  const char* first = ascii.data() + start;
  const char* last = ascii.data() + ascii.size();
  const auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
  if (end != last) return std::nullopt;
  if (error == std::errc::result_out_of_range) {
    // from_chars leaves the value alone when it is out of range either way; overflow is refused,
    // underflow reads as zero.
    if (overflows(std::string_view(ascii).substr(start))) return std::nullopt;
    return negative ? -0.0 : 0.0;
  }
  if (error != std::errc()) return std::nullopt;
  if (!std::isfinite(value)) return std::nullopt;
  return negative ? -value : value;
}

QString numberToText(double value) {
  if (value == 0.0) return QStringLiteral("0");              // negative zero included
  if (!std::isfinite(value)) return QString::number(value);  // never stored; shown for debugging
  // Rounding the largest doubles to 15 digits carries them past the largest double
  // ("1.79769313486232E+308" reads as too large); they take the 15-digit text just below.
  constexpr double kLargestFifteenDigits = 1.79769313486231e308;
  if (std::fabs(value) > kLargestFifteenDigits) value = std::copysign(kLargestFifteenDigits, value);
  // 15 significant digits, as d.dddddddddddddde±x, then trimmed and laid out. Only the digits
  // and the exponent are taken, so a locale whose decimal point is a comma changes nothing.
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.14e", value);
  std::string text(buffer);
  const std::size_t e = text.find('e');
  const int exponent = std::atoi(text.c_str() + e + 1);
  std::string digits;
  for (std::size_t i = 0; i < e; ++i) {
    if (text[i] >= '0' && text[i] <= '9') digits += text[i];
  }
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  std::string out = value < 0 ? "-" : "";
  // Rounding to 15 digits may carry into the next power of ten; the exponent above already
  // reflects the rounded value, so decide the layout from it.
  if (exponent < -4 || exponent >= 15) {
    out += digits[0];
    if (digits.size() > 1) {
      out += '.';
      out += digits.substr(1);
    }
    char exponentText[16];
    std::snprintf(exponentText, sizeof exponentText, "E%c%02d", exponent < 0 ? '-' : '+',
                  std::abs(exponent));
    out += exponentText;
  } else if (exponent < 0) {
    out += "0.";
    out += std::string(std::size_t(-exponent - 1), '0');
    out += digits;
  } else {
    const std::size_t integerDigits = std::size_t(exponent) + 1;
    if (digits.size() <= integerDigits) {
      out += digits;
      out += std::string(integerDigits - digits.size(), '0');
    } else {
      out += digits.substr(0, integerDigits);
      out += '.';
      out += digits.substr(integerDigits);
    }
  }
  return QString::fromStdString(out);
}

std::optional<std::int32_t> roundToInt32(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  const double rounded = std::nearbyint(value);  // the default rounding mode: halves to even
  if (rounded < -2147483648.0 || rounded > 2147483647.0) return std::nullopt;
  return std::int32_t(rounded);
}

}  // namespace quill
