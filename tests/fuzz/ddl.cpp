// The Jet DDL translation. Any text either is refused with
// rtl::DatabaseError or becomes a plan; a CREATE TABLE that SQLite then
// accepts must read back with the kinds and widths the plan declared, and
// every text column must refuse a value one character wider than its width.
// Only statements the translation recognises are run: other SQL is never
// sent to the database.
#include <cstdint>
#include <string>

#include "db/connection.h"
#include "db/jet.h"
#include "fuzz.h"
#include "rtl/errors.h"

namespace {

struct Fixture {
    fuzz::ScratchFolder dir{"ddl"};
    db::Connection conn;
    Fixture() {
        const std::string path = (dir.path() / "ddl.mdb").string();
        db::Connection::createDatabaseFile(path, true);
        conn.setDatabasePath(path);
    }
    ~Fixture() { conn.close(); }
    void dropAll() {
        for (const std::string& t : conn.tableNames()) conn.executeNative("DROP TABLE " + db::quoteIdentifier(t));
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Fixture fx;
    const std::string sql(reinterpret_cast<const char*>(data), size);
    db::DdlPlan plan;
    try {
        plan = db::parseJetDdl(sql);
    } catch (const rtl::DatabaseError&) {
        return 0;
    }
    if (plan.kind == db::DdlPlan::Kind::None) return 0;
    fx.dropAll();
    if (plan.kind != db::DdlPlan::Kind::CreateTable) {
        // Against a table of the plan's name, so ALTER and DROP have work.
        try {
            fx.conn.execute("CREATE TABLE " + db::quoteIdentifier(plan.table) + " (A Integer, B Varchar(4))");
            fx.conn.execute(sql);
        } catch (const rtl::DatabaseError&) {
        }
        return 0;
    }
    try {
        fx.conn.execute(sql);
    } catch (const rtl::DatabaseError&) {
        return 0;  // SQLite's own refusals (duplicate columns, reserved names)
    }
    const std::vector<db::ColumnInfo> cols = fx.conn.columns(plan.table);
    fuzz::check(cols.size() == plan.columns.size(), "the table has other columns than the plan");
    for (size_t i = 0; i < cols.size(); ++i) {
        const db::ColumnSpec& want = plan.columns[i];
        fuzz::check(cols[i].name == want.name, "column name " + cols[i].name + " for " + want.name);
        fuzz::check(cols[i].kind == want.kind, "column " + want.name + " reads back as another kind");
        fuzz::check(cols[i].width == want.width, "column " + want.name + " declared width " +
                                                     std::to_string(want.width) + " reads back as " +
                                                     std::to_string(cols[i].width) + " (" + cols[i].declaredType + ")");
        if (db::isTextKind(want.kind) && want.width > 0 && want.width < 300 && !want.primaryKey) {
            const std::string insert = "INSERT INTO " + db::quoteIdentifier(plan.table) + " (" +
                                       db::quoteIdentifier(want.name) + ") VALUES (?)";
            bool refused = false;
            try {
                fx.conn.execute(insert, {db::Value(std::string(static_cast<size_t>(want.width) + 1, 'x'))});
            } catch (const rtl::DatabaseError&) {
                refused = true;
            }
            fuzz::check(refused, "column " + want.name + " took text wider than its width");
        }
    }
    return 0;
}
