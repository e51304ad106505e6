// The database settings window, the year-copy dialog and the compaction
// window, driven from the main window like a user would.
#include "fixture.h"

#include "data/dbfile.h"
#include "maintenance/DB_Pack.h"
#include "maintenance/NenCopy.h"
#include "maintenance/SysSet.h"
#include "rtl/clock.h"
#include "rtl/datetime.h"
#include "rtl/errors.h"

namespace {

using mtest::Maintenance;
namespace fs = std::filesystem;

TEST_F(Maintenance, TheHubOpensEachWindowUnderItsName) {
    main->action("Act_Sys_Set")->execute();
    EXPECT_EQ(main->EditPName->text(), "SysSet");
    auto* sysSet = opened<TfrmSysSet>("frmSysSet");
    ASSERT_TRUE(sysSet);
    EXPECT_EQ(sysSet->windowTitle(), "ＤＢ設定");
    EXPECT_TRUE(sysSet->isVisible());

    main->Button11->click();
    EXPECT_EQ(main->EditPName->text(), "NenCopy");
    EXPECT_FALSE(opened<TfrmSysSet>("frmSysSet"));
    auto* nenCopy = opened<TDlgNenCopy>("DlgNenCopy");
    ASSERT_TRUE(nenCopy);
    EXPECT_EQ(nenCopy->windowTitle(), "年次データ作成");

    main->btnPack->click();
    EXPECT_EQ(main->EditPName->text(), "DB_Pack");
    auto* pack = opened<TfrmDB_Pack>("frmDB_Pack");
    ASSERT_TRUE(pack);
    EXPECT_EQ(child<ui::Button>(pack, "btnDB_Pack")->text(), "最適化");
    EXPECT_TRUE(pack->database()->Active);
    EXPECT_TRUE(dialogs.shown().empty()) << dialogs.texts().join("\n").toStdString();
}

// ---- database settings ------------------------------------------------------------------

class Settings : public Maintenance {
protected:
    TfrmSysSet* open() {
        main->action("Act_Sys_Set")->execute();
        return opened<TfrmSysSet>("frmSysSet");
    }
    bool punchButtonsOn() {
        const bool on = main->btnDayRep->isEnabled();
        EXPECT_EQ(main->btnJ_Meisai->isEnabled(), on);
        EXPECT_EQ(main->btnTimeRep->isEnabled(), on);
        return on;
    }
};

TEST_F(Settings, SwitchingToAnotherDatabaseAndBackMovesTheMainWindowAlong) {
    // Another database of an older version: no punches, a column the upgrade adds.
    const std::string other = (dir / "other" / "Wendrasol.mdb").string();
    fs::create_directory(dir / "other");
    data::createDeliveredDatabase(other);
    {
        db::Connection c(other);
        c.executeNative("ALTER TABLE emp_tanka DROP COLUMN PRT_FLG");
        // Another company: closing day 20, the recorder program's database copy.
        c.executeNative("UPDATE 会社 SET 締日 = '20'");
        c.executeNative("UPDATE sys_mas SET REC_YN = '1'");
    }
    const QString ownFirst = main->EditD1->text();
    const QString ownLast = main->EditD2->text();
    const bool ownPanel = !main->Panel1->isHidden();

    TfrmSysSet* w = open();
    ASSERT_TRUE(w);
    EXPECT_EQ(w->Edit1->text(), qs(dbPath));
    w->Edit1->setText(qs(other));
    click(w, "Button2");
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(settingsLine(), other);
    EXPECT_EQ(working().databasePath(), other);
    EXPECT_EQ(rows("タイムカード"), 0);
    EXPECT_FALSE(punchButtonsOn());
    bool upgraded = false;
    for (const auto& c : working().columns("emp_tanka")) upgraded |= c.name == "PRT_FLG";
    EXPECT_TRUE(upgraded);
    // The main window's period and recorder controls follow the new database.
    EXPECT_TRUE(main->EditD1->text().endsWith("/21")) << main->EditD1->text().toStdString();
    EXPECT_TRUE(main->EditD2->text().endsWith("/20")) << main->EditD2->text().toStdString();
    EXPECT_FALSE(main->Panel1->isHidden());

    w = open();
    EXPECT_EQ(w->Edit1->text(), qs(other));
    w->Edit1->setText(qs(dbPath));
    click(w, "Button2");
    EXPECT_EQ(settingsLine(), dbPath);
    EXPECT_EQ(rows("タイムカード"), 1);
    EXPECT_TRUE(punchButtonsOn());
    EXPECT_EQ(main->EditD1->text(), ownFirst);
    EXPECT_EQ(main->EditD2->text(), ownLast);
    EXPECT_EQ(!main->Panel1->isHidden(), ownPanel);
    EXPECT_TRUE(dialogs.shown().empty()) << dialogs.texts().join("\n").toStdString();
}

TEST_F(Settings, ANameThatIsNoDatabaseOfThisProgramChangesNothing) {
    std::ofstream(dir / "notes.mdb") << "some text\n";
    const struct {
        const char* name;
        std::string path;
    } cases[] = {{"missing file", (dir / "missing.mdb").string()},
                 {"missing folder", (dir / "nowhere" / "Wendrasol.mdb").string()},
                 {"text file", (dir / "notes.mdb").string()}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TfrmSysSet* w = open();
        w->Edit1->setText(qs(c.path));
        dialogs.clear();
        click(w, "Button2");
        ASSERT_EQ(dialogs.shown().size(), 1u);
        EXPECT_TRUE(dialogs.last().text.contains(qs(c.path))) << dialogs.last().text.toStdString();
        EXPECT_TRUE(dialogs.last().text.endsWith("設定は変更されていません。"));
        EXPECT_TRUE(w->isVisible());
        EXPECT_EQ(settingsLine(), dbPath);
        EXPECT_EQ(working().databasePath(), dbPath);
        EXPECT_TRUE(fs::exists(c.path) == (std::string(c.name) == "text file"));
    }
    EXPECT_EQ(rows("タイムカード"), 1);
}

TEST_F(Settings, BrowsingPutsTheChosenFileIntoTheField) {
    TfrmSysSet* w = open();
    dialogs.answer(qs((dir / "chosen.mdb").string())).answer("");
    click(w, "Button1");
    EXPECT_EQ(w->Edit1->text(), qs((dir / "chosen.mdb").string()));
    EXPECT_EQ(dialogs.last().kind, ui::DialogKind::OpenFile);
    EXPECT_TRUE(dialogs.last().filter.contains("*.mdb"));
    click(w, "Button1");  // cancelled
    EXPECT_EQ(w->Edit1->text(), qs((dir / "chosen.mdb").string()));
}

TEST_F(Settings, TheCreateButtonMakesANewDatabaseAndNeverReplacesOne) {
    TfrmSysSet* w = open();
    const std::string fresh = (dir / "new.mdb").string();
    w->Edit1->setText(qs(fresh));

    dialogs.answer("Yes");  // interrupt
    click(w, "btnDB_Create");
    EXPECT_FALSE(fs::exists(fresh));
    dialogs.answer("No").answer("No");  // go on, then not really
    click(w, "btnDB_Create");
    EXPECT_FALSE(fs::exists(fresh));

    dialogs.clear();
    dialogs.answer("No").answer("Yes");
    click(w, "btnDB_Create");
    EXPECT_EQ(dialogs.captions().mid(0, 2), QStringList({"データベース作成", "データベース作成"}));
    EXPECT_NO_THROW(data::checkWorkingDatabase(fresh));
    EXPECT_EQ(settingsLine(), dbPath);  // chosen only with "確定"

    const std::string before = bytesOf(dbPath);
    w->Edit1->setText(qs(dbPath));
    dialogs.clear();
    dialogs.answer("No").answer("Yes");
    click(w, "btnDB_Create");
    EXPECT_EQ(dialogs.last().kind, ui::DialogKind::Error);
    EXPECT_TRUE(dialogs.last().text.contains(qs(dbPath)));
    EXPECT_EQ(bytesOf(dbPath), before);
}

TEST_F(Settings, ACreationThatFailsSaysWhereAndWhy) {
    TfrmSysSet* w = open();
    const std::string nowhere = (dir / "nowhere" / "new.mdb").string();
    w->Edit1->setText(qs(nowhere));
    dialogs.answer("No").answer("Yes");
    click(w, "btnDB_Create");
    EXPECT_EQ(dialogs.last().kind, ui::DialogKind::Error);
    EXPECT_TRUE(dialogs.last().text.contains(qs(nowhere)));
    EXPECT_TRUE(dialogs.last().text.contains("No such file or directory")) << dialogs.last().text.toStdString();
    EXPECT_FALSE(fs::exists(dir / "nowhere"));
}

TEST_F(Settings, EachWindowSaysSoWhenTheSettingsFileIsMissing) {
    fs::remove(dir / "Quendar.ini");
    main->action("Act_Sys_Set")->execute();
    main->Button11->click();
    main->btnPack->click();
    EXPECT_EQ(dialogs.texts(),
              QStringList({"ファイルが有りません。", "ファイルが有りません。", "ファイルが有りません。"}));
    EXPECT_FALSE(fs::exists(dir / "Quendar.ini"));
}

// ---- year copy ----------------------------------------------------------------------------

class YearCopy : public Maintenance {
protected:
    TDlgNenCopy* open() {
        main->Button11->click();
        auto* w = opened<TDlgNenCopy>("DlgNenCopy");
        // The user clicks into the name field.
        QApplication::setActiveWindow(w);
        w->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(w, 2000));
        w->moveFocusTo(w->Edit1);
        return w;
    }
    void expectNothingEmptied() {
        EXPECT_EQ(rows("タイムカード"), 1);
        EXPECT_EQ(rows("kimu_tran"), 1);
        EXPECT_EQ(rows("sum_tran"), 1);
    }
    rtl::ScopedTestClock clock{rtl::encodeDateTime(2015, 1, 5, 10, 0, 0)};
};

