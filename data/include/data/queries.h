// Typed reads of the working database that windows ask for, each keeping its
// statement inside: windows call these and hold no SQL text. Every function
// raises the database's error.
#pragma once

#include <string>
#include <vector>

#include "db/dataset.h"
#include "db/query.h"
#include "db/value.h"

namespace data {

class TDataModule1;

// Runs a "SELECT COUNT(*) ..." statement (its lines, with values bound in
// order or by name) on `query` and returns the count, read from its column
// Expr1000. The query is closed again and its values cleared, also when the
// statement fails.
long long countRows(db::Query& query, const std::vector<std::string>& lines, const db::Params& params = {});

// ---- counts the main window checks before it opens a report ----

// Monthly pay records under `key` (sum_tran.S_DATE).
long long countPayRecords(TDataModule1& dm, const std::string& key);
// Pay-slip rows under `key` (the view sum_tran_t).
long long countPaySlipRows(TDataModule1& dm, const std::string& key);
// Deduction slips under `key` (minus_dat.M_DATE).
long long countDeductionSlips(TDataModule1& dm, const std::string& key);
// Attendance rows dated `from` to `to` (texts the database's CvDate reads).
long long countWorkRecords(TDataModule1& dm, const std::string& from, const std::string& to);

// ---- envelope marks ----

// Marks every employee of emp_tanka, in service or not, for an envelope
// (PRT_FLG "1") or none ("0"), through the data module's Query1.
void setEnvelopeMarks(TDataModule1& dm, bool marked);
// Employees in service marked for an envelope.
long long countEnvelopes(TDataModule1& dm);

// ---- settings read at start-up and before printing ----

// REC_YN of the settings table's current row, as text ("" for an empty table).
// A table that a window has open stays open on its row, with its unsaved change.
std::string readRecYN(TDataModule1& dm);
// 締日 of the company table's current row, as text ("" for an empty table),
// read the same way.
std::string readClosingDay(TDataModule1& dm);
// PRT_FLG of the settings row SYS_CD = '1', as text.
std::string readPrintLayout(TDataModule1& dm);

}  // namespace data
