#include "ui/CStringGrid.h"

#include <QFontMetrics>
#include <QPainter>

namespace zelk {
namespace {

constexpr int kGridLineWidth = 1;

// Delphi-style rectangle edges: right and bottom lie just outside the rectangle.
int RightOf(const QRect& r) { return r.x() + r.width(); }
int BottomOf(const QRect& r) { return r.y() + r.height(); }

}  // namespace

TCStringGrid::TCStringGrid(int colCount, int rowCount, QWidget* parent) : QTableWidget(parent) {
    setHorizontalHeader(new CStringGridHeader(*this));
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setHighlightSections(false);
    setItemDelegate(new CStringGridDelegate(*this));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setWordWrap(false);
    setColumnCount(colCount);
    SetRowCount(rowCount);
    SetDefaultColWidth(defaultColWidth_);
    SetDefaultRowHeight(defaultRowHeight_);
    if (rowCount > 1 && colCount > 0) setCurrentCell(0, 0);
}

void TCStringGrid::SetRowCount(int rows) { setRowCount(rows > 1 ? rows - 1 : 0); }

QTableWidgetItem* TCStringGrid::ItemAt(int col, int row, bool create) {
    if (col < 0 || col >= columnCount() || row < 0 || row >= RowCount()) return nullptr;
    QTableWidgetItem* cell = row == 0 ? horizontalHeaderItem(col) : item(row - 1, col);
    if (!cell && create) {
        cell = new QTableWidgetItem;
        if (row == 0)
            setHorizontalHeaderItem(col, cell);
        else
            setItem(row - 1, col, cell);
    }
    return cell;
}

QString TCStringGrid::Cells(int col, int row) const {
    const QTableWidgetItem* cell = const_cast<TCStringGrid*>(this)->ItemAt(col, row, false);
    return cell ? cell->text() : QString();
}

void TCStringGrid::SetCells(int col, int row, const QString& text) {
    if (Cells(col, row) == text) return;
    if (QTableWidgetItem* cell = ItemAt(col, row, true)) cell->setText(text);
}

void TCStringGrid::SetDefaultColWidth(int width) {
    defaultColWidth_ = width;
    horizontalHeader()->setDefaultSectionSize(width + kGridLineWidth);
    for (int c = 0; c < columnCount(); ++c) setColumnWidth(c, width + kGridLineWidth);
}

void TCStringGrid::SetDefaultRowHeight(int height) {
    defaultRowHeight_ = height;
    verticalHeader()->setDefaultSectionSize(height + kGridLineWidth);
    for (int r = 0; r < rowCount(); ++r) setRowHeight(r, height + kGridLineWidth);
    horizontalHeader()->setFixedHeight(height + kGridLineWidth);
}

void TCStringGrid::SetDefaultDrawing(bool on) {
    defaultDrawing_ = on;
    viewport()->update();
    horizontalHeader()->viewport()->update();
}

void TCStringGrid::PaintCell(QPainter& painter, int col, int row, const QRect& rect, TGridDrawState state) {
    const QPalette& colours = palette();
    TGridCanvas canvas{painter, QBrush(colours.color(QPalette::Base)), {font(), colours.color(QPalette::Text)}};
    if (defaultDrawing_) {
        if (state.testFlag(TGridDrawStateFlag::gdSelected) && !state.testFlag(TGridDrawStateFlag::gdFocused)) {
            canvas.brush = colours.color(QPalette::Highlight);
            canvas.font.color = colours.color(QPalette::HighlightedText);
        } else if (state.testFlag(TGridDrawStateFlag::gdFixed)) {
            canvas.brush = colours.color(QPalette::Button);
        }
        painter.fillRect(rect, canvas.brush);
    }
    DrawCell(canvas, col, row, rect, state);
    if (!defaultDrawing_) return;
    if (state.testFlag(TGridDrawStateFlag::gdFixed)) {
        // Raised inner edge of a fixed cell.
        painter.save();
        painter.setPen(colours.color(QPalette::Light));
        painter.drawLine(rect.left(), rect.top(), rect.right(), rect.top());
        painter.drawLine(rect.left(), rect.top(), rect.left(), rect.bottom());
        painter.setPen(colours.color(QPalette::Mid));
        painter.drawLine(rect.left(), rect.bottom(), rect.right(), rect.bottom());
        painter.drawLine(rect.right(), rect.top(), rect.right(), rect.bottom());
        painter.restore();
    } else if (state.testFlag(TGridDrawStateFlag::gdFocused)) {
        painter.save();
        painter.setPen(QPen(colours.color(QPalette::Text), 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect.adjusted(0, 0, -1, -1));
        painter.restore();
    }
}

std::optional<QPoint> TCStringGrid::TextOrigin(const QRect& rect, int textWidth, int textHeight, int alignment,
                                               int vertAlignment) {
    if (alignment < 0 || alignment > 2 || vertAlignment < 0 || vertAlignment > 2) return std::nullopt;
    const int left = rect.x();
    const int top = rect.y();
    const int right = RightOf(rect);
    const int bottom = BottomOf(rect);
    // Integer division truncates toward zero, also for a text wider than its cell.
    const int dx = (right - left - textWidth) / 2;
    const int dy = (bottom - top - textHeight) / 2;
    const int x = alignment == 0 ? left + 2 : alignment == 1 ? right - textWidth - 4 : left + dx;
    const int y = vertAlignment == 0 ? top + 2 : vertAlignment == 1 ? top + dy : bottom - textHeight - 2;
    return QPoint(x, y);
}

QRect TCStringGrid::MirrorRect(const QRect& rect, int clientWidth) {
    return QRect(clientWidth - RightOf(rect), rect.y(), rect.width(), rect.height());
}

void TCStringGrid::DrawCell(TGridCanvas& canvas, int col, int row, const QRect& rect, TGridDrawState state) {
    TCellOption option{&canvas.brush, &canvas.font, 2, 1};
    if (OnCellOption) {
        OnCellOption(*this, col, row, option);
        if (option.Brush && option.Brush != &canvas.brush) canvas.brush = *option.Brush;
        if (option.Font && option.Font != &canvas.font) canvas.font = *option.Font;
    }
    if (defaultDrawing_) {
        const QString text = Cells(col, row);
        const QFontMetrics metrics(canvas.font.font);
        const auto origin =
            TextOrigin(rect, metrics.horizontalAdvance(text), metrics.height(), option.Alignment, option.VertAlignment);
        if (origin) {
            QPainter& p = canvas.painter;
            p.save();
            p.setClipRect(rect);
            if (canvas.brush.style() != Qt::NoBrush) p.fillRect(rect, canvas.brush);
            p.setFont(canvas.font.font);
            p.setPen(canvas.font.color);
            p.drawText(QPoint(origin->x(), origin->y() + metrics.ascent()), text);
            p.restore();
        }
    }
    if (OnDrawCell) {
        const bool rightToLeft = layoutDirection() == Qt::RightToLeft;
        OnDrawCell(*this, col, row, rightToLeft ? MirrorRect(rect, viewport()->width()) : rect, state);
    }
}

void CStringGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    TGridDrawState state;
    if (option.state.testFlag(QStyle::State_Selected)) state |= TGridDrawStateFlag::gdSelected;
    if (option.state.testFlag(QStyle::State_HasFocus)) state |= TGridDrawStateFlag::gdFocused;
    grid_.PaintCell(*painter, index.column(), index.row() + 1, option.rect, state);
}

CStringGridHeader::CStringGridHeader(TCStringGrid& grid) : QHeaderView(Qt::Horizontal, &grid), grid_(grid) {}

void CStringGridHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    const QRect cell = rect.adjusted(0, 0, -kGridLineWidth, -kGridLineWidth);
    painter->save();
    painter->setPen(grid_.palette().color(QPalette::Dark));
    painter->drawLine(rect.right(), rect.top(), rect.right(), rect.bottom());
    painter->drawLine(rect.left(), rect.bottom(), rect.right(), rect.bottom());
    painter->restore();
    grid_.PaintCell(*painter, logicalIndex, 0, cell, TGridDrawStateFlag::gdFixed);
}

}  // namespace zelk
