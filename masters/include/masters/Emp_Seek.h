// The employee picker frmEmp_seek ("社員検索"): the employees in service, in
// number order. Created at start and kept until the program ends.
//
// A window that wants an employee writes its caller tag into the hidden
// edit Edit1 and shows the picker; "確定" hands the current employee to that
// window, chosen by the tag, and closes the picker:
//   "GensenInp"  Edit1 of frmGensenInp := the number; focus to it
//   "Total"      the current sum_tran row's S_TANCOD := the number; focus to
//                DBEdit2 of frmTotal (else of frmTotalB when that window has one)
//   "MainRep"    ComboBox1 of frmMainRep := the name; frmMainRep's Avt_Change runs
//   "TimeInp"    Edit1 of frmTimeInp := the card number; focus to it
//   any other tag ("TimeInpRep", "" ...)  nothing is written
// Windows are found by their object names, so the picker needs none of
// their headers. With no employee in service, "確定" only closes.
#pragma once

#include <QString>

#include <cstdint>

#include "ui/form.h"

class QLineEdit;

namespace ui {
class Button;
class DBGrid;
}  // namespace ui

class TfrmEmp_seek : public ui::Form {
    Q_OBJECT
public:
    explicit TfrmEmp_seek(QWidget* parent = nullptr);
    ~TfrmEmp_seek() override;

    // The employee of the current row as the picker hands it on.
    struct Pick {
        std::int64_t number = 0;  // E_NO
        QString numberText;       // E_NO in decimal
        QString name;             // E_NAME, blanks at the ends removed
        QString cardNo;           // E_CARDNO, blanks at the ends removed
    };

    // Writes the caller tag and shows the picker without blocking.
    void showFor(const QString& callerTag);

    void Button1Click();  // "確定"
    void Button2Click();  // "閉じる"

    ui::DBGrid* DBGrid1 = nullptr;
    ui::Button* Button1 = nullptr;
    ui::Button* Button2 = nullptr;
    QLineEdit* Edit1 = nullptr;  // the caller tag (hidden)

protected:
    void FormShow() override;
    void FormClose(ui::CloseAction& action) override;

private:
    static void deliver(const QString& tag, const Pick& pick);
};

extern TfrmEmp_seek* frmEmp_seek;
