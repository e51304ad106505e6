#include "rtl/money.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

#include "rtl/errors.h"

namespace rtl {

namespace {

// std::numeric_limits<__int128> has no values in strict ISO mode.
constexpr __int128 kI128Max = ((static_cast<__int128>(1) << 126) - 1) * 2 + 1;
constexpr int64_t kMaxUnits = 999999999999999999LL;  // 18 digits

__int128 pow10(int n) {
    __int128 r = 1;
    while (n-- > 0) r *= 10;
    return r;
}

}  // namespace

Decimal decimalFromDouble(double value) {
    if (std::isnan(value) || std::isinf(value)) throw ArithmeticError(msg::invalidFloatOperation);
    // Shortest round-trip form in scientific notation: d.ddddde[+-]xx
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific);
    const std::string s(buf, res.ptr);
    const std::size_t e = s.find('e');
    std::string mantissa = s.substr(0, e);
    int exponent = std::atoi(s.c_str() + e + 1);
    bool negative = false;
    if (!mantissa.empty() && mantissa[0] == '-') {
        negative = true;
        mantissa.erase(0, 1);
    }
    std::string digits;
    for (char c : mantissa)
        if (c != '.') digits += c;
    // value = 0.digits... no: digits[0].digits[1..] * 10^exponent
    // units = digits, scale = (digits.size() - 1) - exponent
    int scale = static_cast<int>(digits.size()) - 1 - exponent;
    while (scale < 0) {
        digits += '0';
        ++scale;
    }
    while (digits.size() > 1 && digits[0] == '0') digits.erase(0, 1);
    if (digits.size() > 18) throw ArithmeticError(msg::floatOverflow);
    int64_t units = std::stoll(digits);
    if (units > kMaxUnits) throw ArithmeticError(msg::floatOverflow);
    if (units == 0) return {0, 0};
    return {negative ? -units : units, scale};
}

int64_t roundFraction(__int128 num, __int128 den, Rounding mode) {
    if (den == 0) throw ArithmeticError(msg::divisionByZero);
    // Magnitudes in unsigned arithmetic: the smallest int128 has no positive
    // counterpart, and 2 * r would overflow for denominators above 2^126, so
    // the remainder is compared with what is left of the denominator instead.
    using U = unsigned __int128;
    const bool negative = (num < 0) != (den < 0);
    const U a = num < 0 ? U(0) - static_cast<U>(num) : static_cast<U>(num);
    const U d = den < 0 ? U(0) - static_cast<U>(den) : static_cast<U>(den);
    U q = a / d;
    const U r = a % d;
    const U rest = d - r;  // r + rest == d
    switch (mode) {
    case Rounding::Truncate: break;
    case Rounding::HalfUp:
        if (r >= rest) ++q;
        break;
    case Rounding::HalfEven:
        if (r > rest || (r == rest && (q % 2) != 0)) ++q;
        break;
    }
    // |result| <= 2^63 for a negative result, < 2^63 for a positive one.
    constexpr U kLimit = static_cast<U>(1) << 63;
    if (negative ? q > kLimit : q >= kLimit) throw ArithmeticError(msg::floatOverflow);
    return negative ? static_cast<int64_t>(U(0) - q) : static_cast<int64_t>(q);
}

int64_t applyRate(int64_t amount, double factor, int64_t divisor, Rounding mode) {
    if (divisor == 0) throw ArithmeticError(msg::divisionByZero);
    const Decimal f = decimalFromDouble(factor);
    // amount * units / (10^scale * divisor); amount < 2^63, units < 10^18 fit in 127 bits.
    const __int128 num = static_cast<__int128>(amount) * f.units;
    // |num| < 10^37. A denominator beyond int128 means a quotient far below
    // one half, which every rounding takes to 0.
    if (f.scale > 38) return 0;
    const __int128 scaleDen = pow10(f.scale);
    const __int128 absDivisor = divisor < 0 ? -static_cast<__int128>(divisor) : divisor;
    if (scaleDen > kI128Max / absDivisor) return 0;
    return roundFraction(num, pow10(f.scale) * divisor, mode);
}

int64_t applyPerMille(int64_t amount, double ratePerMille, Rounding mode) {
    return applyRate(amount, ratePerMille, 1000, mode);
}

int64_t applyPercent(int64_t amount, double ratePercent, Rounding mode) {
    return applyRate(amount, ratePercent, 100, mode);
}

int64_t shareOf(int64_t amount, double part, double whole, Rounding mode) {
    const Decimal p = decimalFromDouble(part);
    const Decimal w = decimalFromDouble(whole);
    if (w.units == 0) throw ArithmeticError(msg::divisionByZero);
    // Exact: amount * (p.units / 10^p.scale) / (w.units / 10^w.scale)
    //   = amount * p.units * 10^ws / (w.units * 10^ps)
    // with ps or ws zero. |amount * p.units| < 2^123 and |w.units| < 2^60.
    const int common = std::min(p.scale, w.scale);
    const int ps = p.scale - common, ws = w.scale - common;
    __int128 num = static_cast<__int128>(amount) * p.units;
    if (num == 0) return 0;
    __int128 den = w.units;
    if (ps > 0) {
        // A denominator beyond int128 is more than twice |num|: the quotient
        // is below one half, which every rounding takes to 0.
        if (ps > 38 || pow10(ps) > kI128Max / (den < 0 ? -den : den)) return 0;
        den *= pow10(ps);
    }
    if (ws > 0) {
        // A numerator beyond int128 over a denominator below 2^60 is far
        // outside int64.
        const __int128 absNum = num < 0 ? -num : num;
        if (ws > 38 || absNum > kI128Max / pow10(ws)) throw ArithmeticError(msg::floatOverflow);
        num *= pow10(ws);
    }
    return roundFraction(num, den, mode);
}

}  // namespace rtl
