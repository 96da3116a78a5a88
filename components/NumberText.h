#pragma once

#include <string>

namespace zelk {

enum class FloatFormat { General = 0, Exponent = 1, Fixed = 2, Number = 3, Currency = 4 };

// Float to text as the numeric edit writes it. For Fixed: rounded to at most
// `precision` significant digits and at most `digits` decimals, a remaining digit
// of 5 or more rounding up in magnitude (decided on the exact binary value), then
// exactly `digits` decimals after the separator; scientific notation when the
// integer part has more digits than `precision`.
std::string FloatToStrF(long double value, FloatFormat format, int precision, int digits, char decimalSeparator);

// printf-style "%<width>.<decimals>f" with the same rounding and separator rules,
// padded with leading blanks to `width`.
std::string FormatFixed(long double value, int width, int decimals, char decimalSeparator);

}  // namespace zelk
