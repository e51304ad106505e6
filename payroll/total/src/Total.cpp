#include "total/Total.h"

#include <QLineEdit>

#include "data/DB_Acs.h"
#include "rtl/clock.h"
#include "rtl/convert.h"
#include "rtl/qt.h"
#include "rtl/strings.h"
#include "total/Mainus.h"
#include "total/paystate.h"
#include "ui/action.h"
#include "ui/dbcontrols.h"
#include "ui/dialogs.h"
#include "ui/guard.h"

TfrmTotal::TfrmTotal(QWidget* parent, data::TDataModule1* dm)
    : TPayForm(QStringLiteral("frmTotal"), QStringLiteral("給与データ"), false, parent, dm) {}

void TfrmTotal::FormCreate() {
    TPayForm::FormCreate();
    btnKingCalc->setOnClick([this] { btnKingCalcClick(); });
    btnNotZei->setOnClick([this] { btnNotZeiClick(); });
    btnAllSet->setOnClick([this] { btnAllSetClick(); });
    btnNewSet->setOnClick([this] { btnNewSetClick(); });
    Button1->setOnClick([this] { Button1Click(); });
    setOnEnter(DBEdit2, [this] { Act_emp_tankaExecute(); });
    setOnExit(DBEdit2, [this] { DBEdit2Exit(); });
    setOnEnter(DBEdit7, [this] { DBEdit7Enter(); });
    setOnEnter(DBEdit8, [this] { Act_KingSetExecute(); });
    DBLookupComboBox1->setOnChange([this] { moveFocusTo(DBEdit2); });
    if (!rows().active()) rows().open();
}

void TfrmTotal::FormShow() {
    key_ = total::recordKey(total::readPayState());
    lastRow_ = -1;
    payrecord::showRecords(rows(), key_);
    // The employee-number field follows its value and the current row.
    if (!observer_)
        observer_ = dm_.DSsum_tran.onDataChange([this](db::Field* f) {
            if (f && f->fieldName() != "S_TANCOD") return;
            if (!f) {
                const db::Dataset::Bookmark now = payrecord::hasCurrentRow(rows()) ? rows().bookmark() : -1;
                if (now == lastRow_) return;
                lastRow_ = now;
            }
            ui::guard([this] { DBEdit2Change(); });
        });
    Act_ChangeExecute();
    DBEdit2Change();
}

void TfrmTotal::FormDestroy() {
    if (observer_) dm_.DSsum_tran.removeObserver(observer_);
    observer_ = 0;
}

void TfrmTotal::FormActivate() {
    if (frmMainus_) {
        frmMainus_->free();
        frmMainus_ = nullptr;
    }
}

void TfrmTotal::FormClose(ui::CloseAction& action) {
    (void)action;
    if (observer_) dm_.DSsum_tran.removeObserver(observer_);
    observer_ = 0;
    try {
        payrecord::markAllRecords(connection());
        if (dm_.Qtitle_mas.active()) dm_.Qtitle_mas.close();
    } catch (const std::exception&) {
        // Closing goes on whatever the marks did.
    }
}

void TfrmTotal::DBEdit2Change() {
    if (busy_ || !payrecord::hasCurrentRow(rows())) return;
    db::Dataset& s = rows();
    db::Field& code = s.fieldByName("S_TANCOD");
    if (!code.isNull() && code.asLargeInt() > 0) {
        if (s.fieldByName("S_BASKING").isNull() || payrecord::yen(s, "S_BASKING") <= 0) {
            Act_emp_tankaExecute();
            const std::optional<std::string> category =
                payrecord::readJobCategory(connection(), rtl::sixDigitCode(code.asLargeInt()));
            int number = 0;
            if (category && rtl::tryStrToInt(rtl::trim(*category), number) &&
                (s.fieldByName("S_SEQNO").isNull() || s.fieldByName("S_SEQNO").asInteger() != number)) {
                const Busy busy(busy_);
                if (s.state() == db::DatasetState::Browse) s.edit();
                s.fieldByName("S_SEQNO").setAsInteger(number);
            }
        } else {
            const long long minutes = payrecord::yen(s, "S_KINMU");
            Edit1->setText(QString::number(minutes / 60) + ":" + rtl::toQString(rtl::twoDigits(minutes % 60)));
        }
    }
    Act_emp_tankaExecute();
}

