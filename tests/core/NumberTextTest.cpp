#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>

#include "components/NumberText.h"

namespace zelk {
namespace {

TEST(FloatToStrF, FixedRoundsExactHalvesAwayFromZero) {
    EXPECT_EQ(FloatToStrF(1.25L, FloatFormat::Fixed, 4, 1, '.'), "1.3");
    EXPECT_EQ(FloatToStrF(-1.25L, FloatFormat::Fixed, 4, 1, '.'), "-1.3");
    EXPECT_EQ(FloatToStrF(0.5L, FloatFormat::Fixed, 4, 0, '.'), "1");
    EXPECT_EQ(FloatToStrF(2.5L, FloatFormat::Fixed, 4, 0, '.'), "3");
    // 1.15f lies below 1.15, so it rounds down although its decimal text ends in 5.
    EXPECT_EQ(FloatToStrF(1.15f, FloatFormat::Fixed, 4, 1, '.'), "1.1");
}

TEST(FloatToStrF, DigitsPrecisionAndSeparator) {
    EXPECT_EQ(FloatToStrF(5.678L, FloatFormat::Fixed, 4, 2, '.'), "5.68");
    EXPECT_EQ(FloatToStrF(5.678L, FloatFormat::Fixed, 4, 2, ','), "5,68");
    EXPECT_EQ(FloatToStrF(63.4L, FloatFormat::Fixed, 4, 0, ','), "63");
    EXPECT_EQ(FloatToStrF(0.0L, FloatFormat::Fixed, 4, 2, ','), "0,00");
    EXPECT_EQ(FloatToStrF(123.456L, FloatFormat::Fixed, 4, 2, '.'), "123.50");
    EXPECT_EQ(FloatToStrF(99.996L, FloatFormat::Fixed, 4, 2, '.'), "100.00");
}

TEST(FormatFixed, PadsToWidth) {
    EXPECT_EQ(FormatFixed(6.0L, 4, 1, ','), " 6,0");
    EXPECT_EQ(FormatFixed(10.5L, 4, 1, '.'), "10.5");
    EXPECT_EQ(FormatFixed(108.0L, 4, 0, '.'), " 108");
}

TEST(FloatToStrF, TiesAreDecidedOnTheExactBinaryValue) {
    // Exact binary ties round away from zero, where printf would round to even.
    EXPECT_EQ(FloatToStrF(0.125L, FloatFormat::Fixed, 4, 2, '.'), "0.13");
    EXPECT_EQ(FloatToStrF(7.875f, FloatFormat::Fixed, 4, 2, ','), "7,88");
    EXPECT_EQ(FloatToStrF(4.25f, FloatFormat::Fixed, 4, 1, '.'), "4.3");
    EXPECT_EQ(FloatToStrF(76.5L, FloatFormat::Fixed, 4, 0, '.'), "77");
    EXPECT_EQ(FloatToStrF(-76.5L, FloatFormat::Fixed, 4, 0, '.'), "-77");
    // Single-precision values whose decimal text ends in 5 lie off the tie.
    EXPECT_EQ(FloatToStrF(0.05f, FloatFormat::Fixed, 4, 1, '.'), "0.1");   // 0.0500000007...
    EXPECT_EQ(FloatToStrF(0.35f, FloatFormat::Fixed, 4, 1, '.'), "0.3");   // 0.3499999940...
    EXPECT_EQ(FloatToStrF(2.675, FloatFormat::Fixed, 4, 2, '.'), "2.67");  // double 2.67499999...
    // Just below the tie rounds down, however close.
    EXPECT_EQ(FloatToStrF(0.5L - 0x1p-64L, FloatFormat::Fixed, 18, 0, '.'), "0");
    EXPECT_EQ(FloatToStrF(0.5L, FloatFormat::Fixed, 18, 0, '.'), "1");
}

TEST(FloatToStrF, CarriesIntoNewIntegerDigits) {
    EXPECT_EQ(FloatToStrF(9.96L, FloatFormat::Fixed, 4, 1, '.'), "10.0");
    EXPECT_EQ(FloatToStrF(0.96L, FloatFormat::Fixed, 4, 1, ','), "1,0");
    EXPECT_EQ(FloatToStrF(-0.96L, FloatFormat::Fixed, 4, 1, '.'), "-1.0");
    EXPECT_EQ(FloatToStrF(999.5L, FloatFormat::Fixed, 4, 0, '.'), "1000");
}

TEST(FloatToStrF, ZeroHasNoSign) {
    EXPECT_EQ(FloatToStrF(-0.0L, FloatFormat::Fixed, 4, 2, '.'), "0.00");
    EXPECT_EQ(FloatToStrF(0.0L, FloatFormat::Fixed, 4, 0, ','), "0");
}

TEST(FloatToStrF, PrecisionLimitsTheSignificantDigits) {
    // Rounded to Precision digits first, the further decimals written as zeros.
    EXPECT_EQ(FloatToStrF(123.456L, FloatFormat::Fixed, 4, 2, ','), "123,50");
    EXPECT_EQ(FloatToStrF(26.7803571L, FloatFormat::Fixed, 4, 3, '.'), "26.780");
    EXPECT_EQ(FloatToStrF(0.0123456L, FloatFormat::Fixed, 4, 6, '.'), "0.012350");
    EXPECT_EQ(FloatToStrF(0.000123456L, FloatFormat::Fixed, 4, 8, '.'), "0.00012350");
    EXPECT_EQ(FloatToStrF(1e-19L, FloatFormat::Fixed, 4, 2, '.'), "0.00");
    EXPECT_EQ(FloatToStrF(0x1p-66L + 0x1p-129L, FloatFormat::Fixed, 18, 18, '.'), "0.000000000000000000");
    EXPECT_EQ(FloatToStrF(5.678L, FloatFormat::Fixed, 6, 2, '.'), "5.68");
    EXPECT_EQ(FloatToStrF(141.75L, FloatFormat::Fixed, 4, 0, '.'), "142");
    EXPECT_EQ(FloatToStrF(141.75L, FloatFormat::Fixed, 4, 2, '.'), "141.80");
    // An integer part longer than Precision switches to scientific notation.
    EXPECT_NE(FloatToStrF(123456.0L, FloatFormat::Fixed, 4, 1, '.').find('E'), std::string::npos);
}

TEST(FloatToStrF, DigitsZeroWritesNoSeparator) {
    EXPECT_EQ(FloatToStrF(63.4L, FloatFormat::Fixed, 4, 0, '.'), "63");
    EXPECT_EQ(FloatToStrF(63.5L, FloatFormat::Fixed, 4, 0, ','), "64");
    EXPECT_EQ(FloatToStrF(4.0L, FloatFormat::Fixed, 4, 1, ','), "4,0");
}

TEST(FormatFixed, ValueAndAmplitudeTexts) {
    EXPECT_EQ(FormatFixed(0.25f, 4, 1, '.'), " 0.3");
    EXPECT_EQ(FormatFixed(18.0L * 7.25f, 4, 0, '.'), " 131");  // 130.5
    EXPECT_EQ(FormatFixed(18.0L * 30.0f, 4, 0, '.'), " 540");
    EXPECT_EQ(FormatFixed(-2.5L, 4, 0, '.'), "  -3");
    EXPECT_EQ(FormatFixed(-4.5L, 4, 1, ','), "-4,5");
    EXPECT_EQ(FormatFixed(12345.0L, 4, 0, '.'), "12345");  // wider than 4: not cut
    // The full value rounds once, not first to a few digits.
    EXPECT_EQ(FormatFixed(1234567.25L, 4, 1, '.'), "1234567.3");
}

// Away from ties the rounding is that of printf, which rounds the exact value too.
TEST(FormatFixed, AgreesWithPrintfOffTheTies) {
    std::mt19937 random(20090614);
    std::uniform_real_distribution<float> glucose(0.0f, 600.0f);
    int compared = 0;
    for (int i = 0; i < 20000; ++i) {
        const float v = glucose(random);
        for (int decimals = 0; decimals <= 2; ++decimals) {
            const long double scaled = static_cast<long double>(v) * (decimals == 0 ? 1 : decimals == 1 ? 10 : 100);
            if (scaled - std::floor(scaled) == 0.5L) continue;
            char expected[64];
            std::snprintf(expected, sizeof expected, "%.*f", decimals, static_cast<double>(v));
            ASSERT_EQ(FormatFixed(v, 0, decimals, '.'), expected) << v;
            ++compared;
        }
    }
    EXPECT_GT(compared, 59000);
}

}  // namespace
}  // namespace zelk
