// The pay-data window driven headless from the real main window: import,
// correct a clock-out through the dialog, recompute, total.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>

#include <filesystem>
#include <memory>
#include <vector>

#include "app/commands.h"
#include "app/frmMain.h"
#include "app/regionalformats.h"
#include "app/subwindows.h"
#include "data/DB_Acs.h"
#include "data/delivered.h"
#include "mainwindowtest.h"
#include "masters/Emp_Seek.h"
#include "paydata/ClockDialogs.h"
#include "paydata/MainRep.h"
#include "paydata/columnview.h"
#include "paydata/register.h"
#include "rtl/clock.h"
#include "rtl/datetime.h"
#include "rtl/textfile.h"
#include "ui/action.h"
#include "ui/controls.h"
#include "ui/dbgrid.h"
#include "ui/dbnavigator.h"
#include "ui/dialogs.h"
#include "ui/guard.h"
#include "ui/maskedit.h"

namespace {

class PayDataWindow : public tsupport::MainWindowTest {
protected:
    void registerWindows() override {
        paydata::registerWindows(
            [this](const QString& name, paydata::FormFactory create) { registerForm(name, std::move(create)); });
        createStartupObjects();
    }
    void SetUp() override {
        MainWindowTest::SetUp();
        if (HasFatalFailure()) return;
        // Employee 1 on the delivered category 01 (09:00 to 18:00, whole minutes).
        exec(
            "INSERT INTO emp_tanka (E_NO, E_TANCOD, E_NAME, E_CARDNO, E_JOBKBN, E_DROPKBN, E_BASE_YN, E_PAYKBN, "
            "E_BASEPAY, E_FUTZ_YN, E_FUTZPAY) VALUES (1, '000001', '山田太郎', '000001', '01', '1', '1', '2', 1200, "
            "'1', 1500)");
        exec("UPDATE 区分 SET 残業開始時刻 = '18:00', 残業終了時刻 = '22:00' WHERE 区分 = '01'");
        dialogs.clear();
    }
    void punch(const char* month, const char* day, const char* hour, const char* minute, const char* inOut) {
        exec(
            "INSERT INTO タイムカード (月, 日, 時, 分, 秒, IDコード, 入退, 異例コード, CR) "
            "VALUES (?, ?, ?, ?, '00', '000001', ?, '00', '0')",
            {month, day, hour, minute, inOut});
    }
    TfrmMainRep* open() {
        main->action("Act_MainRep")->execute();
        return qobject_cast<TfrmMainRep*>(app::subWindows().reference("frmMainRep"));
    }
    // The window opened from the hub after importing employee 1's day of 1 April, 09:00 to 18:00.
    TfrmMainRep* openWithOneDay() {
        punch("04", "01", "09", "00", "0");
        punch("04", "01", "18", "00", "1");
        TfrmMainRep* w = open();
        w->btnKinmu->click();
        return w;
    }
    db::Table& kimu() { return data::DataModule1->kimu_tran; }

