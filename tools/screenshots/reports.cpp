// Draws the cross-table screen and the ledger window offscreen into PNGs, to
// look at how they come out: reports_snapshot <folder>
#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

#include "data/DB_Acs.h"
#include "data/delivered.h"
#include "reports/ClossRep.h"
#include "reports/MKyuyoRep.h"
#include "reports/crosstable.h"
#include "rtl/datetime.h"
#include "ui/app.h"
#include "ui/dialogs.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: reports_snapshot <folder>\n");
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ui::Application app(argc, argv);
    ui::ScriptedDialogs dialogs;
    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("Wendrasol.mdb")).toStdString();
    data::createDeliveredDatabase(path);
    data::createDataModule1()->setDatabasePath(path);
    db::Connection& c = data::DataModule1->ADOConnection1;
    const char* names[] = {"山田太郎", "佐藤花子", "鈴木一郎", "高橋美奈子", "田中", "伊藤健", "渡辺",
                           "中村由美", "小林",     "加藤",     "吉田",       "山本", "佐々木", "山口",
                           "松本",     "井上",     "木村",     "林",         "斎藤", "清水",   "山崎"};
    int n = 0;
    for (const char* name : names) {
        ++n;
        c.execute("INSERT INTO emp_tanka (E_NO, E_TANCOD, E_NAME, E_JOBKBN, E_DROPKBN) VALUES (?, ?, ?, '01', '1')",
                  {n * 37, std::to_string(n * 37), name});
        for (int d = 1; d <= 30; ++d)
            if ((d + n) % 7 > 1)
                c.execute("INSERT INTO kimu_tran (K_TANCOD, K_DATE, K_SYUGYO) VALUES (?, ?, ?)",
                          {n * 37, rtl::encodeDate(2024, 4, d), (d + n) % 3 ? "08:00" : "04:30"});
    }
    reports::buildCrossTable(
        c, "24/04", [](auto&&...) { return true; }, [](auto&&...) {});
    const QString out = QString::fromLocal8Bit(argv[1]);
    int rc = 0;
    {
        auto* screen = ui::createForm<TfrmClossRep>();
        screen->show();
        app.processEvents();
        if (!screen->grab().save(out + QStringLiteral("/frmClossRep.png"))) rc = 1;
        delete screen;
    }
    {
        auto* ledger = ui::createForm<TfrmMKyuyoRep>();
        ledger->show();
        ledger->EditYY_S->setText(QStringLiteral("2024"));
        ledger->EditYY_E->setText(QStringLiteral("2024"));
        ledger->EditMM_E->setText(QStringLiteral("12"));
        app.processEvents();
        if (!ledger->grab().save(out + QStringLiteral("/frmMKyuyoRep.png"))) rc = 1;
        delete ledger;
    }
    data::destroyDataModule1();
    return rc;
}
