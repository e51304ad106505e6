// The pay period: which dates a month's pay covers, given the company's
// closing day (締日). The rules compute on dates; texts are read and written
// only at the edges, where the main window's hidden fields and the SQL
// parameters need them.
#pragma once

#include <string>

#include "rtl/types.h"

namespace period {

// ---------------------------------------------------------------- on dates

// The first and last day of a period.
struct DateRange {
    rtl::TDateTime first = 0;
    rtl::TDateTime last = 0;
    bool contains(rtl::TDateTime day) const { return first <= day && day <= last; }
    bool operator==(const DateRange&) const = default;
};

// The calendar month `year`/`month`.
DateRange calendarMonth(int year, int month);

// The period of pay month `year`/`month` for closing day `closingDay` (1..31):
// from the day after the closing day in the pay month to the closing day of
// the next month. A first day the pay month lacks becomes the 1st of the next
// month; a last day its month lacks becomes that month's last day.
DateRange afterClosingDay(int year, int month, int closingDay);

// ---------------------------------------------------------------- texts

// The monthly pay period as the main window holds it in EditD1 and EditD2.
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
//    stored: closing day 5 gives ".../5"; the first keeps year and month as
//    typed).
// A first day past the end of a short month (closing day 28 in February of a
// common year) becomes the 1st of the next month; a last day past the end of
// its month becomes that month's last day. So every period names real dates.
// Throws rtl::ConversionError for a closing day that is not a whole number
// (or not a day of a month, 1..31), and for a year or month that make no date.
PayPeriod monthlyPayPeriod(const std::string& year, const std::string& month, const std::string& closingText);

// A work date typed as "yy/mm/dd" (the century is always 20).
struct WorkDate {
    int year = 0, month = 0, day = 0;
    bool operator==(const WorkDate&) const = default;
};
// Characters 1-2, 4-5 and 7-8 of the text, each read as a number (blanks
// around a number are allowed, as a masked edit leaves them). Raises
// rtl::ConversionError "'<text>' は日付ではありません" for a text that is not a
// real date.
WorkDate parseWorkDate(const std::string& text);

// The pay period of a work date, as the time-card entry checks its punch
// table against it.
struct PunchPeriod {
    std::string first;       // "yyyy/mm/dd"
    std::string last;        // "yyyy/mm/" + the closing day as stored, or "yyyy/mm/dd"
    std::string firstMonth;  // characters 6-7 of first
    std::string lastMonth;   // characters 6-7 of last
    bool operator==(const PunchPeriod&) const = default;
};

// The period that holds the work date `workDateText` ("yy/mm/dd") for the
// company's closing day `closingText` (blanks around it ignored):
//  - "31" only: the calendar month of the date;
//  - a closing day k (30 included) whose following day exists where the
//    period starts: from day k + 1 of one month to day k of the next, the
//    date inside it;
//  - otherwise (empty, "30" after a 30-day month, 28 to 30 after a short
//    February, a day outside 1..31) the monthly pay period of the pay month
//    that holds the date: empty and "30" give the calendar month, a first day
//    that does not exist moves to the 1st of the next month, a day outside
//    1..31 fails.
// Raises rtl::ConversionError for a closing day that is not a number and for
// a work date that is not a date.
PunchPeriod punchPeriod(const std::string& closingText, const std::string& workDateText);

}  // namespace period
