#include "databasetest.h"

#include <cstdlib>

#include "data/delivered.h"

namespace tsupport {

void DatabaseTest::SetUp() {
    std::string templ = (std::filesystem::temp_directory_path() / "tallyra-test-XXXXXX").string();
    ASSERT_NE(mkdtemp(templ.data()), nullptr);
    dir = templ;
    dbPath = (dir / "Wendrasol.mdb").string();
    data::createDeliveredDatabase(dbPath);
    conn = std::make_unique<db::Connection>(dbPath);
}

void DatabaseTest::TearDown() {
    conn.reset();
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
}

void DatabaseTest::exec(const std::string& sql, const db::Params& params) { conn->execute(sql, params); }

long long DatabaseTest::number(const std::string& sql, const db::Params& params) {
    const db::Value v = conn->scalar(sql, params);
    return v.isNull() ? 0 : static_cast<long long>(v.real());
}

std::string DatabaseTest::text(const std::string& sql, const db::Params& params) {
    return conn->scalar(sql, params).toString();
}

}  // namespace tsupport
