// The main window's start-up state: the default months and day range, and
// the time-recorder layout chosen by the general settings (the keys and the
// pay period it holds live in period/).
// Nothing here touches a window or the database, so tests call it directly.
#pragma once

#include <string>

#include "rtl/types.h"

namespace app {

// Default months at start-up: the pay month is today moved back one calendar
// month (31 March gives February); the annual range is the whole year before it.
struct DefaultMonths {
    std::string year;            // EditYY  "yyyy"
    std::string month;           // EditMM  "mm"
    std::string bonusYear;       // EditYY2 "yyyy"
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
    bool panel1Shown = false;  // Panel1, btnDataSet, btnemp_mas
    RecorderAction action = RecorderAction::Zalton;
    bool recButtonShown = true;  // btnRec_YN
    bool recButtonEnabled = false;
    bool zlt1Shown = true;  // btnZLT1
    bool zlt2Shown = true;  // btnZLT2
    bool operator==(const RecorderLayout&) const = default;
};
RecorderLayout recorderLayout(const std::string& recYN);

}  // namespace app
