#include "rtl/datetime.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>

#include "rtl/clock.h"
#include "rtl/errors.h"
#include "rtl/rounding.h"

namespace rtl {

namespace {

constexpr int64_t kMsPerDay = 86400000;
// days_from_civil(1899, 12, 30) relative to 1970-01-01.
constexpr int64_t kEpochShift = 25569;

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm).
int64_t daysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

DateParts civilFromDays(int64_t z) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t y = static_cast<int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return {static_cast<int>(y + (m <= 2)), static_cast<int>(m), static_cast<int>(d)};
}

// A value split into whole days and milliseconds of the day, after rounding
// to the nearest millisecond.
struct Split {
    int64_t day;
    int64_t ms;
};

Split split(TDateTime value) {
    if (std::isnan(value) || std::isinf(value) || std::fabs(value) > 3.0e6)
        throw ConversionError(msg::invalidDateEncode);
    const int64_t total = std::llround(value * static_cast<double>(kMsPerDay));
    const int64_t day = total / kMsPerDay;  // toward zero, as the day part is
    int64_t ms = total % kMsPerDay;
    if (ms < 0) ms = -ms;
    return {day, ms};
}

TDateTime combine(int64_t day, int64_t ms) {
    const double d = static_cast<double>(day);
    const double f = static_cast<double>(ms) / MSecsPerDay;
    return day >= 0 ? d + f : d - f;
}

// ---- parsing helpers ----------------------------------------------------

bool isBlank(char c) { return static_cast<unsigned char>(c) <= 0x20 && c != '\0'; }

void skipBlanks(std::string_view s, std::size_t& i) {
    while (i < s.size() && isBlank(s[i])) ++i;
}

// Reads decimal digits; fails on none or more than maxDigits. The value
// saturates, so a field of many digits cannot overflow and is refused by the
// range checks instead.
bool scanNumber(std::string_view s, std::size_t& i, int maxDigits, int& value, int& digits) {
    constexpr int64_t kSaturated = 1000000000;
    std::size_t j = i;
    int64_t v = 0;
    while (j < s.size() && s[j] >= '0' && s[j] <= '9') {
        if (static_cast<int>(j - i) >= maxDigits) return false;
        v = std::min(v * 10 + (s[j] - '0'), kSaturated);
        ++j;
    }
    digits = static_cast<int>(j - i);
    if (digits == 0) return false;
    value = static_cast<int>(v);
    i = j;
    return true;
}

bool scanDate(std::string_view s, std::size_t& i, TDateTime& out) {
    int n[3] = {0, 0, 0};
    int digits[3] = {0, 0, 0};
    int count = 0;
    std::size_t j = i;
    if (!scanNumber(s, j, 4, n[0], digits[0])) return false;
    count = 1;
    while (count < 3 && j < s.size() && s[j] == DateSeparator) {
        ++j;
        if (!scanNumber(s, j, count == 0 ? 4 : 2, n[count], digits[count])) return false;
        ++count;
    }
    int y, m, d;
    if (count == 3) {
        y = digits[0] <= 2 ? expandTwoDigitYear(n[0]) : n[0];
        m = n[1];
        d = n[2];
    } else if (count == 2) {
        if (digits[0] > 2) return false;
        y = currentYear();
        m = n[0];
        d = n[1];
    } else {
        return false;
    }
    if (!tryEncodeDate(y, m, d, out)) return false;
    i = j;
    return true;
}

bool scanTime(std::string_view s, std::size_t& i, TDateTime& out) {
    // Fields may have any number of digits ("1:0:00", "010:00:00").
    constexpr int kMaxDigits = std::numeric_limits<int>::max();
    int h = 0, m = 0, sec = 0, ms = 0, digits = 0;
    std::size_t j = i;
    if (!scanNumber(s, j, kMaxDigits, h, digits)) return false;
    if (j >= s.size() || s[j] != TimeSeparator) return false;
    ++j;
    if (!scanNumber(s, j, kMaxDigits, m, digits)) return false;
    if (j < s.size() && s[j] == TimeSeparator) {
        ++j;
        if (!scanNumber(s, j, kMaxDigits, sec, digits)) return false;
        if (j < s.size() && s[j] == '.') {
            ++j;
            if (!scanNumber(s, j, 3, ms, digits)) return false;
            for (; digits < 3; ++digits) ms *= 10;
        }
    }
    if (!tryEncodeTime(h, m, sec, ms, out)) return false;
    i = j;
    return true;
}

