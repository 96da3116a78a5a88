#pragma once

#include <array>
#include <string>
#include <string_view>

namespace zelk {

// Locale identifiers the program distinguishes.
inline constexpr int kLocaleGerman = 1031;
inline constexpr int kLocaleUsEnglish = 1033;
inline constexpr int kLocaleUkEnglish = 2057;
// Identifier for any locale without a known number of its own.
inline constexpr int kLocaleCustom = 4096;

// The parts of the system locale the program reads: the decimal separator,
// the locale identifier and the twelve short month names ("mmm").
// It is passed around as a value; nothing in the core reads the process locale.
struct LocaleInfo {
    char decimalSeparator = '.';
    int localeId = kLocaleUsEnglish;
    std::array<std::string, 12> shortMonths{};

    // A locale by identifier, with the short month names of the three known
    // identifiers; `separator` 0 takes the identifier's usual separator.
    static LocaleInfo FromId(int localeId, char separator = 0);

    // A locale from a POSIX locale name such as "de_DE.UTF-8", "en_GB" or "C".
    // `separatorOfOther` is the separator used for a locale that is none of the
    // three known ones (the window layer asks the system for it).
    static LocaleInfo FromName(std::string_view name, char separatorOfOther = '.');
};

}  // namespace zelk
