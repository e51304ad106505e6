// The year-copy dialog DlgNenCopy ("年次データ作成"): copies the working
// database into a file named for the year in the working folder, then, when
// the user wants, empties the work tables (punches, attendance rows, pay
// records) for the new year.
#pragma once

#include "db/DatabaseIO.h"
#include "ui/form.h"

class QLineEdit;
namespace ui {
class Button;
}

class TDlgNenCopy : public ui::Form {
    Q_OBJECT
public:
    explicit TDlgNenCopy(QWidget* parent = nullptr);
    ~TDlgNenCopy() override;

    // Entering the name field proposes "Wendrasol<this year>.mdb".
    void Edit1Enter();
    // "実行": the copy (asked; a target that is the working database is
    // refused, an existing one asked about; a failed copy ends the command),
    // then the two questions before the work tables are emptied in one
    // transaction.
    void Button2Click();
    // "閉じる".
    void Button1Click();

    // Failure-injection point handed to the copy (tests only).
    void setCopyHook(db::FileJobHook hook) { copyHook_ = std::move(hook); }

    QLineEdit* Edit1 = nullptr;
    ui::Button* Button2 = nullptr;
    ui::Button* Button1 = nullptr;
    QLineEdit* EditDir = nullptr;   // hidden: the target folder (the working folder)
    QLineEdit* EditFile = nullptr;  // hidden: the source file (line 1 of Quendar.ini)

protected:
    void FormShow() override;

private:
    db::FileJobHook copyHook_;
};

extern TDlgNenCopy* DlgNenCopy;
