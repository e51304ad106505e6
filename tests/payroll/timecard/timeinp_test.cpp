// The time-card entry driven headless through its controls.
#include <QLineEdit>
#include <QTest>

#include "fixture.h"
#include "rtl/clock.h"
#include "rtl/datetime.h"
#include "timecard/TimeInp.h"
#include "ui/action.h"
#include "ui/controls.h"
#include "ui/dbcontrols.h"
#include "ui/dbnavigator.h"
#include "ui/maskedit.h"

using timecard::testing::Row;

namespace {

class TimeCardEntry : public timecard::testing::TimeCardFolder {
protected:
    void SetUp() override {
        TimeCardFolder::SetUp();
        clock = std::make_unique<rtl::ScopedTestClock>(rtl::encodeDateTime(2024, 5, 20, 8, 30, 15));
    }
    void TearDown() override {
        delete form;
        clock.reset();
        TimeCardFolder::TearDown();
    }
    // Opens the window as the hub does.
    TfrmTimeInp* open() {
        form = ui::createForm<TfrmTimeInp>();
        EXPECT_TRUE(timecard::testing::showActive(form));
        return form;
    }
    void type(QLineEdit* e, const QString& text) {
        e->setFocus();
        e->selectAll();
        QTest::keyClicks(e, text);
    }
    void setPunch(const char* date, const char* card, const char* hour, const char* minute) {
        form->MaskEdit1->setText(QString::fromUtf8(date));
        form->Edit1->setText(QString::fromUtf8(card));
        form->Edit2->setText(QString::fromUtf8(hour));
        form->Edit3->setText(QString::fromUtf8(minute));
    }
    std::unique_ptr<rtl::ScopedTestClock> clock;
    TfrmTimeInp* form = nullptr;
};

TEST_F(TimeCardEntry, ShowFillsTodayTheClockAndEveryEmployee) {
    open();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("タイムレコーダ"));
    EXPECT_EQ(form->MaskEdit1->text(), QStringLiteral("24/05/20"));
    EXPECT_EQ(form->MaskEdit2->text(), QStringLiteral("08:30:15"));
    EXPECT_EQ(form->Edit2->text(), QStringLiteral("08"));
    EXPECT_EQ(form->Edit3->text(), QStringLiteral("30"));
    ASSERT_EQ(form->ComboBox1->count(), 3);  // retired employees too
    EXPECT_EQ(form->ComboBox1->itemText(1), QStringLiteral("佐藤花子"));
    EXPECT_EQ(form->ComboBox1->text(), QStringLiteral("山田太郎"));
    EXPECT_EQ(form->Edit1->text(), QStringLiteral("000001"));
    EXPECT_FALSE(form->Panel1->isVisible());
    EXPECT_FALSE(form->btnChk->isVisible());
    EXPECT_FALSE(form->btnSeek->isVisible());
}

TEST_F(TimeCardEntry, AfterMidnightTheShiftOfYesterdayIsOffered) {
    clock.reset();
    clock = std::make_unique<rtl::ScopedTestClock>(rtl::encodeDateTime(2024, 5, 21, 0, 40, 0));
    open();
    EXPECT_EQ(form->Edit2->text(), QStringLiteral("24"));
    EXPECT_EQ(form->Edit3->text(), QStringLiteral("40"));
    EXPECT_EQ(form->MaskEdit1->text(), QStringLiteral("24/05/20"));
    form->Edit1->setText(QStringLiteral("1007"));
    form->Button2->click();
    ASSERT_EQ(punches().size(), 1u);
    EXPECT_EQ(punches()[0], (Row{"05", "20", "24", "40", "00", "1007", "1", "00", "0"}));
}

TEST_F(TimeCardEntry, LookupsGoBothWaysAndLeaveNoFilterOnTheEmployeeTable) {
    open();
    type(form->Edit1, QStringLiteral("1007"));
    form->Edit2->setFocus();
    EXPECT_EQ(form->ComboBox1->text(), QStringLiteral("佐藤花子"));
    type(form->Edit1, QStringLiteral("4711"));
    form->Edit2->setFocus();
    EXPECT_EQ(form->ComboBox1->text(), QString());

    form->ComboBox1->setFocus();
    form->ComboBox1->lineEdit()->selectAll();
    timecard::testing::typeText(form->ComboBox1->lineEdit(), QStringLiteral("鈴木一郎"));
    EXPECT_EQ(form->Edit1->text(), QStringLiteral("000009"));
    QTest::keyClick(form->ComboBox1->lineEdit(), Qt::Key_Backspace);
    EXPECT_EQ(form->Edit1->text(), QString());

    db::Table& emp = data::DataModule1->emp_tanka;
    EXPECT_FALSE(emp.filtered());
    EXPECT_EQ(emp.filter(), "");
    EXPECT_FALSE(emp.active());
    // The next show still lists everybody.
    form->close();
    form->show();
    EXPECT_EQ(form->ComboBox1->count(), 3);
}

