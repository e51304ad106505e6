#include "attendance/store.h"

#include <map>

#include "db/connection.h"
#include "db/prepared.h"
#include "rtl/convert.h"
#include "rtl/strings.h"

namespace attendance {

namespace {

const char* const kKindColumns[6][2] = {{"HAYZAN", "HAYKING"}, {"FUTZAN", "FUTKING"}, {"SINZAN", "SINKING"},
                                        {"KYUSYU", "KYUKING"}, {"TIKOKU", "TIKKING"}, {"SOUTAI", "SOUKING"}};
// The five kinds the recomputation writes (every kind but the holiday).
const int kComputedKinds[5] = {0, 1, 2, 4, 5};

// The column positions of a result, looked up once for all its rows.
class Columns {
public:
    explicit Columns(const db::ResultSet& rs) {
        for (size_t i = 0; i < rs.columns.size(); ++i) index_.emplace(rs.columns[i], i);
    }
    size_t operator[](const char* name) const {
        const auto it = index_.find(name);
        if (it == index_.end()) throw rtl::DatabaseError(std::string("フィールド '") + name + "' が見つかりません。");
        return it->second;
    }

private:
    std::map<std::string, size_t, std::less<>> index_;
};

// Reads a result row by column name.
class Row {
public:
    Row(const Columns& columns, const std::vector<db::Value>& values) : columns_(columns), values_(values) {}
    const db::Value& operator[](const char* name) const { return values_[columns_[name]]; }
    std::string text(const char* name) const { return (*this)[name].toString(); }
    long long integer(const char* name) const {
        const db::Value& v = (*this)[name];
        if (v.isNull()) return 0;
        if (v.isInteger()) return v.integer();
        if (v.isFloat()) return static_cast<long long>(v.real());
        return rtl::strToInt64(rtl::trim(v.text()));
    }
    std::optional<double> real(const char* name) const {
        const db::Value& v = (*this)[name];
        if (v.isNull()) return std::nullopt;
        if (v.isNumber()) return v.real();
        return rtl::strToFloat(v.text());
    }

private:
    const Columns& columns_;
    const std::vector<db::Value>& values_;
};

db::Params periodParams(const PeriodDates& p) { return {p.first, p.last}; }

}  // namespace

std::vector<Punch> readPunches(db::Connection& c) {
    const db::ResultSet rs = c.select("SELECT 月, 日, 時, 分, 秒, IDコード, 入退 FROM タイムカード ORDER BY rowid");
    std::vector<Punch> out;
    out.reserve(rs.rows.size());
    const Columns columns(rs);
    for (const auto& values : rs.rows) {
        const Row r(columns, values);
        out.push_back(
            {r.text("月"), r.text("日"), r.text("時"), r.text("分"), r.text("秒"), r.text("IDコード"), r.text("入退")});
    }
    return out;
}

std::vector<Employee> readEmployees(db::Connection& c) {
    const db::ResultSet rs = c.select("SELECT * FROM emp_tanka ORDER BY rowid");
    std::vector<Employee> out;
    out.reserve(rs.rows.size());
    const Columns columns(rs);
    for (const auto& values : rs.rows) {
        const Row r(columns, values);
        Employee e;
        e.number = r.integer("E_NO");
        e.code = r.text("E_TANCOD");
        e.category = r.text("E_JOBKBN");
        e.status = rtl::trim(r.text("E_DROPKBN"));
        e.restFlag = rtl::trim(r.text("E_REST_YN"));
        e.payKind = rtl::trim(r.text("E_PAYKBN"));
        e.baseFlag = rtl::trim(r.text("E_BASE_YN"));
        e.basePay = r.integer("E_BASEPAY");
        e.transport = r.integer("E_KOTUHI");
        e.earlyFlag = rtl::trim(r.text("E_HAYZ_YN"));
        e.earlyRate = r.integer("E_HAYZPAY");
        e.overFlag = rtl::trim(r.text("E_FUTZ_YN"));
        e.overRate = r.integer("E_FUTZPAY");
        e.nightFlag = rtl::trim(r.text("E_SINZ_YN"));
        e.nightRate = r.integer("E_SINZPAY");
        e.holidayFlag = rtl::trim(r.text("E_KYU_YN"));
        e.holidayRate = r.integer("E_KYU_PAY");
        e.lateFlag = rtl::trim(r.text("E_TIKO_YN"));
        e.lateRate = r.integer("E_TIKOKU");
        e.leaveFlag = rtl::trim(r.text("E_SOUT_YN"));
        e.leaveRate = r.integer("E_SOUTAI");
        out.push_back(std::move(e));
    }
    return out;
}

CategoryBook::CategoryBook(db::Connection& c) {
    const db::ResultSet rs = c.select("SELECT * FROM 区分 ORDER BY rowid");
    for (const auto& values : rs.rows) {
        std::map<std::string, std::string> texts;
        for (size_t i = 0; i < rs.columns.size(); ++i) texts[rs.columns[i]] = values[i].toString();
        const std::string code = rtl::trim(texts["区分"]);
        // The first row of a code is the one a lookup finds.
        if (categories_.count(code) || refused_.count(code)) continue;
        try {
            categories_.emplace(code, readCategory(code, texts));
        } catch (const Refusal& e) {
            refused_.emplace(code, e.what());
        }
    }
}

const WorkCategory& CategoryBook::of(const std::string& rawCode) const {
    const std::string code = rtl::trim(rawCode);
    if (const auto it = refused_.find(code); it != refused_.end()) throw Refusal(it->second);
    if (const auto it = categories_.find(code); it != categories_.end()) return it->second;
    return missing_.try_emplace(code, missingCategory(code)).first->second;
}

std::vector<AttendanceRow> readPeriodRows(db::Connection& c, const PeriodDates& period) {
    const db::ResultSet rs =
        c.select("SELECT rowid AS row_id, * FROM kimu_tran WHERE K_DATE >= ? AND K_DATE <= ? ORDER BY K_DATE, rowid",
                 periodParams(period));
    std::vector<AttendanceRow> out;
    out.reserve(rs.rows.size());
    const Columns columns(rs);
    for (const auto& values : rs.rows) {
        const Row r(columns, values);
        AttendanceRow a;
        a.rowid = r.integer("row_id");
        if (!r["K_SEQNO"].isNull()) a.seqNo = r.integer("K_SEQNO");
        a.employee = r.integer("K_TANCOD");
        a.date = r.real("K_DATE").value_or(0);
        a.category = r.text("K_KNMKBN");
        a.in = r.real("K_INTIM");
        a.out = r.real("K_OUTTIM");
        a.worked = r.text("K_SYUGYO");
        a.workedMinutes = r.integer("K_KINMU");
        a.units = r.integer("K_TANJI");
        a.baseAmount = r.integer("K_BASKING");
        for (int k = 0; k < 6; ++k) {
            a.minutes[k] = r.text((std::string("K_") + kKindColumns[k][0]).c_str());
            a.amounts[k] = r.integer((std::string("K_") + kKindColumns[k][1]).c_str());
        }
        out.push_back(std::move(a));
    }
    return out;
}

long long countPeriodRows(db::Connection& c, const PeriodDates& period) {
    const db::Value v =
        c.scalar("SELECT COUNT(*) FROM kimu_tran WHERE K_DATE >= ? AND K_DATE <= ?", periodParams(period));
    return v.isNull() ? 0 : v.integer();
}

long long countPeriodPunches(db::Connection& c, const PeriodDates& period) {
    return countPeriodPunches(readPunches(c), period);
}

long long countPeriodPunches(const std::vector<Punch>& punches, const PeriodDates& period) {
    long long n = 0;
    for (const Punch& p : punches) {
        int32_t month = 0, day = 0;
        if (rtl::tryStrToInt(rtl::trim(p.month), month) && rtl::tryStrToInt(rtl::trim(p.day), day) &&
            punchInPeriodRange(period, month, day))
            ++n;
    }
    return n;
}

void replacePeriodRows(db::Connection& c, const PeriodDates& period, const std::vector<ImportedRow>& rows) {
    c.execute("DELETE FROM kimu_tran WHERE K_DATE >= ? AND K_DATE <= ?", periodParams(period));
    db::PreparedStatement insert(
        c,
        "INSERT INTO kimu_tran (K_TANCOD, K_DATE, K_KNMKBN, K_INTIM, K_OUTTIM, K_SYUGYO, K_KINMU, K_TANJI) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?)");
    for (const ImportedRow& r : rows)
        insert.run({r.employee, r.date, r.category, r.in, r.out, r.worked, r.workedMinutes, r.units});
}

void updateRows(db::Connection& c, const std::vector<RecomputedRow>& rows) {
    std::string sql = "UPDATE kimu_tran SET K_SYUGYO = ?, K_KINMU = ?, K_TANJI = ?, K_BASKING = ?";
    for (int k : kComputedKinds)
        sql += std::string(", K_") + kKindColumns[k][0] + " = ?, K_" + kKindColumns[k][1] + " = ?";
    sql += ", K_KYUKING = ? WHERE rowid = ?";
    db::PreparedStatement update(c, sql);
    for (const RecomputedRow& r : rows) {
        db::Params p{r.worked, r.workedMinutes, r.units, r.baseAmount};
        for (int i = 0; i < 5; ++i) {
            p.emplace_back(std::to_string(r.minutes[i]));
            p.emplace_back(r.amounts[i]);
        }
        p.emplace_back(r.holidayAmount);
        p.emplace_back(r.rowid);
        update.run(p);
    }
}

void replaceMonthRecords(db::Connection& c, const std::string& key, const std::vector<PayRecord>& records) {
    c.execute("DELETE FROM sum_tran WHERE S_DATE = ?", {key});
    std::string columns = "S_SEQNO, S_TANCOD, S_DATE, S_DAYS, S_KINMU, S_TANJI, S_KOTUHI, S_BASKING";
    for (const auto& k : kKindColumns) columns += std::string(", S_") + k[0] + ", S_" + k[1];
    columns += ", S_DAY5, S_KNTKBN";
    std::string marks;
    for (int i = 0; i < 8 + 12 + 2; ++i) marks += i ? ", ?" : "?";
    db::PreparedStatement insert(c, "INSERT INTO sum_tran (" + columns + ") VALUES (" + marks + ")");
    for (const PayRecord& r : records) {
        db::Params p;
        p.emplace_back(r.seqNo ? db::Value(*r.seqNo) : db::Value());
        for (long long v : {r.employee}) p.emplace_back(v);
        p.emplace_back(r.key);
        for (long long v : {r.days, r.workedMinutes, r.units, r.transport, r.base}) p.emplace_back(v);
        for (int k = 0; k < 6; ++k) {
            p.emplace_back(r.minutes[k]);
            p.emplace_back(r.amounts[k]);
        }
        p.emplace_back(r.lateDays);
        p.emplace_back(1);
        insert.run(p);
    }
}

}  // namespace attendance

