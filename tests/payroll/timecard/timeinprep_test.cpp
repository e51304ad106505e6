// The attendance book driven headless through its controls.
#include <QCalendarWidget>
#include <QLineEdit>
#include <QTest>

#include "fixture.h"
#include "rtl/clock.h"
#include "rtl/datetime.h"
#include "timecard/TimeInpRep.h"
#include "ui/action.h"
#include "ui/controls.h"
#include "ui/dbcontrols.h"
#include "ui/dbgrid.h"
#include "ui/dbnavigator.h"
#include "ui/guard.h"

using timecard::testing::Row;

namespace {

class AttendanceBook : public timecard::testing::TimeCardFolder {
protected:
    void SetUp() override {
        TimeCardFolder::SetUp();
        clock = std::make_unique<rtl::ScopedTestClock>(rtl::encodeDateTime(2024, 5, 20, 10, 0, 0));
        addPunch("05", "02", "17", "30", "000007", "1");
        addPunch("05", "02", "08", "00", "000007", "0");
        addPunch("04", "30", "09", "00", "000001", "0");
        addPunch("05", "01", "22", "00", "1007", "0");
    }
    void TearDown() override {
        delete form;
        clock.reset();
        TimeCardFolder::TearDown();
    }
    TfrmTimeInpRep* open() {
        form = ui::createForm<TfrmTimeInpRep>();
        EXPECT_TRUE(timecard::testing::showActive(form));
        return form;
    }
    db::Query& rows() { return data::DataModule1->TimeCardInp; }
    QStringList column(int c) {
        QStringList out;
        for (int r = 0; r < form->DBGrid1->rowCountShown(); ++r) out << form->DBGrid1->cellText(r, c);
        return out;
    }
    void choose(const QString& name) {
        form->ComboBox1->setFocus();
        form->ComboBox1->lineEdit()->selectAll();
        timecard::testing::typeText(form->ComboBox1->lineEdit(), name);
    }
    void typeInto(QLineEdit* e, const QString& text) {
        e->setFocus();
        e->selectAll();
        if (text.isEmpty()) QTest::keyClick(e, Qt::Key_Delete);
        else QTest::keyClicks(e, text);
        QTest::keyClick(e, Qt::Key_Return);
    }
    std::unique_ptr<rtl::ScopedTestClock> clock;
    TfrmTimeInpRep* form = nullptr;
};

TEST_F(AttendanceBook, AllEmployeesListsEveryPunchByMonthDayAndFlag) {
    open();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("出勤簿"));
    ASSERT_EQ(form->ComboBox1->count(), 3);  // 全社員 and the two in service
    EXPECT_EQ(form->ComboBox1->itemText(0), QStringLiteral("全社員"));
    EXPECT_EQ(form->ComboBox1->text(), QStringLiteral("全社員"));
    EXPECT_EQ(column(2) + column(3) + column(6),
              (QStringList{"04", "05", "05", "05", "30", "01", "02", "02", "0", "0", "0", "1"}));
    EXPECT_EQ(column(1).at(0), QStringLiteral("山田太郎"));  // the name looked up by number
    EXPECT_EQ(column(7), (QStringList{"出勤", "出勤", "出勤", "退出"}));
    EXPECT_FALSE(form->Edit1->isVisible());
    EXPECT_FALSE(form->btnSQL_do->isVisible());
}

TEST_F(AttendanceBook, ChoosingANameListsThatEmployeesCodeOnly) {
    open();
    choose(QStringLiteral("佐藤花子"));
    EXPECT_EQ(form->Edit1->text(), QStringLiteral("000007"));
    EXPECT_TRUE(dialogs.shown().empty()) << dialogs.texts().join("|").toStdString();
    EXPECT_EQ(column(0), (QStringList{"000007", "000007"}));
    EXPECT_EQ(column(6), (QStringList{"0", "1"}));
    // A name on its way, or one nobody in service has, lists nothing and says nothing.
    choose(QStringLiteral("佐藤"));
    EXPECT_EQ(form->DBGrid1->rowCountShown(), 0);
    choose(QStringLiteral("鈴木一郎"));  // retired
    EXPECT_EQ(form->DBGrid1->rowCountShown(), 0);
    EXPECT_TRUE(dialogs.shown().empty());
    choose(QStringLiteral("全社員"));
    EXPECT_EQ(form->DBGrid1->rowCountShown(), 4);
}

