// The windows of this folder for the main window's hub: form factories under
// their form object names ("frmSysSet", "DlgNenCopy", "frmDB_Pack"), behind
// the commands "ﾃﾞｰﾀﾍﾞｰｽ設定", "データ移行" and "最適化" (open-window names
// "SysSet", "NenCopy", "DB_Pack").
#pragma once

#include <QString>

#include <functional>
#include <vector>

class QObject;
class QWidget;

namespace maintenance {

struct FormFactory {
    QString formName;
    std::function<QObject*(QWidget* owner)> create;  // constructs the form and runs its create step
};

std::vector<FormFactory> maintenanceForms();

}  // namespace maintenance
