#include "total/calcdialogs.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "payrecord/money.h"
#include "rtl/convert.h"
#include "rtl/errors.h"
#include "rtl/qt.h"
#include "ui/action.h"
#include "ui/controls.h"
#include "ui/dialogs.h"
#include "ui/fonts.h"

namespace {

QLineEdit* numberEdit(const char* name, QWidget* parent) {
    auto* e = new QLineEdit(QStringLiteral("0"), parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setAlignment(Qt::AlignRight);
    e->setFixedWidth(60);
    return e;
}

long long integerOf(const QLineEdit* e) { return rtl::strToInt(rtl::fromQString(e->text())); }

}  // namespace

TCalcDialog::TCalcDialog(const QString& name, const QString& caption, QWidget* parent) : ui::Form(name, parent) {
    setWindowTitle(caption);
    setFont(ui::defaultFont());
    Edit1 = numberEdit("Edit1", this);
    Edit3 = new QLineEdit(this);
    Edit3->setObjectName(QStringLiteral("Edit3"));
    Edit3->hide();
    Edit4 = new QLineEdit(this);
    Edit4->setObjectName(QStringLiteral("Edit4"));
    Edit4->hide();
    btnOK = new ui::Button(QStringLiteral("btnOK"), QStringLiteral("確定"), this);
    btnNot = new ui::Button(QStringLiteral("btnNot"), QStringLiteral("取消"), this);
}

void TCalcDialog::FormCreate() {
    setEnterMovesFocus(false);
    btnOK->setOnClick([this] { btnOKClick(); });
    btnNot->setOnClick([this] { btnNotClick(); });
    // Enter in the last edit goes to 確定.
    connect(Edit1, &QLineEdit::returnPressed, this, [this] { btnOK->setFocus(); });
}

void TCalcDialog::openFor(const QString& kind, long long price, db::Dataset& rows) {
    Edit3->setText(kind);
    Edit4->setText(QString::number(price));
    rows_ = &rows;
    target_ = rows.bookmark();
    showModeless();
    Edit1->setFocus();
    Edit1->selectAll();
}

void TCalcDialog::btnOKClick() {
    if (!rows_) {
        close();
        return;
    }
    db::Dataset& rows = *rows_;
    const long long price = rtl::strToInt(rtl::fromQString(Edit4->text()));
    // Back to the row the dialog was opened for (moving posts the other one).
    if (rows.bookmark() != target_ && !rows.gotoBookmark(target_)) {
        ui::showMessage(QStringLiteral("計算する行がありません。"));
        resetEdits();
        close();
        return;
    }
    if (rows.state() == db::DatasetState::Browse) rows.edit();
    write(rows, Edit3->text(), price);
    resetEdits();
    rows_ = nullptr;
    close();
}

void TCalcDialog::btnNotClick() { close(); }

void TCalcDialog::resetEdits() {
    Edit1->setText(QStringLiteral("0"));
    Edit3->clear();
    Edit4->clear();
}

// ---- 時間計算 ----

TDlgCalcTime::TDlgCalcTime(QWidget* parent)
    : TCalcDialog(QStringLiteral("DlgCalcTime"), QStringLiteral("時間計算"), parent) {
    Edit2 = numberEdit("Edit2", this);
    auto* grid = new QGridLayout;
    grid->addWidget(ui::makeLabel(QStringLiteral("Label1"), QStringLiteral("時間"), Edit1, this), 0, 0);
    grid->addWidget(Edit1, 0, 1);
    grid->addWidget(ui::makeLabel(QStringLiteral("Label2"), QStringLiteral("分"), Edit2, this), 0, 2);
    grid->addWidget(Edit2, 0, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);
    buttons->addWidget(btnNot);
    auto* lay = new QVBoxLayout(this);
    lay->addLayout(grid);
    lay->addLayout(buttons);
    setTabOrder(Edit1, Edit2);
    setTabOrder(Edit2, btnOK);
    setTabOrder(btnOK, btnNot);
}

void TDlgCalcTime::FormCreate() {
    TCalcDialog::FormCreate();
    disconnect(Edit1, &QLineEdit::returnPressed, this, nullptr);
    connect(Edit1, &QLineEdit::returnPressed, this, [this] { Edit2->setFocus(); });
    connect(Edit2, &QLineEdit::returnPressed, this, [this] { btnOK->setFocus(); });
}

void TDlgCalcTime::write(db::Dataset& rows, const QString& kind, long long price) {
    static const struct {
        const char* kind;
        const char* minutes;
        const char* amount;
    } columns[] = {{"HAYZAN", "S_HAYZAN", "S_HAYKING"}, {"FUTZAN", "S_FUTZAN", "S_FUTKING"},
                   {"SINZAN", "S_SINZAN", "S_SINKING"}, {"KYUSYU", "S_KYUSYU", "S_KYUKING"},
                   {"TIKOKU", "S_TIKOKU", "S_TIKKING"}, {"SOUTAI", "S_SOUTAI", "S_SOUKING"}};
    const payrecord::TimeAmount t = payrecord::timeAmount(integerOf(Edit1), integerOf(Edit2), price);
    for (const auto& c : columns)
        if (kind == QLatin1String(c.kind)) {
            rows.fieldByName(c.minutes).setAsInteger(t.minutes);
            rows.fieldByName(c.amount).setAsInteger(t.amount);
        }
}

void TDlgCalcTime::resetEdits() {
    TCalcDialog::resetEdits();
    Edit2->setText(QStringLiteral("0"));
}

// ---- 勤務回数 ----

TDlgCalcCount::TDlgCalcCount(QWidget* parent)
    : TCalcDialog(QStringLiteral("DlgCalcCount"), QStringLiteral("勤務回数"), parent) {
    auto* row = new QHBoxLayout;
    row->addWidget(ui::makeLabel(QStringLiteral("Label1"), QStringLiteral("回数"), Edit1, this));
    row->addWidget(Edit1);
    row->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);
    buttons->addWidget(btnNot);
    auto* lay = new QVBoxLayout(this);
    lay->addLayout(row);
    lay->addLayout(buttons);
    setTabOrder(Edit1, btnOK);
    setTabOrder(btnOK, btnNot);
}

void TDlgCalcCount::write(db::Dataset& rows, const QString& kind, long long price) {
    const long long amount = payrecord::countAmount(integerOf(Edit1), price);
    if (!kind.startsWith(QLatin1String("GKING")) && !kind.startsWith(QLatin1String("SKING"))) return;
    rows.fieldByName("S_" + rtl::fromQString(kind)).setAsInteger(amount);
}
