#include "mainlink/mainlink.h"

#include <QLineEdit>
#include <QWidget>

#include "data/DB_Acs.h"
#include "rtl/qt.h"
#include "ui/action.h"
#include "ui/controls.h"
#include "ui/dbcontrols.h"
#include "ui/form.h"
#include "ui/windows.h"

namespace mainlink {

void setPunchButtons(bool havePunches) { setPunchButtons(ui::topLevelWindow(QStringLiteral("frmMain")), havePunches); }

void setPunchButtons(QWidget* main, bool havePunches) {
    if (!main) return;
    for (const char* name : {"btnDayRep", "btnJ_Meisai", "btnTimeRep"}) {
        QWidget* w = ui::childOf(main, QString::fromLatin1(name));
        if (!w) continue;
        // A button linked to an action follows it, so the action changes too.
        if (auto* b = qobject_cast<ui::Button*>(w); b && b->action()) b->action()->setEnabled(havePunches);
        w->setEnabled(havePunches);
    }
}

void showEmployeePicker(const QString& tag) {
    QWidget* picker = ui::topLevelWindow(QStringLiteral("frmEmp_seek"));
    if (!picker) return;
    if (auto* edit = ui::childOf<QLineEdit>(picker, QStringLiteral("Edit1"))) edit->setText(tag);
    ui::showModeless(picker);
}

void fillEmployeeBox(ui::ComboBox& box, data::TDataModule1& dm, const QString& allText) {
    QStringList names{allText};
    db::Query& emp = dm.Qemp_tanka;
    db::withOpen(emp, [&] { ui::forEachRow(emp, [&](int) { names << rtl::toQString(emp["E_NAME"].asString()); }); });
    box.clear();
    box.setItems(names);
    box.setCurrentIndex(0);
    box.setText(allText);
}

}  // namespace mainlink
