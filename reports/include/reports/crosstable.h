// The daily cross table: for the calendar month of the pay month, one row per
// employee of the master and one cell per day holding the time worked that
// day (the sum of the day's attendance rows, "hh:mm"). Built in memory from
// one range read of the attendance rows and written into day_work in one
// transaction, together with the month it was built for (DMONTH).
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "rtl/types.h"

namespace db {
class Connection;
}

namespace reports {

struct MonthSpan {
    rtl::TDateTime first = 0;  // the 1st of the month
    int days = 0;              // 28 to 31
};
// The calendar month of a month key "yy/mm" (the two-digit year as the
// program reads any "yy/mm/dd" date). Throws rtl::ConversionError.
MonthSpan monthOfKey(const std::string& monthKey);

struct AttendanceRow {
    long long employee = 0;   // K_TANCOD
    rtl::TDateTime date = 0;  // K_DATE
    std::string worked;       // K_SYUGYO, "hh:mm"
};

struct CrossEmployee {
    long long number = 0;  // E_NO
    std::string name;      // E_NAME
};

struct DayWorkRow {
    long long employee = 0;            // TANCOD
    std::string name;                  // TNAME
    std::array<std::string, 31> days;  // D1..D31
};

// The worked time of one day from its attendance rows: one row's text as
// stored; several rows summed as "hh:mm"; empty when none has a time.
std::string dayTotal(const std::vector<std::string>& worked);

// One row per employee in the given order; rows of other months and of
// employees not in the list are left out.
std::vector<DayWorkRow> crossTable(const std::vector<CrossEmployee>& employees,
                                   const std::vector<AttendanceRow>& attendance, const MonthSpan& month);

// ---- reads and writes ----
// Every employee of the master, in service or not, by ascending E_NO.
std::vector<CrossEmployee> crossEmployees(db::Connection& connection);
// The attendance rows of the month, in employee, day and entry order.
std::vector<AttendanceRow> attendanceOfMonth(db::Connection& connection, const MonthSpan& month);
// Replaces every row of day_work by `rows`, each marked with `monthKey`, in
// one transaction (the old rows stay when it fails).
void replaceDayWork(db::Connection& connection, const std::vector<DayWorkRow>& rows, const std::string& monthKey);

struct DayWorkTable {
    std::string month;             // DMONTH (empty for a table of an older build)
    std::vector<DayWorkRow> rows;  // in the table's own order
};
DayWorkTable readDayWork(db::Connection& connection);

// ---- the builder (Act_ClossRep) ----
using AskYesNo = std::function<bool(const std::string& text, const std::string& caption)>;
using Tell = std::function<void(const std::string& text)>;

inline constexpr const char* BuildQuestion = "日別データを作成しますか。？";
inline constexpr const char* BuildCaption = "データ作成";
inline constexpr const char* NoAttendanceMessage = "編集データが存在しません。\n\n勤務明細を先に実行して下さい。";

enum class CrossTableOutcome { Declined, NoAttendance, Built };

// Asks first; with no attendance row in the month says so and leaves
// day_work as it is; otherwise rebuilds day_work for `monthKey`.
CrossTableOutcome buildCrossTable(db::Connection& connection, const std::string& monthKey, const AskYesNo& ask,
                                  const Tell& tell);

}  // namespace reports
