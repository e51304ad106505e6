#include "reports/register.h"

#include "data/DB_Acs.h"
#include "reports/ClossRep.h"
#include "reports/Emp_Prt.h"
#include "reports/MKyuyoRep.h"
#include "reports/crosstable.h"
#include "ui/dialogs.h"

namespace reports {

void registerWindows(const std::function<void(const QString& formName, FormFactory create)>& add) {
    add(QStringLiteral("frmClossRep"), [](QWidget* owner) -> QObject* { return ui::createForm<TfrmClossRep>(owner); });
    add(QStringLiteral("frmMKyuyoRep"),
        [](QWidget* owner) -> QObject* { return ui::createForm<TfrmMKyuyoRep>(owner); });
    // The envelope selection, which opens its own envelope reports.
    add(QStringLiteral("frmEmp_Prt"), [](QWidget* owner) -> QObject* { return ui::createForm<TfrmEmp_Prt>(owner); });
}

void Act_ClossRepExecute(const std::string& monthKey) {
    buildCrossTable(
        data::dataModule().ADOConnection1, monthKey,
        [](const std::string& text, const std::string& caption) {
            return ui::askYesNo(QString::fromStdString(text), QString::fromStdString(caption));
        },
        [](const std::string& text) { ui::showMessage(QString::fromStdString(text)); });
}

}  // namespace reports
