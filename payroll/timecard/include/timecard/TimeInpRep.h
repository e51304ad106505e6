// The attendance book: the punches of the punch table for every employee or
// one, corrected, added and deleted before the attendance import reads them.
#pragma once

#include <functional>

#include "ui/form.h"

class QCalendarWidget;
class QGridLayout;
class QHBoxLayout;
class QLineEdit;

namespace data {
class TDataModule1;
}
namespace db {
class Dataset;
}
namespace ui {
class Button;
class ComboBox;
class DBComboBox;
class DBEdit;
class DBGrid;
class DBNavigator;
enum class NavButton;
}  // namespace ui

class TfrmTimeInpRep : public ui::Form {
    Q_OBJECT
public:
    // `dm` defaults to the program's data module.
    explicit TfrmTimeInpRep(QWidget* parent = nullptr, data::TDataModule1* dm = nullptr);
    ~TfrmTimeInpRep() override;

    // The text of the employee box that stands for every employee.
    static QString allEmployees();  // "全社員"

    // ---- handlers ----
    void ComboBox1Change();
    void btnSQL_doClick();
    void DBEdit1Enter();
    void DBEdit4Exit();
    void DBEdit5Exit();
    void DBEdit6Exit();
    void DBEdit7Exit();
    void btnGetMDClick();
    void Button1Click();
    void DBNavigator1BeforeAction(ui::NavButton button);
    void DBNavigator1Click(ui::NavButton button);
    void btnSeekClick();
    void btnCloseClick();

    // ---- controls ----
    ui::ComboBox* ComboBox1 = nullptr;
    ui::Button* btnSeek = nullptr;
    QLineEdit* Edit1 = nullptr;
    ui::Button* btnSQL_do = nullptr;
    ui::Button* Button1 = nullptr;
    ui::DBGrid* DBGrid1 = nullptr;
    ui::DBEdit* DBEdit1 = nullptr;            // IDコード
    ui::DBEdit* DBLookupComboBox1 = nullptr;  // the employee's name (read only)
    ui::DBEdit* DBEdit2 = nullptr;            // the in/out word
    ui::DBEdit* DBEdit4 = nullptr;            // 月
    ui::DBEdit* DBEdit5 = nullptr;            // 日
    ui::DBEdit* DBEdit6 = nullptr;            // 時
    ui::DBEdit* DBEdit7 = nullptr;            // 分
    ui::DBComboBox* DBComboBox1 = nullptr;    // 入退
    QCalendarWidget* MonthCalendar1 = nullptr;
    ui::Button* btnGetMD = nullptr;
    ui::Button* btnClose = nullptr;
    ui::DBNavigator* DBNavigator1 = nullptr;

protected:
    void FormCreate() override;
    void FormShow() override;
    void FormClose(ui::CloseAction& action) override;

private:
    // The constructor's parts, in the order it runs them.
    QHBoxLayout* buildTopBar();
    void buildGrid();
    QGridLayout* buildPunchEditor();
    // The field check of one of the month, day, hour and minute edits.
    void checkField(ui::DBEdit* edit, const char* fieldName, int field);
    // Before every post of the punch list while the window shows it:
    // refuses a punch without its in/out flag, keeping the row in edit.
    void TimeCardInpBeforePost();
    void stopCheckingPosts();
    bool checkingPosts_ = false;
    std::function<void(db::Dataset&)> previousBeforePost_;
    bool allChosen() const;
    data::TDataModule1& dm_;
};
