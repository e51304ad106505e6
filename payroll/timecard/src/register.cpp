#include "timecard/register.h"

#include "timecard/TimeInp.h"
#include "timecard/TimeInpRep.h"

namespace timecard {

void registerWindows(const std::function<void(const QString& formName, FormFactory create)>& add) {
    add(QStringLiteral("frmTimeInp"), [](QWidget* owner) -> QObject* { return ui::createForm<TfrmTimeInp>(owner); });
    add(QStringLiteral("frmTimeInpRep"),
        [](QWidget* owner) -> QObject* { return ui::createForm<TfrmTimeInpRep>(owner); });
}

}  // namespace timecard
