// The master windows opened from the real main window's commands, once the
// program registers this area's forms with its hub.
#include "fixture.h"

#include <QDir>
#include <QFrame>

#include <memory>

#include "app/frmMain.h"
#include "app/regionalformats.h"
#include "app/subwindows.h"
#include "mainwindowtest.h"
#include "masters/Sys_mas.h"
#include "masters/registration.h"
#include "rtl/textfile.h"
#include "ui/action.h"

namespace {

class Hub : public tsupport::MainWindowTest {
protected:
    void registerWindows() override {
        for (const masters::FormFactory& f : masters::masterForms()) registerForm(f.formName, f.create);
    }
    void SetUp() override {
        MainWindowTest::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_TRUE(main->startupDone());
    }
    QWidget* opened(const char* form) {
        return qobject_cast<QWidget*>(app::subWindows().reference(QString::fromLatin1(form)));
    }
};

TEST_F(Hub, EachCommandOpensItsMasterWindowUnderItsName) {
    const struct {
        const char* action;  // or a button of the main window
        const char* button;
        const char* window;
        const char* form;
    } commands[] = {
        {"Act_empTanka", nullptr, "Emp_Tanka", "frmEmp_Tanka"}, {"Act_Emp_mas", nullptr, "Emp_mas", "frmEmp_mas"},
        {"Act_Job_kbn", nullptr, "Job_kbn", "frmJob_kbn"},      {"Act_Company", nullptr, "Company", "frmCompany"},
        {nullptr, "btnTitle", "Title_mas", "frmTitle_mas"},     {nullptr, "btnSys_mas", "Sys_mas", "frmSys_mas"},
    };
    for (const auto& c : commands) {
        SCOPED_TRACE(c.form);
        if (c.action) main->action(QString::fromLatin1(c.action))->execute();
        else main->findChild<ui::Button*>(QString::fromLatin1(c.button))->click();
        QWidget* w = opened(c.form);
        ASSERT_NE(w, nullptr);
        EXPECT_TRUE(w->isVisible());
        EXPECT_EQ(main->findChild<QLineEdit*>(QStringLiteral("EditPName"))->text(), QString::fromLatin1(c.window));
    }
    EXPECT_TRUE(dialogs.shown().empty()) << dialogs.texts().join("\n").toStdString();
}

TEST_F(Hub, ClosingTheSettingsShowsTheRecorderControlsOfTheMainWindow) {
    auto* panel = main->findChild<QWidget*>(QStringLiteral("Panel1"));
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->isHidden());
    main->findChild<ui::Button*>(QStringLiteral("btnSys_mas"))->click();
    auto* settings = qobject_cast<TfrmSys_mas*>(opened("frmSys_mas"));
    ASSERT_NE(settings, nullptr);
    db::Dataset& sys = data::DataModule1->sys_mas;
    sys.edit();
    sys["REC_YN"].setAsString("1");
    sys.post();
    settings->close();
    for (const char* name : {"Panel1", "btnDataSet", "btnemp_mas"})
        EXPECT_FALSE(main->findChild<QWidget*>(QString::fromLatin1(name))->isHidden()) << name;
}

TEST_F(Hub, EveryRecorderKindTakesEffectWhenTheSettingsClose) {
    // What the start-up would show for each kind, without a restart.
    auto shown = [this](const char* name) { return !main->findChild<QWidget*>(QString::fromLatin1(name))->isHidden(); };
    const struct {
        const char* recYN;
        bool panel, recButton, zlt1, zlt2;
    } kinds[] = {
        {"2", true, true, true, false},
        {"3", true, true, false, true},
        {"0", false, false, true, true},
        {"1", true, true, true, true},
    };
    for (const auto& k : kinds) {
        SCOPED_TRACE(k.recYN);
        main->findChild<ui::Button*>(QStringLiteral("btnSys_mas"))->click();
        auto* settings = qobject_cast<TfrmSys_mas*>(opened("frmSys_mas"));
        ASSERT_NE(settings, nullptr);
        db::Dataset& sys = data::DataModule1->sys_mas;
        sys.edit();
        sys["REC_YN"].setAsString(k.recYN);
        sys.post();
        settings->close();
        for (const char* name : {"Panel1", "btnDataSet", "btnemp_mas"}) EXPECT_EQ(shown(name), k.panel) << name;
        EXPECT_EQ(shown("btnRec_YN"), k.recButton);
        EXPECT_EQ(shown("btnZLT1"), k.zlt1);
        EXPECT_EQ(shown("btnZLT2"), k.zlt2);
        // The recorder button runs the import of the kind.
        EXPECT_EQ(main->findChild<ui::Button*>(QStringLiteral("btnRec_YN"))->action()->objectName(),
                  QString::fromLatin1(std::string(k.recYN) == "1" ? "Act_Korbe" : "Act_Zalton"));
    }
}

}  // namespace