bool atEnd(std::string_view s, std::size_t i) {
    skipBlanks(s, i);
    return i >= s.size();
}

// ---- formatting helpers -------------------------------------------------

void appendPadded(std::string& out, int64_t value, int width) {
    std::string s = std::to_string(value < 0 ? -value : value);
    if (value < 0) out += '-';
    for (int k = static_cast<int>(s.size()); k < width; ++k) out += '0';
    out += s;
}

struct EraStart {
    int year, month, day;
    const char* name;
};
constexpr EraStart kEras[] = {
    {2019, 5, 1, "令和"}, {1989, 1, 8, "平成"}, {1926, 12, 25, "昭和"}, {1912, 7, 30, "大正"}, {1868, 1, 1, "明治"},
};

const char* const kDayShort[] = {"日", "月", "火", "水", "木", "金", "土"};

}  // namespace

// ---- calendar ---------------------------------------------------------------

bool isLeapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int daysInMonth(int y, int m) {
    static constexpr int table[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (m < 1 || m > 12) return 0;
    return m == 2 && isLeapYear(y) ? 29 : table[m - 1];
}

bool isValidDate(int y, int m, int d) {
    return y >= 1 && y <= 9999 && m >= 1 && m <= 12 && d >= 1 && d <= daysInMonth(y, m);
}

bool isValidTime(int h, int n, int s, int ms) {
    return h >= 0 && h <= 23 && n >= 0 && n <= 59 && s >= 0 && s <= 59 && ms >= 0 && ms <= 999;
}

// ---- encode / decode --------------------------------------------------------

bool tryEncodeDate(int y, int m, int d, TDateTime& out) {
    if (!isValidDate(y, m, d)) return false;
    out = static_cast<double>(daysFromCivil(y, static_cast<unsigned>(m), static_cast<unsigned>(d)) + kEpochShift);
    return true;
}

TDateTime encodeDate(int y, int m, int d) {
    TDateTime r;
    if (!tryEncodeDate(y, m, d, r)) throw ConversionError(msg::invalidDateEncode);
    return r;
}

bool tryEncodeTime(int h, int n, int s, int ms, TDateTime& out) {
    if (!isValidTime(h, n, s, ms)) return false;
    out = static_cast<double>(((h * 60LL + n) * 60 + s) * 1000 + ms) / MSecsPerDay;
    return true;
}

TDateTime encodeTime(int h, int n, int s, int ms) {
    TDateTime r;
    if (!tryEncodeTime(h, n, s, ms, r)) throw ConversionError(msg::invalidTimeEncode);
    return r;
}

TDateTime encodeDateTime(int y, int m, int d, int h, int n, int s, int ms) {
    const TDateTime day = encodeDate(y, m, d);
    if (!isValidTime(h, n, s, ms)) throw ConversionError(msg::invalidTimeEncode);
    return combine(static_cast<int64_t>(day), ((h * 60LL + n) * 60 + s) * 1000 + ms);
}

DateParts decodeDate(TDateTime value) { return civilFromDays(split(value).day - kEpochShift); }

void decodeDate(TDateTime value, int& y, int& m, int& d) {
    const DateParts p = decodeDate(value);
    y = p.year, m = p.month, d = p.day;
}

TimeParts decodeTime(TDateTime value) {
    const int64_t ms = split(value).ms;
    return {static_cast<int>(ms / 3600000), static_cast<int>(ms / 60000 % 60), static_cast<int>(ms / 1000 % 60),
            static_cast<int>(ms % 1000)};
}

void decodeTime(TDateTime value, int& h, int& n, int& s, int& ms) {
    const TimeParts p = decodeTime(value);
    h = p.hour, n = p.minute, s = p.second, ms = p.msec;
}

int yearOf(TDateTime v) { return decodeDate(v).year; }
int monthOf(TDateTime v) { return decodeDate(v).month; }
int dayOf(TDateTime v) { return decodeDate(v).day; }

int dayOfWeek(TDateTime v) {
    // 1899-12-30 was a Saturday (7).
    const int64_t day = split(v).day;
    int64_t r = (day + 6) % 7;
    if (r < 0) r += 7;
    return static_cast<int>(r) + 1;
}

TDateTime dateOf(TDateTime v) { return static_cast<double>(split(v).day); }

TDateTime timeOf(TDateTime v) { return static_cast<double>(split(v).ms) / MSecsPerDay; }

// ---- arithmetic ---------------------------------------------------------------

TDateTime incMonth(TDateTime value, int months) {
    const Split sp = split(value);
    const DateParts p = civilFromDays(sp.day - kEpochShift);
    const int64_t total = static_cast<int64_t>(p.year) * 12 + (p.month - 1) + months;
    int64_t y = total / 12;
    int64_t m = total % 12;
    if (m < 0) {
        m += 12;
        --y;
    }
    const int month = static_cast<int>(m) + 1;
    const int year = static_cast<int>(y);
    if (year < 1 || year > 9999) throw ConversionError(msg::invalidDateEncode);
    const int dim = daysInMonth(year, month);
    const int day = p.day > dim ? dim : p.day;
    return combine(static_cast<int64_t>(encodeDate(year, month, day)), sp.ms);
}

TDateTime incYear(TDateTime value, int years) {
    const long long months = static_cast<long long>(years) * 12;
    if (months > std::numeric_limits<int>::max() || months < std::numeric_limits<int>::min())
        throw ArithmeticError(msg::intOverflow);
    return incMonth(value, static_cast<int>(months));
}

TDateTime incDay(TDateTime value, int days) {
    const Split sp = split(value);
    return combine(sp.day + days, sp.ms);
}

long long daysBetween(TDateTime a, TDateTime b) {
    // Half a millisecond keeps a span that is a hair short of a whole day
    // from losing that day.
    const double span = checkFinite(std::fabs(checkFinite(a) - checkFinite(b))) + 0.5 / MSecsPerDay;
    if (span >= 9223372036854775808.0) throw ArithmeticError(msg::floatOverflow);
    return static_cast<long long>(std::trunc(span));
}

int ageInYears(TDateTime birthDate, TDateTime onDate) {
    // days / 365.25 == days * 4 / 1461, computed in integers (in two steps,
    // so that no span of days overflows).
    const long long days = daysBetween(onDate, birthDate);
    const long long years = days / 1461 * 4 + days % 1461 * 4 / 1461;
    if (years > std::numeric_limits<int>::max()) throw ArithmeticError(msg::intOverflow);
    return static_cast<int>(years);
}

int expandTwoDigitYear(int yy) {
    const int cy = currentYear();
    const int low = cy - 50;
    int y = low - ((low % 100) + 100) % 100 + yy;  // first year >= low's century ending in yy
    if (y < low) y += 100;
    return y;
}

// ---- parsing --------------------------------------------------------------------

bool tryStrToDate(std::string_view text, TDateTime& out) {
    std::size_t i = 0;
    skipBlanks(text, i);
    TDateTime v;
    if (!scanDate(text, i, v) || !atEnd(text, i)) return false;
    out = v;
    return true;
}

TDateTime strToDate(std::string_view text) {
    TDateTime v;
    if (!tryStrToDate(text, v)) throw ConversionError(msg::notDate(text));
    return v;
}

bool tryStrToTime(std::string_view text, TDateTime& out) {
    std::size_t i = 0;
    skipBlanks(text, i);
    TDateTime v;
    if (!scanTime(text, i, v) || !atEnd(text, i)) return false;
    out = v;
    return true;
}

TDateTime strToTime(std::string_view text) {
    TDateTime v;
    if (!tryStrToTime(text, v)) throw ConversionError(msg::notTime(text));
    return v;
}

bool tryStrToDateTime(std::string_view text, TDateTime& out) {
    std::size_t i = 0;
    skipBlanks(text, i);
    TDateTime date;
    if (scanDate(text, i, date)) {
        if (atEnd(text, i)) {
            out = date;
            return true;
        }
        if (isBlank(text[i])) {
            skipBlanks(text, i);
            TDateTime time;
            if (scanTime(text, i, time) && atEnd(text, i)) {
                out = combine(static_cast<int64_t>(date), std::llround(time * MSecsPerDay));
                return true;
            }
        }
    }
    return tryStrToTime(text, out);
}

TDateTime strToDateTime(std::string_view text) {
    TDateTime v;
    if (!tryStrToDateTime(text, v)) throw ConversionError(msg::notDateTime(text));
    return v;
}

// ---- formatting -------------------------------------------------------------------

std::string dateToStr(TDateTime v) { return formatDateTime(ShortDateFormat, v); }
std::string timeToStr(TDateTime v) { return formatDateTime(LongTimeFormat, v); }
std::string shortTimeToStr(TDateTime v) { return formatDateTime(ShortTimeFormat, v); }
std::string dateTimeToStr(TDateTime v) { return formatDateTime("yy/mm/dd hh:nn:ss", v); }

Era eraOf(TDateTime value) {
    const DateParts p = decodeDate(value);
    for (const EraStart& e : kEras) {
        const bool onOrAfter =
            p.year != e.year ? p.year > e.year : (p.month != e.month ? p.month > e.month : p.day >= e.day);
        if (onOrAfter) return {e.name, p.year - e.year + 1};
    }
    return {};
}

std::string formatDateTime(std::string_view mask, TDateTime value) {
    const Split sp = split(value);
    const DateParts date = civilFromDays(sp.day - kEpochShift);
    const int64_t ms = sp.ms;
    const int hour = static_cast<int>(ms / 3600000);
    const int minute = static_cast<int>(ms / 60000 % 60);
    const int second = static_cast<int>(ms / 1000 % 60);
    const int msec = static_cast<int>(ms % 1000);

    std::string out;
    char lastToken = ' ';
    std::size_t i = 0;
    auto runLength = [&](char upper) {
        std::size_t n = 0;
        while (i + n < mask.size() && (mask[i + n] == upper || mask[i + n] == static_cast<char>(upper + 32))) ++n;
        return static_cast<int>(n);
    };
    while (i < mask.size()) {
        const char c = mask[i];
        char token = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
        if (token >= 'A' && token <= 'Z') {
            if (token == 'M' && lastToken == 'H') token = 'N';
            lastToken = token;
        }
        switch (token) {
        case 'Y': {
            const int n = runLength('Y');
            i += n;
            if (n <= 2) appendPadded(out, date.year % 100, 2);
            else appendPadded(out, date.year, 4);
            break;
        }
        case 'M': {
            const int n = runLength('M');
            i += n;
            if (n <= 2) appendPadded(out, date.month, n);
            else out += std::to_string(date.month) + "月";
            break;
        }
        case 'N': {
            // Minutes, written as "n"/"nn" or as "m"/"mm" after an hour.
            const char letter = static_cast<char>(c >= 'a' ? c - 32 : c);
            const int n = runLength(letter);
            i += n;
            appendPadded(out, minute, n >= 2 ? 2 : 1);
            break;
        }
        case 'D': {
            const int n = runLength('D');
            i += n;
            if (n <= 2) {
                appendPadded(out, date.day, n);
            } else if (n == 3 || n == 4) {
                out += kDayShort[dayOfWeek(value) - 1];
                if (n == 4) out += "曜日";
            } else if (n == 5) {
                out += formatDateTime(ShortDateFormat, value);
            } else {
                out += std::to_string(date.year) + "年" + std::to_string(date.month) + "月" + std::to_string(date.day) +
                       "日";
            }
            break;
        }
        case 'H': {
            const int n = runLength('H');
            i += n;
            appendPadded(out, hour, n >= 2 ? 2 : 1);
            break;
        }
        case 'S': {
            const int n = runLength('S');
            i += n;
            appendPadded(out, second, n >= 2 ? 2 : 1);
            break;
        }
        case 'Z': {
            const int n = runLength('Z');
            i += n;
            appendPadded(out, msec, n >= 3 ? 3 : 1);
            break;
        }
        case 'T': {
            const int n = runLength('T');
            i += n;
            out += formatDateTime(n >= 2 ? LongTimeFormat : ShortTimeFormat, value);
            break;
        }
        case 'C': {
            ++i;
            out += formatDateTime(ShortDateFormat, value);
            if (ms != 0) out += ' ' + formatDateTime(LongTimeFormat, value);
            break;
        }
        case 'G': {
            const int n = runLength('G');
            i += n;
            const Era era = eraOf(value);
            if (n == 1) {
                // First character of the era name (three UTF-8 bytes).
                out += era.name.substr(0, 3);
            } else {
                out += era.name;
            }
            break;
        }
        case 'E': {
            const int n = runLength('E');
            i += n;
            appendPadded(out, eraOf(value).year, n >= 2 ? 2 : 1);
            break;
        }
        case '"':
        case '\'': {
            const std::size_t close = mask.find(c, i + 1);
            if (close == std::string_view::npos) {
                out.append(mask.substr(i + 1));
                i = mask.size();
            } else {
                out.append(mask.substr(i + 1, close - i - 1));
                i = close + 1;
            }
            break;
        }
        case '/':
            out += DateSeparator;
            ++i;
            break;
        case ':':
            out += TimeSeparator;
            ++i;
            break;
        default:
            out += c;
            ++i;
            break;
        }
    }
    return out;
}

}  // namespace rtl
