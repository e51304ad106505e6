// The rules that turn one line of a time recorder's CSV export into a
// clock-in and a clock-out punch. No database here: the layout-2 schedule
// times come in as arguments, so the rules can be checked case by case.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace payroll {

// A clock time as two two-digit texts. Hours of punches may run to 47
// (24 and above stand for the next day).
struct ClockText {
    std::string hour;    // "08", "32"
    std::string minute;  // "05"

    // The four characters hours + minutes that the rules compare as text.
    std::string key() const { return hour + minute; }
    bool operator==(const ClockText&) const = default;
};

// A recorder clock field: hours and minutes of one or two digits each,
// separated by a colon, optionally followed by ":ss"; hours 0..23, minutes
// 0..59. Both parts come back with two digits ("8:0" gives 08 / 00).
// Anything else, the empty field included, raises rtl::ConversionError
// "'<field>' は時刻ではありません".
ClockText parseRecorderClock(std::string_view field);

// A schedule time of a work category (就業開始時刻 ...), blanks around it
// removed. Hours may run to 47; an hour above 24 is lowered by 24 (25:00
// gives 01, 24:00 stays 24). Empty or malformed text raises
// rtl::ConversionError.
ClockText parseScheduleClock(std::string_view text);

// Raises the hour of a clock by 24 ("06" -> "30").
void raiseToNextDay(ClockText& clock);

struct PunchPair {
    ClockText in;
    ClockText out;
    bool operator==(const PunchPair&) const = default;
};

// Layout 1: a clock-out earlier than the clock-in belongs to the next day.
PunchPair layout1Pair(ClockText in, ClockText out);

// Layout 2: the same, then the comparisons against the employee's work
// schedule (start, end), which decide whether the clock-out - and for a
// shift across midnight also the clock-in - is of the next day. A clock
// raised beyond hour 47 (a schedule starting at 24:xx with a clock-out just
// after midnight) raises rtl::ConversionError naming the clock.
PunchPair layout2Pair(ClockText in, ClockText out, const ClockText& start, const ClockText& end);
// Layout 2's rule for the clock-in alone (a line whose clock-out was
// forgotten): on a shift across midnight a clock-in before the shift's end
// is of the next day. layout2Pair applies the same rule to its clock-in.
ClockText layout2ClockIn(ClockText in, const ClockText& start, const ClockText& end);

// Layout 2's employee value: a whole number written with six digits and
// leading zeros (7 gives "000007"); longer numbers as they are. A field that
// is not a whole number, or a negative one, raises rtl::ConversionError.
std::string layout2EmployeeCode(std::string_view field);

// Where the fields of a line are (counted from 0) and what marks its header.
struct CsvLayoutRules {
    int employeeField;
    int dateField;
    int clockInField;
    int clockOutField;
    std::string_view headerText;  // the date field of the header line
    std::string_view second;      // 秒 of both punches

    // Fields a line of this layout has at least.
    int fieldsNeeded() const;
};
extern const CsvLayoutRules kLayout1;  // 1, 4, 8, 11, "年月日", "0"
extern const CsvLayoutRules kLayout2;  // 1, 4, 8, 14, "年/月/日", "00"

// The field at `index`, or "" when the line is shorter.
std::string fieldAt(const std::vector<std::string>& fields, int index);

// What a split line is to the import.
enum class LineKind {
    Blank,      // no fields at all: skipped
    Header,     // the layout's header: skipped
    TooShort,   // fewer fields than the layout has: refused (a cut-off line
                // or another program's file must not lose punches silently)
    NoClockIn,  // an empty clock-in field: a day without punches, skipped
    Punch,      // a clock-in, with or without its clock-out
};
LineKind lineKind(const std::vector<std::string>& fields, const CsvLayoutRules& layout);

}  // namespace payroll
