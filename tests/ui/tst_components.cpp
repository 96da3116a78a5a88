// The two display components: the numeric edit and the aligned string grid.
#include <QPainter>
#include <QtTest>

#include "support/TestSupport.h"
#include "ui/CStringGrid.h"
#include "ui/ConvEdit.h"

using namespace zelk;
using namespace zelk::test;

namespace {

constexpr QRgb kRed = 0xFF0000;
constexpr QRgb kGreen = 0x00FF00;

// Columns holding a pixel other than `background` inside `area`.
std::pair<int, int> InkColumns(const QImage& image, const QRect& area, QRgb background) {
    int first = -1;
    int last = -1;
    for (int x = area.left(); x <= area.right(); ++x)
        for (int y = area.top(); y <= area.bottom(); ++y)
            if (Rgb(image, x, y) != (background & 0xFFFFFF)) {
                if (first < 0) first = x;
                last = x;
                break;
            }
    return {first, last};
}

QImage Canvas(QRgb fill, QSize size = QSize(300, 60)) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

}  // namespace

class ComponentsTest : public QObject {
    Q_OBJECT
private slots:
    void convEditDefaultsAndValues();
    void convEditSettingsShowAtTheNextValue();
    void convEditAlignment();
    void textOriginByAlignment();
    void mirroredRectangle();
    void centredTextWithoutHandler();
    void handlerChoosesBrushFontAndAlignment();
    void alignmentOutsideRangeDrawsNothing();
    void wideTextIsClippedToItsCell();
    void noDefaultDrawingStillCallsOnDrawCell();
    void rightToLeftHandsTheMirroredRectangle();
    void cellsRowsAndWidths();
};

void ComponentsTest::convEditDefaultsAndValues() {
    TConvEdit edit;
    QCOMPARE(edit.Digits(), 2);
    QCOMPARE(edit.Precision(), 6);
    QCOMPARE(edit.Format(), FloatFormat::Fixed);
    QCOMPARE(edit.Alignment(), Alignment::LeftJustify);
    edit.SetPrecision(4);
    edit.SetValue(5.678L);
    QCOMPARE(edit.text(), QStringLiteral("5.68"));
    edit.SetDecimalSeparator(',');
    edit.SetValue(5.678L);
    QCOMPARE(edit.text(), QStringLiteral("5,68"));
    edit.SetValue(0.0L);
    QCOMPARE(edit.text(), QStringLiteral("0,00"));
    edit.SetDecimalSeparator('.');
    edit.SetDigits(0);
    edit.SetValue(63.4L);
    QCOMPARE(edit.text(), QStringLiteral("63"));
    edit.SetValue(-2.5L);
    QCOMPARE(edit.text(), QStringLiteral("-3"));
    edit.SetDigits(2);
    edit.SetValue(0.125L);  // a half, exactly: away from zero
    QCOMPARE(edit.text(), QStringLiteral("0.13"));
}

void ComponentsTest::convEditSettingsShowAtTheNextValue() {
    TConvEdit edit;
    edit.SetValue(7.25L);
    QCOMPARE(edit.text(), QStringLiteral("7.25"));
    edit.SetDigits(0);
    edit.SetPrecision(2);
    QCOMPARE(edit.text(), QStringLiteral("7.25"));
    edit.SetValue(7.25L);
    QCOMPARE(edit.text(), QStringLiteral("7"));
    // Typed text stays until the next write.
    edit.setText(QStringLiteral("abc"));
    QCOMPARE(edit.text(), QStringLiteral("abc"));
    NumericEdit model{"12,5", 1, 4, FloatFormat::Fixed, Alignment::RightJustify};
    edit.ShowModel(model);
    QCOMPARE(edit.text(), QStringLiteral("12,5"));
    QCOMPARE(edit.Digits(), 1);
    QCOMPARE(edit.Precision(), 4);
    QCOMPARE(edit.Alignment(), Alignment::RightJustify);
}

void ComponentsTest::convEditAlignment() {
    TConvEdit edit;
    const int applied = edit.AlignmentChanges();
    edit.SetAlignment(Alignment::LeftJustify);
    QCOMPARE(edit.AlignmentChanges(), applied);
    edit.SetAlignment(Alignment::RightJustify);
    QCOMPARE(edit.AlignmentChanges(), applied + 1);
    QVERIFY(edit.alignment() & Qt::AlignRight);
    edit.SetAlignment(Alignment::Center);
    QVERIFY(edit.alignment() & Qt::AlignHCenter);
    edit.SetValue(1.5L);
    edit.SetAlignment(Alignment::LeftJustify);
    QCOMPARE(edit.text(), QStringLiteral("1.50"));
}

