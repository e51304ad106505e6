// The exact money helpers against an exact oracle written here in plain
// big-integer arithmetic: rates are generated as decimals (at most 15
// significant digits, so the double nearest to one reads back as the same
// decimal), and every result must be the exact quotient rounded as asked, or
// rtl::ArithmeticError exactly when that quotient is outside int64.
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "fuzz.h"
#include "rtl/errors.h"
#include "rtl/money.h"
#include "rtl/rounding.h"

namespace {

using U128 = unsigned __int128;

// Non-negative big integer, 32-bit limbs, least significant first.
struct Big {
    std::vector<uint32_t> limb;

    static Big of(U128 v) {
        Big b;
        for (; v; v >>= 32) b.limb.push_back(static_cast<uint32_t>(v));
        return b;
    }
    bool zero() const { return limb.empty(); }
    void trim() {
        while (!limb.empty() && limb.back() == 0) limb.pop_back();
    }
    Big times(const Big& o) const {
        Big r;
        r.limb.assign(limb.size() + o.limb.size(), 0);
        for (size_t i = 0; i < limb.size(); ++i) {
            uint64_t carry = 0;
            for (size_t j = 0; j < o.limb.size() || carry; ++j) {
                uint64_t cur = r.limb[i + j] + carry + (j < o.limb.size() ? uint64_t(limb[i]) * o.limb[j] : 0);
                r.limb[i + j] = static_cast<uint32_t>(cur);
                carry = cur >> 32;
            }
        }
        r.trim();
        return r;
    }
    Big pow10times(int n) const {
        Big r = *this;
        for (int i = 0; i < n; ++i) r = r.times(of(10));
        return r;
    }
    size_t bits() const {
        if (limb.empty()) return 0;
        size_t b = (limb.size() - 1) * 32;
        for (uint32_t top = limb.back(); top; top >>= 1) ++b;
        return b;
    }
    bool bit(size_t i) const { return i / 32 < limb.size() && (limb[i / 32] >> (i % 32)) & 1; }
};

int cmp(const Big& a, const Big& b) {
    if (a.limb.size() != b.limb.size()) return a.limb.size() < b.limb.size() ? -1 : 1;
    for (size_t i = a.limb.size(); i-- > 0;)
        if (a.limb[i] != b.limb[i]) return a.limb[i] < b.limb[i] ? -1 : 1;
    return 0;
}

Big minus(const Big& a, const Big& b)  // a >= b
{
    Big r = a;
    int64_t borrow = 0;
    for (size_t i = 0; i < r.limb.size(); ++i) {
        int64_t cur = int64_t(r.limb[i]) - borrow - (i < b.limb.size() ? int64_t(b.limb[i]) : 0);
        borrow = cur < 0;
        r.limb[i] = static_cast<uint32_t>(cur + (borrow ? (int64_t(1) << 32) : 0));
    }
    r.trim();
    return r;
}

Big twice(const Big& a) {
    Big r = a;
    uint32_t carry = 0;
    for (auto& l : r.limb) {
        const uint32_t next = l >> 31;
        l = (l << 1) | carry;
        carry = next;
    }
    if (carry) r.limb.push_back(carry);
    return r;
}

// Long division bit by bit: q = a / b, r = a % b (b != 0).
void divmod(const Big& a, const Big& b, Big& q, Big& r) {
    q = Big{};
    r = Big{};
    q.limb.assign(a.limb.size(), 0);
    for (size_t i = a.bits(); i-- > 0;) {
        r = twice(r);
        if (a.bit(i)) {
            if (r.limb.empty()) r.limb.push_back(0);
            r.limb[0] |= 1;
        }
        if (cmp(r, b) >= 0) {
            r = minus(r, b);
            q.limb[i / 32] |= uint32_t(1) << (i % 32);
        }
    }
    q.trim();
}

// The rounded value of ±num / den, or nothing when it is outside int64.
std::optional<int64_t> exactRound(bool negative, const Big& num, const Big& den, rtl::Rounding mode) {
    Big q, r;
    divmod(num, den, q, r);
    const int half = cmp(twice(r), den);
    bool up = false;
    if (mode == rtl::Rounding::HalfUp) up = half >= 0;
    if (mode == rtl::Rounding::HalfEven) up = half > 0 || (half == 0 && q.bit(0));
    if (up) {
        uint64_t carry = 1;
        for (size_t i = 0; i < q.limb.size() && carry; ++i) {
            const uint64_t cur = uint64_t(q.limb[i]) + carry;
            q.limb[i] = static_cast<uint32_t>(cur);
            carry = cur >> 32;
        }
        if (carry) q.limb.push_back(1);
    }
    if (q.bits() > 64) return std::nullopt;
    uint64_t m = 0;
    for (size_t i = q.limb.size(); i-- > 0;) m = (m << 32) | q.limb[i];
    if (negative) {
        if (m > (uint64_t(1) << 63)) return std::nullopt;
        return static_cast<int64_t>(0 - m);
    }
    if (m >= (uint64_t(1) << 63)) return std::nullopt;
    return static_cast<int64_t>(m);
}

U128 magnitude(__int128 v) { return v < 0 ? U128(0) - static_cast<U128>(v) : static_cast<U128>(v); }

rtl::Rounding roundingOf(uint8_t b) {
    static const rtl::Rounding modes[] = {rtl::Rounding::HalfEven, rtl::Rounding::HalfUp, rtl::Rounding::Truncate};
    return modes[b % 3];
}

// Compares what the helper did with the oracle's answer.
template <typename F>
void expect(std::optional<int64_t> want, F&& call, const char* what) {
    try {
        const int64_t got = call();
        fuzz::check(want.has_value(), std::string(what) + ": no overflow error for a result outside int64");
        fuzz::check(got == *want, std::string(what) + ": " + std::to_string(got) + " where the exact answer is " +
                                      std::to_string(*want));
    } catch (const rtl::ArithmeticError&) {
        fuzz::check(!want.has_value(), std::string(what) + ": an arithmetic error for an ordinary result");
    }
}

// A decimal units * 10^-scale with at most 15 significant digits, as a
// double in the normal range, or nothing.
struct Rate {
    int64_t units;
    int scale;
    double value;
};
std::optional<Rate> rateFrom(fuzz::Input& in) {
    int64_t units = static_cast<int64_t>(in.take<uint64_t>() % 1000000000000000ULL);
    if (in.flag()) units = -units;
    const int scale = static_cast<int>(in.byte() % 200) - 20;  // -20 .. 179
    const double value = std::strtod((std::to_string(units) + "e" + std::to_string(-scale)).c_str(), nullptr);
    if (value != 0 && std::fabs(value) < DBL_MIN) return std::nullopt;
    return Rate{units, scale, value};
}

// |units| * 10^k as a big integer (k >= 0).
Big scaled(int64_t units, int k) { return Big::of(magnitude(units)).pow10times(k); }

// decimalFromDouble refuses a rate with more than 18 digits once scaled to
// a whole number of units.
bool tooWide(const Rate& r) {
    return r.scale < 0 && cmp(scaled(r.units, -r.scale), Big::of(999999999999999999ULL)) > 0;
}

void checkRoundFraction(fuzz::Input& in) {
    const __int128 num = static_cast<__int128>(in.take<U128>());
    const __int128 den = static_cast<__int128>(in.take<U128>());
    const rtl::Rounding mode = roundingOf(in.byte());
    if (den == 0) return;
    const auto want = exactRound((num < 0) != (den < 0), Big::of(magnitude(num)), Big::of(magnitude(den)), mode);
    expect(
        want, [&] { return rtl::roundFraction(num, den, mode); }, "roundFraction");
}

void checkApplyRate(fuzz::Input& in) {
    const int64_t amount = in.take<int64_t>();
    const auto rate = rateFrom(in);
    int64_t divisor = in.take<int64_t>();
    const uint8_t how = in.byte();
    const rtl::Rounding mode = roundingOf(how);
    if (how & 0x10) divisor = 1000;
    if (how & 0x20) divisor = 100;
    if (!rate || divisor == 0 || tooWide(*rate)) return;
    // amount * units * 10^max(0,-scale) / (10^max(0,scale) * divisor)
    const Big num = Big::of(magnitude(amount)).times(scaled(rate->units, rate->scale < 0 ? -rate->scale : 0));
    const Big den = Big::of(magnitude(divisor)).pow10times(rate->scale > 0 ? rate->scale : 0);
    const bool negative = num.zero() ? false : ((amount < 0) != (rate->units < 0)) != (divisor < 0);
    const auto want = exactRound(negative, num, den, mode);
    expect(
        want, [&] { return rtl::applyRate(amount, rate->value, divisor, mode); }, "applyRate");
    if (divisor == 1000)
        expect(
            want, [&] { return rtl::applyPerMille(amount, rate->value, mode); }, "applyPerMille");
    if (divisor == 100)
        expect(
            want, [&] { return rtl::applyPercent(amount, rate->value, mode); }, "applyPercent");
}

void checkShareOf(fuzz::Input& in) {
    const int64_t amount = in.take<int64_t>();
    const auto part = rateFrom(in);
    const auto whole = rateFrom(in);
    const rtl::Rounding mode = roundingOf(in.byte());
    if (!part || !whole || tooWide(*part) || tooWide(*whole)) return;
    if (whole->units == 0) {
        expect(
            std::nullopt, [&] { return rtl::shareOf(amount, part->value, whole->value, mode); }, "shareOf by 0");
        return;
    }
    // amount * pu * 10^-ps / (wu * 10^-ws) = amount * pu * 10^ws / (wu * 10^ps), shifted to whole powers.
    const int low = std::min(part->scale, whole->scale);
    const Big num = Big::of(magnitude(amount)).times(scaled(part->units, whole->scale - low));
    const Big den = scaled(whole->units, part->scale - low);
    const bool negative = num.zero() ? false : ((amount < 0) != (part->units < 0)) != (whole->units < 0);
    const auto want = exactRound(negative, num, den, mode);
    expect(
        want, [&] { return rtl::shareOf(amount, part->value, whole->value, mode); }, "shareOf");
}

void checkDoubleRounding(fuzz::Input& in) {
    const double x = in.take<double>();
    const bool finite = std::isfinite(x);
    auto want = [&](double r) -> std::optional<int64_t> {
        if (!finite || r >= 9223372036854775808.0 || r < -9223372036854775808.0) return std::nullopt;
        return static_cast<int64_t>(r);
    };
    expect(
        want(finite ? std::nearbyint(x) : 0), [&] { return rtl::roundBankers(x); }, "roundBankers");
    expect(
        want(finite ? std::round(x) : 0), [&] { return rtl::roundHalfUp(x); }, "roundHalfUp");
    expect(
        want(finite ? std::trunc(x) : 0), [&] { return rtl::trunc(x); }, "trunc");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input in(data, size);
    switch (in.byte() % 4) {
    case 0: checkRoundFraction(in); break;
    case 1: checkApplyRate(in); break;
    case 2: checkShareOf(in); break;
    case 3: checkDoubleRounding(in); break;
    }
    return 0;
}
