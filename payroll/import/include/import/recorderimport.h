// Importing clock punches into タイムカード: the copy of a time-recorder
// program's Jet file (with its 区分 and 個人 tables) and the two CSV export
// layouts. Every import runs as one job on the working connection: it
// either replaces the tables completely or, when any line or table fails,
// leaves them exactly as they were and raises the error.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "rtl/errors.h"

namespace data {
class TDataModule1;
}

namespace payroll {

// A CSV line the import refuses. what() is the conversion message followed
// by the line number, for example "'25:10' は時刻ではありません（3 行目）".
class ImportLineError : public rtl::ConversionError {
public:
    ImportLineError(const std::string& reason, int line);
    int line() const noexcept { return line_; }
    const std::string& reason() const noexcept { return reason_; }

private:
    std::string reason_;
    int line_;
};

// How far an import has come: the lines (or rows) done and those in all.
// Called now and then while the import runs and once more just before it
// commits; answering false stops the import, which then raises
// ImportCancelled with the tables as they were.
using ImportProgress = std::function<bool(long long done, long long total)>;

// Raised when the progress callback stopped an import. Not an rtl::Error:
// the user asked for it, so there is nothing to report.
struct ImportCancelled {};

// A file without a single punch: empty, only a header or blank lines, or
// lines whose clock-in is empty. Refused, so that such a file never empties
// タイムカード.
class NoPunchesError : public rtl::Error {
public:
    explicit NoPunchesError(const std::filesystem::path& file);
};

// Layout 1 (Act_CopyZalton): employee field 1 as written, date 4, clock-in
// 8, clock-out 11, header "年月日".
// Layout 2 (ActCopyZalton2): employee field 1 as a six-digit code, date 4,
// clock-in 8, clock-out 14, header "年/月/日", next-day hours decided by the
// employee's work schedule (emp_tanka.E_JOBKBN -> 区分).
// The file is read as UTF-16 after its byte-order mark, as UTF-8 when it is
// valid UTF-8, else as CP932. A line whose clock-out is empty gives its
// clock-in alone (the attendance rows then show the day without a
// clock-out, for the user to complete); a line with fewer fields than the
// layout is refused with its line number, like any malformed line.
// The old punches are deleted and the new ones written with one prepared
// statement, all in one job. Returns the number of punches タイムカード
// holds afterwards.
long long importCsvLayout1(data::TDataModule1& dm, const std::filesystem::path& file,
                           const ImportProgress& progress = {});
long long importCsvLayout2(data::TDataModule1& dm, const std::filesystem::path& file,
                           const ImportProgress& progress = {});

// The connection string of ADOConnection2 for a recorder file.
std::string sourceConnectionString(const std::string& mdbPath);

// Points ADOConnection2 at a recorder's Jet file, read only, through
// mdbtools. Only the three tables the copy reads are loaded.
void openRecorderSource(data::TDataModule1& dm, const std::filesystem::path& mdbPath);

// The three table copies from ADOConnection2 (already pointed at the file)
// into the working database: DELETE the target through Query1, read the
// source through ADOQuery1, append every row with every column of the
// table, by name, as text. Each is one job (nested in the caller's, if
// any); a missing table or column raises rtl::DatabaseError naming the
// table and leaves the target as it was.
void Act_CopyTimeExecute(data::TDataModule1& dm);  // タイムカード into ADOTable1
void Act_CopykbnExecute(data::TDataModule1& dm);   // 区分 into Job_kbn
void Act_CopyEmpExecute(data::TDataModule1& dm);   // 個人 into emp_mas

// The whole database copy (Act_NewSet without its dialogs): the three
// copies in one job, then the punch count. ADOConnection2 is closed again
// afterwards. Returns the number of punches. `progress` counts the rows of
// the three tables.
long long copyRecorderDatabase(data::TDataModule1& dm, const std::filesystem::path& mdbPath,
                               const ImportProgress& progress = {});

}  // namespace payroll
