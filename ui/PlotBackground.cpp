#include "ui/PlotBackground.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <array>

#include "calc/Series.h"
#include "ui/Fonts.h"
#include "ui/QtText.h"
#include "windowlogic/TextTables.h"

namespace zelk {
namespace {

constexpr QRgb kGrey = 0xFF808080;
constexpr QRgb kSilver = 0xFFC0C0C0;
constexpr QRgb kBlue = 0xFF0000FF;
constexpr QRgb kMaroon = 0xFF800000;
constexpr QRgb kWindowText = 0xFF000000;

// A horizontal or vertical line from the first point up to the second, without the
// second point's pixel.
void Line(QPainter& p, int x1, int y1, int x2, int y2, QRgb colour) {
    if (y1 == y2 && x1 != x2) {
        const int from = x1 < x2 ? x1 : x2 + 1;
        p.fillRect(QRect(from, y1, x1 < x2 ? x2 - x1 : x1 - x2, 1), QColor::fromRgb(colour));
    } else if (x1 == x2 && y1 != y2) {
        const int from = y1 < y2 ? y1 : y2 + 1;
        p.fillRect(QRect(x1, from, 1, y1 < y2 ? y2 - y1 : y1 - y2), QColor::fromRgb(colour));
    }
}

// Text by its top-left corner on a white background.
void Text(QPainter& p, int x, int y, const QString& text, QRgb colour) {
    const QFontMetrics metrics(p.font());
    p.fillRect(QRect(x, y, metrics.horizontalAdvance(text), metrics.height()), Qt::white);
    p.setPen(QColor::fromRgb(colour));
    p.drawText(QPoint(x, y + metrics.ascent()), text);
}

struct AxisLabel {
    const char* mmol;
    int mmolX;
    const char* mg;
    int mgX;
    int y;
};

constexpr std::array<AxisLabel, 5> kAxisLabels = {{
    {"5", 68, "90", 20, 188},
    {"10", 63, "180", 15, 148},
    {"15", 63, "270", 15, 108},
    {"20", 63, "360", 15, 68},
    {"25", 63, "450", 15, 28},
}};

}  // namespace

std::string HourLabelText(int hour) {
    while (hour >= 24) hour -= 24;
    return (hour < 10 ? "0" : "") + std::to_string(hour) + ":00";
}

QFont PlotFont() {
    QFont font = SansSerifLike();
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

void PaintBackground(QImage& backBuffer, const BackgroundSettings& s) {
    if (backBuffer.isNull()) return;
    const int w = s.plotWidth;
    const int h = s.plotHeight;
    QPainter p(&backBuffer);
    p.setFont(PlotFont());

    // Border
    Line(p, 1, 1, w - 2, 1, kGrey);
    Line(p, w - 2, 1, w - 2, h - 2, kGrey);
    Line(p, w - 2, h - 2, 1, h - 2, kGrey);
    Line(p, 1, h - 2, 1, 1, kGrey);

    // Target band
    const int bandTop = std::min(s.targetHighY, s.targetLowY);
    const int bandBottom = std::max(s.targetHighY, s.targetLowY);
    if (w - 2 > kPlotLeftMargin && bandBottom > bandTop)
        p.fillRect(QRect(kPlotLeftMargin, bandTop, w - 2 - kPlotLeftMargin, bandBottom - bandTop),
                   QColor::fromRgb(kBandColour));

    // One line per 15 minutes, only in the 15-minute grid and the wide view
    if (s.X_Raster > kRaster5)
        for (int i = 0; i <= kHighIndex15; ++i)
            Line(p, kPlotLeftMargin + i * s.X_Raster, 1, kPlotLeftMargin + i * s.X_Raster, h - 24, kSilver);
    // One line per hour, with a tick below the zero line
    for (int i = 0; i <= 71; ++i)
        Line(p, kPlotLeftMargin + 4 * i * s.X_Raster, 1, kPlotLeftMargin + 4 * i * s.X_Raster, h - 20, kGrey);
    // Time axis
    Line(p, 1, h - 24, w - 2, h - 24, kGrey);
    Line(p, 1, h - kPlotBottomMargin, w - 2, h - kPlotBottomMargin, kGrey);
    // Hour labels every 4 hours
    for (int i = 0; i <= 17; ++i)
        Text(p, 67 + 16 * i * s.X_Raster, h - 18, QString::fromStdString(HourLabelText(s.startHour + 4 * i)),
             kWindowText);
    // One line per mmol/L, then one per 5 mmol/L with a tick left of the plot area
    for (int i = 0; i <= 29; ++i)
        Line(p, kPlotLeftMargin, h - kPlotBottomMargin - 8 * i, w - 2, h - kPlotBottomMargin - 8 * i, kSilver);
    for (int i = 0; i <= 5; ++i)
        Line(p, kPlotLeftMargin - 4, h - kPlotBottomMargin - 40 * i, w - 2, h - kPlotBottomMargin - 40 * i, kGrey);

    for (const AxisLabel& label : kAxisLabels) {
        Text(p, label.mmolX, label.y, QString::fromLatin1(label.mmol), kBlue);
        Text(p, label.mgX, label.y, QString::fromLatin1(label.mg), kMaroon);
    }

    // Unit header
    const auto bracketed = [](const QString& unit) { return QLatin1Char('[') + unit + QLatin1Char(']'); };
    const TextTable& de = GermanTexts();
    const QString germanMmolHeader = bracketed(AnsiText(de.MmolUnitText));
    if (!s.mgDisplay) {
        if (s.germanChecked) {
            Text(p, 40, 4, germanMmolHeader, kBlue);
            Text(p, 5, 4, bracketed(AnsiText(de.MgUnitText)), kMaroon);
        } else {
            Text(p, 35, 4, bracketed(AnsiText(EnglishTexts().MmolUnitText)), kBlue);
        }
    } else {
        Text(p, 5, 4, bracketed(s.mgUnitText), kMaroon);
        if (s.germanChecked) Text(p, 40, 4, germanMmolHeader, kBlue);
    }
}

}  // namespace zelk
