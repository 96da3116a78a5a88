#include "calc/Calculation.h"

#include <cmath>

#include "components/NumberText.h"
#include "data/Errors.h"
#include "data/TextNumber.h"
#include "windowlogic/StatisticsDisplay.h"

namespace zelk {
namespace {
constexpr float kMgPerMmol = 18.0f;
}

std::string ResultsCalculation::ValueText(float v) const {
    const char sep = s_.locale.decimalSeparator;
    if (s_.rg_Anzeige == 0) return FormatFixed(v, 4, 1, sep);
    return FormatFixed(static_cast<long double>(kMgPerMmol) * v, 4, 0, sep);
}

std::string ResultsCalculation::AmplitudeText(float a) const {
    return FormatFixed(a, 4, s_.rg_Anzeige == 0 ? 1 : 0, s_.locale.decimalSeparator);
}

std::string ResultsCalculation::DayOf(int index) const {
    const int t = s_.series.HighIndex / 3;
    if (index < t) return "1";
    if (index < 2 * t) return "2";
    return "3";
}

std::string ResultsCalculation::IndexToClockText(int index) const {
    int h = 0, m = 0;
    if (s_.series.HighIndex == kHighIndex5) {
        h = index / 12;
        m = (index % 12) * 5;
    } else {
        h = index / 4;
        m = (index % 4) * 15;
    }
    h += s_.StartHour;
    while (h >= 24) h -= 24;
    return (h < 10 ? "0" : "") + std::to_string(h) + ":" + (m < 10 ? "0" : "") + std::to_string(m);
}

int ResultsCalculation::NextMarker(int from, bool fall) const {
    const DisplaySeries& se = s_.series;
    for (int i = from < 0 ? 0 : from; i <= se.HighIndex; ++i) {
        const float d = se.PointDiff[static_cast<size_t>(i)];
        if ((fall ? d < 0.0f : d > 0.0f) && std::fabs(d) > se.SdGlucose) return i;
    }
    return se.HighIndex + 1;
}

int ResultsCalculation::NextFallMarker(int from) const { return NextMarker(from, true); }

int ResultsCalculation::NextRiseMarker(int from) const { return NextMarker(from, false); }

void ResultsCalculation::EnsureRow(int row) {
    if (row >= s_.csg_Berechnung.RowCount()) s_.csg_Berechnung.SetRowCount(row + 1);
    if (static_cast<int>(column3Index_.size()) <= row) column3Index_.resize(static_cast<size_t>(row) + 1, -1);
}

void ResultsCalculation::SetColumn3(int row, int index) {
    s_.csg_Berechnung.SetCell(3, row, IndexToClockText(index));
    column3Index_[static_cast<size_t>(row)] = index;
}

int ResultsCalculation::FillRows(int start, bool peaks) {
    StringGrid& grid = s_.csg_Berechnung;
    int& rows = peaks ? s_.PeakRows : s_.NadirRows;
    const bool firstPass = peaks == s_.PeakFirst;  // the first pass fills columns 1 and 2
    const int end = s_.series.HighIndex + 1;
    int a = start;
    while (a < end) {
        a = NextMarker(a + 1, peaks);
        if (a >= end) break;
        const int r = ++rows;
        EnsureRow(r);
        if (peaks) grid.SetCell(0, r, DayOf(a));
        const float value = s_.series.PointValue[static_cast<size_t>(a)];
        if (firstPass) {
            grid.SetCell(1, r, IndexToClockText(a));
            if (r == 1) s_.FirstRowIndex = a;
            grid.SetCell(2, r, ValueText(value));
        } else {
            SetColumn3(r, a);
            if (r == 1 && a <= s_.FirstRowIndex)
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
    const DisplaySeries& se = s_.series;
    for (int i = start; i >= 0; --i)
        if (std::fabs(se.PointDiff[static_cast<size_t>(i)]) > se.SdGlucose) return i;
    for (int i = 0; i <= se.HighIndex; ++i)
        if (se.PointValue[static_cast<size_t>(i)] > 0.0f) return i;
    return -1;
}

void ResultsCalculation::CompleteLastNadir() {
    const DisplaySeries& se = s_.series;
    int k = LastMarkerIndex(se.HighIndex);
    if (k < 0) return;
    float v = se.PointValue[static_cast<size_t>(k)];
    for (int i = k + 1; i <= se.HighIndex; ++i) {
        const float p = se.PointValue[static_cast<size_t>(i)];
        if (p > 0.0f && p < v) {
            v = p;
            k = i;
        }
    }
    const int r = s_.PeakRows;
    EnsureRow(r);
    if (s_.PeakFirst) {
        SetColumn3(r, k);
        s_.csg_Berechnung.SetCell(4, r, ValueText(v));
    } else {
        s_.csg_Berechnung.SetCell(1, r, IndexToClockText(k));
        s_.csg_Berechnung.SetCell(2, r, ValueText(v));
    }
    s_.NadirRows = s_.PeakRows;
}

void ResultsCalculation::CompleteLastPeak() {
    const DisplaySeries& se = s_.series;
    int k = LastMarkerIndex(se.HighIndex);
    if (k < 0) return;
    float v = se.PointValue[static_cast<size_t>(k)];
    for (int i = k + 1; i <= se.HighIndex; ++i) {
        const float p = se.PointValue[static_cast<size_t>(i)];
        if (p > v) {
            v = p;
            k = i;
        }
    }
    const int r = s_.NadirRows;
    EnsureRow(r);
    s_.csg_Berechnung.SetCell(0, r, DayOf(k));
    if (s_.PeakFirst) {
        s_.csg_Berechnung.SetCell(1, r, IndexToClockText(k));
        s_.csg_Berechnung.SetCell(2, r, ValueText(v));
    } else {
        SetColumn3(r, k);
        s_.csg_Berechnung.SetCell(4, r, ValueText(v));
    }
    s_.PeakRows = s_.NadirRows;
}

void ResultsCalculation::ComputeAmplitudes() {
    StringGrid& grid = s_.csg_Berechnung;
    const char sep = s_.locale.decimalSeparator;
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
        const float a = static_cast<float>(s_.PeakFirst ? first - second : second - first);
        sum = static_cast<float>(static_cast<long double>(sum) + a);
        grid.SetCell(5, r, AmplitudeText(a));
        ++n;
    }
    if (n > 0) s_.ce_ZELK.SetValue(static_cast<long double>(sum) / n, sep);
}

void ResultsCalculation::Button1Click() {
    if (s_.en1) EditsToComma(s_);
    s_.csg_Berechnung.ClearRows(1);
    s_.ce_ZELK.Text.clear();
    hooks_.ProcessEvents();

    ExcursionMarkers& markers = s_.markers;
    markers.ClearMarkers();
    const int b0 = markers.ComputeFirstExcursion();

    s_.PeakFirst = markers.LastDirection == 1;
    s_.csg_Berechnung.SetCell(2, 0, s_.PeakFirst ? s_.texts.PeakHeader : s_.texts.NadirHeader);
    s_.csg_Berechnung.SetCell(4, 0, s_.PeakFirst ? s_.texts.NadirHeader : s_.texts.PeakHeader);

    const int high = s_.series.HighIndex;
    for (int b = b0; b < high + 1;) b = markers.ComputeNextExcursion(b);
    markers.MergeSignRuns();

    s_.PeakRows = 0;
    s_.NadirRows = 0;
    s_.FirstRowIndex = 0;
    column3Index_.assign(static_cast<size_t>(s_.csg_Berechnung.RowCount()), -1);
    int i0 = 0;
    while (i0 <= high && s_.series.PointDiff[static_cast<size_t>(i0)] == 0.0f) ++i0;

    const int start = s_.cb_Startwert ? i0 - 1 : b0 - 1;
    int d = 0, e = 0;
    if (s_.PeakFirst) {
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

    if (!s_.cb_Endwert && s_.PeakRows > 0) {
        const int j = markers.FindLastExcursionFromEnd();
        const int last = s_.PeakRows;
        const int lastIndex =
            last < static_cast<int>(column3Index_.size()) ? column3Index_[static_cast<size_t>(last)] : -1;
        if (lastIndex > j) s_.csg_Berechnung.SetRowCount(s_.PeakRows);
    }

    ComputeAmplitudes();

    if (s_.en1) {
        EditsToPoint(s_);
        GridToPoint(s_);
    }
}

}  // namespace zelk
