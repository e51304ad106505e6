// The main window driven headless: start-up steps in a temporary working
// folder, the working state, and the hub's open/free discipline.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <chrono>

#include <memory>

#include "app/DlgAboutBox.h"
#include "app/commands.h"
#include "app/frmMain.h"
#include "app/regionalformats.h"
#include "app/shell.h"
#include "app/subwindows.h"
#include "app/workstate.h"
#include "data/DB_Acs.h"
#include "data/delivered.h"
#include "db/connection.h"
#include "rtl/clock.h"
#include "rtl/datetime.h"
#include "rtl/textfile.h"
#include "ui/action.h"
#include "ui/busy.h"
#include "ui/controls.h"
#include "ui/dbcontrols.h"
#include "ui/dialogs.h"
#include "ui/form.h"
#include "ui/maskedit.h"

namespace {

// A stand-in sub-window or report form that records its presentation.
class StubForm : public ui::Form {
public:
    explicit StubForm(const QString& name, QWidget* owner) : ui::Form(name, owner) { setWindowFlag(Qt::Window); }
};

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(work.isValid());
        previousDir = QDir::currentPath();
        QDir::setCurrent(work.path());
        app::setShellHooksForTesting({
            [this](const QString& url) {
                opened << url;
                return true;
            },
            [this](const QString& path) {
                started << path;
                return true;
            },
        });
        data::createDataModule1();
    }

    void TearDown() override {
        app::subWindows().freeAll();
        for (const QString& form : registered) app::subWindows().unregister(form);
        main.reset();
        data::destroyDataModule1();
        app::resetShellHooks();
        QDir::setCurrent(previousDir);
    }

    QString path(const QString& name) const { return work.filePath(name); }
    std::string spath(const char* name) const { return path(name).toStdString(); }

    // A fresh delivered database with the settings file naming it.
    void deliverDatabase() {
        data::createDeliveredDatabase(spath("Wendrasol.mdb"));
        rtl::writeLines(spath("Quendar.ini"), {spath("Wendrasol.mdb")});
    }
    void sql(const std::string& statement) {
        db::Connection c(spath("Wendrasol.mdb"));
        c.execute(statement);
    }

    TfrmMain& create() {
        store = std::make_unique<app::FileRegionalStore>(path("cfg/International.conf").toStdString());
        main.reset(ui::createForm<TfrmMain>(nullptr, store.get()));
        return *main;
    }
    TfrmMain& start() {
        create();
        main->showModeless();
        return *main;
    }

    // Registers a stub window under a form name; reports record their preview.
    void stub(const QString& form, bool report = false) {
        registered << form;
        auto make = [form](QWidget* owner) -> QObject* { return new StubForm(form, owner); };
        if (report) app::subWindows().registerReport(form, make, [this](QObject* f) { previewed << f->objectName(); });
        else app::subWindows().registerForm(form, make);
    }
    QObject* ref(const char* form) { return app::subWindows().reference(form); }

    template <class T = QWidget>
    T* child(const char* name) {
        return main->findChild<T*>(name);
    }
    ui::Button* button(const char* name) { return child<ui::Button>(name); }

    QTemporaryDir work;
    QString previousDir;
    rtl::ScopedTestClock clock{rtl::encodeDateTime(2026, 3, 31, 9, 30, 0)};
    ui::ScriptedDialogs dialogs;
    std::unique_ptr<app::FileRegionalStore> store;
    std::unique_ptr<TfrmMain> main;
    QStringList opened, started, previewed, registered;
};

}  // namespace

// ------------------------------------------------------------------ start-up

TEST_F(MainWindow, StartInAnEmptyFolderWritesTheSettingsFileAndAReadyDatabase) {
    TfrmMain& w = start();
    EXPECT_TRUE(dialogs.shown().empty()) << dialogs.texts().join("\n").toStdString();
    EXPECT_TRUE(w.startupDone());
    EXPECT_TRUE(w.isVisible());

    const std::string db = spath("Wendrasol.mdb");
    EXPECT_EQ(rtl::readAllLines(spath("Quendar.ini")), std::vector<std::string>{db});
    ASSERT_TRUE(QFile::exists(path("Wendrasol.mdb")));
    {
        db::Connection c(db);
        for (const char* t :
             {"emp_tanka", "kimu_tran", "sum_tran", "sum_tran_t", "minus_dat", "gensen", "sys_mas", "会社", "zei_mas"})
            EXPECT_TRUE(c.tableExists(t)) << t;
    }
    EXPECT_EQ(rtl::readFirstLine(spath("db_gensen.txt")), "1");

    EXPECT_EQ(w.Edit1->text(), QDir::currentPath());
    EXPECT_EQ(w.EditYY->text(), "2026");
    EXPECT_EQ(w.EditMM->text(), "02");
    EXPECT_EQ(w.EditYY2->text(), "2026");
    EXPECT_EQ(w.EditYYS->text(), "2025");
    EXPECT_EQ(w.EditMMS->text(), "01");
    EXPECT_EQ(w.EditYYE->text(), "2025");
    EXPECT_EQ(w.EditMME->text(), "12");
    EXPECT_FALSE(w.EditD1->text().isEmpty());
    EXPECT_EQ(w.MaskEdit1->text(), "26/03/24");
    EXPECT_EQ(w.MaskEdit2->text(), "26/03/30");
    EXPECT_EQ(w.PageControl1->currentWidget(), w.TabSheet7);
    EXPECT_FALSE(w.PNL_M2->isEnabled());
    EXPECT_TRUE(w.EditPName->text().isEmpty());
}

