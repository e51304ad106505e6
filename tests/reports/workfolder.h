// A temporary working folder (also the current directory while a test runs)
// with a delivered database, the program's data module on it, a stand-in main
// window carrying the pay month, and scripted dialogs.
#pragma once

#include <QLineEdit>
#include <QWidget>

#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "data/DB_Acs.h"
#include "databasetest.h"
#include "ui/dialogs.h"

namespace reports::testing {

class ReportFolder : public tsupport::DataModuleFolder {
public:
    void SetUp() override;
    void TearDown() override;

    db::Connection& connection() { return data::DataModule1->ADOConnection1; }
    void exec(const std::string& sql, const db::Params& params = {});
    long long count(const std::string& sql);

    void addEmployee(long long number, const std::string& name, const std::string& inService = "1",
                     double birthDate = 0, long long transportCap = 0);
    // A pay record of `employee` under `key` with the given columns (others NULL).
    void addPay(long long employee, const std::string& key, const std::map<std::string, long long>& columns = {});
    void addAttendance(long long employee, int year, int month, int day, const std::string& worked);

    std::string path(const std::string& name) const { return (dir / name).string(); }

    ui::ScriptedDialogs dialogs;
    std::unique_ptr<QWidget> main;  // "frmMain" with EditYY, EditMM
    QLineEdit* EditYY = nullptr;
    QLineEdit* EditMM = nullptr;
};

}  // namespace reports::testing
