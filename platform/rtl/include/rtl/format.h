// Number formatting with picture masks.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace rtl {

// Mask characters:
//   0  a digit, always shown (pads with zeros)
//   #  a digit, shown only when significant
//   .  the decimal point (the first one; digits after it set the decimals)
//   ,  anywhere in the integer part: group the integer digits by three with ","
//   "..." or '...'  literal text
//   ;  separates sections: positive;negative;zero (the negative section is
//      written without a minus sign of its own; a missing or empty section
//      falls back to the first)
//   any other character is copied.
// The value is rounded half away from zero at the shown decimals, on its
// 15-significant-digit decimal form (so 2.675 with "#0.0#" gives "2.68").
// A value that rounds to zero is never written with a minus sign.
// Examples: "#,##0" 1234567 -> "1,234,567"; "#0.0#" 4.1 -> "4.1",
// 4 -> "4.0", 4.125 -> "4.13"; "#0" 2.5 -> "3"; "#0.##" 4 -> "4".
// An empty mask gives floatToStr(value). Infinities and NaN raise
// ArithmeticError.
std::string formatFloat(std::string_view mask, double value);

// The same masks for exact integers (money beyond 2^53 stays exact).
std::string formatInteger(std::string_view mask, int64_t value);

}  // namespace rtl
