#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <vector>

#include "calc/Markers.h"

namespace zelk {
namespace {

// A 15-minute series whose points after the listed ones have no value.
class MarkersTest : public ::testing::Test {
protected:
    void Load(const std::vector<float>& values, float sd, int HighIndex = kHighIndex15) {
        series_ = DisplaySeries{};
        series_.HighIndex = HighIndex;
        for (size_t i = 0; i < values.size(); ++i) series_.PointValue[i] = values[i];
        series_.SdGlucose = sd;
        for (float& d : series_.PointDiff) d = 99.0f;  // left over from an earlier calculation
    }

    // The chain of the calculation; returns b0.
    int Chain() {
        markers_.ClearMarkers();
        const int b0 = markers_.ComputeFirstExcursion();
        peakFirst_ = markers_.LastDirection == 1;
        for (int b = b0; b < series_.HighIndex + 1;) {
            const int next = markers_.ComputeNextExcursion(b);
            EXPECT_GT(next, b);
            b = next;
        }
        markers_.MergeSignRuns();
        return b0;
    }

    std::map<int, float> Markers() const {
        std::map<int, float> result;
        for (int i = 0; i <= series_.HighIndex; ++i) {
            const float marker = series_.PointDiff[static_cast<size_t>(i)];
            if (marker != 0.0f) result[i] = marker;
        }
        return result;
    }

