// Data-aware controls bound to a SQLite-backed dataset.
#include "dbfixture.h"

#include "ui/dbcontrols.h"
#include "ui/dbgrid.h"
#include "ui/dbnavigator.h"

#include <rtl/datetime.h>
#include <rtl/errors.h>

#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

using namespace ui;
using testutil::focused;
using testutil::showActive;

namespace {

class DataControls : public testutil::DbFixture {
protected:
    void SetUp() override {
        DbFixture::SetUp();
        auto* lay = new QVBoxLayout(form.get());
        name = makeDBEdit(QStringLiteral("DBEdit3"), &dsEmp, QStringLiteral("E_NAME"), form.get());
        pay = makeDBEdit(QStringLiteral("DBEdit8"), &dsEmp, QStringLiteral("E_BASEPAY"), form.get());
        birth = makeDBEdit(QStringLiteral("DBEdit6"), &dsEmp, QStringLiteral("E_BARTH"), form.get());
        birth->setDateFormat(QStringLiteral("yyyy/mm/dd"));
        other = new QLineEdit(form.get());
        other->setObjectName("Other");
        for (QWidget* w : {static_cast<QWidget*>(name), static_cast<QWidget*>(pay), static_cast<QWidget*>(birth),
                           static_cast<QWidget*>(other)})
            lay->addWidget(w);
        form->setEnterMovesFocus(true);
        ASSERT_TRUE(showActive(form.get()));
        other->setFocus();
    }
    DBEdit* name;
    DBEdit* pay;
    DBEdit* birth;
    QLineEdit* other;
};

}  // namespace

TEST_F(DataControls, EditShowsDisplayTextAndEditTextWhenFocused) {
    EXPECT_EQ(pay->text(), QStringLiteral("1,200"));
    pay->setFocus();
    EXPECT_EQ(pay->text(), QStringLiteral("1200"));
    other->setFocus();
    EXPECT_EQ(pay->text(), QStringLiteral("1,200"));
    emp.next();
    EXPECT_EQ(name->text(), QStringLiteral("佐藤花子"));
    EXPECT_EQ(pay->text(), QStringLiteral("951"));  // "#,##0" rounds for display only
}

TEST_F(DataControls, TypingEditsTheRowWithinTheColumnWidthAndExitWritesIt) {
    EXPECT_EQ(name->maxLength(), 10);
    name->setFocus();
    name->selectAll();
    QTest::keyClicks(name, "abcdefghijklmn");
    EXPECT_EQ(name->text(), QStringLiteral("abcdefghij"));
    EXPECT_EQ(emp.state(), db::DatasetState::Edit);
    EXPECT_EQ(cell("E_NAME"), "山田太郎");  // not yet written
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_EQ(focused(), pay);
    EXPECT_EQ(cell("E_NAME"), "abcdefghij");
    emp.post();
    EXPECT_EQ(conn.scalar("SELECT E_NAME FROM emp_tanka WHERE E_NO = 1").text(), "abcdefghij");
}

TEST_F(DataControls, BadNumberIsRefusedWithTheErrorAndKeepsTheFocus) {
    pay->setFocus();
    pay->selectAll();
    QTest::keyClicks(pay, "12x");
    QTest::keyClick(pay, Qt::Key_Return);
    EXPECT_EQ(focused(), pay);
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.last().kind, DialogKind::Error);
    EXPECT_EQ(dialogs.last().text, QStringLiteral("'12x' は浮動小数点数ではありません"));
    QTest::keyClick(pay, Qt::Key_Escape);  // Esc drops the typed text
    EXPECT_EQ(pay->text(), QStringLiteral("1200"));
    QTest::keyClick(pay, Qt::Key_Return);
    EXPECT_EQ(focused(), birth);
}

TEST_F(DataControls, PendingTextReachesTheFieldBeforeAPost) {
    pay->setFocus();
    pay->selectAll();
    QTest::keyClicks(pay, "1500");
    emp.post();  // e.g. the navigator's post button, which takes no focus
    EXPECT_DOUBLE_EQ(conn.scalar("SELECT E_BASEPAY FROM emp_tanka WHERE E_NO = 1").real(), 1500.0);
}

