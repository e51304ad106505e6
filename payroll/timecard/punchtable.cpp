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

std::string lookupEmployee(db::Table& empTanka, const std::string& keyField, const std::string& value,
                           const std::string& resultField) {
    const bool wasActive = empTanka.active();
    struct Restore {
        db::Table& t;
        bool wasActive;
        ~Restore() {
            t.setFiltered(false);
            t.setFilter({});
            if (!wasActive) t.close();
        }
    } restore{empTanka, wasActive};
    empTanka.setFiltered(false);
    empTanka.setFilter(keyField + " = " + rtl::quotedStr(value));
    empTanka.setFiltered(true);
    empTanka.open();
    if (empTanka.isEmpty()) return {};
    return empTanka.fieldByName(resultField).asString();
}

}  // namespace timecard
