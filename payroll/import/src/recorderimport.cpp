#include "import/recorderimport.h"

#include <map>
#include <string_view>
#include <utility>
#include <vector>

#include "data/DB_Acs.h"
#include "data/punches.h"
#include "data/schema.h"
#include "db/connection.h"
#include "db/dataset.h"
#include "db/table.h"
#include "db/query.h"
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

void runStatement(db::Query& q, std::string_view sql)
{
    q.close();
    q.clearParams();
    q.setSql(sql);
    q.execSQL();
}

// The work schedule of one employee, looked up once per import.
class ScheduleLookup {
public:
    explicit ScheduleLookup(data::TDataModule1& dm) : dm_(dm) {}

    std::pair<ClockText, ClockText> forEmployee(const std::string& code)
    {
        auto it = cache_.find(code);
        if (it == cache_.end()) it = cache_.emplace(code, read(code)).first;
        return it->second;
    }

private:
    std::pair<ClockText, ClockText> read(const std::string& code)
    {
        db::Query& emp = dm_.QSemp_tanka;
        emp.close();
        emp.sql().clear();
        emp.sql() << "SELECT * FROM emp_tanka" << "WHERE E_TANCOD = :code";
        emp.clearParams();
        emp.setParam("code", code);
        std::string category;
        bool found = false;
        {
            CloseOnExit closer{emp};
            emp.open();
            if (!emp.isEmpty()) {
                emp.first();
                found = true;
                category = emp.fieldByName("E_JOBKBN").asString();
            }
        }
        if (!found) throw rtl::ConversionError("社員コード '" + code + "' は社員マスタにありません");

        db::Query& kbn = dm_.Qjob_kbn;
        kbn.close();
        kbn.sql().clear();
        kbn.sql() << "SELECT * FROM 区分" << "WHERE 区分 = :code";
        kbn.clearParams();
        kbn.setParam("code", category);
        std::string start, end;
        {
            CloseOnExit closer{kbn};
            kbn.open();
            if (!kbn.isEmpty()) {
                kbn.first();
                start = rtl::trim(kbn.fieldByName("就業開始時刻").asString());
                end = rtl::trim(kbn.fieldByName("就業終了時刻").asString());
            }
        }
        auto schedule = [&](const char* column, const std::string& value) {
            try {
                return parseScheduleClock(value);
            } catch (const rtl::ConversionError&) {
                throw rtl::ConversionError("社員コード '" + code + "' の区分 '" + category + "' の" + column +
                                           " '" + value + "' は時刻ではありません");
            }
        };
        return {schedule("就業開始時刻", start), schedule("就業終了時刻", end)};
    }

    data::TDataModule1& dm_;
    std::map<std::string, std::pair<ClockText, ClockText>> cache_;
};

void appendPunch(db::Table& t, const std::string& month, const std::string& day, const ClockText& clock,
                 std::string_view second, const std::string& employee, const char* inOut)
{
    t.append();
    t.fieldByName("月").setAsString(month);
    t.fieldByName("日").setAsString(day);
    t.fieldByName("時").setAsString(clock.hour);
    t.fieldByName("分").setAsString(clock.minute);
    t.fieldByName("秒").setAsString(second);
    t.fieldByName("IDコード").setAsString(employee);
    t.fieldByName("入退").setAsString(inOut);
    t.fieldByName("異例コード").setAsString("00");
    t.fieldByName("CR").setAsString("0");
    t.post();
}

