// The plot: background pixels for both grid widths, hour labels, the curve layer,
// the grid-width commands and the mouse readout.
#include <QAction>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QtTest>

#include "support/TestSupport.h"
#include "ui/CStringGrid.h"
#include "ui/ConvEdit.h"
#include "ui/PlotBackground.h"
#include "ui/PlotLayers.h"
#include "ui/u_main.h"

using namespace zelk;
using namespace zelk::test;

namespace {

constexpr QRgb kWhite = 0xFFFFFF;
constexpr QRgb kGrey = 0x808080;
constexpr QRgb kSilver = 0xC0C0C0;
constexpr QRgb kBand = 0xC0DCC0;
constexpr QRgb kBlue = 0x0000FF;
constexpr QRgb kMaroon = 0x800000;
constexpr QRgb kBlack = 0x000000;

const QImage& Background() { return f_main->img_Form->Picture(); }
const QImage& CurveLayer() { return f_main->img_ZwEbene->Picture(); }

// The hour label text as the plot font draws it, by its top-left corner.
QImage LabelAlone(const QString& text, QSize size, QPoint at) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(PlotFont());
    painter.setPen(Qt::black);
    painter.drawText(at + QPoint(0, QFontMetrics(PlotFont()).ascent()), text);
    return image;
}

bool SameInside(const QImage& a, const QImage& b, const QRect& area) {
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (Rgb(a, x, y) != Rgb(b, x, y)) return false;
    return true;
}

QString Caption() { return f_main->l_Coursor->text(); }

}  // namespace

class PlotTest : public QObject {
    Q_OBJECT
private slots:
    void backgroundOfTheFifteenMinuteGrid();
    void backgroundOfTheFiveMinuteGrid();
    void hourLabelsFromStartHour19();
    void unitHeaderByLanguageAndDisplayUnit();
    void repaintWithoutSizeLeavesTheBackground();
    void curveIsDrawnAndFullyErased();
    void curveLayerLetsTheBackgroundShowThrough();
    void gridWidthCommands();
    void wideViewKeepsThePicturesSize();
    void gridSwitchKeepsTheResults();
    void readoutPositionsAndTexts();
    void readoutValuesAtTheEdges();
    void readoutInTheFiveMinuteGrid();
    void readoutDecimalPoint();
    void readoutWithoutUsableGridWidth();
    void readoutFollowsTheMouse();
};

