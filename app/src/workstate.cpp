#include "app/workstate.h"

#include "rtl/convert.h"
#include "rtl/datetime.h"
#include "rtl/strings.h"

namespace app {

DefaultMonths defaultMonths(rtl::TDateTime today) {
    const rtl::TDateTime p = rtl::incMonth(today, -1);
    const std::string previousYear = rtl::intToStr(rtl::yearOf(p) - 1);
    DefaultMonths d;
    d.year = rtl::formatDateTime("yyyy", p);
    d.month = rtl::formatDateTime("mm", p);
    d.bonusYear = d.year;
    d.rangeFromYear = previousYear;
    d.rangeFromMonth = "01";
    d.rangeToYear = previousYear;
    d.rangeToMonth = "12";
    return d;
}

DayRange defaultDayRange(rtl::TDateTime today) {
    return {rtl::formatDateTime("yy/mm/dd", rtl::incDay(today, -7)),
            rtl::formatDateTime("yy/mm/dd", rtl::incDay(today, -1))};
}

RecorderLayout recorderLayout(const std::string& recYN) {
    RecorderLayout layout;  // as designed
    if (recYN == "1") {
        layout.panel1Shown = true;
        layout.action = RecorderAction::Korbe;
    } else if (recYN == "2") {
        layout.panel1Shown = true;
        layout.zlt2Shown = false;
    } else if (recYN == "3") {
        layout.panel1Shown = true;
        layout.zlt1Shown = false;
    } else if (recYN == "0") {
        layout.recButtonShown = false;
    }
    return layout;
}

}  // namespace app
