// Shared by the two CSV fuzz targets: a delivered database in a temporary
// folder with a few employees and work categories, the public import
// function, and an independent reading of the import's rules to compare it
// with. The reading does its own clock parsing and next-day arithmetic in
// whole numbers; it takes the text decoder, line and comma-text splitting and
// the date conversion from the runtime, which have fuzz targets of their own.
//
// The rules as the import keeps them: blank and header lines and lines with
// an empty clock-in are skipped; a line with fewer fields than the layout
// has is refused; an empty clock-out gives the clock-in alone; a file
// without a single punch is refused as a whole. Whatever is refused leaves
// the punches as they were. An employee value wider than its column (50
// characters) is refused by the database.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "data/DB_Acs.h"
#include "data/delivered.h"
#include "db/connection.h"
#include "fuzz.h"
#include "import/recorderimport.h"
#include "rtl/clock.h"
#include "rtl/commatext.h"
#include "rtl/convert.h"
#include "rtl/datetime.h"
#include "rtl/errors.h"
#include "rtl/textfile.h"

namespace fuzz::csv {

using Row = std::vector<std::string>;

struct Schedule {
    std::string start, end;  // as stored in 区分
};

// Employees (code -> category) and categories of the layout-2 lookups.
inline const std::map<std::string, std::string>& employees() {
    static const std::map<std::string, std::string> e = {
        {"000001", "01"}, {"000002", "02"}, {"000003", "03"},  {"000004", "04"},
        {"000005", "09"}, {"000006", "05"}, {"1234567", "01"},
    };
    return e;
}
inline const std::map<std::string, Schedule>& categories() {
    static const std::map<std::string, Schedule> c = {
        {"01", {"09:00", "18:00"}},   {"02", {"22:00", "06:00"}}, {"03", {"24:30", "08:00"}},
        {"04", {" 22:00", "30:00 "}}, {"05", {"", "17:00"}},
    };
    return c;
}

class Fixture {
public:
    Fixture() {
        const std::string path = (dir_.path() / "Wendrasol.mdb").string();
        data::createDeliveredDatabase(path);
        dm.setDatabasePath(path);
        int number = 1;
        for (const auto& [code, category] : employees())
            dm.ADOConnection1.execute(
                "INSERT INTO emp_tanka (E_NO, E_TANCOD, E_NAME, E_CARDNO, E_JOBKBN, E_DROPKBN) VALUES (?, ?, ?, ?, ?, "
                "'1')",
                {number++, code, "社員" + code, code, category});
        for (const auto& [code, s] : categories())
            dm.ADOConnection1.execute("INSERT INTO 区分 (区分, 就業開始時刻, 就業終了時刻) VALUES (?, ?, ?)",
                                      {code, s.start, s.end});
        file = dir_.path() / "punches.csv";
    }

    std::vector<Row> punches() {
        const db::ResultSet r = dm.ADOConnection1.select("SELECT * FROM タイムカード ORDER BY rowid");
        std::vector<Row> out;
        for (const auto& row : r.rows) {
            Row p;
            for (const db::Value& v : row) p.push_back(v.toString());
            out.push_back(std::move(p));
        }
        return out;
    }
    // One punch standing for an earlier import.
    void seed() {
        dm.ADOConnection1.execute("DELETE FROM タイムカード");
        dm.ADOConnection1.execute("INSERT INTO タイムカード VALUES ('06','30','08','00','00','000099','0','00','0')");
    }

private:
    fuzz::ScratchFolder dir_{"csv"};  // first: it outlives the data module

public:
    data::TDataModule1 dm;
    std::filesystem::path file;
};

// hh:mm or hh:mm:ss, one or two digits each; hours up to maxHour.
inline std::optional<std::pair<int, int>> clock(const std::string& t, int maxHour) {
    int part[3] = {-1, -1, -1};
    int count = 0;
    size_t i = 0;
    while (count < 3) {
        int v = 0, digits = 0;
        while (i < t.size() && t[i] >= '0' && t[i] <= '9' && digits < 3) v = v * 10 + (t[i++] - '0'), ++digits;
        if (digits == 0 || digits > 2) return std::nullopt;
        part[count++] = v;
        if (i == t.size()) break;
        if (t[i] != ':') return std::nullopt;
        ++i;
        if (i == t.size()) return std::nullopt;
    }
    if (i != t.size() || count < 2) return std::nullopt;
    if (part[0] > maxHour || part[1] > 59 || (count == 3 && part[2] > 59)) return std::nullopt;
    return std::make_pair(part[0], part[1]);
}

inline std::string two(int v) { return (v < 10 ? "0" : "") + std::to_string(v); }

inline std::string trimmedBlanks(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= 0x20) ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= 0x20) --e;
    return s.substr(b, e - b);
}

// The first `n` characters of UTF-8 text.
inline std::string firstChars(const std::string& s, size_t n) {
    size_t i = 0, chars = 0;
    while (i < s.size() && chars < n) {
        ++i;
        while (i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) ++i;
        ++chars;
    }
    return s.substr(0, i);
}

struct Expected {
    int refusedLine = 0;      // 1-based; -1 = the whole file (no punch); 0 = accepted
    bool byDatabase = false;  // refused by the column's width check, not as a malformed line
    std::vector<Row> rows;
};

