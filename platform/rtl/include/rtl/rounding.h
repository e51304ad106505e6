// Rounding and guarded arithmetic. Each kind is kept separate because each
// computation names its own.
//
// All functions returning integers raise ArithmeticError for NaN, infinities
// and results outside int64.
#pragma once

#include <cstdint>

namespace rtl {

enum class Rounding {
    HalfEven,  // "rounded": 2.5 -> 2, 3.5 -> 4, -2.5 -> -2
    HalfUp,    // the whole part, plus 1 when the fraction is 0.5 or more
               // (mirrored for negatives: -2.5 -> -3)
    Truncate,  // toward zero
};

// Round half to even ("Round").
int64_t roundBankers(double value);
// Round half up (away from zero for negatives). 12.5 -> 13.
int64_t roundHalfUp(double value);
// Toward zero ("Trunc"). Call it as rtl::trunc: unqualified, it would
// clash with ::trunc from <math.h>.
int64_t trunc(double value);
// The chosen kind.
int64_t roundWith(Rounding mode, double value);

// x / y; raises ArithmeticError "0 で除算しました" when y is 0, and for
// infinite or NaN operands or result.
double divide(double x, double y);
// Integer division toward zero and its remainder; raise ArithmeticError when
// y is 0 (and for INT64_MIN / -1).
int64_t intDiv(int64_t x, int64_t y);
int64_t intMod(int64_t x, int64_t y);
// Returns x, or raises ArithmeticError when x is infinite or NaN.
double checkFinite(double x);

}  // namespace rtl
