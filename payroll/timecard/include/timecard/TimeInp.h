// The time-card entry: clock-in and clock-out punches typed by hand into the
// punch table, after a check that the punches already there belong to the
// pay period of the work date.
#pragma once

#include "ui/form.h"

class QFrame;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QLineEdit;

namespace data {
class TDataModule1;
}
namespace ui {
class Button;
class ComboBox;
class DBEdit;
class DBNavigator;
class MaskEdit;
}  // namespace ui

class TfrmTimeInp : public ui::Form {
    Q_OBJECT
public:
    // `dm` defaults to the program's data module.
    explicit TfrmTimeInp(QWidget* parent = nullptr, data::TDataModule1* dm = nullptr);

    // ---- handlers ----
    void Edit1Exit();
    void ComboBox1Change();
    void Button1Click();
    void Button2Click();
    void btnChkClick();
    void btnCloseClick();
    void btnSeekClick();

    // ---- controls ----
    QLabel* Label1 = nullptr;  // heading "出退入力"
    ui::MaskEdit* MaskEdit1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    ui::ComboBox* ComboBox1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLineEdit* Edit3 = nullptr;
    ui::MaskEdit* MaskEdit2 = nullptr;
    ui::Button* Button1 = nullptr;
    ui::Button* Button2 = nullptr;
    ui::Button* btnClose = nullptr;
    ui::Button* btnChk = nullptr;
    ui::Button* btnSeek = nullptr;
    QFrame* Panel1 = nullptr;
    ui::DBEdit* DBEdit1 = nullptr;  // 月
    ui::DBEdit* DBEdit2 = nullptr;  // 日
    ui::DBEdit* DBEdit3 = nullptr;  // 時
    ui::DBEdit* DBEdit4 = nullptr;  // 分
    ui::DBEdit* DBEdit5 = nullptr;  // 秒
    ui::DBEdit* DBEdit6 = nullptr;  // IDコード
    ui::DBEdit* DBEdit7 = nullptr;  // 入退
    ui::DBEdit* DBEdit8 = nullptr;  // 異例コード
    ui::DBEdit* DBEdit9 = nullptr;  // CR
    ui::DBNavigator* DBNavigator1 = nullptr;

protected:
    void FormCreate() override;
    void FormShow() override;
    void FormClose(ui::CloseAction& action) override;

private:
    // The constructor's parts, in the order it runs them.
    void createControls();
    QGridLayout* layOutEntry();
    QHBoxLayout* layOutButtons();
    void buildPunchPanel();  // Panel1: the current row of the punch table
    // Clock-in ("0") and clock-out ("1").
    void punch(const char* inOut);
    data::TDataModule1& dm_;
};
