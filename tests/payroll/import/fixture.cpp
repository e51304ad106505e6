#include "fixture.h"

#include <cstdlib>
#include <fstream>

#include "data/delivered.h"
#include "data/schema.h"
#include "db/connection.h"
#include "rtl/textfile.h"

namespace payroll::testing {

namespace {

// UTF-8 text as UTF-16 little endian after its byte-order mark.
std::string utf16le(const std::string& utf8) {
    std::string out = "\xFF\xFE";
    auto unit = [&](unsigned u) {
        out += static_cast<char>(u & 0xFF);
        out += static_cast<char>(u >> 8);
    };
    for (size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        const int n = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
        unsigned cp = n == 1 ? b : b & (0x7F >> n);
        for (int k = 1; k < n; ++k) cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        i += static_cast<size_t>(n);
        if (cp >= 0x10000) {
            unit(0xD800 + ((cp - 0x10000) >> 10));
            unit(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            unit(cp);
        }
    }
    return out;
}

}  // namespace

void ImportFolder::SetUp() {
    std::string templ = (std::filesystem::temp_directory_path() / "tallyra-import-XXXXXX").string();
    ASSERT_NE(mkdtemp(templ.data()), nullptr);
    dir = templ;
    dbPath = (dir / "Wendrasol.mdb").string();
    data::createDeliveredDatabase(dbPath);
    dm = std::make_unique<data::TDataModule1>();
    dm->setDatabasePath(dbPath);
}

void ImportFolder::TearDown() {
    dm.reset();
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
}

std::filesystem::path ImportFolder::writeCsv(const std::string& name, const std::vector<std::string>& lines,
                                             Encoding encoding) {
    std::string text;
    for (const std::string& l : lines) text += l + "\r\n";
    if (encoding == Encoding::Cp932) text = rtl::utf8ToCp932(text);
    if (encoding == Encoding::Utf16) text = utf16le(text);
    const std::filesystem::path p = dir / name;
    std::ofstream out(p, std::ios::binary);
    out << text;
    return p;
}

std::filesystem::path ImportFolder::writeJet(const std::string& name,
                                             const std::vector<jet::testing::TextTable>& tables,
                                             jet::testing::TextStorage storage) {
    const std::filesystem::path p = dir / name;
    jet::testing::writeJet4(p, tables, storage);
    return p;
}

void ImportFolder::exec(const std::string& sql) { dm->ADOConnection1.execute(sql); }

std::vector<PunchRow> ImportFolder::rows(const std::string& table) {
    const db::ResultSet r =
        dm->ADOConnection1.select("SELECT * FROM " + db::quoteIdentifier(table) + " ORDER BY rowid");
    std::vector<PunchRow> out;
    for (const auto& row : r.rows) {
        PunchRow p;
        for (const db::Value& v : row) p.push_back(v.toString());
        out.push_back(std::move(p));
    }
    return out;
}

void ImportFolder::seedOldPunches() {
    exec("INSERT INTO タイムカード VALUES ('06','30','08','00','00','000099','0','00','0')");
    exec("INSERT INTO タイムカード VALUES ('06','30','17','00','00','000099','1','00','0')");
}

void ImportFolder::addEmployee(int number, const std::string& code, const std::string& category) {
    dm->ADOConnection1.execute(
        "INSERT INTO emp_tanka (E_NO, E_TANCOD, E_NAME, E_CARDNO, E_JOBKBN, E_DROPKBN) VALUES (?, ?, ?, ?, ?, '1')",
        {number, code, "社員" + code, code, category});
}

void ImportFolder::addCategory(const std::string& code, const std::string& start, const std::string& end) {
    dm->ADOConnection1.execute("INSERT INTO 区分 (区分, 就業開始時刻, 就業終了時刻) VALUES (?, ?, ?)",
                               {code, start, end});
}

std::string csvLine(int width, const std::vector<std::pair<int, std::string>>& fields) {
    std::vector<std::string> cells(static_cast<size_t>(width));
    for (int i = 0; i < width; ++i) cells[static_cast<size_t>(i)] = "x" + std::to_string(i);
    for (const auto& [at, v] : fields) cells[static_cast<size_t>(at)] = v;
    std::string line;
    for (size_t i = 0; i < cells.size(); ++i) line += (i ? "," : "") + cells[i];
    return line;
}

std::string layout1Line(const std::string& employee, const std::string& date, const std::string& in,
                        const std::string& out) {
    return csvLine(13, {{1, employee}, {2, "\"山田 太郎\""}, {4, date}, {8, in}, {11, out}});
}

std::string layout2Line(const std::string& employee, const std::string& date, const std::string& in,
                        const std::string& out) {
    return csvLine(16, {{1, employee}, {2, "\"山田 太郎\""}, {4, date}, {8, in}, {14, out}});
}

std::vector<jet::testing::TextTable> recorderTables() {
    using jet::testing::TextTable;
    TextTable card{"タイムカード", data::table("タイムカード").columnNames(), {}};
    card.rows = {
        {"07", "01", "08", "30", "00", "000012", "0", "00", "0"},
        {"07", "01", "30", "05", "00", "000012", "1", "00", "0"},
        {"07", "02", "22", "00", "0", "7", "0", "01", std::nullopt},
    };
    TextTable category{"区分", data::table("区分").columnNames(), {}};
    std::vector<std::optional<std::string>> kbn(22, std::string());
    kbn[0] = "05";
    kbn[1] = "22:00";
    kbn[2] = "30:00";
    kbn[21] = "08";
    category.rows = {kbn};
    TextTable people{"個人", data::table("個人").columnNames(), {}};
    people.rows = {
        {"1", "000012", "山田 太郎", "12", "05", "1"},
        {"2", "000013", "ﾊﾝｶｸ ｶﾅ", std::nullopt, "05", "0"},
    };
    return {card, category, people};
}

}  // namespace payroll::testing
