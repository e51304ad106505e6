#include "maintenance/SysSet.h"

#include <QDir>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "common.h"
#include "data/DB_Acs.h"
#include "data/dbfile.h"
#include "data/delivered.h"
#include "data/upgrade.h"
#include "mainlink/mainlink.h"
#include "rtl/errors.h"
#include "rtl/qt.h"
#include "ui/action.h"
#include "ui/controls.h"
#include "ui/dialogs.h"
#include "ui/fonts.h"

TfrmSysSet* frmSysSet = nullptr;

namespace maintenance {
namespace {
std::function<void()>& databaseSwitchedHandler() {
    static std::function<void()> handler;
    return handler;
}
}  // namespace

void setDatabaseSwitchedHandler(std::function<void()> handler) { databaseSwitchedHandler() = std::move(handler); }
}  // namespace maintenance

namespace {
const QString createCaption = QStringLiteral("データベース作成");
}

TfrmSysSet::TfrmSysSet(QWidget* parent) : ui::Form(QStringLiteral("frmSysSet"), parent) {
    if (!frmSysSet) frmSysSet = this;
    setWindowTitle(QStringLiteral("ＤＢ設定"));
    setFont(ui::defaultFont());
    setEnterMovesFocus(true);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::StyledPanel);
    Label1 = new QLabel(QStringLiteral("データベース設定"), Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont big = Label1->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    big.setBold(true);
    Label1->setFont(big);
    auto* title = new QHBoxLayout(Panel1);
    title->addWidget(Label1, 0, Qt::AlignCenter);

    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMinimumWidth(380);
    Label2 = ui::makeLabel(QStringLiteral("Label2"),
                           QStringLiteral("Wendrasol.mdb のあるフォルダーを開き 該当するデータ を選択して下さい。"),
                           Edit1, this);
    Label2->setWordWrap(true);

    Button1 = new ui::Button(QStringLiteral("Button1"), QStringLiteral("参照"), this);
    Button2 = new ui::Button(QStringLiteral("Button2"), QStringLiteral("確定"), this);
    Button3 = new ui::Button(QStringLiteral("Button3"), QStringLiteral("取消"), this);
    btnDB_Create = new ui::Button(QStringLiteral("btnDB_Create"), QStringLiteral("ﾃｰﾌﾞﾙ作成"), this);
    Button1->setOnClick([this] { Button1Click(); });
    Button2->setOnClick([this] { Button2Click(); });
    Button3->setOnClick([this] { Button3Click(); });
    btnDB_Create->setOnClick([this] { btnDB_CreateClick(); });

    auto* path = new QHBoxLayout;
    path->addWidget(Edit1, 1);
    path->addWidget(Button1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnDB_Create);
    buttons->addStretch();
    buttons->addWidget(Button2);
    buttons->addWidget(Button3);

    auto* root = new QVBoxLayout(this);
    root->addWidget(Panel1);
    root->addWidget(Label2);
    root->addLayout(path);
    root->addStretch();
    root->addLayout(buttons);
    resize(520, 200);
}

TfrmSysSet::~TfrmSysSet() {
    if (frmSysSet == this) frmSysSet = nullptr;
}

void TfrmSysSet::FormShow() {
    folder_ = QDir::currentPath();
    try {
        Edit1->setText(rtl::toQString(data::readSettingsDatabase(folder_.toStdString())));
    } catch (const rtl::Error&) {
        ui::showMessage(QStringLiteral("ファイルが有りません。"));
    }
}

void TfrmSysSet::Button1Click() {
    const QString chosen =
        ui::openFileName(this, QStringLiteral("開く"), QDir(folder_).filePath(QStringLiteral("*.mdb")),
                         QStringLiteral("MSAccess(*.mdb) (*.mdb *.MDB)"));
    if (!chosen.isEmpty()) Edit1->setText(chosen);
}

void TfrmSysSet::Button2Click() {
    const std::string path = Edit1->text().trimmed().toStdString();
    // Only a database this program can open replaces the one named now: the
    // engine would otherwise create an empty file under a mistyped name.
    try {
        data::checkWorkingDatabase(path);
    } catch (const rtl::Error& e) {
        ui::showMessage(maintenance::lines({maintenance::reasonOf(e), QStringLiteral("設定は変更されていません。")}));
        return;
    }
    data::writeSettingsDatabase(folder_.toStdString(), path);
    const int punches = data::switchWorkingDatabase(data::dataModule(), path);
    mainlink::setPunchButtons(punches != 0);
    if (!maintenance::runMainAction(QStringLiteral("Act_New_Field"))) data::Act_New_Field(data::dataModule());
    // The new database may belong to another company: its closing day and
    // recorder kind decide the main window's period and import buttons.
    if (auto& switched = maintenance::databaseSwitchedHandler()) switched();
    close();
}

void TfrmSysSet::Button3Click() { close(); }

void TfrmSysSet::btnDB_CreateClick() {
    if (ui::askYesNo(
            QStringLiteral("既存データが削除されます。\n通常は絶対に使用しないで下さい。\n作業を中断しますか。"),
            createCaption))
        return;
    if (!ui::askYesNo(QStringLiteral("本当に作業を進めますか。"), createCaption)) return;
    const QString path = Edit1->text().trimmed();
    if (path.isEmpty()) {
        ui::showMessage(QStringLiteral("データベースファイル名を入力して下さい。"));
        return;
    }
    // A file that exists is refused, so no database is ever overwritten here.
    data::createDeliveredDatabase(path.toStdString());
    ui::showMessage(maintenance::lines({QStringLiteral("データベースを作成しました。"), path}));
}
