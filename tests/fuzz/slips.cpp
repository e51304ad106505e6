// The values the slips print, through the public functions they use. The
// first byte chooses:
//  0  whole minutes as hours and minutes ("h:mm" and "h:m") against an
//     integer oracle, over the whole range of the column type;
//  1  a random sum_tran-shaped row (columns NULL or 32-bit amounts, taxable
//     flags as stored) whose S_TOTALS and S_TOTALT are what the pay record
//     computes: the slip's printed gross, transport and subsidy less its
//     printed deductions are its printed net, read back from the "#,##0"
//     texts; the other deductions and the taxable gross agree with the pay
//     record's own computation, and the bonus slip reconciles the same way.
#include <QString>

#include <cstdint>
#include <string>
#include <vector>

#include "db/connection.h"
#include "fuzz.h"
#include "payrecord/money.h"
#include "report/report.h"
#include "reports/slipdata.h"
#include "rtl/format.h"

namespace {

std::string hoursAndMinutes(long long minutes, bool padded) {
    const bool negative = minutes < 0;
    // Unsigned, so the smallest value has a magnitude too.
    const unsigned long long m = negative ? 0ULL - static_cast<unsigned long long>(minutes) : minutes;
    std::string mm = std::to_string(m % 60);
    if (padded && mm.size() < 2) mm.insert(0, "0");
    return (negative ? "-" : "") + std::to_string(m / 60) + ":" + mm;
}

void minutes(fuzz::Input& in) {
    const long long m = in.take<int64_t>();
    const QString padded = reports::minutesPadded(m), unpadded = reports::minutesUnpadded(m);
    fuzz::check(padded.toStdString() == hoursAndMinutes(m, true),
                std::to_string(m) + " printed " + padded.toStdString());
    fuzz::check(unpadded.toStdString() == hoursAndMinutes(m, false),
                std::to_string(m) + " printed " + unpadded.toStdString());
}

// "#,##0" as an independent grouping of the decimal digits.
std::string grouped(long long v) {
    std::string digits = std::to_string(v < 0 ? 0ULL - static_cast<unsigned long long>(v) : v);
    std::string out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return (v < 0 ? "-" : "") + out;
}

// A printed amount read back.
long long readBack(const std::string& text) {
    std::string digits;
    for (char c : text)
        if (c != ',') digits += c;
    return digits.empty() ? 0 : std::stoll(digits);
}

const char* const kMoneyColumns[] = {"S_DAYS",    "S_KINMU",   "S_TANJI",   "S_BASKING", "S_HAYKING", "S_FUTKING",
                                     "S_SINKING", "S_KYUKING", "S_TIKKING", "S_SOUKING", "S_GKING1",  "S_GKING2",
                                     "S_GKING3",  "S_GKING4",  "S_GKING5",  "S_GKING6",  "S_GKING7",  "S_GKING8",
                                     "S_GKING9",  "S_SKING1",  "S_SKING2",  "S_SKING3",  "S_KOTUHI",  "S_HOJYO",
                                     "S_MEAT_K",  "S_SHAHO",   "S_ZEI_G",   "S_ZEI_K"};

void slip(fuzz::Input& in) {
    db::ResultSet rs;
    std::vector<db::Value> values;
    for (const char* c : kMoneyColumns) {
        rs.columns.push_back(c);
        const uint8_t kind = in.byte() % 4;
        const int32_t v = in.take<int32_t>();
        if (kind == 0) values.emplace_back(nullptr);
        else if (kind == 1) values.emplace_back(static_cast<long long>(v % 1000));
        else values.emplace_back(static_cast<long long>(v));
    }
    static const char* const kFlags[] = {"1", " 1", "0", "", "11"};
    for (int n = 7; n <= 9; ++n) {
        rs.columns.push_back("GK_FLG" + std::to_string(n));
        const uint8_t k = in.byte() % 6;
        if (k == 5) values.emplace_back(nullptr);
        else values.emplace_back(kFlags[k]);
    }
    // The pay record's own view of the row: its money and its flags.
    auto valueOf = [&](const std::string& column) -> long long {
        for (size_t i = 0; i < rs.columns.size(); ++i)
            if (rs.columns[i] == column) return values[i].isNull() ? 0 : values[i].integer();
        return 0;
    };
    const payrecord::PayRow pay = payrecord::payRowFromColumns(valueOf);
    payrecord::TaxableFlags flags;
    for (int i = 0; i < 3; ++i) {
        const db::Value& f = values[std::size(kMoneyColumns) + i];
        flags.taxable[i] = !f.isNull() && (f.text() == "1" || f.text() == " 1");
    }
    const bool bonus = in.flag();
    rs.columns.push_back("S_TOTALS");
    values.emplace_back(static_cast<long long>(payrecord::grossPay(pay, flags)));
    rs.columns.push_back("S_TOTALT");
    values.emplace_back(
        static_cast<long long>(bonus ? payrecord::netBonus(pay, flags) : payrecord::netPay(pay, flags)));
    rs.rows.push_back(values);
    const report::Row row(&rs, 0);
    const report::Context context;

    fuzz::check(reports::taxableGross(row) == payrecord::taxableGross(pay, flags), "taxable gross");
    fuzz::check(reports::totalDeductions(row) == payrecord::totalDeductions(pay), "total deductions");
    fuzz::check(reports::otherDeductions(row) + pay.shaho == reports::totalDeductions(row), "other deductions");

    // What the slip prints, read back.
    auto printed = [&](long long v) {
        const std::string text = rtl::formatInteger("#,##0", v);
        fuzz::check(text == grouped(v), std::to_string(v) + " printed " + text);
        return readBack(text);
    };
    auto printedColumn = [&](const char* column) {
        const std::string text = report::money(column)(row, context).toStdString();
        fuzz::check(text.empty() == row.value(column).isNull(), std::string(column) + " printed for NULL");
        fuzz::check(text.empty() || text == grouped(row.integer(column)), std::string(column) + " printed " + text);
        return readBack(text);
    };
    const long long gross = bonus ? printed(reports::bonusPaid(row)) : printedColumn("S_TOTALS");
    const long long transport = printedColumn("S_KOTUHI"), subsidy = printedColumn("S_HOJYO");
    const long long deductions = printed(reports::totalDeductions(row));
    const long long net = printedColumn("S_TOTALT");
    if (bonus) {
        // A bonus has no resident tax; the slip then reconciles as the monthly one does.
        if (pay.zeiK != 0) return;
    }
    fuzz::check(gross + transport + subsidy - deductions == net,
                std::string(bonus ? "bonus" : "pay") + " slip: " + std::to_string(gross) + " + " +
                    std::to_string(transport) + " + " + std::to_string(subsidy) + " - " + std::to_string(deductions) +
                    " != " + std::to_string(net));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input in(data, size);
    switch (in.byte() % 2) {
    case 0: minutes(in); break;
    case 1: slip(in); break;
    }
    return 0;
}
