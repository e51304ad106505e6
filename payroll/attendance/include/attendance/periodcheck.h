// Whether the pay period a window took is still the month's: the import and
// the month totals refuse to run on a stale period in monthly mode.
#pragma once

#include <string>

#include "attendance/worktime.h"

namespace attendance {

// Refuses when `period` is not the monthly pay period of `year`/`month`
// under the company's closing day `closingDay` (as stored).
void checkMonthlyPeriod(const PeriodDates& period, const std::string& year, const std::string& month,
                        const std::string& closingDay);

}  // namespace attendance
