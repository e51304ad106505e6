// Not a test: times the CSV imports (both layouts) and the database copy on
// the punches of a company, to see where the time goes.
//   bench_payroll_import [employees] [days]
// Days run on from 1 January 2014 across months; 1000 employees and 200 days
// give 200,000 lines.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>

#include "data/DB_Acs.h"
#include "data/delivered.h"
#include "data/schema.h"
#include "db/connection.h"
#include "import/recorderimport.h"
#include "jet4_writer.h"
#include "rtl/datetime.h"
#include "rtl/strings.h"

namespace {

// Wall-clock and processor seconds since a start: on a busy machine the
// second tells more about the import itself.
struct Stopwatch {
    std::chrono::steady_clock::time_point wall = std::chrono::steady_clock::now();
    std::clock_t cpu = std::clock();

    std::string text() const {
        const double w = std::chrono::duration<double>(std::chrono::steady_clock::now() - wall).count();
        const double c = static_cast<double>(std::clock() - cpu) / CLOCKS_PER_SEC;
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%.3f s (%.3f s processor)", w, c);
        return buffer;
    }
};

}  // namespace

int main(int argc, char** argv) {
    const int employees = argc > 1 ? std::atoi(argv[1]) : 50;
    const int days = argc > 2 ? std::atoi(argv[2]) : 30;
    std::string templ = (std::filesystem::temp_directory_path() / "tallyra-bench-XXXXXX").string();
    if (!mkdtemp(templ.data())) return 1;
    const std::filesystem::path dir = templ;
    const std::string db = (dir / "Wendrasol.mdb").string();
    data::createDeliveredDatabase(db);
    data::TDataModule1 dm;
    dm.setDatabasePath(db);

    dm.ADOConnection1.runJob([&] {
        for (int e = 1; e <= employees; ++e)
            dm.ADOConnection1.execute(
                "INSERT INTO emp_tanka (E_NO, E_TANCOD, E_JOBKBN, E_DROPKBN) VALUES (?, ?, '01', '1')",
                {e, rtl::sixDigitCode(e)});
    });

    // Layout 1: employee 1, date 4, clock-in 8, clock-out 11; layout 2 the
    // same with the clock-out in 14.
    std::ofstream csv1(dir / "layout1.csv", std::ios::binary), csv2(dir / "layout2.csv", std::ios::binary);
    csv1 << "0,社員,氏名,x,年月日,x,x,x,出勤,x,x,退勤\r\n";
    csv2 << "0,社員,氏名,x,年/月/日,x,x,x,出勤,x,x,x,x,x,退勤,x\r\n";
    jet::testing::TextTable card{"タイムカード", data::table("タイムカード").columnNames(), {}};
    const rtl::TDateTime first = rtl::encodeDate(2014, 1, 1);
    long long lines = 0;
    for (int d = 0; d < days; ++d) {
        const rtl::DateParts p = rtl::decodeDate(first + d);
        const std::string date = std::to_string(p.year) + "/" + rtl::twoDigits(p.month) + "/" + rtl::twoDigits(p.day);
        for (int e = 1; e <= employees; ++e, ++lines) {
            const std::string in = "08:5" + std::to_string(e % 10), out = "18:0" + std::to_string(e % 10);
            csv1 << "0," << e << ",name,x," << date << ",x,x,x," << in << ",x,x," << out << "\r\n";
            csv2 << "0," << e << ",name,x," << date << ",x,x,x," << in << ",x,x,x,x,x," << out << ",x\r\n";
            if (lines < 50000) {
                card.rows.push_back({rtl::twoDigits(p.month), rtl::twoDigits(p.day), "08", "50", "00",
                                     std::to_string(e), "0", "00", "0"});
                card.rows.push_back({rtl::twoDigits(p.month), rtl::twoDigits(p.day), "18", "00", "00",
                                     std::to_string(e), "1", "00", "0"});
            }
        }
    }
    csv1.close();
    csv2.close();

    Stopwatch t;
    long long n = payroll::importCsvLayout1(dm, dir / "layout1.csv");
    std::printf("CSV layout 1: %lld lines, %lld punches in %s\n", lines, n, t.text().c_str());
    t = Stopwatch();
    n = payroll::importCsvLayout2(dm, dir / "layout2.csv");
    std::printf("CSV layout 2: %lld lines, %lld punches in %s\n", lines, n, t.text().c_str());

    jet::testing::TextTable kbn{"区分", data::table("区分").columnNames(), {}};
    jet::testing::TextTable people{"個人", data::table("個人").columnNames(), {}};
    try {
        jet::testing::writeJet4(dir / "recorder.mdb", {card, kbn, people});
        t = Stopwatch();
        const long long m = payroll::copyRecorderDatabase(dm, dir / "recorder.mdb");
        std::printf("database copy: %lld punches in %s\n", m, t.text().c_str());
    } catch (const std::exception& e) {
        std::printf("database copy skipped: %s\n", e.what());
    }
    std::filesystem::remove_all(dir);
    return 0;
}
