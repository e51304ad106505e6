#include "data/delivered.h"

#include <filesystem>
#include <vector>

#include "data/schema.h"
#include "data/taxdata.h"
#include "db/connection.h"
#include "rtl/commatext.h"
#include "rtl/convert.h"
#include "rtl/errors.h"
#include "rtl/textfile.h"

namespace data {
namespace {

std::string insertSql(const std::string& table, const std::vector<std::string>& columns) {
    std::string cols, marks;
    for (const std::string& c : columns) {
        if (!cols.empty()) {
            cols += ",";
            marks += ",";
        }
        cols += c;
        marks += "?";
    }
    return "INSERT INTO " + table + " (" + cols + ") VALUES (" + marks + ")";
}

void insertRow(db::Connection& c, const std::string& table,
               const std::vector<std::pair<std::string, db::Value>>& cells) {
    std::vector<std::string> columns;
    db::Params params;
    for (const auto& [name, value] : cells) {
        columns.push_back(name);
        params.emplace_back(value);
    }
    c.execute(insertSql(table, columns), params);
}

// Caption row: plain captions, no allowance marked taxable.
void seedTitleMas(db::Connection& c) {
    std::vector<std::pair<std::string, db::Value>> cells{{"CODE", 1}};
    for (int i = 1; i <= 9; ++i) cells.emplace_back("GKING" + std::to_string(i), "手当" + std::to_string(i));
    cells.emplace_back("GKINGH", "手当H");
    for (int i = 1; i <= 3; ++i) cells.emplace_back("SKING" + std::to_string(i), "控除" + std::to_string(i));
    for (const char* f : {"GK_FLG7", "GK_FLG8", "GK_FLG9", "GK_FLGH"}) cells.emplace_back(f, "0");
    insertRow(c, "title_mas", cells);
}

// Settings row. Rates are per mille: the first set is the employee's share,
// the second the employer's. Health 9.85 % and care 1.62 % (association
// health insurance, Tokyo, 2026) and pension 18.3 % are split in half;
// employment insurance is 5/1000 for the employee and 8.5/1000 for the employer.
void seedSysMas(db::Connection& c) {
    insertRow(c, "sys_mas",
              {{"SYS_CD", "1"},
               {"SYS_NM", ""},
               {"REC_YN", "0"},
               {"H_K_TOP", 40},
               {"H_K_END", 65},
               {"HOKEN_P", 49.25},
               {"HOKENK_P", 8.1},
               {"KOYO_P", 5.0},
               {"NENKIN_P", 91.5},
               {"KIKIN_P", 0.0},
               {"HOKEN_P2", 49.25},
               {"HOKENK_P2", 8.1},
               {"KOYO_P2", 8.5},
               {"NENKIN_P2", 91.5},
               {"KIKIN_P2", 0.0},
               {"PRT_FLG", "0"},
               {"DAT_CHK", "0"}});
}

// One company row with every field empty, so the closing day is empty and
// the pay period is the calendar month.
void seedCompany(db::Connection& c) {
    std::vector<std::pair<std::string, db::Value>> cells;
    for (const ColumnDef& col : table("会社").columns) cells.emplace_back(col.name, "");
    insertRow(c, "会社", cells);
}

// One work category "01": 09:00 to 18:00 with a lunch break, whole minutes.
void seedJobKbn(db::Connection& c) {
    std::vector<std::pair<std::string, db::Value>> cells;
    for (const ColumnDef& col : table("区分").columns) cells.emplace_back(col.name, "");
    auto set = [&](const std::string& name, const char* v) {
        for (auto& [n, value] : cells)
            if (n == name) value = v;
    };
    set("区分", "01");
    set("就業開始時刻", "09:00");
    set("就業終了時刻", "18:00");
    set("遅刻早退開始時刻", "09:00");
    set("遅刻早退終了時刻", "18:00");
    set("休憩1開始時刻", "12:00");
    set("休憩1終了時刻", "13:00");
    set("就業丸め単位", "01");
    set("遅早丸め単位", "01");
    set("残業丸め単位", "01");
    set("残業基準時数", "08:00");
    insertRow(c, "区分", cells);
}

// Allowance kinds (list 1); lists 2 to 5 are seeded by the upgrade.
void seedFlgData(db::Connection& c) {
    const struct {
        int cd;
        const char* num;
        const char* dat;
    } rows[] = {{1, "0", "なし"}, {2, "1", "月額"}, {3, "2", "日額"}};
    for (const auto& r : rows)
        insertRow(c, "flg_data", {{"FLG_CD", r.cd}, {"FLG_COD", 1}, {"FLG_NUM", r.num}, {"FLG_DAT", r.dat}});
}

}  // namespace

int loadTaxTable(db::Connection& c, const std::string& tableName, std::string_view csv) {
    const TableDef& def = table(tableName);
    const std::vector<std::string> lines = rtl::splitLines(csv);
    auto fail = [&](std::size_t line, const std::string& what) -> void {
        throw rtl::DatabaseError("税額表 " + tableName + " の " + std::to_string(line) + " 行目: " + what);
    };
    if (lines.empty()) fail(1, "見出し行がありません。");
    if (rtl::splitCommaText(lines[0]) != def.columnNames()) fail(1, "列の並びがテーブルと一致しません。");
    const std::string sql = insertSql(def.name, def.columnNames());
    int loaded = 0;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        if (lines[i].empty()) continue;
        const std::vector<std::string> cells = rtl::splitCommaText(lines[i]);
        if (cells.size() != def.columns.size()) fail(i + 1, "列の数がテーブルと一致しません。");
        db::Params params;
        for (std::size_t k = 0; k < cells.size(); ++k) {
            const ColumnDef& col = def.columns[k];
            double real = 0;
            long long whole = 0;
            switch (col.kind) {
            case ColumnKind::Double:
                if (!rtl::tryStrToFloat(cells[k], real)) fail(i + 1, col.name + " が数値ではありません。");
                params.emplace_back(real);
                break;
            case ColumnKind::Text:
            case ColumnKind::FixedText: params.emplace_back(cells[k]); break;
            default: {
                int64_t v = 0;
                if (!rtl::tryStrToInt64(cells[k], v)) fail(i + 1, col.name + " が整数ではありません。");
                whole = v;
                params.emplace_back(whole);
            }
            }
        }
        c.execute(sql, params);
        ++loaded;
    }
    return loaded;
}

void buildDeliveredSchema(db::Connection& c) {
    for (const TableDef& def : tables()) c.execute(joinLines(createStatementFor(def)));
    c.execute(sumTranTViewSql());
    seedTitleMas(c);
    seedSysMas(c);
    seedCompany(c);
    seedJobKbn(c);
    seedFlgData(c);
    for (const char* t : {"zei_mas", "zei_masB", "zei_masS"}) loadTaxTable(c, t, embeddedTaxCsv(t));
}

void createDeliveredDatabase(const std::string& path, bool overwrite) {
    db::Connection::createDatabaseFile(path, overwrite);
    try {
        db::Connection c(path);
        c.runJob([&] { buildDeliveredSchema(c); });
        c.close();
    } catch (...) {
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
        throw;
    }
}

}  // namespace data
