#include "reports/forms.h"

#include <QWidget>

#include <memory>

#include "data/DB_Acs.h"
#include "report/paint.h"
#include "report/preview.h"
#include "reports/crosstablereport.h"
#include "reports/slipdata.h"
#include "reports/slips.h"
#include "rtl/qt.h"
#include "yearend/slip.h"
#include "ui/windows.h"

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

}  // namespace reports
