// Small helpers shared by the window tests.
#pragma once

#include <QApplication>
#include <QTest>
#include <QWidget>

namespace testutil {

// Shows a window and makes it the active one, so focus changes are real.
inline bool showActive(QWidget* w) {
    w->show();
    QApplication::setActiveWindow(w);
    w->activateWindow();
    return QTest::qWaitForWindowActive(w, 2000);
}

inline QWidget* focused() { return QApplication::focusWidget(); }

template <class T = QWidget>
T* child(QWidget* root, const char* name) {
    return root->findChild<T*>(QString::fromUtf8(name));
}

}  // namespace testutil
