// The deduction slip "天引伝票": up to ten deduction lines of one employee
// and pay month with their total, the net pay and the amount to transfer,
// and a picker of predefined items kept in Tenbiki.csv. Shown modally by the
// monthly pay record for the employee of its current row.
#pragma once

#include <array>
#include <filesystem>

#include "payrecord/slip.h"
#include "ui/form.h"

class QCheckBox;
class QFrame;
class QTableWidget;

namespace data {
class TDataModule1;
}
namespace ui {
class Button;
class DBEdit;
class DBNavigator;
}  // namespace ui

class TfrmMainus : public ui::Form {
    Q_OBJECT
public:
    explicit TfrmMainus(QWidget* parent = nullptr, data::TDataModule1* dm = nullptr);
    ~TfrmMainus() override;

    // The pay record the slip belongs to; set before showing.
    void setOrigin(const payrecord::SlipOrigin& origin) { origin_ = origin; }

    // ---- handlers ----
    void Act_kingExecute();   // totals from the lines
    void Act_CB_CLExecute();  // a tick box toggles "行消去"
    void Act_SG_ShowExecute();
    void Act_SG_ReadExecute();
    void Act_SG_WriteExecute();
    void Act_SG_DelExecute();
    void Act_SG_NoExecute();
    void btnClearClick();
    void btnSPClick(int line);
    void btnOKClick();
    void btnCanClick();
    void btnAddClick();
    void btnDelClick();
    void btnInsClick();
    void btnCloseClick();
    // The amount of line n changed.
    void amountChanged(int line);

    // ---- controls ----
    std::array<ui::DBEdit*, 10> amountEdits{};  // DBEdit8, DBEdit11, ... DBEdit35 (M_KING_0..9)
    std::array<ui::DBEdit*, 10> textEdits{};    // M_DAT_0..9
    std::array<QCheckBox*, 10> CheckBoxes{};    // CheckBox1..10
    std::array<ui::Button*, 10> spButtons{};    // btnSP0..9
    ui::Button* btnClear = nullptr;
    ui::Button* btnClose = nullptr;
    ui::DBNavigator* DBNavigator1 = nullptr;
    QFrame* Panel2 = nullptr;
    QTableWidget* StringGrid1 = nullptr;
    ui::Button* btnOK = nullptr;
    ui::Button* btnCan = nullptr;
    ui::Button* btnAdd = nullptr;
    ui::Button* btnDel = nullptr;
    ui::Button* btnIns = nullptr;

    std::filesystem::path itemFile() const { return folder_ / payrecord::TenbikiFile; }

protected:
    void FormCreate() override;
    void FormShow() override;
    void FormClose(ui::CloseAction& action) override;
    void FormDestroy() override;

private:
    payrecord::ItemGrid gridRows() const;
    void setGridRows(const payrecord::ItemGrid& rows, int rowCount);
    data::TDataModule1& dm_;
    payrecord::SlipOrigin origin_;
    std::filesystem::path folder_;
    QString line_;  // the line the picker was opened for
    int observer_ = 0;
    bool totalling_ = false;
};
