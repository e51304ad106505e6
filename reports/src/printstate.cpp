#include "reports/printstate.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QWidget>

#include "period/keys.h"
#include "rtl/qt.h"
#include "ui/windows.h"

namespace reports {

std::string PrintState::payKey() const { return period::payRecordKey(year, month, weekly, periodTo); }

std::string PrintState::bonusKey() const { return period::bonusKey(bonusYear, bonusNumber); }

namespace {

std::string edit(QWidget* w, const char* name) {
    auto* e = ui::childOf<QLineEdit>(w, QString::fromLatin1(name));
    return e ? rtl::fromQString(e->text()) : std::string();
}

bool ticked(QWidget* w, const char* name) {
    auto* c = ui::childOf<QCheckBox>(w, QString::fromLatin1(name));
    return c && c->isChecked();
}

}  // namespace

PrintState printStateOf(QWidget* w) {
    PrintState s;
    if (!w) return s;
    s.year = edit(w, "EditYY");
    s.month = edit(w, "EditMM");
    s.bonusYear = edit(w, "EditYY2");
    if (auto* c = ui::childOf<QComboBox>(w, QStringLiteral("ComboBox1")))
        s.bonusNumber = rtl::fromQString(c->currentText());
    s.periodFrom = edit(w, "EditD1");
    s.periodTo = edit(w, "EditD2");
    s.weekly = ticked(w, "CheckBox2");
    s.byCategory = ticked(w, "CheckBox1");
    s.rangeFromYear = edit(w, "EditYYS");
    s.rangeFromMonth = edit(w, "EditMMS");
    s.rangeToYear = edit(w, "EditYYE");
    s.rangeToMonth = edit(w, "EditMME");
    s.workDir = edit(w, "Edit1");
    return s;
}

PrintState currentPrintState() {
    PrintState s = printStateOf(ui::topLevelWindow(QStringLiteral("frmMain")));
    s.employee = edit(ui::topLevelWindow(QStringLiteral("frmGensenInp")), "Edit1");
    return s;
}

}  // namespace reports
