// The prompts built from the program's dialogs: the file dialog through the
// seam, the login box driven headless, the three buttons by object name.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include <functional>

#include "fixture.h"
#include "importprompts/importprompts.h"
#include "ui/action.h"
#include "ui/dialogs.h"

namespace payroll::testing {
namespace {

// Runs `step` on the login box once it is shown (it is modal).
void whenLoginShows(std::function<void(QWidget*)> step)
{
    QTimer::singleShot(0, [step = std::move(step)] {
        QWidget* box = QApplication::activeModalWidget();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->objectName(), "dlgRecorderLogin");
        step(box);
    });
}

TEST(RecorderLogin, AnswersAndCancel)
{
    LoginRequest request;
    request.file = "/tmp/folder/recorder.mdb";
    whenLoginShows([](QWidget* box) {
        EXPECT_EQ(box->windowTitle(), "データベース ログイン");
        auto* user = box->findChild<QLineEdit*>("EditUserName");
        auto* password = box->findChild<QLineEdit*>("EditPassword");
        ASSERT_TRUE(user && password);
        EXPECT_EQ(user->text(), "Admin");
        EXPECT_EQ(password->echoMode(), QLineEdit::Password);
        password->setText("secret");
        box->findChild<QPushButton*>("OKBtn")->click();
    });
    const auto answer = askRecorderLogin(nullptr, request);
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->userName, "Admin");
    EXPECT_EQ(answer->password, "secret");

    whenLoginShows([](QWidget* box) { box->findChild<QPushButton*>("CancelBtn")->click(); });
    EXPECT_FALSE(askRecorderLogin(nullptr, request));
}

class Prompts : public ImportFolder {};

TEST_F(Prompts, WholeActionsFromTheWindowsDialogs)
{
    QWidget window;
    window.setObjectName("frmMain");
    for (const char* name : {"btnDayRep", "btnJ_Meisai", "btnTimeRep"}) {
        auto* b = new QPushButton(&window);
        b->setObjectName(name);
    }
    auto enabled = [&](const char* name) { return window.findChild<QPushButton*>(name)->isEnabled(); };

    const auto csv = writeCsv("a.csv", {layout1Line("7", "14/07/01", "08:00", "17:00")}, Encoding::Cp932);
    auto tables = recorderTables();
    tables[0].rows.clear();
    const auto mdb = writeJet("empty.mdb", tables);

    ui::ScriptedDialogs dialogs;
    dialogs.answer(QString::fromStdString(csv.string()));
    EXPECT_EQ(Act_CopyZaltonExecute(*dm, importPrompts(&window)), 2);
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.last().kind, ui::DialogKind::OpenFile);
    EXPECT_EQ(dialogs.last().caption, "開く");
    EXPECT_EQ(dialogs.last().filter, QString::fromStdString(qtFileFilter(kOpenDialog2.filter)));

    dialogs.answer(QString::fromStdString(mdb.string()));
    whenLoginShows([](QWidget* box) { box->findChild<QPushButton*>("OKBtn")->click(); });
    EXPECT_EQ(Act_NewSetExecute(*dm, importPrompts(&window)), 0);
    EXPECT_EQ(dialogs.last().filter, "MSAccess(*.mdb) (*.mdb *.MDB)");
    for (const char* name : {"btnDayRep", "btnJ_Meisai", "btnTimeRep"}) EXPECT_FALSE(enabled(name)) << name;

    // A cancelled file dialog changes neither the punches nor the buttons.
    EXPECT_EQ(ActCopyZalton2Execute(*dm, importPrompts(&window)), std::nullopt);
    EXPECT_EQ(dialogs.unanswered(), 1);
    EXPECT_FALSE(enabled("btnDayRep"));
}

TEST_F(Prompts, PunchButtonsAndTheActionBehindOneFollowTheImport)
{
    // As on the main window: btnTimeRep runs Act_MainRep.
    QWidget window;
    window.setObjectName("frmMain");
    auto* dayRep = new ui::Button("btnDayRep", "日別一覧", &window);
    auto* meisai = new ui::Button("btnJ_Meisai", "勤務明細表", &window);
    auto* timeRep = new ui::Button("btnTimeRep", {}, &window);
    auto* mainRep = new ui::Action("Act_MainRep", "一覧表示", &window);
    timeRep->setAction(mainRep);

    ui::ScriptedDialogs dialogs;
    for (bool have : {false, true}) {
        SCOPED_TRACE(have ? "punches" : "none");
        const auto csv = writeCsv(have ? "a.csv" : "h.csv",
                                  {have ? layout1Line("7", "14/07/01", "08:00", "17:00") : csvLine(13, {{4, "年月日"}})});
        dialogs.answer(QString::fromStdString(csv.string()));
        EXPECT_EQ(Act_CopyZaltonExecute(*dm, importPrompts(&window)), have ? 2 : 0);
        EXPECT_EQ(dayRep->isEnabled(), have);
        EXPECT_EQ(meisai->isEnabled(), have);
        EXPECT_EQ(timeRep->isEnabled(), have);
        EXPECT_EQ(mainRep->isEnabled(), have);
    }
}

}  // namespace
}  // namespace payroll::testing