TEST_F(MainWindow, SettingsFileNamingAMissingDatabaseGivesAClearErrorAndCreatesNothing) {
    rtl::writeLines(spath("Quendar.ini"), {spath("Other.mdb")});
    TfrmMain& w = start();

    ASSERT_EQ(dialogs.shown().size(), 1u);
    const ui::DialogRecord& error = dialogs.last();
    EXPECT_EQ(error.kind, ui::DialogKind::Error);
    EXPECT_EQ(error.caption, "Tallyra計算");
    EXPECT_TRUE(error.text.contains("Other.mdb")) << error.text.toStdString();
    EXPECT_FALSE(QFile::exists(path("Other.mdb")));
    EXPECT_FALSE(QFile::exists(path("Wendrasol.mdb")));
    EXPECT_FALSE(QFile::exists(path("db_gensen.txt")));
    // The window opens all the same; the steps after the failing one did not run.
    EXPECT_TRUE(w.isVisible());
    EXPECT_FALSE(w.startupDone());
    EXPECT_EQ(w.EditYY->text(), "2026");
    EXPECT_TRUE(w.EditD1->text().isEmpty());
    EXPECT_EQ(w.MaskEdit1->text().trimmed(), "/  /");
}

TEST_F(MainWindow, SettingsFileWithAnEmptyFirstLineFailsAtTheFirstAccess) {
    rtl::writeTextFile(spath("Quendar.ini"), "\r\n");
    TfrmMain& w = start();
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.last().kind, ui::DialogKind::Error);
    EXPECT_FALSE(w.startupDone());
    EXPECT_EQ(QDir(work.path()).entryList(QDir::Files), QStringList{"Quendar.ini"});
}

TEST_F(MainWindow, RecorderLayoutFollowsRecYN) {
    struct Case {
        const char* recYN;
        bool panel1;
        const char* caption;
        bool recShown;
        bool zlt1, zlt2;
        QWidget* TfrmMain::*page;
    };
    const Case cases[] = {
        {"1", true, "コルベ", true, true, true, &TfrmMain::TabSheet1},
        {"2", true, "ザルトン", true, true, false, &TfrmMain::TabSheet2},
        {"3", true, "ザルトン", true, false, true, &TfrmMain::TabSheet2},
        {"0", false, "ザルトン", false, true, true, nullptr},
        {"9", false, "ザルトン", true, true, true, &TfrmMain::TabSheet2},
    };
    deliverDatabase();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.recYN);
        sql(std::string("UPDATE sys_mas SET REC_YN = '") + c.recYN + "'");
        TfrmMain& w = start();
        ASSERT_TRUE(w.startupDone());
        EXPECT_EQ(w.Panel1->isVisibleTo(w.TabSheet1), c.panel1);
        EXPECT_EQ(w.btnDataSet->isVisibleTo(w.Panel1), c.panel1);
        EXPECT_EQ(w.btnemp_mas->isVisibleTo(w.Panel1), c.panel1);
        EXPECT_EQ(w.btnRec_YN->text(), c.caption);
        EXPECT_EQ(w.btnRec_YN->isVisibleTo(&w), c.recShown);
        EXPECT_FALSE(w.btnRec_YN->isEnabled());
        EXPECT_EQ(w.btnZLT1->isVisibleTo(w.TabSheet2), c.zlt1);
        EXPECT_EQ(w.btnZLT2->isVisibleTo(w.TabSheet2), c.zlt2);
        EXPECT_FALSE(w.Button6->isVisibleTo(w.TabSheet2));

        // "給与計算" enables the second row; the recorder button opens its page.
        w.btnKyuuyo->click();
        EXPECT_TRUE(w.PNL_M2->isEnabled());
        if (c.page) {
            EXPECT_TRUE(w.btnRec_YN->isEnabled());
            w.btnRec_YN->click();
            EXPECT_EQ(w.PageControl1->currentWidget(), w.*c.page);
        }
        main.reset();
        data::DataModule1->ADOConnection1.close();
    }
    EXPECT_TRUE(dialogs.shown().empty()) << dialogs.texts().join("\n").toStdString();
}

// ------------------------------------------------------------------ working state

TEST_F(MainWindow, AStoredClosingDayThePeriodCannotUseIsNamedAtStart) {
    deliverDatabase();
    for (const char* stored : {"abc", "0", "45"}) {
        SCOPED_TRACE(stored);
        dialogs.clear();
        sql(std::string("UPDATE 会社 SET 締日 = '") + stored + "'");
        TfrmMain& w = start();
        EXPECT_FALSE(w.startupDone());
        ASSERT_EQ(dialogs.shown().size(), 1u);
        EXPECT_EQ(dialogs.last().kind, ui::DialogKind::Error);
        EXPECT_EQ(dialogs.last().text,
                  QString::fromStdString(
                      "会社情報の締日 '" + std::string(stored) +
                      "' では支給期間を計算できません。会社情報の締日を1から31までの数字か空欄に直して下さい。"));
        main.reset();
    }
}

TEST_F(MainWindow, PayPeriodFromTheCompanysClosingDay) {
    deliverDatabase();
    sql("UPDATE 会社 SET 締日 = '20'");
    TfrmMain& w = start();
    ASSERT_TRUE(w.startupDone());
    EXPECT_EQ(w.EditD1->text(), "2026/02/21");
    EXPECT_EQ(w.EditD2->text(), "2026/03/20");

    // A new month takes effect with "変更"; the month key follows the edits at once.
    w.EditYY->setText("2014");
    w.EditMM->setText("12");
    EXPECT_EQ(w.monthKey(), "14/12");
    EXPECT_EQ(w.EditD1->text(), "2026/02/21");
    w.btnSel1->click();
    EXPECT_EQ(w.EditD1->text(), "2014/12/21");
    EXPECT_EQ(w.EditD2->text(), "2015/01/20");

    // A closing day that is no number: the error, and no stale period.
    sql("UPDATE 会社 SET 締日 = '二十'");
    w.btnSel1->click();
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.last().kind, ui::DialogKind::Error);
    // It names the field and where to mend it.
    EXPECT_EQ(
        dialogs.last().text,
        "会社情報の締日 '二十' では支給期間を計算できません。会社情報の締日を1から31までの数字か空欄に直して下さい。");
    EXPECT_TRUE(w.EditD1->text().isEmpty());
    EXPECT_TRUE(w.EditD2->text().isEmpty());

    // February of a common year with closing day 28 still names real dates.
    sql("UPDATE 会社 SET 締日 = '28'");
    w.EditYY->setText("2015");
    w.EditMM->setText("02");
    w.btnSel1->click();
    EXPECT_EQ(w.EditD1->text(), "2015/03/01");
    EXPECT_EQ(w.EditD2->text(), "2015/03/28");
}

