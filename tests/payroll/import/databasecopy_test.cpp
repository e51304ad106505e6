// The copy of a time recorder's Jet file: タイムカード, 区分 and 個人 are
// replaced together, or not at all.
#include <gtest/gtest.h>

#include <fstream>

#include "data/schema.h"
#include "fixture.h"
#include "import/jetsource.h"
#include "import/recorderimport.h"
#include "rtl/errors.h"

namespace payroll::testing {
namespace {

using jet::testing::TextStorage;
using jet::testing::TextTable;

class DatabaseCopy : public ImportFolder {};

std::vector<PunchRow> asRows(const TextTable& t) {
    std::vector<PunchRow> out;
    for (const auto& r : t.rows) {
        PunchRow p;
        for (const auto& v : r) p.push_back(v.value_or(""));
        out.push_back(std::move(p));
    }
    return out;
}

TEST_F(DatabaseCopy, ReplacesTheThreeTablesInBothTextStorages) {
    const auto tables = recorderTables();
    for (TextStorage storage : {TextStorage::Utf16, TextStorage::Compressed}) {
        SCOPED_TRACE(storage == TextStorage::Utf16 ? "UTF-16" : "compressed");
        seedOldPunches();
        const auto file = writeJet("recorder.mdb", tables, storage);
        EXPECT_EQ(copyRecorderDatabase(*dm, file), 3);
        EXPECT_EQ(punches(), asRows(tables[0]));
        // The delivered category 01 is gone: the recorder's categories replace it.
        EXPECT_EQ(rows("区分"), asRows(tables[1]));
        EXPECT_EQ(rows("個人"), asRows(tables[2]));
        EXPECT_FALSE(dm->ADOConnection2.connected());
        EXPECT_FALSE(dm->ADOTable1.active());
        EXPECT_FALSE(dm->Job_kbn.active());
        EXPECT_FALSE(dm->emp_mas.active());
    }
}

TEST_F(DatabaseCopy, SourceIsOpenedReadOnlyAndUnchanged) {
    const auto file = writeJet("recorder.mdb", recorderTables());
    std::ifstream in(file, std::ios::binary);
    const std::string before((std::istreambuf_iterator<char>(in)), {});
    copyRecorderDatabase(*dm, file);
    EXPECT_TRUE(dm->ADOConnection2.readOnly());
    EXPECT_EQ(dm->ADOConnection2.databasePath(), file.string());
    std::ifstream again(file, std::ios::binary);
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(again)), {}), before);
}

TEST_F(DatabaseCopy, EmptyPunchTableGivesZero) {
    auto tables = recorderTables();
    tables[0].rows.clear();
    seedOldPunches();
    EXPECT_EQ(copyRecorderDatabase(*dm, writeJet("empty.mdb", tables)), 0);
    EXPECT_TRUE(punches().empty());
    EXPECT_EQ(rows("個人").size(), 2u);
}

TEST_F(DatabaseCopy, TableOpenInAWindowShowsTheNewRows) {
    dm->ADOTable1.open();
    copyRecorderDatabase(*dm, writeJet("recorder.mdb", recorderTables()));
    ASSERT_TRUE(dm->ADOTable1.active());
    EXPECT_EQ(dm->ADOTable1.recordCount(), 3);
}

struct BrokenSource {
    const char* what;
    std::vector<TextTable> tables;  // empty: no file at all
    const char* mentions;           // part of the message
};

TEST_F(DatabaseCopy, FailingSourceLeavesEveryTableAsItWas) {
    auto withoutPeople = recorderTables();
    withoutPeople.pop_back();
    auto categoryMissingColumn = recorderTables();
    categoryMissingColumn[1].columns.pop_back();
    for (auto& r : categoryMissingColumn[1].rows) r.pop_back();
    const std::vector<BrokenSource> cases = {
        {"no 個人 table", withoutPeople, "個人"},
        {"区分 lacks a column", categoryMissingColumn, "残業基準時数"},
        {"no file", {}, "見つかりません"},
    };
    for (const BrokenSource& k : cases) {
        SCOPED_TRACE(k.what);
        fresh();
        seedOldPunches();
        exec("INSERT INTO 個人 VALUES ('1','000099','旧','99','01','1')");
        const auto punchesBefore = punches();
        const auto kbnBefore = rows("区分");
        const auto peopleBefore = rows("個人");
        const auto file = k.tables.empty() ? dir / "missing.mdb" : writeJet("broken.mdb", k.tables);
        try {
            copyRecorderDatabase(*dm, file);
            ADD_FAILURE() << "copied";
        } catch (const rtl::DatabaseError& e) {
            EXPECT_NE(std::string(e.what()).find(k.mentions), std::string::npos) << e.what();
        }
        EXPECT_EQ(punches(), punchesBefore);
        EXPECT_EQ(rows("区分"), kbnBefore);
        EXPECT_EQ(rows("個人"), peopleBefore);
        EXPECT_FALSE(dm->ADOConnection2.connected());
    }
}

TEST_F(DatabaseCopy, OneTableCopyAloneIsAllOrNothing) {
    auto tables = recorderTables();
    tables[1].columns.erase(tables[1].columns.begin() + 5);  // 休憩1開始時刻
    for (auto& r : tables[1].rows) r.erase(r.begin() + 5);
    const auto kbnBefore = rows("区分");
    openRecorderSource(*dm, writeJet("r.mdb", tables));
    EXPECT_THROW(Act_CopykbnExecute(*dm), rtl::DatabaseError);
    EXPECT_EQ(rows("区分"), kbnBefore);
    Act_CopyEmpExecute(*dm);
    EXPECT_EQ(rows("個人").size(), 2u);
    dm->ADOConnection2.close();
}

TEST_F(DatabaseCopy, SourceListsEachWantedTableOnceByJetNameRules) {
    // Two tables whose names differ in case only: the source offers the one
    // the name picks, as reading it would, and never both.
    const auto file =
        writeJet("names.mdb", {TextTable{"Punch", {"A"}, {{"upper"}}}, TextTable{"punch", {"A"}, {{"lower"}}},
                               TextTable{"Card", {"A"}, {{"card"}}}});
    EXPECT_EQ(openJetSource(file.string(), {"punch", "CARD", "個人"})->tables(),
              (std::vector<std::string>{"punch", "Card"}));
    EXPECT_EQ(openJetSource(file.string(), {"PUNCH"})->tables(), (std::vector<std::string>{"Punch"}));
    EXPECT_EQ(openJetSource(file.string())->tables(), (std::vector<std::string>{"Punch", "punch", "Card"}));
}

TEST_F(DatabaseCopy, NotAJetFileIsRefused) {
    seedOldPunches();
    const auto file = writeCsv("fake.mdb", {"this is not a database"});
    EXPECT_THROW(copyRecorderDatabase(*dm, file), rtl::DatabaseError);
    EXPECT_EQ(punches().size(), 2u);
}

}  // namespace
}  // namespace payroll::testing
