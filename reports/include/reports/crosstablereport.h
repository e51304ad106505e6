// The printed daily cross table "日別一覧表": A4 landscape, twenty employee
// columns a page, each column the employee's name and the worked time of
// days 1 to 31, with the day labels framed left of the first column.
#pragma once

#include <optional>

#include "db/connection.h"
#include "report/layout.h"
#include "report/report.h"
#include "reports/crosstable.h"

namespace reports {

// The report's declaration.
report::Report crossTableReport();

// The table's rows as the report reads them (TANCOD, TNAME, D1..D31).
db::ResultSet crossTableRows(const DayWorkTable& table);

// Laid out: the month of the table in the title; `printDate` as "yyyy/MM/dd"
// (empty: today).
report::Document renderCrossTable(const DayWorkTable& table, const QString& printDate,
                                  const report::TextMeasurer* measurer);

// The table built for `monthKey` in memory, as the builder would write it,
// without touching day_work (for rendering from a read-only database); none
// when the month has no attendance row (the builder would not build).
std::optional<DayWorkTable> crossTableOf(db::Connection& connection, const std::string& monthKey);

}  // namespace reports
