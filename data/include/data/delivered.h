// The database as it is delivered: every table, the pay-slip view, the seed
// rows the program reads but never writes, and the withholding tax tables.
#pragma once

#include <string>
#include <string_view>

namespace db {
class Connection;
}

namespace data {

// Creates a complete working database in `path`: all tables of the schema in
// their current form, the view sum_tran_t, the caption, settings, company and
// work-category rows, allowance kinds (flg_data list 1) and the tax tables
// zei_mas, zei_masB, zei_masS. Everything is written in one transaction: a
// failure leaves no half-built database behind (the file is removed again).
// An existing file is refused unless `overwrite`.
void createDeliveredDatabase(const std::string& path, bool overwrite = false);

// The same content into the open (empty) database of `connection`, inside
// the caller's transaction if there is one.
void buildDeliveredSchema(db::Connection& connection);

// Loads one withholding table ("zei_mas", "zei_masB", "zei_masS") from CSV
// text: the header line must name exactly the table's columns in table
// order, each row must have one value per column. Rows are appended.
// Raises rtl::DatabaseError naming the table and line on a layout mismatch.
// Returns the number of rows loaded.
int loadTaxTable(db::Connection& connection, const std::string& table, std::string_view csv);

}  // namespace data
