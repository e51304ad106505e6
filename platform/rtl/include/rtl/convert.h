// Text <-> number conversions with the runtime's rules and messages.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace rtl {

// Integers: optional leading blanks (characters <= U+0020), an optional sign,
// then decimal digits only, up to the end of the text. Empty text, trailing
// blanks, hexadecimal, thousand separators or a value outside the type fail.
// Raise ConversionError "'%s' は整数ではありません".
int32_t strToInt(std::string_view text);
int64_t strToInt64(std::string_view text);
bool tryStrToInt(std::string_view text, int32_t& out);
bool tryStrToInt64(std::string_view text, int64_t& out);
int32_t strToIntDef(std::string_view text, int32_t fallback);

// Floats: optional blanks around, an optional sign, digits with an optional
// "." and fraction, an optional exponent (E or e, optional sign, digits).
// No thousand separators, no "inf"/"nan". The nearest double is returned:
// text below the smallest double ("1e-400") gives 0, text beyond the
// largest fails.
// Raise ConversionError "'%s' は浮動小数点数ではありません".
double strToFloat(std::string_view text);
bool tryStrToFloat(std::string_view text, double& out);
double strToFloatDef(std::string_view text, double fallback);

std::string intToStr(int64_t value);
// General form with 15 significant digits: "4.1", "0.3" for 0.1 + 0.2,
// "1E15", "1E-5", "-2.5"; no trailing zeros; "0" for zero.
std::string floatToStr(double value);

}  // namespace rtl
