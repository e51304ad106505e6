#include "db/connection.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>

#include "db/dataset.h"
#include "internal.h"
#include "rtl/errors.h"
#include "rtl/strings.h"

namespace db {

// ---- shared helpers -----------------------------------------------------------

namespace detail {

Value fromSqlite(sqlite3_value* v) {
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER: return Value(static_cast<long long>(sqlite3_value_int64(v)));
    case SQLITE_FLOAT: return Value(sqlite3_value_double(v));
    case SQLITE_TEXT:
    case SQLITE_BLOB: {
        const char* p = reinterpret_cast<const char*>(sqlite3_value_text(v));
        return Value(std::string(p ? p : "", static_cast<size_t>(sqlite3_value_bytes(v))));
    }
    default: return {};
    }
}

Value columnValue(sqlite3_stmt* st, int i) {
    switch (sqlite3_column_type(st, i)) {
    case SQLITE_INTEGER: return Value(static_cast<long long>(sqlite3_column_int64(st, i)));
    case SQLITE_FLOAT: return Value(sqlite3_column_double(st, i));
    case SQLITE_TEXT:
    case SQLITE_BLOB: {
        const char* p = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
        return Value(std::string(p ? p : "", static_cast<size_t>(sqlite3_column_bytes(st, i))));
    }
    default: return {};
    }
}

void resultValue(sqlite3_context* ctx, const Value& v) {
    if (v.isNull()) sqlite3_result_null(ctx);
    else if (v.isInteger()) sqlite3_result_int64(ctx, v.integer());
    else if (v.isFloat()) sqlite3_result_double(ctx, v.real());
    else sqlite3_result_text(ctx, v.text().c_str(), static_cast<int>(v.text().size()), SQLITE_TRANSIENT);
}

void bindOne(sqlite3_stmt* st, int i, const Value& v) {
    if (v.isNull()) sqlite3_bind_null(st, i);
    else if (v.isInteger()) sqlite3_bind_int64(st, i, v.integer());
    else if (v.isFloat()) sqlite3_bind_double(st, i, v.real());
    else sqlite3_bind_text(st, i, v.text().c_str(), static_cast<int>(v.text().size()), SQLITE_TRANSIENT);
}

void bindParams(sqlite3_stmt* st, const Params& params) {
    const int n = sqlite3_bind_parameter_count(st);
    std::vector<bool> bound(static_cast<size_t>(n) + 1, false);
    int nextPositional = 1;
    for (const auto& p : params) {
        int idx = 0;
        if (p.name.empty()) {
            while (nextPositional <= n) {
                const char* nm = sqlite3_bind_parameter_name(st, nextPositional);
                if (!nm || nm[0] == '?') break;
                ++nextPositional;
            }
            if (nextPositional > n) throw rtl::DatabaseError("SQL 文のパラメータより多くの値が指定されました。");
            idx = nextPositional++;
        } else {
            const std::string& nm = p.name;
            if (nm[0] == ':' || nm[0] == '@' || nm[0] == '$' || nm[0] == '?') {
                idx = sqlite3_bind_parameter_index(st, nm.c_str());
            } else {
                for (const char* prefix : {":", "@", "$"}) {
                    idx = sqlite3_bind_parameter_index(st, (prefix + nm).c_str());
                    if (idx) break;
                }
            }
            if (!idx) throw rtl::DatabaseError("パラメータ '" + nm + "' が SQL 文にありません。");
        }
        bindOne(st, idx, p.value);
        bound[static_cast<size_t>(idx)] = true;
    }
    for (int i = 1; i <= n; ++i) {
        if (!bound[static_cast<size_t>(i)]) {
            const char* nm = sqlite3_bind_parameter_name(st, i);
            throw rtl::DatabaseError(std::string("パラメータ '") + (nm ? nm : "?") + "' の値が設定されていません。");
        }
    }
}

namespace {
bool plainIdentifier(std::string_view s) {
    if (s.empty()) return false;
    unsigned char f = static_cast<unsigned char>(s[0]);
    if (std::isdigit(f)) return false;
    for (char c : s) {
        unsigned char u = static_cast<unsigned char>(c);
        if (!(u >= 0x80 || std::isalnum(u) || c == '_')) return false;
    }
    return true;
}
}  // namespace

std::string jetColumnName(sqlite3_stmt* st, int i, int exprOffset) {
    const char* name = sqlite3_column_name(st, i);
    const char* origin = sqlite3_column_origin_name(st, i);
    std::string n = name ? name : "";
    if (origin || plainIdentifier(n)) return n;
    return "Expr" + std::to_string(1000 + i - exprOffset);
}

namespace {
bool startsWith(std::string_view s, std::string_view p) { return s.substr(0, p.size()) == p; }
}  // namespace

std::string translateError(sqlite3* db, int rc, std::string_view sql) {
    std::string m = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    auto after = [&](std::string_view p) { return m.substr(p.size()); };
    if (startsWith(m, "no such table: ")) return "テーブル '" + after("no such table: ") + "' が見つかりません。";
    if (startsWith(m, "no such column: ")) return "列 '" + after("no such column: ") + "' が見つかりません。";
    if (startsWith(m, "table ") && m.find(" already exists") != std::string::npos) {
        std::string t = m.substr(6, m.find(" already exists") - 6);
        if (t.size() > 1 && t.front() == '"') t = t.substr(1, t.size() - 2);
        return "テーブル '" + t + "' は既に存在します。";
    }
    if (startsWith(m, "duplicate column name: "))
        return "フィールド '" + after("duplicate column name: ") + "' は既に存在します。";
    if (startsWith(m, "CHECK constraint failed: ")) return after("CHECK constraint failed: ") + "。";
    if (startsWith(m, "NOT NULL constraint failed: "))
        return "フィールド '" + after("NOT NULL constraint failed: ") + "' に Null 値は入力できません。";
    if (startsWith(m, "UNIQUE constraint failed: "))
        return "主キーの値が重複しています (" + after("UNIQUE constraint failed: ") + ")。";
    if (startsWith(m, "no such function: ")) return "関数 '" + after("no such function: ") + "' が定義されていません。";
    if (m.find("syntax error") != std::string::npos || startsWith(m, "incomplete input"))
        return "SQL 文の構文エラーです (" + m + "): " + std::string(sql.substr(0, 200));
    if (m.find("readonly database") != std::string::npos) return "データベースは読み取り専用です。";
    if (m.find("database is locked") != std::string::npos) return "データベースは他のプログラムが使用中です。";
    if (m.find("not a database") != std::string::npos) return "データベースファイルの形式が正しくありません。";
    if (m.find("disk I/O error") != std::string::npos) return "データベースファイルの読み書きに失敗しました。";
    if (m.find("database or disk is full") != std::string::npos) return "ディスクの空き容量が足りません。";
    // Messages of the user functions (already Japanese) pass as they are.
    for (unsigned char c : m)
        if (c >= 0x80) return m;
    return "データベースエラー: " + m;
}

void raise(sqlite3* db, int rc, std::string_view sql) { throw rtl::DatabaseError(translateError(db, rc, sql)); }

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    // ASCII only, as the names are; the C library's tolower goes through the
    // locale at every character, and a field is looked up by name per value.
    const auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    for (size_t i = 0; i < a.size(); ++i)
        if (fold(a[i]) != fold(b[i])) return false;
    return true;
}

