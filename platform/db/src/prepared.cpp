#include "db/prepared.h"

#include <string>

#include "db/connection.h"
#include "internal.h"
#include "rtl/errors.h"

namespace db {

PreparedStatement::PreparedStatement(Connection& connection, std::string_view sql) : c_(connection) {
    c_.ensureConnected();
    st_ = std::make_unique<detail::Statement>(c_.handle_, sql);
}

PreparedStatement::~PreparedStatement() = default;

long long PreparedStatement::run(const Params& params) {
    sqlite3_stmt* st = st_->get();
    sqlite3_reset(st);
    sqlite3_clear_bindings(st);
    detail::bindParams(st, params);
    while (st_->step()) {
    }
    if (sqlite3_stmt_readonly(st)) return 0;
    ++c_.changeCount_;
    return sqlite3_changes64(c_.handle_);
}

void PreparedStatement::bind(int index, const Value& value) {
    if (index < 1 || index > sqlite3_bind_parameter_count(st_->get()))
        throw rtl::DatabaseError("パラメータ " + std::to_string(index) + " が SQL 文にありません。");
    detail::bindOne(st_->get(), index, value);
}

void PreparedStatement::bindText(int index, std::string_view text) {
    if (sqlite3_bind_text(st_->get(), index, text.data(), static_cast<int>(text.size()), SQLITE_STATIC) != SQLITE_OK)
        throw rtl::DatabaseError("パラメータ " + std::to_string(index) + " が SQL 文にありません。");
}

long long PreparedStatement::run() {
    sqlite3_stmt* st = st_->get();
    // Ready for the next run whichever way this one ends; the values stay bound.
    struct Reset {
        sqlite3_stmt* st;
        ~Reset() { sqlite3_reset(st); }
    } reset{st};
    while (st_->step()) {
    }
    if (sqlite3_stmt_readonly(st)) return 0;
    ++c_.changeCount_;
    return sqlite3_changes64(c_.handle_);
}

}  // namespace db
