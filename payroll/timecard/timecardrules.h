// What the time-card entry and the attendance book compute, without a window
// or a database: the pay period a work date belongs to, the clock shown when
// the entry opens, the punch time typed by hand, and the field checks of the
// attendance book. The windows call these; tests call them directly.
#pragma once

#include <optional>
#include <string>

#include "rtl/types.h"

namespace timecard {

// A work date typed as "yy/mm/dd" (the century is always 20).
struct WorkDate {
    int year = 0, month = 0, day = 0;
    bool operator==(const WorkDate&) const = default;
};
// Characters 1-2, 4-5 and 7-8 of the text, each read as a number (blanks
// around a number are allowed, as a masked edit leaves them). Raises
// rtl::ConversionError "'<text>' は日付ではありません" for a text that is not a
// real date.
WorkDate parseWorkDate(const std::string& text);

// The pay period of a work date as the punch table is checked against it.
struct PunchPeriod {
    std::string first;       // "yyyy/mm/dd"
    std::string last;        // "yyyy/mm/" + the closing day as stored, or "yyyy/mm/dd"
    std::string firstMonth;  // characters 6-7 of first
    std::string lastMonth;   // characters 6-7 of last
    bool operator==(const PunchPeriod&) const = default;
};

// The period that holds the work date `workDateText` ("yy/mm/dd") for the
// company's closing day `closingText` (blanks around it ignored):
//  - "31" only: the calendar month of the date;
//  - a closing day k (30 included) whose following day exists where the
//    period starts: from day k + 1 of one month to day k of the next, the
//    date inside it;
//  - otherwise (empty, "30" after a 30-day month, 28 to 30 after a short
//    February, a day outside 1..31) the main window's pay-period rule for
//    the pay month that holds the date: empty and "30" give the calendar
//    month, a first day that does not exist moves to the 1st of the next
//    month, a day outside 1..31 fails.
// Raises rtl::ConversionError for a closing day that is not a number and for
// a work date that is not a date.
PunchPeriod punchPeriod(const std::string& closingText, const std::string& workDateText);

// What the time-card entry shows when it opens.
struct EntryClock {
    std::string workDate;  // MaskEdit1, "yy/mm/dd"
    std::string time;      // MaskEdit2, "hh:nn:ss"
    std::string hour;      // Edit2: the hour, 24..30 before 7 o'clock
    std::string minute;    // Edit3
    bool operator==(const EntryClock&) const = default;
};
// Before 7 o'clock the hour is raised to 24..30 (the shift of the day
// before), and the work date is that day before, so that a clock-out typed at
// 00:40 lands on the shift it ends.
EntryClock entryClock(rtl::TDateTime now);

// The hour and minute of a punch typed by hand, two digits each.
struct PunchTime {
    std::string hour;
    std::string minute;
    bool operator==(const PunchTime&) const = default;
};
// Hours 0..47 (24 and above stand for the next day), minutes 0..59; one digit
// gets a leading zero. Raises rtl::ConversionError "'<h>:<m>' は時刻ではありません"
// for anything else.
PunchTime punchTime(const std::string& hourText, const std::string& minuteText);

// The attendance book's checks of the month, day, hour and minute fields.
enum class PunchField { Month, Day, Hour, Minute };

// The message of a refused field.
inline constexpr const char* invalidDataMessage = "データが不正です。";

// Months 1..12, days 1..31, hours 0..47, minutes 0..59. A missing or empty
// value is refused (nullopt). An accepted value comes back as the two-digit
// text to store ("5" -> "05"). A text that is not a whole number raises
// rtl::ConversionError "'<text>' は整数ではありません".
std::optional<std::string> checkPunchField(PunchField field, const std::optional<std::string>& value);

}  // namespace timecard
