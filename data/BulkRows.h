#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
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
    // Takes Datum with the letters A to Z in lower case; true when a row with the same
    // Datum (as stored) came before.
    bool Add(int id, std::string_view datum, std::string_view zeit, double bgWert);
    size_t Size() const { return size_; }
    const SensorRow& operator[](size_t i) const { return chunks_[i / kChunk][i % kChunk]; }
    void Clear();

    // Hands the rows to `take` in key order (Datum, then Zeit), in blocks of
    // `blockSize` rows (the last one may be shorter), and empties the rows; false,
    // handing over none, when two keys are equal.
    bool TakeInOrder(const std::function<void(std::vector<SensorRow>&&)>& take, size_t blockSize);

private:
    static constexpr size_t kChunk = 512;
    struct SortKey {
        std::uint64_t zeit;  // the first eight bytes of Zeit, zero-padded, big-endian
        std::uint32_t day;   // number of the Datum text, in the order texts come
        std::uint32_t index;
    };
    // Each Datum's place among the texts in key order.
    std::vector<std::uint32_t> DayRanks() const;
    // True when the rows of each Datum came one after another, as in a file in time order.
    bool DaysComeTogether() const;
    // Puts keys whose `day` holds a rank from `firstRank` on (fewer than `span` of them)
    // in order by rank, then each day's by Zeit, and appends their indexes to `order`;
    // `rowAt` gives the row of an index. False when two keys are equal.
    template <typename RowAt>
    static bool OrderSlice(SortKey* begin, SortKey* end, std::uint32_t firstRank, std::uint32_t span,
                           const RowAt& rowAt, std::vector<unsigned>& order);

    // The number of a Datum text, given to it when it first comes.
    std::uint32_t DayNumber(const ShortText<kTextFieldSize>& day);
    void GrowDayTable();

    std::vector<std::unique_ptr<SensorRow[]>> chunks_;
    size_t size_ = 0;
    std::vector<SortKey> keys_;
    // Copies of the Datum fields, zero-padded, so that a lookup compares whole fields
    // without reaching into the rows.
    std::vector<ShortText<kTextFieldSize>> dayTexts_;
    // Open addressing: number + 1 of the text in each slot, 0 for a free slot.
    std::vector<std::uint32_t> daySlots_;
    std::string lastDatum_;  // as the row added last gave it
    std::uint32_t lastNumber_ = 0;
};

}  // namespace zelk
