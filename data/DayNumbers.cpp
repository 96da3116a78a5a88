#include "data/DayNumbers.h"

#include <algorithm>
#include <cstring>

namespace zelk {
namespace {

constexpr size_t kLetterTriples = 26 * 26 * 26;

// FNV-1a over the bytes of a short text.
size_t TextHash(std::string_view text) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : text) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    return static_cast<size_t>(hash ^ (hash >> 29));
}

unsigned DigitValue(char c) { return static_cast<unsigned>(static_cast<unsigned char>(c) - '0'); }
// 0 to 25 for a letter of either case, more for anything else.
unsigned LetterValue(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u >= 'A' && u <= 'Z' ? u - 'A' : static_cast<unsigned>(u - 'a');
}

}  // namespace

std::uint32_t DayNumbers::KeyOf(std::string_view datum, bool& added) {
    added = false;
    if (const std::uint32_t key = ShapedKey(datum)) {
        std::uint64_t& word = shapedSeen_[(key & ~kShaped) / 64];
        const std::uint64_t bit = std::uint64_t{1} << (key % 64);
        if ((word & bit) == 0) {
            word |= bit;
            added = true;
            texts_.emplace_back().AssignLowerAscii(datum);
            keys_.push_back(key);
        }
        return key;
    }
    Text day;
    day.AssignLowerAscii(datum);
    return HashedNumberOf(day, added);
}

std::uint32_t DayNumbers::ShapedKey(std::string_view datum) {
    if (datum.size() != 9 || datum[2] != '-' || datum[6] != '-') return 0;
    const unsigned d0 = DigitValue(datum[0]), d1 = DigitValue(datum[1]);
    const unsigned y0 = DigitValue(datum[7]), y1 = DigitValue(datum[8]);
    const unsigned l0 = LetterValue(datum[3]), l1 = LetterValue(datum[4]), l2 = LetterValue(datum[5]);
    if (std::max({d0, d1, y0, y1}) > 9 || std::max({l0, l1, l2}) > 25) return 0;
    const unsigned dayOfMonth = d0 * 10 + d1;
    if (dayOfMonth == 0 || dayOfMonth > 32) return 0;
    if (!monthTokens_) {
        monthTokens_ = std::make_unique<std::uint8_t[]>(kLetterTriples);
        shapedSeen_ = std::make_unique<std::uint64_t[]>(kShapedKeys / 64);
    }
    std::uint8_t& token = monthTokens_[(l0 * 26 + l1) * 26 + l2];
    // Once the tokens are used up, texts with other months are keyed by number.
    if (token == 0) {
        if (tokens_ == kMonthTokens) return 0;
        token = static_cast<std::uint8_t>(++tokens_);
        tokenTriples_.push_back((l0 * 26 + l1) * 26 + l2);
    }
    return kShaped | (((y0 * 10 + y1) * kMonthTokens + (token - 1u)) * 32 + (dayOfMonth - 1));
}

std::uint32_t DayNumbers::HashedNumberOf(const Text& day, bool& added) {
    if (slots_.size() < 2 * (texts_.size() + 1)) GrowHashTable();
    const size_t mask = slots_.size() - 1;
    for (size_t slot = TextHash(day.View()) & mask;; slot = (slot + 1) & mask) {
        const std::uint32_t entry = slots_[slot];
        if (entry == 0) {
            added = true;
            texts_.push_back(day);
            const auto number = static_cast<std::uint32_t>(texts_.size() - 1);
            keys_.push_back(number);
            slots_[slot] = number + 1;
            return number;
        }
        // Texts and their copies hold zeros past their ends.
        if (std::memcmp(&texts_[entry - 1], &day, sizeof day) == 0) return entry - 1;
    }
}

void DayNumbers::GrowHashTable() {
    std::vector<std::uint32_t> slots(std::max<size_t>(64, slots_.size() * 2), 0);
    const size_t mask = slots.size() - 1;
    for (std::uint32_t n = 0; n < texts_.size(); ++n) {
        if (keys_[n] & kShaped) continue;
        size_t slot = TextHash(texts_[n].View()) & mask;
        while (slots[slot] != 0) slot = (slot + 1) & mask;
        slots[slot] = n + 1;
    }
    slots_.swap(slots);
}

void DayNumbers::Clear() {
    // The key tables stay for the next file; only the entries used are reset.
    if (monthTokens_) {
        for (const std::uint32_t key : keys_)
            if (key & kShaped) shapedSeen_[(key & ~kShaped) / 64] = 0;
        for (const std::uint32_t triple : tokenTriples_) monthTokens_[triple] = 0;
    }
    tokenTriples_.clear();
    tokens_ = 0;
    if (texts_.size() > kKeptTexts) {
        std::vector<Text>().swap(texts_);
        std::vector<std::uint32_t>().swap(keys_);
        std::vector<std::uint32_t>().swap(slots_);
    }
    texts_.clear();
    keys_.clear();
    std::fill(slots_.begin(), slots_.end(), 0u);
}

}  // namespace zelk
