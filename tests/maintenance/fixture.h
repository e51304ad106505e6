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
#include "mainwindowtest.h"
#include "rtl/textfile.h"
#include "ui/action.h"
#include "ui/dialogs.h"
#include "ui/form.h"
#include "unprivileged.h"

namespace mtest {

namespace fs = std::filesystem;

class Maintenance : public tsupport::MainWindowTest {
protected:
    void prepareDatabase(db::Connection& c) override {
        c.execute(
            "INSERT INTO タイムカード (月, 日, 時, 分, IDコード, 入退) VALUES ('04', '01', '09', '00', '000001', "
            "'1')");
        c.execute("INSERT INTO kimu_tran (K_TANCOD) VALUES (1)");
        c.execute("INSERT INTO sum_tran (S_TANCOD, S_DATE) VALUES (1, '26/04')");
    }
    void registerWindows() override {
        for (const auto& f : maintenance::maintenanceForms()) registerForm(f.formName, f.create);
    }
    void SetUp() override {
        MainWindowTest::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_TRUE(main->startupDone());
        dialogs.clear();
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
};

using tsupport::Unprivileged;

}  // namespace mtest
