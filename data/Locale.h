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

// The fixed short month names, entry 0 for January.
inline constexpr std::array<std::string_view, 12> kGermanShortMonths = {"Jan", "Feb", "Mrz", "Apr", "Mai", "Jun",
                                                                        "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"};
inline constexpr std::array<std::string_view, 12> kEnglishShortMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

inline std::array<std::string, 12> MonthNames(const std::array<std::string_view, 12>& names) {
    std::array<std::string, 12> list;
    for (size_t i = 0; i < names.size(); ++i) list[i] = names[i];
    return list;
}

// The parts of the system locale the program reads: the decimal separator,
// the locale identifier and the twelve short month names ("mmm").
// It is passed around as a value; nothing in the core reads the process locale.
// The default is the US English locale with its month names.
struct LocaleInfo {
    char decimalSeparator = '.';
    int localeId = kLocaleUsEnglish;
    std::array<std::string, 12> shortMonths = MonthNames(kEnglishShortMonths);

    // A locale by identifier, with the short month names of the three known
    // identifiers; `separator` 0 takes the identifier's usual separator.
    static LocaleInfo FromId(int localeId, char separator = 0);

    // A locale from a POSIX locale name such as "de_DE.UTF-8", "en_GB" or "C".
    // `separatorOfOther` is the separator used for a locale that is none of the
    // three known ones (the window layer asks the system for it).
    static LocaleInfo FromName(std::string_view name, char separatorOfOther = '.');
};

}  // namespace zelk
