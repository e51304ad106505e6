// Looking after a database file as a whole: a safe copy, compaction, and the
// database-file object through which the compaction window works.
//
// Both file jobs write the new file under a temporary name in the folder of
// the file they replace, check it, flush it to the disk and only then rename
// it over the old one. The old file is never deleted or truncated first: a
// failure at any step leaves it as it was, and the temporary file is removed
// again. Failures raise rtl::DatabaseError whose message names the file and
// the reason.
//
// Every connection of this process to the file being replaced must be closed
// before a job starts: a connection left open would go on reading and writing
// the old, unlinked file.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace db {

class Connection;

// Called after each step of a file job with the step's name; a test throws
// from it to stop the job there. Steps in order: "written" (the temporary
// file holds the new database), "checked" (its integrity check passed and it
// is on the disk), "renamed" (it replaced the target).
using FileJobHook = std::function<void(std::string_view step)>;

// Creates an empty file with a unique name beginning "!mdb" in `folder` and
// returns its full path. Raises rtl::DatabaseError naming the folder and the
// reason when the folder cannot be written.
std::string MakeTempDbName(const std::string& folder);

// True when both paths name the same existing file (also through links).
bool sameFile(const std::string& a, const std::string& b);

// Opens `path` as a database without ever creating it and returns the names
// of its tables and views. Raises rtl::DatabaseError when the file does not
// exist, cannot be read or is no database.
std::vector<std::string> databaseTables(const std::string& path);

// Rewrites the database `path` without its free pages (VACUUM INTO a
// temporary file beside it, integrity check, flush, rename). A file that
// does not exist is reported, never created.
void compactDatabaseFile(const std::string& path, const FileJobHook& hook = {});

// Copies the database `source` into `target` with the engine's online backup,
// through a temporary file in the target's folder, replacing a target that
// exists. A target that is the source itself is refused.
void backupDatabaseFile(const std::string& source, const std::string& target, const FileJobHook& hook = {});

// One database file, opened through a connection of its own.
//
// The user name and the database password are kept and handed through every
// step, as the connection text carries them; the engine has no database
// password, so they change nothing about how the file is opened.
class TDatabase {
public:
    TDatabase();
    virtual ~TDatabase();
    TDatabase(const TDatabase&) = delete;
    TDatabase& operator=(const TDatabase&) = delete;

    virtual std::string GetConnectionString(const std::string& User, const std::string& Password,
                                            const std::string& FileName) const = 0;
    // Closes, then opens FileName. False with the reason in ErrMsg on failure.
    virtual bool Open(const std::string& User, const std::string& Password, const std::string& FileName,
                      std::string& ErrMsg);
    void Close();
    // Compacts the open file, then opens it again (with NewPassword when the
    // compaction succeeded). True only when the compaction succeeded and the
    // file opened again; otherwise ErrMsg says why (a failed compaction's
    // reason is kept even when the file opens again).
    bool CompactTo(const std::string& NewPassword, std::string& ErrMsg);
    bool Compact(std::string& ErrMsg);

    // Failure-injection point handed to the compaction (tests only).
    void setCompactHook(FileJobHook hook) { compactHook_ = std::move(hook); }

    std::unique_ptr<db::Connection> Connection;  // while open
    std::string User;
    std::string Password;
    std::string FileName;
    bool Active = false;

private:
    FileJobHook compactHook_;
};

// A database file of this program: the Jet-style connection text.
class TDatabaseJet : public TDatabase {
public:
    // "Provider=Microsoft.Jet.OLEDB.4.0;Jet OLEDB:Database Password=<Password>;Data Source=<FileName>"
    std::string GetConnectionString(const std::string& User, const std::string& Password,
                                    const std::string& FileName) const override;
    // A file that does not exist is reported with its path; none is created.
    bool Open(const std::string& User, const std::string& Password, const std::string& FileName,
              std::string& ErrMsg) override;
};

}  // namespace db
