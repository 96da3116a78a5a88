#pragma once

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

namespace zelk {

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
        for (unsigned char i = 0; i < size_; ++i)
            if (data_[i] >= 'A' && data_[i] <= 'Z') data_[i] = static_cast<char>(data_[i] - 'A' + 'a');
    }

    std::string_view View() const { return {data_, size_}; }
    std::string Str() const { return std::string(View()); }
    bool Empty() const { return size_ == 0; }

    friend int Compare(const ShortText& a, std::string_view b) {
        const size_t n = std::min<size_t>(a.size_, b.size());
        const int c = n == 0 ? 0 : std::memcmp(a.data_, b.data(), n);
        if (c != 0) return c;
        return a.size_ < b.size() ? -1 : (a.size_ > b.size() ? 1 : 0);
    }
    friend int Compare(const ShortText& a, const ShortText& b) { return Compare(a, b.View()); }
    friend bool operator==(const ShortText& a, const ShortText& b) { return a.View() == b.View(); }

private:
    char data_[N] = {};
    unsigned char size_ = 0;
};

}  // namespace zelk
