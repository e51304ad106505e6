// The main window's import actions as whole steps: ask for the file, (for a
// Jet file) ask for the login, import, and tell the window how to set its
// three punch buttons. The window supplies the dialogs; nothing here
// touches a widget, so the main window's handler is one line:
//
//   main.action("Act_NewSet")->setHandler([&main] {
//       payroll::Act_NewSetExecute(*data::DataModule1, payroll::importPrompts(main)); });
//
// where importPrompts builds the callbacks below from the window's dialogs.
// Errors propagate to the handler guard, which shows them in the error box.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "import/recorderimport.h"

namespace data {
class TDataModule1;
}

namespace payroll {

// The file dialogs of the main window.
struct FileDialogSetup {
    std::string name;    // "OpenDialog1", "OpenDialog2"
    std::string filter;  // as the window shows it: "desc|pattern|desc|pattern"
};
extern const FileDialogSetup kOpenDialog1;  // "MSAccess(*.mdb)|*.mdb"
extern const FileDialogSetup
    kOpenDialog2;  // "コンマ区切りテキスト(*.csv)|*.CSV|テキストファイル(*.txt)|*.TXT|すべてのファイル(*.*)|*.*"

// The same filter for QFileDialog: "desc (p1 p2);;desc (p)". File names on
// Linux are case-sensitive, so every extension pattern is offered in lower
// and upper case ("*.csv *.CSV").
std::string qtFileFilter(const std::string& filter);

// The login of the recorder's Jet file. The file is always opened read
// only; mdbtools has no user-level security, so the answers are not used.
struct LoginRequest {
    std::string file;
    std::string userName = "Admin";  // Jet's default user
};
struct LoginAnswer {
    std::string userName;
    std::string password;
};

struct ImportPrompts {
    // The chosen file's full path; empty when the user cancelled.
    std::function<std::string(const FileDialogSetup&)> chooseFile;
    // nullopt when the user cancelled. Unset: no login is asked.
    std::function<std::optional<LoginAnswer>(const LoginRequest&)> login;
    // true enables btnDayRep, btnJ_Meisai and btnTimeRep, false disables
    // them. Not called when the action was cancelled or failed.
    std::function<void(bool havePunches)> setPunchButtons;
    // Runs the import itself once the file is chosen (and the login
    // answered), handing it the progress callback: the window shows that it
    // works for as long as the import runs (wait cursor, and a progress
    // dialog with Cancel when it takes long). Unset: the import just runs.
    using Import = std::function<void(const ImportProgress&)>;
    std::function<void(const Import&)> runImport;
};

// Each returns the punch count after the import, or nullopt when the user
// cancelled (the file choice, the login, or the import while it ran; the
// tables are then unchanged). A failure raises, with the tables as they
// were before the action.
std::optional<long long> Act_NewSetExecute(data::TDataModule1& dm, const ImportPrompts& prompts);
std::optional<long long> Act_CopyZaltonExecute(data::TDataModule1& dm, const ImportPrompts& prompts);
std::optional<long long> ActCopyZalton2Execute(data::TDataModule1& dm, const ImportPrompts& prompts);

}  // namespace payroll
