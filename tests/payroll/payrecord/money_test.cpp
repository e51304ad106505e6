// The money of pay records, case by case: each table names what it checks.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "payrecord/money.h"
#include "rtl/datetime.h"
#include "rtl/errors.h"

namespace payrecord {
namespace {

const rtl::TDateTime kToday = rtl::encodeDate(2026, 4, 15);

// Born so many whole days before kToday.
rtl::TDateTime bornDaysAgo(long long days) { return kToday - static_cast<double>(days); }
// Age in whole years by the 365.25-day rule: the first day of that age.
rtl::TDateTime bornAged(int years) { return bornDaysAgo((static_cast<long long>(years) * 1461 + 3) / 4); }

TaxableFlags flags(bool g7, bool g8, bool g9) { return TaxableFlags{{g7, g8, g9}}; }

// ---- gross, net and the slip identity ---------------------------------------

TEST(GrossAndNet, LateAndEarlyAmountsAreDeductedFromTheTaxableGross) {
    PayRow r;
    r.basking = 200000;
    r.futking = 12500;
    r.tikking = 1500;
    r.souking = 1000;
    r.gking = {5000, 0, 0, 0, 0, 0, 3000, 2000, 1000};
    // Allowance 8 taxable, 7 and 9 not.
    const TaxableFlags f = flags(false, true, false);
    EXPECT_EQ(taxableGross(r, f), 200000 + 12500 + 5000 + 2000 - 1500 - 1000);
    EXPECT_EQ(nonTaxableAllowances(r, f), 3000 + 1000);
    // 総支給額: everything earned before the late and early deductions.
    EXPECT_EQ(grossPay(r, f), 200000 + 12500 + 5000 + 3000 + 2000 + 1000);
}

TEST(GrossAndNet, FullMonthlyRecordReconcilesOnTheSlip) {
    PayRow r;
    r.basking = 180000;
    r.hayking = 1200;
    r.futking = 9375;
    r.sinking = 500;
    r.kyuking = 4000;
    r.tikking = 750;
    r.souking = 1250;
    r.gking = {10000, 5000, 0, 0, 2000, 0, 3000, 1500, 800};
    r.sking = {1000, 500, 300};
    r.kotuhi = 12000;
    r.hojyo = 2500;
    r.meat = 4400;
    r.shaho = 27777;
    r.zeiG = 4320;
    r.zeiK = 9000;
    const TaxableFlags f = flags(true, false, false);
    const Yen net = netPay(r, f);
    EXPECT_EQ(grossPay(r, f) + r.kotuhi + r.hojyo - totalDeductions(r), net);
    // And by hand: taxable gross 213075, non-taxable 2300.
    EXPECT_EQ(taxableGross(r, f), 213075);
    EXPECT_EQ(net, 213075 + 2300 + 12000 + 2500 - 4320 - 9000 - 1800 - 4400 - 27777);
}

TEST(GrossAndNet, TaxableFlagDecidesWhereAllowanceEightGoes) {
    PayRow r;
    r.basking = 100000;
    r.gking[7] = 3000;
    // Taxable: only through the gross; not taxable: added after the taxes. The
    // net pay is the same, the tax key is not.
    EXPECT_EQ(taxableGross(r, flags(false, true, false)), 103000);
    EXPECT_EQ(taxableGross(r, flags(false, false, false)), 100000);
    EXPECT_EQ(netPay(r, flags(false, true, false)), 103000);
    EXPECT_EQ(netPay(r, flags(false, false, false)), 103000);
    EXPECT_EQ(grossPay(r, flags(false, false, false)), 103000);
}

TEST(GrossAndNet, NetBonusLeavesOutTheResidentTax) {
    PayRow r;
    r.basking = 300000;
    r.gking[6] = 5000;  // non-taxable allowance 7
    r.kotuhi = 1000;
    r.hojyo = 500;
    r.zeiG = 12000;
    r.zeiK = 7000;
    r.sking = {100, 200, 300};
    r.meat = 400;
    r.shaho = 45000;
    EXPECT_EQ(netBonus(r, flags(false, false, false)), 300000 + 5000 + 1000 + 500 - 12000 - 600 - 400 - 45000);
}

// ---- base pay, allowances and transport ---------------------------------------

struct UnitCase {
    const char* name;
    const char* text;
    int minutes;
    int perHour;
};
void PrintTo(const UnitCase& c, std::ostream* os) { *os << c.name << " \"" << c.text << '"'; }
class RoundingUnit : public ::testing::TestWithParam<UnitCase> {};
TEST_P(RoundingUnit, MinutesAndUnitsPerHour) {
    const UnitCase& c = GetParam();
    EXPECT_EQ(roundingUnitMinutes(c.text), c.minutes);
    EXPECT_EQ(unitsPerHour(c.minutes), c.perHour);
}
INSTANTIATE_TEST_SUITE_P(Texts, RoundingUnit,
                         ::testing::Values(UnitCase{"plain", "15", 15, 4}, UnitCase{"withFun", "15分", 15, 4},
                                           UnitCase{"blanks", " 30 ", 30, 2}, UnitCase{"clock", "10:00", 10, 6},
                                           UnitCase{"one", "01", 1, 60}, UnitCase{"seven", "7分", 7, 8},
                                           UnitCase{"zero", "00", 0, 0}, UnitCase{"overHour", "90", 90, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RoundingUnit, TextWithoutDigitsIsAConversionError) {
    EXPECT_THROW(roundingUnitMinutes("分"), rtl::ConversionError);
    EXPECT_THROW(roundingUnitMinutes(""), rtl::ConversionError);
}

struct BaseCase {
    const char* name;
    const char* kind;
    Yen basePay, days, units;
    int perHour;
    std::optional<Yen> expected;
};
void PrintTo(const BaseCase& c, std::ostream* os) {
    *os << c.name << ": kind " << c.kind << " pay " << c.basePay << " days " << c.days << " units " << c.units;
}
class MonthlyBase : public ::testing::TestWithParam<BaseCase> {};
TEST_P(MonthlyBase, ByPayKind) {
    const BaseCase& c = GetParam();
    EXPECT_EQ(monthlyBasePay(c.kind, c.basePay, c.days, c.units, c.perHour), c.expected);
}
INSTANTIATE_TEST_SUITE_P(Kinds, MonthlyBase,
                         ::testing::Values(BaseCase{"monthly", "0", 250000, 20, 0, 0, 250000},
                                           BaseCase{"daily", "1", 8000, 20, 0, 0, 160000},
                                           BaseCase{"unitsExact", "2", 1000, 0, 30, 4, 7500},
                                           // 1002 / 4 = 250.5 rounds to the even 250 before it is multiplied.
                                           BaseCase{"unitsHalfToEven", "2", 1002, 0, 30, 4, 7500},
                                           BaseCase{"unitsHalfUpToEven", "2", 1006, 0, 30, 4, 252 * 30},
                                           BaseCase{"unitsNoWholeUnit", "2", 1000, 0, 30, 0, std::nullopt},
                                           BaseCase{"otherKind", "9", 1000, 20, 30, 4, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MonthAmounts, KindsDaysAndTransport) {
    WorkingMaster m;
    m.gkingKind = {"1", "2", "0", "2", "1", "", "1", "2"};
    m.gkingUnit = {500, 500, 700, 300, 0, 900, 1000, 100};
    m.skingKind = {"2", "1", "0"};
    m.skingUnit = {50, 2000, 300};
    m.kotuhi = 1199;
    const MonthAmounts zeroDays = monthAmounts(m, 0);
    EXPECT_EQ(zeroDays.gking[1], 0);    // kind 2 with no days
    EXPECT_EQ(zeroDays.gking[0], 500);  // kind 1 whatever the days
    const MonthAmounts a = monthAmounts(m, 20);
    EXPECT_EQ(a.gking, (std::array<Yen, 8>{500, 10000, 0, 6000, 0, 900, 1000, 2000}));
    EXPECT_EQ(a.sking, (std::array<Yen, 3>{1000, 2000, 0}));
    EXPECT_EQ(a.transport, 1199 * 20);
    EXPECT_EQ(transportFor(1200, 20), 1200);  // 1200 is a monthly amount
    EXPECT_EQ(transportFor(15000, 0), 15000);
}

TEST(MonthAmounts, SkipOnlyWhenBaseIsSetAndMatches) {
    MonthAmounts a;
    a.gking = {1000, 0, 3000, 0, 5000, 0, 0, 0};
    EXPECT_TRUE(amountsUnchanged(200000, 1000, 3000, 5000, 200000, a));
    EXPECT_FALSE(amountsUnchanged(0, 1000, 3000, 5000, 0, a));  // base 0 or empty: always written
    EXPECT_FALSE(amountsUnchanged(200000, 1000, 3000, 5001, 200000, a));
    EXPECT_FALSE(amountsUnchanged(199999, 1000, 3000, 5000, 200000, a));
}

TEST(DayCounts, AbsenceDaysAndDefaultUnits) {
    EXPECT_EQ(absenceDays(22, 18, 2, 0), 2);
    EXPECT_EQ(absenceDays(22, 18, 2, 3), std::nullopt);
    EXPECT_EQ(absenceDays(22, 0, 2, 0), 0);
    EXPECT_EQ(absenceDays(0, 18, 2, 0), 0);

    EXPECT_EQ(defaultUnits(450, 0, "15分"), 30);
    EXPECT_EQ(defaultUnits(465, 0, "30"), 16);  // 15.5 to the even 16
    EXPECT_EQ(defaultUnits(435, 0, "30"), 14);  // 14.5 to the even 14
    EXPECT_EQ(defaultUnits(450, 0, ""), 450);   // empty unit counts as one minute
    EXPECT_EQ(defaultUnits(450, 0, "0"), 450);
    EXPECT_EQ(defaultUnits(450, 12, "15"), std::nullopt);  // units already set
    EXPECT_EQ(defaultUnits(0, 0, "15"), std::nullopt);
}

TEST(Dialogs, TimeAndCountAmounts) {
    EXPECT_EQ(timeAmount(1, 30, 1250).minutes, 90);
    EXPECT_EQ(timeAmount(1, 30, 1250).amount, 1875);
    EXPECT_EQ(timeAmount(1, 30, 1001).amount, 1502);  // 1501.5 to the even 1502
    EXPECT_EQ(timeAmount(0, 30, 1001).amount, 500);   // 500.5 to the even 500
    EXPECT_EQ(countAmount(2, 300), 600);
}

// ---- social insurance ----------------------------------------------------------

Rates exampleRates() {
    Rates r;
    r.hoken = 50;
    r.hokenk = 9;
    r.koyo = 3;
    r.hoken2 = 50;
    r.hokenk2 = 9;
    r.koyo2 = 6;
    return r;
}

WorkingMaster monthlyByRate(rtl::TDateTime birth) {
    WorkingMaster m;
    m.birth = birth;
    m.hokenYN = 1;
    m.koyouYN = "1";
    return m;
}

TEST(MonthlyInsurance, WorkedExample) {
    const Insurance s = monthlyInsurance(monthlyByRate(bornAged(45)), exampleRates(), 200000 + 10000, kToday);
    EXPECT_EQ(s.hoken, 10500);
    EXPECT_EQ(s.hokenk, 1890);
    EXPECT_EQ(s.koyou, 630);
    EXPECT_EQ(s.nenkin, 0);
    EXPECT_EQ(s.kikin, 0);
    EXPECT_EQ(s.employeeTotal(), 13020);
    EXPECT_EQ(s.koyou2, 1260);
}

struct BandCase {
    const char* name;
    long long daysOld;
    bool care;
};
void PrintTo(const BandCase& c, std::ostream* os) { *os << c.name << " (" << c.daysOld << " days old)"; }
class CareBand : public ::testing::TestWithParam<BandCase> {};
TEST_P(CareBand, FortyIncludedSixtyFiveExcluded) {
    const BandCase& c = GetParam();
    const Insurance s = monthlyInsurance(monthlyByRate(bornDaysAgo(c.daysOld)), exampleRates(), 210000, kToday);
    EXPECT_EQ(s.hokenk != 0, c.care);
    EXPECT_EQ(s.hoken, 10500);
}
INSTANTIATE_TEST_SUITE_P(Ages, CareBand,
                         ::testing::Values(BandCase{"age39y364d", (40LL * 1461) / 4 - 1, false},
                                           BandCase{"age40", (40LL * 1461 + 3) / 4, true},
                                           BandCase{"age64", (65LL * 1461) / 4 - 1, true},
                                           BandCase{"age65", (65LL * 1461 + 3) / 4, false}),
                         [](const auto& info) { return std::string(info.param.name); });

struct FixedCase {
    const char* name;
    rtl::TDateTime birth;
    Rates rates;
    Insurance expected;
};
Rates rates(double h, double k, double h2, double k2) {
    Rates r;
    r.hoken = h;
    r.hokenk = k;
    r.hoken2 = h2;
    r.hokenk2 = k2;
    return r;
}
Insurance health(Yen h, Yen k, Yen h2, Yen k2) {
    Insurance s;
    s.hoken = h;
    s.hokenk = k;
    s.hoken2 = h2;
    s.hokenk2 = k2;
    return s;
}
void PrintTo(const FixedCase& c, std::ostream* os) { *os << c.name; }
class FixedHealth : public ::testing::TestWithParam<FixedCase> {};
TEST_P(FixedHealth, SplitByRatesInTheBand) {
    const FixedCase& c = GetParam();
    WorkingMaster m;
    m.birth = c.birth;
    m.hokenYN = 12000;
    EXPECT_EQ(monthlyInsurance(m, c.rates, 300000, kToday), c.expected);
}
INSTANTIATE_TEST_SUITE_P(
    Cases, FixedHealth,
    ::testing::Values(
        FixedCase{"inBand", bornAged(45), rates(50, 10, 40, 10), health(10000, 2000, 9600, 2400)},
        FixedCase{"outsideBand", bornAged(30), rates(50, 10, 40, 10), health(12000, 0, 12000, 0)},
        // Empty employer rates: the employer copies the employee's split.
        FixedCase{"employerRatesEmpty", bornAged(45), rates(50, 10, 0, 0), health(10000, 2000, 10000, 2000)},
        // A missing or too early birth date counts as outside the band (not 0 for all).
        FixedCase{"noBirthDate", 0, rates(50, 10, 50, 10), health(12000, 0, 12000, 0)},
        FixedCase{"birth1910", rtl::encodeDate(1910, 1, 1), rates(50, 10, 50, 10), health(12000, 0, 12000, 0)},
        // Rates adding up to 0 give no split.
        FixedCase{"rateSumZero", bornAged(45), rates(0, 0, 0, 0), health(12000, 0, 12000, 0)},
        FixedCase{"employerSumZeroOnly", bornAged(45), rates(50, 10, 5, -5), health(10000, 2000, 12000, 0)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MonthlyInsurance, RatesAreExactDecimals) {
    WorkingMaster m;
    m.koyouYN = "1";
    Rates r;
    r.koyo = 4.1;  // 15000 × 4.1 / 1000 = 61.5 exactly: half to even gives 62
    EXPECT_EQ(monthlyInsurance(m, r, 15000, kToday).koyou, 62);
    r.koyo = 4.3;  // 64.5 exactly: to the even 64
    EXPECT_EQ(monthlyInsurance(m, r, 15000, kToday).koyou, 64);
}

TEST(MonthlyInsurance, PensionAndFundKinds) {
    WorkingMaster m;
    Rates r;
    r.nenkin = 91.5;
    r.nenkin2 = 91.5;
    r.kikin = 5;
    r.kikin2 = 6;
    m.nenkinYN = 1;
    m.kikinYN = 3000;
    Insurance s = monthlyInsurance(m, r, 200000, kToday);
    EXPECT_EQ(s.nenkin, 18300);
    EXPECT_EQ(s.nenkin2, 18300);
    EXPECT_EQ(s.kikin, 3000);
    EXPECT_EQ(s.kikin2, 3000);
    EXPECT_EQ(s.hoken, 0);
}

TEST(WeeklyInsurance, HealthAlwaysPensionOnlyAboveOne) {
    WorkingMaster m;
    m.restNN = 1;
    m.birth = bornAged(45);
    Rates r = exampleRates();
    r.nenkin = 91.5;
    m.nenkinYN = 1;
    Insurance s = monthlyInsurance(m, r, 100000, kToday);
    EXPECT_EQ(s.hoken, 5000);
    EXPECT_EQ(s.hokenk, 0);  // E_HOKEN_YN 0: no care
    EXPECT_EQ(s.nenkin, 0);
    m.nenkinYN = 2;
    m.hokenYN = 1;
    s = monthlyInsurance(m, r, 100000, kToday);
    EXPECT_EQ(s.nenkin, 9150);
    EXPECT_EQ(s.hokenk, 900);
}

// ---- monthly withholding tax ------------------------------------------------

std::vector<TaxBand> monthlyBands() {
    TaxBand low;  // below 100000: 乙 by 3 %
    low.lower = 0;
    low.upper = 100000;
    low.overBit = 3;
    TaxBand mid;
    mid.lower = 100000;
    mid.upper = 300000;
    mid.tax = {3000, 2000, 1000, 0, 0, 0, 0, 0, 9000, 0};
    TaxBand top;
    top.lower = 300000;
    top.upper = 999999999;
    top.tax = {8000, 7000, 6000, 5000, 4000, 3000, 2000, 1000, 20000, 0};
    top.overBit = 10;
    return {low, mid, top};
}

struct TaxCase {
    const char* name;
    Yen x;
    int column;
    Yen expected;
};
void PrintTo(const TaxCase& c, std::ostream* os) { *os << c.name << ": key " << c.x << " column " << c.column; }
class MonthlyTax : public ::testing::TestWithParam<TaxCase> {};
TEST_P(MonthlyTax, BandsAndRates) {
    const TaxCase& c = GetParam();
    EXPECT_EQ(withholdingTax(monthlyBands(), c.x, c.column, false), c.expected);
}
INSTANTIATE_TEST_SUITE_P(
    Cases, MonthlyTax,
    ::testing::Values(TaxCase{"aboveTableTruncated", 305555, 0, 8555},  // Int(8000 + 555.5)
                      TaxCase{"aboveTableOtsu", 305555, 8, 20555}, TaxCase{"belowTableOtsu", 10000, 8, 300},
                      TaxCase{"belowTableKou", 10000, 0, 0}, TaxCase{"inTable", 150000, 1, 2000},
                      TaxCase{"exactlyAtUpperIsNextBand", 300000, 0, 8000},  // 300000 is not above 300000
                      TaxCase{"column9", 150000, 9, 0}, TaxCase{"unknownColumn", 150000, 12, 0},
                      TaxCase{"negativeKey", -5, 8, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MonthlyTax, OtsuBelowTableRoundsHalfToEven) {
    TaxBand b;
    b.lower = 0;
    b.upper = 100000;
    b.overBit = 3;
    EXPECT_EQ(withholdingTax({b}, 90000, 8, false), 2700);
    b.overBit = 3.063;
    EXPECT_EQ(withholdingTax({b}, 50000, 8, false), 1532);  // 1531.5 to the even 1532
}

TEST(MonthlyTax, DailyTableThresholds) {
    TaxBand b;
    b.lower = 24000;
    b.upper = 999999;
    b.tax[0] = 2250;
    b.overBit = 20.42;
    EXPECT_EQ(withholdingTax({b}, 30000, 0, true), 2250);         // not above 30000
    EXPECT_EQ(withholdingTax({b}, 30001, 0, true), 2250 + 1225);  // 6001 × 20.42 % = 1225.4
    // The monthly thresholds would take 30001 as below the table: 甲 0.
    EXPECT_EQ(withholdingTax({b}, 30001, 0, false), 0);
}

TEST(ResidentTax, NegativeIsZero) {
    EXPECT_EQ(residentTax(-500), 0);
    EXPECT_EQ(residentTax(0), 0);
    EXPECT_EQ(residentTax(9000), 9000);
}

// ---- bonus ----------------------------------------------------------------

TEST(Bonus, StandardBonusAndExactRates) {
    EXPECT_EQ(standardBonus(123999), 123000);
    EXPECT_EQ(standardBonus(999), 0);
    WorkingMaster m;
    m.hokenYN = 1;
    m.birth = bornAged(30);
    Rates r;
    r.hoken = 41.0;
    EXPECT_EQ(bonusInsurance(m, r, standardBonus(123999), kToday).hoken, 5043);
    r.hoken = 41.05;  // 5049.15 truncated
    EXPECT_EQ(bonusInsurance(m, r, standardBonus(123999), kToday).hoken, 5049);
}

TEST(Bonus, CareBandTakesTheWholeCharge) {
    WorkingMaster m;
    m.hokenYN = 1;
    Rates r;
    r.hoken = 50;
    r.hokenk = 9.1;
    r.hoken2 = 50;
    r.hokenk2 = 9.1;
    m.birth = bornAged(45);
    Insurance s = bonusInsurance(m, r, 300000, kToday);
    EXPECT_EQ(s.hoken, 0);
    EXPECT_EQ(s.hokenk, 17730);  // 300000 × 59.1 / 1000 exactly
    EXPECT_EQ(s.hokenk2, 17730);
    for (int age : {39, 65}) {
        m.birth = bornAged(age);
        s = bonusInsurance(m, r, 300000, kToday);
        EXPECT_EQ(s.hoken, 15000) << age;
        EXPECT_EQ(s.hokenk, 0) << age;
    }
}

TEST(Bonus, FixedHealthGoesWholeIntoOnePair) {
    WorkingMaster m;
    m.hokenYN = 20000;
    m.birth = bornAged(45);
    EXPECT_EQ(bonusInsurance(m, Rates{}, 500000, kToday), health(0, 20000, 0, 20000));
    m.birth = bornAged(30);
    EXPECT_EQ(bonusInsurance(m, Rates{}, 500000, kToday), health(20000, 0, 20000, 0));
    // Without a usable birth date: outside the band, not 0 for all.
    m.birth = rtl::encodeDate(1910, 1, 1);
    EXPECT_EQ(bonusInsurance(m, Rates{}, 500000, kToday), health(20000, 0, 20000, 0));
}

TEST(Bonus, BasePayByKind) {
    EXPECT_EQ(bonusBasePay("1", 8000, 20, 0, 1.5), 240000);
    EXPECT_EQ(bonusBasePay("0", 250001, 0, 0, 1.5), 375001);  // 375001.5 truncated
    EXPECT_EQ(bonusBasePay("2", 1000, 0, 125, 1), 2083);      // 2083.33 truncated
    EXPECT_EQ(bonusBasePay("0", 300000, 0, 0, 2.1), 630000);  // exact, not 629999
    EXPECT_EQ(bonusBasePay("5", 1000, 1, 1, 1), std::nullopt);
}

std::vector<BonusRateRow> bonusRates() {
    auto row = [](Yen from, Yen to, double rate) {
        BonusRateRow r;
        r.from.fill(from);
        r.to.fill(to);
        r.rate = rate;
        return r;
    };
    return {row(0, 100000, 0), row(100000, 300000, 4.084), row(300000, 999999999, 10.21)};
}

TEST(BonusTax, RateOfThePreviousMonthsPay) {
    // The rate is found with the previous month's pay (250000 -> 4.084 %), not
    // with the bonus (which would give 10.21 %).
    const BonusTax t = bonusTax(500000, 0, Yen{250000}, bonusRates(), monthlyBands());
    EXPECT_EQ(t.method, BonusTaxMethod::Rate);
    EXPECT_DOUBLE_EQ(t.rate, 4.084);
    EXPECT_EQ(t.tax, 20420);
    EXPECT_NE(describeBonusTax(t).find("4.084"), std::string::npos);
}

struct OtsuCase {
    const char* name;
    Yen x;
    int column;
    Yen expected;
};
void PrintTo(const OtsuCase& c, std::ostream* os) { *os << c.name << ": base " << c.x << " column " << c.column; }
class BonusTaxRounding : public ::testing::TestWithParam<OtsuCase> {};
TEST_P(BonusTaxRounding, TruncatedButOtsuHalfToEven) {
    const OtsuCase& c = GetParam();
    auto row = [](double rate) {
        BonusRateRow r;
        r.from.fill(0);
        r.to.fill(999999999);
        r.rate = rate;
        return r;
    };
    EXPECT_EQ(bonusTax(c.x, c.column, Yen{100000}, {row(10)}, {}).tax, c.expected);
}
INSTANTIATE_TEST_SUITE_P(Cases, BonusTaxRounding,
                         ::testing::Values(OtsuCase{"otsu1234_5", 12345, 8, 1234},
                                           OtsuCase{"otsu1235_5", 12355, 8, 1236},
                                           OtsuCase{"kou1234_5", 12345, 0, 1234}, OtsuCase{"kou1235_5", 12355, 3, 1235},
                                           OtsuCase{"hei", 12355, 9, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BonusTax, MonthlyTableMethodWithoutPreviousPay) {
    // No previous month: (T(0 + X/6) − T(0)) × 6. X = 900000: X/6 = 150000,
    // column 1 tax 2000 in the table, so 12000.
    BonusTax t = bonusTax(900000, 1, std::nullopt, bonusRates(), monthlyBands());
    EXPECT_EQ(t.method, BonusTaxMethod::MonthlyTable);
    EXPECT_EQ(t.tax, 12000);
    // A bonus above ten times the previous pay: (T(250000 + 500000) − T(250000)) × 6.
    // T(750000) col 0 = 8000 + 45000, T(250000) = 3000: 50000 × 6.
    t = bonusTax(3000000, 0, Yen{250000}, bonusRates(), monthlyBands());
    EXPECT_EQ(t.method, BonusTaxMethod::MonthlyTable);
    EXPECT_EQ(t.tax, 300000);
    // X/6 truncated: 900005 / 6 = 150000.83 -> 150000.
    EXPECT_EQ(bonusTax(900005, 1, Yen{0}, bonusRates(), monthlyBands()).tax, 12000);
    // A previous pay of 0 or less also takes the monthly table.
    EXPECT_EQ(bonusTax(900000, 1, Yen{-10}, bonusRates(), monthlyBands()).method, BonusTaxMethod::MonthlyTable);
}

TEST(BonusTax, NoTaxOnANegativeBase) {
    EXPECT_EQ(bonusTax(-100, 0, Yen{250000}, bonusRates(), monthlyBands()).tax, 0);
    EXPECT_EQ(bonusTax(0, 0, std::nullopt, bonusRates(), monthlyBands()).tax, 0);
}

// ---- deduction slip ----------------------------------------------------------

TEST(Slip, TotalsCountAdditionsAsNegative) {
    const SlipTotals s = slipTotals({3000, -500, 0, 0, 0, 0, 0, 0, 0, 0}, 200000);
    EXPECT_EQ(s.total, 2500);
    EXPECT_EQ(s.transfer, 197500);
}

}  // namespace
}  // namespace payrecord
