// The schema of the working database: every table with its columns, kinds and
// widths in table order, the pay-slip view, and the Jet SQL texts of the
// creation statements the program runs itself (rebuilds, upgrade, gensen).
//
// Column definitions here are the one place the layout is written down; the
// delivered database, the data module's persistent fields and the tests all
// read them from here.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "db/value.h"

namespace data {

// Column kinds are the data layer's: Long, Short, Double, DateTime, Text
// (variable, at most `width` characters) and FixedText (read back unpadded).
using ColumnKind = db::FieldKind;

struct ColumnDef {
    std::string name;
    ColumnKind kind = ColumnKind::Long;
    int width = 0;              // characters, text kinds only
    std::string displayFormat;  // "#,##0" money, "#0.0#" rates, "#0" ages, or empty
    bool primaryKey = false;    // NOT NULL PRIMARY KEY (minus_dat.M_No only)
};

struct TableDef {
    std::string name;
    std::vector<ColumnDef> columns;

    const ColumnDef* find(std::string_view column) const;
    std::vector<std::string> columnNames() const;
};

// Every table of the working database in its current (fully upgraded) form,
// in a fixed order. The view sum_tran_t is not among them.
const std::vector<TableDef>& tables();

// One table by name; throws std::out_of_range for an unknown name.
const TableDef& table(std::string_view name);

// The columns of the view sum_tran_t in the order the pay slips read them
// (kinds and widths as in sum_tran and title_mas; S_DATE as stored).
const TableDef& sumTranTView();

// The SQL that creates the view sum_tran_t: every sum_tran row once, in
// sum_tran order, with the captions of the first title_mas row CODE = 1.
std::string sumTranTViewSql();

// Jet type text of a column ("Integer", "Smallint", "Double", "DateTime",
// "Varchar(20)", "Char(1)").
std::string jetType(const ColumnDef& column);

// "Create Table <name>" followed by the bracketed column list, one line per
// column, built from a table definition (used for the delivered tables).
std::vector<std::string> createStatementFor(const TableDef& def);

// The creation statements that the program itself runs, exactly as the
// rebuild commands, the upgrade and the gensen step send them: a head line
// and the bracketed column list, one line per column.
std::vector<std::string> createMinusDatLines();
std::vector<std::string> createEmpTankaLines();  // 61 columns, PRT_FLG comes from the upgrade
std::vector<std::string> createKimuTranLines();  // 24 columns
std::vector<std::string> createSumTranLines();   // 54 columns, S_DAY1..5 and DAT_CHK from the upgrade
std::vector<std::string> createGensenLines();    // 24 columns

// gensen.dname holds the whole employee name (emp_tanka.E_NAME).
inline constexpr int kGensenNameWidth = 20;

// Joins statement lines with CR LF, as statements are sent to the database.
std::string joinLines(const std::vector<std::string>& lines);

}  // namespace data
