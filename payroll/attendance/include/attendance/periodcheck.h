// Whether the pay period a window took is still the month's: the import and
// the month totals refuse to run on a stale period in monthly mode.
#pragma once

#include <string>

#include "attendance/worktime.h"

namespace db {
class Connection;
}

namespace attendance {

// Refuses when `period` is not the monthly pay period of `year`/`month`
// under the company's closing day.
void checkMonthlyPeriod(db::Connection& connection, const PeriodDates& period, const std::string& year,
                        const std::string& month);

}  // namespace attendance
