#include "maintenance/NenCopy.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "common.h"
#include "data/DB_Acs.h"
#include "data/dbfile.h"
#include "rtl/clock.h"
#include "rtl/datetime.h"
#include "rtl/errors.h"
#include "rtl/qt.h"
#include "ui/action.h"
#include "ui/controls.h"
#include "ui/dialogs.h"
#include "ui/fonts.h"

TDlgNenCopy* DlgNenCopy = nullptr;

namespace {
const QString retry = QStringLiteral("再度実行して下さい。");
}

TDlgNenCopy::TDlgNenCopy(QWidget* parent) : ui::Form(QStringLiteral("DlgNenCopy"), parent) {
    if (!DlgNenCopy) DlgNenCopy = this;
    setWindowTitle(QStringLiteral("年次データ作成"));
    setFont(ui::defaultFont());

    Edit1 = new QLineEdit(QStringLiteral("ファイル名を指定して下さい。"), this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMinimumWidth(260);
    Edit1->setAccessibleName(QStringLiteral("ファイル名"));
    Button2 = new ui::Button(QStringLiteral("Button2"), QStringLiteral("実行"), this);
    Button1 = new ui::Button(QStringLiteral("Button1"), QStringLiteral("閉じる"), this);
    Button2->setOnClick([this] { Button2Click(); });
    Button1->setOnClick([this] { Button1Click(); });
    EditDir = new QLineEdit(this);
    EditDir->setObjectName(QStringLiteral("EditDir"));
    EditDir->setAccessibleName(QStringLiteral("コピー先フォルダー"));
    EditDir->hide();
    EditFile = new QLineEdit(this);
    EditFile->setObjectName(QStringLiteral("EditFile"));
    EditFile->setAccessibleName(QStringLiteral("コピー元ファイル"));
    EditFile->hide();
    setOnEnter(Edit1, [this] { Edit1Enter(); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button2);
    buttons->addWidget(Button1);
    auto* root = new QVBoxLayout(this);
    root->addWidget(Edit1);
    root->addLayout(buttons);
    resize(320, 100);
}

TDlgNenCopy::~TDlgNenCopy() {
    if (DlgNenCopy == this) DlgNenCopy = nullptr;
}

void TDlgNenCopy::FormShow() {
    EditDir->setText(maintenance::mainWorkDir());
    try {
        EditFile->setText(rtl::toQString(data::readSettingsDatabase(EditDir->text().toStdString())));
    } catch (const rtl::Error&) {
        ui::showMessage(QStringLiteral("ファイルが有りません。"));
    }
}

void TDlgNenCopy::Edit1Enter() { Edit1->setText(rtl::toQString(data::yearCopyName(rtl::yearOf(rtl::today())))); }

void TDlgNenCopy::Button2Click() {
    data::TDataModule1& dm = data::dataModule();
    const std::string source = EditFile->text().toStdString();
    const QString target = EditDir->text() + QLatin1Char('/') + Edit1->text();

    if (ui::askYesNo(QStringLiteral("現在編集中のデータのコピーを行いますか？"), QStringLiteral("コピー"))) {
        // The copy must never land on the file it is taken from: emptying
        // the work tables afterwards would leave no archive at all.
        if (data::isWorkingDatabase(dm, source, target.toStdString())) {
            ui::showMessage(maintenance::lines({QStringLiteral("コピー先が現在のデータベースファイルです。"), target,
                                                QStringLiteral("別のファイル名を指定して下さい。")}));
            return;
        }
        if (QFileInfo::exists(target) &&
            !ui::askYesNo(maintenance::lines({QStringLiteral("「%1」は既に有ります。").arg(target),
                                              QStringLiteral("置き換えますか？")}),
                          QStringLiteral("コピー")))
            return;
        try {
            data::copyDatabase(dm, source, target.toStdString(), copyHook_);
        } catch (const std::exception& e) {
            // Without its copy the year must not be emptied: the command ends.
            ui::showMessage(maintenance::lines(
                {QStringLiteral("ファイルのコピーに失敗しました。"), maintenance::reasonOf(e), retry}));
            return;
        }
    }

    if (!ui::askYesNo(QStringLiteral("データの初期化を行いますか？"), QStringLiteral("初期化"))) return;
    if (ui::askYesNo(QStringLiteral("勤務データは削除されます？\n作業を中断しますか"), QStringLiteral("初期化")))
        return;
    try {
        data::emptyWorkTables(dm);
    } catch (const std::exception& e) {
        ui::showMessage(
            maintenance::lines({QStringLiteral("データの初期化に失敗しました。"),
                                rtl::toQString(dm.ADOConnection1.databasePath()), maintenance::reasonOf(e), retry}));
    }
}

void TDlgNenCopy::Button1Click() { close(); }
