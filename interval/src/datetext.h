// The text conversions Kronvale needs, with the rules and messages of the
// program's runtime: integers, "yy/mm/dd" dates and "yyyy/mm/dd h:m:s"
// date-times. Internal to Kronvale; failures throw ConversionError.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace kronvale::detail {

class ConversionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Optional leading blanks, an optional sign, then decimal digits to the end.
// Anything else, an empty text or a value outside 32 bits throws
// "'<text>' は整数ではありません".
std::int32_t textToInt(std::string_view text);

// "yy/mm/dd" or "yyyy/mm/dd", month and day of any number of digits, blanks
// around the fields allowed. A year written with one or two digits is the year
// in [currentYear - 50, currentYear + 49] that ends in those digits.
// Throws "'<text>' は日付ではありません".
double textToDate(std::string_view text, int currentYear);

// A date as textToDate takes it, optionally followed by a blank and h:m[:s]
// (fields of any number of digits; hours above 23, minutes or seconds above 59
// refused). Throws "'<text>' は日付または時刻ではありません".
double textToDateTime(std::string_view text, int currentYear);

// The date-time of a calendar date and a time of day: the day number
// (days since 1899-12-30) plus milliseconds / 86400000.0.
double encodeDateTime(int year, int month, int day, int hour, int minute, int second);

// The date part of a date-time as "yyyy/mm/dd".
std::string formatYmd(double dateTime);

// The calendar year of today on the local clock.
int currentYear();

}  // namespace kronvale::detail
