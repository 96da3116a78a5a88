#include "data/WerteTab.h"

#include <algorithm>

#include "data/Errors.h"

namespace zelk {
namespace {

bool Before(const WerteRow& a, const WerteRow& b) {
    if (a.minuteNull != b.minuteNull) return a.minuteNull;
    return !a.minuteNull && a.minute < b.minute;
}

bool AsDouble(const FieldValue& value, double& out) {
    if (const auto* d = std::get_if<double>(&value)) {
        out = *d;
        return true;
    }
    if (const auto* i = std::get_if<int>(&value)) {
        out = *i;
        return true;
    }
    return false;
}

}  // namespace

const std::vector<FieldDef>& WerteTab::Fields() const {
    static const std::vector<FieldDef> fields = {
        {"Minute", FieldKind::Integer, 0},
        {"Glukose", FieldKind::Float, 0},
        {"BG_Neu", FieldKind::Float, 0},
    };
    return fields;
}

void WerteTab::CheckRow(int row) const {
    if (row < 0 || row >= RowCount()) throw DatasetError("Row " + std::to_string(row) + " does not exist");
}

FieldValue WerteTab::Value(int row, int field) const {
    CheckRow(row);
    const WerteRow& r = rows_[static_cast<size_t>(row)];
    switch (field) {
    case 0: return r.minuteNull ? FieldValue{} : FieldValue{r.minute};
    case 1: return r.glukoseNull ? FieldValue{} : FieldValue{r.glukose};
    case 2: return r.bgNeuNull ? FieldValue{} : FieldValue{r.bgNeu};
    default: throw DatasetError("Field " + std::to_string(field) + " does not exist");
    }
}

int WerteTab::SetValue(int row, int field, const FieldValue& value) {
    CheckRow(row);
    WerteRow& r = rows_[static_cast<size_t>(row)];
    double number = 0.0;
    const bool has = AsDouble(value, number);
    switch (field) {
    case 0:
        r.minuteNull = !has;
        r.minute = has ? static_cast<int>(number) : 0;
        return Reposition(row);
    case 1:
        r.glukoseNull = !has;
        r.glukose = has ? number : 0.0;
        break;
    case 2:
        r.bgNeuNull = !has;
        r.bgNeu = has ? number : 0.0;
        break;
    default: throw DatasetError("Field " + std::to_string(field) + " does not exist");
    }
    Changed(row);
    return row;
}

int WerteTab::Reposition(int row) {
    const WerteRow moved = rows_[static_cast<size_t>(row)];
    rows_.erase(rows_.begin() + row);
    const auto it = std::upper_bound(rows_.begin(), rows_.end(), moved, Before);
    const int at = static_cast<int>(it - rows_.begin());
    rows_.insert(it, moved);
    if (bulk_ > 0)
        bulkChanged_ = true;
    else
        Notify(DatasetChange::Kind::Reset);
    return at;
}

int WerteTab::AppendEmptyRow() {
    WerteRow row;
    row.minuteNull = true;
    rows_.insert(rows_.begin(), row);
    if (bulk_ > 0)
        bulkChanged_ = true;
    else
        Notify(DatasetChange::Kind::Reset);
    return 0;
}

void WerteTab::DeleteRow(int row) {
    CheckRow(row);
    rows_.erase(rows_.begin() + row);
    if (CurrentRow() >= RowCount()) SetCurrentQuietly(std::max(0, RowCount() - 1));
    if (bulk_ > 0)
        bulkChanged_ = true;
    else
        Notify(DatasetChange::Kind::Reset);
}

void WerteTab::CreateWithDemo(const std::array<float, 48>& demoValues) {
    rows_.clear();
    rows_.reserve(kGridMinutes);
    for (int day = 0; day < 3; ++day) {
        for (int hour = 0; hour < 24; ++hour) {
            for (int m = 0; m < 60; ++m) {
                WerteRow row;
                row.minute = day * 1440 + hour * 60 + m;
                row.glukoseNull = false;
                const bool demoHour = m == 0 && day < 2;
                row.glukose = demoHour ? static_cast<double>(demoValues[static_cast<size_t>(day * 24 + hour)]) : 0.0;
                rows_.push_back(row);
            }
        }
    }
    SetCurrentQuietly(0);
    Notify(DatasetChange::Kind::Reset);
}

void WerteTab::ClearGlukose() {
    for (auto& row : rows_) {
        row.glukoseNull = true;
        row.glukose = 0.0;
    }
    if (bulk_ > 0)
        bulkChanged_ = true;
    else
        Notify(DatasetChange::Kind::Reset);
}

int WerteTab::FindKey(int minute) const {
    // The rows normally hold minute m at position m.
    if (minute >= 0 && minute < RowCount()) {
        const WerteRow& r = rows_[static_cast<size_t>(minute)];
        if (!r.minuteNull && r.minute == minute) {
            if (minute == 0 || rows_[static_cast<size_t>(minute) - 1].minuteNull ||
                rows_[static_cast<size_t>(minute) - 1].minute != minute)
                return minute;
        }
    }
    WerteRow key;
    key.minute = minute;
    const auto it = std::lower_bound(rows_.begin(), rows_.end(), key, Before);
    if (it != rows_.end() && !it->minuteNull && it->minute == minute) return static_cast<int>(it - rows_.begin());
    return -1;
}

void WerteTab::SetGlukose(int row, double value) {
    WerteRow& r = rows_[static_cast<size_t>(row)];
    r.glukoseNull = false;
    r.glukose = value;
    Changed(row);
}

void WerteTab::Changed(int row) {
    if (bulk_ > 0)
        bulkChanged_ = true;
    else
        Notify(DatasetChange::Kind::RowChanged, row);
}

void WerteTab::EndBulk() {
    if (bulk_ > 0 && --bulk_ == 0 && bulkChanged_) {
        bulkChanged_ = false;
        Notify(DatasetChange::Kind::Reset);
    }
}

}  // namespace zelk
