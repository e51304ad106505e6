// The checks and defaults of the master windows, called directly.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "masters/rules.h"

namespace {

using masters::categoryCodeRule;
using masters::clockTimeRule;
using masters::roundingUnitRule;

struct RuleCase {
    const char* text;
    std::optional<std::string> kept;  // nullopt: refused
};

void PrintTo(const RuleCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

class CategoryCode : public ::testing::TestWithParam<RuleCase> {};
TEST_P(CategoryCode, PadsOneCharacterAndRefusesMoreThanTwo) {
    EXPECT_EQ(categoryCodeRule(GetParam().text), GetParam().kept);
}
INSTANTIATE_TEST_SUITE_P(Cases, CategoryCode,
                         ::testing::Values(RuleCase{"7", "07"}, RuleCase{"07", "07"}, RuleCase{"", ""},
                                           RuleCase{"123", std::nullopt}, RuleCase{"AB", "AB"},
                                           // a full-width character counts two bytes
                                           RuleCase{"７", "７"}, RuleCase{"７７", std::nullopt}));

class RoundingUnit : public ::testing::TestWithParam<RuleCase> {};
TEST_P(RoundingUnit, AcceptsOnlyDivisorsOfAnHour) { EXPECT_EQ(roundingUnitRule(GetParam().text), GetParam().kept); }
INSTANTIATE_TEST_SUITE_P(Cases, RoundingUnit,
                         ::testing::Values(RuleCase{"5", "05"}, RuleCase{"15", "15"}, RuleCase{"", ""},
                                           RuleCase{"01", "01"}, RuleCase{"60", "60"}, RuleCase{"30", "30"},
                                           RuleCase{"abc", std::nullopt}, RuleCase{"0", std::nullopt},
                                           RuleCase{"00", std::nullopt}, RuleCase{"7", std::nullopt},
                                           RuleCase{"45", std::nullopt}, RuleCase{"90", std::nullopt},
                                           RuleCase{"-5", std::nullopt}, RuleCase{"005", std::nullopt},
                                           RuleCase{" 5", std::nullopt}));

class ClockTime : public ::testing::TestWithParam<RuleCase> {};
TEST_P(ClockTime, NormalisesFourDigitsAndChecksTheRange) { EXPECT_EQ(clockTimeRule(GetParam().text), GetParam().kept); }
INSTANTIATE_TEST_SUITE_P(Cases, ClockTime,
                         ::testing::Values(RuleCase{"0830", "08:30"}, RuleCase{"08:30", "08:30"}, RuleCase{"", ""},
                                           RuleCase{"083", std::nullopt}, RuleCase{"08:300", std::nullopt},
                                           RuleCase{"25:00", "25:00"}, RuleCase{"2500", "25:00"},
                                           RuleCase{"4759", "47:59"}, RuleCase{"0000", "00:00"},
                                           // not four digits: would be stored with two colons
                                           RuleCase{"8:30", std::nullopt}, RuleCase{"ab:cd", std::nullopt},
                                           RuleCase{"08-30", std::nullopt}, RuleCase{"4800", std::nullopt},
                                           RuleCase{"48:00", std::nullopt}, RuleCase{"0860", std::nullopt},
                                           RuleCase{"08:60", std::nullopt}, RuleCase{"０８３０", std::nullopt},
                                           RuleCase{"08：30", std::nullopt}));

TEST(EmployeeCode, IsTheNumberAsSixDigits) {
    EXPECT_EQ(masters::defaultEmployeeCode(42), "000042");
    EXPECT_EQ(masters::defaultEmployeeCode(7), "000007");
    EXPECT_EQ(masters::defaultEmployeeCode(0), "000000");
    EXPECT_EQ(masters::defaultEmployeeCode(999999), "999999");
}

struct KeyCase {
    std::optional<std::int64_t> eNo;
    std::optional<std::string> code;
    bool accepted;
};

void PrintTo(const KeyCase& c, std::ostream* os) {
    *os << (c.eNo ? std::to_string(*c.eNo) : "NULL") << " / " << (c.code ? '"' + *c.code + '"' : "NULL");
}

class EmployeeKeys : public ::testing::TestWithParam<KeyCase> {};
TEST_P(EmployeeKeys, NumberAndCodeMustNameTheSameEmployee) {
    const KeyCase& c = GetParam();
    std::optional<std::string_view> code;
    if (c.code) code = *c.code;
    const auto problem = masters::employeeKeyProblem(c.eNo, code);
    EXPECT_EQ(!problem.has_value(), c.accepted);
    if (problem) {
        EXPECT_FALSE(problem->empty());
    }
}
INSTANTIATE_TEST_SUITE_P(Cases, EmployeeKeys,
                         ::testing::Values(KeyCase{42, "000042", true}, KeyCase{42, "42", true},
                                           KeyCase{42, "0042", true}, KeyCase{0, "000000", true}, KeyCase{0, "0", true},
                                           KeyCase{999999, "999999", true}, KeyCase{42, "000043", false},
                                           KeyCase{42, "A00042", false}, KeyCase{42, " 42", false},
                                           KeyCase{42, "", false}, KeyCase{42, std::nullopt, false},
                                           KeyCase{std::nullopt, "000042", false}, KeyCase{-1, "1", false},
                                           KeyCase{1000000, "1000000", false}, KeyCase{42, "4200", false}));

TEST(EmployeeKeys, MessagesNameTheNumber) {
    EXPECT_NE(masters::employeeKeyProblem(42, std::string_view("43"))->find("42"), std::string::npos);
    EXPECT_NE(masters::duplicateEmployeeNumberMessage(7).find("7"), std::string::npos);
}

TEST(ClosingDay, EmptyOrADayOfTheMonth) {
    for (const char* ok : {"", "  ", "1", "5", "05", "20", "30", "31", " 31 "})
        EXPECT_TRUE(masters::usableClosingDay(ok)) << ok;
    for (const char* bad : {"0", "00", "32", "99", "abc", "2 0", "-5", "5.5", "031", "２０"})
        EXPECT_FALSE(masters::usableClosingDay(bad)) << bad;
    EXPECT_EQ(
        masters::storedClosingDayMessage("abc"),
        "会社情報の締日 'abc' では支給期間を計算できません。会社情報の締日を1から31までの数字か空欄に直して下さい。");
}

TEST(Settings, RecorderKindsAndRates) {
    for (const char* known : {"0", "1", "2", "3"}) EXPECT_TRUE(masters::knownRecorderKind(known)) << known;
    for (const char* unknown : {"", "4", "9", " 1", "a"}) EXPECT_FALSE(masters::knownRecorderKind(unknown)) << unknown;
    EXPECT_TRUE(masters::usableRate(std::nullopt));
    EXPECT_TRUE(masters::usableRate(0.0));
    EXPECT_TRUE(masters::usableRate(4.55));
    EXPECT_FALSE(masters::usableRate(-0.5));
    EXPECT_EQ(masters::rateMessage("雇用料率（会社負担分）"), "雇用料率（会社負担分）は0以上の数字で入力して下さい。");
}

}  // namespace
