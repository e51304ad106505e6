#include "total/TotalB.h"

#include <QLabel>
#include <QLineEdit>

#include "data/DB_Acs.h"
#include "rtl/clock.h"
#include "rtl/qt.h"
#include "total/paystate.h"
#include "ui/action.h"
#include "ui/dbcontrols.h"
#include "ui/dbnavigator.h"
#include "ui/dialogs.h"

TfrmTotalB::TfrmTotalB(QWidget* parent, data::TDataModule1* dm)
    : TPayForm(QStringLiteral("frmTotalB"), QStringLiteral("賞与データ"), true, parent, dm) {}

void TfrmTotalB::FormCreate() {
    TPayForm::FormCreate();
    btnKingCalc->setOnClick([this] { btnKingCalcClick(); });
    btnNotZei->setOnClick([this] { btnNotZeiClick(); });
    btnAllSet->setOnClick([this] { btnAllSetClick(); });
    btnNewSet->setOnClick([this] { btnNewSetClick(); });
    Button1->setOnClick([this] { Act_GetKExecute(); });
    setOnEnter(DBEdit8, [this] { Act_KingSetExecute(); });
    setOnExit(DBEdit2, [this] { DBEdit2Exit(); });
    // Every row added under a bonus key is marked as a bonus row.
    DBNavigator1->setOnClick([this](ui::NavButton which) {
        if (which == ui::NavButton::Insert && rows().state() == db::DatasetState::Insert) {
            rows().fieldByName("S_SHOYO_F").setAsString("1");
            rows().fieldByName("S_DATE").setAsString(key_);
        }
    });
    // The key is fixed for the life of the window.
    key_ = total::bonusKey(total::readPayState());
    payrecord::showRecords(rows(), key_);
    Act_ChangeExecute();
}

void TfrmTotalB::FormClose(ui::CloseAction& action) {
    (void)action;
    try {
        if (dm_.Qtitle_mas.active()) dm_.Qtitle_mas.close();
        payrecord::markAllRecords(connection());
    } catch (const std::exception&) {
        // Closing goes on whatever the marks did.
    }
}

void TfrmTotalB::loadEmployee() {
    Act_emp_tankaExecute();
    if (payrecord::hasCurrentRow(rows()) && !rows().fieldByName("S_TANCOD").isNull())
        payrecord::setCategory(rows(), master_);
}

void TfrmTotalB::DBEdit2Exit() {
    loadEmployee();
    markCountFields();
}

void TfrmTotalB::Act_KingSetExecute() {
    if (busy_ || !payrecord::hasCurrentRow(rows())) return;
    loadEmployee();
    payrecord::bonusKingSet(rows(), master_, rtl::fromQString(Edit1->text()));
}

void TfrmTotalB::Act_GetKExecute() {
    if (!payrecord::hasCurrentRow(rows())) return;
    loadEmployee();
    const payrecord::PayContext ctx = payrecord::readPayContext(connection());
    const total::PayState state = total::readPayState();
    const std::optional<payrecord::Yen> prev = payrecord::previousMonthPay(
        connection(), payrecord::yen(rows(), "S_TANCOD"), total::payYear(state), total::payMonth(state), ctx.flags);
    const payrecord::BonusTax tax = payrecord::bonusGetK(rows(), master_, ctx, prev, rtl::today());
    StatusBar1->setText(rtl::toQString(payrecord::describeBonusTax(tax)));
}

void TfrmTotalB::Act_GetK2Execute() {
    if (!payrecord::hasCurrentRow(rows())) return;
    loadEmployee();
    payrecord::bonusGetK2(rows(), payrecord::readPayContext(connection()));
}

void TfrmTotalB::Act_TotalExecute() {
    if (!payrecord::hasCurrentRow(rows())) return;
    payrecord::bonusTotal(rows(), payrecord::readPayContext(connection()));
}

void TfrmTotalB::btnKingCalcClick() {
    Act_GetKExecute();
    Act_TotalExecute();
    Act_Null_SetExecute();
    DBEdit3->setFocus();
}

void TfrmTotalB::btnNotZeiClick() {
    Act_GetK2Execute();
    Act_TotalExecute();
    Act_Null_SetExecute();
}

void TfrmTotalB::btnAllSetClick() {
    const total::PayState state = total::readPayState();
    runBatch([&] {
        return payrecord::calculateBonusRows(connection(), rows(), rtl::fromQString(Edit1->text()),
                                             total::payYear(state), total::payMonth(state), rtl::today());
    });
}

void TfrmTotalB::btnNewSetClick() { newSet(key_, true); }
