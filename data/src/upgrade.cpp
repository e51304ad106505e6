#include "data/upgrade.h"

#include <exception>
#include <vector>

#include "data/DB_Acs.h"
#include "data/queries.h"
#include "data/schema.h"
#include "db/jet.h"
#include "rtl/errors.h"
#include "rtl/textfile.h"

namespace data {
namespace {

using Lines = std::vector<std::string>;

// Runs one statement (a list of lines) through Query1.
void runSql(TDataModule1& dm, const Lines& lines) {
    dm.Query1.close();
    dm.Query1.sql().clear();
    for (const std::string& line : lines) dm.Query1.sql().add(line);
    dm.Query1.execSQL();
}

// The column count of a table as opened by name through Table2.
int columnCount(TDataModule1& dm, const std::string& table) {
    dm.Table2.close();
    dm.Table2.setTableName(table);
    dm.Table2.open();
    const int n = dm.Table2.fieldCount();
    dm.Table2.close();
    return n;
}

bool hasColumn(TDataModule1& dm, std::string_view table, std::string_view column) {
    for (const db::ColumnInfo& c : dm.ADOConnection1.columns(table))
        if (db::jetCompare(c.name, column) == 0) return true;
    return false;
}

// A slip key of weekly or daily pay is the eight-character last day of the
// period ("yy/mm/dd"); a deduction-slip table from before that holds only
// five. Its key column is widened with every row kept: the table is renamed,
// created anew, refilled and the old one dropped, in one transaction.
void widenSlipKey(TDataModule1& dm) {
    int width = 0;
    for (const db::ColumnInfo& c : dm.ADOConnection1.columns("minus_dat"))
        if (db::jetCompare(c.name, "M_DATE") == 0) width = c.width;
    if (width == 0 || width >= SlipKeyWidth) return;
    dm.minus_dat.close();
    dm.ADOConnection1.runJob([&] {
        dm.ADOConnection1.executeNative("ALTER TABLE minus_dat RENAME TO minus_dat_narrow");
        runSql(dm, createMinusDatLines());
        runSql(dm, {"INSERT INTO minus_dat", "SELECT * FROM minus_dat_narrow"});
        runSql(dm, {"Drop Table minus_dat_narrow"});
    });
}

struct FlgSeed {
    int cd;
    int cod;
    const char* num;
    const char* dat;
};
constexpr FlgSeed kFlgSeeds[] = {
    {4, 2, "0", "無"},   {5, 2, "1", "有"},    {6, 3, "0", "月給"},    {7, 3, "1", "週給/日給"}, {8, 4, "0", "退職"},
    {9, 4, "1", "就業"}, {10, 4, "2", "休職"}, {11, 5, "0", "対象外"}, {12, 5, "1", "対象"},
};

struct ColumnGroup {
    const char* table;
    int threshold;
    std::vector<const char*> adds;  // each "ALTER TABLE <table>" + this line
};

const std::vector<ColumnGroup>& columnGroups() {
    static const std::vector<ColumnGroup> groups = {
        {"emp_tanka", 62, {"ADD PRT_FLG Char(1)"}},
        {"sys_mas", 16, {"ADD PRT_FLG Char(1)"}},
        {"sum_tran", 55, {"ADD S_DAY1 INT", "ADD S_DAY2 INT", "ADD S_DAY3 INT", "ADD S_DAY4 INT", "ADD S_DAY5 INT"}},
        {"title_mas", 16, {"ADD GK_FLG7 CHAR(1)", "ADD GK_FLG8 CHAR(1)", "ADD GK_FLG9 CHAR(1)", "ADD GK_FLGH CHAR(1)"}},
    };
    return groups;
}

// True when gensen can be opened and has every column of its definition.
bool gensenComplete(TDataModule1& dm) {
    dm.Table2.close();
    dm.Table2.setTableName("gensen");
    try {
        dm.Table2.open();
    } catch (const std::exception&) {
        return false;
    }
    bool complete = true;
    for (const ColumnDef& c : table("gensen").columns)
        if (!dm.Table2.findField(c.name)) complete = false;
    dm.Table2.close();
    return complete;
}

bool gensenExists(TDataModule1& dm) { return dm.ADOConnection1.tableExists("gensen"); }

// Makes the table of `def` anew in its current form, keeping the values of
// the columns `kept` of every row. SQLite cannot change a column's type or
// width: the rows go through memory into the table created anew, in one
// transaction.
void remakeKeepingRows(TDataModule1& dm, const TableDef& def, const std::vector<std::string>& kept) {
    db::Connection& c = dm.ADOConnection1;
    std::string list;
    for (const std::string& n : kept) list += (list.empty() ? "" : ",") + n;
    c.runJob([&] {
        const db::ResultSet rows = c.select("SELECT " + list + " FROM " + def.name);
        c.execute("DROP TABLE " + def.name);
        c.execute(joinLines(createStatementFor(def)));
        std::string marks;
        for (std::size_t i = 0; i < kept.size(); ++i) marks += i ? ",?" : "?";
        const std::string insert = "INSERT INTO " + def.name + " (" + list + ") VALUES (" + marks + ")";
        for (const auto& row : rows.rows) {
            db::Params params;
            for (const db::Value& v : row) params.emplace_back(v);
            c.execute(insert, params);
        }
    });
}

// A gensen made by an older version holds names of ten characters only: it is
// made anew at the full width, keeping every row.
void widenGensenName(TDataModule1& dm) {
    if (!gensenExists(dm)) return;
    bool narrow = false;
    for (const db::ColumnInfo& col : dm.ADOConnection1.columns("gensen"))
        if (db::jetCompare(col.name, "dname") == 0 && col.width > 0 && col.width < kGensenNameWidth) narrow = true;
    if (!narrow) return;
    dm.gensen.close();
    remakeKeepingRows(dm, table("gensen"), table("gensen").columnNames());
}

// Create-or-empty, then the command's own refill, as one job.
bool rebuild(TDataModule1& dm, const Confirm& confirm, const char* question, const std::string& tableName,
             const Lines& createLines, const Lines& refill) {
    if (!confirm || !confirm(question, RebuildCaption)) return false;
    dm.ADOConnection1.runJob([&] {
        bool created = false;
        try {
            db::Connection::Job inner(dm.ADOConnection1);
            runSql(dm, createLines);
            inner.commit();
            created = true;
        } catch (const std::exception&) {
            // The table exists (or cannot be created): its rows go instead.
        }
        if (!created) runSql(dm, {"DELETE FROM " + tableName});
        if (!refill.empty()) runSql(dm, refill);
    });
    return true;
}

}  // namespace

void Act_New_Field(TDataModule1& dm) {
    for (int list = 2; list <= 5; ++list) {
        const long long n =
            countRows(dm.QueryCnt, {"SELECT COUNT(*) FROM flg_data", "WHERE FLG_COD = " + std::to_string(list)});
        if (n != 0) continue;
        for (const FlgSeed& s : kFlgSeeds) {
            if (s.cod != list) continue;
            runSql(dm, {"INSERT INTO flg_data(FLG_CD,FLG_COD,FLG_NUM,FLG_DAT)", "VALUES (" + std::to_string(s.cd) +
                                                                                    "," + std::to_string(s.cod) + ",'" +
                                                                                    s.num + "','" + s.dat + "')"});
        }
    }
    for (const ColumnGroup& g : columnGroups()) {
        if (columnCount(dm, g.table) >= g.threshold) continue;
        try {
            for (const char* add : g.adds) runSql(dm, {std::string("ALTER TABLE ") + g.table, add});
        } catch (const std::exception&) {
            // The first failure ends this table's group; the next table follows.
        }
    }
    try {
        widenGensenName(dm);
    } catch (const std::exception&) {
        // An incomplete gensen stays as it is: the db_gensen.txt step or the
        // next start makes it anew.
    }
    upgradeDayWork(dm);
}

void upgradeDayWork(TDataModule1& dm) {
    db::Connection& c = dm.ADOConnection1;
    if (!c.tableExists("day_work")) return;
    const TableDef& def = table("day_work");
    std::vector<std::string> kept;  // columns of the current form the old table has
    bool current = true;
    const std::vector<db::ColumnInfo> columns = c.columns("day_work");
    for (const ColumnDef& want : def.columns) {
        bool found = false;
        for (const db::ColumnInfo& have : columns) {
            if (db::jetCompare(have.name, want.name) != 0) continue;
            found = true;
            if (have.kind != want.kind) current = false;
        }
        if (found) kept.push_back(want.name);
        else current = false;
    }
    if (current) return;
    dm.day_work.close();
    remakeKeepingRows(dm, def, kept);
}

void Act_minus_dat(TDataModule1& dm) {
    try {
        dm.Query1.close();
        dm.Query1.sql().clear();
        dm.Query1.sql().add("Select * From minus_dat");
        dm.Query1.open();
        dm.Query1.close();
        widenSlipKey(dm);
        // A pay-record table rebuilt after minus_dat was created lacks the
        // check column that the pay-record components declare; without it
        // none of them would open again.
        if (dm.ADOConnection1.tableExists("sum_tran") && !hasColumn(dm, "sum_tran", "DAT_CHK")) {
            runSql(dm, {"ALTER TABLE sum_tran", "ADD DAT_CHK Char(1)"});
            runSql(dm, {"UPDATE sum_tran", "Set DAT_CHK = '0'", "WHERE DAT_CHK Is Null"});
        }
        return;
    } catch (const std::exception&) {
        dm.Query1.close();
    }
    runSql(dm, createMinusDatLines());
    runSql(dm, {"ALTER TABLE sum_tran", "ADD DAT_CHK Char(1)"});
    runSql(dm, {"UPDATE sum_tran", "Set DAT_CHK = '0'", "WHERE DAT_CHK Is Null"});
    runSql(dm, {"ALTER TABLE sys_mas", "ADD DAT_CHK Char(1)"});
    runSql(dm, {"UPDATE sys_mas", "Set DAT_CHK = '0'", "WHERE DAT_CHK Is Null"});
}

GensenStep gensenMarkerStep(TDataModule1& dm, const std::filesystem::path& workDir) {
    const std::filesystem::path marker = workDir / GensenMarkerFile;
    std::string line;
    try {
        line = rtl::readFirstLine(marker);
    } catch (const std::exception&) {
        line = "0";
    }
    if (line != "0") return GensenStep::NotAsked;

    try {
        GensenStep result = GensenStep::Kept;
        if (!gensenComplete(dm)) {
            // A year's withholding data is only replaced when the table cannot
            // hold it; a complete table keeps its rows.
            dm.ADOConnection1.runJob([&] {
                if (gensenExists(dm)) runSql(dm, {"drop table gensen"});
                runSql(dm, createGensenLines());
            });
            result = GensenStep::Recreated;
        }
        rtl::writeLines(marker, {"1"});
        return result;
    } catch (const std::exception&) {
        return GensenStep::Failed;
    }
}

bool Act_Tanka(TDataModule1& dm, const Confirm& confirm) {
    return rebuild(dm, confirm, TankaQuestion, "emp_tanka", createEmpTankaLines(),
                   {"INSERT INTO emp_tanka (E_NO,E_TANCOD,E_NAME,E_CARDNO,E_JOBKBN,E_DROPKBN) ",
                    "SELECT CInt(社員番号),社員番号,氏名,カード番号,区分,対象", "FROM 個人"});
}

bool Act_Tran(TDataModule1& dm, const Confirm& confirm) {
    return rebuild(dm, confirm, TranQuestion, "kimu_tran", createKimuTranLines(), {});
}

bool Act_Sum_Tran(TDataModule1& dm, const Confirm& confirm) {
    return rebuild(dm, confirm, SumTranQuestion, "sum_tran", createSumTranLines(), {});
}

}  // namespace data
