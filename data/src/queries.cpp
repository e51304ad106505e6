#include "data/queries.h"

#include "data/DB_Acs.h"

namespace data {

long long countRows(db::Query& query, const std::vector<std::string>& lines, const db::Params& params) {
    query.close();
    query.sql().clear();
    for (const std::string& line : lines) query.sql().add(line);
    query.clearParams();
    for (const db::Param& p : params) {
        if (p.name.empty()) query.addParam(p.value);
        else query.setParam(p.name, p.value);
    }
    struct Closer {
        db::Query& q;
        ~Closer() {
            q.close();
            q.clearParams();
        }
    } closer{query};
    query.open();
    return query.fieldByName("Expr1000").asLargeInt();
}

long long countPayRecords(TDataModule1& dm, const std::string& key) {
    return countRows(dm.QueryCnt, {"SELECT COUNT(*) FROM sum_tran", "WHERE S_DATE = ?"}, {db::Value(key)});
}

long long countPaySlipRows(TDataModule1& dm, const std::string& key) {
    return countRows(dm.QueryCnt, {"SELECT COUNT(*) FROM sum_tran_t", "WHERE S_DATE = ?"}, {db::Value(key)});
}

long long countDeductionSlips(TDataModule1& dm, const std::string& key) {
    return countRows(dm.QueryCnt, {"SELECT COUNT(*) FROM minus_dat", "WHERE M_DATE = ?"}, {db::Value(key)});
}

long long countWorkRecords(TDataModule1& dm, const std::string& from, const std::string& to) {
    return countRows(dm.QueryCnt,
                     {"SELECT COUNT(*) FROM kimu_tran", "WHERE K_DATE >= CvDate(?)", "AND K_DATE <= CvDate(?)"},
                     {db::Value(from), db::Value(to)});
}

void setEnvelopeMarks(TDataModule1& dm, bool marked) {
    db::Query& q = dm.Query1;
    q.close();
    q.sql().clear();
    q.clearParams();
    q.sql() << (marked ? "UpDate emp_tanka Set PRT_FLG = '1'" : "UpDate emp_tanka Set PRT_FLG = '0'");
    q.execSQL();
}

long long countEnvelopes(TDataModule1& dm) {
    return countRows(dm.QueryCnt, {"SELECT COUNT(*) FROM emp_tanka", "WHERE PRT_FLG = '1' AND E_DROPKBN = '1'"});
}

// The settings and company tables are shared with the windows: one a window
// shows stays open on its row, with any change not yet saved.
std::string readRecYN(TDataModule1& dm) {
    db::Table& t = dm.sys_mas;
    return db::withOpen(t, [&] { return t.isEmpty() ? std::string() : t.fieldByName("REC_YN").asString(); });
}

std::string readClosingDay(TDataModule1& dm) {
    db::Table& t = dm.Company;
    return db::withOpen(t, [&] { return t.isEmpty() ? std::string() : t.fieldByName("締日").asString(); });
}

std::string readPrintLayout(TDataModule1& dm) {
    db::Query& q = dm.Query1;
    q.close();
    q.sql().clear();
    q.sql() << "SELECT * FROM sys_mas"
            << "WHERE SYS_CD = '1'";
    q.open();
    const std::string value = q.fieldByName("PRT_FLG").asString();
    q.close();
    return value;
}

}  // namespace data
