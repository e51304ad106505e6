// The data module on a delivered database: every component opens with its
// persistent fields, lookups, the calculated field and the before-post step.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "data/DB_Acs.h"
#include "data/schema.h"
#include "data/upgrade.h"
#include "fixture.h"

namespace data::testing {
namespace {

using DataModule = WorkFolder;

// Schema as the database reports it, and the row count of every table.
std::map<std::string, std::vector<std::string>> schemaOf(WorkFolder& w, db::Connection& c) {
    (void)w;
    std::map<std::string, std::vector<std::string>> s;
    for (const std::string& t : c.tableNames()) {
        std::vector<std::string> cols;
        for (const db::ColumnInfo& ci : c.columns(t)) cols.push_back(ci.name + " " + ci.declaredType);
        cols.push_back("rows " + c.scalar("SELECT COUNT(*) FROM " + db::quoteIdentifier(t)).toString());
        s[t] = cols;
    }
    return s;
}

void startUp(TDataModule1& dm, const std::filesystem::path& dir) {
    Act_New_Field(dm);
    Act_minus_dat(dm);
    gensenMarkerStep(dm, dir);
}

TEST_F(DataModule, StartsClosedAndDisconnected) {
    EXPECT_FALSE(dm->ADOConnection1.connected());
    EXPECT_FALSE(dm->ADOConnection2.connected());
    for (db::Dataset* ds : dm->datasets()) EXPECT_FALSE(ds->active()) << ds->name();
    EXPECT_EQ(dm->ADOConnection1.connectionString(), "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + dbPath +
                                                         ";Mode=ReadWrite;Persist Security Info=False;");
    EXPECT_EQ(dm->ADOQuery1.connection(), &dm->ADOConnection2);
}

TEST_F(DataModule, UpgradingTwiceChangesNothingMoreThanTheSeedLists) {
    startUp(*dm, dir);
    EXPECT_EQ(number("SELECT COUNT(*) FROM flg_data"), 12);
    const auto once = schemaOf(*this, dm->ADOConnection1);
    startUp(*dm, dir);
    EXPECT_EQ(schemaOf(*this, dm->ADOConnection1), once);
    // The delivered schema is already complete: nothing but lists 2 to 5 was added.
    for (const TableDef& def : tables()) EXPECT_EQ(columnNames(def.name), def.columnNames()) << def.name;
}

TEST_F(DataModule, EveryComponentOpensWithItsPersistentFields) {
    startUp(*dm, dir);
    const std::set<std::string> scratch = {"Query1", "Query11", "Query12", "Table2", "ADOQuery1"};
    // Expected fields beyond the table's columns: lookups and the calculated field.
    const std::map<std::string, std::pair<std::string, std::vector<std::string>>> expected = {
        {"QueryCnt", {"", {"Expr1000"}}},
        {"ADOTable1", {"タイムカード", {}}},
        {"TimeCardInp", {"タイムカード", {"E_NAME", "InOut_flg"}}},
        {"Company", {"会社", {}}},
        {"Job_kbn", {"区分", {}}},
        {"Qjob_kbn", {"区分", {}}},
        {"emp_mas", {"個人", {}}},
        {"emp_tanka", {"emp_tanka", {}}},
        {"Qemp_tanka", {"emp_tanka", {}}},
        {"Q_emp_tankaP", {"", {"E_NO", "E_TANCOD", "E_NAME", "E_CARDNO", "E_JOBKBN", "E_DROPKBN", "PRT_FLG"}}},
        {"QSemp_tanka", {"emp_tanka", {}}},
        {"Qemp_tankaS", {"emp_tanka", {}}},
        {"Qemp_tankaS2", {"emp_tanka", {}}},
        {"kimu_tran", {"kimu_tran", {}}},
        {"Qkimu_tran", {"kimu_tran", {"TNAME"}}},
        {"sum_tran", {"sum_tran", {"S_NAME", "TNAME"}}},
        {"sum_tran2", {"sum_tran", {"TNAME"}}},
        {"Qsum_tran", {"sum_tran", {"S_NAME"}}},
        {"sum_tran_t", {"sum_tran_t", {"S_NAME"}}},
        {"Qtitle_mas", {"title_mas", {}}},
        {"sys_mas", {"sys_mas", {}}},
        {"flg_teate", {"", {"FLG_NUM", "FLG_DAT"}}},
        {"flg_work", {"", {"FLG_NUM", "FLG_DAT"}}},
        {"flg_zeiyn", {"", {"FLG_NUM", "FLG_DAT"}}},
        {"Q_zei_mas", {"zei_mas", {}}},
        {"Q_zei_masB", {"zei_masB", {}}},
        {"Q_zei_masS", {"zei_masS", {}}},
        {"minus_dat", {"minus_dat", {}}},
        {"day_work", {"day_work", {}}},
        {"gensen", {"gensen", {}}},
        {"Q_gensen", {"gensen", {}}},
    };
    int checked = 0;
    for (db::Dataset* ds : dm->datasets()) {
        if (scratch.count(ds->name())) continue;
        SCOPED_TRACE(ds->name());
        const auto it = expected.find(ds->name());
        ASSERT_NE(it, expected.end());
        std::vector<std::string> names;
        if (!it->second.first.empty())
            names =
                it->second.first == "sum_tran_t" ? sumTranTView().columnNames() : table(it->second.first).columnNames();
        names.insert(names.end(), it->second.second.begin(), it->second.second.end());
        ASSERT_NO_THROW(ds->open());
        EXPECT_EQ(ds->fieldNames(), names);
        ds->close();
        ++checked;
    }
    EXPECT_EQ(checked, static_cast<int>(expected.size()));
}

TEST_F(DataModule, DataSourcesShowTheirComponents) {
    const std::vector<std::pair<const char*, const char*>> pairs = {
        {"DSCompany", "Company"},      {"DSJob_kbn", "Job_kbn"},         {"DSemp_mas", "emp_mas"},
        {"DSemp_tanka", "emp_tanka"},  {"DSQemp_tanka", "Qemp_tanka"},   {"DSQ_emp_tankaP", "Q_emp_tankaP"},
        {"DS_kimu_tran", "kimu_tran"}, {"DSQkimu_tran", "Qkimu_tran"},   {"DSsum_tran", "sum_tran"},
        {"DSQsum_tran", "Qsum_tran"},  {"DSsum_tran_t", "sum_tran_t"},   {"DSQtitle_mas", "Qtitle_mas"},
        {"DSsys_mas", "sys_mas"},      {"DSflg_teate", "flg_teate"},     {"DSflg_work", "flg_work"},
        {"DSflg_zeiyn", "flg_zeiyn"},  {"DS_minus_dat", "minus_dat"},    {"DSday_work", "day_work"},
        {"DSgensen", "gensen"},        {"DSTimeCardInp", "TimeCardInp"}, {"DataSource1", "ADOTable1"}};
    EXPECT_EQ(dm->dataSources().size(), pairs.size());
    for (const auto& [source, dataset] : pairs) {
        db::DataSource* s = dm->findDataSource(source);
        ASSERT_NE(s, nullptr) << source;
        EXPECT_EQ(s->dataSet(), dm->findDataset(dataset)) << source;
    }
}

TEST_F(DataModule, CountingQueryReadsExpr1000) {
    dm->QueryCnt.open();
    EXPECT_EQ(dm->QueryCnt.fieldByName("Expr1000").asInteger(), 1);
    dm->QueryCnt.close();
    dm->QueryCnt.sql().clear();
    dm->QueryCnt.sql().add("SELECT COUNT(*) FROM emp_tanka");
    dm->QueryCnt.sql().add("WHERE E_DROPKBN = '1'");
    dm->QueryCnt.open();
    EXPECT_EQ(dm->QueryCnt.fieldByName("Expr1000").asInteger(), 0);
}

TEST_F(DataModule, DisplayFormatsOfMoneyRatesAndAges) {
    exec("INSERT INTO emp_tanka (E_NO, E_TANCOD, E_NAME, E_BASEPAY) VALUES (1, '000001', 'a', 1234567)");
    dm->emp_tanka.open();
    EXPECT_EQ(dm->emp_tanka.fieldByName("E_BASEPAY").displayText(), "1,234,567");
    dm->sys_mas.open();
    EXPECT_EQ(dm->sys_mas.fieldByName("HOKEN_P").displayText(), "49.25");
    EXPECT_EQ(dm->sys_mas.fieldByName("KOYO_P").displayText(), "5.0");
    EXPECT_EQ(dm->sys_mas.fieldByName("H_K_TOP").displayText(), "40");
}

// 入退 shows as 出勤 / 退出; anything else leaves InOut_flg empty.
TEST_F(DataModule, TimeCardInpShowsClockDirection) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"0", "出勤"}, {"1", "退出"}, {"2", ""}, {"", ""}, {"00", ""}};
    for (const auto& [inOut, shown] : cases)
        exec("INSERT INTO タイムカード (月, 入退, 異例コード) VALUES ('07', '" + inOut + "', '00')");
    dm->TimeCardInp.open();
    for (const auto& [inOut, shown] : cases) {
        ASSERT_FALSE(dm->TimeCardInp.eof());
        EXPECT_EQ(dm->TimeCardInp.fieldByName("入退").asString(), inOut);
        EXPECT_EQ(dm->TimeCardInp.fieldByName("InOut_flg").asString(), shown) << inOut;
        dm->TimeCardInp.next();
    }
}

