#include "payrecord/store.h"

#include <cstdio>
#include <utility>

#include "rtl/convert.h"
#include "rtl/datetime.h"
#include "rtl/rounding.h"
#include "rtl/strings.h"

namespace payrecord {

namespace {

// One row of a result, read by column name.
class RowView {
public:
    RowView(const db::ResultSet& rs, std::size_t row) : rs_(rs), row_(row) {}
    const db::Value* find(std::string_view name) const {
        for (std::size_t i = 0; i < rs_.columns.size(); ++i)
            if (rtl::upperCase(rs_.columns[i]) == rtl::upperCase(name)) return &rs_.rows[row_][i];
        return nullptr;
    }
    long long integer(std::string_view name) const {
        const db::Value* v = find(name);
        if (!v || v->isNull()) return 0;
        if (v->isInteger()) return v->integer();
        if (v->isFloat()) return rtl::roundBankers(v->real());
        const std::string t = rtl::trim(v->text());
        return t.empty() ? 0 : rtl::strToInt64(t);
    }
    double real(std::string_view name) const {
        const db::Value* v = find(name);
        if (!v || v->isNull()) return 0;
        if (v->isNumber()) return v->real();
        const std::string t = rtl::trim(v->text());
        return t.empty() ? 0 : rtl::strToFloat(t);
    }
    std::string text(std::string_view name) const {
        const db::Value* v = find(name);
        return v ? v->toString() : std::string();
    }

private:
    const db::ResultSet& rs_;
    std::size_t row_;
};

std::string sql(std::initializer_list<const char*> lines) {
    std::string s;
    for (const char* l : lines) {
        if (!s.empty()) s += "\r\n";
        s += l;
    }
    return s;
}

}  // namespace

std::optional<WorkingMaster> readMaster(db::Connection& c, long long employeeNo) {
    const db::ResultSet rs = c.select(sql({"SELECT * FROM emp_tanka", "WHERE E_NO = ?"}), {employeeNo});
    if (rs.rows.empty()) return std::nullopt;
    const RowView r(rs, 0);
    WorkingMaster m;
    m.jobKbn = r.text("E_JOBKBN");
    m.payKbn = r.text("E_PAYKBN");
    m.birth = r.real("E_BARTH");
    m.restNN = static_cast<int>(r.integer("E_REST_NN"));
    m.basePay = r.integer("E_BASEPAY");
    m.hayzPay = r.integer("E_HAYZPAY");
    m.futzPay = r.integer("E_FUTZPAY");
    m.sinzPay = r.integer("E_SINZPAY");
    m.kyuPay = r.integer("E_KYU_PAY");
    m.tikokuPay = r.integer("E_TIKOKU");
    m.soutaiPay = r.integer("E_SOUTAI");
    m.kotuhi = r.integer("E_KOTUHI");
    m.hojyo = r.integer("E_HOJYO");
    for (int i = 0; i < 8; ++i) {
        m.gkingKind[i] = r.text("E_GKING_S" + std::to_string(i + 1));
        m.gkingUnit[i] = r.integer("E_GKING_K" + std::to_string(i + 1));
    }
    for (int i = 0; i < 3; ++i) {
        m.skingKind[i] = r.text("E_SKING_S" + std::to_string(i + 1));
        m.skingUnit[i] = r.integer("E_SKING_K" + std::to_string(i + 1));
    }
    m.meat = r.integer("E_MEAT_K");
    m.jyumin = r.integer("E_JYUMIN_Z");
    m.hokenYN = r.integer("E_HOKEN_YN");
    m.nenkinYN = r.integer("E_NENKIN_YN");
    m.kikinYN = r.integer("E_KIKIN_YN");
    m.koyouYN = r.text("E_KOYOU_YN");
    m.taxColumn = static_cast<int>(r.integer("E_KNTKBN"));
    return m;
}

std::optional<std::string> readJobCategory(db::Connection& c, const std::string& code) {
    const db::ResultSet rs = c.select(sql({"SELECT E_JOBKBN FROM emp_tanka", "WHERE E_TANCOD = ?"}), {code});
    if (rs.rows.empty()) return std::nullopt;
    return RowView(rs, 0).text("E_JOBKBN");
}

TaxableFlags readTaxableFlags(db::Connection& c) {
    TaxableFlags f;
    const db::ResultSet rs = c.select(sql({"SELECT * FROM title_mas", "WHERE CODE = 1"}));
    if (rs.rows.empty()) return f;
    const RowView r(rs, 0);
    for (int i = 0; i < 3; ++i) f.taxable[i] = rtl::trim(r.text("GK_FLG" + std::to_string(7 + i))) == "1";
    return f;
}

Rates readRates(db::Connection& c) {
    Rates rt;
    const db::ResultSet rs = c.select("SELECT * FROM sys_mas");
    if (rs.rows.empty()) return rt;
    const RowView r(rs, 0);
    rt.hoken = r.real("HOKEN_P");
    rt.hokenk = r.real("HOKENK_P");
    rt.koyo = r.real("KOYO_P");
    rt.nenkin = r.real("NENKIN_P");
    rt.kikin = r.real("KIKIN_P");
    rt.hoken2 = r.real("HOKEN_P2");
    rt.hokenk2 = r.real("HOKENK_P2");
    rt.koyo2 = r.real("KOYO_P2");
    rt.nenkin2 = r.real("NENKIN_P2");
    rt.kikin2 = r.real("KIKIN_P2");
    return rt;
}

std::vector<TaxBand> readTaxBands(db::Connection& c, bool daily) {
    const db::ResultSet rs =
        c.select(daily ? "SELECT * FROM zei_masB Order By code" : "SELECT * FROM zei_mas Order By code");
    static const char* const columns[10] = {"fking0", "fking1", "fking2", "fking3", "fking4",
                                            "fking5", "fking6", "fking7", "fkingO", "fkingH"};
    std::vector<TaxBand> bands;
    bands.reserve(rs.rows.size());
    for (std::size_t i = 0; i < rs.rows.size(); ++i) {
        const RowView r(rs, i);
        TaxBand b;
        b.lower = r.integer("incam_b");
        b.upper = r.integer("incam_t");
        for (int k = 0; k < 10; ++k) b.tax[k] = r.integer(columns[k]);
        b.overBit = r.real("over_bit");
        bands.push_back(b);
    }
    return bands;
}

std::vector<BonusRateRow> readBonusRates(db::Connection& c) {
    const db::ResultSet rs = c.select("SELECT * FROM zei_masS Order By code");
    std::vector<BonusRateRow> rows;
    for (std::size_t i = 0; i < rs.rows.size(); ++i) {
        const RowView r(rs, i);
        BonusRateRow b;
        for (int k = 0; k < 9; ++k) {
            const std::string col = k < 8 ? "fking" + std::to_string(k) : std::string("fkingO");
            b.from[k] = r.integer(col + "S");
            b.to[k] = r.integer(col + "E");
        }
        b.rate = r.real("over_bit");
        rows.push_back(b);
    }
    return rows;
}

std::optional<std::string> readRoundingUnit(db::Connection& c, const std::string& category) {
    const db::ResultSet rs = c.select(sql({"SELECT * FROM 区分", "WHERE 区分 = ?"}), {category});
    if (rs.rows.empty()) return std::nullopt;
    return rtl::trim(RowView(rs, 0).text("就業丸め単位"));
}

std::optional<Yen> previousMonthPay(db::Connection& c, long long employeeNo, int payYear, int payMonth,
                                    const TaxableFlags& flags) {
    const db::ResultSet rs =
        c.select(sql({"SELECT * FROM sum_tran", "WHERE S_TANCOD = ?", "AND (S_SHOYO_F Is Null OR S_SHOYO_F <> '1')"}),
                 {employeeNo});
    const int payIndex = payYear * 12 + payMonth;
    int bestIndex = -1;
    std::optional<Yen> best;
    for (std::size_t i = 0; i < rs.rows.size(); ++i) {
        const RowView r(rs, i);
        const std::string key = rtl::trim(r.text("S_DATE"));
        // Monthly keys only: two digits, "/", two digits.
        if (key.size() != 5 || key[2] != '/') continue;
        int yy = 0, mm = 0;
        if (!rtl::tryStrToInt(key.substr(0, 2), yy) || !rtl::tryStrToInt(key.substr(3, 2), mm)) continue;
        if (mm < 1 || mm > 12 || yy < 0) continue;
        const int index = rtl::expandTwoDigitYear(yy) * 12 + mm;
        if (index >= payIndex || index <= bestIndex) continue;
        const PayRow row = payRowFromColumns([&r](const std::string& column) { return r.integer(column); });
        bestIndex = index;
        best = taxableGross(row, flags) - row.shaho;
    }
    return best;
}

PayContext readPayContext(db::Connection& c) {
    PayContext ctx;
    ctx.flags = readTaxableFlags(c);
    ctx.rates = readRates(c);
    ctx.monthlyTable = readTaxBands(c, false);
    ctx.dailyTable = readTaxBands(c, true);
    ctx.bonusRates = readBonusRates(c);
    return ctx;
}

void replaceWithNewRows(db::Connection& c, db::Dataset& sumTran, const std::string& key, bool bonus) {
    const db::ResultSet emp = c.select("SELECT * FROM emp_tanka WHERE E_DROPKBN = '1' ORDER BY E_NO");
    // Convert every code first, so a bad one fails before anything changes.
    std::vector<std::pair<int, int>> rows;
    for (std::size_t i = 0; i < emp.rows.size(); ++i) {
        const RowView r(emp, i);
        rows.emplace_back(rtl::strToInt(r.text("E_JOBKBN")), rtl::strToInt(r.text("E_TANCOD")));
    }
    sumTran.checkBrowseMode();
    c.runJob([&] {
        c.execute(sql({"DELETE FROM sum_tran", "WHERE S_DATE = ? "}), {key});
        for (const auto& [category, number] : rows) {
            db::Params p{key, category, number};
            if (bonus)
                c.execute("INSERT INTO sum_tran (S_DATE, S_SEQNO, S_TANCOD, S_SHOYO_F) VALUES (?, ?, ?, '1')", p);
            else c.execute("INSERT INTO sum_tran (S_DATE, S_SEQNO, S_TANCOD) VALUES (?, ?, ?)", p);
        }
    });
    if (sumTran.active()) {
        sumTran.refresh();
        sumTran.first();
    }
}

void markAllRecords(db::Connection& c) { c.execute("UpDate sum_tran Set S_KNTKBN = 1"); }

bool hasCurrentRow(db::Dataset& ds) { return ds.active() && (ds.state() == db::DatasetState::Insert || !ds.isEmpty()); }

Yen yen(db::Dataset& ds, const char* column) {
    db::Field& f = ds.fieldByName(column);
    return f.isNull() ? 0 : f.asLargeInt();
}

PayRow readPayRow(db::Dataset& s) {
    return payRowFromColumns([&s](const std::string& column) { return yen(s, column.c_str()); });
}

}  // namespace payrecord
