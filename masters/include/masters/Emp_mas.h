// The recorder program's employees frmEmp_mas ("社員マスタ"): table 個人 as
// the database copy brought it, edited by hand.
#pragma once

#include "masters/masterform.h"

namespace ui {
class Button;
class DBGrid;
}  // namespace ui

class TfrmEmp_mas : public masters::MasterForm {
    Q_OBJECT
public:
    explicit TfrmEmp_mas(QWidget* parent = nullptr);
    ~TfrmEmp_mas() override;

    ui::DBGrid* DBGrid1 = nullptr;
    ui::DBNavigator* DBNavigator1 = nullptr;
    ui::Button* Button1 = nullptr;

protected:
    void FormCreate() override;
    void FormShow() override;
    void FormClose(ui::CloseAction& action) override;
};

extern TfrmEmp_mas* frmEmp_mas;
