// The withholding tax of the delivered tables, each amount worked by hand
// from its row of data/tax/*.csv: bands include their lower bound and
// exclude their upper one, columns 0..7 are 甲 by dependants, 8 乙, 9 丙, and
// the daily table serves weekly or daily pay.
#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>

#include "fixture.h"
#include "payrecord/store.h"

namespace payrecord {
namespace {

struct TableCase {
    const char* name;
    bool daily;
    Yen x;
    int column;
    Yen expected;
};
void PrintTo(const TableCase& c, std::ostream* os) {
    *os << c.name << ": " << (c.daily ? "daily" : "monthly") << " key " << c.x << " column " << c.column;
}

class DeliveredTaxTables : public testing::PayFolder, public ::testing::WithParamInterface<TableCase> {};

TEST_P(DeliveredTaxTables, TaxOfTheRow) {
    const TableCase& tc = GetParam();
    EXPECT_EQ(withholdingTax(readTaxBands(c(), tc.daily), tc.x, tc.column, tc.daily), tc.expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, DeliveredTaxTables,
                         ::testing::Values(
                             // row 1, 0..100000, over_bit 3.063: 甲 0, 乙 Round(99999 × 3.063 %) = Round(3062.97)
                             TableCase{"monthlyBelowTableKou", false, 99999, 0, 0},
                             TableCase{"monthlyBelowTableOtsu", false, 99999, 8, 3063},
                             // row 2, 100000..100100: 乙 3063 as read
                             TableCase{"monthlyOtsuAt100000", false, 100000, 8, 3063},
                             // row 112, 227000..230000: 甲1 3740
                             TableCase{"monthlyOneDependant", false, 229595, 1, 3740},
                             // row 119, 248000..251000: 甲0 6110; 251000 is already row 120: 6220
                             TableCase{"monthlyBelowUpperBound", false, 250999, 0, 6110},
                             TableCase{"monthlyUpperBoundExcluded", false, 251000, 0, 6220},
                             // rows 136 (299000..302000) and 137 (302000..305000), 甲2; over_bit 0 above 300000
                             TableCase{"monthlyAboveThresholdAsRead", false, 301999, 2, 4700},
                             TableCase{"monthlyLowerBoundIncluded", false, 302000, 2, 4820},
                             // row 284, 790000..960000, 23.483 %: 81890 + Int(10000 × 23.483 %) = 81890 + 2348
                             TableCase{"monthlyAnchorRow", false, 800000, 0, 84238},
                             // row 285, 960000..1710000, 33.693 %: 349048 + Int(40000 × 33.693 %) = 349048 + 13477
                             TableCase{"monthlyAnchorOtsu", false, 1000000, 8, 362525},
                             TableCase{"monthlyAnchorSevenDependants", false, 1000000, 7, 76540 + 13477},
                             // daily row 67, 10000..10100: 甲0 265, 乙 1800
                             TableCase{"dailyKou", true, 10000, 0, 265}, TableCase{"dailyOtsu", true, 10000, 8, 1800},
                             // daily row 167, 20000..20100: 甲7 330
                             TableCase{"dailySevenDependants", true, 20000, 7, 330},
                             // daily row 208, 26500..32500, 23.483 %: as read up to 30000, by rate above it
                             TableCase{"dailyAtThreshold", true, 30000, 0, 2760},
                             TableCase{"dailyAboveThreshold", true, 30001, 0, 2760 + 822},  // Int(3501 × 23.483 %)
                             // daily row 1, 0..3500, 3.063 %: 乙 Round(91.89), 丙 0
                             TableCase{"dailyBelowTableOtsu", true, 3000, 8, 92},
                             TableCase{"dailyBelowTableHei", true, 3000, 9, 0},
                             // daily row 209, 32500..57500, 33.693 %: 丙 2226 + Int(17500 × 33.693 %) = 2226 + 5896
                             TableCase{"dailyHei", true, 50000, 9, 8122},
                             // The monthly table has no 丙 column: 0 in the bands.
                             TableCase{"monthlyHeiIsZero", false, 229595, 9, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

struct RateCase {
    const char* name;
    Yen previousPay;
    int column;
    double rate;
};
void PrintTo(const RateCase& c, std::ostream* os) {
    *os << c.name << ": previous pay " << c.previousPay << " column " << c.column;
}

class DeliveredBonusRates : public testing::PayFolder, public ::testing::WithParamInterface<RateCase> {};

TEST_P(DeliveredBonusRates, RateOfThePreviousPay) {
    const RateCase& tc = GetParam();
    const std::optional<double> rate = bonusRate(readBonusRates(c()), tc.previousPay, tc.column);
    ASSERT_TRUE(rate.has_value());
    EXPECT_DOUBLE_EQ(*rate, tc.rate);
}

INSTANTIATE_TEST_SUITE_P(Rows, DeliveredBonusRates,
                         ::testing::Values(
                             // row 1: 甲0 0..82000 at 0 %; row 2: 82000..94000 at 2.042 %
                             RateCase{"kouBelowFirstLimit", 81999, 0, 0},
                             RateCase{"kouFirstLimitIncluded", 82000, 0, 2.042},
                             // 甲1: row 2 107000..250000 at 2.042 %, row 3 from 250000 at 4.084 %
                             RateCase{"oneDependant", 210000, 1, 2.042},
                             RateCase{"oneDependantUpperExcluded", 250000, 1, 4.084},
                             // 乙: 0..224000 at 10.21 %
                             RateCase{"otsu", 100000, 8, 10.21},
                             // row 21, open end: 甲0 from 3495000 at 45.945 %
                             RateCase{"kouTopRow", 3495000, 0, 45.945}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace payrecord
