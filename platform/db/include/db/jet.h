// The Jet dialect on SQLite: the text collation, the user functions and the
// translation of Jet DDL. Every Connection installs these on its handle; they
// are public so that tests and tools can use the same rules.
//
// How a Jet schema lives in SQLite:
//  - Declared types keep the Jet kind and width: "INTEGER" (long; "INT" when it
//    is the primary key, so that the column never becomes the rowid),
//    "SMALLINT", "DOUBLE", "DATETIME REAL" (the second word gives the column
//    REAL affinity, so a date at midnight is stored as a double, not an
//    integer), "VARCHAR(n)", "CHAR(n)", "LONGTEXT" (text without a width). Datasets read
//    kind and width back from the declared type.
//  - Every text column is declared COLLATE JETTEXT.
//  - Kinds are enforced by named CHECK constraints whose names are the
//    Japanese messages a failing write reports: long/short range, text width
//    (characters), no text in a number column.
//  - Date-time columns hold REAL days since 1899-12-30. Text written into one
//    by SQL is converted by an AFTER INSERT/UPDATE trigger that calls CvDate;
//    an impossible date fails the statement. A double written into a long or
//    short column is rounded half to even by the same trigger (CLng).
//  - Fixed text is stored as written (never padded), so it reads back unpadded.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "db/value.h"

struct sqlite3;

namespace db {

// Name of the collation declared on every text column.
inline constexpr const char* JetCollation = "JETTEXT";

// Jet-like text comparison (<0, 0, >0): letters compare without case (ASCII
// and full-width Latin); the first pass ignores hyphens and apostrophes; a tie
// is broken by comparing again with them. So "23/12" < "23-1" < "23-2" < "24/01"
// and "abc" == "ABC".
int jetCompare(std::string_view a, std::string_view b);

// CvDate: number -> the same number; text -> rtl::strToDateTime of it
// ("14/07/05", "2014/07/05", "14/07/05 08:50:12", "08:50"); NULL -> NULL.
// Empty or impossible text raises rtl::ConversionError.
Value cvDate(const Value& v);

// CInt (32-bit in this program, so six-digit codes pass) and CLng: number or
// trimmed numeric text, rounded half to even; NULL, empty or non-numeric text
// and values outside 32 bits raise rtl::ConversionError.
long long cInt(const Value& v);

// Installs JETTEXT and the user functions CvDate, CInt, CLng on a handle.
void installJetDialect(sqlite3* handle);

// ---- DDL ---------------------------------------------------------------

struct ColumnSpec {
    std::string name;
    FieldKind kind = FieldKind::Long;
    int width = 0;  // text kinds; 0 = no limit
    bool notNull = false;
    bool primaryKey = false;
};

// Parses a Jet column type ("Integer", "INT", "Long", "Smallint", "Short",
// "Byte", "Double", "Float", "Real", "Single", "Currency", "DateTime", "Date",
// "Varchar(20)", "Text(50)", "Text", "Char(2)", "Memo") into kind and width.
// Also accepts the declared types this layer writes. Returns false for an
// unknown type and for a text width of 0 ("Char(0)", "Varchar(0)").
bool parseJetType(std::string_view type, FieldKind& kind, int& width);

// The SQLite column definition of one column (name, declared type, collation,
// CHECK constraints), without a trailing comma.
std::string sqliteColumnDefinition(const ColumnSpec& column);

// If `sql` is a Jet DDL statement this layer rewrites ("Create Table",
// "Alter Table ... Add [Column]", "Alter Table ... Drop [Column]",
// "Drop Table"), returns true and the SQLite statements to run in order in
// `out` (for ALTER the triggers of the table are regenerated afterwards by
// the connection). Other statements return false and are run as written.
// Raises rtl::DatabaseError for a malformed DDL statement or unknown type.
struct DdlPlan {
    enum class Kind { None, CreateTable, AlterAdd, AlterDrop, DropTable } kind = Kind::None;
    std::string table;
    std::vector<ColumnSpec> columns;   // CreateTable, AlterAdd
    std::vector<std::string> dropped;  // AlterDrop
};
DdlPlan parseJetDdl(std::string_view sql);

// The CREATE TABLE text for a plan of kind CreateTable.
std::string sqliteCreateTable(const DdlPlan& plan);

// The trigger statements (DROP + CREATE) that convert date text and round
// doubles for a table with these columns; empty when none is needed.
std::vector<std::string> sqliteKindTriggers(const std::string& table, const std::vector<ColumnSpec>& columns);

// Double-quoted SQLite identifier ("a""b").
std::string quoteIdentifier(std::string_view name);

// ---- quoting -----------------------------------------------------------

// A SQL text literal: the text in single quotes, quotes doubled
// (quoted("O'Neil") == "'O''Neil'"). For statement shapes that must stay text;
// prefer bound parameters.
std::string quoted(std::string_view text);
// Only the doubling, for shapes written as "... = '" + escaped(x) + "'".
std::string escaped(std::string_view text);

}  // namespace db
