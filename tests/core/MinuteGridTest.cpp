#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "data/DateTexts.h"
#include "data/Errors.h"
#include "data/Locale.h"
#include "data/MinuteGrid.h"
#include "data/TextNumber.h"
#include "windowlogic/MainCore.h"

namespace zelk {
namespace {

// The state one grid build works on, with the demo grid and recording call-outs.
class GridTest : public ::testing::Test {
protected:
    SensorTab sensor;
    WerteTab werte;
    MonthList months = BuildMonthList("en", LocaleInfo::FromId(1033));
    std::string selectedDate;
    std::string rasterText = "5";
    std::string language = "de";
    std::string currentDate = "before";
    std::string currentTime = "before";
    int startHour = 19;
    int gridStep = 5;
    GridInput input{sensor,   werte,       months,      selectedDate, rasterText, 0,
                    language, currentDate, currentTime, startHour,    gridStep};
    test::RecordingHooks recorder;
    std::vector<int> startHourAtBackground;
    int filledCalls = 0;
    int nextId = 1;

    void SetUp() override { werte.CreateWithDemo(kDemoValues); }

    void Add(const std::string& date, const std::string& time, double value) {
        sensor.Append(nextId++, LowerAscii(date), time, value);
    }

    // Chooses the day and the step as the day dialog would: a listed item or a typed text.
    void Choose(const std::string& day, const std::string& step, int itemIndex) {
        selectedDate = day;
        rasterText = step;
        input.rasterIndex = itemIndex;
    }

    void Build() {
        GridCallbacks callbacks;
        callbacks.startHourSet = [this] { startHourAtBackground.push_back(startHour); };
        callbacks.gridFilled = [this] { ++filledCalls; };
        MinuteGrid grid(input, recorder.hooks, std::move(callbacks));
        grid.BuildMinuteGrid();
    }

    // The written rows: minute to value.
    std::map<int, double> Written() const {
        std::map<int, double> written;
        for (int row = 0; row < werte.RowCount(); ++row)
            if (!werte.GlukoseEmpty(row)) written[werte.Minute(row)] = werte.Glukose(row);
        return written;
    }

    std::map<int, double> WrittenNonZero() const {
        std::map<int, double> written;
        for (const auto& [minute, value] : Written())
            if (value != 0.0) written[minute] = value;
        return written;
    }

