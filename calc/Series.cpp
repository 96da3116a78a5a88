#include "calc/Series.h"

#include <cmath>

namespace zelk {

bool operator==(const CurvePolyline& a, const CurvePolyline& b) {
    if (!(a.start == b.start) || a.count != b.count) return false;
    for (int i = 0; i < a.count; ++i)
        if (!(a.lineTo[static_cast<size_t>(i)] == b.lineTo[static_cast<size_t>(i)])) return false;
    return true;
}

float PointAverage(const WerteTab& werteTab, int HighIndex, int j) {
    const int width = HighIndex <= kHighIndex15 + 1 ? 15 : 5;
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
    switch (settings.X_Raster) {
    case kRaster5: series.CurveXOffset = 0; break;
    case kRaster15: series.CurveXOffset = 2; break;
    case kWideRaster: series.CurveXOffset = 1; break;
    default: break;
    }
    series.HighIndex = settings.fiveMinuteMenu && settings.rasterIndex == 0 ? kHighIndex5 : kHighIndex15;

    float sum = 0.0f;
    int count = 0;
    for (int j = 0; j <= series.HighIndex; ++j) {
        float v = PointAverage(werteTab, series.HighIndex, j);
        if (v > 30.0f) v = 30.0f;
        if (v < 0.0f) v = 0.0f;
        if (v > 0.0f) {
            sum = static_cast<float>(static_cast<long double>(sum) + v);
            ++count;
        }
        long long y = kZeroRow - static_cast<long long>(std::trunc(static_cast<long double>(v) * settings.YScale));
        if (y < 0) y = 0;
        if (y > kZeroRow) y = kZeroRow;
        series.PointY[static_cast<size_t>(j)] = static_cast<int>(y);
        series.PointValue[static_cast<size_t>(j)] = v;
    }
    return count > 0 ? static_cast<float>(static_cast<long double>(sum) / count) : 0.0f;
}

float SeriesStdDev(const DisplaySeries& series) {
    float sum = 0.0f;
    int n = 0;
    for (int i = 0; i <= series.HighIndex; ++i) {
        const float value = series.PointValue[static_cast<size_t>(i)];
        if (!(value > 0.0f)) continue;
        const float d = static_cast<float>(static_cast<long double>(value) - series.MeanGlucose);
        sum = static_cast<float>(static_cast<long double>(sum) + static_cast<long double>(d) * d);
        ++n;
    }
    if (n == 0) return 0.0f;
    return static_cast<float>(std::sqrt(static_cast<long double>(sum) / n));
}

int CurveX(const DisplaySeries& series, int xRaster, int k) {
    if (series.HighIndex <= kHighIndex15) return kPlotLeftMargin + series.CurveXOffset + k * xRaster;
    return kPlotLeftMargin + series.CurveXOffset + (k * xRaster) / 3;
}

CurvePolyline BuildCurvePolyline(const DisplaySeries& series, int xRaster) {
    CurvePolyline line;
    int first = 0;
    for (int k = 0; k <= series.HighIndex / 2; ++k) {
        if (series.PointY[static_cast<size_t>(k)] != kZeroRow) {
            first = k;
            break;
        }
    }
    line.start = {CurveX(series, xRaster, first), series.PointY[static_cast<size_t>(first)]};
    for (int k = first + 1; k <= series.HighIndex; ++k) {
        const int y = series.PointY[static_cast<size_t>(k)];
        if (y > 0 && y < kZeroRow) line.lineTo[static_cast<size_t>(line.count++)] = {CurveX(series, xRaster, k), y};
    }
    return line;
}

}  // namespace zelk
