// The punch import: every clock-in punch of タイムカード whose work date lies
// in the pay period becomes one attendance row of kimu_tran, with its worked
// minutes and units from the employee's work category. The period's old rows
// are replaced in one transaction.
#pragma once

#include <string>
#include <vector>

#include "attendance/store.h"
#include "attendance/worktime.h"

namespace db {
class Connection;
}

namespace attendance {

struct PunchImportResult {
    long long rowsWritten = 0;
    long long unmatched = 0;  // in-period clock-ins whose card names no employee in service
    long long leftOut = 0;    // clock-ins whose work date lies outside the period
};

// The rows the import would write, computed in memory from what was read.
// Raises a Refusal for a category that cannot be used, rtl::ConversionError
// for a punch that is not a number or a date.
struct PlannedImport {
    std::vector<ImportedRow> rows;
    PunchImportResult result;
};
PlannedImport planPunchImport(const PeriodDates& period, const std::vector<Punch>& punches,
                              const std::vector<Employee>& employees, const CategoryBook& categories);

// Reads the punches, employees and categories once, refuses with
// kNoDataMessage when no punch lies in the period's month-and-day ranges,
// then replaces the period's rows in one transaction (a failure leaves the
// old rows). Called by the pay-data window's import and by tools.
PunchImportResult importPunches(db::Connection& connection, const PeriodDates& period);

// The finishing messages of an import (empty when there is nothing to say).
std::vector<std::string> importMessages(const PunchImportResult& result);

}  // namespace attendance
