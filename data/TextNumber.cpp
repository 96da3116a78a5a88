#include "data/TextNumber.h"

#include <locale.h>
#include <array>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <vector>

namespace zelk {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int DigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 99;
}

// The text after leading blanks and an optional sign.
std::string_view AfterBlanksAndSign(std::string_view text, bool& negative) {
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    negative = i < text.size() && text[i] == '-';
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    return text.substr(i);
}

// Digits of the base up to the end of the text, signed, into `value`; false when there
// are none, when another character follows or when the value does not fit an int.
// (Not an optional: one built in a register pair is read back before its bytes are.)
bool DigitsToInt(std::string_view digits, int base, bool negative, int& result) {
    if (digits.empty()) return false;
    long long value = 0;
    if (base == 10 && digits.size() <= 9) {
        // Nine decimal digits always fit.
        for (const char c : digits) {
            const unsigned digit = static_cast<unsigned char>(c) - unsigned{'0'};
            if (digit > 9) return false;
            value = value * 10 + digit;
        }
        result = static_cast<int>(negative ? -value : value);
        return true;
    }
    for (const char c : digits) {
        const int digit = DigitValue(c);
        if (digit >= base) return false;
        value = value * base + digit;
        if (value > static_cast<long long>(std::numeric_limits<int>::max()) + 1) return false;
    }
    if (negative) value = -value;
    if (value > std::numeric_limits<int>::max()) return false;
    result = static_cast<int>(value);
    return true;
}

std::optional<int> DigitsToInt(std::string_view digits, int base, bool negative) {
    int value = 0;
    if (!DigitsToInt(digits, base, negative, value)) return std::nullopt;
    return value;
}

// A locale handle for "C" number conversion, independent of the process locale.
locale_t CNumericLocale() {
    static const locale_t handle = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(nullptr));
    return handle;
}

// A decimal number as digits times a power of ten. When the digits fit the 64-bit
// significand of long double and the power of ten is exact there too, one
// multiplication or division gives the correctly rounded value, the same value
// that the library's conversion gives.
struct Decimal {
    unsigned long long digits = 0;
    int significant = 0;  // digits from the first non-zero one on
    int power = 0;
    bool negative = false;

    void AddDigit(char c) {
        if (significant > 0 || c != '0') ++significant;
        if (significant <= 19) digits = digits * 10 + static_cast<unsigned long long>(c - '0');
    }

    std::optional<long double> Value() const {
        constexpr int kExactPowers = 27;  // 10^27 still fits the 64-bit significand
        if (significant > 19 || power < -kExactPowers || power > kExactPowers) return std::nullopt;
        static const auto kPowers = [] {
            std::array<long double, kExactPowers + 1> powers{};
            powers[0] = 1.0L;
            for (size_t k = 1; k < powers.size(); ++k) powers[k] = powers[k - 1] * 10.0L;
            return powers;
        }();
        const long double scale = kPowers[static_cast<size_t>(power < 0 ? -power : power)];
        const long double magnitude = static_cast<long double>(digits);
        const long double value = power < 0 ? magnitude / scale : magnitude * scale;
        return negative ? -value : value;
    }
};

}  // namespace

std::optional<int> TextToInt(std::string_view text) {
    bool negative = false;
    const std::string_view digits = AfterBlanksAndSign(text, negative);
    return DigitsToInt(digits, 10, negative);
}

std::optional<int> TextToIntOrHex(std::string_view text) {
    bool negative = false;
    const std::string_view rest = AfterBlanksAndSign(text, negative);
    const std::string_view prefix = rest.substr(0, 2);
    if (prefix == "0x" || prefix == "0X") return DigitsToInt(rest.substr(2), 16, negative);
    return DigitsToInt(rest, 10, negative);
}

int TextToIntDef(std::string_view text, int fallback) {
    bool negative = false;
    const std::string_view digits = AfterBlanksAndSign(text, negative);
    int value = 0;
    return DigitsToInt(digits, 10, negative, value) ? value : fallback;
}

