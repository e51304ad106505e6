// The pay-data window: the attendance rows of the pay period, the punch
// import, the recomputations and the month totals, and the column view.
#pragma once

#include <string>

#include "paydata/columnview.h"
#include "ui/form.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace data {
class TDataModule1;
}
namespace attendance {
struct PeriodDates;
}
namespace ui {
class Action;
class Button;
class ComboBox;
class DBGrid;
class DBNavigator;
struct CellStyle;
}  // namespace ui

class TfrmMainRep : public ui::Form {
    Q_OBJECT
public:
    // `dm` defaults to the program's data module.
    explicit TfrmMainRep(QWidget* parent = nullptr, data::TDataModule1* dm = nullptr);

    // The text of the employee box that stands for every employee.
    static QString allEmployees();  // "全社員"

    // ---- window state, set anew on every show ----
    const std::string& periodFirst() const { return first_; }
    const std::string& periodLast() const { return last_; }
    const std::string& monthKey() const { return key_; }

    // ---- actions ----
    void Act_Kinmu0Execute();
    void Act_Kinmu1Execute();
    void Act_KingCalcExecute();
    void Act_ShowExecute();
    void Act_TimeCalcExecute();
    void Act_ViewExecute();
    void Act_FileSaveExecute();
    void Avt_ChangeExecute();
    void btnSeekClick();
    void btnCloseClick();
    void DBGrid1EditButtonClick(int column);
    void DBGrid1DrawColumnCell(ui::CellStyle& cell);

    // ---- controls ----
    ui::ComboBox* ComboBox1 = nullptr;
    ui::Button* btnSeek = nullptr;
    ui::DBNavigator* DBNavigator1 = nullptr;
    ui::DBGrid* DBGrid1 = nullptr;
    QLineEdit* Edit1 = nullptr;  // 出勤回数
    QLineEdit* Edit2 = nullptr;  // 日付重複
    ui::Button* btnKinmu = nullptr;
    ui::Button* btnTime = nullptr;
    ui::Button* btnKingCalc = nullptr;
    ui::Button* Button1 = nullptr;
    ui::Button* btnTimeCalc = nullptr;
    QRadioButton* RadioButton1 = nullptr;
    QRadioButton* RadioButton2 = nullptr;
    QCheckBox* CheckBox[6] = {};
    ui::Button* Button5 = nullptr;
    ui::Button* Button4 = nullptr;
    ui::Button* btnClose = nullptr;
    QLabel* PanelS = nullptr;

    ui::Action* Act_Kinmu0 = nullptr;
    ui::Action* Act_Kinmu1 = nullptr;
    ui::Action* Act_Kinmu2 = nullptr;  // kept in the list; nothing runs it
    ui::Action* Act_KingCalc = nullptr;
    ui::Action* Act_Show = nullptr;
    ui::Action* Act_TimeCalc = nullptr;
    ui::Action* Act_View = nullptr;
    ui::Action* Act_FileSave = nullptr;
    ui::Action* Avt_Change = nullptr;

protected:
    void FormCreate() override;
    void FormShow() override;
    void FormClose(ui::CloseAction& action) override;

private:
    attendance::PeriodDates period() const;
    void applyPeriodFilter();
    void postPendingRow();
    // Refuses (message, silent abort) while the period is not the pay month's.
    void checkPeriodIsCurrent();
    // Shows a refusal of a job.
    void showMessages(const std::vector<std::string>& messages);
    paydata::ColumnView columnView() const;
    std::string workDir() const;

    data::TDataModule1& dm_;
    std::string first_, last_, key_, year_, month_;
    bool weekly_ = false;
};
