// The small masters (work categories, company, captions, settings), the
// recorder-program employees, and the forms the hub gets from this area.
#include "fixture.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>

#include <set>

#include "masters/Company.h"
#include "masters/Emp_Tanka.h"
#include "masters/Emp_mas.h"
#include "masters/Job_kbn.h"
#include "masters/Sys_mas.h"
#include "masters/Title_mas.h"
#include "masters/masterform.h"
#include "masters/registration.h"
#include "masters/rules.h"
#include "ui/action.h"
#include "ui/dbgrid.h"
#include "ui/dbnavigator.h"
#include "ui/guard.h"
#include "ui/windows.h"

namespace {

using ui::NavButton;
using Masters = mtest::MastersTest;

std::set<NavButton> visibleButtons(ui::DBNavigator* nav) {
    std::set<NavButton> out;
    for (int i = 0; i < ui::navButtonCount; ++i)
        if (!nav->button(static_cast<NavButton>(i))->isHidden()) out.insert(static_cast<NavButton>(i));
    return out;
}

// ---------------------------------------------------------------- work categories

struct JobCase {
    int editNo;
    const char* typed;
    const char* stored;  // nullptr: refused, the focus stays
};

void PrintTo(const JobCase& c, std::ostream* os) { *os << "DBEdit" << c.editNo << " \"" << c.typed << '"'; }

class JobKbn : public mtest::MastersTest, public ::testing::WithParamInterface<JobCase> {
protected:
    void SetUp() override {
        MastersTest::SetUp();
        form = keep(ui::createForm<TfrmJob_kbn>());
        ASSERT_TRUE(showActive(form));
    }
    std::string column(int editNo) {
        return dm().Job_kbn.fieldByName(rtl::fromQString(TfrmJob_kbn::fieldColumns()[editNo - 1])).asString();
    }
    TfrmJob_kbn* form = nullptr;
};

TEST_P(JobKbn, EachFieldIsCheckedWhenTheFocusLeavesIt) {
    const JobCase& c = GetParam();
    ui::DBEdit* e = form->edits[c.editNo];
    QWidget* next = form->edits[c.editNo == 22 ? 1 : c.editNo + 1];
    const bool left = typeAndLeave(form, e, QString::fromUtf8(c.typed), next);
    if (c.stored) {
        EXPECT_TRUE(left);
        EXPECT_TRUE(dialogs.shown().empty());
        EXPECT_EQ(column(c.editNo), c.stored);
        EXPECT_EQ(e->text(), QString::fromUtf8(c.stored));
    } else {
        EXPECT_FALSE(left);
        ASSERT_EQ(dialogs.shown().size(), 1u);
        EXPECT_EQ(dialogs.last().text, QString::fromUtf8(masters::kCheckDataMessage));
        EXPECT_EQ(QApplication::focusWidget(), e);
        EXPECT_EQ(e->text(), QString::fromUtf8(c.typed));  // kept for correction
    }
}
INSTANTIATE_TEST_SUITE_P(
    Fields, JobKbn,
    ::testing::Values(JobCase{1, "7", "07"}, JobCase{1, "07", "07"}, JobCase{1, "123", nullptr}, JobCase{1, "", ""},
                      JobCase{2, "0830", "08:30"}, JobCase{3, "08:30", "08:30"}, JobCase{4, "083", nullptr},
                      JobCase{5, "08:300", nullptr}, JobCase{6, "", ""}, JobCase{7, "25:00", "25:00"},
                      JobCase{17, "2500", "25:00"}, JobCase{16, "8:30", nullptr}, JobCase{12, "4800", nullptr},
                      JobCase{19, "5", "05"}, JobCase{20, "15", "15"}, JobCase{21, "abc", nullptr},
                      JobCase{19, "7", nullptr}, JobCase{21, "", ""}, JobCase{18, "abc", "abc"},
                      JobCase{22, "0800", "08:00"}, JobCase{22, "08:00", "08:00"}, JobCase{22, "abc", nullptr},
                      JobCase{22, "8:00", nullptr}, JobCase{22, "", ""}));

TEST_F(JobKbn, ANewCategoryIsEnteredAndPosted) {
    EXPECT_EQ(form->windowTitle(), QStringLiteral("区分マスタ"));
    EXPECT_EQ(visibleButtons(form->DBNavigator1),
              (std::set{NavButton::Insert, NavButton::Delete, NavButton::Post, NavButton::Cancel}));
    EXPECT_EQ(form->DBNavigator1->captions(), masters::standardNavigatorCaptions());
    form->DBNavigator1->btnClick(NavButton::Insert);
    ASSERT_TRUE(typeAndLeave(form, form->edits[1], "2", form->edits[2]));
    type(form->edits[2], "2200");
    ASSERT_TRUE(form->moveFocusTo(form->edits[3]));
    type(form->edits[3], "0500");
    ASSERT_TRUE(form->moveFocusTo(form->edits[19]));
    type(form->edits[19], "15");
    ASSERT_TRUE(form->moveFocusTo(form->edits[22]));
    form->DBNavigator1->btnClick(NavButton::Post);
    EXPECT_EQ(
        sql("SELECT 就業開始時刻 || '-' || 就業終了時刻 || '/' || 就業丸め単位 FROM 区分 WHERE 区分 = '02'").text(),
        "22:00-05:00/15");
    EXPECT_EQ(form->DBGrid1->rowCountShown(), 2);
    form->close();
    EXPECT_FALSE(dm().Job_kbn.active());
}

TEST_F(JobKbn, PostingWithTheFocusStillInAFieldChecksItToo) {
    enter(form, form->edits[2]);
    type(form->edits[2], "0830");
    enter(form, form->edits[19]);  // leaving the time field normalises it
    type(form->edits[19], "7");    // still in the unit field
    EXPECT_FALSE(ui::guard([&] { form->DBNavigator1->btnClick(NavButton::Post); }));
    EXPECT_EQ(dialogs.texts(), QStringList{QString::fromUtf8(masters::kCheckDataMessage)});
    EXPECT_EQ(dm().Job_kbn.state(), db::DatasetState::Edit);
    EXPECT_EQ(QApplication::focusWidget(), form->edits[19]);
    EXPECT_EQ(sql("SELECT 就業丸め単位 FROM 区分").text(), "01");

    type(form->edits[19], "5");
    form->DBNavigator1->btnClick(NavButton::Post);
    EXPECT_EQ(sql("SELECT 就業開始時刻 || '/' || 就業丸め単位 FROM 区分").text(), "08:30/05");

    // The save question on close posts through the same checks.
    enter(form, form->edits[3]);
    type(form->edits[3], "2460");
    dialogs.answer(ui::Answer::Yes);
    form->close();
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(sql("SELECT 就業終了時刻 FROM 区分").text(), "18:00");
}

TEST_F(JobKbn, TheRecorderCopyIsNotRefusedBecauseTheWindowIsOpen) {
    // The database copy of the recorder import appends through the same
    // component inside a job; what it brings does not go through the
    // window's typing checks, open window or not.
    ui::DBEdit* unit = form->edits[19];
    enter(form, unit);
    db::Dataset& kbn = dm().Job_kbn;
    EXPECT_TRUE(ui::guard([&] {
        conn().runJob([&] {
            kbn.append();
            kbn["区分"].setAsString("03");
            kbn["就業開始時刻"].setAsString("8:30");
            kbn["就業丸め単位"].setAsString("7");
            kbn.post();
        });
    }));
    EXPECT_TRUE(dialogs.shown().empty()) << dialogs.texts().join("\n").toStdString();
    EXPECT_EQ(sql("SELECT 就業開始時刻 || '/' || 就業丸め単位 FROM 区分 WHERE 区分 = '03'").text(), "8:30/7");

    // Typed into the window, the same values are still refused on post.
    kbn.edit();
    kbn["就業丸め単位"].setAsString("7");
    EXPECT_FALSE(ui::guard([&] { form->DBNavigator1->btnClick(NavButton::Post); }));
    EXPECT_EQ(dialogs.texts(), QStringList{QString::fromUtf8(masters::kCheckDataMessage)});
    kbn.cancel();
}

// ---------------------------------------------------------------- company

TEST_F(Masters, CompanyEditsItsOneRow) {
    auto* form = keep(ui::createForm<TfrmCompany>());
    ASSERT_TRUE(showActive(form));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("frmCompany"));
    EXPECT_EQ(child<QLabel>(form, "Panel1Caption")->text(), QStringLiteral("会社情報"));
    EXPECT_EQ(form->DBNavigator1->captions(), masters::companyNavigatorCaptions());
    EXPECT_EQ(visibleButtons(form->DBNavigator1), (std::set{NavButton::Post, NavButton::Cancel}));
    for (int i = 0; i < TfrmCompany::fieldColumns().size(); ++i)
        EXPECT_EQ(child<QLabel>(form, QStringLiteral("Label%1").arg(i + 1))->text(), TfrmCompany::fieldColumns()[i]);

