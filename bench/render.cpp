// tallyra-bench render: one printed form of a working folder, without a
// window, into a PDF (and its CSV export), as the program's preview would
// show it with the main window in the state the options give; or the annual
// wage ledger (TfrmMKyuyoRep) into an .xlsx workbook.
#include <QDate>
#include <QGuiApplication>
#include <QString>
#include <QTemporaryDir>

#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <stdexcept>

#include "db/connection.h"
#include "period/keys.h"
#include "period/payperiod.h"
#include "report/csv.h"
#include "report/paint.h"
#include "reports/crosstablereport.h"
#include "reports/forms.h"
#include "reports/ledger.h"
#include "reports/ledgerdata.h"
#include "rtl/errors.h"
#include "rtl/qt.h"
#include "rtl/textfile.h"
#include "subcommands.h"
#include "yearend/withholding.h"

namespace bench {

namespace {

struct Usage : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct Options {
    std::string dir, form, pdf, xlsx, csv;
    std::string year, month, bonus, weeklyFrom, weeklyTo, from, to, employee;
    bool byCategory = false;
};

Options parse(const Args& args) {
    Options o;
    const std::map<std::string, std::string Options::*> single = {
        {"--form", &Options::form},         {"--pdf", &Options::pdf},   {"--xlsx", &Options::xlsx},
        {"--csv", &Options::csv},           {"--year", &Options::year}, {"--month", &Options::month},
        {"--bonus", &Options::bonus},       {"--from", &Options::from}, {"--to", &Options::to},
        {"--employee", &Options::employee},
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](const std::string& option) {
            if (i + 1 >= args.size()) throw Usage("option " + option + " needs a value");
            return args[++i];
        };
        if (auto it = single.find(a); it != single.end()) {
            o.*(it->second) = value(a);
        } else if (a == "--weekly") {
            o.weeklyFrom = value(a);
            o.weeklyTo = value(a);
        } else if (a == "--by-category") {
            o.byCategory = true;
        } else if (a.rfind("--", 0) == 0) {
            throw Usage("unknown option " + a);
        } else if (o.dir.empty()) {
            o.dir = a;
        } else {
            throw Usage("unexpected argument " + a);
        }
    }
    if (o.dir.empty()) throw Usage("missing working folder DIR");
    if (o.form.empty()) throw Usage("missing option --form NAME");
    if (o.pdf.empty() == o.xlsx.empty()) throw Usage("give exactly one of --pdf OUT.pdf and --xlsx OUT.xlsx");
    return o;
}

std::string twoDigits(const std::string& text, const char* option) {
    bool ok = false;
    const int n = QString::fromStdString(text).toInt(&ok);
    if (!ok || n < 1 || n > 12) throw Usage(std::string("option ") + option + ": not a month: " + text);
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')).toStdString();
}

std::string fourDigitYear(const std::string& text) {
    bool ok = false;
    const int n = QString::fromStdString(text).toInt(&ok);
    if (!ok || text.size() != 4 || n < 1900) throw Usage("option --year: not a year (YYYY): " + text);
    return text;
}

// "YYYY/MM/DD" -> the main window's day-range text "yy/mm/dd".
std::string dayText(const std::string& text) {
    const QDate d = QDate::fromString(QString::fromStdString(text), QStringLiteral("yyyy/MM/dd"));
    if (!d.isValid()) throw Usage("option --weekly: not a date (YYYY/MM/DD): " + text);
    return d.toString(QStringLiteral("yy/MM/dd")).toStdString();
}

void splitMonth(const std::string& text, const char* option, std::string& year, std::string& month) {
    const QDate d =
        QDate::fromString(QString::fromStdString(text) + QStringLiteral("/01"), QStringLiteral("yyyy/MM/dd"));
    if (!d.isValid()) throw Usage(std::string("option ") + option + ": not a month (YYYY/MM): " + text);
    year = d.toString(QStringLiteral("yyyy")).toStdString();
    month = d.toString(QStringLiteral("MM")).toStdString();
}

reports::PrintState stateFor(const Options& o, const reports::FormInfo& form, db::Connection& connection) {
    reports::PrintState s;
    s.workDir = o.dir;
    s.byCategory = o.byCategory;
    if (!o.from.empty()) splitMonth(o.from, "--from", s.rangeFromYear, s.rangeFromMonth);
    if (!o.to.empty()) splitMonth(o.to, "--to", s.rangeToYear, s.rangeToMonth);
    const QString name = form.className;
    if (form.keys == reports::KeyKind::Withholding) {
        if (o.from.empty() || o.to.empty() || o.employee.empty())
            throw Usage(name.toStdString() + " needs --from YYYY/MM --to YYYY/MM --employee CODE");
        s.employee = o.employee;
        return s;
    }
    if (form.keys == reports::KeyKind::Bonus) {
        if (o.bonus.empty() || o.year.empty()) throw Usage(name.toStdString() + " needs --bonus N and --year YYYY");
        if (o.bonus != "1" && o.bonus != "2" && o.bonus != "3") throw Usage("option --bonus: 1, 2 or 3");
        s.bonusYear = fourDigitYear(o.year);
        s.bonusNumber = o.bonus;
        return s;
    }
    if (form.keys == reports::KeyKind::None) return s;
    if (form.keys == reports::KeyKind::Year) {
        if (o.year.empty()) throw Usage(name.toStdString() + " needs --year YYYY");
        s.year = fourDigitYear(o.year);
        return s;
    }
    if (!o.weeklyFrom.empty()) {
        s.weekly = true;
        s.periodFrom = dayText(o.weeklyFrom);
        s.periodTo = dayText(o.weeklyTo);
        return s;
    }
    if (o.year.empty() || o.month.empty())
        throw Usage(name.toStdString() + " needs --year YYYY --month MM (or --weekly FROM TO)");
    s.year = fourDigitYear(o.year);
    s.month = twoDigits(o.month, "--month");
    if (form.keys == reports::KeyKind::Period) {
        // The month's pay period, as the main window derives it from the closing day.
        const period::PayPeriod p = period::monthlyPayPeriod(s.year, s.month, reports::fetchClosingDay(connection));
        s.periodFrom = p.first;
        s.periodTo = p.last;
    }
    return s;
}

// The database the settings file of the working folder names.
std::string databaseOf(const std::string& dir) {
    const std::filesystem::path settings = std::filesystem::path(dir) / "Quendar.ini";
    if (!std::filesystem::exists(settings))
        throw std::runtime_error("no settings file " + settings.string() + " (not a working folder)");
    std::filesystem::path db = rtl::readFirstLine(settings);
    if (db.empty()) throw std::runtime_error("the settings file " + settings.string() + " names no database");
    if (db.is_relative()) db = std::filesystem::path(dir) / db;
    if (!std::filesystem::exists(db)) throw std::runtime_error("database " + db.string() + " not found");
    return db.string();
}

// "YYYY/MM" of --from / --to as a ledger month.
reports::YearMonth ledgerMonth(const std::string& text, const char* option) {
    std::string year, month;
    splitMonth(text, option, year, month);
    return {std::stoi(year), std::stoi(month)};
}

// The wage ledger: the range of --from/--to (or the pay year's January to
// --year/--month, as the window starts), every employee or --employee CODE.
int renderLedger(const Options& o) {
    reports::LedgerRequest request;
    if (!o.from.empty() || !o.to.empty()) {
        if (o.from.empty() || o.to.empty()) throw Usage("give both --from YYYY/MM and --to YYYY/MM");
        request.range = {ledgerMonth(o.from, "--from"), ledgerMonth(o.to, "--to")};
    } else {
        if (o.year.empty() || o.month.empty())
            throw Usage("TfrmMKyuyoRep needs --from YYYY/MM --to YYYY/MM (or --year YYYY --month MM)");
        const int year = std::stoi(fourDigitYear(o.year));
        request.range = {{year, 1}, {year, std::stoi(twoDigits(o.month, "--month"))}};
    }
    if (const std::string refusal = reports::checkLedgerRange(request.range); !refusal.empty()) throw Usage(refusal);

    db::Connection connection("Data Source=" + databaseOf(o.dir) + ";Mode=Read");
    connection.open();
    if (!o.employee.empty()) {
        for (const reports::LedgerEmployee& e : reports::ledgerEmployees(connection))
            if (e.code == o.employee) request.employeeNumber = e.number;
        if (request.employeeNumber == 0) throw Usage("option --employee: no employee with code " + o.employee);
    }
    // The working folder's own template when it has one, else the program's.
    QTemporaryDir scratch;
    const std::filesystem::path own = std::filesystem::path(o.dir) / reports::LedgerTemplateName;
    const std::string templatePath =
        std::filesystem::exists(own) ? own.string() : reports::ensureLedgerTemplate(scratch.path().toStdString());
    const reports::LedgerResult result = reports::writeLedger(connection, request, templatePath, o.xlsx);
    for (const std::string& notice : result.notices) std::fprintf(stderr, "warning: %s\n", notice.c_str());
    if (result.sheets == 0) {
        std::fprintf(stderr, "tallyra-bench render: %s (nothing written)\n", reports::NoRecordsMessage);
        return 1;
    }
    std::printf("TfrmMKyuyoRep: %d sheet(s) -> %s\n", result.sheets, o.xlsx.c_str());
    return 0;
}

}  // namespace

