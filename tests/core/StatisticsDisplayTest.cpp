#include <gtest/gtest.h>

#include <bit>

#include "windowlogic/StatisticsDisplay.h"

namespace zelk {
namespace {

class StatisticsDisplayTest : public ::testing::Test {
protected:
    StatisticsDisplayTest() {
        s_.locale = LocaleInfo::FromId(kLocaleGerman, ',');
        s_.texts = GermanTexts();
        s_.series.MeanGlucose = 7.875f;
        s_.series.SdGlucose = 1.48779762f;
    }

    MainState s_;
};

TEST_F(StatisticsDisplayTest, MmolShowsTwoDecimalsAndSetsTheIndexToOne) {
    s_.ce_ZELK.Text = "72";
    s_.ce_ZELK.Digits = 0;
    ShowStatistics(s_);
    EXPECT_EQ(s_.ce_Mittelwert.Digits, 2);
    EXPECT_EQ(s_.ce_StdAbw.Digits, 2);
    EXPECT_EQ(s_.ce_ZELK.Digits, 1);
    EXPECT_EQ(s_.ce_Mittelwert.Text, "7,88");  // 7.875 is a tie
    EXPECT_EQ(s_.ce_StdAbw.Text, "1,49");
    EXPECT_EQ(s_.ce_ZELK.Text, "72");  // the index is not written here
    EXPECT_EQ(s_.Label4Caption, "mmol/l");
    s_.ce_ZELK.SetValue(4.25L, ',');
    EXPECT_EQ(s_.ce_ZELK.Text, "4,3");
}

TEST_F(StatisticsDisplayTest, MgPerDlUsesTheExtendedProduct) {
    s_.rg_Anzeige = 1;
    s_.texts = EnglishTexts();
    // 18 x 3.58333325f is 64.4999986 in extended precision; rounded to single it would be 64.5.
    s_.series.MeanGlucose = std::bit_cast<float>(0x40655555u);
    s_.ce_ZELK.Text = "4,0";
    ShowStatistics(s_);
    EXPECT_EQ(s_.ce_Mittelwert.Digits, 0);
    EXPECT_EQ(s_.ce_StdAbw.Digits, 0);
    EXPECT_EQ(s_.ce_ZELK.Digits, 0);
    EXPECT_EQ(s_.ce_Mittelwert.Text, "64");
    EXPECT_EQ(s_.ce_StdAbw.Text, "27");
    EXPECT_EQ(s_.ce_ZELK.Text, "4,0");
    EXPECT_EQ(s_.Label4Caption, "mg/dL");
    s_.ce_ZELK.SetValue(76.5L, ',');
    EXPECT_EQ(s_.ce_ZELK.Text, "77");
    s_.rg_Anzeige = 2;  // any item other than 0
    s_.series.MeanGlucose = 7.875f;
    ShowStatistics(s_);
    EXPECT_EQ(s_.ce_Mittelwert.Text, "142");
}

TEST_F(StatisticsDisplayTest, ZeroStatistics) {
    s_.series.MeanGlucose = 0.0f;
    s_.series.SdGlucose = 0.0f;
    ShowStatistics(s_);
    EXPECT_EQ(s_.ce_Mittelwert.Text, "0,00");
    EXPECT_EQ(s_.ce_StdAbw.Text, "0,00");
}

TEST_F(StatisticsDisplayTest, EditsToPointAndBack) {
    ShowStatistics(s_);
    s_.ce_ZELK.SetValue(4.0L, ',');
    EditsToPoint(s_);
    EXPECT_EQ(s_.ce_Mittelwert.Text, "7.88");
    EXPECT_EQ(s_.ce_StdAbw.Text, "1.49");
    EXPECT_EQ(s_.ce_ZELK.Text, "4.0");
    EditsToComma(s_);
    EXPECT_EQ(s_.ce_Mittelwert.Text, "7,88");
    EXPECT_EQ(s_.ce_StdAbw.Text, "1,49");
    EXPECT_EQ(s_.ce_ZELK.Text, "4,0");
    // Every separator is exchanged, also in typed text.
    s_.ce_ZELK.Text = "1,2,3";
    EditsToPoint(s_);
    EXPECT_EQ(s_.ce_ZELK.Text, "1.2.3");
    EXPECT_EQ(s_.ce_PID.Text, "");
}

TEST_F(StatisticsDisplayTest, NothingChangesWithAPointLocale) {
    s_.locale = LocaleInfo::FromId(kLocaleUsEnglish, '.');
    ShowStatistics(s_);
    EditsToComma(s_);
    EditsToPoint(s_);
    EXPECT_EQ(s_.ce_Mittelwert.Text, "7.88");
    EXPECT_EQ(s_.ce_StdAbw.Text, "1.49");
}

TEST_F(StatisticsDisplayTest, GridToPointTouchesOnlyTheValueColumns) {
    StringGrid& grid = s_.csg_Berechnung;
    grid.SetCell(2, 0, "a,b");
    for (int r = 1; r < grid.RowCount(); ++r)
        for (int c = 0; c < 6; ++c) grid.SetCell(c, r, "1,5");
    grid.SetCell(4, 2, "");
    GridToPoint(s_);
    EXPECT_EQ(grid.Cell(2, 0), "a,b");
    for (int r = 1; r < grid.RowCount(); ++r) {
        for (int c : {0, 1, 3}) EXPECT_EQ(grid.Cell(c, r), "1,5") << c << "," << r;
        for (int c : {2, 5}) EXPECT_EQ(grid.Cell(c, r), "1.5") << c << "," << r;
    }
    EXPECT_EQ(grid.Cell(4, 1), "1.5");
    EXPECT_EQ(grid.Cell(4, 2), "");
}

TEST_F(StatisticsDisplayTest, GridToPointOnTheHeaderRowAlone) {
    StringGrid& grid = s_.csg_Berechnung;
    grid.SetCell(5, 0, "x,y");
    grid.SetRowCount(1);
    GridToPoint(s_);
    EXPECT_EQ(grid.RowCount(), 1);
    EXPECT_EQ(grid.Cell(5, 0), "x,y");
}

}  // namespace
}  // namespace zelk
