// The year's withholding data: records placed by what their keys mean, the
// taxable gross and insurance figures of the slip, one transaction.
#include <gtest/gtest.h>

#include "fixture.h"
#include "rtl/errors.h"
#include "yearend/withholding.h"

namespace yearend::testing {
namespace {

using Amounts = std::map<std::string, long long>;

// A month of employee 1: taxable gross 218000 (allowance 7 is not taxable,
// allowance 8 is), stored gross S_TOTALS 222000, social insurance 31200 of
// which 500 pension fund.
const Amounts kMonth = {{"S_DAYS", 20},      {"S_KINMU", 9600},    {"S_BASKING", 200000}, {"S_FUTKING", 10000},
                        {"S_SINKING", 2000}, {"S_GKING1", 5000},   {"S_GKING7", 3000},    {"S_GKING8", 2000},
                        {"S_TIKKING", 1000}, {"S_TOTALS", 222000}, {"S_HOKEN", 10000},    {"S_HOKENK", 1500},
                        {"S_NENKIN", 18000}, {"S_KIKIN", 500},     {"S_KOYOU", 1200},     {"S_SHAHO", 31200},
                        {"S_ZEI_G", 4000},   {"S_ZEI_K", 6000},    {"S_KOTUHI", 8000},    {"S_HOJYO", 1000},
                        {"S_MEAT_K", 2000},  {"S_TOTALT", 170000}};
// A bonus: S_TOTALS holds only the standard amount cut to thousands.
Amounts bonus(long long allowance) {
    return {{"S_BASKING", 300000}, {"S_GKING1", allowance}, {"S_TOTALS", 300000},
            {"S_HOKEN", 15000},    {"S_NENKIN", 27000},     {"S_KOYOU", 1800},
            {"S_SHAHO", 43800},    {"S_ZEI_G", 25000},      {"S_TOTALT", 256200}};
}

class Aggregation : public YearEndDb {
public:
    void SetUp() override {
        YearEndDb::SetUp();
        exec("UPDATE title_mas SET GK_FLG7 = '0', GK_FLG8 = '1', GK_FLG9 = '0' WHERE CODE = 1");
        addEmployee(1, "山田太郎");
        addEmployee(2, "佐藤花子");
        addEmployee(3, longName);
        for (int m = 1; m <= 12; ++m) addPay(1, (m < 10 ? "23/0" : "23/") + std::to_string(m), kMonth);
        addPay(1, "23-1", bonus(456), true);
        addPay(1, "23-2", bonus(0), true);
        // Outside 2023.
        addPay(1, "22/12", {{"S_BASKING", 99999}});
        addPay(1, "24/01", {{"S_BASKING", 77777}});
        addPay(1, "22-2", {{"S_BASKING", 55555}}, true);
        addPay(1, "24-1", {{"S_BASKING", 44444}}, true);
        // Weekly or daily pay under the date of the period's last day.
        addPay(2, "23/03/10", {{"S_DAYS", 5}, {"S_BASKING", 50000}});
        addPay(2, "23/03/17", {{"S_DAYS", 5}, {"S_BASKING", 50000}});
        addPay(2, "24/01/05", {{"S_DAYS", 5}, {"S_BASKING", 40000}});
        addPay(2, "23/06", {{"S_BASKING", 100000}});
        // Nobody's record.
        addPay(9, "23/05", {{"S_BASKING", 123}});
    }
    const std::string longName = "寿限無寿限無五劫擦り切れ海砂利水魚の水行";  // 20 characters
};

TEST_F(Aggregation, AYearOfTwelveMonthsAndTwoBonuses) {
    exec("INSERT INTO gensen (code, dname, total_1) VALUES (99, '前年', 5)");

    const auto result = buildWithholdingData(*conn, monthRange("2023", "01", "2023", "12"));

    EXPECT_EQ(result.rows.size(), 3u);
    EXPECT_EQ(result.monthly, 13);
    EXPECT_EQ(result.weeklyDaily, 2);
    EXPECT_EQ(result.bonus, 2);
    EXPECT_EQ(result.bonusLeftOut, 0);
    EXPECT_EQ(number("SELECT COUNT(*) FROM gensen"), 3);

    const struct {
        const char* column;
        long long expected;
    } employee1[] = {
        {"kinmu", 12 * 20},
        {"mid_kinmu", 12 * 9600},
        // 12 × 218000 + (300000 + 456) + 300000: the taxable gross, not Σ S_TOTALS.
        {"total_1", 3216456},
        {"ken_ho", 12 * (10000 + 1500) + 2 * 15000},
        {"gensen_z", 12 * 4000 + 2 * 25000},
        {"jyumin_z", 12 * 6000},
        {"koyo_ho", 12 * 1200 + 2 * 1800},
        // The pension fund is part of S_SHAHO, so it joins the pension figure.
        {"koyo_sho", 12 * (18000 + 500) + 2 * 27000},
        {"total_s", 3216456 - (12 * 31200 + 2 * 43800)},
        {"kotu_hi", 12 * 8000},
        {"sub1", 12 * 1000},
        {"meat_back", 12 * 2000},
        {"total_t", 12 * 170000 + 2 * 256200},
        {"teate1", 0},
    };
    for (const auto& c : employee1) EXPECT_EQ(gensen(1, c.column), c.expected) << c.column;
    EXPECT_EQ(gensen(1, "ken_ho") + gensen(1, "koyo_ho") + gensen(1, "koyo_sho"), 12 * 31200 + 2 * 43800);
    EXPECT_EQ(text("SELECT dcode FROM gensen WHERE code = 1"), "000001");
    EXPECT_EQ(text("SELECT dname FROM gensen WHERE code = 1"), "山田太郎");
    EXPECT_EQ(text("SELECT fct_code FROM gensen WHERE code = 1"), "");
    EXPECT_TRUE(conn->scalar("SELECT hym FROM gensen WHERE code = 1").isNull());

    EXPECT_EQ(gensen(2, "total_1"), 50000 + 50000 + 100000);
    EXPECT_EQ(gensen(2, "kinmu"), 10);
    // An employee without records gets a row of zeros, with the whole name.
    EXPECT_EQ(text("SELECT dname FROM gensen WHERE code = 3"), longName);
    EXPECT_EQ(gensen(3, "total_1"), 0);
    EXPECT_EQ(number("SELECT COUNT(*) FROM gensen WHERE code = 99"), 0);

    const std::string message = finishedMessage(result);
    EXPECT_NE(message.find("源泉データ 3 件を作成しました。"), std::string::npos) << message;
    EXPECT_NE(message.find("賞与 2 件"), std::string::npos) << message;
    EXPECT_EQ(message.find("含めていません"), std::string::npos) << message;
}

TEST_F(Aggregation, ARangeAcrossAYearEndLeavesBonusesOutAndSaysSo) {
    const auto result = buildWithholdingData(*conn, monthRange("2023", "10", "2024", "03"));

    EXPECT_EQ(gensen(1, "total_1"), 3 * 218000 + 77777);
    EXPECT_EQ(gensen(2, "total_1"), 40000);
    EXPECT_EQ(result.monthly, 4);
    EXPECT_EQ(result.weeklyDaily, 1);
    EXPECT_EQ(result.bonus, 0);
    EXPECT_EQ(result.bonusLeftOut, 3);  // 23-1, 23-2, 24-1; 22-2 lies outside the years
    EXPECT_NE(finishedMessage(result).find("賞与 3 件は含めていません。"), std::string::npos);
}

TEST_F(Aggregation, ARangeAcrossACenturySelectsBothSides) {
    addEmployee(4, "世紀");
    addPay(4, "99/11", {{"S_BASKING", 4000}});
    addPay(4, "99/12", {{"S_BASKING", 1000}});
    addPay(4, "00/01", {{"S_BASKING", 2000}});
    addPay(4, "00/02", {{"S_BASKING", 8000}});
    buildWithholdingData(*conn, monthRange("1999", "12", "2000", "01"));
    EXPECT_EQ(gensen(4, "total_1"), 3000);
}

TEST_F(Aggregation, AFailureKeepsTheOldRows) {
    exec("DELETE FROM gensen");
    exec("INSERT INTO gensen (code, dname, total_1) VALUES (42, '前年', 777)");
    conn->executeNative(
        "CREATE TRIGGER refuse BEFORE INSERT ON gensen WHEN NEW.code = 2 BEGIN SELECT RAISE(ABORT, 'full'); END");

    EXPECT_ANY_THROW(buildWithholdingData(*conn, monthRange("2023", "01", "2023", "12")));

    EXPECT_EQ(number("SELECT COUNT(*) FROM gensen"), 1);
    EXPECT_EQ(gensen(42, "total_1"), 777);
}

TEST_F(Aggregation, ABadRangeIsRefusedBeforeAnythingChanges) {
    EXPECT_THROW(monthRange("2023", "13", "2023", "12"), rtl::Error);
    EXPECT_THROW(monthRange("2023", "01", "2022", "12"), rtl::Error);
    EXPECT_THROW(monthRange("20x3", "01", "2023", "12"), rtl::ConversionError);
    const MonthRange r = monthRange("2023", "1", "2023", "12");
    EXPECT_TRUE(r.oneCalendarYear());
    EXPECT_FALSE(monthRange("2023", "01", "2024", "12").oneCalendarYear());
}

TEST_F(Aggregation, AnEmptyEmployeeTableLeavesGensenEmpty) {
    exec("DELETE FROM emp_tanka");
    exec("INSERT INTO gensen (code) VALUES (5)");
    EXPECT_TRUE(buildWithholdingData(*conn, monthRange("2023", "01", "2023", "12")).rows.empty());
    EXPECT_EQ(number("SELECT COUNT(*) FROM gensen"), 0);
}

struct RangeCase {
    const char* name;
    const char* fromYear;
    const char* fromMonth;
    const char* toYear;
    const char* toMonth;
    bool accepted;
};

class RangeTexts : public ::testing::TestWithParam<RangeCase> {};

// A range that is refused never reaches the question that empties gensen.
TEST_P(RangeTexts, AreAcceptedOnlyAsARangeOfFourDigitYears) {
    const RangeCase& c = GetParam();
    if (c.accepted) {
        EXPECT_NO_THROW(monthRange(c.fromYear, c.fromMonth, c.toYear, c.toMonth));
        return;
    }
    try {
        monthRange(c.fromYear, c.fromMonth, c.toYear, c.toMonth);
        ADD_FAILURE() << "accepted";
    } catch (const rtl::ConversionError&) {
        ADD_FAILURE() << "a conversion error, not the range message";
    } catch (const rtl::Error& e) {
        EXPECT_STREQ(e.what(), kBadRangeMessage);
    }
}

INSTANTIATE_TEST_SUITE_P(, RangeTexts,
                         ::testing::Values(RangeCase{"one_year", "2023", "01", "2023", "12", true},
                                           RangeCase{"across_a_year_end", "2023", "10", "2024", "03", true},
                                           RangeCase{"two_digit_years", "23", "01", "23", "12", false},
                                           RangeCase{"two_digit_last_year", "2023", "01", "24", "12", false},
                                           RangeCase{"five_digit_last_year", "2023", "01", "20234", "12", false},
                                           RangeCase{"year_zero", "0", "01", "2023", "12", false},
                                           RangeCase{"month_13", "2023", "01", "2023", "13", false},
                                           RangeCase{"month_0", "2023", "00", "2023", "12", false},
                                           RangeCase{"start_after_end", "2024", "01", "2023", "12", false}),
                         [](const auto& info) { return std::string(info.param.name); });

struct LeftOutCase {
    const char* name;
    const char* fromYear;
    const char* fromMonth;
    const char* toYear;
    const char* toMonth;
    long long leftOut;
};

class BonusesLeftOut : public Aggregation, public ::testing::WithParamInterface<LeftOutCase> {};

// The message gives the true reason: the range is not one year, January to
// December; two whole years are no such range either.
TEST_P(BonusesLeftOut, AreCountedAndTheReasonGiven) {
    const LeftOutCase& c = GetParam();
    const auto result = buildWithholdingData(*conn, monthRange(c.fromYear, c.fromMonth, c.toYear, c.toMonth));
    EXPECT_EQ(result.bonus, 0);
    EXPECT_EQ(result.bonusLeftOut, c.leftOut);
    const std::string message = finishedMessage(result);
    EXPECT_NE(message.find("\r支給範囲が1年間（1月～12月）でないため、賞与 " + std::to_string(c.leftOut) +
                           " 件は含めていません。"),
              std::string::npos)
        << message;
}

INSTANTIATE_TEST_SUITE_P(, BonusesLeftOut,
                         ::testing::Values(LeftOutCase{"two_whole_years", "2023", "01", "2024", "12", 3},
                                           LeftOutCase{"across_a_year_end", "2023", "10", "2024", "03", 3},
                                           LeftOutCase{"part_of_a_year", "2023", "04", "2023", "09", 2}),
                         [](const auto& info) { return std::string(info.param.name); });

struct KeyCase {
    const char* name;
    const char* key;
    RecordKind kind;
    int year, month;
};

class KeyPlaces : public ::testing::TestWithParam<KeyCase> {};

TEST_P(KeyPlaces, ReadsTheKey) {
    rtl::ScopedTestClock clock(46000);  // 2025-12-09: the window is 1975..2074
    const KeyPlace p = placeOfKey(GetParam().key);
    EXPECT_EQ(p.kind, GetParam().kind);
    if (p.kind == RecordKind::Unknown) return;
    EXPECT_EQ(p.year, GetParam().year);
    EXPECT_EQ(p.month, GetParam().month);
}

INSTANTIATE_TEST_SUITE_P(, KeyPlaces,
                         ::testing::Values(KeyCase{"month", "23/07", RecordKind::Monthly, 2023, 7},
                                           KeyCase{"month_of_last_century", "99/12", RecordKind::Monthly, 1999, 12},
                                           KeyCase{"week_or_day", "23/07/15", RecordKind::WeeklyDaily, 2023, 7},
                                           KeyCase{"bonus", "23-2", RecordKind::Bonus, 2023, 0},
                                           KeyCase{"month_13", "23/13", RecordKind::Unknown, 0, 0},
                                           KeyCase{"impossible_date", "23/02/30", RecordKind::Unknown, 0, 0},
                                           KeyCase{"empty", "", RecordKind::Unknown, 0, 0},
                                           KeyCase{"bonus_without_number", "23-", RecordKind::Unknown, 0, 0},
                                           KeyCase{"text", "abc", RecordKind::Unknown, 0, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace yearend::testing