// An empty 異例コード gets "00" with 秒 "00" and CR "0"; a given one keeps
// the three columns as typed.
TEST_F(DataModule, TimeCardInpDefaultsBeforePost) {
    const struct {
        const char* code;
        const char* sec;
        const char* cr;
        const char* storedCode;
        const char* storedSec;
        const char* storedCr;
    } cases[] = {{"", "12", "5", "00", "00", "0"}, {"01", "12", "5", "01", "12", "5"}};
    dm->TimeCardInp.open();
    for (const auto& c : cases) {
        dm->TimeCardInp.append();
        dm->TimeCardInp.fieldByName("IDコード").setAsString(c.code[0] ? "B" : "A");
        dm->TimeCardInp.fieldByName("異例コード").setAsString(c.code);
        dm->TimeCardInp.fieldByName("秒").setAsString(c.sec);
        dm->TimeCardInp.fieldByName("CR").setAsString(c.cr);
        dm->TimeCardInp.post();
    }
    dm->TimeCardInp.close();
    for (const auto& c : cases) {
        const std::string id = c.code[0] ? "B" : "A";
        EXPECT_EQ(text("SELECT 異例コード || '/' || 秒 || '/' || CR FROM タイムカード WHERE IDコード = '" + id + "'"),
                  std::string(c.storedCode) + "/" + c.storedSec + "/" + c.storedCr)
            << id;
    }
}

