// What the three windows share: the working folder, message lines and the
// main window's action, reached by name so this folder links no main window.
#pragma once

#include <QString>

#include <exception>
#include <string>

namespace maintenance {

// The main window's working folder (its field Edit1); the current
// directory when there is no main window.
QString mainWorkDir();

// Runs the main window's action of that name; false when there is none.
bool runMainAction(const QString& name);

// Lines joined for a message box; empty lines are left out.
QString lines(std::initializer_list<QString> parts);
QString reasonOf(const std::exception& e);

}  // namespace maintenance