    // The default pay month is April 2024, a calendar month (no closing day).
    rtl::ScopedTestClock clock{rtl::encodeDateTime(2024, 5, 20, 9, 0, 0)};
};

TEST_F(PayDataWindow, ImportCorrectRecomputeAndTotalFromTheHub) {
    punch("04", "01", "09", "00", "0");
    punch("04", "01", "18", "00", "1");
    punch("04", "02", "09", "00", "0");
    punch("04", "02", "12", "00", "1");  // the clock-out to correct

    TfrmMainRep* w = open();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(main->EditPName->text(), QStringLiteral("MainRep"));
    EXPECT_EQ(w->windowTitle(), QStringLiteral("給与データ移行"));
    EXPECT_EQ(w->monthKey(), "24/04");
    // No column-view file yet, and no rows in the period.
    EXPECT_EQ(dialogs.texts(),
              (QStringList{QStringLiteral("ファイルが有りません。"), QStringLiteral("日付範囲のデータが有りません")}));
    dialogs.clear();

    w->btnKinmu->click();
    EXPECT_EQ(dialogs.texts(), QStringList{QStringLiteral("新規にデータをセットします。よろしいですか？")});
    EXPECT_FALSE(w->PanelS->isVisible());
    ASSERT_EQ(kimu().recordCount(), 2);
    EXPECT_EQ(w->Edit1->text(), QStringLiteral("2"));

    // Correct the clock-out of the 2nd through the dialog.
    kimu().last();
    EXPECT_EQ(kimu()["K_KINMU"].asInteger(), 180);
    w->DBGrid1->clickEditButton(4);
    ASSERT_NE(DlgOutTime, nullptr);
    EXPECT_TRUE(DlgOutTime->isVisible());
    EXPECT_EQ(DlgOutTime->windowTitle(), QStringLiteral("退勤時刻"));
    EXPECT_EQ(DlgOutTime->MaskEdit1->text(), QStringLiteral("24/04/02"));
    EXPECT_EQ(DlgOutTime->MaskEdit2->text(), QStringLiteral("12:00:00"));
    // Moving in the grid meanwhile does not change the row that is written.
    kimu().first();
    DlgOutTime->MaskEdit2->setText(QStringLiteral("18:30:00"));
    DlgOutTime->Button2->click();
    EXPECT_FALSE(DlgOutTime->isVisible());
    EXPECT_EQ(rtl::dateToStr(kimu()["K_DATE"].asDateTime()), "24/04/02");
    EXPECT_EQ(rtl::dateTimeToStr(kimu()["K_OUTTIM"].asDateTime()), "24/04/02 18:30:00");
    // The row's times are recomputed at once: worked time is cut at the shift end.
    EXPECT_EQ(kimu()["K_KINMU"].asInteger(), 540);
    EXPECT_EQ(kimu()["K_FUTZAN"].asString(), "30");
    w->DBNavigator1->btnClick(ui::NavButton::Post);
    EXPECT_EQ(number("SELECT COUNT(*) FROM kimu_tran WHERE K_OUTTIM = ?", {rtl::encodeDateTime(2024, 4, 2, 18, 30, 0)}),
              1);

    dialogs.clear();
    w->btnTime->click();
    EXPECT_TRUE(dialogs.texts().isEmpty()) << dialogs.texts().join('|').toStdString();
    EXPECT_EQ(number("SELECT K_KINMU FROM kimu_tran WHERE K_DATE = ?", {rtl::encodeDate(2024, 4, 2)}), 570);
    EXPECT_EQ(number("SELECT K_TANJI FROM kimu_tran WHERE K_DATE = ?", {rtl::encodeDate(2024, 4, 2)}), 540);
    EXPECT_EQ(number("SELECT K_FUTKING FROM kimu_tran WHERE K_DATE = ?", {rtl::encodeDate(2024, 4, 2)}), 750);

    w->btnKingCalc->click();
    EXPECT_EQ(dialogs.texts(), QStringList{QStringLiteral("既存のデータは破棄されます。よろしいですか？")});
    EXPECT_EQ(number("SELECT COUNT(*) FROM sum_tran WHERE S_DATE = '24/04'"), 1);
    EXPECT_EQ(number("SELECT S_DAYS FROM sum_tran"), 2);
    EXPECT_EQ(number("SELECT S_TANJI FROM sum_tran"), 1080);
    EXPECT_EQ(number("SELECT S_BASKING FROM sum_tran"), 21600);  // 18 hours at 1200
    EXPECT_EQ(number("SELECT S_FUTKING FROM sum_tran"), 750);
    EXPECT_FALSE(w->PanelS->isVisible());
}

TEST_F(PayDataWindow, AStalePeriodIsRefusedWithAMessage) {
    punch("04", "01", "09", "00", "0");
    punch("04", "01", "18", "00", "1");
    TfrmMainRep* w = open();
    ASSERT_NE(w, nullptr);
    // The month changes in the main window without "変更".
    main->EditMM->setText(QStringLiteral("05"));
    dialogs.clear();
    w->btnKinmu->click();
    ASSERT_EQ(dialogs.texts().size(), 1);
    EXPECT_TRUE(dialogs.texts()[0].contains(QStringLiteral("変更"))) << dialogs.texts()[0].toStdString();
    EXPECT_EQ(number("SELECT COUNT(*) FROM kimu_tran"), 0);
    EXPECT_FALSE(w->PanelS->isVisible());
}

TEST_F(PayDataWindow, TheDialogRefusesARowThatHasGone) {
    TfrmMainRep* w = openWithOneDay();
    w->DBGrid1->clickEditButton(3);
    ASSERT_TRUE(DlgInTime->isVisible());
    EXPECT_EQ(DlgInTime->MaskEdit2->text(), QStringLiteral("09:00:00"));
    exec("DELETE FROM kimu_tran");
    kimu().refresh();
    dialogs.clear();
    DlgInTime->MaskEdit2->setText(QStringLiteral("08:00:00"));
    DlgInTime->Button2->click();
    EXPECT_EQ(dialogs.texts(), QStringList{QStringLiteral("時刻を訂正する勤怠データが見つかりません。")});
    DlgInTime->Button1->click();
    EXPECT_FALSE(DlgInTime->isVisible());
}

TEST_F(PayDataWindow, RowsWithoutWorkedTimeAreRedAndStopTheTotals) {
    punch("04", "01", "09", "00", "0");  // no clock-out
    punch("04", "02", "09", "00", "0");
    punch("04", "02", "17", "00", "1");
    TfrmMainRep* w = open();
    w->btnKinmu->click();
    ASSERT_EQ(w->DBGrid1->rowCountShown(), 2);
    EXPECT_EQ(w->DBGrid1->cellStyle(0, 6).foreground, QColor(Qt::red));
    EXPECT_NE(w->DBGrid1->cellStyle(1, 6).foreground, QColor(Qt::red));
    dialogs.clear();
    w->btnKingCalc->click();
    EXPECT_EQ(dialogs.texts().last(), QStringLiteral("1 個のデータが不正です。訂正して下さい。"));
    EXPECT_EQ(number("SELECT COUNT(*) FROM sum_tran"), 0);
}

TEST_F(PayDataWindow, EmployeeFilterCountsRowsAndDuplicateDates) {
    punch("04", "01", "09", "00", "0");
    punch("04", "01", "12", "00", "1");
    punch("04", "01", "13", "00", "0");
    punch("04", "01", "18", "00", "1");
    punch("04", "03", "09", "00", "0");
    punch("04", "03", "18", "00", "1");
    TfrmMainRep* w = open();
    w->btnKinmu->click();
    w->ComboBox1->setText(QStringLiteral("山田太郎"));
    w->Avt_Change->execute();
    EXPECT_EQ(w->Edit1->text(), QStringLiteral("3"));
    EXPECT_EQ(w->Edit2->text(), QStringLiteral("1"));
    EXPECT_EQ(kimu().recordCount(), 3);
    // A name nobody in service has (as while it is typed) says nothing; the
    // filter and the counts stay.
    w->ComboBox1->setText(QStringLiteral("山田"));
    dialogs.clear();
    ui::guard([&] { w->Avt_Change->execute(); });
    EXPECT_TRUE(dialogs.texts().isEmpty()) << dialogs.texts().join("\n").toStdString();
    EXPECT_EQ(w->Edit1->text(), QStringLiteral("3"));
    EXPECT_EQ(kimu().recordCount(), 3);
    w->ComboBox1->setText(TfrmMainRep::allEmployees());
    w->Avt_Change->execute();
    EXPECT_EQ(w->Edit1->text(), QStringLiteral("3"));
}

TEST_F(PayDataWindow, ThePickerChoosesTheEmployeeOfTheFilter) {
    exec(
        "INSERT INTO emp_tanka (E_NO, E_TANCOD, E_NAME, E_CARDNO, E_JOBKBN, E_DROPKBN) "
        "VALUES (7, '000007', '佐藤花子', '000007', '01', '1')");
    TfrmMainRep* w = openWithOneDay();
    w->btnSeek->click();
    ASSERT_NE(frmEmp_seek, nullptr);
    ASSERT_TRUE(frmEmp_seek->isVisible());
    EXPECT_EQ(frmEmp_seek->Edit1->text(), QStringLiteral("MainRep"));
    ASSERT_TRUE(data::DataModule1->Qemp_tanka.locate("E_NO", 1));
    frmEmp_seek->Button1->click();
    EXPECT_EQ(w->ComboBox1->text(), QStringLiteral("山田太郎"));
    EXPECT_EQ(w->Edit1->text(), QStringLiteral("1"));
    EXPECT_EQ(kimu().recordCount(), 1);
}

TEST_F(PayDataWindow, DataResetDeletesThePeriodsRowsOnlyWhenAsked) {
    punch("04", "01", "09", "00", "0");
    punch("04", "01", "18", "00", "1");
    exec("INSERT INTO kimu_tran (K_TANCOD, K_DATE, K_TANJI) VALUES (1, ?, 5)", {rtl::encodeDate(2024, 3, 31)});
    TfrmMainRep* w = open();
    w->btnKinmu->click();
    dialogs.clear();
    dialogs.answer(ui::Answer::No);
    w->Button1->click();
    EXPECT_EQ(dialogs.last().text, QStringLiteral("データを新規に構築しますか。？"));
    EXPECT_EQ(dialogs.last().caption, QStringLiteral("削除"));
    EXPECT_EQ(kimu().recordCount(), 1);
    dialogs.answer(ui::Answer::Yes);
    w->Button1->click();
    EXPECT_TRUE(kimu().active());
    EXPECT_EQ(kimu().recordCount(), 0);
    EXPECT_EQ(number("SELECT COUNT(*) FROM kimu_tran"), 1);  // the day before the period stays
}

TEST_F(PayDataWindow, ColumnViewIsSavedReadAndApplied) {
    TfrmMainRep* w = open();
    w->CheckBox[0]->setChecked(true);
    w->CheckBox[3]->setChecked(true);
    w->Button4->click();
    const std::filesystem::path file = paydata::columnViewFile(work.path().toStdString());
    EXPECT_EQ(rtl::readTextFile(file), "1\r\n\r\n\r\n1\r\n\r\n\r\n");
    // Time mode shows the ticked kinds' time columns.
    w->Button5->click();
    EXPECT_TRUE(w->DBGrid1->columns()[8].visible);
    EXPECT_FALSE(w->DBGrid1->columns()[10].visible);
    EXPECT_TRUE(w->DBGrid1->columns()[14].visible);
    EXPECT_FALSE(w->DBGrid1->columns()[7].visible);
    // Amount mode adds the base and the amount columns; the time columns stay.
    w->RadioButton2->click();
    EXPECT_TRUE(w->DBGrid1->columns()[7].visible);
    EXPECT_TRUE(w->DBGrid1->columns()[9].visible);
    EXPECT_TRUE(w->DBGrid1->columns()[8].visible);
    // A short file ticks the lines it has; "01" and "1 " tick nothing.
    rtl::writeLines(file, {"01", "1", "1 "});
    EXPECT_EQ(paydata::readColumnView(file), (paydata::ColumnView{false, true, false, false, false, false}));
}

TEST_F(PayDataWindow, WeeklyPayKeysTheRecordsByTheLastDate) {
    main->CheckBox2->click();
    main->MaskEdit1->setText(QStringLiteral("24/04/01"));
    main->MaskEdit2->setText(QStringLiteral("24/04/07"));
    main->btnSel2->click();
    TfrmMainRep* w = open();
    EXPECT_EQ(w->monthKey(), "24/04/07");
}

TEST_F(PayDataWindow, AnEmployeeWhoseCodeIsNoNumberIsReportedNotIgnored) {
    exec(
        "INSERT INTO emp_tanka (E_NO, E_TANCOD, E_NAME, E_CARDNO, E_JOBKBN, E_DROPKBN) "
        "VALUES (8, 'A-8', '鈴木一郎', 'A-8', '01', '1')");
    TfrmMainRep* w = openWithOneDay();
    dialogs.clear();
    w->ComboBox1->setText(QStringLiteral("鈴木一郎"));
    ui::guard([&] { w->Avt_Change->execute(); });
    EXPECT_EQ(dialogs.texts(), QStringList{QStringLiteral("'A-8' は整数ではありません")});
    EXPECT_EQ(kimu().recordCount(), 1);
}

// The busy panel belongs to the job: its finishing message comes after it is gone.
class PanelHides : public QObject {
public:
    PanelHides(QWidget* panel, const ui::ScriptedDialogs& dialogs) : dialogs_(dialogs) {
        panel->installEventFilter(this);
    }
    // How many messages had been shown each time the panel went.
    std::vector<size_t> messagesAtHide;

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Hide) messagesAtHide.push_back(dialogs_.shown().size());
        return false;
    }