namespace attendance {

long long deletePeriodRows(db::Connection& c, const PeriodDates& period) {
    return c.execute("DELETE FROM kimu_tran WHERE K_DATE >= ? AND K_DATE <= ?", {period.first, period.last});
}

std::optional<long long> employeeInServiceByName(db::Connection& c, const std::string& name) {
    const db::ResultSet rs =
        c.select("SELECT E_TANCOD FROM emp_tanka WHERE E_NAME = ? AND E_DROPKBN = '1' ORDER BY rowid", {name});
    if (rs.rows.empty()) return std::nullopt;
    return rtl::strToInt64(rs.rows[0][0].toString());
}

long long countEmployeeRows(db::Connection& c, long long employee, const PeriodDates& period) {
    const db::Value v = c.scalar("SELECT COUNT(*) FROM kimu_tran WHERE K_TANCOD = ? AND K_DATE >= ? AND K_DATE <= ?",
                                 {employee, period.first, period.last});
    return v.isNull() ? 0 : v.integer();
}

long long countDuplicateDays(db::Connection& c, long long employee, rtl::TDateTime from, rtl::TDateTime to) {
    const db::Value v = c.scalar(
        "SELECT COUNT(*) FROM (SELECT K_DATE FROM kimu_tran WHERE K_TANCOD = ? AND K_DATE >= ? AND K_DATE <= ? "
        "GROUP BY K_DATE HAVING COUNT(*) > 1)",
        {employee, from, to});
    return v.isNull() ? 0 : v.integer();
}

}  // namespace attendance
