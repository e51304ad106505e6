// Datasets and data sources: order, fields, read rules, filters, lookups,
// calculated fields, editing, snapshots and notifications.
#include "fixture.h"

using namespace dbtest;
using db::FieldKind;

namespace {

class DatasetTest : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        conn_.execute(
            "Create Table emp_tanka (E_NO Integer, E_TANCOD Varchar(10), E_NAME Varchar(20), E_CARDNO Varchar(10), "
            "E_DROPKBN Char(2), E_BARTH DATETIME, E_BASEPAY Integer, PRT_FLG Char(1))");
        const char* emps[][4] = {{"12", "000012", "山田", "1"},
                                 {"3", "000003", "佐藤", "1"},
                                 {"7", "000007", "鈴木", "0"},
                                 {"40000", "040000", "O'Neil", "1"}};
        for (auto& e : emps)
            conn_.execute("INSERT INTO emp_tanka (E_NO,E_TANCOD,E_NAME,E_CARDNO,E_DROPKBN) VALUES (CInt(?),?,?,?,?)",
                          {e[0], e[1], e[2], e[1], e[3]});
        conn_.execute(
            "Create Table タイムカード (月 Varchar(50), 日 Varchar(50), 時 Varchar(50), 分 Varchar(50), 秒 "
            "Varchar(50), "
            "IDコード Varchar(50), 入退 Varchar(50), 異例コード Varchar(50), CR Varchar(50))");
        conn_.execute(
            "Create Table kimu_tran (K_TANCOD Integer, K_DATE DateTime, K_KNTKBN Smallint, "
            "K_SYUGYO Varchar(5), K_BIKO Varchar(20))");
        for (const char* d : {"14/07/05", "14/07/21", "14/07/31", "14/08/01"}) {
            conn_.execute("INSERT INTO kimu_tran (K_TANCOD,K_DATE,K_SYUGYO) VALUES (12,?,'08:00')", {d});
            conn_.execute("INSERT INTO kimu_tran (K_TANCOD,K_DATE,K_SYUGYO) VALUES (3,?,'07:30')", {d});
        }
    }

    static double date(int y, int m, int d) { return rtl::encodeDate(y, m, d); }
};

std::vector<long long> column(db::Dataset& ds, const char* field) {
    std::vector<long long> out;
    for (ds.first(); !ds.eof(); ds.next()) out.push_back(ds[field].asLargeInt());
    return out;
}

TEST_F(DatasetTest, TableFollowsItsIndexAndWalksFirstToEof) {
    db::Table t(&conn_, "emp_tanka");
    t.setTableName("emp_tanka");
    t.setIndexFieldNames("E_NO");
    t.open();
    EXPECT_TRUE(t.bof());
    EXPECT_EQ(t.recordCount(), 4);
    EXPECT_EQ(column(t, "E_NO"), (std::vector<long long>{3, 7, 12, 40000}));
    EXPECT_TRUE(t.eof());
    t.last();
    EXPECT_EQ(t["E_NO"].asInteger(), 40000);
    t.prior();
    EXPECT_EQ(t["E_NO"].asInteger(), 12);
    EXPECT_EQ(t.recNo(), 3);
    EXPECT_TRUE(t.locate("E_TANCOD", db::Value("000007")));
    EXPECT_EQ(t["E_NAME"].asString(), "鈴木");
    EXPECT_FALSE(t.locate("E_NO", db::Value(99)));
    EXPECT_EQ(t["E_NAME"].asString(), "鈴木");
    EXPECT_TRUE(t.locate("E_NO", db::Value("000012")));  // text key for a number field
    EXPECT_EQ(t["E_NAME"].asString(), "山田");

    // The table's own order without an index; a new index re-reads.
    t.setIndexFieldNames("");
    EXPECT_EQ(column(t, "E_NO"), (std::vector<long long>{12, 3, 7, 40000}));
    EXPECT_EQ(t.fieldCount(), 8);  // every column, no hidden ones
    EXPECT_THROW(t.setTableName("kimu_tran"), rtl::DatabaseError);
    db::Table empty(&conn_, "Table2");
    empty.setTableName("nope");
    EXPECT_THROW(empty.open(), rtl::DatabaseError);
    EXPECT_FALSE(empty.active());
}

