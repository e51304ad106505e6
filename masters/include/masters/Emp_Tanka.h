// The employee master frmEmp_Tanka ("個人単価表"): table emp_tanka with a
// read-only list on the left and three pages of fields on the right.
//
// New rows get their code, rate and card-number defaults as the user moves
// through the fields; a row is stored only when its employee number E_NO and
// its code E_TANCOD name the same number (the pay tables rely on it).
#pragma once

#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

#include "masters/masterform.h"

class QLabel;
class QTabWidget;

namespace db {
class Dataset;
}
namespace ui {
class Button;
class DBGrid;
class DBLookupComboBox;
class DBRadioGroup;
}  // namespace ui

class TfrmEmp_Tanka : public masters::MasterForm {
    Q_OBJECT
public:
    explicit TfrmEmp_Tanka(QWidget* parent = nullptr);
    ~TfrmEmp_Tanka() override;

    // Entering "社員番号": while E_TANCOD is NULL the row takes the default
    // code (E_NO as six digits) and the default rate flags and rates.
    void DBEdit2Enter();
    // Leaving "カード番号": an empty card number becomes the code.
    void DBEdit4Exit();
    // Showing / hiding the page "  手当単価  ": the allowance kinds and the
    // captions of the allowance and deduction rows.
    void TabSheet2Show();
    void TabSheet2Hide();
    // After any navigator button: back to the first page, or to "NO".
    void DBNavigator1Click(ui::NavButton button);

    // The refusal of a row whose keys disagree (run before every post while
    // the window is open): shows the message and aborts silently.
    void emp_tankaBeforePost(db::Dataset& dataSet);

    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet1 = nullptr;
    QWidget* TabSheet2 = nullptr;
    QWidget* TabSheet3 = nullptr;
    ui::DBGrid* DBGrid1 = nullptr;
    ui::DBNavigator* DBNavigator1 = nullptr;
    ui::Button* btnClose = nullptr;
    ui::DBEdit* DBEdit1 = nullptr;  // E_NO
    ui::DBEdit* DBEdit2 = nullptr;  // E_TANCOD
    ui::DBEdit* DBEdit4 = nullptr;  // E_CARDNO

protected:
    void FormCreate() override;
    void FormShow() override;
    void FormClose(ui::CloseAction& action) override;

private:
    void buildPage1(QWidget* page);
    void buildPage2(QWidget* page);
    void buildPage3(QWidget* page);
    void sizeFields();

    db::DataSource* source_ = nullptr;
    std::vector<ui::DBLookupComboBox*> kindPickers_;
    QLabel* allowanceLabels_[8][2] = {};
    QLabel* allowance9Label_ = nullptr;
    QLabel* deductionLabels_[3][2] = {};
    int shownPage_ = 0;
};

// The window while it exists (created by the hub).
extern TfrmEmp_Tanka* frmEmp_Tanka;