void PlotTest::backgroundOfTheFifteenMinuteGrid() {
    const Program program;
    const QImage& bg = Background();
    QCOMPARE(f_main->PlotWidth, 1235);
    // Border one pixel inside the plot.
    QCOMPARE(Rgb(bg, 0, 0), kWhite);
    QCOMPARE(Rgb(bg, 1, 1), kGrey);
    QCOMPARE(Rgb(bg, 1233, 1), kGrey);
    QCOMPARE(Rgb(bg, 1234, 1), kWhite);
    QCOMPARE(Rgb(bg, 1, 263), kGrey);
    QCOMPARE(Rgb(bg, 1233, 263), kGrey);
    QCOMPARE(Rgb(bg, 1233, 150), kGrey);
    QCOMPARE(Rgb(bg, 1, 264), kWhite);
    QCOMPARE(Rgb(bg, 600, 264), kWhite);
    QCOMPARE(Rgb(bg, 0, 100), kWhite);
    // Target band rows 169 to 208, x 80 to 1232, under the grid lines.
    QCOMPARE(Rgb(bg, 81, 169), kBand);
    QCOMPARE(Rgb(bg, 81, 207), kBand);
    QCOMPARE(Rgb(bg, 1232, 171), kBand);
    QCOMPARE(Rgb(bg, 79, 171), kWhite);
    QCOMPARE(Rgb(bg, 81, 209), kWhite);
    QCOMPARE(Rgb(bg, 81, 208), kSilver);  // 4 mmol/L line over the band
    QCOMPARE(Rgb(bg, 84, 171), kSilver);  // 15-minute line over the band
    QCOMPARE(Rgb(bg, 96, 171), kGrey);    // hour line over the band
    // 15-minute lines rows 1 to 240, not on the hour 72.
    QCOMPARE(Rgb(bg, 84, 1), kSilver);
    QCOMPARE(Rgb(bg, 84, 239), kSilver);
    QCOMPARE(Rgb(bg, 84, 0), kWhite);
    QCOMPARE(Rgb(bg, 84, 242), kWhite);
    QCOMPARE(Rgb(bg, 1228, 100), kSilver);
    QCOMPARE(Rgb(bg, 1232, 100), kWhite);
    QCOMPARE(Rgb(bg, 85, 100), kWhite);
    // Hour lines every 16 pixels, rows 1 to 244.
    QCOMPARE(Rgb(bg, 80, 100), kGrey);
    QCOMPARE(Rgb(bg, 96, 100), kGrey);
    QCOMPARE(Rgb(bg, 1216, 244), kGrey);
    QCOMPARE(Rgb(bg, 96, 242), kGrey);
    QCOMPARE(Rgb(bg, 96, 245), kWhite);
    QCOMPARE(Rgb(bg, 100, 242), kWhite);
    // Time axis rows 240 and 241 from x 1.
    for (const int x : {1, 50, 84, 700, 1232}) {
        QCOMPARE(Rgb(bg, x, 240), kGrey);
        QCOMPARE(Rgb(bg, x, 241), kGrey);
    }
    QCOMPARE(Rgb(bg, 0, 240), kWhite);
    QCOMPARE(Rgb(bg, 50, 239), kWhite);
    QCOMPARE(Rgb(bg, 50, 242), kWhite);
    // mmol/L lines from x 80, over the time lines; 5 mmol/L lines from x 76 over both.
    QCOMPARE(Rgb(bg, 85, 232), kSilver);
    QCOMPARE(Rgb(bg, 85, 8), kSilver);
    QCOMPARE(Rgb(bg, 96, 232), kSilver);
    QCOMPARE(Rgb(bg, 79, 232), kWhite);
    QCOMPARE(Rgb(bg, 85, 0), kWhite);
    for (const int row : {200, 160, 120, 80, 40}) {
        QCOMPARE(Rgb(bg, 76, row), kGrey);
        QCOMPARE(Rgb(bg, 84, row), kGrey);
        QCOMPARE(Rgb(bg, 1232, row), kGrey);
        QCOMPARE(Rgb(bg, 75, row), kWhite);
    }
    QCOMPARE(Rgb(bg, 76, 232), kWhite);
    // Axis labels: blue mmol/L, maroon mg/dL.
    QVERIFY(CountColour(bg, QRect(68, 188, 8, 12), kBlue) > 0);
    QVERIFY(CountColour(bg, QRect(20, 188, 16, 12), kMaroon) > 0);
    for (const int y : {148, 108, 68, 28}) {
        QVERIFY(CountColour(bg, QRect(63, y, 14, 12), kBlue) > 0);
        QVERIFY(CountColour(bg, QRect(15, y, 22, 12), kMaroon) > 0);
    }
    // Only the palette's colours: no smoothing of texts or lines.
    const QSet<QRgb> palette = {kWhite, kGrey, kSilver, kBand, kBlue, kMaroon, kBlack};
    int offPalette = 0;
    for (int y = 0; y < 265; ++y)
        for (int x = 0; x < 1235; ++x)
            if (!palette.contains(Rgb(bg, x, y))) ++offPalette;
    QCOMPARE(offPalette, 0);
    // Beyond the plot the picture stays white.
    QCOMPARE(Rgb(bg, 1240, 100), kWhite);
    QCOMPARE(Rgb(bg, 100, 270), kWhite);
}

