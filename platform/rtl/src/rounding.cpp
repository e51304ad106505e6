#include "rtl/rounding.h"

#include <cmath>
#include <limits>

#include "rtl/errors.h"

namespace rtl {

namespace {

// Every double with magnitude below 2^63 converts to int64 exactly once it
// is whole; 2^63 itself does not fit.
constexpr double kTwo63 = 9223372036854775808.0;

int64_t toInt64(double whole) {
    if (std::isnan(whole) || std::isinf(whole)) throw ArithmeticError(msg::invalidFloatOperation);
    if (whole >= kTwo63 || whole < -kTwo63) throw ArithmeticError(msg::floatOverflow);
    return static_cast<int64_t>(whole);
}

}  // namespace

int64_t trunc(double value) {
    if (std::isnan(value) || std::isinf(value)) throw ArithmeticError(msg::invalidFloatOperation);
    return toInt64(std::trunc(value));
}

int64_t roundBankers(double value) {
    if (std::isnan(value) || std::isinf(value)) throw ArithmeticError(msg::invalidFloatOperation);
    const double whole = std::trunc(value);
    const double frac = std::fabs(value - whole);  // exact for doubles
    double r = whole;
    if (frac > 0.5 || (frac == 0.5 && std::fmod(whole, 2.0) != 0.0)) r = whole + (value < 0 ? -1.0 : 1.0);
    return toInt64(r);
}

int64_t roundHalfUp(double value) {
    if (std::isnan(value) || std::isinf(value)) throw ArithmeticError(msg::invalidFloatOperation);
    const double whole = std::trunc(value);
    const double frac = std::fabs(value - whole);
    return toInt64(frac >= 0.5 ? whole + (value < 0 ? -1.0 : 1.0) : whole);
}

int64_t roundWith(Rounding mode, double value) {
    switch (mode) {
    case Rounding::HalfEven: return roundBankers(value);
    case Rounding::HalfUp: return roundHalfUp(value);
    case Rounding::Truncate: break;
    }
    return trunc(value);
}

double checkFinite(double x) {
    if (std::isnan(x) || std::isinf(x)) throw ArithmeticError(msg::invalidFloatOperation);
    return x;
}

double divide(double x, double y) {
    checkFinite(x);
    checkFinite(y);
    if (y == 0.0) throw ArithmeticError(msg::divisionByZero);
    const double r = x / y;
    if (std::isinf(r)) throw ArithmeticError(msg::floatOverflow);
    return r;
}

int64_t intDiv(int64_t x, int64_t y) {
    if (y == 0) throw ArithmeticError(msg::divisionByZero);
    if (x == std::numeric_limits<int64_t>::min() && y == -1) throw ArithmeticError(msg::floatOverflow);
    return x / y;
}

int64_t intMod(int64_t x, int64_t y) {
    if (y == 0) throw ArithmeticError(msg::divisionByZero);
    if (y == -1) return 0;
    return x % y;
}

}  // namespace rtl