    auto* name = child<ui::DBEdit>(form, "DBEdit1");
    auto* closing = child<ui::DBEdit>(form, "DBEdit10");
    ASSERT_TRUE(typeAndLeave(form, name, "株式会社テスト", closing));
    type(closing, "25");
    ASSERT_TRUE(form->moveFocusTo(name));
    form->DBNavigator1->btnClick(NavButton::Post);
    EXPECT_EQ(sql("SELECT 会社名 || '/' || 締日 FROM 会社").text(), "株式会社テスト/25");
    EXPECT_EQ(sql("SELECT COUNT(*) FROM 会社").integer(), 1);
    form->close();
    EXPECT_FALSE(dm().Company.active());
}

TEST_F(Masters, CompanyRefusesAClosingDayThePeriodCannotUse) {
    auto* form = keep(ui::createForm<TfrmCompany>());
    ASSERT_TRUE(showActive(form));
    auto* name = child<ui::DBEdit>(form, "DBEdit1");
    auto* closing = child<ui::DBEdit>(form, "DBEdit10");
    const struct {
        const char* typed;
        bool accepted;
    } cases[] = {{"abc", false}, {"0", false}, {"32", false}, {"20", true}, {"", true}, {"31", true}, {"1", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        dialogs.clear();
        EXPECT_EQ(typeAndLeave(form, closing, c.typed, name), c.accepted);
        if (c.accepted) {
            EXPECT_TRUE(dialogs.shown().empty());
            continue;
        }
        ASSERT_EQ(dialogs.shown().size(), 1u);
        EXPECT_EQ(dialogs.last().kind, ui::DialogKind::Message);
        EXPECT_EQ(dialogs.last().text, QString::fromUtf8(masters::kClosingDayMessage));
        EXPECT_EQ(QApplication::focusWidget(), closing);
        EXPECT_EQ(closing->text(), QString::fromUtf8(c.typed));  // kept for correction
    }
    // A post with the focus still in the field is refused too; nothing is stored.
    type(closing, "abc");
    EXPECT_FALSE(ui::guard([&] { form->DBNavigator1->btnClick(NavButton::Post); }));
    EXPECT_EQ(dialogs.last().text, QString::fromUtf8(masters::kClosingDayMessage));
    EXPECT_NE(sql("SELECT 締日 FROM 会社").toString(), "abc");
    type(closing, "25");
    form->DBNavigator1->btnClick(NavButton::Post);
    EXPECT_EQ(sql("SELECT 締日 FROM 会社").text(), "25");
}

// ---------------------------------------------------------------- captions

TEST_F(Masters, AnEmptiedCaptionIsStoredAsNullAndTheEmployeeMasterShowsNoLabel) {
    auto* form = keep(ui::createForm<TfrmTitle_mas>());
    ASSERT_TRUE(showActive(form));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("タイトルマスタ"));
    EXPECT_EQ(child<QLabel>(form, "Panel1Caption")->text(), QStringLiteral("手当・控除　名称変更"));
    EXPECT_EQ(form->DBNavigator1->captions(), masters::captionsNavigatorCaptions());
    EXPECT_EQ(visibleButtons(form->DBNavigator1), (std::set{NavButton::Post, NavButton::Cancel}));
    EXPECT_TRUE(child<QLabel>(form, "LabelRed1")->isHidden());
    EXPECT_TRUE(child<QLabel>(form, "LabelRed2")->isHidden());
    EXPECT_EQ(child<QLabel>(form, "Label4")->text(), QStringLiteral("手当３"));

    auto* gking3 = child<ui::DBEdit>(form, "DBEdit4");
    auto* gking4 = child<ui::DBEdit>(form, "DBEdit5");
    ASSERT_TRUE(typeAndLeave(form, gking3, "", gking4));
    type(gking4, "皆勤手当");
    ASSERT_TRUE(form->moveFocusTo(gking3));
    form->DBNavigator1->btnClick(NavButton::Post);
    EXPECT_TRUE(sql("SELECT GKING3 FROM title_mas WHERE CODE = 1").isNull());
    EXPECT_EQ(sql("SELECT GKING4 FROM title_mas WHERE CODE = 1").text(), "皆勤手当");
    form->close();
    EXPECT_FALSE(dm().Qtitle_mas.active());

    auto* emp = keep(ui::createForm<TfrmEmp_Tanka>());
    ASSERT_TRUE(showActive(emp));
    emp->PageControl1->setCurrentWidget(emp->TabSheet2);
    EXPECT_EQ(child<QLabel>(emp, "Label_E_GKING_S3")->text(), QString());
    EXPECT_EQ(child<QLabel>(emp, "Label_E_GKING_K3")->text(), QString());
    EXPECT_EQ(child<QLabel>(emp, "Label_E_GKING_K4")->text(), QStringLiteral("皆勤手当"));
}

