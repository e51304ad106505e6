// The rows of the ledgers, the work record and the envelopes, each fetched
// by its own parameterised query. Nothing stays open or filtered afterwards.
// UI-free.
#pragma once

#include <string>

#include "db/connection.h"

namespace reports {

// How a ledger orders its pay records.
enum class LedgerOrder {
    ByEmployee,  // S_TANCOD
    ByCategory,  // S_SEQNO, S_TANCOD
};

// Pay records of one key with every column of sum_tran, the employee's name
// as S_NAME and TNAME (E_NAME of emp_tanka by S_TANCOD = E_NO) and the
// captions GKING1..GKING9, SKING1..SKING3 of the caption row CODE = 1.
db::ResultSet fetchPayLedger(db::Connection& connection, const std::string& payKey, LedgerOrder order);
// The same for the bonus records of a bonus key (S_SHOYO_F = "1").
db::ResultSet fetchBonusLedger(db::Connection& connection, const std::string& bonusKey, LedgerOrder order);
// The records of one pay year (`year` as four digits): monthly, weekly or
// daily and bonus, by category, employee, then key in date order (the
// months and pay days of the year, then its bonuses).
db::ResultSet fetchAnnualLedger(db::Connection& connection, const std::string& year);

// Attendance rows of a period (dates as the main window holds them), by
// employee and date, with the employee's name as TNAME.
db::ResultSet fetchWorkRecord(db::Connection& connection, const std::string& from, const std::string& to);

// 締日 of the company table's first row ("" when there is none): what the
// main window derives the monthly pay period from.
std::string fetchClosingDay(db::Connection& connection);

// Employees in service marked for an envelope (PRT_FLG = "1"), by number.
db::ResultSet fetchEnvelopes(db::Connection& connection);

}  // namespace reports
