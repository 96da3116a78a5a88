#pragma once

#include <string>
#include <vector>

#include "data/Hooks.h"
#include "windowlogic/MainState.h"

namespace zelk {

// The calculation behind "Berechne": excursion markers, the rows of the results
// table, the end-value rule and the excursion index in ce_ZELK.
class ResultsCalculation {
public:
    ResultsCalculation(MainState& state, const WindowHooks& hooks) : s_(state), hooks_(hooks) {}

    void Button1Click();

    int FillPeakRows(int start);
    int FillNadirRows(int start);
    int NextFallMarker(int from) const;
    int NextRiseMarker(int from) const;
    std::string IndexToClockText(int index) const;
    int LastMarkerIndex(int start) const;
    void CompleteLastNadir();
    void CompleteLastPeak();
    void ComputeAmplitudes();

    // "%4.1f" of v in mmol/L, or "%4.0f" of 18 x v in mg/dL.
    std::string ValueText(float v) const;
    // "%4.1f" or "%4.0f" of an amplitude already in the display unit.
    std::string AmplitudeText(float a) const;
    // "1", "2" or "3": the day of a series index.
    std::string DayOf(int index) const;

private:
    // One pass over the markers: falls (peaks) or rises (nadirs).
    int FillRows(int start, bool peaks);
    int NextMarker(int from, bool fall) const;
    void EnsureRow(int row);
    void SetColumn3(int row, int index);

    MainState& s_;
    const WindowHooks& hooks_;
    std::vector<int> column3Index_;  // series index behind each row's column-3 clock text
};

}  // namespace zelk
