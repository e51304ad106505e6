#include "db/DatabaseIO.h"

#include <sqlite3.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

#include "db/connection.h"
#include "db/jet.h"
#include "rtl/errors.h"

namespace db {

namespace fs = std::filesystem;

namespace {

[[noreturn]] void fail(const std::string& path, const std::string& what, const std::string& reason) {
    throw rtl::DatabaseError(what + "\n" + path + "\n(" + reason + ")");
}

std::string systemReason(int error) { return std::strerror(error); }

std::string folderOf(const std::string& path) {
    const fs::path parent = fs::path(path).parent_path();
    return parent.empty() ? std::string(".") : parent.string();
}

void requireDatabaseFile(const std::string& path) {
    std::error_code ec;
    if (path.empty()) throw rtl::DatabaseError("データベースファイルが指定されていません。");
    if (!fs::exists(path, ec)) throw rtl::DatabaseError("データベースファイル '" + path + "' が見つかりません。");
    if (!fs::is_regular_file(path, ec))
        throw rtl::DatabaseError("'" + path + "' はデータベースファイルではありません。");
}

// A connection of the file jobs' own: never creates the file, rolls back a
// hot journal it finds, waits a while for a lock, knows the Jet dialect.
class Handle {
public:
    Handle(const std::string& path, int flags) : path_(path) {
        const int rc = sqlite3_open_v2(path.c_str(), &h_, flags, nullptr);
        if (rc != SQLITE_OK) {
            const std::string reason = h_ ? sqlite3_errmsg(h_) : sqlite3_errstr(rc);
            sqlite3_close_v2(h_);
            h_ = nullptr;
            fail(path, "データベースファイルを開けません。", reason);
        }
        sqlite3_busy_timeout(h_, 5000);
        // The tables' collation and functions, which the copy, the
        // compaction and the integrity check of indexes need.
        installJetDialect(h_);
        const int check = sqlite3_exec(h_, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
        if (check == SQLITE_NOTADB) {
            close();
            throw rtl::DatabaseError("'" + path + "' はこのプログラムのデータベースファイルではありません。");
        }
        if (check != SQLITE_OK) failHere("データベースファイルを読めません。");
    }
    ~Handle() { close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    sqlite3* get() const { return h_; }
    void close() {
        if (h_) sqlite3_close_v2(h_);
        h_ = nullptr;
    }
    [[noreturn]] void failHere(const std::string& what) {
        const std::string reason = sqlite3_errmsg(h_);
        close();
        fail(path_, what, reason);
    }

private:
    std::string path_;
    sqlite3* h_ = nullptr;
};

// The temporary file of a job: removed again unless it was renamed.
class TempFile {
public:
    explicit TempFile(const std::string& folder) : path_(MakeTempDbName(folder)) {}
    ~TempFile() {
        if (path_.empty()) return;
        std::error_code ec;
        fs::remove(path_, ec);
        fs::remove(path_ + "-journal", ec);
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    const std::string& path() const { return path_; }
    void renamedTo(const std::string& target) {
        if (std::rename(path_.c_str(), target.c_str()) != 0)
            fail(target, "データベースファイルを置き換えられません。", systemReason(errno));
        path_.clear();
    }

private:
    std::string path_;
};

void checkIntegrity(const std::string& path) {
    Handle h(path, SQLITE_OPEN_READONLY);
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(h.get(), "PRAGMA integrity_check", -1, &st, nullptr) != SQLITE_OK)
        h.failHere("作成したデータベースを検査できません。");
    std::string result;
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
        if (!result.empty()) result += "; ";
        result += text ? text : "";
    }
    sqlite3_finalize(st);
    if (rc != SQLITE_DONE) h.failHere("作成したデータベースを検査できません。");
    if (result != "ok") fail(path, "作成したデータベースが壊れています。", result);
}

// Flushes a file (or a folder's entries) to the disk.
void syncPath(const std::string& path, bool folder) {
    const int fd = ::open(path.c_str(), (folder ? O_DIRECTORY : 0) | O_RDONLY | O_CLOEXEC);
    if (fd < 0) fail(path, "ディスクへの書き込みを確認できません。", systemReason(errno));
    const int rc = ::fsync(fd);
    const int error = errno;
    ::close(fd);
    if (rc != 0) fail(path, "ディスクへの書き込みを確認できません。", systemReason(error));
}

// The new file takes over the permissions of the one it replaces.
void copyMode(const std::string& from, const std::string& to) {
    struct stat st {};
    if (::stat(from.c_str(), &st) != 0) return;  // a new target keeps the temporary file's
    if (::chmod(to.c_str(), st.st_mode & 07777) != 0) fail(to, "ファイルの属性を設定できません。", systemReason(errno));
}

// A journal left beside the target would be played into the new file.
void requireNoJournal(const std::string& path) {
    std::error_code ec;
    for (const char* suffix : {"-journal", "-wal"})
        if (fs::exists(path + suffix, ec))
            fail(path, "データベースファイルが使用中です。", std::string("'") + path + suffix + "' が残っています");
}

// Checks the temporary file and moves it over `target`.
void finish(TempFile& temp, const std::string& target, const std::string& modeFrom, const FileJobHook& hook) {
    if (hook) hook("written");
    checkIntegrity(temp.path());
    copyMode(modeFrom, temp.path());
    syncPath(temp.path(), false);
    if (hook) hook("checked");
    requireNoJournal(target);
    temp.renamedTo(target);
    syncPath(folderOf(target), true);
    if (hook) hook("renamed");
}

}  // namespace

std::string MakeTempDbName(const std::string& folder) {
    const std::string base = folder.empty() ? std::string(".") : folder;
    std::string name = (fs::path(base) / "!mdbXXXXXX").string();
    std::vector<char> buffer(name.begin(), name.end());
    buffer.push_back('\0');
    const int fd = ::mkstemp(buffer.data());
    if (fd < 0) fail(base, "一時ファイルを作成できません。", systemReason(errno));
    ::close(fd);
    return std::string(buffer.data());
}

bool sameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    const bool same = fs::equivalent(a, b, ec);
    return !ec && same;
}

std::vector<std::string> databaseTables(const std::string& path) {
    requireDatabaseFile(path);
    Handle h(path, SQLITE_OPEN_READONLY);
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(h.get(), "SELECT name FROM sqlite_master WHERE type IN ('table', 'view')", -1, &st,
                           nullptr) != SQLITE_OK)
        h.failHere("データベースファイルを読めません。");
    std::vector<std::string> names;
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW)
        names.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    if (rc != SQLITE_DONE) h.failHere("データベースファイルを読めません。");
    return names;
}

