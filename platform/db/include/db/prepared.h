// A statement prepared once and run many times with new bound values, for
// jobs that write thousands of rows inside one transaction (an import of a
// few hundred thousand punches) without parsing it again for each row. The
// connection must stay open while the statement lives.
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

    // Or value by value, by position (1-based): a value stays bound until it
    // is replaced, so one that several runs share is bound once.
    // The value is copied.
    void bind(int index, const Value& value);
    // Text without building a Value or copying it: the caller keeps the
    // bytes unchanged and alive until the last run() that uses them (or
    // until the position is bound anew).
    void bindText(int index, std::string_view text);
    // Runs the statement with the values bound now; returns the rows
    // changed. Failures raise rtl::DatabaseError as Connection::execute().
    long long run();

private:
    Connection& c_;
    std::unique_ptr<detail::Statement> st_;
};

}  // namespace db
