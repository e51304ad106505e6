// The checks and defaults of the master-data windows, free of any window:
// the windows call them from their field handlers, tests call them directly.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace masters {

// The text every refused category field shows.
inline constexpr const char* kCheckDataMessage = "データを確認して下さい。";

// ---- employees ----

// The default employee code of employee number `eNo`: six digits with
// leading zeros (42 -> "000042").
std::string defaultEmployeeCode(std::int64_t eNo);

// Why an employee row may not be stored; nullopt when it may. The pay
// tables file attendance under the number of E_TANCOD and total it under
// E_NO, so both must name the same number: E_NO in 0..999999 and E_TANCOD
// that number in decimal digits (leading zeros allowed). `eNo` is nullopt
// for an empty E_NO, `code` for an empty E_TANCOD.
std::optional<std::string> employeeKeyProblem(std::optional<std::int64_t> eNo, std::optional<std::string_view> code);
// The message for an E_NO that another employee already has.
std::string duplicateEmployeeNumberMessage(std::int64_t eNo);

// ---- work categories ----

// Each rule returns the text to keep (possibly normalised), or nullopt when
// the text is refused with kCheckDataMessage. Lengths count bytes of the
// Japanese code page: a full-width character counts two.

// Category code: one character gets a leading "0"; more than two is refused.
std::optional<std::string> categoryCodeRule(std::string_view text);
// Rounding unit in minutes: one character gets a leading "0"; anything but
// empty or a whole number from 1 to 60 that divides 60 is refused (the
// attendance computations divide and round by it).
std::optional<std::string> roundingUnitRule(std::string_view text);
// Clock time: "hhmm" becomes "hh:mm", "hh:mm" and "" stay; hours must be
// 00 to 47 (24 and later are the next day) and minutes 00 to 59.
std::optional<std::string> clockTimeRule(std::string_view text);

// ---- company ----

// The closing day 締日, from which every pay period is computed: empty (the
// calendar month) or a whole number from 1 to 31, blanks around it allowed.
bool usableClosingDay(std::string_view text);
inline constexpr const char* kClosingDayMessage =
    "締日は1から31までの数字で入力して下さい（月末締めは空欄でもかまいません）。";
// The error when a stored closing day cannot be used (an older database):
// names the field, its value and the window to mend it in.
std::string storedClosingDayMessage(std::string_view text);

// ---- settings ----

// The recorder kind REC_YN: "0" none, "1" the recorder program's database,
// "2" and "3" the two CSV layouts.
bool knownRecorderKind(std::string_view recYN);
inline constexpr const char* kRecorderKindMessage =
    "ﾀｲﾑﾚｺｰﾀﾞは 0（未使用）、1（コルベ）、2（ザルト計算）、3（ザルト勤怠）のどれかを入力して下さい。";
// An insurance rate per mille: no rate (counts as 0) or a number not below 0.
bool usableRate(std::optional<double> rate);
// The refusal of a rate, naming it ("保険料率（会社負担分）").
std::string rateMessage(std::string_view rateName);

}  // namespace masters