TEST_F(Masters, ACaptionEmptiedJustBeforePostingIsStoredAsNullToo) {
    auto* form = keep(ui::createForm<TfrmTitle_mas>());
    ASSERT_TRUE(showActive(form));
    auto* sking1 = child<ui::DBEdit>(form, "DBEdit11");
    enter(form, sking1);
    type(sking1, "");
    form->DBNavigator1->btnClick(NavButton::Post);
    EXPECT_TRUE(sql("SELECT SKING1 FROM title_mas WHERE CODE = 1").isNull());
}

TEST_F(Masters, TheEmployeeMasterReadsCaptionsWithoutClosingAnOpenCaptionWindow) {
    auto* titles = keep(ui::createForm<TfrmTitle_mas>());
    titles->show();
    auto* emp = keep(ui::createForm<TfrmEmp_Tanka>());
    ASSERT_TRUE(showActive(emp));
    emp->PageControl1->setCurrentWidget(emp->TabSheet2);
    EXPECT_EQ(child<QLabel>(emp, "Label_E_GKING_S1")->text(), QStringLiteral("手当1"));
    EXPECT_TRUE(dm().Qtitle_mas.active());
}

// ---------------------------------------------------------------- settings

class SysMas : public mtest::MastersTest {
protected:
    void SetUp() override {
        MastersTest::SetUp();
        // A stand-in main window with the three recorder controls.
        // A window it owns, made first, has a "Panel1" of its own.
        mainWindow = keep(new ui::Form(QStringLiteral("frmMain")));
        keep(ui::createForm<TfrmCompany>(mainWindow));
        auto* page = new QWidget(mainWindow);
        for (const char* name : {"Panel1", "btnDataSet", "btnemp_mas"}) {
            auto* w = new QPushButton(page);
            w->setObjectName(QString::fromLatin1(name));
        }
        mainWindow->show();
        // The main window's part: what closing hands it.
        masters::setRecorderKindHandler([this](const std::string& recYN) { kinds.push_back(recYN); });
        form = keep(ui::createForm<TfrmSys_mas>(mainWindow));
        ASSERT_TRUE(showActive(form));
    }
    void TearDown() override {
        masters::setRecorderKindHandler({});
        MastersTest::TearDown();
    }
    ui::DBEdit* edit(int n) { return child<ui::DBEdit>(form, QStringLiteral("DBEdit%1").arg(n)); }

