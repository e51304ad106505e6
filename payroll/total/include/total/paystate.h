// What the pay windows read from the main window's working state, by the
// object names of its fields: the pay month, the weekly-or-daily switch with
// the period's last day, and the bonus year and number.
#pragma once

#include <string>

namespace total {

struct PayState {
    std::string year;         // EditYY  "yyyy"
    std::string month;        // EditMM  "mm"
    std::string periodLast;   // EditD2
    bool weekly = false;      // CheckBox2
    std::string bonusYear;    // EditYY2
    std::string bonusNumber;  // ComboBox1
};

// The fields of the window "frmMain" (all empty when there is none).
PayState readPayState();

// The key of the monthly records and deduction slips: the month key, or the
// period's last day as typed for weekly or daily pay.
std::string recordKey(const PayState& state);
// The key of the bonus records.
std::string bonusKey(const PayState& state);
// The pay year and month as numbers (0 when not numbers).
int payYear(const PayState& state);
int payMonth(const PayState& state);

}  // namespace total
