// The pay-data window and its dialogs, for the main window's hub.
#pragma once

#include <QObject>
#include <QString>
#include <QWidget>

#include <functional>

namespace paydata {

using FormFactory = std::function<QObject*(QWidget* owner)>;

// Calls `add` with the form object name "frmMainRep" and its factory.
void registerWindows(const std::function<void(const QString& formName, FormFactory create)>& add);

// Creates DlgOutTime and then DlgInTime (start-up); both are returned so the
// caller frees them at the end.
QObject* createDlgOutTime();
QObject* createDlgInTime();

}  // namespace paydata
