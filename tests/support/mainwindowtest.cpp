#include "mainwindowtest.h"

#include "app/commands.h"
#include "data/DB_Acs.h"
#include "data/delivered.h"
#include "rtl/textfile.h"
#include "ui/form.h"

namespace tsupport {

void MainWindowTest::SetUp() {
    ASSERT_TRUE(work.isValid());
    previousDir = QDir::currentPath();
    QDir::setCurrent(work.path());
    dir = work.path().toStdString();
    dbPath = (dir / "Wendrasol.mdb").string();
    data::createDeliveredDatabase(dbPath);
    {
        db::Connection c(dbPath);
        prepareDatabase(c);
    }
    rtl::writeLines(dir / "Quendar.ini", {dbPath});
    data::createDataModule1();
    registerWindows();
    store = std::make_unique<app::FileRegionalStore>((dir / "cfg/International.conf").string());
    main.reset(ui::createForm<TfrmMain>(nullptr, store.get()));
    beforeShow();
    main->showModeless();
}

void MainWindowTest::TearDown() {
    app::subWindows().freeAll();
    for (const QString& f : registered) app::subWindows().unregister(f);
    main.reset();
    if (startupObjects_) app::destroyStartupObjects();
    data::destroyDataModule1();
    QDir::setCurrent(previousDir);
}

void MainWindowTest::registerForm(const QString& name, app::FormFactory create) {
    app::subWindows().registerForm(name, std::move(create));
    registered << name;
}

void MainWindowTest::createStartupObjects() {
    app::createStartupObjects();
    startupObjects_ = true;
}

db::Connection& MainWindowTest::working() { return data::DataModule1->ADOConnection1; }

void MainWindowTest::exec(const std::string& sql, const db::Params& params) { working().execute(sql, params); }

long long MainWindowTest::number(const std::string& sql, const db::Params& params) {
    const db::Value v = working().scalar(sql, params);
    return v.isNull() ? 0 : static_cast<long long>(v.real());
}

long long MainWindowTest::rows(const std::string& table) {
    return working().scalar("SELECT COUNT(*) FROM " + table).integer();
}

}  // namespace tsupport
