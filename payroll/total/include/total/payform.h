// What the monthly pay record and the bonus record have in common: one
// layout over the shared pay-record dataset (key, employee, attendance sums,
// the six time kinds, allowances and deductions with their captions, taxes,
// insurance, totals, day counts), the grid, the two navigators, the buttons,
// the employee's working master and the double-click calculation dialogs.
// Each window adds its own handlers; what they compute lives in payrecord/.
#pragma once

#include <QString>

#include <functional>
#include <map>
#include <optional>
#include <string>

#include "payrecord/actions.h"
#include "ui/form.h"

class QLabel;
class QLineEdit;

namespace data {
class TDataModule1;
}
namespace ui {
class Button;
class DBEdit;
class DBGrid;
class DBLookupComboBox;
class DBNavigator;
}  // namespace ui

// Shows a refusal in a plain box and ends the handler silently.
[[noreturn]] void showRefusal(const char* text);

class TPayForm : public ui::Form {
    Q_OBJECT
public:
    ~TPayForm() override;

    // The edit of a column ("S_GKING1") or caption ("GKING1"), by its data field.
    ui::DBEdit* editOf(const QString& field) const;
    ui::DBEdit* edit(const QString& objectName) const;
    const payrecord::WorkingMaster& workingMaster() const { return master_; }
    const std::string& recordKey() const { return key_; }

    // ---- handlers both windows share ----
    void Act_emp_tankaExecute();
    void Act_ChangeExecute();
    void Act_DaysExecute();
    void Act_Null_SetExecute();
    void btnSeekClick();
    void btnCloseClick();
    // Double-click on a time, allowance or deduction field: the dialog opens
    // when the employee's rate or unit amount allows it.
    void fieldDblClick(ui::DBEdit* field);
    // Marks the allowance and deduction fields of kind "0" with a unit amount.
    void markCountFields();

    // ---- controls ----
    ui::DBEdit* DBEdit2 = nullptr;   // S_TANCOD
    ui::DBEdit* DBEdit3 = nullptr;   // S_DATE
    ui::DBEdit* DBEdit5 = nullptr;   // S_DAYS
    ui::DBEdit* DBEdit6 = nullptr;   // S_KINMU
    ui::DBEdit* DBEdit7 = nullptr;   // S_TANJI
    ui::DBEdit* DBEdit8 = nullptr;   // S_BASKING
    ui::DBEdit* DBEdit60 = nullptr;  // S_DAY2
    QLineEdit* Edit1 = nullptr;      // monthly: worked time as h:mm; bonus: the months
    ui::DBLookupComboBox* DBLookupComboBox1 = nullptr;
    ui::DBGrid* DBGrid1 = nullptr;
    ui::DBNavigator* DBNavigator1 = nullptr;
    ui::DBNavigator* DBNavigator2 = nullptr;
    ui::Button* btnKingCalc = nullptr;
    ui::Button* btnNotZei = nullptr;
    ui::Button* btnAllSet = nullptr;
    ui::Button* btnNewSet = nullptr;
    ui::Button* Button1 = nullptr;
    ui::Button* btnSeek = nullptr;
    ui::Button* btnClose = nullptr;
    QLabel* StatusBar1 = nullptr;

protected:
    TPayForm(const QString& name, const QString& caption, bool bonus, QWidget* parent, data::TDataModule1* dm);
    void FormCreate() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    db::Dataset& rows();
    db::Connection& connection();
    // Runs a command; a refusal shows its message and ends the handler silently.
    template <class F>
    void refusable(F&& f);
    // Asks the "新規セット" question when rows exist and replaces them.
    void newSet(const std::string& key, bool bonus);
    // Runs "一括計算" with the field handlers kept still, then puts the focus
    // on the key field and shows a refusal that ended it early.
    void runBatch(const std::function<payrecord::BatchResult()>& batch);

    data::TDataModule1& dm_;
    payrecord::WorkingMaster master_;
    std::string key_;
    bool bonus_ = false;
    bool busy_ = false;  // a command is writing: the field handlers keep still
    // Sets busy_ for its lifetime, so an error cannot leave the handlers still.
    struct Busy {
        bool& flag;
        explicit Busy(bool& f) : flag(f) { flag = true; }
        ~Busy() { flag = false; }
        Busy(const Busy&) = delete;
        Busy& operator=(const Busy&) = delete;
    };

private:
    ui::DBEdit* addEdit(const char* name, const char* field, bool caption = false);
    std::map<QString, ui::DBEdit*> edits_;  // by object name
};

template <class F>
void TPayForm::refusable(F&& f) {
    try {
        f();
    } catch (const payrecord::RecordError& e) {
        showRefusal(e.what());
    }
}