std::string cutToWidth(std::string_view s, int n) {
    if (n <= 0) return std::string(s);
    return rtl::copy(s, 1, n);
}

}  // namespace detail

// ---- statements ---------------------------------------------------------------

namespace detail {

Statement::Statement(sqlite3* h, std::string_view sql, bool allowFailure) : h_(h) {
    const char* tail = nullptr;
    int rc = sqlite3_prepare_v2(h, sql.data(), static_cast<int>(sql.size()), &st_, &tail);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(st_);
        st_ = nullptr;
        if (allowFailure) return;
        raise(h, rc, sql);
    }
    if (!st_) {
        if (allowFailure) return;
        throw rtl::DatabaseError("SQL 文がありません。");
    }
    std::string_view rest(tail, static_cast<size_t>(sql.data() + sql.size() - tail));
    while (!rest.empty() && (std::isspace(static_cast<unsigned char>(rest.front())) || rest.front() == ';'))
        rest.remove_prefix(1);
    if (!rest.empty()) {
        sqlite3_finalize(st_);
        st_ = nullptr;
        if (allowFailure) return;
        throw rtl::DatabaseError("一度に実行できる SQL 文は 1 つだけです。");
    }
    sql_ = std::string(sql);
}

Statement::~Statement() { sqlite3_finalize(st_); }

