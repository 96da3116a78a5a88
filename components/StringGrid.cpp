#include "components/StringGrid.h"

#include <stdexcept>

namespace zelk {

StringGrid::StringGrid(int colCount, int rowCount)
    : colCount_(colCount), rowCount_(rowCount), cells_(static_cast<size_t>(colCount * rowCount)) {}

size_t StringGrid::Index(int col, int row) const {
    if (col < 0 || col >= colCount_ || row < 0 || row >= rowCount_)
        throw std::out_of_range("Grid index out of range: column " + std::to_string(col) + ", row " +
                                std::to_string(row));
    return static_cast<size_t>(row) * static_cast<size_t>(colCount_) + static_cast<size_t>(col);
}

void StringGrid::SetRowCount(int rows) {
    if (rows < 1) rows = 1;
    rowCount_ = rows;
    cells_.resize(static_cast<size_t>(rows * colCount_));
    ++revision_;
}

const std::string& StringGrid::Cell(int col, int row) const { return cells_[Index(col, row)]; }

void StringGrid::SetCell(int col, int row, std::string text) {
    cells_[Index(col, row)] = std::move(text);
    ++revision_;
}

void StringGrid::ClearRows(int firstRow) {
    for (int r = firstRow; r < rowCount_; ++r)
        for (int c = 0; c < colCount_; ++c) cells_[Index(c, r)].clear();
    ++revision_;
}

}  // namespace zelk
