// The connection: lazy connect without creating files, close and reconnect,
// jobs, bound values and the read-only import source.
#include <fstream>

#include "fixture.h"

using namespace dbtest;

namespace {

class ConnectionTest : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        conn_.execute("Create Table emp_tanka (E_NO Integer, E_TANCOD Varchar(10), E_NAME Varchar(20))");
        conn_.execute("INSERT INTO emp_tanka VALUES (1, '000001', '山田')");
        conn_.execute("INSERT INTO emp_tanka VALUES (2, '000002', 'O''Neil')");
    }
};

TEST(ConnectionFile, MissingFileIsAnErrorAndIsNeverCreated) {
    const auto path = std::filesystem::temp_directory_path() / "tallyra_db_missing" / "Wendrasol.mdb";
    std::filesystem::remove_all(path.parent_path());
    std::filesystem::create_directories(path.parent_path());
    db::Connection c(path.string());
    EXPECT_FALSE(c.connected());
    db::Query q(&c, "Query1");
    q.setSql("SELECT 1");
    try {
        q.open();
        FAIL();
    } catch (const rtl::DatabaseError& e) {
        EXPECT_NE(std::string(e.what()).find(path.string()), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("見つかりません"), std::string::npos) << e.what();
    }
    EXPECT_THROW(c.execute("SELECT 1"), rtl::DatabaseError);
    EXPECT_FALSE(std::filesystem::exists(path));

    // A file that is not a database is refused too, and left as it was.
    { std::ofstream(path) << "Standard Jet DB"; }
    EXPECT_THROW(c.open(), rtl::DatabaseError);
    EXPECT_EQ(std::filesystem::file_size(path), 15u);

    db::Connection::createDatabaseFile(path.string(), true);
    EXPECT_NO_THROW(c.open());
    EXPECT_THROW(db::Connection::createDatabaseFile(path.string()), rtl::DatabaseError);
    c.close();
    std::filesystem::remove_all(path.parent_path());
}

