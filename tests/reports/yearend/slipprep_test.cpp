// The preparation's calculation and the margin file, without a window.
#include <gtest/gtest.h>

#include <fstream>

#include "fixture.h"
#include "rtl/errors.h"
#include "rtl/textfile.h"
#include "yearend/slipprep.h"

namespace yearend::testing {
namespace {

TEST(SlipCalculation, AddsTheAdjustmentsToTheirTotals) {
    const SlipBases bases{200, 30, 7, 40, 15, 25, 11, 5};
    const SlipTotals t = adjustedTotals(bases, {10, 1, 2, 3, 4});
    EXPECT_EQ(t.total_1, 210);
    EXPECT_EQ(t.koyo_ho, 8);
    EXPECT_EQ(t.gensen_z, 17);
    EXPECT_EQ(t.kotu_hi, 14);
    EXPECT_EQ(t.jyumin_z, 29);
    // Pay less social insurance only, as the year's data counts it.
    EXPECT_EQ(t.total_s, 210 - 30 - 8 - 40);
    EXPECT_EQ(t.total_t, t.total_s - 17 - 29 - 5 + 14);
}

TEST(SlipCalculation, TheBasesOfASavedRowGiveTheSameTotalsAgain) {
    const SlipBases bases{3000000, 120000, 15000, 240000, 60000, 80000, 96000, 24000};
    const Adjustments first{500000, 2000, 30000, 4000, 5000};
    const SlipTotals saved = adjustedTotals(bases, first);
    // The row as stored after the first calculation.
    const SlipBases stored{saved.total_1,  bases.ken_ho,   saved.koyo_ho, bases.koyo_sho,
                           saved.gensen_z, saved.jyumin_z, saved.kotu_hi, bases.meat_back};
    const SlipBases again = basesOf(stored, first);
    EXPECT_EQ(again.total_1, bases.total_1);
    EXPECT_EQ(again.koyo_ho, bases.koyo_ho);
    EXPECT_EQ(again.gensen_z, bases.gensen_z);
    EXPECT_EQ(again.kotu_hi, bases.kotu_hi);
    EXPECT_EQ(again.jyumin_z, bases.jyumin_z);
    EXPECT_EQ(adjustedTotals(again, first).total_t, saved.total_t);
}

struct MarginCase {
    const char* name;
    MarginInput input;
    double top, left;
};

class MarginMm : public ::testing::TestWithParam<MarginCase> {};

TEST_P(MarginMm, FromSignAndAmount) {
    EXPECT_DOUBLE_EQ(topMarginMm(GetParam().input), GetParam().top);
    EXPECT_DOUBLE_EQ(leftMarginMm(GetParam().input), GetParam().left);
}

INSTANTIATE_TEST_SUITE_P(, MarginMm,
                         ::testing::Values(MarginCase{"zero", {"+", "0"}, 5.0, 12.0},
                                           MarginCase{"plus_3", {"+", "3"}, 8.0, 13.5},
                                           MarginCase{"minus_3", {"-", "3"}, 2.0, 10.5},
                                           MarginCase{"minus_8_clamps_top", {"-", "8"}, 0.0, 8.0},
                                           MarginCase{"minus_30_clamps_both", {"-", "30"}, 0.0, 0.0},
                                           MarginCase{"decimal", {"+", "1.5"}, 6.5, 12.75}),
                         [](const auto& info) { return std::string(info.param.name); });

class MarginFile : public YearEndDb {};

TEST_F(MarginFile, RoundTripKeepsTheSign) {
    writeMargins(dir, "202312", {{"-", "3"}, {"+", "4"}});
    EXPECT_EQ(rtl::readAllLines(dir / kMarginFile), (std::vector<std::string>{"202312", "-3", "4"}));
    const Margins m = readMargins(dir);
    EXPECT_EQ(m.top.sign, "-");
    EXPECT_EQ(m.top.amount, "3");
    EXPECT_EQ(m.left.sign, "+");
    EXPECT_EQ(m.left.amount, "4");
}

TEST_F(MarginFile, MissingFileOrLinesReadAsNoOffset) {
    Margins m = readMargins(dir);
    EXPECT_EQ(m.top.sign, "+");
    EXPECT_EQ(m.top.amount, "0");
    std::ofstream(dir / kMarginFile) << "\r\n2\r\n";
    m = readMargins(dir);
    EXPECT_EQ(m.top.amount, "2");
    EXPECT_EQ(m.left.amount, "0");
    EXPECT_EQ(m.left.sign, "+");
}

TEST(MarginAmount, NotANumberIsTheRuntimesError) { EXPECT_THROW(topMarginMm({"+", "abc"}), rtl::ConversionError); }

}  // namespace
}  // namespace yearend::testing
