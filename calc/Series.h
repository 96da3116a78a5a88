#pragma once

#include <array>

#include "data/WerteTab.h"

namespace zelk {

inline constexpr int kSeriesCapacity = 865;
inline constexpr int kHighIndex15 = 287;
inline constexpr int kHighIndex5 = 863;
inline constexpr int kZeroRow = 240;          // pixel row of 0 mmol/L: a point without a value
inline constexpr int kPlotLeftMargin = 80;    // pixels left of grid minute 0
inline constexpr int kPlotBottomMargin = 25;  // pixels below the bottom line of the grid

// Grid widths X_Raster, in pixels per 15 minutes: the 15-minute grid, the 5-minute
// grid and the wide 5-minute view.
inline constexpr int kRaster15 = 4;
inline constexpr int kRaster5 = 3;
inline constexpr int kWideRaster = 6;

// The display series and its statistics; only entries 0 to HighIndex belong to it.
struct DisplaySeries {
    int HighIndex = 0;
    std::array<float, kSeriesCapacity> PointValue{};
    std::array<int, kSeriesCapacity> PointY{};
    std::array<float, kSeriesCapacity> PointDiff{};
    float MeanGlucose = 0.0f;
    float SdGlucose = 0.0f;
    int CurveXOffset = 0;
};

struct CurvePoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const CurvePoint&, const CurvePoint&) = default;
};

// A curve as the pen draws it: a start point and the points it draws lines to.
struct CurvePolyline {
    CurvePoint start;
    std::array<CurvePoint, kSeriesCapacity> lineTo{};
    int count = 0;

    friend bool operator==(const CurvePolyline& a, const CurvePolyline& b);
};

// What BuildSeries reads besides the grid.
struct SeriesSettings {
    int X_Raster = kRaster15;     // pixels per 15 minutes
    float YScale = 8.0f;          // pixels per mmol/L
    bool fiveMinuteMenu = false;  // N5minRaster1 checked
    int rasterIndex = 0;          // selected item of cb_Raster
};

// Average of display point j from the grid rows j*width .. j*width+width-1.
float PointAverage(const WerteTab& werteTab, int HighIndex, int j);

// Fills HighIndex, CurveXOffset, PointValue and PointY; returns the mean.
float BuildSeries(DisplaySeries& series, const WerteTab& werteTab, const SeriesSettings& settings);

// Population standard deviation around series.MeanGlucose.
float SeriesStdDev(const DisplaySeries& series);

// x of point k on the plot layer.
int CurveX(const DisplaySeries& series, int xRaster, int k);

// The polyline of the current series: it starts at the first point with a value in
// the first half of the series and draws to every later point strictly between the
// cap row 0 and the zero row 240. Drawing and erasing use the same polyline.
CurvePolyline BuildCurvePolyline(const DisplaySeries& series, int xRaster);

}  // namespace zelk
