// A temporary working folder (also the current directory) with a delivered
// database, the program's data module pointed at it, and helpers that state
// employees and pay rows; removed again after the test.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

#include "data/DB_Acs.h"
#include "data/delivered.h"
#include "databasetest.h"

namespace payrecord::testing {

class PayFolder : public tsupport::DataModuleFolder {
protected:
    db::Connection& c() { return dm->ADOConnection1; }

    // An employee in service in category `category`; `extra` sets further
    // emp_tanka columns.
    void employee(int no, const std::string& category, const std::map<std::string, db::Value>& extra = {}) {
        char code[8];
        std::snprintf(code, sizeof code, "%06d", no);
        c().execute("INSERT INTO emp_tanka (E_NO, E_TANCOD, E_NAME, E_JOBKBN, E_DROPKBN) VALUES (?, ?, ?, ?, '1')",
                    {no, std::string(code), "社員" + std::to_string(no), category});
        for (const auto& [column, value] : extra)
            c().execute("UPDATE emp_tanka SET " + column + " = ? WHERE E_NO = ?", {value, no});
    }
    // A pay row of employee `no` under `key` (category 1); `cells` sets its columns.
    void payRow(int no, const std::string& key, const std::map<std::string, db::Value>& cells = {}) {
        c().execute("INSERT INTO sum_tran (S_TANCOD, S_DATE, S_SEQNO) VALUES (?, ?, 1)", {no, key});
        for (const auto& [column, value] : cells)
            c().execute("UPDATE sum_tran SET " + column + " = ? WHERE S_TANCOD = ? AND S_DATE = ?", {value, no, key});
    }
    // A column of that pay row; -1 when it is empty (or there is no row).
    long long cell(int no, const std::string& key, const std::string& column) {
        const db::Value v =
            c().scalar("SELECT " + column + " FROM sum_tran WHERE S_TANCOD = ? AND S_DATE = ?", {no, key});
        return v.isNull() ? -1 : v.integer();
    }
};

}  // namespace payrecord::testing
