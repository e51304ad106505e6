// 1-based character helpers, trimming, byte lengths and the code idioms.
#include <gtest/gtest.h>

#include <string>

#include "rtl/strings.h"

using namespace rtl;

TEST(Copy, OneBasedCharactersNeverThrowing) {
    struct Case {
        const char* s;
        int index, count;
        const char* result;
    } cases[] = {
        {"2014", 3, 2, "14"},     {"abc", 1, 2, "ab"},      {"abc", 0, 2, "ab"},  // index below 1 taken as 1
        {"abc", -5, 2, "ab"},     {"abc", 2, 100, "bc"},    {"abc", 4, 1, ""},   {"abc", 100, 1, ""},
        {"abc", 2, 0, ""},        {"abc", 2, -1, ""},       {"", 1, 1, ""},      {"平成26年", 1, 2, "平成"},
        {"平成26年", 3, 2, "26"}, {"平成26年", 5, 9, "年"}, {"ｱｲｳ", 2, 1, "ｲ"},  {"08:30", 4, 2, "30"},
    };
    for (const auto& c : cases) EXPECT_EQ(copy(c.s, c.index, c.count), c.result) << c.s << " " << c.index;
    EXPECT_EQ(copyFrom("天引伝票", 3), "伝票");
    EXPECT_EQ(length("天引き abc"), 7);
}

TEST(Pos, OneBasedCharacterPosition) {
    struct Case {
        const char* sub;
        const char* s;
        int result;
    } cases[] = {
        {"/", "14/07", 3},       {"x", "14/07", 0}, {"", "abc", 0}, {"abc", "", 0},
        {"伝票", "天引伝票", 3}, {"b", "aab", 3},   {"a", "a", 1},  {"ab", "a", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(pos(c.sub, c.s), c.result) << c.sub << " in " << c.s;
}

TEST(Trim, BlanksAndControlsButNotTheFullWidthSpace) {
    struct Case {
        const char* s;
        const char* both;
        const char* left;
        const char* right;
    } cases[] = {
        {"  a b  ", "a b", "a b  ", "  a b"},
        {"\t\r\n08:30\r\n", "08:30", "08:30\r\n", "\t\r\n08:30"},
        {"\xE3\x80\x80"
         "山田\xE3\x80\x80",
         "\xE3\x80\x80"
         "山田\xE3\x80\x80",
         "\xE3\x80\x80"
         "山田\xE3\x80\x80",
         "\xE3\x80\x80"
         "山田\xE3\x80\x80"},
        {" \xE3\x80\x80 ", "\xE3\x80\x80", "\xE3\x80\x80 ", " \xE3\x80\x80"},
        {"", "", "", ""},
        {"   ", "", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(trim(c.s), c.both) << c.s;
        EXPECT_EQ(trimView(c.s), c.both) << c.s;
        EXPECT_EQ(trimLeft(c.s), c.left) << c.s;
        EXPECT_EQ(trimRight(c.s), c.right) << c.s;
    }
}

TEST(Cp932ByteLength, FullWidthCountsTwo) {
    struct Case {
        const char* s;
        int bytes;
    } cases[] = {
        {"", 0}, {"abc", 3}, {"山田", 4}, {"ｱｲｳ", 3}, {"ﾀﾞ", 2}, {"A山ｱ", 4}, {"\xE3\x80\x80", 2}, {"①", 2}, {"ー", 2},
    };
    for (const auto& c : cases) EXPECT_EQ(cp932ByteLength(c.s), c.bytes) << c.s;
}

TEST(CodeIdioms, SixAndTwoDigits) {
    struct Six {
        int64_t n;
        const char* s;
    } six[] = {
        {0, "000000"},  {7, "000007"},      {12, "000012"},
        {42, "000042"}, {999999, "999999"}, {1000000, "000000"},  // the idiom keeps only the six last digits then
    };
    for (const auto& c : six) EXPECT_EQ(sixDigitCode(c.n), c.s) << c.n;
    struct Two {
        int64_t n;
        const char* s;
    } two[] = {
        {0, "00"}, {7, "07"}, {12, "12"}, {59, "59"}, {99, "99"}, {100, "00"}, {123, "23"},
    };
    for (const auto& c : two) EXPECT_EQ(twoDigits(c.n), c.s) << c.n;
}

TEST(StringHelpers, QuotingCaseAndReplace) {
    EXPECT_EQ(quotedStr("O'Neil"), "'O''Neil'");
    EXPECT_EQ(quotedStr(""), "''");
    EXPECT_EQ(upperCase("abcＡ"), "ABCＡ");
    EXPECT_EQ(lowerCase("ABC"), "abc");
    EXPECT_EQ(replaceAll("a,b,,c", ",", ";"), "a;b;;c");
    EXPECT_EQ(replaceAll("abc", "", "x"), "abc");
}

TEST(Utf8, ValidationAndCodePoints) {
    struct Case {
        std::string bytes;
        bool valid;
    } cases[] = {
        {"abc", true},
        {"山田", true},
        {"\xF0\x9F\x98\x80", true},
        {"\x82\xa0", false},
        {"\xC0\xAF", false},          // overlong
        {"\xED\xA0\x80", false},      // surrogate
        {"\xE5\xB1", false},          // cut short
        {"\xF4\x90\x80\x80", false},  // beyond U+10FFFF
        {"", true},
    };
    for (const auto& c : cases) EXPECT_EQ(isValidUtf8(c.bytes), c.valid) << c.bytes;
    EXPECT_EQ(toUtf32("a山"), U"a山");
    EXPECT_EQ(fromUtf32(U"a山\U0001F600"), "a山\xF0\x9F\x98\x80");
    EXPECT_EQ(length("\x82\xa0"), 2);  // invalid bytes count one each
}