TEST_F(YearCopy, EnteringTheNameProposesThisYearsCopyAndTypingKeepsAnother) {
    TDlgNenCopy* w = open();
    EXPECT_EQ(w->Edit1->text(), "Wendrasol2015.mdb");
    EXPECT_EQ(w->EditDir->text(), main->Edit1->text());
    EXPECT_EQ(w->EditFile->text(), qs(dbPath));
    w->Edit1->setText("Archiv.mdb");
    dialogs.answer("Yes").answer("No");
    click(w, "Button2");
    EXPECT_TRUE(fs::exists(dir / "Archiv.mdb"));
}

TEST_F(YearCopy, CopyToAFreshNameThenEmptyingTheYear) {
    TDlgNenCopy* w = open();
    dialogs.answer("Yes").answer("Yes").answer("No");
    click(w, "Button2");
    EXPECT_EQ(dialogs.texts(), QStringList({"現在編集中のデータのコピーを行いますか？", "データの初期化を行いますか？",
                                            "勤務データは削除されます？\n作業を中断しますか"}));
    const std::string copy = (dir / "Wendrasol2015.mdb").string();
    db::Connection archive(copy);
    EXPECT_EQ(archive.scalar("SELECT COUNT(*) FROM タイムカード").integer(), 1);
    EXPECT_EQ(archive.scalar("SELECT COUNT(*) FROM sum_tran").integer(), 1);
    EXPECT_EQ(rows("タイムカード"), 0);
    EXPECT_EQ(rows("kimu_tran"), 0);
    EXPECT_EQ(rows("sum_tran"), 0);
    EXPECT_EQ(temporaryFiles(dir), 0);
}

