// The general settings frmSys_mas ("基本設定"): the first row of sys_mas
// (recorder kind, nursing-care ages, insurance rates per mille, pay-slip
// layout). Closing it hands the recorder kind REC_YN to the main window,
// which sets its recorder controls by it.
#pragma once

#include <functional>
#include <string>

#include "masters/masterform.h"

namespace ui {
class Button;
}

namespace masters {
// What closing the settings window does with the recorder kind REC_YN (as
// the row shows it, posted or not): the main window installs a handler that
// sets its recorder controls as its start-up does. Without one, nothing.
void setRecorderKindHandler(std::function<void(const std::string& recYN)> handler);
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

private:
    // The name a refusal gives to DBEdit<n> ("ﾀｲﾑﾚｺｰﾀﾞ", "保険料率（会社負担分）").
    static QString fieldName(int editNo);
    // Refuses a recorder kind the program does not know (DBEdit3) and a
    // negative rate (DBEdit6 .. DBEdit15), naming the field.
    void checkField(int editNo);
    void sys_masBeforePost();

    ui::DBEdit* edits_[17] = {};
};

extern TfrmSys_mas* frmSys_mas;
