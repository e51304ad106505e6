// Each test: its own folder with a delivered database, the data module on
// it, scripted dialogs, and helpers that drive a window like a user would.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>

#include <string>

#include "data/DB_Acs.h"
#include "data/delivered.h"
#include "db/connection.h"
#include "rtl/qt.h"
#include "ui/controls.h"
#include "ui/dbcontrols.h"
#include "ui/dialogs.h"
#include "ui/form.h"
#include "ui/guard.h"

namespace mtest {

class MastersTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(work.isValid());
        dbPath = QDir(work.path()).filePath(QStringLiteral("Wendrasol.mdb")).toStdString();
        data::createDeliveredDatabase(dbPath);
        data::createDataModule1()->setDatabasePath(dbPath);
    }
    void TearDown() override {
        for (auto& w : windows) delete w.data();
        windows.clear();
        data::destroyDataModule1();
    }

    data::TDataModule1& dm() { return *data::DataModule1; }
    db::Connection& conn() { return dm().ADOConnection1; }
    db::Value sql(const std::string& query, const db::Params& params = {}) { return conn().scalar(query, params); }

    // Keeps a window for deletion at the end of the test.
    template <class T>
    T* keep(T* w) {
        windows.emplace_back(w);
        return w;
    }

    static bool showActive(QWidget* w) {
        w->show();
        QApplication::setActiveWindow(w);
        w->activateWindow();
        return QTest::qWaitForWindowActive(w, 2000);
    }
    template <class T = QWidget>
    static T* child(QWidget* root, const QString& name) {
        return root->findChild<T*>(name);
    }
    // Focus into a control as a user does (its enter handler runs).
    static void enter(ui::Form* form, QWidget* control) { form->moveFocusTo(control); }
    // Types into an edit that has the focus, replacing its text.
    static void type(QLineEdit* edit, const QString& text) {
        edit->selectAll();
        if (text.isEmpty()) QTest::keyClick(edit, Qt::Key_Delete);
        else {
            // One key event carrying the whole text, as an input method
            // commits it (QTest's key clicks know ASCII keys only).
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
            QApplication::sendEvent(edit, &press);
        }
    }
    // Focus to `control`, type `text`, then move on to `next`. Returns false
    // when the form kept the focus (the exit check refused).
    static bool typeAndLeave(ui::Form* form, QLineEdit* control, const QString& text, QWidget* next) {
        enter(form, control);
        type(control, text);
        return form->moveFocusTo(next);
    }
    static QString qs(const std::string& s) { return rtl::toQString(s); }

    QTemporaryDir work;
    std::string dbPath;
    ui::ScriptedDialogs dialogs;
    std::vector<QPointer<QWidget>> windows;
};

}  // namespace mtest
