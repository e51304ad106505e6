// The money of a pay record against integer arithmetic written here. Rates
// are generated as decimals (a whole number over a power of ten, as a user
// types them), so the exact result of every product is known: insurance by
// rate is Round(P × rate / 1000) half to even, a fixed amount is that amount
// on both sides, the withholding tax is the band's amount (plus the rate on
// the part above the band's lower end, or the rate alone below the low
// threshold), the bonus tax by rate X × rate / 100 truncated (rounded half
// to even for 乙). The first byte chooses the computation; the last one
// checks that any record reconciles: grossPay + transport + subsidy −
// totalDeductions = netPay. Amounts are 32-bit, as the database stores them.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "fuzz.h"
#include "payrecord/money.h"
#include "rtl/datetime.h"

namespace {

using namespace payrecord;
using I128 = __int128;

enum class Mode { HalfEven, Truncate };

// n / d rounded as asked, d > 0; truncation goes toward zero.
I128 divide(I128 n, I128 d, Mode mode) {
    I128 q = n / d, r = n % d;
    if (mode == Mode::Truncate) return q;
    if (r < 0) {
        r += d;
        --q;
    }
    if (2 * r > d || (2 * r == d && (q & 1))) ++q;
    return q;
}

I128 pow10(int k) {
    I128 p = 1;
    while (k-- > 0) p *= 10;
    return p;
}

// A rate typed as a decimal: its digits and places, and the double it is stored as.
struct Rate {
    int64_t units = 0;
    int places = 0;
    double value() const { return static_cast<double>(units) / static_cast<double>(pow10(places)); }
};

Rate rate(fuzz::Input& in, uint32_t maxUnits) {
    Rate r;
    r.units = in.take<uint32_t>() % (maxUnits + 1);
    r.places = in.byte() % 5;
    return r;
}

std::string str(I128 v) { return std::to_string(static_cast<long long>(v)); }

Yen amount(fuzz::Input& in) { return in.take<int32_t>(); }

void insurance(fuzz::Input& in) {
    WorkingMaster m;
    const uint8_t kinds = in.byte();
    m.hokenYN = kinds % 2;  // none or by rate
    m.nenkinYN = kinds / 2 % 3 == 2 ? (in.take<uint16_t>() + 2) : kinds / 2 % 3;
    m.kikinYN = kinds / 6 % 3 == 2 ? (in.take<uint16_t>() + 2) : kinds / 6 % 3;
    m.koyouYN = kinds / 18 % 2 ? "1" : "0";
    // Thirty or fifty years old: outside and inside the care band.
    const bool band = in.flag();
    const rtl::TDateTime today = rtl::encodeDate(2026, 4, 25);
    m.birth = rtl::encodeDate(band ? 1976 : 1996, 1 + in.byte() % 12, 1 + in.byte() % 28);

    Rate rates[10];
    for (Rate& r : rates) r = rate(in, 2000000);
    Rates rs;
    double* fields[10] = {&rs.hoken,  &rs.hokenk,  &rs.koyo,  &rs.nenkin,  &rs.kikin,
                          &rs.hoken2, &rs.hokenk2, &rs.koyo2, &rs.nenkin2, &rs.kikin2};
    for (int i = 0; i < 10; ++i) *fields[i] = rates[i].value();
    const Yen p = amount(in);

    const Insurance s = monthlyInsurance(m, rs, p, today);
    auto byRate = [&](int i) {
        return static_cast<Yen>(
            divide(static_cast<I128>(p) * rates[i].units, pow10(rates[i].places) * 1000, Mode::HalfEven));
    };
    auto kind = [&](Yen yn, int i, int side) -> Yen { return yn > 1 ? yn : yn == 1 ? byRate(i + side) : 0; };
    Insurance want;
    if (m.hokenYN == 1) {
        want.hoken = byRate(0);
        want.hoken2 = byRate(5);
        if (band) {
            want.hokenk = byRate(1);
            want.hokenk2 = byRate(6);
        }
    }
    if (m.koyouYN == "1") {
        want.koyou = byRate(2);
        want.koyou2 = byRate(7);
    }
    want.nenkin = kind(m.nenkinYN, 3, 0);
    want.nenkin2 = kind(m.nenkinYN, 3, 5);
    want.kikin = kind(m.kikinYN, 4, 0);
    want.kikin2 = kind(m.kikinYN, 4, 5);
    const Yen got[10] = {s.hoken,  s.hokenk,  s.koyou,  s.nenkin,  s.kikin,
                         s.hoken2, s.hokenk2, s.koyou2, s.nenkin2, s.kikin2};
    const Yen exp[10] = {want.hoken,  want.hokenk,  want.koyou,  want.nenkin,  want.kikin,
                         want.hoken2, want.hokenk2, want.koyou2, want.nenkin2, want.kikin2};
    for (int i = 0; i < 10; ++i)
        fuzz::check(got[i] == exp[i], "insurance column " + std::to_string(i) + " on " + std::to_string(p) + ": " +
                                          std::to_string(got[i]) + ", want " + std::to_string(exp[i]));
    fuzz::check(s.employeeTotal() == s.hoken + s.hokenk + s.koyou + s.nenkin + s.kikin, "employee total");
}

// A fixed health amount split into health and care by the two rates.
void fixedHealth(fuzz::Input& in) {
    WorkingMaster m;
    m.hokenYN = 2 + in.take<uint16_t>();
    const bool band = in.flag();
    m.birth = rtl::encodeDate(band ? 1976 : 1996, 6, 15);
    Rate r[4];
    for (Rate& x : r) x = rate(in, 200000);
    Rates rs;
    rs.hoken = r[0].value();
    rs.hokenk = r[1].value();
    rs.hoken2 = r[2].value();
    rs.hokenk2 = r[3].value();
    const Insurance s = monthlyInsurance(m, rs, amount(in), rtl::encodeDate(2026, 4, 25));
    const Yen f = m.hokenYN;
    fuzz::check(s.hoken + s.hokenk == f && s.hoken2 + s.hokenk2 == f, "a fixed amount not split whole");
    fuzz::check(s.hoken >= 0 && s.hokenk >= 0 && s.hoken2 >= 0 && s.hokenk2 >= 0, "a share below 0");
    if (!band) fuzz::check(s.hokenk == 0 && s.hokenk2 == 0, "care outside the band");
    // The care share on the employee side: Round(f × care / (health + care)) on a common scale.
    const int scale = std::max(r[0].places, r[1].places);
    const I128 h = static_cast<I128>(r[0].units) * pow10(scale - r[0].places);
    const I128 c = static_cast<I128>(r[1].units) * pow10(scale - r[1].places);
    const Yen care =
        !band || h + c == 0 ? 0 : static_cast<Yen>(divide(static_cast<I128>(f) * c, h + c, Mode::HalfEven));
    fuzz::check(s.hokenk == care, "care share " + std::to_string(s.hokenk) + ", want " + std::to_string(care));
}

std::vector<TaxBand> bands(fuzz::Input& in, std::vector<Rate>& overBits) {
    std::vector<TaxBand> table;
    Yen lower = in.take<uint16_t>();
    const size_t count = 1 + in.byte() % 6;
    for (size_t i = 0; i < count; ++i) {
        TaxBand b;
        b.lower = lower;
        b.upper = lower + 1 + in.take<uint32_t>() % 400000;
        for (Yen& t : b.tax) t = in.take<int32_t>() % 1000000;
        const Rate r = in.flag() ? rate(in, 50000) : Rate{};
        b.overBit = r.value();
        overBits.push_back(r);
        table.push_back(b);
        lower = b.upper + (in.flag() ? in.take<uint16_t>() : 0);
    }
    return table;
}

void withholding(fuzz::Input& in) {
    std::vector<Rate> overBits;
    const std::vector<TaxBand> table = bands(in, overBits);
    const bool daily = in.flag();
    const int column = in.byte() % 11;
    const Yen x = in.take<uint32_t>() % 3000000;
    const Yen got = withholdingTax(table, x, column, daily);
    I128 want = 0;
    for (size_t i = 0; i < table.size(); ++i) {
        const TaxBand& b = table[i];
        if (b.lower > x || b.upper <= x) continue;
        const Rate& r = overBits[i];
        want = column <= 9 && b.tax[column] > 0 ? b.tax[column] : 0;
        if (r.units > 0 && x > (daily ? 30000 : 300000))
            want += divide(static_cast<I128>(x - b.lower) * r.units, pow10(r.places) * 100, Mode::Truncate);
        if (r.units > 0 && x < (daily ? 5000 : 100000))
            want = column == 8 ? divide(static_cast<I128>(x) * r.units, pow10(r.places) * 100, Mode::HalfEven) : 0;
        break;
    }
    fuzz::check(got == want, "withholding tax of " + std::to_string(x) + " in column " + std::to_string(column) + ": " +
                                 std::to_string(got) + ", want " + str(want));
}

void bonus(fuzz::Input& in) {
    std::vector<BonusRateRow> rows;
    std::vector<Rate> rates;
    Yen from = 0;
    const size_t count = 1 + in.byte() % 5;
    for (size_t i = 0; i < count; ++i) {
        BonusRateRow row;
        const Yen to = from + 1 + in.take<uint32_t>() % 500000;
        row.from.fill(from);
        row.to.fill(to);
        const Rate r = rate(in, 50000);
        row.rate = r.value();
        rates.push_back(r);
        rows.push_back(row);
        from = to;
    }
    const int column = in.byte() % 10;
    const Yen prev = 1 + in.take<uint32_t>() % 3000000;
    const Yen x = in.take<uint32_t>() % 100000000;
    const BonusTax t = bonusTax(x, column, prev, rows, {});
    if (column > 8 || x <= 0) {
        fuzz::check(t.tax == 0 && t.method == BonusTaxMethod::None, "a bonus tax outside columns 0..8");
        return;
    }
    if (x > 10 * prev) {
        fuzz::check(t.method == BonusTaxMethod::MonthlyTable && t.tax == 0, "monthly table on an empty table");
        return;
    }
    I128 want = 0;
    bool found = false;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].from[column] > prev || rows[i].to[column] <= prev) continue;
        found = true;
        want = divide(static_cast<I128>(x) * rates[i].units, pow10(rates[i].places) * 100,
                      column == 8 ? Mode::HalfEven : Mode::Truncate);
        break;
    }
    fuzz::check(t.method == (found ? BonusTaxMethod::Rate : BonusTaxMethod::None), "bonus tax method");
    fuzz::check(t.tax == want, "bonus tax of " + std::to_string(x) + " at " + std::to_string(prev) + ": " +
                                   std::to_string(t.tax) + ", want " + str(want));
}