void compactDatabaseFile(const std::string& path, const FileJobHook& hook) {
    requireDatabaseFile(path);
    TempFile temp(folderOf(path));
    {
        Handle source(path, SQLITE_OPEN_READWRITE);
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(source.get(), "VACUUM INTO ?", -1, &st, nullptr) != SQLITE_OK)
            source.failHere("データベースを最適化できません。");
        sqlite3_bind_text(st, 1, temp.path().c_str(), -1, SQLITE_TRANSIENT);
        const int rc = sqlite3_step(st);
        sqlite3_finalize(st);
        if (rc != SQLITE_DONE) source.failHere("データベースを最適化できません。");
    }
    finish(temp, path, path, hook);
}

void backupDatabaseFile(const std::string& source, const std::string& target, const FileJobHook& hook) {
    requireDatabaseFile(source);
    if (sameFile(source, target)) throw rtl::DatabaseError("コピー先がコピー元と同じファイルです。\n" + target);
    TempFile temp(folderOf(target));
    {
        Handle from(source, SQLITE_OPEN_READWRITE);
        Handle to(temp.path(), SQLITE_OPEN_READWRITE);
        sqlite3_backup* backup = sqlite3_backup_init(to.get(), "main", from.get(), "main");
        if (!backup) to.failHere("ファイルのコピーを始められません。");
        const int rc = sqlite3_backup_step(backup, -1);
        sqlite3_backup_finish(backup);
        if (rc != SQLITE_DONE) {
            if (sqlite3_errcode(to.get()) != SQLITE_OK) to.failHere("ファイルをコピーできません。");
            fail(source, "ファイルをコピーできません。", sqlite3_errstr(rc));
        }
    }
    // A replaced target keeps its permissions; a new one takes the source's.
    std::error_code ec;
    finish(temp, target, fs::exists(target, ec) ? target : source, hook);
}

// ---- TDatabase ------------------------------------------------------------------

TDatabase::TDatabase() = default;

TDatabase::~TDatabase() { Close(); }

bool TDatabase::Open(const std::string& User, const std::string& Password, const std::string& FileName,
                     std::string& ErrMsg) {
    Close();
    try {
        auto connection = std::make_unique<db::Connection>(GetConnectionString(User, Password, FileName));
        connection->open();
        Connection = std::move(connection);
        this->User = User;
        this->Password = Password;
        this->FileName = FileName;
        Active = true;
        return true;
    } catch (const std::exception& e) {
        ErrMsg = e.what();
        Close();
        return false;
    }
}

void TDatabase::Close() {
    if (Active && Connection) Connection->close();
    User.clear();
    Password.clear();
    FileName.clear();
    Connection.reset();
    Active = false;
}

bool TDatabase::CompactTo(const std::string& NewPassword, std::string& ErrMsg) {
    const std::string user = User, password = Password, fileName = FileName;
    const bool wasOpen = Active;
    Close();
    if (!wasOpen) {
        ErrMsg = "データベースが開かれていません。";
        return false;
    }
    bool done = false;
    try {
        compactDatabaseFile(fileName, compactHook_);
        done = true;
    } catch (const std::exception& e) {
        ErrMsg = e.what();
    }
    std::string reopenError;
    const bool reopened = Open(user, done ? NewPassword : password, fileName, reopenError);
    if (done && !reopened) ErrMsg = reopenError;
    return done && reopened;
}

bool TDatabase::Compact(std::string& ErrMsg) { return CompactTo(Password, ErrMsg); }

// ---- TDatabaseJet ---------------------------------------------------------------

std::string TDatabaseJet::GetConnectionString(const std::string& /*User*/, const std::string& Password,
                                              const std::string& FileName) const {
    return "Provider=Microsoft.Jet.OLEDB.4.0;Jet OLEDB:Database Password=" + Password + ";Data Source=" + FileName;
}

bool TDatabaseJet::Open(const std::string& User, const std::string& Password, const std::string& FileName,
                        std::string& ErrMsg) {
    // The connection never creates a file; a missing one fails with its path.
    return TDatabase::Open(User, Password, FileName, ErrMsg);
}

}  // namespace db