    ui::Form* mainWindow = nullptr;
    TfrmSys_mas* form = nullptr;
    std::vector<std::string> kinds;
};

TEST_F(SysMas, ShowsTheSettingsRowWithItsFormats) {
    EXPECT_EQ(form->windowTitle(), QStringLiteral("基本設定"));
    EXPECT_EQ(visibleButtons(form->DBNavigator1), (std::set{NavButton::Post, NavButton::Cancel}));
    EXPECT_EQ(form->DBNavigator1->captions(), masters::standardNavigatorCaptions());
    EXPECT_EQ(edit(1)->text(), QStringLiteral("1"));
    EXPECT_EQ(edit(4)->text(), QStringLiteral("40"));
    EXPECT_EQ(edit(6)->text(), QStringLiteral("49.25"));
    EXPECT_EQ(edit(8)->text(), QStringLiteral("5.0"));
    EXPECT_EQ(edit(12)->text(), QStringLiteral("8.1"));
}

struct RecCase {
    const char* recYN;
};

void PrintTo(const RecCase& c, std::ostream* os) { *os << "REC_YN \"" << c.recYN << '"'; }

class SysMasRecorder : public SysMas, public ::testing::WithParamInterface<RecCase> {};

TEST_P(SysMasRecorder, ClosingHandsEveryRecorderKindToTheMainWindow) {
    ASSERT_TRUE(typeAndLeave(form, edit(3), GetParam().recYN, edit(4)));
    form->DBNavigator1->btnClick(NavButton::Post);
    form->close();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(kinds, std::vector<std::string>{GetParam().recYN});
    EXPECT_FALSE(dm().sys_mas.active());
}
INSTANTIATE_TEST_SUITE_P(Kinds, SysMasRecorder,
                         ::testing::Values(RecCase{"1"}, RecCase{"0"}, RecCase{"2"}, RecCase{"3"}),
                         [](const auto& info) { return std::string("REC_YN_") + info.param.recYN; });

