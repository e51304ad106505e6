#include "total/register.h"

#include "total/Total.h"
#include "total/TotalB.h"
#include "total/calcdialogs.h"

namespace total {

void registerWindows(const std::function<void(const QString& formName, FormFactory create)>& add) {
    add(QStringLiteral("frmTotal"), [](QWidget* owner) -> QObject* { return ui::createForm<TfrmTotal>(owner); });
    add(QStringLiteral("frmTotalB"), [](QWidget* owner) -> QObject* { return ui::createForm<TfrmTotalB>(owner); });
    add(QStringLiteral("DlgCalcTime"), [](QWidget* owner) -> QObject* { return ui::createForm<TDlgCalcTime>(owner); });
    add(QStringLiteral("DlgCalcCount"),
        [](QWidget* owner) -> QObject* { return ui::createForm<TDlgCalcCount>(owner); });
}

}  // namespace total
