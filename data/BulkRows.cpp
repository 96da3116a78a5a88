#include "data/BulkRows.h"

#include <algorithm>
#include <cstring>
#include <numeric>

#include "data/PrefixDigits.h"

namespace zelk {
namespace {

constexpr size_t kPrefixSize = 8;

// Orders as the texts do, or ties where the first eight bytes do not decide.
std::uint64_t ZeitPrefix(std::string_view zeit) {
    std::uint64_t prefix = 0;
    if (zeit.size() >= kPrefixSize) {
        std::memcpy(&prefix, zeit.data(), kPrefixSize);
        return __builtin_bswap64(prefix);
    }
    for (size_t i = 0; i < zeit.size(); ++i)
        prefix |= std::uint64_t{static_cast<unsigned char>(zeit[i])} << (56 - 8 * i);
    return prefix;
}

}  // namespace

// Builds the store's blocks from records in key order.
class BulkRows::Emitter {
public:
    Emitter(const BulkRows& rows, const std::function<void(std::vector<SensorRow>&&)>& take, size_t blockSize,
            std::vector<std::vector<SensorRow>>& spare)
        : rows_(rows), take_(take), blockSize_(blockSize), spare_(spare) {}

    // The rows of one Datum, in order.
    void Day(const Record* begin, const Record* end, const Text& datum) {
        for (const Record* r = begin; r < end; ++r) {
            if (block_.empty()) NewBlock();
            SensorRow& row = block_.emplace_back();
            row.bgWert = r->bgWert;
            row.id = r->id;
            row.datum = datum;
            if (r->zeitSize <= kPrefixSize) {
                const std::uint64_t bytes = __builtin_bswap64(r->zeit);
                row.zeit.Assign({reinterpret_cast<const char*>(&bytes), r->zeitSize});
            } else {
                row.zeit = rows_.longZeits_[r->longZeit];
            }
            if (block_.size() == blockSize_) Flush();
        }
    }
    void Flush() {
        if (block_.empty()) return;
        take_(std::move(block_));
        block_ = {};
    }

private:
    void NewBlock() {
        if (!spare_.empty()) {
            block_ = std::move(spare_.back());
            spare_.pop_back();
            block_.clear();
        }
        block_.reserve(blockSize_);
    }

