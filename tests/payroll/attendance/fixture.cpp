#include "fixture.h"

#include <cstdio>

#include "rtl/clock.h"
#include "rtl/datetime.h"

namespace attendance::testing {

std::string at(const db::Value& v) {
    if (v.isNull()) return "<NULL>";
    return rtl::dateTimeToStr(v.real());
}

db::ResultSet AttendanceDb::rows(const std::string& sql, const db::Params& params) { return conn->select(sql, params); }

void AttendanceDb::addEmployee(long long number, const std::string& category,
                               const std::vector<std::pair<std::string, db::Value>>& columns) {
    char code[16];
    std::snprintf(code, sizeof code, "%06lld", number);
    std::vector<std::pair<std::string, db::Value>> cells = {
        {"E_NO", number},   {"E_TANCOD", code},     {"E_NAME", "社員" + std::to_string(number)},
        {"E_CARDNO", code}, {"E_JOBKBN", category}, {"E_DROPKBN", "1"},
        {"E_BASE_YN", "1"}, {"E_PAYKBN", "0"}};
    for (const auto& [name, value] : columns) {
        bool replaced = false;
        for (auto& cell : cells)
            if (cell.first == name) cell.second = value, replaced = true;
        if (!replaced) cells.emplace_back(name, value);
    }
    std::string names, marks;
    db::Params params;
    for (const auto& [name, value] : cells) {
        names += (names.empty() ? "" : ", ") + name;
        marks += marks.empty() ? "?" : ", ?";
        params.push_back(value);
    }
    exec("INSERT INTO emp_tanka (" + names + ") VALUES (" + marks + ")", params);
}

void AttendanceDb::addCategory(const std::string& code, const std::vector<std::pair<std::string, std::string>>& texts) {
    std::string names = "区分";
    std::string marks = "?";
    db::Params params{code};
    for (const auto& [name, value] : texts) {
        names += ", " + name;
        marks += ", ?";
        params.emplace_back(value);
    }
    exec("INSERT INTO 区分 (" + names + ") VALUES (" + marks + ")", params);
}

void AttendanceDb::addPunch(const std::string& month, const std::string& day, const std::string& hour,
                            const std::string& minute, const std::string& card, const std::string& inOut,
                            const std::string& second) {
    exec(
        "INSERT INTO タイムカード (月, 日, 時, 分, 秒, IDコード, 入退, 異例コード, CR) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, '00', '0')",
        {month, day, hour, minute, second, card, inOut});
}

void AttendanceDb::addShift(const std::string& card, const std::string& month, const std::string& day,
                            const std::string& in, const std::string& out) {
    addPunch(month, day, in.substr(0, 2), in.substr(3, 2), card, "0", in.size() > 5 ? in.substr(6, 2) : "00");
    addPunch(month, day, out.substr(0, 2), out.substr(3, 2), card, "1");
}

}  // namespace attendance::testing
