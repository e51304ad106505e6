// Not a test: times the CSV import and the database copy on a month of
// punches for a small company, to see where the time goes.
//   bench_payroll_import [employees] [days]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "data/DB_Acs.h"
#include "data/delivered.h"
#include "data/schema.h"
#include "db/connection.h"
#include "import/recorderimport.h"
#include "jet4_writer.h"

namespace {

double seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

}  // namespace

int main(int argc, char** argv)
{
    const int employees = argc > 1 ? std::atoi(argv[1]) : 50;
    const int days = argc > 2 ? std::atoi(argv[2]) : 30;
    std::string templ = (std::filesystem::temp_directory_path() / "tallyra-bench-XXXXXX").string();
    if (!mkdtemp(templ.data())) return 1;
    const std::filesystem::path dir = templ;
    const std::string db = (dir / "Wendrasol.mdb").string();
    data::createDeliveredDatabase(db);
    data::TDataModule1 dm;
    dm.setDatabasePath(db);

    for (int e = 1; e <= employees; ++e)
        dm.ADOConnection1.execute("INSERT INTO emp_tanka (E_NO, E_TANCOD, E_JOBKBN, E_DROPKBN) VALUES (?, ?, '01', '1')",
                                  {e, std::string(6 - std::to_string(e).size(), '0') + std::to_string(e)});

    std::ofstream csv(dir / "month.csv", std::ios::binary);
    csv << "0,社員,氏名,x,年/月/日,x,x,x,出勤,x,x,x,x,x,退勤,x\r\n";
    jet::testing::TextTable card{"タイムカード", data::table("タイムカード").columnNames(), {}};
    for (int d = 1; d <= days; ++d)
        for (int e = 1; e <= employees; ++e) {
            csv << "0," << e << ",name,x,2014/07/" << (d < 10 ? "0" : "") << d
                << ",x,x,x,08:5" << e % 10 << ",x,x,x,x,x,18:0" << e % 10 << ",x\r\n";
            const std::string dd = (d < 10 ? "0" : "") + std::to_string(d);
            card.rows.push_back({"07", dd, "08", "50", "00", std::to_string(e), "0", "00", "0"});
            card.rows.push_back({"07", dd, "18", "00", "00", std::to_string(e), "1", "00", "0"});
        }
    csv.close();

    auto t0 = std::chrono::steady_clock::now();
    const long long n = payroll::importCsvLayout2(dm, dir / "month.csv");
    std::printf("CSV layout 2: %lld punches in %.3f s\n", n, seconds(t0));

    jet::testing::TextTable kbn{"区分", data::table("区分").columnNames(), {}};
    jet::testing::TextTable people{"個人", data::table("個人").columnNames(), {}};
    try {
        jet::testing::writeJet4(dir / "recorder.mdb", {card, kbn, people});
        t0 = std::chrono::steady_clock::now();
        const long long m = payroll::copyRecorderDatabase(dm, dir / "recorder.mdb");
        std::printf("database copy: %lld punches in %.3f s\n", m, seconds(t0));
    } catch (const std::exception& e) {
        std::printf("database copy skipped: %s\n", e.what());
    }
    std::filesystem::remove_all(dir);
    return 0;
}
