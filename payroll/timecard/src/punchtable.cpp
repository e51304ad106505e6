#include "timecard/punchtable.h"

#include "rtl/strings.h"

namespace timecard {

long long countRows(db::Query& query, const std::vector<std::string>& lines, const db::Params& params) {
    query.close();
    query.sql().clear();
    for (const std::string& line : lines) query.sql().add(line);
    query.clearParams();
    for (const db::Param& p : params) {
        if (p.name.empty())
            query.addParam(p.value);
        else
            query.setParam(p.name, p.value);
    }
    query.open();
    struct Closer {
        db::Query& q;
        ~Closer() { q.close(); }
    } closer{query};
    return query.fieldByName("Expr1000").asLargeInt();
}

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

}  // namespace timecard
