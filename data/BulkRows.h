#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "data/SensorRow.h"

namespace zelk {

// Rows as a file brings them, for loading an empty store at once: kept in chunks
// that never move, each with a compact sort key (its Datum's number and the start of
// its Zeit), so that putting them in key order touches the rows themselves only
// where two keys start alike.
class BulkRows {
public:
    // Takes Datum with the letters A to Z in lower case.
    void Add(int id, std::string_view datum, std::string_view zeit, double bgWert);
    size_t Size() const { return size_; }
    const SensorRow& operator[](size_t i) const { return chunks_[i / kChunk][i % kChunk]; }
    void Clear();

    // The rows' indexes in key order (Datum, then Zeit); false when two keys are equal.
    bool Order(std::vector<unsigned>& order) const;

private:
    static constexpr size_t kChunk = 4096;
    struct SortKey {
        std::uint64_t zeit;  // the first eight bytes of Zeit, zero-padded, big-endian
        std::uint32_t day;   // number of the Datum text, in the order texts come
        std::uint32_t index;
    };
    // Orders one day's keys by Zeit; false when two are equal.
    bool OrderDay(SortKey* begin, SortKey* end) const;
    int CompareZeit(const SortKey& a, const SortKey& b) const;

    // The number of a Datum text, given to it when it first comes.
    std::uint32_t DayNumber(std::string_view day);
    void GrowDayTable();

    std::vector<std::unique_ptr<SensorRow[]>> chunks_;
    size_t size_ = 0;
    std::vector<SortKey> keys_;
    std::vector<std::string_view> dayTexts_;  // views into the rows
    // Open addressing: number + 1 of the text in each slot, 0 for a free slot.
    std::vector<std::uint32_t> daySlots_;
    const ShortText<kTextFieldSize>* lastDatum_ = nullptr;  // of the row added last
    std::uint32_t lastNumber_ = 0;
};

}  // namespace zelk
