// How the time-card windows reach the rest of the program without linking
// the main window: by the object names of its windows and controls.
#pragma once

#include <QString>

class QWidget;

namespace timecard {

// The newest visible top-level window of that object name, else the newest
// one alive; nullptr when there is none.
QWidget* findWindow(const QString& objectName);

// Enables or disables the main window's buttons btnDayRep, btnJ_Meisai and
// btnTimeRep (and the actions they run). Does nothing without a main window.
void setPunchButtons(bool havePunches);

// Writes the caller tag into the employee picker's hidden edit Edit1 and
// shows the picker without blocking. Does nothing while the program has no
// picker.
void showEmployeePicker(const QString& tag);

}  // namespace timecard
