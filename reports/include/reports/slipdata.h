// What the slips print that is not a column: their rows, each fetched by its
// own parameterised query, the hours-and-minutes forms, and the money sums.
// UI-free.
#pragma once

#include <QString>

#include <string>

#include "db/connection.h"
#include "report/report.h"

namespace reports {

// Pay records of one key as the pay slips read them: every column of
// sum_tran_t, the employee's name S_NAME (E_NAME of emp_tanka by
// S_TANCOD = E_NO) and the taxable flags GK_FLG7..GK_FLG9 of the caption row.
db::ResultSet fetchPaySlips(db::Connection& connection, const std::string& payKey);
// The same for the bonus records of a bonus key (S_SHOYO_F = "1").
db::ResultSet fetchBonusSlips(db::Connection& connection, const std::string& bonusKey);
// Deduction slips of one key, in slip-number order.
db::ResultSet fetchDeductionSlips(db::Connection& connection, const std::string& payKey);

// Whole minutes as hours and minutes, computed in integers: "1:01" (padded)
// and "1:1" (unpadded); 0 gives "0:00" / "0:0".
QString minutesPadded(long long minutes);
QString minutesUnpadded(long long minutes);

// The taxable gross of a pay or bonus record, recomputed from its stored
// columns: base pay, the early, overtime, late-night and holiday amounts,
// allowances 1..6 and the taxable ones of 7..9 (GK_FLGn = "1"), less the
// late-arrival and early-departure amounts.
long long taxableGross(const report::Row& row);
// The bonus actually paid: base, early, overtime, late-night and holiday
// amounts and allowances 1..9 (the bonus slip's 総支給額).
long long bonusPaid(const report::Row& row);
// 他控除計: late, early, deductions 1..3, meal, income and resident tax.
long long otherDeductions(const report::Row& row);
// 控除額計: the same plus social insurance.
long long totalDeductions(const report::Row& row);

}  // namespace reports
