#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <string>
#include <vector>

#include "calc/Calculation.h"
#include "calc/Series.h"
#include "data/Errors.h"
#include "windowlogic/StateCalculation.h"
#include "windowlogic/StatisticsDisplay.h"

namespace zelk {
namespace {

using Row = std::array<std::string, 6>;

const Row kEmptyRow{};

const std::vector<float> kWorkedExample = {6.0f, 7.5f, 9.0f, 10.5f, 9.5f, 7.0f, 5.5f, 6.0f, 7.5f, 8.5f, 9.0f, 8.5f};
const std::vector<float> kMirrored = {10.0f, 8.5f, 7.0f, 5.5f, 6.5f, 9.0f, 10.5f, 10.0f, 8.5f, 7.5f, 7.0f, 7.5f};

// The main window's state with a German text table and a series set point by point.
class CalculationTest : public ::testing::Test {
protected:
    CalculationTest() { UseLocale('.'); }

    void UseLocale(char separator) {
        s_.locale = LocaleInfo::FromId(separator == ',' ? kLocaleGerman : kLocaleUsEnglish, separator);
    }

    void SetUp() override {
        s_.texts = GermanTexts();
        s_.Sprache = "de";
        s_.StartHour = 8;
        s_.YScale = 8.0f;
        const TextTable& t = s_.texts;
        for (const auto& [c, text] :
             {std::pair{0, t.DayHeader}, std::pair{1, t.TimeHeader}, std::pair{2, t.PeakHeader},
              std::pair{3, t.TimeHeader}, std::pair{4, t.NadirHeader}, std::pair{5, t.AmplitudeHeader}})
            s_.csg_Berechnung.SetCell(c, 0, text);
    }

    // Values from index 0 on; every later point has no value. Mean and deviation
    // are those of the series unless `sd` is given.
    void Load(const std::vector<float>& values, int HighIndex = kHighIndex15, float sd = -1.0f) {
        DisplaySeries& se = s_.series;
        se.HighIndex = HighIndex;
        se.PointValue.fill(0.0f);
        for (size_t i = 0; i < values.size(); ++i) se.PointValue[i] = values[i];
        float sum = 0.0f;
        int n = 0;
        for (float v : values)
            if (v > 0.0f) {
                sum += v;
                ++n;
            }
        se.MeanGlucose = n > 0 ? sum / static_cast<float>(n) : 0.0f;
        se.SdGlucose = sd >= 0.0f ? sd : SeriesStdDev(se);
        ShowStatistics(s_);
    }

    // Values at given indices, the rest without a value.
    void LoadAt(const std::vector<std::pair<int, float>>& points, int HighIndex, float sd) {
        std::vector<float> values(static_cast<size_t>(HighIndex) + 1, 0.0f);
        for (const auto& [i, v] : points) values[static_cast<size_t>(i)] = v;
        Load(values, HighIndex, sd);
    }

    void Calculate(bool start = true, bool end = true) {
        s_.cb_Startwert = start;
        s_.cb_Endwert = end;
        ResultsCalculation calculation = CalculationOn(s_, hooks_);
        calculation.Button1Click();
    }

    Row RowAt(int r) const {
        Row row;
        for (int c = 0; c < 6; ++c) row[static_cast<size_t>(c)] = s_.csg_Berechnung.Cell(c, r);
        return row;
    }

    std::vector<Row> Rows() const {
        std::vector<Row> rows;
        for (int r = 1; r < s_.csg_Berechnung.RowCount(); ++r) rows.push_back(RowAt(r));
        return rows;
    }

    std::string Header(int c) const { return s_.csg_Berechnung.Cell(c, 0); }

