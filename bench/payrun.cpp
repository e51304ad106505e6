// tallyra-bench payrun: the month's pay run on a working folder, stage by
// stage as a user runs it from the windows, each stage timed.
#include <chrono>
#include <cstdio>
#include <fstream>
#include <locale>
#include <sstream>

#include "app/settingsfile.h"
#include "attendance/monthtotals.h"
#include "attendance/periodrecompute.h"
#include "attendance/punchimport.h"
#include "data/DB_Acs.h"
#include "data/queries.h"
#include "db/connection.h"
#include "import/recorderimport.h"
#include "options.h"
#include "payrecord/actions.h"
#include "period/keys.h"
#include "period/payperiod.h"
#include "rtl/errors.h"
#include "rtl/strings.h"
#include "rtl/textfile.h"
#include "subcommands.h"
#include "workload.h"

namespace bench {

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

std::string grouped(long long n) {
    std::string digits = std::to_string(n < 0 ? -n : n), out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return (n < 0 ? "-" : "") + out;
}

// A SQLite database file starts with this header.
bool looksLikeDatabase(const std::filesystem::path& file) {
    std::ifstream f(file, std::ios::binary);
    char head[16] = {};
    f.read(head, sizeof head);
    return f.gcount() == 16 && std::string(head, 16) == std::string("SQLite format 3\0", 16);
}

}  // namespace

double PayRunReport::total() const {
    double t = 0;
    for (const Stage& s : stages) t += s.seconds;
    return t;
}

std::string describe(const Stage& s) {
    char buf[160];
    const double rate = s.seconds > 0 ? static_cast<double>(s.rows) / s.seconds : 0;
    std::snprintf(buf, sizeof buf, "%-22s %8.3f s  %9s rows  (%s rows/s)", (s.name + ":").c_str(), s.seconds,
                  grouped(s.rows).c_str(), grouped(static_cast<long long>(rate)).c_str());
    return buf;
}

void printStage(const Stage& s) {
    std::printf("%s\n", describe(s).c_str());
    for (const std::string& m : s.messages) std::printf("  %s\n", m.c_str());
    std::fflush(stdout);
}

std::filesystem::path workingDatabase(const std::filesystem::path& dir) {
    const std::filesystem::path settings = dir / app::SettingsFileName;
    if (!std::filesystem::is_regular_file(settings))
        throw Failure("no settings file " + settings.string() + ": not a working folder (run generate first)");
    std::filesystem::path database = rtl::trim(rtl::readFirstLine(settings));
    if (database.empty()) throw Failure("the settings file " + settings.string() + " names no database");
    if (database.is_relative()) database = dir / database;
    if (!std::filesystem::is_regular_file(database))
        throw Failure("データベースファイル '" + database.string() + "' が見つかりません。");
    if (!looksLikeDatabase(database)) throw Failure("'" + database.string() + "' はデータベースではありません。");
    return database;
}

PayRunReport payRunFolder(const PayRunSpec& spec, const std::function<void(const Stage&)>& onStage) {
    PayRunReport report;
    report.database = workingDatabase(spec.dir);

    data::TDataModule1 dm;
    dm.setDatabasePath(report.database.string());
    db::Connection& c = dm.ADOConnection1;
    if (!c.tableExists("emp_tanka") || !c.tableExists("kimu_tran") || !c.tableExists("sum_tran"))
        throw Failure("'" + report.database.string() + "' は給与データベースではありません。");

    const period::PayPeriod pp = period::monthlyPayPeriod(spec.year, spec.month, data::readClosingDay(dm));
    report.period = attendance::periodDates(pp.first, pp.last);
    report.key = period::monthKey(spec.year, spec.month);

    auto stage = [&](const std::string& name, const std::function<long long(Stage&)>& body) {
        Stage s;
        s.name = name;
        const Clock::time_point start = Clock::now();
        try {
            s.rows = body(s);
        } catch (const attendance::Refusal& e) {
            throw Failure(name + ": " + e.what());
        } catch (const std::exception& e) {
            throw Failure(name + ": " + e.what());
        }
        s.seconds = secondsSince(start);
        report.stages.push_back(s);
        if (onStage) onStage(report.stages.back());
    };

    if (spec.csv) {
        stage("CSV import", [&](Stage&) {
            return spec.layout == 2 ? payroll::importCsvLayout2(dm, *spec.csv)
                                    : payroll::importCsvLayout1(dm, *spec.csv);
        });
    }
    // "勤怠データ移行", "時間計算", "金額計算" of the pay-data window.
    stage("punch import", [&](Stage& s) {
        const attendance::PunchImportResult r = attendance::importPunches(c, report.period);
        s.messages = attendance::importMessages(r);
        return r.rowsWritten;
    });
    stage("recomputation", [&](Stage& s) {
        const attendance::PeriodRecomputeResult r = attendance::recomputePeriod(c, report.period);
        s.messages = attendance::recomputeMessages(r);
        return r.rowsWritten;
    });
    stage("month totals", [&](Stage&) {
        try {
            return attendance::sumMonth(c, report.period, report.key).records;
        } catch (const rtl::DatabaseError& e) {
            throw attendance::Refusal(std::string(attendance::kInconsistentMessage) + "\n" + e.what());
        }
    });
    // "一括計算" of the pay-record window over every record of the key.
    stage("batch calculation", [&](Stage&) {
        const payrecord::BatchResult r = payrecord::calculateMonth(dm, report.key, today());
        if (!r.stoppedBy.empty()) throw attendance::Refusal(r.stoppedBy);
        return static_cast<long long>(r.rows);
    });
    dm.sum_tran.close();
    c.close();
    return report;
}

int payrun(const Args& args) {
    return guarded("payrun", [&] {
        const Options o = parseOptions(args, {"--year", "--month", "--csv", "--layout"}, true);
        if (!o.has("--year")) throw Usage("missing option --year YYYY");
        if (!o.has("--month")) throw Usage("missing option --month M");
        if (o.has("--layout") && !o.has("--csv")) throw Usage("option --layout needs --csv FILE");
        PayRunSpec spec;
        spec.dir = o.dir;
        spec.year = yearText(o);
        spec.month = monthText(o);
        spec.layout = static_cast<int>(o.number("--layout", 1, 1, 2));
        if (o.has("--csv")) {
            spec.csv = o.text("--csv");
            if (!std::filesystem::is_regular_file(*spec.csv)) throw Failure("no CSV file " + spec.csv->string());
        }
        const PayRunReport r = payRunFolder(spec, printStage);
        std::printf("pay period: %s - %s, key %s\n", r.period.firstText.c_str(), r.period.lastText.c_str(),
                    r.key.c_str());
        std::printf("payrun total: %.3f s\n", r.total());
        return 0;
    });
}

}  // namespace bench
