#pragma once

#include "calc/Series.h"

namespace zelk {

// Excursion detection over the display series: markers in PointDiff at the turning
// point where each rise (positive) or fall (negative) larger than SdGlucose starts.
class ExcursionMarkers {
public:
    ExcursionMarkers(DisplaySeries& series, const bool& startValueChecked)
        : s_(series), startValue_(startValueChecked) {}

    void ClearMarkers();
    // Index at which the first excursion was detected, HighIndex when none.
    int ComputeFirstExcursion();
    // Index at which the next excursion was detected (always > a), HighIndex + 1 when none.
    int ComputeNextExcursion(int a);
    void MergeSignRuns();
    // Largest index whose stretch to the end spreads more than SdGlucose; 0 when none.
    int FindLastExcursionFromEnd() const;

    int LastDirection = 0;  // 1 fall, -1 rise, 0 none
    int IdxMin = 0;
    int IdxMax = 0;

private:
    // Runs the shared search from s; returns the detection index or -1.
    int Search(int s, float& minimum, float& maximum, float& diff);
    float Value(int i) const { return s_.PointValue[static_cast<size_t>(i)]; }
    float& Diff(int i) { return s_.PointDiff[static_cast<size_t>(i)]; }

    DisplaySeries& s_;
    const bool& startValue_;
};

}  // namespace zelk
