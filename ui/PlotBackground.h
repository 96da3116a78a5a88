#pragma once

#include <QFont>
#include <QImage>
#include <QString>
#include <string>

#include "calc/Series.h"

namespace zelk {

// What the plot background is painted from.
struct BackgroundSettings {
    int plotWidth = 0;
    int plotHeight = 0;
    int targetLowY = 0;        // row of 3.9 mmol/L
    int targetHighY = 0;       // row of 8.9 mmol/L
    int X_Raster = kRaster15;  // pixels per 15 minutes
    int startHour = 0;
    bool mgDisplay = false;     // display unit mg/dl
    bool germanChecked = true;  // the language item "Deutsch" is checked
    QString mgUnitText;
};

// The colour the target band shows in: the nearest colour of the plot pictures'
// palette to #CCFFCC.
inline constexpr QRgb kBandColour = 0xFFC0DCC0;

// "HH:00" of an hour, taken modulo 24 for hours of later days.
std::string HourLabelText(int hour);

// The font of the plot's texts.
QFont PlotFont();

// Paints border, target band, time and glucose grid lines, hour labels, axis labels
// and the unit header onto a white picture of plotWidth x plotHeight pixels.
// Lines leave out their end pixel. A picture without pixels stays as it is.
void PaintBackground(QImage& backBuffer, const BackgroundSettings& settings);

}  // namespace zelk
