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
std::optional<std::string> employeeKeyProblem(std::optional<std::int64_t> eNo,
                                              std::optional<std::string_view> code);
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

// ---- settings ----

// The main window's recorder controls (Panel1, btnDataSet, btnemp_mas) are
// shown only for the database-copy recorder, REC_YN exactly "1".
bool recorderControlsShown(std::string_view recYN);

}  // namespace masters
