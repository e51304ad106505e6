// Each test: its own folder with a delivered database and the data module on
// it; pay records, deduction slips and employees are inserted by the test.
#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <map>
#include <string>

#include "data/DB_Acs.h"
#include "data/delivered.h"
#include "db/connection.h"
#include "report/layout.h"
#include "reports/printstate.h"
#include "rtl/format.h"
#include "rtl/qt.h"
#include "ui/dialogs.h"

namespace rtest {

using Cells = std::map<std::string, db::Value>;

class SlipTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(work.isValid());
        dbPath = QDir(work.path()).filePath(QStringLiteral("Wendrasol.mdb")).toStdString();
        data::createDeliveredDatabase(dbPath);
        data::createDataModule1()->setDatabasePath(dbPath);
    }
    void TearDown() override { data::destroyDataModule1(); }

    db::Connection& conn() { return data::DataModule1->ADOConnection1; }

    void insert(const std::string& table, const Cells& cells) {
        std::string cols, marks;
        db::Params params;
        for (const auto& [k, v] : cells) {
            cols += (cols.empty() ? "" : ",") + k;
            marks += marks.empty() ? "?" : ",?";
            params.emplace_back(v);
        }
        conn().execute("INSERT INTO " + table + " (" + cols + ") VALUES (" + marks + ")", params);
    }
    void employee(int no, const std::string& name) {
        insert("emp_tanka",
               {{"E_NO", no}, {"E_TANCOD", rtl::fromQString(QString::asprintf("%06d", no))}, {"E_NAME", name}});
    }
    // A pay record: every amount 0 unless given.
    void payRecord(const std::string& key, int code, Cells cells = {}) {
        Cells row = {{"S_SEQNO", 1}, {"S_TANCOD", code}, {"S_DATE", key}, {"S_DAYS", 20}, {"S_KINMU", 9600}};
        for (const char* c :
             {"S_BASKING", "S_HAYZAN", "S_HAYKING", "S_FUTZAN", "S_FUTKING", "S_SINZAN", "S_SINKING", "S_KYUSYU",
              "S_KYUKING", "S_TIKOKU", "S_TIKKING", "S_SOUTAI", "S_SOUKING", "S_GKING1", "S_GKING2",  "S_GKING3",
              "S_GKING4",  "S_GKING5", "S_GKING6",  "S_GKING7", "S_GKING8",  "S_GKING9", "S_SKING1",  "S_SKING2",
              "S_SKING3",  "S_HOKEN",  "S_HOKENK",  "S_KOYOU",  "S_NENKIN",  "S_KIKIN",  "S_SHAHO",   "S_MEAT_K",
              "S_KOTUHI",  "S_HOJYO",  "S_ZEI_G",   "S_ZEI_K",  "S_TOTALS",  "S_TOTALT"})
            row[c] = 0;
        for (auto& [k, v] : cells) row[k] = v;
        insert("sum_tran", row);
    }

    static reports::PrintState month(const char* year, const char* mm) {
        reports::PrintState s;
        s.year = year;
        s.month = mm;
        return s;
    }
    static reports::PrintState bonus(const char* year, const char* number) {
        reports::PrintState s;
        s.bonusYear = year;
        s.bonusNumber = number;
        return s;
    }
    static QString yen(long long v) { return rtl::toQString(rtl::formatInteger("#,##0", v)); }
    // The number printed in a money cell ("12,345" -> 12345).
    static long long amount(const report::PlacedText* t) {
        return t ? QString(t->text).remove(QLatin1Char(',')).toLongLong() : 0;
    }

    QTemporaryDir work;
    std::string dbPath;
    ui::ScriptedDialogs dialogs;
};

}  // namespace rtest
