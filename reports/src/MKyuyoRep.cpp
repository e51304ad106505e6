#include "reports/MKyuyoRep.h"

#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include <filesystem>

#include "data/DB_Acs.h"
#include "reports/ledger.h"
#include "rtl/convert.h"
#include "rtl/errors.h"
#include "ui/action.h"
#include "ui/controls.h"
#include "ui/dialogs.h"
#include "ui/fonts.h"
#include "ui/windows.h"

namespace reports {
namespace {
DocumentOpener& opener() {
    static DocumentOpener o;
    return o;
}
}  // namespace
void setDocumentOpener(DocumentOpener o) { opener() = std::move(o); }
}  // namespace reports

namespace {

QLineEdit* edit(const char* name, int width, QWidget* parent) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setFixedWidth(width);
    return e;
}

QString mainField(const char* name) {
    QLineEdit* e = ui::childOf<QLineEdit>(QStringLiteral("frmMain"), QString::fromLatin1(name));
    return e ? e->text() : QString();
}

std::string str(const QLineEdit* e) { return e->text().trimmed().toStdString(); }

// A month typed into the window; a month outside 1..12 is refused with a message.
int monthOf(const QLineEdit* e) {
    const int m = static_cast<int>(rtl::strToInt(str(e)));
    if (m < 1 || m > 12) {
        ui::showMessage(QStringLiteral("月は1から12で入力して下さい。"));
        rtl::abortSilently();
    }
    return m;
}

}  // namespace

QString TfrmMKyuyoRep::allEmployees() { return QStringLiteral("全社員"); }

TfrmMKyuyoRep::TfrmMKyuyoRep(QWidget* parent, data::TDataModule1* dm)
    : ui::Form(QStringLiteral("frmMKyuyoRep"), parent), dm_(data::dataModule(dm)) {
    setWindowTitle(QStringLiteral("個人別給与台帳"));
    setFont(ui::defaultFont());
    setEnterMovesFocus(true);

    ComboBox1 = new ui::ComboBox(QStringLiteral("ComboBox1"), this, false);
    ComboBox1->setMinimumWidth(200);
    EditYY_S = edit("EditYY_S", 50, this);
    EditMM_S = edit("EditMM_S", 30, this);
    EditYY_E = edit("EditYY_E", 50, this);
    EditMM_E = edit("EditMM_E", 30, this);
    Edit1 = edit("Edit1", 60, this);
    Edit1->setText(QStringLiteral("0"));
    Edit1->hide();
    btnPrint = new ui::Button(QStringLiteral("btnPrint"), QStringLiteral("&P 印刷"), this);
    btnClose = new ui::Button(QStringLiteral("btnClose"), QStringLiteral("&Q 閉じる"), this);

    auto* grid = new QGridLayout;
    grid->addWidget(ui::makeLabel(QStringLiteral("Label1"), QStringLiteral("社員選択"), ComboBox1, this), 0, 0);
    grid->addWidget(ComboBox1, 0, 1, 1, 8);
    grid->addWidget(ui::makeLabel(QStringLiteral("Label2"), QStringLiteral("支給期間"), EditYY_S, this), 1, 0);
    int column = 1;
    auto add = [&](QWidget* w) { grid->addWidget(w, 1, column++); };
    add(EditYY_S);
    add(ui::makeLabel(QStringLiteral("Label3"), QStringLiteral("年"), nullptr, this));
    add(EditMM_S);
    add(ui::makeLabel(QStringLiteral("Label4"), QStringLiteral("月 ～"), nullptr, this));
    add(EditYY_E);
    add(ui::makeLabel(QStringLiteral("Label5"), QStringLiteral("年"), nullptr, this));
    add(EditMM_E);
    add(ui::makeLabel(QStringLiteral("Label6"), QStringLiteral("月"), nullptr, this));
    grid->setColumnStretch(column, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Edit1);
    buttons->addWidget(btnPrint);
    buttons->addWidget(btnClose);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch();
    layout->addLayout(buttons);
    resize(420, 150);

    ComboBox1->setOnChange([this] { ComboBox1Change(); });
    btnPrint->setOnClick([this] { btnPrintClick(); });
    btnClose->setOnClick([this] { btnCloseClick(); });
}

void TfrmMKyuyoRep::FormShow() {
    choices_ = reports::employeesInService(dm_.ADOConnection1);
    QStringList items{allEmployees()};
    for (const reports::LedgerEmployee& e : choices_) items << QString::fromStdString(e.name);
    ComboBox1->setItems(items);
    ComboBox1->setCurrentIndex(0);
    Edit1->setText(QStringLiteral("0"));
    EditYY_S->setText(mainField("EditYY"));
    EditYY_E->setText(mainField("EditYY"));
    EditMM_S->setText(QStringLiteral("01"));
    EditMM_E->setText(mainField("EditMM"));
}

void TfrmMKyuyoRep::ComboBox1Change() {
    // By position in the list, so two employees of one name stay apart.
    const int index = ComboBox1->currentIndex() - 1;
    if (index >= 0 && index < static_cast<int>(choices_.size()))
        Edit1->setText(QString::fromStdString(choices_[static_cast<std::size_t>(index)].code));
    else Edit1->setText(QStringLiteral("0"));
}

void TfrmMKyuyoRep::btnPrintClick() {
    const QString folder = QDir::currentPath();
    reports::LedgerRequest request;
    request.range.first = {static_cast<int>(rtl::strToInt(str(EditYY_S))), monthOf(EditMM_S)};
    request.range.last = {static_cast<int>(rtl::strToInt(str(EditYY_E))), monthOf(EditMM_E)};
    const std::string refusal = reports::checkLedgerRange(request.range);
    if (!refusal.empty()) {
        ui::showMessage(QString::fromStdString(refusal));
        rtl::abortSilently();
    }

    std::string suffix = str(EditYY_E) + str(EditMM_E);
    const int chosen = ComboBox1->currentIndex() - 1;
    if (chosen >= 0 && chosen < static_cast<int>(choices_.size())) {
        request.employeeNumber = choices_[static_cast<std::size_t>(chosen)].number;
        suffix = str(Edit1);
    }
    const std::string output = (std::filesystem::path(folder.toStdString()) / reports::ledgerFileName(suffix)).string();
    if (std::filesystem::exists(output) && !ui::askYesNo(QString::fromStdString(reports::ledgerFileName(suffix)) +
                                                             QStringLiteral(" は既にあります。置き換えますか？"),
                                                         windowTitle()))
        return;

    const std::string templatePath = reports::ensureLedgerTemplate(folder.toStdString());
    const reports::LedgerResult result = reports::writeLedger(dm_.ADOConnection1, request, templatePath, output);
    if (result.sheets == 0) ui::showMessage(QString::fromUtf8(reports::NoRecordsMessage));
    for (const std::string& notice : result.notices) ui::showMessage(QString::fromStdString(notice));
    if (result.sheets > 0 && reports::opener()) reports::opener()(QString::fromStdString(output));
}

void TfrmMKyuyoRep::btnCloseClick() { close(); }