void PlotTest::backgroundOfTheFiveMinuteGrid() {
    const Program program;
    f_main->N5minRaster1->trigger();
    const QImage& bg = Background();
    QCOMPARE(f_main->PlotWidth, 947);
    QCOMPARE(Rgb(bg, 945, 1), kGrey);
    QCOMPARE(Rgb(bg, 946, 1), kWhite);
    QCOMPARE(Rgb(bg, 944, 171), kBand);
    QCOMPARE(Rgb(bg, 945, 171), kGrey);
    // No 15-minute lines; hour lines 12 pixels apart.
    QCOMPARE(Rgb(bg, 83, 100), kWhite);
    QCOMPARE(Rgb(bg, 86, 100), kWhite);
    QCOMPARE(Rgb(bg, 83, 171), kBand);
    QCOMPARE(Rgb(bg, 92, 100), kGrey);
    QCOMPARE(Rgb(bg, 92, 244), kGrey);
    QCOMPARE(Rgb(bg, 932, 100), kGrey);  // hour 71
    QCOMPARE(Rgb(bg, 944, 100), kWhite);
    QCOMPARE(Rgb(bg, 944, 240), kGrey);
    // Labels 48 pixels apart; the last one at x 883.
    QVERIFY(CountColour(bg, QRect(883, 247, 26, 12), kBlack) > 0);
    QCOMPARE(CountColour(bg, QRect(910, 247, 30, 12), kBlack), 0);
    // The old, wider background is gone where the new plot ends.
    QCOMPARE(Rgb(bg, 1000, 100), kSilver);  // left over beyond the plot, not shown
}

void PlotTest::hourLabelsFromStartHour19() {
    const QStringList expected = {"19:00", "23:00", "03:00", "07:00", "11:00", "15:00"};
    for (int i = 0; i < 18; ++i) QCOMPARE(QString::fromStdString(HourLabelText(19 + 4 * i)), expected[i % 6]);
    QCOMPARE(QString::fromStdString(HourLabelText(27)), QStringLiteral("03:00"));
    QCOMPARE(QString::fromStdString(HourLabelText(5)), QStringLiteral("05:00"));
    QCOMPARE(QString::fromStdString(HourLabelText(0)), QStringLiteral("00:00"));
    QCOMPARE(QString::fromStdString(HourLabelText(71)), QStringLiteral("23:00"));

    const Program program;
    const QImage& bg = Background();
    for (int i = 0; i < 18; ++i) {
        const QPoint at(67 + 16 * i * 4, 247);
        const QRect box(at, QSize(30, 13));
        const QImage alone = LabelAlone(expected[i % 6], bg.size(), at);
        QVERIFY2(SameInside(bg, alone, box), qPrintable(expected[i % 6]));
    }
    QVERIFY(CountColour(bg, QRect(1155, 247, 26, 12), kBlack) > 0);
    QCOMPARE(CountColour(bg, QRect(1185, 247, 45, 14), kBlack), 0);
}

void PlotTest::unitHeaderByLanguageAndDisplayUnit() {
    const Program program;
    Tf_main& w = *f_main;
    const QRect mgArea(5, 4, 34, 12);
    const QRect mmolArea(40, 4, 45, 12);
    QVERIFY(CountColour(Background(), mgArea, kMaroon) > 0);
    QVERIFY(CountColour(Background(), mmolArea, kBlue) > 0);
    w.en1->trigger();
    QCOMPARE(CountColour(Background(), QRect(0, 0, 34, 16), kMaroon), 0);
    QVERIFY(CountColour(Background(), QRect(35, 4, 45, 12), kBlue) > 0);
    w.State().rg_Anzeige = 1;
    w.DrawBackground();
    QVERIFY(CountColour(Background(), mgArea, kMaroon) > 0);
    QCOMPARE(CountColour(Background(), QRect(0, 0, 90, 16), kBlue), 0);
    w.de1->trigger();
    QVERIFY(CountColour(Background(), mgArea, kMaroon) > 0);
    QVERIFY(CountColour(Background(), mmolArea, kBlue) > 0);
}

