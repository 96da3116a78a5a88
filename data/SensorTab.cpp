#include "data/SensorTab.h"

#include <algorithm>
#include <cassert>

#include "data/Errors.h"

namespace zelk {
namespace {

int CompareKey(const SensorRow& row, std::string_view datum, std::string_view zeit) {
    const int c = Compare(row.datum, datum);
    return c != 0 ? c : Compare(row.zeit, zeit);
}

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

// ---- SensorRowStore ----

void SensorRowStore::Clear() {
    lastValid_ = false;
    blocks_.clear();
    prefix_.clear();
    prefixDirty_ = false;
    size_ = 0;
}

size_t SensorRowStore::BlockForKey(std::string_view datum, std::string_view zeit) const {
    // First block whose last row is equal to or after the key; the last block otherwise.
    size_t lo = 0, hi = blocks_.size();
    while (lo < hi) {
        const size_t mid = (lo + hi) / 2;
        if (CompareKey(blocks_[mid].back(), datum, zeit) < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo == blocks_.size() ? blocks_.size() - 1 : lo;
}

bool SensorRowStore::FollowsLastInsert(std::string_view datum, std::string_view zeit, size_t& block,
                                       size_t& at) const {
    if (!lastValid_) return false;
    const auto& last = blocks_[lastBlock_];
    if (CompareKey(last[lastOffset_], datum, zeit) >= 0) return false;
    const SensorRow* next = nullptr;
    if (lastOffset_ + 1 < last.size())
        next = &last[lastOffset_ + 1];
    else if (lastBlock_ + 1 < blocks_.size())
        next = &blocks_[lastBlock_ + 1].front();
    if (next && CompareKey(*next, datum, zeit) <= 0) return false;
    block = lastBlock_;
    at = lastOffset_ + 1;
    return true;
}

bool SensorRowStore::Insert(const SensorRow& row) {
    const std::string_view datum = row.datum.View();
    const std::string_view zeit = row.zeit.View();
    if (blocks_.empty()) {
        blocks_.emplace_back().reserve(kMaxBlock);
        blocks_[0].push_back(row);
        size_ = 1;
        prefixDirty_ = true;
        lastValid_ = true;
        lastBlock_ = lastOffset_ = 0;
        return true;
    }
    size_t b = 0, at = 0;
    if (!FollowsLastInsert(datum, zeit, b, at)) {
        b = BlockForKey(datum, zeit);
        const auto& found = blocks_[b];
        const auto it = std::lower_bound(found.begin(), found.end(), row, [](const SensorRow& a, const SensorRow& k) {
            return CompareKey(a, k.datum.View(), k.zeit.View()) < 0;
        });
        if (it != found.end() && CompareKey(*it, datum, zeit) == 0) return false;
        at = static_cast<size_t>(it - found.begin());
    }
    auto& block = blocks_[b];
    if (block.size() >= kMaxBlock && at == block.size()) {
        // Past the end of a full block: start a new one.
        std::vector<SensorRow> fresh;
        fresh.reserve(kMaxBlock);
        fresh.push_back(row);
        blocks_.insert(blocks_.begin() + static_cast<std::ptrdiff_t>(b) + 1, std::move(fresh));
        lastBlock_ = b + 1;
        lastOffset_ = 0;
    } else if (block.size() >= kMaxBlock) {
        // Split at the insertion point when both parts stay reasonably full, so that
        // a run of increasing keys keeps appending to the end of a block.
        size_t split = at;
        if (split < kMaxBlock / 4 || split > kMaxBlock - kMaxBlock / 4) split = kMaxBlock / 2;
        std::vector<SensorRow> tail;
        tail.reserve(kMaxBlock);
        tail.assign(block.begin() + static_cast<std::ptrdiff_t>(split), block.end());
        block.erase(block.begin() + static_cast<std::ptrdiff_t>(split), block.end());
        blocks_.insert(blocks_.begin() + static_cast<std::ptrdiff_t>(b) + 1, std::move(tail));
        if (at <= split) {
            blocks_[b].insert(blocks_[b].begin() + static_cast<std::ptrdiff_t>(at), row);
            lastBlock_ = b;
            lastOffset_ = at;
        } else {
            blocks_[b + 1].insert(blocks_[b + 1].begin() + static_cast<std::ptrdiff_t>(at - split), row);
            lastBlock_ = b + 1;
            lastOffset_ = at - split;
        }
    } else {
        block.insert(block.begin() + static_cast<std::ptrdiff_t>(at), row);
        lastBlock_ = b;
        lastOffset_ = at;
    }
    lastValid_ = true;
    ++size_;
    prefixDirty_ = true;
    return true;
}

void SensorRowStore::Erase(int pos) {
    size_t b = 0, off = 0;
    Locate(pos, b, off);
    lastValid_ = false;
    blocks_[b].erase(blocks_[b].begin() + static_cast<std::ptrdiff_t>(off));
    if (blocks_[b].empty()) blocks_.erase(blocks_.begin() + static_cast<std::ptrdiff_t>(b));
    --size_;
    prefixDirty_ = true;
}

void SensorRowStore::RebuildPrefix() const {
    prefix_.resize(blocks_.size());
    int count = 0;
    for (size_t i = 0; i < blocks_.size(); ++i) {
        prefix_[i] = count;
        count += static_cast<int>(blocks_[i].size());
    }
    prefixDirty_ = false;
}

void SensorRowStore::Locate(int pos, size_t& block, size_t& offset) const {
    assert(pos >= 0 && pos < size_);
    if (prefixDirty_) RebuildPrefix();
    const auto it = std::upper_bound(prefix_.begin(), prefix_.end(), pos);
    block = static_cast<size_t>(it - prefix_.begin()) - 1;
    offset = static_cast<size_t>(pos - prefix_[block]);
}

const SensorRow& SensorRowStore::At(int pos) const {
    size_t b = 0, off = 0;
    Locate(pos, b, off);
    return blocks_[b][off];
}

SensorRow& SensorRowStore::At(int pos) {
    size_t b = 0, off = 0;
    Locate(pos, b, off);
    return blocks_[b][off];
}

int SensorRowStore::LowerBound(std::string_view datum, std::string_view zeit) const {
    if (blocks_.empty()) return 0;
    if (prefixDirty_) RebuildPrefix();
    const size_t b = BlockForKey(datum, zeit);
    const auto& block = blocks_[b];
    const auto it = std::lower_bound(block.begin(), block.end(), 0, [&](const SensorRow& a, int) {
        return CompareKey(a, datum, zeit) < 0;
    });
    return prefix_[b] + static_cast<int>(it - block.begin());
}

int SensorRowStore::LowerBoundFrom(std::string_view datum, std::string_view zeit, int hint) const {
    return WalkFrom(datum, zeit, hint).Pos();
}

SensorRowStore::Walker SensorRowStore::WalkFrom(std::string_view datum, std::string_view zeit, int hint) const {
    if (hint >= 0 && hint < size_) {
        size_t b = 0, off = 0;
        Locate(hint, b, off);
        if (CompareKey(blocks_[b][off], datum, zeit) >= 0) {
            const SensorRow* previous = off > 0 ? &blocks_[b][off - 1] : (b > 0 ? &blocks_[b - 1].back() : nullptr);
            if (!previous || CompareKey(*previous, datum, zeit) < 0) return Walker(*this, hint, b, off);
        }
    } else if (hint == size_ && (size_ == 0 || CompareKey(blocks_.back().back(), datum, zeit) < 0)) {
        return Walker(*this, hint);
    }
    return Walker(*this, LowerBound(datum, zeit));
}

int SensorRowStore::UpperBoundDatum(std::string_view datum) const {
    if (blocks_.empty()) return 0;
    if (prefixDirty_) RebuildPrefix();
    size_t lo = 0, hi = blocks_.size();
    while (lo < hi) {
        const size_t mid = (lo + hi) / 2;
        if (Compare(blocks_[mid].back().datum, datum) <= 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    if (lo == blocks_.size()) return size_;
    const auto& block = blocks_[lo];
    const auto it = std::upper_bound(block.begin(), block.end(), 0, [&](int, const SensorRow& a) {
        return Compare(a.datum, datum) > 0;
    });
    return prefix_[lo] + static_cast<int>(it - block.begin());
}

int SensorRowStore::Find(std::string_view datum, std::string_view zeit) const {
    const int pos = LowerBound(datum, zeit);
    if (pos < size_ && CompareKey(At(pos), datum, zeit) == 0) return pos;
    return -1;
}

SensorRowStore::Walker::Walker(const SensorRowStore& store, int pos) : store_(&store), pos_(pos) {
    if (pos_ < store.size_) store.Locate(pos_, block_, offset_);
}

void SensorRowStore::Walker::Next() {
    ++pos_;
    if (pos_ >= store_->size_) return;
    if (++offset_ >= store_->blocks_[block_].size()) {
        ++block_;
        offset_ = 0;
    }
}

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
    if (!store_.Insert(row))
        throw DatasetError("Key violation: a reading with empty Datum and Zeit exists already");
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

void SensorTab::Append(int id, std::string_view datum, std::string_view zeit, double bgWert) {
    SensorRow row;
    row.id = id;
    row.datum.Assign(datum);
    row.zeit.Assign(zeit);
    row.bgWert = bgWert;
    if (!store_.Insert(row))
        throw DatasetError("Key violation: a reading with Datum '" + row.datum.Str() + "' and Zeit '" +
                           row.zeit.Str() + "' exists already");
    // Listeners reset on an insert, so the row's position is not looked up: finding it
    // after every append made an import through an open table window quadratic.
    if (HasListeners() && (!filtered_ || row.datum.View() == filterDay_))
        Notify(DatasetChange::Kind::RowsInserted);
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
