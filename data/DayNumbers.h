#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "data/SensorRow.h"

namespace zelk {

// Numbers for Datum texts, stored with the letters A to Z in lower case, given in the
// order the texts first come, and a key for each text that is found without a search:
// a text shaped like "01-Jan-09" is its own key, made of its day, month and year; any
// other text is keyed by its number, found through a hash table.
class DayNumbers {
public:
    using Text = ShortText<kTextFieldSize>;

    // The key of a Datum as the file gives it; `added` tells whether the text is new.
    std::uint32_t KeyOf(std::string_view datum, bool& added);
    // Texts by number, zero-padded past their ends.
    size_t Size() const { return texts_.size(); }
    const Text& operator[](std::uint32_t number) const { return texts_[number]; }
    // A table from keys to `value(number)`, read through Lookup.
    template <typename Value>
    class KeyTable;
    template <typename Value, typename ValueOf>
    KeyTable<Value> Table(const ValueOf& value) const;
    void Clear();

private:
    static constexpr std::uint32_t kShaped = 0x80000000u;  // marks a key made of the text
    static constexpr unsigned kMonthTokens = 16;
    static constexpr size_t kShapedKeys = 100 * kMonthTokens * 32;
    static constexpr size_t kKeptTexts = 4096;  // texts up to which tables are kept for the next file

    // The key of a text of the "dd-mon-yy" shape, or 0 when it has none.
    std::uint32_t ShapedKey(std::string_view datum);
    std::uint32_t HashedNumberOf(const Text& day, bool& added);
    void GrowHashTable();

    std::vector<Text> texts_;
    std::vector<std::uint32_t> keys_;  // by number
    // Open addressing: number + 1 of the text in each slot, 0 for a free slot.
    std::vector<std::uint32_t> slots_;
    // Month token + 1 by its three letters, and one bit a shaped key that has come.
    std::unique_ptr<std::uint8_t[]> monthTokens_;
    std::unique_ptr<std::uint64_t[]> shapedSeen_;
    std::vector<unsigned> tokenTriples_;  // the letters of each token given
    unsigned tokens_ = 0;
};

template <typename Value>
class DayNumbers::KeyTable {
public:
    Value Lookup(std::uint32_t key) const { return (key & kShaped) ? shaped_[key & ~kShaped] : byNumber_[key]; }

private:
    friend class DayNumbers;
    std::vector<Value> byNumber_;
    std::vector<Value> shaped_;
};

template <typename Value, typename ValueOf>
DayNumbers::KeyTable<Value> DayNumbers::Table(const ValueOf& value) const {
    KeyTable<Value> table;
    table.byNumber_.resize(texts_.size());
    if (monthTokens_) table.shaped_.resize(kShapedKeys);
    for (std::uint32_t n = 0; n < texts_.size(); ++n) {
        const std::uint32_t key = keys_[n];
        ((key & kShaped) ? table.shaped_[key & ~kShaped] : table.byNumber_[key]) = value(n);
    }
    return table;
}

}  // namespace zelk