TEST_F(ConnectionTest, AdoConnectionTextNamesTheFile) {
    db::Connection c("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + path_ +
                     ";Mode=ReadWrite;Persist Security Info=False;");
    EXPECT_EQ(c.databasePath(), path_);
    EXPECT_FALSE(c.readOnly());
    EXPECT_EQ(c.scalar("SELECT COUNT(*) FROM emp_tanka").integer(), 2);
    db::Connection r("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + path_ + ";Mode=Read;");
    EXPECT_TRUE(r.readOnly());
    EXPECT_THROW(r.execute("DELETE FROM emp_tanka"), rtl::DatabaseError);
    // The provider's quoted form: the quotes are not part of the path, and a
    // ';' inside them does not end the value.
    db::Connection q("Provider=Microsoft.Jet.OLEDB.4.0;Data Source='" + path_ +
                     "';Mode=Read;Persist Security Info=False");
    EXPECT_EQ(q.databasePath(), path_);
    EXPECT_TRUE(q.readOnly());
    db::Connection semi("Data Source='/tmp/a;b.mdb';Mode=Read");
    EXPECT_EQ(semi.databasePath(), "/tmp/a;b.mdb");
    EXPECT_TRUE(semi.readOnly());
}

TEST_F(ConnectionTest, SettingsFavourDurability) {
    EXPECT_EQ(conn_.scalar("PRAGMA journal_mode").text(), "delete");
    EXPECT_EQ(conn_.scalar("PRAGMA synchronous").integer(), 2);  // FULL
    // Double-quoted text is an identifier, never a string.
    EXPECT_THROW(conn_.execute("SELECT * FROM emp_tanka WHERE E_NAME = \"山田\""), rtl::DatabaseError);
}

TEST_F(ConnectionTest, CloseClosesEveryDatasetAndTheNextOpenReconnects) {
    db::Table t(&conn_, "emp_tanka");
    t.setTableName("emp_tanka");
    db::Query q(&conn_, "Query1");
    q.setSql("SELECT * FROM emp_tanka");
    t.open();
    q.open();
    conn_.close();
    EXPECT_FALSE(conn_.connected());
    EXPECT_FALSE(t.active());
    EXPECT_FALSE(q.active());
    q.open();
    EXPECT_TRUE(conn_.connected());
    EXPECT_EQ(q.recordCount(), 2);
}

TEST_F(ConnectionTest, OneStatementAtATime) {
    EXPECT_THROW(conn_.execute("DELETE FROM emp_tanka; DROP TABLE emp_tanka"), rtl::DatabaseError);
    EXPECT_TRUE(conn_.tableExists("emp_tanka"));
    EXPECT_EQ(count("SELECT COUNT(*) FROM emp_tanka"), 2);
}

TEST_F(ConnectionTest, BoundValuesAndQuotingKeepTypedTextOutOfTheStatement) {
    conn_.execute("Create Table タイムカード (月 Varchar(50), 日 Varchar(50))");
    conn_.execute("INSERT INTO タイムカード VALUES ('07', '01')");
    conn_.execute("INSERT INTO タイムカード VALUES ('08', '01')");
    const std::string typed = "07' OR 'a'='a";
    EXPECT_EQ(conn_.execute("DELETE FROM タイムカード WHERE 月 = ?", {typed}), 0);
    EXPECT_EQ(conn_.execute("DELETE FROM タイムカード WHERE 月 = :m", {{"m", typed}}), 0);
    EXPECT_EQ(conn_.execute("DELETE FROM タイムカード\r\nWHERE 月 = " + db::quoted(typed)), 0);
    EXPECT_EQ(conn_.execute("DELETE FROM タイムカード WHERE 月 = '" + db::escaped(typed) + "'"), 0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM タイムカード"), 2);

    // A quote in a name neither breaks the statement nor widens it.
    EXPECT_EQ(count("SELECT COUNT(*) FROM emp_tanka WHERE E_NAME = " + db::quoted("O'Neil")), 1);
    EXPECT_EQ(conn_.scalar("SELECT E_NO FROM emp_tanka WHERE E_NAME = ?", {"O'Neil"}).integer(), 2);
    EXPECT_EQ(conn_.execute("UPDATE emp_tanka SET E_NAME = ? WHERE E_NO = ?", {"D'Arcy", 1}), 1);
    EXPECT_EQ(conn_.scalar("SELECT E_NAME FROM emp_tanka WHERE E_NO = 1").text(), "D'Arcy");

    // Parameters must match the statement.
    EXPECT_THROW(conn_.execute("DELETE FROM emp_tanka WHERE E_NO = ?"), rtl::DatabaseError);
    EXPECT_THROW(conn_.execute("DELETE FROM emp_tanka WHERE E_NO = :n", {{"x", 1}}), rtl::DatabaseError);
    EXPECT_EQ(count("SELECT COUNT(*) FROM emp_tanka"), 2);
}

TEST_F(ConnectionTest, AFailingJobRollsBackEverything) {
    db::Table t(&conn_, "emp_tanka");
    t.setTableName("emp_tanka");
    t.setIndexFieldNames("E_NO");
    t.open();
    EXPECT_THROW(conn_.runJob([&] {
        conn_.execute("DELETE FROM emp_tanka");
        t.append();
        t["E_NO"].setAsInteger(9);
        t["E_NAME"].setAsString("新規");
        t.post();
        conn_.execute("INSERT INTO emp_tanka (E_NO, E_TANCOD) VALUES (3, '12345678901')");  // too wide
    }),
                 rtl::DatabaseError);
    EXPECT_FALSE(conn_.inJob());
    EXPECT_EQ(count("SELECT COUNT(*) FROM emp_tanka"), 2);
    EXPECT_EQ(count("SELECT COUNT(*) FROM emp_tanka WHERE E_NO = 9"), 0);
    // The table that posted inside the job shows the rows as they are again.
    EXPECT_EQ(t.recordCount(), 2);
    EXPECT_FALSE(t.locate("E_NO", 9));

    // A job that ends normally commits; nested jobs commit with the outer one.
    int n = conn_.runJob([&] {
        conn_.execute("DELETE FROM emp_tanka WHERE E_NO = 2");
        conn_.runJob([&] { conn_.execute("INSERT INTO emp_tanka (E_NO) VALUES (5)"); });
        return 7;
    });
    EXPECT_EQ(n, 7);
    EXPECT_EQ(count("SELECT COUNT(*) FROM emp_tanka"), 2);

    // An inner failure that the outer job catches undoes only the inner work.
    conn_.runJob([&] {
        conn_.execute("DELETE FROM emp_tanka WHERE E_NO = 5");
        try {
            conn_.runJob([&] {
                conn_.execute("DELETE FROM emp_tanka");
                throw rtl::DatabaseError("inner");
            });
        } catch (const rtl::DatabaseError&) {
        }
    });
    EXPECT_EQ(count("SELECT COUNT(*) FROM emp_tanka"), 1);
}

TEST_F(ConnectionTest, PreparedStatementRunsOnceParsedWithNewValues) {
    conn_.execute("Create Table タイムカード (月 Varchar(50), 日 Varchar(50), 秒 Varchar(2))");
    const long long before = static_cast<long long>(conn_.changeCount());
    {
        db::PreparedStatement insert(conn_, "INSERT INTO タイムカード VALUES (?, ?, ?)");
        conn_.runJob([&] {
            insert.bindText(1, "07' OR 'a'='a");  // a value, bound once for every row
            for (int day = 1; day <= 3; ++day) {
                insert.bind(2, db::Value(day));
                insert.bind(3, db::Value());
                EXPECT_EQ(insert.run(), 1);
            }
            // A value that breaks a column rule fails like execute() does,
            // and the statement can run again afterwards.
            insert.bindText(3, "123");
            EXPECT_THROW(insert.run(), rtl::DatabaseError);
            insert.bindText(3, "00");
            EXPECT_EQ(insert.run(), 1);
        });
        EXPECT_THROW(insert.bind(4, db::Value(1)), rtl::DatabaseError);
        EXPECT_THROW(insert.bindText(0, "x"), rtl::DatabaseError);
    }
    EXPECT_EQ(count("SELECT COUNT(*) FROM タイムカード WHERE 月 = '07'' OR ''a''=''a'"), 4);
    EXPECT_EQ(count("SELECT COUNT(*) FROM タイムカード WHERE 秒 IS NULL"), 3);
    EXPECT_EQ(conn_.scalar("SELECT MAX(日) FROM タイムカード").text(), "3");
    EXPECT_GT(static_cast<long long>(conn_.changeCount()), before);

    // Rolled back with the job it ran in.
    db::PreparedStatement del(conn_, "DELETE FROM タイムカード WHERE 日 = ?");
    EXPECT_THROW(conn_.runJob([&] {
        del.bindText(1, "3");  // the last loop row and the one run again with it
        EXPECT_EQ(del.run(), 2);
        throw rtl::DatabaseError("stop");
    }),
                 rtl::DatabaseError);
    EXPECT_EQ(count("SELECT COUNT(*) FROM タイムカード"), 4);
    EXPECT_THROW(db::PreparedStatement(conn_, "INSERT INTO nowhere VALUES (1)"), rtl::DatabaseError);
}

// Statements run again and again are kept compiled; what they do must not
// change for it: a new column is seen, the width checks of a table whose
// checks were rebuilt still refuse, a failed run leaves the statement usable,
// a finished read holds no lock, and a reconnect starts afresh.
TEST_F(ConnectionTest, KeptStatementsBehaveAsFreshOnes) {
    const std::string read = "SELECT * FROM emp_tanka WHERE E_NO = ?";
    const std::string rename = "UPDATE emp_tanka SET E_NAME = ? WHERE E_NO = ?";
    EXPECT_EQ(conn_.select(read, {1}).columns.size(), 3u);
    EXPECT_EQ(conn_.execute(rename, {"佐藤", 1}), 1);

    conn_.execute("ALTER TABLE emp_tanka ADD E_AGE Short");
    const db::ResultSet widened = conn_.select(read, {1});
    ASSERT_EQ(widened.columns.size(), 4u);
    EXPECT_EQ(widened.columns[3], "E_AGE");
    EXPECT_EQ(widened.rows.at(0)[2].text(), "佐藤");

    EXPECT_THROW(conn_.execute(rename, {std::string(21, 'x'), 1}), rtl::DatabaseError);
    EXPECT_EQ(conn_.execute(rename, {"鈴木", 1}), 1);
    EXPECT_EQ(conn_.scalar("SELECT E_NAME FROM emp_tanka WHERE E_NO = ?", {1}).text(), "鈴木");

    // Another connection can write at once: nothing kept is left mid-read.
    db::Connection other(path_);
    EXPECT_EQ(other.execute(rename, {"高橋", 2}), 1);
    other.close();

    conn_.close();
    EXPECT_EQ(conn_.select(read, {2}).rows.at(0)[2].text(), "高橋");
}

TEST_F(ConnectionTest, SchemaQuestions) {
    EXPECT_TRUE(conn_.tableExists("EMP_TANKA"));
    EXPECT_FALSE(conn_.tableExists("gensen"));
    EXPECT_EQ(conn_.tableNames(), std::vector<std::string>{"emp_tanka"});
    auto cols = conn_.columns("emp_tanka");
    ASSERT_EQ(cols.size(), 3u);
    EXPECT_EQ(cols[1].kind, db::FieldKind::Text);
    EXPECT_EQ(cols[1].width, 10);
    EXPECT_THROW(conn_.columns("nope"), rtl::DatabaseError);
}

class FakeRecorder : public db::ExternalSource {
public:
    std::vector<std::string> tables() override { return {"タイムカード", "個人"}; }
    db::ExternalTable readTable(const std::string& name) override {
        db::ExternalTable t;
        if (name == "タイムカード") {
            t.columns = {"月", "日", "IDコード", "入退"};
            t.rows = {{"07", "01", "000012", "0"}, {"07", "01", "000012", "1"}, {"07", "02", std::nullopt, "0"}};
        } else {
            t.columns = {"NO", "社員番号", "氏名"};
            t.rows = {{"1", "000012", "山田"}};
        }
        return t;
    }
};

TEST_F(ConnectionTest, ExternalSourceAnswersQueriesReadOnly) {
    db::Connection src;
    std::string opened;
    src.setExternalSourceFactory([&](const std::string& p) {
        opened = p;
        return std::make_unique<FakeRecorder>();
    });
    src.setConnectionString("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + path_ + ";Mode=Read;");
    db::Query q(&src, "ADOQuery1");
    q.setSql("SELECT * FROM タイムカード WHERE 入退 = '0' ORDER BY 日");
    q.open();
    EXPECT_EQ(opened, path_);
    EXPECT_EQ(q.recordCount(), 2);
    EXPECT_EQ(q["IDコード"].asString(), "000012");
    q.next();
    EXPECT_TRUE(q["IDコード"].isNull());
    EXPECT_FALSE(q.canModify());
    EXPECT_THROW(q.edit(), rtl::DatabaseError);
    EXPECT_THROW(src.execute("DELETE FROM タイムカード"), rtl::DatabaseError);
    EXPECT_EQ(src.scalar("SELECT COUNT(*) FROM 個人").integer(), 1);
}

}  // namespace
