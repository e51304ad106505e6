// A small SQLite-backed employee table and a category list, with a form
// whose data-aware controls the tests drive.
#pragma once

#include <gtest/gtest.h>

#include "helpers.h"
#include "ui/dialogs.h"
#include "ui/form.h"

#include <db/db.h>

#include <QTemporaryDir>

#include <memory>

namespace testutil {

class DbFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        const std::string path = dir.filePath(QStringLiteral("Wendrasol.mdb")).toStdString();
        db::Connection::createDatabaseFile(path);
        conn.setDatabasePath(path);
        conn.execute(
            "CREATE TABLE emp_tanka (E_NO INTEGER, E_NAME VARCHAR(10), E_REST_YN VARCHAR(1), "
            "E_REST_NN INTEGER, E_PAYKBN VARCHAR(1), E_JOBKBN VARCHAR(2), E_BARTH DATETIME, "
            "E_BASEPAY DOUBLE)");
        conn.execute("CREATE TABLE 区分 (区分 VARCHAR(2), 名称 VARCHAR(10))");
        conn.execute("INSERT INTO emp_tanka VALUES (1, '山田太郎', '1', 1, '2', '02', 20149, 1200)");  // 1955-03-01
        conn.execute("INSERT INTO emp_tanka VALUES (2, '佐藤花子', '0', 0, '0', '01', NULL, 950.5)");
        conn.execute("INSERT INTO emp_tanka VALUES (3, '鈴木一郎', '0', 0, '1', NULL, NULL, NULL)");
        conn.execute("INSERT INTO 区分 VALUES ('01', '日勤')");
        conn.execute("INSERT INTO 区分 VALUES ('02', '夜勤')");
        conn.execute("INSERT INTO 区分 VALUES ('03', '交代')");
        emp.setTableName("emp_tanka");
        emp.setIndexFieldNames("E_NO");
        jobs.setTableName("区分");
        jobs.setIndexFieldNames("区分");
        emp.open();
        emp["E_BASEPAY"].setDisplayFormat("#,##0");
        jobs.open();
        form = std::make_unique<ui::Form>(QStringLiteral("frmData"));
    }
    void TearDown() override {
        form.reset();  // controls go before their data sources
    }
    std::string cell(const char* field) { return emp[field].asString(); }

    QTemporaryDir dir;
    db::Connection conn;
    db::Table emp{&conn, "emp_tanka"};
    db::Table jobs{&conn, "Job_kbn"};
    db::DataSource dsEmp{&emp, "DSemp_tanka"};
    db::DataSource dsJobs{&jobs, "DSJob_kbn"};
    ui::ScriptedDialogs dialogs;
    std::unique_ptr<ui::Form> form;
};

}  // namespace testutil
