// The working database as a file: which files may become the working
// database, the year copy's refusals, and the emptying of the work tables.
#include <fstream>

#include "data/dbfile.h"
#include "data/delivered.h"
#include "db/connection.h"
#include "fixture.h"
#include "rtl/errors.h"

namespace {

namespace fs = std::filesystem;
using data::testing::WorkFolder;

class DbFile : public WorkFolder {
protected:
    void fillWorkTables() {
        exec(
            "INSERT INTO タイムカード (月, 日, 時, 分, IDコード, 入退) VALUES ('04', '01', '09', '00', '000001', '1')");
        exec("INSERT INTO kimu_tran (K_TANCOD) VALUES (1)");
        exec("INSERT INTO sum_tran (S_TANCOD, S_DATE) VALUES (1, '26/04')");
        exec("INSERT INTO minus_dat (M_No, M_TANCOD, M_DATE) VALUES (1, 1, '26/04')");
    }
    long long rows(const std::string& table) { return number("SELECT COUNT(*) FROM " + table); }
};

TEST_F(DbFile, EmptyingClearsTheThreeWorkTablesOnly) {
    fillWorkTables();
    const long long employees = rows("emp_tanka"), taxRows = rows("zei_mas");
    data::emptyWorkTables(*dm);
    EXPECT_EQ(rows("タイムカード"), 0);
    EXPECT_EQ(rows("kimu_tran"), 0);
    EXPECT_EQ(rows("sum_tran"), 0);
    EXPECT_EQ(rows("minus_dat"), 1);
    EXPECT_EQ(rows("emp_tanka"), employees);
    EXPECT_EQ(rows("zei_mas"), taxRows);
}

TEST_F(DbFile, AFailedEmptyingLeavesEveryRow) {
    fillWorkTables();
    // The second statement fails: the punches already deleted come back.
    dm->ADOConnection1.executeNative(
        "CREATE TRIGGER keep BEFORE DELETE ON kimu_tran BEGIN SELECT RAISE(ABORT, 'locked'); END");
    EXPECT_THROW(data::emptyWorkTables(*dm), rtl::Error);
    EXPECT_EQ(rows("タイムカード"), 1);
    EXPECT_EQ(rows("kimu_tran"), 1);
    EXPECT_EQ(rows("sum_tran"), 1);
}

TEST_F(DbFile, OnlyADatabaseOfThisProgramMayBecomeTheWorkingDatabase) {
    const std::string other = (dir / "other.mdb").string();
    data::createDeliveredDatabase(other);
    EXPECT_NO_THROW(data::checkWorkingDatabase(other));

    // The two tables start-up creates may be missing.
    db::Connection older(other);
    older.execute("DROP TABLE gensen");
    older.execute("DROP TABLE minus_dat");
    older.close();
    EXPECT_NO_THROW(data::checkWorkingDatabase(other));

    const std::string text = (dir / "text.mdb").string();
    std::ofstream(text) << "Standard Jet DB, or rather not\n";
    const std::string empty = (dir / "empty.mdb").string();
    db::Connection::createDatabaseFile(empty);
    const struct {
        const char* name;
        std::string path;
    } refused[] = {{"missing file", (dir / "missing.mdb").string()},
                   {"folder", dir.string()},
                   {"text file", text},
                   {"database without the program's tables", empty},
                   {"empty name", ""}};
    for (const auto& c : refused) {
        SCOPED_TRACE(c.name);
        try {
            data::checkWorkingDatabase(c.path);
            ADD_FAILURE() << "accepted";
        } catch (const rtl::DatabaseError& e) {
            if (!c.path.empty()) {
                EXPECT_NE(std::string(e.what()).find(c.path), std::string::npos) << e.what();
            }
        }
    }
    EXPECT_FALSE(fs::exists(dir / "missing.mdb"));
}

TEST_F(DbFile, SwitchingCountsThePunchesOfTheNewDatabase) {
    fillWorkTables();
    const std::string other = (dir / "other.mdb").string();
    data::createDeliveredDatabase(other);
    EXPECT_EQ(data::switchWorkingDatabase(*dm, other), 0);
    EXPECT_EQ(dm->ADOConnection1.databasePath(), other);
    EXPECT_EQ(data::switchWorkingDatabase(*dm, dbPath), 1);
}

TEST_F(DbFile, YearCopyRefusesTheWorkingDatabaseHoweverItIsNamed) {
    fillWorkTables();
    fs::create_symlink(dbPath, dir / "alias.mdb");
    for (const std::string& target : {dbPath, (dir / "." / "Wendrasol.mdb").string(), (dir / "alias.mdb").string()}) {
        SCOPED_TRACE(target);
        EXPECT_THROW(data::copyDatabase(*dm, dbPath, target), rtl::DatabaseError);
    }
    // Also when the settings file names another file than the one in use.
    const std::string named = (dir / "named.mdb").string();
    data::createDeliveredDatabase(named);
    EXPECT_THROW(data::copyDatabase(*dm, named, dbPath), rtl::DatabaseError);
    EXPECT_EQ(rows("タイムカード"), 1);
}

TEST_F(DbFile, YearCopyHoldsTheWorkTables) {
    fillWorkTables();
    const std::string copy = (dir / data::yearCopyName(2026)).string();
    data::copyDatabase(*dm, dbPath, copy);
    db::Connection archive(copy);
    EXPECT_EQ(archive.scalar("SELECT COUNT(*) FROM タイムカード").integer(), 1);
    EXPECT_EQ(archive.scalar("SELECT COUNT(*) FROM sum_tran").integer(), 1);
}

TEST(DbFileNames, YearCopyNameHasFourDigits) {
    EXPECT_EQ(data::yearCopyName(2015), "Wendrasol2015.mdb");
    EXPECT_EQ(data::yearCopyName(987), "Wendrasol0987.mdb");
}

TEST_F(DbFile, SettingsFileNamesTheDatabaseOnItsFirstLine) {
    EXPECT_THROW(data::readSettingsDatabase(dir), rtl::FileError);
    data::writeSettingsDatabase(dir, "/data/給与/Wendrasol.mdb");
    EXPECT_EQ(data::readSettingsDatabase(dir), "/data/給与/Wendrasol.mdb");
}

}  // namespace