TEST_F(YearCopy, AnExistingTargetIsAskedAbout) {
    const std::string copy = (dir / "Wendrasol2015.mdb").string();
    db::Connection::createDatabaseFile(copy);
    const std::string old = bytesOf(copy);
    TDlgNenCopy* w = open();

    dialogs.answer("Yes").answer("No");  // copy, but keep the old file
    click(w, "Button2");
    ASSERT_EQ(dialogs.shown().size(), 2u);
    EXPECT_TRUE(dialogs.last().text.contains(qs(copy)));
    EXPECT_EQ(dialogs.last().caption, "コピー");
    EXPECT_EQ(bytesOf(copy), old);
    expectNothingEmptied();

    dialogs.clear();
    dialogs.answer("Yes").answer("Yes").answer("No");  // replace it; no emptying
    click(w, "Button2");
    db::Connection archive(copy);
    EXPECT_EQ(archive.scalar("SELECT COUNT(*) FROM タイムカード").integer(), 1);
    expectNothingEmptied();
}

TEST_F(YearCopy, TheWorkingFileItselfIsRefused) {
    TDlgNenCopy* w = open();
    w->Edit1->setText("Wendrasol.mdb");
    const std::string before = bytesOf(dbPath);
    dialogs.answer("Yes").answer("Yes").answer("No");
    click(w, "Button2");
    ASSERT_EQ(dialogs.shown().size(), 2u) << dialogs.texts().join("|").toStdString();
    EXPECT_TRUE(dialogs.last().text.startsWith("コピー先が現在のデータベースファイルです。"));
    EXPECT_EQ(dialogs.pending(), 2);  // no emptying question was asked
    expectNothingEmptied();
    EXPECT_EQ(bytesOf(dbPath), before);
}

