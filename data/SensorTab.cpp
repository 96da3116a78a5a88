#include "data/SensorTab.h"

#include <algorithm>

#include "data/Errors.h"

namespace zelk {
namespace {

const std::vector<FieldDef>& SensorFields() {
    static const std::vector<FieldDef> fields = {
        {"ID", FieldKind::Integer, 0},
        {"Datum", FieldKind::Text, kTextFieldSize},
        {"Zeit", FieldKind::Text, kTextFieldSize},
        {"BG_Wert", FieldKind::Float, 0},
    };
    return fields;
}

}  // namespace

// ---- SensorTab ----

SensorTab::SensorTab() = default;

const std::vector<FieldDef>& SensorTab::Fields() const { return SensorFields(); }

SensorTab::Range SensorTab::Visible() const {
    if (!filtered_) return {0, store_.Size()};
    return {store_.LowerBound(filterDay_, {}), store_.UpperBoundDatum(filterDay_)};
}

int SensorTab::RowCount() const {
    const Range r = Visible();
    return r.end - r.begin;
}

void SensorTab::CheckRow(int row) const {
    if (row < 0 || row >= RowCount()) throw DatasetError("Row " + std::to_string(row) + " does not exist");
}

FieldValue SensorTab::Value(int row, int field) const {
    CheckRow(row);
    const SensorRow& r = store_.At(Visible().begin + row);
    switch (field) {
    case 0: return r.idNull ? FieldValue{} : FieldValue{r.id};
    case 1: return r.datum.Str();
    case 2: return r.zeit.Str();
    case 3: return r.bgNull ? FieldValue{} : FieldValue{r.bgWert};
    default: throw DatasetError("Field " + std::to_string(field) + " does not exist");
    }
}

int SensorTab::SetValue(int row, int field, const FieldValue& value) {
    CheckRow(row);
    const int pos = Visible().begin + row;
    SensorRow updated = store_.At(pos);
    const auto asText = [&value]() -> std::string {
        if (const auto* s = std::get_if<std::string>(&value)) return *s;
        if (const auto* i = std::get_if<int>(&value)) return std::to_string(*i);
        return {};
    };
    switch (field) {
    case 0:
        updated.idNull = !std::holds_alternative<int>(value);
        updated.id = updated.idNull ? 0 : std::get<int>(value);
        break;
    case 1: updated.datum.Assign(asText()); break;
    case 2: updated.zeit.Assign(asText()); break;
    case 3:
        if (const auto* d = std::get_if<double>(&value)) {
            updated.bgNull = false;
            updated.bgWert = *d;
        } else if (const auto* i = std::get_if<int>(&value)) {
            updated.bgNull = false;
            updated.bgWert = *i;
        } else {
            updated.bgNull = true;
            updated.bgWert = 0.0;
        }
        break;
    default: throw DatasetError("Field " + std::to_string(field) + " does not exist");
    }
    const SensorRow& old = store_.At(pos);
    if (old.datum == updated.datum && old.zeit == updated.zeit) {
        store_.At(pos) = updated;
        Notify(DatasetChange::Kind::RowChanged, row);
        return row;
    }
    if (store_.Find(updated.datum.View(), updated.zeit.View()) >= 0)
        throw DatasetError("Key violation: a reading with Datum '" + updated.datum.Str() + "' and Zeit '" +
                           updated.zeit.Str() + "' exists already");
    store_.Erase(pos);
    store_.Insert(updated);
    ChangedStructure();
    const int newPos = store_.Find(updated.datum.View(), updated.zeit.View());
    const Range r = Visible();
    return newPos >= r.begin && newPos < r.end ? newPos - r.begin : -1;
}

int SensorTab::AppendEmptyRow() {
    SensorRow row;
    row.idNull = true;
    row.bgNull = true;
    if (!store_.Insert(row)) throw DatasetError("Key violation: a reading with empty Datum and Zeit exists already");
    ChangedStructure();
    const int pos = store_.Find({}, {});
    const Range r = Visible();
    return pos >= r.begin && pos < r.end ? pos - r.begin : -1;
}

void SensorTab::DeleteRow(int row) {
    CheckRow(row);
    store_.Erase(Visible().begin + row);
    ChangedStructure();
}

void SensorTab::ChangedStructure() {
    const int count = RowCount();
    if (cursor_ >= count) cursor_ = count > 0 ? count - 1 : 0;
    if (CurrentRow() >= count) SetCurrentQuietly(count > 0 ? count - 1 : 0);
    Notify(DatasetChange::Kind::Reset);
}

void SensorTab::SetFilterDay(std::string_view day) {
    if (filterDay_ == day) return;
    filterDay_ = std::string(day);
    if (filtered_) {
        cursor_ = 0;
        SetCurrentQuietly(0);
        Notify(DatasetChange::Kind::FilterChanged);
    }
}

void SensorTab::SetFiltered(bool on) {
    if (filtered_ == on) return;
    filtered_ = on;
    cursor_ = 0;
    SetCurrentQuietly(0);
    Notify(DatasetChange::Kind::FilterChanged);
}

void SensorTab::DeleteAll() {
    if (store_.Empty()) return;
    store_.Clear();
    cursor_ = 0;
    eof_ = true;
    SetCurrentQuietly(0);
    Notify(DatasetChange::Kind::Reset);
}

bool SensorTab::BulkAppend(int id, std::string_view datum, std::string_view zeit, double bgWert) {
    return store_.BulkAdd(id, datum, zeit, bgWert);
}

bool SensorTab::FinishBulk() {
    const bool unique = store_.BulkFinish();
    if (unique && store_.Size() > 0) ChangedStructure();
    return unique;
}

void SensorTab::Append(int id, std::string_view datum, std::string_view zeit, double bgWert) {
    SensorRow row;
    row.id = id;
    row.datum.Assign(datum);
    row.zeit.Assign(zeit);
    row.bgWert = bgWert;
    if (!store_.Insert(row))
        throw DatasetError("Key violation: a reading with Datum '" + row.datum.Str() + "' and Zeit '" + row.zeit.Str() +
                           "' exists already");
    // Listeners reset on an insert, so the row's position is not looked up: finding it
    // after every append made an import through an open table window quadratic.
    if (HasListeners() && (!filtered_ || row.datum.View() == filterDay_)) Notify(DatasetChange::Kind::RowsInserted);
}

void SensorTab::First() {
    cursor_ = 0;
    eof_ = RowCount() == 0;
}

void SensorTab::Next() {
    if (eof_) return;
    if (cursor_ + 1 < RowCount())
        ++cursor_;
    else
        eof_ = true;
}

void SensorTab::FindNearest(std::string_view datum, std::string_view zeit) {
    const Range r = Visible();
    const int pos = std::clamp(store_.LowerBound(datum, zeit), r.begin, r.end);
    if (pos >= r.end) {
        cursor_ = r.end > r.begin ? r.end - r.begin - 1 : 0;
        eof_ = true;
    } else {
        cursor_ = pos - r.begin;
        eof_ = false;
    }
}

const SensorRow* SensorTab::CurRow() const {
    const Range r = Visible();
    if (r.end <= r.begin) return nullptr;
    return &store_.At(r.begin + std::min(cursor_, r.end - r.begin - 1));
}

int SensorTab::CurPos() const {
    const Range r = Visible();
    if (r.end <= r.begin) return -1;
    return r.begin + std::min(cursor_, r.end - r.begin - 1);
}

std::string_view SensorTab::CurDatum() const {
    const SensorRow* row = CurRow();
    return row ? row->datum.View() : std::string_view{};
}

std::string_view SensorTab::CurZeit() const {
    const SensorRow* row = CurRow();
    return row ? row->zeit.View() : std::string_view{};
}

double SensorTab::CurBgWert() const {
    const SensorRow* row = CurRow();
    return row && !row->bgNull ? row->bgWert : 0.0;
}

int SensorTab::CurId() const {
    const SensorRow* row = CurRow();
    return row && !row->idNull ? row->id : 0;
}

}  // namespace zelk
