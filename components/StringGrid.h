#pragma once

#include <string>
#include <vector>

namespace zelk {

// Cell texts of a string grid: columns by rows, row 0 the header row. Changing the
// row count keeps the texts of the rows that stay; new rows are empty.
class StringGrid {
public:
    StringGrid(int colCount, int rowCount);

    int ColCount() const { return colCount_; }
    int RowCount() const { return rowCount_; }
    void SetRowCount(int rows);

    const std::string& Cell(int col, int row) const;
    void SetCell(int col, int row, std::string text);
    // Empties every cell of the rows from `firstRow` to the last row.
    void ClearRows(int firstRow);

    // Grows with every change, so a view can tell whether it is up to date.
    unsigned long Revision() const { return revision_; }

private:
    size_t Index(int col, int row) const;

    int colCount_;
    int rowCount_;
    std::vector<std::string> cells_;
    unsigned long revision_ = 0;
};

}  // namespace zelk
