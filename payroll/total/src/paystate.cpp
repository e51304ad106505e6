#include "total/paystate.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include "period/keys.h"
#include "rtl/convert.h"
#include "rtl/qt.h"
#include "rtl/strings.h"
#include "ui/windows.h"

namespace total {

namespace {
std::string textOf(QWidget* main, const char* name) {
    if (auto* e = ui::childOf<QLineEdit>(main, QString::fromLatin1(name))) return rtl::fromQString(e->text());
    if (auto* c = ui::childOf<QComboBox>(main, QString::fromLatin1(name))) return rtl::fromQString(c->currentText());
    return {};
}
}  // namespace

PayState readPayState() {
    PayState s;
    QWidget* main = ui::topLevelWindow(QStringLiteral("frmMain"));
    if (!main) return s;
    s.year = textOf(main, "EditYY");
    s.month = textOf(main, "EditMM");
    s.periodLast = textOf(main, "EditD2");
    if (auto* box = ui::childOf<QCheckBox>(main, QStringLiteral("CheckBox2"))) s.weekly = box->isChecked();
    s.bonusYear = textOf(main, "EditYY2");
    s.bonusNumber = textOf(main, "ComboBox1");
    return s;
}

std::string recordKey(const PayState& s) { return period::payRecordKey(s.year, s.month, s.weekly, s.periodLast); }

std::string bonusKey(const PayState& s) { return period::bonusKey(s.bonusYear, s.bonusNumber); }

int payYear(const PayState& s) { return rtl::strToIntDef(rtl::trim(s.year), 0); }

int payMonth(const PayState& s) { return rtl::strToIntDef(rtl::trim(s.month), 0); }

}  // namespace total
