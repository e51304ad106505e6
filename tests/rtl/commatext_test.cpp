// Comma text: splitting recorder lines and joining deduction-list rows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "rtl/commatext.h"

using namespace rtl;
using Cells = std::vector<std::string>;

TEST(SplitCommaText, Rules) {
    struct Case {
        std::string line;
        Cells cells;
    } cases[] = {
        {"a,b,c", {"a", "b", "c"}},
        {"", {}},
        {"   ", {}},
        {"a", {"a"}},
        {"a,", {"a", ""}},  // trailing comma: empty last field
        {"a, ", {"a"}},     // not at the very end: no extra field
        {",", {"", ""}},
        {",,", {"", "", ""}},
        {"a,,b", {"a", "", "b"}},
        {"  a  ,  b  ", {"a", "b"}},  // blanks around separators skipped
        {"\ta\t,\tb", {"a", "b"}},
        {"a b,c", {"a", "b", "c"}},  // an unquoted blank ends the field
        {"山田 太郎,1", {"山田", "太郎", "1"}},
        {"\"a b\",c", {"a b", "c"}},
        {"\"a,b\",c", {"a,b", "c"}},
        {"\"say \"\"hi\"\"\",x", {"say \"hi\"", "x"}},
        {"\"\"", {""}},
        {"\"\",\"\"", {"", ""}},
        {"\"abc", {"abc"}},  // unterminated quote runs to the end
        {"\"ab,c d", {"ab,c d"}},
        {"\"ab\"cd,e", {"ab", "cd", "e"}},
        {"1,\"000012\",x,,2014/08/05,,,,08:30,,,17:15",
         {"1", "000012", "x", "", "2014/08/05", "", "", "", "08:30", "", "", "17:15"}},
        {"1,2\r", {"1", "2"}},
        {std::string("a,b\0c", 5), {"a", "b"}},  // NUL ends the line
    };
    for (const auto& c : cases) EXPECT_EQ(splitCommaText(c.line), c.cells) << "[" << c.line << "]";
}

TEST(JoinCommaText, Rules) {
    struct Case {
        Cells cells;
        std::string line;
    } cases[] = {
        {{"1", "家賃", "50000"}, "1,家賃,50000"},
        {{"1", "", "0"}, "1,,0"},  // empty cell written as nothing
        {{"a b", "c"}, "\"a b\",c"},
        {{"a,b"}, "\"a,b\""},
        {{"say \"hi\""}, "\"say \"\"hi\"\"\""},
        {{"tab\there"}, "\"tab\there\""},
        {{"\xE3\x80\x80"
          "全角"},
         "\xE3\x80\x80"
         "全角"},  // the full-width space needs no quotes
        {{}, ""},
        {{""}, "\"\""},  // one empty cell survives a round trip
        {{"", ""}, ","},
    };
    for (const auto& c : cases) EXPECT_EQ(joinCommaText(c.cells), c.line) << c.line;
}

TEST(CommaText, RoundTrip) {
    const std::vector<Cells> rows = {
        {"No", "項目", "金額"}, {"1", "互助会 費", "1500"}, {"2", "a,\"b\"", ""}, {"3", "", "0"}, {"", "x", ""}, {""},
    };
    for (const auto& row : rows) EXPECT_EQ(splitCommaText(joinCommaText(row)), row) << joinCommaText(row);
}