TEST_F(AttendanceBook, FieldChecksAcceptNormaliseOrKeepTheFocus) {
    struct Case {
        const char* edit;
        const char* field;
        const char* typed;
        const char* stored;  // nullptr: refused
    };
    const Case cases[] = {
        {"DBEdit4", "月", "5", "05"},     {"DBEdit4", "月", "12", "12"},    {"DBEdit4", "月", "13", nullptr},
        {"DBEdit4", "月", "00", nullptr}, {"DBEdit5", "日", "31", "31"},    {"DBEdit5", "日", "32", nullptr},
        {"DBEdit5", "日", "0", nullptr},  {"DBEdit6", "時", "25", "25"},    {"DBEdit6", "時", "0", "00"},
        {"DBEdit6", "時", "48", nullptr}, {"DBEdit7", "分", "00", "00"},    {"DBEdit7", "分", "59", "59"},
        {"DBEdit7", "分", "60", nullptr}, {"DBEdit7", "分", "61", nullptr}, {"DBEdit7", "分", "", nullptr},
    };
    open();
    for (const Case& c : cases) {
        dialogs.clear();
        rows().cancel();
        rows().first();
        auto* edit = form->findChild<ui::DBEdit*>(QString::fromLatin1(c.edit));
        ASSERT_NE(edit, nullptr);
        typeInto(edit, QString::fromUtf8(c.typed));
        if (c.stored) {
            EXPECT_TRUE(dialogs.shown().empty()) << c.field << " " << c.typed;
            EXPECT_NE(QApplication::focusWidget(), edit) << c.field << " " << c.typed;
            EXPECT_EQ(rows()[c.field].asString(), c.stored) << c.field << " " << c.typed;
        } else {
            ASSERT_EQ(dialogs.shown().size(), 1u) << c.field << " " << c.typed;
            EXPECT_EQ(dialogs.last().text, QStringLiteral("データが不正です。"));
            EXPECT_EQ(QApplication::focusWidget(), edit) << c.field << " " << c.typed;
        }
    }
    // A text that is no number fails its conversion and keeps the focus too.
    dialogs.clear();
    rows().cancel();
    typeInto(form->DBEdit6, QStringLiteral("x"));
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.last().kind, ui::DialogKind::Error);
    EXPECT_EQ(QApplication::focusWidget(), form->DBEdit6);
}

TEST_F(AttendanceBook, ARefusedFieldStopsTheNavigator) {
    open();
    rows().first();
    typeInto(form->DBEdit4, QStringLiteral("13"));
    dialogs.clear();
    form->DBNavigator1->button(ui::NavButton::Post)->click();
    EXPECT_EQ(dialogs.last().text, QStringLiteral("データが不正です。"));
    EXPECT_EQ(rows().state(), db::DatasetState::Edit);
    EXPECT_EQ(count("SELECT COUNT(*) FROM タイムカード WHERE 月 = '13'"), 0);
}

TEST_F(AttendanceBook, NewRowTakesTheChosenEmployeeAndTheDefaultsOnPost) {
    open();
    choose(QStringLiteral("佐藤花子"));
    form->DBNavigator1->button(ui::NavButton::Insert)->click();
    EXPECT_EQ(rows().state(), db::DatasetState::Insert);
    EXPECT_EQ(QApplication::focusWidget(), form->DBEdit1);
    EXPECT_EQ(rows()["IDコード"].asString(), "000007");

    // The calendar fills month and day of a new row without asking.
    form->MonthCalendar1->setSelectedDate(QDate(2024, 5, 3));
    dialogs.clear();
    form->btnGetMD->click();
    EXPECT_TRUE(dialogs.shown().empty());
    EXPECT_EQ(rows()["月"].asString(), "05");
    EXPECT_EQ(rows()["日"].asString(), "03");
    EXPECT_EQ(QApplication::focusWidget(), form->DBEdit6);
    typeInto(form->DBEdit6, QStringLiteral("9"));
    typeInto(form->DBEdit7, QStringLiteral("15"));
    rows()["入退"].setAsString("0");
    form->DBNavigator1->button(ui::NavButton::Post)->click();
    EXPECT_EQ(rows().state(), db::DatasetState::Browse);
    EXPECT_EQ(count("SELECT COUNT(*) FROM タイムカード WHERE IDコード = '000007' AND 月 = '05' AND 日 = '03' "
                    "AND 時 = '09' AND 分 = '15' AND 秒 = '00' AND 異例コード = '00' AND CR = '0'"),
              1);
    EXPECT_EQ(QApplication::focusWidget(), form->DBEdit1);
}