TEST_F(TimeCardEntry, ClockInAndOutWriteOnePunchEach) {
    setClosingDay("20");
    open();
    setPunch("24/05/20", "1007", "08", "55");
    form->Button1->click();
    setPunch("24/05/20", "1007", "17", "5");
    form->Button2->click();
    const std::vector<Row> expected{{"05", "20", "08", "55", "00", "1007", "0", "00", "0"},
                                    {"05", "20", "17", "05", "00", "1007", "1", "00", "0"}};
    EXPECT_EQ(punches(), expected);
    EXPECT_TRUE(form->Panel1->isVisible());
    EXPECT_EQ(form->DBEdit3->text(), QStringLiteral("17"));
    EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(TimeCardEntry, DuplicateClockInWritesNothingAndShowsTheFirst) {
    setClosingDay("20");
    addPunch("04", "25", "09", "00", "1007", "0");  // same day, other month of the period
    addPunch("05", "12", "08", "10", "1007", "0");
    addPunch("05", "12", "08", "40", "000001", "0");
    open();
    setPunch("24/05/12", "1007", "09", "30");
    form->Button1->click();
    EXPECT_EQ(punches().size(), 3u);
    EXPECT_TRUE(form->Panel1->isVisible());
    EXPECT_EQ(form->DBEdit1->text(), QStringLiteral("05"));
    EXPECT_EQ(form->DBEdit2->text(), QStringLiteral("12"));
    EXPECT_EQ(form->DBEdit4->text(), QStringLiteral("10"));
    EXPECT_EQ(form->DBEdit6->text(), QStringLiteral("1007"));
    // The shared punch table keeps every row.
    EXPECT_FALSE(data::DataModule1->ADOTable1.filtered());
    EXPECT_EQ(data::DataModule1->ADOTable1.recordCount(), 3);

    // A clock-out of the same day is a punch of its own, and it shows.
    setPunch("24/05/12", "1007", "18", "00");
    form->Button2->click();
    EXPECT_EQ(punches().size(), 4u);
    EXPECT_EQ(form->DBEdit7->text(), QStringLiteral("1"));
    EXPECT_EQ(form->DBEdit3->text(), QStringLiteral("18"));
}

TEST_F(TimeCardEntry, PunchesOutsideThePeriodAskBeforeTheTableIsEmptied) {
    struct Case {
        std::vector<QString> answers;
        int questions;
        size_t rowsAfter;  // old punch kept (2) or purged (1)
    };
    const Case cases[] = {
        {{"No"}, 1, 2},
        {{"Yes", "No"}, 2, 2},
        {{"Yes", "Yes"}, 2, 1},
    };
    for (const Case& c : cases) {
        exec("DELETE FROM タイムカード");
        setClosingDay("20");
        addPunch("03", "15", "08", "00", "000001", "0");
        delete form;
        open();
        dialogs.clear();
        for (const QString& a : c.answers) dialogs.answer(a);
        setPunch("24/05/21", "000001", "08", "00");  // period 05/21 - 06/20
        form->Button1->click();
        ASSERT_EQ(static_cast<int>(dialogs.shown().size()), c.questions);
        EXPECT_EQ(dialogs.shown()[0].text, QStringLiteral("日付を確認して下さい。正しいですか。"));
        EXPECT_EQ(dialogs.shown()[0].caption, QStringLiteral("日付範囲違反"));
        if (c.questions > 1) {
            EXPECT_EQ(dialogs.shown()[1].text,
                      QStringLiteral("データを初期化しますか？\n給与台帳の印刷済んでいますか？"));
            EXPECT_EQ(dialogs.shown()[1].caption, QStringLiteral("データ全削除"));
        }
        // The new punch is recorded whatever was answered.
        const std::vector<Row> rows = punches();
        ASSERT_EQ(rows.size(), c.rowsAfter);
        EXPECT_EQ(rows.back()[0], "05");
        EXPECT_EQ(rows.back()[1], "21");
        EXPECT_EQ(dialogs.pending(), 0);
    }
}

TEST_F(TimeCardEntry, PunchesOfThePeriodsTwoMonthsAskNothing) {
    struct Case {
        const char* closing;
        const char* date;
        const char* oldMonth;
    };
    for (const Case& c : {Case{"20", "24/05/20", "04"}, Case{"5", "24/05/03", "04"}, Case{"5", "24/05/06", "06"},
                          Case{"31", "24/02/10", "02"}, Case{"", "24/05/10", "05"}, Case{"30", "24/04/10", "03"}}) {
        exec("DELETE FROM タイムカード");
        setClosingDay(c.closing);
        addPunch(c.oldMonth, "01", "08", "00", "000001", "0");
        delete form;
        open();
        dialogs.clear();
        setPunch(c.date, "000001", "08", "00");
        form->Button1->click();
        EXPECT_TRUE(dialogs.shown().empty()) << c.closing << " " << c.date;
        EXPECT_EQ(punches().size(), 2u) << c.closing << " " << c.date;
    }
}

TEST_F(TimeCardEntry, ThePeriodCheckLeavesAnOpenCompanyTableAsItWas) {
    setClosingDay("20");
    db::Table& company = data::DataModule1->Company;
    company.open();
    open();
    setPunch("24/05/20", "000001", "08", "00");
    form->Button1->click();
    EXPECT_EQ(punches().size(), 1u);
    EXPECT_TRUE(company.active());
    company.close();
    form->Button2->click();
    EXPECT_EQ(punches().size(), 2u);
    EXPECT_FALSE(company.active());
}

TEST_F(TimeCardEntry, ABadDateOrClosingDayStopsThePunchWithTheError) {
    struct Case {
        const char* closing;
        const char* date;
        const char* hour;
    };
    for (const Case& c : {Case{"20", "24/02/30", "08"}, Case{"x", "24/05/20", "08"}, Case{"20", "24/05/20", "4x"}}) {
        setClosingDay(c.closing);
        delete form;
        open();
        dialogs.clear();
        setPunch(c.date, "000001", c.hour, "00");
        form->Button1->click();
        ASSERT_EQ(dialogs.shown().size(), 1u) << c.closing << " " << c.date;
        EXPECT_EQ(dialogs.last().kind, ui::DialogKind::Error);
        EXPECT_TRUE(punches().empty());
        EXPECT_FALSE(form->Panel1->isVisible());
    }
}

TEST_F(TimeCardEntry, QuotesInTheCardNumberAreData) {
    open();
    setPunch("24/05/20", "1'7", "08", "00");
    form->Edit1->setFocus();
    form->Edit2->setFocus();  // the card lookup runs on exit
    form->Button1->click();
    form->Button1->click();
    ASSERT_EQ(punches().size(), 1u);
    EXPECT_EQ(punches()[0][5], "1'7");
    EXPECT_FALSE(data::DataModule1->emp_tanka.filtered());
}

TEST_F(TimeCardEntry, CloseSetsTheMainWindowsButtonsByThePunchesLeft) {
    for (bool have : {true, false}) {
        exec("DELETE FROM タイムカード");
        if (have) addPunch("05", "20", "08", "00", "000001", "0");
        for (QWidget* b :
             {static_cast<QWidget*>(btnDayRep), static_cast<QWidget*>(btnJ_Meisai), static_cast<QWidget*>(btnTimeRep)})
            b->setEnabled(!have);
        Act_MainRep->setEnabled(!have);
        delete form;
        open();
        form->btnClose->click();
        EXPECT_FALSE(form->isVisible());
        EXPECT_EQ(btnDayRep->isEnabled(), have);
        EXPECT_EQ(btnJ_Meisai->isEnabled(), have);
        EXPECT_EQ(btnTimeRep->isEnabled(), have);
        EXPECT_EQ(Act_MainRep->isEnabled(), have);
        EXPECT_FALSE(data::DataModule1->ADOTable1.active());
        EXPECT_FALSE(form->Panel1->isVisibleTo(form));
    }
}

TEST_F(TimeCardEntry, PanelNavigatorOffersDeletePostAndCancelOnly) {
    open();
    QStringList shown;
    for (QPushButton* b : form->DBNavigator1->findChildren<QPushButton*>())
        if (b->isVisibleTo(form->DBNavigator1)) shown << b->text();
    shown.sort();
    QStringList expected{QStringLiteral("削除"), QStringLiteral("登録"), QStringLiteral("取消")};
    expected.sort();
    EXPECT_EQ(shown, expected);
}

}  // namespace
