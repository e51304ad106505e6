// The punch import sent to the database one statement at a time, each
// committed on its own, without a transaction: the way the pay-data window's
// import was first written, kept to measure the batched import against.
#include <chrono>
#include <map>

#include "attendance/store.h"
#include "db/connection.h"
#include "rtl/convert.h"
#include "rtl/datetime.h"
#include "rtl/strings.h"
#include "workload.h"

namespace bench {

namespace {

std::string column(const db::ResultSet& rs, size_t row, const char* name) {
    for (size_t i = 0; i < rs.columns.size(); ++i)
        if (rs.columns[i] == name) return rs.rows[row][i].toString();
    throw Failure(std::string("no column ") + name);
}

long long count(db::Connection& c, LiteralImport& r, const std::string& sql, const db::Params& params) {
    ++r.statements;
    const db::Value v = c.scalar(sql, params);
    return v.isNull() ? 0 : static_cast<long long>(v.real());
}

int number(const std::string& text) {
    const std::string t = rtl::trim(text);
    return t.empty() ? 0 : rtl::strToInt(t);
}

}  // namespace

LiteralImport literalPunchImport(const std::filesystem::path& database, const attendance::PeriodDates& period) {
    db::Connection c(database.string());
    LiteralImport r;
    const auto start = std::chrono::steady_clock::now();
    const db::Params range{period.firstText, period.lastText};

    count(c, r, "SELECT COUNT(*) FROM kimu_tran WHERE K_DATE >= CvDate(?) AND K_DATE <= CvDate(?)", range);
    const rtl::DateParts a = rtl::decodeDate(period.first), b = rtl::decodeDate(period.last);
    const db::Params punchRange{rtl::twoDigits(a.month), rtl::twoDigits(a.day), rtl::twoDigits(b.month),
                                rtl::twoDigits(b.day)};
    const std::string punchCount =
        a.month == b.month ? "SELECT COUNT(*) FROM タイムカード WHERE (月 = ? AND 日 >= ?) AND (月 = ? AND 日 <= ?)"
                           : "SELECT COUNT(*) FROM タイムカード WHERE (月 = ? AND 日 >= ?) OR (月 = ? AND 日 <= ?)";
    if (count(c, r, punchCount, punchRange) <= 0) throw Failure(attendance::kNoDataMessage);
    ++r.statements;
    c.execute("DELETE FROM kimu_tran WHERE K_DATE >= CvDate(?) AND K_DATE <= CvDate(?)", range);

    ++r.statements;
    const db::ResultSet ins = c.select("SELECT * FROM タイムカード WHERE 入退 = '0' ORDER BY IDコード,日");
    std::string previousCode;
    bool first = true;
    attendance::WorkCategory category = attendance::missingCategory("");
    for (size_t i = 0; i < ins.rows.size(); ++i) {
        const int month = number(column(ins, i, "月")), day = number(column(ins, i, "日"));
        const int hour = number(column(ins, i, "時")), minute = number(column(ins, i, "分"));
        const int second = number(column(ins, i, "秒"));
        const std::string code = column(ins, i, "IDコード");
        rtl::strToInt(code);
        rtl::TDateTime workDate = attendance::punchDate(period, month, day);
        const rtl::TDateTime in = attendance::atSeconds(workDate, hour * 3600LL + minute * 60LL + second);

        ++r.statements;
        const db::ResultSet outs =
            c.select("SELECT * FROM タイムカード WHERE (入退 = '1') AND 日 = (?) AND IDコード = (?)",
                     {column(ins, i, "日"), code});
        rtl::TDateTime out = workDate;
        if (!outs.rows.empty())
            out = attendance::atMinutes(workDate, number(column(outs, 0, "時")) * 60LL + number(column(outs, 0, "分")));

        const long long inService =
            count(c, r, "SELECT COUNT(*) FROM emp_tanka WHERE E_TANCOD = ? AND E_DROPKBN = '1'", {code});
        if (inService > 0) {
            ++r.statements;
            const db::ResultSet emp = c.select("SELECT * FROM emp_tanka WHERE E_TANCOD = ?", {code});
            const std::string job = column(emp, 0, "E_JOBKBN");
            if (rtl::trim(column(emp, 0, "E_DROPKBN")) == "1") {
                if (first || code != previousCode) {
                    ++r.statements;
                    const db::ResultSet kbn = c.select("SELECT * FROM 区分 WHERE 区分 = ?", {job});
                    std::map<std::string, std::string> texts;
                    if (!kbn.rows.empty())
                        for (size_t k = 0; k < kbn.columns.size(); ++k)
                            texts[kbn.columns[k]] = kbn.rows[0][k].toString();
                    category = kbn.rows.empty() ? attendance::missingCategory(job)
                                                : attendance::readCategory(rtl::trim(job), texts);
                }
                if (category.nightShift() && hour >= 0 && hour <= 6) workDate = rtl::incDay(workDate, -1);
                int w = attendance::overlapMinutes(in, out, attendance::atMinutes(workDate, category.shiftStart),
                                                   attendance::atMinutes(workDate, category.shiftEnd));
                if (rtl::trim(column(emp, 0, "E_REST_YN")) == "1")
                    w -= attendance::overlapMinutes(in, out, attendance::atMinutes(workDate, category.breakStart),
                                                    attendance::atMinutes(workDate, category.breakEnd));
                if (w < 0) w = 0;
                const int u = category.unit, uph = 60 / u;
                const int t = w / u;
                const std::string worked = rtl::twoDigits(w / 60 % 100) + ":" + rtl::twoDigits((t - t / uph * uph) * u);
                ++r.statements;
                c.execute(
                    "INSERT INTO kimu_tran (K_TANCOD,K_DATE,K_KNMKBN,K_INTIM,K_OUTTIM,K_SYUGYO,K_KINMU,K_TANJI) "
                    "VALUES (?,?,?,?,?,?,?,?)",
                    {rtl::strToInt64(rtl::trim(column(emp, 0, "E_TANCOD"))), workDate, job, in, out, worked,
                     static_cast<long long>(w), static_cast<long long>(t)});
                ++r.rows;
            }
        }
        previousCode = code;
        first = false;
    }
    r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    c.close();
    return r;
}

}  // namespace bench