TEST_F(MainWindow, PayPeriodLeavesTheCompanyTableOfAnOpenWindowAsItWas) {
    deliverDatabase();
    sql("UPDATE 会社 SET 締日 = '20'");
    TfrmMain& w = start();
    ASSERT_TRUE(w.startupDone());

    // The company window has the table open with a change not yet saved.
    db::Table& company = data::DataModule1->Company;
    company.open();
    company.edit();
    company.fieldByName("会社名").setAsString("新しい会社");
    w.EditMM->setText("07");
    w.btnSel1->click();
    EXPECT_TRUE(dialogs.shown().empty()) << dialogs.texts().join("\n").toStdString();
    EXPECT_EQ(w.EditD1->text(), "2026/07/21");
    ASSERT_TRUE(company.active());
    EXPECT_EQ(company.state(), db::DatasetState::Edit);
    EXPECT_EQ(company.fieldByName("会社名").asString(), "新しい会社");
    company.post();
    EXPECT_EQ(db::Connection(spath("Wendrasol.mdb")).scalar("SELECT 会社名 FROM 会社").toString(), "新しい会社");
    company.close();

    // An empty company table counts as the calendar month.
    sql("DELETE FROM 会社");
    w.btnSel1->click();
    EXPECT_TRUE(dialogs.shown().empty()) << dialogs.texts().join("\n").toStdString();
    EXPECT_EQ(w.EditD1->text(), "2026/07/01");
    EXPECT_EQ(w.EditD2->text(), "2026/07/31");
    EXPECT_FALSE(company.active());
}

TEST_F(MainWindow, WeeklyOrDailyPayTakesTheTypedDayRange) {
    deliverDatabase();
    sql("UPDATE 会社 SET 締日 = ''");
    TfrmMain& w = start();
    ASSERT_TRUE(w.startupDone());
    EXPECT_EQ(w.EditD1->text(), "2026/02/01");
    EXPECT_EQ(w.EditD2->text(), "2026/02/28");

    w.CheckBox2->click();  // the user ticks it
    EXPECT_FALSE(w.PanelMon->isVisibleTo(w.TabSheet3));
    EXPECT_TRUE(w.PanelDay->isVisibleTo(w.TabSheet3));
    EXPECT_EQ(w.EditD1->text(), "26/03/24");
    EXPECT_EQ(w.EditD2->text(), "26/03/30");

    w.MaskEdit1->setText("26/03/02");
    w.MaskEdit2->setText("26/03/08");
    w.btnSel2->click();
    EXPECT_EQ(w.EditD1->text(), "26/03/02");
    EXPECT_EQ(w.EditD2->text(), "26/03/08");

    w.CheckBox2->click();  // off again: the month is recomputed
    EXPECT_TRUE(w.PanelMon->isVisibleTo(w.TabSheet3));
    EXPECT_EQ(w.EditD1->text(), "2026/02/01");
    EXPECT_EQ(w.EditD2->text(), "2026/02/28");
}

TEST_F(MainWindow, BonusKeyFromTheBonusPage) {
    TfrmMain& w = create();
    w.EditYY2->setText("2014");
    w.ComboBox1->setCurrentIndex(1);
    EXPECT_EQ(w.bonusKey(), "14-2");
}

TEST_F(MainWindow, ClosingRestoresTheUsersFormats) {
    {
        app::FileRegionalStore s(path("cfg/International.conf").toStdString());
        ASSERT_TRUE(s.open(true));
        s.write("sShortDate", "yyyy/MM/dd");
    }
    deliverDatabase();
    TfrmMain& w = start();
    auto value = [&](const char* name) {
        app::FileRegionalStore s(path("cfg/International.conf").toStdString());
        s.open(false);
        return s.read(name);
    };
    EXPECT_EQ(value("sShortDate"), "yy/MM/dd");
    EXPECT_EQ(value("sShortTime"), "HH:mm");
    w.Button3->click();
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(value("sShortDate"), "yyyy/MM/dd");
    EXPECT_EQ(value("sShortTime"), std::nullopt);
}

// ------------------------------------------------------------------ mode buttons

