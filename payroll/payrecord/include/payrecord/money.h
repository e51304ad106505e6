// The money of a pay record: plain values in, plain values out. Nothing here
// touches the database or a window; the pay-record windows, the batch
// calculation and the benchmark all come through these functions.
//
// Amounts are whole yen. Rates of the settings table are per mille, the
// over_bit of the tax tables a percentage; every product of an amount and a
// rate is computed exactly from the rate as typed (never in binary floating
// point) and then rounded as each computation says.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "rtl/types.h"

namespace payrecord {

using Yen = std::int64_t;

// The pay record's copy of the employee's master values (emp_tanka).
struct WorkingMaster {
    std::string jobKbn;        // E_JOBKBN, work-category key
    std::string payKbn;        // E_PAYKBN: "0" monthly, "1" daily, "2" by units
    rtl::TDateTime birth = 0;  // E_BARTH, 0 when empty
    int restNN = 0;            // E_REST_NN: 1 = paid weekly or daily
    Yen basePay = 0;           // E_BASEPAY
    Yen hayzPay = 0, futzPay = 0, sinzPay = 0, kyuPay = 0, tikokuPay = 0, soutaiPay = 0;
    Yen kotuhi = 0;                              // E_KOTUHI, transport
    Yen hojyo = 0;                               // E_HOJYO, subsidy
    std::array<std::string, 8> gkingKind;        // E_GKING_S1..8: "0" none, "1" per month, "2" per day
    std::array<Yen, 8> gkingUnit{};              // E_GKING_K1..8
    std::array<std::string, 3> skingKind;        // E_SKING_S1..3
    std::array<Yen, 3> skingUnit{};              // E_SKING_K1..3
    Yen meat = 0;                                // E_MEAT_K, meal deduction
    Yen jyumin = 0;                              // E_JYUMIN_Z, resident tax
    Yen hokenYN = 0, nenkinYN = 0, kikinYN = 0;  // 0 none, 1 by rate, > 1 that fixed amount
    std::string koyouYN;                         // "1" employment insurance by rate
    int taxColumn = 0;                           // E_KNTKBN: 0..7 dependants, 8 乙, 9 丙
    bool weekly() const { return restNN == 1; }
};

// The insurance rates of the settings row, per mille (0 when empty).
struct Rates {
    double hoken = 0, hokenk = 0, koyo = 0, nenkin = 0, kikin = 0;       // employee side
    double hoken2 = 0, hokenk2 = 0, koyo2 = 0, nenkin2 = 0, kikin2 = 0;  // employer side
};

// GK_FLG7..9 of the caption row: true = allowance 7, 8, 9 is taxable.
struct TaxableFlags {
    std::array<bool, 3> taxable{};
};

// The money columns of one sum_tran row (an empty column is 0).
struct PayRow {
    Yen days = 0, kinmu = 0, tanji = 0;                      // S_DAYS, S_KINMU, S_TANJI
    Yen basking = 0;                                         // S_BASKING
    Yen hayking = 0, futking = 0, sinking = 0, kyuking = 0;  // earned time amounts
    Yen tikking = 0, souking = 0;                            // late arrival, early departure (deducted)
    std::array<Yen, 9> gking{};                              // S_GKING1..9
    std::array<Yen, 3> sking{};                              // S_SKING1..3
    Yen kotuhi = 0, hojyo = 0, meat = 0;                     // S_KOTUHI, S_HOJYO, S_MEAT_K
    Yen shaho = 0, zeiG = 0, zeiK = 0;                       // S_SHAHO, S_ZEI_G, S_ZEI_K
};

// The money columns of a pay record through `get` (column name -> value), so
// any reader of sum_tran rows (records, slips, ledgers) fills one PayRow.
template <class Get>
PayRow payRowFromColumns(Get&& get) {
    PayRow r;
    r.days = get("S_DAYS");
    r.kinmu = get("S_KINMU");
    r.tanji = get("S_TANJI");
    r.basking = get("S_BASKING");
    r.hayking = get("S_HAYKING");
    r.futking = get("S_FUTKING");
    r.sinking = get("S_SINKING");
    r.kyuking = get("S_KYUKING");
    r.tikking = get("S_TIKKING");
    r.souking = get("S_SOUKING");
    for (int i = 0; i < 9; ++i) r.gking[i] = get("S_GKING" + std::to_string(i + 1));
    for (int i = 0; i < 3; ++i) r.sking[i] = get("S_SKING" + std::to_string(i + 1));
    r.kotuhi = get("S_KOTUHI");
    r.hojyo = get("S_HOJYO");
    r.meat = get("S_MEAT_K");
    r.shaho = get("S_SHAHO");
    r.zeiG = get("S_ZEI_G");
    r.zeiK = get("S_ZEI_K");
    return r;
}

// ---- gross and net ---------------------------------------------------------

// Base pay, the earned time amounts and allowances 1..6 and the taxable ones
// of 7..9, less the late-arrival and early-departure amounts. It can always
// be recomputed from a record's stored columns.
Yen taxableGross(const PayRow& row, const TaxableFlags& flags);
// The allowances 7..9 that are not taxable.
Yen nonTaxableAllowances(const PayRow& row, const TaxableFlags& flags);
// 総支給額 of a monthly record (S_TOTALS): the gross before the late and
// early deductions, non-taxable allowances included.
Yen grossPay(const PayRow& row, const TaxableFlags& flags);
// 差引支給額 (S_TOTALT) of a monthly record: taxable gross + transport +
// subsidy + non-taxable allowances − both taxes − deductions 1..3 − meal −
// social insurance.
Yen netPay(const PayRow& row, const TaxableFlags& flags);
// Net bonus: as the monthly net pay but without the resident tax.
Yen netBonus(const PayRow& row, const TaxableFlags& flags);
// The deductions of a pay slip: late and early amounts, both taxes,
// deductions 1..3, meal and social insurance (控除額計). A slip then
// reconciles: grossPay + transport + subsidy − totalDeductions = netPay.
Yen totalDeductions(const PayRow& row);

// ---- base pay, allowances, transport ---------------------------------------

// The minutes of a work category's rounding unit (就業丸め単位): the text cut
// before its first "分" (else before its first ":"), then its first two
// characters as an integer. Raises rtl::ConversionError when they are not one.
int roundingUnitMinutes(std::string_view unitText);
// Whole units per hour: Trunc(60 / u), 0 when u is 0 (or above 60).
int unitsPerHour(int unitMinutes);

// Monthly base pay by pay kind: "0" the month's pay, "1" the day's pay ×
// days, "2" the hour's pay per unit (rounded half to even) × units, any
// other kind 0. Empty for kind "2" when no whole unit fits in an hour.
std::optional<Yen> monthlyBasePay(std::string_view payKind, Yen basePay, Yen days, Yen units, int unitsPerHour);

// Allowances 1..8, deductions 1..3 and transport of a month.
struct MonthAmounts {
    std::array<Yen, 8> gking{};
    std::array<Yen, 3> sking{};
    Yen transport = 0;
};
// Kind "2": unit × days; "0": 0; "1" or anything else: the unit amount.
Yen amountByKind(std::string_view kind, Yen unit, Yen days);
// Below 1200 a daily amount (× days); 1200 or more a monthly amount.
Yen transportFor(Yen kotuhi, Yen days);
MonthAmounts monthAmounts(const WorkingMaster& master, Yen days);

// "金額セット" leaves the row alone when its base pay is set (not 0) and
// equals the computed one and allowances 1, 3 and 5 equal the computed ones,
// so hand changes to the other fields survive.
bool amountsUnchanged(Yen rowBase, Yen rowG1, Yen rowG3, Yen rowG5, Yen base, const MonthAmounts& amounts);

// Absence days when the paid-holiday field is left: a set absence count
// stays (empty result); otherwise scheduled − worked − paid holidays when
// both scheduled and worked are above 0, else 0.
std::optional<Yen> absenceDays(Yen scheduled, Yen worked, Yen paidHolidays, Yen absence);

// Default units when the units field is entered: Round(minutes / u) half to
// even when minutes are above 0 and the units not; u from the category's
// rounding unit with an empty unit or "0" counting as 1. Empty: unchanged.
std::optional<Yen> defaultUnits(Yen workedMinutes, Yen units, std::string_view unitText);

// The time dialog: hours and minutes at a rate per hour.
struct TimeAmount {
    Yen minutes = 0;
    Yen amount = 0;  // Round(price × minutes / 60), half to even
};
TimeAmount timeAmount(Yen hours, Yen minutes, Yen pricePerHour);
// The count dialog: count × unit price.
Yen countAmount(Yen count, Yen unitPrice);

// ---- social insurance --------------------------------------------------------

struct Insurance {
    Yen hoken = 0, hokenk = 0, koyou = 0, nenkin = 0, kikin = 0;       // employee side
    Yen hoken2 = 0, hokenk2 = 0, koyou2 = 0, nenkin2 = 0, kikin2 = 0;  // employer side
    Yen employeeTotal() const { return hoken + hokenk + koyou + nenkin + kikin; }
    bool operator==(const Insurance&) const = default;
};

// A birth date counts only when it lies after 1910-01-01.
bool validBirthDate(rtl::TDateTime birth);
// Nursing care is charged from 40 up to (not including) 65, the age being
// the whole days to `today` / 365.25, truncated.
bool inCareBand(rtl::TDateTime birth, rtl::TDateTime today);

// The monthly record's insurance on the insurable pay P (taxable gross +
// transport); amounts by rate are Round(P × rate / 1000), half to even.
Insurance monthlyInsurance(const WorkingMaster& master, const Rates& rates, Yen insurablePay, rtl::TDateTime today);
// A bonus's insurance on StandardBonus + transport; amounts by rate are
// truncated, and in the care band the whole health-and-care charge goes to
// the care column.
Insurance bonusInsurance(const WorkingMaster& master, const Rates& rates, Yen insurablePay, rtl::TDateTime today);

// ---- withholding tax ---------------------------------------------------------

// One band of the monthly (zei_mas) or daily (zei_masB) table, in code order.
struct TaxBand {
    Yen lower = 0;              // incam_b, included
    Yen upper = 0;              // incam_t, excluded
    std::array<Yen, 10> tax{};  // fking0..7, fkingO, fkingH
    double overBit = 0;         // percentage; > 0 marks a band worked out by rate
};
// The tax of column `column` (E_KNTKBN) for the key X. The daily table
// (weekly or daily pay) uses the thresholds 30000 / 5000 instead of
// 300000 / 100000.
Yen withholdingTax(const std::vector<TaxBand>& bands, Yen x, int column, bool daily);
// E_JYUMIN_Z, or 0 when it is not above 0.
Yen residentTax(Yen jyumin);

// One row of the bonus rate table (zei_masS): for each column 0..7 and 乙
// the band [from, to) of the previous month's pay after social insurance to
// which the rate applies.
struct BonusRateRow {
    std::array<Yen, 9> from{};
    std::array<Yen, 9> to{};
    double rate = 0;  // over_bit, percentage
};
// The rate for `previousPay` in column 0..8; empty when no row holds it.
std::optional<double> bonusRate(const std::vector<BonusRateRow>& rows, Yen previousPay, int column);

enum class BonusTaxMethod {
    None,          // no tax: column 9 or another, or a base of 0 or less
    Rate,          // the rate of the previous month's pay
    MonthlyTable,  // (T(prev + X/6) − T(prev)) × 6 on the monthly table
};
struct BonusTax {
    Yen tax = 0;
    BonusTaxMethod method = BonusTaxMethod::None;
    double rate = 0;      // Rate: the rate found
    Yen previousPay = 0;  // the previous month's pay used (0 when none)
};
// The bonus withholding tax on the tax base X (taxable gross less its social
// insurance) in column 0..8. `previousPay` is the employee's latest monthly
// pay after social insurance (empty when there is none). With none, one of 0
// or less, or X above ten times it, the monthly table is used; otherwise the
// rate found for it: X × rate / 100, truncated for columns 0..7 and rounded
// half to even for 乙.
BonusTax bonusTax(Yen x, int column, std::optional<Yen> previousPay, const std::vector<BonusRateRow>& rates,
                  const std::vector<TaxBand>& monthlyTable);
// The status line text that says how the bonus tax was found.
std::string describeBonusTax(const BonusTax& tax);

// The taxable gross cut to whole thousands.
Yen standardBonus(Yen taxableGross);
// The bonus base: "0" base × M, "1" base × days × M, "2" base × minutes × M /
// 60, truncated; M the months typed. Empty for another pay kind (the base is
// then left as it is).
std::optional<Yen> bonusBasePay(std::string_view payKind, Yen basePay, Yen days, Yen workedMinutes, double months);

// ---- deduction slip ----------------------------------------------------------

struct SlipTotals {
    Yen total = 0;     // M_GKING, the ten line amounts
    Yen transfer = 0;  // M_FURI_KG = net pay − total
};
SlipTotals slipTotals(const std::array<Yen, 10>& amounts, Yen netPay);

}  // namespace payrecord
