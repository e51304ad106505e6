// The working connection: one SQLite file standing in for the Jet database,
// and the read-only import-source connection.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "db/jet.h"
#include "db/value.h"

struct sqlite3;
struct sqlite3_stmt;

namespace db {

namespace detail {
class StatementCache;
}

class Dataset;

// A rectangular read of one table of a foreign database (the time-recorder
// program's Jet file). NULL cells are std::nullopt.
struct ExternalTable {
    std::vector<std::string> columns;
    std::vector<std::vector<std::optional<std::string>>> rows;
};

// Reader of a foreign database, filled by the recorder import (mdbtools).
// A connection with an external-source factory loads every table into a
// private in-memory database (all columns text, JETTEXT) when it connects,
// and then answers any SELECT on it; writes fail.
class ExternalSource {
public:
    virtual ~ExternalSource() = default;
    virtual std::vector<std::string> tables() = 0;
    virtual ExternalTable readTable(const std::string& name) = 0;
};
using ExternalSourceFactory = std::function<std::unique_ptr<ExternalSource>(const std::string& path)>;

// Column of a table as the database declares it.
struct ColumnInfo {
    std::string name;
    FieldKind kind = FieldKind::Text;
    int width = 0;
    std::string declaredType;
};

// One rectangular result of a statement (for small reads in code).
struct ResultSet {
    std::vector<std::string> columns;  // Jet names (expressions: Expr1000, ...)
    std::vector<std::vector<Value>> rows;
};

class Connection {
public:
    Connection();
    explicit Connection(std::string connectionString);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // The connection text: either a plain file path or an ADO-style string
    // ("Provider=...;Data Source=<path>;Mode=ReadWrite;..."), from which
    // Data Source and Mode (Read = read only) are taken. Changing it while
    // connected closes the connection first.
    void setConnectionString(std::string text);
    const std::string& connectionString() const { return connectionString_; }
    void setDatabasePath(std::string path);
    const std::string& databasePath() const { return path_; }
    bool readOnly() const { return readOnly_; }

    // With a factory set, connecting reads the file through it (read only).
    void setExternalSourceFactory(ExternalSourceFactory factory);

    // Lazy: datasets and execute() connect on first use. open() connects now.
    // A missing file raises rtl::DatabaseError
    // "データベースファイル '<path>' が見つかりません。"; the file is never created.
    void open();
    bool connected() const { return handle_ != nullptr; }
    // Closes every open dataset of this connection, then disconnects. The next
    // dataset open or statement reconnects. Rolls back an unfinished job.
    void close();

    // Creates an empty database file (fails when it exists and !overwrite).
    static void createDatabaseFile(const std::string& path, bool overwrite = false);

    // Runs one statement (Jet DDL is translated, see jet.h). Returns the rows
    // changed (0 for DDL). A SELECT is run and its rows discarded. Failures
    // raise rtl::DatabaseError with a Japanese message; user-function errors
    // keep their own message. More than one statement in `sql` is refused.
    long long execute(std::string_view sql, const Params& params = {});
    // The same without the Jet DDL translation (SQLite statements of this
    // layer's own making, such as views).
    long long executeNative(std::string_view sql, const Params& params = {});
    // Runs a SELECT and returns every row.
    ResultSet select(std::string_view sql, const Params& params = {});
    // First column of the first row; NULL when there is no row.
    Value scalar(std::string_view sql, const Params& params = {});

    // Schema questions.
    bool tableExists(std::string_view name);                  // tables and views
    std::vector<std::string> tableNames();                    // tables and views, by name
    std::vector<ColumnInfo> columns(std::string_view table);  // in table order

    // A job: statements and posts between begin and end form one
    // transaction. Jobs nest (savepoints); an inner failure rolls back the
    // inner job only if the caller catches it. Datasets that wrote inside a
    // rolled-back job re-read their rows.
    class Job {
    public:
        explicit Job(Connection& connection);
        ~Job();  // rolls back unless committed
        void commit();
        Job(const Job&) = delete;
        Job& operator=(const Job&) = delete;

    private:
        Connection& c_;
        std::string name_;
        bool done_ = false;
    };
    // Runs f inside a Job; commits when f returns, rolls back and rethrows
    // when it throws.
    template <class F>
    decltype(auto) runJob(F&& f) {
        Job job(*this);
        if constexpr (std::is_void_v<decltype(f())>) {
            f();
            job.commit();
        } else {
            decltype(auto) r = f();
            job.commit();
            return r;
        }
    }
    bool inJob() const { return jobDepth_ > 0; }

    // Increases with every write through this connection (statements, posts,
    // deletes); lookup caches compare it.
    std::uint64_t changeCount() const { return changeCount_; }

    // The raw handle (connects first). For tests and tools.
    sqlite3* handle();

    // Datasets register themselves while they exist.
    void attach(Dataset* ds);
    void detach(Dataset* ds);
    // Called by datasets after they wrote, so a rollback can refresh them.
    void noteWrite(Dataset* ds);

private:
    friend class Dataset;
    friend class PreparedStatement;
    void ensureConnected();
    void disconnect();
    void regenerateTriggers(const std::string& table);
    void rolledBack();
    // The statements kept prepared on this connection (see internal.h).
    detail::StatementCache& statements();
    template <class Step>
    long long runStatement(sqlite3_stmt* st, Step&& step, const Params& params);

    std::string connectionString_;
    std::string path_;
    bool readOnly_ = false;
    ExternalSourceFactory externalFactory_;
    sqlite3* handle_ = nullptr;
    std::unique_ptr<detail::StatementCache> statements_;
    std::vector<Dataset*> datasets_;
    std::vector<Dataset*> jobWriters_;
    int jobDepth_ = 0;
    int jobCounter_ = 0;
    std::uint64_t changeCount_ = 0;
};

}  // namespace db
