// Date-times: encoding, parsing, formatting, eras, month arithmetic, age.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>

#include "rtl/clock.h"
#include "rtl/datetime.h"
#include "rtl/errors.h"

using namespace rtl;

namespace {

// All tests that parse two-digit years or read today run on a fixed clock.
class DateTimeTest : public ::testing::Test {
protected:
    DateTimeTest() : clock_(encodeDateTime(2025, 6, 15, 10, 30, 0)) {}
    ScopedTestClock clock_;
};

std::string ymdhns(TDateTime v) {
    const DateParts d = decodeDate(v);
    const TimeParts t = decodeTime(v);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d.%03d", d.year, d.month, d.day, t.hour, t.minute,
                  t.second, t.msec);
    return buf;
}

}  // namespace

TEST(DateTimeEncode, DayNumbersOfKnownDates) {
    struct Case {
        int y, m, d;
        double day;
    } cases[] = {
        {1899, 12, 30, 0},    {1899, 12, 31, 1},    {1900, 1, 1, 2},    {1899, 12, 29, -1},
        {2000, 2, 29, 36585}, {2024, 1, 15, 45306}, {1, 1, 1, -693593}, {9999, 12, 31, 2958465},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(encodeDate(c.y, c.m, c.d), c.day) << c.y << "-" << c.m << "-" << c.d;
        EXPECT_EQ(decodeDate(c.day), (DateParts{c.y, c.m, c.d})) << c.day;
    }
}

TEST(DateTimeEncode, BitExactDayPlusMilliseconds) {
    const TDateTime v = encodeDateTime(2024, 1, 15, 2, 0, 0);
    EXPECT_EQ(std::bit_cast<uint64_t>(v), 0x40E61F42AAAAAAABULL);
    EXPECT_EQ(v, 45306.0 + 7200000 / 86400000.0);
    EXPECT_EQ(encodeTime(2, 0, 0), 7200000 / 86400000.0);
}

// The encoding is the two double operations as written, not the nearest
// double to the instant: here they differ by one unit in the last place, and
// the encoding keeps the one the interval library's results rest on.
TEST(DateTimeEncode, DayPlusMillisecondsEvenWhereNotTheNearestDouble) {
    const TDateTime v = encodeDateTime(2011, 8, 5, 23, 1, 20, 429);
    EXPECT_EQ(std::bit_cast<uint64_t>(v), 0x40E3E71EB24AE314ULL);
    EXPECT_EQ(v, 40760.0 + 82880429 / 86400000.0);
    EXPECT_EQ(decodeTime(v), (TimeParts{23, 1, 20, 429}));
}

TEST(DateTimeEncode, BeforeEpochTheTimeIsSubtracted) {
    const TDateTime v = encodeDateTime(1899, 12, 29, 6, 0, 0);
    EXPECT_DOUBLE_EQ(v, -1.25);
    EXPECT_EQ(ymdhns(v), "1899-12-29 06:00:00.000");
}

TEST(DateTimeEncode, ImpossibleDatesAndTimesAreRefused) {
    EXPECT_THROW(encodeDate(2014, 2, 29), ConversionError);
    EXPECT_THROW(encodeDate(2014, 13, 1), ConversionError);
    EXPECT_THROW(encodeDate(0, 1, 1), ConversionError);
    EXPECT_THROW(encodeTime(24, 0, 0), ConversionError);
    EXPECT_THROW(encodeDateTime(2014, 1, 1, 0, 60, 0), ConversionError);
    EXPECT_TRUE(isValidDate(2000, 2, 29));
    EXPECT_FALSE(isValidDate(1900, 2, 29));
    EXPECT_EQ(daysInMonth(2024, 2), 29);
    EXPECT_EQ(daysInMonth(2023, 2), 28);
    EXPECT_EQ(daysInMonth(2023, 4), 30);
    EXPECT_EQ(daysInMonth(2023, 0), 0);
}

TEST(DateTimeDecode, RoundsToTheMillisecondAcrossMidnight) {
    const TDateTime almostMidnight = 45306.0 + (86400000.0 - 0.2) / 86400000.0;
    EXPECT_EQ(ymdhns(almostMidnight), "2024-01-16 00:00:00.000");
    EXPECT_EQ(dateToStr(almostMidnight), "24/01/16");
    EXPECT_EQ(ymdhns(encodeDateTime(2024, 1, 15, 23, 59, 59, 999)), "2024-01-15 23:59:59.999");
    EXPECT_EQ(dayOfWeek(encodeDate(2024, 1, 15)), 2);  // a Monday
    EXPECT_EQ(dayOfWeek(0), 7);                        // 1899-12-30, a Saturday
    EXPECT_EQ(dateOf(encodeDateTime(2024, 1, 15, 18, 0, 0)), 45306.0);
    EXPECT_DOUBLE_EQ(timeOf(encodeDateTime(2024, 1, 15, 18, 0, 0)), 0.75);
}

