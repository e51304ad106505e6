// Draws the time-card entry and the attendance book offscreen into PNGs, to
// look at how they come out: timecard_snapshot <folder>
#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

#include "data/DB_Acs.h"
#include "data/delivered.h"
#include "rtl/clock.h"
#include "rtl/datetime.h"
#include "timecard/TimeInp.h"
#include "timecard/TimeInpRep.h"
#include "ui/action.h"
#include "ui/app.h"
#include "ui/dialogs.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: timecard_snapshot <folder>\n");
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ui::Application app(argc, argv);
    // A fixed evening and no real message box: the picture is the same every run.
    rtl::ScopedTestClock clock(rtl::encodeDateTime(2024, 5, 21, 21, 58, 40));
    ui::ScriptedDialogs dialogs;
    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("Wendrasol.mdb")).toStdString();
    data::createDeliveredDatabase(path);
    data::createDataModule1()->setDatabasePath(path);
    db::Connection& c = data::DataModule1->ADOConnection1;
    const char* emp =
        "INSERT INTO emp_tanka (E_NO, E_TANCOD, E_NAME, E_CARDNO, E_JOBKBN, E_DROPKBN) VALUES (?, ?, ?, ?, '01', '1')";
    c.execute(emp, {1, "000001", "山田太郎", "000001"});
    c.execute(emp, {7, "000007", "佐藤花子", "000007"});
    const char* punch = "INSERT INTO タイムカード VALUES (?, ?, ?, ?, '00', ?, ?, '00', '0')";
    c.execute(punch, {"05", "20", "08", "55", "000001", "0"});
    c.execute(punch, {"05", "20", "17", "32", "000001", "1"});
    c.execute(punch, {"05", "20", "21", "58", "000007", "0"});
    c.execute(punch, {"05", "21", "30", "05", "000007", "1"});
    const QString out = QString::fromLocal8Bit(argv[1]);
    int rc = 0;
    {
        auto* entry = ui::createForm<TfrmTimeInp>();
        entry->show();
        entry->Edit1->setText(QStringLiteral("000007"));
        entry->Edit1Exit();
        entry->Button2->click();  // shows the punch panel
        entry->adjustSize();
        app.processEvents();
        if (!entry->grab().save(out + QStringLiteral("/frmTimeInp.png"))) rc = 1;
        entry->close();
        delete entry;
    }
    {
        auto* book = ui::createForm<TfrmTimeInpRep>();
        book->show();
        app.processEvents();
        if (!book->grab().save(out + QStringLiteral("/frmTimeInpRep.png"))) rc = 1;
        book->close();
        delete book;
    }
    data::destroyDataModule1();
    return rc;
}