void ComponentsTest::textOriginByAlignment() {
    const QRect cell(10, 30, 200, 20);
    QCOMPARE(TCStringGrid::TextOrigin(cell, 41, 13, 2, 1), std::optional(QPoint(10 + 79, 30 + 3)));
    QCOMPARE(TCStringGrid::TextOrigin(cell, 41, 13, 0, 0), std::optional(QPoint(12, 32)));
    QCOMPARE(TCStringGrid::TextOrigin(cell, 41, 13, 1, 2), std::optional(QPoint(210 - 41 - 4, 50 - 13 - 2)));
    // A text wider than its cell: the negative offset is truncated toward zero.
    QCOMPARE(TCStringGrid::TextOrigin(cell, 205, 25, 2, 1), std::optional(QPoint(10 - 2, 30 - 2)));
    QCOMPARE(TCStringGrid::TextOrigin(cell, 41, 13, 3, 1), std::nullopt);
    QCOMPARE(TCStringGrid::TextOrigin(cell, 41, 13, 2, -1), std::nullopt);
    QCOMPARE(TCStringGrid::TextOrigin(cell, 41, 13, -1, 0), std::nullopt);
}

void ComponentsTest::mirroredRectangle() {
    QCOMPARE(TCStringGrid::MirrorRect(QRect(10, 5, 50, 20), 300), QRect(240, 5, 50, 20));
    QCOMPARE(TCStringGrid::MirrorRect(QRect(0, 0, 300, 20), 300), QRect(0, 0, 300, 20));
}

void ComponentsTest::centredTextWithoutHandler() {
    TCStringGrid grid(6, 5);
    grid.SetCells(1, 1, QStringLiteral("08:45"));
    QImage image = Canvas(kGreen);
    const QRect cell(20, 10, 200, 20);
    const QRgb base = grid.palette().color(QPalette::Base).rgb() & 0xFFFFFF;
    {
        QPainter painter(&image);
        grid.PaintCell(painter, 1, 1, cell, {});
    }
    // The cell is filled, the area around it is not.
    QCOMPARE(Rgb(image, 20, 10), base);
    QCOMPARE(Rgb(image, 219, 29), base);
    QCOMPARE(Rgb(image, 19, 10), kGreen);
    QCOMPARE(Rgb(image, 220, 10), kGreen);
    const QFontMetrics metrics(grid.font());
    const int left = 20 + (200 - metrics.horizontalAdvance(QStringLiteral("08:45"))) / 2;
    const auto [first, last] = InkColumns(image, cell, base);
    QVERIFY(first >= left - 1 && first <= left + 3);
    QVERIFY(last < left + metrics.horizontalAdvance(QStringLiteral("08:45")) + 1);
    // An empty text still fills its cell.
    QImage empty = Canvas(kGreen);
    {
        QPainter painter(&empty);
        grid.PaintCell(painter, 2, 2, cell, {});
    }
    QCOMPARE(CountColour(empty, cell, base), 200 * 20);
}

void ComponentsTest::handlerChoosesBrushFontAndAlignment() {
    TCStringGrid grid(6, 5);
    grid.SetCells(0, 1, QStringLiteral("1"));
    grid.SetCells(1, 1, QString());
    QBrush ownBrush(QColor(255, 0, 0));
    int calls = 0;
    grid.OnCellOption = [&](TCStringGrid& sender, int col, int row, TCellOption& option) {
        ++calls;
        QCOMPARE(&sender, &grid);
        QCOMPARE(option.Alignment, 2);
        QCOMPARE(option.VertAlignment, 1);
        if (col == 0 && row == 1) {
            option.Alignment = 0;
            option.VertAlignment = 0;
            option.Font->color = QColor(0, 0, 255);
            option.Brush->setColor(QColor(0, 255, 0));
        } else {
            option.Brush = &ownBrush;
        }
    };
    QImage image = Canvas(0xFFFFFF);
    const QRect cell(0, 0, 100, 20);
    {
        QPainter painter(&image);
        grid.PaintCell(painter, 0, 1, cell, {});
    }
    QCOMPARE(calls, 1);
    QCOMPARE(Rgb(image, 99, 19), kGreen);
    const auto [first, last] = InkColumns(image, cell, kGreen);
    QVERIFY(first >= 2 && first <= 4);  // left-aligned, 2 pixels in
    QVERIFY(CountColour(image, QRect(0, 0, 12, 20), 0x0000FF) > 0);
    QImage second = Canvas(0xFFFFFF);
    {
        QPainter painter(&second);
        grid.PaintCell(painter, 1, 1, cell, {});
    }
    QCOMPARE(CountColour(second, cell, kRed), 100 * 20);
    QCOMPARE(ownBrush.color(), QColor(255, 0, 0));
}