TEST_F(DataControls, BirthDateShowsAndTakesFourDigitYears) {
    EXPECT_EQ(birth->text(), QStringLiteral("1955/03/01"));
    struct Case {
        const char* typed;
        bool accepted;
        const char* stored;
    };
    const Case cases[] = {
        {"55/03/02", false, "1955/03/01"},  // a two-digit year would guess the century
        {"1955/3/2", true, "1955/03/02"},
        {"1955/02/30", false, "1955/03/02"},
        {"", true, ""},
    };
    for (const Case& c : cases) {
        dialogs.clear();
        birth->setFocus();
        birth->selectAll();
        if (*c.typed) QTest::keyClicks(birth, c.typed);
        else QTest::keyClick(birth, Qt::Key_Delete);
        QTest::keyClick(birth, Qt::Key_Return);
        EXPECT_EQ(focused() == birth, !c.accepted) << c.typed;
        EXPECT_EQ(dialogs.shown().empty(), c.accepted) << c.typed;
        if (!c.accepted) QTest::keyClick(birth, Qt::Key_Escape);
        const std::string stored =
            emp["E_BARTH"].isNull() ? "" : rtl::formatDateTime("yyyy/mm/dd", emp["E_BARTH"].asDateTime());
        EXPECT_EQ(stored, c.stored) << c.typed;
        other->setFocus();
    }
}

TEST_F(DataControls, CheckBoxStoresItsValuesOnUserClicksOnly) {
    auto* rest = new DBCheckBox(QStringLiteral("DBCheckBox1"), QStringLiteral("休憩の有無"), form.get());
    rest->setDataSource(&dsEmp);
    rest->setDataField(QStringLiteral("E_REST_YN"));
    auto* weekly = new DBCheckBox(QStringLiteral("DBCheckBox2"), QStringLiteral("週給又は日給"), form.get());
    weekly->setDataSource(&dsEmp);
    weekly->setDataField(QStringLiteral("E_REST_NN"));  // an integer column
    int clicks = 0;
    rest->setOnClick([&] { ++clicks; });
    EXPECT_TRUE(rest->isChecked());
    EXPECT_TRUE(weekly->isChecked());
    emp.next();
    EXPECT_FALSE(rest->isChecked());
    EXPECT_EQ(clicks, 0);  // showing another row is not a click
    rest->click();
    weekly->click();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(emp.state(), db::DatasetState::Edit);
    EXPECT_EQ(cell("E_REST_YN"), "1");
    EXPECT_EQ(emp["E_REST_NN"].asInteger(), 1);
}

TEST_F(DataControls, RadioGroupStoresTheValueOfTheChosenItem) {
    auto* kind = new DBRadioGroup(QStringLiteral("DBRadioGroup1"), QStringLiteral("給与支払区分"), form.get());
    kind->setItems({QStringLiteral("月給"), QStringLiteral("日給"), QStringLiteral("時給")}, 3);
    kind->setValues({"0", "1", "2"});
    kind->setDataSource(&dsEmp);
    kind->setDataField(QStringLiteral("E_PAYKBN"));
    EXPECT_EQ(kind->itemIndex(), 2);
    emp.next();
    EXPECT_EQ(kind->itemIndex(), 0);
    kind->button(1)->click();
    EXPECT_EQ(cell("E_PAYKBN"), "1");
    emp.cancel();
    EXPECT_EQ(kind->itemIndex(), 0);
}

TEST_F(DataControls, LookupComboShowsTheListTextAndStoresTheKey) {
    jobs.next();  // the list's own cursor must survive the control reading it
    auto* job = new DBLookupComboBox(QStringLiteral("DBLookupComboBox1"), form.get());
    job->setKeyField(QStringLiteral("区分"));
    job->setListField(QStringLiteral("名称"));
    job->setListSource(&dsJobs);
    job->setDataSource(&dsEmp);
    job->setDataField(QStringLiteral("E_JOBKBN"));
    EXPECT_EQ(job->count(), 3);
    EXPECT_EQ(jobs.recNo(), 2);
    EXPECT_EQ(job->currentText(), QStringLiteral("夜勤"));
    emp.last();  // a NULL key shows nothing
    EXPECT_EQ(job->currentIndex(), -1);
    int changes = 0;
    job->setOnChange([&] { ++changes; });
    emit job->activated(2);  // the user picks "交代"
    EXPECT_EQ(cell("E_JOBKBN"), "03");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(job->keyValue(), QStringLiteral("03"));
}

