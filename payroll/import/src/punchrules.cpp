#include "import/punchrules.h"

#include <algorithm>
#include <string>

#include "rtl/convert.h"
#include "rtl/errors.h"
#include "rtl/strings.h"

namespace payroll {

const CsvLayoutRules kLayout1{1, 4, 8, 11, "年月日", "0"};
const CsvLayoutRules kLayout2{1, 4, 8, 14, "年/月/日", "00"};

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// "h", "hh" (one or two digits) -> value; -1 when not.
int smallNumber(std::string_view part) {
    if (part.empty() || part.size() > 2) return -1;
    int v = 0;
    for (char c : part) {
        if (!isDigit(c)) return -1;
        v = v * 10 + (c - '0');
    }
    return v;
}

// hh:mm or hh:mm:ss with one- or two-digit parts; false when malformed or
// beyond maxHour / 59.
bool splitClock(std::string_view text, int maxHour, int& hour, int& minute) {
    const auto c1 = text.find(':');
    if (c1 == std::string_view::npos) return false;
    std::string_view rest = text.substr(c1 + 1);
    std::string_view sec;
    const auto c2 = rest.find(':');
    if (c2 != std::string_view::npos) {
        sec = rest.substr(c2 + 1);
        rest = rest.substr(0, c2);
        const int s = smallNumber(sec);
        if (s < 0 || s > 59) return false;
    }
    hour = smallNumber(text.substr(0, c1));
    minute = smallNumber(rest);
    return hour >= 0 && hour <= maxHour && minute >= 0 && minute <= 59;
}

}  // namespace

ClockText parseRecorderClock(std::string_view field) {
    int h = 0, m = 0;
    if (!splitClock(field, 23, h, m)) throw rtl::ConversionError(rtl::msg::notTime(field));
    return {rtl::twoDigits(h), rtl::twoDigits(m)};
}

ClockText parseScheduleClock(std::string_view text) {
    const std::string t = rtl::trim(text);
    int h = 0, m = 0;
    if (!splitClock(t, 47, h, m)) throw rtl::ConversionError(rtl::msg::notTime(t));
    if (h > 24) h -= 24;
    return {rtl::twoDigits(h), rtl::twoDigits(m)};
}

void raiseToNextDay(ClockText& clock) { clock.hour = rtl::twoDigits(rtl::strToInt(clock.hour) + 24); }

PunchPair layout1Pair(ClockText in, ClockText out) {
    if (in.key() > out.key()) raiseToNextDay(out);
    return {std::move(in), std::move(out)};
}

PunchPair layout2Pair(ClockText in, ClockText out, const ClockText& start, const ClockText& end) {
    const std::string s = start.key();
    const std::string e = end.key();
    const ClockText givenOut = out;
    if (in.key() > out.key()) raiseToNextDay(out);
    if (!(s > e)) {
        // A shift within one day: a clock-out before the shift starts is
        // the next morning's.
        if (s > out.key()) raiseToNextDay(out);
    } else {
        // A shift across midnight; each test sees the hours as they stand.
        if (s > out.key()) raiseToNextDay(out);
        if (e > out.key()) raiseToNextDay(out);
    }
    // The attendance import reads hours 24 to 47 as the next day; a clock-out
    // raised twice (a schedule starting at 24:xx, a clock-out just after
    // midnight) would land on the day after that, so the line is refused.
    // (The clock-in is raised at most once.)
    if (rtl::strToInt(out.hour) > 47)
        throw rtl::ConversionError("退勤時刻 '" + givenOut.hour + ":" + givenOut.minute + "' は " + out.hour + ":" +
                                   out.minute + " になり、翌日の 47 時を超えるため取り込めません");
    return {layout2ClockIn(std::move(in), start, end), std::move(out)};
}

ClockText layout2ClockIn(ClockText in, const ClockText& start, const ClockText& end) {
    const std::string e = end.key();
    if (start.key() > e && e > in.key()) raiseToNextDay(in);
    if (in.minute == "0") in.minute = "00";
    return in;
}

std::string layout2EmployeeCode(std::string_view field) {
    const long long n = rtl::strToInt64(field);
    if (n < 0) throw rtl::ConversionError("社員番号 '" + std::string(field) + "' が正しくありません");
    return n <= 999999 ? rtl::sixDigitCode(n) : std::to_string(n);
}

std::string fieldAt(const std::vector<std::string>& fields, int index) {
    return index >= 0 && index < static_cast<int>(fields.size()) ? fields[static_cast<size_t>(index)] : std::string();
}

int CsvLayoutRules::fieldsNeeded() const {
    return std::max({employeeField, dateField, clockInField, clockOutField}) + 1;
}

LineKind lineKind(const std::vector<std::string>& fields, const CsvLayoutRules& layout) {
    if (fields.empty()) return LineKind::Blank;
    if (fieldAt(fields, layout.dateField) == layout.headerText) return LineKind::Header;
    if (static_cast<int>(fields.size()) < layout.fieldsNeeded()) return LineKind::TooShort;
    if (fieldAt(fields, layout.clockInField).empty()) return LineKind::NoClockIn;
    return LineKind::Punch;
}

}  // namespace payroll
