#include "databasetest.h"

#include <cstdlib>

#include "data/delivered.h"

namespace tsupport {

namespace {

// A new empty folder under the system's temporary folder; empty on failure.
std::filesystem::path temporaryFolder() {
    std::string templ = (std::filesystem::temp_directory_path() / "tallyra-test-XXXXXX").string();
    if (mkdtemp(templ.data()) == nullptr) return {};
    return templ;
}

}  // namespace

void DatabaseTest::SetUp() {
    dir = temporaryFolder();
    ASSERT_FALSE(dir.empty());
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

void DataModuleFolder::SetUp() {
    dir = temporaryFolder();
    ASSERT_FALSE(dir.empty());
    previousDir = std::filesystem::current_path();
    std::filesystem::current_path(dir);
    dbPath = (dir / "Wendrasol.mdb").string();
    data::createDeliveredDatabase(dbPath);
    dm = data::createDataModule1();
    dm->setDatabasePath(dbPath);
}

void DataModuleFolder::TearDown() {
    data::destroyDataModule1();
    std::error_code ignored;
    std::filesystem::current_path(previousDir, ignored);
    std::filesystem::remove_all(dir, ignored);
}

}  // namespace tsupport
