#include "import/recorderimport.h"

#include <map>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "data/DB_Acs.h"
#include "data/punches.h"
#include "data/schema.h"
#include "db/connection.h"
#include "db/dataset.h"
#include "db/prepared.h"
#include "db/query.h"
#include "db/table.h"
#include "import/jetsource.h"
#include "import/punchrules.h"
#include "rtl/commatext.h"
#include "rtl/datetime.h"
#include "rtl/strings.h"
#include "rtl/textfile.h"

namespace payroll {

namespace {

constexpr const char* kPunchTable = "タイムカード";

// Closes a dataset when the scope ends, whichever way it ends.
struct CloseOnExit {
    db::Dataset& ds;
    ~CloseOnExit() { ds.close(); }
};

void runStatement(db::Query& q, std::string_view sql) {
    q.close();
    q.clearParams();
    q.setSql(sql);
    q.execSQL();
}

// The work schedule of one employee, looked up once per import.
class ScheduleLookup {
public:
    explicit ScheduleLookup(data::TDataModule1& dm) : dm_(dm) {}

    std::pair<ClockText, ClockText> forEmployee(const std::string& code) {
        auto it = cache_.find(code);
        if (it == cache_.end()) it = cache_.emplace(code, read(code)).first;
        return it->second;
    }

private:
    std::pair<ClockText, ClockText> read(const std::string& code) {
        // The first row of each statement, read straight from the
        // connection: a dataset opened per employee costs more than the
        // rest of the line's work.
        db::Connection& c = dm_.ADOConnection1;
        const db::ResultSet emp = c.select("SELECT * FROM emp_tanka\r\nWHERE E_TANCOD = ?", {code});
        if (emp.rows.empty()) throw rtl::ConversionError("社員コード '" + code + "' は社員マスタにありません");
        const std::string category = cell(emp, "E_JOBKBN");

        const db::ResultSet kbn = c.select("SELECT * FROM 区分\r\nWHERE 区分 = ?", {category});
        std::string start, end;
        if (!kbn.rows.empty()) {
            start = rtl::trim(cell(kbn, "就業開始時刻"));
            end = rtl::trim(cell(kbn, "就業終了時刻"));
        }
        auto schedule = [&](const char* column, const std::string& value) {
            try {
                return parseScheduleClock(value);
            } catch (const rtl::ConversionError&) {
                throw rtl::ConversionError("社員コード '" + code + "' の区分 '" + category + "' の" + column + " '" +
                                           value + "' は時刻ではありません");
            }
        };
        return {schedule("就業開始時刻", start), schedule("就業終了時刻", end)};
    }

    // A column of the first row as text ("" for NULL).
    static std::string cell(const db::ResultSet& r, std::string_view column) {
        for (size_t i = 0; i < r.columns.size(); ++i)
            if (r.columns[i] == column) return r.rows.front()[i].toString();
        throw rtl::DatabaseError("フィールド '" + std::string(column) + "' が見つかりません。");
    }

    data::TDataModule1& dm_;
    std::map<std::string, std::pair<ClockText, ClockText>> cache_;
};

// Passes the progress of a job to its callback every few hundred lines or
// rows, and once more before the job commits; a "stop" answer becomes
// ImportCancelled, which rolls the job back.
class ProgressReporter {
public:
    ProgressReporter(const ImportProgress& progress, long long total) : progress_(progress), total_(total) {}

