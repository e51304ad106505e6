// Temporary working folders with a delivered database, removed after the test.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "data/DB_Acs.h"
#include "db/connection.h"

namespace tsupport {

// The database on a connection of the test's own.
class DatabaseTest : public ::testing::Test {
public:
    void SetUp() override;
    void TearDown() override;

    void exec(const std::string& sql, const db::Params& params = {});
    // A number the statement reads, NULL as 0.
    long long number(const std::string& sql, const db::Params& params = {});
    std::string text(const std::string& sql, const db::Params& params = {});

    std::filesystem::path dir;
    std::string dbPath;
    std::unique_ptr<db::Connection> conn;
};

// A delivered working database in a temporary folder that is the current
// directory while the test runs, with the program's data module on it.
class DataModuleFolder : public ::testing::Test {
public:
    void SetUp() override;
    void TearDown() override;

    std::filesystem::path dir;
    std::filesystem::path previousDir;
    std::string dbPath;
    data::TDataModule1* dm = nullptr;
};

}  // namespace tsupport
