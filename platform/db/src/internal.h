// Helpers shared by the sources of the database layer.
#pragma once

#include <sqlite3.h>

#include <string>
#include <string_view>
#include <vector>

#include "db/value.h"

namespace db::detail {

Value fromSqlite(sqlite3_value* v);
Value columnValue(sqlite3_stmt* st, int i);
void resultValue(sqlite3_context* ctx, const Value& v);
// Binds one value at a 1-based position.
void bindOne(sqlite3_stmt* st, int i, const Value& v);
// Binds params to st; raises rtl::DatabaseError for an unknown name or a
// count mismatch.
void bindParams(sqlite3_stmt* st, const Params& params);
// ";"-separated names ("S_TANCOD; K_DATE"), trimmed, empty parts left out.
std::vector<std::string> splitNames(std::string_view names);
// The Jet name of result column i (expressions: Expr1000 + i).
std::string jetColumnName(sqlite3_stmt* st, int i, int exprOffset = 0);
// A Japanese message for an SQLite failure.
std::string translateError(sqlite3* db, int rc, std::string_view sql);
[[noreturn]] void raise(sqlite3* db, int rc, std::string_view sql);
// One prepared statement; more than one statement in the text is refused.
// With allowFailure a failing prepare leaves get() == nullptr instead.
class Statement {
public:
    Statement(sqlite3* h, std::string_view sql, bool allowFailure = false);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    sqlite3_stmt* get() const { return st_; }
    bool step();  // true: a row; false: done; raises on failure

private:
    sqlite3* h_;
    sqlite3_stmt* st_ = nullptr;
    std::string sql_;
};

// Case-insensitive ASCII equality of identifiers.
bool sameName(std::string_view a, std::string_view b);
// Cut to at most n characters (n <= 0: unchanged).
std::string cutToWidth(std::string_view s, int n);
// Case folding used by the collation (ASCII and full-width Latin letters).
std::u32string foldText(std::string_view s);

}  // namespace db::detail
