#pragma once

#include <functional>
#include <string>
#include <variant>
#include <vector>

namespace zelk {

enum class FieldKind { Integer, Text, Float };

struct FieldDef {
    const char* name;
    FieldKind kind;
    int size;  // characters of a text field, 0 otherwise
};

// A field value as a table view reads and writes it; monostate is an empty field.
using FieldValue = std::variant<std::monostate, int, double, std::string>;

// What changed in a dataset, for views that follow it.
struct DatasetChange {
    enum class Kind { Reset, RowChanged, RowsInserted, RowsRemoved, FilterChanged, CurrentChanged };
    Kind kind = Kind::Reset;
    int row = -1;  // visible row for RowChanged, RowsRemoved and CurrentChanged; -1 for RowsInserted
};

// The table operations a grid view needs: rows in index order (the visible ones
// when a filter is on), fields by row, adding and deleting rows, the current row
// and change notification.
class Dataset {
public:
    using Listener = std::function<void(const DatasetChange&)>;

    virtual ~Dataset() = default;

    virtual const std::vector<FieldDef>& Fields() const = 0;
    virtual int RowCount() const = 0;
    virtual FieldValue Value(int row, int field) const = 0;
    // Writes one field and posts the row; the row may move in index order.
    // Returns the row's new visible position. Raises DatasetError when refused.
    virtual int SetValue(int row, int field, const FieldValue& value) = 0;
    // Adds an empty row and returns its visible position. Raises DatasetError when refused.
    virtual int AppendEmptyRow() = 0;
    virtual void DeleteRow(int row) = 0;

    int CurrentRow() const { return current_; }
    void SetCurrentRow(int row);

    // Registers a listener; returns a handle for Unsubscribe.
    int Subscribe(Listener listener);
    void Unsubscribe(int handle);

protected:
    void Notify(DatasetChange::Kind kind, int row = -1) const;
    void SetCurrentQuietly(int row) { current_ = row; }
    bool HasListeners() const { return !listeners_.empty(); }

private:
    struct Entry {
        int handle;
        Listener listener;
    };
    std::vector<Entry> listeners_;
    int nextHandle_ = 1;
    int current_ = 0;
};

}  // namespace zelk
