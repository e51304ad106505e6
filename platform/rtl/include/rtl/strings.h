// String helpers over UTF-8 text.
//
// Positions and counts are in characters (Unicode code points), 1-based,
// because the texts here are mostly Japanese and the old program counted
// characters, not bytes. Invalid UTF-8 bytes count as one character each.
// None of these functions throws.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace rtl {

// Number of characters.
int length(std::string_view s);

// `count` characters of `s` starting at character `index` (1-based). An
// index below 1 is taken as 1, a count below 1 or an index past the end
// gives "", a count past the end stops at the end.
std::string copy(std::string_view s, int index, int count);
// Characters from `index` to the end.
std::string copyFrom(std::string_view s, int index);

// 1-based character position of the first occurrence of `sub` in `s`;
// 0 when absent or when `sub` is empty.
int pos(std::string_view sub, std::string_view s);

// Remove blanks and control characters (code points <= U+0020) at the ends.
// The full-width space U+3000 is kept.
std::string trim(std::string_view s);
// The same as a view into `s`, for parsers that only look.
std::string_view trimView(std::string_view s);
std::string trimLeft(std::string_view s);
std::string trimRight(std::string_view s);

// ASCII case mapping only (other characters unchanged).
std::string upperCase(std::string_view s);
std::string lowerCase(std::string_view s);

// The byte length the text has in the Japanese Windows code page: a
// character below U+0080 or a half-width katakana (U+FF61..U+FF9F) counts 1,
// every other character 2.
int cp932ByteLength(std::string_view s);

// n + 1000000 written in decimal without its first character: n as six
// digits with leading zeros for 0 <= n <= 999999 (42 -> "000042").
std::string sixDigitCode(int64_t n);
// The last two characters of n + 100 in decimal (7 -> "07", 12 -> "12").
std::string twoDigits(int64_t n);

// 'text' in single quotes, inner single quotes doubled (SQL literal).
std::string quotedStr(std::string_view s);

// Replaces every occurrence of `from` (non-empty) with `to`.
std::string replaceAll(std::string_view s, std::string_view from, std::string_view to);

// True when `s` is well-formed UTF-8 (no overlongs, no surrogates, <= U+10FFFF).
bool isValidUtf8(std::string_view s);
// Code points of `s`; an invalid byte yields U+FFFD.
std::u32string toUtf32(std::string_view s);
std::string fromUtf32(std::u32string_view s);
void appendUtf8(std::string& out, char32_t cp);

}  // namespace rtl
