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

// Hands the rows of `order` over in blocks.
template <typename RowAt>
void HandOver(const std::vector<unsigned>& order, const RowAt& rowAt,
              const std::function<void(std::vector<SensorRow>&&)>& take, size_t blockSize) {
    for (size_t first = 0; first < order.size(); first += blockSize) {
        const size_t count = std::min(blockSize, order.size() - first);
        std::vector<SensorRow> block;
        block.reserve(count);
        for (size_t i = first; i < first + count; ++i) block.push_back(rowAt(order[i]));
        take(std::move(block));
    }
}

}  // namespace

bool BulkRows::Add(int id, std::string_view datum, std::string_view zeit, double bgWert) {
    if (size_ % kChunk == 0) chunks_.push_back(std::make_unique<SensorRow[]>(kChunk));
    SensorRow& row = chunks_.back()[size_ % kChunk];
    row.id = id;
    row.datum.AssignLowerAscii(datum);
    row.zeit.Assign(zeit);
    row.bgWert = bgWert;
    // The same text as the row before has the same number; compared as given, so that
    // the row just written is not read back.
    bool before = true;
    if (size_ == 0 || datum != lastDatum_) {
        const size_t known = dayTexts_.size();
        lastNumber_ = DayNumber(row.datum);
        before = dayTexts_.size() == known;
        lastDatum_.assign(datum);
    }
    keys_.push_back({ZeitPrefix(zeit), lastNumber_, static_cast<std::uint32_t>(size_)});
    ++size_;
    return before;
}

std::uint32_t BulkRows::DayNumber(const ShortText<kTextFieldSize>& day) {
    if (daySlots_.size() < 2 * (dayTexts_.size() + 1)) GrowDayTable();
    const size_t mask = daySlots_.size() - 1;
    for (size_t slot = TextHash(day.View()) & mask;; slot = (slot + 1) & mask) {
        const std::uint32_t entry = daySlots_[slot];
        if (entry == 0) {
            dayTexts_.push_back(day);
            daySlots_[slot] = static_cast<std::uint32_t>(dayTexts_.size());
            return static_cast<std::uint32_t>(dayTexts_.size() - 1);
        }
        // Fields of fresh rows and their copies hold zeros past their texts.
        if (std::memcmp(&dayTexts_[entry - 1], &day, sizeof day) == 0) return entry - 1;
    }
}