// Many lookup combos (and a grid) over one list source, as on a page of
// allowance kinds: each reads the list once per change of the list, not once
// per read of every other control, and each keeps showing its own row's key.
struct SharedListCase {
    int combos;
    int grids;
};

void PrintTo(const SharedListCase& c, std::ostream* os) { *os << c.combos << " combos, " << c.grids << " grids"; }

class SharedList : public testutil::DbFixture, public ::testing::WithParamInterface<SharedListCase> {};

TEST_P(SharedList, EachControlReadsTheListOncePerChangeAndShowsItsValue) {
    const SharedListCase& c = GetParam();
    auto* lay = new QVBoxLayout(form.get());
    std::vector<DBLookupComboBox*> combos;
    for (int i = 0; i < c.combos; ++i) {
        auto* combo = new DBLookupComboBox(QStringLiteral("DBLookupComboBox%1").arg(i + 1), form.get());
        combo->setKeyField(QStringLiteral("区分"));
        combo->setListField(QStringLiteral("名称"));
        combo->setListSource(&dsJobs);
        combo->setDataSource(&dsEmp);
        combo->setDataField(QStringLiteral("E_JOBKBN"));
        lay->addWidget(combo);
        combos.push_back(combo);
    }
    for (int i = 0; i < c.grids; ++i) {
        auto* grid = new DBGrid(QStringLiteral("DBGrid%1").arg(i + 1), form.get());
        grid->setDataSource(&dsJobs);
        lay->addWidget(grid);
    }
    ASSERT_TRUE(showActive(form.get()));
    const int readers = c.combos + c.grids;

    // Every full change of the list: the list's own, then one per read; each
    // control reads at most twice (a grid follows the state as well as the rows).
    int fullChanges = 0;
    const int observer = dsJobs.onDataChange([&](db::Field* f) {
        if (!f) ++fullChanges;
    });
    jobs.close();
    for (DBLookupComboBox* combo : combos) EXPECT_EQ(combo->count(), 0);
    fullChanges = 0;
    jobs.open();
    EXPECT_LE(fullChanges, 1 + 2 * readers);
    for (DBLookupComboBox* combo : combos) {
        EXPECT_EQ(combo->count(), 3);
        EXPECT_EQ(combo->currentText(), QStringLiteral("夜勤")) << combo->objectName().toStdString();
    }

    fullChanges = 0;
    jobs.last();  // scrolling the list keeps every combo's value
    EXPECT_LE(fullChanges, 1 + 2 * readers);
    EXPECT_EQ(jobs.recNo(), 3);
    emp.next();
    for (DBLookupComboBox* combo : combos) EXPECT_EQ(combo->currentText(), QStringLiteral("日勤"));

    fullChanges = 0;
    jobs.append();
    jobs["区分"].setAsString("04");
    jobs["名称"].setAsString("休日");
    jobs.post();
    for (DBLookupComboBox* combo : combos) {
        EXPECT_EQ(combo->count(), 4);
        EXPECT_EQ(combo->itemText(3), QStringLiteral("休日"));
        EXPECT_EQ(combo->currentText(), QStringLiteral("日勤"));
    }
    dsJobs.removeObserver(observer);
}

INSTANTIATE_TEST_SUITE_P(Controls, SharedList,
                         ::testing::Values(SharedListCase{2, 0}, SharedListCase{12, 0}, SharedListCase{12, 1},
                                           SharedListCase{6, 2}));

