// Schema upgrade, the deduction-slip table, the gensen marker step and the
// rebuild commands, on delivered databases brought back to older layouts.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <map>
#include <optional>

#include "data/schema.h"
#include "data/upgrade.h"
#include "fixture.h"
#include "rtl/textfile.h"

namespace data::testing {
namespace {

class Upgrade : public WorkFolder {
public:
    // sum_tran as the rebuild command creates it (54 columns). The view goes
    // first because SQLite refuses to drop columns a view reads.
    void oldSumTran() {
        exec("DROP VIEW sum_tran_t");
        exec("Drop Table sum_tran");
        exec(joinLines(createSumTranLines()));
    }
    std::string marker() { return rtl::readFirstLine(dir / GensenMarkerFile); }
    void writeMarker(const std::string& bytes) { std::ofstream(dir / GensenMarkerFile, std::ios::binary) << bytes; }
};

// ---- Act_New_Field: code lists ----

TEST_F(Upgrade, SeedsOnlyTheEmptyCodeLists) {
    const struct {
        const char* name;
        std::vector<std::string> before;
        std::map<int, int> rowsPerList;
    } cases[] = {
        {"none seeded", {}, {{1, 3}, {2, 2}, {3, 2}, {4, 3}, {5, 2}}},
        {"list 2 only", {"INSERT INTO flg_data VALUES (4,2,'0','無')"}, {{2, 1}, {3, 2}, {4, 3}, {5, 2}}},
        {"list 4 partly", {"INSERT INTO flg_data VALUES (9,4,'1','就業')"}, {{2, 2}, {3, 2}, {4, 1}, {5, 2}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        exec("DELETE FROM flg_data WHERE FLG_COD > 1");
        for (const std::string& s : c.before) exec(s);
        Act_New_Field(*dm);
        for (const auto& [list, n] : c.rowsPerList)
            EXPECT_EQ(number("SELECT COUNT(*) FROM flg_data WHERE FLG_COD = " + std::to_string(list)), n)
                << "list " << list;
    }
    EXPECT_EQ(text("SELECT FLG_DAT FROM flg_data WHERE FLG_CD = 7"), "週給/日給");
    EXPECT_EQ(text("SELECT FLG_NUM || FLG_DAT FROM flg_data WHERE FLG_CD = 12"), "1対象");
}

TEST_F(Upgrade, MissingCodeListTableReachesTheCaller) {
    exec("Drop Table flg_data");
    EXPECT_THROW(Act_New_Field(*dm), std::exception);
}

// ---- Act_New_Field: column thresholds ----

TEST_F(Upgrade, AddsColumnsBelowThresholdsOnly) {
    const struct {
        const char* name;
        const char* table;
        std::function<void(Upgrade&)> setUp;
        int after;
        const char* added;  // a column that must now exist, or nullptr
    } cases[] = {
        {"emp_tanka 61", "emp_tanka", [](Upgrade& u) { u.exec("ALTER TABLE emp_tanka DROP COLUMN PRT_FLG"); }, 62,
         "PRT_FLG"},
        {"emp_tanka 62", "emp_tanka", [](Upgrade&) {}, 62, nullptr},
        {"sum_tran 54", "sum_tran", [](Upgrade& u) { u.oldSumTran(); }, 59, "S_DAY5"},
        {"sum_tran with S_DAY1 below 55", "sum_tran",
         [](Upgrade& u) {
             u.oldSumTran();
             u.exec("ALTER TABLE sum_tran DROP COLUMN S_KIKIN2");
             u.exec("ALTER TABLE sum_tran ADD S_DAY1 INT");
         },
         54, nullptr},
        {"title_mas 14", "title_mas",
         [](Upgrade& u) {
             for (const char* c : {"GK_FLG7", "GK_FLG8", "GK_FLG9", "GK_FLGH"})
                 u.exec(std::string("ALTER TABLE title_mas DROP COLUMN ") + c);
         },
         18, "GK_FLGH"},
        {"sys_mas 15", "sys_mas",
         [](Upgrade& u) {
             u.exec("ALTER TABLE sys_mas DROP COLUMN PRT_FLG");
             u.exec("ALTER TABLE sys_mas DROP COLUMN DAT_CHK");
         },
         16, "PRT_FLG"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fresh();
        c.setUp(*this);
        Act_New_Field(*dm);
        EXPECT_EQ(columnCount(c.table), c.after);
        if (c.added) {
            const auto names = columnNames(c.table);
            EXPECT_EQ(names.back(), c.added);
        }
        Act_New_Field(*dm);  // a second start adds nothing
        EXPECT_EQ(columnCount(c.table), c.after);
    }
}

TEST_F(Upgrade, AddedColumnsHaveTheirKinds) {
    oldSumTran();
    exec("ALTER TABLE emp_tanka DROP COLUMN PRT_FLG");
    Act_New_Field(*dm);
    for (const db::ColumnInfo& c : dm->ADOConnection1.columns("sum_tran"))
        if (c.name.starts_with("S_DAY")) {
            EXPECT_EQ(c.kind, db::FieldKind::Long) << c.name;
        }
    const auto emp = dm->ADOConnection1.columns("emp_tanka");
    EXPECT_EQ(emp.back().kind, db::FieldKind::FixedText);
    EXPECT_EQ(emp.back().width, 1);
}

// ---- Act_New_Field: the daily cross table ----

// day_work as older databases have it: a 16-bit TANCOD and no month column.
TEST_F(Upgrade, WidensTheCrossTableAndKeepsItsRows) {
    exec("DROP TABLE day_work");
    std::string create = "Create Table day_work (TANCOD Smallint, TNAME Varchar(20)";
    for (int d = 1; d <= 31; ++d) create += ", D" + std::to_string(d) + " Varchar(5)";
    exec(create + ", DTIME Integer, DKING Integer)");
    exec("INSERT INTO day_work (TANCOD, TNAME, D1, D31) VALUES (12, '山田', '08:00', '04:30')");
    EXPECT_THROW(exec("INSERT INTO day_work (TANCOD) VALUES (40000)"), std::exception);

    Act_New_Field(*dm);
    EXPECT_EQ(columnCount("day_work"), 36);
    EXPECT_EQ(columnNames("day_work").back(), "DMONTH");
    EXPECT_EQ(text("SELECT TNAME || D1 || D31 FROM day_work WHERE TANCOD = 12"), "山田08:0004:30");
    exec("INSERT INTO day_work (TANCOD, DMONTH) VALUES (40000, '24/04')");
    EXPECT_EQ(number("SELECT COUNT(*) FROM day_work"), 2);
    // Once current, a second start leaves it alone.
    Act_New_Field(*dm);
    EXPECT_EQ(number("SELECT COUNT(*) FROM day_work"), 2);
    dm->day_work.open();  // the data module's fields match the table
    EXPECT_EQ(dm->day_work.recordCount(), 2);
}

// ---- Act_minus_dat ----

TEST_F(Upgrade, DeductionSlipTablePresentChangesNothing) {
    Act_minus_dat(*dm);
    EXPECT_EQ(columnCount("sum_tran"), 60);
    EXPECT_EQ(columnCount("minus_dat"), 38);
}

TEST_F(Upgrade, DeductionSlipTableCreatedWithCheckMarks) {
    exec("Drop Table minus_dat");
    exec("DROP VIEW sum_tran_t");
    exec("ALTER TABLE sum_tran DROP COLUMN DAT_CHK");
    exec("ALTER TABLE sys_mas DROP COLUMN DAT_CHK");
    exec("INSERT INTO sum_tran (S_TANCOD, S_DATE) VALUES (1, '14/07')");
    Act_minus_dat(*dm);
    EXPECT_EQ(columnNames("minus_dat"), table("minus_dat").columnNames());
    EXPECT_EQ(text("SELECT DAT_CHK FROM sum_tran"), "0");
    EXPECT_EQ(text("SELECT DAT_CHK FROM sys_mas"), "0");
    EXPECT_THROW(exec("INSERT INTO minus_dat (M_SEQNO) VALUES (1)"), std::exception);  // M_No NOT NULL
}

TEST_F(Upgrade, NarrowSlipKeyIsWidenedWithItsRowsKept) {
    // A table from before weekly slips: the key holds five characters.
    exec("Drop Table minus_dat");
    std::vector<std::string> lines = createMinusDatLines();
    for (std::string& l : lines)
        if (l.find("M_DATE") != std::string::npos) l = "M_DATE Char(5),";
    std::string statement;
    for (const std::string& l : lines) statement += l + "\r\n";
    exec(statement);
    exec(
        "INSERT INTO minus_dat (M_No, M_TANCOD, M_DATE, M_DAT_0, M_KING_0, M_GKING) VALUES (3, 7, '14/07', 'x', 500, "
        "500)");
    EXPECT_THROW(exec("INSERT INTO minus_dat (M_No, M_DATE) VALUES (4, '14/07/05')"), std::exception);

    Act_minus_dat(*dm);
    EXPECT_EQ(columnNames("minus_dat"), table("minus_dat").columnNames());
    for (const db::ColumnInfo& c : dm->ADOConnection1.columns("minus_dat"))
        if (c.name == "M_DATE") {
            EXPECT_EQ(c.width, 8);
        }
    EXPECT_EQ(text("SELECT M_DATE FROM minus_dat WHERE M_No = 3"), "14/07");
    EXPECT_EQ(number("SELECT M_KING_0 FROM minus_dat WHERE M_No = 3"), 500);
    exec("INSERT INTO minus_dat (M_No, M_DATE) VALUES (4, '14/07/05')");
    EXPECT_EQ(text("SELECT M_DATE FROM minus_dat WHERE M_No = 4"), "14/07/05");
    // Still typed: a long column refuses text, M_No stays the key.
    EXPECT_THROW(exec("INSERT INTO minus_dat (M_No) VALUES (4)"), std::exception);
    // A second start changes nothing.
    Act_minus_dat(*dm);
    EXPECT_EQ(number("SELECT COUNT(*) FROM minus_dat"), 2);
}

TEST_F(Upgrade, DeductionSlipFailureReachesTheCallerAndKeepsWhatRan) {
    exec("Drop Table minus_dat");  // sum_tran already has DAT_CHK
    EXPECT_THROW(Act_minus_dat(*dm), std::exception);
    EXPECT_TRUE(dm->ADOConnection1.tableExists("minus_dat"));
}

// ---- gensen marker step ----

TEST_F(Upgrade, GensenMarkerStep) {
    const struct {
        const char* name;
        std::optional<std::string> marker;  // file bytes, nullopt = no file
        std::function<void(Upgrade&)> setUp;
        GensenStep result;
        std::string markerAfter;
        int rowsAfter;  // -1: table missing
        int columnsAfter;
    } cases[] = {
        {"marker missing, table complete with data", std::nullopt, [](Upgrade&) {}, GensenStep::Kept, "1", 1, 24},
        {"0, table complete", std::string("0\r\n"), [](Upgrade&) {}, GensenStep::Kept, "1", 1, 24},
        {"0 without a gensen table", std::string("0"), [](Upgrade& u) { u.exec("drop table gensen"); },
         GensenStep::Recreated, "1", 0, 24},
        {"0, older gensen lacking columns", std::string("0\n"),
         [](Upgrade& u) {
             u.exec("drop table gensen");
             u.exec("create table gensen (code Integer, hym Char(6), total_1 Integer)");
             u.exec("INSERT INTO gensen (code) VALUES (1)");
         },
         GensenStep::Recreated, "1", 0, 24},
        {"1", std::string("1\r\n"), [](Upgrade& u) { u.exec("drop table gensen"); }, GensenStep::NotAsked, "1", -1, 0},
        {"empty file", std::string(""), [](Upgrade&) {}, GensenStep::NotAsked, "", 1, 24},
        {"other text", std::string(" 0"), [](Upgrade&) {}, GensenStep::NotAsked, " 0", 1, 24},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fresh();
        exec("INSERT INTO gensen (code, dname, total_1) VALUES (7, '山田', 3000000)");
        c.setUp(*this);
        if (c.marker) writeMarker(*c.marker);
        EXPECT_EQ(gensenMarkerStep(*dm, dir), c.result);
        EXPECT_EQ(marker(), c.markerAfter);
        if (c.rowsAfter < 0) {
            EXPECT_FALSE(dm->ADOConnection1.tableExists("gensen"));
        } else {
            EXPECT_EQ(number("SELECT COUNT(*) FROM gensen"), c.rowsAfter);
            EXPECT_EQ(columnNames("gensen"), table("gensen").columnNames());
        }
    }
}

TEST_F(Upgrade, GensenStepFailsSilentlyAndKeepsTheMarker) {
    // The marker cannot be written (a folder in its place): the step is quiet.
    std::filesystem::create_directory(dir / GensenMarkerFile);
    exec("drop table gensen");
    EXPECT_EQ(gensenMarkerStep(*dm, dir), GensenStep::Failed);
    EXPECT_TRUE(std::filesystem::is_directory(dir / GensenMarkerFile));

    // A database that cannot be reached: nothing is created, no marker written.
    std::filesystem::remove(dir / GensenMarkerFile);
    dm->setDatabasePath((dir / "missing.mdb").string());
    EXPECT_EQ(gensenMarkerStep(*dm, dir), GensenStep::Failed);
    EXPECT_FALSE(std::filesystem::exists(dir / GensenMarkerFile));
}

// ---- Act_New_Field: the name column of gensen ----

TEST_F(Upgrade, WidensTheGensenNameKeepingTheRows) {
    // gensen as the older program made it: names of ten characters.
    exec("drop table gensen");
    std::vector<std::string> old = createGensenLines();
    for (std::string& line : old)
        if (line.rfind("dname", 0) == 0) line = "dname VARCHAR(10),";
    exec(joinLines(old));
    exec("INSERT INTO gensen (code, dcode, dname, total_1, teate3) VALUES (7, '000007', '山田', 3000000, 1200)");
    EXPECT_THROW(exec("INSERT INTO gensen (code, dname) VALUES (8, '長い名前の社員さんのお名前')"), std::exception);

    Act_New_Field(*dm);

    EXPECT_EQ(columnNames("gensen"), table("gensen").columnNames());
    EXPECT_EQ(text("SELECT dname FROM gensen WHERE code = 7"), "山田");
    EXPECT_EQ(number("SELECT total_1 FROM gensen WHERE code = 7"), 3000000);
    EXPECT_EQ(number("SELECT teate3 FROM gensen WHERE code = 7"), 1200);
    const std::string twenty = "長い名前の社員さんのお名前長い名前の社員";  // 20 characters
    exec("INSERT INTO gensen (code, dname) VALUES (8, '" + twenty + "')");
    EXPECT_EQ(text("SELECT dname FROM gensen WHERE code = 8"), twenty);
    EXPECT_THROW(exec("INSERT INTO gensen (code, dname) VALUES (9, '" + twenty + "x')"), std::exception);
    // A double still becomes a whole number: the kind rules came back with the table.
    exec("UPDATE gensen SET kinmu = 2.5 WHERE code = 7");
    EXPECT_EQ(number("SELECT typeof(kinmu) = 'integer' FROM gensen WHERE code = 7"), 1);
    EXPECT_FALSE(dm->ADOConnection1.tableExists("gensen_narrow"));

    // A second start finds it wide and leaves it alone.
    Act_New_Field(*dm);
    EXPECT_EQ(number("SELECT COUNT(*) FROM gensen"), 2);
}

// ---- rebuild commands ----

struct Asked {
    std::vector<std::pair<std::string, std::string>> questions;
    bool answer = true;
    Confirm confirm() {
        return [this](const std::string& text, const std::string& caption) {
            questions.emplace_back(text, caption);
            return answer;
        };
    }
};

TEST_F(Upgrade, RebuildAnsweredNoChangesNothing) {
    exec("INSERT INTO kimu_tran (K_TANCOD) VALUES (1)");
    exec("INSERT INTO sum_tran (S_TANCOD) VALUES (1)");
    exec("INSERT INTO emp_tanka (E_NO) VALUES (1)");
    Asked asked;
    asked.answer = false;
    EXPECT_FALSE(Act_Tanka(*dm, asked.confirm()));
    EXPECT_FALSE(Act_Tran(*dm, asked.confirm()));
    EXPECT_FALSE(Act_Sum_Tran(*dm, asked.confirm()));
    const std::vector<std::pair<std::string, std::string>> expected = {{"単価データの再構築を行いますか。？", "削除"},
                                                                       {"勤務データの再構築を行いますか。？", "削除"},
                                                                       {"集計データの再構築を行いますか。？", "削除"}};
    EXPECT_EQ(asked.questions, expected);
    for (const char* t : {"kimu_tran", "sum_tran", "emp_tanka"})
        EXPECT_EQ(number(std::string("SELECT COUNT(*) FROM ") + t), 1) << t;
}

TEST_F(Upgrade, RebuildOfAnExistingTableEmptiesIt) {
    exec("INSERT INTO kimu_tran (K_TANCOD) VALUES (1)");
    exec("INSERT INTO sum_tran (S_TANCOD) VALUES (1)");
    Asked asked;
    EXPECT_TRUE(Act_Tran(*dm, asked.confirm()));
    EXPECT_TRUE(Act_Sum_Tran(*dm, asked.confirm()));
    EXPECT_EQ(number("SELECT COUNT(*) FROM kimu_tran"), 0);
    EXPECT_EQ(number("SELECT COUNT(*) FROM sum_tran"), 0);
    EXPECT_EQ(columnCount("kimu_tran"), 24);
    EXPECT_EQ(columnCount("sum_tran"), 60);
}

TEST_F(Upgrade, RebuildOfAMissingTableCreatesItAndTheUpgradeCompletesIt) {
    exec("DROP VIEW sum_tran_t");
    exec("Drop Table sum_tran");
    exec("Drop Table kimu_tran");
    exec("Drop Table emp_tanka");
    Asked asked;
    EXPECT_TRUE(Act_Sum_Tran(*dm, asked.confirm()));
    EXPECT_TRUE(Act_Tran(*dm, asked.confirm()));
    EXPECT_TRUE(Act_Tanka(*dm, asked.confirm()));
    EXPECT_EQ(columnCount("sum_tran"), 54);
    EXPECT_EQ(columnNames("kimu_tran"), table("kimu_tran").columnNames());
    EXPECT_EQ(columnCount("emp_tanka"), 61);
    Act_New_Field(*dm);
    EXPECT_EQ(columnCount("sum_tran"), 59);
    EXPECT_EQ(columnCount("emp_tanka"), 62);
    // minus_dat already exists, yet the rebuilt pay records get their check
    // column back, so the pay-record component opens again.
    Act_minus_dat(*dm);
    EXPECT_EQ(columnCount("sum_tran"), 60);
    EXPECT_EQ(number("SELECT COUNT(*) FROM sum_tran WHERE DAT_CHK Is Null"), 0);
    dm->sum_tran.open();
    EXPECT_TRUE(dm->sum_tran.active());
    dm->sum_tran.close();
}

TEST_F(Upgrade, TankaRebuildRefillsFromTheRecorderEmployees) {
    exec("INSERT INTO emp_tanka (E_NO, E_NAME) VALUES (1, '旧社員')");
    exec(
        "INSERT INTO 個人 (NO, 社員番号, 氏名, カード番号, 区分, 対象) VALUES "
        "('1', '040000', 'O''Neil', '7', '01', '1')");
    exec(
        "INSERT INTO 個人 (NO, 社員番号, 氏名, カード番号, 区分, 対象) VALUES "
        "('2', ' 000012 ', '山田', '8', '02', '0')");
    Asked asked;
    EXPECT_TRUE(Act_Tanka(*dm, asked.confirm()));
    const db::ResultSet r = dm->ADOConnection1.select(
        "SELECT E_NO, E_TANCOD, E_NAME, E_CARDNO, E_JOBKBN, E_DROPKBN, E_BASEPAY FROM emp_tanka "
        "ORDER BY E_NO");
    ASSERT_EQ(r.rows.size(), 2u);
    EXPECT_EQ(r.rows[0][0].toString(), "12");
    EXPECT_EQ(r.rows[1][0].toString(), "40000");
    EXPECT_EQ(r.rows[1][1].toString(), "040000");
    EXPECT_EQ(r.rows[1][2].toString(), "O'Neil");
    EXPECT_EQ(r.rows[1][3].toString() + r.rows[1][4].toString() + r.rows[1][5].toString(), "7011");
    EXPECT_TRUE(r.rows[1][6].isNull());
}

// A code that is not a number fails the refill; the job rolls back, so the
// employee master keeps its rows (or stays missing) instead of being wiped.
TEST_F(Upgrade, FailingTankaRebuildRollsBack) {
    exec("INSERT INTO 個人 (社員番号, 氏名) VALUES ('A-01', '山田')");
    const struct {
        const char* name;
        bool tableBefore;
    } cases[] = {{"existing table", true}, {"missing table", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.tableBefore) exec("INSERT INTO emp_tanka (E_NO, E_NAME) VALUES (1, '旧社員')");
        else exec("Drop Table emp_tanka");
        Asked asked;
        EXPECT_THROW(Act_Tanka(*dm, asked.confirm()), std::exception);
        EXPECT_EQ(dm->ADOConnection1.tableExists("emp_tanka"), c.tableBefore);
        if (c.tableBefore) {
            EXPECT_EQ(text("SELECT E_NAME FROM emp_tanka"), "旧社員");
            EXPECT_EQ(columnCount("emp_tanka"), 62);
        }
    }
    EXPECT_FALSE(dm->ADOConnection1.inJob());
}

}  // namespace
}  // namespace data::testing
