#include "data/BulkRows.h"

#include <algorithm>
#include <cstring>
#include <numeric>

namespace zelk {
namespace {

// Orders as the texts do, or ties where the first eight bytes do not decide.
std::uint64_t ZeitPrefix(std::string_view zeit) {
    unsigned char bytes[8] = {};
    std::memcpy(bytes, zeit.data(), std::min<size_t>(zeit.size(), 8));
    std::uint64_t prefix = 0;
    for (const unsigned char byte : bytes) prefix = prefix << 8 | byte;
    return prefix;
}

// FNV-1a over the bytes of a short text.
size_t TextHash(std::string_view text) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : text) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    return static_cast<size_t>(hash ^ (hash >> 29));
}

}  // namespace

void BulkRows::Add(int id, std::string_view datum, std::string_view zeit, double bgWert) {
    if (size_ % kChunk == 0) chunks_.push_back(std::make_unique<SensorRow[]>(kChunk));
    SensorRow& row = chunks_.back()[size_ % kChunk];
    row.id = id;
    row.datum.AssignLowerAscii(datum);
    row.zeit.Assign(zeit);
    row.bgWert = bgWert;
    // Rows of a fresh chunk hold zeros past their texts, so whole fields compare.
    if (!lastDatum_ || std::memcmp(lastDatum_, &row.datum, sizeof row.datum) != 0) {
        lastNumber_ = DayNumber(row.datum.View());
        lastDatum_ = &row.datum;
    }
    keys_.push_back({ZeitPrefix(row.zeit.View()), lastNumber_, static_cast<std::uint32_t>(size_)});
    ++size_;
}

std::uint32_t BulkRows::DayNumber(std::string_view day) {
    if (daySlots_.size() < 2 * (dayTexts_.size() + 1)) GrowDayTable();
    const size_t mask = daySlots_.size() - 1;
    for (size_t slot = TextHash(day) & mask;; slot = (slot + 1) & mask) {
        const std::uint32_t entry = daySlots_[slot];
        if (entry == 0) {
            dayTexts_.push_back(day);
            daySlots_[slot] = static_cast<std::uint32_t>(dayTexts_.size());
            return static_cast<std::uint32_t>(dayTexts_.size() - 1);
        }
        if (dayTexts_[entry - 1] == day) return entry - 1;
    }
}

void BulkRows::GrowDayTable() {
    std::vector<std::uint32_t> slots(std::max<size_t>(64, daySlots_.size() * 2), 0);
    const size_t mask = slots.size() - 1;
    for (std::uint32_t n = 0; n < dayTexts_.size(); ++n) {
        size_t slot = TextHash(dayTexts_[n]) & mask;
        while (slots[slot] != 0) slot = (slot + 1) & mask;
        slots[slot] = n + 1;
    }
    daySlots_.swap(slots);
}

void BulkRows::Clear() {
    chunks_.clear();
    chunks_.shrink_to_fit();
    size_ = 0;
    std::vector<SortKey>().swap(keys_);
    std::vector<std::uint32_t>().swap(daySlots_);
    dayTexts_.clear();
    lastDatum_ = nullptr;
    lastNumber_ = 0;
}

int BulkRows::CompareZeit(const SortKey& a, const SortKey& b) const {
    if (a.zeit != b.zeit) return a.zeit < b.zeit ? -1 : 1;
    return Compare((*this)[a.index].zeit, (*this)[b.index].zeit);
}

bool BulkRows::OrderDay(SortKey* begin, SortKey* end) const {
    // A day listed in time order needs no sorting.
    bool rising = true;
    for (SortKey* k = begin + 1; k < end && rising; ++k) rising = k[-1].zeit < k->zeit;
    if (rising) return true;
    std::sort(begin, end, [this](const SortKey& a, const SortKey& b) { return CompareZeit(a, b) < 0; });
    for (SortKey* k = begin + 1; k < end; ++k)
        if (k[-1].zeit == k->zeit && CompareZeit(k[-1], *k) == 0) return false;
    return true;
}

bool BulkRows::Order(std::vector<unsigned>& order) const {
    // The days in key order, then each row placed after the rows of earlier days.
    std::vector<std::uint32_t> byText(dayTexts_.size());
    std::iota(byText.begin(), byText.end(), 0u);
    std::sort(byText.begin(), byText.end(),
              [this](std::uint32_t a, std::uint32_t b) { return dayTexts_[a] < dayTexts_[b]; });
    std::vector<std::uint32_t> rank(dayTexts_.size());
    for (std::uint32_t r = 0; r < byText.size(); ++r) rank[byText[r]] = r;

    std::vector<size_t> start(dayTexts_.size() + 1, 0);
    for (const SortKey& key : keys_) ++start[rank[key.day] + 1];
    std::partial_sum(start.begin(), start.end(), start.begin());
    std::vector<SortKey> sorted(keys_.size());
    std::vector<size_t> next(start.begin(), start.end() - 1);
    for (const SortKey& key : keys_) sorted[next[rank[key.day]]++] = key;

    for (size_t d = 0; d + 1 < start.size(); ++d)
        if (!OrderDay(sorted.data() + start[d], sorted.data() + start[d + 1])) return false;
    order.resize(sorted.size());
    for (size_t i = 0; i < sorted.size(); ++i) order[i] = sorted[i].index;
    return true;
}

}  // namespace zelk
