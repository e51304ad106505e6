#include "reports/slipdata.h"

#include "payrecord/money.h"

namespace reports {

namespace {

// Every slip reads the name by the employee number and the taxable flags of
// the one caption row; the key is a bound value.
const char* const PaySlipSelect =
    "SELECT v.*,"
    " (SELECT e.E_NAME FROM emp_tanka AS e WHERE e.E_NO = v.S_TANCOD LIMIT 1) AS S_NAME,"
    " (SELECT t.GK_FLG7 FROM title_mas AS t WHERE t.CODE = 1 ORDER BY t.rowid LIMIT 1) AS GK_FLG7,"
    " (SELECT t.GK_FLG8 FROM title_mas AS t WHERE t.CODE = 1 ORDER BY t.rowid LIMIT 1) AS GK_FLG8,"
    " (SELECT t.GK_FLG9 FROM title_mas AS t WHERE t.CODE = 1 ORDER BY t.rowid LIMIT 1) AS GK_FLG9"
    " FROM sum_tran_t AS v";

QString hoursAndMinutes(long long minutes, bool padded) {
    const bool negative = minutes < 0;
    // Negated as unsigned, so the smallest value has a magnitude too.
    const unsigned long long m = negative ? 0ULL - static_cast<unsigned long long>(minutes) : minutes;
    QString mm = QString::number(m % 60);
    if (padded && mm.size() < 2) mm.prepend(QLatin1Char('0'));
    return (negative ? QStringLiteral("-") : QString()) + QString::number(m / 60) + QLatin1Char(':') + mm;
}

long long sumOf(const report::Row& row, std::initializer_list<const char*> columns) {
    long long s = 0;
    for (const char* c : columns) s += row.integer(c);
    return s;
}

// The row's money columns and taxable flags as the pay records compute with
// them, so a slip prints exactly what the pay record was computed from.
payrecord::PayRow payRowOf(const report::Row& row) {
    return payrecord::payRowFromColumns([&row](const std::string& column) { return row.integer(column); });
}

payrecord::TaxableFlags taxableFlagsOf(const report::Row& row) {
    payrecord::TaxableFlags flags;
    for (int n = 7; n <= 9; ++n)
        flags.taxable[n - 7] = row.text("GK_FLG" + std::to_string(n)).trimmed() == QLatin1String("1");
    return flags;
}

}  // namespace

db::ResultSet fetchPaySlips(db::Connection& connection, const std::string& payKey) {
    return connection.select(std::string(PaySlipSelect) + " WHERE v.S_DATE = ?", {payKey});
}

db::ResultSet fetchBonusSlips(db::Connection& connection, const std::string& bonusKey) {
    return connection.select(std::string(PaySlipSelect) + " WHERE v.S_DATE = ? AND v.S_SHOYO_F = '1'", {bonusKey});
}

db::ResultSet fetchDeductionSlips(db::Connection& connection, const std::string& payKey) {
    return connection.select("SELECT * FROM minus_dat WHERE M_DATE = ? ORDER BY M_No", {payKey});
}

QString minutesPadded(long long minutes) { return hoursAndMinutes(minutes, true); }
QString minutesUnpadded(long long minutes) { return hoursAndMinutes(minutes, false); }

long long taxableGross(const report::Row& row) { return payrecord::taxableGross(payRowOf(row), taxableFlagsOf(row)); }

long long bonusPaid(const report::Row& row) {
    return sumOf(row, {"S_BASKING", "S_HAYKING", "S_FUTKING", "S_SINKING", "S_KYUKING", "S_GKING1", "S_GKING2",
                       "S_GKING3", "S_GKING4", "S_GKING5", "S_GKING6", "S_GKING7", "S_GKING8", "S_GKING9"});
}

long long otherDeductions(const report::Row& row) { return totalDeductions(row) - row.integer("S_SHAHO"); }

long long totalDeductions(const report::Row& row) { return payrecord::totalDeductions(payRowOf(row)); }

}  // namespace reports