    DisplaySeries series_;
    bool startValue_ = true;
    ExcursionMarkers markers_{series_, startValue_};
    bool peakFirst_ = false;
};

using M = std::map<int, float>;

TEST_F(MarkersTest, EarliestOfEqualMinimaWithStartValue) {
    Load({5.0f, 5.0f, 7.0f, 6.0f, 4.0f, 4.5f, 7.0f}, 1.0f);
    markers_.ClearMarkers();
    EXPECT_EQ(markers_.ComputeFirstExcursion(), 2);
    EXPECT_EQ(markers_.LastDirection, -1);
    EXPECT_EQ(markers_.ComputeNextExcursion(2), 4);
    EXPECT_EQ(markers_.ComputeNextExcursion(4), 6);
    EXPECT_EQ(markers_.ComputeNextExcursion(6), 288);
    EXPECT_EQ(Markers(), (M{{0, 2.0f}, {2, -3.0f}, {4, 3.0f}}));
    EXPECT_EQ(Chain(), 2);
    EXPECT_FALSE(peakFirst_);
}

TEST_F(MarkersTest, FirstExcursionUnmarkedWithoutStartValue) {
    Load({5.0f, 5.0f, 7.0f, 6.0f, 4.0f, 4.5f, 7.0f}, 1.0f);
    startValue_ = false;
    EXPECT_EQ(Chain(), 2);
    EXPECT_TRUE(peakFirst_);
    EXPECT_EQ(Markers(), (M{{2, -3.0f}, {4, 3.0f}}));
}

TEST_F(MarkersTest, ContinuedRiseIsMergedOrMarkedBeforeB0) {
    Load({5.0f, 7.0f, 9.0f, 8.0f}, 1.5f);
    markers_.ClearMarkers();
    EXPECT_EQ(markers_.ComputeFirstExcursion(), 1);
    EXPECT_EQ(markers_.ComputeNextExcursion(1), 2);
    EXPECT_EQ(Markers(), (M{{0, 2.0f}, {1, 2.0f}}));
    markers_.MergeSignRuns();
    EXPECT_EQ(Markers(), (M{{0, 4.0f}}));

    startValue_ = false;
    EXPECT_EQ(Chain(), 1);
    EXPECT_EQ(Markers(), (M{{0, 2.0f}}));  // the kept IdxMin lies before b0
}

TEST_F(MarkersTest, WorkedExampleDay) {
    Load({6.0f, 7.5f, 9.0f, 10.5f, 9.5f, 7.0f, 5.5f, 6.0f, 7.5f, 8.5f, 9.0f, 8.5f}, 1.48779762f);
    markers_.ClearMarkers();
    int b = markers_.ComputeFirstExcursion();
    while (b < series_.HighIndex + 1) b = markers_.ComputeNextExcursion(b);
    EXPECT_EQ(Markers(), (M{{0, 1.5f}, {1, 1.5f}, {2, 1.5f}, {3, -3.5f}, {5, -1.5f}, {6, 2.0f}, {8, 1.5f}}));
    markers_.MergeSignRuns();
    EXPECT_EQ(Markers(), (M{{0, 4.5f}, {3, -5.0f}, {6, 3.5f}}));
    EXPECT_EQ(markers_.FindLastExcursionFromEnd(), 8);

    startValue_ = false;
    EXPECT_EQ(Chain(), 1);
    EXPECT_TRUE(peakFirst_);
    EXPECT_EQ(Markers(), (M{{0, 3.0f}, {3, -5.0f}, {6, 3.5f}}));
}

TEST_F(MarkersTest, DipSmallerThanTheDeviation) {
    Load({5.0f, 8.0f, 7.0f, 10.0f}, 2.0f);
    EXPECT_EQ(Chain(), 1);
    EXPECT_EQ(Markers(), (M{{0, 6.0f}}));

    startValue_ = false;
    EXPECT_EQ(Chain(), 1);
    EXPECT_TRUE(peakFirst_);
    EXPECT_EQ(Markers(), (M{{2, 3.0f}}));  // a rise after b0 although PeakFirst
}

TEST_F(MarkersTest, MergeSignRunsCollapsesRunsWithTheirZeros) {
    Load({}, 1.0f);
    markers_.ClearMarkers();
    const float entries[] = {0.0f, -3.0f, 0.0f, -1.0f, 2.0f, 0.0f, 1.0f, 0.0f};
    for (size_t i = 0; i < 8; ++i) series_.PointDiff[i] = entries[i];
    markers_.MergeSignRuns();
    EXPECT_EQ(Markers(), (M{{1, -4.0f}, {4, 3.0f}}));
    EXPECT_EQ(series_.PointDiff[8], 0.0f);
}

TEST_F(MarkersTest, MergeSumsInSinglePrecision) {
    Load({}, 1.0f);
    markers_.ClearMarkers();
    series_.PointDiff[0] = 16777216.0f;
    series_.PointDiff[1] = 1.0f;
    series_.PointDiff[2] = 1.0f;
    markers_.MergeSignRuns();
    EXPECT_EQ(Markers(), (M{{0, 16777216.0f}}));
}

TEST_F(MarkersTest, NoValueOrAllEqualHasNoExcursion) {
    for (const auto& values : {std::vector<float>{}, std::vector<float>{6.0f, 6.0f, 6.0f, 6.0f}}) {
        Load(values, 0.0f);
        markers_.ClearMarkers();
        EXPECT_EQ(Markers(), M{});
        const int b0 = markers_.ComputeFirstExcursion();
        EXPECT_EQ(b0, kHighIndex15);
        EXPECT_EQ(markers_.LastDirection, 0);
        EXPECT_EQ(markers_.ComputeNextExcursion(b0), kHighIndex15 + 1);
        markers_.MergeSignRuns();
        EXPECT_EQ(Markers(), M{});
        EXPECT_EQ(markers_.FindLastExcursionFromEnd(), 0);
    }
}

TEST_F(MarkersTest, ClearMarkersLeavesEntriesAboveHighIndex) {
    Load({}, 1.0f);
    markers_.ClearMarkers();
    EXPECT_EQ(series_.PointDiff[287], 0.0f);
    EXPECT_EQ(series_.PointDiff[288], 99.0f);
}

TEST_F(MarkersTest, FallAcrossEmptyPointsMarkedAtItsPeak) {
    Load({0.0f, 0.0f, 9.0f, 0.0f, 0.0f, 0.0f, 6.0f}, 1.0f);
    EXPECT_EQ(Chain(), 6);
    EXPECT_TRUE(peakFirst_);
    EXPECT_EQ(Markers(), (M{{2, -3.0f}}));  // at the first point with a value
}

TEST_F(MarkersTest, DeviationIsAStrictThreshold) {
    Load({5.0f, 6.0f, 5.0f}, 1.0f);
    EXPECT_EQ(Chain(), kHighIndex15);
    EXPECT_EQ(Markers(), M{});
    EXPECT_EQ(markers_.FindLastExcursionFromEnd(), 0);
}

TEST_F(MarkersTest, PlateauMarksItsFirstPoint) {
    Load({5.0f, 9.0f, 9.0f, 9.0f, 5.0f}, 1.0f);
    Chain();
    EXPECT_EQ(Markers(), (M{{0, 4.0f}, {1, -4.0f}}));
}

TEST_F(MarkersTest, ScanFromTheEnd) {
    // Points without a value take no part; the last spread above the deviation is at 4.
    Load({8.0f, 5.0f, 6.0f, 0.0f, 4.0f, 0.0f, 5.5f, 0.0f}, 1.0f);
    EXPECT_EQ(markers_.FindLastExcursionFromEnd(), 4);
    // Capped values: the minimum starts at 30 and the maximum at 0.
    Load({28.0f, 30.0f, 30.0f}, 1.5f);
    EXPECT_EQ(markers_.FindLastExcursionFromEnd(), 0);
    Load({26.0f, 27.0f, 30.0f, 30.0f}, 1.5f);
    EXPECT_EQ(markers_.FindLastExcursionFromEnd(), 1);
    // The whole 5-minute series is scanned.
    Load({}, 1.0f, kHighIndex5);
    series_.PointValue[862] = 9.0f;
    series_.PointValue[863] = 5.0f;
    EXPECT_EQ(markers_.FindLastExcursionFromEnd(), 862);
}

TEST_F(MarkersTest, AfterTheChainMarkersAlternateAndExceedTheDeviation) {
    std::vector<float> values;
    for (int i = 0; i < 288; ++i) values.push_back(5.0f + static_cast<float>((i * 7919) % 23) * 0.5f);
    Load(values, 2.2f);
    Chain();
    float previous = 0.0f;
    int count = 0;
    for (const auto& [index, marker] : Markers()) {
        EXPECT_GT(std::fabs(marker), 2.2f) << index;
        EXPECT_LT(index, kHighIndex15);
        EXPECT_TRUE(previous == 0.0f || (previous > 0) != (marker > 0)) << index;
        previous = marker;
        ++count;
    }
    EXPECT_GT(count, 10);
}

}  // namespace
}  // namespace zelk
