#include "maintenance/registration.h"

#include "maintenance/DB_Pack.h"
#include "maintenance/NenCopy.h"
#include "maintenance/SysSet.h"

namespace maintenance {

namespace {
template <class T>
FormFactory factory(const char* name) {
    return {QString::fromLatin1(name), [](QWidget* owner) -> QObject* { return ui::createForm<T>(owner); }};
}
}  // namespace

std::vector<FormFactory> maintenanceForms() {
    return {factory<TfrmSysSet>("frmSysSet"), factory<TDlgNenCopy>("DlgNenCopy"), factory<TfrmDB_Pack>("frmDB_Pack")};
}

}  // namespace maintenance
