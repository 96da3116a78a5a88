#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace zelk {

// Digits for ordering eight-byte keys by counting rather than comparing: the bytes in
// which keys differ are numbered densely by the values they take, and neighbouring
// bytes are joined into one digit while it keeps few values. Ordering by each digit in
// turn, from the last one to the first, with a stable counting pass, orders the keys.
class PrefixDigits {
public:
    // `varying` has a bit set wherever two of the keys differ.
    explicit PrefixDigits(std::uint64_t varying);
    // Every key is noted before Finish.
    void Note(std::uint64_t key) {
        for (std::size_t i = 0; i < positions_; ++i) seen_[position_[i]][Byte(key, position_[i])] = 1;
    }
    void Finish();

    // Digits in the order to count by: the least significant first.
    std::size_t Digits() const { return digits_.size(); }
    std::size_t Values(std::size_t digit) const { return digits_[digit].values; }
    std::uint32_t Of(std::size_t digit, std::uint64_t key) const {
        std::uint32_t value = 0;
        for (const std::size_t p : digits_[digit].positions) value += weight_[p][Byte(key, p)];
        return value;
    }

private:
    static constexpr std::size_t kMaxValues = 4096;
    // Byte 0 is the most significant one.
    static std::size_t Byte(std::uint64_t key, std::size_t position) { return (key >> (56 - 8 * position)) & 0xff; }
    struct Digit {
        std::vector<std::size_t> positions;
        std::size_t values = 1;
    };

    std::size_t positions_ = 0;
    std::array<std::size_t, 8> position_{};
    std::array<std::array<std::uint8_t, 256>, 8> seen_{};
    // A byte value's share of its digit.
    std::array<std::array<std::uint32_t, 256>, 8> weight_{};
    std::vector<Digit> digits_;
};

}  // namespace zelk