TEST_F(MainWindow, ModeButtonsSwitchPagesAndTheSecondRow) {
    TfrmMain& w = create();
    struct Step {
        ui::Button* TfrmMain::*button;
        QWidget* TfrmMain::*page;
        bool secondRow;
    };
    const Step steps[] = {
        {&TfrmMain::btnKyuuyo, &TfrmMain::TabSheet7, true},
        {&TfrmMain::btnKyuuyo, &TfrmMain::TabSheet7, true},  // already enabled: no change
        {&TfrmMain::btnShouyo, &TfrmMain::TabSheet4, false},
        {&TfrmMain::btnMaster, &TfrmMain::TabSheet5, false},
        {&TfrmMain::btnKyuuyo, &TfrmMain::TabSheet7, true},
        {&TfrmMain::btnNenji, &TfrmMain::TabSheet6, false},
    };
    for (const Step& s : steps) {
        (w.*s.button)->click();
        EXPECT_EQ(w.PageControl1->currentWidget(), w.*s.page);
        EXPECT_EQ(w.PNL_M2->isEnabled(), s.secondRow);
        for (ui::Button* b : {w.btnTimeCorder, w.btnDirectCalc, w.btnKinmu, w.btnRec_YN})
            EXPECT_EQ(b->isEnabled(), s.secondRow) << b->objectName().toStdString();
    }

    w.btnKyuuyo->click();
    w.btnDirectCalc->click();
    EXPECT_EQ(w.PageControl1->currentWidget(), w.TabSheet3);
    for (ui::Button* b : {w.btnTimeInp, w.btnJ_Meisai, w.btnCardRep})
        EXPECT_FALSE(b->isVisibleTo(w.TabSheet3)) << b->objectName().toStdString();
    for (ui::Button* b : {w.btnTimeRep, w.btnDayRep}) EXPECT_TRUE(b->isVisibleTo(w.TabSheet3));
    w.btnKinmu->click();
    for (ui::Button* b : {w.btnTimeInp, w.btnDayRep, w.btnTimeRep, w.btnJ_Meisai, w.btnCardRep})
        EXPECT_TRUE(b->isVisibleTo(w.TabSheet3)) << b->objectName().toStdString();
}

// ------------------------------------------------------------------ hub

TEST_F(MainWindow, OpeningACommandTwiceFreesTheFirstWindows) {
    stub("frmTotal");
    stub("DlgCalcTime");
    stub("DlgCalcCount");
    TfrmMain& w = create();
    w.btnKyuyo->click();
    EXPECT_EQ(w.EditPName->text(), "Total");
    QPointer<QObject> total = ref("frmTotal"), calcTime = ref("DlgCalcTime"), calcCount = ref("DlgCalcCount");
    ASSERT_TRUE(total && calcTime && calcCount);
    EXPECT_TRUE(static_cast<QWidget*>(total.data())->isVisible());
    EXPECT_FALSE(static_cast<QWidget*>(calcTime.data())->isVisible());  // only the first is shown

    w.btnKyuyo->click();
    EXPECT_TRUE(total.isNull());
    EXPECT_TRUE(calcTime.isNull());
    EXPECT_TRUE(calcCount.isNull());
    ASSERT_TRUE(ref("frmTotal"));
    EXPECT_TRUE(static_cast<QWidget*>(ref("frmTotal"))->isVisible());
    EXPECT_EQ(w.EditPName->text(), "Total");
}

TEST_F(MainWindow, AClosedWindowStaysAliveUntilTheNextOpenerFreesIt) {
    stub("frmCompany");
    app::registerSubWindows();  // the version dialog, as the program has it
    TfrmMain& w = create();

    w.About1->trigger();
    EXPECT_EQ(w.EditPName->text(), "AboutBox");
    QPointer<QObject> about = ref("DlgAboutBox");
    ASSERT_TRUE(about);
    auto* dlg = qobject_cast<TDlgAboutBox*>(about.data());
    ASSERT_TRUE(dlg);
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(dlg->windowTitle(), "バージョン情報");
    EXPECT_EQ(dlg->Version->text(), "4.2.0.0");
    EXPECT_EQ(dlg->ProductName->text(), "Tallyra");

    dlg->OKButton->click();  // only hidden
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_FALSE(about.isNull());

    w.Button8->click();  // "会社情報"
    EXPECT_TRUE(about.isNull());
    EXPECT_EQ(w.EditPName->text(), "Company");
    EXPECT_TRUE(ref("frmCompany"));
}