    MainState s_;
    WindowHooks hooks_;
};

// ---- The worked example ------------------------------------------------------------

TEST_F(CalculationTest, WorkedExampleInMmol) {
    Load(kWorkedExample);
    EXPECT_EQ(s_.series.MeanGlucose, 7.875f);
    EXPECT_NEAR(s_.series.SdGlucose, 1.488f, 0.0005f);
    Calculate();
    EXPECT_FALSE(s_.PeakFirst);
    EXPECT_EQ(Header(2), "BG Nadir");
    EXPECT_EQ(Header(4), "BG Peak");
    EXPECT_EQ(Header(0), "Tag");
    EXPECT_EQ(Rows(), (std::vector<Row>{{"1", "08:00", " 6.0", "08:45", "10.5", " 4.5"},
                                        {"1", "09:30", " 5.5", "10:30", " 9.0", " 3.5"},
                                        kEmptyRow,
                                        kEmptyRow}));
    EXPECT_EQ(s_.ce_ZELK.Text, "4.0");
    EXPECT_EQ(s_.PeakRows, 2);
    EXPECT_EQ(s_.NadirRows, 2);
    EXPECT_EQ(s_.FirstRowIndex, 0);
}

TEST_F(CalculationTest, WorkedExampleEndValueCut) {
    Load(kWorkedExample);
    Calculate(true, false);
    EXPECT_EQ(s_.csg_Berechnung.RowCount(), 2);
    EXPECT_EQ(RowAt(1), (Row{"1", "08:00", " 6.0", "08:45", "10.5", " 4.5"}));
    EXPECT_EQ(s_.ce_ZELK.Text, "4.5");
    EXPECT_EQ(Header(2), "BG Nadir");
}

TEST_F(CalculationTest, WorkedExampleInMgPerDl) {
    s_.rg_Anzeige = 1;
    Load(kWorkedExample);
    EXPECT_EQ(s_.ce_Mittelwert.Text, "142");
    EXPECT_EQ(s_.ce_StdAbw.Text, "27");
    Calculate();
    EXPECT_EQ(Rows(), (std::vector<Row>{{"1", "08:00", " 108", "08:45", " 189", "  81"},
                                        {"1", "09:30", "  99", "10:30", " 162", "  63"},
                                        kEmptyRow,
                                        kEmptyRow}));
    EXPECT_EQ(s_.ce_ZELK.Text, "72");
}

TEST_F(CalculationTest, WorkedExampleWithoutStartValue) {
    Load(kWorkedExample);
    Calculate(false, true);
    EXPECT_TRUE(s_.PeakFirst);
    EXPECT_EQ(Header(2), "BG Peak");
    EXPECT_EQ(Header(4), "BG Nadir");
    // The rise from the start has no row; the fall from 10.5 to 5.5 has.
    EXPECT_EQ(Rows(),
              (std::vector<Row>{{"1", "08:45", "10.5", "09:30", " 5.5", " 5.0"}, kEmptyRow, kEmptyRow, kEmptyRow}));
    EXPECT_EQ(s_.ce_ZELK.Text, "5.0");
    // Its nadir (index 6) lies before the last excursion from the end (index 8).
    Calculate(false, false);
    EXPECT_EQ(s_.csg_Berechnung.RowCount(), 5);
    EXPECT_EQ(s_.ce_ZELK.Text, "5.0");
}

TEST_F(CalculationTest, MirroredSeriesStartsWithAFall) {
    Load(kMirrored);
    Calculate();
    EXPECT_TRUE(s_.PeakFirst);
    EXPECT_EQ(Header(2), "BG Peak");
    EXPECT_EQ(Header(4), "BG Nadir");
    EXPECT_EQ(Rows(), (std::vector<Row>{{"1", "08:00", "10.0", "08:45", " 5.5", " 4.5"},
                                        {"1", "09:30", "10.5", "10:30", " 7.0", " 3.5"},
                                        kEmptyRow,
                                        kEmptyRow}));
    EXPECT_EQ(s_.ce_ZELK.Text, "4.0");
    Calculate(true, false);
    EXPECT_EQ(s_.csg_Berechnung.RowCount(), 2);
    EXPECT_EQ(s_.ce_ZELK.Text, "4.5");
}

TEST_F(CalculationTest, SameResultWhateverWasCalculatedBefore) {
    Load(kWorkedExample);
    Calculate();
    const std::vector<Row> first = Rows();
    Load(kMirrored);
    Calculate(false, false);
    Load(kWorkedExample);
    Calculate();
    EXPECT_EQ(Rows(), first);
    EXPECT_EQ(s_.ce_ZELK.Text, "4.0");
    Calculate();
    EXPECT_EQ(Rows(), first);
}

// ---- Number texts -------------------------------------------------------------------

TEST_F(CalculationTest, AmplitudesAreFormedFromTheShownTexts) {
    // 10.46 shows as 10.5 and 6.04 as 6.0: the amplitude is 4.5, not 4.4.
    LoadAt({{0, 10.46f}, {1, 6.04f}}, kHighIndex15, 1.0f);
    Calculate();
    EXPECT_EQ(RowAt(1), (Row{"1", "08:00", "10.5", "08:15", " 6.0", " 4.5"}));
    EXPECT_EQ(s_.ce_ZELK.Text, "4.5");
}

TEST_F(CalculationTest, IndexHalfwayRoundsAwayFromZero) {
    // Falls of 4.5 and 4.0: the index 4.25 shows as 4.3; in mg/dL 81 and 72 give 76.5, shown as 77.
    LoadAt({{0, 10.0f}, {1, 5.5f}, {2, 9.5f}, {3, 5.5f}}, kHighIndex15, 1.0f);
    Calculate();
    EXPECT_EQ(Rows()[1], (Row{"1", "08:30", " 9.5", "08:45", " 5.5", " 4.0"}));
    EXPECT_EQ(s_.ce_ZELK.Text, "4.3");
    s_.rg_Anzeige = 1;
    ShowStatistics(s_);
    Calculate();
    EXPECT_EQ(Rows()[0][5], "  81");
    EXPECT_EQ(Rows()[1][5], "  72");
    EXPECT_EQ(s_.ce_ZELK.Text, "77");
}

TEST_F(CalculationTest, ValueTexts) {
    const ResultsCalculation calc = CalculationOn(s_, hooks_);
    EXPECT_EQ(calc.ValueText(0.25f), " 0.3");
    EXPECT_EQ(calc.ValueText(0.05f), " 0.1");  // 0.05f lies just above 0.05
    EXPECT_EQ(calc.ValueText(0.35f), " 0.3");  // 0.35f lies just below 0.35
    EXPECT_EQ(calc.ValueText(30.0f), "30.0");
    s_.rg_Anzeige = 1;
    EXPECT_EQ(calc.ValueText(7.25f), " 131");  // 130.5
    // 18 x 3.58333325f is 64.4999986 in extended precision; a single-precision product would be 64.5.
    EXPECT_EQ(calc.ValueText(std::bit_cast<float>(0x40655555u)), "  64");
    EXPECT_EQ(calc.ValueText(30.0f), " 540");
    EXPECT_EQ(calc.AmplitudeText(81.0f), "  81");
    EXPECT_EQ(calc.AmplitudeText(-2.5f), "  -3");
    s_.rg_Anzeige = 0;
    UseLocale(',');
    EXPECT_EQ(calc.ValueText(10.5f), "10,5");
    EXPECT_EQ(calc.AmplitudeText(4.25f), " 4,3");
}

// ---- Day column and clock texts ---------------------------------------------------------

// Falls at p1 and p2 (10.0 to 4.0), with T = HighIndex div 3.
std::vector<std::pair<int, float>> TwoFalls(int p1, int p2) {
    return {{p1, 10.0f}, {p1 + 3, 4.0f}, {p2, 10.0f}, {p2 + 3, 4.0f}};
}

TEST_F(CalculationTest, DayColumnFifteenMinutePoints) {
    LoadAt(TwoFalls(94, 189), kHighIndex15, 1.0f);
    Calculate();
    ASSERT_TRUE(s_.PeakFirst);
    EXPECT_EQ(RowAt(1)[0], "1");
    EXPECT_EQ(RowAt(2)[0], "2");
    LoadAt(TwoFalls(95, 190), kHighIndex15, 1.0f);
    Calculate();
    EXPECT_EQ(RowAt(1)[0], "2");
    EXPECT_EQ(RowAt(2)[0], "3");
    EXPECT_EQ(RowAt(2)[1], "07:30");  // index 190 with StartHour 8
}

TEST_F(CalculationTest, DayColumnFiveMinutePoints) {
    LoadAt(TwoFalls(286, 573), kHighIndex5, 1.0f);
    Calculate();
    EXPECT_EQ(RowAt(1)[0], "1");
    EXPECT_EQ(RowAt(2)[0], "2");
    EXPECT_EQ(RowAt(1)[1], "07:50");
    LoadAt(TwoFalls(287, 574), kHighIndex5, 1.0f);
    Calculate();
    EXPECT_EQ(RowAt(1)[0], "2");
    EXPECT_EQ(RowAt(2)[0], "3");
    EXPECT_EQ(RowAt(2)[3], "08:05");  // completed nadir at 577
}

TEST_F(CalculationTest, CompletedLastPeakFollowsTheDayRule) {
    // Rise first: nadir rows at 0 and 20, peak row at 10; the last peak is completed.
    for (const auto& [late, day] : {std::pair{94, "1"}, std::pair{95, "2"}, std::pair{190, "3"}}) {
        LoadAt({{0, 5.0f}, {10, 10.0f}, {20, 4.0f}, {30, 9.0f}, {late, 9.5f}}, kHighIndex15, 1.0f);
        Calculate();
        ASSERT_FALSE(s_.PeakFirst);
        EXPECT_EQ(RowAt(2)[0], day) << late;
        EXPECT_EQ(RowAt(2)[4], " 9.5") << late;
        EXPECT_EQ(s_.PeakRows, 2);
        EXPECT_EQ(s_.NadirRows, 2);
    }
}

TEST_F(CalculationTest, ClockTexts) {
    s_.series.HighIndex = kHighIndex15;
    const ResultsCalculation calc = CalculationOn(s_, hooks_);
    EXPECT_EQ(calc.IndexToClockText(0), "08:00");
    EXPECT_EQ(calc.IndexToClockText(10), "10:30");
    s_.StartHour = 19;
    EXPECT_EQ(calc.IndexToClockText(20), "00:00");
    EXPECT_EQ(calc.IndexToClockText(96), "19:00");
    EXPECT_EQ(calc.IndexToClockText(287), "18:45");
    s_.series.HighIndex = kHighIndex5;
    s_.StartHour = 8;
    EXPECT_EQ(calc.IndexToClockText(13), "09:05");
    s_.StartHour = 23;
    EXPECT_EQ(calc.IndexToClockText(863), "22:55");
    s_.series.HighIndex = 288;  // any other series counts 15-minute steps
    EXPECT_EQ(calc.IndexToClockText(13), "02:15");
}

TEST_F(CalculationTest, ClockWrapsInTheTable) {
    s_.StartHour = 19;
    LoadAt({{20, 10.0f}, {22, 4.0f}, {100, 10.0f}, {101, 4.0f}}, kHighIndex15, 1.0f);
    Calculate();
    EXPECT_EQ(RowAt(1)[1], "00:00");
    EXPECT_EQ(RowAt(1)[3], "00:30");
    EXPECT_EQ(RowAt(2)[1], "20:00");
    EXPECT_EQ(RowAt(2)[0], "2");
}

// ---- Passes and completions -----------------------------------------------------------------

TEST_F(CalculationTest, SecondPassTurningPointBeforeRowOneIsPassedOver) {
    // Without the start value the first rise is not counted (PeakFirst), but the
    // markers from b0 on begin with a rise at index 2, before the peak at 3.
    LoadAt({{0, 5.0f}, {1, 8.0f}, {2, 7.0f}, {3, 10.0f}, {4, 4.0f}}, kHighIndex15, 2.0f);
    Calculate(false, true);
    ASSERT_TRUE(s_.PeakFirst);
    EXPECT_EQ(RowAt(1), (Row{"1", "08:45", "10.0", "09:00", " 4.0", " 6.0"}));
    EXPECT_EQ(RowAt(2), kEmptyRow);
    EXPECT_EQ(s_.ce_ZELK.Text, "6.0");

    // With a later rise the next nadir takes row 1 again.
    LoadAt({{0, 5.0f}, {1, 8.0f}, {2, 7.0f}, {3, 10.0f}, {4, 4.0f}, {5, 9.0f}}, kHighIndex15, 2.0f);
    Calculate(false, true);
    EXPECT_EQ(RowAt(1), (Row{"1", "08:45", "10.0", "09:00", " 4.0", " 6.0"}));
    EXPECT_EQ(s_.PeakRows, 1);
    EXPECT_EQ(s_.NadirRows, 1);
}

TEST_F(CalculationTest, FirstPassWithoutTurningPointIsCompleted) {
    // PeakFirst without any fall marker: the completed peak lies after the nadir.
    LoadAt({{0, 5.0f}, {1, 8.0f}, {2, 7.0f}, {3, 10.0f}}, kHighIndex15, 2.0f);
    Calculate(false, true);
    ASSERT_TRUE(s_.PeakFirst);
    EXPECT_EQ(RowAt(1), (Row{"1", "08:45", "10.0", "08:30", " 7.0", " 3.0"}));
    EXPECT_EQ(s_.ce_ZELK.Text, "3.0");
}

TEST_F(CalculationTest, CompletionsTakeTheEarliestOfEqualExtremes) {
    // Last nadir: the lowest value after the last marker, the first of equal minima.
    LoadAt({{0, 10.0f}, {1, 4.0f}, {2, 10.0f}, {3, 6.0f}, {4, 5.0f}, {5, 0.0f}, {6, 5.0f}, {7, 5.5f}}, kHighIndex15,
           1.0f);
    Calculate();
    ASSERT_TRUE(s_.PeakFirst);
    EXPECT_EQ(RowAt(2), (Row{"1", "08:30", "10.0", "09:00", " 5.0", " 5.0"}));
    // Last peak: the first of equal maxima.
    LoadAt({{0, 4.0f}, {1, 10.0f}, {2, 4.0f}, {3, 8.0f}, {4, 9.0f}, {5, 9.0f}}, kHighIndex15, 1.0f);
    Calculate();
    ASSERT_FALSE(s_.PeakFirst);
    EXPECT_EQ(RowAt(2), (Row{"1", "08:30", " 4.0", "09:00", " 9.0", " 5.0"}));
}

TEST_F(CalculationTest, LastMarkerIndex) {
    LoadAt({{3, 5.0f}, {4, 9.0f}}, kHighIndex15, 1.0f);
    const ResultsCalculation calc = CalculationOn(s_, hooks_);
    s_.series.PointDiff.fill(0.0f);
    EXPECT_EQ(calc.LastMarkerIndex(kHighIndex15), 3);  // no marker: the first value
    s_.series.PointDiff[2] = 1.0f;                     // not above the deviation
    s_.series.PointDiff[7] = -1.5f;
    s_.series.PointDiff[9] = 1.5f;
    EXPECT_EQ(calc.LastMarkerIndex(kHighIndex15), 9);
    EXPECT_EQ(calc.LastMarkerIndex(8), 7);
    LoadAt({}, kHighIndex15, 1.0f);
    s_.series.PointDiff.fill(0.0f);
    EXPECT_EQ(calc.LastMarkerIndex(kHighIndex15), -1);
}

TEST_F(CalculationTest, MarkerScansAreStrict) {
    LoadAt({}, kHighIndex15, 1.0f);
    const ResultsCalculation calc = CalculationOn(s_, hooks_);
    s_.series.PointDiff.fill(0.0f);
    s_.series.PointDiff[5] = -1.0f;
    s_.series.PointDiff[6] = 1.0f;
    s_.series.PointDiff[8] = -1.25f;
    s_.series.PointDiff[9] = 1.25f;
    EXPECT_EQ(calc.NextFallMarker(0), 8);
    EXPECT_EQ(calc.NextRiseMarker(0), 9);
    EXPECT_EQ(calc.NextFallMarker(9), 288);
    EXPECT_EQ(calc.NextRiseMarker(10), 288);
    EXPECT_EQ(calc.NextRiseMarker(288), 288);
    EXPECT_EQ(calc.NextRiseMarker(400), 288);
}

// ---- Table size and the end-value rule -------------------------------------------------------

std::vector<std::pair<int, float>> ZigZag(int falls) {
    std::vector<std::pair<int, float>> points;
    for (int i = 0; i < 2 * falls; ++i) points.push_back({i, i % 2 == 0 ? 10.0f : 4.0f});
    return points;
}

TEST_F(CalculationTest, RowCountOnlyGrows) {
    EXPECT_EQ(s_.csg_Berechnung.RowCount(), 5);
    LoadAt(ZigZag(6), kHighIndex15, 1.0f);
    Calculate();
    EXPECT_EQ(s_.csg_Berechnung.RowCount(), 7);
    EXPECT_EQ(RowAt(6), (Row{"1", "10:30", "10.0", "10:45", " 4.0", " 6.0"}));
    LoadAt({{0, 10.0f}, {1, 4.0f}, {2, 9.0f}, {3, 4.0f}}, kHighIndex15, 1.0f);
    Calculate();
    EXPECT_EQ(s_.csg_Berechnung.RowCount(), 7);
    for (int r = 3; r <= 6; ++r) EXPECT_EQ(RowAt(r), kEmptyRow) << r;
    EXPECT_EQ(s_.ce_ZELK.Text, "5.5");
}

TEST_F(CalculationTest, LeftoverTextsInLaterRowsDoNotCount) {
    LoadAt({{0, 10.0f}, {1, 4.0f}}, kHighIndex15, 1.0f);
    s_.csg_Berechnung.SetCell(1, 3, "09:00");
    s_.csg_Berechnung.SetCell(2, 3, "20.0");
    s_.csg_Berechnung.SetCell(4, 3, " 1.0");
    Calculate();
    EXPECT_EQ(RowAt(3), kEmptyRow);
    EXPECT_EQ(s_.ce_ZELK.Text, "6.0");
}

TEST_F(CalculationTest, NoExcursion) {
    for (const auto& values : {std::vector<float>{}, std::vector<float>{6.0f, 6.0f, 6.0f}}) {
        Load(values);
        s_.PeakFirst = true;
        s_.ce_ZELK.Text = "3.1";
        Calculate(true, false);
        EXPECT_FALSE(s_.PeakFirst);
        EXPECT_EQ(Header(2), "BG Nadir");
        EXPECT_EQ(Header(4), "BG Peak");
        EXPECT_EQ(s_.csg_Berechnung.RowCount(), 5);  // the end-value rule changes nothing
        for (const Row& row : Rows()) EXPECT_EQ(row, kEmptyRow);
        EXPECT_EQ(s_.ce_ZELK.Text, "");
    }
}

TEST_F(CalculationTest, EndValueRuleCanLeaveOnlyTheHeaderRow) {
    // One rise whose completed peak (index 1) lies after the last excursion from the end (0).
    LoadAt({{0, 5.0f}, {1, 9.0f}, {2, 8.0f}}, kHighIndex15, 1.0f);
    Calculate(true, false);
    EXPECT_EQ(s_.csg_Berechnung.RowCount(), 1);
    EXPECT_EQ(Header(2), "BG Nadir");
    EXPECT_EQ(Header(5), s_.texts.AmplitudeHeader);
    EXPECT_EQ(s_.ce_ZELK.Text, "");
    // The next calculation adds rows again.
    Calculate(true, true);
    EXPECT_EQ(s_.csg_Berechnung.RowCount(), 2);
    EXPECT_EQ(RowAt(1), (Row{"1", "08:00", " 5.0", "08:15", " 9.0", " 4.0"}));
}

TEST_F(CalculationTest, EndValueRuleKeepsARowEndingAtTheLastExcursion) {
    // The peak at index 1 is where the scan from the end finds its excursion.
    LoadAt({{0, 5.0f}, {1, 9.0f}, {2, 5.0f}}, kHighIndex15, 1.0f);
    Calculate(true, false);
    EXPECT_EQ(s_.csg_Berechnung.RowCount(), 5);
    EXPECT_EQ(RowAt(1), (Row{"1", "08:00", " 5.0", "08:15", " 9.0", " 4.0"}));
    EXPECT_EQ(s_.ce_ZELK.Text, "4.0");
}

TEST_F(CalculationTest, EndValueRuleUsesTheSecondTurningPointOfTheLastRow) {
    // Peak first: the last row's nadir, completed at index 5, lies after the last
    // excursion from the end (index 2): the row goes.
    LoadAt({{0, 10.0f}, {1, 4.0f}, {2, 10.0f}, {5, 4.0f}, {6, 4.5f}}, kHighIndex15, 1.0f);
    Calculate(true, false);
    EXPECT_EQ(s_.csg_Berechnung.RowCount(), 2);
    EXPECT_EQ(s_.ce_ZELK.Text, "6.0");
}

// ---- English decimal point ---------------------------------------------------------------------

TEST_F(CalculationTest, EnglishModeWithACommaLocale) {
    UseLocale(',');
    s_.texts = EnglishTexts();
    s_.Sprache = "en";
    s_.en1 = true;
    s_.de1 = false;
    Load(kWorkedExample);
    EditsToPoint(s_);
    EXPECT_EQ(s_.ce_Mittelwert.Text, "7.88");
    Calculate();
    EXPECT_EQ(Header(2), "G nadir");
    EXPECT_EQ(Header(4), "G peak");
    EXPECT_EQ(Rows(), (std::vector<Row>{{"1", "08:00", " 6.0", "08:45", "10.5", " 4.5"},
                                        {"1", "09:30", " 5.5", "10:30", " 9.0", " 3.5"},
                                        kEmptyRow,
                                        kEmptyRow}));
    EXPECT_EQ(s_.ce_ZELK.Text, "4.0");
    EXPECT_EQ(s_.ce_Mittelwert.Text, "7.88");
    EXPECT_EQ(s_.ce_StdAbw.Text, "1.49");
    // Again: the amplitudes are read back from texts with the comma of this calculation.
    Calculate(true, false);
    EXPECT_EQ(s_.ce_ZELK.Text, "4.5");
}

TEST_F(CalculationTest, GermanModeKeepsTheComma) {
    UseLocale(',');
    Load(kWorkedExample);
    Calculate();
    EXPECT_EQ(RowAt(1), (Row{"1", "08:00", " 6,0", "08:45", "10,5", " 4,5"}));
    EXPECT_EQ(s_.ce_ZELK.Text, "4,0");
    EXPECT_EQ(s_.ce_Mittelwert.Text, "7,88");
}

TEST_F(CalculationTest, AnUnreadableShownValueRaises) {
    // A calculation reads back the texts it wrote; a text in another notation fails.
    UseLocale(',');
    Load(kWorkedExample);
    ResultsCalculation calc = CalculationOn(s_, hooks_);
    s_.PeakFirst = false;
    s_.csg_Berechnung.SetCell(1, 1, "08:00");
    s_.csg_Berechnung.SetCell(2, 1, " 6.0");
    s_.csg_Berechnung.SetCell(4, 1, "10,5");
    EXPECT_THROW(calc.ComputeAmplitudes(), ConversionError);
}

// ---- Pending messages -------------------------------------------------------------------------------

TEST_F(CalculationTest, PendingMessagesRunOnceAfterClearingAndBeforeReadingTheOptions) {
    Load(kWorkedExample);
    Calculate();
    int runs = 0;
    hooks_.processEvents = [this, &runs] {
        ++runs;
        EXPECT_EQ(RowAt(1), kEmptyRow);
        EXPECT_EQ(s_.ce_ZELK.Text, "");
        s_.cb_Endwert = false;  // a click while the calculation waits
    };
    ResultsCalculation calculation = CalculationOn(s_, hooks_);
    s_.cb_Endwert = true;
    calculation.Button1Click();
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(s_.csg_Berechnung.RowCount(), 2);
    EXPECT_EQ(s_.ce_ZELK.Text, "4.5");
}

// ---- Fields of its own -------------------------------------------------------------------------------

TEST_F(CalculationTest, RunsOnFieldsOfItsOwnLikeOnTheWindowState) {
    UseLocale(',');
    Load(kWorkedExample);
    Calculate();

    StringGrid grid{kResultColumns, kResultRowsAtStart};
    for (int c = 0; c < kResultColumns; ++c) grid.SetCell(c, 0, s_.csg_Berechnung.Cell(c, 0));
    NumericEdit zelk{{}, 1, 4, FloatFormat::Fixed, Alignment::RightJustify};
    bool peakFirst = false;
    int peakRows = 0, nadirRows = 0, firstRowIndex = 0;
    std::vector<std::string> around;
    const CalculationInput input{
        s_.series,    s_.cb_Startwert,     s_.cb_Endwert,       s_.rg_Anzeige, s_.locale.decimalSeparator,
        s_.StartHour, s_.texts.PeakHeader, s_.texts.NadirHeader};
    const CalculationOutput output{s_.markers, grid, zelk, peakFirst, peakRows, nadirRows, firstRowIndex};
    CalculationHooks hooks{hooks_, [&around] { around.push_back("before"); }, [&around] { around.push_back("after"); }};
    ResultsCalculation(input, output, std::move(hooks)).Button1Click();

    EXPECT_EQ(around, (std::vector<std::string>{"before", "after"}));
    ASSERT_EQ(grid.RowCount(), s_.csg_Berechnung.RowCount());
    for (int r = 0; r < grid.RowCount(); ++r)
        for (int c = 0; c < kResultColumns; ++c) EXPECT_EQ(grid.Cell(c, r), s_.csg_Berechnung.Cell(c, r));
    EXPECT_EQ(zelk.Text, s_.ce_ZELK.Text);
    EXPECT_EQ(peakFirst, s_.PeakFirst);
    EXPECT_EQ(peakRows, s_.PeakRows);
    EXPECT_EQ(nadirRows, s_.NadirRows);
    EXPECT_EQ(firstRowIndex, s_.FirstRowIndex);
}

}  // namespace
}  // namespace zelk
