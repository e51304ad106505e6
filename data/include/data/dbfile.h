// The working database as a file: the settings file that names it, the check
// before another file becomes the working database, the year copy and the
// emptying of the work tables that follows it. No window: the database
// settings window and the year-copy dialog call these.
#pragma once

#include <filesystem>
#include <string>

#include "db/DatabaseIO.h"

namespace data {

class TDataModule1;

// The settings file in the working folder; its first line names the database.
inline constexpr const char* SettingsFileName = "Quendar.ini";

// The first line of `workDir`/Quendar.ini. Raises rtl::FileError when the
// file cannot be read.
std::string readSettingsDatabase(const std::filesystem::path& workDir);
// Writes `workDir`/Quendar.ini anew with `database` as its only line. The old
// file stays whole when the write fails (rtl::FileError).
void writeSettingsDatabase(const std::filesystem::path& workDir, const std::string& database);

// "Wendrasol" + the year as four digits + ".mdb".
std::string yearCopyName(int year);

// Raises rtl::DatabaseError, naming the file and the reason, unless `path`
// is an existing database of this program: a database file that holds the
// tables the program reads (minus_dat and gensen are created when missing).
// The file is never created.
void checkWorkingDatabase(const std::string& path);

// Points the working connection at `path` (closing it first) and returns the
// number of punches in タイムカード.
int switchWorkingDatabase(TDataModule1& dm, const std::string& path);

// True when `target` is the working database of `dm` or `source` itself.
bool isWorkingDatabase(TDataModule1& dm, const std::string& source, const std::string& target);

// Copies the database `source` to `target` (replacing an existing target).
// A target that is the working database or the source is refused. Raises
// rtl::DatabaseError with the file and the reason; nothing is left behind.
void copyDatabase(TDataModule1& dm, const std::string& source, const std::string& target,
                  const db::FileJobHook& hook = {});

// Empties タイムカード, kimu_tran and sum_tran in one transaction: a failure
// rolls back and leaves every row where it was. minus_dat, gensen and the
// masters are not touched.
void emptyWorkTables(TDataModule1& dm);

}  // namespace data
