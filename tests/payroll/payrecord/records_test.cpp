// The pay-record commands and the batch calculation on a real database:
// the delivered tax tables and settings, employees and pay rows that each
// test states.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

#include "data/queries.h"
#include "fixture.h"
#include "payrecord/actions.h"
#include "payrecord/store.h"
#include "rtl/datetime.h"

namespace payrecord {
namespace {

const rtl::TDateTime kToday = rtl::encodeDate(2026, 4, 15);

class Records : public testing::PayFolder {};

// One employee month by hand, from the month totals' row to the net pay.
//   master: monthly pay 250000, allowance 1 fixed 10000, allowance 2 500 a
//   day, deduction 1 fixed 2000, transport 800 a day, meal 3000, resident
//   tax 12000, health and pension by rate, employment insurance, one
//   dependant, aged 45 (care band).
//   row: 20 days, base 250000, overtime 15625, late arrival 1000.
//   taxable gross 250000 + 15625 − 1000 + 10000 + 20 × 500 = 284625
//   transport 800 × 20 = 16000; insurable pay 300625
//   health 300625 × 49.25‰ = 14805.78 → 14806; care × 8.1‰ = 2435.06 → 2435
//   employment × 5‰ = 1503.125 → 1503; pension × 91.5‰ = 27507.19 → 27507
//   social insurance 46251; tax key 238374 → monthly table, column 1: 4060
//   gross before deductions 285625; net 284625 + 16000 − 4060 − 12000 −
//   2000 − 3000 − 46251 = 233314
TEST_F(Records, OneEmployeeMonthByHand) {
    employee(1, "01",
             {{"E_PAYKBN", "0"},
              {"E_BASEPAY", 250000},
              {"E_GKING_S1", "1"},
              {"E_GKING_K1", 10000},
              {"E_GKING_S2", "2"},
              {"E_GKING_K2", 500},
              {"E_SKING_S1", "1"},
              {"E_SKING_K1", 2000},
              {"E_KOTUHI", 800},
              {"E_MEAT_K", 3000},
              {"E_JYUMIN_Z", 12000},
              {"E_HOKEN_YN", 1},
              {"E_NENKIN_YN", 1},
              {"E_KOYOU_YN", "1"},
              {"E_KNTKBN", 1},
              {"E_BARTH", rtl::encodeDate(1980, 6, 1)}});
    payRow(1, "26/04", {{"S_DAYS", 20}, {"S_BASKING", 250000}, {"S_FUTKING", 15625}, {"S_TIKKING", 1000}});

    const BatchResult r = calculateMonth(*dm, "26/04", kToday);
    EXPECT_EQ(r.rows, 1);
    EXPECT_EQ(r.stoppedBy, "");
    const std::map<std::string, long long> expected = {
        {"S_BASKING", 250000}, {"S_GKING1", 10000}, {"S_GKING2", 10000}, {"S_SKING1", 2000}, {"S_KOTUHI", 16000},
        {"S_MEAT_K", 3000},    {"S_HOKEN", 14806},  {"S_HOKENK", 2435},  {"S_KOYOU", 1503},  {"S_NENKIN", 27507},
        {"S_KIKIN", 0},        {"S_SHAHO", 46251},  {"S_ZEI_G", 4060},   {"S_ZEI_K", 12000}, {"S_TOTALS", 285625},
        {"S_TOTALT", 233314},  {"S_GKING9", 0},     {"S_HOJYO", 0}};
    for (const auto& [column, value] : expected) EXPECT_EQ(cell(1, "26/04", column), value) << column;

    // The slip reconciles: 総支給額 + 交通費 + 補助 − 控除額計 = 差引支給額.
    showRecords(dm->sum_tran, "26/04");
    const PayRow row = readPayRow(dm->sum_tran);
    EXPECT_EQ(cell(1, "26/04", "S_TOTALS") + row.kotuhi + row.hojyo - totalDeductions(row),
              cell(1, "26/04", "S_TOTALT"));
}

TEST_F(Records, BatchStopsAtAnUnknownCategoryAndKeepsEarlierRows) {
    employee(1, "01", {{"E_PAYKBN", "1"}, {"E_BASEPAY", 8000}});
    employee(2, "99", {{"E_PAYKBN", "1"}, {"E_BASEPAY", 8000}});
    employee(3, "01", {{"E_PAYKBN", "1"}, {"E_BASEPAY", 8000}});
    for (int no : {1, 2, 3}) payRow(no, "26/04", {{"S_DAYS", 10}, {"S_BASKING", 80000}});
    const BatchResult r = calculateMonth(*dm, "26/04", kToday);
    EXPECT_EQ(r.rows, 1);
    EXPECT_EQ(r.stoppedBy, BadCategoryMessage);
    EXPECT_EQ(cell(1, "26/04", "S_TOTALT"), 80000);
    EXPECT_EQ(cell(2, "26/04", "S_TOTALT"), -1);  // untouched
    EXPECT_EQ(cell(3, "26/04", "S_TOTALT"), -1);
}

TEST_F(Records, BatchEndedByAnErrorKeepsTheRowsDoneBeforeIt) {
    c().execute("INSERT INTO 区分 (区分, 就業丸め単位) VALUES ('02', 'ab')");
    employee(1, "01", {{"E_PAYKBN", "1"}, {"E_BASEPAY", 8000}});
    employee(2, "02", {{"E_PAYKBN", "1"}, {"E_BASEPAY", 8000}});
    for (int no : {1, 2}) payRow(no, "26/04", {{"S_DAYS", 10}, {"S_BASKING", 80000}});
    EXPECT_THROW(calculateMonth(*dm, "26/04", kToday), rtl::ConversionError);
    EXPECT_EQ(cell(1, "26/04", "S_TOTALT"), 80000);
    EXPECT_EQ(cell(2, "26/04", "S_TOTALT"), -1);
    EXPECT_FALSE(c().inJob());
}

TEST_F(Records, PayByUnitsWithoutAWholeUnitPerHourIsRefused) {
    c().execute("UPDATE 区分 SET 就業丸め単位 = '90'");
    employee(1, "01", {{"E_PAYKBN", "2"}, {"E_BASEPAY", 1000}});
    payRow(1, "26/04", {{"S_TANJI", 30}});
    showRecords(dm->sum_tran, "26/04");
    EXPECT_THROW(kingSet(c(), dm->sum_tran, *masterOfRow(c(), dm->sum_tran), false), RecordError);
    EXPECT_EQ(dm->sum_tran.state(), db::DatasetState::Browse);
    EXPECT_EQ(cell(1, "26/04", "S_BASKING"), -1);
}

TEST_F(Records, KingSetByUnitsAndItsSkipTest) {
    c().execute("UPDATE 区分 SET 就業丸め単位 = '15分'");
    employee(1, "01", {{"E_PAYKBN", "2"}, {"E_BASEPAY", 1002}, {"E_GKING_S1", "1"}, {"E_GKING_K1", 700}});
    payRow(1, "26/04", {{"S_TANJI", 30}, {"S_GKING2", 999}});
    showRecords(dm->sum_tran, "26/04");
    db::Dataset& s = dm->sum_tran;
    kingSet(c(), s, *masterOfRow(c(), s), false);
    s.post();
    EXPECT_EQ(cell(1, "26/04", "S_BASKING"), 7500);  // Round(250.5) = 250, × 30
    EXPECT_EQ(cell(1, "26/04", "S_GKING2"), 0);
    // Matching amounts: a hand change elsewhere survives the next run.
    c().execute("UPDATE sum_tran SET S_GKING2 = 444");
    s.refresh();
    kingSet(c(), s, *masterOfRow(c(), s), false);
    EXPECT_EQ(s.state(), db::DatasetState::Browse);
    EXPECT_EQ(cell(1, "26/04", "S_GKING2"), 444);
}

TEST_F(Records, ARecordFreshFromTheMonthTotalsIsSetEvenWhenItsBaseMatches) {
    // The month totals wrote the base the master gives and left allowances,
    // deductions and meal empty; no allowance 1, 3 or 5 to compare.
    employee(1, "01",
             {{"E_PAYKBN", "0"}, {"E_BASEPAY", 200000}, {"E_MEAT_K", 3000}, {"E_GKING_S2", "1"}, {"E_GKING_K2", 4000}});
    payRow(1, "26/04", {{"S_DAYS", 20}, {"S_BASKING", 200000}});
    showRecords(dm->sum_tran, "26/04");
    db::Dataset& s = dm->sum_tran;
    kingSet(c(), s, *masterOfRow(c(), s), false);
    s.post();
    EXPECT_EQ(cell(1, "26/04", "S_MEAT_K"), 3000);
    EXPECT_EQ(cell(1, "26/04", "S_GKING2"), 4000);
    // Once set, the skip keeps a hand change.
    c().execute("UPDATE sum_tran SET S_MEAT_K = 2500");
    s.refresh();
    kingSet(c(), s, *masterOfRow(c(), s), false);
    EXPECT_EQ(cell(1, "26/04", "S_MEAT_K"), 2500);
}

TEST_F(Records, NewRowsCarryTheKeyAndTheBonusFlag) {
    employee(5, "02", {});
    employee(3, "01", {});
    c().execute(
        "INSERT INTO emp_tanka (E_NO, E_TANCOD, E_NAME, E_JOBKBN, E_DROPKBN) VALUES (9, '000009', 'x', '01', '0')");
    payRow(3, "26/04", {{"S_BASKING", 1}});
    payRow(3, "26/03", {{"S_BASKING", 1}});
    showRecords(dm->sum_tran, "26/04");
    replaceWithNewRows(c(), dm->sum_tran, "26/04", false);
    EXPECT_EQ(data::countPayRecords(*dm, "26/04"), 2);
    EXPECT_EQ(data::countPayRecords(*dm, "26/03"), 1);
    EXPECT_EQ(cell(3, "26/04", "S_BASKING"), -1);
    EXPECT_EQ(cell(5, "26/04", "S_SEQNO"), 2);
    EXPECT_EQ(dm->sum_tran.recordCount(), 2);

    replaceWithNewRows(c(), dm->sum_tran, "26-1", true);
    EXPECT_EQ(c().scalar("SELECT COUNT(*) FROM sum_tran WHERE S_DATE = '26-1' AND S_SHOYO_F = '1'").integer(), 2);
    // A weekly key keeps its whole text.
    replaceWithNewRows(c(), dm->sum_tran, "26/04/12", false);
    EXPECT_EQ(data::countPayRecords(*dm, "26/04/12"), 2);
}

TEST_F(Records, PreviousMonthPayIsTheLatestMonthlyRecordBeforeThePayMonth) {
    TaxableFlags none;
    EXPECT_EQ(previousMonthPay(c(), 1, 2026, 4, none), std::nullopt);
    payRow(1, "26/02", {{"S_BASKING", 100000}, {"S_SHAHO", 1000}});
    payRow(1, "26/03", {{"S_BASKING", 250000}, {"S_TIKKING", 5000}, {"S_SHAHO", 40000}});
    payRow(1, "26/04", {{"S_BASKING", 999999}});  // the pay month itself
    payRow(1, "25-2", {{"S_BASKING", 888888}});   // a bonus row
    c().execute("UPDATE sum_tran SET S_SHOYO_F = '1' WHERE S_DATE = '25-2'");
    payRow(1, "26/03/28", {{"S_BASKING", 777777}});  // a weekly key
    payRow(2, "26/03", {{"S_BASKING", 5}});          // another employee
    EXPECT_EQ(previousMonthPay(c(), 1, 2026, 4, none), 250000 - 5000 - 40000);
    EXPECT_EQ(previousMonthPay(c(), 1, 2026, 3, none), 100000 - 1000);
    // Across a year end: 25/12 comes before 26/01.
    payRow(3, "25/12", {{"S_BASKING", 300}});
    EXPECT_EQ(previousMonthPay(c(), 3, 2026, 1, none), 300);
}

// Two bonuses under one key, worked by hand on the delivered tables:
//   employee 1: base 250000 × 2 months = 500000, aged 45, one dependant;
//     insurance truncated on 500000: care (49.25 + 8.1)‰ = 28675, employment
//     2500, pension 45750 → 76925; tax base 423075. Previous month 26/03:
//     250000 − 40000 = 210000 → rate 2.042 % (column 1), 8639.19 → 8639.
//     net 500000 − 8639 − 76925 = 414436.
//   employee 2: base 600000 × 2 = 1200000, aged 30, no dependant, no monthly
//     record: health 59100, employment 6000, pension 109800 → 174900; tax base
//     1025100, a sixth 170850 → monthly table column 0: 3270; (3270 − 0) × 6 = 19620.
//     net 1200000 − 19620 − 174900 = 1005480.
TEST_F(Records, BonusTaxByPreviousPayAndByTheMonthlyTable) {
    const std::map<std::string, db::Value> insured = {
        {"E_PAYKBN", "0"}, {"E_HOKEN_YN", 1}, {"E_NENKIN_YN", 1}, {"E_KOYOU_YN", "1"}};
    auto with = [&](std::map<std::string, db::Value> m, std::map<std::string, db::Value> more) {
        m.insert(more.begin(), more.end());
        return m;
    };
    employee(1, "01",
             with(insured, {{"E_BASEPAY", 250000}, {"E_KNTKBN", 1}, {"E_BARTH", rtl::encodeDate(1980, 6, 1)}}));
    employee(2, "01",
             with(insured, {{"E_BASEPAY", 600000}, {"E_KNTKBN", 0}, {"E_BARTH", rtl::encodeDate(1995, 6, 1)}}));
    payRow(1, "26/03", {{"S_BASKING", 250000}, {"S_SHAHO", 40000}});
    payRow(1, "26-1", {});
    payRow(2, "26-1", {});

    const BatchResult r = calculateBonus(*dm, "26-1", "2", 2026, 4, kToday);
    EXPECT_EQ(r.rows, 2);
    EXPECT_EQ(cell(1, "26-1", "S_BASKING"), 500000);
    EXPECT_EQ(cell(1, "26-1", "S_HOKEN"), 0);
    EXPECT_EQ(cell(1, "26-1", "S_HOKENK"), 28675);
    EXPECT_EQ(cell(1, "26-1", "S_SHAHO"), 76925);
    EXPECT_EQ(cell(1, "26-1", "S_ZEI_G"), 8639);
    EXPECT_EQ(cell(1, "26-1", "S_ZEI_K"), 0);
    EXPECT_EQ(cell(1, "26-1", "S_TOTALS"), 500000);
    EXPECT_EQ(cell(1, "26-1", "S_TOTALT"), 414436);

    EXPECT_EQ(cell(2, "26-1", "S_SHAHO"), 174900);
    EXPECT_EQ(cell(2, "26-1", "S_ZEI_G"), 19620);
    EXPECT_EQ(cell(2, "26-1", "S_TOTALT"), 1005480);
}

TEST_F(Records, BonusStandardAmountAndNonTaxableAllowance) {
    c().execute("UPDATE title_mas SET GK_FLG7 = '0', GK_FLG8 = '1'");
    employee(1, "01", {{"E_PAYKBN", "9"}});
    payRow(1, "26-2", {{"S_BASKING", 120999}, {"S_GKING7", 3000}, {"S_GKING8", 3000}, {"S_KOTUHI", 500}});
    showRecords(dm->sum_tran, "26-2");
    db::Dataset& s = dm->sum_tran;
    const PayContext ctx = readPayContext(c());
    bonusKingSet(s, *masterOfRow(c(), s), "1");  // another pay kind keeps the base
    bonusGetK(s, *masterOfRow(c(), s), ctx, std::nullopt, kToday);
    bonusTotal(s, ctx);
    s.post();
    EXPECT_EQ(cell(1, "26-2", "S_BASKING"), 120999);
    EXPECT_EQ(cell(1, "26-2", "S_TOTALS"), 123000);  // 123999 cut to thousands
    // Net: taxable gross 123999 + allowance 7 3000 + transport 500, no insurance, no tax.
    EXPECT_EQ(cell(1, "26-2", "S_TOTALT"), 123999 + 3000 + 500);
    bonusGetK2(s, ctx);
    s.post();
    EXPECT_EQ(cell(1, "26-2", "S_TOTALS"), 126999);
}

TEST_F(Records, TaxFreeCalculationSumsStoredInsurance) {
    employee(1, "01", {});
    payRow(1, "26/04",
           {{"S_BASKING", 100000},
            {"S_SOUKING", 2000},
            {"S_HOKEN", 100},
            {"S_NENKIN", 200},
            {"S_SHAHO", 5},
            {"S_ZEI_G", 777},
            {"S_ZEI_K", 888}});
    showRecords(dm->sum_tran, "26/04");
    db::Dataset& s = dm->sum_tran;
    const PayContext ctx = readPayContext(c());
    EXPECT_EQ(getK2(s, ctx, false), 98000);
    EXPECT_EQ(yen(s, "S_SHAHO"), 5);
    getK2(s, ctx, true);
    total(s, ctx);
    nullSet(s);
    s.post();
    EXPECT_EQ(cell(1, "26/04", "S_SHAHO"), 300);
    EXPECT_EQ(cell(1, "26/04", "S_ZEI_G"), 0);
    EXPECT_EQ(cell(1, "26/04", "S_TOTALS"), 100000);
    EXPECT_EQ(cell(1, "26/04", "S_TOTALT"), 98000 - 300);
    EXPECT_EQ(cell(1, "26/04", "S_KIKIN"), 0);
    EXPECT_EQ(cell(1, "26/04", "S_TOTALS"), 100000);
}

}  // namespace
}  // namespace payrecord
