// Draws the pay-data window after an import, with its busy panel, and the
// clock-out dialog offscreen into PNGs, to look at how they come out:
// paydata_snapshot <folder>
#include <QCheckBox>
#include <QLineEdit>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

#include "data/DB_Acs.h"
#include "data/delivered.h"
#include "paydata/ClockDialogs.h"
#include "paydata/MainRep.h"
#include "paydata/register.h"
#include "rtl/clock.h"
#include "rtl/datetime.h"
#include "ui/action.h"
#include "ui/app.h"
#include "ui/dbgrid.h"
#include "ui/dialogs.h"

#include <QLabel>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: paydata_snapshot <folder>\n");
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ui::Application app(argc, argv);
    rtl::ScopedTestClock clock(rtl::encodeDateTime(2024, 5, 21, 9, 0, 0));
    ui::ScriptedDialogs dialogs;
    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("Wendrasol.mdb")).toStdString();
    data::createDeliveredDatabase(path);
    data::createDataModule1()->setDatabasePath(path);
    db::Connection& c = data::DataModule1->ADOConnection1;
    const char* emp =
        "INSERT INTO emp_tanka (E_NO, E_TANCOD, E_NAME, E_CARDNO, E_JOBKBN, E_DROPKBN, E_BASE_YN) "
        "VALUES (?, ?, ?, ?, '01', '1', '1')";
    c.execute(emp, {1, "000001", "山田太郎", "000001"});
    c.execute(emp, {7, "000007", "佐藤花子", "000007"});
    const char* punch = "INSERT INTO タイムカード VALUES (?, ?, ?, ?, '00', ?, ?, '00', '0')";
    for (const char* day : {"01", "02", "03"}) {
        c.execute(punch, {"04", day, "08", "55", "000001", "0"});
        c.execute(punch, {"04", day, "17", "32", "000001", "1"});
        c.execute(punch, {"04", day, "09", "10", "000007", "0"});
    }
    c.execute(punch, {"04", "02", "18", "05", "000007", "1"});

    // A stand-in main window with the fields the pay-data window reads.
    QWidget main;
    main.setObjectName(QStringLiteral("frmMain"));
    auto field = [&](const char* name, const char* text) {
        auto* e = new QLineEdit(QString::fromUtf8(text), &main);
        e->setObjectName(QString::fromLatin1(name));
    };
    field("EditD1", "2024/04/01");
    field("EditD2", "2024/04/30");
    field("EditYY", "2024");
    field("EditMM", "04");
    field("Edit1", dir.path().toUtf8().constData());
    (new QCheckBox(&main))->setObjectName(QStringLiteral("CheckBox2"));

    paydata::createDlgOutTime();
    const QString out = QString::fromLocal8Bit(argv[1]);
    int rc = 0;
    auto* w = ui::createForm<TfrmMainRep>();
    w->show();
    w->btnKinmu->click();
    w->CheckBox[1]->setChecked(true);
    w->Button5->click();
    app.processEvents();
    if (!w->grab().save(out + QStringLiteral("/frmMainRep.png"))) rc = 1;
    w->PanelS->show();
    app.processEvents();
    if (!w->grab().save(out + QStringLiteral("/frmMainRep-busy.png"))) rc = 1;
    w->PanelS->hide();
    w->DBGrid1->clickEditButton(4);
    app.processEvents();
    if (!DlgOutTime->grab().save(out + QStringLiteral("/DlgOutTime.png"))) rc = 1;
    DlgOutTime->close();
    w->close();
    delete w;
    delete DlgOutTime;
    data::destroyDataModule1();
    return rc;
}