void TfrmTotal::DBEdit2Exit() {
    Act_emp_tankaExecute();
    markCountFields();
}

void TfrmTotal::DBEdit7Enter() {
    if (busy_ || !payrecord::hasCurrentRow(rows())) return;
    db::Dataset& s = rows();
    const std::string unit = payrecord::readRoundingUnit(connection(), master_.jobKbn).value_or("");
    const std::optional<long long> units =
        payrecord::defaultUnits(payrecord::yen(s, "S_KINMU"), payrecord::yen(s, "S_TANJI"), unit);
    if (!units) return;
    if (s.state() == db::DatasetState::Browse) s.edit();
    s.fieldByName("S_TANJI").setAsInteger(*units);
}

void TfrmTotal::kingSet(bool keepBase) {
    if (!payrecord::hasCurrentRow(rows())) return;
    Act_emp_tankaExecute();
    refusable([&] {
        const Busy busy(busy_);
        master_ = payrecord::kingSet(connection(), rows(), master_, keepBase);
    });
}

void TfrmTotal::Act_KingSetExecute() { kingSet(false); }
void TfrmTotal::Act_KingSet2Execute() { kingSet(true); }

void TfrmTotal::Act_GetKExecute() {
    if (!payrecord::hasCurrentRow(rows())) return;
    Act_emp_tankaExecute();
    const payrecord::PayContext ctx = payrecord::readPayContext(connection());
    payrecord::getK(rows(), master_, ctx, rtl::today());
}

void TfrmTotal::Act_GetK2Execute() {
    if (!payrecord::hasCurrentRow(rows())) return;
    Act_emp_tankaExecute();
    const bool shaho = ui::askYesNo(QStringLiteral("社保計を再計算しますか？"), QStringLiteral("社保計"));
    payrecord::getK2(rows(), payrecord::readPayContext(connection()), shaho);
}

void TfrmTotal::Act_TotalExecute() {
    if (!payrecord::hasCurrentRow(rows())) return;
    payrecord::total(rows(), payrecord::readPayContext(connection()));
}

void TfrmTotal::btnKingCalcClick() {
    Act_GetKExecute();
    Act_TotalExecute();
    Act_Null_SetExecute();
    DBEdit3->setFocus();
}

void TfrmTotal::btnNotZeiClick() {
    if (ui::askYesNo(QStringLiteral("支給金額を台帳から取り込みますか？"), QStringLiteral("金額クリア")))
        Act_KingSetExecute();
    Act_Null_SetExecute();
    Act_GetK2Execute();
    Act_TotalExecute();
}

void TfrmTotal::btnAllSetClick() {
    runBatch([this] { return payrecord::calculateMonthRows(connection(), rows(), rtl::today()); });
}

void TfrmTotal::btnNewSetClick() { newSet(key_, false); }

void TfrmTotal::Button1Click() {
    db::Dataset& s = rows();
    if (s.active() && s.state() != db::DatasetState::Browse && s.modified()) {
        ui::showMessage(QStringLiteral("データを確定してから入力して下さい。"));
        return;
    }
    if (!payrecord::hasCurrentRow(s)) return;
    payrecord::SlipOrigin o;
    o.key = key_;
    o.employeeNo = payrecord::yen(s, "S_TANCOD");
    o.hasCategory = !s.fieldByName("S_SEQNO").isNull();
    o.category = payrecord::yen(s, "S_SEQNO");
    o.hasNetPay = !s.fieldByName("S_TOTALT").isNull();
    o.netPay = payrecord::yen(s, "S_TOTALT");
    frmMainus_ = ui::createForm<TfrmMainus>(this, &dm_);
    frmMainus_->setOrigin(o);
    frmMainus_->showModal();
}
