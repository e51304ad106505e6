// tallyra-bench run: the benchmark. Generates a company into a temporary
// folder, runs the month's pay on it, then runs the punch import once more
// one statement at a time on a copy of the same database, and prints the
// times, their ratio and the peak memory.
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>

#include "options.h"
#include "rtl/datetime.h"
#include "subcommands.h"
#include "workload.h"

namespace bench {

namespace {

// Removes the temporary folder however the run ends.
struct TemporaryFolder {
    std::filesystem::path path;
    TemporaryFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "tallyra-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw Failure("cannot create a temporary folder");
        path = pattern;
    }
    ~TemporaryFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
};

double peakMegabytes() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_maxrss) / 1024.0;  // kilobytes on Linux
}

}  // namespace

int run(const Args& args) {
    return guarded("run", [&] {
        const Options o = parseOptions(args, {"--employees"}, false);
        const TemporaryFolder tmp;
        const rtl::DateParts now = rtl::decodeDate(today());
        GenerateSpec g;
        g.dir = tmp.path / "work";
        g.employees = static_cast<int>(o.number("--employees", 1000, 1, 100000));
        g.year = now.year;
        g.month = now.month;
        const Generated made = generateFolder(g);
        std::printf("generated: %lld employees, %lld punches, pay period %s - %s\n", made.employees, made.lines * 2,
                    made.periodFirst.c_str(), made.periodLast.c_str());
        std::fflush(stdout);

        PayRunSpec p;
        p.dir = g.dir;
        p.year = std::to_string(g.year);
        char month[4];
        std::snprintf(month, sizeof month, "%02d", g.month);
        p.month = month;
        p.csv = made.csv;
        p.layout = 1;
        double importSeconds = 0;
        const PayRunReport report = payRunFolder(p, [&](const Stage& s) {
            printStage(s);
            if (s.name == "punch import") importSeconds = s.seconds;
        });

        // The same punches into a copy of the database, statement by statement.
        const std::filesystem::path copy = tmp.path / "literal.mdb";
        std::filesystem::copy_file(report.database, copy);
        const LiteralImport literal = literalPunchImport(copy, report.period);
        Stage literalStage{"statement by statement", literal.seconds, literal.rows, {}};
        std::printf("%s, %lld statements\n", describe(literalStage).c_str(), literal.statements);

        std::printf("peak memory: %.1f MB\n", peakMegabytes());
        std::printf("payrun total: %.3f s\n", report.total());
        std::printf("import speed-up: %.1fx\n", importSeconds > 0 ? literal.seconds / importSeconds : 0.0);
        return 0;
    });
}

}  // namespace bench
