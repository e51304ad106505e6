// Exact money arithmetic for amounts times rates.
//
// Rates are kept in the database as doubles (per mille for insurance, per
// cent for the tax tables). A rate typed as 4.1 is stored as the double
// nearest to 4.1, which is slightly below it; multiplying in binary floating
// point then gives 100000 * 4.1 / 1000 = 409.99999..., truncated 409. Here a
// rate is taken as the shortest decimal that reads back as the same double
// (4.1 means exactly 41/10) and the product is computed in integers, so the
// answer is 410 and the rounding acts on the exact value.
#pragma once

#include <cstdint>

#include "rtl/rounding.h"

namespace rtl {

// A decimal number units / 10^scale (scale >= 0).
struct Decimal {
    int64_t units = 0;
    int scale = 0;
    bool operator==(const Decimal&) const = default;
};

// The shortest decimal that round-trips to `value` (std::to_chars shortest
// form): 4.1 -> {41, 1}, 0.5 -> {5, 1}, 1000 -> {1000, 0}. Raises
// ArithmeticError for NaN, infinities and values that do not fit (more than
// 18 significant digits after scaling, or magnitude beyond 1e18).
Decimal decimalFromDouble(double value);

// amount * rate / 1000, rounded as asked. 100000 * 4.1‰ = 410.
int64_t applyPerMille(int64_t amount, double ratePerMille, Rounding mode);
// amount * rate / 100, rounded as asked.
int64_t applyPercent(int64_t amount, double ratePercent, Rounding mode);
// amount * factor / divisor in exact arithmetic; divisor 0 raises ArithmeticError.
int64_t applyRate(int64_t amount, double factor, int64_t divisor, Rounding mode);
// amount * part / whole (a share of an amount split by two rates, for
// example amount * b / (a + b)), exact for parts and wholes of any number of
// decimal places; whole == 0 raises ArithmeticError.
int64_t shareOf(int64_t amount, double part, double whole, Rounding mode);

// Rounds the exact fraction numerator / denominator (denominator != 0), over
// the whole int128 range of both; a result outside int64 raises
// ArithmeticError.
int64_t roundFraction(__int128 numerator, __int128 denominator, Rounding mode);

}  // namespace rtl
