// tallyra-bench run: the benchmark. Generates a company into a temporary
// folder, runs the month's pay on it, then runs the punch import once more
// one statement at a time on a copy of the same database, and prints the
// times, their ratio and the peak memory.
#include <sys/resource.h>

#include <QGuiApplication>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "db/connection.h"
#include "options.h"
#include "report/paint.h"
#include "reports/forms.h"
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

// The month's pay slips (the plain-paper form) into one PDF, as the print
// preview would print them.
Stage paySlipsToPdf(const PayRunSpec& p, const std::filesystem::path& database, const std::filesystem::path& pdf,
                    std::size_t& pages) {
    const reports::FormInfo* form = reports::findForm(QStringLiteral("TfrmQR_Kyuyo"));
    if (!form) throw Failure("the pay slip form is missing");
    reports::PrintState state;
    state.workDir = p.dir.string();
    state.year = p.year;
    state.month = p.month;
    const auto start = std::chrono::steady_clock::now();
    db::Connection connection("Data Source=" + database.string() + ";Mode=Read");
    connection.open();
    report::FontMeasurer measurer;
    const report::Document document = form->render(connection, state, &measurer);
    report::writePdf(QString::fromStdString(pdf.string()), document);
    connection.close();
    pages = document.pages.size();
    return {"pay slips to PDF",
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
            static_cast<long long>(document.rows),
            {}};
}

}  // namespace

int run(const Args& args) {
    return guarded("run", [&] {
        const Options o = parseOptions(args, {"--employees"}, false);
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        int argc = 1;
        char name[] = "tallyra-bench";
        char* argv[] = {name, nullptr};
        QGuiApplication application(argc, argv);
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

        std::size_t pages = 0;
        const Stage slips = paySlipsToPdf(p, report.database, tmp.path / "slips.pdf", pages);
        std::printf("%s, %zu pages\n", describe(slips).c_str(), pages);
        std::fflush(stdout);

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
