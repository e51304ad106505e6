#include "reports/ledgerdata.h"

namespace reports {

namespace {

// Every ledger row carries the name twice (the monthly ledger prints TNAME,
// the others S_NAME) and the captions of the one caption row.
const char* const LedgerSelect =
    "SELECT s.*,"
    " (SELECT e.E_NAME FROM emp_tanka AS e WHERE e.E_NO = s.S_TANCOD LIMIT 1) AS S_NAME,"
    " (SELECT e.E_NAME FROM emp_tanka AS e WHERE e.E_NO = s.S_TANCOD LIMIT 1) AS TNAME,"
    " t.GKING1, t.GKING2, t.GKING3, t.GKING4, t.GKING5, t.GKING6, t.GKING7, t.GKING8, t.GKING9,"
    " t.SKING1, t.SKING2, t.SKING3"
    " FROM sum_tran AS s"
    " LEFT JOIN (SELECT * FROM title_mas WHERE CODE = 1 ORDER BY rowid LIMIT 1) AS t ON 1 = 1";

const char* orderBy(LedgerOrder order) {
    return order == LedgerOrder::ByCategory ? " ORDER BY s.S_SEQNO, s.S_TANCOD, s.rowid"
                                            : " ORDER BY s.S_TANCOD, s.rowid";
}

}  // namespace

db::ResultSet fetchPayLedger(db::Connection& connection, const std::string& payKey, LedgerOrder order) {
    return connection.select(std::string(LedgerSelect) + " WHERE s.S_DATE = ?" + orderBy(order), {payKey});
}

db::ResultSet fetchBonusLedger(db::Connection& connection, const std::string& bonusKey, LedgerOrder order) {
    return connection.select(std::string(LedgerSelect) + " WHERE s.S_DATE = ? AND s.S_SHOYO_F = '1'" + orderBy(order),
                             {bonusKey});
}

db::ResultSet fetchAnnualLedger(db::Connection& connection, const std::string& year) {
    // Keys of a year: "yy/mm" (month), "yy/mm/dd" (weekly or daily), "yy-n"
    // (bonus). As text these already sort months before their pay days; the
    // bonuses go after the months.
    const std::string yy = year.size() >= 4 ? year.substr(2, 2) : year;
    return connection.select(std::string(LedgerSelect) +
                                 " WHERE substr(s.S_DATE, 1, 3) IN (? || '/', ? || '-')"
                                 " ORDER BY s.S_SEQNO, s.S_TANCOD,"
                                 " CASE WHEN substr(s.S_DATE, 3, 1) = '-' THEN 1 ELSE 0 END, s.S_DATE, s.rowid",
                             {yy, yy});
}

db::ResultSet fetchWorkRecord(db::Connection& connection, const std::string& from, const std::string& to) {
    return connection.select(
        "SELECT k.*, (SELECT e.E_NAME FROM emp_tanka AS e WHERE e.E_NO = k.K_TANCOD LIMIT 1) AS TNAME"
        " FROM kimu_tran AS k"
        " WHERE k.K_DATE >= CvDate(?) AND k.K_DATE <= CvDate(?)"
        " ORDER BY k.K_TANCOD, k.K_DATE, k.rowid",
        {from, to});
}

std::string fetchClosingDay(db::Connection& connection) {
    const db::ResultSet r = connection.select("SELECT 締日 FROM 会社 ORDER BY rowid LIMIT 1");
    return r.rows.empty() ? std::string() : r.rows[0][0].toString();
}

db::ResultSet fetchEnvelopes(db::Connection& connection) {
    return connection.select("SELECT * FROM emp_tanka WHERE PRT_FLG = '1' AND E_DROPKBN = '1' ORDER BY E_NO");
}

}  // namespace reports
