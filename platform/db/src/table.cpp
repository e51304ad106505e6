#include "db/table.h"

#include "db/jet.h"
#include "internal.h"
#include "rtl/errors.h"

namespace db {

using detail::splitNames;

// ---- Table ---------------------------------------------------------------------------------

Table::Table(Connection* connection, std::string name) : Dataset(connection, std::move(name)) {}

void Table::setTableName(std::string table) {
    if (table == table_) return;
    checkInactive("テーブル名を変更");
    table_ = std::move(table);
}

void Table::setIndexFieldNames(std::string names) {
    if (names == index_) return;
    index_ = std::move(names);
    if (active()) refresh();
}

std::string Table::selectSql(Params&) const {
    if (table_.empty()) throw rtl::DatabaseError("データセット '" + name() + "' のテーブル名が指定されていません。");
    std::string sql = "SELECT * FROM " + quoteIdentifier(table_);
    const auto keys = splitNames(index_);
    for (size_t i = 0; i < keys.size(); ++i) sql += (i ? ", " : " ORDER BY ") + quoteIdentifier(keys[i]);
    return sql;
}

std::string Table::lookupSourceSql(Params& params) const { return selectSql(params); }

}  // namespace db
