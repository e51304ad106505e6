// The employee master driven headless: defaults, key refusals, captions,
// navigator and pages.
#include "fixture.h"

#include <QLabel>
#include <QTabWidget>

#include "masters/Emp_Tanka.h"
#include "masters/masterform.h"
#include "ui/action.h"
#include "ui/dbgrid.h"
#include "ui/dbnavigator.h"

namespace {

using ui::NavButton;

class EmpTanka : public mtest::MastersTest {
protected:
    void SetUp() override {
        MastersTest::SetUp();
        conn().execute(
            "INSERT INTO emp_tanka (E_NO, E_TANCOD, E_NAME, E_CARDNO, E_DROPKBN, E_BASEPAY) "
            "VALUES (1, '000001', '山田 太郎', '000001', '1', 1200)");
        conn().execute(
            "INSERT INTO emp_tanka (E_NO, E_TANCOD, E_NAME, E_CARDNO, E_DROPKBN) "
            "VALUES (2, '000002', '佐藤 花子', 'C2', '1')");
        form = keep(ui::createForm<TfrmEmp_Tanka>());
        ASSERT_TRUE(showActive(form));
        ds = &dm().emp_tanka;
    }
    ui::DBEdit* edit(int n) { return child<ui::DBEdit>(form, QStringLiteral("DBEdit%1").arg(n)); }
    std::string cell(const char* field) { return (*ds)[field].asString(); }
    // A new row through the navigator, its number typed into "NO".
    void insertWithNumber(const QString& number) {
        form->DBNavigator1->btnClick(NavButton::Insert);
        ASSERT_EQ(ds->state(), db::DatasetState::Insert);
        ASSERT_EQ(QApplication::focusWidget(), edit(1));
        type(edit(1), number);
    }
    bool post() {
        return ui::guard([&] { form->DBNavigator1->btnClick(NavButton::Post); });
    }
    long long rows(long long eNo) { return sql("SELECT COUNT(*) FROM emp_tanka WHERE E_NO = ?", {eNo}).integer(); }

