// The prompts built from the program's dialogs: the file dialog through the
// seam, the login box driven headless, the three buttons by object name.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <functional>

#include "fixture.h"
#include "importprompts/importprompts.h"
#include "rtl/errors.h"
#include "ui/action.h"
#include "ui/busy.h"
#include "ui/dialogs.h"

namespace payroll::testing {
namespace {

// Runs `step` on the login box once it is shown (it is modal).
void whenLoginShows(std::function<void(QWidget*)> step) {
    QTimer::singleShot(0, [step = std::move(step)] {
        QWidget* box = QApplication::activeModalWidget();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->objectName(), "dlgRecorderLogin");
        step(box);
    });
}

TEST(RecorderLogin, AnswersAndCancel) {
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

TEST_F(Prompts, WholeActionsFromTheWindowsDialogs) {
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

TEST_F(Prompts, PunchButtonsAndTheActionBehindOneFollowTheImport) {
    // As on the main window: btnTimeRep runs Act_MainRep.
    QWidget window;
    window.setObjectName("frmMain");
    auto* dayRep = new ui::Button("btnDayRep", "日別一覧", &window);
    auto* meisai = new ui::Button("btnJ_Meisai", "勤務明細表", &window);
    auto* timeRep = new ui::Button("btnTimeRep", {}, &window);
    auto* mainRep = new ui::Action("Act_MainRep", "一覧表示", &window);
    timeRep->setAction(mainRep);

    // A CSV file always brings punches (one without is refused); a recorder
    // database may have none.
    auto tables = recorderTables();
    tables[0].rows.clear();
    const auto none = writeJet("empty.mdb", tables);
    const auto csv = writeCsv("a.csv", {layout1Line("7", "14/07/01", "08:00", "17:00")});
    ui::ScriptedDialogs dialogs;
    for (bool have : {false, true}) {
        SCOPED_TRACE(have ? "punches" : "none");
        dialogs.answer(QString::fromStdString((have ? csv : none).string()));
        if (have) {
            EXPECT_EQ(Act_CopyZaltonExecute(*dm, importPrompts(&window)), 2);
        } else {
            whenLoginShows([](QWidget* box) { box->findChild<QPushButton*>("OKBtn")->click(); });
            EXPECT_EQ(Act_NewSetExecute(*dm, importPrompts(&window)), 0);
        }
        EXPECT_EQ(dayRep->isEnabled(), have);
        EXPECT_EQ(meisai->isEnabled(), have);
        EXPECT_EQ(timeRep->isEnabled(), have);
        EXPECT_EQ(mainRep->isEnabled(), have);
    }
}

TEST_F(Prompts, TheImportRunsUnderTheWaitCursorAndCancelKeepsThePunches) {
    QWidget window;
    window.setObjectName("frmMain");
    window.show();
    seedOldPunches();
    const auto before = punches();
    const auto csv = writeCsv("a.csv", {layout1Line("7", "14/07/01", "08:00", "17:00")});
    ui::ScriptedDialogs dialogs;

    // From the file choice to the end of the import, errors included.
    for (bool good : {true, false}) {
        SCOPED_TRACE(good ? "imported" : "failed");
        ImportPrompts prompts = importPrompts(&window, [](bool) {});
        const ImportPrompts::Import* seen = nullptr;
        bool waitCursor = false;
        auto run = prompts.runImport;
        prompts.runImport = [&](const ImportPrompts::Import& import) {
            run([&](const ImportProgress& progress) {
                seen = &import;
                waitCursor =
                    QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
                import(progress);
            });
        };
        dialogs.answer(QString::fromStdString(good ? csv.string() : (dir / "missing.csv").string()));
        if (good) EXPECT_EQ(Act_CopyZaltonExecute(*dm, prompts), 2);
        else EXPECT_THROW(Act_CopyZaltonExecute(*dm, prompts), rtl::FileError);
        EXPECT_NE(seen, nullptr);
        EXPECT_TRUE(waitCursor);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }

    // The progress dialog's Cancel, pressed as soon as it shows.
    const auto delay = ui::progressDialogDelay();
    ui::setProgressDialogDelay(std::chrono::milliseconds(0));
    exec("DELETE FROM タイムカード");
    seedOldPunches();
    bool pressed = false;
    // Looks for the dialog whenever the import lets events through.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* box = QApplication::activeModalWidget();
        if (!box || box->objectName() != "dlgProgress") return;
        poll.stop();
        box->findChild<QPushButton*>("CancelBtn")->click();
        pressed = true;
    });
    poll.start(0);
    dialogs.answer(QString::fromStdString(csv.string()));
    EXPECT_EQ(Act_CopyZaltonExecute(*dm, importPrompts(&window, [](bool) { ADD_FAILURE() << "buttons set"; })),
              std::nullopt);
    ui::setProgressDialogDelay(delay);
    EXPECT_TRUE(pressed);
    EXPECT_EQ(punches(), before);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace payroll::testing
