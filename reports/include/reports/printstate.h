// The main window's working state as the report forms read it: the texts of
// its hidden fields, and the keys made from them. The program reads them from
// the main window when a report runs; tallyra-bench fills them from its
// options, so both print the same pages for the same state.
#pragma once

#include <string>

class QWidget;

namespace reports {

struct PrintState {
    std::string year, month;                                               // EditYY, EditMM ("2026", "04")
    std::string bonusYear, bonusNumber;                                    // EditYY2, ComboBox1
    std::string periodFrom, periodTo;                                      // EditD1, EditD2
    bool weekly = false;                                                   // CheckBox2: weekly or daily pay
    bool byCategory = false;                                               // CheckBox1
    std::string rangeFromYear, rangeFromMonth, rangeToYear, rangeToMonth;  // EditYYS .. EditMME
    std::string workDir;                                                   // Edit1
    std::string employee;  // the withholding slip's employee code (Edit1 of frmGensenInp)

    // The key of the pay records: the month key ("26/04"), or for weekly or
    // daily pay the last date of the period as typed ("26/04/07").
    std::string payKey() const;
    // The bonus key ("26-1").
    std::string bonusKey() const;
};

// The state of a main window found by its controls' object names; empty
// texts where a control is missing.
PrintState printStateOf(QWidget* mainWindow);
// The same for the program's main window "frmMain", with the employee of
// the withholding-slip preparation window "frmGensenInp".
PrintState currentPrintState();

}  // namespace reports
