// The pieces the subcommands share: a generated working folder, the pay run
// on a folder, and the statement-by-statement punch import it is measured
// against. Each raises Failure with the message to print.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "attendance/worktime.h"

namespace bench {

// A stage or a check refused: what() is the program's own message.
struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// ---- generate ----------------------------------------------------------------

struct GenerateSpec {
    std::filesystem::path dir;
    int employees = 1000;
    int year = 0, month = 0;  // the pay month
    unsigned seed = 1;
    int missingClockOuts = 0;
};
struct Generated {
    std::filesystem::path database;
    std::filesystem::path csv;  // the month's punches, layout 1, CP932
    long long employees = 0;
    long long lines = 0;  // CSV lines after the header (one clock-in and one clock-out each)
    std::string periodFirst, periodLast;
};
// Makes the working folder as a first start does (settings file, delivered
// database), fills the masters and writes the punch CSV. Five employees give
// the five fixed profiles; any other count draws them from `seed`.
Generated generateFolder(const GenerateSpec& spec);
// The CSV file name generate writes into the folder.
inline constexpr const char* kPunchCsvName = "punches.csv";

// Today's date (local time), so that birth dates are counted back from the run.
rtl::TDateTime today();

// ---- payrun ------------------------------------------------------------------

struct PayRunSpec {
    std::filesystem::path dir;
    std::string year, month;  // "2026", "07"
    std::optional<std::filesystem::path> csv;
    int layout = 1;
};
struct Stage {
    std::string name;
    double seconds = 0;
    long long rows = 0;
    std::vector<std::string> messages;  // what the window would show after it
};
struct PayRunReport {
    std::filesystem::path database;
    attendance::PeriodDates period;
    std::string key;
    std::vector<Stage> stages;
    double total() const;
};
// The folder's database as its settings file names it. Refuses, creating
// nothing, a folder without a settings file, a database that does not exist,
// and a file that is not a working database.
std::filesystem::path workingDatabase(const std::filesystem::path& dir);
// The stages as a user runs them from the windows; `onStage` is told of each
// as it ends. A stage that refuses raises Failure with the program's message.
PayRunReport payRunFolder(const PayRunSpec& spec, const std::function<void(const Stage&)>& onStage);
// "name:  0.123 s  45,678 rows  (370,000 rows/s)"
std::string describe(const Stage& stage);
// Prints the stage's line and the messages after it, at once.
void printStage(const Stage& stage);

// ---- the literal import ------------------------------------------------------

struct LiteralImport {
    double seconds = 0;
    long long rows = 0;        // attendance rows inserted
    long long statements = 0;  // statements sent, each committed on its own
};
// The punch import on `database` one statement per step and no transaction:
// the count, the delete, the clock-in list, then per clock-in the clock-out
// lookup, the employee count, the employee row, the category row when the
// employee changes, and the insert.
LiteralImport literalPunchImport(const std::filesystem::path& database, const attendance::PeriodDates& period);

}  // namespace bench