TEST_F(MainWindow, CommandWithoutItsWindowDoesNothing) {
    app::registerSubWindows();
    TfrmMain& w = create();
    w.About1->trigger();
    QPointer<QObject> about = ref("DlgAboutBox");
    // Commands whose windows are not registered (every command has its
    // window by now, so two are taken away).
    for (const char* f : {"frmQR_KyuyoRep", "frmQR_KyuyoRep2", "frmQR_HokenRep", "frmQR_HokenRep2"})
        app::subWindows().unregister(f);
    for (ui::Button* b : {w.btnKyuyoRep, w.btnHokenPrt}) b->click();
    EXPECT_TRUE(about);
    EXPECT_EQ(w.EditPName->text(), "AboutBox");
    EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(MainWindow, PayCommandsOpenThePayWindowsWithTheirDialogs) {
    deliverDatabase();
    app::registerSubWindows();
    TfrmMain& w = start();
    w.btnKyuyo->click();
    EXPECT_EQ(w.EditPName->text(), "Total");
    QPointer<QObject> total = ref("frmTotal"), calcTime = ref("DlgCalcTime"), calcCount = ref("DlgCalcCount");
    ASSERT_TRUE(total && calcTime && calcCount) << dialogs.texts().join("\n").toStdString();
    EXPECT_EQ(total->metaObject()->className(), std::string("TfrmTotal"));
    EXPECT_TRUE(static_cast<QWidget*>(total.data())->isVisible());

    // The bonus command frees the monthly window and both dialogs.
    w.btnShoyo->click();
    EXPECT_EQ(w.EditPName->text(), "TotalB");
    EXPECT_TRUE(total.isNull());
    EXPECT_TRUE(calcTime.isNull());
    ASSERT_TRUE(ref("frmTotalB"));
    EXPECT_EQ(ref("frmTotalB")->metaObject()->className(), std::string("TfrmTotalB"));
    EXPECT_TRUE(ref("DlgCalcTime"));
    EXPECT_TRUE(ref("DlgCalcCount"));
    EXPECT_TRUE(dialogs.shown().empty()) << dialogs.texts().join("\n").toStdString();
}

TEST_F(MainWindow, ANameThatMatchesNoGroupFreesNothing) {
    stub("frmJob_kbn");
    TfrmMain& w = create();
    w.btnKbn->click();
    QPointer<QObject> first = ref("frmJob_kbn");
    w.EditPName->setText("");
    w.action("Act_Free")->execute();
    EXPECT_TRUE(first);
    w.EditPName->setText("job_kbn");  // names compare exactly
    w.action("Act_Free")->execute();
    EXPECT_TRUE(first);
    w.EditPName->setText("Job_kbn");
    w.action("Act_Free")->execute();
    EXPECT_FALSE(first);
}

TEST_F(MainWindow, ReportVariantsFollowTheCategoryCheckBox) {
    for (const char* f : {"frmQR_HokenRep", "frmQR_HokenRep2", "frmQR_KyuyoRepS", "frmQR_KyuyoRepS2", "frmQR_HokenRepS",
                          "frmQR_HokenRepS2"})
        stub(f, true);
    TfrmMain& w = create();
    w.btnHokenPrt->click();
    w.btnShoyoRep->click();
    w.btnHokenSPrt->click();
    w.CheckBox1->setChecked(true);
    w.btnHokenPrt->click();
    w.btnShoyoRep->click();
    w.btnHokenSPrt->click();
    EXPECT_EQ(previewed, (QStringList{"frmQR_HokenRep", "frmQR_KyuyoRepS", "frmQR_HokenRepS", "frmQR_HokenRep2",
                                      "frmQR_KyuyoRepS2", "frmQR_HokenRepS2"}));
    EXPECT_EQ(w.EditPName->text(), "QR_HokenRepS2");
    // Report forms are never shown themselves.
    EXPECT_FALSE(static_cast<QWidget*>(ref("frmQR_HokenRepS2"))->isVisible());
}

TEST_F(MainWindow, CountOfZeroShowsItsMessageAndLeavesNoNameBehind) {
    struct Case {
        ui::Button* TfrmMain::*button;
        const char* report;
        const char* message;
        const char* insert;  // a row that makes the count 1 (month key 26/02, period February)
        const char* name;
    };
    const Case cases[] = {
        {&TfrmMain::btnKyuyoRep, "frmQR_KyuyoRep", "指定月の給与明細データが有りません。",
         "INSERT INTO sum_tran (S_TANCOD, S_DATE) VALUES (1, '26/02')", "QR_KyuyoRep"},
        {&TfrmMain::btnK_Meisai, "frmQR_Kyuyo", "指定月の給与明細データがありません。",
         "INSERT INTO sum_tran (S_TANCOD, S_DATE) VALUES (1, '26/02')", "QR_Kyuyo"},
        {&TfrmMain::btnMainus, "frmQR_Minus", "指定月の給与明細データがありません。",
         "INSERT INTO minus_dat (M_No, M_TANCOD, M_DATE) VALUES (1, 1, '26/02')", "QR_Minus"},
        {&TfrmMain::btnJ_Meisai, "frmQR_Kinmu", "指定月のタイムカードデータが有りません。",
         "INSERT INTO kimu_tran (K_TANCOD, K_DATE) VALUES (1, 46072)", "QR_kinmu"},  // 2026-02-20
    };
    deliverDatabase();
    sql("UPDATE 会社 SET 締日 = '31'");
    app::registerSubWindows();
    for (const Case& c : cases) stub(c.report, true);
    TfrmMain& w = start();
    ASSERT_TRUE(w.startupDone());
    ASSERT_EQ(w.monthKey(), "26/02");

    for (const Case& c : cases) {
        SCOPED_TRACE(c.report);
        for (const char* t : {"sum_tran", "minus_dat", "kimu_tran"}) sql(std::string("DELETE FROM ") + t);
        w.About1->trigger();
        QPointer<QObject> about = ref("DlgAboutBox");
        dialogs.clear();
        previewed.clear();

        (w.*c.button)->click();
        ASSERT_EQ(dialogs.shown().size(), 1u);
        EXPECT_EQ(dialogs.last().kind, ui::DialogKind::Message);
        EXPECT_EQ(dialogs.last().text, c.message);
        EXPECT_EQ(dialogs.last().caption, "Tallyra計算");
        EXPECT_TRUE(w.EditPName->text().isEmpty());
        EXPECT_TRUE(about.isNull());  // the open window was freed first
        EXPECT_TRUE(previewed.isEmpty());
        EXPECT_EQ(ref(c.report), nullptr);

        sql(c.insert);
        dialogs.clear();
        (w.*c.button)->click();
        EXPECT_TRUE(dialogs.shown().empty()) << dialogs.texts().join("\n").toStdString();
        EXPECT_EQ(previewed, QStringList{c.report});
        EXPECT_EQ(w.EditPName->text(), c.name);
    }
    // The work record reads its rows itself each time it is laid out; the
    // opener leaves no query open behind it.
    EXPECT_FALSE(data::DataModule1->Qkimu_tran.active());
}

TEST_F(MainWindow, PaySlipLayoutFollowsThePrintSetting) {
    deliverDatabase();
    sql("INSERT INTO sum_tran (S_TANCOD, S_DATE) VALUES (1, '26/02')");
    sql("UPDATE sys_mas SET PRT_FLG = '1' WHERE SYS_CD = '1'");
    for (const char* f : {"frmQR_Kyuyo", "frmQR_Kyuyo1170", "frmQR_KyuyoS", "frmQR_KyuyoS1170"}) stub(f, true);
    TfrmMain& w = start();
    ASSERT_TRUE(w.startupDone());
    w.btnK_Meisai->click();
    w.btnShoyoPrt->click();
    sql("UPDATE sys_mas SET PRT_FLG = '0' WHERE SYS_CD = '1'");
    w.btnK_Meisai->click();
    w.btnShoyoPrt->click();
    EXPECT_EQ(previewed, (QStringList{"frmQR_Kyuyo1170", "frmQR_KyuyoS1170", "frmQR_Kyuyo", "frmQR_KyuyoS"}));
}

TEST_F(MainWindow, DailyTableAsksWhetherToRebuildAndOpensEitherWay) {
    stub("frmClossRep");
    stub("frmQR_Closs");
    TfrmMain& w = create();
    int builds = 0;
    w.action("Act_ClossRep")->setHandler([&] { ++builds; });

    dialogs.answer("No");
    w.btnDayRep->click();
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.last().kind, ui::DialogKind::Question);
    EXPECT_EQ(dialogs.last().text, "日別データを再構築しますか。？");
    EXPECT_EQ(dialogs.last().caption, "データ作成");
    EXPECT_EQ(builds, 0);
    EXPECT_EQ(w.EditPName->text(), "ClossRep");
    EXPECT_TRUE(ref("frmClossRep") && ref("frmQR_Closs"));

    dialogs.answer("Yes");
    w.btnDayRep->click();
    EXPECT_EQ(builds, 1);
}

