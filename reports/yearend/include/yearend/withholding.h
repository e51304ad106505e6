// The year's withholding data: the pay records of a range of months summed
// into one gensen row per employee, from which the withholding slip is
// prepared and printed.
//
// Records are placed by what their key means, never by comparing key texts:
//   "yy/mm"      a monthly record of that month;
//   "yy/mm/dd"   a weekly or daily record, in the month of its date;
//   "yy-n"       a bonus, which carries only its year.
// Two-digit years are read with the runtime's window. A bonus belongs to a
// range only when the range is one whole calendar year (January to December)
// and the bonus is of that year: no narrower range can tell which bonuses
// belong to it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "payrecord/money.h"

namespace db {
class Connection;
}

namespace yearend {

using Yen = payrecord::Yen;

// First and last month of the range, full years.
struct MonthRange {
    int fromYear = 0, fromMonth = 0, toYear = 0, toMonth = 0;
    // True for January to December of one year.
    bool oneCalendarYear() const;
    bool contains(int year, int month) const;
};

// The main window's range texts (EditYYS, EditMMS, EditYYE, EditMME). Raises
// the runtime's conversion error for a text that is not a number, and
// rtl::Error with kBadRangeMessage for a year that is not of four digits, a
// month outside 1..12 or a start after the end.
MonthRange monthRange(const std::string& fromYear, const std::string& fromMonth, const std::string& toYear,
                      const std::string& toMonth);
inline constexpr const char* kBadRangeMessage = "支給範囲が正しくありません。";

// What a pay record's key (S_DATE) says about it.
enum class RecordKind { Monthly, WeeklyDaily, Bonus, Unknown };
struct KeyPlace {
    RecordKind kind = RecordKind::Unknown;
    int year = 0;
    int month = 0;  // 0 for a bonus
};
KeyPlace placeOfKey(const std::string& key);

// The stored amounts of one pay record that the year's data sums: the money
// columns of the pay record as the pay computations read them, and the
// insurance and net amounts beside them.
struct StoredPay {
    long long employee = 0;  // S_TANCOD
    std::string key;         // S_DATE
    payrecord::PayRow pay;
    Yen health = 0, care = 0, employment = 0, pension = 0, fund = 0;  // S_HOKEN, S_HOKENK, S_KOYOU, S_NENKIN, S_KIKIN
    Yen net = 0;                                                      // S_TOTALT
};

// An employee as the year's data names it.
struct SlipEmployee {
    long long number = 0;  // E_NO
    std::string code;      // E_TANCOD
    std::string name;      // E_NAME
};

// One gensen row as the aggregation writes it (hym, fct_name and the
// adjustments teate1..5 stay empty; fct_code is empty text).
struct WithholdingRow {
    long long code = 0;
    std::string dcode, dname;
    Yen kinmu = 0, mid_kinmu = 0, total_1 = 0, ken_ho = 0, gensen_z = 0, jyumin_z = 0, koyo_ho = 0, koyo_sho = 0,
        total_s = 0, kotu_hi = 0, sub1 = 0, meat_back = 0, total_t = 0;
};

struct Aggregation {
    std::vector<WithholdingRow> rows;  // one per employee, in the employees' order
    long long monthly = 0;             // records included, by kind
    long long weeklyDaily = 0;
    long long bonus = 0;
    long long bonusLeftOut = 0;  // bonuses of the range's years left out (range not one calendar year)
};

// Sums the records of `range` for every employee (one row each, zeros when
// the employee has none). Records of no listed employee and keys that say
// nothing are left out.
// Each record's pay is its taxable gross (payrecord::taxableGross), not the
// stored S_TOTALS, which holds the non-taxable allowances too and, for a
// bonus, only the standard amount.
Aggregation aggregate(const std::vector<SlipEmployee>& employees, const std::vector<StoredPay>& records,
                      const payrecord::TaxableFlags& flags, const MonthRange& range);

// Reads employees, pay records and the taxable flags, and replaces the whole
// content of gensen with the range's rows in one transaction: a failure
// raises and leaves the old rows.
Aggregation buildWithholdingData(db::Connection& c, const MonthRange& range);

// The question before the rebuild and the report after it.
inline constexpr const char* kAskText = "年次集計を行います。\r源泉データは削除されます、よろしいですか？";
inline constexpr const char* kAskCaption = "年次処理";
std::string finishedMessage(const Aggregation& result);

}  // namespace yearend
