// How the time-card windows and the imports reach the rest of the program
// without linking the main window: by the object names of its windows and
// controls (ui/windows.h).
#pragma once

#include <QString>

class QWidget;

namespace data {
class TDataModule1;
}
namespace ui {
class ComboBox;
}

namespace mainlink {

// Enables or disables the buttons btnDayRep, btnJ_Meisai and btnTimeRep of
// `mainWindow` (and the actions they run), as every step that leaves
// タイムカード changed does. Does nothing without a window.
void setPunchButtons(QWidget* mainWindow, bool havePunches);
// The same on the program's main window "frmMain".
void setPunchButtons(bool havePunches);

// Writes the caller tag into the employee picker's hidden edit Edit1 and
// shows the picker without blocking. Does nothing while the program has no
// picker.
void showEmployeePicker(const QString& tag);

// Fills the employee box of a payroll window: `allText` ("全社員") and then
// the names of the employees in service (Qemp_tanka, read without moving its
// row: the employee picker may be showing it), `allText` chosen.
void fillEmployeeBox(ui::ComboBox& box, data::TDataModule1& dm, const QString& allText);

}  // namespace mainlink
