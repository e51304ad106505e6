#include "maintenance/DB_Pack.h"

#include <QApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QListWidget>
#include <QVBoxLayout>

#include "common.h"
#include "data/DB_Acs.h"
#include "data/dbfile.h"
#include "rtl/errors.h"
#include "rtl/qt.h"
#include "ui/action.h"
#include "ui/app.h"
#include "ui/fonts.h"
#include "ui/windows.h"

TfrmDB_Pack* frmDB_Pack = nullptr;

int ShowAppMessage(const QString& text, ui::Icon icon) {
    QWidget* front = QApplication::activeWindow();
    if (!front) front = ui::topLevelWindow(QStringLiteral("frmMain"));
    if (front) {
        front->raise();
        front->activateWindow();
    }
    ui::showMessage(text, ui::appTitle(), icon);
    return 1;
}

TfrmDB_Pack::TfrmDB_Pack(QWidget* parent) : ui::Form(QStringLiteral("frmDB_Pack"), parent) {
    if (!frmDB_Pack) frmDB_Pack = this;
    setWindowTitle(QStringLiteral("frmDB_Pack"));
    setFont(ui::defaultFont());

    btnDB_Pack = new ui::Button(QStringLiteral("btnDB_Pack"), QStringLiteral("最適化"), this);
    btnClose = new ui::Button(QStringLiteral("btnClose"), QStringLiteral("&Q 閉じる"), this);
    btnGetDB = new ui::Button(QStringLiteral("btnGetDB"), QString(), this);
    btnGetDB->hide();
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->hide();
    btnDB_Pack->setMinimumHeight(40);
    btnDB_Pack->setOnClick([this] { btnDB_PackClick(); });
    btnClose->setOnClick([this] { btnCloseClick(); });
    btnGetDB->setOnClick([this] { btnGetDBClick(); });

    auto* root = new QVBoxLayout(this);
    root->addWidget(btnDB_Pack);
    root->addStretch();
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(btnClose);
    root->addLayout(bottom);
    resize(260, 110);
}

TfrmDB_Pack::~TfrmDB_Pack() {
    if (frmDB_Pack == this) frmDB_Pack = nullptr;
}

void TfrmDB_Pack::FormCreate() { Database = std::make_unique<db::TDatabaseJet>(); }

void TfrmDB_Pack::FormDestroy() { Database.reset(); }

void TfrmDB_Pack::FormShow() { btnGetDBClick(); }

void TfrmDB_Pack::btnGetDBClick() {
    if (!Database) return;
    Database->Close();
    std::string path;
    try {
        path = data::readSettingsDatabase(QDir::currentPath().toStdString());
    } catch (const rtl::Error&) {
        ui::showMessage(QStringLiteral("ファイルが有りません。"));
        return;
    }
    std::string error;
    if (Database->Open({}, {}, path, error)) ListBox1->clear();
    else ShowAppMessage(rtl::toQString(error), ui::Icon::Information);
}

void TfrmDB_Pack::btnDB_PackClick() {
    if (!Database) return;
    // Something may have reconnected since the window opened; a connection
    // still open on the old file would write where nobody reads again.
    if (data::DataModule1) data::DataModule1->ADOConnection1.close();
    std::string error;
    if (!Database->Compact(error)) ShowAppMessage(rtl::toQString(error), ui::Icon::Information);
}

void TfrmDB_Pack::btnCloseClick() { close(); }