TEST_F(SysMas, AValueTheProgramCannotUseIsRefusedNamingItsField) {
    // A recorder kind the program does not know, on leaving the field.
    EXPECT_FALSE(typeAndLeave(form, edit(3), "9", edit(4)));
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.last().kind, ui::DialogKind::Message);
    EXPECT_EQ(dialogs.last().text, QString::fromUtf8(masters::kRecorderKindMessage));
    EXPECT_EQ(form->focusWidget(), edit(3));
    ASSERT_TRUE(typeAndLeave(form, edit(3), "2", edit(4)));

    // A negative rate of either side, named with its side.
    EXPECT_FALSE(typeAndLeave(form, edit(13), "-1.5", edit(14)));
    EXPECT_EQ(dialogs.last().text, QStringLiteral("雇用料率（会社負担分）は0以上の数字で入力して下さい。"));
    ASSERT_TRUE(typeAndLeave(form, edit(13), "0", edit(14)));
    EXPECT_FALSE(typeAndLeave(form, edit(6), "-3", edit(7)));
    EXPECT_EQ(dialogs.last().text, QStringLiteral("保険料率（個人負担分）は0以上の数字で入力して下さい。"));

    // A post with the bad value still in its field is refused too; nothing is stored.
    EXPECT_FALSE(ui::guard([&] { form->DBNavigator1->btnClick(NavButton::Post); }));
    EXPECT_EQ(dialogs.last().text, QStringLiteral("保険料率（個人負担分）は0以上の数字で入力して下さい。"));
    EXPECT_EQ(sql("SELECT REC_YN FROM sys_mas").text(), "0");
    ASSERT_TRUE(typeAndLeave(form, edit(6), "41", edit(7)));
    form->DBNavigator1->btnClick(NavButton::Post);
    EXPECT_EQ(sql("SELECT REC_YN FROM sys_mas").text(), "2");
    EXPECT_EQ(sql("SELECT KOYO_P2 FROM sys_mas").real(), 0.0);
}

TEST_F(SysMas, AnUnpostedKindCountsOnlyWhenTheUserSavesIt) {
    ASSERT_TRUE(typeAndLeave(form, edit(3), "1", edit(4)));
    dialogs.answer(ui::Answer::No);
    form->close();
    EXPECT_EQ(kinds, std::vector<std::string>{"0"});
    EXPECT_EQ(sql("SELECT REC_YN FROM sys_mas").text(), "0");

    form->show();
    ASSERT_TRUE(typeAndLeave(form, edit(3), "1", edit(4)));
    dialogs.answer(ui::Answer::Yes);
    form->close();
    EXPECT_EQ(kinds, (std::vector<std::string>{"0", "1"}));
    EXPECT_EQ(sql("SELECT REC_YN FROM sys_mas").text(), "1");
}