long long importCsv(data::TDataModule1& dm, const std::filesystem::path& file, const CsvLayoutRules& layout,
                    bool bySchedule)
{
    // Read the whole file before anything changes: an unreadable file
    // leaves the punches as they are.
    const std::vector<std::string> lines = rtl::splitLines(rtl::readTextFile(file));

    dm.ADOConnection1.runJob([&] {
        runStatement(dm.Query1, std::string("DELETE FROM ") + kPunchTable);
        db::Table& t = dm.Table2;
        t.close();
        t.setTableName(kPunchTable);
        CloseOnExit closer{t};
        t.open();
        ScheduleLookup schedules(dm);

        for (size_t i = 0; i < lines.size(); ++i) {
            const std::vector<std::string> f = rtl::splitCommaText(lines[i]);
            if (isSkippedLine(f, layout)) continue;
            try {
                const rtl::TDateTime date = rtl::strToDate(fieldAt(f, layout.dateField));
                const rtl::DateParts parts = rtl::decodeDate(date);
                const std::string month = rtl::twoDigits(parts.month);
                const std::string day = rtl::twoDigits(parts.day);
                ClockText in = parseRecorderClock(fieldAt(f, layout.clockInField));
                ClockText out = parseRecorderClock(fieldAt(f, layout.clockOutField));
                std::string employee;
                PunchPair pair;
                if (bySchedule) {
                    employee = layout2EmployeeCode(fieldAt(f, layout.employeeField));
                    const auto [start, end] = schedules.forEmployee(employee);
                    pair = layout2Pair(std::move(in), std::move(out), start, end);
                } else {
                    employee = fieldAt(f, layout.employeeField);
                    pair = layout1Pair(std::move(in), std::move(out));
                }
                appendPunch(t, month, day, pair.in, layout.second, employee, "0");
                appendPunch(t, month, day, pair.out, layout.second, employee, "1");
            } catch (const ImportLineError&) {
                throw;
            } catch (const rtl::ConversionError& e) {
                throw ImportLineError(e.what(), static_cast<int>(i + 1));
            } catch (const rtl::DatabaseError& e) {
                throw rtl::DatabaseError(std::string(e.what()) + "（" + std::to_string(i + 1) + " 行目）");
            }
        }
    });
    return data::countPunches(dm);
}

// One table of the recorder's file into the working database.
void copyTable(data::TDataModule1& dm, const std::string& table, db::Table& target)
{
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
        }
        if (!openTarget.openedHere())
            target.refresh();
    } catch (const rtl::Error& e) {
        throw rtl::DatabaseError(std::string(e.what()) + "（テーブル '" + table + "'）");
    }
}

}  // namespace

ImportLineError::ImportLineError(const std::string& reason, int line)
    : rtl::ConversionError(reason + "（" + std::to_string(line) + " 行目）"), reason_(reason), line_(line)
{
}

long long importCsvLayout1(data::TDataModule1& dm, const std::filesystem::path& file)
{
    return importCsv(dm, file, kLayout1, false);
}

long long importCsvLayout2(data::TDataModule1& dm, const std::filesystem::path& file)
{
    return importCsv(dm, file, kLayout2, true);
}

std::string sourceConnectionString(const std::string& mdbPath)
{
    return "Provider=Microsoft.Jet.OLEDB.4.0;Data Source='" + mdbPath + "';Mode=Read;Persist Security Info=False";
}

void openRecorderSource(data::TDataModule1& dm, const std::filesystem::path& mdbPath)
{
    db::Connection& c = dm.ADOConnection2;
    c.close();
    c.setExternalSourceFactory(jetSourceFactory({"タイムカード", "区分", "個人"}));
    c.setConnectionString(sourceConnectionString(mdbPath.string()));
}

// Each copy is a job of its own (a savepoint inside the whole copy), so a
// copy run alone is never left half done either.
void Act_CopyTimeExecute(data::TDataModule1& dm)
{
    dm.ADOConnection1.runJob([&] { copyTable(dm, "タイムカード", dm.ADOTable1); });
}
void Act_CopykbnExecute(data::TDataModule1& dm)
{
    dm.ADOConnection1.runJob([&] { copyTable(dm, "区分", dm.Job_kbn); });
}
void Act_CopyEmpExecute(data::TDataModule1& dm)
{
    dm.ADOConnection1.runJob([&] { copyTable(dm, "個人", dm.emp_mas); });
}

long long copyRecorderDatabase(data::TDataModule1& dm, const std::filesystem::path& mdbPath)
{
    openRecorderSource(dm, mdbPath);
    struct Disconnect {
        data::TDataModule1& dm;
        ~Disconnect()
        {
            dm.ADOQuery1.close();
            dm.ADOConnection2.close();
        }
    } disconnect{dm};
    // Reading the file first: one that cannot be read changes nothing.
    dm.ADOConnection2.open();
    dm.ADOConnection1.runJob([&] {
        Act_CopyTimeExecute(dm);
        Act_CopykbnExecute(dm);
        Act_CopyEmpExecute(dm);
    });
    return data::countPunches(dm);
}

}  // namespace payroll
