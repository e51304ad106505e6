// The company frmCompany (title panel "会社情報"): the one row of table 会社,
// among it the closing day 締日 that the pay period is derived from, which
// is refused unless the period rules can use it (empty or 1 to 31). Only
// post and cancel are offered, so the window edits the existing row.
#pragma once

#include "masters/masterform.h"

namespace ui {
class Button;
}

class TfrmCompany : public masters::MasterForm {
    Q_OBJECT
public:
    explicit TfrmCompany(QWidget* parent = nullptr);
    ~TfrmCompany() override;

    static QStringList fieldColumns();  // DBEdit1 .. DBEdit13 in this order

    ui::DBNavigator* DBNavigator1 = nullptr;
    ui::Button* btnClose = nullptr;

    // The check of the closing day (DBEdit10), on exit and before a post.
    void DBEdit10Exit();

protected:
    void FormCreate() override;
    void FormShow() override;
    void FormClose(ui::CloseAction& action) override;

private:
    ui::DBEdit* closingDay_ = nullptr;
};

extern TfrmCompany* frmCompany;
