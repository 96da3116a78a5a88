#include "calc/Calculation.h"

#include <cmath>

#include "components/NumberText.h"
#include "data/DateTexts.h"
#include "data/Errors.h"
#include "data/TextNumber.h"
#include "data/Units.h"

namespace zelk {

std::string ResultsCalculation::ValueText(float v) const {
    const char sep = in_.decimalSeparator;
    if (in_.rg_Anzeige == 0) return FormatFixed(v, 4, 1, sep);
    return FormatFixed(kMgPerMmol * v, 4, 0, sep);
}

std::string ResultsCalculation::AmplitudeText(float a) const {
    return FormatFixed(a, 4, in_.rg_Anzeige == 0 ? 1 : 0, in_.decimalSeparator);
}

std::string ResultsCalculation::DayOf(int index) const {
    const int t = in_.series.HighIndex / 3;
    if (index < t) return "1";
    if (index < 2 * t) return "2";
    return "3";
}

std::string ResultsCalculation::IndexToClockText(int index) const {
    int h = 0, m = 0;
    if (in_.series.HighIndex == kHighIndex5) {
        h = index / 12;
        m = (index % 12) * 5;
    } else {
        h = index / 4;
        m = (index % 4) * 15;
    }
    h += in_.StartHour;
    while (h >= 24) h -= 24;
    return TimeText(h, m);
}

int ResultsCalculation::NextMarker(int from, bool fall) const {
    const DisplaySeries& se = in_.series;
    for (int i = from < 0 ? 0 : from; i <= se.HighIndex; ++i) {
        const float d = se.PointDiff[static_cast<size_t>(i)];
        if ((fall ? d < 0.0f : d > 0.0f) && std::fabs(d) > se.SdGlucose) return i;
    }
    return se.HighIndex + 1;
}

int ResultsCalculation::NextFallMarker(int from) const { return NextMarker(from, true); }

int ResultsCalculation::NextRiseMarker(int from) const { return NextMarker(from, false); }

void ResultsCalculation::EnsureRow(int row) {
    if (row >= out_.csg_Berechnung.RowCount()) out_.csg_Berechnung.SetRowCount(row + 1);
    if (static_cast<int>(column3Index_.size()) <= row) column3Index_.resize(static_cast<size_t>(row) + 1, -1);
}

void ResultsCalculation::SetColumn3(int row, int index) {
    out_.csg_Berechnung.SetCell(3, row, IndexToClockText(index));
    column3Index_[static_cast<size_t>(row)] = index;
}

int ResultsCalculation::FillRows(int start, bool peaks) {
    StringGrid& grid = out_.csg_Berechnung;
    int& rows = peaks ? out_.PeakRows : out_.NadirRows;
    const bool firstPass = peaks == out_.PeakFirst;  // the first pass fills columns 1 and 2
    const int end = in_.series.HighIndex + 1;
    int a = start;
    while (a < end) {
        a = NextMarker(a + 1, peaks);
        if (a >= end) break;
        const int r = ++rows;
        EnsureRow(r);
        if (peaks) grid.SetCell(0, r, DayOf(a));
        const float value = in_.series.PointValue[static_cast<size_t>(a)];
        if (firstPass) {
            SetTurningPoint(r, a, value, true);
            if (r == 1) out_.FirstRowIndex = a;
        } else {
            SetColumn3(r, a);
            if (r == 1 && a <= out_.FirstRowIndex)
                --rows;  // not after row 1's first turning point: the next one takes row 1
            else
                grid.SetCell(4, r, ValueText(value));
        }
    }
    return rows;
}

int ResultsCalculation::FillPeakRows(int start) { return FillRows(start, true); }

int ResultsCalculation::FillNadirRows(int start) { return FillRows(start, false); }

int ResultsCalculation::LastMarkerIndex(int start) const {
    const DisplaySeries& se = in_.series;
    for (int i = start; i >= 0; --i)
        if (std::fabs(se.PointDiff[static_cast<size_t>(i)]) > se.SdGlucose) return i;
    for (int i = 0; i <= se.HighIndex; ++i)
        if (se.PointValue[static_cast<size_t>(i)] > 0.0f) return i;
    return -1;
}

std::pair<int, float> ResultsCalculation::LastTurningPoint(bool lowest) const {
    const DisplaySeries& se = in_.series;
    int k = LastMarkerIndex(se.HighIndex);
    if (k < 0) return {k, 0.0f};
    float v = se.PointValue[static_cast<size_t>(k)];
    for (int i = k + 1; i <= se.HighIndex; ++i) {
        const float p = se.PointValue[static_cast<size_t>(i)];
        if (lowest ? p > 0.0f && p < v : p > v) {
            v = p;
            k = i;
        }
    }
    return {k, v};
}

void ResultsCalculation::SetTurningPoint(int row, int index, float value, bool firstColumns) {
    if (firstColumns) {
        out_.csg_Berechnung.SetCell(1, row, IndexToClockText(index));
        out_.csg_Berechnung.SetCell(2, row, ValueText(value));
    } else {
        SetColumn3(row, index);
        out_.csg_Berechnung.SetCell(4, row, ValueText(value));
    }
}

void ResultsCalculation::CompleteLastNadir() {
    const auto [k, v] = LastTurningPoint(true);
    if (k < 0) return;
    const int r = out_.PeakRows;
    EnsureRow(r);
    SetTurningPoint(r, k, v, !out_.PeakFirst);
    out_.NadirRows = out_.PeakRows;
}

void ResultsCalculation::CompleteLastPeak() {
    const auto [k, v] = LastTurningPoint(false);
    if (k < 0) return;
    const int r = out_.NadirRows;
    EnsureRow(r);
    out_.csg_Berechnung.SetCell(0, r, DayOf(k));
    SetTurningPoint(r, k, v, out_.PeakFirst);
    out_.PeakRows = out_.NadirRows;
}

void ResultsCalculation::ComputeAmplitudes() {
    StringGrid& grid = out_.csg_Berechnung;
    const char sep = in_.decimalSeparator;
    float sum = 0.0f;
    int n = 0;
    const auto read = [sep](const std::string& text) {
        const auto value = TextToFloat(text, sep);
        if (!value) throw ConversionError("'" + text + "' is not a valid floating point value");
        return *value;
    };
    for (int r = 1; r < grid.RowCount(); ++r) {
        if (grid.Cell(1, r).empty() || grid.Cell(2, r).empty() || grid.Cell(4, r).empty()) continue;
        const long double first = read(grid.Cell(2, r));
        const long double second = read(grid.Cell(4, r));
        const float a = static_cast<float>(out_.PeakFirst ? first - second : second - first);
        sum = static_cast<float>(static_cast<long double>(sum) + a);
        grid.SetCell(5, r, AmplitudeText(a));
        ++n;
    }
    if (n > 0) out_.ce_ZELK.SetValue(static_cast<long double>(sum) / n, sep);
}

void SetTurningPointHeaders(StringGrid& grid, bool peakFirst, const std::string& peakHeader,
                            const std::string& nadirHeader) {
    grid.SetCell(2, 0, peakFirst ? peakHeader : nadirHeader);
    grid.SetCell(4, 0, peakFirst ? nadirHeader : peakHeader);
}

void ResultsCalculation::Button1Click() {
    if (hooks_.beforeRun) hooks_.beforeRun();
    out_.csg_Berechnung.ClearRows(1);
    out_.ce_ZELK.Text.clear();
    hooks_.window.ProcessEvents();

    ExcursionMarkers& markers = out_.markers;
    markers.ClearMarkers();
    const int b0 = markers.ComputeFirstExcursion();

    out_.PeakFirst = markers.LastDirection == 1;
    SetTurningPointHeaders(out_.csg_Berechnung, out_.PeakFirst, in_.PeakHeader, in_.NadirHeader);

    const int high = in_.series.HighIndex;
    for (int b = b0; b < high + 1;) b = markers.ComputeNextExcursion(b);
    markers.MergeSignRuns();

    out_.PeakRows = 0;
    out_.NadirRows = 0;
    out_.FirstRowIndex = 0;
    column3Index_.assign(static_cast<size_t>(out_.csg_Berechnung.RowCount()), -1);
    int i0 = 0;
    while (i0 <= high && in_.series.PointDiff[static_cast<size_t>(i0)] == 0.0f) ++i0;

    const int start = in_.cb_Startwert ? i0 - 1 : b0 - 1;
    int d = 0, e = 0;
    if (out_.PeakFirst) {
        d = FillPeakRows(start);
        e = FillNadirRows(start);
    } else {
        e = FillNadirRows(start);
        d = FillPeakRows(start);
    }
    if (d > e)
        CompleteLastNadir();
    else if (d < e)
        CompleteLastPeak();

    if (!in_.cb_Endwert && out_.PeakRows > 0) {
        const int j = markers.FindLastExcursionFromEnd();
        const int last = out_.PeakRows;
        const int lastIndex =
            last < static_cast<int>(column3Index_.size()) ? column3Index_[static_cast<size_t>(last)] : -1;
        if (lastIndex > j) out_.csg_Berechnung.SetRowCount(out_.PeakRows);
    }

    ComputeAmplitudes();

    if (hooks_.afterRun) hooks_.afterRun();
}

}  // namespace zelk
