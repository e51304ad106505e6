// Schema upgrade, the deduction-slip table, the one-time re-creation of the
// withholding table gensen, and the rebuild commands of emp_tanka, kimu_tran
// and sum_tran. All statements run through the data module's Query1; counts
// go through QueryCnt and column counts through Table2.
//
// These functions know no window: the main window's actions call them, and
// a question goes through the confirmation callback. An unguarded failure is
// raised (rtl::DatabaseError and friends) for the caller's error box.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

namespace data {

class TDataModule1;

// Asks the user a Yes/No question; true for Yes.
using Confirm = std::function<bool(const std::string& text, const std::string& caption)>;

// Seeds the empty code lists 2 to 5 of flg_data and adds the columns of later
// versions (emp_tanka.PRT_FLG, sys_mas.PRT_FLG, sum_tran.S_DAY1..5,
// title_mas.GK_FLG7..H) to tables below their column-count thresholds, brings
// day_work up to date (upgradeDayWork), and widens gensen.dname to the whole
// employee name, keeping gensen's rows.
void Act_New_Field(TDataModule1& dm);

// Brings the daily cross table day_work to its current form: TANCOD a
// 32-bit number and the month column DMONTH. An older table is re-created
// with its rows kept, in one transaction. Part of Act_New_Field.
void upgradeDayWork(TDataModule1& dm);

// Creates minus_dat when it cannot be opened, and with it adds DAT_CHK ("0")
// to sum_tran and sys_mas. An existing minus_dat whose slip key M_DATE is
// narrower than SlipKeyWidth is widened, its rows kept.
void Act_minus_dat(TDataModule1& dm);
inline constexpr int SlipKeyWidth = 8;

// The db_gensen.txt step of start-up.
enum class GensenStep {
    NotAsked,   // the marker holds anything but "0": nothing done
    Recreated,  // gensen was missing or incomplete: (re-)created, marker "1"
    Kept,       // gensen was complete: its rows kept, marker "1"
    Failed,     // a statement or the marker write failed: marker unchanged
};
// Reads the first line of `workDir`/db_gensen.txt ("0" when the file is
// missing or unreadable). On "0": when gensen is missing or lacks one of the
// columns of its definition, drops it (if there) and creates it in one
// transaction; then writes the marker anew with the single line "1". A
// complete gensen keeps its rows. Failures are silent (reported as Failed).
GensenStep gensenMarkerStep(TDataModule1& dm, const std::filesystem::path& workDir);
inline constexpr const char* GensenMarkerFile = "db_gensen.txt";

// Rebuild commands. Each asks its question (caption "削除"); No changes
// nothing and returns false. Yes: creates the table, or empties it when it
// exists; Act_Tanka then refills emp_tanka from 個人. The whole job is one
// transaction: a failing DELETE or INSERT is raised and leaves the old rows.
bool Act_Tanka(TDataModule1& dm, const Confirm& confirm);
bool Act_Tran(TDataModule1& dm, const Confirm& confirm);
bool Act_Sum_Tran(TDataModule1& dm, const Confirm& confirm);

// The questions and their caption.
inline constexpr const char* RebuildCaption = "削除";
inline constexpr const char* TankaQuestion = "単価データの再構築を行いますか。？";
inline constexpr const char* TranQuestion = "勤務データの再構築を行いますか。？";
inline constexpr const char* SumTranQuestion = "集計データの再構築を行いますか。？";

}  // namespace data
