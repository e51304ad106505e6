// Each test: a working folder of its own as the current directory, with a
// delivered database holding one punch, the settings file naming it, the
// data module, the real main window (start-up steps run) and scripted
// dialogs. The windows are opened through the main window's commands.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "app/frmMain.h"
#include "app/regionalformats.h"
#include "app/subwindows.h"
#include "data/DB_Acs.h"
#include "data/delivered.h"
#include "db/connection.h"
#include "maintenance/registration.h"
#include "rtl/textfile.h"
#include "ui/action.h"
#include "ui/dialogs.h"
#include "ui/form.h"

namespace mtest {

namespace fs = std::filesystem;

class Maintenance : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(work.isValid());
        previousDir = QDir::currentPath();
        QDir::setCurrent(work.path());
        dir = work.path().toStdString();
        dbPath = (dir / "Wendrasol.mdb").string();
        data::createDeliveredDatabase(dbPath);
        {
            db::Connection c(dbPath);
            c.execute(
                "INSERT INTO タイムカード (月, 日, 時, 分, IDコード, 入退) VALUES ('04', '01', '09', '00', '000001', "
                "'1')");
            c.execute("INSERT INTO kimu_tran (K_TANCOD) VALUES (1)");
            c.execute("INSERT INTO sum_tran (S_TANCOD, S_DATE) VALUES (1, '26/04')");
        }
        rtl::writeLines(dir / "Quendar.ini", {dbPath});
        data::createDataModule1();
        for (const auto& f : maintenance::maintenanceForms()) {
            app::subWindows().registerForm(f.formName, f.create);
            registered << f.formName;
        }
        store = std::make_unique<app::FileRegionalStore>((dir / "cfg/International.conf").string());
        main.reset(ui::createForm<TfrmMain>(nullptr, store.get()));
        main->showModeless();
        ASSERT_TRUE(main->startupDone());
        dialogs.clear();
    }
    void TearDown() override {
        app::subWindows().freeAll();
        for (const QString& f : registered) app::subWindows().unregister(f);
        main.reset();
        data::destroyDataModule1();
        QDir::setCurrent(previousDir);
    }

    template <class T>
    T* opened(const char* form) {
        return qobject_cast<T*>(app::subWindows().reference(QString::fromLatin1(form)));
    }
    template <class T = QWidget>
    static T* child(QWidget* root, const char* name) {
        return root->findChild<T*>(QString::fromLatin1(name));
    }
    static void click(QWidget* root, const char* button) { child<ui::Button>(root, button)->click(); }

    db::Connection& working() { return data::DataModule1->ADOConnection1; }
    long long rows(const std::string& table) { return working().scalar("SELECT COUNT(*) FROM " + table).integer(); }
    std::string settingsLine() { return rtl::readFirstLine(dir / "Quendar.ini"); }
    static std::string bytesOf(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    static int temporaryFiles(const fs::path& folder) {
        int n = 0;
        for (const auto& e : fs::directory_iterator(folder))
            if (e.path().filename().string().rfind("!mdb", 0) == 0) ++n;
        return n;
    }
    static QString qs(const std::string& s) { return QString::fromStdString(s); }

    QTemporaryDir work;
    QString previousDir;
    fs::path dir;
    std::string dbPath;
    ui::ScriptedDialogs dialogs;
    QStringList registered;
    std::unique_ptr<app::FileRegionalStore> store;
    std::unique_ptr<TfrmMain> main;
};

// Runs a block with an ordinary user's rights, so that a folder without
// write permission holds for a test run as root as well.
class Unprivileged {
public:
    Unprivileged() {
        if (::geteuid() == 0) switched_ = ::seteuid(65534) == 0;
    }
    ~Unprivileged() {
        if (switched_) (void)::seteuid(0);
    }
    bool ok() const { return ::geteuid() != 0; }

private:
    bool switched_ = false;
};

}  // namespace mtest
