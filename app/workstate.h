// The working state that the main window carries for every other window:
// the month and bonus keys, the pay period, the default months and day range
// at start-up, and the time-recorder layout chosen by the general settings.
// Nothing here touches a window or the database, so tests call it directly.
#pragma once

#include <string>

#include "rtl/types.h"

namespace app {

// Characters 3 and 4 of the pay year, "/", the month unchanged ("2014", "07" -> "14/07").
std::string monthKey(const std::string& year, const std::string& month);

// Characters 3 and 4 of the bonus year, "-", the bonus number ("2014", "2" -> "14-2").
std::string bonusKey(const std::string& bonusYear, const std::string& bonusNumber);

struct PayPeriod {
    std::string first;  // "yyyy/mm/dd"
    std::string last;   // "yyyy/mm/" + the closing day as stored, or "yyyy/mm/dd"
    bool operator==(const PayPeriod&) const = default;
};

// The monthly pay period of `year`/`month` (the texts of the main window) for
// the closing day `closingText` of the company table.
//  - empty (after trimming), "30" or "31": the calendar month;
//  - otherwise the day after the closing day in the pay month up to the
//    closing day of the next month (the last date keeps the closing day as
//    stored: closing day 5 gives ".../5").
// A first day past the end of a short month (closing day 28 in February of a
// common year) becomes the 1st of the next month; a last day past the end of
// its month becomes that month's last day. So every period names real dates.
// Throws rtl::ConversionError for a closing day that is not a whole number
// (or not a day of a month, 1..31), and for a year or month that make no date.
PayPeriod monthlyPayPeriod(const std::string& year, const std::string& month,
                           const std::string& closingText);

// Default months at start-up: the pay month is today moved back one calendar
// month (31 March gives February); the annual range is the whole year before it.
struct DefaultMonths {
    std::string year;        // EditYY  "yyyy"
    std::string month;       // EditMM  "mm"
    std::string bonusYear;   // EditYY2 "yyyy"
    std::string rangeFromYear;   // EditYYS
    std::string rangeFromMonth;  // EditMMS "01"
    std::string rangeToYear;     // EditYYE
    std::string rangeToMonth;    // EditMME "12"
    bool operator==(const DefaultMonths&) const = default;
};
DefaultMonths defaultMonths(rtl::TDateTime today);

// Default day range of weekly or daily pay: a week ago to yesterday, "yy/mm/dd".
struct DayRange {
    std::string from;  // MaskEdit1
    std::string to;    // MaskEdit2
    bool operator==(const DayRange&) const = default;
};
DayRange defaultDayRange(rtl::TDateTime today);

// Which import the recorder button of the second row runs.
enum class RecorderAction { Zalton, Korbe };

// The visible state of the time-recorder controls for a REC_YN value. The
// values of a kind that leaves a control "as designed" are the designed ones:
// Panel1 hidden, the recorder button on Act_Zalton, shown and disabled, both
// CSV import buttons shown.
struct RecorderLayout {
    bool panel1Shown = false;      // Panel1, btnDataSet, btnemp_mas
    RecorderAction action = RecorderAction::Zalton;
    bool recButtonShown = true;    // btnRec_YN
    bool recButtonEnabled = false;
    bool zlt1Shown = true;         // btnZLT1
    bool zlt2Shown = true;         // btnZLT2
    bool operator==(const RecorderLayout&) const = default;
};
RecorderLayout recorderLayout(const std::string& recYN);

}  // namespace app