    const BulkRows& rows_;
    const std::function<void(std::vector<SensorRow>&&)>& take_;
    const size_t blockSize_;
    std::vector<std::vector<SensorRow>>& spare_;
    std::vector<SensorRow> block_;
};

bool BulkRows::Add(int id, std::string_view datum, std::string_view zeit, double bgWert) {
    // The same text as the row before has the same key; compared as given.
    bool before = true;
    if (records_.Size() == 0 || datum.size() != lastDatum_.size() ||
        CompareBytes(datum.data(), lastDatum_.data(), datum.size()) != 0) {
        bool added = false;
        const std::uint32_t key = days_.KeyOf(datum, added);
        if (added) dayStarts_.push_back(records_.Size());
        // A Datum that comes back after another one: the days are not together.
        if (!added && key != lastKey_) scattered_ = true;
        before = !added;
        lastKey_ = key;
        lastDatum_.assign(datum);
    }
    Record& record = records_.Push();
    record.zeit = ZeitPrefix(zeit);
    if (records_.Size() == 1) firstZeit_ = record.zeit;
    varyingZeit_ |= record.zeit ^ firstZeit_;
    record.bgWert = bgWert;
    record.day = lastKey_;
    record.id = id;
    record.zeitSize = static_cast<std::uint8_t>(std::min(zeit.size(), static_cast<size_t>(kTextFieldSize)));
    record.longZeit = 0;
    if (record.zeitSize > kPrefixSize) {
        record.longZeit = static_cast<std::uint32_t>(longZeits_.size());
        longZeits_.emplace_back(zeit);
    }
    return before;
}

void BulkRows::Clear() {
    // What a file of a few weeks needs is kept for the next one, so that loading one
    // file after another does not give memory back and take it again each time.
    constexpr size_t kKeptBytes = 1 << 20;
    records_.Clear(kKeptBytes);
    if (longZeits_.capacity() * sizeof(Text) > kKeptBytes) std::vector<Text>().swap(longZeits_);
    longZeits_.clear();
    days_.Clear();
    if (dayStarts_.capacity() * sizeof(size_t) > kKeptBytes) std::vector<size_t>().swap(dayStarts_);
    dayStarts_.clear();
    lastDatum_.clear();
    lastKey_ = 0;
    scattered_ = false;
    firstZeit_ = varyingZeit_ = 0;
}

int BulkRows::CompareZeit(const Record& a, const Record& b) const {
    if (a.zeit != b.zeit) return a.zeit < b.zeit ? -1 : 1;
    // Past equal first bytes a text of at most eight bytes is a start of the other one.
    if (a.zeitSize <= kPrefixSize || b.zeitSize <= kPrefixSize)
        return (a.zeitSize > b.zeitSize) - (a.zeitSize < b.zeitSize);
    return Compare(longZeits_[a.longZeit], longZeits_[b.longZeit]);
}

bool BulkRows::OrderDay(Record* begin, Record* end) const {
    // A day listed in time order needs no sorting.
    bool rising = true;
    for (const Record* r = begin + 1; r < end && rising; ++r) rising = r[-1].zeit < r->zeit;
    if (rising) return true;
    std::sort(begin, end, [](const Record& a, const Record& b) { return a.zeit < b.zeit; });
    return OrderTies(begin, end);
}

std::vector<std::uint32_t> BulkRows::DaysByText() const {
    std::vector<std::uint32_t> byText(days_.Size());
    std::iota(byText.begin(), byText.end(), 0u);
    std::sort(byText.begin(), byText.end(),
              [this](std::uint32_t a, std::uint32_t b) { return days_[a].View() < days_[b].View(); });
    return byText;
}

bool BulkRows::TakeTogether(const std::vector<std::uint32_t>& byText, Emitter& emitter) {
    // Each day's rows lie together from its first one on: they are ordered in place.
    Record* const records = records_.Data();
    for (const std::uint32_t day : byText) {
        Record* const begin = records + dayStarts_[day];
        Record* const end = records + (day + 1 < dayStarts_.size() ? dayStarts_[day + 1] : records_.Size());
        if (!OrderDay(begin, end)) return false;
        emitter.Day(begin, end, days_[day]);
    }
    return true;
}

namespace {

// A stable counting pass of `count` records from `from` to `to` by `digit`, below `values`;
// `starts` receives where each value begins.
template <typename Record, typename DigitOf>
void CountingPass(const Record* from, Record* to, size_t count, size_t values, const DigitOf& digit,
                  std::vector<size_t>& starts) {
    starts.assign(values + 1, 0);
    for (size_t i = 0; i < count; ++i) ++starts[digit(from[i]) + 1];
    std::partial_sum(starts.begin(), starts.end(), starts.begin());
    std::vector<size_t> next(starts.begin(), starts.end() - 1);
    for (size_t i = 0; i < count; ++i) to[next[digit(from[i])]++] = from[i];
}

}  // namespace

bool BulkRows::OrderTies(Record* begin, Record* end) const {
    for (Record* run = begin; run < end;) {
        Record* runEnd = run + 1;
        while (runEnd < end && runEnd->zeit == run->zeit) ++runEnd;
        if (runEnd - run > 1) {
            std::sort(run, runEnd, [this](const Record& a, const Record& b) { return CompareZeit(a, b) < 0; });
            for (const Record* r = run + 1; r < runEnd; ++r)
                if (CompareZeit(r[-1], *r) == 0) return false;
        }
        run = runEnd;
    }
    return true;
}

bool BulkRows::TakeScattered(const std::vector<std::uint32_t>& byText, Emitter& emitter) {
    // Rows in any order: first moved into at most 256 groups of neighbouring days, each
    // small enough to be put in order within the cache.
    const auto days = static_cast<std::uint32_t>(byText.size());
    std::vector<std::uint32_t> rankOfNumber(days);
    for (std::uint32_t r = 0; r < days; ++r) rankOfNumber[byText[r]] = r;
    const auto rank = days_.Table<std::uint32_t>([&rankOfNumber](std::uint32_t n) { return rankOfNumber[n]; });
    int shift = 0;
    while (((days - 1) >> shift) >= 256) ++shift;
    const size_t groups = ((days - 1) >> shift) + 1;
    // Each record takes its day's rank; then the records change places until each
    // group's lie together. Done in place: fresh memory as large as the records would
    // cost more in page faults than the moves themselves.
    Record* const records = records_.Data();
    const size_t size = records_.Size();
    PrefixDigits digits(varyingZeit_);
    std::vector<size_t> start(groups + 1, 0);
    for (size_t i = 0; i < size; ++i) {
        Record& record = records[i];
        record.day = rank.Lookup(record.day);
        digits.Note(record.zeit);
        ++start[(record.day >> shift) + 1];
    }
    digits.Finish();
    std::partial_sum(start.begin(), start.end(), start.begin());
    {
        constexpr size_t kAhead = 8;
        std::vector<size_t> next(start.begin(), start.end() - 1);
        for (size_t g = 0; g < groups; ++g) {
            while (next[g] < start[g + 1]) {
                Record record = records[next[g]];
                // Each record put in its place hands on the one it displaces.
                for (size_t home = record.day >> shift; home != g; home = record.day >> shift) {
                    std::swap(record, records[next[home]++]);
                    // Each group is filled from its front on: its next lines are asked
                    // for early, so that the chain of swaps does not wait on each one.
                    __builtin_prefetch(records + std::min(next[home] + kAhead, size - 1), 1);
                }
                records[next[g]++] = record;
            }
        }
    }

    // Each group by Zeit prefix, digit by digit, then by day; equal prefixes by the
    // whole texts.
    size_t largest = 0;
    for (size_t g = 0; g < groups; ++g) largest = std::max(largest, start[g + 1] - start[g]);
    TrivialArray<Record> spare;
    spare.Resize(largest);
    std::vector<size_t> starts;
    std::vector<size_t> dayStart;
    for (size_t g = 0; g < groups; ++g) {
        Record* from = records + start[g];
        Record* to = spare.Data();
        const size_t count = start[g + 1] - start[g];
        for (size_t d = 0; d < digits.Digits(); ++d) {
            const auto digitOf = [&digits, d](const Record& r) { return digits.Of(d, r.zeit); };
            CountingPass(from, to, count, digits.Values(d), digitOf, starts);
            std::swap(from, to);
        }
        const auto firstRank = static_cast<std::uint32_t>(g << shift);
        const size_t span = std::min<size_t>(size_t{1} << shift, days - firstRank);
        const auto dayOf = [firstRank](const Record& r) { return r.day - firstRank; };
        CountingPass(from, to, count, span, dayOf, dayStart);
        for (size_t d = 0; d < span; ++d) {
            Record* const dayBegin = to + dayStart[d];
            Record* const dayEnd = to + dayStart[d + 1];
            if (!OrderTies(dayBegin, dayEnd)) return false;
            emitter.Day(dayBegin, dayEnd, days_[byText[firstRank + d]]);
        }
    }
    return true;
}

bool BulkRows::TakeInOrder(const std::function<void(std::vector<SensorRow>&&)>& take, size_t blockSize,
                           std::vector<std::vector<SensorRow>>& spare) {
    if (records_.Size() == 0) {
        Clear();
        return true;
    }
    const std::vector<std::uint32_t> byText = DaysByText();
    Emitter emitter(*this, take, blockSize, spare);
    const bool unique = scattered_ ? TakeScattered(byText, emitter) : TakeTogether(byText, emitter);
    if (unique) emitter.Flush();
    Clear();
    return unique;
}

}  // namespace zelk
