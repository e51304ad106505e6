#include "masters/registration.h"

#include "masters/Company.h"
#include "masters/Emp_Seek.h"
#include "masters/Emp_Tanka.h"
#include "masters/Emp_mas.h"
#include "masters/Job_kbn.h"
#include "masters/Sys_mas.h"
#include "masters/Title_mas.h"

namespace masters {

namespace {
template <class T>
FormFactory factory(const char* name) {
    return {QString::fromLatin1(name), [](QWidget* owner) -> QObject* { return ui::createForm<T>(owner); }};
}
}  // namespace

std::vector<FormFactory> masterForms() {
    return {factory<TfrmEmp_Tanka>("frmEmp_Tanka"), factory<TfrmEmp_mas>("frmEmp_mas"),
            factory<TfrmJob_kbn>("frmJob_kbn"),     factory<TfrmCompany>("frmCompany"),
            factory<TfrmTitle_mas>("frmTitle_mas"), factory<TfrmSys_mas>("frmSys_mas")};
}

TfrmEmp_seek* createEmpSeek(QWidget* owner) { return ui::createForm<TfrmEmp_seek>(owner); }

}  // namespace masters
