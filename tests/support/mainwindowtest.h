// A working folder of its own as the current directory, with a delivered
// database, the settings file naming it, the data module, the real main
// window shown modeless and scripted dialogs (what start-up showed is left in
// them). A test fixture derives from it and adds its own set-up through the
// hooks.
#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QStringList>
#include <QTemporaryDir>

#include <filesystem>
#include <memory>
#include <string>

#include "app/frmMain.h"
#include "app/regionalformats.h"
#include "app/subwindows.h"
#include "db/connection.h"
#include "ui/dialogs.h"

namespace tsupport {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Before the data module opens the database (a connection of its own).
    virtual void prepareDatabase(db::Connection&) {}
    // After the data module, before the main window: the windows the hub opens.
    virtual void registerWindows() {}
    // After the main window is made, before it is shown.
    virtual void beforeShow() {}

    // A hub window whose registration is undone at tear-down.
    void registerForm(const QString& name, app::FormFactory create);
    // The program's start-up objects, freed at tear-down.
    void createStartupObjects();

    db::Connection& working();
    void exec(const std::string& sql, const db::Params& params = {});
    // A number the statement reads, NULL as 0.
    long long number(const std::string& sql, const db::Params& params = {});
    long long rows(const std::string& table);

    QTemporaryDir work;
    QString previousDir;
    std::filesystem::path dir;
    std::string dbPath;
    ui::ScriptedDialogs dialogs;
    QStringList registered;
    std::unique_ptr<app::FileRegionalStore> store;
    std::unique_ptr<TfrmMain> main;

private:
    bool startupObjects_ = false;
};

}  // namespace tsupport
