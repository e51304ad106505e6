// A delivered working database in a temporary folder, with helpers that write
// employees and pay records the way the pay-record windows leave them.
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "databasetest.h"
#include "db/connection.h"
#include "rtl/clock.h"

namespace yearend::testing {

class YearEndDb : public tsupport::DatabaseTest {
public:
    void SetUp() override;
    void TearDown() override;

    // An employee with code E_NO as six digits.
    void addEmployee(long long number, const std::string& name);
    // A pay record of `employee` under `key`; `amounts` names sum_tran columns.
    void addPay(long long employee, const std::string& key, const std::map<std::string, long long>& amounts,
                bool bonus = false);
    // One gensen column of the row of `code`.
    long long gensen(long long code, const std::string& column);

    // Two-digit years are read in a window around 2026.
    std::unique_ptr<rtl::ScopedTestClock> clock;
};

}  // namespace yearend::testing
