#pragma once

#include <string_view>

namespace zelk {

// The language codes. Every reader compares a code exactly, and they differ in
// their fallback: some take English only for "en", others German only for "de".
inline constexpr char kGermanCode[] = "de";
inline constexpr char kEnglishCode[] = "en";

inline bool IsEnglishCode(std::string_view code) { return code == kEnglishCode; }
inline bool IsGermanCode(std::string_view code) { return code == kGermanCode; }

}  // namespace zelk
