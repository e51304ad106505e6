// The envelope selection frmEmp_Prt ("封筒印刷選択"): the employees in
// service with their envelope mark PRT_FLG, buttons that mark or clear
// everyone, and the two envelope previews (name to the right on envelope
// paper, in the centre on A4). The window owns its two envelope reports.
#pragma once

#include <QPointer>

#include "reports/forms.h"
#include "ui/form.h"

class QLabel;
class QLineEdit;

namespace ui {
class Button;
class DBGrid;
}  // namespace ui

class TfrmEmp_Prt : public ui::Form {
    Q_OBJECT
public:
    explicit TfrmEmp_Prt(QWidget* parent = nullptr);
    ~TfrmEmp_Prt() override;

    void btnChkAllClick();
    void btnChkNoClick();
    void btnPrtClick();
    void btnPrtCClick();
    void btnCloseClick();

    reports::ReportForm* envelopeRight() const { return frmQR_FutoL4.data(); }
    reports::ReportForm* envelopeCentre() const { return frmQR_FutoL4C.data(); }

    ui::DBGrid* DBGrid1 = nullptr;
    ui::Button* btnChkAll = nullptr;
    ui::Button* btnChkNo = nullptr;
    ui::Button* btnPrt = nullptr;
    ui::Button* btnPrtC = nullptr;
    ui::Button* btnClose = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* EditPName = nullptr;  // hidden: the name of the report last previewed

protected:
    void FormCreate() override;
    void FormShow() override;
    void FormClose(ui::CloseAction& action) override;

private:
    // Posts the grid's unsaved mark, then previews `report` when anyone
    // marked is in service.
    void preview(reports::ReportForm* report);
    void reopen();

    QPointer<reports::ReportForm> frmQR_FutoL4;
    QPointer<reports::ReportForm> frmQR_FutoL4C;
};

extern TfrmEmp_Prt* frmEmp_Prt;