void BulkRows::GrowDayTable() {
    std::vector<std::uint32_t> slots(std::max<size_t>(64, daySlots_.size() * 2), 0);
    const size_t mask = slots.size() - 1;
    for (std::uint32_t n = 0; n < dayTexts_.size(); ++n) {
        size_t slot = TextHash(dayTexts_[n].View()) & mask;
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
    lastDatum_.clear();
    lastNumber_ = 0;
}

std::vector<std::uint32_t> BulkRows::DayRanks() const {
    std::vector<std::uint32_t> byText(dayTexts_.size());
    std::iota(byText.begin(), byText.end(), 0u);
    std::sort(byText.begin(), byText.end(),
              [this](std::uint32_t a, std::uint32_t b) { return dayTexts_[a].View() < dayTexts_[b].View(); });
    std::vector<std::uint32_t> rank(dayTexts_.size());
    for (std::uint32_t r = 0; r < byText.size(); ++r) rank[byText[r]] = r;
    return rank;
}

bool BulkRows::DaysComeTogether() const {
    size_t changes = 0;
    for (size_t i = 1; i < keys_.size(); ++i) changes += keys_[i].day != keys_[i - 1].day;
    return changes + 1 == dayTexts_.size();
}

template <typename RowAt>
bool BulkRows::OrderSlice(SortKey* begin, SortKey* end, std::uint32_t firstRank, std::uint32_t span,
                          const RowAt& rowAt, std::vector<unsigned>& order) {
    // By rank, keeping the order in which the keys came.
    std::vector<size_t> start(span + 1, 0);
    for (const SortKey* k = begin; k < end; ++k) ++start[k->day - firstRank + 1];
    std::partial_sum(start.begin(), start.end(), start.begin());
    std::vector<SortKey> sorted(static_cast<size_t>(end - begin));
    std::vector<size_t> next(start.begin(), start.end() - 1);
    for (const SortKey* k = begin; k < end; ++k) sorted[next[k->day - firstRank]++] = *k;

    const auto compareZeit = [&rowAt](const SortKey& a, const SortKey& b) {
        if (a.zeit != b.zeit) return a.zeit < b.zeit ? -1 : 1;
        return Compare(rowAt(a.index).zeit, rowAt(b.index).zeit);
    };
    for (size_t d = 0; d < span; ++d) {
        SortKey* const dayBegin = sorted.data() + start[d];
        SortKey* const dayEnd = sorted.data() + start[d + 1];
        // A day listed in time order needs no sorting.
        bool rising = true;
        for (SortKey* k = dayBegin + 1; k < dayEnd && rising; ++k) rising = k[-1].zeit < k->zeit;
        if (rising) continue;
        // By the Zeit prefix first; only runs of equal prefixes need the whole texts.
        std::sort(dayBegin, dayEnd, [](const SortKey& a, const SortKey& b) { return a.zeit < b.zeit; });
        for (SortKey* run = dayBegin; run < dayEnd;) {
            SortKey* runEnd = run + 1;
            while (runEnd < dayEnd && runEnd->zeit == run->zeit) ++runEnd;
            if (runEnd - run > 1) {
                std::sort(run, runEnd, [&](const SortKey& a, const SortKey& b) { return compareZeit(a, b) < 0; });
                for (SortKey* k = run + 1; k < runEnd; ++k)
                    if (compareZeit(k[-1], *k) == 0) return false;
            }
            run = runEnd;
        }
    }
    for (const SortKey& key : sorted) order.push_back(key.index);
    return true;
}

bool BulkRows::TakeInOrder(const std::function<void(std::vector<SensorRow>&&)>& take, size_t blockSize) {
    if (size_ == 0) {
        Clear();
        return true;
    }
    const std::vector<std::uint32_t> rank = DayRanks();
    const auto days = static_cast<std::uint32_t>(dayTexts_.size());
    std::vector<unsigned> order;
    order.reserve(size_);
    bool unique = true;
    if (DaysComeTogether()) {
        // Each day's rows lie together: they are read in place.
        for (SortKey& key : keys_) key.day = rank[key.day];
        const auto rowAt = [this](unsigned i) -> const SensorRow& { return (*this)[i]; };
        unique = OrderSlice(keys_.data(), keys_.data() + keys_.size(), 0, days, rowAt, order);
        if (unique) HandOver(order, rowAt, take, blockSize);
    } else {
        // Rows in any order: first moved, with their keys, into at most 256 groups of
        // neighbouring days, each small enough to be ordered within the cache.
        int shift = 0;
        while (((days - 1) >> shift) >= 256) ++shift;
        const size_t groups = ((days - 1) >> shift) + 1;
        std::vector<size_t> start(groups + 1, 0);
        for (const SortKey& key : keys_) ++start[(rank[key.day] >> shift) + 1];
        std::partial_sum(start.begin(), start.end(), start.begin());
        std::vector<size_t> next(start.begin(), start.end() - 1);
        std::unique_ptr<SensorRow[]> rows(new SensorRow[size_]);
        std::vector<SortKey> keys(size_);
        for (const SortKey& key : keys_) {
            const std::uint32_t r = rank[key.day];
            const size_t at = next[r >> shift]++;
            rows[at] = (*this)[key.index];
            keys[at] = {key.zeit, r, static_cast<std::uint32_t>(at)};
        }
        Clear();
        const auto rowAt = [&rows](unsigned i) -> const SensorRow& { return rows[i]; };
        for (size_t g = 0; g < groups && unique; ++g)
            unique = OrderSlice(keys.data() + start[g], keys.data() + start[g + 1],
                                static_cast<std::uint32_t>(g << shift), 1u << shift, rowAt, order);
        if (unique) HandOver(order, rowAt, take, blockSize);
    }
    Clear();
    return unique;
}

}  // namespace zelk
