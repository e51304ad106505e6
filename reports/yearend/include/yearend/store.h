// Typed reads and writes of the year's withholding data. Each read is one
// statement; the write runs inside the caller's transaction.
#pragma once

#include <string>
#include <vector>

#include "yearend/withholding.h"

namespace db {
class Connection;
}

namespace yearend {

// Every employee, by employee number (whatever a window left filtered).
std::vector<SlipEmployee> readSlipEmployees(db::Connection& c);
// Every pay record with the amounts the year's data sums (NULL reads 0).
std::vector<StoredPay> readStoredPays(db::Connection& c);
// hym of the gensen row with the greatest hym ("" when none is set).
std::string latestHym(db::Connection& c);
// Deletes every gensen row and inserts `rows`.
void replaceWithholdingRows(db::Connection& c, const std::vector<WithholdingRow>& rows);

}  // namespace yearend
