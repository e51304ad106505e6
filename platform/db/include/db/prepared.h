// A statement prepared once and run many times with new bound values, for
// jobs that write thousands of rows inside one transaction.
#pragma once

#include <memory>
#include <string_view>

#include "db/value.h"

namespace db {

class Connection;
namespace detail {
class Statement;
}

class PreparedStatement {
public:
    // Connects the connection when needed; a statement that does not prepare
    // raises rtl::DatabaseError. The statement is native SQLite (no Jet DDL).
    PreparedStatement(Connection& connection, std::string_view sql);
    ~PreparedStatement();
    PreparedStatement(const PreparedStatement&) = delete;
    PreparedStatement& operator=(const PreparedStatement&) = delete;

    // Binds `params` (all of them anew) and runs the statement to its end;
    // returns the rows changed.
    long long run(const Params& params);

private:
    Connection& c_;
    std::unique_ptr<detail::Statement> st_;
};

}  // namespace db
