// Date-times as days since 1899-12-30: encoding, decoding, parsing,
// formatting and calendar arithmetic.
//
// The program works with fixed regional formats: short date "yy/MM/dd",
// long time "HH:mm:ss", short time "HH:mm", date separator "/", time
// separator ":". Every conversion below that takes no format of its own uses
// them.
//
// Two-digit years: a year written with one or two digits means the year in
// [current year - 50, current year + 49] that ends in those digits; the
// current year comes from rtl::currentYear() (see clock.h), so tests can fix it.
#pragma once

#include <string>
#include <string_view>

#include "rtl/types.h"

namespace rtl {

inline constexpr double MSecsPerDay = 86400000.0;
inline constexpr const char* ShortDateFormat = "yy/mm/dd";
inline constexpr const char* LongTimeFormat = "hh:nn:ss";
inline constexpr const char* ShortTimeFormat = "hh:nn";
inline constexpr char DateSeparator = '/';
inline constexpr char TimeSeparator = ':';

struct DateParts {
    int year = 0, month = 0, day = 0;
    bool operator==(const DateParts&) const = default;
};
struct TimeParts {
    int hour = 0, minute = 0, second = 0, msec = 0;
    bool operator==(const TimeParts&) const = default;
};

// ---- calendar ----------------------------------------------------------
bool isLeapYear(int year);
int daysInMonth(int year, int month);                          // 0 for a month outside 1..12
bool isValidDate(int year, int month, int day);                // year 1..9999
bool isValidTime(int hour, int minute, int second, int msec);  // 0..23, 0..59, 0..59, 0..999

// ---- encode / decode ---------------------------------------------------
// Day number of a date (1899-12-30 is 0). Throws ConversionError for an
// impossible date.
TDateTime encodeDate(int year, int month, int day);
bool tryEncodeDate(int year, int month, int day, TDateTime& out);
// Fraction of a day: ms / 86400000.0 where ms is the time in milliseconds.
// Throws ConversionError for an impossible time.
TDateTime encodeTime(int hour, int minute, int second, int msec = 0);
bool tryEncodeTime(int hour, int minute, int second, int msec, TDateTime& out);
// day + ms / 86400000.0, evaluated in exactly these two double operations
// (2024-01-15 02:00 has the bits 0x40E61F42AAAAAAAB). That is not always the
// double nearest to the instant: the division rounds once and the addition
// again, which lands one unit in the last place off for one millisecond in
// some tens of thousands (2011-08-05 23:01:20.429 encodes as
// 0x40E3E71EB24AE314, one above the nearest double). The interval library's
// results are bit-exact on this encoding, so it stays. For days before 1899-12-30 the time is
// subtracted (day - fraction), as the stored values of the Windows program
// have it.
TDateTime encodeDateTime(int year, int month, int day, int hour, int minute, int second, int msec = 0);

// Decoding rounds the value to the nearest millisecond first, so a value a
// hair below midnight decodes as the next day at 00:00:00.000.
DateParts decodeDate(TDateTime value);
void decodeDate(TDateTime value, int& year, int& month, int& day);
TimeParts decodeTime(TDateTime value);
void decodeTime(TDateTime value, int& hour, int& minute, int& second, int& msec);

int yearOf(TDateTime value);
int monthOf(TDateTime value);
int dayOf(TDateTime value);
// 1 = Sunday ... 7 = Saturday.
int dayOfWeek(TDateTime value);
// Date part (whole days) and time part (fraction) of a value.
TDateTime dateOf(TDateTime value);
TDateTime timeOf(TDateTime value);

// ---- arithmetic --------------------------------------------------------
// Adds `months` (may be negative) keeping the time of day; a day beyond the
// end of the target month becomes its last day (31 March - 1 month = end of
// February).
TDateTime incMonth(TDateTime value, int months = 1);
TDateTime incDay(TDateTime value, int days = 1);
// A count of years whose months overflow int raises ArithmeticError.
TDateTime incYear(TDateTime value, int years = 1);
// Whole days between two instants, without sign. NaN, infinities and spans
// beyond long long raise ArithmeticError.
long long daysBetween(TDateTime a, TDateTime b);
// Age in whole years at `onDate`: the whole days between the two dates,
// without sign, divided by 365.25 and truncated (so 40 * 365.25 - 1 days is
// still 39). Spans daysBetween refuses, and ages beyond int, raise
// ArithmeticError.
int ageInYears(TDateTime birthDate, TDateTime onDate);

// ---- two-digit years ---------------------------------------------------
// 0..99 -> the year in [currentYear() - 50, currentYear() + 49] ending in it.
int expandTwoDigitYear(int twoDigitYear);

// ---- parsing -----------------------------------------------------------
// Dates: "y/m/d" where the year has 1-2 digits (window above) or 3-4 digits
// (taken as written), month and day 1-2 digits ("2014/08/5"); also "m/d" in
// the current year. Leading and trailing blanks are allowed. Impossible
// dates fail. Raises ConversionError "'%s' は日付ではありません".
TDateTime strToDate(std::string_view text);
bool tryStrToDate(std::string_view text, TDateTime& out);
// Times: "h:m" or "h:m:s" (optionally ".zzz" milliseconds), any number of
// digits per field ("010:00:00"), hours 0..23, minutes and seconds 0..59.
// Raises ConversionError "'%s' は時刻ではありません".
TDateTime strToTime(std::string_view text);
bool tryStrToTime(std::string_view text, TDateTime& out);
// A date, optionally followed by blanks and a time; or a time alone (day 0).
// Raises ConversionError "'%s' は日付または時刻ではありません".
TDateTime strToDateTime(std::string_view text);
bool tryStrToDateTime(std::string_view text, TDateTime& out);

// ---- formatting --------------------------------------------------------
std::string dateToStr(TDateTime value);       // "yy/mm/dd"
std::string timeToStr(TDateTime value);       // "hh:nn:ss"
std::string shortTimeToStr(TDateTime value);  // "hh:nn"
// Always "yy/mm/dd hh:nn:ss", also at midnight.
std::string dateTimeToStr(TDateTime value);

// Format tokens (case-insensitive):
//   y, yy -> two-digit year; yyy, yyyy -> four-digit year
//   m, mm -> month (no pad / two digits); mmm, mmmm -> "7月"
//   m, mm when the previous letter token was an hour ("hh:mm", "h mm") -> minutes
//   d, dd -> day; ddd -> "月" (day-of-week), dddd -> "月曜日"; ddddd -> short date;
//   dddddd -> "yyyy年m月d日"
//   h, hh -> hour; n, nn -> minute; s, ss -> second; z, zzz -> milliseconds
//   t -> short time; tt -> long time; c -> short date, plus long time when not midnight
//   g -> first character of the Japanese era name ("平"); gg, ggg -> era name ("平成")
//   e -> year of the era; ee -> year of the era in two digits
//   "/" and ":" -> the separators; text in "..." or '...' is copied as is; any
//   other character is copied.
// Eras: 明治 from 1868-01-01, 大正 from 1912-07-30, 昭和 from 1926-12-25,
// 平成 from 1989-01-08, 令和 from 2019-05-01; before 1868 no era (empty
// name, era year 0).
std::string formatDateTime(std::string_view mask, TDateTime value);

// Era of a date: its name ("" before 明治) and year of the era (1 = 元年).
struct Era {
    std::string name;
    int year = 0;
};
Era eraOf(TDateTime value);

}  // namespace rtl
