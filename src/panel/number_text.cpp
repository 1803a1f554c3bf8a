#include "panel/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

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

// Checks the number syntax of a trimmed text; on success `mantissaDigits` counts the digits.
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
    // Out of range either way: decide whether the magnitude is huge (refused) or tiny (zero).
    // strtod in the "C" locale would tell, but the process locale may use a comma; the decimal
    // exponent of the first significant digit tells as well.
    long exponent = 0;
    const std::size_t e = ascii.find_first_of("eE");
    if (e != std::string::npos) exponent = std::strtol(ascii.c_str() + e + 1, nullptr, 10);
    const std::string mantissa = ascii.substr(start, e == std::string::npos ? std::string::npos
                                                                             : e - start);
    const std::size_t point = mantissa.find('.');
    const std::size_t firstSignificant = mantissa.find_first_of("123456789");
    if (firstSignificant == std::string::npos) return negative ? -0.0 : 0.0;
    const long integerEnd = long(point == std::string::npos ? mantissa.size() : point);
    long position = integerEnd - long(firstSignificant);  // digits before the point, from it
    if (long(firstSignificant) > integerEnd) position += 1;
    if (exponent + position > 0) return std::nullopt;  // too large: not a finite number
    return negative ? -0.0 : 0.0;
  }
  if (error != std::errc()) return std::nullopt;
  if (!std::isfinite(value)) return std::nullopt;
  return negative ? -value : value;
}

QString numberToText(double value) {
  if (value == 0.0 || !std::isfinite(value)) {
    return value == 0.0 ? QStringLiteral("0") : QString::number(value);
  }
  // 15 significant digits, as d.dddddddddddddde±x, then trimmed and laid out.
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.14e", value);
  std::string text(buffer);
  const std::size_t e = text.find('e');
  int exponent = std::atoi(text.c_str() + e + 1);
  std::string digits;
  for (std::size_t i = 0; i < e; ++i) {
    if (text[i] >= '0' && text[i] <= '9') digits += text[i];
  }
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  const bool negative = value < 0;

  std::string out = negative ? "-" : "";
  const double magnitude = std::fabs(value);
  // Rounding to 15 digits may carry into the next power of ten; the exponent above already
  // reflects the rounded value, so decide the layout from it.
  if (exponent < -4 || exponent >= 15 || magnitude < 1e-4) {
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