void PlotTest::repaintWithoutSizeLeavesTheBackground() {
    const Program program;
    Tf_main& w = *f_main;
    const QImage before = Background().copy();
    w.PlotWidth = 0;
    w.PlotHeight = 0;
    w.DrawBackground();
    QCOMPARE(Background(), before);
    w.PlotWidth = 1235;
    w.PlotHeight = 0;
    w.DrawBackground();
    QCOMPARE(Background(), before);
}

void PlotTest::curveIsDrawnAndFullyErased() {
    const Program program;
    // Demo point 0 (18.5 mmol/L) lies at x 82, row 240 - 148.
    QCOMPARE(Rgb(CurveLayer(), 82, 92), kBlue);
    QVERIFY(CountColour(CurveLayer(), CurveLayer().rect(), kBlue) > 500);
    f_main->Core().EraseCurve();
    QCOMPARE(CountColour(CurveLayer(), CurveLayer().rect(), kBlue), 0);
    // Only white is left: the layer is clear again.
    QCOMPARE(CountColour(CurveLayer(), CurveLayer().rect(), kWhite), 1280 * 800);
}

void PlotTest::curveLayerLetsTheBackgroundShowThrough() {
    const Program program;
    const QImage shown = f_main->p_Bilder->grab().toImage();
    QCOMPARE(Rgb(shown, 1, 1), kGrey);
    QCOMPARE(Rgb(shown, 81, 171), kBand);
    QCOMPARE(Rgb(shown, 82, 92), kBlue);
}

void PlotTest::gridWidthCommands() {
    const Program program;
    Tf_main& w = *f_main;
    w.N5minRaster1->trigger();
    QCOMPARE(w.State().X_Raster, 3);
    QVERIFY(w.N5minRaster1->isChecked());
    QVERIFY(!w.N15minRaster1->isChecked());
    QCOMPARE(w.width(), 977);
    QCOMPARE(w.PlotWidth, 947);
    QCOMPARE(w.p_Bilder->width(), 947);
    QCOMPARE(w.csg_Berechnung->width(), 947);
    QCOMPARE(w.csg_Berechnung->DefaultColWidth(), 153);
    QCOMPARE(w.csg_Berechnung->columnWidth(0), 154);  // with its grid line
    // The old curve went before the new one came: 5-minute points end at x 80 + 564.
    QCOMPARE(CountColour(CurveLayer(), QRect(700, 0, 580, 800), kBlue), 0);
    QVERIFY(CountColour(CurveLayer(), QRect(80, 0, 600, 241), kBlue) > 100);

    // The checked item again: no erasing, no layout, no repaint.
    w.img_Form->Picture().setPixel(3, 3, qRgb(255, 0, 0));
    const QImage curve = CurveLayer().copy();
    w.N5minRaster1->trigger();
    QVERIFY(w.N5minRaster1->isChecked());
    QCOMPARE(Rgb(Background(), 3, 3), 0xFF0000u);
    QCOMPARE(CurveLayer(), curve);

    w.N15minRaster1->trigger();
    QCOMPARE(w.State().X_Raster, 4);
    QVERIFY(!w.N5minRaster1->isChecked());
    QVERIFY(w.N15minRaster1->isChecked());
    QVERIFY(!w.Breitbild1->isEnabled());
    QCOMPARE(w.width(), 1265);
    QCOMPARE(w.csg_Berechnung->DefaultColWidth(), 201);
    QCOMPARE(w.l_Coursor->y(), -15);
    QCOMPARE(CountColour(CurveLayer(), QRect(80, 0, 1200, 241), kBlue) > 100, true);
    // The height stays as the first layout made it.
    QCOMPARE(w.ClientHeight(), 595);
}

