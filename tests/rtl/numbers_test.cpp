// Text <-> number conversions, number masks, rounding and guarded division.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "rtl/convert.h"
#include "rtl/errors.h"
#include "rtl/format.h"
#include "rtl/rounding.h"

using namespace rtl;

TEST(StrToInt, AcceptsDecimalWithLeadingBlanksAndSign) {
    struct Case {
        const char* text;
        int32_t value;
    } cases[] = {
        {"0", 0},
        {"42", 42},
        {"  42", 42},
        {"+7", 7},
        {"-7", -7},
        {" -0012", -12},
        {"000012", 12},
        {"999999", 999999},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        {"\t5", 5},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(strToInt(c.text), c.value) << c.text;
        int32_t v = 0;
        EXPECT_TRUE(tryStrToInt(c.text, v)) << c.text;
    }
}

TEST(StrToInt, RefusesEverythingElse) {
    const char* cases[] = {
        "",     " ",     "-",   "+",   "42 ", "4 2",        "1.0",         "1e3",  "$1F",
        "0x1F", "1,000", "abc", "--1", "+-1", "2147483648", "-2147483649", "１２", "12a",
    };
    for (const char* text : cases) {
        int32_t v = 99;
        EXPECT_FALSE(tryStrToInt(text, v)) << text;
        EXPECT_EQ(v, 99);
        try {
            strToInt(text);
            ADD_FAILURE() << text;
        } catch (const ConversionError& e) {
            EXPECT_EQ(std::string(e.what()), "'" + std::string(text) + "' は整数ではありません");
        }
    }
    EXPECT_EQ(strToIntDef("x", -1), -1);
}

TEST(StrToInt64, FullRange) {
    EXPECT_EQ(strToInt64("9223372036854775807"), std::numeric_limits<int64_t>::max());
    EXPECT_EQ(strToInt64("-9223372036854775808"), std::numeric_limits<int64_t>::min());
    EXPECT_EQ(strToInt64("2147483648"), 2147483648LL);
    EXPECT_THROW(strToInt64("9223372036854775808"), ConversionError);
    EXPECT_THROW(strToInt64("-9223372036854775809"), ConversionError);
}

TEST(StrToFloat, Grammar) {
    struct Case {
        const char* text;
        double value;
    } cases[] = {
        {"4.1", 4.1}, {" 4.1 ", 4.1}, {"-0.5", -0.5},    {"+3", 3}, {".5", 0.5},
        {"5.", 5},    {"1e3", 1000},  {"1.5E-2", 0.015}, {"0", 0},  {"120", 120},
    };
    for (const auto& c : cases) EXPECT_EQ(strToFloat(c.text), c.value) << c.text;
    const char* bad[] = {"", " ", ".", "-", "1,5", "1.2.3", "e5", "1e", "inf", "nan", "1e999", "0x10", "4.1円"};
    for (const char* text : bad) {
        double v = 7;
        EXPECT_FALSE(tryStrToFloat(text, v)) << text;
        EXPECT_EQ(v, 7);
    }
    try {
        strToFloat("abc");
        ADD_FAILURE();
    } catch (const ConversionError& e) {
        EXPECT_STREQ(e.what(), "'abc' は浮動小数点数ではありません");
    }
}

// The nearest double of text below the smallest double is zero; beyond the
// largest there is none.
TEST(StrToFloat, UnderflowGivesZero) {
    EXPECT_EQ(strToFloat("1e-400"), 0.0);
    EXPECT_TRUE(std::signbit(strToFloat("-1e-400")));
    EXPECT_EQ(strToFloat("0.00001e-99999999999999999999"), 0.0);
    EXPECT_EQ(strToFloat("1e-310"), 1e-310);  // subnormal, still representable
    double v = 7;
    EXPECT_FALSE(tryStrToFloat("1e400", v));
    EXPECT_FALSE(tryStrToFloat("123456e99999999999", v));
}

TEST(NumberToText, IntAndGeneralFloat) {
    EXPECT_EQ(intToStr(-1234567890123LL), "-1234567890123");
    struct Case {
        double value;
        const char* text;
    } cases[] = {
        {0, "0"},
        {4.1, "4.1"},
        {0.1 + 0.2, "0.3"},
        {-2.5, "-2.5"},
        {100, "100"},
        {123456789012345.0, "123456789012345"},
        {1e15, "1E15"},
        {0.0001, "0.0001"},
        {0.00001, "1E-5"},
        {1.5e-7, "1.5E-7"},
        {1.0 / 3, "0.333333333333333"},
        {-0.0, "0"},
    };
    for (const auto& c : cases) EXPECT_EQ(floatToStr(c.value), c.text) << c.value;
}

