#include "components/NumberText.h"

#include <locale.h>
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string_view>

namespace zelk {
namespace {

// printf in the "C" notation whatever locale the process has set (the window
// toolkit sets the user's locale, which may write a decimal comma).
class CNumericScope {
public:
    CNumericScope() : previous_(uselocale(Handle())) {}
    ~CNumericScope() { uselocale(previous_); }
    CNumericScope(const CNumericScope&) = delete;
    CNumericScope& operator=(const CNumericScope&) = delete;

private:
    static locale_t Handle() {
        static const locale_t handle = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(nullptr));
        return handle;
    }
    locale_t previous_;
};

// Digits of a value: all integer digits (no leading zeros) and the exact fraction.
struct ExactDigits {
    std::string integer;
    std::string fraction;
};

// Binary digits after the point of a finite value above 0: each gives one decimal,
// so that many decimals write the value exactly.
int BinaryFractionDigits(long double magnitude) {
    int exponent = 0;
    const long double mantissa = std::frexp(magnitude, &exponent);  // in [0.5, 1)
    const auto bits = static_cast<unsigned long long>(std::ldexp(mantissa, 64));
    const int significant = 64 - std::countr_zero(bits);
    return std::max(0, significant - exponent);
}

// Exact for every value from 1e-20 up to 1e18, the range these formats round in:
// such a long double has at most 130 binary fraction digits.
ExactDigits Expand(long double magnitude) {
    char buffer[200];
    const CNumericScope cNotation;
    std::snprintf(buffer, sizeof buffer, "%.*Lf", BinaryFractionDigits(magnitude), magnitude);
    const std::string_view text(buffer);
    const size_t point = text.find('.');
    ExactDigits d;
    d.integer = std::string(text.substr(0, point));
    if (point != std::string_view::npos) d.fraction = std::string(text.substr(point + 1));
    const size_t firstNonZero = d.integer.find_first_not_of('0');
    d.integer = firstNonZero == std::string::npos ? std::string() : d.integer.substr(firstNonZero);
    return d;
}

// Adds one unit in the last place of a digit string; true when it carries out.
bool Increment(std::string& digits) {
    for (size_t i = digits.size(); i-- > 0;) {
        if (digits[i] == '9') {
            digits[i] = '0';
        } else {
            ++digits[i];
            return false;
        }
    }
    return true;
}

std::string Scientific(long double value, int precision, char sep) {
    const int digits = precision < 1 ? 1 : (precision > 18 ? 18 : precision);
    char buffer[64];
    const CNumericScope cNotation;
    std::snprintf(buffer, sizeof buffer, "%.*LE", digits - 1, value);
    std::string text(buffer);
    for (char& c : text)
        if (c == '.') c = sep;
    return text;
}

// Fixed notation rounded at `decimals` places after the point (half away from zero).
std::string FixedText(bool negative, const ExactDigits& d, int decimals, int shownDecimals, char sep) {
    std::string integer = d.integer;
    const auto cut = static_cast<size_t>(decimals);
    std::string fraction = d.fraction.substr(0, cut);
    const char next = cut < d.fraction.size() ? d.fraction[cut] : '0';
    if (next >= '5') {
        bool carry = fraction.empty() ? true : Increment(fraction);
        if (carry) {
            if (integer.empty()) integer = "0";
            if (Increment(integer)) integer.insert(integer.begin(), '1');
        }
    }
    if (integer.empty()) integer = "0";
    fraction.resize(static_cast<size_t>(shownDecimals), '0');
    const bool zero =
        integer.find_first_not_of('0') == std::string::npos && fraction.find_first_not_of('0') == std::string::npos;
    std::string text = (negative && !zero) ? "-" : "";
    text += integer;
    if (shownDecimals > 0) {
        text += sep;
        text += fraction;
    }
    return text;
}

// The significand and the power of two of a normal long double (x87 extended
// precision): magnitude = m x 2^-shift.
void SplitExtended(long double magnitude, unsigned long long& m, int& shift) {
    static_assert(std::numeric_limits<long double>::digits == 64, "x87 extended precision expected");
    unsigned char bytes[sizeof(long double)];
    std::memcpy(bytes, &magnitude, sizeof bytes);
    std::memcpy(&m, bytes, sizeof m);
    std::uint16_t exponentBits = 0;
    std::memcpy(&exponentBits, bytes + 8, sizeof exponentBits);
    shift = 16383 + 63 - (exponentBits & 0x7FFF);
}

// Room for the text of FixedFewDecimals.
constexpr size_t kFewDecimalsRoom = 48;

// Fixed notation with at most three decimals straight from the binary value: the
// value is m x 2^-shift exactly, so m x 10^k against 2^shift decides every digit and
// the half without writing out the expansion. The text is written to end at `end`;
// its start, or nothing when the value has more integer digits than the precision
// allows (that is scientific notation).
char* FixedFewDecimals(bool negative, long double magnitude, int precision, int digits, char sep, char* end) {
    using Wide = unsigned __int128;
    unsigned long long m = 0;
    int shift = 0;  // at least 4 for values below 1e18
    SplitExtended(magnitude, m, shift);
    // m x 10^k compared with 2^shift, for k up to 4.
    const auto scaled = [m](int k) {
        Wide n = m;
        for (int i = 0; i < k; ++i) n *= 10;
        return n;
    };
    const auto belowOne = [shift](Wide n) { return shift >= 128 || n < (Wide{1} << shift); };

    const unsigned long long whole = shift < 64 ? m >> shift : 0;
    int integerDigits = 0;
    for (unsigned long long w = whole; w > 0; w /= 10) ++integerDigits;
    if (integerDigits > precision) return nullptr;
    int decimals = digits;
    if (integerDigits > 0) {
        decimals = std::min(digits, precision - integerDigits);
    } else {
        int leadingZeros = 0;  // counted as far as it can matter
        while (leadingZeros < digits && belowOne(scaled(leadingZeros + 1))) ++leadingZeros;
        decimals = std::min(digits, leadingZeros + precision);
    }

    // The value times 10^decimals, rounded half away from zero.
    const Wide n = scaled(decimals);
    Wide rounded = 0;
    if (shift < 128) {
        rounded = n >> shift;
        const Wide rest = n - (rounded << shift);
        if (rest >= (Wide{1} << (shift - 1))) ++rounded;
    }
    // Written from the right: the shown decimals, then the integer digits.
    auto total = static_cast<unsigned long long>(rounded);
    const bool sign = negative && total != 0;
    char* p = end;
    for (int i = digits; i > decimals; --i) *--p = '0';
    for (int i = 0; i < decimals; ++i, total /= 10) *--p = static_cast<char>('0' + total % 10);
    if (digits > 0) *--p = sep;
    do {
        *--p = static_cast<char>('0' + total % 10);
        total /= 10;
    } while (total > 0);
    if (sign) *--p = '-';
    return p;
}

// FixedFewDecimals where it applies: a finite value from 1e-20 to below 1e18 and at
// most three decimals; nothing elsewhere, or when scientific notation is due.
char* FixedFast(long double value, int precision, int digits, char sep, char* end) {
    const long double magnitude = std::fabs(value);
    if (digits < 0 || digits > 3 || !std::isfinite(value) || magnitude < 1e-20L || magnitude >= 1e18L) return nullptr;
    return FixedFewDecimals(std::signbit(value), magnitude, precision, digits, sep, end);
}

std::string NonFinite(long double value) {
    if (std::isnan(value)) return "NAN";
    return value < 0 ? "-INF" : "INF";
}

}  // namespace

