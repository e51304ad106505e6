#include "db/prepared.h"

#include "db/connection.h"
#include "internal.h"

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

}  // namespace db
