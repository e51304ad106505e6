// The settings file Quendar.ini in the working folder: its first line is the
// full path of the working database.
#pragma once

#include <functional>
#include <string>

namespace app {

inline constexpr const char* SettingsFileName = "Quendar.ini";
inline constexpr const char* DefaultDatabaseName = "Wendrasol.mdb";

// The database named by the settings file of `workDir`.
//
// A missing settings file is a fresh working folder: the database
// `workDir`/Wendrasol.mdb is created through `createDatabase` when no such
// file exists yet, and then the settings file is written naming it. (The
// database comes first, so a failed creation leaves no settings file behind
// and the next start tries again.)
//
// A settings file that exists is only read, never replaced: when it cannot be
// read, rtl::FileError is raised, so the user's choice of database is not
// overwritten by a default. A file that names a database which does not exist
// is returned as it stands; the first database access then fails.
std::string readOrCreateSettings(const std::string& workDir,
                                 const std::function<void(const std::string& path)>& createDatabase);

}  // namespace app