TEST_F(DatasetTest, PersistentFieldsAreCheckedWhenOpening) {
    db::Query q(&conn_, "Q_emp_tankaP");
    q.setSql("SELECT * FROM emp_tanka WHERE E_DROPKBN = '1' ORDER BY E_NO");
    q.addField({"E_NO", FieldKind::Long});
    q.addField({"E_NAME", FieldKind::Text, 20});
    q.addField({"PRT_FLG", FieldKind::FixedText, 1});
    q.open();
    EXPECT_EQ(q.fieldCount(), 3);
    EXPECT_EQ(q.findField("E_TANCOD"), nullptr);
    EXPECT_EQ(q.recordCount(), 3);
    // Writing through a query over one table goes to that table.
    q.edit();
    q["PRT_FLG"].setAsString("1");
    q.post();
    EXPECT_EQ(count("SELECT COUNT(*) FROM emp_tanka WHERE PRT_FLG = '1'"), 1);
    q.close();

    db::Table t(&conn_, "sum_tran");
    t.setTableName("emp_tanka");
    t.addField({"E_NO", FieldKind::Long});
    t.addField({"E_MISSING", FieldKind::Long});
    try {
        t.open();
        FAIL();
    } catch (const rtl::DatabaseError& e) {
        EXPECT_NE(std::string(e.what()).find("E_MISSING"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(t.active());
    db::Table wrongKind(&conn_, "x");
    wrongKind.setTableName("emp_tanka");
    wrongKind.addField({"E_NAME", FieldKind::Long});
    EXPECT_THROW(wrongKind.open(), rtl::DatabaseError);
}

TEST_F(DatasetTest, ReadRulesForNullAndEmptyValues) {
    conn_.execute("INSERT INTO emp_tanka (E_NO, E_TANCOD, E_DROPKBN) VALUES (99, '', 'a')");
    db::Query q(&conn_, "Query1");
    q.setSql("SELECT * FROM emp_tanka WHERE E_NO = 99");
    q.open();
    struct {
        const char* field;
        bool null;
        const char* text;
    } cases[] = {{"E_BASEPAY", true, ""},
                 {"E_NAME", true, ""},
                 {"E_BARTH", true, ""},
                 {"E_TANCOD", false, ""},
                 {"E_DROPKBN", false, "a"}};
    for (auto& c : cases) {
        EXPECT_EQ(q[c.field].isNull(), c.null) << c.field;
        EXPECT_EQ(q[c.field].asString(), c.text) << c.field;
    }
    EXPECT_EQ(q["E_BASEPAY"].asInteger(), 0);
    EXPECT_EQ(q["E_BASEPAY"].asFloat(), 0.0);
    EXPECT_EQ(q["E_BARTH"].asDateTime(), 0.0);
    EXPECT_THROW(q["E_TANCOD"].asInteger(), rtl::ConversionError);  // empty text is no number
    EXPECT_THROW(q["E_DROPKBN"].asInteger(), rtl::ConversionError);
    EXPECT_EQ(q["E_NO"].asString(), "99");
    EXPECT_THROW(q.fieldByName("NOPE"), rtl::DatabaseError);
    q.close();
    EXPECT_THROW(q["E_NO"], rtl::DatabaseError);  // closed: no fields

    // Fixed text comes back unpadded; date-times read as text with the forced formats.
    conn_.execute("UPDATE emp_tanka SET E_DROPKBN = '1', E_BARTH = '1980/04/01' WHERE E_NO = 99");
    q.open();
    EXPECT_EQ(q["E_DROPKBN"].asString(), "1");
    EXPECT_DOUBLE_EQ(q["E_BARTH"].asDateTime(), date(1980, 4, 1));
    EXPECT_EQ(q["E_BARTH"].asString(), "80/04/01 00:00:00");
}

TEST_F(DatasetTest, WritesThroughFieldsAreCutAndChecked) {
    db::Table t(&conn_, "emp_tanka");
    t.setTableName("emp_tanka");
    t.setIndexFieldNames("E_NO");
    t.open();
    t.edit();
    t["E_NAME"].setAsString("山田太郎山田太郎山田太郎山田太郎山田太郎山田");  // 22 characters
    t["E_DROPKBN"].setAsString("123");
    EXPECT_THROW(t["E_NO"].setAsString("abc"), rtl::ConversionError);
    EXPECT_THROW(t["E_NO"].setAsFloat(3e9), rtl::DatabaseError);
    t["E_BASEPAY"].setAsString("");  // empty text clears a number
    t["E_BARTH"].setAsString("14/07/05");
    t.post();
    auto r =
        conn_.select("SELECT E_NAME, E_DROPKBN, E_BASEPAY, typeof(E_BARTH), E_BARTH FROM emp_tanka WHERE E_NO = 3");
    EXPECT_EQ(r.rows[0][0].text(), "山田太郎山田太郎山田太郎山田太郎山田太郎");
    EXPECT_EQ(r.rows[0][1].text(), "12");
    EXPECT_TRUE(r.rows[0][2].isNull());
    EXPECT_EQ(r.rows[0][3].text(), "real");
    EXPECT_DOUBLE_EQ(r.rows[0][4].real(), date(2014, 7, 5));

    db::Table k(&conn_, "kimu_tran");
    k.setTableName("kimu_tran");
    k.open();
    k.edit();
    EXPECT_THROW(k["K_KNTKBN"].setAsInteger(40000), rtl::DatabaseError);
    k["K_KNTKBN"].setAsFloat(2.5);
    EXPECT_EQ(k["K_KNTKBN"].asInteger(), 2);
    EXPECT_THROW(k["K_SYUGYO"].asInteger(), rtl::ConversionError);
    k.cancel();
    // A field cannot be written while browsing.
    EXPECT_THROW(k["K_BIKO"].setAsString("x"), rtl::DatabaseError);
}

TEST_F(DatasetTest, DisplayAndEditText) {
    conn_.execute("UPDATE emp_tanka SET E_BASEPAY = 1234567 WHERE E_NO = 12");
    db::Table t(&conn_, "emp_tanka");
    t.setTableName("emp_tanka");
    t.addField({"E_NO", FieldKind::Long});
    t.addField({"E_BASEPAY", FieldKind::Long, 0, "#,##0"});
    t.addField({"E_BARTH", FieldKind::DateTime, 0, "yyyy/mm/dd"});
    t.open();
    ASSERT_TRUE(t.locate("E_NO", db::Value(12)));
    EXPECT_EQ(t["E_BASEPAY"].displayText(), "1,234,567");
    EXPECT_EQ(t["E_BASEPAY"].editText(), "1234567");
    EXPECT_EQ(t["E_BARTH"].displayText(), "");
    t.edit();
    t["E_BARTH"].setAsDateTime(date(1975, 3, 9));
    EXPECT_EQ(t["E_BARTH"].displayText(), "1975/03/09");
    t.cancel();
}

TEST_F(DatasetTest, FiltersCompareByTheFieldsKind) {
    db::Table k(&conn_, "kimu_tran");
    k.setTableName("kimu_tran");
    k.setIndexFieldNames("K_DATE");
    struct {
        std::string filter;
        int rows;
    } cases[] = {
        {"K_DATE >= '2014/07/21' AND K_DATE <= '2014/07/31'", 4},
        {"K_DATE >= '14/07/21' and K_DATE <= '14/07/31'", 4},  // any case, two-digit years
        {"K_TANCOD = 12 AND K_DATE >= '2014/07/01' AND K_DATE <= '2014/07/31'", 3},
        {"k_tancod = '12'", 4},
        {"K_TANCOD <> 12", 4},
        {"K_DATE > '2014/07/31'", 2},
        {"K_DATE < '2014/07/05'", 0},
        {"K_SYUGYO = '08:00' Or K_DATE = '2014/08/01'", 5},
        {"(K_TANCOD = 3) AND (K_SYUGYO >= '07:30')", 4},
        {"K_BIKO IS NULL", 8},
        {"K_BIKO = NULL", 8},
    };
    for (auto& c : cases) {
        k.close();
        k.setFilter("");
        k.setFiltered(false);
        k.setFilter(c.filter);
        k.setFiltered(true);
        k.open();
        EXPECT_EQ(k.recordCount(), c.rows) << c.filter;
    }
    // The filter survives close and open; switching it off shows every row.
    k.setFilter(cases[0].filter);
    k.close();
    k.open();
    EXPECT_EQ(k.recordCount(), 4);
    k.setFiltered(false);
    EXPECT_EQ(k.recordCount(), 8);
    k.setFiltered(true);
    EXPECT_EQ(k.recordCount(), 4);
    // Set on an open table it applies at once, from the first row.
    k.setFilter("K_DATE = '2014/08/01'");
    EXPECT_EQ(k.recordCount(), 2);
    EXPECT_DOUBLE_EQ(k["K_DATE"].asDateTime(), date(2014, 8, 1));

    // Numbers in quotes compare as numbers, not as text ("10000" < "5000" as text).
    conn_.execute("Create Table zei_mas (code Integer, incam_t Integer, incam_b Integer, fking0 Integer)");
    conn_.execute("INSERT INTO zei_mas VALUES (1, 5000, 0, 0)");
    conn_.execute("INSERT INTO zei_mas VALUES (2, 10000, 5000, 120)");
    conn_.execute("INSERT INTO zei_mas VALUES (3, 100000, 10000, 900)");
    db::Query z(&conn_, "Q_zei_mas");
    z.setSql("SELECT * FROM zei_mas Order By code");
    z.setFilter("incam_b <= 7500 And incam_t > '7500'");
    z.setFiltered(true);
    z.open();
    ASSERT_EQ(z.recordCount(), 1);
    EXPECT_EQ(z["fking0"].asInteger(), 120);
    z.setFilter("incam_b <= 5000 And incam_t > '5000'");
    EXPECT_EQ(z["code"].asInteger(), 2);

    // Text keys use the collation: a year's months, then its bonus keys.
    conn_.execute("Create Table sum_tran (S_TANCOD Integer, S_DATE Char(8))");
    for (const char* key : {"23/11", "23/12", "23-1", "23-2", "24/01"})
        conn_.execute("INSERT INTO sum_tran VALUES (1, ?)", {key});
    db::Table s(&conn_, "sum_tran");
    s.setTableName("sum_tran");
    s.setFilter("S_DATE >= '23/12' AND S_DATE <= '23-2'");
    s.setFiltered(true);
    s.open();
    EXPECT_EQ(s.recordCount(), 3);
    s.setFilter("S_DATE = '23-1'");
    EXPECT_EQ(s.recordCount(), 1);

    // A quote typed into a filter value stays inside the value.
    db::Table e(&conn_, "emp_tanka");
    e.setTableName("emp_tanka");
    e.setFilter("E_NAME = '" + db::escaped("O'Neil") + "'");
    e.setFiltered(true);
    e.open();
    EXPECT_EQ(e.recordCount(), 1);
    e.setFilter("E_NAME = '" + db::escaped("x' OR E_NO > '0") + "'");
    EXPECT_EQ(e.recordCount(), 0);

    // Mistakes are reported.
    EXPECT_THROW(e.setFilter("E_NOPE = 1"), rtl::DatabaseError);
    EXPECT_THROW(e.setFilter("E_NO = 'abc'"), rtl::DatabaseError);
    EXPECT_THROW(e.setFilter("E_NO = "), rtl::DatabaseError);
}

// A filter that does not parse or bind is refused before anything changes:
// the dataset keeps its rows, its cursor and its old filter, and refresh()
// and navigation go on as before.
TEST_F(DatasetTest, ARefusedFilterLeavesTheDatasetAsItWas) {
    db::Table e(&conn_, "emp_tanka");
    e.setTableName("emp_tanka");
    e.setFilter("E_DROPKBN = '1'");
    e.setFiltered(true);
    e.open();
    ASSERT_EQ(e.recordCount(), 3);
    const char* refused[] = {"L = ", "[", "'", "E_NOPE = 1", "E_NO = 'abc'", "(E_NO = 1", "E_NO = 1)"};
    for (const char* text : refused) {
        e.last();
        EXPECT_THROW(e.setFilter(text), rtl::DatabaseError) << text;
        EXPECT_EQ(e.filter(), "E_DROPKBN = '1'") << text;
        EXPECT_EQ(e.recordCount(), 3) << text;
        EXPECT_EQ(e.recNo(), 3) << text;
        EXPECT_TRUE(e.eof()) << text;
        EXPECT_EQ(e.fieldByName("E_NAME").asString(), "O'Neil") << text;
        e.refresh();
        EXPECT_EQ(e.recordCount(), 3) << text;
        EXPECT_EQ(e.fieldByName("E_NAME").asString(), "O'Neil") << text;
    }
    // Switching a bad filter on is refused the same way.
    e.setFiltered(false);
    e.setFilter("[");
    EXPECT_THROW(e.setFiltered(true), rtl::DatabaseError);
    EXPECT_FALSE(e.filtered());
    EXPECT_EQ(e.recordCount(), 4);
    e.first();
    e.refresh();
    EXPECT_EQ(e.recordCount(), 4);
}

// Filters nested or chained past a fixed depth are refused with a message
// instead of exhausting the stack; up to it they work.
TEST_F(DatasetTest, DeepFiltersAreRefused) {
    db::Table e(&conn_, "emp_tanka");
    e.setTableName("emp_tanka");
    e.setFiltered(true);
    e.open();
    auto nested = [](int levels) {
        return std::string(static_cast<size_t>(levels), '(') + "E_NO = 12" +
               std::string(static_cast<size_t>(levels), ')');
    };
    auto chain = [](int links) {
        std::string t = "E_NO = 12";
        for (int i = 1; i < links; ++i) t += " AND E_NO > 0";
        return t;
    };
    e.setFilter(nested(1000));
    EXPECT_EQ(e.recordCount(), 1);
    e.setFilter(chain(1000));
    EXPECT_EQ(e.recordCount(), 1);
    for (const std::string& text : {nested(1001), nested(12000), chain(1001), chain(66000)}) {
        try {
            e.setFilter(text);
            ADD_FAILURE() << text.size();
        } catch (const rtl::DatabaseError& err) {
            EXPECT_NE(std::string(err.what()).find("フィルタの式が深すぎます"), std::string::npos) << err.what();
        }
        EXPECT_EQ(e.recordCount(), 1);
    }
}

// A scratch query keeps its filter while its statement changes: each open
// applies the filter to the columns that open has, whatever their order.
TEST_F(DatasetTest, AFilterAppliesToTheColumnsOfEachOpen) {
    db::Query q(&conn_, "Query1");
    q.setFilter("E_NAME = '山田'");
    q.setFiltered(true);
    const struct {
        const char* sql;
        int rows;
    } cases[] = {
        {"SELECT * FROM emp_tanka ORDER BY E_NO", 1},
        {"SELECT E_NO, E_NAME FROM emp_tanka", 1},
        {"SELECT E_NAME, E_DROPKBN, E_NO FROM emp_tanka WHERE E_NO > 3", 1},
        {"SELECT E_NAME, E_DROPKBN, E_NO FROM emp_tanka WHERE E_NO > 3", 1},  // reopened as it was
        {"SELECT E_NAME, E_NO FROM emp_tanka WHERE E_NO < 12", 0},
    };
    for (const auto& c : cases) {
        q.close();
        q.setSql(c.sql);
        q.open();
        EXPECT_EQ(q.recordCount(), c.rows) << c.sql;
        if (c.rows > 0) {
            EXPECT_EQ(q["E_NO"].asInteger(), 12) << c.sql;
        }
    }
    // Another kind under the same name: the literal is read by the new kind.
    q.close();
    q.setSql("SELECT E_NO AS E_NAME FROM emp_tanka");
    q.setFilter("E_NAME = '0012'");
    q.open();
    EXPECT_EQ(q.recordCount(), 1);
}

TEST_F(DatasetTest, LookupsReadTheSourceTableWhateverItsState) {
    // The source component is filtered to someone else and closed.
    db::Table emp(&conn_, "emp_tanka");
    emp.setTableName("emp_tanka");
    emp.setIndexFieldNames("E_NO");
    emp.setFilter("E_NO = 7");
    emp.setFiltered(true);

    conn_.execute("INSERT INTO タイムカード (月,日,IDコード,入退) VALUES ('07','01','000012','0')");
    conn_.execute("INSERT INTO タイムカード (月,日,IDコード,入退) VALUES ('07','01','040000','1')");
    conn_.execute("INSERT INTO タイムカード (月,日,IDコード,入退) VALUES ('07','02','999999','0')");
    conn_.execute("INSERT INTO タイムカード (月,日,IDコード,入退) VALUES ('07','03',NULL,'0')");
    db::Query tc(&conn_, "TimeCardInp");
    tc.setSql("SELECT * FROM タイムカード");
    tc.addLookupField({"E_NAME", "IDコード", &emp, "E_NO", "E_NAME", FieldKind::Text, 20});
    tc.open();
    std::vector<std::string> names;
    for (tc.first(); !tc.eof(); tc.next()) names.push_back(tc["E_NAME"].asString());
    EXPECT_EQ(names, (std::vector<std::string>{"山田", "O'Neil", "", ""}));
    EXPECT_FALSE(emp.active());
    EXPECT_TRUE(tc["E_NAME"].readOnly());

    // The lookup follows the database, not a stale copy.
    conn_.execute("UPDATE emp_tanka SET E_NAME = '山田花子' WHERE E_NO = 12");
    tc.first();
    EXPECT_EQ(tc["E_NAME"].asString(), "山田花子");
    EXPECT_THROW(tc["E_NAME"].setAsString("x"), rtl::DatabaseError);

    // A numeric key column looked up by a table name.
    conn_.execute("Create Table sum_tran (S_TANCOD Integer, S_DATE Char(8))");
    conn_.execute("INSERT INTO sum_tran VALUES (3, '14/07')");
    conn_.execute("INSERT INTO sum_tran VALUES (5, '14/07')");
    db::Table st(&conn_, "sum_tran");
    st.setTableName("sum_tran");
    st.setIndexFieldNames("S_TANCOD");
    st.addLookupField({"S_NAME", "S_TANCOD", std::string("emp_tanka"), "E_NO", "E_NAME", FieldKind::Text, 20});
    st.open();
    EXPECT_EQ(st["S_NAME"].asString(), "佐藤");
    st.next();
    EXPECT_EQ(st["S_NAME"].asString(), "");
    EXPECT_TRUE(st["S_NAME"].isNull());
    EXPECT_EQ(st.fieldCount(), 3);
}

TEST_F(DatasetTest, CalculatedFieldAndBeforePostOfTheTimeCard) {
    db::Query tc(&conn_, "TimeCardInp");
    tc.setSql("SELECT * FROM タイムカード");
    tc.addCalculatedField({"InOut_flg", FieldKind::Text, 4});
    tc.onCalcFields = [](db::Dataset& ds) {
        const std::string v = ds["入退"].asString();
        if (v == "0") ds["InOut_flg"].setAsString("出勤");
        else if (v == "1") ds["InOut_flg"].setAsString("退出");
    };
    tc.beforePost = [](db::Dataset& ds) {
        if (ds["異例コード"].asString().empty()) {
            ds["異例コード"].setAsString("00");
            ds["秒"].setAsString("00");
            ds["CR"].setAsString("0");
        }
    };
    tc.open();
    EXPECT_TRUE(tc.canModify());
    struct {
        const char* inout;
        const char* code;
        const char* sec;
        const char* flag;
        const char* storedCode;
        const char* storedSec;
    } rows[] = {
        {"0", "", "15", "出勤", "00", "00"}, {"1", "01", "15", "退出", "01", "15"}, {"2", "", "", "", "00", "00"}};
    for (auto& r : rows) {
        tc.append();
        tc["月"].setAsString("07");
        tc["入退"].setAsString(r.inout);
        tc["異例コード"].setAsString(r.code);
        tc["秒"].setAsString(r.sec);
        EXPECT_EQ(tc["InOut_flg"].asString(), r.flag);  // recalculated while typing
        tc.post();
        EXPECT_EQ(tc["InOut_flg"].asString(), r.flag);
        EXPECT_EQ(tc["異例コード"].asString(), r.storedCode);
        EXPECT_EQ(tc["秒"].asString(), r.storedSec);
    }
    EXPECT_EQ(count("SELECT COUNT(*) FROM タイムカード WHERE 異例コード = '00' AND CR = '0'"), 2);
    EXPECT_EQ(count("SELECT COUNT(*) FROM タイムカード WHERE 異例コード = '01' AND CR IS NULL"), 1);
    EXPECT_THROW(tc["InOut_flg"].setAsString("x"), rtl::DatabaseError);
}

TEST_F(DatasetTest, RowsAreASnapshotUntilRefresh) {
    db::Table k(&conn_, "kimu_tran");
    k.setTableName("kimu_tran");
    k.setIndexFieldNames("K_TANCOD;K_DATE");
    k.open();
    ASSERT_TRUE(k.locate("K_TANCOD;K_DATE", {db::Value(12), db::Value("2014/07/21")}));
    conn_.execute("UPDATE kimu_tran SET K_SYUGYO = '09:15' WHERE K_TANCOD = 12 AND K_DATE = CvDate('14/07/21')");
    conn_.execute("DELETE FROM kimu_tran WHERE K_TANCOD = 3");
    EXPECT_EQ(k.recordCount(), 8);
    EXPECT_EQ(k["K_SYUGYO"].asString(), "08:00");
    k.refresh();
    EXPECT_EQ(k.recordCount(), 4);
    EXPECT_DOUBLE_EQ(k["K_DATE"].asDateTime(), date(2014, 7, 21));  // the same row
    EXPECT_EQ(k["K_SYUGYO"].asString(), "09:15");
}

TEST_F(DatasetTest, AFailingPostKeepsTheRowInEditWithTheUsersValues) {
    conn_.execute("Create Table minus_dat (M_No SmallInt NOT NULL PRIMARY KEY, M_DATE Char(5), M_TANCOD Integer)");
    conn_.execute("INSERT INTO minus_dat VALUES (1, '14/07', 12)");
    db::Table m(&conn_, "minus_dat");
    m.setTableName("minus_dat");
    m.open();
    m.append();
    m["M_No"].setAsInteger(1);  // taken
    m["M_DATE"].setAsString("14/08");
    EXPECT_THROW(m.post(), rtl::DatabaseError);
    EXPECT_EQ(m.state(), db::DatasetState::Insert);
    EXPECT_EQ(m["M_DATE"].asString(), "14/08");
    EXPECT_TRUE(m.modified());
    // Moving posts first, so it fails the same way and stays.
    EXPECT_THROW(m.first(), rtl::DatabaseError);
    EXPECT_EQ(m.state(), db::DatasetState::Insert);
    m["M_No"].setAsInteger(2);
    m.first();  // posts
    EXPECT_EQ(m.state(), db::DatasetState::Browse);
    EXPECT_EQ(count("SELECT COUNT(*) FROM minus_dat"), 2);

    // A before-post step that raises also keeps the edit.
    m.beforePost = [](db::Dataset&) { throw rtl::DatabaseError("確認して下さい。"); };
    m.edit();
    m["M_TANCOD"].setAsInteger(13);
    EXPECT_THROW(m.post(), rtl::DatabaseError);
    EXPECT_EQ(m.state(), db::DatasetState::Edit);
    EXPECT_EQ(m["M_TANCOD"].asInteger(), 13);
    m.cancel();
    EXPECT_EQ(m["M_TANCOD"].asInteger(), 12);
}

TEST_F(DatasetTest, EditAppendInsertCancelDelete) {
    conn_.execute("Create Table minus_dat (M_No SmallInt NOT NULL PRIMARY KEY, M_DATE Char(5), M_TANCOD Integer)");
    db::Table m(&conn_, "minus_dat");
    m.setTableName("minus_dat");
    m.setFilter("M_DATE = '14/07' AND M_TANCOD = 12");
    m.setFiltered(true);
    m.open();
    EXPECT_TRUE(m.isEmpty());
    EXPECT_TRUE(m["M_No"].isNull());
    m.edit();  // an empty dataset starts a new row
    EXPECT_EQ(m.state(), db::DatasetState::Insert);
    m["M_No"].setAsInteger(1);
    m["M_DATE"].setAsString("14/07");
    m["M_TANCOD"].setAsInteger(12);
    m.post();
    EXPECT_EQ(m.recordCount(), 1);

    m.append();
    m["M_No"].setAsInteger(2);
    m.cancel();
    EXPECT_EQ(m.recordCount(), 1);
    EXPECT_EQ(m["M_No"].asInteger(), 1);

    m.insert();
    m["M_No"].setAsInteger(3);
    m["M_DATE"].setAsString("14/07");
    m.post();
    EXPECT_EQ(m.recordCount(), 2);
    EXPECT_EQ(m.recNo(), 1);  // inserted before the row it stood on
    EXPECT_EQ(count("SELECT COUNT(*) FROM minus_dat"), 2);

    // Only the changed columns are written.
    conn_.execute("UPDATE minus_dat SET M_TANCOD = 77 WHERE M_No = 3");
    m.edit();
    m["M_DATE"].setAsString("14/09");
    m.post();
    EXPECT_EQ(conn_.scalar("SELECT M_TANCOD FROM minus_dat WHERE M_No = 3").integer(), 77);

    m.deleteRecord();
    EXPECT_EQ(m.recordCount(), 1);
    EXPECT_EQ(count("SELECT COUNT(*) FROM minus_dat"), 1);
    m.deleteRecord();
    EXPECT_TRUE(m.isEmpty());
    EXPECT_TRUE(m.eof());
    EXPECT_THROW(m.deleteRecord(), rtl::DatabaseError);

    db::Query q(&conn_, "QueryCnt");
    q.setSql("SELECT COUNT(*) FROM minus_dat");
    q.open();
    EXPECT_FALSE(q.canModify());
    EXPECT_THROW(q.edit(), rtl::DatabaseError);
    EXPECT_EQ(q["Expr1000"].asInteger(), 0);
    q.sql().clear();  // changing the SQL closes the query
    EXPECT_FALSE(q.active());
    q.sql().add("DELETE FROM minus_dat");
    EXPECT_THROW(q.open(), rtl::DatabaseError);
    EXPECT_EQ(q.execSQL(), 0);
}

TEST_F(DatasetTest, QueryParametersAndCrLfLines) {
    db::Query q(&conn_, "Query1");
    q.sql().add("SELECT * FROM emp_tanka");
    q.sql().add("WHERE E_NAME = :name ");
    q.sql().add("AND E_DROPKBN = '1'");
    EXPECT_EQ(q.sqlText(), "SELECT * FROM emp_tanka\r\nWHERE E_NAME = :name \r\nAND E_DROPKBN = '1'");
    q.setParam("name", "O'Neil");
    q.open();
    EXPECT_EQ(q["E_NO"].asInteger(), 40000);
    q.close();
    q.setParam(":name", "07' OR 'a'='a");
    q.open();
    EXPECT_TRUE(q.isEmpty());
}

TEST_F(DatasetTest, AViewOpensAsATableAndStaysReadOnly) {
    conn_.execute("Create Table sum_tran (S_TANCOD Integer, S_DATE Char(8))");
    conn_.execute("INSERT INTO sum_tran VALUES (12, '14/07')");
    conn_.execute("INSERT INTO sum_tran VALUES (3, '14/07')");
    conn_.execute("INSERT INTO sum_tran VALUES (3, '14-1')");
    conn_.executeNative(
        "CREATE VIEW sum_tran_t AS SELECT s.*, e.E_NAME AS E_NAME FROM sum_tran s "
        "LEFT JOIN emp_tanka e ON e.E_NO = s.S_TANCOD");
    db::Table v(&conn_, "sum_tran_t");
    v.setTableName("sum_tran_t");
    v.addLookupField({"S_NAME", "S_TANCOD", std::string("emp_tanka"), "E_NO", "E_NAME", FieldKind::Text, 20});
    v.setFilter("S_DATE = '14/07'");
    v.setFiltered(true);
    v.open();
    EXPECT_EQ(v.recordCount(), 2);
    EXPECT_EQ(v.fieldCount(), 4);
    EXPECT_EQ(v["S_DATE"].kind(), FieldKind::FixedText);
    EXPECT_EQ(v["E_NAME"].asString(), v["S_NAME"].asString());
    EXPECT_FALSE(v.canModify());
    EXPECT_THROW(v.edit(), rtl::DatabaseError);
    v.last();
    const auto mark = v.bookmark();
    v.refresh();
    EXPECT_EQ(v.bookmark(), mark);
}

TEST_F(DatasetTest, DataSourcesTellControlsWhatChanged) {
    db::Table t(&conn_, "emp_tanka");
    t.setTableName("emp_tanka");
    t.setIndexFieldNames("E_NO");
    db::DataSource ds(&t, "DSemp_tanka");
    std::vector<std::string> events;
    ds.onDataChange([&](db::Field* f) { events.push_back(f ? "field:" + f->fieldName() : "row"); });
    ds.onStateChange([&] { events.push_back("state"); });
    ds.onUpdateData([&] { events.push_back("update"); });
    t.open();
    EXPECT_EQ(events, (std::vector<std::string>{"state", "row"}));
    events.clear();
    t.next();
    EXPECT_EQ(events, std::vector<std::string>{"row"});
    events.clear();
    ASSERT_TRUE(ds.edit());
    t["E_NAME"].setAsString("新");
    t.post();
    EXPECT_EQ(events, (std::vector<std::string>{"state", "field:E_NAME", "update", "state", "row"}));

    events.clear();
    ds.setEnabled(false);
    t.next();
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(ds.state(), db::DatasetState::Inactive);
    ds.setEnabled(true);
    events.clear();
    t.disableControls();
    t.first();
    t.next();
    EXPECT_TRUE(events.empty());
    t.enableControls();
    EXPECT_EQ(events, (std::vector<std::string>{"state", "row"}));
    events.clear();
    t.close();
    EXPECT_EQ(events, (std::vector<std::string>{"state", "row"}));
    EXPECT_FALSE(ds.edit());
}

// A shared component read in passing: one found closed is closed again
// afterwards, also when the read fails; one found open keeps its current row
// and its unposted change.
TEST_F(DatasetTest, WithOpenLeavesTheDatasetAsItWasFound) {
    db::Table t(&conn_, "emp_tanka");
    t.setTableName("emp_tanka");
    t.setIndexFieldNames("E_NO");

    EXPECT_EQ(db::withOpen(t, [&] { return t.recordCount(); }), 4);
    EXPECT_FALSE(t.active());
    EXPECT_THROW(db::withOpen(t, [&] { t.fieldByName("NOPE"); }), rtl::DatabaseError);
    EXPECT_FALSE(t.active());

    t.open();
    t.last();
    t.edit();
    t["E_NAME"].setAsString("変更中");
    {
        db::OpenScope scope(t);
        EXPECT_FALSE(scope.openedHere());
    }
    EXPECT_EQ(db::withOpen(t, [&] { return t["E_NAME"].asString(); }), "変更中");
    EXPECT_THROW(db::withOpen(t, [] { throw rtl::DatabaseError("読めません"); }), rtl::DatabaseError);
    EXPECT_TRUE(t.active());
    EXPECT_EQ(t.state(), db::DatasetState::Edit);
    EXPECT_EQ(t.recNo(), 4);
    EXPECT_EQ(t["E_NAME"].asString(), "変更中");

    // A read that closes the dataset itself ends the scope cleanly.
    t.cancel();
    t.close();
    {
        db::OpenScope scope(t);
        EXPECT_TRUE(scope.openedHere());
        EXPECT_TRUE(t.active());
        t.close();
    }
    EXPECT_FALSE(t.active());
}

}  // namespace
