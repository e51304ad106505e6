#include "payrecord/money.h"

#include <algorithm>
#include <cstdio>

#include "rtl/convert.h"
#include "rtl/datetime.h"
#include "rtl/format.h"
#include "rtl/money.h"
#include "rtl/rounding.h"
#include "rtl/strings.h"

namespace payrecord {

namespace {

using rtl::Rounding;

__int128 pow10(int n) {
    __int128 r = 1;
    while (n-- > 0) r *= 10;
    return r;
}

// Two rates as integers over one common power of ten, so their sum and
// their ratio are exact.
struct RatePair {
    __int128 a = 0, b = 0;
    int scale = 0;
};
RatePair commonScale(double a, double b) {
    const rtl::Decimal da = rtl::decimalFromDouble(a);
    const rtl::Decimal db = rtl::decimalFromDouble(b);
    RatePair p;
    p.scale = std::max(da.scale, db.scale);
    p.a = static_cast<__int128>(da.units) * pow10(p.scale - da.scale);
    p.b = static_cast<__int128>(db.units) * pow10(p.scale - db.scale);
    return p;
}

// amount × (a + b) / 1000, rounded as asked.
Yen perMilleOfSum(Yen amount, double a, double b, Rounding mode) {
    const RatePair p = commonScale(a, b);
    return rtl::roundFraction(static_cast<__int128>(amount) * (p.a + p.b), pow10(p.scale) * 1000, mode);
}

Yen perMille(Yen amount, double rate, Rounding mode) { return rtl::applyPerMille(amount, rate, mode); }

// The care share of a fixed health amount split by two rates:
// Round(amount × care / (health + care)); empty when the rates add up to 0.
std::optional<Yen> careShare(Yen amount, double health, double care) {
    const RatePair p = commonScale(health, care);
    if (p.a + p.b == 0) return std::nullopt;
    return rtl::roundFraction(static_cast<__int128>(amount) * p.b, p.a + p.b, Rounding::HalfEven);
}

// One insurance kind by rate, employee and employer side.
void byRatePair(Yen p, double rate, double rate2, Rounding mode, Yen& employee, Yen& employer) {
    employee = perMille(p, rate, mode);
    employer = perMille(p, rate2, mode);
}

// Pension or pension fund of monthly pay: above 1 a fixed amount that the
// employer pays alike, 1 by rate, anything else nothing.
void fixedOrByRate(Yen kind, Yen p, double rate, double rate2, Rounding mode, Yen& employee, Yen& employer) {
    if (kind > 1) employee = employer = kind;
    else if (kind == 1) byRatePair(p, rate, rate2, mode, employee, employer);
}

Yen sum(const auto& values) {
    Yen s = 0;
    for (Yen v : values) s += v;
    return s;
}

}  // namespace

// ---- gross and net -------------------------------------------------------------

Yen taxableGross(const PayRow& r, const TaxableFlags& f) {
    Yen g = r.basking + r.hayking + r.futking + r.sinking + r.kyuking - r.tikking - r.souking;
    for (int i = 0; i < 6; ++i) g += r.gking[i];
    for (int i = 0; i < 3; ++i)
        if (f.taxable[i]) g += r.gking[6 + i];
    return g;
}

Yen nonTaxableAllowances(const PayRow& r, const TaxableFlags& f) {
    Yen n = 0;
    for (int i = 0; i < 3; ++i)
        if (!f.taxable[i]) n += r.gking[6 + i];
    return n;
}

Yen grossPay(const PayRow& r, const TaxableFlags& f) {
    return taxableGross(r, f) + nonTaxableAllowances(r, f) + r.tikking + r.souking;
}

Yen netBonus(const PayRow& r, const TaxableFlags& f) {
    return taxableGross(r, f) + nonTaxableAllowances(r, f) + r.kotuhi + r.hojyo - r.zeiG - sum(r.sking) - r.meat -
           r.shaho;
}

Yen netPay(const PayRow& r, const TaxableFlags& f) { return netBonus(r, f) - r.zeiK; }

Yen totalDeductions(const PayRow& r) {
    return r.tikking + r.souking + r.zeiG + r.zeiK + sum(r.sking) + r.meat + r.shaho;
}

// ---- base pay, allowances, transport -----------------------------------------------

int roundingUnitMinutes(std::string_view unitText) {
    std::string unit = rtl::trim(unitText);
    int at = rtl::pos("分", unit);
    if (at == 0) at = rtl::pos(":", unit);
    if (at > 0) unit = rtl::copy(unit, 1, at - 1);
    return rtl::strToInt(rtl::copy(unit, 1, 2));
}

int unitsPerHour(int unitMinutes) {
    if (unitMinutes <= 0 || unitMinutes > 60) return 0;
    return 60 / unitMinutes;
}

std::optional<Yen> monthlyBasePay(std::string_view payKind, Yen basePay, Yen days, Yen units, int k) {
    if (payKind == "0") return basePay;
    if (payKind == "1") return basePay * days;
    if (payKind == "2") {
        if (k <= 0) return std::nullopt;
        return rtl::roundFraction(basePay, k, Rounding::HalfEven) * units;
    }
    return Yen{0};
}

Yen amountByKind(std::string_view kind, Yen unit, Yen days) {
    if (kind == "2") return unit * days;
    if (kind == "0") return 0;
    return unit;
}

Yen transportFor(Yen kotuhi, Yen days) { return kotuhi < 1200 ? kotuhi * days : kotuhi; }

MonthAmounts monthAmounts(const WorkingMaster& m, Yen days) {
    MonthAmounts a;
    for (int i = 0; i < 8; ++i) a.gking[i] = amountByKind(m.gkingKind[i], m.gkingUnit[i], days);
    for (int i = 0; i < 3; ++i) a.sking[i] = amountByKind(m.skingKind[i], m.skingUnit[i], days);
    a.transport = transportFor(m.kotuhi, days);
    return a;
}

bool amountsUnchanged(Yen rowBase, Yen rowG1, Yen rowG3, Yen rowG5, Yen base, const MonthAmounts& a) {
    return rowBase != 0 && rowBase == base && rowG1 == a.gking[0] && rowG3 == a.gking[2] && rowG5 == a.gking[4];
}

std::optional<Yen> absenceDays(Yen scheduled, Yen worked, Yen paidHolidays, Yen absence) {
    if (absence != 0) return std::nullopt;
    if (worked > 0 && scheduled > 0) return scheduled - worked - paidHolidays;
    return Yen{0};
}

std::optional<Yen> defaultUnits(Yen workedMinutes, Yen units, std::string_view unitText) {
    std::string unit = rtl::trim(unitText);
    int at = rtl::pos("分", unit);
    if (at == 0) at = rtl::pos(":", unit);
    if (at > 0) unit = rtl::copy(unit, 1, at - 1);
    if (unit.empty() || unit == "0") unit = "01";
    const int u = rtl::strToInt(rtl::copy(unit, 1, 2));
    if (workedMinutes <= 0 || units > 0) return std::nullopt;
    // A unit of "00" would divide by zero; a minute is the smallest unit there is.
    return rtl::roundFraction(workedMinutes, u > 0 ? u : 1, Rounding::HalfEven);
}

TimeAmount timeAmount(Yen hours, Yen minutes, Yen price) {
    TimeAmount t;
    t.minutes = hours * 60 + minutes;
    t.amount = rtl::roundFraction(static_cast<__int128>(price) * t.minutes, 60, Rounding::HalfEven);
    return t;
}

Yen countAmount(Yen count, Yen unitPrice) { return count * unitPrice; }

// ---- social insurance ----------------------------------------------------------

bool validBirthDate(rtl::TDateTime birth) { return birth > rtl::encodeDate(1910, 1, 1); }

bool inCareBand(rtl::TDateTime birth, rtl::TDateTime today) {
    const int age = rtl::ageInYears(birth, rtl::dateOf(today));
    return age >= 40 && age < 65;
}

Insurance monthlyInsurance(const WorkingMaster& m, const Rates& r, Yen p, rtl::TDateTime today) {
    constexpr Rounding R = Rounding::HalfEven;
    Insurance s;
    const bool valid = validBirthDate(m.birth);
    const bool band = inCareBand(m.birth, today);
    if (m.weekly()) {
        byRatePair(p, r.hoken, r.hoken2, R, s.hoken, s.hoken2);
        if (m.hokenYN > 0 && valid && band) byRatePair(p, r.hokenk, r.hokenk2, R, s.hokenk, s.hokenk2);
        if (m.nenkinYN > 1) byRatePair(p, r.nenkin, r.nenkin2, R, s.nenkin, s.nenkin2);
        if (m.kikinYN > 0) byRatePair(p, r.kikin, r.kikin2, R, s.kikin, s.kikin2);
    } else {
        if (m.hokenYN > 1) {
            const Yen f = m.hokenYN;
            // Without a usable birth date the employee counts as outside the
            // care band; rates that add up to 0 give no split.
            s.hoken = s.hoken2 = f;
            if (valid && band) {
                if (const auto care = careShare(f, r.hoken, r.hokenk)) {
                    s.hokenk = *care;
                    s.hoken = f - *care;
                }
                if (r.hoken2 == 0 && r.hokenk2 == 0) {
                    s.hoken2 = s.hoken;
                    s.hokenk2 = s.hokenk;
                } else if (const auto care2 = careShare(f, r.hoken2, r.hokenk2)) {
                    s.hokenk2 = *care2;
                    s.hoken2 = f - *care2;
                }
            }
        } else if (m.hokenYN == 1) {
            byRatePair(p, r.hoken, r.hoken2, R, s.hoken, s.hoken2);
            if (band) byRatePair(p, r.hokenk, r.hokenk2, R, s.hokenk, s.hokenk2);
        }
        fixedOrByRate(m.nenkinYN, p, r.nenkin, r.nenkin2, R, s.nenkin, s.nenkin2);
        fixedOrByRate(m.kikinYN, p, r.kikin, r.kikin2, R, s.kikin, s.kikin2);
    }
    if (m.koyouYN == "1") byRatePair(p, r.koyo, r.koyo2, R, s.koyou, s.koyou2);
    return s;
}

Insurance bonusInsurance(const WorkingMaster& m, const Rates& r, Yen p, rtl::TDateTime today) {
    constexpr Rounding T = Rounding::Truncate;
    Insurance s;
    const bool valid = validBirthDate(m.birth);
    const bool band = inCareBand(m.birth, today);
    // By rate: in the care band the whole health-and-care charge is care.
    auto byRate = [&](bool withBand) {
        if (withBand && band) {
            s.hokenk = perMilleOfSum(p, r.hoken, r.hokenk, T);
            s.hokenk2 = perMilleOfSum(p, r.hoken2, r.hokenk2, T);
        } else {
            byRatePair(p, r.hoken, r.hoken2, T, s.hoken, s.hoken2);
        }
    };
    if (m.weekly()) {
        byRate(m.hokenYN > 0 && valid);
        if (m.nenkinYN > 1) byRatePair(p, r.nenkin, r.nenkin2, T, s.nenkin, s.nenkin2);
        if (m.kikinYN > 0) byRatePair(p, r.kikin, r.kikin2, T, s.kikin, s.kikin2);
    } else {
        if (m.hokenYN > 1) {
            // A fixed amount goes whole into one pair of columns; without a
            // usable birth date the employee counts as outside the band.
            if (valid && band) s.hokenk = s.hokenk2 = m.hokenYN;
            else s.hoken = s.hoken2 = m.hokenYN;
        } else if (m.hokenYN == 1) {
            byRate(true);
        }
        fixedOrByRate(m.nenkinYN, p, r.nenkin, r.nenkin2, T, s.nenkin, s.nenkin2);
        fixedOrByRate(m.kikinYN, p, r.kikin, r.kikin2, T, s.kikin, s.kikin2);
    }
    if (m.koyouYN == "1") byRatePair(p, r.koyo, r.koyo2, T, s.koyou, s.koyou2);
    return s;
}

// ---- withholding tax -------------------------------------------------------------

Yen withholdingTax(const std::vector<TaxBand>& bands, Yen x, int column, bool daily) {
    const Yen high = daily ? 30000 : 300000;
    const Yen low = daily ? 5000 : 100000;
    const auto band =
        std::find_if(bands.begin(), bands.end(), [x](const TaxBand& b) { return b.lower <= x && b.upper > x; });
    if (band == bands.end()) return 0;
    Yen tax = column >= 0 && column <= 9 ? band->tax[column] : 0;
    if (tax <= 0) tax = 0;
    if (band->overBit > 0 && x > high) tax += rtl::applyPercent(x - band->lower, band->overBit, Rounding::Truncate);
    if (band->overBit > 0 && x < low) tax = column == 8 ? rtl::applyPercent(x, band->overBit, Rounding::HalfEven) : 0;
    return tax;
}

Yen residentTax(Yen jyumin) { return jyumin > 0 ? jyumin : 0; }

std::optional<double> bonusRate(const std::vector<BonusRateRow>& rows, Yen previousPay, int column) {
    if (column < 0 || column > 8) return std::nullopt;
    for (const BonusRateRow& r : rows)
        if (r.from[column] <= previousPay && r.to[column] > previousPay) return r.rate;
    return std::nullopt;
}

BonusTax bonusTax(Yen x, int column, std::optional<Yen> previousPay, const std::vector<BonusRateRow>& rates,
                  const std::vector<TaxBand>& monthlyTable) {
    BonusTax t;
    t.previousPay = previousPay.value_or(0);
    if (column < 0 || column > 8 || x <= 0) return t;
    const Yen prev = t.previousPay;
    if (!previousPay || prev <= 0 || x > 10 * prev) {
        t.method = BonusTaxMethod::MonthlyTable;
        const Yen base = prev > 0 ? prev : 0;
        const Yen withSixth = withholdingTax(monthlyTable, base + x / 6, column, false);
        const Yen without = withholdingTax(monthlyTable, base, column, false);
        t.tax = std::max<Yen>(0, (withSixth - without) * 6);
        return t;
    }
    const std::optional<double> rate = bonusRate(rates, prev, column);
    if (!rate) return t;
    t.method = BonusTaxMethod::Rate;
    t.rate = *rate;
    t.tax = rtl::applyPercent(x, *rate, column == 8 ? Rounding::HalfEven : Rounding::Truncate);
    return t;
}

std::string describeBonusTax(const BonusTax& t) {
    switch (t.method) {
    case BonusTaxMethod::Rate:
        return "賞与の税額: 前月の社会保険料控除後の給与 " + rtl::formatFloat("#,##0", double(t.previousPay)) +
               "円 の算出率 " + rtl::floatToStr(t.rate) + "%";
    case BonusTaxMethod::MonthlyTable:
        return "賞与の税額: 月額表による計算（前月の社会保険料控除後の給与 " +
               rtl::formatFloat("#,##0", double(t.previousPay)) + "円）";
    case BonusTaxMethod::None: break;
    }
    return "賞与の税額: なし";
}

Yen standardBonus(Yen g) { return g / 1000 * 1000; }

std::optional<Yen> bonusBasePay(std::string_view payKind, Yen basePay, Yen days, Yen minutes, double months) {
    if (payKind == "0") return rtl::applyRate(basePay, months, 1, Rounding::Truncate);
    if (payKind == "1") return rtl::applyRate(basePay * days, months, 1, Rounding::Truncate);
    if (payKind == "2") return rtl::applyRate(basePay * minutes, months, 60, Rounding::Truncate);
    return std::nullopt;
}

// ---- deduction slip ----------------------------------------------------------------

SlipTotals slipTotals(const std::array<Yen, 10>& amounts, Yen netPay) {
    SlipTotals s;
    s.total = sum(amounts);
    s.transfer = netPay - s.total;
    return s;
}

}  // namespace payrecord
