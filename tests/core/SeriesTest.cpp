#include <gtest/gtest.h>

#include <vector>

#include "calc/Series.h"
#include "windowlogic/MainCore.h"

namespace zelk {
namespace {

// A grid of 4320 empty rows.
WerteTab EmptyGrid() {
    WerteTab grid;
    grid.CreateWithDemo({});
    grid.ClearGlukose();
    return grid;
}

void Put(WerteTab& grid, int minute, double value) { grid.SetGlukose(grid.FindKey(minute), value); }

// One value per 15-minute point, at the first minute of its window.
WerteTab QuarterHourGrid(const std::vector<double>& values) {
    WerteTab grid = EmptyGrid();
    for (size_t j = 0; j < values.size(); ++j) Put(grid, static_cast<int>(j) * 15, values[j]);
    return grid;
}

// ---- PointAverage ------------------------------------------------------------

TEST(PointAverage, MeanOfTheValuesOfItsWindowAboveZero) {
    WerteTab grid = EmptyGrid();
    Put(grid, 15, 6.0);
    Put(grid, 20, 0.0);  // a zero is not counted
    Put(grid, 25, 7.0);
    Put(grid, 30, 100.0);  // first minute of the next window
    EXPECT_FLOAT_EQ(PointAverage(grid, kHighIndex15, 1), 6.5f);
    EXPECT_EQ(PointAverage(grid, kHighIndex15, 0), 0.0f);
    EXPECT_EQ(PointAverage(grid, kHighIndex15, 2), 100.0f);
}

TEST(PointAverage, WindowWidthFollowsHighIndex) {
    WerteTab grid = EmptyGrid();
    Put(grid, 5, 4.0);
    Put(grid, 9, 6.0);
    Put(grid, 10, 20.0);
    // 5-minute points: minutes 5 to 9.
    EXPECT_EQ(PointAverage(grid, kHighIndex5, 1), 5.0f);
    // 15 minutes up to a HighIndex of 288.
    EXPECT_FLOAT_EQ(PointAverage(grid, 288, 0), 10.0f);
    EXPECT_EQ(PointAverage(grid, 289, 1), 5.0f);
}

TEST(PointAverage, SumsInSinglePrecision) {
    WerteTab grid = EmptyGrid();
    Put(grid, 0, 16777216.0);
    Put(grid, 1, 1.0);
    Put(grid, 2, 1.0);
    // Each 1 is lost against 2^24 in single precision: 2^24 / 3, rounded to single.
    EXPECT_EQ(PointAverage(grid, kHighIndex15, 0), 5592405.5f);
}

TEST(PointAverage, MissingKeyRowGivesZeroAndRowsAreVisitedInIndexOrder) {
    WerteTab grid = EmptyGrid();
    Put(grid, 16, 5.0);
    grid.DeleteRow(grid.FindKey(15));
    EXPECT_EQ(PointAverage(grid, kHighIndex15, 1), 0.0f);

    WerteTab gap = EmptyGrid();
    Put(gap, 30, 9.0);
    Put(gap, 15, 3.0);
    gap.DeleteRow(gap.FindKey(20));
    // Fifteen rows from minute 15 now reach minute 30.
    EXPECT_EQ(PointAverage(gap, kHighIndex15, 1), 6.0f);
}

// ---- BuildSeries ----------------------------------------------------------------

TEST(BuildSeries, ValuesRowsAndMean) {
    const WerteTab grid = QuarterHourGrid({3.9, 8.9, 35.0, 0.1, 0.0, 4.0});
    DisplaySeries s;
    const float mean = BuildSeries(s, grid, SeriesSettings{});
    EXPECT_EQ(s.HighIndex, kHighIndex15);
    EXPECT_EQ(s.PointY[0], 209);
    EXPECT_EQ(s.PointY[1], 169);
    EXPECT_EQ(s.PointValue[2], 30.0f);  // capped
    EXPECT_EQ(s.PointY[2], 0);
    EXPECT_EQ(s.PointValue[3], 0.1f);  // below one pixel: row 240, but counted
    EXPECT_EQ(s.PointY[3], 240);
    EXPECT_EQ(s.PointValue[4], 0.0f);
    EXPECT_EQ(s.PointY[4], 240);
    EXPECT_EQ(s.PointY[287], 240);
    const float expected = (((((3.9f + 8.9f) + 30.0f) + 0.1f) + 4.0f)) / 5;
    EXPECT_FLOAT_EQ(mean, expected);
}

TEST(BuildSeries, SingleValueEmptyGridAndCappedValue) {
    // One value: the mean is that value and the deviation 0.
    DisplaySeries one;
    one.MeanGlucose = BuildSeries(one, QuarterHourGrid({0.0, 0.0, 7.3}), SeriesSettings{});
    EXPECT_EQ(one.MeanGlucose, 7.3f);
    EXPECT_EQ(SeriesStdDev(one), 0.0f);

    // No value at all: mean and deviation 0, every point on the zero row.
    DisplaySeries none;
    none.MeanGlucose = BuildSeries(none, EmptyGrid(), SeriesSettings{});
    EXPECT_EQ(none.MeanGlucose, 0.0f);
    EXPECT_EQ(SeriesStdDev(none), 0.0f);
    EXPECT_EQ(none.PointY[0], 240);
    EXPECT_EQ(none.PointY[287], 240);

    // A value above 30 enters mean and deviation as 30: (30 + 10) / 2 = 20, deviation 10.
    DisplaySeries capped;
    capped.MeanGlucose = BuildSeries(capped, QuarterHourGrid({45.0, 10.0}), SeriesSettings{});
    EXPECT_EQ(capped.PointValue[0], 30.0f);
    EXPECT_EQ(capped.MeanGlucose, 20.0f);
    EXPECT_EQ(SeriesStdDev(capped), 10.0f);
}

TEST(BuildSeries, HighIndexNeedsTheFiveMinuteMenuAndStepItemZero) {
    const WerteTab grid = EmptyGrid();
    DisplaySeries s;
    SeriesSettings settings;
    settings.fiveMinuteMenu = true;
    settings.rasterIndex = 0;
    BuildSeries(s, grid, settings);
    EXPECT_EQ(s.HighIndex, 863);
    settings.rasterIndex = 1;  // "15"
    BuildSeries(s, grid, settings);
    EXPECT_EQ(s.HighIndex, 287);
    settings.rasterIndex = -1;  // a typed step
    BuildSeries(s, grid, settings);
    EXPECT_EQ(s.HighIndex, 287);
    settings.fiveMinuteMenu = false;
    settings.rasterIndex = 0;
    BuildSeries(s, grid, settings);
    EXPECT_EQ(s.HighIndex, 287);
}

TEST(BuildSeries, CurveOffsetFromRaster) {
    const WerteTab grid = EmptyGrid();
    DisplaySeries s;
    s.CurveXOffset = 7;
    SeriesSettings settings;
    settings.X_Raster = 5;  // unknown: unchanged
    BuildSeries(s, grid, settings);
    EXPECT_EQ(s.CurveXOffset, 7);
    for (const auto& [raster, offset] : {std::pair{3, 0}, std::pair{4, 2}, std::pair{6, 1}}) {
        settings.X_Raster = raster;
        BuildSeries(s, grid, settings);
        EXPECT_EQ(s.CurveXOffset, offset) << raster;
    }
}

TEST(BuildSeries, EntriesAboveHighIndexAreLeftAndIgnored) {
    WerteTab grid = EmptyGrid();
    Put(grid, 0, 4.0);
    Put(grid, 15, 6.0);
    DisplaySeries s;
    s.PointValue[500] = 9.0f;
    s.PointY[500] = 168;
    s.MeanGlucose = BuildSeries(s, grid, SeriesSettings{});
    EXPECT_EQ(s.PointValue[500], 9.0f);
    EXPECT_EQ(s.PointY[500], 168);
    EXPECT_EQ(s.MeanGlucose, 5.0f);
    EXPECT_EQ(SeriesStdDev(s), 1.0f);
}

// ---- SeriesStdDev -----------------------------------------------------------------

TEST(SeriesStdDev, TwoValuesOneValueNoValue) {
    DisplaySeries s;
    s.HighIndex = kHighIndex15;
    s.PointValue[10] = 4.0f;
    s.PointValue[200] = 6.0f;
    s.MeanGlucose = 5.0f;
    EXPECT_EQ(SeriesStdDev(s), 1.0f);

    DisplaySeries one;
    one.HighIndex = kHighIndex15;
    one.PointValue[3] = 7.3f;
    one.MeanGlucose = 7.3f;
    EXPECT_EQ(SeriesStdDev(one), 0.0f);

    DisplaySeries none;
    none.HighIndex = kHighIndex15;
    EXPECT_EQ(SeriesStdDev(none), 0.0f);
}

TEST(SeriesStdDev, SquaresAreSummedInSinglePrecision) {
    DisplaySeries s;
    s.HighIndex = kHighIndex15;
    s.MeanGlucose = 10.0f;
    s.PointValue[0] = 4106.0f;  // d = 4096, d*d = 2^24
    s.PointValue[1] = 11.0f;    // d = 1: each lost against 2^24 in single precision
    s.PointValue[2] = 11.0f;
    s.PointValue[3] = 11.0f;
    EXPECT_EQ(SeriesStdDev(s), 2048.0f);  // a double sum would give 2048.000244
}

TEST(SeriesStdDev, WorkedExampleDay) {
    const WerteTab grid = QuarterHourGrid({6.0, 7.5, 9.0, 10.5, 9.5, 7.0, 5.5, 6.0, 7.5, 8.5, 9.0, 8.5});
    DisplaySeries s;
    s.MeanGlucose = BuildSeries(s, grid, SeriesSettings{});
    EXPECT_EQ(s.MeanGlucose, 7.875f);
    // sqrt(26.5625 / 12)
    EXPECT_EQ(SeriesStdDev(s), 1.48779762f);
}

// ---- Curve polyline ------------------------------------------------------------------

TEST(CurvePolyline, XPositionsForEachRaster) {
    DisplaySeries s;
    s.HighIndex = kHighIndex15;
    s.CurveXOffset = 2;
    EXPECT_EQ(CurveX(s, 4, 0), 82);
    EXPECT_EQ(CurveX(s, 4, 10), 122);
    s.CurveXOffset = 0;  // 5-minute menu with step "15": 288 points over the full width
    EXPECT_EQ(CurveX(s, 3, 10), 110);
    s.HighIndex = kHighIndex5;
    EXPECT_EQ(CurveX(s, 3, 10), 90);
    EXPECT_EQ(CurveX(s, 3, 863), 943);
    s.CurveXOffset = 1;
    EXPECT_EQ(CurveX(s, 6, 10), 101);
    EXPECT_EQ(CurveX(s, 6, 863), 81 + 2 * 863);
}

DisplaySeries RowSeries(int HighIndex, const std::vector<std::pair<int, int>>& rows, int offset = 2) {
    DisplaySeries s;
    s.HighIndex = HighIndex;
    s.CurveXOffset = offset;
    for (int k = 0; k <= HighIndex; ++k) s.PointY[static_cast<size_t>(k)] = kZeroRow;
    for (const auto& [k, y] : rows) s.PointY[static_cast<size_t>(k)] = y;
    return s;
}

std::vector<CurvePoint> Points(const CurvePolyline& line) {
    return {line.lineTo.begin(), line.lineTo.begin() + line.count};
}

TEST(CurvePolyline, BridgesEmptyPointsAndPassesOverTheCap) {
    const DisplaySeries s = RowSeries(kHighIndex15, {{1, 200}, {2, 0}, {4, 180}, {5, 239}, {6, 1}});
    const CurvePolyline line = BuildCurvePolyline(s, 4);
    EXPECT_EQ(line.start, (CurvePoint{86, 200}));
    EXPECT_EQ(Points(line), (std::vector<CurvePoint>{{98, 180}, {102, 239}, {106, 1}}));
}

TEST(CurvePolyline, StartsAtACappedFirstPoint) {
    const DisplaySeries s = RowSeries(kHighIndex15, {{3, 0}, {4, 180}});
    const CurvePolyline line = BuildCurvePolyline(s, 4);
    EXPECT_EQ(line.start, (CurvePoint{94, 0}));
    EXPECT_EQ(Points(line), (std::vector<CurvePoint>{{98, 180}}));
}

TEST(CurvePolyline, StartIsSearchedInTheFirstHalfOnly) {
    // 143 is the last index of the first half of 288 points.
    const CurvePolyline inHalf = BuildCurvePolyline(RowSeries(kHighIndex15, {{143, 200}, {150, 190}}), 4);
    EXPECT_EQ(inHalf.start, (CurvePoint{82 + 4 * 143, 200}));
    EXPECT_EQ(inHalf.count, 1);

    const CurvePolyline late = BuildCurvePolyline(RowSeries(kHighIndex15, {{144, 200}, {150, 190}}), 4);
    EXPECT_EQ(late.start, (CurvePoint{82, 240}));
    EXPECT_EQ(Points(late), (std::vector<CurvePoint>{{82 + 4 * 144, 200}, {82 + 4 * 150, 190}}));

    const CurvePolyline empty = BuildCurvePolyline(RowSeries(kHighIndex15, {}), 4);
    EXPECT_EQ(empty.start, (CurvePoint{82, 240}));
    EXPECT_EQ(empty.count, 0);

    const CurvePolyline five = BuildCurvePolyline(RowSeries(kHighIndex5, {{432, 200}}, 0), 3);
    EXPECT_EQ(five.start, (CurvePoint{80, 240}));
    EXPECT_EQ(Points(five), (std::vector<CurvePoint>{{80 + 432, 200}}));
}

// Drawing and erasing go through the core's hooks; erasing covers exactly the drawn
// curve, also its first line from the zero row when the first half has no value.
TEST(CurvePolyline, EraseCoversExactlyTheDrawnCurve) {
    MainCore core(LocaleInfo::FromId(kLocaleGerman));
    std::vector<CurvePolyline> drawn, erased;
    core.Hooks().drawCurve = [&drawn](const CurvePolyline& line) { drawn.push_back(line); };
    core.Hooks().eraseCurve = [&erased](const CurvePolyline& line) { erased.push_back(line); };
    core.StartUp("de");
    MainState& st = core.State();
    st.werteTab.ClearGlukose();
    for (int minute = 3000; minute < 3600; minute += 15) st.werteTab.SetGlukose(st.werteTab.FindKey(minute), 7.5);
    core.RebuildSeries();
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_EQ(drawn.back().start, (CurvePoint{82, 240}));
    EXPECT_EQ(drawn.back().count, 40);
    core.EraseCurve();
    ASSERT_EQ(erased.size(), 1u);
    EXPECT_EQ(erased.back(), drawn.back());

    // The 5-minute grid: the erase before the switch covers the 15-minute curve.
    core.EraseCurve();
    st.N5minRaster1 = true;
    st.X_Raster = 3;
    core.RebuildSeries();
    EXPECT_EQ(erased.back(), drawn[1]);
    core.EraseCurve();
    EXPECT_EQ(erased.back(), drawn.back());
    EXPECT_EQ(drawn.back().start, (CurvePoint{80, 240}));
    EXPECT_EQ(drawn.back().lineTo[0], (CurvePoint{80 + 600, 180}));
}

}  // namespace
}  // namespace zelk
