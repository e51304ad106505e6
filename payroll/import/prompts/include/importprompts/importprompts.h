// The window side of the import actions: the prompts of importactions.h
// built from the program's dialogs, so that the main window connects each
// action in one line:
//
//   main.action("Act_NewSet")->setHandler([&main] {
//       payroll::Act_NewSetExecute(*data::DataModule1, payroll::importPrompts(&main)); });
//
// (the same with Act_CopyZaltonExecute and ActCopyZalton2Execute).
#pragma once

#include <functional>
#include <optional>

#include "import/importactions.h"

class QWidget;

namespace payroll {

// The login box of the recorder's Jet file (object name "dlgRecorderLogin"):
// caption "データベース ログイン", the file's name, the edits EditUserName
// (starting with the request's user name) and EditPassword (hidden input),
// buttons "OK" and "キャンセル". nullopt when cancelled.
std::optional<LoginAnswer> askRecorderLogin(QWidget* parent, const LoginRequest& request);

// File choice through the dialog seam (caption "開く", the dialog's filter
// as Qt reads it), the login box above, the import run as a long job (the
// wait cursor from the file choice to the end, and after a second the
// progress dialog "dlgProgress" whose Cancel rolls the import back; see
// ui::runLongJob), and the three punch buttons:
// `setPunchButtons` when given, else mainlink::setPunchButtons on `owner`
// (the buttons btnDayRep, btnJ_Meisai, btnTimeRep and their actions).
ImportPrompts importPrompts(QWidget* owner, std::function<void(bool)> setPunchButtons = {});

}  // namespace payroll
