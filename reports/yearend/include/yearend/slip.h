// The withholding slip (TfrmQR_Gensen): one employee's row of the year's
// withholding data on the pre-printed A4 form, two copies side by side, at
// the form's fixed positions shifted by the margins of Gensen.Txt.
#pragma once

#include <filesystem>
#include <string>

#include "db/connection.h"
#include "report/layout.h"
#include "report/report.h"
#include "rtl/types.h"
#include "yearend/slipprep.h"

namespace yearend {

// The slip's declaration with the page margins of `margins` (top 5 mm and
// left 12 mm shifted by the amounts; bottom 5 mm, right 6 mm).
report::Report withholdingSlip(const Margins& margins);

// The gensen rows of the employee code, each with the employee's address,
// name, reading and birth date (by the row's employee number) and the
// company's address, name and telephone.
db::ResultSet fetchWithholdingSlip(db::Connection& c, const std::string& employeeCode);

// The birth year as printed: the year of its era (昭和, 平成, 令和); "" for
// an empty birth date or one before 昭和.
std::string birthEraYear(rtl::TDateTime birth);

// The employee's slip laid out, with the margins of `workDir`'s Gensen.Txt.
report::Document renderWithholdingSlip(db::Connection& c, const std::filesystem::path& workDir,
                                       const std::string& employeeCode, const report::TextMeasurer* measurer);

}  // namespace yearend