bool Statement::step() {
    int rc = sqlite3_step(st_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    raise(h_, rc, sql_);
}

// ---- kept statements ----------------------------------------------------------------

StatementCache::Lease::Lease(StatementCache* cache, Entry* entry, std::unique_ptr<Statement> own, std::string key)
    : cache_(cache), entry_(entry), own_(std::move(own)), key_(std::move(key)) {}

StatementCache::Lease::~Lease() {
    sqlite3_stmt* st = get();
    sqlite3_reset(st);
    sqlite3_clear_bindings(st);
    if (entry_) cache_->release(entry_, key_);
}

bool StatementCache::keeps(std::string_view sql) {
    std::size_t i = 0;
    while (i < sql.size() && (std::isspace(static_cast<unsigned char>(sql[i])) || sql[i] == '(')) ++i;
    std::size_t j = i;
    while (j < sql.size() && std::isalpha(static_cast<unsigned char>(sql[j]))) ++j;
    const std::string_view word = sql.substr(i, j - i);
    for (std::string_view kept : {"SELECT", "INSERT", "UPDATE", "DELETE", "WITH"})
        if (sameName(word, kept)) return true;
    return false;
}

StatementCache::Lease StatementCache::acquire(sqlite3* h, std::string_view sql) {
    if (!keeps(sql)) return Lease(this, nullptr, std::make_unique<Statement>(h, sql), {});
    std::string key(sql);
    if (auto it = entries_.find(key); it != entries_.end()) {
        Entry& e = it->second;
        if (e.busy) return Lease(this, nullptr, std::make_unique<Statement>(h, sql), {});
        e.busy = true;
        e.lastUse = ++clock_;
        return Lease(this, &e, nullptr, std::move(key));
    }
    auto statement = std::make_unique<Statement>(h, sql);
    if (entries_.size() >= limit_) {
        auto oldest = entries_.end();
        for (auto it = entries_.begin(); it != entries_.end(); ++it)
            if (!it->second.busy && (oldest == entries_.end() || it->second.lastUse < oldest->second.lastUse))
                oldest = it;
        if (oldest != entries_.end()) entries_.erase(oldest);
    }
    Entry& e = entries_[key];
    e.statement = std::move(statement);
    e.busy = true;
    e.lastUse = ++clock_;
    return Lease(this, &e, nullptr, std::move(key));
}

void StatementCache::release(Entry* entry, const std::string& key) {
    entry->busy = false;
    if (entry->dropped) entries_.erase(key);
}

void StatementCache::clear() {
    for (auto it = entries_.begin(); it != entries_.end();) {
        if (it->second.busy) {
            it->second.dropped = true;
            ++it;
        } else {
            it = entries_.erase(it);
        }
    }
}

}  // namespace detail

using detail::Statement;

