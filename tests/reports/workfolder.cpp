#include "workfolder.h"

#include "rtl/datetime.h"

namespace reports::testing {

void ReportFolder::SetUp() {
    DataModuleFolder::SetUp();
    if (HasFatalFailure()) return;
    main = std::make_unique<QWidget>();
    main->setObjectName(QStringLiteral("frmMain"));
    EditYY = new QLineEdit(QStringLiteral("2024"), main.get());
    EditYY->setObjectName(QStringLiteral("EditYY"));
    EditMM = new QLineEdit(QStringLiteral("06"), main.get());
    EditMM->setObjectName(QStringLiteral("EditMM"));
}

void ReportFolder::TearDown() {
    main.reset();
    DataModuleFolder::TearDown();
}

void ReportFolder::exec(const std::string& sql, const db::Params& params) { connection().execute(sql, params); }

long long ReportFolder::count(const std::string& sql) {
    const db::Value v = connection().scalar(sql);
    return v.isNull() ? 0 : static_cast<long long>(v.real());
}

void ReportFolder::addEmployee(long long number, const std::string& name, const std::string& inService,
                               double birthDate, long long transportCap) {
    char code[16];
    std::snprintf(code, sizeof code, "%06lld", number);
    exec(
        "INSERT INTO emp_tanka (E_NO, E_TANCOD, E_NAME, E_JOBKBN, E_DROPKBN, E_BARTH, E_GKING_K9) "
        "VALUES (?, ?, ?, '01', ?, ?, ?)",
        {number, std::string(code), name, inService, birthDate, transportCap});
}

void ReportFolder::addPay(long long employee, const std::string& key, const std::map<std::string, long long>& columns) {
    std::string names = "S_TANCOD, S_DATE";
    std::string marks = "?, ?";
    db::Params params{employee, key};
    for (const auto& [column, value] : columns) {
        names += ", " + column;
        marks += ", ?";
        params.emplace_back(value);
    }
    if (key.find('-') != std::string::npos) {
        names += ", S_SHOYO_F";
        marks += ", '1'";
    }
    exec("INSERT INTO sum_tran (" + names + ") VALUES (" + marks + ")", params);
}

void ReportFolder::addAttendance(long long employee, int year, int month, int day, const std::string& worked) {
    exec("INSERT INTO kimu_tran (K_TANCOD, K_DATE, K_SYUGYO) VALUES (?, ?, ?)",
         {employee, rtl::encodeDate(year, month, day), worked});
}

}  // namespace reports::testing