// Names come from the employee master by number, also for a text key with
// leading zeros, and whatever filter the source component carries.
TEST_F(DataModule, NameLookupsIgnoreTheSourceFilter) {
    exec("INSERT INTO emp_tanka (E_NO, E_TANCOD, E_NAME, E_DROPKBN) VALUES (12, '000012', '山田太郎', '1')");
    exec("INSERT INTO emp_tanka (E_NO, E_TANCOD, E_NAME, E_DROPKBN) VALUES (5, '000005', '佐藤花子', '1')");
    exec("INSERT INTO タイムカード (IDコード, 入退) VALUES ('000012', '0')");
    exec("INSERT INTO sum_tran (S_TANCOD, S_DATE) VALUES (12, '14/07')");
    exec("INSERT INTO sum_tran (S_TANCOD, S_DATE) VALUES (99, '14/07')");
    exec("INSERT INTO kimu_tran (K_TANCOD) VALUES (5)");

    dm->emp_tanka.setFiltered(false);
    dm->emp_tanka.setFilter("E_NO = 5");
    dm->emp_tanka.setFiltered(true);
    dm->emp_tanka.open();
    ASSERT_EQ(dm->emp_tanka.recordCount(), 1);
    dm->Qemp_tankaS2.setFilter("E_NO = 5");
    dm->Qemp_tankaS2.setFiltered(true);

    dm->TimeCardInp.open();
    EXPECT_EQ(dm->TimeCardInp.fieldByName("E_NAME").asString(), "山田太郎");

    dm->sum_tran.open();  // index S_TANCOD: 12, then 99
    EXPECT_EQ(dm->sum_tran.fieldByName("S_NAME").asString(), "山田太郎");
    EXPECT_EQ(dm->sum_tran.fieldByName("TNAME").asString(), "山田太郎");
    dm->sum_tran.next();
    EXPECT_EQ(dm->sum_tran.fieldByName("S_TANCOD").asInteger(), 99);
    EXPECT_EQ(dm->sum_tran.fieldByName("S_NAME").asString(), "");

    dm->sum_tran2.open();
    EXPECT_EQ(dm->sum_tran2.fieldByName("TNAME").asString(), "山田太郎");
    dm->Qkimu_tran.open();
    EXPECT_EQ(dm->Qkimu_tran.fieldByName("TNAME").asString(), "佐藤花子");
    dm->sum_tran_t.open();
    EXPECT_EQ(dm->sum_tran_t.fieldByName("S_NAME").asString(), "山田太郎");
    EXPECT_EQ(dm->sum_tran_t.fieldByName("GKING1").asString(), "手当1");
}

TEST(DataModuleGlobal, CreatedAndFreedByTheProgram) {
    EXPECT_EQ(DataModule1, nullptr);
    TDataModule1* first = createDataModule1();
    EXPECT_EQ(DataModule1, first);
    EXPECT_EQ(DataModule1->findDataset("Query1"), &DataModule1->Query1);
    EXPECT_EQ(DataModule1->findDataset("nothing"), nullptr);
    destroyDataModule1();
    EXPECT_EQ(DataModule1, nullptr);
    destroyDataModule1();  // twice is harmless
}

}  // namespace
}  // namespace data::testing
