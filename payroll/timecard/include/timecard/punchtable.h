// Small reads of the shared data-module components used by both windows.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "db/connection.h"
#include "db/dataset.h"

namespace timecard {

// Runs the "SELECT COUNT(*) ..." lines on a scratch query with bound values
// and returns its column Expr1000; the query is closed again.
long long countRows(db::Query& query, const std::vector<std::string>& lines, const db::Params& params = {});

// The employees are read on a query of their own, never through the shared
// table component emp_tanka: the employee master may be showing that one, or
// editing a row of it, at the same time.
//
// Each employee in number order.
void forEachEmployee(db::Connection& connection, const std::function<void(db::Dataset& row)>& visit);

// Column `resultField` of the first employee (in number order) whose
// `keyField` equals `value` exactly, by a filter; "" when none does.
std::string lookupEmployee(db::Connection& connection, const std::string& keyField, const std::string& value,
                           const std::string& resultField);

}  // namespace timecard
