// What the withholding-slip preparation computes, without a window: the
// adjusted totals of one gensen row, and the print margins kept in
// Gensen.Txt.
#pragma once

#include <array>
#include <filesystem>
#include <string>

#include "yearend/withholding.h"

namespace yearend {

// The amounts of a gensen row that the adjustments start from.
struct SlipBases {
    Yen total_1 = 0, ken_ho = 0, koyo_ho = 0, koyo_sho = 0, gensen_z = 0, jyumin_z = 0, kotu_hi = 0, meat_back = 0;
};
// teate1..5: 賞与他 (pay), 社会保険, 源泉税, その他 (transport), 住民税.
using Adjustments = std::array<Yen, 5>;

// The columns the calculation writes.
struct SlipTotals {
    Yen total_1 = 0, koyo_ho = 0, gensen_z = 0, jyumin_z = 0, kotu_hi = 0, total_s = 0, total_t = 0;
};

// Bases plus adjustments. total_s keeps the meaning the year's data gives it,
// pay less social insurance (ken_ho + koyo_ho + koyo_sho); total_t is the pay
// that reaches the employee: total_s less both taxes and the meal deduction,
// plus transport.
SlipTotals adjustedTotals(const SlipBases& bases, const Adjustments& adjustments);

// The bases of a row whose stored totals already carry the adjustments it
// was last saved with (every save of the preparation window computes them):
// each adjusted column less its adjustment.
SlipBases basesOf(const SlipBases& stored, const Adjustments& applied);

// ---- print margins (Gensen.Txt) ----

// A margin as the window shows it: sign "+" or "-", amount in millimetres.
struct MarginInput {
    std::string sign = "+";
    std::string amount = "0";
};
struct Margins {
    MarginInput top, left;
};
// The slip's margins in millimetres: top 5 + amount, left 12 + amount / 2,
// the amount negative with the sign "-", never below 0. Raises the runtime's
// conversion error for an amount that is not a number.
double topMarginMm(const MarginInput& top);
double leftMarginMm(const MarginInput& left);

inline constexpr const char* kMarginFile = "Gensen.Txt";
// Reads the file of `workDir`: line 2 the top margin, line 3 the left one,
// each a signed amount ("-3"); a missing file or line reads "+", "0".
Margins readMargins(const std::filesystem::path& workDir);
// Writes the file anew: `latestHym`, then both margins with their signs.
void writeMargins(const std::filesystem::path& workDir, const std::string& latestHym, const Margins& margins);

}  // namespace yearend
