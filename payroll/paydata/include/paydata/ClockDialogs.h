// The clock-time dialogs of the pay-data window: the clock-in and the
// clock-out of the attendance row they were opened for. Created once at
// start and kept until the program ends.
#pragma once

#include <optional>

#include "ui/form.h"

namespace data {
class TDataModule1;
}
namespace ui {
class Button;
class MaskEdit;
}  // namespace ui

class TClockDialog : public ui::Form {
    Q_OBJECT
public:
    // `fieldName` is K_INTIM or K_OUTTIM.
    TClockDialog(const QString& objectName, const QString& caption, const char* fieldName, QWidget* parent,
                 data::TDataModule1* dm);

    void Button1Click();  // Cancel
    void Button2Click();  // OK

    ui::MaskEdit* MaskEdit1 = nullptr;  // date "yy/mm/dd"
    ui::MaskEdit* MaskEdit2 = nullptr;  // time "hh:nn:ss"
    ui::Button* Button1 = nullptr;
    ui::Button* Button2 = nullptr;

protected:
    void FormCreate() override;
    void FormShow() override;

private:
    data::TDataModule1* dm_;
    const char* field_;
    std::optional<long long> row_;  // the row the dialog was opened for
};

class TDlgInTime : public TClockDialog {
    Q_OBJECT
public:
    explicit TDlgInTime(QWidget* parent = nullptr, data::TDataModule1* dm = nullptr);
};

class TDlgOutTime : public TClockDialog {
    Q_OBJECT
public:
    explicit TDlgOutTime(QWidget* parent = nullptr, data::TDataModule1* dm = nullptr);
};

// The program's two dialogs (null before they are created and after the end).
extern TDlgInTime* DlgInTime;
extern TDlgOutTime* DlgOutTime;
