// Splitting an interval between two date-times into days, hours, minutes and
// seconds. Internal to Kronvale.
#pragma once

#include <cstdint>

namespace kronvale::detail {

struct IntervalParts {
    std::int64_t days = 0;
    std::int64_t hours = 0;
    std::int64_t minutes = 0;
    std::int64_t seconds = 0;
};

// All parts 0 when From or To is negative or not finite, when From is after
// To, or when the span is too long for its days to fit a 32-bit integer.
IntervalParts splitInterval(double from, double to);

// Hours * 60 + Minutes of the split with the days folded into the hours;
// 0 when the split refuses the interval.
std::int64_t spanMinutes(double from, double to);

}  // namespace kronvale::detail
