#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zelk {

// A decimal integer text: leading blanks, an optional sign, decimal digits and
// nothing after them; the value must fit an int.
std::optional<int> TextToInt(std::string_view text);
int TextToIntDef(std::string_view text, int fallback);

// The integer form of the settings file and of edited table cells: like TextToInt,
// or hexadecimal digits after "0x" or "0X" (after the blanks and sign).
std::optional<int> TextToIntOrHex(std::string_view text);

// A decimal number in the locale's notation: optional sign, digits with the given
// decimal separator, optional exponent; blanks around it allowed. Held at extended
// precision, as the run-time library converts it.
std::optional<long double> TextToFloat(std::string_view text, char decimalSeparator);

// The value of a number text as a 32-bit float, 0 when the text is not a number.
float TextToSingleOrZero(std::string_view text, char decimalSeparator);

// Removes leading and trailing characters with codes up to 32.
std::string_view TrimControl(std::string_view text);

// Letters A to Z become a to z; no other byte changes.
inline char LowerChar(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
std::string LowerAscii(std::string_view text);

// Equal when letter case of A to Z is ignored.
bool SameTextAscii(std::string_view a, std::string_view b);

// Replaces every `from` by `to`.
std::string ReplaceChar(std::string text, char from, char to);

}  // namespace zelk
