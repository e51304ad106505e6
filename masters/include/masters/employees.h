// What the employee master does to a row of emp_tanka, free of the window:
// the defaults a new row takes as the user moves through it, and whether
// the row may be stored. The window's field handlers call these; tests may
// call them on the dataset directly.
#pragma once

#include <optional>
#include <string>

namespace db {
class Dataset;
}

namespace masters {

// While E_TANCOD of the current row is NULL: puts the row in edit mode and
// gives it the code E_NO as six digits (an empty E_NO counts as 0), the rate
// flags E_BASE_YN, E_HAYZ_YN, E_FUTZ_YN, E_SINZ_YN "1" and E_KYU_YN,
// E_TIKO_YN, E_SOUT_YN "0", and the seven rates 0. Returns whether it did;
// a code that is there (even an empty text) is left as it is.
bool applyEmployeeCodeDefaults(db::Dataset& emp);

// An empty E_CARDNO takes the code E_TANCOD (blanks count as a card number).
// Returns whether it did.
bool applyCardNumberDefault(db::Dataset& emp);

// Why the current row may not be stored, or nullopt: E_NO and E_TANCOD must
// name the same number (employeeKeyProblem), and no other row of the table
// may have that E_NO.
std::optional<std::string> employeeRowProblem(db::Dataset& emp);

}  // namespace masters
