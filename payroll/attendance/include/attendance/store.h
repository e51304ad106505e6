// Typed reads and writes of the attendance jobs: punches, employees, work
// categories, the period's attendance rows and the month's pay records. Each
// read is one statement; each write runs its prepared statement row by row
// inside the caller's transaction.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "attendance/worktime.h"

namespace db {
class Connection;
}

namespace attendance {

// One row of タイムカード, every value as stored (text).
struct Punch {
    std::string month, day, hour, minute, second, card, inOut;
};
std::vector<Punch> readPunches(db::Connection& c);

// Every employee, in the table's own order (the order a lookup by code meets them).
std::vector<Employee> readEmployees(db::Connection& c);

// Every work category by code; a category that cannot be read is kept as its
// refusal and raised only when an employee of the period uses it.
class CategoryBook {
public:
    explicit CategoryBook(db::Connection& c);
    // The category of `code` (the defaults when it has no row); raises the
    // category's Refusal.
    const WorkCategory& of(const std::string& code) const;

private:
    std::map<std::string, WorkCategory> categories_;
    std::map<std::string, std::string> refused_;
    mutable std::map<std::string, WorkCategory> missing_;
};

// One attendance row (kimu_tran) with its row identity.
struct AttendanceRow {
    long long rowid = 0;
    std::optional<long long> seqNo;     // K_SEQNO
    long long employee = 0;             // K_TANCOD
    rtl::TDateTime date = 0;            // K_DATE
    std::string category;               // K_KNMKBN
    std::optional<rtl::TDateTime> in;   // K_INTIM
    std::optional<rtl::TDateTime> out;  // K_OUTTIM
    std::string worked;                 // K_SYUGYO
    long long workedMinutes = 0;        // K_KINMU
    long long units = 0;                // K_TANJI (NULL reads 0)
    long long baseAmount = 0;           // K_BASKING
    // Minute texts and amounts of the six kinds, in the order early start,
    // overtime, late night, holiday, late arrival, early departure.
    std::string minutes[6];
    long long amounts[6] = {0, 0, 0, 0, 0, 0};
};
// The rows of the period by work date (then as stored).
std::vector<AttendanceRow> readPeriodRows(db::Connection& c, const PeriodDates& period);
// The number of the period's rows.
long long countPeriodRows(db::Connection& c, const PeriodDates& period);
// The number of punches of either kind inside the period's month-and-day ranges.
long long countPeriodPunches(const std::vector<Punch>& punches, const PeriodDates& period);
long long countPeriodPunches(db::Connection& c, const PeriodDates& period);

// A row the punch import writes.
struct ImportedRow {
    long long employee = 0;
    rtl::TDateTime date = 0;
    std::string category;
    rtl::TDateTime in = 0, out = 0;
    std::string worked;
    long long workedMinutes = 0;
    long long units = 0;
};
// Deletes the period's rows and inserts `rows` (inside the caller's transaction).
void replacePeriodRows(db::Connection& c, const PeriodDates& period, const std::vector<ImportedRow>& rows);

// What the recomputation writes into one row.
struct RecomputedRow {
    long long rowid = 0;
    std::string worked;           // K_SYUGYO
    long long workedMinutes = 0;  // K_KINMU
    long long units = 0;          // K_TANJI
    long long baseAmount = 0;     // K_BASKING
    // early start, overtime, late night, late arrival, early departure
    long long minutes[5] = {0, 0, 0, 0, 0};
    long long amounts[5] = {0, 0, 0, 0, 0};
    long long holidayAmount = 0;  // K_KYUKING
};
void updateRows(db::Connection& c, const std::vector<RecomputedRow>& rows);

// One pay record the month totals write (the columns they fill).
struct PayRecord {
    std::optional<long long> seqNo;
    long long employee = 0;
    std::string key;
    long long days = 0, workedMinutes = 0, units = 0, transport = 0, base = 0;
    // early start, overtime, late night, holiday, late arrival, early departure
    long long minutes[6] = {0, 0, 0, 0, 0, 0};
    long long amounts[6] = {0, 0, 0, 0, 0, 0};
    long long lateDays = 0;  // S_DAY5
};
// Deletes the records of `key` and inserts `records`, each marked computed
// (S_KNTKBN = 1), inside the caller's transaction.
void replaceMonthRecords(db::Connection& c, const std::string& key, const std::vector<PayRecord>& records);

}  // namespace attendance

namespace attendance {

// Deletes the period's attendance rows; returns how many.
long long deletePeriodRows(db::Connection& c, const PeriodDates& period);
// The number of the employee in service named `name`: the first such row's
// E_TANCOD as a whole number; none when nobody in service has the name.
// Raises rtl::ConversionError with the code's text when it is no number.
std::optional<long long> employeeInServiceByName(db::Connection& c, const std::string& name);
// The employee's rows of the period.
long long countEmployeeRows(db::Connection& c, long long employee, const PeriodDates& period);
// The days from `from` to `to` (both included) on which the employee has
// more than one row.
long long countDuplicateDays(db::Connection& c, long long employee, rtl::TDateTime from, rtl::TDateTime to);

}  // namespace attendance
