// Draws the main window offscreen into PNGs, one per page, and the About box,
// to look at how they come out:
//   frmmain_screenshot <folder>   (frmMain.png, frmMain_TabSheet1.png, ..., DlgAboutBox.png)
// It works in a temporary working folder with a fresh database (REC_YN = 1,
// so the recorder page shows its panel) and a configuration folder of its
// own: the user's settings and files stay untouched.
#include <QApplication>
#include <QDir>
#include <QTabWidget>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>

#include "app/commands.h"
#include "app/frmMain.h"
#include "app/regionalformats.h"
#include "app/subwindows.h"
#include "data/DB_Acs.h"
#include "data/delivered.h"
#include "db/connection.h"
#include "rtl/clock.h"
#include "rtl/datetime.h"
#include "rtl/textfile.h"
#include "ui/action.h"
#include "ui/app.h"
#include "ui/dialogs.h"
#include "ui/form.h"

namespace {

bool save(QWidget* w, const QString& path) {
    QApplication::processEvents();  // let the layouts settle
    if (w->grab().save(path)) return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: frmmain_screenshot <folder>\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config, work;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    ui::Application application(argc, argv);
    const QDir out(QDir::current().absoluteFilePath(QString::fromLocal8Bit(argv[1])));
    // The same default months every run, and no real message box.
    rtl::ScopedTestClock clock(rtl::encodeDateTime(2026, 3, 31, 9, 30, 0));
    ui::ScriptedDialogs dialogs;

    const std::string database = QDir(work.path()).filePath(QStringLiteral("Wendrasol.mdb")).toStdString();
    data::createDeliveredDatabase(database);
    rtl::writeLines(QDir(work.path()).filePath(QStringLiteral("Quendar.ini")).toStdString(), {database});
    db::Connection(database).execute("UPDATE sys_mas SET REC_YN = '1'");
    QDir::setCurrent(work.path());

    data::createDataModule1();
    app::FileRegionalStore formats(QDir(config.path()).filePath(QStringLiteral("International.conf")).toStdString());
    std::unique_ptr<TfrmMain> main(ui::createForm<TfrmMain>(nullptr, &formats));
    main->showModeless();
    main->btnKyuuyo->click();
    main->btnKinmu->click();

    bool ok = save(main.get(), out.filePath(QStringLiteral("frmMain.png")));
    for (QWidget* page : {main->TabSheet1, main->TabSheet2, main->TabSheet3, main->TabSheet4, main->TabSheet5,
                          main->TabSheet6, main->TabSheet7}) {
        main->PageControl1->setCurrentWidget(page);
        ok &= save(main.get(), out.filePath(QStringLiteral("frmMain_") + page->objectName() + ".png"));
    }
    app::registerSubWindows();
    main->About1->trigger();
    if (auto* about = qobject_cast<QWidget*>(app::subWindows().reference(QStringLiteral("DlgAboutBox"))))
        ok &= save(about, out.filePath(QStringLiteral("DlgAboutBox.png")));
    else ok = false;

    app::subWindows().freeAll();
    main.reset();
    data::destroyDataModule1();
    return ok ? 0 : 1;
}
