#include "reports/Emp_Prt.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "data/DB_Acs.h"
#include "data/queries.h"
#include "reports/forms.h"
#include "ui/action.h"
#include "ui/dbgrid.h"
#include "ui/dialogs.h"

TfrmEmp_Prt* frmEmp_Prt = nullptr;

namespace {
data::TDataModule1& dm() { return data::dataModule(); }
}  // namespace

TfrmEmp_Prt::TfrmEmp_Prt(QWidget* parent) : ui::Form(QStringLiteral("frmEmp_Prt"), parent) {
    if (!frmEmp_Prt) frmEmp_Prt = this;
    setWindowTitle(QStringLiteral("封筒印刷選択"));
    auto* root = new QHBoxLayout(this);
    DBGrid1 = new ui::DBGrid(QStringLiteral("DBGrid1"), this);
    DBGrid1->setColumns({{"E_TANCOD", QStringLiteral("社員ｺｰﾄﾞ"), 80, true, true, false},
                         {"E_NAME", QStringLiteral("氏名"), 160, true, true, false},
                         {"E_JOBKBN", QStringLiteral("区分"), 50, true, true, false},
                         {"PRT_FLG", QStringLiteral("印刷"), 50, true, false, false}});
    DBGrid1->setPickList(3, {QStringLiteral("0"), QStringLiteral("1")});
    DBGrid1->setDataSource(&dm().DSQ_emp_tankaP);
    root->addWidget(DBGrid1, 1);

    auto* side = new QVBoxLayout;
    btnChkAll = new ui::Button(QStringLiteral("btnChkAll"), QStringLiteral("全て選択"), this);
    Label1 = new QLabel(QStringLiteral("選択 => 1 / 解除 => 0"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    btnChkNo = new ui::Button(QStringLiteral("btnChkNo"), QStringLiteral("全て取消"), this);
    btnPrt = new ui::Button(QStringLiteral("btnPrt"), QStringLiteral("印刷 右"), this);
    btnPrtC = new ui::Button(QStringLiteral("btnPrtC"), QStringLiteral("印刷 中央"), this);
    btnClose = new ui::Button(QStringLiteral("btnClose"), QStringLiteral("&Q 閉じる"), this);
    EditPName = new QLineEdit(this);
    EditPName->setObjectName(QStringLiteral("EditPName"));
    EditPName->setVisible(false);
    side->addWidget(btnChkAll);
    side->addWidget(Label1);
    side->addWidget(btnChkNo);
    side->addSpacing(16);
    side->addWidget(btnPrt);
    side->addWidget(btnPrtC);
    side->addStretch(1);
    side->addWidget(btnClose);
    root->addLayout(side);

    btnChkAll->setOnClick([this] { btnChkAllClick(); });
    btnChkNo->setOnClick([this] { btnChkNoClick(); });
    btnPrt->setOnClick([this] { btnPrtClick(); });
    btnPrtC->setOnClick([this] { btnPrtCClick(); });
    btnClose->setOnClick([this] { btnCloseClick(); });
    resize(520, 420);
}

TfrmEmp_Prt::~TfrmEmp_Prt() {
    delete frmQR_FutoL4.data();
    delete frmQR_FutoL4C.data();
    if (frmEmp_Prt == this) frmEmp_Prt = nullptr;
}

void TfrmEmp_Prt::FormCreate() {
    frmQR_FutoL4 = new reports::TfrmQR_FutoL4(this);
    frmQR_FutoL4C = new reports::TfrmQR_FutoL4C(this);
}

void TfrmEmp_Prt::FormShow() {
    db::Query& q = dm().Q_emp_tankaP;
    if (!q.active()) q.open();
}

void TfrmEmp_Prt::reopen() {
    db::Query& q = dm().Q_emp_tankaP;
    q.close();
    q.open();
}

void TfrmEmp_Prt::btnChkAllClick() {
    data::setEnvelopeMarks(dm(), true);
    reopen();
}

void TfrmEmp_Prt::btnChkNoClick() {
    data::setEnvelopeMarks(dm(), false);
    reopen();
}

void TfrmEmp_Prt::preview(reports::ReportForm* report) {
    db::Query& q = dm().Q_emp_tankaP;
    if (q.state() == db::DatasetState::Edit || q.state() == db::DatasetState::Insert) q.post();
    EditPName->setText(QStringLiteral("QR_FutoL4"));
    // No envelope to print: say so rather than offer blank envelopes.
    if (data::countEnvelopes(dm()) == 0) {
        ui::showMessage(QStringLiteral("印刷対象がありません"));
        return;
    }
    if (report) report->Preview();
}

void TfrmEmp_Prt::btnPrtClick() { preview(frmQR_FutoL4.data()); }

void TfrmEmp_Prt::btnPrtCClick() { preview(frmQR_FutoL4C.data()); }

void TfrmEmp_Prt::btnCloseClick() { close(); }

void TfrmEmp_Prt::FormClose(ui::CloseAction&) {
    delete frmQR_FutoL4.data();
    delete frmQR_FutoL4C.data();
    dm().Q_emp_tankaP.close();
}