    TfrmEmp_Tanka* form = nullptr;
    db::Dataset* ds = nullptr;
};

TEST_F(EmpTanka, OpensItsTableWithTheFocusInNoAndClosesItOnClose) {
    EXPECT_EQ(form->windowTitle(), QStringLiteral("個人単価表"));
    EXPECT_TRUE(ds->active());
    EXPECT_EQ(QApplication::focusWidget(), edit(1));
    EXPECT_EQ(form->DBGrid1->rowCountShown(), 2);
    EXPECT_EQ(form->DBGrid1->cellText(1, 2), QStringLiteral("佐藤 花子"));
    form->close();
    EXPECT_FALSE(ds->active());
    EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(EmpTanka, EnteringTheCodeFieldOfANewRowGivesTheDefaults) {
    insertWithNumber("42");
    QTest::keyClick(edit(1), Qt::Key_Return);  // Enter moves on to "社員番号"
    ASSERT_EQ(QApplication::focusWidget(), edit(2));
    EXPECT_EQ(cell("E_TANCOD"), "000042");
    EXPECT_EQ(edit(2)->text(), QStringLiteral("000042"));
    for (const char* f : {"E_BASE_YN", "E_HAYZ_YN", "E_FUTZ_YN", "E_SINZ_YN"}) EXPECT_EQ(cell(f), "1") << f;
    for (const char* f : {"E_KYU_YN", "E_TIKO_YN", "E_SOUT_YN"}) EXPECT_EQ(cell(f), "0") << f;
    for (const char* f : {"E_BASEPAY", "E_HAYZPAY", "E_FUTZPAY", "E_SINZPAY", "E_KYU_PAY", "E_TIKOKU", "E_SOUTAI"}) {
        EXPECT_FALSE((*ds)[f].isNull()) << f;
        EXPECT_EQ((*ds)[f].asInteger(), 0) << f;
    }
    EXPECT_TRUE(child<ui::DBCheckBox>(form, "DBCheckBox3")->isChecked());
    EXPECT_FALSE(child<ui::DBCheckBox>(form, "DBCheckBox7")->isChecked());
}

TEST_F(EmpTanka, DefaultsRunAgainEachTimeWhileTheCodeIsNull) {
    conn().execute("INSERT INTO emp_tanka (E_NO, E_NAME, E_BASEPAY, E_KYU_YN) VALUES (5, '鈴木', 1500, '1')");
    ds->refresh();
    ASSERT_TRUE(ds->locate("E_NO", 5));
    enter(form, edit(2));
    EXPECT_EQ(cell("E_TANCOD"), "000005");
    EXPECT_EQ((*ds)["E_BASEPAY"].asInteger(), 0);
    EXPECT_EQ(cell("E_KYU_YN"), "0");

    // Cancelled, the code is NULL again: a rate typed meanwhile is reset too.
    ds->cancel();
    EXPECT_TRUE((*ds)["E_TANCOD"].isNull());
    ASSERT_TRUE(typeAndLeave(form, edit(8), "1300", edit(1)));
    EXPECT_EQ((*ds)["E_BASEPAY"].asInteger(), 1300);
    enter(form, edit(2));
    EXPECT_EQ((*ds)["E_BASEPAY"].asInteger(), 0);
    EXPECT_EQ(cell("E_TANCOD"), "000005");
}

TEST_F(EmpTanka, ACodeThatIsAlreadyThereIsKeptAndTheDefaultsDoNotRun) {
    insertWithNumber("");
    enter(form, edit(2));  // the number is still empty: counts as 0
    EXPECT_EQ(cell("E_TANCOD"), "000000");
    type(edit(2), "000123");
    ASSERT_TRUE(form->moveFocusTo(edit(1)));
    type(edit(1), "123");
    ASSERT_TRUE(typeAndLeave(form, edit(8), "980", edit(2)));  // entering the code field again
    EXPECT_EQ(cell("E_TANCOD"), "000123");
    EXPECT_EQ((*ds)["E_BASEPAY"].asInteger(), 980);
    EXPECT_TRUE(post());
    EXPECT_EQ(sql("SELECT E_TANCOD FROM emp_tanka WHERE E_NO = 123").text(), "000123");
}

struct CardCase {
    const char* typed;
    const char* stored;
};

void PrintTo(const CardCase& c, std::ostream* os) { *os << '"' << c.typed << '"'; }

class EmpTankaCard : public EmpTanka, public ::testing::WithParamInterface<CardCase> {};

TEST_P(EmpTankaCard, LeavingAnEmptyCardNumberCopiesTheCode) {
    insertWithNumber("42");
    enter(form, edit(2));
    ASSERT_TRUE(typeAndLeave(form, edit(4), QString::fromUtf8(GetParam().typed), edit(5)));
    EXPECT_EQ(cell("E_CARDNO"), GetParam().stored);
}
INSTANTIATE_TEST_SUITE_P(Cases, EmpTankaCard,
                         ::testing::Values(CardCase{"", "000042"}, CardCase{"  ", "  "}, CardCase{"C42", "C42"}));

TEST_F(EmpTanka, ARowWhoseCodeIsNotItsNumberIsRefusedAndStaysInEdit) {
    insertWithNumber("42");
    enter(form, edit(2));
    type(edit(2), "000043");
    ASSERT_TRUE(form->moveFocusTo(edit(3)));
    type(edit(3), "高橋");
    EXPECT_FALSE(post());
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.last().kind, ui::DialogKind::Message);
    EXPECT_TRUE(dialogs.last().text.contains(QStringLiteral("社員番号")));
    EXPECT_EQ(ds->state(), db::DatasetState::Insert);
    EXPECT_EQ(cell("E_NAME"), "高橋");
    EXPECT_EQ(rows(42), 0);

    // Leading zeros are allowed: "42" and "000042" both name employee 42.
    ASSERT_TRUE(typeAndLeave(form, edit(2), "42", edit(3)));
    EXPECT_TRUE(post());
    EXPECT_EQ(rows(42), 1);
    EXPECT_EQ(ds->state(), db::DatasetState::Browse);
}

TEST_F(EmpTanka, NumbersOutsideSixDigitsAndTakenNumbersAreRefused) {
    struct Case {
        const char* number;
        const char* code;
    } cases[] = {{"1000000", "1000000"}, {"-1", "-1"}, {"2", "000002"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.number);
        dialogs.clear();
        insertWithNumber(c.number);
        ASSERT_TRUE(typeAndLeave(form, edit(2), c.code, edit(3)));
        EXPECT_FALSE(post());
        EXPECT_EQ(dialogs.shown().size(), 1u);
        EXPECT_EQ(ds->state(), db::DatasetState::Insert);
        ds->cancel();
    }
    EXPECT_EQ(sql("SELECT COUNT(*) FROM emp_tanka").integer(), 2);
    EXPECT_EQ(rows(2), 1);
}

TEST_F(EmpTanka, AnExistingEmployeeIsStoredAgainUnderItsOwnNumber) {
    ASSERT_TRUE(typeAndLeave(form, edit(3), "山田 一郎", edit(4)));
    EXPECT_TRUE(post());
    EXPECT_TRUE(dialogs.shown().empty());
    EXPECT_EQ(sql("SELECT E_NAME FROM emp_tanka WHERE E_NO = 1").text(), "山田 一郎");
}

TEST_F(EmpTanka, APostedEmployeeTakesItsPlaceInNumberOrder) {
    auto numbers = [&] {
        QStringList shown;
        for (int r = 0; r < form->DBGrid1->rowCountShown(); ++r) shown << form->DBGrid1->cellText(r, 0);
        return shown;
    };
    // Inserted before the current first row, as the navigator inserts.
    ds->first();
    insertWithNumber("3");
    QTest::keyClick(edit(1), Qt::Key_Return);  // the code defaults
    ASSERT_TRUE(typeAndLeave(form, edit(3), "鈴木 次郎", edit(4)));
    EXPECT_TRUE(post());
    EXPECT_TRUE(dialogs.shown().empty()) << dialogs.texts().join("/").toStdString();
    EXPECT_EQ(numbers(), (QStringList{"1", "2", "3"}));
    EXPECT_EQ(cell("E_NO"), "3");  // the new one is current
    EXPECT_EQ(form->DBGrid1->currentIndex().row(), 2);

    // A number between the others goes between them.
    ds->last();
    insertWithNumber("0");
    QTest::keyClick(edit(1), Qt::Key_Return);
    EXPECT_TRUE(post());
    EXPECT_EQ(numbers(), (QStringList{"0", "1", "2", "3"}));
    EXPECT_EQ(cell("E_NO"), "0");
}

TEST_F(EmpTanka, MovingToAnotherRowDoesNotStoreARefusedRow) {
    ASSERT_TRUE(typeAndLeave(form, edit(2), "000009", edit(3)));
    EXPECT_FALSE(ui::guard([&] { ds->next(); }));
    EXPECT_EQ((*ds)["E_NO"].asInteger(), 1);
    EXPECT_EQ(ds->state(), db::DatasetState::Edit);
    EXPECT_EQ(sql("SELECT E_TANCOD FROM emp_tanka WHERE E_NO = 1").text(), "000001");
}

TEST_F(EmpTanka, CheckBoxesAndThePayKindStoreTheirCodes) {
    // E_REST_NN is an integer column: ticked is 1, not "1".
    const struct {
        const char* box;
        const char* column;
    } boxes[] = {{"DBCheckBox1", "E_REST_YN"},
                 {"DBCheckBox2", "E_REST_NN"},
                 {"DBCheckBox7", "E_KYU_YN"},
                 {"DBCheckBox10", "E_KOYOU_YN"}};
    for (const auto& b : boxes) {
        SCOPED_TRACE(b.box);
        auto* box = child<ui::DBCheckBox>(form, b.box);
        ASSERT_NE(box, nullptr);
        ASSERT_FALSE(box->isChecked());
        box->click();
        EXPECT_EQ(cell(b.column), "1");
    }
    auto* pay = child<ui::DBRadioGroup>(form, "DBRadioGroup1");
    pay->button(2)->click();  // 時給
    EXPECT_TRUE(post());
    EXPECT_EQ(sql("SELECT typeof(E_REST_NN) || E_REST_NN FROM emp_tanka WHERE E_NO = 1").text(), "integer1");
    EXPECT_EQ(sql("SELECT E_REST_YN || E_KYU_YN || E_KOYOU_YN || E_PAYKBN FROM emp_tanka WHERE E_NO = 1").text(),
              "1112");

    child<ui::DBCheckBox>(form, "DBCheckBox2")->click();
    pay->button(0)->click();  // 月給
    EXPECT_TRUE(post());
    EXPECT_EQ(sql("SELECT E_REST_NN || E_PAYKBN FROM emp_tanka WHERE E_NO = 1").text(), "00");
}

TEST_F(EmpTanka, TheAllowancePageShowsTheCaptionsAndANullCaptionGivesEmptyLabels) {
    conn().execute(
        "UPDATE title_mas SET GKING1 = '通勤手当', GKING3 = NULL, GKING9 = '課税交通費', "
        "SKING2 = '社宅' WHERE CODE = 1");
    form->PageControl1->setCurrentWidget(form->TabSheet2);
    auto text = [&](const char* name) { return child<QLabel>(form, name)->text(); };
    EXPECT_EQ(text("Label_E_GKING_S1"), QStringLiteral("通勤手当"));
    EXPECT_EQ(text("Label_E_GKING_K1"), QStringLiteral("通勤手当"));
    EXPECT_EQ(text("Label_E_GKING_S3"), QString());
    EXPECT_EQ(text("Label_E_GKING_K3"), QString());
    EXPECT_EQ(text("Label_E_GKING_S2"), QStringLiteral("手当2"));
    EXPECT_EQ(text("Label_E_GKING_K9"), QStringLiteral("課税交通費"));
    EXPECT_EQ(text("Label_E_SKING_S2"), QStringLiteral("社宅"));
    EXPECT_EQ(text("Label_E_SKING_K2"), QStringLiteral("社宅"));
    EXPECT_FALSE(dm().Qtitle_mas.active());
    EXPECT_TRUE(dm().flg_teate.active());
    auto* kind = child<ui::DBLookupComboBox>(form, "DBLookupComboBox1");
    EXPECT_EQ(kind->count(), 3);

    form->PageControl1->setCurrentWidget(form->TabSheet3);
    EXPECT_FALSE(dm().flg_teate.active());
}

TEST_F(EmpTanka, AnAllowanceKindChosenFromTheListIsStored) {
    form->PageControl1->setCurrentWidget(form->TabSheet2);
    auto* kind = child<ui::DBLookupComboBox>(form, "DBLookupComboBox2");
    const int daily = kind->findText(QStringLiteral("日額"));
    ASSERT_GE(daily, 0);
    kind->setCurrentIndex(daily);
    emit kind->activated(daily);
    EXPECT_EQ(cell("E_GKING_S2"), "2");
    EXPECT_TRUE(post());
    EXPECT_EQ(sql("SELECT E_GKING_S2 FROM emp_tanka WHERE E_NO = 1").text(), "2");
}

TEST_F(EmpTanka, NavigatorOffersInsertDeletePostCancelWithTheirCaptions) {
    ui::DBNavigator* nav = form->DBNavigator1;
    EXPECT_EQ(nav->captions(), masters::standardNavigatorCaptions());
    const NavButton shown[] = {NavButton::Insert, NavButton::Delete, NavButton::Post, NavButton::Cancel};
    for (int i = 0; i < ui::navButtonCount; ++i) {
        const auto b = static_cast<NavButton>(i);
        const bool visible = std::find(std::begin(shown), std::end(shown), b) != std::end(shown);
        EXPECT_EQ(!nav->button(b)->isHidden(), visible) << i;
        EXPECT_EQ(nav->button(b)->toolTip(), nav->button(b)->text());
        EXPECT_TRUE(nav->button(b)->icon().isNull());
    }
}

TEST_F(EmpTanka, ANavigatorButtonBringsBackTheFirstPageThenTheFocusToNo) {
    form->PageControl1->setCurrentWidget(form->TabSheet3);
    form->DBNavigator1->btnClick(NavButton::Cancel);
    EXPECT_EQ(form->PageControl1->currentWidget(), form->TabSheet1);
    enter(form, edit(3));
    form->DBNavigator1->btnClick(NavButton::Cancel);
    EXPECT_EQ(QApplication::focusWidget(), edit(1));
}

TEST_F(EmpTanka, ClosingWithAnUnpostedChangeAsksAndStoresOnlyASoundRow) {
    ASSERT_TRUE(typeAndLeave(form, edit(3), "変更", edit(4)));
    dialogs.answer(ui::Answer::Cancel);
    form->close();
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(dialogs.last().kind, ui::DialogKind::Question);

    dialogs.answer(ui::Answer::Yes);
    form->close();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(sql("SELECT E_NAME FROM emp_tanka WHERE E_NO = 1").text(), "変更");
}

TEST_F(EmpTanka, ClosingWithARefusedRowKeepsTheWindowOpen) {
    ASSERT_TRUE(typeAndLeave(form, edit(2), "000077", edit(3)));
    dialogs.answer(ui::Answer::Yes);
    form->close();
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(ds->state(), db::DatasetState::Edit);
    EXPECT_EQ(sql("SELECT E_TANCOD FROM emp_tanka WHERE E_NO = 1").text(), "000001");

    dialogs.answer(ui::Answer::No);
    form->close();
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(ds->active());
}

TEST_F(EmpTanka, TheKeyCheckIsOnlyInForceWhileTheWindowIsOpen) {
    form->close();
    ds->open();
    ds->edit();
    (*ds)["E_TANCOD"].setAsString("XYZ");
    EXPECT_NO_THROW(ds->post());
    ds->close();
}

TEST_F(EmpTanka, FieldsCarryTheirInputModesAndReadOnlyNumbers) {
    EXPECT_EQ(edit(1)->property("imeMode").toString(), QStringLiteral("imClose"));
    EXPECT_EQ(edit(3)->property("imeMode").toString(), QStringLiteral("imHira"));
    EXPECT_EQ(edit(40)->property("imeMode").toString(), QStringLiteral("imSKata"));
    auto* no2 = child<QLineEdit>(form, "DBEdit17");
    EXPECT_TRUE(no2->isReadOnly());
    EXPECT_EQ(no2->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(no2->text(), QStringLiteral("1"));
    ds->next();
    EXPECT_EQ(no2->text(), QStringLiteral("2"));
    EXPECT_TRUE(ui::unnamedInputs(form).isEmpty()) << ui::unnamedInputs(form).join(",").toStdString();
}

}  // namespace
