#include "data/PrefixDigits.h"

namespace zelk {

PrefixDigits::PrefixDigits(std::uint64_t varying) {
    for (std::size_t p = 0; p < 8; ++p)
        if (Byte(varying, p) != 0) position_[positions_++] = p;
}

void PrefixDigits::Finish() {
    Digit digit;
    for (std::size_t i = positions_; i-- > 0;) {
        const std::size_t p = position_[i];
        std::uint32_t count = 0;
        for (const std::uint8_t seen : seen_[p]) count += seen;
        if (digit.values * count > kMaxValues) {
            digits_.push_back(digit);
            digit = Digit{};
        }
        // Values of this byte count in steps of the values of the bytes after it.
        std::uint32_t rank = 0;
        for (std::size_t v = 0; v < 256; ++v)
            if (seen_[p][v]) weight_[p][v] = static_cast<std::uint32_t>(rank++ * digit.values);
        digit.positions.push_back(p);
        digit.values *= count;
    }
    if (!digit.positions.empty()) digits_.push_back(digit);
}

}  // namespace zelk
