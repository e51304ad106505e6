// The recomputation of the whole period: every attendance row of an employee
// in service gets its minutes and day amounts again from its clock-in and
// clock-out, the employee's flags and rates and the work category, and is
// written in one transaction.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "attendance/store.h"
#include "attendance/worktime.h"

namespace db {
class Connection;
}

namespace attendance {

// The times of one row as the recomputation reads them.
struct DayClock {
    rtl::TDateTime workDate = 0;        // K_DATE
    std::optional<rtl::TDateTime> in;   // K_INTIM
    std::optional<rtl::TDateTime> out;  // K_OUTTIM
};

// Minutes and amounts of one day. A day without paid units (no clock-out, or
// less than half a unit worked) keeps its worked minutes but has no units,
// premium minutes or amounts.
RecomputedRow computeDay(const DayClock& day, const Employee& employee, const WorkCategory& category);

// Whether a row has no worked time: no paid units and a worked-time text of
// none. The month totals refuse such rows and the pay-data grid marks them.
// A night shift lying wholly in the late-night window has worked time even
// though its base units are 0.
bool hasNoWorkedTime(long long units, const std::string& workedText);

struct PeriodRecomputeResult {
    long long rowsWritten = 0;
    long long rowsWithoutEmployee = 0;  // rows of the period that name no employee in service
};

// Refuses with kNoDataMessage when the period has no rows or no punches, and
// with a category's refusal before anything is written. Called by the
// pay-data window's "時間計算" and by tools.
PeriodRecomputeResult recomputePeriod(db::Connection& connection, const PeriodDates& period);

// The finishing messages of a recomputation (empty when there is nothing to say).
std::vector<std::string> recomputeMessages(const PeriodRecomputeResult& result);

}  // namespace attendance
