// Small reads of the shared data-module components used by both windows.
#pragma once

#include <string>
#include <vector>

#include "db/dataset.h"

namespace timecard {

// Runs the "SELECT COUNT(*) ..." lines on a scratch query with bound values
// and returns its column Expr1000; the query is closed again.
long long countRows(db::Query& query, const std::vector<std::string>& lines, const db::Params& params = {});

// Column `resultField` of the first employee whose `keyField` equals `value`
// exactly, read through the shared table component emp_tanka by its filter;
// "" when none does. The filter is cleared again whatever happens, and the
// table is left open or closed as it was found.
std::string lookupEmployee(db::Table& empTanka, const std::string& keyField, const std::string& value,
                           const std::string& resultField);

}  // namespace timecard
