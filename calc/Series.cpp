#include "calc/Series.h"

#include <cmath>

namespace zelk {

bool operator==(const CurvePolyline& a, const CurvePolyline& b) {
    if (!(a.start == b.start) || a.count != b.count) return false;
    for (int i = 0; i < a.count; ++i)
        if (!(a.lineTo[static_cast<size_t>(i)] == b.lineTo[static_cast<size_t>(i)])) return false;
    return true;
}

float PointAverage(const WerteTab& werteTab, int highIndex, int j) {
    const int width = highIndex <= 288 ? 15 : 5;
    int row = werteTab.FindKey(j * width);
    if (row < 0) return 0.0f;
    float sum = 0.0f;
    int count = 0;
    for (int visited = 0; visited < width && row < werteTab.RowCount(); ++visited, ++row) {
        const double g = werteTab.Glukose(row);
        if (g > 0.0) {
            sum = static_cast<float>(static_cast<long double>(sum) + g);
            ++count;
        }
    }
    return count > 0 ? static_cast<float>(static_cast<long double>(sum) / count) : 0.0f;
}

float BuildSeries(DisplaySeries& series, const WerteTab& werteTab, const SeriesSettings& settings) {
    switch (settings.xRaster) {
        case 3: series.curveXOffset = 0; break;
        case 4: series.curveXOffset = 2; break;
        case 6: series.curveXOffset = 1; break;
        default: break;
    }
    series.highIndex = settings.fiveMinuteMenu && settings.rasterIndex == 0 ? kHighIndex5 : kHighIndex15;

    float sum = 0.0f;
    int count = 0;
    for (int j = 0; j <= series.highIndex; ++j) {
        float v = PointAverage(werteTab, series.highIndex, j);
        if (v > 30.0f) v = 30.0f;
        if (v < 0.0f) v = 0.0f;
        if (v > 0.0f) {
            sum = static_cast<float>(static_cast<long double>(sum) + v);
            ++count;
        }
        long long y = kZeroRow - static_cast<long long>(std::trunc(static_cast<long double>(v) * settings.yScale));
        if (y < 0) y = 0;
        if (y > kZeroRow) y = kZeroRow;
        series.pointY[static_cast<size_t>(j)] = static_cast<int>(y);
        series.pointValue[static_cast<size_t>(j)] = v;
    }
    return count > 0 ? static_cast<float>(static_cast<long double>(sum) / count) : 0.0f;
}

float SeriesStdDev(const DisplaySeries& series) {
    float sum = 0.0f;
    int n = 0;
    for (int i = 0; i <= series.highIndex; ++i) {
        const float value = series.pointValue[static_cast<size_t>(i)];
        if (!(value > 0.0f)) continue;
        const float d = static_cast<float>(static_cast<long double>(value) - series.meanGlucose);
        sum = static_cast<float>(static_cast<long double>(sum) + static_cast<long double>(d) * d);
        ++n;
    }
    if (n == 0) return 0.0f;
    return static_cast<float>(std::sqrt(static_cast<long double>(sum) / n));
}

int CurveX(const DisplaySeries& series, int xRaster, int k) {
    if (series.highIndex < 288) return kPlotLeftMargin + series.curveXOffset + k * xRaster;
    return kPlotLeftMargin + series.curveXOffset + (k * xRaster) / 3;
}

CurvePolyline BuildCurvePolyline(const DisplaySeries& series, int xRaster) {
    CurvePolyline line;
    int first = 0;
    for (int k = 0; k <= series.highIndex / 2; ++k) {
        if (series.pointY[static_cast<size_t>(k)] != kZeroRow) {
            first = k;
            break;
        }
    }
    line.start = {CurveX(series, xRaster, first), series.pointY[static_cast<size_t>(first)]};
    for (int k = first + 1; k <= series.highIndex; ++k) {
        const int y = series.pointY[static_cast<size_t>(k)];
        if (y > 0 && y < kZeroRow) line.lineTo[static_cast<size_t>(line.count++)] = {CurveX(series, xRaster, k), y};
    }
    return line;
}

}  // namespace zelk