void netIdentity(fuzz::Input& in) {
    PayRow r;
    Yen* fields[] = {&r.basking, &r.hayking, &r.futking, &r.sinking, &r.kyuking, &r.tikking, &r.souking,
                     &r.kotuhi,  &r.hojyo,   &r.meat,    &r.shaho,   &r.zeiG,    &r.zeiK};
    for (Yen* f : fields) *f = amount(in);
    for (Yen& g : r.gking) g = amount(in);
    for (Yen& s : r.sking) s = amount(in);
    TaxableFlags flags;
    for (bool& t : flags.taxable) t = in.flag();

    const Yen gross = grossPay(r, flags), net = netPay(r, flags), deductions = totalDeductions(r);
    fuzz::check(gross + r.kotuhi + r.hojyo - deductions == net,
                "a record that does not reconcile: " + std::to_string(gross) + " + " + std::to_string(r.kotuhi) +
                    " + " + std::to_string(r.hojyo) + " - " + std::to_string(deductions) +
                    " != " + std::to_string(net));
    // The taxable and the non-taxable parts make the gross, less the late and early amounts.
    fuzz::check(taxableGross(r, flags) + nonTaxableAllowances(r, flags) == gross - r.tikking - r.souking,
                "taxable + non-taxable != gross - late - early");
    Yen nonTaxable = 0;
    for (int i = 0; i < 3; ++i)
        if (!flags.taxable[i]) nonTaxable += r.gking[6 + i];
    fuzz::check(nonTaxableAllowances(r, flags) == nonTaxable, "non-taxable allowances");
    fuzz::check(netBonus(r, flags) == net + r.zeiK, "net bonus keeps the resident tax");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input in(data, size);
    switch (in.byte() % 5) {
    case 0: insurance(in); break;
    case 1: fixedHealth(in); break;
    case 2: withholding(in); break;
    case 3: bonus(in); break;
    case 4: netIdentity(in); break;
    }
    return 0;
}
