#include "datetext.h"

#include <cmath>
#include <cstdio>
#include <ctime>

namespace kronvale::detail {
namespace {

constexpr double kMillisecondsPerDay = 86400000.0;

[[noreturn]] void fail(const char* pattern, std::string_view text) {
    std::string message = "'";
    message.append(text);
    message.append(pattern);
    throw ConversionError(message);
}

bool isLeap(long y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int daysInMonth(long y, long m) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && isLeap(y) ? 29 : kDays[m - 1];
}

// Days from 1970-01-01 of a proleptic Gregorian date.
long long daysFromCivil(long long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

void civilFromDays(long long z, long long& y, unsigned& m, unsigned& d) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y = static_cast<long long>(yoe) + era * 400 + (m <= 2);
}

const long long kEpoch = daysFromCivil(1899, 12, 30);

// Reads the fields of a date or time text: blanks before a number or a
// separator are skipped, as the runtime's scanner does.
class Scanner {
public:
    explicit Scanner(std::string_view text) : text_(text) {}

    void skipBlanks() {
        while (pos_ < text_.size() && text_[pos_] == ' ') ++pos_;
    }

    bool atEnd() {
        skipBlanks();
        return pos_ == text_.size();
    }

    // Decimal digits; the value saturates so that an absurd field cannot
    // overflow and is refused by the range checks instead.
    bool number(long& value, int& digits) {
        skipBlanks();
        value = 0;
        digits = 0;
        while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9') {
            if (value < 1000000) value = value * 10 + (text_[pos_] - '0');
            ++digits;
            ++pos_;
        }
        return digits > 0;
    }

    bool symbol(char c) {
        skipBlanks();
        if (pos_ < text_.size() && text_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }

    // A blank right here (before any skipping).
    bool blank() const { return pos_ < text_.size() && text_[pos_] == ' '; }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

bool scanDate(Scanner& sc, int currentYear, double& date) {
    long y = 0, m = 0, d = 0;
    int yearDigits = 0, digits = 0;
    if (!sc.number(y, yearDigits) || !sc.symbol('/') || !sc.number(m, digits) || !sc.symbol('/') ||
        !sc.number(d, digits))
        return false;
    if (yearDigits <= 2) {
        const long first = currentYear - 50;
        y += first / 100 * 100;
        if (y < first) y += 100;
    }
    if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1 || d > daysInMonth(y, m)) return false;
    date = static_cast<double>(daysFromCivil(y, static_cast<unsigned>(m), static_cast<unsigned>(d)) - kEpoch);
    return true;
}

bool scanTime(Scanner& sc, double& time) {
    long h = 0, n = 0, s = 0;
    int digits = 0;
    if (!sc.number(h, digits) || !sc.symbol(':') || !sc.number(n, digits)) return false;
    if (sc.symbol(':') && !sc.number(s, digits)) return false;
    if (h > 23 || n > 59 || s > 59) return false;
    const long ms = h * 3600000L + n * 60000L + s * 1000L;
    time = static_cast<double>(ms) / kMillisecondsPerDay;
    return true;
}

}  // namespace

std::int32_t textToInt(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size()) fail("' は整数ではありません", text);
    long long value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') fail("' は整数ではありません", text);
        value = value * 10 + (text[i] - '0');
        if (value > 2147483648LL) fail("' は整数ではありません", text);
    }
    if (negative) value = -value;
    if (value > 2147483647LL) fail("' は整数ではありません", text);
    return static_cast<std::int32_t>(value);
}

double textToDate(std::string_view text, int currentYear) {
    Scanner sc(text);
    double date = 0;
    if (!scanDate(sc, currentYear, date) || !sc.atEnd()) fail("' は日付ではありません", text);
    return date;
}

double textToDateTime(std::string_view text, int currentYear) {
    Scanner sc(text);
    double date = 0, time = 0;
    if (!scanDate(sc, currentYear, date)) fail("' は日付または時刻ではありません", text);
    const bool separated = sc.blank();
    if (!sc.atEnd()) {
        if (!separated || !scanTime(sc, time) || !sc.atEnd()) fail("' は日付または時刻ではありません", text);
    }
    // Before 1899-12-30 the day number is negative and the time of day is
    // counted away from zero, as the date-time format defines it.
    return date >= 0 ? date + time : date - time;
}

double encodeDateTime(int year, int month, int day, int hour, int minute, int second) {
    const double date =
        static_cast<double>(daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) - kEpoch);
    const long ms = hour * 3600000L + minute * 60000L + second * 1000L;
    const double time = static_cast<double>(ms) / kMillisecondsPerDay;
    return date >= 0 ? date + time : date - time;
}

std::string formatYmd(double dateTime) {
    long long y = 0;
    unsigned m = 0, d = 0;
    civilFromDays(static_cast<long long>(std::trunc(dateTime)) + kEpoch, y, m, d);
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04lld/%02u/%02u", y, m, d);
    return buffer;
}

int currentYear() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local.tm_year + 1900;
}

}  // namespace kronvale::detail
