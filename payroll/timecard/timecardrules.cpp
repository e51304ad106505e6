#include "timecard/timecardrules.h"

#include "app/workstate.h"
#include "rtl/convert.h"
#include "rtl/datetime.h"
#include "rtl/errors.h"
#include "rtl/strings.h"

namespace timecard {

namespace {

// A two-digit field of a date or time text, as a number; false when it is none.
bool readNumber(const std::string& field, int& out) {
    const std::string t = rtl::trim(field);
    return !t.empty() && rtl::tryStrToInt(t, out);
}

std::string yearMonth(int year, int month) {
    return rtl::intToStr(year) + "/" + rtl::twoDigits(month);
}

PunchPeriod withMonths(std::string first, std::string last) {
    PunchPeriod p;
    p.first = std::move(first);
    p.last = std::move(last);
    p.firstMonth = rtl::copy(p.first, 6, 2);
    p.lastMonth = rtl::copy(p.last, 6, 2);
    return p;
}

void previousMonth(int& year, int& month) {
    if (--month < 1) {
        month = 12;
        --year;
    }
}

void nextMonth(int& year, int& month) {
    if (++month > 12) {
        month = 1;
        ++year;
    }
}

// True when the date lies after `last` ("yyyy/mm/" + a day of one or two
// digits, as the pay period writes it).
bool afterPeriod(const WorkDate& d, const std::string& last) {
    const int year = rtl::strToInt(rtl::copy(last, 1, 4));
    const int month = rtl::strToInt(rtl::copy(last, 6, 2));
    const int day = rtl::strToInt(rtl::copyFrom(last, 9));
    if (d.year != year) return d.year > year;
    if (d.month != month) return d.month > month;
    return d.day > day;
}

}  // namespace

WorkDate parseWorkDate(const std::string& text) {
    WorkDate d;
    int yy = 0;
    if (!readNumber(rtl::copy(text, 1, 2), yy) || yy < 0 || !readNumber(rtl::copy(text, 4, 2), d.month) ||
        !readNumber(rtl::copy(text, 7, 2), d.day) || rtl::copy(text, 3, 1) != "/" ||
        rtl::copy(text, 6, 1) != "/")
        throw rtl::ConversionError(rtl::msg::notDate(text));
    d.year = 2000 + yy;
    if (!rtl::isValidDate(d.year, d.month, d.day)) throw rtl::ConversionError(rtl::msg::notDate(text));
    return d;
}

PunchPeriod punchPeriod(const std::string& closingText, const std::string& workDateText) {
    const std::string closing = rtl::trim(closingText);
    const WorkDate d = parseWorkDate(workDateText);

    if (closing == "31") {
        const std::string first = yearMonth(d.year, d.month) + "/01";
        const std::string last =
            yearMonth(d.year, d.month) + "/" + rtl::twoDigits(rtl::daysInMonth(d.year, d.month));
        return withMonths(first, last);
    }

    // The pay month that holds the date: the month before it when the date
    // is on or before the closing day, else its own month. Only "31" means
    // the calendar month here; "30" follows the day-after rule like any day.
    int payYear = d.year, payMonth = d.month;
    if (!closing.empty()) {
        const int k = rtl::strToInt(closing);
        if (d.day <= k) previousMonth(payYear, payMonth);
        const int firstDay = k + 1;
        if (k >= 1 && k <= 31 && firstDay <= rtl::daysInMonth(payYear, payMonth)) {
            int lastYear = payYear, lastMonth = payMonth;
            nextMonth(lastYear, lastMonth);
            return withMonths(yearMonth(payYear, payMonth) + "/" + rtl::twoDigits(firstDay),
                              yearMonth(lastYear, lastMonth) + "/" + closing);
        }
    }
    // The main window's rule places what the day-after rule cannot (an empty
    // closing day, a first day the month lacks): its period of that pay
    // month, or of the next one when the date lies beyond it (with "30"
    // after a 30-day month the main window's calendar month is the next).
    const app::PayPeriod p = app::monthlyPayPeriod(rtl::intToStr(payYear), rtl::twoDigits(payMonth), closing);
    if (!afterPeriod(d, p.last)) return withMonths(p.first, p.last);
    nextMonth(payYear, payMonth);
    const app::PayPeriod next = app::monthlyPayPeriod(rtl::intToStr(payYear), rtl::twoDigits(payMonth), closing);
    return withMonths(next.first, next.last);
}

EntryClock entryClock(rtl::TDateTime now) {
    EntryClock c;
    c.time = rtl::formatDateTime("hh:nn:ss", now);
    const int hour = rtl::decodeTime(now).hour;
    rtl::TDateTime workDay = rtl::dateOf(now);
    if (hour < 7) {
        c.hour = rtl::intToStr(hour + 24);
        workDay = rtl::incDay(workDay, -1);
    } else {
        c.hour = rtl::copy(c.time, 1, 2);
    }
    c.minute = rtl::copy(c.time, 4, 2);
    c.workDate = rtl::formatDateTime("yy/mm/dd", workDay);
    return c;
}

PunchTime punchTime(const std::string& hourText, const std::string& minuteText) {
    int h = 0, m = 0;
    if (!readNumber(hourText, h) || !readNumber(minuteText, m) || h < 0 || h > 47 || m < 0 || m > 59 ||
        rtl::length(rtl::trim(hourText)) > 2 || rtl::length(rtl::trim(minuteText)) > 2)
        throw rtl::ConversionError(rtl::msg::notTime(hourText + ":" + minuteText));
    return {rtl::twoDigits(h), rtl::twoDigits(m)};
}

std::optional<std::string> checkPunchField(PunchField field, const std::optional<std::string>& value) {
    if (!value || rtl::trim(*value).empty()) return std::nullopt;
    const int n = rtl::strToInt(*value);
    int low = 0, high = 0;
    switch (field) {
    case PunchField::Month: low = 1, high = 12; break;
    case PunchField::Day: low = 1, high = 31; break;
    case PunchField::Hour: low = 0, high = 47; break;
    case PunchField::Minute: low = 0, high = 59; break;
    }
    if (n < low || n > high) return std::nullopt;
    return rtl::twoDigits(n);
}

}  // namespace timecard
