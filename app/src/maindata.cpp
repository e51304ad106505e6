#include "app/maindata.h"

#include <filesystem>

#include "data/DB_Acs.h"
#include "data/delivered.h"
#include "data/queries.h"
#include "data/upgrade.h"
#include "ui/dialogs.h"

namespace app::maindata {

namespace {

data::TDataModule1& dm() { return data::dataModule(); }

// The rebuild questions: caption "削除", Yes and No, no icon.
bool confirmRebuild(const std::string& question, const std::string& caption) {
    return ui::askYesNo(QString::fromStdString(question), QString::fromStdString(caption), ui::Icon::None);
}

}  // namespace

void createDatabase(const std::string& path) { data::createDeliveredDatabase(path); }

void setWorkingDatabase(const std::string& path) { dm().setDatabasePath(path); }

void closeWorkingConnection() { dm().ADOConnection1.close(); }

void upgradeSchema() { data::Act_New_Field(dm()); }

void ensureMinusDat() { data::Act_minus_dat(dm()); }

void gensenStep(const std::string& workDir) {
    data::gensenMarkerStep(dm(), workDir);  // fails silently; the next start tries again
}

void rebuildEmpTanka() { data::Act_Tanka(dm(), confirmRebuild); }

void rebuildKimuTran() { data::Act_Tran(dm(), confirmRebuild); }

void rebuildSumTran() { data::Act_Sum_Tran(dm(), confirmRebuild); }

std::string readRecYN() { return data::readRecYN(dm()); }

std::string readClosingDay() { return data::readClosingDay(dm()); }

std::string readPrintLayout() { return data::readPrintLayout(dm()); }

}  // namespace app::maindata