void ComponentsTest::alignmentOutsideRangeDrawsNothing() {
    TCStringGrid grid(6, 5);
    grid.SetCells(0, 1, QStringLiteral("Text"));
    grid.OnCellOption = [](TCStringGrid&, int, int, TCellOption& option) {
        option.Alignment = 3;
        option.Brush->setColor(QColor(255, 0, 0));
    };
    QImage image = Canvas(kGreen);
    const QRect cell(0, 0, 100, 20);
    {
        QPainter painter(&image);
        grid.PaintCell(painter, 0, 1, cell, {});
    }
    const QRgb base = grid.palette().color(QPalette::Base).rgb() & 0xFFFFFF;
    // Only the grid's own preparation: no text, no fill with the handler's brush.
    QCOMPARE(CountColour(image, cell, base), 100 * 20);
}

void ComponentsTest::wideTextIsClippedToItsCell() {
    TCStringGrid grid(6, 5);
    grid.SetCells(0, 1, QStringLiteral("MMMMMMMMMMMMMMMMMMMMMMMM"));
    QImage image = Canvas(kGreen);
    const QRect cell(100, 10, 40, 20);
    {
        QPainter painter(&image);
        grid.PaintCell(painter, 0, 1, cell, {});
    }
    QCOMPARE(CountColour(image, QRect(0, 0, 100, 60), kGreen), 100 * 60);
    QCOMPARE(CountColour(image, QRect(140, 0, 160, 60), kGreen), 160 * 60);
    const QRgb base = grid.palette().color(QPalette::Base).rgb() & 0xFFFFFF;
    const auto [first, last] = InkColumns(image, cell, base);
    // The text runs over both edges of the cell.
    QVERIFY(first <= 101);
    QVERIFY(last >= 137 && last <= 139);
}

void ComponentsTest::noDefaultDrawingStillCallsOnDrawCell() {
    TCStringGrid grid(6, 5);
    grid.SetCells(0, 1, QStringLiteral("Text"));
    grid.SetDefaultDrawing(false);
    int drawn = 0;
    grid.OnDrawCell = [&](TCStringGrid&, int col, int row, const QRect& rect, TGridDrawState state) {
        ++drawn;
        QCOMPARE(col, 0);
        QCOMPARE(row, 1);
        QCOMPARE(rect, QRect(0, 0, 100, 20));
        QVERIFY(state.testFlag(TGridDrawStateFlag::gdSelected));
    };
    QImage image = Canvas(kGreen);
    {
        QPainter painter(&image);
        grid.PaintCell(painter, 0, 1, QRect(0, 0, 100, 20), TGridDrawStateFlag::gdSelected);
    }
    QCOMPARE(drawn, 1);
    QCOMPARE(CountColour(image, image.rect(), kGreen), 300 * 60);
}

void ComponentsTest::rightToLeftHandsTheMirroredRectangle() {
    TCStringGrid grid(6, 5);
    grid.resize(400, 200);
    grid.setLayoutDirection(Qt::RightToLeft);
    grid.SetCells(0, 1, QStringLiteral("Text"));
    QRect handed;
    grid.OnDrawCell = [&](TCStringGrid&, int, int, const QRect& rect, TGridDrawState) { handed = rect; };
    QImage image = Canvas(kGreen);
    const QRect cell(10, 20, 100, 20);
    {
        QPainter painter(&image);
        grid.PaintCell(painter, 0, 1, cell, {});
    }
    const int clientWidth = grid.viewport()->width();
    QCOMPARE(handed, QRect(clientWidth - 110, 20, 100, 20));
    // The text itself stands in the rectangle as received.
    const QRgb base = grid.palette().color(QPalette::Base).rgb() & 0xFFFFFF;
    QCOMPARE(CountColour(image, cell, base) < 100 * 20, true);
    QCOMPARE(CountColour(image, QRect(110, 0, 190, 60), kGreen), 190 * 60);
}

void ComponentsTest::cellsRowsAndWidths() {
    TCStringGrid grid(6, 5);
    QCOMPARE(grid.ColCount(), 6);
    QCOMPARE(grid.RowCount(), 5);
    grid.SetCells(5, 0, QString::fromUtf8("\u0394G > 1 SD"));
    grid.SetCells(2, 3, QStringLiteral(" 6.0"));
    QCOMPARE(grid.Cells(5, 0), QString::fromUtf8("\u0394G > 1 SD"));
    QCOMPARE(grid.Cells(2, 3), QStringLiteral(" 6.0"));
    QVERIFY(grid.Cells(0, 4).isEmpty());
    QVERIFY(grid.Cells(9, 9).isEmpty());
    grid.SetRowCount(2);
    QCOMPARE(grid.RowCount(), 2);
    QCOMPARE(grid.Cells(5, 0), QString::fromUtf8("\u0394G > 1 SD"));
    grid.SetRowCount(7);
    QVERIFY(grid.Cells(2, 3).isEmpty());
    grid.SetDefaultColWidth(201);
    QCOMPARE(grid.DefaultColWidth(), 201);
    QCOMPARE(grid.columnWidth(0), 202);
    grid.SetDefaultRowHeight(20);
    QCOMPARE(grid.rowHeight(0), 21);
}

QTEST_MAIN(ComponentsTest)
#include "tst_components.moc"
