#include "data/punches.h"

#include "data/DB_Acs.h"
#include "data/queries.h"

namespace data {

long long countPunches(TDataModule1& dm) { return countRows(dm.QueryCnt, {"SELECT COUNT(*) FROM タイムカード"}); }

long long countPunchesOutside(TDataModule1& dm, const std::string& firstMonth, const std::string& lastMonth) {
    return countRows(dm.QueryCnt, {"SELECT COUNT(*) FROM タイムカード", "WHERE 月 <> ?", " AND 月 <> ?"},
                     {db::Value(firstMonth), db::Value(lastMonth)});
}

long long countPunchesOf(TDataModule1& dm, const std::string& card, const std::string& month, const std::string& day,
                         const std::string& inOut) {
    return countRows(
        dm.QueryCnt,
        {"SELECT COUNT(*) FROM タイムカード", "WHERE IDコード = ?", "AND 月 = ?", "AND 日 = ?", "AND 入退 = ?"},
        {db::Value(card), db::Value(month), db::Value(day), db::Value(inOut)});
}

void deleteAllPunches(TDataModule1& dm) { dm.ADOConnection1.execute("DELETE FROM タイムカード"); }

void openPunchList(TDataModule1& dm, const std::optional<std::string>& card) {
    db::Query& q = dm.TimeCardInp;
    q.close();
    q.sql().clear();
    q.clearParams();
    q.sql() << "SELECT * FROM タイムカード";
    if (card) q.sql() << "WHERE IDコード = ?";
    q.sql() << "ORDER BY 月,日,入退";
    // Bound once the statement is complete (changing it drops its values).
    if (card) q.addParam(db::Value(*card));
    q.open();
}

}  // namespace data
