// Helpers shared by the sources of the database layer.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
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

// Statements kept prepared by their text, so a statement run again and again
// (a dataset's post, a read per employee) is compiled once; compiling an
// UPDATE with its type-check triggers costs far more than running it. Only
// plain reads and writes are kept (never schema changes, transactions or
// pragmas), and the whole cache is dropped when the schema changes or the
// connection closes. A statement in use is never lent twice: a nested use of
// the same text gets a statement of its own.
class StatementCache {
    struct Entry {
        std::unique_ptr<Statement> statement;
        bool busy = false;
        bool dropped = false;  // cleared while in use: finalized on return
        std::uint64_t lastUse = 0;
    };

public:
    // A statement ready to bind and step; reset, its bindings cleared and
    // returned to the cache when the lease ends.
    class Lease {
    public:
        Lease(StatementCache* cache, Entry* entry, std::unique_ptr<Statement> own, std::string key);
        ~Lease();
        Lease(const Lease&) = delete;
        Lease& operator=(const Lease&) = delete;
        Statement& operator*() const { return entry_ ? *entry_->statement : *own_; }
        Statement* operator->() const { return &**this; }
        sqlite3_stmt* get() const { return (**this).get(); }

    private:
        StatementCache* cache_;
        Entry* entry_;
        std::unique_ptr<Statement> own_;
        std::string key_;
    };

    // Whether `sql` is a statement the cache keeps (SELECT, INSERT, UPDATE,
    // DELETE, WITH).
    static bool keeps(std::string_view sql);
    Lease acquire(sqlite3* h, std::string_view sql);
    // Finalizes every kept statement (those in use when they come back).
    void clear();

private:
    void release(Entry* entry, const std::string& key);
    std::unordered_map<std::string, Entry> entries_;
    std::uint64_t clock_ = 0;
    static constexpr std::size_t limit_ = 64;
};

// Case-insensitive ASCII equality of identifiers.
bool sameName(std::string_view a, std::string_view b);
// Cut to at most n characters (n <= 0: unchanged).
std::string cutToWidth(std::string_view s, int n);
// Case folding used by the collation (ASCII and full-width Latin letters).
std::u32string foldText(std::string_view s);

}  // namespace db::detail