// ------------------------------------------------------------------ programs and help

TEST_F(MainWindow, SiblingProgramsStartAfterTheConnectionIsClosedAndMissingOnesFailSilently) {
    deliverDatabase();
    TfrmMain& w = start();
    ASSERT_TRUE(w.startupDone());
    ASSERT_TRUE(data::DataModule1->ADOConnection1.connected());

    // None of the three is installed here.
    w.Button2->click();
    EXPECT_TRUE(started.isEmpty());
    EXPECT_TRUE(dialogs.shown().empty());
    EXPECT_FALSE(data::DataModule1->ADOConnection1.connected());

    QTemporaryDir bin;
    QFile program(bin.filePath("Velmora"));
    ASSERT_TRUE(program.open(QIODevice::WriteOnly));
    program.write("#!/bin/sh\n");
    program.close();
    program.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", bin.path().toLocal8Bit() + ":" + oldPath);
    w.Button2->click();
    w.btnTaishoku->click();
    qputenv("PATH", oldPath);
    EXPECT_EQ(started, QStringList{bin.filePath("Velmora")});
    EXPECT_TRUE(w.EditPName->text().isEmpty());
}

TEST_F(MainWindow, HelpOpensThePageOfTheWorkingFolder) {
    TfrmMain& w = create();
    w.Contents1->trigger();
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened.first(), QUrl::fromLocalFile(path("Tallyra2.htm")).toString());
    QFile page(path("Tallyra2.htm"));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(page.readAll()).contains("Tallyra計算"));
}

// ------------------------------------------------------------------ the window itself

TEST_F(MainWindow, EveryControlCarriesItsNameAndInputsAreNamedForScreenReaders) {
    TfrmMain& w = create();
    EXPECT_EQ(w.objectName(), "frmMain");
    EXPECT_EQ(w.windowTitle(), "Tallyra計算");
    EXPECT_EQ(w.size(), QSize(516, 419));
    for (const char* name :
         {"Panel2",        "PNL_M1",        "PNL_M2",      "btnKyuuyo",  "btnShouyo",   "btnMaster",   "btnNenji",
          "btnTimeCorder", "btnDirectCalc", "btnRec_YN",   "btnKinmu",   "EditD1",      "EditD2",      "Edit1",
          "EditPName",     "PageControl1",  "TabSheet1",   "TabSheet2",  "TabSheet3",   "TabSheet4",   "TabSheet5",
          "TabSheet6",     "TabSheet7",     "Panel1",      "btnDataSet", "btnemp_mas",  "Panel5",      "btnZLT1",
          "btnZLT2",       "Button6",       "btnTimeInp",  "btnTimeRep", "btnCardRep",  "btnDayRep",   "btnJ_Meisai",
          "btnKyuyo",      "btnKyuyoRep",   "btnK_Meisai", "btnMainus",  "btnHokenPrt", "btnFuto",     "btnDaichou",
          "CheckBox1",     "CheckBox2",     "PanelMon",    "EditYY",     "EditMM",      "btnSel1",     "PanelDay",
          "MaskEdit1",     "MaskEdit2",     "btnSel2",     "btnShoyo",   "btnShoyoRep", "btnShoyoPrt", "btnHokenSPrt",
          "Button7",       "PanelShoyo",    "EditYY2",     "ComboBox1",  "btnSel3",     "btnSysSet",   "Button1",
          "btnKbn",        "Button8",       "btnTitle",    "btnSys_mas", "btnPack",     "Button2",     "btnTaishoku",
          "btnPelquin",    "Button9",       "btnGensen1",  "btnGensen2", "Button4",     "Button11",    "Panel4",
          "EditYYS",       "EditMMS",       "EditYYE",     "EditMME",    "Panel3",      "Button3"})
        EXPECT_NE(w.findChild<QObject*>(name), nullptr) << name;
    struct Caption {
        const char* name;
        const char* text;
    };
    for (const Caption& c : std::initializer_list<Caption>{
             {"btnKyuuyo", "給与計算"},      {"btnShouyo", "賞与計算"},         {"btnMaster", "マスタ処理"},
             {"btnNenji", "年次処理"},       {"btnTimeCorder", "タイムカード"}, {"btnDirectCalc", "給与明細作成"},
             {"btnKinmu", "勤務データ入力"}, {"btnTimeRep", "一覧表示"},        {"btnCardRep", "出勤簿"},
             {"btnKyuyo", "給与計算"},       {"btnDaichou", "個人別台帳印刷"},  {"btnSysSet", "ﾃﾞｰﾀﾍﾞｰｽ設定"},
             {"Button1", "個人別単価"},      {"btnKbn", "区分マスタ"},          {"Button8", "会社情報"},
             {"Button9", "年次処理"},        {"btnDataSet", "新規セット"},      {"btnemp_mas", "社員マスタ"},
             {"btnZLT1", "新規セット"},      {"btnZLT2", "新規セット2"},        {"Button3", "終了"}})
        EXPECT_EQ(w.findChild<QAbstractButton*>(c.name)->text(), c.text) << c.name;
    EXPECT_EQ(w.ComboBox1->count(), 3);
    EXPECT_EQ(w.ComboBox1->currentText(), "1");
    EXPECT_TRUE(w.PageControl1->tabBar()->isHidden());
    // Hidden fields aside, every input can be found by what a user reads.
    EXPECT_EQ(ui::unnamedInputs(&w), QStringList{}) << ui::unnamedInputs(&w).join(",").toStdString();
}

