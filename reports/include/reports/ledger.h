// The annual wage ledger: one sheet per employee, copied from the template
// sheet "Sheet1" of Kyuyo_daicho.xlsx and filled with the employee's
// particulars and the pay and bonus records of a range of at most twelve
// months. No window here: the ledger window and the bench tool call it.
//
// Columns: the range's first month in column I, each later month four
// columns further (months since the first month), up to BA; weekly or daily
// records add into the column of their date's month; bonus 1 in BE and
// bonus 2 in BI. Bonus keys carry only a year, so bonuses are written when
// the range lies in one calendar year.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "reports/ledgerstore.h"

namespace db {
class Connection;
}
namespace sheet {
class Workbook;
}

namespace reports {

struct YearMonth {
    int year = 0;
    int month = 0;
    bool operator==(const YearMonth&) const = default;
};

struct LedgerRange {
    YearMonth first;
    YearMonth last;
};

// The months of the range (0 when the last month comes before the first).
int monthCount(const LedgerRange& range);
// The text of the message that refuses a range, or empty text for a good one.
std::string checkLedgerRange(const LedgerRange& range);
inline constexpr const char* RangeReversedMessage = "支給期間の終わりが始まりより前になっています。";
inline constexpr const char* RangeTooLongMessage = "支給期間は12か月以内で指定して下さい。";

// Where a record key lands, counted in ledger columns: 0..11 the months
// (I, M, ..., BA), 12 bonus 1 (BE), 13 bonus 2 (BI).
inline constexpr int FirstBonusColumn = 12;
struct KeyPlace {
    enum Kind { Outside, Month, Bonus, OtherBonus, BonusOfOtherYear } kind = Outside;
    int column = -1;  // Month and Bonus only
};
// Month keys "yy/mm", weekly and daily keys "yy/mm/dd", bonus keys "yy-n".
// OtherBonus: a bonus of the range's year other than 1 and 2; BonusOfOtherYear:
// a bonus of one of the range's years that cannot be placed because the range
// spans two calendar years.
KeyPlace placeKey(const std::string& key, const LedgerRange& range);

// The sheet column letters of ledger column 0..13 ("I" ... "BA", "BE", "BI").
std::string ledgerColumnLetters(int column);

// One cell of a filled sheet.
struct LedgerCell {
    enum Kind { Number, Text, Date } kind = Number;
    std::string address;
    double number = 0;
    std::string text;
};

struct EmployeeLedger {
    std::vector<LedgerCell> cells;
    int placedRecords = 0;                         // records that went into a column
    std::vector<std::string> otherBonuses;         // keys of third (and later) bonuses
    std::vector<std::string> bonusesOfOtherYears;  // bonus keys left out (range spans two years)
};

// The cells of one employee's sheet: the title, the particulars, the row
// captions, the month headers of row 7, and every column with records.
EmployeeLedger employeeLedger(const LedgerEmployee& employee, const std::vector<PayRecord>& records,
                              const LedgerCaptions& captions, const LedgerRange& range);

struct LedgerRequest {
    LedgerRange range;
    long long employeeNumber = 0;  // 0 for every employee with records in the range
};

struct LedgerResult {
    int sheets = 0;
    std::vector<std::string> notices;  // to be shown after saving (bonuses left out)
};

// Opens `templatePath`, adds and fills one sheet per employee with records
// in the range (highest number first, each copy right after "Sheet1", so the
// workbook lists them in ascending number), makes the last copy the active
// sheet and saves the workbook as `outputPath`. With no such employee
// nothing is saved and `sheets` is 0 (the notices still say which bonuses
// were left out). The range must pass checkLedgerRange.
LedgerResult writeLedger(db::Connection& connection, const LedgerRequest& request, const std::string& templatePath,
                         const std::string& outputPath);

// The file name of the saved ledger: "Kyuyo_daicho_" + suffix + ".xlsx".
std::string ledgerFileName(const std::string& suffix);
// The template's file name in the working folder and the message texts.
inline constexpr const char* LedgerTemplateName = "Kyuyo_daicho.xlsx";
inline constexpr const char* NoRecordsMessage = "指定期間の給与データがありません。";
inline constexpr const char* BonusYearsMessage = "支給期間が年をまたいでいるため、賞与欄には記入していません。";
std::string otherBonusMessage(const std::vector<std::string>& lines);

// Puts the program's own template into `folder` when the folder has none;
// returns its path. Throws rtl::FileError when it cannot be written.
std::string ensureLedgerTemplate(const std::string& folder);

}  // namespace reports
