#pragma once

#include <array>
#include <string>
#include <string_view>

#include "data/Locale.h"

namespace zelk {

// A point in time: days since 1899-12-30 plus the fraction of the day.
using DateTime = double;

inline constexpr int kMinutesPerDay = 1440;
inline constexpr long long kMSecsPerDay = 86400000;

// Calendar helpers on DateTime values; they raise ConversionError for a date
// or clock time that does not exist.
DateTime EncodeDate(int year, int month, int day);
DateTime EncodeTime(int hour, int minute, int second, int msec);
void DecodeDate(DateTime value, int& year, int& month, int& day);
bool IsLeapYear(int year);
int DaysInMonth(int year, int month);

// The twelve month abbreviations, entry 0 for January.
using MonthList = std::array<std::string, 12>;

// The month list for a language code and the system locale: the locale's short
// names for "de" on 1031, "en" on 1033 or any language on 2057, otherwise the
// fixed German list for "de" and the fixed English list for anything else.
MonthList BuildMonthList(std::string_view language, const LocaleInfo& locale);

// Index of the first entry equal to `month` without regard to case; -1 when none.
int MonthIndex(const MonthList& months, std::string_view month);

// Date texts of the form dd-mon-yy, read and formed against one month list.
class DateTexts {
public:
    explicit DateTexts(const MonthList& months) : months_(months) {}

    DateTime ParseDayText(std::string_view text) const;
    std::string NextDayText(std::string_view text) const;
    // `days` 0 gives the text itself; counts above 3 count as 3.
    std::string ShiftDayText(std::string_view text, int days) const;
    DateTime DayTimeValue(std::string_view date, std::string_view clock) const;
    // Minutes from startHour:00 of the chosen day to `value`, read to the nearest millisecond.
    int GridMinuteOf(DateTime value, std::string_view selectedDate, int startHour) const;

private:
    const MonthList& months_;
};

// Minutes of the day of a clock text: its first two characters as the hour and its
// characters 4 and 5 as the minute; anything after them is ignored. Raises
// ConversionError when they are not numbers or out of range.
int ClockMinutes(std::string_view clock);
// A date plus the time of day of a number of minutes (0 to 1439).
DateTime AddClockMinutes(DateTime day, int clockMinutes);

struct SplitTime {
    int days = 0;
    int hours = 0;
    int minutes = 0;
};
inline SplitTime SplitMinutes(int minutes) {
    return {minutes / kMinutesPerDay, (minutes % kMinutesPerDay) / 60, (minutes % kMinutesPerDay) % 60};
}

// "hh:mm" of hours and minutes from 0 to 99, written in place.
struct ClockText {
    char text[5];
    ClockText(int hours, int minutes)
        : text{static_cast<char>('0' + hours / 10), static_cast<char>('0' + hours % 10), ':',
               static_cast<char>('0' + minutes / 10), static_cast<char>('0' + minutes % 10)} {}
    std::string_view View() const { return {text, sizeof text}; }
};

// "HH:MM", each part at least two digits.
std::string TimeText(int hours, int minutes);
// Carries minutes above 59 into hours and hours above 23 into the day counter,
// leaving the carried values in the arguments; returns the clock text.
std::string TimeTextCarry(int& hours, int& minutes, int& days);

// Two-digit, zero-padded decimal like "%.2d".
std::string TwoDigits(int value);

}  // namespace zelk