TEST_F(DateTimeTest, ParsesDates) {
    struct Case {
        const char* text;
        const char* expected;
    } cases[] = {
        {"2014/08/05", "2014-08-05 00:00:00.000"}, {"2014/08/5", "2014-08-05 00:00:00.000"},
        {"2014/8/5", "2014-08-05 00:00:00.000"},   {"14/08/05", "2014-08-05 00:00:00.000"},
        {"14/8/5", "2014-08-05 00:00:00.000"},     {"  14/08/05  ", "2014-08-05 00:00:00.000"},
        {"2000/02/29", "2000-02-29 00:00:00.000"}, {"1910/01/01", "1910-01-01 00:00:00.000"},
        {"08/05", "2025-08-05 00:00:00.000"},  // month and day in the current year
    };
    for (const auto& c : cases) {
        TDateTime v = -1;
        EXPECT_TRUE(tryStrToDate(c.text, v)) << c.text;
        EXPECT_EQ(ymdhns(v), c.expected) << c.text;
        EXPECT_EQ(ymdhns(strToDate(c.text)), c.expected) << c.text;
    }
}

TEST_F(DateTimeTest, RefusesNonDates) {
    const char* cases[] = {
        "",           " ",          "2014/02/29",  "2014/13/01",       "2014/00/10",
        "2014/01/32", "2014/01/00", "2014-08-05",  "2014/08/05 10:00", "2014/08",
        "2014/",      "/08/05",     "20145/01/01", "2014/008/05",      "2014/08/05x",
        "14 /08/05",  "abc",        "0000/01/01",
    };
    for (const char* text : cases) {
        TDateTime v = 123;
        EXPECT_FALSE(tryStrToDate(text, v)) << text;
        EXPECT_EQ(v, 123) << "untouched on failure: " << text;
        try {
            strToDate(text);
            ADD_FAILURE() << text;
        } catch (const ConversionError& e) {
            EXPECT_EQ(std::string(e.what()), "'" + std::string(text) + "' は日付ではありません");
        }
    }
}

TEST_F(DateTimeTest, ParsesTimesWithAnyNumberOfDigits) {
    struct Case {
        const char* text;
        int h, m, s;
    } cases[] = {
        {"1:0:00", 1, 0, 0},
        {"010:00:00", 10, 0, 0},
        {"08:30", 8, 30, 0},
        {"23:59:59", 23, 59, 59},
        {"0:0", 0, 0, 0},
        {" 7:05 ", 7, 5, 0},
        {"0000007:000005", 7, 5, 0},
        // Leading zeros beyond any fixed width still read as the plain number.
        {"0000000000010:00:00", 10, 0, 0},
        {"7:0000000000030:000000000005", 7, 30, 5},
    };
    for (const auto& c : cases) {
        TDateTime v = -1;
        ASSERT_TRUE(tryStrToTime(c.text, v)) << c.text;
        EXPECT_EQ(v, encodeTime(c.h, c.m, c.s)) << c.text;
    }
    const char* bad[] = {"24:00",
                         "25:00:00",
                         "10:60",
                         "10:00:60",
                         "10",
                         "10:",
                         ":10",
                         "1 0:00",
                         "",
                         "10:00:00:00",
                         "99999999999999999999:00",
                         "10:18446744073709551616"};
    for (const char* text : bad) {
        TDateTime v;
        EXPECT_FALSE(tryStrToTime(text, v)) << text;
    }
    EXPECT_THROW(strToTime("24:00"), ConversionError);
}

TEST_F(DateTimeTest, ParsesDateTimes) {
    struct Case {
        const char* text;
        const char* expected;
    } cases[] = {
        {"2014/08/05 10:00", "2014-08-05 10:00:00.000"},
        {"2014/08/5 1:0:00", "2014-08-05 01:00:00.000"},
        {"14/08/05 010:00:00", "2014-08-05 10:00:00.000"},
        {"14/08/05 000000000001:0:00", "2014-08-05 01:00:00.000"},
        {"14/08/05   23:59:59", "2014-08-05 23:59:59.000"},
        {"14/08/05", "2014-08-05 00:00:00.000"},
        {"10:30", "1899-12-30 10:30:00.000"},  // a time alone is a time on day 0
    };
    for (const auto& c : cases) {
        TDateTime v = -1;
        EXPECT_TRUE(tryStrToDateTime(c.text, v)) << c.text;
        EXPECT_EQ(ymdhns(v), c.expected) << c.text;
    }
    EXPECT_EQ(strToDateTime("2024/01/15 02:00"), encodeDateTime(2024, 1, 15, 2, 0, 0));
    const char* bad[] = {"2014/08/05 24:00", "2014/02/29 10:00", "2014/08/0510:00", "2014/08/05 x", ""};
    for (const char* text : bad) {
        TDateTime v;
        EXPECT_FALSE(tryStrToDateTime(text, v)) << text;
    }
    try {
        strToDateTime("2014/08/05 24:00");
        ADD_FAILURE();
    } catch (const ConversionError& e) {
        EXPECT_STREQ(e.what(), "'2014/08/05 24:00' は日付または時刻ではありません");
    }
}

