#include "payrecord/actions.h"

#include "rtl/convert.h"
#include "rtl/strings.h"

namespace payrecord {

namespace {

void editRow(db::Dataset& s) {
    if (s.state() == db::DatasetState::Browse) s.edit();
}

void put(db::Dataset& s, const std::string& column, Yen v) { s.fieldByName(column).setAsInteger(v); }

std::string numbered(const char* prefix, int n) { return prefix + std::to_string(n); }

void writeInsurance(db::Dataset& s, const Insurance& ins) {
    put(s, "S_HOKEN", ins.hoken);
    put(s, "S_HOKENK", ins.hokenk);
    put(s, "S_KOYOU", ins.koyou);
    put(s, "S_NENKIN", ins.nenkin);
    put(s, "S_KIKIN", ins.kikin);
    put(s, "S_SHAHO", ins.employeeTotal());
    put(s, "S_HOKEN2", ins.hoken2);
    put(s, "S_HOKENK2", ins.hokenk2);
    put(s, "S_KOYOU2", ins.koyou2);
    put(s, "S_NENKIN2", ins.nenkin2);
    put(s, "S_KIKIN2", ins.kikin2);
}

WorkingMaster masterOrBlank(db::Connection& c, db::Dataset& s) { return masterOfRow(c, s).value_or(WorkingMaster{}); }

}  // namespace

void setCategory(db::Dataset& s, const WorkingMaster& m) {
    int category = 0;
    if (m.jobKbn.empty() || !rtl::tryStrToInt(rtl::trim(m.jobKbn), category)) return;
    editRow(s);
    put(s, "S_SEQNO", category);
}

std::optional<WorkingMaster> masterOfRow(db::Connection& c, db::Dataset& s) {
    db::Field& code = s.fieldByName("S_TANCOD");
    if (code.isNull()) return std::nullopt;
    return readMaster(c, code.asLargeInt()).value_or(WorkingMaster{});
}

static bool amountsWereSet(db::Dataset& s) {
    for (int n = 1; n <= 9; ++n)
        if (!s.fieldByName("S_GKING" + std::to_string(n)).isNull()) return true;
    for (int n = 1; n <= 3; ++n)
        if (!s.fieldByName("S_SKING" + std::to_string(n)).isNull()) return true;
    return !s.fieldByName("S_HOJYO").isNull() || !s.fieldByName("S_MEAT_K").isNull();
}

WorkingMaster kingSet(db::Connection& c, db::Dataset& s, const WorkingMaster& master, bool keepBase) {
    const Yen rowBase = yen(s, "S_BASKING");
    const Yen g1 = yen(s, "S_GKING1"), g3 = yen(s, "S_GKING3"), g5 = yen(s, "S_GKING5");
    const Yen days = yen(s, "S_DAYS");
    const Yen units = yen(s, "S_TANJI");

    const std::optional<std::string> unit = readRoundingUnit(c, master.jobKbn);
    if (!unit) throw RecordError(BadCategoryMessage);
    const int k = unitsPerHour(roundingUnitMinutes(*unit));
    const std::optional<Yen> base = monthlyBasePay(master.payKbn, master.basePay, days, units, k);
    // Pay by units needs a whole number of units in an hour.
    if (!base) throw RecordError(BadCategoryMessage);

    const MonthAmounts amounts = monthAmounts(master, days);
    WorkingMaster month = master;
    month.gkingUnit = amounts.gking;
    month.skingUnit = amounts.sking;
    month.kotuhi = amounts.transport;
    // The skip keeps hand changes to a record that was set before. A record
    // fresh from the month totals or 新規セット has never had its allowances,
    // deductions, subsidy or meal written (all empty): it is always set, or
    // an employee without allowances 1, 3 and 5 would never get them.
    if (amountsUnchanged(rowBase, g1, g3, g5, *base, amounts) && amountsWereSet(s)) return month;

    editRow(s);
    if (!keepBase) put(s, "S_BASKING", *base);
    for (int i = 0; i < 8; ++i) put(s, numbered("S_GKING", i + 1), amounts.gking[i]);
    for (int i = 0; i < 3; ++i) put(s, numbered("S_SKING", i + 1), amounts.sking[i]);
    put(s, "S_KOTUHI", amounts.transport);
    put(s, "S_HOJYO", master.hojyo);
    put(s, "S_MEAT_K", master.meat);
    put(s, "S_SHAHO", 0);
    return month;
}

Yen getK(db::Dataset& s, const WorkingMaster& m, const PayContext& ctx, rtl::TDateTime today) {
    const PayRow row = readPayRow(s);
    const Yen g = taxableGross(row, ctx.flags);
    const Insurance ins = monthlyInsurance(m, ctx.rates, g + row.kotuhi, today);
    const Yen x = g - ins.employeeTotal();
    const Yen tax = withholdingTax(m.weekly() ? ctx.dailyTable : ctx.monthlyTable, x, m.taxColumn, m.weekly());
    editRow(s);
    put(s, "S_TOTALS", grossPay(row, ctx.flags));
    put(s, "S_ZEI_G", tax);
    put(s, "S_ZEI_K", residentTax(m.jyumin));
    writeInsurance(s, ins);
    return g;
}

Yen getK2(db::Dataset& s, const PayContext& ctx, bool recomputeShaho) {
    editRow(s);
    put(s, "S_ZEI_G", 0);
    put(s, "S_ZEI_K", 0);
    const PayRow row = readPayRow(s);
    if (recomputeShaho)
        put(s, "S_SHAHO",
            yen(s, "S_HOKEN") + yen(s, "S_HOKENK") + yen(s, "S_KOYOU") + yen(s, "S_NENKIN") + yen(s, "S_KIKIN"));
    put(s, "S_TOTALS", grossPay(row, ctx.flags));
    return taxableGross(row, ctx.flags);
}

void total(db::Dataset& s, const PayContext& ctx) {
    const PayRow row = readPayRow(s);
    editRow(s);
    put(s, "S_TOTALT", netPay(row, ctx.flags));
}

void nullSet(db::Dataset& s) {
    static const char* const columns[] = {"S_KYUSYU", "S_KYUKING", "S_TIKOKU", "S_TIKKING", "S_SOUTAI", "S_SOUKING",
                                          "S_GKING1", "S_GKING2",  "S_GKING3", "S_GKING4",  "S_KOTUHI", "S_HOJYO",
                                          "S_GKING5", "S_GKING6",  "S_GKING7", "S_GKING8",  "S_GKING9", "S_SHAHO",
                                          "S_SKING1", "S_SKING2",  "S_SKING3", "S_MEAT_K",  "S_HOKEN",  "S_HOKENK",
                                          "S_NENKIN", "S_KOYOU",   "S_KIKIN",  "S_ZEI_G",   "S_ZEI_K"};
    editRow(s);
    for (const char* c : columns)
        if (s.fieldByName(c).isNull()) s.fieldByName(c).setAsInteger(0);
}

void bonusKingSet(db::Dataset& s, const WorkingMaster& m, const std::string& monthsText) {
    const double months = rtl::strToFloat(monthsText);
    const std::optional<Yen> base = bonusBasePay(m.payKbn, m.basePay, yen(s, "S_DAYS"), yen(s, "S_KINMU"), months);
    if (!base) return;
    editRow(s);
    put(s, "S_BASKING", *base);
}

BonusTax bonusGetK(db::Dataset& s, const WorkingMaster& m, const PayContext& ctx, std::optional<Yen> previousPay,
                   rtl::TDateTime today) {
    const PayRow row = readPayRow(s);
    const Yen g = taxableGross(row, ctx.flags);
    const Yen standard = standardBonus(g);
    const Insurance ins = bonusInsurance(m, ctx.rates, standard + row.kotuhi, today);
    const BonusTax tax = bonusTax(g - ins.employeeTotal(), m.taxColumn, previousPay, ctx.bonusRates, ctx.monthlyTable);
    editRow(s);
    put(s, "S_TOTALS", standard);
    put(s, "S_ZEI_G", tax.tax);
    put(s, "S_ZEI_K", 0);
    writeInsurance(s, ins);
    return tax;
}

void bonusGetK2(db::Dataset& s, const PayContext& ctx) {
    const PayRow row = readPayRow(s);
    editRow(s);
    put(s, "S_TOTALS", grossPay(row, ctx.flags));
}

void bonusTotal(db::Dataset& s, const PayContext& ctx) {
    const PayRow row = readPayRow(s);
    editRow(s);
    put(s, "S_TOTALT", netBonus(row, ctx.flags));
}

namespace {

// Runs `step` on every row from the first, each row posted as the batch
// moves on, and returns to the first row. The rows are written in one
// transaction (a pay run of hundreds of rows would otherwise wait for the
// disk at every row); it is committed whatever ends the batch, so the rows
// done before a refusal or an error stay done.
template <class Step>
BatchResult eachRow(db::Connection& c, db::Dataset& s, Step&& step) {
    BatchResult result;
    if (!s.active() || s.isEmpty()) return result;
    db::Connection::Job job(c);
    try {
        s.first();
        while (!s.eof()) {
            try {
                step();
            } catch (const RecordError& e) {
                result.stoppedBy = e.what();
                break;
            }
            ++result.rows;
            s.next();  // posts the row
        }
        if (result.stoppedBy.empty()) s.first();
    } catch (...) {
        job.commit();
        throw;
    }
    job.commit();
    return result;
}

}  // namespace

BatchResult calculateMonthRows(db::Connection& c, db::Dataset& s, rtl::TDateTime today) {
    const PayContext ctx = readPayContext(c);
    return eachRow(c, s, [&] {
        const WorkingMaster m = masterOrBlank(c, s);
        kingSet(c, s, m, true);
        // The taxes take the employee's own values, not the month's amounts.
        getK(s, m, ctx, today);
        total(s, ctx);
        nullSet(s);
    });
}

BatchResult calculateBonusRows(db::Connection& c, db::Dataset& s, const std::string& monthsText, int payYear,
                               int payMonth, rtl::TDateTime today) {
    const PayContext ctx = readPayContext(c);
    return eachRow(c, s, [&] {
        const WorkingMaster m = masterOrBlank(c, s);
        setCategory(s, m);
        bonusKingSet(s, m, monthsText);
        const std::optional<Yen> prev = previousMonthPay(c, yen(s, "S_TANCOD"), payYear, payMonth, ctx.flags);
        bonusGetK(s, m, ctx, prev, today);
        bonusTotal(s, ctx);
        nullSet(s);
    });
}

void showRecords(db::Dataset& s, const std::string& key) {
    s.setFiltered(false);
    s.setFilter({});
    s.setFilter("S_DATE = " + rtl::quotedStr(key));
    s.setFiltered(true);
    if (!s.active()) s.open();
}

BatchResult calculateMonth(data::TDataModule1& dm, const std::string& key, rtl::TDateTime today) {
    showRecords(dm.sum_tran, key);
    return calculateMonthRows(dm.ADOConnection1, dm.sum_tran, today);
}

BatchResult calculateBonus(data::TDataModule1& dm, const std::string& key, const std::string& monthsText, int payYear,
                           int payMonth, rtl::TDateTime today) {
    showRecords(dm.sum_tran, key);
    return calculateBonusRows(dm.ADOConnection1, dm.sum_tran, monthsText, payYear, payMonth, today);
}

}  // namespace payrecord
