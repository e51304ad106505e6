// Opening documents and starting sibling programs through the desktop, with
// a seam that tests replace so that nothing is launched while they run.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace app {

// Opens a file (a relative name is taken against the current directory) or
// a URL with the desktop's handler. Returns false when nothing could open it;
// callers that have nothing to say about it ignore the result.
bool openDocument(const QString& fileOrUrl);

// Opens the help page Tallyra2.htm of the current directory; the program's
// own copy is put there first when the folder has none.
bool openHelpPage();
inline constexpr const char* HelpPageName = "Tallyra2.htm";

// Starts a sibling program by its bare name without waiting for it: looked up
// first in the folder of this program, then on the search path. Returns
// false when no such program is found or it cannot be started.
bool startProgram(const QString& name);

// Where startProgram looks for `name`: the program's folder, then PATH; empty
// when not found.
QString findProgram(const QString& name);

// Test seam: while set, openDocument and startProgram call these instead.
struct ShellHooks {
    std::function<bool(const QString& fileOrUrl)> openDocument;
    std::function<bool(const QString& program)> startProgram;  // receives the found path
};
void setShellHooksForTesting(ShellHooks hooks);
void resetShellHooks();

}  // namespace app
