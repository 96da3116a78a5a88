#include "data/CodePages.h"

namespace zelk {
namespace {

void AppendUtf8(std::string& out, unsigned code) {
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (code >> 6)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (code >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

// Code points of bytes 0x80 to 0x9F in Windows-1252 (0 where the byte is unused).
constexpr unsigned kCp1252High[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
}  // namespace

std::string AnsiToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c >= 0x80 && c <= 0x9F) {
            const unsigned code = kCp1252High[c - 0x80];
            AppendUtf8(out, code != 0 ? code : c);
        } else {
            AppendUtf8(out, c);
        }
    }
    return out;
}

std::string GreekToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        // Windows-1253: 0xC1..0xFE are the Greek letters from U+0391 on (0xD2 unused).
        if (c >= 0xC1 && c <= 0xFE && c != 0xD2)
            AppendUtf8(out, 0x0391 + (c - 0xC1));
        else if (c >= 0x80)
            AppendUtf8(out, c);
        else
            out.push_back(static_cast<char>(c));
    }
    return out;
}
}  // namespace zelk
