#include "support.h"

#include <sys/wait.h>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace jet::testing {

TempDir::TempDir() {
    std::random_device rd;
    const auto base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto candidate = base / ("tallyra-jet-" + std::to_string(rd()));
        if (std::filesystem::create_directory(candidate)) {
            path_ = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
}

std::string shellQuote(const std::string& s) {
    std::string out = "'";
    for (char c : s) {
        if (c == '\'') out += "'\\''";
        else out += c;
    }
    return out + "'";
}

CommandResult run(const std::string& command) {
    CommandResult result;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return result;
    std::array<char, 4096> buf{};
    std::size_t n = 0;
    while ((n = std::fread(buf.data(), 1, buf.size(), pipe)) > 0) result.output.append(buf.data(), n);
    const int status = pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

bool onPath(const std::string& program) {
    return run("command -v " + shellQuote(program) + " >/dev/null 2>&1").exitCode == 0;
}

std::vector<std::vector<std::string>> parseCsv(const std::string& text) {
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> row;
    std::string field;
    bool quoted = false;
    bool any = false;  // something on the current line
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
            continue;
        }
        if (c == '"') {
            quoted = true;
            any = true;
        } else if (c == ',') {
            row.push_back(field);
            field.clear();
            any = true;
        } else if (c == '\n' || c == '\r') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            if (any || !field.empty()) {
                row.push_back(field);
                rows.push_back(row);
            }
            row.clear();
            field.clear();
            any = false;
        } else {
            field += c;
            any = true;
        }
    }
    if (any || !field.empty()) {
        row.push_back(field);
        rows.push_back(row);
    }
    return rows;
}

std::vector<std::vector<std::string>> exportedTable(const std::filesystem::path& file, const std::string& table,
                                                    const std::string& options) {
    const CommandResult r = run("mdb-export " + options + " " + shellQuote(file.string()) + " " + shellQuote(table));
    if (r.exitCode != 0) throw std::runtime_error("mdb-export failed on " + file.string() + " " + table);
    return parseCsv(r.output);
}

std::vector<std::vector<std::string>> asExported(const Reader::Table& table) {
    std::vector<std::vector<std::string>> out{table.columns};
    for (const auto& row : table.rows) {
        std::vector<std::string> line;
        for (const auto& v : row) line.push_back(v.value_or(""));
        out.push_back(line);
    }
    return out;
}

std::vector<char> readBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const std::filesystem::path& file, const std::vector<char>& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + file.string());
}

std::vector<TextTable> recorderTables() {
    TextTable card{"タイムカード", {"月", "日", "時", "分", "秒", "IDコード", "入退", "異例コード", "CR"}, {}};
    card.rows = {
        {"04", "01", "08", "30", "00", "000012", "0", "00", "0"},
        {"04", "01", "30", "05", "00", "000012", "1", "00", "0"},  // 06:05 of the next day
        {"04", "02", "22", "00", "0", "7", "0", "01", std::nullopt},
        {"04", "02", "17", "00", "", "000013", "1", "00", "0"},
    };

    TextTable category{
        "区分",
        {"区分",          "就業開始時刻",  "就業終了時刻",  "遅刻早退開始時刻", "遅刻早退終了時刻", "休憩1開始時刻",
         "休憩1終了時刻", "休憩2開始時刻", "休憩2終了時刻", "休憩3開始時刻",    "休憩3終了時刻",    "早出開始時刻",
         "早出終了時刻",  "残業開始時刻",  "残業終了時刻",  "深夜開始時刻",     "深夜終了時刻",     "丸め方法",
         "就業丸め単位",  "遅早丸め単位",  "残業丸め単位",  "残業基準時数"},
        {}};
    category.rows = {
        {"01",    "09:00", "18:00", "09:00", "18:00", "12:00", "13:00", "",   "",   "",   "",
         "07:00", "09:00", "18:00", "22:00", "22:00", "29:00", "1",     "15", "15", "30", "08"},
        {"02",         "22:00",      "30:00",      "22:00",      "30:00",      "26:00", "27:00", std::nullopt,
         std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt, "30:00", "32:00", "22:00",
         "29:00",      "0",          "01",         "01",         "01",         "08"},
    };

    TextTable people{"個人", {"NO", "社員番号", "氏名", "カード番号", "区分", "対象"}, {}};
    people.rows = {
        {"1", "000012", "山田 太郎", "12", "01", "1"},
        {"2", "000013", "カタカナ", "", "02", "1"},
        {"3", "000014", "ﾊﾝｶｸ ｶﾅ", std::nullopt, "01", "0"},
        {"4", "7", "髙橋 “はな”, \"Jr\"", "0007", "01", "1"},
    };
    return {card, category, people};
}

}  // namespace jet::testing