TEST_F(AttendanceBook, APunchWithoutItsInOutFlagIsNotPosted) {
    open();
    const long long before = count("SELECT COUNT(*) FROM タイムカード");
    form->DBNavigator1->button(ui::NavButton::Insert)->click();
    form->MonthCalendar1->setSelectedDate(QDate(2024, 5, 3));
    form->btnGetMD->click();
    typeInto(form->DBEdit6, QStringLiteral("9"));
    typeInto(form->DBEdit7, QStringLiteral("15"));
    dialogs.clear();
    form->DBNavigator1->button(ui::NavButton::Post)->click();
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.last().kind, ui::DialogKind::Message);
    EXPECT_EQ(dialogs.last().text, QStringLiteral("入退を選んで下さい（0 出勤、1 退出）。"));
    EXPECT_EQ(rows().state(), db::DatasetState::Insert);  // kept for correction
    EXPECT_EQ(QApplication::focusWidget(), form->DBComboBox1);
    EXPECT_EQ(count("SELECT COUNT(*) FROM タイムカード"), before);

    // Moving to another row posts too, and is refused the same way.
    dialogs.clear();
    form->DBGrid1->setFocus();
    EXPECT_FALSE(ui::guard([&] { rows().first(); }));
    EXPECT_EQ(dialogs.texts(), QStringList{QStringLiteral("入退を選んで下さい（0 出勤、1 退出）。")});
    EXPECT_EQ(count("SELECT COUNT(*) FROM タイムカード WHERE 入退 IS NULL"), 0);

    // With the flag chosen, the punch is stored.
    form->DBComboBox1->setFocus();
    const int one = form->DBComboBox1->findText(QStringLiteral("1"));
    form->DBComboBox1->setCurrentIndex(one);
    emit form->DBComboBox1->activated(one);  // as the user's choice
    dialogs.clear();
    form->DBNavigator1->button(ui::NavButton::Post)->click();
    EXPECT_TRUE(dialogs.shown().empty()) << dialogs.texts().join("/").toStdString();
    EXPECT_EQ(rows().state(), db::DatasetState::Browse);
    EXPECT_EQ(count("SELECT COUNT(*) FROM タイムカード WHERE 月 = '05' AND 日 = '03' AND 時 = '09' AND 入退 = '1'"), 1);
}

TEST_F(AttendanceBook, CalendarAsksBeforeChangingAnExistingRow) {
    open();
    rows().first();  // 04/30
    form->MonthCalendar1->setSelectedDate(QDate(2024, 5, 3));
    dialogs.answer("No");
    form->btnGetMD->click();
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.last().text, QStringLiteral("日付を変更していいですか？"));
    EXPECT_EQ(dialogs.last().caption, QStringLiteral("日付データ"));
    EXPECT_EQ(rows()["日"].asString(), "30");
    dialogs.answer("Yes");
    form->btnGetMD->click();
    EXPECT_EQ(rows()["月"].asString(), "05");
    EXPECT_EQ(rows()["日"].asString(), "03");
}

TEST_F(AttendanceBook, PurgeAsksEmptiesAndReloads) {
    open();
    dialogs.answer("No");
    form->Button1->click();
    EXPECT_EQ(dialogs.last().text, QStringLiteral("タイムカードの一時データを削除しますか？"));
    EXPECT_EQ(dialogs.last().caption, QStringLiteral("日付データ"));
    EXPECT_EQ(punches().size(), 4u);
    dialogs.answer("Yes");
    form->Button1->click();
    EXPECT_TRUE(punches().empty());
    EXPECT_EQ(form->DBGrid1->rowCountShown(), 0);
    // An empty table asks nothing.
    dialogs.clear();
    form->Button1->click();
    EXPECT_TRUE(dialogs.shown().empty());
    // Passing through the fields of an empty list is no error either.
    form->DBEdit4->setFocus();
    QTest::keyClick(form->DBEdit4, Qt::Key_Return);
    EXPECT_TRUE(dialogs.shown().empty());
    EXPECT_EQ(rows().state(), db::DatasetState::Browse);
}

TEST_F(AttendanceBook, ACorrectionIsKeptWhenAnotherEmployeeIsChosen) {
    open();
    rows().first();  // 04/30 09:00 of 000001
    typeInto(form->DBEdit6, QStringLiteral("10"));
    choose(QStringLiteral("佐藤花子"));
    EXPECT_EQ(count("SELECT COUNT(*) FROM タイムカード WHERE 月 = '04' AND 時 = '10'"), 1);
    EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(AttendanceBook, CloseClosesThePunchQuery) {
    open();
    EXPECT_TRUE(rows().active());
    form->btnClose->click();
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(rows().active());
}

}  // namespace
