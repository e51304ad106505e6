// The windows of this folder, for the main window's hub.
#pragma once

#include <QObject>
#include <QString>
#include <QWidget>

#include <functional>

namespace timecard {

using FormFactory = std::function<QObject*(QWidget* owner)>;

// Calls `add` once for each window, with its form object name
// ("frmTimeInp", "frmTimeInpRep") and a factory that creates it (create step
// run) as a window owned by `owner`.
void registerWindows(const std::function<void(const QString& formName, FormFactory create)>& add);

}  // namespace timecard
