// The windows and commands of the reports area, for the main window's hub.
#pragma once

#include <QObject>
#include <QString>
#include <QWidget>

#include <functional>
#include <string>

namespace reports {

using FormFactory = std::function<QObject*(QWidget* owner)>;

// Calls `add` once for each window with its form object name
// ("frmClossRep", "frmMKyuyoRep") and a factory that creates it.
void registerWindows(const std::function<void(const QString& formName, FormFactory create)>& add);

// Act_ClossRep: builds the daily cross table of `monthKey` in the program's
// data module, asking and telling through the dialog seam.
void Act_ClossRepExecute(const std::string& monthKey);

}  // namespace reports
