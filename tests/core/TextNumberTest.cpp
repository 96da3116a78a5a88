#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <random>
#include <string>

#include "data/TextNumber.h"

namespace zelk {
namespace {

TEST(TextToInt, DecimalWithSignAndLeadingBlanks) {
    EXPECT_EQ(TextToInt("42"), 42);
    EXPECT_EQ(TextToInt("-7"), -7);
    EXPECT_EQ(TextToInt("+7"), 7);
    EXPECT_EQ(TextToInt("  07"), 7);
    EXPECT_EQ(TextToInt("2147483647"), 2147483647);
    EXPECT_EQ(TextToInt("-2147483648"), -2147483647 - 1);
}

TEST(TextToInt, RefusesWhatIsNotADecimalInteger) {
    for (const char* text : {"", " ", "-", "+", "7:", "1-", "7 ", "4.5", "4,5", "abc", "12a", "2147483648",
                             "-2147483649", "99999999999999999999", "\t7", "+-7", "- 7",
                             // hexadecimal forms are not decimal integers
                             "$10", "-$10", "$", "0x10", "0X1f", "-0x10", "0x", " 0x7"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(TextToInt(text).has_value());
    }
    EXPECT_EQ(TextToIntDef("x", -1), -1);
    EXPECT_EQ(TextToIntDef("", 5), 5);
}

TEST(TextToIntOrHex, DecimalOrHexadecimalAfterZeroX) {
    EXPECT_EQ(TextToIntOrHex("42"), 42);
    EXPECT_EQ(TextToIntOrHex(" -7"), -7);
    EXPECT_EQ(TextToIntOrHex("0x4"), 4);
    EXPECT_EQ(TextToIntOrHex("0X1f"), 31);
    EXPECT_EQ(TextToIntOrHex("  -0x10"), -16);
    EXPECT_EQ(TextToIntOrHex("+0xa"), 10);
    EXPECT_EQ(TextToIntOrHex("0x7FFFFFFF"), 2147483647);
    EXPECT_EQ(TextToIntOrHex("-0x80000000"), -2147483647 - 1);
    EXPECT_EQ(TextToIntOrHex("0x0000000000000010"), 16);
    for (const char* text : {"", "0x", "$10", "0x80000000", "0x1g", "0x 4", "00x4", "x4", "1f", "0x4 ", "-", "- 0x4"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(TextToIntOrHex(text).has_value());
    }
}

TEST(TextToFloat, LocaleSeparatorSignAndExponent) {
    EXPECT_FLOAT_EQ(TextToSingleOrZero("5,6", ','), 5.6f);
    EXPECT_FLOAT_EQ(TextToSingleOrZero("5.6", '.'), 5.6f);
    EXPECT_FLOAT_EQ(TextToSingleOrZero("-5,6", ','), -5.6f);
    EXPECT_FLOAT_EQ(TextToSingleOrZero("+12", ','), 12.0f);
    EXPECT_FLOAT_EQ(TextToSingleOrZero("1,5e2", ','), 150.0f);
    EXPECT_FLOAT_EQ(TextToSingleOrZero("15E-1", '.'), 1.5f);
    EXPECT_FLOAT_EQ(TextToSingleOrZero(",5", ','), 0.5f);
    EXPECT_FLOAT_EQ(TextToSingleOrZero("5,", ','), 5.0f);
    EXPECT_FLOAT_EQ(TextToSingleOrZero(" 7,25 ", ','), 7.25f);
    // The value is the single-precision number nearest to the text.
    EXPECT_EQ(TextToSingleOrZero("5,6", ','), 5.6f);
    EXPECT_EQ(TextToSingleOrZero("0.1", '.'), 0.1f);
}

TEST(TextToFloat, SameValueAsTheLibraryConversion) {
    // Short numbers take a quicker road; every value must still be the correctly
    // rounded extended-precision one.
    std::mt19937 random(3);
    const auto pick = [&random](int count) { return std::uniform_int_distribution<int>(0, count - 1)(random); };
    for (int round = 0; round < 20000; ++round) {
        std::string text;
        if (pick(3) == 0) text += pick(2) ? "-" : "+";
        const int whole = pick(14);
        const int fraction = pick(14);
        for (int k = 0; k < whole; ++k) text += static_cast<char>('0' + pick(10));
        if (fraction > 0 || whole == 0) text += ',';
        for (int k = 0; k < fraction; ++k) text += static_cast<char>('0' + pick(10));
        if (whole == 0 && fraction == 0) text += '0';
        if (pick(4) == 0) text += "e" + std::to_string(pick(70) - 35);
        const std::string c = ReplaceChar(text, ',', '.');
        const long double expected = std::strtold(c.c_str(), nullptr);
        const auto value = TextToFloat(text, ',');
        ASSERT_TRUE(value.has_value()) << text;
        ASSERT_EQ(*value, expected) << text;
        ASSERT_EQ(std::signbit(*value), std::signbit(expected)) << text;
    }
    for (const char* text : {"0,1", "5,6", "123456789012345678,9", "1234567890123456789", "12345678901234567890",
                             "0,000000000000000000000000001", "1e27", "1e28", "9999999999999999999e-27", "-0"}) {
        const std::string c = ReplaceChar(text, ',', '.');
        EXPECT_EQ(*TextToFloat(text, ','), std::strtold(c.c_str(), nullptr)) << text;
    }
}

TEST(TextToFloat, AnythingElseIsZero) {
    EXPECT_EQ(TextToSingleOrZero("5.6", ','), 0.0f);  // point on a comma system
    EXPECT_EQ(TextToSingleOrZero("5,6", '.'), 0.0f);
    for (const char* text : {"", ",", "-", "e5", "1e", "1e+", "1,2,3", "1.234,5", "5,6\tx", "5,6 x", "00 5,6", "abc",
                             "0x10", "1e999", "-1e999", "1e39", "inf", "nan"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(TextToSingleOrZero(text, ','), 0.0f);
    }
}

TEST(TextToFloat, ShortReadingsGiveTheGeneralConversionsValue) {
    // Whole numbers up to four digits and one decimal after up to three take a quicker way.
    for (int n = 0; n < 100000; ++n) {
        const std::string digits = std::to_string(n);
        for (const std::string& text : {digits, digits.substr(0, digits.size() - 1) + "," + digits.back()}) {
            const auto general = TextToFloat(text, ',');
            ASSERT_TRUE(general) << text;
            ASSERT_EQ(TextToSingleOrZero(text, ','), static_cast<float>(*general)) << text;
        }
    }
}

TEST(TextToFloat, IgnoresTheProcessLocale) {
    // The core never reads the process locale: a German LC_NUMERIC changes nothing.
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    bool german = false;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "de_DE@euro"})
        german = german || std::setlocale(LC_NUMERIC, name) != nullptr;
    if (!german) GTEST_SKIP() << "no German locale installed";
    EXPECT_EQ(TextToSingleOrZero("5.6", '.'), 5.6f);
    EXPECT_EQ(TextToSingleOrZero("5,6", ','), 5.6f);
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(TrimControl, RemovesCodesUpToBlankOnBothEnds) {
    EXPECT_EQ(TrimControl(" \t\x01 5,6\t \r"), "5,6");
    EXPECT_EQ(TrimControl("5 6"), "5 6");
    EXPECT_EQ(TrimControl("\t\t"), "");
    EXPECT_EQ(TrimControl(""), "");
    EXPECT_EQ(TrimControl("\xA0x\xA0"), "\xA0x\xA0");  // code 160 stays
}

TEST(LowerAscii, OnlyLettersAToZChange) {
    EXPECT_EQ(LowerAscii("14-MAY-09"), "14-may-09");
    EXPECT_EQ(LowerAscii("14-M\xC4R-09"), "14-m\xC4r-09");  // a Windows-1252 umlaut stays
    EXPECT_TRUE(SameTextAscii("14-May-09", "14-MAY-09"));
    EXPECT_FALSE(SameTextAscii("14-m\xE4r-09", "14-M\xC4R-09"));
    EXPECT_FALSE(SameTextAscii("14-may-09", "14-may-0"));
}

}  // namespace
}  // namespace zelk
