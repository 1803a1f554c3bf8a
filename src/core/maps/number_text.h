#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>

namespace quill {

// The program's one set of rules for numbers written as text: the grid, the count field, the
// compute fields and the parameter files all go through here. The period is the only decimal
// separator, whatever the user's locale, so files read back on any machine.

// True when, after surrounding blanks, the text is an optional sign, digits with an optional
// period and fraction (".5" and "5." included) and an optional exponent ("1e-3", "2E+05").
// Hex, "inf", "nan" and empty texts are not numbers.
bool looksNumeric(QStringView text);

// The value of a numeric text; nothing when the text is not numeric or its value is not finite
// ("1e999"). Values too small for a double read as zero.
std::optional<double> parseNumber(QStringView text);

// The default conversion of a number to text: at most 15 significant digits, no trailing zeros,
// "0" for zero, a leading zero before the period ("0.5", "-0.867"), and exponent form ("1E-05",
// "1E+20") below 1e-4 and from 1e15 on. Whole numbers have no period.
QString numberToText(double value);

// Rounds to the nearest whole number, a half to the even neighbour (2.5 → 2, 3.5 → 4); nothing
// when the result does not fit a 32-bit integer, or the value is not finite.
std::optional<std::int32_t> roundToInt32(double value);

}  // namespace quill
