// The employee reads of both time-card windows (the punch table itself is
// read and written through data/punches.h).
#pragma once

#include <functional>
#include <string>

#include "db/connection.h"
#include "db/dataset.h"

namespace data {
class TDataModule1;
}

namespace timecard {

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

// The card code (six digits) of the employee in service named `name`
// exactly, read through Query1; "" when there is none.
std::string cardOfEmployeeInService(data::TDataModule1& dm, const std::string& name);

}  // namespace timecard
