#pragma once

#include <string>
#include <string_view>

namespace zelk {

// Windows-1252 text as UTF-8, and the Greek code page 1253 the results grid uses.
std::string AnsiToUtf8(std::string_view text);
std::string GreekToUtf8(std::string_view text);

}  // namespace zelk
