#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "data/Dataset.h"
#include "data/SensorRowStore.h"

namespace zelk {

// The readings dataset: unique index on Datum;Zeit, the one filter form
// Datum='<day>', and a cursor with the end-of-data state.
class SensorTab final : public Dataset {
public:
    SensorTab();

    // Dataset (visible rows)
    const std::vector<FieldDef>& Fields() const override;
    int RowCount() const override;
    FieldValue Value(int row, int field) const override;
    int SetValue(int row, int field, const FieldValue& value) override;
    int AppendEmptyRow() override;
    void DeleteRow(int row) override;

    int TotalRows() const { return store_.Size(); }
    const SensorRowStore& Store() const { return store_; }

    // Filter: only rows whose Datum equals `day` are visible while the filter is on.
    void SetFilterDay(std::string_view day);
    void SetFiltered(bool on);
    void RemoveFilter() { SetFiltered(false); }
    bool Filtered() const { return filtered_; }
    const std::string& FilterDay() const { return filterDay_; }
    // The filter text of the one form used: Datum='<day>'.
    std::string FilterText() const { return "Datum='" + filterDay_ + "'"; }

    // Deletes every row.
    void DeleteAll();
    // Appends one row and posts it. A duplicate Datum;Zeit raises DatasetError and
    // stores nothing. Texts longer than 20 characters are cut.
    void Append(int id, std::string_view datum, std::string_view zeit, double bgWert);
    // A whole file into the emptied table: BulkAppend takes rows without a key check
    // and without telling the listeners, and stores Datum with the letters A to Z in
    // lower case; it returns true when a row with the same stored Datum came before.
    // FinishBulk puts the rows in key order and tells the listeners once; it returns
    // false and leaves the table empty when a Datum;Zeit came twice.
    bool BulkAppend(int id, std::string_view datum, std::string_view zeit, double bgWert);
    bool FinishBulk();
    // Drops the rows taken since the last FinishBulk.
    void CancelBulk() { store_.BulkCancel(); }

    // Cursor over the visible rows.
    void First();
    void Next();
    bool Eof() const { return eof_; }
    // Nearest key search: the first visible row with a key equal to or after the
    // given one becomes current; without one the table is at its end.
    void FindNearest(std::string_view datum, std::string_view zeit);
    // Fields of the current row; empty text and 0 when no row is visible.
    std::string_view CurDatum() const;
    std::string_view CurZeit() const;
    double CurBgWert() const;
    int CurId() const;
    // Position of the current row in the unfiltered order, -1 when none.
    int CurPos() const;

private:
    struct Range {
        int begin;
        int end;
    };
    Range Visible() const;
    const SensorRow* CurRow() const;
    void CheckRow(int row) const;
    void ChangedStructure();

    SensorRowStore store_;
    std::string filterDay_;
    bool filtered_ = false;
    int cursor_ = 0;  // position among the visible rows
    bool eof_ = true;
};

}  // namespace zelk
