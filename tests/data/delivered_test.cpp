// The delivered database: layout of every table and the view, seed rows and
// the withholding tax tables.
#include <gtest/gtest.h>

#include <algorithm>

#include <sqlite3.h>

#include "data/delivered.h"
#include "data/schema.h"
#include "data/taxdata.h"
#include "fixture.h"
#include "rtl/errors.h"
#include "rtl/textfile.h"

namespace data::testing {
namespace {

using Delivered = WorkFolder;

TEST_F(Delivered, EveryTableHasItsColumnsKindsAndWidthsInOrder) {
    for (const TableDef& def : tables()) {
        SCOPED_TRACE(def.name);
        const std::vector<db::ColumnInfo> cols = dm->ADOConnection1.columns(def.name);
        ASSERT_EQ(cols.size(), def.columns.size());
        for (std::size_t i = 0; i < cols.size(); ++i) {
            SCOPED_TRACE(def.columns[i].name);
            EXPECT_EQ(cols[i].name, def.columns[i].name);
            EXPECT_EQ(cols[i].kind, def.columns[i].kind);
            if (isTextKind(def.columns[i].kind)) {
                EXPECT_EQ(cols[i].width, def.columns[i].width);
            }
        }
    }
}

TEST_F(Delivered, HoldsSixteenTablesAndTheView) {
    std::vector<std::string> names = dm->ADOConnection1.tableNames();
    EXPECT_EQ(names.size(), tables().size() + 1);
    EXPECT_NE(std::find(names.begin(), names.end(), "sum_tran_t"), names.end());
    const std::vector<std::pair<std::string, int>> counts = {
        {"タイムカード", 9}, {"会社", 13},      {"区分", 22},       {"個人", 6},       {"emp_tanka", 62},
        {"kimu_tran", 24},   {"sum_tran", 60},  {"sum_tran_t", 73}, {"minus_dat", 38}, {"day_work", 36},
        {"gensen", 24},      {"title_mas", 18}, {"sys_mas", 17},    {"flg_data", 4},   {"zei_mas", 15},
        {"zei_masB", 15},    {"zei_masS", 21}};
    for (const auto& [table, n] : counts) EXPECT_EQ(columnCount(table), n) << table;
    EXPECT_EQ(columnNames("sum_tran_t"), sumTranTView().columnNames());
}

TEST_F(Delivered, SeedRowsAreThoseTheProgramReads) {
    EXPECT_EQ(number("SELECT COUNT(*) FROM title_mas"), 1);
    EXPECT_EQ(text("SELECT GKING1 FROM title_mas WHERE CODE = 1"), "手当1");
    EXPECT_EQ(text("SELECT GKING9 FROM title_mas"), "手当9");
    EXPECT_EQ(text("SELECT SKING3 FROM title_mas"), "控除3");
    EXPECT_EQ(text("SELECT GK_FLG7 || GK_FLG8 || GK_FLG9 || GK_FLGH FROM title_mas"), "0000");

    EXPECT_EQ(number("SELECT COUNT(*) FROM sys_mas"), 1);
    EXPECT_EQ(text("SELECT SYS_CD || REC_YN || PRT_FLG || DAT_CHK FROM sys_mas"), "1000");
    EXPECT_EQ(number("SELECT H_K_TOP FROM sys_mas"), 40);
    EXPECT_EQ(number("SELECT H_K_END FROM sys_mas"), 65);
    const std::vector<std::pair<std::string, double>> rates = {
        {"HOKEN_P", 49.25},  {"HOKENK_P", 8.1},  {"KOYO_P", 5.0},  {"NENKIN_P", 91.5},  {"KIKIN_P", 0},
        {"HOKEN_P2", 49.25}, {"HOKENK_P2", 8.1}, {"KOYO_P2", 8.5}, {"NENKIN_P2", 91.5}, {"KIKIN_P2", 0}};
    for (const auto& [col, rate] : rates)
        EXPECT_DOUBLE_EQ(dm->ADOConnection1.scalar("SELECT " + col + " FROM sys_mas").real(), rate) << col;

    EXPECT_EQ(number("SELECT COUNT(*) FROM 会社"), 1);
    EXPECT_EQ(text("SELECT 締日 FROM 会社"), "");
    EXPECT_EQ(number("SELECT COUNT(*) FROM 区分"), 1);
    EXPECT_EQ(text("SELECT 区分 || ' ' || 就業開始時刻 || '-' || 就業終了時刻 || ' ' || 休憩1開始時刻 || "
                   "'-' || 休憩1終了時刻 || ' ' || 就業丸め単位 FROM 区分"),
              "01 09:00-18:00 12:00-13:00 01");

    const db::ResultSet flg =
        dm->ADOConnection1.select("SELECT FLG_CD, FLG_NUM, FLG_DAT FROM flg_data ORDER BY FLG_CD");
    ASSERT_EQ(flg.rows.size(), 3u);
    EXPECT_EQ(flg.rows[0][2].toString(), "なし");
    EXPECT_EQ(flg.rows[1][2].toString(), "月額");
    EXPECT_EQ(flg.rows[2][1].toString() + flg.rows[2][2].toString(), "2日額");
    EXPECT_EQ(number("SELECT COUNT(*) FROM flg_data WHERE FLG_COD <> 1"), 0);

    for (const char* empty :
         {"タイムカード", "個人", "emp_tanka", "kimu_tran", "sum_tran", "minus_dat", "day_work", "gensen"})
        EXPECT_EQ(number(std::string("SELECT COUNT(*) FROM ") + empty), 0) << empty;
}

TEST_F(Delivered, TaxTablesMatchThePublishedValues) {
    EXPECT_EQ(number("SELECT COUNT(*) FROM zei_mas"), 291);
    EXPECT_EQ(number("SELECT COUNT(*) FROM zei_masB"), 215);
    EXPECT_EQ(number("SELECT COUNT(*) FROM zei_masS"), 21);
    // Monthly 299,000 band, 甲 0..7 dependants.
    EXPECT_EQ(text("SELECT fking0||'/'||fking1||'/'||fking2||'/'||fking3||'/'||fking4||'/'||fking5 "
                   "FROM zei_mas WHERE incam_b = 299000"),
              "7930/6320/4700/3080/1470/0");
    EXPECT_EQ(number("SELECT fkingO FROM zei_mas WHERE incam_b = 105000"), 3800);
    EXPECT_EQ(number("SELECT fking0 FROM zei_masB WHERE incam_b = 10000"), 265);
    EXPECT_EQ(number("SELECT fkingO FROM zei_masB WHERE incam_b = 10000"), 1800);
    EXPECT_EQ(number("SELECT fking1E FROM zei_masS WHERE code = 1"), 107000);
    EXPECT_DOUBLE_EQ(dm->ADOConnection1.scalar("SELECT over_bit FROM zei_mas WHERE code = 1").real(), 3.063);
    EXPECT_DOUBLE_EQ(dm->ADOConnection1.scalar("SELECT over_bit FROM zei_masS WHERE code = 21").real(), 45.945);
    EXPECT_EQ(text("SELECT yn_flg FROM zei_masS WHERE code = 21"), "1");
    // Bands are contiguous from 0 to the open end.
    for (const char* t : {"zei_mas", "zei_masB"}) {
        EXPECT_EQ(number(std::string("SELECT COUNT(*) FROM ") + t + " a JOIN " + t +
                         " b ON b.code = a.code + 1 WHERE a.incam_t <> b.incam_b"),
                  0)
            << t;
        EXPECT_EQ(number(std::string("SELECT MAX(incam_t) FROM ") + t), 999999999) << t;
    }
}

TEST(TaxData, EmbeddedCsvHeadersNameTheTableColumnsInOrder) {
    for (const char* t : {"zei_mas", "zei_masB", "zei_masS"}) {
        const std::vector<std::string> lines = rtl::splitLines(embeddedTaxCsv(t));
        ASSERT_FALSE(lines.empty()) << t;
        std::string expected;
        for (const std::string& c : table(t).columnNames()) expected += (expected.empty() ? "" : ",") + c;
        EXPECT_EQ(lines[0], expected) << t;
    }
    EXPECT_TRUE(embeddedTaxCsv("zei_masX").empty());
}

TEST_F(Delivered, TaxCsvWithAnotherLayoutIsRefused) {
    const std::string header =
        "code,incam_t,incam_b,fking0,fking1,fking2,fking3,fking4,fking5,fking6,fking7,fkingO,"
        "fkingH,yn_flg,over_bit\n";
    const struct {
        const char* name;
        std::string csv;
    } cases[] = {
        {"empty", ""},
        {"columns swapped",
         "code,incam_b,incam_t,fking0,fking1,fking2,fking3,fking4,fking5,fking6,"
         "fking7,fkingO,fkingH,yn_flg,over_bit\n"},
        {"short row", header + "1,100,0,0,0,0,0,0,0,0,0,0,0,1\n"},
        {"text in a number", header + "1,100,0,x,0,0,0,0,0,0,0,0,0,1,0\n"},
        {"rate not a number", header + "1,100,0,0,0,0,0,0,0,0,0,0,0,1,3.1.2\n"},
    };
    for (const auto& c : cases)
        EXPECT_THROW(loadTaxTable(dm->ADOConnection1, "zei_mas", c.csv), rtl::DatabaseError) << c.name;
    EXPECT_EQ(number("SELECT COUNT(*) FROM zei_mas"), 291);
    EXPECT_EQ(loadTaxTable(dm->ADOConnection1, "zei_mas",
                           header + "999,5,1,2,3,4,5,6,7,8,9,10,11,1,"
                                    "2.5\n"),
              1);
    EXPECT_EQ(number("SELECT fkingH FROM zei_mas WHERE code = 999"), 11);
}

TEST_F(Delivered, AnExistingFileIsNotOverwritten) {
    EXPECT_THROW(createDeliveredDatabase(dbPath), std::exception);
    EXPECT_EQ(number("SELECT COUNT(*) FROM zei_mas"), 291);
}

// The view gives every pay record once, in table order, with the captions of
// the first caption row beside it, and the key as stored.
TEST_F(Delivered, SumTranTViewShowsEachPayRecordOnceWithCaptions) {
    exec("INSERT INTO title_mas (CODE, GKING1) VALUES (1, '別見出し')");
    exec("INSERT INTO sum_tran (S_TANCOD, S_DATE, S_TOTALT) VALUES (12, '14/07', 1000)");
    exec("INSERT INTO sum_tran (S_TANCOD, S_DATE, S_TOTALT) VALUES (3, '14-1', 2000)");
    exec("INSERT INTO sum_tran (S_TANCOD, S_DATE, S_TOTALT) VALUES (7, '14/07/31', 3000)");
    const db::ResultSet r = dm->ADOConnection1.select("SELECT S_TANCOD, S_DATE, GKING1, CODE FROM sum_tran_t");
    ASSERT_EQ(r.rows.size(), 3u);
    EXPECT_EQ(r.rows[0][0].toString() + r.rows[1][0].toString() + r.rows[2][0].toString(), "1237");
    EXPECT_EQ(r.rows[2][1].toString(), "14/07/31");
    for (const auto& row : r.rows) {
        EXPECT_EQ(row[2].toString(), "手当1");
        EXPECT_EQ(row[3].toString(), "1");
    }
    EXPECT_EQ(number("SELECT COUNT(*) FROM sum_tran_t WHERE S_DATE = '14/07'"), 1);
    dm->sum_tran_t.open();
    dm->sum_tran_t.last();
    EXPECT_EQ(dm->sum_tran_t.fieldByName("S_DATE").asString(), "14/07/31");
    EXPECT_EQ(dm->sum_tran_t.fieldByName("S_TOTALT").displayText(), "3,000");
    EXPECT_EQ(dm->sum_tran_t.fieldByName("S_BIKO").asString(), "");
    dm->sum_tran_t.close();
    // Without a caption row the pay records still show, captions empty.
    exec("DELETE FROM title_mas");
    EXPECT_EQ(number("SELECT COUNT(*) FROM sum_tran_t"), 3);
    EXPECT_EQ(number("SELECT COUNT(*) FROM sum_tran_t WHERE GKING1 IS NULL"), 3);
}

// A plain SQLite client, which lacks the Jet collation, can still describe
// and read every table and the view (reviewers and tools open the file so).
TEST_F(Delivered, PlainSqliteClientReadsEveryTableAndTheView) {
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open_v2(dbPath.c_str(), &raw, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    std::vector<std::string> names = dm->ADOConnection1.tableNames();
    for (const std::string& n : names) {
        for (const std::string& sql : {"SELECT COUNT(*) FROM \"" + n + "\"", "SELECT * FROM \"" + n + "\"",
                                       "SELECT * FROM pragma_table_info('" + n + "')"}) {
            sqlite3_stmt* st = nullptr;
            EXPECT_EQ(sqlite3_prepare_v2(raw, sql.c_str(), -1, &st, nullptr), SQLITE_OK)
                << sql << ": " << sqlite3_errmsg(raw);
            if (st) {
                while (sqlite3_step(st) == SQLITE_ROW) {
                }
                EXPECT_EQ(sqlite3_finalize(st), SQLITE_OK) << sql;
            }
        }
    }
    sqlite3_close(raw);
}

}  // namespace
}  // namespace data::testing