    void every(long long done) {
        if (done > 0 && done % 256 == 0) now(done);
    }
    void now(long long done) {
        if (progress_ && !progress_(done, total_)) throw ImportCancelled{};
    }

private:
    const ImportProgress& progress_;
    long long total_;
};

std::string tooShortMessage(size_t fields, int needed) {
    return "項目が " + std::to_string(fields) + " 個しかありません（" + std::to_string(needed) + " 個必要です）";
}

long long importCsv(data::TDataModule1& dm, const std::filesystem::path& file, const CsvLayoutRules& layout,
                    bool bySchedule, const ImportProgress& progress) {
    // Read the whole file before anything changes: an unreadable file
    // leaves the punches as they are.
    const std::string text = rtl::readTextFile(file);
    const std::vector<std::string_view> lines = rtl::splitLineViews(text);
    ProgressReporter report(progress, static_cast<long long>(lines.size()));

    dm.ADOConnection1.runJob([&] {
        report.now(0);
        runStatement(dm.Query1, std::string("DELETE FROM ") + kPunchTable);
        // One statement for every punch: parsed once, run with new values.
        db::PreparedStatement insert(dm.ADOConnection1, std::string("INSERT INTO ") + kPunchTable +
                                                            " (月, 日, 時, 分, 秒, IDコード, 入退, 異例コード, CR)"
                                                            " VALUES (?, ?, ?, ?, ?, ?, ?, '00', '0')");
        insert.bindText(5, layout.second);
        ScheduleLookup schedules(dm);
        long long written = 0;

        for (size_t i = 0; i < lines.size(); ++i) {
            report.every(static_cast<long long>(i));
            const int lineNo = static_cast<int>(i + 1);
            const std::vector<std::string> f = rtl::splitCommaText(lines[i]);
            switch (lineKind(f, layout)) {
            case LineKind::Blank:
            case LineKind::Header:
            case LineKind::NoClockIn: continue;
            case LineKind::TooShort: throw ImportLineError(tooShortMessage(f.size(), layout.fieldsNeeded()), lineNo);
            case LineKind::Punch: break;
            }
            try {
                const rtl::DateParts parts = rtl::decodeDate(rtl::strToDate(fieldAt(f, layout.dateField)));
                const std::string month = rtl::twoDigits(parts.month);
                const std::string day = rtl::twoDigits(parts.day);
                ClockText in = parseRecorderClock(fieldAt(f, layout.clockInField));
                // A forgotten clock-out leaves the clock-in alone.
                const std::string outField = fieldAt(f, layout.clockOutField);
                std::optional<ClockText> out;
                if (!outField.empty()) out = parseRecorderClock(outField);
                std::string employee;
                if (bySchedule) {
                    employee = layout2EmployeeCode(fieldAt(f, layout.employeeField));
                    const auto [start, end] = schedules.forEmployee(employee);
                    if (out) {
                        PunchPair pair = layout2Pair(std::move(in), std::move(*out), start, end);
                        in = std::move(pair.in);
                        out = std::move(pair.out);
                    } else {
                        in = layout2ClockIn(std::move(in), start, end);
                    }
                } else {
                    employee = fieldAt(f, layout.employeeField);
                    if (out) {
                        PunchPair pair = layout1Pair(std::move(in), std::move(*out));
                        in = std::move(pair.in);
                        out = std::move(pair.out);
                    }
                }
                // The line's values serve both rows; the texts outlive them.
                insert.bindText(1, month);
                insert.bindText(2, day);
                insert.bindText(6, employee);
                auto write = [&](const ClockText& clock, const char* inOut) {
                    insert.bindText(3, clock.hour);
                    insert.bindText(4, clock.minute);
                    insert.bindText(7, inOut);
                    insert.run();
                    ++written;
                };
                write(in, "0");
                if (out) write(*out, "1");
            } catch (const ImportLineError&) {
                throw;
            } catch (const rtl::ConversionError& e) {
                throw ImportLineError(e.what(), lineNo);
            } catch (const rtl::DatabaseError& e) {
                throw rtl::DatabaseError(std::string(e.what()) + "（" + std::to_string(lineNo) + " 行目）");
            }
        }
        if (written == 0) throw NoPunchesError(file);
        // The last chance to cancel: after this the punches are replaced.
        report.now(static_cast<long long>(lines.size()));
    });
    return data::countPunches(dm);
}

// One table of the recorder's file into the working database.
void copyTable(data::TDataModule1& dm, const std::string& table, db::Table& target, ProgressReporter* report = nullptr,
               long long* done = nullptr) {
    try {
        runStatement(dm.Query1, "DELETE FROM " + table);
        db::Query& src = dm.ADOQuery1;
        src.close();
        src.clearParams();
        src.setSql("SELECT * FROM " + table);
        CloseOnExit closeSource{src};
        src.open();
        src.first();

        // A window that has the table open sees the new rows; otherwise the
        // component is left closed as it was found, also when the copy fails.
        const db::OpenScope openTarget(target);
        const std::vector<std::string> columns = data::table(table).columnNames();
        // Every column must be there before the first row is written, so a
        // file of another layout is refused as a whole.
        std::vector<db::Field*> from, to;
        for (const std::string& c : columns) {
            from.push_back(&src.fieldByName(c));
            to.push_back(&target.fieldByName(c));
        }
        while (!src.eof()) {
            target.append();
            for (size_t i = 0; i < columns.size(); ++i) to[i]->setAsString(from[i]->asString());
            target.post();
            src.next();
            if (report) report->every(++*done);
        }
        if (!openTarget.openedHere()) target.refresh();
    } catch (const rtl::Error& e) {
        throw rtl::DatabaseError(std::string(e.what()) + "（テーブル '" + table + "'）");
    }
}

const char* const kRecorderTables[] = {"タイムカード", "区分", "個人"};

}  // namespace

ImportLineError::ImportLineError(const std::string& reason, int line)
    : rtl::ConversionError(reason + "（" + std::to_string(line) + " 行目）"), reason_(reason), line_(line) {}

NoPunchesError::NoPunchesError(const std::filesystem::path& file)
    : rtl::Error("'" + file.filename().string() +
                 "' には取り込める打刻がありません。タイムカードのデータはそのままです。") {}

long long importCsvLayout1(data::TDataModule1& dm, const std::filesystem::path& file, const ImportProgress& progress) {
    return importCsv(dm, file, kLayout1, false, progress);
}

long long importCsvLayout2(data::TDataModule1& dm, const std::filesystem::path& file, const ImportProgress& progress) {
    return importCsv(dm, file, kLayout2, true, progress);
}

std::string sourceConnectionString(const std::string& mdbPath) {
    return "Provider=Microsoft.Jet.OLEDB.4.0;Data Source='" + mdbPath + "';Mode=Read;Persist Security Info=False";
}

void openRecorderSource(data::TDataModule1& dm, const std::filesystem::path& mdbPath) {
    db::Connection& c = dm.ADOConnection2;
    c.close();
    c.setExternalSourceFactory(jetSourceFactory({"タイムカード", "区分", "個人"}));
    c.setConnectionString(sourceConnectionString(mdbPath.string()));
}

// Each copy is a job of its own (a savepoint inside the whole copy), so a
// copy run alone is never left half done either.
void Act_CopyTimeExecute(data::TDataModule1& dm) {
    dm.ADOConnection1.runJob([&] { copyTable(dm, "タイムカード", dm.ADOTable1); });
}
void Act_CopykbnExecute(data::TDataModule1& dm) {
    dm.ADOConnection1.runJob([&] { copyTable(dm, "区分", dm.Job_kbn); });
}
void Act_CopyEmpExecute(data::TDataModule1& dm) {
    dm.ADOConnection1.runJob([&] { copyTable(dm, "個人", dm.emp_mas); });
}

long long copyRecorderDatabase(data::TDataModule1& dm, const std::filesystem::path& mdbPath,
                               const ImportProgress& progress) {
    openRecorderSource(dm, mdbPath);
    struct Disconnect {
        data::TDataModule1& dm;
        ~Disconnect() {
            dm.ADOQuery1.close();
            dm.ADOConnection2.close();
        }
    } disconnect{dm};
    // Reading the file first: one that cannot be read changes nothing.
    dm.ADOConnection2.open();
    // The rows to copy, for the progress; a missing table counts none here
    // and fails in its copy, naming itself.
    long long total = 0;
    for (const char* table : kRecorderTables)
        if (dm.ADOConnection2.tableExists(table))
            total += dm.ADOConnection2.scalar("SELECT COUNT(*) FROM " + db::quoteIdentifier(table)).integer();
    ProgressReporter report(progress, total);
    long long done = 0;
    db::Table* targets[] = {&dm.ADOTable1, &dm.Job_kbn, &dm.emp_mas};
    dm.ADOConnection1.runJob([&] {
        report.now(0);
        // Each copy a job of its own, as Act_Copy...Execute runs it.
        for (size_t i = 0; i < 3; ++i)
            dm.ADOConnection1.runJob([&] { copyTable(dm, kRecorderTables[i], *targets[i], &report, &done); });
        report.now(total);
    });
    return data::countPunches(dm);
}

}  // namespace payroll
