// A fresh database file in a private temporary folder for each test.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "db/db.h"
#include "rtl/clock.h"
#include "rtl/datetime.h"
#include "rtl/errors.h"

namespace dbtest {

class DbTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = std::filesystem::temp_directory_path() / ("tallyra_db_" + std::string(info->test_suite_name()) + "_" +
                                                         info->name() + "_" + std::to_string(::getpid()));
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        path_ = (dir_ / "Wendrasol.mdb").string();
        db::Connection::createDatabaseFile(path_);
        conn_.setDatabasePath(path_);
    }
    void TearDown() override {
        conn_.close();
        std::filesystem::remove_all(dir_);
    }
    long long count(const std::string& sql) { return conn_.scalar(sql).integer(); }

    rtl::ScopedTestClock clock_{rtl::encodeDateTime(2026, 1, 15, 10, 0, 0)};
    std::filesystem::path dir_;
    std::string path_;
    db::Connection conn_;
};

}  // namespace dbtest