TEST(TwoDigitYears, WindowFollowsTheClock) {
    struct Case {
        int clockYear, yy, expected;
    } cases[] = {
        {2025, 14, 2014}, {2025, 75, 1975}, {2025, 74, 2074}, {2025, 0, 2000}, {2025, 99, 1999},
        {2000, 50, 1950}, {2000, 49, 2049}, {2000, 0, 2000},  {2060, 9, 2109}, {2060, 10, 2010},
    };
    for (const auto& c : cases) {
        ScopedTestClock clock(encodeDate(c.clockYear, 1, 1));
        EXPECT_EQ(expandTwoDigitYear(c.yy), c.expected) << c.clockYear << " " << c.yy;
        EXPECT_EQ(yearOf(strToDate(std::to_string(c.yy) + "/01/01")), c.expected);
    }
}

TEST(Clock, TestClockIsInjectableAndRestored) {
    const TDateTime fixed = encodeDateTime(2024, 1, 15, 2, 0, 0);
    {
        ScopedTestClock outer(fixed);
        EXPECT_EQ(now(), fixed);
        EXPECT_EQ(today(), encodeDate(2024, 1, 15));
        EXPECT_EQ(currentYear(), 2024);
        {
            ScopedTestClock inner(encodeDate(1999, 3, 1));
            EXPECT_EQ(currentYear(), 1999);
        }
        EXPECT_EQ(now(), fixed);
    }
    EXPECT_GT(now(), encodeDate(2024, 1, 1));  // the system clock again
    setClockForTesting(fixed);
    EXPECT_EQ(now(), fixed);
    resetClock();
    EXPECT_NE(now(), fixed);
}

TEST(DateTimeFormat, FixedFormats) {
    EXPECT_EQ(dateToStr(encodeDate(2014, 8, 5)), "14/08/05");
    EXPECT_EQ(timeToStr(encodeTime(9, 5, 7)), "09:05:07");
    EXPECT_EQ(shortTimeToStr(encodeTime(9, 5, 7)), "09:05");
    // A date-time as text keeps its time also at midnight.
    EXPECT_EQ(dateTimeToStr(encodeDate(2014, 8, 5)), "14/08/05 00:00:00");
    EXPECT_EQ(dateTimeToStr(encodeDateTime(2014, 8, 5, 17, 45, 30)), "14/08/05 17:45:30");
}

TEST(DateTimeFormat, Masks) {
    const TDateTime v = encodeDateTime(2014, 8, 5, 7, 3, 9, 45);
    struct Case {
        const char* mask;
        const char* expected;
    } cases[] = {
        {"yyyy/mm/dd", "2014/08/05"},
        {"yy/mm/dd", "14/08/05"},
        {"yyyy/m/d", "2014/8/5"},
        {"YYYY/MM/DD", "2014/08/05"},
        {"hh:nn:ss", "07:03:09"},
        {"h:n:s", "7:3:9"},
        {"hh:mm", "07:03"},  // mm after an hour is minutes
        {"HH:mm:ss", "07:03:09"},
        {"hh mm", "07 03"},
        {"mm hh mm", "08 07 03"},
        {"yyyy/mm/dd hh:nn", "2014/08/05 07:03"},
        {"zzz", "045"},
        {"yyyy\"年\"m\"月\"d\"日\"", "2014年8月5日"},
        {"yyyy'年'mm'月'", "2014年08月"},
        {"mmmm", "8月"},
        {"ddd dddd", "火 火曜日"},
        {"ddddd", "14/08/05"},
        {"dddddd", "2014年8月5日"},
        {"t", "07:03"},
        {"tt", "07:03:09"},
        {"c", "14/08/05 07:03:09"},
        {"yyyymmdd", "20140805"},
        {"ggg", "平成"},
        {"gg", "平成"},
        {"g", "平"},
        {"ggge年", "平成26年"},
        {"gggee", "平成26"},
    };
    for (const auto& c : cases) EXPECT_EQ(formatDateTime(c.mask, v), c.expected) << c.mask;
    EXPECT_EQ(formatDateTime("c", encodeDate(2014, 8, 5)), "14/08/05");
}