// ------------------------------------------------------------------ unposted changes

namespace {
// A data window over the company row, as the master windows have them.
class CompanyStub : public ui::Form {
public:
    explicit CompanyStub(QWidget* owner) : ui::Form("frmCompany", owner) {
        setWindowFlag(Qt::Window);
        edit = new ui::DBEdit("DBEdit1", this);
        edit->setDataSource(&data::DataModule1->DSCompany);
        edit->setDataField("会社名");
    }
    ui::DBEdit* edit;
};
}  // namespace

TEST_F(MainWindow, FreeingOrClosingAWindowWithAnUnpostedChangeAsksFirst) {
    deliverDatabase();
    registered << "frmCompany";
    app::subWindows().registerForm("frmCompany",
                                   [](QWidget* owner) -> QObject* { return ui::createForm<CompanyStub>(owner); });
    stub("frmJob_kbn");
    TfrmMain& w = start();
    ASSERT_TRUE(w.startupDone());

    db::Table& company = data::DataModule1->Company;
    auto typeChange = [&] {
        company.open();
        company.edit();
        company.fieldByName("会社名").setAsString("新しい会社");
    };

    w.Button8->click();
    QPointer<QObject> window = ref("frmCompany");
    ASSERT_TRUE(window);
    typeChange();

    // Cancel: the window, its change and the open-window name stay.
    dialogs.answer("Cancel");
    w.btnKbn->click();
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.last().text, ui::unpostedChangeQuestion());
    EXPECT_TRUE(window);
    EXPECT_TRUE(static_cast<QWidget*>(window.data())->isVisible());
    EXPECT_EQ(w.EditPName->text(), "Company");
    EXPECT_EQ(ref("frmJob_kbn"), nullptr);

    // The main window does not close over it either.
    dialogs.answer("Cancel");
    w.close();
    EXPECT_TRUE(w.isVisible());

    // Yes: saved, then freed, and the next window opens.
    dialogs.answer("Yes");
    w.btnKbn->click();
    EXPECT_TRUE(window.isNull());
    EXPECT_EQ(w.EditPName->text(), "Job_kbn");
    db::Connection c(spath("Wendrasol.mdb"));
    EXPECT_EQ(c.scalar("SELECT 会社名 FROM 会社").toString(), "新しい会社");
}

TEST_F(MainWindow, ClosingTheConnectionForASiblingOrTheCompactionSettlesAnUnpostedChangeFirst) {
    struct Case {
        const char* answer;
        ui::Button* TfrmMain::*button;
        const char* stored;  // the company name in the file afterwards
        bool connected;      // the working connection afterwards
        bool companyAlive;
        const char* name;  // EditPName afterwards
    };
    const Case cases[] = {
        {"Cancel", &TfrmMain::Button2, "", true, true, "Company"},
        {"No", &TfrmMain::Button2, "", false, true, "Company"},
        {"Yes", &TfrmMain::Button2, "新しい会社", false, true, "Company"},
        {"Cancel", &TfrmMain::btnPack, "", true, true, "Company"},
        {"Yes", &TfrmMain::btnPack, "新しい会社", false, false, "DB_Pack"},
    };
    deliverDatabase();
    registered << "frmCompany";
    app::subWindows().registerForm("frmCompany",
                                   [](QWidget* owner) -> QObject* { return ui::createForm<CompanyStub>(owner); });
    stub("frmDB_Pack");
    TfrmMain& w = start();
    ASSERT_TRUE(w.startupDone());
    db::Table& company = data::DataModule1->Company;

    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.answer) + " " + (w.*c.button)->objectName().toStdString());
        sql("UPDATE 会社 SET 会社名 = ''");
        w.Button8->click();  // "会社情報"
        QPointer<QObject> window = ref("frmCompany");
        ASSERT_TRUE(window);
        company.open();
        company.edit();
        company.fieldByName("会社名").setAsString("新しい会社");
        dialogs.clear();

        dialogs.answer(c.answer);
        (w.*c.button)->click();
        EXPECT_EQ(dialogs.texts(), QStringList{ui::unpostedChangeQuestion()});
        EXPECT_EQ(data::DataModule1->ADOConnection1.connected(), c.connected);
        EXPECT_EQ(window.isNull(), !c.companyAlive);
        EXPECT_EQ(w.EditPName->text(), c.name);
        {
            db::Connection file(spath("Wendrasol.mdb"));
            EXPECT_EQ(file.scalar("SELECT 会社名 FROM 会社").toString(), c.stored);
        }
        if (company.active() && company.state() != db::DatasetState::Browse) company.cancel();
    }
}

// ------------------------------------------------------------------ keys

