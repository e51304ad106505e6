// The table component: one table by name.
#pragma once

#include <string>

#include "db/dataset.h"

namespace db {

// A table by name, all rows, in the order of its index field names.
class Table : public Dataset {
public:
    explicit Table(Connection* connection = nullptr, std::string name = {});
    const std::string& tableName() const { return table_; }
    void setTableName(std::string table);  // only while closed
    // ";"-separated field names ("S_TANCOD", "K_DATE"); empty = the table's
    // own (insertion) order. Changing it on an open table re-reads the rows.
    const std::string& indexFieldNames() const { return index_; }
    void setIndexFieldNames(std::string names);

protected:
    std::string selectSql(Params& params) const override;
    std::string lookupSourceSql(Params& params) const override;

private:
    std::string table_;
    std::string index_;
};

}  // namespace db
