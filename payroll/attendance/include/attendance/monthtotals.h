// The month totals: each employee in service with attendance rows in the pay
// period gets one pay record in sum_tran under the period's key (MonthKey,
// or the weekly/daily key), replacing that key's records in one transaction.
#pragma once

#include <string>
#include <vector>

#include "attendance/store.h"
#include "attendance/worktime.h"

namespace db {
class Connection;
}

namespace attendance {

// Shown (after the count) when rows of the period have no worked time.
inline constexpr const char* kBadRowsSuffix = " 個のデータが不正です。訂正して下さい。";
// Shown when the records could not be computed or written.
inline constexpr const char* kInconsistentMessage = "データに不整合があります。修正して下さい。";

// The refusal for rows without worked time: the run stops at its first check,
// before it touches the window's view or the records.
class BadRowsRefusal : public Refusal {
public:
    using Refusal::Refusal;
};

// The pay record of one employee from the employee's rows of the period (in
// date order). Raises rtl::ConversionError for a minute or worked-time text
// that is not a number.
PayRecord sumEmployee(const Employee& employee, const WorkCategory& category,
                      const std::vector<const AttendanceRow*>& rows, const std::string& key);

struct MonthTotalsResult {
    long long records = 0;
};

// Refuses, before anything is deleted: rows of the period without worked
// time (BadRowsRefusal: their count and kBadRowsSuffix); a category that cannot be used; a
// row whose texts are not numbers (kInconsistentMessage and the reason).
// Called by the pay-data window's "金額計算" and by tools.
MonthTotalsResult sumMonth(db::Connection& connection, const PeriodDates& period, const std::string& key);

}  // namespace attendance