std::string FloatToStrF(long double value, FloatFormat format, int precision, int digits, char decimalSeparator) {
    if (!std::isfinite(value)) return NonFinite(value);
    if (precision < 1) precision = 1;
    if (precision > 18) precision = 18;
    if (digits < 0) digits = 0;
    if (digits > 18) digits = 18;
    const bool negative = std::signbit(value);
    const long double magnitude = std::fabs(value);

    if (format == FloatFormat::Exponent) return Scientific(value, precision, decimalSeparator);
    if (format == FloatFormat::General) {
        char buffer[64];
        const CNumericScope cNotation;
        std::snprintf(buffer, sizeof buffer, "%.*Lg", precision, value);
        std::string text(buffer);
        for (char& c : text)
            if (c == '.') c = decimalSeparator;
        return text;
    }
    // Fixed, and Number and Currency without their separators and symbols.
    if (magnitude >= 1e18L) return Scientific(value, precision, decimalSeparator);
    if (magnitude < 1e-20L) return FixedText(false, ExactDigits{}, digits, digits, decimalSeparator);
    if (digits <= 3) {
        char buffer[kFewDecimalsRoom];
        char* const end = buffer + sizeof buffer;
        if (char* text = FixedFast(value, precision, digits, decimalSeparator, end)) return std::string(text, end);
        return Scientific(value, precision, decimalSeparator);
    }
    const ExactDigits d = Expand(magnitude);
    const int integerDigits = static_cast<int>(d.integer.size());
    if (integerDigits > precision) return Scientific(value, precision, decimalSeparator);
    int decimals = digits;
    if (integerDigits > 0) {
        decimals = std::min(digits, precision - integerDigits);
    } else {
        const size_t firstNonZero = d.fraction.find_first_not_of('0');
        const int leadingZeros = static_cast<int>(firstNonZero);
        decimals = std::min(digits, leadingZeros + precision);
    }
    return FixedText(negative, d, decimals, digits, decimalSeparator);
}

std::string FormatFixed(long double value, int width, int decimals, char decimalSeparator) {
    // The common case written and padded in one buffer.
    constexpr int kPadRoom = 32;
    if (width < kPadRoom) {
        char buffer[kFewDecimalsRoom + kPadRoom];
        char* const end = buffer + sizeof buffer;
        if (char* text = FixedFast(value, 18, decimals, decimalSeparator, end)) {
            while (end - text < width) *--text = ' ';
            return std::string(text, end);
        }
    }
    std::string text = FloatToStrF(value, FloatFormat::Fixed, 18, decimals, decimalSeparator);
    if (static_cast<int>(text.size()) < width) text.insert(0, static_cast<size_t>(width) - text.size(), ' ');
    return text;
}

}  // namespace zelk