int render(const Args& args) {
    try {
        const Options o = parse(args);
        if (o.form == "TfrmMKyuyoRep" || o.form == "frmMKyuyoRep") {
            if (o.xlsx.empty()) throw Usage("TfrmMKyuyoRep writes a workbook: use --xlsx OUT.xlsx");
            return renderLedger(o);
        }
        const reports::FormInfo* form = reports::findForm(QString::fromStdString(o.form));
        if (!form) {
            QStringList names;
            for (const auto& f : reports::reportForms()) names << f.className;
            names << QStringLiteral("TfrmMKyuyoRep");
            throw Usage("unknown form '" + o.form + "'; forms: " + names.join(QStringLiteral(", ")).toStdString());
        }
        if (!o.xlsx.empty()) throw Usage(form->className.toStdString() + " is a printed form: use --pdf");

        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        int argc = 1;
        char name[] = "tallyra-bench";
        char* argv[] = {name, nullptr};
        QGuiApplication application(argc, argv);

        // Read only: rendering never changes the working database, except that
        // the withholding slip prints the year's withholding data, built anew
        // for the range first (as 年次処理 does).
        const bool buildsData = form->keys == reports::KeyKind::Withholding;
        db::Connection connection("Data Source=" + databaseOf(o.dir) + (buildsData ? ";Mode=ReadWrite" : ";Mode=Read"));
        connection.open();
        const reports::PrintState state = stateFor(o, *form, connection);
        if (buildsData) {
            const yearend::Aggregation built = yearend::buildWithholdingData(
                connection,
                yearend::monthRange(state.rangeFromYear, state.rangeFromMonth, state.rangeToYear, state.rangeToMonth));
            QString message = rtl::toQString(yearend::finishedMessage(built));
            std::printf("%s\n", message.replace(QLatin1Char('\r'), QLatin1Char('\n')).toUtf8().constData());
        }
        report::FontMeasurer measurer;
        // The daily cross table is built first, for the month of --year/--month,
        // in memory: the read-only database keeps its table.
        std::optional<report::Document> built;
        if (form->className == QLatin1String("TfrmQR_Closs")) {
            const auto table = reports::crossTableOf(connection, period::monthKey(state.year, state.month));
            if (!table) {
                std::fprintf(stderr, "tallyra-bench render: %s\n",
                             QString::fromUtf8(reports::NoAttendanceMessage).simplified().toUtf8().constData());
                return 1;
            }
            built = reports::renderCrossTable(*table, {}, &measurer);
        }
        const report::Document document = built ? std::move(*built) : form->render(connection, state, &measurer);
        if (!o.csv.empty() && document.csvHeader.isEmpty())
            throw Usage(form->className.toStdString() + " has no CSV export");

        report::writePdf(QString::fromStdString(o.pdf), document);
        if (!o.csv.empty()) {
            // As the preview saves it by default; UTF-8 only when CP932 cannot hold a character.
            try {
                report::writeCsv(QString::fromStdString(o.csv), document, report::CsvEncoding::Cp932);
            } catch (const report::CsvEncodingError& e) {
                std::fprintf(stderr, "warning: '%s' has no CP932 form; CSV written as UTF-8 with BOM\n",
                             e.character().toUtf8().constData());
                report::writeCsv(QString::fromStdString(o.csv), document, report::CsvEncoding::Utf8Bom);
            }
        }
        for (const QString& w : document.warnings) std::fprintf(stderr, "warning: %s\n", w.toUtf8().constData());
        std::printf("%s: %zu page(s), %zu record(s) -> %s\n", form->className.toUtf8().constData(),
                    document.pages.size(), document.rows, o.pdf.c_str());
        return 0;
    } catch (const Usage& e) {
        std::fprintf(stderr, "tallyra-bench render: %s\n", e.what());
        return 2;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tallyra-bench render: %s\n", e.what());
        return 1;
    }
}

}  // namespace bench