TEST(DateTimeFormat, EraBoundaries) {
    struct Case {
        int y, m, d;
        const char* expected;
    } cases[] = {
        {1926, 12, 24, "大正15"}, {1926, 12, 25, "昭和1"}, {1989, 1, 7, "昭和64"}, {1989, 1, 8, "平成1"},
        {2019, 4, 30, "平成31"},  {2019, 5, 1, "令和1"},   {2025, 6, 15, "令和7"}, {1960, 4, 1, "昭和35"},
        {1912, 7, 30, "大正1"},   {1912, 7, 29, "明治45"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatDateTime("ggge", encodeDate(c.y, c.m, c.d)), c.expected) << c.y << "-" << c.m << "-" << c.d;
    EXPECT_EQ(eraOf(encodeDate(1850, 1, 1)).name, "");
}

TEST(DateArithmetic, IncMonthClampsTheDay) {
    struct Case {
        int y, m, d, months;
        int ey, em, ed;
    } cases[] = {
        {2014, 3, 31, -1, 2014, 2, 28},   {2016, 3, 31, -1, 2016, 2, 29}, {2014, 1, 31, 1, 2014, 2, 28},
        {2014, 1, 31, 3, 2014, 4, 30},    {2014, 12, 15, 1, 2015, 1, 15}, {2014, 1, 15, -1, 2013, 12, 15},
        {2014, 5, 31, -17, 2012, 12, 31}, {2014, 5, 20, 0, 2014, 5, 20},  {2015, 2, 28, 12, 2016, 2, 28},
        {2016, 2, 29, 12, 2017, 2, 28},   {2014, 8, 31, 24, 2016, 8, 31},
    };
    for (const auto& c : cases)
        EXPECT_EQ(incMonth(encodeDate(c.y, c.m, c.d), c.months), encodeDate(c.ey, c.em, c.ed))
            << c.y << "-" << c.m << "-" << c.d << " " << c.months;
    // The time of day is kept.
    EXPECT_EQ(incMonth(encodeDateTime(2014, 3, 31, 12, 0, 0), -1), encodeDateTime(2014, 2, 28, 12, 0, 0));
    EXPECT_EQ(incYear(encodeDate(2016, 2, 29)), encodeDate(2017, 2, 28));
    EXPECT_EQ(incDay(encodeDate(2014, 2, 28), 1), encodeDate(2014, 3, 1));
    EXPECT_EQ(incDay(encodeDateTime(2014, 3, 1, 6, 0, 0), -1), encodeDateTime(2014, 2, 28, 6, 0, 0));
    EXPECT_THROW(incMonth(encodeDate(9999, 12, 1), 1), ConversionError);
}

// Counts and values no date can take raise the runtime's arithmetic error
// instead of overflowing or converting NaN to an integer.
TEST(DateArithmetic, OutOfRangeArgumentsRaise) {
    const TDateTime day = encodeDate(2014, 5, 20);
    EXPECT_THROW(incYear(day, std::numeric_limits<int>::max()), ArithmeticError);
    EXPECT_THROW(incYear(day, std::numeric_limits<int>::min()), ArithmeticError);
    EXPECT_THROW(incYear(day, 200000000), ArithmeticError);
    EXPECT_THROW(incYear(day, 10000), ConversionError);  // fits, but beyond year 9999
    EXPECT_THROW(daysBetween(std::nan(""), day), ArithmeticError);
    EXPECT_THROW(daysBetween(day, std::nan("")), ArithmeticError);
    EXPECT_THROW(daysBetween(day, HUGE_VAL), ArithmeticError);
    EXPECT_THROW(daysBetween(1e300, -1e300), ArithmeticError);
    EXPECT_THROW(ageInYears(std::nan(""), day), ArithmeticError);
    // Found by fuzzing: days * 4 overflowed for a huge span.
    EXPECT_THROW(ageInYears(-1e18, 1e18), ArithmeticError);
    EXPECT_EQ(ageInYears(0, 1461.0 * 1000000), 4000000);
}

TEST(DateArithmetic, AgeByThe36525DayRule) {
    const TDateTime birth = encodeDate(1980, 4, 1);
    struct Case {
        double daysLater;
        int age;
    } cases[] = {
        {0, 0},
        {365, 0},
        {366, 1},
        {40 * 365.25 - 1, 39},
        {40 * 365.25, 40},
        {65 * 365.25 - 0.25, 64},
        {65 * 365.25 + 0.75, 65},
    };
    for (const auto& c : cases) EXPECT_EQ(ageInYears(birth, birth + std::floor(c.daysLater)), c.age) << c.daysLater;
    // Without sign: a birth date after the day counts the same.
    EXPECT_EQ(ageInYears(birth + 366, birth), 1);
    EXPECT_EQ(daysBetween(encodeDateTime(2014, 1, 2, 0, 0, 0), encodeDateTime(2014, 1, 1, 12, 0, 0)), 0);
    EXPECT_EQ(daysBetween(encodeDate(2014, 1, 1), encodeDate(2014, 3, 1)), 59);
}
