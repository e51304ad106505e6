// What the time-card entry and the attendance book compute, without a window
// or a database: the clock shown when the entry opens, the punch time typed
// by hand, and the field checks of the attendance book (the pay period of a
// work date lives in period/payperiod.h). The windows call these; tests call
// them directly.
#pragma once

#include <optional>
#include <string>

#include "rtl/types.h"

namespace timecard {

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

// A punch is stored only with its in/out flag 入退: "0" clock-in or "1"
// clock-out (without one, the attendance import cannot tell what it is).
bool isInOutFlag(const std::optional<std::string>& value);
inline constexpr const char* inOutMissingMessage = "入退を選んで下さい（0 出勤、1 退出）。";

}  // namespace timecard
