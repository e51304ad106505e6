// The Jet dialect: collation, CvDate, CInt, DDL translation and kind checks.
#include <sqlite3.h>

#include <algorithm>
#include <random>

#include "fixture.h"

using namespace dbtest;

namespace {

int sign(int v) { return (v > 0) - (v < 0); }

struct CompareCase {
    const char* a;
    const char* b;
    int expected;
};

TEST(JetCollation, OrdersKeysAsJetDoes) {
    const CompareCase cases[] = {
        {"23/12", "23-1", -1},  // month keys of a year before its bonus keys
        {"23-1", "23-2", -1},
        {"23-2", "24/01", -1},  // then the next year
        {"23/01", "23/12", -1},
        {"abc", "ABC", 0},        // case-insensitive
        {"ａｂｃ", "ＡＢＣ", 0},  // also full-width Latin
        {"coop", "co-op", -1},    // hyphen ignored first, then breaks the tie
        {"cant", "can't", -1},
        {"co-op", "coop", 1},
        {"", "a", -1},
        {"山田", "山田", 0},
        {"山田", "山本", sign(std::string("山田").compare("山本"))},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(sign(db::jetCompare(c.a, c.b)), c.expected) << c.a << " vs " << c.b;
        EXPECT_EQ(sign(db::jetCompare(c.b, c.a)), -c.expected) << c.b << " vs " << c.a;
    }
}

class JetSql : public DbTest {};

TEST_F(JetSql, TextColumnsSortAndCompareWithTheCollation) {
    conn_.execute("Create Table sum_tran (S_TANCOD Integer, S_DATE Char(8))");
    std::vector<std::string> keys;
    for (int m = 1; m <= 12; ++m) keys.push_back("23/" + std::string(m < 10 ? "0" : "") + std::to_string(m));
    for (int b = 1; b <= 3; ++b) keys.push_back("23-" + std::to_string(b));
    keys.push_back("24/01");
    keys.push_back("24-1");
    std::vector<std::string> shuffled = keys;
    std::mt19937 rng(7);
    std::shuffle(shuffled.begin(), shuffled.end(), rng);
    for (const auto& k : shuffled) conn_.execute("INSERT INTO sum_tran (S_TANCOD, S_DATE) VALUES (1, ?)", {k});

    db::ResultSet r = conn_.select("SELECT S_DATE FROM sum_tran ORDER BY S_DATE");
    std::vector<std::string> got;
    for (auto& row : r.rows) got.push_back(row[0].text());
    EXPECT_EQ(got, keys);

    // A year's range of month and bonus keys, as the annual queries write it.
    EXPECT_EQ(count("SELECT COUNT(*) FROM sum_tran WHERE ((S_DATE >= '23/01') and (S_DATE <= '23-3'))"), 15);
    EXPECT_EQ(count("SELECT COUNT(*) FROM sum_tran WHERE S_DATE = '23-1'"), 1);
}

struct DateCase {
    const char* text;
    int y, mo, d, h, mi, s;
};

TEST_F(JetSql, CvDateReadsTheProgramsDateForms) {
    const DateCase cases[] = {
        {"14/07/05", 2014, 7, 5, 0, 0, 0},
        {"2014/07/05", 2014, 7, 5, 0, 0, 0},
        {"14/7/5", 2014, 7, 5, 0, 0, 0},
        {"14/07/05 08:50:12", 2014, 7, 5, 8, 50, 12},
        {"2014/07/31 23:59:59", 2014, 7, 31, 23, 59, 59},
        {"99/12/31", 1999, 12, 31, 0, 0, 0},
        {"2024/02/29", 2024, 2, 29, 0, 0, 0},
    };
    for (const auto& c : cases) {
        db::Value v = conn_.scalar("SELECT CvDate(?)", {c.text});
        ASSERT_TRUE(v.isFloat()) << c.text;
        EXPECT_DOUBLE_EQ(v.real(), rtl::encodeDateTime(c.y, c.mo, c.d, c.h, c.mi, c.s)) << c.text;
    }
    EXPECT_TRUE(conn_.scalar("SELECT CvDate(NULL)").isNull());
    EXPECT_DOUBLE_EQ(conn_.scalar("SELECT CvDate(41825.5)").real(), 41825.5);
}

TEST_F(JetSql, CvDateFailsTheStatementOnImpossibleDates) {
    for (const char* bad : {"14/13/01", "14/02/30", "2023/02/29", "", "abc", "14/07/05 25:00:00"}) {
        EXPECT_THROW(conn_.scalar("SELECT CvDate(?)", {bad}), rtl::DatabaseError) << bad;
    }
    try {
        conn_.scalar("SELECT CvDate('14/13/01')");
        FAIL();
    } catch (const rtl::DatabaseError& e) {
        EXPECT_NE(std::string(e.what()).find("14/13/01"), std::string::npos) << e.what();
    }
}

TEST_F(JetSql, CIntIsThirtyTwoBitHalfEvenAndStrict) {
    struct {
        db::Value in;
        long long out;
    } ok[] = {{"040000", 40000},   {" 12 ", 12},       {"2.5", 2},
              {"3.5", 4},          {"-2.5", -2},       {"2147483647", 2147483647LL},
              {db::Value(7.5), 8}, {db::Value(12), 12}};
    for (const auto& c : ok) {
        EXPECT_EQ(conn_.scalar("SELECT CInt(?)", {c.in}).integer(), c.out) << c.in.toString();
        EXPECT_EQ(db::cInt(c.in), c.out);
    }
    for (db::Value bad : {db::Value("abc"), db::Value(""), db::Value("2147483648"), db::Value("12a"), db::Value()}) {
        EXPECT_THROW(conn_.scalar("SELECT CInt(?)", {bad}), rtl::DatabaseError) << bad.toString();
        EXPECT_THROW(db::cInt(bad), rtl::ConversionError);
    }
}

TEST_F(JetSql, DateTextWrittenBySqlLandsAsDays) {
    conn_.execute("Create Table kimu_tran (K_TANCOD Integer, K_DATE DateTime, K_INTIM DateTime, K_SYUGYO Varchar(5))");
    conn_.execute(
        "INSERT INTO kimu_tran\r\n(K_TANCOD,K_DATE,K_INTIM,K_SYUGYO)\r\nVALUES \r\n(12,'14/07/05','14/07/05 "
        "08:50:12','08:00')");
    auto r = conn_.select("SELECT typeof(K_DATE), K_DATE, typeof(K_INTIM), K_INTIM FROM kimu_tran");
    ASSERT_EQ(r.rows.size(), 1u);
    EXPECT_EQ(r.rows[0][0].text(), "real");
    EXPECT_DOUBLE_EQ(r.rows[0][1].real(), rtl::encodeDate(2014, 7, 5));
    EXPECT_EQ(r.rows[0][2].text(), "real");
    EXPECT_DOUBLE_EQ(r.rows[0][3].real(), rtl::encodeDateTime(2014, 7, 5, 8, 50, 12));

    conn_.execute("UPDATE kimu_tran SET K_INTIM = '14/07/05 09:00:00' WHERE K_TANCOD = 12");
    EXPECT_DOUBLE_EQ(conn_.scalar("SELECT K_INTIM FROM kimu_tran").real(), rtl::encodeDateTime(2014, 7, 5, 9, 0, 0));
    EXPECT_EQ(count("SELECT COUNT(*) FROM kimu_tran WHERE K_DATE = CvDate('14/07/05')"), 1);

    // An impossible date fails the whole statement and writes nothing.
    EXPECT_THROW(conn_.execute("INSERT INTO kimu_tran (K_TANCOD,K_DATE) VALUES (13,'14/07/32')"), rtl::DatabaseError);
    EXPECT_THROW(conn_.execute("UPDATE kimu_tran SET K_DATE = 'x'"), rtl::DatabaseError);
    EXPECT_EQ(count("SELECT COUNT(*) FROM kimu_tran"), 1);
    EXPECT_DOUBLE_EQ(conn_.scalar("SELECT K_DATE FROM kimu_tran").real(), rtl::encodeDate(2014, 7, 5));
}

struct ViolationCase {
    const char* sql;
    const char* column;  // named in the message
};

TEST_F(JetSql, WidthAndRangeViolationsFailTheStatement) {
    conn_.execute(
        "Create Table t (L Integer, S Smallint, D Double, V Varchar(5), C Char(2), J Varchar(3), T DateTime)");
    const ViolationCase bad[] = {
        {"INSERT INTO t (V) VALUES ('abcdef')", "V"},    {"INSERT INTO t (C) VALUES ('abc')", "C"},
        {"INSERT INTO t (J) VALUES ('山田太郎')", "J"},  {"INSERT INTO t (S) VALUES (32768)", "S"},
        {"INSERT INTO t (S) VALUES (-32769)", "S"},      {"INSERT INTO t (L) VALUES (2147483648)", "L"},
        {"INSERT INTO t (L) VALUES (-2147483649)", "L"}, {"INSERT INTO t (L) VALUES ('abc')", "L"},
        {"INSERT INTO t (L) VALUES ('')", "L"},          {"INSERT INTO t (D) VALUES ('x')", "D"},
    };
    for (const auto& c : bad) {
        try {
            conn_.execute(c.sql);
            ADD_FAILURE() << "accepted: " << c.sql;
        } catch (const rtl::DatabaseError& e) {
            EXPECT_NE(std::string(e.what()).find(std::string("'") + c.column + "'"), std::string::npos)
                << c.sql << " -> " << e.what();
        }
    }
    EXPECT_EQ(count("SELECT COUNT(*) FROM t"), 0);

    // At the limits everything passes; doubles into integer columns round half to even.
    conn_.execute("INSERT INTO t (L,S,V,C,J) VALUES (2147483647,-32768,'abcde','ab','山田太')");
    conn_.execute("INSERT INTO t (L,S) VALUES (2.5, 3.5)");
    auto r = conn_.select("SELECT L, S FROM t WHERE V IS NULL");
    EXPECT_EQ(r.rows[0][0], db::Value(2));
    EXPECT_EQ(r.rows[0][1], db::Value(4));
    // Numeric text converts as Jet converts it.
    conn_.execute("INSERT INTO t (L) VALUES ('040000')");
    EXPECT_EQ(count("SELECT COUNT(*) FROM t WHERE L = 40000"), 1);
    // An UPDATE is checked as well.
    EXPECT_THROW(conn_.execute("UPDATE t SET V = 'toolong'"), rtl::DatabaseError);
}

TEST_F(JetSql, AlterTableAddsCheckedColumnsAndRefusesDuplicates) {
    conn_.execute("Create Table sum_tran (S_TANCOD Integer, S_DATE Char(8))");
    conn_.execute("INSERT INTO sum_tran (S_TANCOD, S_DATE) VALUES (1, '14/07')");
    conn_.execute("ALTER TABLE sum_tran\r\nADD S_DAY1 INT");
    conn_.execute("ALTER TABLE sum_tran\r\nADD DAT_CHK Char(1)");
    conn_.execute("ALTER TABLE sum_tran ADD COLUMN S_WHEN DateTime");
    auto cols = conn_.columns("sum_tran");
    ASSERT_EQ(cols.size(), 5u);
    EXPECT_EQ(cols[2].kind, db::FieldKind::Long);
    EXPECT_EQ(cols[3].kind, db::FieldKind::FixedText);
    EXPECT_EQ(cols[3].width, 1);
    EXPECT_EQ(cols[4].kind, db::FieldKind::DateTime);
    EXPECT_THROW(conn_.execute("ALTER TABLE sum_tran ADD S_DAY1 INT"), rtl::DatabaseError);
    EXPECT_THROW(conn_.execute("UPDATE sum_tran SET DAT_CHK = '00'"), rtl::DatabaseError);
    conn_.execute("UPDATE sum_tran\r\nSet DAT_CHK = '0'\r\nWHERE DAT_CHK Is Null");
    // The trigger of the table now also covers the new date column.
    conn_.execute("UPDATE sum_tran SET S_WHEN = '14/07/05'");
    EXPECT_EQ(conn_.scalar("SELECT typeof(S_WHEN) FROM sum_tran").text(), "real");
    conn_.execute("ALTER TABLE sum_tran DROP COLUMN S_WHEN");
    EXPECT_EQ(conn_.columns("sum_tran").size(), 4u);
}

TEST_F(JetSql, DdlKeepsJetKindsAndWidthsInTheDeclaredTypes) {
    conn_.execute(
        "Create Table minus_dat\r\n(M_No SmallInt NOT NULL PRIMARY KEY, M_SEQNO Integer, M_DATE Char(5), "
        "M_TANMEI Varchar(20), M_RATE Double, [M_WHEN] DATETIME)");
    struct {
        const char* name;
        db::FieldKind kind;
        int width;
    } expect[] = {{"M_No", db::FieldKind::Short, 0},       {"M_SEQNO", db::FieldKind::Long, 0},
                  {"M_DATE", db::FieldKind::FixedText, 5}, {"M_TANMEI", db::FieldKind::Text, 20},
                  {"M_RATE", db::FieldKind::Double, 0},    {"M_WHEN", db::FieldKind::DateTime, 0}};
    auto cols = conn_.columns("minus_dat");
    ASSERT_EQ(cols.size(), std::size(expect));
    for (size_t i = 0; i < cols.size(); ++i) {
        EXPECT_EQ(cols[i].name, expect[i].name);
        EXPECT_EQ(cols[i].kind, expect[i].kind) << cols[i].name;
        EXPECT_EQ(cols[i].width, expect[i].width) << cols[i].name;
    }
    EXPECT_THROW(conn_.execute("INSERT INTO minus_dat (M_SEQNO) VALUES (1)"), rtl::DatabaseError);  // NOT NULL
    conn_.execute("INSERT INTO minus_dat (M_No) VALUES (1)");
    EXPECT_THROW(conn_.execute("INSERT INTO minus_dat (M_No) VALUES (1)"), rtl::DatabaseError);  // key
    EXPECT_THROW(conn_.execute("Create Table minus_dat (A Integer)"), rtl::DatabaseError);       // exists
    EXPECT_THROW(conn_.execute("Create Table x (A Blobby)"), rtl::DatabaseError);                // unknown type
    conn_.execute("drop table minus_dat");
    EXPECT_FALSE(conn_.tableExists("minus_dat"));
    EXPECT_THROW(conn_.execute("drop table minus_dat"), rtl::DatabaseError);
}

TEST_F(JetSql, JapaneseAndBracketedNamesWork) {
    conn_.execute(
        "Create Table [タイムカード] (月 Varchar(50), 日 Varchar(50), IDコード Varchar(50), [入退] Varchar(50))");
    conn_.execute("INSERT INTO タイムカード (月,日,IDコード,入退) VALUES ('07','05','000012','0')");
    EXPECT_EQ(count("SELECT COUNT(*) FROM タイムカード WHERE [IDコード] = '000012' AND 入退 = '0'"), 1);
    EXPECT_EQ(count("SELECT COUNT(*) FROM [タイムカード] WHERE 月 <> '06'"), 1);
}

TEST_F(JetSql, ExpressionColumnsAreNamedExpr1000On) {
    conn_.execute("Create Table s (S_TANCOD Integer, S_DAYS Integer)");
    db::ResultSet r = conn_.select("SELECT COUNT(*) FROM s");
    EXPECT_EQ(r.columns, std::vector<std::string>{"Expr1000"});
    r = conn_.select("SELECT S_TANCOD, COUNT(*), SUM(S_DAYS) AS total, 1 + 1 FROM s");
    EXPECT_EQ(r.columns, (std::vector<std::string>{"S_TANCOD", "Expr1001", "total", "Expr1003"}));

    db::Query q(&conn_, "QueryCnt");
    q.setSql("SELECT SUM(S_DAYS) FROM s WHERE (S_TANCOD = 1)");
    q.open();
    EXPECT_TRUE(q.fieldByName("Expr1000").isNull());
    EXPECT_EQ(q.fieldByName("Expr1000").asInteger(), 0);  // an empty sum reads 0
    q.close();
}

TEST(JetDdl, ParsesTheProgramsCreationStatements) {
    db::DdlPlan p = db::parseJetDdl(
        "Create Table gensen\r\n(code Integer, hym Char(6), dcode Varchar(10), dname VARCHAR(10), fct_code char(2))");
    EXPECT_EQ(p.kind, db::DdlPlan::Kind::CreateTable);
    EXPECT_EQ(p.table, "gensen");
    ASSERT_EQ(p.columns.size(), 5u);
    EXPECT_EQ(p.columns[4].kind, db::FieldKind::FixedText);
    EXPECT_EQ(p.columns[4].width, 2);
    EXPECT_EQ(db::parseJetDdl("ALTER TABLE title_mas\r\nADD GK_FLG7 CHAR(1)").kind, db::DdlPlan::Kind::AlterAdd);
    EXPECT_EQ(db::parseJetDdl("SELECT * FROM x").kind, db::DdlPlan::Kind::None);
    EXPECT_EQ(db::parseJetDdl("CREATE VIEW v AS SELECT 1").kind, db::DdlPlan::Kind::None);
    EXPECT_THROW(db::parseJetDdl("Create Table x (A Integer"), rtl::DatabaseError);
}

// A text column holds at least one character: a written width of 0 is
// refused rather than declaring a column without a width check.
TEST(JetDdl, TextWidthZeroIsRefused) {
    for (const char* type : {"Char(0)", "CHARACTER(0)", "Varchar(0)", "Text(0)", "Text( 0 )"}) {
        db::FieldKind kind;
        int width = -1;
        EXPECT_FALSE(db::parseJetType(type, kind, width)) << type;
        EXPECT_THROW(db::parseJetDdl(std::string("CREATE TABLE t (A ") + type + ")"), rtl::DatabaseError) << type;
    }
    db::FieldKind kind;
    int width = -1;
    ASSERT_TRUE(db::parseJetType("Char", kind, width));
    EXPECT_EQ(width, 1);
    ASSERT_TRUE(db::parseJetType("Text", kind, width));
    EXPECT_EQ(width, 255);
    ASSERT_TRUE(db::parseJetType("Memo", kind, width));
    EXPECT_EQ(width, 0);
}

TEST(JetQuoting, DoublesQuotes) {
    EXPECT_EQ(db::quoted("O'Neil"), "'O''Neil'");
    EXPECT_EQ(db::quoted(""), "''");
    EXPECT_EQ(db::escaped("07' OR 'a'='a"), "07'' OR ''a''=''a");
}

}  // namespace