TEST_F(YearCopy, AFolderWithoutWritePermissionEndsTheCommandWithItsReason) {
    const fs::path locked = dir / "locked";
    fs::create_directory(locked);
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
    // An ordinary user must still be able to read the database it copies.
    fs::permissions(dir, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec | fs::perms::others_read |
                             fs::perms::others_exec);
    fs::permissions(dbPath,
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read);
    TDlgNenCopy* w = open();
    w->EditDir->setText(qs(locked.string()));
    dialogs.answer("Yes").answer("Yes").answer("No");
    {
        mtest::Unprivileged user;
        if (!user.ok()) GTEST_SKIP() << "cannot run without root's rights";
        click(w, "Button2");
    }
    ASSERT_EQ(dialogs.shown().size(), 2u) << dialogs.texts().join("|").toStdString();
    const QString message = dialogs.last().text;
    EXPECT_TRUE(message.startsWith("ファイルのコピーに失敗しました。")) << message.toStdString();
    EXPECT_TRUE(message.contains(qs(locked.string()))) << message.toStdString();
    EXPECT_TRUE(message.endsWith("再度実行して下さい。"));
    expectNothingEmptied();
    EXPECT_TRUE(fs::is_empty(locked));
}

TEST_F(YearCopy, ACopyFailingAfterItsFileWasWrittenLeavesNothingBehind) {
    TDlgNenCopy* w = open();
    w->setCopyHook([](std::string_view step) {
        if (step == "checked") throw rtl::DatabaseError("書き込みエラー");
    });
    dialogs.answer("Yes").answer("Yes").answer("No");
    click(w, "Button2");
    EXPECT_TRUE(dialogs.last().text.contains("書き込みエラー"));
    EXPECT_FALSE(fs::exists(dir / "Wendrasol2015.mdb"));
    EXPECT_EQ(temporaryFiles(dir), 0);
    expectNothingEmptied();
}