TEST_F(MainWindow, EnterAndPageKeysMoveTheFocusThroughTheMonthPanel) {
    deliverDatabase();
    TfrmMain& w = start();
    w.btnKyuuyo->click();
    w.btnKinmu->click();
    QApplication::setActiveWindow(&w);
    w.EditYY->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), w.EditYY);

    QTest::keyClick(w.EditYY, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), w.EditMM);
    QTest::keyClick(w.EditMM, Qt::Key_PageDown);
    EXPECT_EQ(QApplication::focusWidget(), w.btnSel1);
    QTest::keyClick(w.btnSel1, Qt::Key_PageUp);
    EXPECT_EQ(QApplication::focusWidget(), w.EditMM);
    // Enter on a button moves on and does not press it.
    const QString before = w.EditD1->text();
    w.EditMM->setText("13");
    w.btnSel1->setFocus();
    QTest::keyClick(w.btnSel1, Qt::Key_Return);
    EXPECT_NE(QApplication::focusWidget(), w.btnSel1);
    EXPECT_EQ(w.EditD1->text(), before);
    EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(MainWindow, VersionDialogLinksOpenTheHelpPageAndTheTaxTablesPage) {
    app::registerSubWindows();
    TfrmMain& w = create();
    w.About1->trigger();
    auto* dlg = qobject_cast<TDlgAboutBox*>(ref("DlgAboutBox"));
    ASSERT_TRUE(dlg);
    emit dlg->MainURL->linkActivated(TDlgAboutBox::mainUrl());
    emit dlg->TaxURL->linkActivated(TDlgAboutBox::taxRateUrl());
    EXPECT_EQ(opened, (QStringList{QUrl::fromLocalFile(path("Tallyra2.htm")).toString(), TDlgAboutBox::taxRateUrl()}));
    EXPECT_TRUE(QFile::exists(path("Tallyra2.htm")));
}

TEST_F(MainWindow, RecorderCsvImportFromTheMainWindowReplacesThePunchesAndEnablesTheButtons) {
    deliverDatabase();
    sql("UPDATE sys_mas SET REC_YN = '2'");
    sql("INSERT INTO タイムカード (月, 日, 時, 分, 秒, IDコード, 入退, 異例コード, CR) "
        "VALUES ('01', '01', '09', '00', '0', 'old', '0', '00', '0')");
    TfrmMain& w = start();
    ASSERT_TRUE(w.startupDone());
    app::connectCommands(w);
    // Layout 1: employee in field 1, date in 4, clock-in in 8, clock-out in 11.
    rtl::writeLines(spath("punch.csv"),
                    {"0,000007,x,x,年月日,x,x,x,出勤,x,x,退勤", "0,000007,x,x,14/07/01,x,x,x,22:00,x,x,06:30"});
    for (auto* b : {w.btnDayRep, w.btnJ_Meisai, w.btnTimeRep}) b->setEnabled(false);

    dialogs.answer(path("punch.csv"));
    w.btnZLT1->click();
    EXPECT_EQ(dialogs.unanswered(), 0);
    db::Connection c(spath("Wendrasol.mdb"));
    EXPECT_EQ(c.scalar("SELECT COUNT(*) FROM タイムカード").integer(), 2);
    EXPECT_EQ(c.scalar("SELECT COUNT(*) FROM タイムカード WHERE IDコード = 'old'").integer(), 0);
    // The clock-out of a night shift keeps the line's date with its hour raised.
    EXPECT_EQ(c.scalar("SELECT 時 FROM タイムカード WHERE 入退 = '1'").text(), "30");
    for (auto* b : {w.btnDayRep, w.btnJ_Meisai, w.btnTimeRep})
        EXPECT_TRUE(b->isEnabled()) << b->objectName().toStdString();

    // A cancelled choice keeps what is there.
    dialogs.answer("");
    w.btnZLT1->click();
    EXPECT_EQ(c.scalar("SELECT COUNT(*) FROM タイムカード").integer(), 2);
}

TEST_F(MainWindow, RecorderCsvImportShowsItWorksAndItsCancelOrErrorKeepsThePunches) {
    deliverDatabase();
    sql("UPDATE sys_mas SET REC_YN = '2'");
    TfrmMain& w = start();
    ASSERT_TRUE(w.startupDone());
    app::connectCommands(w);
    rtl::writeLines(spath("punch.csv"), {"0,000007,x,x,14/07/01,x,x,x,08:00,x,x,17:00"});
    dialogs.answer(path("punch.csv"));
    w.btnZLT1->click();
    db::Connection c(spath("Wendrasol.mdb"));
    const auto count = [&] { return c.scalar("SELECT COUNT(*) FROM タイムカード").integer(); };
    ASSERT_EQ(count(), 2);

    // Another program's file: refused naming its line, nothing lost, and
    // the wait cursor gone before the error shows.
    rtl::writeLines(spath("other.csv"), {"a,b,c", "x,y,z"});
    dialogs.clear();
    dialogs.answer(path("other.csv"));
    w.btnZLT1->click();
    ASSERT_EQ(dialogs.shown().size(), 2u);
    EXPECT_EQ(dialogs.last().kind, ui::DialogKind::Error);
    EXPECT_EQ(dialogs.last().text, "項目が 3 個しかありません（12 個必要です）（1 行目）");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(count(), 2);

    // The progress dialog (at once here) under the wait cursor; its Cancel
    // rolls the import back.
    const auto delay = ui::progressDialogDelay();
    ui::setProgressDialogDelay(std::chrono::milliseconds(0));
    rtl::writeLines(spath("new.csv"), {"0,000008,x,x,14/07/02,x,x,x,09:00,x,x,18:00"});
    bool waited = false, pressed = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* box = QApplication::activeModalWidget();
        if (!box || box->objectName() != "dlgProgress") return;
        poll.stop();
        waited = QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
        box->findChild<QPushButton*>("CancelBtn")->click();
        pressed = true;
    });
    poll.start(0);
    dialogs.clear();
    dialogs.answer(path("new.csv"));
    w.btnZLT1->click();
    ui::setProgressDialogDelay(delay);
    EXPECT_TRUE(pressed);
    EXPECT_TRUE(waited);
    EXPECT_EQ(dialogs.shown().size(), 1u);  // the file dialog only: a cancel is no error
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(c.scalar("SELECT COUNT(*) FROM タイムカード WHERE IDコード = '000007'").integer(), 2);
    EXPECT_EQ(count(), 2);
}
