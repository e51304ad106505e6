#include "reports/crosstable.h"

#include <cmath>
#include <cstdio>
#include <map>

#include "db/connection.h"
#include "period/payperiod.h"
#include "rtl/datetime.h"
#include "rtl/errors.h"

namespace reports {
namespace {

// Minutes of a clock text "h:mm" / "hh:mm"; -1 for anything else.
int minutesOf(const std::string& text) {
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos || colon == 0 || colon + 3 != text.size()) return -1;
    int hours = 0;
    for (std::size_t i = 0; i < colon; ++i) {
        if (text[i] < '0' || text[i] > '9') return -1;
        hours = hours * 10 + (text[i] - '0');
    }
    if (text[colon + 1] < '0' || text[colon + 1] > '5' || text[colon + 2] < '0' || text[colon + 2] > '9') return -1;
    return hours * 60 + (text[colon + 1] - '0') * 10 + (text[colon + 2] - '0');
}

std::string textOf(const db::Value& v) { return v.isNull() ? std::string() : v.toString(); }

long long integerOf(const db::Value& v) {
    if (v.isInteger()) return v.integer();
    if (v.isFloat()) return std::llround(v.real());
    return 0;
}

}  // namespace

MonthSpan monthOfKey(const std::string& monthKey) {
    const rtl::TDateTime day = rtl::strToDate(monthKey + "/01");
    const period::DateRange month = period::calendarMonth(rtl::yearOf(day), rtl::monthOf(day));
    return {month.first, static_cast<int>(month.last - month.first) + 1};
}

std::string dayTotal(const std::vector<std::string>& worked) {
    if (worked.empty()) return {};
    if (worked.size() == 1) return worked.front();
    int total = 0;
    bool any = false;
    for (const std::string& w : worked) {
        const int m = minutesOf(w);
        if (m < 0) continue;
        total += m;
        any = true;
    }
    if (!any) return {};
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02d:%02d", total / 60, total % 60);
    return buffer;
}

std::vector<DayWorkRow> crossTable(const std::vector<CrossEmployee>& employees,
                                   const std::vector<AttendanceRow>& attendance, const MonthSpan& month) {
    std::map<std::pair<long long, int>, std::vector<std::string>> byDay;
    for (const AttendanceRow& a : attendance) {
        const long long offset = static_cast<long long>(std::floor(a.date)) - static_cast<long long>(month.first);
        if (offset < 0 || offset >= month.days) continue;
        byDay[{a.employee, static_cast<int>(offset)}].push_back(a.worked);
    }
    std::vector<DayWorkRow> rows;
    rows.reserve(employees.size());
    for (const CrossEmployee& e : employees) {
        DayWorkRow row;
        row.employee = e.number;
        row.name = e.name;
        for (int d = 0; d < month.days; ++d) {
            const auto it = byDay.find({e.number, d});
            if (it != byDay.end()) row.days[static_cast<std::size_t>(d)] = dayTotal(it->second);
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<CrossEmployee> crossEmployees(db::Connection& connection) {
    std::vector<CrossEmployee> out;
    for (const auto& row : connection.select("SELECT E_NO, E_NAME FROM emp_tanka ORDER BY E_NO").rows)
        out.push_back({integerOf(row[0]), textOf(row[1])});
    return out;
}

std::vector<AttendanceRow> attendanceOfMonth(db::Connection& connection, const MonthSpan& month) {
    std::vector<AttendanceRow> out;
    const db::ResultSet rs = connection.select(
        "SELECT K_TANCOD, K_DATE, K_SYUGYO FROM kimu_tran WHERE K_DATE >= ? AND K_DATE < ? "
        "ORDER BY K_TANCOD, K_DATE, rowid",
        {month.first, month.first + month.days});
    for (const auto& row : rs.rows)
        out.push_back({integerOf(row[0]), row[1].isNumber() ? row[1].real() : 0.0, textOf(row[2])});
    return out;
}

void replaceDayWork(db::Connection& connection, const std::vector<DayWorkRow>& rows, const std::string& monthKey) {
    std::string columns = "TANCOD,TNAME";
    std::string marks = "?,?";
    for (int d = 1; d <= 31; ++d) {
        columns += ",D" + std::to_string(d);
        marks += ",?";
    }
    const std::string insert = "INSERT INTO day_work (" + columns + ",DMONTH) VALUES (" + marks + ",?)";
    connection.runJob([&] {
        connection.execute("DELETE FROM day_work");
        for (const DayWorkRow& r : rows) {
            db::Params params{r.employee, r.name};
            for (const std::string& d : r.days) params.emplace_back(d.empty() ? db::Value() : db::Value(d));
            params.emplace_back(monthKey);
            connection.execute(insert, params);
        }
    });
}

DayWorkTable readDayWork(db::Connection& connection) {
    DayWorkTable table;
    std::string columns = "TANCOD,TNAME";
    for (int d = 1; d <= 31; ++d) columns += ",D" + std::to_string(d);
    const db::ResultSet rs = connection.select("SELECT " + columns + ",DMONTH FROM day_work ORDER BY rowid");
    for (const auto& row : rs.rows) {
        DayWorkRow r;
        r.employee = integerOf(row[0]);
        r.name = textOf(row[1]);
        for (std::size_t d = 0; d < 31; ++d) r.days[d] = textOf(row[2 + d]);
        if (table.month.empty()) table.month = textOf(row[33]);
        table.rows.push_back(std::move(r));
    }
    return table;
}

CrossTableOutcome buildCrossTable(db::Connection& connection, const std::string& monthKey, const AskYesNo& ask,
                                  const Tell& tell) {
    if (!ask(BuildQuestion, BuildCaption)) return CrossTableOutcome::Declined;
    const MonthSpan month = monthOfKey(monthKey);
    const std::vector<AttendanceRow> attendance = attendanceOfMonth(connection, month);
    if (attendance.empty()) {
        tell(NoAttendanceMessage);
        return CrossTableOutcome::NoAttendance;
    }
    replaceDayWork(connection, crossTable(crossEmployees(connection), attendance, month), monthKey);
    return CrossTableOutcome::Built;
}

}  // namespace reports
