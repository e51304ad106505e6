#include "paydata/ClockDialogs.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "data/DB_Acs.h"
#include "paydata/MainRep.h"
#include "rtl/datetime.h"
#include "rtl/errors.h"
#include "rtl/qt.h"
#include "ui/action.h"
#include "ui/dialogs.h"
#include "ui/fonts.h"
#include "ui/maskedit.h"
#include "ui/windows.h"

TDlgInTime* DlgInTime = nullptr;
TDlgOutTime* DlgOutTime = nullptr;

TClockDialog::TClockDialog(const QString& objectName, const QString& caption, const char* fieldName, QWidget* parent,
                           data::TDataModule1* dm)
    : ui::Form(objectName, parent), dm_(dm), field_(fieldName) {
    setWindowTitle(caption);
    setWindowFlag(Qt::Dialog);
    setFont(ui::defaultFont());
    MaskEdit1 = new ui::MaskEdit(QStringLiteral("MaskEdit1"), QStringLiteral("!99/99/00;1;_"), this);
    MaskEdit2 = new ui::MaskEdit(QStringLiteral("MaskEdit2"), QStringLiteral("!90:00:00>;1;_"), this);
    MaskEdit1->setFixedWidth(90);
    MaskEdit2->setFixedWidth(80);
    Button1 = new ui::Button(QStringLiteral("Button1"), QStringLiteral("Cancel"), this);
    Button2 = new ui::Button(QStringLiteral("Button2"), QStringLiteral("OK"), this);
    auto* label = new QLabel(QStringLiteral("出社時刻入力"), this);
    label->setObjectName(QStringLiteral("Label1"));
    label->setBuddy(MaskEdit1);
    auto* fields = new QHBoxLayout;
    fields->addWidget(MaskEdit1);
    fields->addWidget(MaskEdit2);
    fields->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    auto* lay = new QVBoxLayout(this);
    lay->addWidget(label);
    lay->addLayout(fields);
    lay->addLayout(buttons);
    MaskEdit1->setAccessibleName(caption + QStringLiteral(" 日付"));
    MaskEdit2->setAccessibleName(caption + QStringLiteral(" 時刻"));
}

void TClockDialog::FormCreate() {
    setEnterMovesFocus(true);
    Button1->setOnClick([this] { Button1Click(); });
    Button2->setOnClick([this] { Button2Click(); });
}

void TClockDialog::FormShow() {
    data::TDataModule1* dm = dm_ ? dm_ : data::DataModule1;
    row_.reset();
    double value = 0;
    if (dm && dm->kimu_tran.active() && !dm->kimu_tran.isEmpty()) {
        db::Table& t = dm->kimu_tran;
        row_ = t.bookmark();
        value = t[field_].asDateTime();
    }
    MaskEdit1->setText(rtl::toQString(rtl::formatDateTime("yy/mm/dd", value)));
    MaskEdit2->setText(rtl::toQString(rtl::formatDateTime("hh:nn:ss", value)));
    MaskEdit1->setFocus();
}

void TClockDialog::Button1Click() { close(); }

void TClockDialog::Button2Click() {
    // A text that is no date or time is refused here and the dialog stays open.
    const double value =
        rtl::strToDateTime(rtl::fromQString(MaskEdit1->text()) + " " + rtl::fromQString(MaskEdit2->text()));
    data::TDataModule1* dm = dm_ ? dm_ : data::DataModule1;
    // The row the dialog was opened for, wherever the grid has moved since.
    db::Table* t = dm ? &dm->kimu_tran : nullptr;
    if (!row_ || !t || !t->active() || !t->gotoBookmark(*row_)) {
        ui::showMessage(QStringLiteral("時刻を訂正する勤怠データが見つかりません。"));
        return;
    }
    t->edit();
    (*t)[field_].setAsDateTime(value);
    if (auto* window = qobject_cast<TfrmMainRep*>(ui::topLevelWindow(QStringLiteral("frmMainRep"))))
        window->Act_TimeCalc->execute();
    close();
}

TDlgInTime::TDlgInTime(QWidget* parent, data::TDataModule1* dm)
    : TClockDialog(QStringLiteral("DlgInTime"), QStringLiteral("出勤時刻"), "K_INTIM", parent, dm) {}

TDlgOutTime::TDlgOutTime(QWidget* parent, data::TDataModule1* dm)
    : TClockDialog(QStringLiteral("DlgOutTime"), QStringLiteral("退勤時刻"), "K_OUTTIM", parent, dm) {}
