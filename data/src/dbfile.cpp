#include "data/dbfile.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "data/DB_Acs.h"
#include "data/punches.h"
#include "data/schema.h"
#include "rtl/errors.h"
#include "rtl/textfile.h"

namespace data {

namespace {

bool sameTableName(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

}  // namespace

std::string readSettingsDatabase(const std::filesystem::path& workDir) {
    return rtl::readFirstLine(workDir / SettingsFileName);
}

void writeSettingsDatabase(const std::filesystem::path& workDir, const std::string& database) {
    rtl::writeLines(workDir / SettingsFileName, {database});
}

std::string yearCopyName(int year) {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%04d", year);
    return std::string("Wendrasol") + digits + ".mdb";
}

void checkWorkingDatabase(const std::string& path) {
    const std::vector<std::string> present = db::databaseTables(path);
    for (const TableDef& t : tables()) {
        // Start-up creates these two when they are missing.
        if (t.name == "minus_dat" || t.name == "gensen") continue;
        const bool found =
            std::any_of(present.begin(), present.end(), [&](const std::string& n) { return sameTableName(n, t.name); });
        if (!found)
            throw rtl::DatabaseError("'" + path +
                                     "' はこのプログラムのデータベースファイルではありません。\n(テーブル " + t.name +
                                     " が有りません)");
    }
}

int switchWorkingDatabase(TDataModule1& dm, const std::string& path) {
    dm.setDatabasePath(path);
    return static_cast<int>(countPunches(dm));
}

bool isWorkingDatabase(TDataModule1& dm, const std::string& source, const std::string& target) {
    return db::sameFile(target, source) || db::sameFile(target, dm.ADOConnection1.databasePath());
}

void copyDatabase(TDataModule1& dm, const std::string& source, const std::string& target, const db::FileJobHook& hook) {
    if (isWorkingDatabase(dm, source, target))
        throw rtl::DatabaseError("コピー先が現在のデータベースファイルです。\n" + target);
    db::backupDatabaseFile(source, target, hook);
}

void emptyWorkTables(TDataModule1& dm) {
    db::Connection& c = dm.ADOConnection1;
    c.runJob([&] {
        for (const char* sql : {"DELETE FROM タイムカード", "DELETE FROM kimu_tran", "DELETE FROM sum_tran"})
            c.execute(sql);
    });
}

}  // namespace data