TEST_F(YearCopy, AFailedEmptyingKeepsEveryRowAndSaysWhy) {
    working().executeNative("CREATE TRIGGER keep BEFORE DELETE ON sum_tran BEGIN SELECT RAISE(ABORT, 'locked'); END");
    TDlgNenCopy* w = open();
    dialogs.answer("No").answer("Yes").answer("No");  // no copy; empty; go on
    click(w, "Button2");
    ASSERT_EQ(dialogs.shown().size(), 4u);
    const QString message = dialogs.last().text;
    EXPECT_TRUE(message.startsWith("データの初期化に失敗しました。")) << message.toStdString();
    EXPECT_TRUE(message.contains(qs(dbPath)));
    EXPECT_TRUE(message.contains("locked"));
    expectNothingEmptied();
}

TEST_F(YearCopy, WithoutACopyTheEmptyingMayStillBeInterrupted) {
    TDlgNenCopy* w = open();
    dialogs.answer("No").answer("Yes").answer("Yes");  // no copy; empty? yes; interrupt? yes
    click(w, "Button2");
    EXPECT_EQ(dialogs.shown().size(), 3u);
    EXPECT_FALSE(fs::exists(dir / "Wendrasol2015.mdb"));
    expectNothingEmptied();
}

// ---- compaction -----------------------------------------------------------------------------

class Compaction : public Maintenance {
protected:
    void SetUp() override {
        Maintenance::SetUp();
        working().runJob([&] {
            for (int i = 0; i < 2000; ++i)
                working().execute("INSERT INTO kimu_tran (K_TANCOD) VALUES (?)", {db::Value(i + 2)});
        });
        working().execute("DELETE FROM kimu_tran WHERE K_TANCOD > 1");
    }
    TfrmDB_Pack* open() {
        main->btnPack->click();
        return opened<TfrmDB_Pack>("frmDB_Pack");
    }
};

TEST_F(Compaction, ShrinksTheWorkingFileAndKeepsItsRows) {
    const auto before = fs::file_size(dbPath);
    TfrmDB_Pack* w = open();
    // Something reconnected after the window opened.
    EXPECT_EQ(rows("kimu_tran"), 1);
    click(w, "btnDB_Pack");
    EXPECT_TRUE(dialogs.shown().empty()) << dialogs.texts().join("\n").toStdString();
    EXPECT_LT(fs::file_size(dbPath), before);
    EXPECT_EQ(rows("kimu_tran"), 1);
    EXPECT_EQ(rows("タイムカード"), 1);
    EXPECT_EQ(temporaryFiles(dir), 0);
    EXPECT_TRUE(w->database()->Active);
    // The working connection writes into the compacted file, not the old one.
    working().execute("INSERT INTO kimu_tran (K_TANCOD) VALUES (99)");
    db::Connection onDisk(dbPath);
    EXPECT_EQ(onDisk.scalar("SELECT COUNT(*) FROM kimu_tran").integer(), 2);
}

TEST_F(Compaction, AFailureShowsItsReasonAndLeavesTheOriginal) {
    TfrmDB_Pack* w = open();
    const std::string before = bytesOf(dbPath);
    w->database()->setCompactHook([](std::string_view step) {
        if (step == "written") throw rtl::DatabaseError("中断しました。");
    });
    click(w, "btnDB_Pack");
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.last().text, "中断しました。");
    EXPECT_EQ(dialogs.last().icon, ui::Icon::Information);
    EXPECT_EQ(dialogs.last().caption, "Tallyra計算");
    EXPECT_EQ(bytesOf(dbPath), before);
    EXPECT_EQ(temporaryFiles(dir), 0);
}

TEST_F(Compaction, AMissingDatabaseIsReportedNotCreated) {
    const std::string missing = (dir / "gone" / "Wendrasol.mdb").string();
    rtl::writeLines(dir / "Quendar.ini", {missing});
    TfrmDB_Pack* w = open();
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_TRUE(dialogs.last().text.contains(qs(missing)));
    click(w, "btnDB_Pack");
    EXPECT_EQ(dialogs.shown().size(), 2u);
    EXPECT_FALSE(fs::exists(missing));
    EXPECT_FALSE(fs::exists(dir / "gone"));
}

}  // namespace
