// Exact amount x rate arithmetic.
#include <gtest/gtest.h>

#include <limits>

#include "rtl/errors.h"
#include "rtl/money.h"

using namespace rtl;

TEST(Decimal, ShortestRoundTripForm) {
    struct Case {
        double v;
        int64_t units;
        int scale;
    } cases[] = {
        {4.1, 41, 1},
        {0.5, 5, 1},
        {1000, 1000, 0},
        {9, 9, 0},
        {0, 0, 0},
        {-3.25, -325, 2},
        {0.1 + 0.2, 30000000000000004, 17},
        {1e-5, 1, 5},
        {123.456, 123456, 3},
        {1.5e10, 15000000000, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(decimalFromDouble(c.v), (Decimal{c.units, c.scale})) << c.v;
    EXPECT_THROW(decimalFromDouble(1e20), ArithmeticError);
    EXPECT_THROW(decimalFromDouble(std::numeric_limits<double>::quiet_NaN()), ArithmeticError);
}

TEST(Money, PerMilleIsExactForTypedRates) {
    // In binary floating point 100000 * 4.1 / 1000 is 409.99999..., truncated 409.
    ASSERT_LT(100000 * 4.1 / 1000, 410.0);
    struct Case {
        int64_t amount;
        double rate;
        Rounding mode;
        int64_t result;
    } cases[] = {
        {100000, 4.1, Rounding::Truncate, 410},
        {100000, 4.1, Rounding::HalfEven, 410},
        {210000, 50, Rounding::HalfEven, 10500},
        {210000, 9, Rounding::HalfEven, 1890},
        {210000, 3, Rounding::HalfEven, 630},
        {250, 6, Rounding::HalfEven, 2},   // 1.5 -> 2
        {250, 2, Rounding::HalfEven, 0},   // 0.5 -> 0
        {750, 2, Rounding::HalfEven, 2},   // 1.5 -> 2
        {1250, 2, Rounding::HalfEven, 2},  // 2.5 -> 2
        {1250, 2, Rounding::HalfUp, 3},
        {1250, 2, Rounding::Truncate, 2},
        {333333, 91.5, Rounding::HalfEven, 30500},  // 30499.9695
        {123457, 4.55, Rounding::Truncate, 561},    // 561.72935
        {-1250, 2, Rounding::HalfUp, -3},
        {-1250, 2, Rounding::HalfEven, -2},
        {-1250, 2, Rounding::Truncate, -2},
        {0, 4.1, Rounding::HalfUp, 0},
        {100000, 0, Rounding::HalfUp, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(applyPerMille(c.amount, c.rate, c.mode), c.result)
            << c.amount << " x " << c.rate << " mode " << static_cast<int>(c.mode);
}

TEST(Money, PercentAndGeneralRates) {
    EXPECT_EQ(applyPercent(123456, 3.063, Rounding::Truncate), 3781);  // 3781.45728
    EXPECT_EQ(applyPercent(100000, 10.21, Rounding::Truncate), 10210);
    EXPECT_EQ(applyPercent(5, 10, Rounding::HalfEven), 0);   // 0.5
    EXPECT_EQ(applyPercent(15, 10, Rounding::HalfEven), 2);  // 1.5
    EXPECT_EQ(applyRate(120, 1000.0 / 4, 1, Rounding::HalfEven), 30000);
    EXPECT_EQ(applyRate(7, 1e-300, 1, Rounding::HalfUp), 0);
    EXPECT_THROW(applyRate(1, 1, 0, Rounding::HalfUp), ArithmeticError);
    EXPECT_THROW(applyPerMille(std::numeric_limits<int64_t>::max(), 1e15, Rounding::HalfUp), ArithmeticError);
}

TEST(Money, ShareOfTwoRates) {
    // A fixed health amount split into health and care by their rates.
    EXPECT_EQ(shareOf(20000, 9, 50 + 9, Rounding::HalfEven), 3051);  // 3050.847
    EXPECT_EQ(shareOf(10, 1, 4, Rounding::HalfEven), 2);             // 2.5 -> 2
    EXPECT_EQ(shareOf(10, 1, 4, Rounding::HalfUp), 3);
    EXPECT_EQ(shareOf(30000, 4.1, 41, Rounding::Truncate), 3000);
    EXPECT_EQ(shareOf(1000, 0.1, 0.3, Rounding::HalfEven), 333);
    EXPECT_THROW(shareOf(20000, 9, 0, Rounding::HalfEven), ArithmeticError);
}

// Parts and wholes with many decimal places are exact, not refused: only a
// result outside int64 raises.
TEST(Money, ShareOfWithManyDecimalPlaces) {
    EXPECT_EQ(shareOf(1000000, 1e-20, 1, Rounding::HalfUp), 0);
    EXPECT_EQ(shareOf(1000000, 3e-20, 6e-20, Rounding::HalfEven), 500000);
    // 1000 * 1e-20 / 1.23456789012345e-26 = 810000007.3...
    EXPECT_EQ(shareOf(1000, 1e-20, 1.23456789012345e-26, Rounding::Truncate), 810000007);
    EXPECT_THROW(shareOf(1000000, 1, 1e-40, Rounding::HalfEven), ArithmeticError);
}

TEST(Money, RoundFraction) {
    EXPECT_EQ(roundFraction(5, 2, Rounding::HalfEven), 2);
    EXPECT_EQ(roundFraction(7, 2, Rounding::HalfEven), 4);
    EXPECT_EQ(roundFraction(5, -2, Rounding::HalfUp), -3);
    EXPECT_EQ(roundFraction(-5, 2, Rounding::Truncate), -2);
    EXPECT_THROW(roundFraction(1, 0, Rounding::HalfUp), ArithmeticError);
}

// The whole int128 range of both operands: denominators above 2^126 (where
// twice the remainder no longer fits) and the smallest numerator.
TEST(Money, RoundFractionOverTheWholeRange) {
    constexpr __int128 kMax = ((static_cast<__int128>(1) << 126) - 1) * 2 + 1;
    constexpr __int128 kMin = -kMax - 1;
    EXPECT_EQ(roundFraction(kMax - 1, kMax, Rounding::HalfUp), 1);
    EXPECT_EQ(roundFraction(kMax - 1, kMax, Rounding::HalfEven), 1);
    EXPECT_EQ(roundFraction(kMax - 1, kMax, Rounding::Truncate), 0);
    EXPECT_EQ(roundFraction(-(kMax - 1), kMax, Rounding::HalfUp), -1);
    EXPECT_EQ(roundFraction(kMax / 2, kMax, Rounding::HalfEven), 0);  // a hair below one half
    EXPECT_EQ(roundFraction(kMax / 2 + 1, kMax, Rounding::HalfEven), 1);
    EXPECT_EQ(roundFraction(kMin, kMin, Rounding::Truncate), 1);
    EXPECT_EQ(roundFraction(kMin, kMax, Rounding::HalfEven), -1);
    const __int128 int64Min = std::numeric_limits<int64_t>::min();
    EXPECT_EQ(roundFraction(int64Min * 2, 2, Rounding::HalfEven), std::numeric_limits<int64_t>::min());
    EXPECT_THROW(roundFraction(-int64Min, 1, Rounding::HalfEven), ArithmeticError);
    EXPECT_THROW(roundFraction(kMin, 3, Rounding::Truncate), ArithmeticError);
}
