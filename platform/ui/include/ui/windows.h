// Finding the program's windows and their controls by object name, for the
// windows that read another window's fields ("EditYY" of "frmMain") or drive
// its buttons without linking its code.
#pragma once

#include <QString>
#include <QWidget>

namespace ui {

// The top-level window of that object name: the newest visible one, else the
// newest one still alive; nullptr when there is none. A form that has been
// freed but not yet deleted is not found.
QWidget* topLevelWindow(const QString& objectName);

// The control of `window` with that object name and type, not one of a
// window that `window` owns (sub-windows are children of their owner and may
// use the same names); nullptr when there is none or `window` is null.
template <class T = QWidget>
T* childOf(QWidget* window, const QString& objectName) {
    if (!window) return nullptr;
    for (T* w : window->findChildren<T*>(objectName))
        if (w->window() == window) return w;
    return nullptr;
}

// Both in one: the control of the top-level window of that name.
template <class T = QWidget>
T* childOf(const QString& windowName, const QString& objectName) {
    return childOf<T>(topLevelWindow(windowName), objectName);
}

}  // namespace ui
