// The time-card windows beside the master-data windows: the employee picker
// opened from their search buttons (the real picker, the employee chosen by a
// click on its row and handed on with "確定"), and the employee master kept
// open meanwhile.
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

#include "fixture.h"
#include "masters/Emp_Seek.h"
#include "masters/Emp_Tanka.h"
#include "masters/registration.h"
#include "rtl/clock.h"
#include "rtl/datetime.h"
#include "timecard/TimeInp.h"
#include "timecard/TimeInpRep.h"
#include "ui/action.h"
#include "ui/controls.h"
#include "ui/dbcontrols.h"
#include "ui/dbgrid.h"
#include "ui/maskedit.h"

using timecard::testing::Row;
using timecard::testing::showActive;

namespace {

class PickerFromTimeCards : public timecard::testing::TimeCardFolder {
protected:
    void SetUp() override {
        TimeCardFolder::SetUp();
        clock = std::make_unique<rtl::ScopedTestClock>(rtl::encodeDateTime(2024, 5, 20, 8, 30, 15));
        picker = masters::createEmpSeek();  // created at start, as the program does
    }
    void TearDown() override {
        delete master;
        delete entry;
        delete book;
        delete picker;
        clock.reset();
        TimeCardFolder::TearDown();
    }
    TfrmTimeInp* openEntry() {
        entry = ui::createForm<TfrmTimeInp>();
        EXPECT_TRUE(showActive(entry));
        return entry;
    }
    TfrmTimeInpRep* openBook() {
        book = ui::createForm<TfrmTimeInpRep>();
        EXPECT_TRUE(showActive(book));
        return book;
    }
    // The search button of `window`, then the picker as the user sees it.
    void search(ui::Button* btnSeek) {
        btnSeek->click();
        ASSERT_TRUE(picker->isVisible());
        ASSERT_TRUE(showActive(picker));
    }
    // A click on the picker's row of that employee code.
    void choose(const QString& code) {
        ui::DBGrid* grid = picker->DBGrid1;
        for (int row = 0; row < grid->rowCountShown(); ++row) {
            if (grid->cellText(row, 0) != code) continue;
            const QRect cell = grid->visualRect(grid->model()->index(row, 1));
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
            ASSERT_EQ(data::DataModule1->Qemp_tanka["E_TANCOD"].asString(), code.toStdString());
            return;
        }
        FAIL() << "no row " << code.toStdString() << " in the picker";
    }
    void confirm() {
        picker->Button1->click();
        EXPECT_FALSE(picker->isVisible());
        EXPECT_FALSE(data::DataModule1->Qemp_tanka.active());
    }