TEST_F(SysMas, AWrongRateIsRefusedByTheDataLayer) {
    EXPECT_FALSE(typeAndLeave(form, edit(6), "abc", edit(7)));
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.last().kind, ui::DialogKind::Error);
    ASSERT_TRUE(typeAndLeave(form, edit(6), "41", edit(7)));
    form->DBNavigator1->btnClick(NavButton::Post);
    EXPECT_EQ(edit(6)->text(), QStringLiteral("41.0"));
    EXPECT_DOUBLE_EQ(sql("SELECT HOKEN_P FROM sys_mas").real(), 41.0);
}

// ---------------------------------------------------------------- recorder-program employees

TEST_F(Masters, TheRecorderEmployeeWindowEditsTable個人) {
    conn().execute(
        "INSERT INTO 個人 (NO, 社員番号, 氏名, カード番号, 区分, 対象) "
        "VALUES ('1', '000001', '山田', '1001', '01', '1')");
    auto* form = keep(ui::createForm<TfrmEmp_mas>());
    ASSERT_TRUE(showActive(form));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("社員マスタ"));
    EXPECT_TRUE(dm().emp_mas.active());
    EXPECT_EQ(form->DBGrid1->cellText(0, 2), QStringLiteral("山田"));
    EXPECT_EQ(visibleButtons(form->DBNavigator1),
              (std::set{NavButton::Insert, NavButton::Delete, NavButton::Post, NavButton::Cancel}));
    EXPECT_EQ(child<ui::DBEdit>(form, "DBEdit3")->property("imeMode").toString(), QStringLiteral("imHira"));

    form->DBNavigator1->btnClick(NavButton::Insert);
    const char* values[] = {"2", "000002", "佐藤", "1002", "01", "1"};
    for (int i = 0; i < 6; ++i) {
        auto* e = child<ui::DBEdit>(form, QStringLiteral("DBEdit%1").arg(i + 1));
        ASSERT_TRUE(typeAndLeave(form, e, QString::fromUtf8(values[i]),
                                 child<QWidget>(form, QStringLiteral("DBEdit%1").arg(i == 5 ? 1 : i + 2))));
    }
    form->DBNavigator1->btnClick(NavButton::Post);
    EXPECT_EQ(sql("SELECT 氏名 || カード番号 FROM 個人 WHERE NO = '2'").text(), "佐藤1002");
    form->Button1->click();
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(dm().emp_mas.active());
}

// ---------------------------------------------------------------- the hub's forms

TEST_F(Masters, EveryMasterWindowIsOfferedUnderItsFormName) {
    const struct {
        const char* form;
        const char* caption;
        db::Dataset* dataset;
    } expected[] = {
        {"frmEmp_Tanka", "個人単価表", &dm().emp_tanka},      {"frmEmp_mas", "社員マスタ", &dm().emp_mas},
        {"frmJob_kbn", "区分マスタ", &dm().Job_kbn},          {"frmCompany", "frmCompany", &dm().Company},
        {"frmTitle_mas", "タイトルマスタ", &dm().Qtitle_mas}, {"frmSys_mas", "基本設定", &dm().sys_mas},
    };
    const std::vector<masters::FormFactory> forms = masters::masterForms();
    ASSERT_EQ(forms.size(), std::size(expected));
    auto* owner = keep(new QWidget);
    for (size_t i = 0; i < forms.size(); ++i) {
        SCOPED_TRACE(expected[i].form);
        EXPECT_EQ(forms[i].formName, QString::fromLatin1(expected[i].form));
        auto* form = qobject_cast<ui::Form*>(forms[i].create(owner));
        ASSERT_NE(form, nullptr);
        EXPECT_EQ(form->objectName(), forms[i].formName);
        EXPECT_EQ(form->parent(), owner);
        EXPECT_TRUE(form->isWindow());
        EXPECT_TRUE(form->created());
        EXPECT_EQ(form->windowTitle(), QString::fromUtf8(expected[i].caption));
        form->showModeless();
        EXPECT_TRUE(expected[i].dataset->active());
        form->close();
        EXPECT_FALSE(expected[i].dataset->active());
        EXPECT_TRUE(ui::unnamedInputs(form).isEmpty()) << ui::unnamedInputs(form).join(",").toStdString();
        form->free();
    }
    EXPECT_TRUE(dialogs.shown().empty());
}

}  // namespace