// The edit's own read-only switch holds whatever the dataset's state does;
// a field that cannot be written keeps the edit read-only either way.
TEST_F(DataControls, EditHeldReadOnlyStaysReadOnlyThroughStateChanges) {
    db::Query computed{&conn, "Qcomputed"};
    computed.setSql("SELECT E_NO, E_NAME || '様' AS E_TITLE FROM emp_tanka ORDER BY E_NO");
    computed.open();
    db::DataSource dsComputed{&computed, "DSQcomputed"};
    struct Case {
        bool held;
        bool writableField;
        bool readOnly;
    };
    const Case cases[] = {{false, true, false}, {true, true, true}, {false, false, true}, {true, false, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "held " << c.held << ", writable " << c.writableField);
        auto* e = new DBEdit(QStringLiteral("DBEditHeld"), form.get());
        e->setReadOnly(c.held);
        e->setDataSource(c.writableField ? &dsEmp : &dsComputed);
        e->setDataField(c.writableField ? QStringLiteral("E_NAME") : QStringLiteral("E_TITLE"));
        EXPECT_EQ(e->controlReadOnly(), c.held);
        EXPECT_EQ(e->isReadOnly(), c.readOnly);
        if (c.writableField) {
            emp.edit();  // a state change re-derives the state
            EXPECT_EQ(e->isReadOnly(), c.readOnly);
            emp.cancel();
            emp.next();
            EXPECT_EQ(e->isReadOnly(), c.readOnly);
            emp.first();
        }
        e->setFocus();
        e->selectAll();
        QTest::keyClicks(e, "xyz");
        EXPECT_EQ(emp.state(), c.readOnly ? db::DatasetState::Browse : db::DatasetState::Edit);
        emp.cancel();
        delete e;
    }
    EXPECT_EQ(cell("E_NAME"), "山田太郎");
}

TEST_F(DataControls, EditReleasedFromReadOnlyTakesInputAgain) {
    name->setReadOnly(true);
    emp.edit();
    emp.cancel();
    EXPECT_TRUE(name->isReadOnly());
    name->setReadOnly(false);
    EXPECT_FALSE(name->isReadOnly());
    name->setFocus();
    name->selectAll();
    QTest::keyClicks(name, "abc");
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_EQ(cell("E_NAME"), "abc");
}

TEST_F(DataControls, ComboChoiceIsStoredAndCodeSetsFireNothing) {
    auto* combo = new DBComboBox(QStringLiteral("DBComboBox1"), form.get());
    combo->setItems({"01", "02", "03"});
    combo->setDataSource(&dsEmp);
    combo->setDataField(QStringLiteral("E_JOBKBN"));
    int changes = 0;
    combo->setOnChange([&] { ++changes; });
    EXPECT_EQ(combo->currentText(), QStringLiteral("02"));
    emp.next();
    EXPECT_EQ(combo->currentText(), QStringLiteral("01"));
    EXPECT_EQ(changes, 0);
    combo->setCurrentIndex(2);
    emit combo->activated(2);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(cell("E_JOBKBN"), "03");
}

// ---- grid

namespace {
class GridTest : public testutil::DbFixture {
protected:
    void SetUp() override {
        DbFixture::SetUp();
        auto* lay = new QVBoxLayout(form.get());
        grid = new DBGrid(QStringLiteral("DBGrid1"), form.get());
        grid->setColumns({{"E_NO", "NO", 40, true, true, false},
                          {"E_NAME", "氏名", 120, true, false, true},
                          {"E_BASEPAY", "基本単価", 80, true, false, false},
                          {"E_JOBKBN", "区分", 40, false, false, false}});
        grid->setDataSource(&dsEmp);
        lay->addWidget(grid);
        ASSERT_TRUE(showActive(form.get()));
    }
    DBGrid* grid;
};
}  // namespace

TEST_F(GridTest, PersistentColumnsShowTitlesWidthsAndVisibility) {
    EXPECT_EQ(grid->model()->columnCount(), 4);
    EXPECT_EQ(grid->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("氏名"));
    EXPECT_EQ(grid->columnWidth(1), 120);
    EXPECT_TRUE(grid->isColumnHidden(3));
    grid->setColumnVisible(3, true);
    EXPECT_FALSE(grid->isColumnHidden(3));
    EXPECT_EQ(grid->rowCountShown(), 3);
    EXPECT_EQ(grid->cellText(1, 1), QStringLiteral("佐藤花子"));
    EXPECT_EQ(grid->cellText(0, 2), QStringLiteral("1,200"));
    EXPECT_EQ(grid->cellText(2, 2), QString());  // NULL shows empty
}

TEST_F(GridTest, CurrentRowFollowsTheDatasetBothWays) {
    emp.last();
    EXPECT_EQ(grid->currentIndex().row(), 2);
    grid->setCurrentIndex(grid->model()->index(1, 1));  // the user picks row 2
    EXPECT_EQ(emp.recNo(), 2);
    EXPECT_EQ(cell("E_NAME"), "佐藤花子");
}

