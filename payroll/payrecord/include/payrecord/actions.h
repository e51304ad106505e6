// The commands of the pay-record windows on the current row of the
// pay-record dataset, and the batch calculation over every row of a key.
// They know no window: a question comes in as a value, a refusal goes out as
// RecordError with the text to show, and tests and the benchmark call them
// directly.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "data/DB_Acs.h"
#include "payrecord/money.h"
#include "payrecord/store.h"
#include "rtl/errors.h"
#include "rtl/types.h"

namespace payrecord {

// A refusal with the message the window shows in a plain box (the command
// then ends silently; a batch stops at that row).
class RecordError : public rtl::Error {
public:
    using rtl::Error::Error;
};

inline constexpr const char* BadCategoryMessage = "区分データの値が不正です。\r確認して下さい。";

// The working master of the current row: the employee of S_TANCOD, all 0
// and empty when there is no such employee; empty when S_TANCOD is empty
// (the window then keeps what it had).
std::optional<WorkingMaster> masterOfRow(db::Connection& c, db::Dataset& sumTran);

// S_SEQNO = the employee's work category, when it is a number.
void setCategory(db::Dataset& sumTran, const WorkingMaster& master);

// ---- monthly record ---------------------------------------------------------

// "金額セット": base pay (unless `keepBase`), allowances, deductions,
// transport, subsidy and meal of the month; S_SHAHO back to 0. Leaves the
// row alone when its amounts already match. Returns the master with the
// month's amounts in place of the unit amounts. Raises RecordError for an
// unknown work category or a pay by units whose rounding unit gives no whole
// unit per hour (the row unchanged).
WorkingMaster kingSet(db::Connection& c, db::Dataset& sumTran, const WorkingMaster& master, bool keepBase);
// Gross, insurance, withholding and resident tax of the row; returns the
// taxable gross.
Yen getK(db::Dataset& sumTran, const WorkingMaster& master, const PayContext& ctx, rtl::TDateTime today);
// The gross of a record paid without taxes: both taxes 0, S_TOTALS, and
// S_SHAHO summed from the stored insurance amounts when `recomputeShaho`.
Yen getK2(db::Dataset& sumTran, const PayContext& ctx, bool recomputeShaho);
// Net pay S_TOTALT from the row's own columns.
void total(db::Dataset& sumTran, const PayContext& ctx);
// Empty money columns become 0.
void nullSet(db::Dataset& sumTran);

// ---- bonus record ---------------------------------------------------------

// The bonus base from the pay kind and the months typed (text of the months
// edit; a non-number raises rtl::ConversionError). Another pay kind leaves
// the base as it is.
void bonusKingSet(db::Dataset& sumTran, const WorkingMaster& master, const std::string& monthsText);
// Standard bonus, insurance, tax; returns how the tax was found.
BonusTax bonusGetK(db::Dataset& sumTran, const WorkingMaster& master, const PayContext& ctx,
                   std::optional<Yen> previousPay, rtl::TDateTime today);
// S_TOTALS = the bonus gross (every allowance, late and early amounts not deducted).
void bonusGetK2(db::Dataset& sumTran, const PayContext& ctx);
// Net bonus S_TOTALT from the row's own columns.
void bonusTotal(db::Dataset& sumTran, const PayContext& ctx);

// ---- "一括計算" ---------------------------------------------------------------

struct BatchResult {
    int rows = 0;           // rows calculated
    std::string stoppedBy;  // the refusal that ended the batch early, else empty
};

// Every row of `sumTran` (as filtered) from the first: kingSet keeping the
// base, getK, total, nullSet, each row posted; back to the first row at the
// end. A refusal ends the batch at its row (rows before it stay done).
BatchResult calculateMonthRows(db::Connection& c, db::Dataset& sumTran, rtl::TDateTime today);
// The same for bonus rows: bonus base, bonusGetK, bonusTotal, nullSet. The
// previous month's pay is looked up before `payYear`/`payMonth`.
BatchResult calculateBonusRows(db::Connection& c, db::Dataset& sumTran, const std::string& monthsText, int payYear,
                               int payMonth, rtl::TDateTime today);

// Without a window: filters the data module's sum_tran to `key` and runs the
// batch over it.
BatchResult calculateMonth(data::TDataModule1& dm, const std::string& key, rtl::TDateTime today);
BatchResult calculateBonus(data::TDataModule1& dm, const std::string& key, const std::string& monthsText, int payYear,
                           int payMonth, rtl::TDateTime today);

// Filters the pay-record dataset to the rows of `key` and opens it.
void showRecords(db::Dataset& sumTran, const std::string& key);

}  // namespace payrecord