TEST(FormatFloat, Masks) {
    struct Case {
        const char* mask;
        double value;
        const char* text;
    } cases[] = {
        {"#,##0", 0, "0"},
        {"#,##0", 999, "999"},
        {"#,##0", 1000, "1,000"},
        {"#,##0", 1234567, "1,234,567"},
        {"#,##0", -1234567, "-1,234,567"},
        {"#,##0", 1234.5, "1,235"},
        {"#,##0", -0.4, "0"},
        {"#0.0#", 4.1, "4.1"},
        {"#0.0#", 4, "4.0"},
        {"#0.0#", 0, "0.0"},
        {"#0.0#", 4.125, "4.13"},
        {"#0.0#", 2.675, "2.68"},
        {"#0.0#", 9.996, "10.0"},
        {"#0.0#", 0.05, "0.05"},
        {"#0.0#", -1.5, "-1.5"},
        {"#0", 2.5, "3"},
        {"#0", 3.5, "4"},
        {"#0", 0.4, "0"},
        {"#0", 65, "65"},
        {"#0.##", 4, "4"},
        {"#0.##", 4.1, "4.1"},
        {"#0.##", 4.005, "4.01"},
        {"#0.##", 0.999, "1"},
        {"0000", 42, "0042"},
        {"#.##", 0.5, ".5"},
        {"#,##0円", 1500, "1,500円"},
        {"\"¥\"#,##0", 1500, "¥1,500"},
        {"#,##0;(#,##0)", -1500, "(1,500)"},
        {"#,##0;(#,##0);ゼロ", 0, "ゼロ"},
    };
    for (const auto& c : cases) EXPECT_EQ(formatFloat(c.mask, c.value), c.text) << c.mask << " " << c.value;
    EXPECT_EQ(formatFloat("", 4.1), "4.1");
    EXPECT_THROW(formatFloat("#0", std::numeric_limits<double>::infinity()), ArithmeticError);
}

TEST(FormatInteger, ExactBeyondDoublePrecision) {
    EXPECT_EQ(formatInteger("#,##0", 9007199254740993LL), "9,007,199,254,740,993");
    EXPECT_EQ(formatInteger("#,##0", std::numeric_limits<int64_t>::min()), "-9,223,372,036,854,775,808");
    EXPECT_EQ(formatInteger("#0.0#", 4), "4.0");
    EXPECT_EQ(formatInteger("#,##0", 0), "0");
}

TEST(Rounding, ThreeKindsKeptApart) {
    struct Case {
        double x;
        int64_t even, up, cut;
    } cases[] = {
        {2.5, 2, 3, 2},
        {3.5, 4, 4, 3},
        {12.5, 12, 13, 12},
        {0.5, 0, 1, 0},
        {1.5, 2, 2, 1},
        {2.4999999, 2, 2, 2},
        {2.5000001, 3, 3, 2},
        {-2.5, -2, -3, -2},
        {-3.5, -4, -4, -3},
        {-2.7, -3, -3, -2},
        {0.49999999999999994, 0, 0, 0},
        {4503599627370497.0, 4503599627370497, 4503599627370497, 4503599627370497},
        {0, 0, 0, 0},
        {7, 7, 7, 7},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(roundBankers(c.x), c.even) << c.x;
        EXPECT_EQ(roundHalfUp(c.x), c.up) << c.x;
        EXPECT_EQ(rtl::trunc(c.x), c.cut) << c.x;
        EXPECT_EQ(roundWith(Rounding::HalfEven, c.x), c.even);
        EXPECT_EQ(roundWith(Rounding::HalfUp, c.x), c.up);
        EXPECT_EQ(roundWith(Rounding::Truncate, c.x), c.cut);
    }
}

TEST(Rounding, NonFiniteAndOutOfRangeRaise) {
    const double bad[] = {std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
                          std::numeric_limits<double>::quiet_NaN(), 9.3e18, -9.3e18};
    for (double x : bad) {
        EXPECT_THROW(roundBankers(x), ArithmeticError) << x;
        EXPECT_THROW(roundHalfUp(x), ArithmeticError) << x;
        EXPECT_THROW(rtl::trunc(x), ArithmeticError) << x;
    }
    EXPECT_EQ(rtl::trunc(-9223372036854775808.0), std::numeric_limits<int64_t>::min());
}

TEST(Division, ZeroAndInfinitiesRaise) {
    EXPECT_EQ(divide(7, 2), 3.5);
    try {
        divide(1, 0);
        ADD_FAILURE();
    } catch (const ArithmeticError& e) {
        EXPECT_STREQ(e.what(), "0 で除算しました");
    }
    EXPECT_THROW(divide(0, 0), ArithmeticError);
    EXPECT_THROW(divide(1e308, 1e-308), ArithmeticError);
    EXPECT_THROW(divide(std::numeric_limits<double>::infinity(), 2), ArithmeticError);
    EXPECT_THROW(checkFinite(std::nan("")), ArithmeticError);
    EXPECT_EQ(intDiv(-7, 2), -3);
    EXPECT_EQ(intMod(-7, 2), -1);
    EXPECT_THROW(intDiv(1, 0), ArithmeticError);
    EXPECT_THROW(intMod(1, 0), ArithmeticError);
    EXPECT_THROW(intDiv(std::numeric_limits<int64_t>::min(), -1), ArithmeticError);
    EXPECT_EQ(intMod(std::numeric_limits<int64_t>::min(), -1), 0);
}
