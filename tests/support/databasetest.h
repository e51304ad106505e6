// A delivered working database in a temporary folder of its own, on a
// connection of the test's own; the folder is removed after the test.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "db/connection.h"

namespace tsupport {

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

}  // namespace tsupport