TEST_F(GridTest, ReadingRowsDoesNotFireTheScrollHook) {
    int scrolls = 0;
    emp.afterScroll = [&](db::Dataset&) { ++scrolls; };
    grid->reload();
    EXPECT_EQ(scrolls, 0);
    emp.next();
    EXPECT_EQ(scrolls, 1);
}

TEST_F(GridTest, InPlaceEditWritesTheFieldAndReadOnlyColumnsRefuse) {
    const QModelIndex nameCell = grid->model()->index(1, 1);
    EXPECT_TRUE(grid->model()->flags(nameCell) & Qt::ItemIsEditable);
    EXPECT_FALSE(grid->model()->flags(grid->model()->index(1, 0)) & Qt::ItemIsEditable);
    EXPECT_TRUE(grid->model()->setData(nameCell, QStringLiteral("佐藤春子")));
    EXPECT_EQ(emp.recNo(), 2);
    EXPECT_EQ(emp.state(), db::DatasetState::Edit);
    EXPECT_EQ(grid->cellText(1, 1), QStringLiteral("佐藤春子"));
    EXPECT_FALSE(grid->model()->setData(grid->model()->index(1, 2), QStringLiteral("abc")));
    EXPECT_EQ(dialogs.last().kind, DialogKind::Error);
    emp.post();
    EXPECT_EQ(grid->cellText(1, 1), QStringLiteral("佐藤春子"));
    grid->setReadOnly(true);
    EXPECT_FALSE(grid->model()->flags(nameCell) & Qt::ItemIsEditable);
}

TEST_F(GridTest, InsertedRowShowsAtItsPlace) {
    emp.append();
    EXPECT_EQ(grid->rowCountShown(), 4);
    emp["E_NAME"].setAsString("新人");
    EXPECT_EQ(grid->cellText(3, 1), QStringLiteral("新人"));
    emp.cancel();
    EXPECT_EQ(grid->rowCountShown(), 3);
}

TEST_F(GridTest, EllipsisButtonRunsTheColumnHandler) {
    int clickedColumn = -1;
    grid->setOnEditButtonClick([&](int column) { clickedColumn = column; });
    const QModelIndex idx = grid->model()->index(0, 1);
    grid->setCurrentIndex(idx);
    grid->edit(idx);
    auto* button = grid->viewport()->findChild<QToolButton*>(QStringLiteral("EllipsisButton"));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), QStringLiteral("…"));
    button->click();
    EXPECT_EQ(clickedColumn, 1);
    // Columns without the button edit in a plain line edit.
    grid->setCurrentIndex(grid->model()->index(0, 2));
    grid->edit(grid->model()->index(0, 2));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(grid->viewport()->findChildren<QToolButton*>().size(), 0);
}

TEST_F(GridTest, DrawingHookSeesTheRowsOtherFields) {
    grid->setOnDrawCell([](CellStyle& st) {
        if (st.value(QStringLiteral("E_REST_YN")) == QStringLiteral("1")) st.foreground = Qt::red;
        if (st.column == 2 && st.text.isEmpty()) st.text = QStringLiteral("-");
    });
    EXPECT_EQ(grid->cellStyle(0, 1).foreground, QColor(Qt::red));
    EXPECT_NE(grid->cellStyle(1, 1).foreground, QColor(Qt::red));
    EXPECT_EQ(grid->cellStyle(2, 2).text, QStringLiteral("-"));
    EXPECT_FALSE(grid->grab().isNull());  // painting runs the hook without trouble
}

// ---- navigator

namespace {
class NavigatorTest : public testutil::DbFixture {
protected:
    void SetUp() override {
        DbFixture::SetUp();
        nav = new DBNavigator(QStringLiteral("DBNavigator1"), form.get());
        nav->setDataSource(&dsEmp);
        nav->setCaptions(
            {"&F 先頭", "&P 前行", "&N 次行", "&L 最後", "追加", "削除", "&E 編集", "登録", "取消", "&R 更新"});
    }
    DBNavigator* nav;
};
}  // namespace