namespace {

void execPlain(sqlite3* h, const std::string& sql) {
    char* err = nullptr;
    int rc = sqlite3_exec(h, sql.c_str(), nullptr, nullptr, &err);
    sqlite3_free(err);
    if (rc != SQLITE_OK) detail::raise(h, rc, sql);
}

// Before the first database opens: SQLite's memory statistics take a global
// lock on every allocation, which costs a third of the time of a bulk
// import and serves nothing here. Too late (SQLite already started by
// someone else) it changes nothing.
void configureSqliteOnce() {
    static const bool done = [] {
        sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
        return true;
    }();
    (void)done;
}

std::string valueOf(const std::string& cs, std::string_view key) {
    // "Key=Value;Key='Value';Key=\"Value\"" (keys without case). A quoted value
    // may hold ';' and comes back without its quotes, as the provider reads it.
    size_t i = 0;
    while (i < cs.size()) {
        const size_t eq = cs.find('=', i);
        if (eq == std::string::npos) break;
        const std::string_view name = rtl::trimView(std::string_view(cs).substr(i, eq - i));
        size_t j = eq + 1;
        while (j < cs.size() && cs[j] == ' ') ++j;
        std::string value;
        if (j < cs.size() && (cs[j] == '\'' || cs[j] == '"')) {
            const char q = cs[j];
            size_t close = cs.find(q, j + 1);
            if (close == std::string::npos) close = cs.size();
            value = cs.substr(j + 1, close - j - 1);
            size_t semi = cs.find(';', close);
            i = semi == std::string::npos ? cs.size() : semi + 1;
        } else {
            size_t semi = cs.find(';', j);
            if (semi == std::string::npos) semi = cs.size();
            value = std::string(rtl::trimView(std::string_view(cs).substr(j, semi - j)));
            i = semi + 1;
        }
        if (detail::sameName(name, key)) return value;
    }
    return {};
}

}  // namespace

// ---- Connection ---------------------------------------------------------------

Connection::Connection() = default;
Connection::Connection(std::string connectionString) { setConnectionString(std::move(connectionString)); }

Connection::~Connection() {
    for (Dataset* ds : datasets_) ds->conn_ = nullptr;
    disconnect();
}

void Connection::setConnectionString(std::string text) {
    if (connected()) close();
    connectionString_ = std::move(text);
    if (connectionString_.find('=') != std::string::npos && connectionString_.find(';') != std::string::npos) {
        path_ = valueOf(connectionString_, "Data Source");
        std::string mode = valueOf(connectionString_, "Mode");
        readOnly_ = detail::sameName(mode, "Read");
    } else {
        path_ = connectionString_;
        readOnly_ = false;
    }
}

void Connection::setDatabasePath(std::string path) {
    if (connected()) close();
    path_ = std::move(path);
    connectionString_ = path_;
    readOnly_ = false;
}

void Connection::setExternalSourceFactory(ExternalSourceFactory factory) {
    if (connected()) close();
    externalFactory_ = std::move(factory);
}

void Connection::open() { ensureConnected(); }

sqlite3* Connection::handle() {
    ensureConnected();
    return handle_;
}

