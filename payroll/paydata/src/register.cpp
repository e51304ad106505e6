#include "paydata/register.h"

#include "paydata/ClockDialogs.h"
#include "paydata/MainRep.h"

namespace paydata {

void registerWindows(const std::function<void(const QString& formName, FormFactory create)>& add) {
    add(QStringLiteral("frmMainRep"), [](QWidget* owner) -> QObject* { return ui::createForm<TfrmMainRep>(owner); });
}

namespace {
// Clears the program-wide reference when its dialog goes.
template <class T>
T* keep(T*& reference, T* dialog) {
    reference = dialog;
    QObject::connect(dialog, &QObject::destroyed, [&reference, dialog] {
        if (reference == dialog) reference = nullptr;
    });
    return dialog;
}
}  // namespace

QObject* createDlgOutTime() { return keep(DlgOutTime, ui::createForm<TDlgOutTime>()); }
QObject* createDlgInTime() { return keep(DlgInTime, ui::createForm<TDlgInTime>()); }

}  // namespace paydata
