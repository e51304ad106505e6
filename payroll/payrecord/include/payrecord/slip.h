// The deduction slip without a window: finding, numbering and creating a
// slip in minus_dat, and the list of predefined deduction items Tenbiki.csv.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "db/connection.h"
#include "db/dataset.h"
#include "payrecord/money.h"

namespace payrecord {

inline constexpr int MaxSlipNo = 32767;
inline constexpr const char* SlipFullMessage = "伝票番号が上限 (32767) に達したため、新しい天引伝票を作成できません。";

// Deletes the slips whose total and transfer are both 0 or both empty (of
// every month and employee).
void deleteEmptySlips(db::Connection& c);
// Slips of employee `employeeNo` under `key`.
int countSlips(db::Connection& c, const std::string& key, long long employeeNo);
// The highest slip number (0 for an empty table).
int highestSlipNo(db::Connection& c);
// E_NAME of the employee ("" when none).
std::string employeeName(db::Connection& c, long long employeeNo);

// Filters the slip dataset to `key` and the employee and opens it.
void showSlip(db::Dataset& slips, const std::string& key, long long employeeNo);

// What a new slip takes from the pay record it is opened from.
struct SlipOrigin {
    std::string key;
    long long employeeNo = 0;
    long long category = 0;  // S_SEQNO
    bool hasCategory = false;
    Yen netPay = 0;  // S_TOTALT
    bool hasNetPay = false;
};
// Starts a new slip row in the (filtered, empty) slip dataset: the next
// number, lines numbered 1 to 10 with amounts 0, and the key, employee, name,
// net pay and category. Not posted. Raises RecordError (SlipFullMessage)
// without starting a row when the numbers are used up.
void startSlip(db::Connection& c, db::Dataset& slips, const SlipOrigin& origin);
// Recomputes M_GKING and M_FURI_KG of the current slip row from its lines.
void updateSlipTotals(db::Dataset& slips);

// ---- Tenbiki.csv --------------------------------------------------------------

inline constexpr const char* TenbikiFile = "Tenbiki.csv";
using ItemGrid = std::vector<std::vector<std::string>>;  // rows of three cells

// The rows of the file (header first), three cells each; read as UTF-8 when
// valid, else CP932. A line with fewer than three cells raises
// rtl::ListIndexError, with the rows before it in `partial`.
ItemGrid readItems(const std::filesystem::path& file, ItemGrid* partial = nullptr);
// Writes the header and every row with an item name (rows without one are
// skipped), UTF-8, CR LF. Returns the rows written (header included).
int writeItems(const std::filesystem::path& file, const ItemGrid& rows);
// Numbers the item rows 1, 2, ... in column 0 up to the first row without a
// name.
void renumberItems(ItemGrid& rows);

}  // namespace payrecord
