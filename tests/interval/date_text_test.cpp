// The text conversions inside Kronvale: the runtime's rules and messages.
#include "datetext.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <string>

namespace {

using namespace kronvale::detail;

std::uint64_t bitsOf(double d) { return std::bit_cast<std::uint64_t>(d); }

TEST(DateTextEncoding, DayPlusMillisecondsGivesTheNearestDouble) {
    EXPECT_EQ(bitsOf(encodeDateTime(2024, 1, 15, 2, 0, 0)), 0x40E61F42AAAAAAABULL);
    EXPECT_EQ(bitsOf(textToDateTime("2024/01/15 02:00:00", 2025)), 0x40E61F42AAAAAAABULL);
    EXPECT_EQ(bitsOf(encodeDateTime(2024, 1, 15, 17, 0, 0)), 0x40E61F56AAAAAAABULL);
    EXPECT_EQ(encodeDateTime(1899, 12, 30, 0, 0, 0), 0.0);
    EXPECT_EQ(encodeDateTime(1900, 1, 1, 0, 0, 0), 2.0);
    EXPECT_EQ(encodeDateTime(2024, 1, 15, 9, 0, 0), 45306.375);
    // Before the epoch the time of day counts away from zero.
    EXPECT_EQ(encodeDateTime(1899, 12, 29, 6, 0, 0), -1.25);
    EXPECT_EQ(textToDateTime("1899/12/29 06:00:00", 2025), -1.25);
}

struct YearCase {
    const char* text;
    int currentYear;
    int year, month, day;
};

void PrintTo(const YearCase& c, std::ostream* os) { *os << c.text << " in " << c.currentYear; }

class TwoDigitYear : public testing::TestWithParam<YearCase> {};

TEST_P(TwoDigitYear, LiesWithinFiftyYearsBackAndFortyNineAhead) {
    const YearCase& c = GetParam();
    EXPECT_EQ(textToDate(c.text, c.currentYear), encodeDateTime(c.year, c.month, c.day, 0, 0, 0))
        << c.text << " in " << c.currentYear;
}

INSTANTIATE_TEST_SUITE_P(
    Windows, TwoDigitYear,
    testing::Values(YearCase{"24/01/15", 2025, 2024, 1, 15}, YearCase{"75/01/01", 2025, 1975, 1, 1},
                    YearCase{"74/12/31", 2025, 2074, 12, 31}, YearCase{"50/06/01", 2000, 1950, 6, 1},
                    YearCase{"49/06/01", 2000, 2049, 6, 1}, YearCase{"00/02/29", 2025, 2000, 2, 29},
                    YearCase{"5/1/2", 2025, 2005, 1, 2}, YearCase{"2014/08/5", 2025, 2014, 8, 5},
                    YearCase{" 2014 / 8 / 05 ", 2025, 2014, 8, 5}, YearCase{"1899/12/30", 2025, 1899, 12, 30}));

TEST(DateTextTimes, FieldsOfAnyNumberOfDigits) {
    EXPECT_EQ(textToDateTime("2024/01/15 1:0:00", 2025), encodeDateTime(2024, 1, 15, 1, 0, 0));
    EXPECT_EQ(textToDateTime("2024/01/15 010:00:00", 2025), encodeDateTime(2024, 1, 15, 10, 0, 0));
    EXPECT_EQ(textToDateTime("2024/01/15 23:59", 2025), encodeDateTime(2024, 1, 15, 23, 59, 0));
    EXPECT_EQ(textToDateTime("24/01/15 09:30:15", 2025), encodeDateTime(2024, 1, 15, 9, 30, 15));
    EXPECT_EQ(textToDateTime("2024/01/15", 2025), encodeDateTime(2024, 1, 15, 0, 0, 0));
}

class BadDateTime : public testing::TestWithParam<const char*> {};

TEST_P(BadDateTime, RaisesTheDateOrTimeError) {
    const std::string text = GetParam();
    try {
        textToDateTime(text, 2025);
        ADD_FAILURE() << "accepted '" << text << "'";
    } catch (const ConversionError& e) {
        EXPECT_EQ(std::string(e.what()), "'" + text + "' は日付または時刻ではありません");
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, BadDateTime,
                         testing::Values("2024/01/15 24:00:00", "2024/01/15 25:00:00", "2024/01/15 23:60:00",
                                         "2024/01/15 23:00:60", "2014/02/29 00:00:00", "2024/13/01 09:00:00",
                                         "2024/01/15 ab:cd:00", "2024/01/15 9:00:00:00", "2024/01/1509:00:00",
                                         "2024/01/15 9", "09:00:00", "", "10000/01/01 00:00:00"));

class BadDate : public testing::TestWithParam<const char*> {};

TEST_P(BadDate, RaisesTheDateError) {
    const std::string text = GetParam();
    try {
        textToDate(text, 2025);
        ADD_FAILURE() << "accepted '" << text << "'";
    } catch (const ConversionError& e) {
        EXPECT_EQ(std::string(e.what()), "'" + text + "' は日付ではありません");
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, BadDate,
                         testing::Values("2014/02/29", "23/02/29", "24/02/30", "24/04/31", "24/00/10", "24/01/00",
                                         "24/01", "24-01-15", "24/01/15 09:00", "24/01/15x", "", "0/0/0"));

struct IntCase {
    const char* text;
    std::int32_t value;
};

void PrintTo(const IntCase& c, std::ostream* os) { *os << '"' << c.text << "\" -> " << c.value; }

class IntegerText : public testing::TestWithParam<IntCase> {};

TEST_P(IntegerText, Converts) { EXPECT_EQ(textToInt(GetParam().text), GetParam().value) << GetParam().text; }

INSTANTIATE_TEST_SUITE_P(Texts, IntegerText,
                         testing::Values(IntCase{"09", 9}, IntCase{"0930", 930}, IntCase{" 9", 9}, IntCase{"+7", 7},
                                         IntCase{"-3", -3}, IntCase{"2147483647", 2147483647},
                                         IntCase{"-2147483648", -2147483647 - 1}));

class BadIntegerText : public testing::TestWithParam<const char*> {};

TEST_P(BadIntegerText, RaisesTheIntegerError) {
    const std::string text = GetParam();
    try {
        textToInt(text);
        ADD_FAILURE() << "accepted '" << text << "'";
    } catch (const ConversionError& e) {
        EXPECT_EQ(std::string(e.what()), "'" + text + "' は整数ではありません");
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, BadIntegerText,
                         testing::Values("", " ", "+", "9:", "12a", "1 ", "ab", "2147483648", "0x10"));

TEST(DateTextFormat, DatePartAsFourDigitYearMonthDay) {
    EXPECT_EQ(formatYmd(45306.0), "2024/01/15");
    EXPECT_EQ(formatYmd(45306.99), "2024/01/15");
    EXPECT_EQ(formatYmd(45306.0 + 1), "2024/01/16");
    EXPECT_EQ(formatYmd(encodeDateTime(2024, 12, 31, 0, 0, 0) + 1), "2025/01/01");
    EXPECT_EQ(formatYmd(encodeDateTime(2024, 2, 28, 0, 0, 0) + 1), "2024/02/29");
    EXPECT_EQ(formatYmd(2.0), "1900/01/01");
}

}  // namespace
