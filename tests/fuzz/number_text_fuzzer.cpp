// Fuzzes the numeric test, the parse and the number-to-text conversion.
//
// The input is used twice: as a text typed into a field, and its first eight bytes as the bits
// of a double. For texts, the C library's strtod is the independent reference for the value.
// For doubles, the conversion to text must read back: exactly for a value of at most 15
// significant digits, and otherwise to a value whose text is the same again.
#include <QString>
#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "core/maps/number_text.h"
#include "fuzz_check.h"

namespace {

using quill::looksNumeric;
using quill::numberToText;
using quill::parseNumber;

// A finite value converted to text must read back, and its text must be a fixed point.
void checkText(double value) {
  const QString text = numberToText(value);
  FUZZ_CHECK(looksNumeric(text));
  const std::optional<double> back = parseNumber(text);
  FUZZ_CHECK(back.has_value());
  FUZZ_CHECK(numberToText(*back) == text);
  // 15 significant digits: the value read back is within half a unit of the 15th digit.
  FUZZ_CHECK(std::fabs(*back - value) <= std::fabs(value) * 1e-14 || std::fabs(value) < DBL_MIN);
}

void checkDouble(double value) {
  if (!std::isfinite(value)) return;
  checkText(value);
  // The same value cut to 15 significant digits reads back exactly, except below the normal
  // range, where a double holds fewer digits than that.
  char decimal[64];
  std::snprintf(decimal, sizeof decimal, "%.14e", value);
  errno = 0;
  const double short15 = std::strtod(decimal, nullptr);
  if (!std::isfinite(short15) || std::fabs(short15) < DBL_MIN) return;
  FUZZ_CHECK(parseNumber(numberToText(short15)) == short15);

  const std::optional<std::int32_t> rounded = quill::roundToInt32(value);
  if (rounded)
    FUZZ_CHECK(std::fabs(double(*rounded) - value) <= 0.5);
  else
    FUZZ_CHECK(!(value > -2147483648.5 && value < 2147483647.5));
}

void checkTypedText(const QString& text) {
  const bool numeric = looksNumeric(text);
  const std::optional<double> value = parseNumber(text);
  // Surrounding blanks never change the verdict.
  FUZZ_CHECK(looksNumeric(QStringLiteral(" \t") + text + QStringLiteral("\t ")) == numeric);
  if (value) {
    FUZZ_CHECK(numeric);
    FUZZ_CHECK(std::isfinite(*value));
    checkText(*value);
  }
  if (!numeric) return;
  // A numeric text is plain ASCII; strtod reads the same syntax (and more, which the numeric
  // test has already ruled out). Only a value too large for a double may be refused.
  const std::string ascii = text.trimmed().toStdString();
  errno = 0;
  char* end = nullptr;
  const double reference = std::strtod(ascii.c_str(), &end);
  FUZZ_CHECK(end == ascii.c_str() + ascii.size());
  if (std::isinf(reference)) {
    FUZZ_CHECK(!value.has_value());
    return;
  }
  FUZZ_CHECK(value.has_value());
  // Values too small for a double may read as zero rather than as the nearest subnormal.
  FUZZ_CHECK(*value == reference || (std::fabs(reference) < DBL_MIN && *value == 0));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  checkTypedText(QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size)));

  // Short inputs fill the low bytes; the rest stay zero.
  double value = 0;
  if (size > 0) std::memcpy(&value, data, size < sizeof value ? size : sizeof value);
  checkDouble(value);
  return 0;
}