void Connection::ensureConnected() {
    if (handle_) return;
    configureSqliteOnce();
    if (path_.empty()) throw rtl::DatabaseError("データベースファイルが指定されていません。");
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path_, ec))
        throw rtl::DatabaseError("データベースファイル '" + path_ + "' が見つかりません。");

    if (externalFactory_) {
        std::unique_ptr<ExternalSource> src = externalFactory_(path_);
        if (!src) throw rtl::DatabaseError("データベースファイル '" + path_ + "' を開けません。");
        sqlite3* h = nullptr;
        if (sqlite3_open_v2(":memory:", &h, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
            sqlite3_close_v2(h);
            throw rtl::DatabaseError("データベースを開けません。");
        }
        try {
            installJetDialect(h);
            sqlite3_db_config(h, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
            sqlite3_db_config(h, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
            execPlain(h, "BEGIN");
            for (const std::string& name : src->tables()) {
                ExternalTable t = src->readTable(name);
                if (t.columns.empty()) continue;
                std::string create = "CREATE TABLE " + quoteIdentifier(name) + " (";
                std::string insert = "INSERT INTO " + quoteIdentifier(name) + " VALUES (";
                for (size_t i = 0; i < t.columns.size(); ++i) {
                    create += (i ? ", " : "") + quoteIdentifier(t.columns[i]) + " LONGTEXT COLLATE JETTEXT";
                    insert += i ? ", ?" : "?";
                }
                execPlain(h, create + ")");
                Statement st(h, insert + ")");
                for (const auto& row : t.rows) {
                    sqlite3_reset(st.get());
                    for (size_t i = 0; i < t.columns.size(); ++i) {
                        if (i < row.size() && row[i])
                            sqlite3_bind_text(st.get(), static_cast<int>(i + 1), row[i]->c_str(),
                                              static_cast<int>(row[i]->size()), SQLITE_TRANSIENT);
                        else sqlite3_bind_null(st.get(), static_cast<int>(i + 1));
                    }
                    st.step();
                }
            }
            execPlain(h, "COMMIT");
            execPlain(h, "PRAGMA query_only = ON");
        } catch (...) {
            sqlite3_close_v2(h);
            throw;
        }
        handle_ = h;
        return;
    }

    sqlite3* h = nullptr;
    const int flags = (readOnly_ ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_NOMUTEX;
    int rc = sqlite3_open_v2(path_.c_str(), &h, flags, nullptr);
    if (rc != SQLITE_OK) {
        std::string m = "データベースファイル '" + path_ + "' を開けません (" + sqlite3_errstr(rc) + ")。";
        sqlite3_close_v2(h);
        throw rtl::DatabaseError(m);
    }
    try {
        installJetDialect(h);
        sqlite3_db_config(h, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
        sqlite3_db_config(h, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
        sqlite3_busy_timeout(h, 5000);
        sqlite3_extended_result_codes(h, 0);
        // A first read tells a foreign or damaged file apart from a database.
        int check = sqlite3_exec(h, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
        if (check == SQLITE_NOTADB)
            throw rtl::DatabaseError("'" + path_ + "' はこのプログラムのデータベースファイルではありません。");
        if (check != SQLITE_OK) detail::raise(h, check, "");
        if (!readOnly_) execPlain(h, "PRAGMA journal_mode = DELETE");
        execPlain(h, "PRAGMA synchronous = FULL");
        execPlain(h, "PRAGMA recursive_triggers = OFF");
    } catch (...) {
        sqlite3_close_v2(h);
        throw;
    }
    handle_ = h;
}

void Connection::disconnect() {
    if (!handle_) return;
    if (jobDepth_ > 0) sqlite3_exec(handle_, "ROLLBACK", nullptr, nullptr, nullptr);
    jobDepth_ = 0;
    jobWriters_.clear();
    if (statements_) statements_->clear();
    sqlite3_close_v2(handle_);
    handle_ = nullptr;
}

void Connection::close() {
    std::vector<Dataset*> open = datasets_;
    for (Dataset* ds : open)
        if (ds->active()) ds->close();
    disconnect();
}

void Connection::createDatabaseFile(const std::string& path, bool overwrite) {
    std::error_code ec;
    if (std::filesystem::exists(path, ec)) {
        if (!overwrite) throw rtl::DatabaseError("データベースファイル '" + path + "' は既に存在します。");
        std::filesystem::remove(path, ec);
        if (ec) throw rtl::DatabaseError("データベースファイル '" + path + "' を削除できません。");
    }
    configureSqliteOnce();
    sqlite3* h = nullptr;
    int rc = sqlite3_open_v2(path.c_str(), &h, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) {
        // The system's reason (no such folder, no write permission) tells the user what to mend.
        const int error = h ? sqlite3_system_errno(h) : 0;
        const std::string reason = error ? std::strerror(error) : sqlite3_errstr(rc);
        sqlite3_close_v2(h);
        throw rtl::DatabaseError("データベースファイル '" + path + "' を作成できません (" + reason + ")。");
    }
    // Writing the header makes the file a database at once.
    rc = sqlite3_exec(h, "PRAGMA journal_mode = DELETE; PRAGMA user_version = 1;", nullptr, nullptr, nullptr);
    sqlite3_close_v2(h);
    if (rc != SQLITE_OK) throw rtl::DatabaseError("データベースファイル '" + path + "' を作成できません。");
}

long long Connection::executeNative(std::string_view sql, const Params& params) {
    ensureConnected();
    if (!detail::StatementCache::keeps(sql)) {
        // A view, a pragma or a schema change: statements kept so far may
        // no longer compile as they did.
        struct Drop {
            Connection& c;
            ~Drop() { c.statements().clear(); }
        } drop{*this};
        Statement st(handle_, sql);
        return runStatement(
            st.get(), [&] { return st.step(); }, params);
    }
    const detail::StatementCache::Lease st = statements().acquire(handle_, sql);
    return runStatement(
        st.get(), [&] { return st->step(); }, params);
}

template <class Step>
long long Connection::runStatement(sqlite3_stmt* st, Step&& step, const Params& params) {
    detail::bindParams(st, params);
    const bool reads = sqlite3_stmt_readonly(st) != 0;
    while (step()) {
    }
    if (reads) return 0;
    ++changeCount_;
    return sqlite3_changes64(handle_);
}

detail::StatementCache& Connection::statements() {
    if (!statements_) statements_ = std::make_unique<detail::StatementCache>();
    return *statements_;
}

long long Connection::execute(std::string_view sql, const Params& params) {
    ensureConnected();
    DdlPlan plan = parseJetDdl(sql);
    if (plan.kind == DdlPlan::Kind::None) return executeNative(sql, params);
    if (!params.empty()) throw rtl::DatabaseError("DDL 文にはパラメータを指定できません。");
    statements().clear();
    Job job(*this);
    switch (plan.kind) {
    case DdlPlan::Kind::CreateTable: {
        execPlain(handle_, sqliteCreateTable(plan));
        for (const auto& s : sqliteKindTriggers(plan.table, plan.columns)) execPlain(handle_, s);
        break;
    }
    case DdlPlan::Kind::AlterAdd:
        if (!tableExists(plan.table)) throw rtl::DatabaseError("テーブル '" + plan.table + "' が見つかりません。");
        for (const auto& c : plan.columns)
            execPlain(handle_,
                      "ALTER TABLE " + quoteIdentifier(plan.table) + " ADD COLUMN " + sqliteColumnDefinition(c));
        regenerateTriggers(plan.table);
        break;
    case DdlPlan::Kind::AlterDrop:
        for (const auto& s : sqliteKindTriggers(plan.table, {})) execPlain(handle_, s);
        for (const auto& c : plan.dropped)
            execPlain(handle_, "ALTER TABLE " + quoteIdentifier(plan.table) + " DROP COLUMN " + quoteIdentifier(c));
        regenerateTriggers(plan.table);
        break;
    case DdlPlan::Kind::DropTable: execPlain(handle_, "DROP TABLE " + quoteIdentifier(plan.table)); break;
    case DdlPlan::Kind::None: break;
    }
    job.commit();
    ++changeCount_;
    return 0;
}

void Connection::regenerateTriggers(const std::string& table) {
    std::vector<ColumnSpec> specs;
    for (const auto& c : columns(table)) {
        ColumnSpec s;
        s.name = c.name;
        s.kind = c.kind;
        s.width = c.width;
        specs.push_back(s);
    }
    for (const auto& s : sqliteKindTriggers(table, specs)) execPlain(handle_, s);
}

ResultSet Connection::select(std::string_view sql, const Params& params) {
    ensureConnected();
    const detail::StatementCache::Lease st = statements().acquire(handle_, sql);
    detail::bindParams(st.get(), params);
    ResultSet r;
    const int n = sqlite3_column_count(st.get());
    for (int i = 0; i < n; ++i) r.columns.push_back(detail::jetColumnName(st.get(), i));
    while (st->step()) {
        std::vector<Value> row;
        row.reserve(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i) row.push_back(detail::columnValue(st.get(), i));
        r.rows.push_back(std::move(row));
    }
    if (!sqlite3_stmt_readonly(st.get())) ++changeCount_;
    return r;
}

Value Connection::scalar(std::string_view sql, const Params& params) {
    ResultSet r = select(sql, params);
    if (r.rows.empty() || r.rows[0].empty()) return {};
    return r.rows[0][0];
}

bool Connection::tableExists(std::string_view name) {
    Value v = scalar("SELECT count(*) FROM sqlite_master WHERE type IN ('table','view') AND name = ? COLLATE NOCASE",
                     {Value(name)});
    return v.isInteger() && v.integer() > 0;
}

std::vector<std::string> Connection::tableNames() {
    std::vector<std::string> out;
    ResultSet r = select(
        "SELECT name FROM sqlite_master WHERE type IN ('table','view') AND name NOT LIKE 'sqlite_%' "
        "ORDER BY name COLLATE JETTEXT");
    for (auto& row : r.rows) out.push_back(row[0].text());
    return out;
}

std::vector<ColumnInfo> Connection::columns(std::string_view table) {
    ResultSet r = select("SELECT name, type FROM pragma_table_info(?)", {Value(table)});
    if (r.rows.empty() && !tableExists(table))
        throw rtl::DatabaseError("テーブル '" + std::string(table) + "' が見つかりません。");
    std::vector<ColumnInfo> out;
    for (auto& row : r.rows) {
        ColumnInfo c;
        c.name = row[0].text();
        c.declaredType = row[1].isText() ? row[1].text() : std::string();
        if (!parseJetType(c.declaredType, c.kind, c.width)) {
            c.kind = FieldKind::Text;
            c.width = 0;
        }
        out.push_back(c);
    }
    return out;
}

void Connection::attach(Dataset* ds) {
    if (std::find(datasets_.begin(), datasets_.end(), ds) == datasets_.end()) datasets_.push_back(ds);
}

void Connection::detach(Dataset* ds) {
    datasets_.erase(std::remove(datasets_.begin(), datasets_.end(), ds), datasets_.end());
    jobWriters_.erase(std::remove(jobWriters_.begin(), jobWriters_.end(), ds), jobWriters_.end());
}

void Connection::noteWrite(Dataset* ds) {
    ++changeCount_;
    if (jobDepth_ > 0 && ds && std::find(jobWriters_.begin(), jobWriters_.end(), ds) == jobWriters_.end())
        jobWriters_.push_back(ds);
}

void Connection::rolledBack() {
    ++changeCount_;
    std::vector<Dataset*> writers = jobWriters_;
    for (Dataset* ds : writers) {
        if (std::find(datasets_.begin(), datasets_.end(), ds) != datasets_.end()) ds->rolledBack();
    }
    if (jobDepth_ == 0) jobWriters_.clear();
}

// ---- Job --------------------------------------------------------------------------

Connection::Job::Job(Connection& connection) : c_(connection) {
    c_.ensureConnected();
    name_ = "tallyra_job_" + std::to_string(++c_.jobCounter_);
    execPlain(c_.handle_, "SAVEPOINT " + name_);
    ++c_.jobDepth_;
}

void Connection::Job::commit() {
    if (done_) return;
    if (!c_.handle_ || c_.jobDepth_ == 0) throw rtl::DatabaseError("トランザクションは既に終了しています。");
    execPlain(c_.handle_, "RELEASE " + name_);
    done_ = true;
    if (--c_.jobDepth_ == 0) c_.jobWriters_.clear();
}

Connection::Job::~Job() {
    if (done_ || !c_.handle_ || c_.jobDepth_ == 0) return;
    sqlite3_exec(c_.handle_, ("ROLLBACK TO " + name_).c_str(), nullptr, nullptr, nullptr);
    sqlite3_exec(c_.handle_, ("RELEASE " + name_).c_str(), nullptr, nullptr, nullptr);
    --c_.jobDepth_;
    try {
        c_.rolledBack();
    } catch (...) {
        // A dataset that cannot re-read stays as it was; the database is consistent.
    }
}

}  // namespace db