private:
    const ui::ScriptedDialogs& dialogs_;
};

TEST_F(PayDataWindow, FinishingMessagesFollowTheBusyPanel) {
    punch("04", "01", "09", "00", "0");
    punch("04", "01", "18", "00", "1");
    exec(
        "INSERT INTO タイムカード (月, 日, 時, 分, 秒, IDコード, 入退, 異例コード, CR) "
        "VALUES ('04', '02', '09', '00', '00', '000099', '0', '00', '0')");  // nobody's card
    TfrmMainRep* w = open();
    PanelHides watch(w->PanelS, dialogs);

    dialogs.clear();
    w->btnKinmu->click();
    // The question, then the count of unmatched punches once the panel is gone.
    ASSERT_EQ(dialogs.texts(), (QStringList{QStringLiteral("新規にデータをセットします。よろしいですか？"),
                                            QStringLiteral("1 件の個人別単価が不正です。")}));
    ASSERT_EQ(watch.messagesAtHide.size(), 1u);
    EXPECT_EQ(watch.messagesAtHide[0], 1u);

    // A row of nobody in service is counted after the recomputation's panel is gone.
    exec("INSERT INTO kimu_tran (K_TANCOD, K_DATE, K_TANJI, K_SYUGYO) VALUES (99, ?, 3, '00:45')",
         {rtl::encodeDate(2024, 4, 3)});
    dialogs.clear();
    watch.messagesAtHide.clear();
    w->btnTime->click();
    ASSERT_EQ(dialogs.texts(), QStringList{QStringLiteral("1 件の個人別単価が不正です。")});
    ASSERT_EQ(watch.messagesAtHide.size(), 1u);
    EXPECT_EQ(watch.messagesAtHide[0], 0u);
}

TEST_F(PayDataWindow, TotalsShowTheWholePeriodInTheTablesOrderAfterAnEmployeeFilter) {
    for (const char* day : {"01", "02"}) {
        punch("04", day, "09", "00", "0");
        punch("04", day, "18", "00", "1");
    }
    TfrmMainRep* w = open();
    w->btnKinmu->click();
    w->ComboBox1->setText(QStringLiteral("山田太郎"));
    w->Avt_Change->execute();
    EXPECT_EQ(kimu().indexFieldNames(), "K_DATE");
    dialogs.clear();
    w->btnKingCalc->click();
    EXPECT_EQ(dialogs.texts(), QStringList{QStringLiteral("既存のデータは破棄されます。よろしいですか？")});
    EXPECT_EQ(number("SELECT COUNT(*) FROM sum_tran"), 1);
    EXPECT_TRUE(kimu().active());
    EXPECT_EQ(kimu().indexFieldNames(), "");
    EXPECT_EQ(kimu().recordCount(), 2);
}

}  // namespace
