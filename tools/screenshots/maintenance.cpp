// Opens the database settings, year-copy and compaction windows from the
// real main window in a fresh working folder and draws each into a PNG file,
// to look at how they come out:
//   maintenance_screenshot <folder>   (frmSysSet.png, DlgNenCopy.png, frmDB_Pack.png)
#include <QDir>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>
#include <memory>

#include "app/commands.h"
#include "app/frmMain.h"
#include "app/regionalformats.h"
#include "app/subwindows.h"
#include "data/DB_Acs.h"
#include "ui/action.h"
#include "ui/app.h"

namespace {
void settle() {
    for (int i = 0; i < 20; ++i) {
        QApplication::processEvents();
        QThread::msleep(20);
    }
}
bool save(const QString& form, const QDir& out) {
    settle();
    auto* w = qobject_cast<QWidget*>(app::subWindows().reference(form));
    if (w && w->grab().save(out.filePath(form + ".png"))) return true;
    std::fprintf(stderr, "cannot draw %s\n", qPrintable(form));
    return false;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: maintenance_screenshot <folder>\n");
        return 2;
    }
    ui::Application application(argc, argv);
    const QDir out(QDir::current().absoluteFilePath(QString::fromLocal8Bit(argv[1])));
    QTemporaryDir work;
    QDir::setCurrent(work.path());
    data::createDataModule1();
    app::registerSubWindows();
    app::FileRegionalStore store(QDir(work.path()).filePath(QStringLiteral("International.conf")).toStdString());
    std::unique_ptr<TfrmMain> main(ui::createForm<TfrmMain>(nullptr, &store));
    main->showModeless();
    settle();
    main->action(QStringLiteral("Act_btnMaster"))->execute();
    main->grab().save(out.filePath(QStringLiteral("frmMain.png")));
    bool ok = true;
    main->action(QStringLiteral("Act_Sys_Set"))->execute();
    ok &= save(QStringLiteral("frmSysSet"), out);
    main->Button11->click();
    ok &= save(QStringLiteral("DlgNenCopy"), out);
    main->btnPack->click();
    ok &= save(QStringLiteral("frmDB_Pack"), out);
    if (argc > 2) QThread::sleep(std::atoi(argv[2]));  // time for a look at the whole screen
    app::subWindows().freeAll();
    main.reset();
    data::destroyDataModule1();
    return ok ? 0 : 1;
}
