#include "app/maindata.h"

#include <filesystem>

#include "data/DB_Acs.h"
#include "data/delivered.h"
#include "data/upgrade.h"
#include "db/dataset.h"
#include "rtl/errors.h"
#include "rtl/qt.h"
#include "ui/dialogs.h"

namespace app::maindata {

namespace {

data::TDataModule1& dm()
{
    if (!data::DataModule1)
        throw rtl::Error("データモジュールがありません。");
    return *data::DataModule1;
}

// The rebuild questions: caption "削除", Yes and No, no icon.
bool confirmRebuild(const std::string& question, const std::string& caption)
{
    return ui::askYesNo(QString::fromStdString(question), QString::fromStdString(caption),
                        ui::Icon::None);
}

}  // namespace

void createDatabase(const std::string& path)
{
    data::createDeliveredDatabase(path);
}

void setWorkingDatabase(const std::string& path)
{
    dm().setDatabasePath(path);
}

void closeWorkingConnection()
{
    dm().ADOConnection1.close();
}

void upgradeSchema()
{
    data::Act_New_Field(dm());
}

void ensureMinusDat()
{
    data::Act_minus_dat(dm());
}

void gensenStep(const std::string& workDir)
{
    data::gensenMarkerStep(dm(), workDir);  // fails silently; the next start tries again
}

void rebuildEmpTanka()
{
    data::Act_Tanka(dm(), confirmRebuild);
}

void rebuildKimuTran()
{
    data::Act_Tran(dm(), confirmRebuild);
}

void rebuildSumTran()
{
    data::Act_Sum_Tran(dm(), confirmRebuild);
}

// The settings and company tables are shared with the windows: one a window
// shows stays open on its row, with any change not yet saved.
std::string readRecYN()
{
    db::Table& t = dm().sys_mas;
    return db::withOpen(t, [&] { return t.isEmpty() ? std::string() : t.fieldByName("REC_YN").asString(); });
}

std::string readClosingDay()
{
    db::Table& t = dm().Company;
    return db::withOpen(t, [&] { return t.isEmpty() ? std::string() : t.fieldByName("締日").asString(); });
}

std::string readPrintLayout()
{
    db::Query& q = dm().Query1;
    q.close();
    q.sql().clear();
    q.sql() << "SELECT * FROM sys_mas" << "WHERE SYS_CD = '1'";
    q.open();
    const std::string value = q.fieldByName("PRT_FLG").asString();
    q.close();
    return value;
}

int countRows(const std::vector<std::string>& lines, const std::vector<db::Value>& params)
{
    db::Query& q = dm().QueryCnt;
    q.close();
    q.sql().clear();
    for (const std::string& line : lines)
        q.sql() << line;
    q.clearParams();
    for (const db::Value& v : params)
        q.addParam(v);
    q.open();
    const int count = q.fieldByName("Expr1000").asInteger();
    q.close();
    q.clearParams();
    return count;
}

void prepareWorkRecordQuery(const std::string& from, const std::string& to)
{
    db::Query& q = dm().Qkimu_tran;
    q.close();
    q.sql().clear();
    q.sql() << "SELECT * FROM kimu_tran" << "WHERE K_DATE >= CvDate(?)" << "AND K_DATE <= CvDate(?)"
            << "ORDER BY K_TANCOD,K_DATE";
    q.clearParams();
    q.addParam(db::Value(from));
    q.addParam(db::Value(to));
    q.open();
}

}  // namespace app::maindata
