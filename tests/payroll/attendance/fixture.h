// A temporary working database (the delivered one) on its own connection,
// with helpers that write employees, categories, punches and attendance rows
// the way the masters and the time-card entry leave them.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "attendance/worktime.h"
#include "databasetest.h"
#include "db/connection.h"

namespace attendance::testing {

// Clock text of a stored date-time: "yy/mm/dd hh:nn:ss".
std::string at(const db::Value& v);

class AttendanceDb : public tsupport::DatabaseTest {
public:
    db::ResultSet rows(const std::string& sql, const db::Params& params = {});

    // An employee in service with code E_NO as six digits; `columns` sets
    // further columns of emp_tanka ("E_PAYKBN=2", ...).
    void addEmployee(long long number, const std::string& category = "01",
                     const std::vector<std::pair<std::string, db::Value>>& columns = {});
    // A category: every time empty but those given.
    void addCategory(const std::string& code, const std::vector<std::pair<std::string, std::string>>& texts);
    void addPunch(const std::string& month, const std::string& day, const std::string& hour, const std::string& minute,
                  const std::string& card, const std::string& inOut, const std::string& second = "00");
    // A clock-in and its clock-out on one day ("hh:mm" each, "hh:mm:ss" for the in).
    void addShift(const std::string& card, const std::string& month, const std::string& day, const std::string& in,
                  const std::string& out);

    PeriodDates july() { return periodDates("2014/07/01", "2014/07/31"); }
};

}  // namespace attendance::testing
