// The Jet dialect's functions: the JETTEXT collation is a consistent order
// (reflexive, antisymmetric, transitive on any three texts, valid UTF-8 or
// not); CInt is the runtime's float conversion rounded half to even within
// 32 bits, or a conversion error; CvDate is the runtime's date-time
// conversion.
#include <cmath>
#include <cstdint>
#include <string>

#include "db/jet.h"
#include "fuzz.h"
#include "rtl/clock.h"
#include "rtl/convert.h"
#include "rtl/datetime.h"
#include "rtl/errors.h"
#include "rtl/rounding.h"
#include "rtl/strings.h"

namespace {

int sign(int v) { return (v > 0) - (v < 0); }

void collation(const std::string& a, const std::string& b, const std::string& c) {
    fuzz::check(db::jetCompare(a, a) == 0, "a text differs from itself");
    const int ab = sign(db::jetCompare(a, b)), ba = sign(db::jetCompare(b, a));
    fuzz::check(ab == -ba, "the order is not antisymmetric");
    const int bc = sign(db::jetCompare(b, c)), ac = sign(db::jetCompare(a, c));
    if (ab <= 0 && bc <= 0) fuzz::check(ac <= 0, "the order is not transitive");
    if (ab >= 0 && bc >= 0) fuzz::check(ac >= 0, "the order is not transitive");
    if (ab == 0) fuzz::check(ac == bc, "equal texts compare differently with a third");
}

void cInt(const std::string& text, double number) {
    long long got = 0;
    bool ok = true;
    try {
        got = db::cInt(db::Value(text));
    } catch (const rtl::ConversionError&) {
        ok = false;
    }
    double d = 0;
    const std::string_view t = rtl::trimView(text);
    const bool numeric = !t.empty() && rtl::tryStrToFloat(t, d);
    const bool fits = numeric && d >= -2147483648.5 && d < 2147483647.5;
    long long want = 0;
    bool wantOk = false;
    if (fits) {
        want = rtl::roundBankers(d);
        wantOk = want >= INT32_MIN && want <= INT32_MAX;
    }
    fuzz::check(ok == wantOk, "CInt accepts or refuses against the rule: " + text);
    if (ok) fuzz::check(got == want, "CInt of " + text);

    try {
        const long long n = db::cInt(db::Value(number));
        fuzz::check(std::isfinite(number) && n == rtl::roundBankers(number) && n >= INT32_MIN && n <= INT32_MAX,
                    "CInt of a double");
    } catch (const rtl::ConversionError&) {
        fuzz::check(!std::isfinite(number) || number < -2147483648.5 || number >= 2147483647.5 ||
                        rtl::roundBankers(number) < INT32_MIN || rtl::roundBankers(number) > INT32_MAX,
                    "CInt refuses a double within 32 bits");
    }
}

void cvDate(const std::string& text) {
    double want = 0;
    const bool wantOk = rtl::tryStrToDateTime(text, want);
    try {
        const db::Value v = db::cvDate(db::Value(text));
        fuzz::check(wantOk && v.isNumber() && v.real() == want, "CvDate differs from strToDateTime: " + text);
    } catch (const rtl::ConversionError&) {
        fuzz::check(!wantOk, "CvDate refuses a date-time: " + text);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static rtl::ScopedTestClock clock(rtl::encodeDateTime(2026, 6, 15, 12, 0, 0));
    fuzz::Input in(data, size);
    const double number = in.take<double>();
    const std::string a = in.text(), b = in.text(), c = in.rest();
    collation(a, b, c);
    cInt(a, number);
    cvDate(c);
    return 0;
}
