// The rules every attendance job shares: the pay period as dates, the work
// category of an employee with its windows and rounding units, the employee's
// flags and rates, spans measured through Kronvale, and the rounding of
// minutes and money. Nothing here touches a window or the database.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "period/payperiod.h"
#include "rtl/errors.h"
#include "rtl/types.h"

namespace attendance {

// A job that refuses to run and has changed nothing: what() is the message
// the user is shown.
class Refusal : public rtl::Error {
public:
    using Error::Error;
};

// Shown when the period has no attendance rows or no punches.
inline constexpr const char* kNoDataMessage = "データがありません。新規セットを実行して下さい。";
// Follows the count of punches or rows that name no employee in service.
inline constexpr const char* kBadRatesSuffix = " 件の個人別単価が不正です。";

// The pay period as the main window holds it ("yyyy/mm/dd" .. "yyyy/mm/5" for
// a month, "yy/mm/dd" for weekly or daily pay), with its two dates.
struct PeriodDates : period::DateRange {
    std::string firstText;
    std::string lastText;
};
// Raises rtl::ConversionError for a text that is no date, and a Refusal when
// the last date lies before the first.
PeriodDates periodDates(const std::string& firstText, const std::string& lastText);

// Whether a punch of month/day (numbers as written in the punch table) falls
// into the period's month-and-day ranges: for a period within one month the
// day lies between the first and the last day; across a month end it is the
// first month from the first day on or the last month up to the last day.
bool punchInPeriodRange(const PeriodDates& period, int month, int day);

// The date of month/day that lies inside the period, or nearest to it (a
// December-to-January period puts January punches in the next year). Raises
// rtl::ConversionError when month/day make no date in any year near it.
rtl::TDateTime punchDate(const PeriodDates& period, int month, int day);

// A work category (row of 区分) read with its defaults: a time that is empty
// or ":" is 00:00, an empty rounding unit is 1. Times are minutes after the
// work date's midnight; hours of 24 and more lie on the next day.
struct WorkCategory {
    std::string code;
    int shiftStart = 0, shiftEnd = 0;  // 就業
    int lateStart = 0, lateEnd = 0;    // 遅刻早退
    int breakStart = 0, breakEnd = 0;  // 休憩1
    int earlyStart = 0, earlyEnd = 0;  // 早出
    int overStart = 0, overEnd = 0;    // 残業
    int nightStart = 0, nightEnd = 0;  // 深夜
    int unit = 1;                      // 就業丸め単位: minutes per paid unit
    int overUnit = 1;                  // 残業丸め単位
    int lateUnit = 1;                  // 遅早丸め単位

    // A night shift: starts after 18:00 and at or before 24:00, and ends at
    // 24:00 or later. Its clock-ins from 00:00 to 06:59 belong to the day before.
    bool nightShift() const;
};

// Reads one category from the texts of its row (column name -> text; a
// missing column counts as empty). Refuses, naming the category, a time that
// is no clock text, a rounding unit that is not a whole number, and a work
// unit that cannot give whole units per hour (0, above 60, or not dividing 60).
WorkCategory readCategory(const std::string& code, const std::map<std::string, std::string>& row);
// The category of a code that has no row: every time 00:00, every unit 1.
WorkCategory missingCategory(const std::string& code);

// The employee's values the attendance jobs read (a row of emp_tanka).
struct Employee {
    long long number = 0;     // E_NO
    std::string code;         // E_TANCOD
    std::string category;     // E_JOBKBN
    std::string status;       // E_DROPKBN, trimmed; "1" = in service
    std::string restFlag;     // E_REST_YN: "1" = the break is taken off
    std::string payKind;      // E_PAYKBN: "0" monthly, "1" daily, "2" by units
    std::string baseFlag;     // E_BASE_YN: "1" = time before the shift is cut off
    long long basePay = 0;    // E_BASEPAY
    long long transport = 0;  // E_KOTUHI
    // Flags ("1" = paid/deducted) and hourly rates of the six kinds.
    std::string earlyFlag, overFlag, nightFlag, holidayFlag, lateFlag, leaveFlag;
    long long earlyRate = 0, overRate = 0, nightRate = 0, holidayRate = 0, lateRate = 0, leaveRate = 0;
    bool inService() const { return status == "1"; }
};

// A date-time `minutes` after midnight of `day` (minutes may pass 24 hours).
rtl::TDateTime atMinutes(rtl::TDateTime day, long long minutes);
// The same with seconds.
rtl::TDateTime atSeconds(rtl::TDateTime day, long long seconds);

// Minutes from `from` to `to` as Kronvale splits them: days * 1440 + hours *
// 60 + minutes of GetFromToDateTime; 0 when `from` is after `to`.
int spanMinutes(rtl::TDateTime from, rtl::TDateTime to);
// Minutes of the overlap of [a1, a2] and [b1, b2] (0 when they do not meet).
int overlapMinutes(rtl::TDateTime a1, rtl::TDateTime a2, rtl::TDateTime b1, rtl::TDateTime b2);

// The minutes of a day by kind, measured by `span` (Kronvale's split for the
// whole period, whole minutes for one row): early start (from the later of
// the clock-in and the early-start time to the shift start, only without the
// cut-off and with the kind paid), overtime and late night (the overlaps with
// their windows, with the kind paid), late arrival and early departure (to
// and from the window's start and end, with the kind deducted and that end
// of the window set), and the break's overlap with the clock time.
using SpanFunction = long long (*)(rtl::TDateTime from, rtl::TDateTime to);
struct KindMinutes {
    long long early = 0, over = 0, night = 0, late = 0, leave = 0, rest = 0;
    // The five kinds rounded: early start, overtime and late night to the
    // overtime unit, late arrival and early departure to the late unit.
    void roundTo(const WorkCategory& category, long long out[5]) const;
};
KindMinutes measureKinds(rtl::TDateTime in, rtl::TDateTime out, rtl::TDateTime workDate, const Employee& employee,
                         const WorkCategory& category, SpanFunction span);

// Round(x / unit) * unit, halves to even, for x > 0; 0 for x <= 0. A unit
// of 1 or less keeps x (never below 0).
int roundToUnit(int minutes, int unit);
// Round(minutes / unit), halves to even (the paid units of worked minutes).
long long unitsOf(long long minutes, int unit);
// The worked-time text of paid minutes: two-digit hours ":" two-digit minutes.
std::string clockText(long long minutes);

}  // namespace attendance
