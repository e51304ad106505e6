// The column captions frmTitle_mas ("タイトルマスタ"): the title_mas row
// CODE = 1, whose texts title the allowance and deduction columns of the
// employee master, the pay records and the reports. An emptied caption is
// stored as NULL, never as an empty text.
#pragma once

#include "masters/masterform.h"

namespace db {
class Dataset;
}
namespace ui {
class Button;
}

class TfrmTitle_mas : public masters::MasterForm {
    Q_OBJECT
public:
    explicit TfrmTitle_mas(QWidget* parent = nullptr);
    ~TfrmTitle_mas() override;

    // DBEdit1 CODE, DBEdit2..DBEdit9 GKING1..GKING8, DBEdit10 GKINGH,
    // DBEdit11..DBEdit13 SKING1..SKING3.
    static QStringList fieldColumns();

    // DBEdit2Exit .. DBEdit13Exit: the caption rule of one field.
    void captionFieldExit(int editNo);
    // Before every post while the window is open: every emptied caption NULL.
    void Qtitle_masBeforePost(db::Dataset& dataSet);

    ui::DBNavigator* DBNavigator1 = nullptr;
    ui::Button* btnClose = nullptr;

protected:
    void FormCreate() override;
    void FormShow() override;
    void FormClose(ui::CloseAction& action) override;
};

extern TfrmTitle_mas* frmTitle_mas;
