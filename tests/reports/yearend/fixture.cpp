#include "fixture.h"

#include <cstdio>

#include "rtl/datetime.h"

namespace yearend::testing {

void YearEndDb::SetUp() {
    clock = std::make_unique<rtl::ScopedTestClock>(rtl::encodeDate(2026, 6, 15));
    DatabaseTest::SetUp();
}

void YearEndDb::TearDown() {
    DatabaseTest::TearDown();
    clock.reset();
}

void YearEndDb::addEmployee(long long number, const std::string& name) {
    char code[16];
    std::snprintf(code, sizeof code, "%06lld", number);
    exec("INSERT INTO emp_tanka (E_NO, E_TANCOD, E_NAME, E_DROPKBN) VALUES (?, ?, ?, '1')", {number, code, name});
}

void YearEndDb::addPay(long long employee, const std::string& key, const std::map<std::string, long long>& amounts,
                       bool bonus) {
    std::string names = "S_TANCOD, S_DATE, S_SHOYO_F", marks = "?, ?, ?";
    db::Params params{employee, key, bonus ? "1" : "0"};
    for (const auto& [name, value] : amounts) {
        names += ", " + name;
        marks += ", ?";
        params.emplace_back(value);
    }
    exec("INSERT INTO sum_tran (" + names + ") VALUES (" + marks + ")", params);
}

long long YearEndDb::gensen(long long code, const std::string& column) {
    return number("SELECT " + column + " FROM gensen WHERE code = ?", {code});
}

}  // namespace yearend::testing
