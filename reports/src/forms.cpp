#include "reports/forms.h"

#include <QWidget>

#include <memory>

#include "data/DB_Acs.h"
#include "report/paint.h"
#include "report/preview.h"
#include "reports/crosstablereport.h"
#include "reports/ledgerdata.h"
#include "reports/ledgers.h"
#include "reports/slipdata.h"
#include "reports/slips.h"
#include "rtl/qt.h"
#include "ui/windows.h"
#include "yearend/slip.h"

namespace reports {

namespace {

using Fetch = db::ResultSet (*)(db::Connection&, const std::string&);

// Rows of the state's key, laid out; the report is declared once.
template <report::Report (*Declare)()>
auto renderWith(Fetch fetch, KeyKind keys) {
    return [fetch, keys](db::Connection& c, const PrintState& s, const report::TextMeasurer* m) {
        static const report::Report declared = Declare();
        const db::ResultSet rows = fetch(c, keys == KeyKind::Bonus ? s.bonusKey() : s.payKey());
        return report::layout(declared, rows, {}, m);
    };
}

using Rows = std::function<db::ResultSet(db::Connection&, const PrintState&)>;

// Rows fetched for the state (each time: a second preview or a print from the
// preview reads them again), laid out; the report is declared once.
template <report::Report (*Declare)()>
auto renderRows(Rows rows) {
    return [rows = std::move(rows)](db::Connection& c, const PrintState& s, const report::TextMeasurer* m) {
        static const report::Report declared = Declare();
        report::Context context;
        // The annual ledger's label: the pay year's last two digits + "年度".
        const std::string yy = s.year.size() >= 4 ? s.year.substr(2, 2) : s.year;
        context.values[QStringLiteral("Nendo")] = rtl::toQString(yy) + QStringLiteral("年度");
        return report::layout(declared, rows(c, s), std::move(context), m);
    };
}

Rows payLedgerRows(LedgerOrder order) {
    return [order](db::Connection& c, const PrintState& s) { return fetchPayLedger(c, s.payKey(), order); };
}
Rows bonusLedgerRows(LedgerOrder order) {
    return [order](db::Connection& c, const PrintState& s) { return fetchBonusLedger(c, s.bonusKey(), order); };
}

template <class Form>
std::function<QObject*(QWidget*)> creator() {
    return [](QWidget* owner) -> QObject* { return new Form(owner); };
}

const FormInfo& info(const char* className) {
    const FormInfo* f = findForm(QString::fromLatin1(className));
    Q_ASSERT(f);
    return *f;
}

}  // namespace

const std::vector<FormInfo>& reportForms() {
    static const std::vector<FormInfo> forms = {
        {"TfrmQR_Kyuyo", "frmQR_Kyuyo", KeyKind::Pay, renderWith<paySlip>(fetchPaySlips, KeyKind::Pay),
         creator<TfrmQR_Kyuyo>()},
        {"TfrmQR_Kyuyo1170", "frmQR_Kyuyo1170", KeyKind::Pay,
         renderWith<paySlipPreprinted>(fetchPaySlips, KeyKind::Pay), creator<TfrmQR_Kyuyo1170>()},
        {"TfrmQR_KyuyoS", "frmQR_KyuyoS", KeyKind::Bonus, renderWith<bonusSlip>(fetchBonusSlips, KeyKind::Bonus),
         creator<TfrmQR_KyuyoS>()},
        {"TfrmQR_KyuyoS1170", "frmQR_KyuyoS1170", KeyKind::Bonus,
         renderWith<bonusSlipPreprinted>(fetchBonusSlips, KeyKind::Bonus), creator<TfrmQR_KyuyoS1170>()},
        {"TfrmQR_Minus", "frmQR_Minus", KeyKind::Pay, renderWith<deductionSlip>(fetchDeductionSlips, KeyKind::Pay),
         creator<TfrmQR_Minus>()},
        {"TfrmQR_KyuyoRep", "frmQR_KyuyoRep", KeyKind::Pay,
         renderRows<payLedger>(payLedgerRows(LedgerOrder::ByEmployee)), creator<TfrmQR_KyuyoRep>()},
        {"TfrmQR_KyuyoRep2", "frmQR_KyuyoRep2", KeyKind::Pay,
         renderRows<payLedgerByCategory>(payLedgerRows(LedgerOrder::ByCategory)), creator<TfrmQR_KyuyoRep2>()},
        {"TfrmQR_KyuyoRepN", "frmQR_KyuyoRepN", KeyKind::Year,
         renderRows<annualPayLedger>(
             [](db::Connection& c, const PrintState& s) { return fetchAnnualLedger(c, s.year); }),
         creator<TfrmQR_KyuyoRepN>()},
        {"TfrmQR_KyuyoRepS", "frmQR_KyuyoRepS", KeyKind::Bonus,
         renderRows<bonusLedger>(bonusLedgerRows(LedgerOrder::ByEmployee)), creator<TfrmQR_KyuyoRepS>()},
        {"TfrmQR_KyuyoRepS2", "frmQR_KyuyoRepS2", KeyKind::Bonus,
         renderRows<bonusLedgerByCategory>(bonusLedgerRows(LedgerOrder::ByCategory)), creator<TfrmQR_KyuyoRepS2>()},
        {"TfrmQR_HokenRep", "frmQR_HokenRep", KeyKind::Pay,
         renderRows<insuranceLedger>(payLedgerRows(LedgerOrder::ByEmployee)), creator<TfrmQR_HokenRep>()},
        {"TfrmQR_HokenRep2", "frmQR_HokenRep2", KeyKind::Pay,
         renderRows<insuranceLedgerByCategory>(payLedgerRows(LedgerOrder::ByCategory)), creator<TfrmQR_HokenRep2>()},
        {"TfrmQR_HokenRepS", "frmQR_HokenRepS", KeyKind::Bonus,
         renderRows<bonusInsuranceLedger>(bonusLedgerRows(LedgerOrder::ByEmployee)), creator<TfrmQR_HokenRepS>()},
        {"TfrmQR_HokenRepS2", "frmQR_HokenRepS2", KeyKind::Bonus,
         renderRows<bonusInsuranceLedgerByCategory>(bonusLedgerRows(LedgerOrder::ByCategory)),
         creator<TfrmQR_HokenRepS2>()},
        {"TfrmQR_Kinmu", "frmQR_Kinmu", KeyKind::Period,
         renderRows<workRecord>(
             [](db::Connection& c, const PrintState& s) { return fetchWorkRecord(c, s.periodFrom, s.periodTo); }),
         creator<TfrmQR_Kinmu>()},
        {"TfrmQR_FutoL4", "frmQR_FutoL4", KeyKind::None,
         renderRows<envelopeRight>([](db::Connection& c, const PrintState&) { return fetchEnvelopes(c); }),
         creator<TfrmQR_FutoL4>()},
        {"TfrmQR_FutoL4C", "frmQR_FutoL4C", KeyKind::None,
         renderRows<envelopeCentre>([](db::Connection& c, const PrintState&) { return fetchEnvelopes(c); }),
         creator<TfrmQR_FutoL4C>()},
        {"TfrmQR_Closs", "frmQR_Closs", KeyKind::Pay,
         [](db::Connection& c, const PrintState&, const report::TextMeasurer* m) {
             return renderCrossTable(readDayWork(c), {}, m);
         },
         creator<TfrmQR_Closs>()},
        // The margins are those the preparation window keeps in the working folder.
        {"TfrmQR_Gensen", "frmQR_Gensen", KeyKind::Withholding,
         [](db::Connection& c, const PrintState& s, const report::TextMeasurer* m) {
             return yearend::renderWithholdingSlip(c, s.workDir, s.employee, m);
         },
         creator<TfrmQR_Gensen>()},
    };
    return forms;
}

const FormInfo* findForm(const QString& name) {
    for (const FormInfo& f : reportForms())
        if (f.className == name || f.formName == name) return &f;
    return nullptr;
}

ReportForm::ReportForm(const FormInfo& info, QObject* owner) : QObject(owner), info_(info) {
    setObjectName(info.formName);
}

ReportForm::~ReportForm() { delete preview_.data(); }

report::PreviewWindow* ReportForm::preview() const { return preview_.data(); }

void ReportForm::Preview() {
    // The rows are read and closed here; nothing stays open or filtered.
    const PrintState state = currentPrintState();
    report::FontMeasurer measurer;
    auto document =
        std::make_shared<const report::Document>(info_.render(data::dataModule().ADOConnection1, state, &measurer));
    delete preview_.data();
    preview_ = new report::PreviewWindow(document);
    preview_->setObjectName(info_.formName + QStringLiteral("Preview"));
    if (!state.workDir.empty()) preview_->setFolder(rtl::toQString(state.workDir));
    preview_->show();
}

TfrmQR_Kyuyo::TfrmQR_Kyuyo(QObject* owner) : ReportForm(info("TfrmQR_Kyuyo"), owner) {}
TfrmQR_KyuyoS::TfrmQR_KyuyoS(QObject* owner) : ReportForm(info("TfrmQR_KyuyoS"), owner) {}
TfrmQR_Kyuyo1170::TfrmQR_Kyuyo1170(QObject* owner) : ReportForm(info("TfrmQR_Kyuyo1170"), owner) {}
TfrmQR_KyuyoS1170::TfrmQR_KyuyoS1170(QObject* owner) : ReportForm(info("TfrmQR_KyuyoS1170"), owner) {}
TfrmQR_Minus::TfrmQR_Minus(QObject* owner) : ReportForm(info("TfrmQR_Minus"), owner) {}
TfrmQR_Closs::TfrmQR_Closs(QObject* owner) : ReportForm(info("TfrmQR_Closs"), owner) {}
TfrmQR_Gensen::TfrmQR_Gensen(QObject* owner) : ReportForm(info("TfrmQR_Gensen"), owner) {}

TfrmQR_KyuyoRep::TfrmQR_KyuyoRep(QObject* owner) : ReportForm(info("TfrmQR_KyuyoRep"), owner) {}
TfrmQR_KyuyoRep2::TfrmQR_KyuyoRep2(QObject* owner) : ReportForm(info("TfrmQR_KyuyoRep2"), owner) {}
TfrmQR_KyuyoRepN::TfrmQR_KyuyoRepN(QObject* owner) : ReportForm(info("TfrmQR_KyuyoRepN"), owner) {}
TfrmQR_KyuyoRepS::TfrmQR_KyuyoRepS(QObject* owner) : ReportForm(info("TfrmQR_KyuyoRepS"), owner) {}
TfrmQR_KyuyoRepS2::TfrmQR_KyuyoRepS2(QObject* owner) : ReportForm(info("TfrmQR_KyuyoRepS2"), owner) {}
TfrmQR_HokenRep::TfrmQR_HokenRep(QObject* owner) : ReportForm(info("TfrmQR_HokenRep"), owner) {}
TfrmQR_HokenRep2::TfrmQR_HokenRep2(QObject* owner) : ReportForm(info("TfrmQR_HokenRep2"), owner) {}
TfrmQR_HokenRepS::TfrmQR_HokenRepS(QObject* owner) : ReportForm(info("TfrmQR_HokenRepS"), owner) {}
TfrmQR_HokenRepS2::TfrmQR_HokenRepS2(QObject* owner) : ReportForm(info("TfrmQR_HokenRepS2"), owner) {}
TfrmQR_Kinmu::TfrmQR_Kinmu(QObject* owner) : ReportForm(info("TfrmQR_Kinmu"), owner) {}
TfrmQR_FutoL4::TfrmQR_FutoL4(QObject* owner) : ReportForm(info("TfrmQR_FutoL4"), owner) {}
TfrmQR_FutoL4C::TfrmQR_FutoL4C(QObject* owner) : ReportForm(info("TfrmQR_FutoL4C"), owner) {}

}  // namespace reports
