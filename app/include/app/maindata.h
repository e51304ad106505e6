// What the main window asks of the data module, in one place: the working
// connection, the schema upgrade, the few reads of the start-up steps and
// the hub's count checks. Each function raises the database's error.
#pragma once

#include <string>
#include <vector>

#include "db/value.h"

namespace app::maindata {

// Creates the delivered database (every table, the pay-slip view, the seed rows).
void createDatabase(const std::string& path);
// Points the working connection at `path` without connecting.
void setWorkingDatabase(const std::string& path);
void closeWorkingConnection();

void upgradeSchema();    // Act_New_Field
void ensureMinusDat();   // Act_minus_dat
// The one-time re-creation of table gensen steered by db_gensen.txt in `workDir`.
void gensenStep(const std::string& workDir);
// Rebuild commands; each asks its own question first through `confirm`.
void rebuildEmpTanka();
void rebuildKimuTran();
void rebuildSumTran();

// REC_YN of the settings table's current row, as text ("" for an empty table).
// Like readClosingDay, it leaves a table that a window has open as it was.
std::string readRecYN();
// 締日 of the company table's current row, as text ("" for an empty table).
// A table that a window has open stays open, with its unsaved change.
std::string readClosingDay();
// PRT_FLG of the settings row SYS_CD = '1', as text.
std::string readPrintLayout();
// Runs a count statement on QueryCnt and reads Expr1000.
int countRows(const std::vector<std::string>& lines, const std::vector<db::Value>& params);
// Sets and opens the work-record query for the period.
void prepareWorkRecordQuery(const std::string& from, const std::string& to);

}  // namespace app::maindata