TEST_F(NavigatorTest, TenButtonsInOrderWithCaptionsAsHintsAndNoFocus) {
    const QStringList expected = {"nbFirst",  "nbPrior", "nbNext", "nbLast",   "nbInsert",
                                  "nbDelete", "nbEdit",  "nbPost", "nbCancel", "nbRefresh"};
    const auto buttons = nav->findChildren<QPushButton*>(Qt::FindDirectChildrenOnly);
    ASSERT_EQ(buttons.size(), 10);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(buttons[i]->objectName(), expected[i]);
        EXPECT_EQ(buttons[i]->toolTip(), buttons[i]->text());
        EXPECT_TRUE(buttons[i]->icon().isNull());
        EXPECT_EQ(buttons[i]->focusPolicy(), Qt::NoFocus);
    }
    EXPECT_EQ(nav->button(NavButton::Post)->text(), QStringLiteral("登録"));
    nav->setVisibleButtons({NavButton::Insert, NavButton::Delete, NavButton::Post, NavButton::Cancel});
    QStringList visible;
    for (QPushButton* b : buttons)
        if (!b->isHidden()) visible << b->objectName();
    EXPECT_EQ(visible, (QStringList{"nbInsert", "nbDelete", "nbPost", "nbCancel"}));
}

TEST_F(NavigatorTest, ButtonsFollowTheDatasetState) {
    struct Case {
        const char* name;
        std::function<void()> setUp;
        QString enabled;
    };
    // Letters in button order: F P N L I D E S(post) C R; '-' disabled.
    const Case cases[] = {
        {"first row", [&] { emp.first(); }, "--NLIDE--R"}, {"middle row", [&] { emp.next(); }, "FPNLIDE--R"},
        {"last row", [&] { emp.last(); }, "FP--IDE--R"},   {"editing", [&] { emp.edit(); }, "FPNLID-SCR"},
        {"closed", [&] { emp.close(); }, "----------"},
    };
    const QString letters = "FPNLIDESCR";
    for (const Case& c : cases) {
        c.setUp();
        QString got;
        for (int i = 0; i < 10; ++i)
            got += nav->button(static_cast<NavButton>(i))->isEnabled() ? letters[i] : QLatin1Char('-');
        EXPECT_EQ(got, c.enabled) << c.name;
    }
}

TEST_F(NavigatorTest, DeleteAsksFirstAndNoKeepsTheRow) {
    emp.next();
    dialogs.answer("No");
    nav->button(NavButton::Delete)->click();
    EXPECT_EQ(emp.recordCount(), 3);
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.last().text, QStringLiteral("削除しますか？"));
    EXPECT_EQ(dialogs.last().caption, QStringLiteral("Tallyra計算"));
    EXPECT_EQ(dialogs.last().buttons, (QStringList{"はい(&Y)", "いいえ(&N)"}));
    dialogs.answer("Yes");
    nav->button(NavButton::Delete)->click();
    EXPECT_EQ(emp.recordCount(), 2);
    EXPECT_EQ(conn.scalar("SELECT COUNT(*) FROM emp_tanka WHERE E_NO = 2").integer(), 0);
}

