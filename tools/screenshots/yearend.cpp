// Draws the withholding-slip preparation window on each of its pages, after
// the year's data was built and one row adjusted, offscreen into PNGs:
// yearend_snapshot <folder>
#include <QLineEdit>
#include <QTabWidget>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

#include "data/DB_Acs.h"
#include "data/delivered.h"
#include "rtl/clock.h"
#include "rtl/datetime.h"
#include "ui/action.h"
#include "ui/app.h"
#include "ui/dialogs.h"
#include "yearend/GensenInp.h"
#include "yearend/withholding.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: yearend_snapshot <folder>\n");
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ui::Application app(argc, argv);
    rtl::ScopedTestClock clock(rtl::encodeDateTime(2026, 1, 15, 9, 0, 0));
    ui::ScriptedDialogs dialogs;
    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("Wendrasol.mdb")).toStdString();
    data::createDeliveredDatabase(path);
    data::createDataModule1()->setDatabasePath(path);
    db::Connection& c = data::DataModule1->ADOConnection1;
    c.execute("INSERT INTO emp_tanka (E_NO, E_TANCOD, E_NAME, E_DROPKBN) VALUES (1, '000001', '山田太郎', '1')");
    for (int m = 1; m <= 12; ++m)
        c.execute(
            "INSERT INTO sum_tran (S_TANCOD, S_DATE, S_DAYS, S_KINMU, S_BASKING, S_HOKEN, S_KOYOU, S_NENKIN, "
            "S_SHAHO, S_ZEI_G, S_ZEI_K, S_KOTUHI, S_MEAT_K, S_TOTALT) "
            "VALUES (1, ?, 20, 9600, 250000, 12000, 1500, 16500, 30000, 5000, 8000, 10000, 2000, 215000)",
            {(m < 10 ? "25/0" : "25/") + std::to_string(m)});
    yearend::buildWithholdingData(c, yearend::monthRange("2025", "01", "2025", "12"));

    // A stand-in main window with the working folder the window reads.
    QWidget main;
    main.setObjectName(QStringLiteral("frmMain"));
    auto* workDir = new QLineEdit(dir.path(), &main);
    workDir->setObjectName(QStringLiteral("Edit1"));

    const QString out = QString::fromLocal8Bit(argv[1]);
    int rc = 0;
    auto* w = ui::createForm<TfrmGensenInp>();
    w->show();
    w->Edit1->setText(QStringLiteral("1"));
    w->Edit1Exit();
    w->btnGo->click();
    data::DataModule1->gensen.edit();
    data::DataModule1->gensen.fieldByName("teate1").setAsInteger(300000);
    w->btnCalc->click();
    const char* pages[] = {"frmGensenInp.png", "frmGensenInp-mynumber.png", "frmGensenInp-young.png"};
    for (int i = 0; i < 3; ++i) {
        w->PageControl1->setCurrentIndex(i);
        app.processEvents();
        if (!w->grab().save(out + QStringLiteral("/") + QString::fromLatin1(pages[i]))) rc = 1;
    }
    w->close();
    delete w;
    data::destroyDataModule1();
    return rc;
}
