// The withholding tax tables delivered with every new database.
//
// The CSV files in data/tax/ are compiled into the library, so creating a
// database never depends on where the program or its data files are installed.
#pragma once

#include <string_view>

namespace data {

// The CSV text of "zei_mas", "zei_masB" or "zei_masS" (header line first);
// empty for any other name.
std::string_view embeddedTaxCsv(std::string_view table);

}  // namespace data
