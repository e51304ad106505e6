// The runtime's text -> number, date and time conversions and the date
// arithmetic. Each conversion must agree with its throwing twin and read its
// own output back; numbers must be the nearest double (checked against the C
// library); every arithmetic call on any value returns or raises rtl::Error.
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzz.h"
#include "rtl/clock.h"
#include "rtl/convert.h"
#include "rtl/datetime.h"
#include "rtl/errors.h"

namespace {

bool isBlank(char c) { return static_cast<unsigned char>(c) <= 0x20 && c != '\0'; }

std::string trimmed(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && isBlank(s[b])) ++b;
    while (e > b && isBlank(s[e - 1])) --e;
    return s.substr(b, e - b);
}

// The float grammar the runtime promises, read independently.
bool floatGrammar(const std::string& t) {
    size_t i = 0, digits = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i, ++digits;
    if (i < t.size() && t[i] == '.')
        for (++i; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i) ++digits;
    if (digits == 0) return false;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
        size_t e = 0;
        while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i, ++e;
        if (e == 0) return false;
    }
    return i == t.size();
}

bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

template <typename F>
void mayRaise(F&& f) {
    try {
        f();
    } catch (const rtl::Error&) {
    }
}

void numbers(const std::string& text) {
    int64_t i64 = 0;
    const bool ok64 = rtl::tryStrToInt64(text, i64);
    bool threw = false;
    try {
        fuzz::check(rtl::strToInt64(text) == i64, "strToInt64 differs from tryStrToInt64");
    } catch (const rtl::ConversionError&) {
        threw = true;
    }
    fuzz::check(threw != ok64, "strToInt64 and tryStrToInt64 disagree");
    if (ok64) fuzz::check(rtl::strToInt64(rtl::intToStr(i64)) == i64, "intToStr does not read back");
    int32_t i32 = 0;
    const bool ok32 = rtl::tryStrToInt(text, i32);
    fuzz::check(ok32 == (ok64 && i64 >= INT32_MIN && i64 <= INT32_MAX), "tryStrToInt and tryStrToInt64 disagree");
    if (ok32) fuzz::check(i32 == i64, "tryStrToInt value");

    double d = 0;
    const bool okF = rtl::tryStrToFloat(text, d);
    const std::string t = trimmed(text);
    const bool grammar = text.find('\0') == std::string::npos && floatGrammar(t);
    if (grammar) {
        // strtod in the C locale gives the nearest double too (0 below the
        // smallest, infinity beyond the largest).
        errno = 0;
        char* end = nullptr;
        const double c = std::strtod(t.c_str(), &end);
        fuzz::check(end == t.c_str() + t.size(), "strtod stops early");
        if (std::isinf(c)) {
            fuzz::check(!okF, "a float beyond the largest double was accepted: " + text);
        } else {
            fuzz::check(okF, "a float in the grammar was refused: " + text);
            fuzz::check(sameBits(c, d) || (c == 0 && d == 0), "not the nearest double: " + text);
        }
    } else {
        fuzz::check(!okF, "a float outside the grammar was accepted: " + text);
    }
    if (okF) {
        const double back = rtl::strToFloat(rtl::floatToStr(d));
        fuzz::check(std::fabs(back - d) <= std::fabs(d) * 1e-14, "floatToStr does not read back");
    }
}

void dates(const std::string& text) {
    const int cy = rtl::currentYear();
    double v = 0;
    if (rtl::tryStrToDate(text, v)) {
        const rtl::DateParts p = rtl::decodeDate(v);
        fuzz::check(rtl::isValidDate(p.year, p.month, p.day), "impossible date decoded");
        fuzz::check(rtl::strToDate(rtl::formatDateTime("yyyy/mm/dd", v)) == v, "four-digit date does not read back");
        if (p.year >= cy - 50 && p.year <= cy + 49)
            fuzz::check(rtl::strToDate(rtl::dateToStr(v)) == v, "dateToStr does not read back");
    } else {
        bool threw = false;
        try {
            rtl::strToDate(text);
        } catch (const rtl::ConversionError&) {
            threw = true;
        }
        fuzz::check(threw, "strToDate accepts what tryStrToDate refuses");
    }
    if (rtl::tryStrToTime(text, v)) {
        fuzz::check(v >= 0 && v < 1, "a time outside one day");
        const rtl::TimeParts a = rtl::decodeTime(v);
        const rtl::TimeParts b = rtl::decodeTime(rtl::strToTime(rtl::timeToStr(v)));
        fuzz::check(a.hour == b.hour && a.minute == b.minute && a.second == b.second, "timeToStr does not read back");
    }
    if (rtl::tryStrToDateTime(text, v)) {
        const std::string s = rtl::dateTimeToStr(v);
        const rtl::DateParts p = rtl::decodeDate(v);
        if (p.year >= cy - 50 && p.year <= cy + 49) {
            const double back = rtl::strToDateTime(s);
            fuzz::check(std::fabs(back - v) < 1.0 / 86400.0, "dateTimeToStr does not read back: " + s);
        }
    }
}

void arithmetic(fuzz::Input& in) {
    const double value = in.take<double>();
    const double other = in.take<double>();
    const int count = in.take<int>();
    mayRaise([&] { rtl::incMonth(value, count); });
    mayRaise([&] { rtl::incYear(value, count); });
    mayRaise([&] { rtl::incDay(value, count); });
    mayRaise([&] { rtl::daysBetween(value, other); });
    mayRaise([&] { rtl::ageInYears(value, other); });
    mayRaise([&] { rtl::decodeDate(value); });
    mayRaise([&] { rtl::decodeTime(value); });
    mayRaise([&] { rtl::dayOfWeek(value); });
    mayRaise([&] { rtl::formatDateTime("ggge年m月d日 dddd hh:nn:ss.zzz c", value); });

    // The encoding is day + ms / 86400000.0 exactly as written (what the
    // interval library's bit-exact results rest on).
    const int year = 1 + static_cast<int>(in.take<uint16_t>() % 9999);
    const int month = 1 + in.byte() % 12;
    const int day = 1 + in.byte() % rtl::daysInMonth(year, month);
    const int ms = static_cast<int>(in.take<uint32_t>() % 86400000u);
    const double dayNumber = rtl::encodeDate(year, month, day);
    const double expected = dayNumber >= 0 ? dayNumber + ms / 86400000.0 : dayNumber - ms / 86400000.0;
    const double got = rtl::encodeDateTime(year, month, day, ms / 3600000, ms / 60000 % 60, ms / 1000 % 60, ms % 1000);
    fuzz::check(sameBits(got, expected), "encodeDateTime is not day + ms / 86400000.0");
    const rtl::TimeParts t = rtl::decodeTime(got);
    fuzz::check(((t.hour * 60 + t.minute) * 60 + t.second) * 1000 + t.msec == ms, "decodeTime loses the instant");
    fuzz::check(rtl::decodeDate(got) == (rtl::DateParts{year, month, day}), "decodeDate loses the day");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static rtl::ScopedTestClock clock(rtl::encodeDateTime(2026, 6, 15, 12, 0, 0));
    const std::string text(reinterpret_cast<const char*>(data), size);
    numbers(text);
    dates(text);
    fuzz::Input in(data, size);
    arithmetic(in);
    return 0;
}