std::optional<long double> TextToFloat(std::string_view text, char decimalSeparator) {
    size_t i = 0;
    const size_t n = text.size();
    while (i < n && text[i] == ' ') ++i;
    size_t end = n;
    while (end > i && text[end - 1] == ' ') --end;
    const size_t start = i;
    size_t separator = std::string_view::npos;

    // The digits as an integer and a power of ten, for numbers that convert exactly.
    Decimal decimal;
    if (i < end && (text[i] == '+' || text[i] == '-')) decimal.negative = text[i++] == '-';
    size_t digits = 0;
    while (i < end && IsDigit(text[i])) {
        decimal.AddDigit(text[i++]);
        ++digits;
    }
    if (i < end && text[i] == decimalSeparator) {
        separator = i++;
        while (i < end && IsDigit(text[i])) {
            decimal.AddDigit(text[i++]);
            --decimal.power;
            ++digits;
        }
    }
    if (digits == 0) return std::nullopt;
    if (i < end && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < end && (text[i] == '+' || text[i] == '-')) negativeExponent = text[i++] == '-';
        size_t expDigits = 0;
        int exponent = 0;
        while (i < end && IsDigit(text[i])) {
            if (exponent < 100000) exponent = exponent * 10 + (text[i] - '0');
            ++i;
            ++expDigits;
        }
        if (expDigits == 0) return std::nullopt;
        decimal.power += negativeExponent ? -exponent : exponent;
    }
    if (i != end) return std::nullopt;
    if (const auto exact = decimal.Value()) return *exact;
    // The number in "C" notation for the library's conversion.
    std::string normal(text.substr(start, end - start));
    if (separator != std::string_view::npos) normal[separator - start] = '.';
    const long double value = strtold_l(normal.c_str(), nullptr, CNumericLocale());
    if (!std::isfinite(value)) return std::nullopt;
    return value;
}

namespace {

// Readings are written as a whole number of up to four digits or with one decimal
// after up to three: such a text takes its value from the same steps as the general
// conversion (tenths divided by ten in extended precision, then single precision),
// done once for all of them.
bool ShortReading(std::string_view text, char decimalSeparator, float& value) {
    constexpr int kTenthsCount = 10000;
    static const auto kTenths = [] {
        std::vector<float> tenths(kTenthsCount);
        for (int n = 0; n < kTenthsCount; ++n)
            tenths[static_cast<size_t>(n)] = static_cast<float>(static_cast<long double>(n) / 10.0L);
        return tenths;
    }();
    const size_t n = text.size();
    if (n == 0 || n > 5) return false;
    int whole = 0;
    size_t i = 0;
    while (i < n && i < 4 && IsDigit(text[i])) whole = whole * 10 + (text[i++] - '0');
    if (i == 0) return false;
    if (i == n) {
        value = static_cast<float>(whole);
        return true;
    }
    if (i > 3 || i + 2 != n || text[i] != decimalSeparator || !IsDigit(text[i + 1])) return false;
    value = kTenths[static_cast<size_t>(whole * 10 + (text[i + 1] - '0'))];
    return true;
}

}  // namespace

float TextToSingleOrZero(std::string_view text, char decimalSeparator) {
    if (float reading = 0.0f; ShortReading(text, decimalSeparator, reading)) return reading;
    const auto value = TextToFloat(text, decimalSeparator);
    if (!value) return 0.0f;
    if (std::fabs(*value) > static_cast<long double>(std::numeric_limits<float>::max())) return 0.0f;
    return static_cast<float>(*value);
}

std::string_view TrimControl(std::string_view text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && static_cast<unsigned char>(text[begin]) <= 32) ++begin;
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= 32) --end;
    return text.substr(begin, end - begin);
}

std::string LowerAscii(std::string_view text) {
    std::string result(text);
    for (char& c : result) c = LowerChar(c);
    return result;
}

bool SameTextAscii(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (LowerChar(a[i]) != LowerChar(b[i])) return false;
    return true;
}

std::string ReplaceChar(std::string text, char from, char to) {
    for (char& c : text)
        if (c == from) c = to;
    return text;
}

}  // namespace zelk
