#include "reports/ledgerstore.h"

#include <cmath>
#include <map>

#include "db/connection.h"

namespace reports {
namespace {

// Column access by name on a result row; NULL counts as 0 or empty text.
class Row {
public:
    Row(const db::ResultSet& rs, std::size_t row) : rs_(rs), row_(row) {
        for (std::size_t i = 0; i < rs.columns.size(); ++i) index_[rs.columns[i]] = i;
    }
    const db::Value& value(const std::string& column) const { return rs_.rows[row_].at(index_.at(column)); }
    long long integer(const std::string& column) const {
        const db::Value& v = value(column);
        if (v.isInteger()) return v.integer();
        if (v.isFloat()) return std::llround(v.real());
        return 0;
    }
    std::string text(const std::string& column) const {
        const db::Value& v = value(column);
        return v.isNull() ? std::string() : v.toString();
    }

private:
    const db::ResultSet& rs_;
    std::size_t row_;
    std::map<std::string, std::size_t> index_;
};

std::vector<LedgerEmployee> employees(db::Connection& connection, const std::string& where) {
    const db::ResultSet rs = connection.select(
        "SELECT E_NO, E_TANCOD, E_NAME, E_JOBKBN, E_BARTH, E_GKING_K9 FROM emp_tanka " + where + " ORDER BY E_NO");
    std::vector<LedgerEmployee> out;
    for (std::size_t i = 0; i < rs.rows.size(); ++i) {
        const Row row(rs, i);
        LedgerEmployee e;
        e.number = row.integer("E_NO");
        e.code = row.text("E_TANCOD");
        e.name = row.text("E_NAME");
        e.jobCategory = row.text("E_JOBKBN");
        const db::Value& birth = row.value("E_BARTH");
        // Day 0 (1899/12/30) is how an empty date was kept.
        if (birth.isNumber() && std::trunc(birth.real()) != 0) e.birthDate = std::trunc(birth.real());
        e.transportCap = row.integer("E_GKING_K9");
        out.push_back(std::move(e));
    }
    return out;
}

}  // namespace

std::vector<LedgerEmployee> ledgerEmployees(db::Connection& connection) { return employees(connection, ""); }

std::vector<LedgerEmployee> employeesInService(db::Connection& connection) {
    return employees(connection, "WHERE E_DROPKBN = '1'");
}

std::vector<PayRecord> payRecordsOf(db::Connection& connection, long long employeeNumber) {
    const db::ResultSet rs =
        connection.select("SELECT * FROM sum_tran WHERE S_TANCOD = ? ORDER BY S_DATE", {employeeNumber});
    std::vector<PayRecord> out;
    for (std::size_t i = 0; i < rs.rows.size(); ++i) {
        const Row row(rs, i);
        PayRecord r;
        r.key = row.text("S_DATE");
        r.days = row.integer("S_DAYS");
        r.workMinutes = row.integer("S_KINMU");
        r.earlyOvertimeMinutes = row.integer("S_HAYZAN");
        r.overtimeMinutes = row.integer("S_FUTZAN");
        r.lateNightMinutes = row.integer("S_SINZAN");
        r.basePay = row.integer("S_BASKING");
        for (int k = 0; k < 8; ++k)
            r.allowances[static_cast<std::size_t>(k)] = row.integer("S_GKING" + std::to_string(k + 1));
        r.earlyOvertimePay = row.integer("S_HAYKING");
        r.overtimePay = row.integer("S_FUTKING");
        r.holidayPay = row.integer("S_KYUKING");
        r.lateNightPay = row.integer("S_SINKING");
        r.transport = row.integer("S_KOTUHI");
        r.subsidy = row.integer("S_HOJYO");
        r.healthInsurance = row.integer("S_HOKEN");
        r.careInsurance = row.integer("S_HOKENK");
        r.pension = row.integer("S_NENKIN");
        r.employmentInsurance = row.integer("S_KOYOU");
        r.incomeTax = row.integer("S_ZEI_G");
        r.residentTax = row.integer("S_ZEI_K");
        r.meals = row.integer("S_MEAT_K");
        for (int k = 0; k < 3; ++k)
            r.deductions[static_cast<std::size_t>(k)] = row.integer("S_SKING" + std::to_string(k + 1));
        out.push_back(std::move(r));
    }
    return out;
}

LedgerCaptions ledgerCaptions(db::Connection& connection) {
    LedgerCaptions c;
    const db::ResultSet rs = connection.select("SELECT * FROM title_mas WHERE CODE = 1");
    if (rs.rows.empty()) return c;
    const Row row(rs, 0);
    for (int k = 0; k < 8; ++k) c.allowances[static_cast<std::size_t>(k)] = row.text("GKING" + std::to_string(k + 1));
    c.allowanceH = row.text("GKINGH");
    for (int k = 0; k < 3; ++k) c.deductions[static_cast<std::size_t>(k)] = row.text("SKING" + std::to_string(k + 1));
    return c;
}

}  // namespace reports