TEST_F(NavigatorTest, HooksRunAroundActionsAndAnAbortCancels) {
    QStringList seen;
    nav->setBeforeAction([&](NavButton b) {
        seen << QStringLiteral("before %1").arg(static_cast<int>(b));
        if (b == NavButton::Last) rtl::abortSilently();
    });
    nav->setOnClick([&](NavButton b) { seen << QStringLiteral("after %1").arg(static_cast<int>(b)); });
    nav->button(NavButton::Next)->click();
    nav->button(NavButton::Last)->click();
    EXPECT_EQ(emp.recNo(), 2);
    EXPECT_EQ(seen, (QStringList{"before 2", "after 2", "before 3"}));
    EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(NavigatorTest, InsertPostAndCancel) {
    nav->button(NavButton::Insert)->click();
    EXPECT_EQ(emp.state(), db::DatasetState::Insert);
    emp["E_NO"].setAsInteger(4);
    emp["E_NAME"].setAsString("高橋");
    nav->button(NavButton::Post)->click();
    EXPECT_EQ(emp.state(), db::DatasetState::Browse);
    EXPECT_EQ(conn.scalar("SELECT COUNT(*) FROM emp_tanka").integer(), 4);
    nav->button(NavButton::Edit)->click();
    emp["E_NAME"].setAsString("x");
    nav->button(NavButton::Cancel)->click();
    EXPECT_EQ(cell("E_NAME"), "高橋");
}

// ---- closing with an unposted change

namespace {
class CloseTest : public testutil::DbFixture {
protected:
    void SetUp() override {
        DbFixture::SetUp();
        auto* lay = new QVBoxLayout(form.get());
        edit = makeDBEdit(QStringLiteral("DBEdit3"), &dsEmp, QStringLiteral("E_NAME"), form.get());
        lay->addWidget(edit);
        ASSERT_TRUE(showActive(form.get()));
    }
    DBEdit* edit;
};

// Each answer to the question about an unposted change of E_NAME to 山田次郎:
// whether the change is settled (the window may close), the name then stored
// and the dataset's state afterwards.
struct UnpostedAnswer {
    const char* answer;
    bool settled;
    const char* stored;
    db::DatasetState after;
};
const UnpostedAnswer kUnpostedAnswers[] = {
    {"Cancel", false, "山田太郎", db::DatasetState::Edit},
    {"No", true, "山田太郎", db::DatasetState::Browse},
    {"Yes", true, "山田次郎", db::DatasetState::Browse},
};
}  // namespace

TEST_F(CloseTest, UnpostedChangeAsksAndActsOnTheAnswer) {
    for (const UnpostedAnswer& c : kUnpostedAnswers) {
        dialogs.clear();
        form->show();
        if (emp.state() == db::DatasetState::Browse) {
            emp.edit();
            emp["E_NAME"].setAsString("山田次郎");
        }
        dialogs.answer(QString::fromLatin1(c.answer));
        form->close();
        EXPECT_EQ(form->isVisible(), !c.settled) << c.answer;
        ASSERT_EQ(dialogs.shown().size(), 1u) << c.answer;
        EXPECT_EQ(dialogs.last().text, unpostedChangeQuestion());
        EXPECT_EQ(dialogs.last().buttons, (QStringList{"はい(&Y)", "いいえ(&N)", "キャンセル"}));
        EXPECT_EQ(emp.state(), c.after) << c.answer;
        EXPECT_EQ(conn.scalar("SELECT E_NAME FROM emp_tanka WHERE E_NO = 1").text(), c.stored) << c.answer;
    }
}

TEST_F(CloseTest, TypedButUnwrittenTextCountsAsAChange) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, "Jiro");
    dialogs.answer("Yes");
    form->close();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(conn.scalar("SELECT E_NAME FROM emp_tanka WHERE E_NO = 1").text(), "Jiro");
}

TEST_F(CloseTest, NothingIsAskedWithoutAChangeAndAFailedSaveKeepsTheWindow) {
    form->close();
    EXPECT_TRUE(dialogs.shown().empty());
    form->show();
    emp.edit();
    emp.beforePost = [](db::Dataset&) { throw rtl::DatabaseError("登録できません。"); };
    emp["E_NAME"].setAsString("x");
    dialogs.answer("Yes");
    form->close();
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(dialogs.texts(), (QStringList{unpostedChangeQuestion(), QStringLiteral("登録できません。")}));
    emp.beforePost = nullptr;
    emp.cancel();
}

TEST_F(CloseTest, ChangesOfAWindowAndItsOwnedWindowsAreSettledWithoutClosingThem) {
    // The change sits in a window owned by the one asked about.
    auto* owned = new Form(QStringLiteral("frmOwned"), form.get());
    makeDBEdit(QStringLiteral("DBEdit1"), &dsEmp, QStringLiteral("E_NAME"), owned);
    edit->setDataSource(nullptr);

    for (const UnpostedAnswer& c : kUnpostedAnswers) {
        dialogs.clear();
        if (emp.state() == db::DatasetState::Browse) {
            emp.edit();
            emp["E_NAME"].setAsString("山田次郎");
        }
        dialogs.answer(QString::fromLatin1(c.answer));
        EXPECT_EQ(settleUnpostedChanges(form.get()), c.settled) << c.answer;
        EXPECT_EQ(dialogs.texts(), QStringList{unpostedChangeQuestion()}) << c.answer;
        EXPECT_EQ(emp.state(), c.after) << c.answer;
        EXPECT_EQ(conn.scalar("SELECT E_NAME FROM emp_tanka WHERE E_NO = 1").text(), c.stored) << c.answer;
        EXPECT_TRUE(form->isVisible());
    }
    dialogs.clear();
    EXPECT_TRUE(settleUnpostedChanges(form.get()));  // nothing left to ask about
    EXPECT_TRUE(settleUnpostedChanges(nullptr));
    EXPECT_TRUE(dialogs.shown().empty());
}
