#include "timecard/punchtable.h"

#include "data/DB_Acs.h"
#include "rtl/strings.h"

namespace timecard {

namespace {

// The employees in number order, on a query of their own.
struct EmployeeReader {
    db::Query q;
    explicit EmployeeReader(db::Connection& connection) : q(&connection, "Qemployees") {
        q.setSql("SELECT * FROM emp_tanka ORDER BY E_NO");
    }
    ~EmployeeReader() { q.close(); }
};

}  // namespace

void forEachEmployee(db::Connection& connection, const std::function<void(db::Dataset& row)>& visit) {
    EmployeeReader reader(connection);
    reader.q.open();
    for (reader.q.first(); !reader.q.eof(); reader.q.next()) visit(reader.q);
}

std::string lookupEmployee(db::Connection& connection, const std::string& keyField, const std::string& value,
                           const std::string& resultField) {
    EmployeeReader reader(connection);
    reader.q.setFilter(keyField + " = " + rtl::quotedStr(value));
    reader.q.setFiltered(true);
    reader.q.open();
    if (reader.q.isEmpty()) return {};
    return reader.q.fieldByName(resultField).asString();
}

std::string cardOfEmployeeInService(data::TDataModule1& dm, const std::string& name) {
    db::Query& q = dm.Query1;
    q.close();
    q.sql().clear();
    q.sql() << "SELECT * FROM emp_tanka"
            << "WHERE E_NAME = ? "
            << "AND E_DROPKBN = '1'";
    q.clearParams();
    q.addParam(name);
    q.open();
    std::string code;
    if (!q.isEmpty() && !q["E_NO"].isNull()) code = rtl::sixDigitCode(q["E_NO"].asLargeInt());
    q.close();
    return code;
}

}  // namespace timecard
