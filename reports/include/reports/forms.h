// The report forms of the slips. A form is never shown: its Preview() fetches
// the rows for the main window's keys, lays the report out and opens a
// print preview that owns the laid-out pages. Freeing the form closes its
// preview.
//
// Every form can also be rendered without a window (renderForm), which is
// what the preview, tests and tallyra-bench use.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <vector>

#include "db/connection.h"
#include "report/layout.h"
#include "reports/printstate.h"

class QWidget;

namespace report {
class PreviewWindow;
}

namespace reports {

// Which keys of the working state a form needs.
enum class KeyKind {
    Pay,     // the pay records' key (month, or the weekly or daily pay day)
    Bonus,   // the bonus key
    Period,  // the pay period's first and last day
    Year,    // the pay year
    None,    // nothing (the envelopes print the marks of the database)
    // The employee of the withholding slip (and the year's range, from which
    // tools build the withholding data first).
    Withholding,
};

struct FormInfo {
    QString className;  // "TfrmQR_Kyuyo"
    QString formName;   // "frmQR_Kyuyo"
    KeyKind keys = KeyKind::Pay;
    // Fetches the rows for the state and lays the report out.
    std::function<report::Document(db::Connection&, const PrintState&, const report::TextMeasurer*)> render;
    std::function<QObject*(QWidget* owner)> create;
};

// Every report form of this folder.
const std::vector<FormInfo>& reportForms();
// The form by class name ("TfrmQR_Kyuyo") or form name ("frmQR_Kyuyo"); null when unknown.
const FormInfo* findForm(const QString& name);

// Base of the report forms: holds the report component's preview.
class ReportForm : public QObject {
    Q_OBJECT
public:
    ReportForm(const FormInfo& info, QObject* owner);
    ~ReportForm() override;

    // QuickRep1.Preview: the rows for the main window's state, laid out and
    // shown in a modeless preview.
    void Preview();
    report::PreviewWindow* preview() const;

private:
    const FormInfo& info_;
    QPointer<report::PreviewWindow> preview_;
};

class TfrmQR_Kyuyo : public ReportForm {
    Q_OBJECT
public:
    explicit TfrmQR_Kyuyo(QObject* owner = nullptr);
};
class TfrmQR_KyuyoS : public ReportForm {
    Q_OBJECT
public:
    explicit TfrmQR_KyuyoS(QObject* owner = nullptr);
};
class TfrmQR_Kyuyo1170 : public ReportForm {
    Q_OBJECT
public:
    explicit TfrmQR_Kyuyo1170(QObject* owner = nullptr);
};
class TfrmQR_KyuyoS1170 : public ReportForm {
    Q_OBJECT
public:
    explicit TfrmQR_KyuyoS1170(QObject* owner = nullptr);
};
// The daily cross table "日別一覧表": prints day_work as the table stands.
class TfrmQR_Closs : public ReportForm {
    Q_OBJECT
public:
    explicit TfrmQR_Closs(QObject* owner = nullptr);
};
class TfrmQR_Minus : public ReportForm {
    Q_OBJECT
public:
    explicit TfrmQR_Minus(QObject* owner = nullptr);
};

// Ledgers, the work record and the envelopes.
class TfrmQR_KyuyoRep : public ReportForm {
    Q_OBJECT
public:
    explicit TfrmQR_KyuyoRep(QObject* owner = nullptr);
};
class TfrmQR_KyuyoRep2 : public ReportForm {
    Q_OBJECT
public:
    explicit TfrmQR_KyuyoRep2(QObject* owner = nullptr);
};
class TfrmQR_KyuyoRepN : public ReportForm {
    Q_OBJECT
public:
    explicit TfrmQR_KyuyoRepN(QObject* owner = nullptr);
};
class TfrmQR_KyuyoRepS : public ReportForm {
    Q_OBJECT
public:
    explicit TfrmQR_KyuyoRepS(QObject* owner = nullptr);
};
class TfrmQR_KyuyoRepS2 : public ReportForm {
    Q_OBJECT
public:
    explicit TfrmQR_KyuyoRepS2(QObject* owner = nullptr);
};
class TfrmQR_HokenRep : public ReportForm {
    Q_OBJECT
public:
    explicit TfrmQR_HokenRep(QObject* owner = nullptr);
};
class TfrmQR_HokenRep2 : public ReportForm {
    Q_OBJECT
public:
    explicit TfrmQR_HokenRep2(QObject* owner = nullptr);
};
class TfrmQR_HokenRepS : public ReportForm {
    Q_OBJECT
public:
    explicit TfrmQR_HokenRepS(QObject* owner = nullptr);
};
class TfrmQR_HokenRepS2 : public ReportForm {
    Q_OBJECT
public:
    explicit TfrmQR_HokenRepS2(QObject* owner = nullptr);
};
class TfrmQR_Kinmu : public ReportForm {
    Q_OBJECT
public:
    explicit TfrmQR_Kinmu(QObject* owner = nullptr);
};
class TfrmQR_FutoL4 : public ReportForm {
    Q_OBJECT
public:
    explicit TfrmQR_FutoL4(QObject* owner = nullptr);
};
class TfrmQR_FutoL4C : public ReportForm {
    Q_OBJECT
public:
    explicit TfrmQR_FutoL4C(QObject* owner = nullptr);
};
// The withholding slip.
class TfrmQR_Gensen : public ReportForm {
    Q_OBJECT
public:
    explicit TfrmQR_Gensen(QObject* owner = nullptr);
};

}  // namespace reports
