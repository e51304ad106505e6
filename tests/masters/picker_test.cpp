// The employee picker and its caller-tag protocol. The windows behind the
// tags come with their own areas; here stand-ins carry the object names the
// picker looks for.
#include "fixture.h"

#include <QComboBox>
#include <QVBoxLayout>

#include "masters/Emp_Seek.h"
#include "masters/registration.h"
#include "rtl/errors.h"
#include "ui/action.h"
#include "ui/dbgrid.h"

namespace {

class Picker : public mtest::MastersTest {
protected:
    void SetUp() override {
        MastersTest::SetUp();
        conn().execute(
            "INSERT INTO emp_tanka (E_NO, E_TANCOD, E_NAME, E_CARDNO, E_DROPKBN) VALUES "
            "(3, '000003', '  鈴木 一郎 ', ' C3 ', '1'), "
            "(1, '000001', '山田 太郎', '000001', '1'), "
            "(2, '000002', '退職 者', '000002', '0')");
        picker = keep(masters::createEmpSeek());
    }
    // A stand-in caller window with an edit "Edit1".
    ui::Form* caller(const QString& name) {
        auto* w = keep(new ui::Form(name));
        auto* lay = new QVBoxLayout(w);
        auto* edit = new QLineEdit(w);
        edit->setObjectName(QStringLiteral("Edit1"));
        lay->addWidget(edit);
        auto* other = new QLineEdit(w);
        other->setObjectName(QStringLiteral("Other"));
        lay->addWidget(other);
        w->show();
        return w;
    }
    void pickRow(int recNo) {
        picker->showFor(currentTag);
        ASSERT_TRUE(showActive(picker));
        dm().Qemp_tanka.setRecNo(recNo);
    }
    void confirm() {
        ASSERT_TRUE(ui::guard([&] { picker->Button1->click(); }));
    }

