#include <kronvale/kronvale.h>

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <limits>
#include <ostream>
#include <string>

namespace {

double fromBits(std::uint64_t bits) { return std::bit_cast<double>(bits); }

// The doubles nearest to the clock times of 2024-01-15 and 2024-01-16.
const double kJan15At0200 = fromBits(0x40E61F42AAAAAAABULL);  // 45306.083333333336
const double kJan15At0900 = fromBits(0x40E61F4C00000000ULL);  // 45306.375
const double kJan15At1200 = fromBits(0x40E61F5000000000ULL);  // 45306.5
const double kJan15At1700 = fromBits(0x40E61F56AAAAAAABULL);  // 45306 + 17/24
const double kJan16At1700 = fromBits(0x40E61F76AAAAAAABULL);  // 45307 + 17/24

struct Split {
    int32_t days, hours, minutes, seconds;
    bool operator==(const Split&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Split& s) {
    return os << "{days " << s.days << ", hours " << s.hours << ", minutes " << s.minutes << ", seconds " << s.seconds
              << "}";
}

// Results start as garbage so that a result the function forgets to set shows.
Split dateTimeSplit(double from, double to) {
    Split s{-7, -7, -7, -7};
    GetFromToDateTime(from, to, &s.days, &s.hours, &s.minutes, &s.seconds);
    return s;
}

Split timeSplit(double from, double to) {
    Split s{0, -7, -7, -7};
    GetFromToTime(from, to, &s.hours, &s.minutes, &s.seconds);
    return s;
}

struct SplitCase {
    std::string name;
    double from;
    double to;
    Split dateTime;  // GetFromToDateTime
    Split time;      // GetFromToTime (days always 0)
};

void PrintTo(const SplitCase& c, std::ostream* os) { *os << c.name; }

class IntervalSplit : public testing::TestWithParam<SplitCase> {};

TEST_P(IntervalSplit, GivesTheParts) {
    const SplitCase& c = GetParam();
    EXPECT_EQ(dateTimeSplit(c.from, c.to), c.dateTime);
    EXPECT_EQ(timeSplit(c.from, c.to), c.time);
}

const double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::numeric_limits<double>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    Spans, IntervalSplit,
    testing::Values(
        SplitCase{"NineToFive", kJan15At0900, kJan15At1700, {0, 8, 0, 0}, {0, 8, 0, 0}},
        // The extended-precision quotient falls just short of 10 hours; the
        // seconds round up to 60 and carry into the minutes only.
        SplitCase{"TwoToNoonCarriesIntoMinutesOnly", kJan15At0200, kJan15At1200, {0, 9, 60, 0}, {0, 9, 60, 0}},
        // Spans just below a whole number of hours: a double quotient would
        // round up to 10 (and 17) hours, the extended quotient stays below.
        SplitCase{
            "ExtendedPrecisionDecidesTheHours", 0.0, fromBits(0x3FDAAAAAAAAAAAAAULL), {0, 9, 60, 0}, {0, 9, 60, 0}},
        SplitCase{"ExtendedPrecisionDecidesTheHoursAfterADay",
                  0.0,
                  fromBits(0x3FFB555555555555ULL),
                  {1, 16, 60, 0},
                  {0, 40, 60, 0}},
        // Exactly half of the one-second unit: the tie goes to the even 0.
        SplitCase{"HalfASecondRoundsToEven", 0.0, fromBits(0x3ED845C8A0CE5129ULL), {0, 0, 0, 0}, {0, 0, 0, 0}},
        SplitCase{"OneSecond", 0.0, fromBits(0x3EE845C8A0CE5129ULL), {0, 0, 0, 1}, {0, 0, 0, 1}},
        SplitCase{"OverOneDay", kJan15At0900, kJan16At1700, {1, 8, 0, 0}, {0, 32, 0, 0}},
        SplitCase{"SameInstant", kJan15At0900, kJan15At0900, {0, 0, 0, 0}, {0, 0, 0, 0}},
        SplitCase{"Reversed", kJan15At1700, kJan15At0900, {0, 0, 0, 0}, {0, 0, 0, 0}},
        SplitCase{"NegativeFrom", -0.5, kJan15At0900, {0, 0, 0, 0}, {0, 0, 0, 0}},
        SplitCase{"NegativeTo", 0.0, -0.25, {0, 0, 0, 0}, {0, 0, 0, 0}},
        SplitCase{"FromZero", 0.0, 1.5, {1, 12, 0, 0}, {0, 36, 0, 0}},
        // Inputs the interval arithmetic cannot measure give zeros rather than
        // undefined parts.
        SplitCase{"NotANumber", kNaN, kJan15At0900, {0, 0, 0, 0}, {0, 0, 0, 0}},
        SplitCase{"InfiniteEnd", kJan15At0900, kInf, {0, 0, 0, 0}, {0, 0, 0, 0}},
        SplitCase{"DaysBeyond32Bits", 0.0, 3.0e9, {0, 0, 0, 0}, {0, 0, 0, 0}},
        SplitCase{"HoursBeyond32Bits", 0.0, 1.0e8, {100000000, 0, 0, 0}, {0, 0, 0, 0}}),
    [](const testing::TestParamInfo<SplitCase>& info) { return info.param.name; });

// Callers take Hours * 60 + Minutes as the minutes of a span. Every whole-minute
// span of up to a day, from several starting clock times, must come out exact.
TEST(IntervalSplitMinutes, WholeMinuteSpansAreExactInHoursTimesSixtyPlusMinutes) {
    const auto at = [](int day, int minuteOfDay) {
        return day + static_cast<double>(minuteOfDay) * 60000 / 86400000.0;
    };
    for (int startMinute : {0, 120, 540, 1020, 1439}) {
        for (int span = 0; span < 1440; ++span) {
            const int end = startMinute + span;
            const double from = at(45306, startMinute);
            const double to = at(45306 + end / 1440, end % 1440);
            const Split s = dateTimeSplit(from, to);
            ASSERT_EQ(s.hours * 60 + s.minutes, span)
                << "start minute " << startMinute << ", span " << span << ": " << s;
            ASSERT_EQ(s.days, 0);
            ASSERT_EQ(s.seconds, 0);
        }
    }
}

TEST(IntervalSplitPointers, NullResultPointersAreSkipped) {
    int32_t hours = -1;
    GetFromToDateTime(kJan15At0900, kJan15At1700, nullptr, &hours, nullptr, nullptr);
    EXPECT_EQ(hours, 8);
    GetFromToTime(kJan15At0900, kJan16At1700, nullptr, nullptr, nullptr);
}

extern "C" int32_t kronvale_minutes_from_c(double from, double to);

TEST(IntervalSplitFromC, CallableFromACTranslationUnit) {
    EXPECT_EQ(kronvale_minutes_from_c(kJan15At0200, kJan15At1200), 600);
}

}  // namespace