inline Expected expectedImport(const std::string& bytes, int layout) {
    const int empField = 1, dateField = 4, inField = 8, outField = layout == 1 ? 11 : 14;
    const std::string header = layout == 1 ? "年月日" : "年/月/日";
    const std::string second = layout == 1 ? "0" : "00";
    Expected x;
    const std::vector<std::string> lines = rtl::splitLines(rtl::decodeText(bytes));
    for (size_t li = 0; li < lines.size(); ++li) {
        const int lineNo = static_cast<int>(li) + 1;
        const std::vector<std::string> f = rtl::splitCommaText(lines[li]);
        auto at = [&](int k) { return k < static_cast<int>(f.size()) ? f[static_cast<size_t>(k)] : std::string(); };
        auto refuse = [&] {
            x.refusedLine = lineNo;
            x.rows.clear();
            return x;
        };
        if (f.empty() || at(dateField) == header) continue;
        if (static_cast<int>(f.size()) <= outField) return refuse();  // too few fields
        if (at(inField).empty()) continue;
        double date = 0;
        if (!rtl::tryStrToDate(at(dateField), date)) return refuse();
        const auto in = clock(at(inField), 23);
        if (!in) return refuse();
        const bool hasOut = !at(outField).empty();
        const auto out = hasOut ? clock(at(outField), 23) : std::make_optional(std::make_pair(0, 0));
        if (!out) return refuse();
        int inH = in->first, outH = out->first;
        const int inM = in->second, outM = out->second;
        std::string employee;
        if (layout == 1) {
            employee = at(empField);
            if (hasOut && inH * 100 + inM > outH * 100 + outM) outH += 24;
        } else {
            int64_t n = 0;
            if (!rtl::tryStrToInt64(at(empField), n) || n < 0) return refuse();
            employee =
                n <= 999999 ? std::string(6 - std::to_string(n).size(), '0') + std::to_string(n) : std::to_string(n);
            const auto emp = employees().find(employee);
            if (emp == employees().end()) return refuse();
            const auto cat = categories().find(emp->second);
            if (cat == categories().end()) return refuse();
            const auto s = clock(trimmedBlanks(cat->second.start), 47);
            const auto e = clock(trimmedBlanks(cat->second.end), 47);
            if (!s || !e) return refuse();
            const int S = (s->first > 24 ? s->first - 24 : s->first) * 100 + s->second;
            const int E = (e->first > 24 ? e->first - 24 : e->first) * 100 + e->second;
            auto key = [](int h, int m) { return h * 100 + m; };
            if (hasOut) {
                if (key(inH, inM) > key(outH, outM)) outH += 24;
                if (S > key(outH, outM)) outH += 24;
                if (S > E && E > key(outH, outM)) outH += 24;
                if (outH > 47) return refuse();
            }
            if (S > E && E > key(inH, inM)) inH += 24;
        }
        if (firstChars(employee, 50) != employee) {
            // Wider than IDコード: the database refuses the write.
            refuse();
            x.byDatabase = true;
            return x;
        }
        const rtl::DateParts d = rtl::decodeDate(date);
        x.rows.push_back({two(d.month), two(d.day), two(inH), two(inM), second, employee, "0", "00", "0"});
        if (hasOut)
            x.rows.push_back({two(d.month), two(d.day), two(outH), two(outM), second, employee, "1", "00", "0"});
    }
    if (x.rows.empty()) x.refusedLine = -1;
    return x;
}

inline void run(const uint8_t* data, size_t size, int layout) {
    static rtl::ScopedTestClock clockFix(rtl::encodeDateTime(2026, 6, 15, 12, 0, 0));
    static Fixture fx;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    {
        std::ofstream out(fx.file, std::ios::binary | std::ios::trunc);
        out << bytes;
    }
    fx.seed();
    const std::vector<Row> before = fx.punches();
    int refusedLine = 0;
    bool refused = false;
    std::string reason;
    try {
        const long long count =
            layout == 1 ? payroll::importCsvLayout1(fx.dm, fx.file) : payroll::importCsvLayout2(fx.dm, fx.file);
        fuzz::check(count == static_cast<long long>(fx.punches().size()), "the import's count differs from the table");
    } catch (const payroll::ImportLineError& e) {
        refused = true;
        refusedLine = e.line();
        reason = e.what();
    } catch (const rtl::Error& e) {
        refused = true;
        refusedLine = -1;  // not on a line
        reason = e.what();
    }
    const std::vector<Row> after = fx.punches();
    if (refused) fuzz::check(after == before, "a refused import changed the punches: " + reason);

    const Expected want = expectedImport(bytes, layout);
    if (want.refusedLine) {
        fuzz::check(refused, "the import took a file the rules refuse (line " + std::to_string(want.refusedLine) + ")");
        if (want.byDatabase) return;  // a database error, which names the line in its text
        fuzz::check(refusedLine == want.refusedLine, "refused at line " + std::to_string(refusedLine) + " instead of " +
                                                         std::to_string(want.refusedLine) + ": " + reason);
        return;
    }
    fuzz::check(!refused, "the import refused a file the rules take: " + reason);
    fuzz::check(after == want.rows, "the punches differ from the rules' reading (" + std::to_string(after.size()) +
                                        " rows, " + std::to_string(want.rows.size()) + " expected)");
}

}  // namespace fuzz::csv
