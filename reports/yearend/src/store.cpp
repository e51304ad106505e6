#include "yearend/store.h"

#include "db/connection.h"
#include "db/prepared.h"
#include "rtl/convert.h"
#include "rtl/strings.h"

namespace yearend {

namespace {

// An amount as stored: NULL and empty text are 0.
Yen amount(const db::Value& v) {
    if (v.isNull()) return 0;
    if (v.isInteger()) return v.integer();
    if (v.isFloat()) return static_cast<Yen>(v.real());
    const std::string t = rtl::trim(v.text());
    return t.empty() ? 0 : rtl::strToInt64(t);
}

}  // namespace

std::vector<SlipEmployee> readSlipEmployees(db::Connection& c) {
    const db::ResultSet rs = c.select("SELECT E_NO, E_TANCOD, E_NAME FROM emp_tanka ORDER BY E_NO, rowid");
    std::vector<SlipEmployee> out;
    out.reserve(rs.rows.size());
    for (const auto& r : rs.rows) out.push_back({amount(r[0]), r[1].toString(), r[2].toString()});
    return out;
}

std::vector<StoredPay> readStoredPays(db::Connection& c) {
    const db::ResultSet rs = c.select(
        "SELECT S_TANCOD, S_DATE, S_DAYS, S_KINMU, S_TANJI, S_BASKING, S_HAYKING, S_FUTKING, S_SINKING, "
        "S_KYUKING, S_TIKKING, S_SOUKING, S_GKING1, S_GKING2, S_GKING3, S_GKING4, S_GKING5, S_GKING6, S_GKING7, "
        "S_GKING8, S_GKING9, S_SKING1, S_SKING2, S_SKING3, S_KOTUHI, S_HOJYO, S_MEAT_K, S_SHAHO, S_ZEI_G, "
        "S_ZEI_K, S_HOKEN, S_HOKENK, S_KOYOU, S_NENKIN, S_KIKIN, S_TOTALT FROM sum_tran ORDER BY rowid");
    std::vector<StoredPay> out;
    out.reserve(rs.rows.size());
    for (const auto& r : rs.rows) {
        StoredPay p;
        std::size_t i = 0;
        p.employee = amount(r[i++]);
        p.key = rtl::trim(r[i++].toString());
        payrecord::PayRow& m = p.pay;
        for (Yen* y : {&m.days, &m.kinmu, &m.tanji, &m.basking, &m.hayking, &m.futking, &m.sinking, &m.kyuking,
                       &m.tikking, &m.souking})
            *y = amount(r[i++]);
        for (Yen& a : m.gking) a = amount(r[i++]);
        for (Yen& a : m.sking) a = amount(r[i++]);
        for (Yen* y : {&m.kotuhi, &m.hojyo, &m.meat, &m.shaho, &m.zeiG, &m.zeiK, &p.health, &p.care, &p.employment,
                       &p.pension, &p.fund, &p.net})
            *y = amount(r[i++]);
        out.push_back(std::move(p));
    }
    return out;
}

std::string latestHym(db::Connection& c) {
    return c.scalar("SELECT hym FROM gensen WHERE hym IS NOT NULL ORDER BY hym DESC LIMIT 1").toString();
}

void replaceWithholdingRows(db::Connection& c, const std::vector<WithholdingRow>& rows) {
    c.execute("DELETE FROM gensen");
    db::PreparedStatement insert(
        c,
        "INSERT INTO gensen (code, dcode, dname, fct_code, kinmu, mid_kinmu, total_1, ken_ho, gensen_z, "
        "jyumin_z, koyo_ho, koyo_sho, total_s, kotu_hi, sub1, meat_back, total_t) "
        "VALUES (?, ?, ?, '', ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    for (const WithholdingRow& w : rows)
        insert.run({w.code, w.dcode, w.dname, w.kinmu, w.mid_kinmu, w.total_1, w.ken_ho, w.gensen_z, w.jyumin_z,
                    w.koyo_ho, w.koyo_sho, w.total_s, w.kotu_hi, w.sub1, w.meat_back, w.total_t});
}

}  // namespace yearend
