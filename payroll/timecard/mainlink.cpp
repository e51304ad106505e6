#include "timecard/mainlink.h"

#include <QApplication>
#include <QLineEdit>
#include <QWidget>

#include "ui/action.h"
#include "ui/form.h"

namespace timecard {

QWidget* findWindow(const QString& objectName) {
    QWidget* alive = nullptr;
    QWidget* visible = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() != objectName) continue;
        alive = w;
        if (w->isVisible()) visible = w;
    }
    return visible ? visible : alive;
}

void setPunchButtons(bool havePunches) {
    QWidget* main = findWindow(QStringLiteral("frmMain"));
    if (!main) return;
    for (const char* name : {"btnDayRep", "btnJ_Meisai", "btnTimeRep"}) {
        QWidget* w = main->findChild<QWidget*>(QString::fromLatin1(name));
        if (!w) continue;
        // A button linked to an action follows it, so the action changes too.
        if (auto* b = qobject_cast<ui::Button*>(w); b && b->action()) b->action()->setEnabled(havePunches);
        w->setEnabled(havePunches);
    }
}

void showEmployeePicker(const QString& tag) {
    QWidget* picker = findWindow(QStringLiteral("frmEmp_seek"));
    if (!picker) return;
    if (auto* edit = picker->findChild<QLineEdit*>(QStringLiteral("Edit1"))) edit->setText(tag);
    if (auto* form = qobject_cast<ui::Form*>(picker))
        form->showModeless();
    else {
        picker->show();
        picker->raise();
        picker->activateWindow();
    }
}

}  // namespace timecard
