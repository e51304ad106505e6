// What the pay records read and write in the working database, as typed
// functions: the employee's master values, the settings and caption flags,
// the tax tables, a work category's rounding unit, the previous month's pay
// of a bonus, the rows of a key, and the money columns of the current row of
// the pay-record dataset. Every value from outside goes in as a bound value.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "db/connection.h"
#include "db/dataset.h"
#include "payrecord/money.h"

namespace payrecord {

// ---- reads ------------------------------------------------------------------

// emp_tanka row E_NO = employeeNo; empty when there is none.
std::optional<WorkingMaster> readMaster(db::Connection& c, long long employeeNo);
// E_JOBKBN of the employee whose text code E_TANCOD is `code`; empty when none.
std::optional<std::string> readJobCategory(db::Connection& c, const std::string& code);
// GK_FLG7..9 of the caption row CODE = 1 (all non-taxable when it is missing).
TaxableFlags readTaxableFlags(db::Connection& c);
// The insurance rates of the first settings row (all 0 when there is none).
Rates readRates(db::Connection& c);
// A tax table (zei_mas or zei_masB) in code order.
std::vector<TaxBand> readTaxBands(db::Connection& c, bool daily);
// The bonus rate table zei_masS in code order.
std::vector<BonusRateRow> readBonusRates(db::Connection& c);
// 就業丸め単位 of work category `category` (trimmed); empty when 区分 has no
// such row.
std::optional<std::string> readRoundingUnit(db::Connection& c, const std::string& category);
// The employee's latest monthly pay record before the pay month (keys "yy/mm",
// bonus rows left out), as its taxable gross less its social insurance;
// empty when there is none.
std::optional<Yen> previousMonthPay(db::Connection& c, long long employeeNo, int payYear, int payMonth,
                                    const TaxableFlags& flags);

// Everything the computations of a row need besides its own columns and the
// employee; read once for a whole batch.
struct PayContext {
    TaxableFlags flags;
    Rates rates;
    std::vector<TaxBand> monthlyTable;
    std::vector<TaxBand> dailyTable;
    std::vector<BonusRateRow> bonusRates;
};
PayContext readPayContext(db::Connection& c);

// ---- rows of a key ------------------------------------------------------------

// Deletes the rows under `key` and appends one row per employee in service
// (by employee number) to `sumTran` (the open pay-record dataset), keyed
// `key`, with the work category and the employee number; bonus rows also
// carry S_SHOYO_F = "1". One transaction: a failure leaves the old rows.
// Raises rtl::ConversionError for a category or code that is no integer.
void replaceWithNewRows(db::Connection& c, db::Dataset& sumTran, const std::string& key, bool bonus);
// Marks every pay record (S_KNTKBN = 1), as closing a pay window does.
void markAllRecords(db::Connection& c);

// ---- the current row of the pay-record dataset -----------------------------

// A row to read and write: the dataset is open and shows a row or is
// inserting one.
bool hasCurrentRow(db::Dataset& ds);
// The money columns of the current row (empty = 0).
PayRow readPayRow(db::Dataset& sumTran);
// Integer value of a column, empty = 0.
Yen yen(db::Dataset& ds, const char* column);

}  // namespace payrecord
