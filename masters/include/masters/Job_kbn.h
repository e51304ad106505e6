// The work categories frmJob_kbn ("区分マスタ"): table 区分, whose shift
// windows and rounding units the attendance computations read. Every field
// is checked when the focus leaves it; a refused value shows
// "データを確認して下さい。" and keeps the focus.
#pragma once

#include "masters/masterform.h"

namespace db {
class Dataset;
}
namespace ui {
class Button;
class DBGrid;
}  // namespace ui

class TfrmJob_kbn : public masters::MasterForm {
    Q_OBJECT
public:
    explicit TfrmJob_kbn(QWidget* parent = nullptr);
    ~TfrmJob_kbn() override;

    // The field columns in edit order: DBEdit1 the code, DBEdit2..DBEdit17
    // the sixteen times, DBEdit18 the rounding method, DBEdit19..DBEdit21 the
    // rounding units, DBEdit22 the overtime base hours.
    static QStringList fieldColumns();

    void DBEdit1Exit();              // code rule
    void timeFieldExit(int editNo);  // DBEdit2Exit .. DBEdit17Exit, DBEdit22Exit: time rule
    void DBEdit18Exit() {}           // the rounding method is not checked
    void unitFieldExit(int editNo);  // DBEdit19Exit .. DBEdit21Exit: unit rule
    // Before every post while the window is open: every checked field of the
    // row again, so a value typed just before "登録" is checked too.
    void Job_kbnBeforePost(db::Dataset& dataSet);

    ui::DBGrid* DBGrid1 = nullptr;
    ui::DBNavigator* DBNavigator1 = nullptr;
    ui::Button* btnClose = nullptr;
    ui::DBEdit* edits[23] = {};  // edits[n] is DBEditn

protected:
    void FormCreate() override;
    void FormShow() override;
    void FormClose(ui::CloseAction& action) override;

private:
    // Reads the column of DBEdit`editNo`, applies its rule, writes a changed
    // text back or refuses with the message. No rule: nothing to do.
    void applyRule(db::Dataset& ds, int editNo);
};

extern TfrmJob_kbn* frmJob_kbn;
