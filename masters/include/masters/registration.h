// How the hub reaches this area's windows without this area knowing the hub:
// a list of form factories under their form object names, which the main
// program registers with its sub-window hub, and the picker that the program
// creates at start.
//
//   for (const auto& f : masters::masterForms()) hub.registerForm(f.formName, f.create);
//   startupObjects().push_back(masters::createEmpSeek());
#pragma once

#include <QString>

#include <functional>
#include <vector>

class QObject;
class QWidget;
class TfrmEmp_seek;

namespace masters {

struct FormFactory {
    QString formName;                                // "frmEmp_Tanka", ...
    std::function<QObject*(QWidget* owner)> create;  // constructs the form and runs its create step
};

// frmEmp_Tanka, frmEmp_mas, frmJob_kbn, frmCompany, frmTitle_mas, frmSys_mas:
// the windows behind the hub commands "個人別単価", "社員マスタ", "区分マスタ",
// "会社情報", "ﾀｲﾄﾙ変更" and "基本設定" (open-window names "Emp_Tanka",
// "Emp_mas", "Job_kbn", "Company", "Title_mas", "Sys_mas").
std::vector<FormFactory> masterForms();

// The employee picker frmEmp_seek, created once after the data module and
// kept until the program ends.
TfrmEmp_seek* createEmpSeek(QWidget* owner = nullptr);

}  // namespace masters