    std::unique_ptr<rtl::ScopedTestClock> clock;
    TfrmEmp_seek* picker = nullptr;
    TfrmTimeInp* entry = nullptr;
    TfrmTimeInpRep* book = nullptr;
    TfrmEmp_Tanka* master = nullptr;
};

TEST_F(PickerFromTimeCards, TheEntryReceivesTheCardNumberAndPunchesUnderIt) {
    openEntry();
    ASSERT_EQ(entry->Edit1->text(), QStringLiteral("000001"));
    search(entry->btnSeek);
    EXPECT_EQ(picker->Edit1->text(), QStringLiteral("TimeInp"));
    ASSERT_EQ(picker->DBGrid1->rowCountShown(), 2);  // the retired employee is not offered
    choose(QStringLiteral("000007"));
    confirm();

    EXPECT_EQ(entry->Edit1->text(), QStringLiteral("1007"));  // the card number, not the code
    EXPECT_EQ(entry->focusWidget(), entry->Edit1);
    EXPECT_TRUE(dialogs.shown().empty());
    // Leaving the field looks the name up; the punch goes under that card.
    ASSERT_TRUE(entry->moveFocusTo(entry->Edit2));
    EXPECT_EQ(entry->ComboBox1->text(), QStringLiteral("佐藤花子"));
    entry->Button1->click();
    ASSERT_EQ(punches().size(), 1u);
    EXPECT_EQ(punches()[0], (Row{"05", "20", "08", "30", "00", "1007", "0", "00", "0"}));
}

TEST_F(PickerFromTimeCards, CloseOnTheEntryWritesNothing) {
    openEntry();
    search(entry->btnSeek);
    choose(QStringLiteral("000007"));
    picker->Button2->click();
    EXPECT_FALSE(picker->isVisible());
    EXPECT_EQ(entry->Edit1->text(), QStringLiteral("000001"));
    EXPECT_EQ(entry->ComboBox1->text(), QStringLiteral("山田太郎"));
}

// The attendance book's search hands nothing back: whatever the book shows
// (all employees or one) stays as it was.
TEST_F(PickerFromTimeCards, TheAttendanceBookReceivesNothing) {
    addPunch("05", "20", "08", "30", "000001", "0");
    addPunch("05", "20", "08", "45", "000007", "0");
    for (const char* shown : {"全社員", "山田太郎"}) {
        SCOPED_TRACE(shown);
        dialogs.clear();
        openBook();
        book->ComboBox1->setText(QString::fromUtf8(shown));
        book->ComboBox1Change();
        const QString code = book->Edit1->text();
        const int rows = book->DBGrid1->rowCountShown();
        search(book->btnSeek);
        EXPECT_EQ(picker->Edit1->text(), QStringLiteral("TimeInpRep"));
        choose(QStringLiteral("000007"));
        confirm();

        EXPECT_EQ(book->ComboBox1->text(), QString::fromUtf8(shown));
        EXPECT_EQ(book->Edit1->text(), code);
        EXPECT_EQ(book->DBGrid1->rowCountShown(), rows);
        EXPECT_EQ(data::DataModule1->TimeCardInp.state(), db::DatasetState::Browse);
        EXPECT_TRUE(dialogs.shown().empty());
        delete book;
        book = nullptr;
    }
    EXPECT_EQ(punches().size(), 2u);
}

// The picker lists the employees in service; the attendance book reads the
// same list when it opens. Opening the book while the picker is up must
// leave the picker its list and the row the user chose.
TEST_F(PickerFromTimeCards, OpeningTheAttendanceBookLeavesTheOpenPickerItsChoice) {
    openEntry();
    search(entry->btnSeek);
    choose(QStringLiteral("000007"));
    openBook();
    EXPECT_EQ(book->ComboBox1->count(), 3);  // "全社員" and the two in service
    ASSERT_TRUE(data::DataModule1->Qemp_tanka.active());
    EXPECT_EQ(picker->DBGrid1->rowCountShown(), 2);
    ASSERT_TRUE(showActive(picker));
    confirm();
    EXPECT_EQ(entry->Edit1->text(), QStringLiteral("1007"));
}

// Both read the employees; the time-card entry must not take the table from
// under the employee master: not close it, not move its row, not post or drop
// the change being typed there.
TEST_F(PickerFromTimeCards, TheEntryLeavesTheOpenEmployeeMasterAsItWas) {
    master = ui::createForm<TfrmEmp_Tanka>();
    ASSERT_TRUE(showActive(master));
    db::Table& emp = data::DataModule1->emp_tanka;
    emp.last();
    ASSERT_EQ(emp["E_NO"].asLargeInt(), 9);
    auto* name = master->findChild<ui::DBEdit*>(QStringLiteral("DBEdit3"));
    master->moveFocusTo(name);
    name->selectAll();
    QKeyEvent typed(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("鈴木二郎"));
    QApplication::sendEvent(name, &typed);
    ASSERT_TRUE(master->moveFocusTo(master->DBEdit4));
    ASSERT_EQ(emp.state(), db::DatasetState::Edit);

    openEntry();
    EXPECT_EQ(entry->ComboBox1->count(), 3);
    EXPECT_EQ(entry->Edit1->text(), QStringLiteral("000001"));
    entry->Edit1->setText(QStringLiteral("1007"));
    entry->Edit1Exit();
    EXPECT_EQ(entry->ComboBox1->text(), QStringLiteral("佐藤花子"));
    entry->ComboBox1->setText(QStringLiteral("山田太郎"));
    entry->ComboBox1Change();
    EXPECT_EQ(entry->Edit1->text(), QStringLiteral("000001"));

    ASSERT_TRUE(emp.active());
    EXPECT_EQ(emp.state(), db::DatasetState::Edit);
    EXPECT_FALSE(emp.filtered());
    EXPECT_EQ(emp["E_NO"].asLargeInt(), 9);
    EXPECT_EQ(emp["E_NAME"].asString(), "鈴木二郎");
    EXPECT_EQ(master->DBGrid1->rowCountShown(), 3);
    EXPECT_EQ(count("SELECT COUNT(*) FROM emp_tanka WHERE E_NAME = '鈴木二郎'"), 0);  // not posted behind its back
    EXPECT_TRUE(dialogs.shown().empty());
}

}  // namespace
