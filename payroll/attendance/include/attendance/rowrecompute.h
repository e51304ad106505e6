// The recomputation of one attendance row after its clock times were
// corrected: the times only (no amounts), measured in whole minutes.
#pragma once

#include <string>

#include "attendance/periodrecompute.h"
#include "attendance/worktime.h"

namespace db {
class Connection;
}

namespace attendance {

struct RowTimes {
    std::string worked;           // K_SYUGYO
    long long workedMinutes = 0;  // K_KINMU
    long long units = 0;          // K_TANJI
    // early start, overtime, late night, late arrival, early departure
    long long minutes[5] = {0, 0, 0, 0, 0};
};

// Whole minutes from `from` to `to`; 0 when `from` is later.
long long wholeMinutes(rtl::TDateTime from, rtl::TDateTime to);

// The times of the row: worked minutes are the overlap with the shift, less
// the break's overlap when the employee takes it off; overtime and late night
// are the overlaps with their windows. Category times of 24:00 and later lie
// on the day after the work date.
RowTimes computeRowTimes(const DayClock& day, const Employee& employee, const WorkCategory& category);

// The employee E_NO = `employee` (the defaults of an unknown one) and the
// category of that employee, read for one row.
struct RowContext {
    Employee employee;
    WorkCategory category;
};
RowContext readRowContext(db::Connection& connection, long long employee);

}  // namespace attendance
