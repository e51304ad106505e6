#include "split.h"

#include <bit>
#include <cmath>
#include <limits>

// The split reproduces results that callers have relied on for years, and those
// results depend on the intermediate precision: a span of a whole number of
// hours can come out one minute short before the seconds carry repairs it.
// That only works out with the x87 extended format (64-bit significand).
static_assert(std::numeric_limits<long double>::digits == 64,
              "Kronvale needs long double to be the 80-bit extended format");

namespace kronvale::detail {
namespace {

// The unit lengths are the doubles nearest to 1, 1/24, 1/1440 and 1/86400; the
// split divides by these inexact values instead of multiplying by 24, 1440 or
// 86400, which is what decides the results at whole hours and minutes.
constexpr long double kDay = std::bit_cast<double>(0x3FF0000000000000ULL);
constexpr long double kHour = std::bit_cast<double>(0x3FA5555555555555ULL);
constexpr long double kMinute = std::bit_cast<double>(0x3F46C16C16C16C17ULL);
constexpr long double kSecond = std::bit_cast<double>(0x3EE845C8A0CE5129ULL);

// Round to the nearest integer, halves to the even neighbour, independent of
// the floating-point rounding mode the caller may have set.
long double roundHalfEven(long double x) {
    const long double whole = std::trunc(x);
    const long double frac = std::fabs(x - whole);  // exact for binary formats
    const long double away = whole + (x < 0 ? -1.0L : 1.0L);
    if (frac > 0.5L) return away;
    if (frac < 0.5L) return whole;
    return std::fmod(whole, 2.0L) == 0 ? whole : away;
}

// 2^31 days: beyond it the days no longer fit the 32-bit result.
constexpr double kLongestSpan = 2147483648.0;

}  // namespace

IntervalParts splitInterval(double from, double to) {
    IntervalParts p;
    if (!std::isfinite(from) || !std::isfinite(to)) return p;
    if (from < 0.0 || to < 0.0 || from > to) return p;

    const double span = to - from;  // the one value rounded to a double
    if (!(span < kLongestSpan)) return p;

    // Every operation below is rounded to extended precision; the quotients
    // are truncated or rounded as extended values.
    const long double d = span;
    const long double days = std::trunc(d);
    const long double hours = std::trunc((d - days * kDay) / kHour);
    const long double minutes = std::trunc((d - (days * kDay + hours * kHour)) / kMinute);
    const long double seconds = roundHalfEven((d - (days * kDay + hours * kHour + minutes * kMinute)) / kSecond);

    p.days = static_cast<std::int64_t>(days);
    p.hours = static_cast<std::int64_t>(hours);
    p.minutes = static_cast<std::int64_t>(minutes);
    p.seconds = static_cast<std::int64_t>(seconds);

    // One carry from the seconds into the minutes, and no further: the minutes
    // may end as 60 while the hours stay as they are.
    if (p.seconds >= 60) {
        p.seconds -= 60;
        p.minutes += 1;
    }
    return p;
}

std::int64_t spanMinutes(double from, double to) {
    const IntervalParts p = splitInterval(from, to);
    return (p.days * 24 + p.hours) * 60 + p.minutes;
}

}  // namespace kronvale::detail
