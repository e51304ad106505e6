#include "masters/employees.h"

#include <cstdint>
#include <string_view>

#include "db/connection.h"
#include "db/dataset.h"
#include "masters/rules.h"

namespace masters {
namespace {

// A row to work on: an open dataset showing a row or inserting one.
bool hasRow(const db::Dataset& ds) {
    if (!ds.active()) return false;
    return !ds.isEmpty() || ds.state() == db::DatasetState::Insert;
}

void ensureEditing(db::Dataset& ds) {
    if (ds.state() == db::DatasetState::Browse) ds.edit();
}

}  // namespace

bool applyEmployeeCodeDefaults(db::Dataset& ds) {
    if (!hasRow(ds) || !ds["E_TANCOD"].isNull()) return false;
    const std::int64_t number = ds["E_NO"].isNull() ? 0 : ds["E_NO"].asLargeInt();
    ensureEditing(ds);
    ds["E_TANCOD"].setAsString(defaultEmployeeCode(number));
    for (const char* flag : {"E_BASE_YN", "E_HAYZ_YN", "E_FUTZ_YN", "E_SINZ_YN"}) ds[flag].setAsString("1");
    for (const char* flag : {"E_KYU_YN", "E_TIKO_YN", "E_SOUT_YN"}) ds[flag].setAsString("0");
    for (const char* rate : {"E_BASEPAY", "E_HAYZPAY", "E_FUTZPAY", "E_SINZPAY", "E_KYU_PAY", "E_TIKOKU", "E_SOUTAI"})
        ds[rate].setAsInteger(0);
    return true;
}

bool applyCardNumberDefault(db::Dataset& ds) {
    if (!hasRow(ds) || !ds["E_CARDNO"].asString().empty()) return false;
    ensureEditing(ds);
    ds["E_CARDNO"].setValue(ds["E_TANCOD"].value());
    return true;
}

std::optional<std::string> employeeRowProblem(db::Dataset& ds) {
    db::Field& no = ds["E_NO"];
    db::Field& code = ds["E_TANCOD"];
    std::optional<std::int64_t> number;
    if (!no.isNull()) number = no.asLargeInt();
    std::optional<std::string> codeText;
    if (!code.isNull()) codeText = code.asString();
    if (auto problem = employeeKeyProblem(number, codeText ? std::optional<std::string_view>(*codeText) : std::nullopt))
        return problem;
    if (!ds.connection()) return std::nullopt;
    // Two employees under one number would share their attendance and pay.
    const long long own = ds.state() == db::DatasetState::Edit ? ds.bookmark() : -1;
    const db::Value others =
        ds.connection()->scalar("SELECT COUNT(*) FROM emp_tanka WHERE E_NO = ? AND rowid <> ?", {*number, own});
    if (others.isInteger() && others.integer() > 0) return duplicateEmployeeNumberMessage(*number);
    return std::nullopt;
}

}  // namespace masters
