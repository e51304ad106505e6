// The data module: the one object through which every window and report
// reaches the database. It owns the working connection, the read-only
// import-source connection, and every table, query and data source of the
// program with their persistent fields, lookups and event steps.
//
// Every component starts closed and both connections disconnected; the
// working connection connects when the first component opens.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "db/connection.h"
#include "db/dataset.h"
#include "db/datasource.h"
#include "db/query.h"
#include "db/table.h"

namespace data {

class TDataModule1 {
public:
    TDataModule1();
    ~TDataModule1();
    TDataModule1(const TDataModule1&) = delete;
    TDataModule1& operator=(const TDataModule1&) = delete;

    // Points the working connection at a database file (closing it first):
    // "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=<path>;Mode=ReadWrite;
    // Persist Security Info=False;".
    void setDatabasePath(const std::string& path);
    static std::string workingConnectionString(const std::string& path);

    // Components by name (nullptr when there is none).
    db::Dataset* findDataset(std::string_view name);
    db::DataSource* findDataSource(std::string_view name);
    const std::vector<db::Dataset*>& datasets() const { return datasets_; }
    const std::vector<db::DataSource*>& dataSources() const { return dataSources_; }

    // Event steps of TimeCardInp.
    void TimeCardInpCalcFields(db::Dataset& dataSet);
    void TimeCardInpBeforePost(db::Dataset& dataSet);

    // ---- connections ----
    db::Connection ADOConnection1;  // the working database
    db::Connection ADOConnection2;  // a time-recorder database, read only (ADOQuery1)

    // ---- scratch queries and the column counter ----
    db::Query Query1;
    db::Query Query11;
    db::Query Query12;
    db::Query QueryCnt;
    db::Table Table2;
    db::Query ADOQuery1;

    // ---- punches ----
    db::Table ADOTable1;
    db::Query TimeCardInp;

    // ---- masters ----
    db::Table Company;
    db::Table Job_kbn;
    db::Query Qjob_kbn;
    db::Table emp_mas;
    db::Table emp_tanka;
    db::Query Qemp_tanka;
    db::Query Q_emp_tankaP;
    db::Query QSemp_tanka;
    db::Query Qemp_tankaS;
    db::Query Qemp_tankaS2;

    // ---- attendance and pay records ----
    db::Table kimu_tran;
    db::Query Qkimu_tran;
    db::Table sum_tran;
    db::Table sum_tran2;
    db::Query Qsum_tran;
    db::Table sum_tran_t;

    // ---- captions, settings, code lists, tax tables ----
    db::Query Qtitle_mas;
    db::Table sys_mas;
    db::Query flg_teate;
    db::Query flg_work;
    db::Query flg_zeiyn;
    db::Query Q_zei_mas;
    db::Query Q_zei_masB;
    db::Query Q_zei_masS;

    // ---- deduction slips and report tables ----
    db::Table minus_dat;
    db::Table day_work;
    db::Table gensen;
    db::Query Q_gensen;

    // ---- data sources ----
    db::DataSource DSCompany;
    db::DataSource DSJob_kbn;
    db::DataSource DSemp_mas;
    db::DataSource DSemp_tanka;
    db::DataSource DSQemp_tanka;
    db::DataSource DSQ_emp_tankaP;
    db::DataSource DS_kimu_tran;
    db::DataSource DSQkimu_tran;
    db::DataSource DSsum_tran;
    db::DataSource DSQsum_tran;
    db::DataSource DSsum_tran_t;
    db::DataSource DSQtitle_mas;
    db::DataSource DSsys_mas;
    db::DataSource DSflg_teate;
    db::DataSource DSflg_work;
    db::DataSource DSflg_zeiyn;
    db::DataSource DS_minus_dat;
    db::DataSource DSday_work;
    db::DataSource DSgensen;
    db::DataSource DSTimeCardInp;
    db::DataSource DataSource1;

private:
    void setUp();
    std::vector<db::Dataset*> datasets_;
    std::vector<db::DataSource*> dataSources_;
};

// The program's one data module, created at start-up after the main window
// and freed at exit.
extern TDataModule1* DataModule1;

// `given` when there is one, else the program's DataModule1; raises
// rtl::Error "データモジュールがありません。" when there is neither.
TDataModule1& dataModule(TDataModule1* given = nullptr);

// Creates DataModule1 (replacing an existing one) and returns it.
TDataModule1* createDataModule1();
// Frees DataModule1 and sets it to nullptr.
void destroyDataModule1();

}  // namespace data
