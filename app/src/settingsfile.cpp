#include "app/settingsfile.h"

#include <filesystem>
#include <system_error>

#include "rtl/textfile.h"

namespace app {

std::string readOrCreateSettings(const std::string& workDir,
                                 const std::function<void(const std::string& path)>& createDatabase) {
    const std::filesystem::path settings = std::filesystem::path(workDir) / SettingsFileName;
    std::error_code ec;
    if (std::filesystem::exists(settings, ec) || ec) return rtl::readFirstLine(settings);

    const std::string database = (std::filesystem::path(workDir) / DefaultDatabaseName).string();
    if (!std::filesystem::exists(database, ec) && createDatabase) createDatabase(database);
    rtl::writeLines(settings, {database});
    return database;
}

}  // namespace app
