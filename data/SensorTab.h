#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "data/Dataset.h"
#include "data/ShortText.h"

namespace zelk {

inline constexpr int kTextFieldSize = 20;

// One reading: ID, Datum (lower case), Zeit, BG_Wert in mmol/L.
struct SensorRow {
    ShortText<kTextFieldSize> datum;
    ShortText<kTextFieldSize> zeit;
    double bgWert = 0.0;
    int id = 0;
    bool idNull = false;
    bool bgNull = false;
};

// Rows in key order, kept in blocks so that inserts in the middle stay cheap and a
// row can still be reached by its position.
class SensorRowStore {
public:
    int Size() const { return size_; }
    bool Empty() const { return size_ == 0; }
    void Clear();

    // Inserts in key order; returns false, storing nothing, when the key exists.
    bool Insert(const SensorRow& row);
    void Erase(int pos);

    const SensorRow& At(int pos) const;
    SensorRow& At(int pos);
    // Position of the first row whose key is equal to or after the given key.
    int LowerBound(std::string_view datum, std::string_view zeit) const;
    // The same, trying `hint` first: a run of searches in key order costs two
    // comparisons each when every search starts where the previous rows ended.
    int LowerBoundFrom(std::string_view datum, std::string_view zeit, int hint) const;
    // Position of the first row whose Datum is after the given one.
    int UpperBoundDatum(std::string_view datum) const;
    // Position of the row with exactly this key, or -1.
    int Find(std::string_view datum, std::string_view zeit) const;

    // Walks rows in order from a position without searching for each one.
    class Walker {
    public:
        Walker(const SensorRowStore& store, int pos);
        Walker(const SensorRowStore& store, int pos, size_t block, size_t offset)
            : store_(&store), pos_(pos), block_(block), offset_(offset) {}
        bool AtEnd() const { return pos_ >= store_->size_; }
        const SensorRow& Row() const { return store_->blocks_[block_][offset_]; }
        int Pos() const { return pos_; }
        void Next();

    private:
        const SensorRowStore* store_;
        int pos_;
        size_t block_ = 0;
        size_t offset_ = 0;
    };

    // A walk from LowerBoundFrom(datum, zeit, hint), placed with one lookup.
    Walker WalkFrom(std::string_view datum, std::string_view zeit, int hint) const;

private:
    static constexpr size_t kMaxBlock = 128;
    void Locate(int pos, size_t& block, size_t& offset) const;
    void RebuildPrefix() const;
    size_t BlockForKey(std::string_view datum, std::string_view zeit) const;
    // Where a key goes when it follows the row inserted last: true, with the place,
    // when it lies between that row and the next one.
    bool FollowsLastInsert(std::string_view datum, std::string_view zeit, size_t& block, size_t& at) const;

    std::vector<std::vector<SensorRow>> blocks_;
    mutable std::vector<int> prefix_;  // rows before each block
    mutable bool prefixDirty_ = false;
    int size_ = 0;
    // The row inserted last; files list the readings of a day in time order.
    bool lastValid_ = false;
    size_t lastBlock_ = 0;
    size_t lastOffset_ = 0;
};

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
