// The window that writes the annual wage ledger workbook ("個人別給与台帳"):
// every employee with records in the chosen range, or one employee, from
// the first to the last pay month typed here.
#pragma once

#include <functional>
#include <vector>

#include "reports/ledgerstore.h"
#include "ui/form.h"

class QLineEdit;

namespace data {
class TDataModule1;
}
namespace ui {
class Button;
class ComboBox;
}  // namespace ui

namespace reports {
// Opens a saved document with the desktop's handler; the program sets it
// (tests replace it so that nothing is launched). Unset: nothing is opened.
using DocumentOpener = std::function<bool(const QString& path)>;
void setDocumentOpener(DocumentOpener opener);
}  // namespace reports

class TfrmMKyuyoRep : public ui::Form {
    Q_OBJECT
public:
    // `dm` defaults to the program's data module.
    explicit TfrmMKyuyoRep(QWidget* parent = nullptr, data::TDataModule1* dm = nullptr);

    static QString allEmployees();  // "全社員"

    // ---- handlers ----
    void ComboBox1Change();
    void btnPrintClick();
    void btnCloseClick();

    // ---- controls ----
    ui::ComboBox* ComboBox1 = nullptr;
    QLineEdit* EditYY_S = nullptr;
    QLineEdit* EditMM_S = nullptr;
    QLineEdit* EditYY_E = nullptr;
    QLineEdit* EditMM_E = nullptr;
    QLineEdit* Edit1 = nullptr;  // hidden: the chosen employee's code, "0" for all
    ui::Button* btnPrint = nullptr;
    ui::Button* btnClose = nullptr;

protected:
    void FormShow() override;

private:
    data::TDataModule1& dm_;
    std::vector<reports::LedgerEmployee> choices_;  // behind ComboBox1's items after "全社員"
};