    TfrmEmp_seek* picker = nullptr;
    QString currentTag;
};

TEST_F(Picker, ListsTheEmployeesInServiceByNumber) {
    EXPECT_EQ(picker->windowTitle(), QStringLiteral("社員検索"));
    EXPECT_EQ(frmEmp_seek, picker);
    EXPECT_TRUE(picker->Edit1->isHidden());
    picker->showFor(QStringLiteral("TimeInpRep"));
    EXPECT_TRUE(dm().Qemp_tanka.active());
    ASSERT_EQ(picker->DBGrid1->rowCountShown(), 2);
    EXPECT_EQ(picker->DBGrid1->cellText(0, 0), QStringLiteral("000001"));
    EXPECT_EQ(picker->DBGrid1->cellText(1, 0), QStringLiteral("000003"));
    EXPECT_EQ(picker->Edit1->text(), QStringLiteral("TimeInpRep"));
    picker->Button2->click();
    EXPECT_FALSE(picker->isVisible());
    EXPECT_FALSE(dm().Qemp_tanka.active());
}

struct TagCase {
    const char* tag;
    const char* window;    // stand-in caller
    const char* expected;  // what its Edit1 receives
};

void PrintTo(const TagCase& c, std::ostream* os) { *os << '"' << c.tag << "\" to " << c.window; }

class PickerTags : public Picker, public ::testing::WithParamInterface<TagCase> {};

TEST_P(PickerTags, ConfirmHandsTheChosenEmployeeToTheCallerOfTheTag) {
    const TagCase& c = GetParam();
    ui::Form* w = caller(QString::fromLatin1(c.window));
    currentTag = QString::fromLatin1(c.tag);
    pickRow(2);
    confirm();
    EXPECT_EQ(child<QLineEdit>(w, "Edit1")->text(), QString::fromUtf8(c.expected));
    EXPECT_FALSE(picker->isVisible());
    EXPECT_FALSE(dm().Qemp_tanka.active());
    if (*c.expected) {
        EXPECT_EQ(w->focusWidget(), child<QLineEdit>(w, "Edit1"));
    }
}
INSTANTIATE_TEST_SUITE_P(Tags, PickerTags,
                         ::testing::Values(TagCase{"GensenInp", "frmGensenInp", "3"},  // the number
                                           TagCase{"TimeInp", "frmTimeInp", "C3"},     // the card number, trimmed
                                           // a tag only reaches its own window
                                           TagCase{"TimeInp", "frmGensenInp", ""},
                                           TagCase{"GensenInp", "frmTimeInp", ""},
                                           // tags that write nothing: the exact names only
                                           TagCase{"TimeInpRep", "frmTimeInp", ""}, TagCase{"", "frmTimeInp", ""},
                                           TagCase{"timeinp", "frmTimeInp", ""},
                                           TagCase{"TimeInp ", "frmTimeInp", ""}));

TEST_F(Picker, TotalPutsTheNumberIntoThePayRecordBeforeItIsPosted) {
    conn().execute("INSERT INTO sum_tran (S_TANCOD, S_DATE) VALUES (1, '26/05')");
    dm().sum_tran.open();
    ui::Form* total = caller(QStringLiteral("frmTotal"));
    auto* dbEdit2 = new QLineEdit(total);
    dbEdit2->setObjectName(QStringLiteral("DBEdit2"));
    total->layout()->addWidget(dbEdit2);
    currentTag = QStringLiteral("Total");
    pickRow(2);
    confirm();
    EXPECT_EQ(dm().sum_tran.state(), db::DatasetState::Edit);
    EXPECT_EQ(dm().sum_tran["S_TANCOD"].asInteger(), 3);
    EXPECT_EQ(sql("SELECT S_TANCOD FROM sum_tran").integer(), 1);
    EXPECT_EQ(total->focusWidget(), dbEdit2);
    EXPECT_FALSE(picker->isVisible());
    dm().sum_tran.cancel();
    dm().sum_tran.close();
}

TEST_F(Picker, TotalWithoutAMonthlyWindowStillWritesTheRow) {
    conn().execute("INSERT INTO sum_tran (S_TANCOD, S_DATE, S_SHOYO_F) VALUES (1, '26-1', '1')");
    dm().sum_tran.open();
    currentTag = QStringLiteral("Total");
    pickRow(1);
    confirm();
    EXPECT_EQ(dm().sum_tran["S_TANCOD"].asInteger(), 1);
    EXPECT_EQ(dm().sum_tran.state(), db::DatasetState::Edit);
    EXPECT_FALSE(picker->isVisible());
    dm().sum_tran.cancel();
    dm().sum_tran.close();
}

TEST_F(Picker, MainRepSetsTheNameAndRunsItsChangeAction) {
    auto* w = keep(new ui::Form(QStringLiteral("frmMainRep")));
    auto* combo = new ui::ComboBox(QStringLiteral("ComboBox1"), w);
    combo->setItems({QStringLiteral("山田 太郎"), QStringLiteral("鈴木 一郎")});
    QString seen;
    new ui::Action(QStringLiteral("Avt_Change"), {}, w, [&] { seen = combo->text(); });
    w->show();
    currentTag = QStringLiteral("MainRep");
    pickRow(2);
    confirm();
    EXPECT_EQ(combo->text(), QStringLiteral("鈴木 一郎"));
    EXPECT_EQ(seen, QStringLiteral("鈴木 一郎"));
    EXPECT_FALSE(picker->isVisible());
}

TEST_F(Picker, WithNobodyInServiceConfirmOnlyCloses) {
    conn().execute("UPDATE emp_tanka SET E_DROPKBN = '0'");
    ui::Form* w = caller(QStringLiteral("frmGensenInp"));
    child<QLineEdit>(w, "Edit1")->setText(QStringLiteral("12"));
    conn().execute("INSERT INTO sum_tran (S_TANCOD, S_DATE) VALUES (5, '26/05')");
    dm().sum_tran.open();
    for (const char* tag : {"GensenInp", "Total"}) {
        currentTag = QString::fromLatin1(tag);
        picker->showFor(currentTag);
        EXPECT_EQ(picker->DBGrid1->rowCountShown(), 0);
        confirm();
        EXPECT_FALSE(picker->isVisible()) << tag;
    }
    EXPECT_EQ(child<QLineEdit>(w, "Edit1")->text(), QStringLiteral("12"));
    EXPECT_EQ(dm().sum_tran.state(), db::DatasetState::Browse);
    EXPECT_EQ(dm().sum_tran["S_TANCOD"].asInteger(), 5);
    dm().sum_tran.close();
}

TEST_F(Picker, ACallerErrorStillClosesThePicker) {
    auto* w = keep(new ui::Form(QStringLiteral("frmMainRep")));
    new ui::ComboBox(QStringLiteral("ComboBox1"), w);
    new ui::Action(QStringLiteral("Avt_Change"), {}, w, [] { throw rtl::Error("集計できません"); });
    currentTag = QStringLiteral("MainRep");
    pickRow(1);
    ui::guard([&] { picker->Button1->click(); });
    EXPECT_FALSE(picker->isVisible());
    ASSERT_FALSE(dialogs.shown().empty());
    EXPECT_EQ(dialogs.last().text, QStringLiteral("集計できません"));
}

}  // namespace
