#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "data/TextNumber.h"

namespace zelk {

// Byte order of two short runs of bytes, without a library call: the texts compared
// here are a few bytes long, where the call costs more than the comparison.
inline int CompareBytes(const char* a, const char* b, size_t n) {
    size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t x = 0, y = 0;
        std::memcpy(&x, a + i, 8);
        std::memcpy(&y, b + i, 8);
        if (x != y) return __builtin_bswap64(x) < __builtin_bswap64(y) ? -1 : 1;
    }
    for (; i < n; ++i)
        if (a[i] != b[i]) return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[i]) ? -1 : 1;
    return 0;
}

// Where `c` first comes in `text`, or npos: eight bytes a step, for short texts where
// a library call costs more than the search.
inline size_t FindByte(std::string_view text, char c) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ull;
    constexpr std::uint64_t kHighs = 0x8080808080808080ull;
    const std::uint64_t pattern = kOnes * static_cast<unsigned char>(c);
    size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, text.data() + i, 8);
        word ^= pattern;
        // The lowest byte that became zero marks the first match.
        const std::uint64_t zero = (word - kOnes) & ~word & kHighs;
        if (zero != 0) return i + static_cast<size_t>(__builtin_ctzll(zero) >> 3);
    }
    for (; i < text.size(); ++i)
        if (text[i] == c) return i;
    return std::string_view::npos;
}

// The same for two texts: a text before a longer one it starts.
inline int CompareTexts(std::string_view a, std::string_view b) {
    const int c = CompareBytes(a.data(), b.data(), std::min(a.size(), b.size()));
    if (c != 0) return c;
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

// A text field of at most N characters, stored inline; longer texts are cut.
// Compares byte by byte, as unsigned characters.
template <size_t N>
class ShortText {
public:
    ShortText() = default;
    explicit ShortText(std::string_view text) { Assign(text); }

    void Assign(std::string_view text) {
        size_ = static_cast<unsigned char>(std::min(text.size(), N));
        std::memcpy(data_, text.data(), size_);
    }

    // The same with the letters A to Z in lower case.
    void AssignLowerAscii(std::string_view text) {
        Assign(text);
        for (unsigned char i = 0; i < size_; ++i) data_[i] = LowerChar(data_[i]);
    }

    std::string_view View() const { return {data_, size_}; }
    std::string Str() const { return std::string(View()); }
    bool Empty() const { return size_ == 0; }

    friend int Compare(const ShortText& a, std::string_view b) { return CompareTexts(a.View(), b); }
    friend int Compare(const ShortText& a, const ShortText& b) { return Compare(a, b.View()); }
    friend bool operator==(const ShortText& a, const ShortText& b) { return a.View() == b.View(); }

private:
    char data_[N] = {};
    unsigned char size_ = 0;
};

}  // namespace zelk