void PlotTest::wideViewKeepsThePicturesSize() {
    const Program program;
    Tf_main& w = *f_main;
    w.Breitbild1Click();
    QVERIFY(w.Breitbild1->isChecked());
    QVERIFY(w.N15minRaster1->isChecked());
    QCOMPARE(w.State().X_Raster, 6);
    QCOMPARE(w.PlotWidth, 1811);
    QCOMPARE(w.width(), 1841);
    QCOMPARE(w.csg_Berechnung->DefaultColWidth(), 297);
    QCOMPARE(Background().size(), QSize(1280, 800));
    QCOMPARE(Rgb(Background(), 1279, 1), kGrey);  // the border runs on past the picture's edge
    const QImage shown = w.p_Bilder->grab().toImage();
    QCOMPARE(Rgb(shown, 1300, 1), kWhite);
    QCOMPARE(Rgb(shown, 1279, 1), kGrey);
    w.Breitbild1Click();
    QVERIFY(!w.Breitbild1->isChecked());
    QCOMPARE(w.State().X_Raster, 3);
    QCOMPARE(w.width(), 977);
}

void PlotTest::gridSwitchKeepsTheResults() {
    const Program program;
    Tf_main& w = *f_main;
    w.Button1->click();
    const QString index = w.ce_ZELK->text();
    QVERIFY(!index.isEmpty());
    const QString firstRow = w.csg_Berechnung->Cells(1, 1) + w.csg_Berechnung->Cells(2, 1);
    w.N5minRaster1->trigger();
    QCOMPARE(w.ce_ZELK->text(), index);
    QCOMPARE(w.csg_Berechnung->Cells(1, 1) + w.csg_Berechnung->Cells(2, 1), firstRow);
}

void PlotTest::readoutPositionsAndTexts() {
    const Program program;
    Tf_main& w = *f_main;
    QCOMPARE(Caption(), QStringLiteral("l_Coursor"));
    w.img_LayoutMouseMove(79, 200);
    QVERIFY(w.l_Coursor->isHidden());
    w.en1->trigger();
    w.img_LayoutMouseMove(80, 200);
    QVERIFY(!w.l_Coursor->isHidden());
    QCOMPARE(Caption(), QStringLiteral(" 19:00   5.0 "));
    QCOMPARE(w.l_Coursor->pos(), QPoint(85, 205));
    w.img_LayoutMouseMove(116, 100);
    QCOMPARE(Caption().left(6), QStringLiteral(" 21:15"));
    w.img_LayoutMouseMove(80 + 40 * 4, 100);
    QCOMPARE(Caption().left(6), QStringLiteral(" 05:00"));
    QCOMPARE(w.ReadoutHourText, std::string("05"));
    QCOMPARE(w.ReadoutMinuteText, std::string("00"));
    // Right of the pointer up to x 735, left of it from x 736 on.
    w.img_LayoutMouseMove(735, 100);
    QCOMPARE(w.l_Coursor->x(), 740);
    w.img_LayoutMouseMove(736, 100);
    QCOMPARE(w.l_Coursor->x(), 736 - w.l_Coursor->width() - 5);
    // Over the window's own surface the readout goes.
    w.FormMouseMove();
    QVERIFY(w.l_Coursor->isHidden());
}

