#include "app/workstate.h"

#include "rtl/convert.h"
#include "rtl/datetime.h"
#include "rtl/errors.h"
#include "rtl/strings.h"

namespace app {

std::string monthKey(const std::string& year, const std::string& month)
{
    return rtl::copy(year, 3, 2) + "/" + month;
}

std::string bonusKey(const std::string& bonusYear, const std::string& bonusNumber)
{
    return rtl::copy(bonusYear, 3, 2) + "-" + bonusNumber;
}

PayPeriod monthlyPayPeriod(const std::string& year, const std::string& month,
                           const std::string& closingText)
{
    std::string closing = rtl::trim(closingText);
    if (closing.empty())
        closing = "30";

    // The 1st of the pay month, as the user typed year and month; a year or
    // month that names no date fails here with the runtime's date message.
    const std::string monthStart = year + "/" + month + "/01";
    const rtl::TDateTime start = rtl::strToDate(monthStart);

    if (closing == "30" || closing == "31") {
        const rtl::TDateTime end = rtl::incDay(rtl::incMonth(start, 1), -1);
        return {monthStart, rtl::formatDateTime("yyyy/mm/dd", end)};
    }

    const int closingDay = rtl::strToInt(closing);
    const rtl::TDateTime nextMonth = rtl::incMonth(start, 1);
    if (closingDay < 1 || closingDay > 31)
        throw rtl::ConversionError(
            rtl::msg::notDate(rtl::formatDateTime("yyyy/mm", nextMonth) + "/" + closing));

    PayPeriod period;
    const int y = rtl::yearOf(start), m = rtl::monthOf(start);
    const int firstDay = closingDay + 1;
    if (firstDay <= rtl::daysInMonth(y, m))
        period.first = year + "/" + month + "/" + rtl::twoDigits(firstDay);
    else  // the month ends on or before the closing day: the period starts with the next month
        period.first = rtl::formatDateTime("yyyy/mm/dd", nextMonth);

    const int lastMonthDays = rtl::daysInMonth(rtl::yearOf(nextMonth), rtl::monthOf(nextMonth));
    if (closingDay <= lastMonthDays)
        period.last = rtl::formatDateTime("yyyy/mm", nextMonth) + "/" + closing;
    else
        period.last = rtl::formatDateTime("yyyy/mm/", nextMonth) + rtl::twoDigits(lastMonthDays);
    return period;
}

DefaultMonths defaultMonths(rtl::TDateTime today)
{
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

DayRange defaultDayRange(rtl::TDateTime today)
{
    return {rtl::formatDateTime("yy/mm/dd", rtl::incDay(today, -7)),
            rtl::formatDateTime("yy/mm/dd", rtl::incDay(today, -1))};
}

RecorderLayout recorderLayout(const std::string& recYN)
{
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
