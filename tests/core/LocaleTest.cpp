#include <gtest/gtest.h>

#include <array>
#include <string>

#include "data/DateTexts.h"
#include "data/Locale.h"

namespace zelk {
namespace {

const std::array<std::string, 12> kGerman = {"Jan", "Feb", "Mrz", "Apr", "Mai", "Jun",
                                             "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"};
const std::array<std::string, 12> kEnglish = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

TEST(LocaleFromName, KnownLocalesGiveTheirIdAndSeparator) {
    const LocaleInfo german = LocaleInfo::FromName("de_DE.UTF-8", '?');
    EXPECT_EQ(german.localeId, 1031);
    EXPECT_EQ(german.decimalSeparator, ',');
    EXPECT_EQ(german.shortMonths, kGerman);

    const LocaleInfo us = LocaleInfo::FromName("en_US.UTF-8", '?');
    EXPECT_EQ(us.localeId, 1033);
    EXPECT_EQ(us.decimalSeparator, '.');
    EXPECT_EQ(us.shortMonths, kEnglish);

    const LocaleInfo uk = LocaleInfo::FromName("en_GB", '?');
    EXPECT_EQ(uk.localeId, 2057);
    EXPECT_EQ(uk.decimalSeparator, '.');
    EXPECT_EQ(uk.shortMonths, kEnglish);

    EXPECT_EQ(LocaleInfo::FromName("de_DE@euro").localeId, 1031);
    EXPECT_EQ(LocaleInfo::FromName("de_DE.ISO-8859-15@euro").decimalSeparator, ',');
}

TEST(LocaleFromName, NoLocaleCountsAsUsEnglish) {
    for (const char* name : {"C", "POSIX", "", "C.UTF-8", "C.utf8"}) {
        SCOPED_TRACE(name);
        const LocaleInfo info = LocaleInfo::FromName(name, ',');
        EXPECT_EQ(info.localeId, 1033);
        EXPECT_EQ(info.decimalSeparator, '.');
        EXPECT_EQ(info.shortMonths, kEnglish);
    }
}

TEST(LocaleFromName, OtherLocalesGetAnotherIdAndTheirOwnSeparator) {
    for (const char* name : {"fr_FR.UTF-8", "de_AT.UTF-8", "de_CH", "en_AU", "sv_SE", "xx_YY", "de", "en"}) {
        SCOPED_TRACE(name);
        for (const char separator : {',', '.'}) {
            const LocaleInfo info = LocaleInfo::FromName(name, separator);
            EXPECT_NE(info.localeId, 1031);
            EXPECT_NE(info.localeId, 1033);
            EXPECT_NE(info.localeId, 2057);
            EXPECT_EQ(info.decimalSeparator, separator);
        }
    }
}

TEST(LocaleFromId, SeparatorByIdOrGiven) {
    EXPECT_EQ(LocaleInfo::FromId(1031).decimalSeparator, ',');
    EXPECT_EQ(LocaleInfo::FromId(1033).decimalSeparator, '.');
    EXPECT_EQ(LocaleInfo::FromId(2057).decimalSeparator, '.');
    EXPECT_EQ(LocaleInfo::FromId(1031, '.').decimalSeparator, '.');
    EXPECT_EQ(LocaleInfo::FromId(1033, ',').decimalSeparator, ',');
    EXPECT_EQ(LocaleInfo::FromId(1031).shortMonths, kGerman);
    EXPECT_EQ(LocaleInfo::FromId(2057).shortMonths, kEnglish);
}

TEST(LocaleDefault, IsUsEnglishWithItsMonthNames) {
    const LocaleInfo info;
    EXPECT_EQ(info.localeId, 1033);
    EXPECT_EQ(info.decimalSeparator, '.');
    EXPECT_EQ(info.shortMonths, kEnglish);
    EXPECT_EQ(BuildMonthList("en", LocaleInfo{}), kEnglish);
    EXPECT_EQ(BuildMonthList("de", LocaleInfo{}), kGerman);
}

// A locale whose month names differ from both fixed lists shows which list was taken.
LocaleInfo MarkedLocale(int id) {
    LocaleInfo info = LocaleInfo::FromId(id);
    for (size_t i = 0; i < info.shortMonths.size(); ++i) info.shortMonths[i] = "L" + std::to_string(i);
    return info;
}

TEST(BuildMonthList, LocaleNamesOnlyForMatchingLanguageOrUkEnglish) {
    const MonthList localeNames = MarkedLocale(1031).shortMonths;
    EXPECT_EQ(BuildMonthList("de", MarkedLocale(1031)), localeNames);
    EXPECT_EQ(BuildMonthList("en", MarkedLocale(1033)), localeNames);
    EXPECT_EQ(BuildMonthList("de", MarkedLocale(2057)), localeNames);
    EXPECT_EQ(BuildMonthList("en", MarkedLocale(2057)), localeNames);
    EXPECT_EQ(BuildMonthList("xx", MarkedLocale(2057)), localeNames);

    EXPECT_EQ(BuildMonthList("de", MarkedLocale(1033)), kGerman);
    EXPECT_EQ(BuildMonthList("en", MarkedLocale(1031)), kEnglish);
    EXPECT_EQ(BuildMonthList("de", MarkedLocale(1036)), kGerman);
    EXPECT_EQ(BuildMonthList("en", MarkedLocale(4096)), kEnglish);
    // The language code is compared exactly: anything but "de" takes the English list.
    EXPECT_EQ(BuildMonthList("DE", MarkedLocale(1031)), kEnglish);
    EXPECT_EQ(BuildMonthList("", MarkedLocale(1033)), kEnglish);
}

TEST(BuildMonthList, RealLocales) {
    // de on a UK locale gives the locale's English names; de on a US locale the German list.
    EXPECT_EQ(BuildMonthList("de", LocaleInfo::FromName("en_GB.UTF-8")), kEnglish);
    EXPECT_EQ(BuildMonthList("de", LocaleInfo::FromName("en_US.UTF-8")), kGerman);
    EXPECT_EQ(BuildMonthList("en", LocaleInfo::FromName("de_DE.UTF-8")), kEnglish);
    EXPECT_EQ(BuildMonthList("de", LocaleInfo::FromName("de_DE.UTF-8")), kGerman);
    EXPECT_EQ(BuildMonthList("de", LocaleInfo::FromName("C")), kGerman);
}

TEST(MonthIndex, IgnoresCaseAndGivesMinusOneWhenMissing) {
    const MonthList english = BuildMonthList("en", LocaleInfo::FromId(1033));
    EXPECT_EQ(MonthIndex(english, "Jan"), 0);
    EXPECT_EQ(MonthIndex(english, "may"), 4);
    EXPECT_EQ(MonthIndex(english, "MAY"), 4);
    EXPECT_EQ(MonthIndex(english, "dEc"), 11);
    EXPECT_EQ(MonthIndex(english, "Mrz"), -1);
    EXPECT_EQ(MonthIndex(english, ""), -1);
    EXPECT_EQ(MonthIndex(english, "Ma"), -1);
    EXPECT_EQ(MonthIndex(english, "Mayo"), -1);
}

}  // namespace
}  // namespace zelk
