// The general settings frmSys_mas ("基本設定"): the first row of sys_mas
// (recorder kind, nursing-care ages, insurance rates per mille, pay-slip
// layout). Closing it shows or hides the main window's recorder controls
// by the recorder kind REC_YN.
#pragma once

#include "masters/masterform.h"

namespace ui {
class Button;
}

namespace masters {
// Shows or hides the main window's Panel1, btnDataSet and btnemp_mas. The
// main window is the top-level window named "frmMain"; without one, nothing
// happens.
void showRecorderControls(bool shown);
}  // namespace masters

class TfrmSys_mas : public masters::MasterForm {
    Q_OBJECT
public:
    explicit TfrmSys_mas(QWidget* parent = nullptr);
    ~TfrmSys_mas() override;

    // DBEdit1 .. DBEdit16 in this order.
    static QStringList fieldColumns();

    ui::DBNavigator* DBNavigator1 = nullptr;
    ui::Button* btnClose = nullptr;

protected:
    void FormCreate() override;
    void FormShow() override;
    // Applies REC_YN to the main window, then closes sys_mas.
    void FormClose(ui::CloseAction& action) override;
};

extern TfrmSys_mas* frmSys_mas;