void PlotTest::readoutValuesAtTheEdges() {
    const Program program;
    Tf_main& w = *f_main;
    w.img_LayoutMouseMove(80, 241);
    QVERIFY(w.l_Coursor->isHidden());
    w.img_LayoutMouseMove(80, 240);
    QVERIFY(!w.l_Coursor->isHidden());
    QCOMPARE(Caption(), QStringLiteral(" 19:00   0.0 "));
    w.img_LayoutMouseMove(80, 1);
    QCOMPARE(Caption(), QStringLiteral(" 19:00   29.9 "));
    w.img_LayoutMouseMove(80, 238);
    QCOMPARE(Caption(), QStringLiteral(" 19:00   0.3 "));
    // At row 0 the label follows the pointer but keeps its caption.
    w.img_LayoutMouseMove(100, 0);
    QCOMPARE(Caption(), QStringLiteral(" 19:00   0.3 "));
    QCOMPARE(w.l_Coursor->pos(), QPoint(105, 5));
    QCOMPARE(w.ReadoutMinuteText, std::string("15"));
    w.State().rg_Anzeige = 1;
    w.img_LayoutMouseMove(80, 240);
    QCOMPARE(Caption(), QStringLiteral(" 19:00   0 "));
    w.img_LayoutMouseMove(80, 1);
    QCOMPARE(Caption(), QStringLiteral(" 19:00   538 "));
    w.img_LayoutMouseMove(80, 238);
    QCOMPARE(Caption(), QStringLiteral(" 19:00   5 "));
}

void PlotTest::readoutInTheFiveMinuteGrid() {
    const Program program;
    Tf_main& w = *f_main;
    w.N5minRaster1->trigger();
    for (const int x : {107, 108, 109}) {
        w.img_LayoutMouseMove(x, 100);
        QCOMPARE(Caption().left(6), QStringLiteral(" 21:15"));
    }
    w.img_LayoutMouseMove(106, 100);
    QCOMPARE(Caption().left(6), QStringLiteral(" 21:00"));
    w.img_LayoutMouseMove(551, 100);
    QCOMPARE(w.l_Coursor->x(), 556);
    w.img_LayoutMouseMove(552, 100);
    QCOMPARE(w.l_Coursor->x(), 552 - w.l_Coursor->width() - 5);
}

void PlotTest::readoutDecimalPoint() {
    const Program program({}, LocaleInfo::FromName("de_DE.UTF-8"));
    Tf_main& w = *f_main;
    w.img_LayoutMouseMove(80, 200);
    QCOMPARE(Caption(), QStringLiteral(" 19:00   5,0 "));
    QCOMPARE(w.ce_Mittelwert->text(), QStringLiteral("13,50"));
    w.en1->trigger();
    w.img_LayoutMouseMove(80, 200);
    QCOMPARE(Caption(), QStringLiteral(" 19:00   5.0 "));
    // A language switch does not convert what is shown.
    QCOMPARE(w.ce_Mittelwert->text(), QStringLiteral("13,50"));
}

void PlotTest::readoutWithoutUsableGridWidth() {
    const Program program;
    Tf_main& w = *f_main;
    for (const int raster : {0, -3}) {
        w.State().X_Raster = raster;
        w.img_LayoutMouseMove(116, 100);
        QCOMPARE(Caption().left(6), QStringLiteral(" 21:15"));
        w.img_LayoutMouseMove(736, 100);
        QCOMPARE(w.l_Coursor->x(), 736 - w.l_Coursor->width() - 5);
    }
}

void PlotTest::readoutFollowsTheMouse() {
    const Program program;
    Tf_main& w = *f_main;
    QMouseEvent overPlot(QEvent::MouseMove, QPointF(80, 200), w.img_Layout->mapToGlobal(QPointF(80, 200)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w.img_Layout, &overPlot);
    QVERIFY(!w.l_Coursor->isHidden());
    QCOMPARE(Caption(), QStringLiteral(" 19:00   5.0 "));
    QWidget* client = w.centralWidget();
    QMouseEvent overLabel(QEvent::MouseMove, QPointF(w.Button1->geometry().center()), QPointF(), Qt::NoButton,
                          Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(client, &overLabel);
    QVERIFY(!w.l_Coursor->isHidden());
    QMouseEvent overSurface(QEvent::MouseMove, QPointF(1, 33), QPointF(), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(client, &overSurface);
    QVERIFY(w.l_Coursor->isHidden());
}

QTEST_MAIN(PlotTest)
#include "tst_plot.moc"
