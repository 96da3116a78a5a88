#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "data/DateTexts.h"
#include "data/Errors.h"
#include "data/Locale.h"

namespace zelk {
namespace {

const MonthList kEnglishList = BuildMonthList("en", LocaleInfo::FromId(1031));
const MonthList kGermanList = BuildMonthList("de", LocaleInfo::FromId(1033));

// Whole minutes of a point in time, for exact comparisons.
long long Minutes(DateTime value) { return std::llround(value * 1440.0); }

DateTime At(int year, int month, int day, int hour = 0, int minute = 0) {
    return EncodeDate(year, month, day) + EncodeTime(hour, minute, 0, 0);
}

// Expects a ConversionError whose message names the offending text.
template <typename F>
void ExpectConversionError(F&& call, const std::string& offending) {
    try {
        call();
        ADD_FAILURE() << "no conversion error for '" << offending << "'";
    } catch (const ConversionError& e) {
        EXPECT_NE(std::string(e.what()).find(offending), std::string::npos) << e.what();
    }
}

TEST(Calendar, EncodeAndDecode) {
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(EncodeDate(1900, 1, 1), 2.0);
    EXPECT_EQ(EncodeDate(2009, 5, 14), 39947.0);
    EXPECT_EQ(EncodeDate(2008, 2, 29) + 1, EncodeDate(2008, 3, 1));
    int y = 0, m = 0, d = 0;
    for (const DateTime day :
         {EncodeDate(2000, 2, 29), EncodeDate(2009, 12, 31), EncodeDate(2100, 3, 1), EncodeDate(1999, 1, 1)}) {
        DecodeDate(day, y, m, d);
        EXPECT_EQ(EncodeDate(y, m, d), day);
    }
    DecodeDate(EncodeDate(2010, 1, 1) - 1, y, m, d);
    EXPECT_EQ(y, 2009);
    EXPECT_EQ(m, 12);
    EXPECT_EQ(d, 31);
    EXPECT_EQ(EncodeTime(12, 0, 0, 0), 0.5);
    EXPECT_THROW(EncodeDate(2009, 2, 29), ConversionError);
    EXPECT_THROW(EncodeDate(2009, 4, 31), ConversionError);
    EXPECT_THROW(EncodeDate(2009, 13, 1), ConversionError);
    EXPECT_THROW(EncodeDate(2009, 1, 0), ConversionError);
    EXPECT_THROW(EncodeTime(24, 0, 0, 0), ConversionError);
    EXPECT_THROW(EncodeTime(0, 60, 0, 0), ConversionError);
}

TEST(NextDayText, MonthAndYearEndsWithTheEnglishList) {
    const DateTexts texts(kEnglishList);
    EXPECT_EQ(texts.NextDayText("28-feb-08"), "29-feb-08");
    EXPECT_EQ(texts.NextDayText("29-feb-08"), "01-mar-08");
    EXPECT_EQ(texts.NextDayText("28-feb-09"), "01-mar-09");
    EXPECT_EQ(texts.NextDayText("31-dec-09"), "01-jan-10");
    EXPECT_EQ(texts.NextDayText("31-dec-99"), "01-jan-00");  // 2099 to 2100
    EXPECT_EQ(texts.NextDayText("14-May-09"), "15-may-09");  // the formed month is lower case
    EXPECT_EQ(texts.NextDayText("09-SEP-09"), "10-sep-09");
}

TEST(NextDayText, GermanList) {
    const DateTexts texts(kGermanList);
    EXPECT_EQ(texts.NextDayText("31-mrz-09"), "01-apr-09");
    EXPECT_EQ(texts.NextDayText("30-apr-09"), "01-mai-09");
    EXPECT_EQ(texts.NextDayText("31-Okt-09"), "01-nov-09");
    // The English abbreviation mar is not in the German list: it reads as January.
    EXPECT_EQ(texts.ParseDayText("14-mar-09"), EncodeDate(2009, 1, 14));
    EXPECT_EQ(texts.NextDayText("14-mar-09"), "15-jan-09");
    EXPECT_EQ(texts.NextDayText("31-mar-09"), "01-feb-09");
}

TEST(ParseDayText, MonthCaseAndYearDigits) {
    const DateTexts texts(kEnglishList);
    const DateTime may14 = EncodeDate(2009, 5, 14);
    EXPECT_EQ(texts.ParseDayText("14-May-09"), may14);
    EXPECT_EQ(texts.ParseDayText("14-MAY-09"), may14);
    EXPECT_EQ(texts.ParseDayText("14-may-09"), may14);
    // Only two characters of the year are read: 2009 reads as 20.
    EXPECT_EQ(texts.ParseDayText("14-may-2009"), EncodeDate(2020, 5, 14));
    EXPECT_EQ(texts.ParseDayText("01-feb-08"), EncodeDate(2008, 2, 1));
    // A month text missing from the list reads as January.
    EXPECT_EQ(texts.ParseDayText("14-xyz-09"), EncodeDate(2009, 1, 14));
    EXPECT_EQ(texts.ParseDayText("14--09"), EncodeDate(2009, 1, 14));
}

TEST(ParseDayText, ConversionErrorsNameTheText) {
    const DateTexts texts(kEnglishList);
    ExpectConversionError([&] { texts.ParseDayText("1-may-09"); }, "1-may-09");
    ExpectConversionError([&] { texts.ParseDayText("xx-may-09"); }, "xx-may-09");
    ExpectConversionError([&] { texts.ParseDayText("14-may-x9"); }, "14-may-x9");
    ExpectConversionError([&] { texts.ParseDayText("14-may-"); }, "14-may-");
    ExpectConversionError([&] { texts.ParseDayText(""); }, "''");
    // Days that are not in their month.
    ExpectConversionError([&] { texts.ParseDayText("00-may-09"); }, "00-may-09");
    ExpectConversionError([&] { texts.ParseDayText("31-apr-09"); }, "31-apr-09");
    ExpectConversionError([&] { texts.ParseDayText("29-feb-09"); }, "29-feb-09");
    ExpectConversionError([&] { texts.NextDayText("32-jan-09"); }, "32-jan-09");
    EXPECT_NO_THROW(texts.ParseDayText("29-feb-08"));
}

TEST(ShiftDayText, CountsZeroToThree) {
    const DateTexts texts(kEnglishList);
    EXPECT_EQ(texts.ShiftDayText("30-May-09", 0), "30-May-09");  // the text itself, as given
    EXPECT_EQ(texts.ShiftDayText("30-may-09", 1), "31-may-09");
    EXPECT_EQ(texts.ShiftDayText("30-may-09", 2), "01-jun-09");
    EXPECT_EQ(texts.ShiftDayText("30-may-09", 3), "02-jun-09");
    EXPECT_EQ(texts.ShiftDayText("30-may-09", 7), "02-jun-09");
    // Count 0 does not read the text, so a bad text passes; any shift reads it.
    EXPECT_EQ(texts.ShiftDayText("bad", 0), "bad");
    EXPECT_THROW(texts.ShiftDayText("bad", 1), ConversionError);
}

TEST(DayTimeValue, IgnoresSecondsAndChecksTheClock) {
    const DateTexts texts(kEnglishList);
    EXPECT_EQ(Minutes(texts.DayTimeValue("14-may-09", "10:04:30")), Minutes(At(2009, 5, 14, 10, 4)));
    EXPECT_EQ(Minutes(texts.DayTimeValue("14-may-09", "00:00")), Minutes(At(2009, 5, 14)));
    EXPECT_EQ(Minutes(texts.DayTimeValue("14-May-09", "23:59")), Minutes(At(2009, 5, 14, 23, 59)));
    ExpectConversionError([&] { texts.DayTimeValue("14-may-09", "7:42"); }, "7:42");
    ExpectConversionError([&] { texts.DayTimeValue("14-may-09", "24:00"); }, "24:00");
    ExpectConversionError([&] { texts.DayTimeValue("14-may-09", "10:60"); }, "10:60");
    ExpectConversionError([&] { texts.DayTimeValue("14-may-09", "10:"); }, "10:");
    ExpectConversionError([&] { texts.DayTimeValue("14-may-09", ""); }, "''");
    ExpectConversionError([&] { texts.DayTimeValue("31-jun-09", "10:00"); }, "31-jun-09");
}

TEST(GridMinuteOf, FromStartHourOfTheChosenDay) {
    const DateTexts texts(kEnglishList);
    EXPECT_EQ(texts.GridMinuteOf(At(2009, 5, 14, 7, 0), "14-May-09", 7), 0);
    EXPECT_EQ(texts.GridMinuteOf(At(2009, 5, 15, 6, 59), "14-May-09", 7), 1439);
    EXPECT_EQ(texts.GridMinuteOf(At(2009, 5, 17, 6, 59), "14-May-09", 7), 4319);
    EXPECT_EQ(texts.GridMinuteOf(At(2009, 5, 14, 23, 59), "14-may-09", 0), 1439);
    EXPECT_EQ(texts.GridMinuteOf(At(2009, 6, 1, 0, 59), "31-may-09", 19), 359);
    EXPECT_EQ(texts.GridMinuteOf(At(2010, 1, 1, 0, 30), "31-dec-09", 23), 90);
    // Every minute of the three days comes back exactly.
    const DateTexts german(kGermanList);
    for (int minute = 0; minute < 4320; ++minute) {
        const DateTime value = german.DayTimeValue("29-feb-08", "05:00") + minute / 1440.0;
        const DateTime rounded = std::round(value * 1440.0) / 1440.0;
        ASSERT_EQ(german.GridMinuteOf(rounded, "29-Feb-08", 5), minute);
    }
}

TEST(GridMinuteOf, StartHourAboveTwentyThreeIsAConversionError) {
    const DateTexts texts(kEnglishList);
    EXPECT_THROW(texts.GridMinuteOf(At(2009, 5, 15), "14-may-09", 24), ConversionError);
    EXPECT_THROW(texts.GridMinuteOf(At(2009, 5, 15), "14-may-09", -1), ConversionError);
    EXPECT_THROW(texts.GridMinuteOf(At(2009, 5, 15), "bad", 7), ConversionError);
}

TEST(SplitMinutes, DaysHoursMinutes) {
    const SplitTime a = SplitMinutes(1500);
    EXPECT_EQ(a.days, 1);
    EXPECT_EQ(a.hours, 1);
    EXPECT_EQ(a.minutes, 0);
    const SplitTime b = SplitMinutes(5699);
    EXPECT_EQ(b.days, 3);
    EXPECT_EQ(b.hours, 22);
    EXPECT_EQ(b.minutes, 59);
    const SplitTime zero = SplitMinutes(0);
    EXPECT_EQ(zero.days + zero.hours + zero.minutes, 0);
}

TEST(TimeText, PaddedAndCarried) {
    EXPECT_EQ(TimeText(7, 5), "07:05");
    EXPECT_EQ(TimeText(0, 0), "00:00");
    EXPECT_EQ(TimeText(23, 59), "23:59");

    int h = 23, m = 125, days = 0;
    EXPECT_EQ(TimeTextCarry(h, m, days), "01:05");
    EXPECT_EQ(h, 1);
    EXPECT_EQ(m, 5);
    EXPECT_EQ(days, 1);

    h = 10, m = 69, days = 0;
    EXPECT_EQ(TimeTextCarry(h, m, days), "11:09");
    EXPECT_EQ(days, 0);

    h = 19, m = 359, days = 2;  // last minute of a 360-minute window from 19:00
    EXPECT_EQ(TimeTextCarry(h, m, days), "00:59");
    EXPECT_EQ(days, 3);
}

}  // namespace
}  // namespace zelk