    bool DemoIntact() const {
        for (int row = 0; row < 4320; ++row) {
            const double expected = row % 60 == 0 && row < 2880 ? kDemoValues[static_cast<size_t>(row / 60)] : 0.0;
            if (werte.Minute(row) != row || werte.GlukoseEmpty(row) || werte.Glukose(row) != expected) return false;
        }
        return true;
    }
};

double F(float value) { return static_cast<double>(value); }

// ---- start hour ----

TEST(FirstReadingHour, FirstTwoCharacters) {
    EXPECT_EQ(FirstReadingHour("07:42"), 7);
    EXPECT_EQ(FirstReadingHour("23:59:59"), 23);
    EXPECT_EQ(FirstReadingHour("7:42"), 0);
    EXPECT_EQ(FirstReadingHour(""), 0);
    EXPECT_EQ(FirstReadingHour("x"), 0);
    EXPECT_EQ(FirstReadingHour("25:00"), 25);
    EXPECT_EQ(GridStepOf("15"), 15);
    EXPECT_EQ(GridStepOf("abc"), 5);
    EXPECT_EQ(GridStepOf(""), 5);
    EXPECT_EQ(GridStepOf("7 "), 5);
}

TEST_F(GridTest, StartHourFromTheFirstReadingWithAValue) {
    Add("14-may-09", "05:00", 0.0);
    Add("14-may-09", "06:10", 0.0);
    Add("14-may-09", "07:42", 5.0);
    Add("14-may-09", "08:00", 6.0);
    Add("17-may-09", "06:59", 9.0);
    Add("17-may-09", "07:00", 11.0);
    Add("13-may-09", "01:00", 2.0);
    sensor.SetFilterDay("13-may-09");  // a preview left a filter on
    sensor.SetFiltered(true);
    Choose("14-May-09", "1", -1);
    Build();

    EXPECT_EQ(startHour, 7);
    EXPECT_EQ(currentDate, "14-may-09");
    EXPECT_EQ(currentTime, "07:42");
    EXPECT_EQ(gridStep, 1);
    EXPECT_EQ(startHourAtBackground, std::vector<int>{7});
    EXPECT_EQ(filledCalls, 1);
    EXPECT_FALSE(sensor.Filtered());
    // Minute 0 is 07:00 of the chosen day, minute 4319 is 06:59 three days later.
    EXPECT_EQ(WrittenNonZero(), (std::map<int, double>{{42, 5.0}, {60, 6.0}, {4319, 9.0}}));
    EXPECT_EQ(Written().size(), 4320u);  // step 1 writes every minute
    for (int row = 0; row < 4320; ++row) EXPECT_TRUE(std::holds_alternative<std::monostate>(werte.Value(row, 2)));
}

TEST_F(GridTest, OneDigitHourGivesStartHourZero) {
    Add("14-may-09", "7:42", 5.0);
    Choose("14-may-09", "5", 0);
    Build();
    EXPECT_EQ(startHour, 0);
    EXPECT_EQ(currentTime, "7:42");
    EXPECT_EQ(startHourAtBackground, std::vector<int>{0});
    // "7:42" sorts after every zero-padded time of its hour, so no mean window finds it.
    EXPECT_TRUE(WrittenNonZero().empty());
}

TEST_F(GridTest, DayWithoutValuesTakesTheLastRowAndGivesZeros) {
    Add("14-may-09", "08:00", 0.0);
    Add("14-may-09", "09:30", 0.0);
    Add("15-may-09", "01:00", 7.0);
    Choose("14-may-09", "15", 1);
    Build();
    EXPECT_EQ(startHour, 9);
    EXPECT_EQ(currentTime, "09:30");
    EXPECT_EQ(WrittenNonZero(), (std::map<int, double>{{(24 - 9 + 1) * 60, 7.0}}));
    EXPECT_EQ(Written().size(), 288u);
    EXPECT_EQ(filledCalls, 1);
}

// ---- mean path ----

TEST_F(GridTest, StepFiveWindows) {
    Add("14-may-09", "07:00", 4.0);
    Add("14-may-09", "07:04:30", 6.0);  // still in 07:00 to 07:04
    Add("14-may-09", "07:05", 8.0);     // only in the next window
    Add("14-may-09", "07:19", 1.5);
    Add("14-may-09", "07:16", 2.5);
    Choose("14-may-09", "5", 0);
    Build();
    EXPECT_EQ(startHour, 7);
    const std::map<int, double> written = Written();
    EXPECT_EQ(written.size(), 864u);
    for (const auto& [minute, value] : written) EXPECT_EQ(minute % 5, 0);
    EXPECT_EQ(written.at(0), 5.0);
    EXPECT_EQ(written.at(5), 8.0);
    EXPECT_EQ(written.at(10), 0.0);  // an empty window is written as 0
    EXPECT_EQ(written.at(15), 2.0);
    EXPECT_EQ(written.at(4315), 0.0);
    EXPECT_TRUE(werte.GlukoseEmpty(1));
    EXPECT_TRUE(werte.GlukoseEmpty(4319));
}

TEST_F(GridTest, MeanIsSinglePrecision) {
    Add("14-may-09", "07:00", F(5.1f));
    Add("14-may-09", "07:01", F(5.2f));
    Add("14-may-09", "07:02", F(5.4f));
    Choose("14-may-09", "5", 0);
    Build();
    const float sum = 5.1f + 5.2f + 5.4f;
    EXPECT_EQ(werte.Glukose(0), F(sum / 3));
    EXPECT_EQ(werte.Glukose(0), F(static_cast<float>(werte.Glukose(0))));
}

TEST_F(GridTest, TypedStepSeven) {
    Add("14-may-09", "07:06", 4.0);
    Add("14-may-09", "07:07", 6.0);
    Add("14-may-09", "08:02", 10.0);
    Add("14-may-09", "08:03", 12.0);
    Choose("14-may-09", "7", -1);
    Build();
    EXPECT_EQ(gridStep, 7);
    EXPECT_EQ(WrittenNonZero(), (std::map<int, double>{{0, 4.0}, {7, 6.0}, {56, 10.0}, {63, 12.0}}));
    EXPECT_EQ(Written().size(), static_cast<size_t>((4320 + 6) / 7));
    EXPECT_TRUE(werte.GlukoseEmpty(1));
    EXPECT_EQ(werte.Glukose(14), 0.0);
}

TEST_F(GridTest, MeanWindowEndsAtMidnight) {
    Add("14-may-09", "00:00", 3.0);
    Add("14-may-09", "23:58", 5.0);
    Add("15-may-09", "00:01", 9.0);
    Add("15-may-09", "00:02", 11.0);
    Choose("14-may-09", "7", -1);
    Build();
    EXPECT_EQ(startHour, 0);
    // The window from 23:55 would run to 00:01 of the next day; it ends at 23:59.
    EXPECT_EQ(werte.Glukose(1435), 5.0);
    // The next window starts at 00:02, so the reading at 00:01 falls in none.
    EXPECT_EQ(werte.Glukose(1442), 11.0);
    EXPECT_EQ(WrittenNonZero().size(), 3u);
}

TEST_F(GridTest, TextThatIsNoNumberGivesStepFive) {
    Add("14-may-09", "07:00", 4.0);
    Add("14-may-09", "07:06", 6.0);
    Choose("14-may-09", "abc", -1);
    Build();
    EXPECT_EQ(gridStep, 5);
    EXPECT_EQ(WrittenNonZero(), (std::map<int, double>{{0, 4.0}, {5, 6.0}}));
}

TEST_F(GridTest, ReadingsEndingEarlyLeaveLaterWindowsEmpty) {
    for (int m = 7 * 60; m < 24 * 60; m += 5) Add("14-may-09", TimeText(m / 60, m % 60), 6.0);
    for (int m = 0; m <= 14 * 60; m += 5) Add("15-may-09", TimeText(m / 60, m % 60), 8.0);
    Choose("14-may-09", "15", 1);
    Build();
    const int endMinute = (24 - 7 + 14) * 60;  // 14:00 of the next day
    for (const auto& [minute, value] : Written()) {
        if (minute < 1020)
            EXPECT_EQ(value, 6.0) << minute;
        else if (minute <= endMinute)
            EXPECT_EQ(value, 8.0) << minute;
        else
            EXPECT_EQ(value, 0.0) << minute;
    }

    // The extremes path writes nothing after the last reading.
    Choose("14-may-09", "360", 4);
    Build();
    for (const auto& [minute, value] : Written()) EXPECT_LE(minute, endMinute);
    EXPECT_EQ(Written().size(), 6u);  // windows 0 to 5 hold readings
}

TEST_F(GridTest, GridCrossesMonthAndYearEnds) {
    Add("31-may-09", "20:00", 6.0);
    Add("01-jun-09", "03:00", 8.0);
    Add("02-jun-09", "03:00", 9.0);
    Add("03-jun-09", "19:59", 4.0);
    Add("03-jun-09", "20:00", 5.0);  // past the grid
    Choose("31-May-09", "60", 3);
    Build();
    EXPECT_EQ(WrittenNonZero(), (std::map<int, double>{{0, 6.0}, {420, 8.0}, {1860, 9.0}, {4260, 4.0}}));

    sensor.DeleteAll();
    Add("31-dec-09", "22:10", 6.0);
    Add("01-jan-10", "00:10", 8.0);
    Add("28-feb-08", "22:00", 1.0);
    Add("29-feb-08", "22:00", 2.0);
    Add("01-mar-08", "22:00", 3.0);
    Choose("31-dec-09", "60", 3);
    Build();
    EXPECT_EQ(WrittenNonZero(), (std::map<int, double>{{0, 6.0}, {120, 8.0}}));
    Choose("28-feb-08", "60", 3);
    Build();
    EXPECT_EQ(WrittenNonZero(), (std::map<int, double>{{0, 1.0}, {1440, 2.0}, {2880, 3.0}}));
}

TEST_F(GridTest, MissingMonthAbbreviation) {
    months = BuildMonthList("de", LocaleInfo::FromId(1033));  // no "mar" in the German list
    Add("14-mar-09", "08:00", 5.0);
    Add("14-mar-09", "14:00", 9.0);
    Add("14-mar-09", "20:00", 4.0);
    Add("15-mar-09", "02:00", 10.0);
    Add("15-mar-09", "08:00", 3.0);

    // The following days are formed as January days, so their mean windows find nothing.
    Choose("14-mar-09", "60", 3);
    Build();
    EXPECT_EQ(startHour, 8);
    EXPECT_EQ(WrittenNonZero(), (std::map<int, double>{{0, 5.0}, {360, 9.0}, {720, 4.0}}));

    // The extremes path reads the readings' dates as January too, and so places them.
    // Fall 5 - 9 is below the rise 9 - 5: window 0 gives its maximum.
    Choose("14-mar-09", "360", 4);
    Build();
    EXPECT_EQ(Written(), (std::map<int, double>{{0, 5.0}, {360, 9.0}, {720, 4.0}, {1080, 10.0}, {1440, 3.0}}));
}

// ---- extremes path ----

TEST_F(GridTest, ExtremesAlternateFromTheMinimumWhenFallEqualsRise) {
    Add("14-may-09", "07:00", 5.0);  // window 0: 07:00 to 12:59
    Add("14-may-09", "12:59", 8.0);
    Add("14-may-09", "13:00", 5.0);  // window 1: 13:00 to 18:59
    Add("14-may-09", "18:59", 8.0);
    Add("14-may-09", "19:00", 6.0);  // window 2: 19:00 to 00:59
    Add("15-may-09", "00:59", 2.0);
    Add("15-may-09", "01:00", 7.0);  // window 3: 01:00 to 06:59
    Add("15-may-09", "13:00", 4.0);  // window 4 (07:00 to 12:59) is empty; window 5
    Add("15-may-09", "14:00", 9.0);
    Add("17-may-09", "06:59", 3.0);   // window 11
    Add("17-may-09", "07:00", 20.0);  // after the grid
    Choose("14-may-09", "360", 4);
    Build();
    EXPECT_EQ(gridStep, 360);
    // Fall 8 - 5 equals rise 8 - 5: window 0 gives its minimum, then max, min, ...;
    // the empty window 4 still takes its turn.
    EXPECT_EQ(Written(),
              (std::map<int, double>{{0, 5.0}, {719, 8.0}, {1079, 2.0}, {1080, 7.0}, {1860, 9.0}, {4319, 3.0}}));
    EXPECT_EQ(filledCalls, 1);
}

TEST_F(GridTest, ExtremesStartWithTheMaximumWhenTheRiseIsLarger) {
    Add("14-may-09", "07:10", 9.0);
    Add("14-may-09", "08:00", 9.0);  // an equal maximum later: the earlier one is written
    Add("14-may-09", "09:00", 4.0);
    Add("14-may-09", "13:00", 8.0);
    Add("14-may-09", "14:00", 8.0);  // an equal minimum later
    Choose("14-may-09", "360", 4);
    Build();
    // Fall 9 - 8 = 1 is below the rise 8 - 4 = 4.
    EXPECT_EQ(Written(), (std::map<int, double>{{10, 9.0}, {360, 8.0}}));
}

TEST_F(GridTest, ExtremeWindowAcrossMidnightAtMonthEnd) {
    Add("31-may-09", "19:00", 6.0);
    Add("31-may-09", "23:00", 7.0);
    Add("01-jun-09", "00:30", 3.0);
    Add("01-jun-09", "00:59", 12.0);
    Add("01-jun-09", "01:00", 1.0);
    Add("01-jun-09", "02:00", 2.0);
    Choose("31-may-09", "360", 4);
    Build();
    EXPECT_EQ(startHour, 19);
    // Window 0 runs from 19:00 on 31 May to 00:59 on 1 June: minimum 3, maximum 12.
    // Fall 12 - 1 beats rise 2 - 3, so window 0 gives its minimum.
    EXPECT_EQ(Written(), (std::map<int, double>{{330, 3.0}, {420, 2.0}}));
}

TEST_F(GridTest, ExtremeWindowOnTheLastDateTextWithNoReadingAfterItsKey) {
    // 01-jun-09 sorts before 31-may-09, so nothing lies at or after 31-may-09 19:00
    // in the index, though 1 June 00:30 falls within the window 19:00 to 00:59.
    Add("01-jun-09", "00:30", 3.0);
    Add("31-may-09", "07:00", 6.0);
    Add("31-may-09", "13:00", 8.0);
    startHour = 7;
    MinuteGrid grid(input, recorder.hooks);
    ExtremeWindow record{1.5, 55.0f, 2.5, 66.0f, true};
    grid.WindowExtremes("31-may-09", 720, record, 360);
    EXPECT_FALSE(record.found);
    EXPECT_EQ(record.minimum, 0.0f);
    EXPECT_EQ(record.maximum, 0.0f);
    EXPECT_EQ(record.timeOfMinimum, 1.5);  // the times keep what they held
    EXPECT_EQ(record.timeOfMaximum, 2.5);

    // The build places windows 0 and 1 only; the reading of 1 June is not reached.
    Choose("31-may-09", "360", 4);
    Build();
    EXPECT_EQ(startHour, 7);
    EXPECT_EQ(Written(), (std::map<int, double>{{0, 6.0}, {360, 8.0}}));
}

TEST_F(GridTest, ExtremeWindowEndsAcrossTheEndOfYear99) {
    months = BuildMonthList("de", LocaleInfo::FromId(1031));
    Add("01-jan-00", "01:00", 3.0);  // reads as 2000, outside window 0
    Add("01-jan-00", "03:00", 4.0);
    Add("31-dez-99", "20:00", 5.0);  // 2099: window 0 runs to 01:59 of the next day
    Add("31-dez-99", "22:00", 8.0);
    Choose("31-dez-99", "360", 4);
    Build();
    EXPECT_EQ(filledCalls, 1);
    // Window 1 is formed on "01-jan-00" (2000) and holds 4 at 03:00, which lies
    // before the grid: the fall 8 - 4 beats the rise, so window 0 gives its minimum.
    EXPECT_EQ(Written(), (std::map<int, double>{{0, 5.0}}));
}

TEST_F(GridTest, ExtremeWindowsReadAcrossDateTextsThatReadAsTheirDays) {
    months = BuildMonthList("de", LocaleInfo::FromId(1031));  // "dec" reads as January
    Add("14-dec-09", "21:00", 5.0);                           // window 0: 21:00 to 02:59
    Add("14-dec-09", "23:00", 6.0);
    Add("15-dec-09", "00:30", 3.0);
    Add("15-dec-09", "02:59", 12.0);
    Add("15-dec-09", "03:00", 7.0);  // window 1: its search key sorts after these rows
    Add("16-dec-09", "01:00", 2.0);  // window 4: 21:00 to 02:59 of the day after
    Add("16-dec-09", "02:00", 9.0);
    Choose("14-dec-09", "360", 4);
    Build();
    EXPECT_EQ(startHour, 21);
    // Fall 12 - 1000 is below rise 0 - 3: window 0 gives its maximum, window 4 too.
    EXPECT_EQ(Written(), (std::map<int, double>{{359, 12.0}, {1740, 9.0}}));
}

TEST_F(GridTest, ExtremeValuesKeepTheStoredPrecision) {
    Add("14-may-09", "07:30", 99.0 / 18.0);
    Add("14-may-09", "13:30", 100.0 / 18.0);
    Choose("14-may-09", "360", 4);
    Build();
    // Values pass through the single-precision record.
    EXPECT_EQ(Written(), (std::map<int, double>{{30, F(static_cast<float>(99.0 / 18.0))},
                                                {390, F(static_cast<float>(100.0 / 18.0))}}));
}

TEST_F(GridTest, ExtremesIgnoreStrayRowsOfOtherTexts) {
    Add("14-may-09", "07:00", 5.0);
    Add("14-may-09", "12:00", 7.0);
    Add("Datum", "Zeit", 1.0);           // a stray line, sorted after every date
    Add("15-may-09 (2)", "01:30", 2.0);  // reads as 15 May 2009
    Choose("14-may-09", "360", 4);
    EXPECT_NO_THROW(Build());
    // Window 1 is empty with minimum 1000, so the rise beats the fall and window 0
    // gives its maximum; window 3 gives its minimum.
    EXPECT_EQ(Written(), (std::map<int, double>{{300, 7.0}, {1110, 2.0}}));
}

// ---- refused steps and conversion errors ----

TEST_F(GridTest, RefusedStepLeavesEverythingUnchanged) {
    Add("14-may-09", "07:00", 5.0);
    sensor.SetFilterDay("14-may-09");
    sensor.SetFiltered(true);
    for (const auto& [text, index] : std::vector<std::pair<std::string, int>>{
             {"0", -1}, {"-5", -1}, {"4321", -1}, {"-5", 4}, {"0", 4}, {"99999", 4}}) {
        SCOPED_TRACE(text);
        Choose("14-may-09", text, index);
        try {
            Build();
            ADD_FAILURE() << "step accepted";
        } catch (const ConversionError&) {
            ADD_FAILURE() << "a refused step is no conversion error";
        } catch (const ZelkError& e) {
            EXPECT_NE(std::string(e.what()).find("'" + text + "'"), std::string::npos) << e.what();
        }
        EXPECT_TRUE(DemoIntact());
        EXPECT_EQ(startHour, 19);
        EXPECT_EQ(gridStep, 5);
        EXPECT_EQ(currentDate, "before");
        EXPECT_TRUE(startHourAtBackground.empty());
        EXPECT_EQ(filledCalls, 0);
        EXPECT_TRUE(sensor.Filtered());
    }
    language = "en";
    Choose("14-may-09", "0", -1);
    try {
        Build();
    } catch (const ZelkError& e) {
        EXPECT_NE(std::string(e.what()).find("Invalid grid step"), std::string::npos) << e.what();
    }
}

TEST_F(GridTest, LargestStepIsOneWindow) {
    Add("14-may-09", "07:30", 5.0);
    Add("15-may-09", "07:30", 3.0);
    Add("16-may-09", "07:30", 9.0);
    Choose("14-may-09", "4320", -1);
    Build();
    // The one mean window ends at 23:59 of the chosen day.
    EXPECT_EQ(Written(), (std::map<int, double>{{0, 5.0}}));
    Choose("14-may-09", "4320", 4);
    Build();
    // One extremes window over all 72 hours; the second record stays zero: fall 9 - 0
    // is at least rise 0 - 3, so the window gives its minimum.
    EXPECT_EQ(Written(), (std::map<int, double>{{1470, 3.0}}));
    // A small step on the extremes item.
    Choose("14-may-09", "1", 4);
    Build();
    EXPECT_EQ(Written(), (std::map<int, double>{{30, 5.0}, {1470, 3.0}, {2910, 9.0}}));
}

TEST_F(GridTest, StartHourAboveTwentyThreeIsAConversionError) {
    Add("14-may-09", "25:10", 5.0);
    sensor.SetFilterDay("01-jan-09");
    sensor.SetFiltered(true);
    Choose("14-may-09", "5", 0);
    try {
        Build();
        ADD_FAILURE() << "start hour 25 accepted";
    } catch (const ConversionError& e) {
        EXPECT_NE(std::string(e.what()).find("25:10"), std::string::npos) << e.what();
    }
    EXPECT_TRUE(DemoIntact());
    EXPECT_EQ(startHour, 19);
    EXPECT_FALSE(sensor.Filtered());
    EXPECT_EQ(filledCalls, 0);
}

TEST_F(GridTest, InvalidDateStopsTheBuildWhereItArose) {
    Add("31-feb-09", "10:00", 5.0);
    Add("31-feb-09", "11:00", 6.0);
    Choose("31-feb-09", "60", 3);
    try {
        Build();
        ADD_FAILURE() << "31-feb-09 accepted";
    } catch (const ConversionError& e) {
        EXPECT_NE(std::string(e.what()).find("31-feb-09"), std::string::npos) << e.what();
    }
    EXPECT_EQ(startHour, 10);
    EXPECT_EQ(startHourAtBackground, std::vector<int>{10});
    EXPECT_EQ(filledCalls, 0);
    EXPECT_FALSE(sensor.Filtered());
    // The windows of the chosen day were filled; from the next day on the grid stays empty.
    std::map<int, double> expected{{0, 5.0}, {60, 6.0}};
    for (int t = 120; t < 14 * 60; t += 60) expected[t] = 0.0;
    EXPECT_EQ(Written(), expected);
}

TEST_F(GridTest, BadClockTextStopsTheExtremesPath) {
    Add("14-may-09", "07:00", 5.0);
    Add("14-may-09", "08:6x", 6.0);
    Choose("14-may-09", "360", 4);
    EXPECT_THROW(Build(), ConversionError);
    EXPECT_TRUE(Written().empty());
    EXPECT_EQ(filledCalls, 0);
    // The mean path compares clock texts as text and does not read them.
    Choose("14-may-09", "5", 0);
    EXPECT_NO_THROW(Build());
    EXPECT_EQ(WrittenNonZero(), (std::map<int, double>{{0, 5.0}}));
}

TEST_F(GridTest, DayNotInTheTable) {
    Add("14-may-09", "07:00", 5.0);
    Choose("15-may-09", "5", 0);
    // No row: empty texts, start hour 0; the next day's text cannot be formed.
    EXPECT_THROW(Build(), ConversionError);
    EXPECT_EQ(startHour, 0);
    EXPECT_EQ(currentDate, "");
    EXPECT_EQ(currentTime, "");
}

TEST_F(GridTest, MissingGridRowsAreSkipped) {
    Add("14-may-09", "07:00", 5.0);
    Add("14-may-09", "07:10", 6.0);
    werte.DeleteRow(10);
    Choose("14-may-09", "5", 0);
    Build();
    EXPECT_EQ(werte.RowCount(), 4319);
    EXPECT_EQ(werte.FindKey(10), -1);
    EXPECT_EQ(WrittenNonZero(), (std::map<int, double>{{0, 5.0}}));
    EXPECT_EQ(Written().size(), 863u);
}

TEST_F(GridTest, RepeatedBuildsClearTheColumn) {
    Add("14-may-09", "07:00", 5.0);
    Add("14-may-09", "13:00", 9.0);
    Choose("14-may-09", "5", 0);
    Build();
    EXPECT_EQ(Written().size(), 864u);
    Choose("14-may-09", "360", 4);
    Build();
    EXPECT_EQ(Written().size(), 2u);
    Choose("14-may-09", "60", 3);
    Build();
    EXPECT_EQ(Written().size(), 72u);
}

}  // namespace
}  // namespace zelk
