#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "calc/Markers.h"
#include "calc/Series.h"
#include "components/NumericEdit.h"
#include "components/StringGrid.h"
#include "data/Hooks.h"

namespace zelk {

// What the calculation reads. The references stay bound, so a calculation sees
// what changes behind them (an option clicked while it waits, another unit).
struct CalculationInput {
    const DisplaySeries& series;
    const bool& cb_Startwert;
    const bool& cb_Endwert;
    const int& rg_Anzeige;  // display unit: 0 mmol/L, anything else mg/dL
    const char& decimalSeparator;
    const int& StartHour;
    const std::string& PeakHeader;
    const std::string& NadirHeader;
};

// What the calculation writes: the markers, the results table, the excursion index
// and the row bookkeeping.
struct CalculationOutput {
    ExcursionMarkers& markers;
    StringGrid& csg_Berechnung;
    NumericEdit& ce_ZELK;
    bool& PeakFirst;
    int& PeakRows;
    int& NadirRows;
    int& FirstRowIndex;
};

// The window's hooks, and what runs around a calculation: before it, the shown
// texts go to the separator the calculation reads; after a calculation that ended
// normally, back to the shown one. Empty functions do nothing.
struct CalculationHooks {
    const WindowHooks& window;
    std::function<void()> beforeRun;
    std::function<void()> afterRun;
};

// Columns 2 and 4 of the results table's header row: the peak header first when
// `peakFirst`, else the nadir header.
void SetTurningPointHeaders(StringGrid& grid, bool peakFirst, const std::string& peakHeader,
                            const std::string& nadirHeader);

// The calculation behind "Berechne": excursion markers, the rows of the results
// table, the end-value rule and the excursion index in ce_ZELK.
class ResultsCalculation {
public:
    ResultsCalculation(const CalculationInput& input, const CalculationOutput& output, CalculationHooks hooks)
        : in_(input), out_(output), hooks_(std::move(hooks)) {}

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
    // From the last marker on, the lowest (a nadir) or the highest (a peak) point: its
    // index and value; index -1 when the series has no value.
    std::pair<int, float> LastTurningPoint(bool lowest) const;
    // A turning point into columns 1 and 2, or into columns 3 and 4.
    void SetTurningPoint(int row, int index, float value, bool firstColumns);

    CalculationInput in_;
    CalculationOutput out_;
    CalculationHooks hooks_;
    std::vector<int> column3Index_;  // series index behind each row's column-3 clock text
};

}  // namespace zelk
