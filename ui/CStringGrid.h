#pragma once

#include <QBrush>
#include <QColor>
#include <QFlags>
#include <QFont>
#include <QHeaderView>
#include <QRect>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <functional>
#include <optional>

class QPainter;

namespace zelk {

class TCStringGrid;

enum class TGridDrawStateFlag { gdSelected = 0x1, gdFocused = 0x2, gdFixed = 0x4 };
Q_DECLARE_FLAGS(TGridDrawState, TGridDrawStateFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(TGridDrawState)

// A font as a canvas holds it: typeface, size and style, and the text colour.
struct TCanvasFont {
    QFont font;
    QColor color;
};

// The drawing tools of one cell: the painter with the canvas's own brush and font.
struct TGridCanvas {
    QPainter& painter;
    QBrush brush;
    TCanvasFont font;
};

// What a cell is drawn with. Brush and Font point at the canvas's own objects unless
// a handler puts objects of its own there (which the handler keeps alive).
struct TCellOption {
    QBrush* Brush = nullptr;
    TCanvasFont* Font = nullptr;
    int Alignment = 2;      // 0 left, 1 right, 2 centre
    int VertAlignment = 1;  // 0 top, 1 centre, 2 bottom
};

using TCellOptionEvent = std::function<void(TCStringGrid& sender, int aCol, int aRow, TCellOption& cellOption)>;
using TDrawCellEvent =
    std::function<void(TCStringGrid& sender, int aCol, int aRow, const QRect& rect, TGridDrawState state)>;

// A string grid whose cells draw their text with a per-cell horizontal and vertical
// alignment, brush and font. Row 0 is the fixed header row; it stays in place while
// the other rows scroll. Column widths and row heights exclude the one-pixel grid line.
class TCStringGrid : public QTableWidget {
    Q_OBJECT
public:
    TCStringGrid(int colCount, int rowCount, QWidget* parent = nullptr);

    int ColCount() const { return columnCount(); }
    // Rows including the fixed header row.
    int RowCount() const { return rowCount() + 1; }
    void SetRowCount(int rows);

    QString Cells(int col, int row) const;
    void SetCells(int col, int row, const QString& text);

    int DefaultColWidth() const { return defaultColWidth_; }
    void SetDefaultColWidth(int width);
    int DefaultRowHeight() const { return defaultRowHeight_; }
    void SetDefaultRowHeight(int height);

    bool DefaultDrawing() const { return defaultDrawing_; }
    void SetDefaultDrawing(bool on);

    TCellOptionEvent OnCellOption;
    TDrawCellEvent OnDrawCell;

    // One cell as the grid paints it: the grid's own preparation (font, brush by the
    // draw state, fill) when DefaultDrawing is on, then DrawCell.
    void PaintCell(QPainter& painter, int col, int row, const QRect& rect, TGridDrawState state);
    // The cell drawing: cell options, aligned clipped text, then OnDrawCell.
    void DrawCell(TGridCanvas& canvas, int col, int row, const QRect& rect, TGridDrawState state);

    // Top-left corner of a text of the given size in a cell, or no point when an
    // alignment lies outside 0 to 2.
    static std::optional<QPoint> TextOrigin(const QRect& rect, int textWidth, int textHeight, int alignment,
                                            int vertAlignment);
    // The rectangle mirrored within a client width, as right-to-left grids hand it on.
    static QRect MirrorRect(const QRect& rect, int clientWidth);

private:
    QTableWidgetItem* ItemAt(int col, int row, bool create);

    int defaultColWidth_ = 64;
    int defaultRowHeight_ = 24;
    bool defaultDrawing_ = true;
};

// Paints the body cells through the grid's cell drawing.
class CStringGridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit CStringGridDelegate(TCStringGrid& grid) : QStyledItemDelegate(&grid), grid_(grid) {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    TCStringGrid& grid_;
};

// The fixed header row, painted through the grid's cell drawing.
class CStringGridHeader : public QHeaderView {
    Q_OBJECT
public:
    explicit CStringGridHeader(TCStringGrid& grid);

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

private:
    TCStringGrid& grid_;
};

}  // namespace zelk
