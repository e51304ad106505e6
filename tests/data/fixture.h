// A temporary working folder with a freshly delivered database and a data
// module pointed at it; removed again after the test.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "data/DB_Acs.h"

namespace data::testing {

class WorkFolder : public ::testing::Test {
public:
    void SetUp() override;
    void TearDown() override;
    // A new working folder and database within one test (for tables of cases).
    void fresh() {
        TearDown();
        SetUp();
    }

    // Runs one statement on the working connection.
    void exec(const std::string& sql);
    // First column of the first row as text / integer.
    std::string text(const std::string& sql);
    long long number(const std::string& sql);
    // Column names of a table, in table order.
    std::vector<std::string> columnNames(const std::string& table);
    int columnCount(const std::string& table) { return static_cast<int>(columnNames(table).size()); }

    std::filesystem::path dir;
    std::string dbPath;
    std::unique_ptr<TDataModule1> dm;
};

}  // namespace data::testing
