#include <gtest/gtest.h>

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

}  // namespace
}  // namespace zelk
