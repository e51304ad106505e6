#include "ui/windows.h"

#include "ui/form.h"

#include <QApplication>

namespace ui {

QWidget* topLevelWindow(const QString& objectName) {
    // QApplication::topLevelWidgets() comes in no particular order, so the
    // forms' construction numbers decide which one is newer.
    QWidget* best = nullptr;
    bool bestVisible = false;
    quint64 bestNumber = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() != objectName) continue;
        auto* form = qobject_cast<Form*>(w);
        if (form && form->isFreed()) continue;
        const bool visible = w->isVisible();
        const quint64 number = form ? form->creationNumber() : 0;
        if (!best || (visible && !bestVisible) || (visible == bestVisible && number > bestNumber)) {
            best = w;
            bestVisible = visible;
            bestNumber = number;
        }
    }
    return best;
}

}  // namespace ui
