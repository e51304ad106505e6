// Copy and compaction of a whole database file, and the database-file object
// of the compaction window: nothing is lost on any failure, no temporary
// file stays behind, a missing file is never created.
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

#include "db/DatabaseIO.h"
#include "fixture.h"
#include "unprivileged.h"

namespace fs = std::filesystem;

namespace {

// Every table's rows as a sorted list of their texts: equal before and after
// means no row was lost, added or changed (row order may differ).
std::map<std::string, std::vector<std::string>> contents(const std::string& path) {
    sqlite3* h = nullptr;
    EXPECT_EQ(sqlite3_open_v2(path.c_str(), &h, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    std::map<std::string, std::vector<std::string>> out;
    std::vector<std::string> tables;
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(h, "SELECT name FROM sqlite_master WHERE type = 'table'", -1, &st, nullptr);
    while (sqlite3_step(st) == SQLITE_ROW)
        tables.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    for (const std::string& t : tables) {
        sqlite3_prepare_v2(h, ("SELECT * FROM \"" + t + "\"").c_str(), -1, &st, nullptr);
        auto& rows = out[t];
        while (sqlite3_step(st) == SQLITE_ROW) {
            std::string row;
            for (int i = 0; i < sqlite3_column_count(st); ++i) {
                const auto* v = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
                row += (v ? std::string("'") + v : std::string("NULL")) + "|";
            }
            rows.push_back(row);
        }
        sqlite3_finalize(st);
        std::sort(rows.begin(), rows.end());
    }
    sqlite3_close(h);
    return out;
}

std::string bytesOf(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::vector<std::string> leftovers(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) {
        const std::string n = e.path().filename().string();
        if (n.rfind("!mdb", 0) == 0 || n.find("-journal") != std::string::npos) names.push_back(n);
    }
    return names;
}

using tsupport::Unprivileged;

class DatabaseFile : public dbtest::DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        conn_.execute("CREATE TABLE kept (id INTEGER, name VARCHAR(40), amount DOUBLE)");
        conn_.execute("CREATE TABLE emptied (id INTEGER, note VARCHAR(200))");
        conn_.runJob([&] {
            for (int i = 0; i < 3000; ++i) {
                conn_.execute("INSERT INTO kept VALUES (?, ?, ?)",
                              {db::Value(i), db::Value("名前" + std::to_string(i)), db::Value(i * 1.5)});
                conn_.execute("INSERT INTO emptied VALUES (?, ?)", {db::Value(i), db::Value(std::string(150, 'x'))});
            }
        });
        conn_.execute("DELETE FROM emptied WHERE id > 10");
        conn_.execute("DELETE FROM kept WHERE id % 3 = 0");
        conn_.close();
    }
    std::string target(const std::string& name) const { return (dir_ / name).string(); }
};

TEST_F(DatabaseFile, CompactionShrinksTheFileAndKeepsEveryRow) {
    const auto before = contents(path_);
    const auto sizeBefore = fs::file_size(path_);
    ::chmod(path_.c_str(), 0640);

    db::compactDatabaseFile(path_);

    EXPECT_LT(fs::file_size(path_), sizeBefore / 2);
    const auto after = contents(path_);
    EXPECT_EQ(after.at("kept").size(), 2000u);
    EXPECT_EQ(after.at("emptied").size(), 11u);
    EXPECT_EQ(after, before);
    EXPECT_EQ(fs::status(path_).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_TRUE(leftovers(dir_).empty());
}

// A job stopped after the temporary file was written (or checked) leaves the
// original byte for byte and removes its temporary file.
class StoppedMidway : public DatabaseFile, public ::testing::WithParamInterface<const char*> {};

TEST_P(StoppedMidway, CompactionLeavesTheOriginalAndNoTemporaryFile) {
    const std::string original = bytesOf(path_);
    const std::string stopAt = GetParam();
    auto stop = [&](std::string_view step) {
        if (step == stopAt) throw rtl::DatabaseError("stopped at " + stopAt);
    };
    EXPECT_THROW(db::compactDatabaseFile(path_, stop), rtl::DatabaseError);
    EXPECT_EQ(bytesOf(path_), original);
    EXPECT_TRUE(leftovers(dir_).empty());
}

TEST_P(StoppedMidway, CopyLeavesAnExistingTargetAndNoTemporaryFile) {
    const std::string old = target("Wendrasol2025.mdb");
    db::Connection::createDatabaseFile(old);
    const std::string oldBytes = bytesOf(old);
    const std::string stopAt = GetParam();
    auto stop = [&](std::string_view step) {
        if (step == stopAt) throw rtl::DatabaseError("stopped");
    };
    EXPECT_THROW(db::backupDatabaseFile(path_, old, stop), rtl::DatabaseError);
    EXPECT_EQ(bytesOf(old), oldBytes);
    EXPECT_TRUE(leftovers(dir_).empty());
}

INSTANTIATE_TEST_SUITE_P(Steps, StoppedMidway, ::testing::Values("written", "checked"),
                         [](const auto& info) { return std::string(info.param); });

TEST_F(DatabaseFile, CompactionOfAFileThatIsNoDatabaseChangesNothing) {
    const std::string text = target("notes.mdb");
    std::ofstream(text) << "not a database at all, just some text that is long enough\n";
    const std::string bytes = bytesOf(text);
    try {
        db::compactDatabaseFile(text);
        ADD_FAILURE() << "no error";
    } catch (const rtl::DatabaseError& e) {
        EXPECT_NE(std::string(e.what()).find(text), std::string::npos) << e.what();
    }
    EXPECT_EQ(bytesOf(text), bytes);
    EXPECT_TRUE(leftovers(dir_).empty());
}

TEST_F(DatabaseFile, AMissingFileIsReportedWithItsPathAndNeverCreated) {
    const std::string missing = target("gone.mdb");
    for (auto job : {+[](const std::string& p) { db::compactDatabaseFile(p); },
                     +[](const std::string& p) { db::databaseTables(p); },
                     +[](const std::string& p) { db::backupDatabaseFile(p, p + ".copy"); }}) {
        try {
            job(missing);
            ADD_FAILURE() << "no error";
        } catch (const rtl::DatabaseError& e) {
            EXPECT_NE(std::string(e.what()).find(missing), std::string::npos) << e.what();
        }
        EXPECT_FALSE(fs::exists(missing));
        EXPECT_FALSE(fs::exists(missing + ".copy"));
    }
    db::TDatabaseJet database;
    std::string error;
    EXPECT_FALSE(database.Open("", "", missing, error));
    EXPECT_NE(error.find(missing), std::string::npos) << error;
    EXPECT_FALSE(database.Active);
    EXPECT_FALSE(fs::exists(missing));
}

TEST_F(DatabaseFile, CopyToAFreshAndToAnExistingNameHoldsEveryRow) {
    const auto before = contents(path_);
    const std::string fresh = target("Wendrasol2026.mdb");
    db::backupDatabaseFile(path_, fresh);
    EXPECT_EQ(contents(fresh), before);

    const std::string existing = target("old.mdb");
    db::Connection::createDatabaseFile(existing);
    db::backupDatabaseFile(path_, existing);
    EXPECT_EQ(contents(existing), before);
    EXPECT_EQ(contents(path_), before);
    EXPECT_TRUE(leftovers(dir_).empty());
}

TEST_F(DatabaseFile, CopyOntoItselfIsRefused) {
    const std::string bytes = bytesOf(path_);
    fs::create_symlink(path_, dir_ / "link.mdb");
    for (const std::string& same : {path_, (dir_ / "." / "Wendrasol.mdb").string(), target("link.mdb")}) {
        SCOPED_TRACE(same);
        EXPECT_THROW(db::backupDatabaseFile(path_, same), rtl::DatabaseError);
        EXPECT_EQ(bytesOf(path_), bytes);
    }
    EXPECT_TRUE(leftovers(dir_).empty());
}

TEST_F(DatabaseFile, CopyIntoAFolderWithoutWritePermissionSaysWhere) {
    const fs::path locked = dir_ / "locked";
    fs::create_directory(locked);
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
    fs::permissions(dir_, fs::perms::all & ~fs::perms::group_write & ~fs::perms::others_write);
    fs::permissions(path_,
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read);
    std::string message;
    {
        Unprivileged user;
        if (!user.ok()) GTEST_SKIP() << "cannot run without root's rights";
        try {
            db::backupDatabaseFile(path_, (locked / "Wendrasol2026.mdb").string());
        } catch (const rtl::DatabaseError& e) {
            message = e.what();
        }
    }
    EXPECT_NE(message.find(locked.string()), std::string::npos) << message;
    EXPECT_NE(message.find("Permission denied"), std::string::npos) << message;
    EXPECT_TRUE(fs::is_empty(locked));
}

// ---- the database-file object -------------------------------------------------------

TEST_F(DatabaseFile, JetConnectionTextCarriesPasswordAndFile) {
    db::TDatabaseJet database;
    EXPECT_EQ(database.GetConnectionString("user", "secret", "/x/Wendrasol.mdb"),
              "Provider=Microsoft.Jet.OLEDB.4.0;Jet OLEDB:Database Password=secret;Data Source=/x/Wendrasol.mdb");
}

TEST_F(DatabaseFile, CompactKeepsTheObjectOpenOnTheCompactedFile) {
    const auto before = contents(path_);
    db::TDatabaseJet database;
    std::string error;
    ASSERT_TRUE(database.Open("", "", path_, error)) << error;
    ASSERT_TRUE(database.Compact(error)) << error;
    EXPECT_TRUE(database.Active);
    EXPECT_EQ(database.FileName, path_);
    EXPECT_EQ(database.Password, "");
    EXPECT_EQ(database.Connection->scalar("SELECT COUNT(*) FROM kept").integer(), 2000);
    database.Close();
    EXPECT_EQ(contents(path_), before);
    EXPECT_TRUE(leftovers(dir_).empty());
}

TEST_F(DatabaseFile, AFailedCompactionIsReportedThoughTheFileOpensAgain) {
    db::TDatabaseJet database;
    std::string error;
    ASSERT_TRUE(database.Open("", "", path_, error));
    database.setCompactHook([](std::string_view step) {
        if (step == "written") throw rtl::DatabaseError("ディスクがいっぱいです。");
    });
    EXPECT_FALSE(database.Compact(error));
    EXPECT_EQ(error, "ディスクがいっぱいです。");
    EXPECT_TRUE(database.Active);  // reopened on the untouched original
    EXPECT_EQ(database.Connection->scalar("SELECT COUNT(*) FROM kept").integer(), 2000);
}

TEST_F(DatabaseFile, CompactWithoutAnOpenFileFails) {
    db::TDatabaseJet database;
    std::string error;
    EXPECT_FALSE(database.Compact(error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(database.Active);
}

TEST_F(DatabaseFile, TemporaryNamesAreUniqueEmptyFilesInTheFolder) {
    const std::string a = db::MakeTempDbName(dir_.string());
    const std::string b = db::MakeTempDbName(dir_.string());
    EXPECT_NE(a, b);
    for (const std::string& p : {a, b}) {
        EXPECT_EQ(fs::path(p).parent_path(), dir_);
        EXPECT_EQ(fs::path(p).filename().string().rfind("!mdb", 0), 0u);
        EXPECT_EQ(fs::file_size(p), 0u);
    }
}

}  // namespace
