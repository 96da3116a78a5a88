#include "data/Locale.h"

#include <cctype>

namespace zelk {
namespace {

struct KnownLocale {
    const char* name;  // language_TERRITORY
    int id;
    char separator;
};

// Locale numbers of some common locales; anything else gets kLocaleCustom.
constexpr KnownLocale kKnownLocales[] = {
    {"de_DE", kLocaleGerman, ','},
    {"en_US", kLocaleUsEnglish, '.'},
    {"en_GB", kLocaleUkEnglish, '.'},
    {"de_AT", 3079, ','},
    {"de_CH", 2055, '.'},
    {"de_LU", 4103, ','},
    {"en_AU", 3081, '.'},
    {"en_CA", 4105, '.'},
    {"en_IE", 6153, '.'},
    {"en_NZ", 5129, '.'},
    {"fr_FR", 1036, ','},
    {"it_IT", 1040, ','},
    {"es_ES", 3082, ','},
    {"nl_NL", 1043, ','},
    {"pl_PL", 1045, ','},
    {"sv_SE", 1053, ','},
};

}  // namespace

LocaleInfo LocaleInfo::FromId(int localeId, char separator) {
    LocaleInfo info;
    info.localeId = localeId;
    if (separator != 0) {
        info.decimalSeparator = separator;
    } else {
        info.decimalSeparator = '.';
        for (const auto& known : kKnownLocales)
            if (known.id == localeId) info.decimalSeparator = known.separator;
    }
    info.shortMonths = MonthNames(localeId == kLocaleGerman ? kGermanShortMonths : kEnglishShortMonths);
    return info;
}

LocaleInfo LocaleInfo::FromName(std::string_view name, char separatorOfOther) {
    // Strip codeset and modifier: "de_DE.UTF-8@euro" -> "de_DE".
    const auto cut = name.find_first_of(".@");
    const std::string_view base = name.substr(0, cut);
    if (base.empty() || base == "C" || base == "POSIX") return FromId(kLocaleUsEnglish, '.');
    for (const auto& known : kKnownLocales) {
        if (base == known.name) {
            if (known.id == kLocaleGerman || known.id == kLocaleUsEnglish || known.id == kLocaleUkEnglish)
                return FromId(known.id, known.separator);
            return FromId(known.id, separatorOfOther);
        }
    }
    return FromId(kLocaleCustom, separatorOfOther);
}

}  // namespace zelk
