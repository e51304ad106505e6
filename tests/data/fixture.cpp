#include "fixture.h"

#include <cstdlib>

#include "data/delivered.h"

namespace data::testing {

void WorkFolder::SetUp() {
    std::string templ = (std::filesystem::temp_directory_path() / "tallyra-data-XXXXXX").string();
    ASSERT_NE(mkdtemp(templ.data()), nullptr);
    dir = templ;
    dbPath = (dir / "Wendrasol.mdb").string();
    createDeliveredDatabase(dbPath);
    dm = std::make_unique<TDataModule1>();
    dm->setDatabasePath(dbPath);
}

void WorkFolder::TearDown() {
    dm.reset();
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
}

void WorkFolder::exec(const std::string& sql) { dm->ADOConnection1.execute(sql); }

std::string WorkFolder::text(const std::string& sql) { return dm->ADOConnection1.scalar(sql).toString(); }

long long WorkFolder::number(const std::string& sql) {
    const db::Value v = dm->ADOConnection1.scalar(sql);
    return v.isNull() ? 0 : static_cast<long long>(v.real());
}

std::vector<std::string> WorkFolder::columnNames(const std::string& table) {
    std::vector<std::string> names;
    for (const db::ColumnInfo& c : dm->ADOConnection1.columns(table)) names.push_back(c.name);
    return names;
}

}  // namespace data::testing
