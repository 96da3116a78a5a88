#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "data/DayNumbers.h"
#include "data/SensorRow.h"
#include "data/TrivialArray.h"

namespace zelk {

// Rows as a file brings them, for loading an empty store at once. Each row is kept in
// 32 bytes that hold its sort key (its Datum's key and the start of its Zeit), so
// that putting the rows in key order moves little and compares whole texts only where
// two keys start alike.
class BulkRows {
public:
    // Datum is stored with the letters A to Z in lower case; true when a row with the
    // same Datum (as stored) came before.
    bool Add(int id, std::string_view datum, std::string_view zeit, double bgWert);
    size_t Size() const { return records_.Size(); }
    void Clear();

    // Hands the rows to `take` in key order (Datum, then Zeit), in blocks of
    // `blockSize` rows (the last one may be shorter), and empties the rows. Blocks are
    // made from the empty ones in `spare` first. False when two keys are equal: the
    // blocks handed over until then are to be dropped.
    bool TakeInOrder(const std::function<void(std::vector<SensorRow>&&)>& take, size_t blockSize,
                     std::vector<std::vector<SensorRow>>& spare);

private:
    using Text = ShortText<kTextFieldSize>;
    struct Record {
        std::uint64_t zeit;  // the first eight bytes of Zeit, zero-padded, big-endian
        double bgWert;
        std::uint32_t day;  // key of the Datum text; its rank while ordering
        std::int32_t id;
        std::uint32_t longZeit;  // place in longZeits_ of a Zeit with more than eight bytes
        std::uint8_t zeitSize;
    };
    static_assert(sizeof(Record) == 32);
    class Emitter;

    // Zeit order within one Datum.
    int CompareZeit(const Record& a, const Record& b) const;
    // Puts the rows of one Datum in Zeit order; false when two are equal.
    bool OrderDay(Record* begin, Record* end) const;
    // Puts runs of rows with equal Zeit prefixes within one Datum in order; false when
    // two are equal.
    bool OrderTies(Record* begin, Record* end) const;
    // Day numbers in the order of their texts.
    std::vector<std::uint32_t> DaysByText() const;
    bool TakeTogether(const std::vector<std::uint32_t>& byText, Emitter& emitter);
    bool TakeScattered(const std::vector<std::uint32_t>& byText, Emitter& emitter);

    TrivialArray<Record> records_;
    std::vector<Text> longZeits_;
    DayNumbers days_;
    std::vector<size_t> dayStarts_;  // the place of each Datum's first row
    std::string lastDatum_;          // as the row added last gave it
    std::uint32_t lastKey_ = 0;
    bool scattered_ = false;  // a Datum came back after another one
    // Bits in which Zeit prefixes differ from the first one.
    std::uint64_t firstZeit_ = 0;
    std::uint64_t varyingZeit_ = 0;
};

}  // namespace zelk
