// What the main window asks of the program's data module, in one place: the
// working connection, the schema upgrade and the few reads of the start-up
// steps (the hub's count checks call data/queries.h on data::dataModule()).
// Each function raises the database's error.
#pragma once

#include <string>

namespace app::maindata {

// Creates the delivered database (every table, the pay-slip view, the seed rows).
void createDatabase(const std::string& path);
// Points the working connection at `path` without connecting.
void setWorkingDatabase(const std::string& path);
void closeWorkingConnection();

void upgradeSchema();   // Act_New_Field
void ensureMinusDat();  // Act_minus_dat
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

}  // namespace app::maindata
