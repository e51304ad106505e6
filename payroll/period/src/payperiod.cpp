#include "period/payperiod.h"

#include <algorithm>

#include "rtl/convert.h"
#include "rtl/datetime.h"
#include "rtl/errors.h"
#include "rtl/strings.h"

namespace period {

namespace {

void nextMonth(int& year, int& month) {
    if (++month > 12) {
        month = 1;
        ++year;
    }
}

void previousMonth(int& year, int& month) {
    if (--month < 1) {
        month = 12;
        --year;
    }
}

// Empty, "30" and "31" (after trimming) close with the calendar month.
bool closesWithTheMonth(const std::string& closing) { return closing.empty() || closing == "30" || closing == "31"; }

// The closing day as a number of 1..31. A text that is no whole number fails
// with the runtime's integer message, a number that is no day of a month with
// the date message of the last day it would name.
int closingDayOf(const std::string& closing, int year, int month) {
    const int day = rtl::strToInt(closing);
    if (day < 1 || day > 31) {
        nextMonth(year, month);
        throw rtl::ConversionError(
            rtl::msg::notDate(rtl::formatDateTime("yyyy/mm", rtl::encodeDate(year, month, 1)) + "/" + closing));
    }
    return day;
}

// The monthly rule on numbers: the calendar month, or the period after the closing day.
DateRange monthlyRange(int year, int month, const std::string& closing) {
    if (closesWithTheMonth(closing)) return calendarMonth(year, month);
    return afterClosingDay(year, month, closingDayOf(closing, year, month));
}

std::string dateText(rtl::TDateTime day) { return rtl::formatDateTime("yyyy/mm/dd", day); }

// The last date of a period as the pay period writes it: when it is the
// closing day itself, the day is the closing text as stored ("5" stays "5").
std::string lastText(rtl::TDateTime last, const std::string& closing) {
    if (!closesWithTheMonth(closing) && rtl::dayOf(last) == rtl::strToInt(closing))
        return rtl::formatDateTime("yyyy/mm/", last) + closing;
    return dateText(last);
}

// A two-digit field of a date text, as a number; false when it is none.
bool readNumber(const std::string& field, int& out) {
    const std::string t = rtl::trim(field);
    return !t.empty() && rtl::tryStrToInt(t, out);
}

}  // namespace

DateRange calendarMonth(int year, int month) {
    return {rtl::encodeDate(year, month, 1), rtl::encodeDate(year, month, rtl::daysInMonth(year, month))};
}

DateRange afterClosingDay(int year, int month, int closingDay) {
    DateRange r;
    int nextYear = year, next = month;
    nextMonth(nextYear, next);
    if (closingDay + 1 <= rtl::daysInMonth(year, month)) r.first = rtl::encodeDate(year, month, closingDay + 1);
    else  // the month ends on or before the closing day: the period starts with the next month
        r.first = rtl::encodeDate(nextYear, next, 1);
    r.last = rtl::encodeDate(nextYear, next, std::min(closingDay, rtl::daysInMonth(nextYear, next)));
    return r;
}

PayPeriod monthlyPayPeriod(const std::string& year, const std::string& month, const std::string& closingText) {
    const std::string closing = rtl::trim(closingText);

    // The 1st of the pay month, as the user typed year and month; a year or
    // month that names no date fails here with the runtime's date message.
    const std::string monthStart = year + "/" + month + "/01";
    const rtl::TDateTime start = rtl::strToDate(monthStart);
    const int y = rtl::yearOf(start), m = rtl::monthOf(start);

    const DateRange r = monthlyRange(y, m, closing);
    PayPeriod period;
    // A first day inside the pay month keeps year and month as typed.
    if (rtl::monthOf(r.first) == m) period.first = year + "/" + month + "/" + rtl::twoDigits(rtl::dayOf(r.first));
    else period.first = dateText(r.first);
    period.last = lastText(r.last, closing);
    return period;
}

WorkDate parseWorkDate(const std::string& text) {
    WorkDate d;
    int yy = 0;
    if (!readNumber(rtl::copy(text, 1, 2), yy) || yy < 0 || !readNumber(rtl::copy(text, 4, 2), d.month) ||
        !readNumber(rtl::copy(text, 7, 2), d.day) || rtl::copy(text, 3, 1) != "/" || rtl::copy(text, 6, 1) != "/")
        throw rtl::ConversionError(rtl::msg::notDate(text));
    d.year = 2000 + yy;
    if (!rtl::isValidDate(d.year, d.month, d.day)) throw rtl::ConversionError(rtl::msg::notDate(text));
    return d;
}

PunchPeriod punchPeriod(const std::string& closingText, const std::string& workDateText) {
    const std::string closing = rtl::trim(closingText);
    const WorkDate d = parseWorkDate(workDateText);
    const rtl::TDateTime day = rtl::encodeDate(d.year, d.month, d.day);

    DateRange r;
    if (closing == "31") {
        r = calendarMonth(d.year, d.month);
    } else {
        // The pay month that holds the date: the month before it when the
        // date is on or before the closing day, else its own month. Only
        // "31" means the calendar month here; "30" follows the day-after
        // rule like any day.
        int payYear = d.year, payMonth = d.month;
        bool placed = false;
        if (!closing.empty()) {
            const int k = rtl::strToInt(closing);
            if (d.day <= k) previousMonth(payYear, payMonth);
            if (k >= 1 && k <= 31 && k + 1 <= rtl::daysInMonth(payYear, payMonth)) {
                r = afterClosingDay(payYear, payMonth, k);
                placed = true;
            }
        }
        // The monthly rule places what the day-after rule cannot (an empty
        // closing day, a first day the month lacks): its period of that pay
        // month, or of the next one when the date lies beyond it (with "30"
        // after a 30-day month the calendar month is the next).
        if (!placed) {
            r = monthlyRange(payYear, payMonth, closing);
            if (day > r.last) {
                nextMonth(payYear, payMonth);
                r = monthlyRange(payYear, payMonth, closing);
            }
        }
    }

    PunchPeriod p;
    p.first = dateText(r.first);
    p.last = lastText(r.last, closing);
    p.firstMonth = rtl::copy(p.first, 6, 2);
    p.lastMonth = rtl::copy(p.last, 6, 2);
    return p;
}

}  // namespace period
