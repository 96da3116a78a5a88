#include "data/DateTexts.h"

#include <cmath>
#include <cstdio>

#include "data/Errors.h"
#include "data/Language.h"
#include "data/TextNumber.h"

namespace zelk {
namespace {

// Day serial of 1899-12-30 counted from 0001-01-01 as day 1.
constexpr long long kDateDelta = 693594;

long long DaysBeforeYear(int year) {
    const long long y = year - 1;
    return y * 365 + y / 4 - y / 100 + y / 400;
}

int IntOrRaise(std::string_view part, std::string_view whole, const char* what) {
    const auto value = TextToInt(part);
    if (!value) {
        throw ConversionError("'" + std::string(part) + "' is not a valid integer value (" + what + " of '" +
                              std::string(whole) + "')");
    }
    return *value;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view Substr(std::string_view text, size_t from, size_t count) {
    if (from >= text.size()) return {};
    return text.substr(from, count);
}

}  // namespace

bool IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int DaysInMonth(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

DateTime EncodeDate(int year, int month, int day) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) {
        throw ConversionError("Invalid date: day " + std::to_string(day) + ", month " + std::to_string(month) +
                              ", year " + std::to_string(year));
    }
    long long days = DaysBeforeYear(year);
    for (int m = 1; m < month; ++m) days += DaysInMonth(year, m);
    days += day;
    return static_cast<DateTime>(days - kDateDelta);
}

DateTime EncodeTime(int hour, int minute, int second, int msec) {
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || msec < 0 || msec > 999) {
        throw ConversionError("Invalid time: " + TwoDigits(hour) + ":" + TwoDigits(minute));
    }
    const long long ms = ((hour * 60LL + minute) * 60 + second) * 1000 + msec;
    return static_cast<DateTime>(static_cast<long double>(ms) / kMSecsPerDay);
}

void DecodeDate(DateTime value, int& year, int& month, int& day) {
    long long days = static_cast<long long>(std::floor(value)) + kDateDelta;  // days since 0001-01-01, 1-based
    // Civil date from the day number (Gregorian proleptic).
    year = static_cast<int>(static_cast<double>(days - 1) / 365.2425) + 1;
    while (DaysBeforeYear(year) >= days) --year;
    while (DaysBeforeYear(year + 1) < days) ++year;
    long long rest = days - DaysBeforeYear(year);
    month = 1;
    while (rest > DaysInMonth(year, month)) {
        rest -= DaysInMonth(year, month);
        ++month;
    }
    day = static_cast<int>(rest);
}

MonthList BuildMonthList(std::string_view language, const LocaleInfo& locale) {
    const bool useLocale = (IsGermanCode(language) && locale.localeId == kLocaleGerman) ||
                           (IsEnglishCode(language) && locale.localeId == kLocaleUsEnglish) ||
                           locale.localeId == kLocaleUkEnglish;
    if (useLocale) return locale.shortMonths;
    return MonthNames(IsGermanCode(language) ? kGermanShortMonths : kEnglishShortMonths);
}

int MonthIndex(const MonthList& months, std::string_view month) {
    for (size_t i = 0; i < months.size(); ++i)
        if (SameTextAscii(months[i], month)) return static_cast<int>(i);
    return -1;
}

DateTime DateTexts::ParseDayText(std::string_view text) const {
    const int day = IntOrRaise(Substr(text, 0, 2), text, "day");
    const std::string_view rest = Substr(text, 3, std::string_view::npos);
    const size_t hyphen = rest.find('-');
    // Without a hyphen the month text is empty and the year is read from the start.
    const std::string_view monthText = hyphen == std::string_view::npos ? std::string_view{} : rest.substr(0, hyphen);
    const size_t yearFrom = hyphen == std::string_view::npos ? 0 : hyphen + 1;
    const int year = IntOrRaise(Substr(rest, yearFrom, 2), text, "year") + 2000;
    int month = MonthIndex(months_, monthText) + 1;
    if (month == 0) month = 1;  // an unknown month abbreviation reads as January
    try {
        return EncodeDate(year, month, day);
    } catch (const ConversionError&) {
        throw ConversionError("'" + std::string(text) + "' is not a valid date");
    }
}

std::string DateTexts::NextDayText(std::string_view text) const {
    const DateTime next = ParseDayText(text) + 1;
    int year = 0, month = 0, day = 0;
    DecodeDate(next, year, month, day);
    return TwoDigits(day) + "-" + LowerAscii(months_[static_cast<size_t>(month - 1)]) + "-" + TwoDigits(year % 100);
}

std::string DateTexts::ShiftDayText(std::string_view text, int days) const {
    std::string result(text);
    const int count = days > 3 ? 3 : days;
    for (int i = 0; i < count; ++i) result = NextDayText(result);
    return result;
}

int ClockMinutes(std::string_view clock) {
    if (clock.size() >= 5 && IsDigit(clock[0]) && IsDigit(clock[1]) && IsDigit(clock[3]) && IsDigit(clock[4])) {
        const int hour = (clock[0] - '0') * 10 + (clock[1] - '0');
        const int minute = (clock[3] - '0') * 10 + (clock[4] - '0');
        if (hour <= 23 && minute <= 59) return hour * 60 + minute;
    }
    const int hour = IntOrRaise(Substr(clock, 0, 2), clock, "hour");
    const int minute = IntOrRaise(Substr(clock, 3, 2), clock, "minute");
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59)
        throw ConversionError("'" + std::string(clock) + "' is not a valid time");
    return hour * 60 + minute;
}

DateTime AddClockMinutes(DateTime day, int clockMinutes) {
    const DateTime time = EncodeTime(clockMinutes / 60, clockMinutes % 60, 0, 0);
    return static_cast<DateTime>(static_cast<long double>(day) + time);
}

DateTime DateTexts::DayTimeValue(std::string_view date, std::string_view clock) const {
    const DateTime day = ParseDayText(date);
    return AddClockMinutes(day, ClockMinutes(clock));
}

int DateTexts::GridMinuteOf(DateTime value, std::string_view selectedDate, int startHour) const {
    if (startHour < 0 || startHour > 23)
        throw ConversionError("Start hour " + std::to_string(startHour) + " is not a valid hour");
    const DateTime base =
        static_cast<DateTime>(static_cast<long double>(ParseDayText(selectedDate)) + EncodeTime(startHour, 0, 0, 0));
    const double d = value - base;
    const double whole = std::trunc(d);
    // The fraction read to the nearest millisecond; a fraction that rounds up to a
    // whole day counts as 24 hours, so the result stays on the right minute.
    const long long ms = std::llround(std::fabs(d - whole) * kMSecsPerDay);
    return static_cast<int>(whole) * kMinutesPerDay + static_cast<int>(ms / 3600000) * 60 +
           static_cast<int>((ms % 3600000) / 60000);
}

std::string TwoDigits(int value) {
    if (value >= 0 && value <= 99) {
        const char digits[2] = {static_cast<char>('0' + value / 10), static_cast<char>('0' + value % 10)};
        return std::string(digits, 2);
    }
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%.2d", value);
    return buffer;
}

std::string TimeText(int hours, int minutes) {
    if (hours >= 0 && hours <= 99 && minutes >= 0 && minutes <= 99)
        return std::string(ClockText(hours, minutes).View());
    return TwoDigits(hours) + ":" + TwoDigits(minutes);
}

std::string TimeTextCarry(int& hours, int& minutes, int& days) {
    while (minutes >= 60) {
        minutes -= 60;
        ++hours;
    }
    while (hours >= 24) {
        hours -= 24;
        ++days;
    }
    return TimeText(hours, minutes);
}

}  // namespace zelk
