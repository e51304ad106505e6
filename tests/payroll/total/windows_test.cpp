// The pay windows headless: the monthly record, the bonus record, the
// calculation dialogs and the deduction slip, driven through their object
// names on a real database with a stand-in main window.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>

#include "fixture.h"
#include "masters/Emp_Seek.h"
#include "masters/registration.h"
#include "rtl/clock.h"
#include "rtl/datetime.h"
#include "rtl/textfile.h"
#include "total/Mainus.h"
#include "total/Total.h"
#include "total/TotalB.h"
#include "total/calcdialogs.h"
#include "ui/action.h"
#include "ui/dbcontrols.h"
#include "ui/dbnavigator.h"
#include "ui/dialogs.h"
#include "ui/guard.h"

namespace {

class PayWindows : public payrecord::testing::PayFolder {
protected:
    void SetUp() override {
        PayFolder::SetUp();
        rtl::setClockForTesting(rtl::encodeDateTime(2026, 5, 10, 9, 0, 0, 0));

        main = std::make_unique<QWidget>();
        main->setObjectName(QStringLiteral("frmMain"));
        auto line = [&](const char* name, const char* text) {
            auto* e = new QLineEdit(QString::fromUtf8(text), main.get());
            e->setObjectName(QString::fromLatin1(name));
            return e;
        };
        line("EditYY", "2026");
        line("EditMM", "04");
        EditD2 = line("EditD2", "26/04/12");
        line("EditYY2", "2026");
        CheckBox2 = new QCheckBox(main.get());
        CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
        auto* bonus = new QComboBox(main.get());
        bonus->setObjectName(QStringLiteral("ComboBox1"));
        bonus->addItems({"1", "2", "3"});
        dlgTime.reset(ui::createForm<TDlgCalcTime>());
        dlgCount.reset(ui::createForm<TDlgCalcCount>());
    }
    void TearDown() override {
        dlgTime.reset();
        dlgCount.reset();
        forms.clear();
        main.reset();
        rtl::resetClock();
        PayFolder::TearDown();
    }

    void employee(int no, const std::map<std::string, db::Value>& extra = {}) { PayFolder::employee(no, "01", extra); }
    template <class Form>
    Form* open() {
        Form* f = ui::createForm<Form>();
        forms.emplace_back(f);
        f->show();
        return f;
    }
    void click(QWidget* w) {
        ui::guard([&] { static_cast<ui::Button*>(w)->click(); });
    }

    std::unique_ptr<QWidget> main;
    QLineEdit* EditD2 = nullptr;
    QCheckBox* CheckBox2 = nullptr;
    std::unique_ptr<TDlgCalcTime> dlgTime;
    std::unique_ptr<TDlgCalcCount> dlgCount;
    std::vector<std::unique_ptr<QWidget>> forms;
    ui::ScriptedDialogs dialogs;
};

TEST_F(PayWindows, MonthlyWindowListsTheMonthAndCalculatesAll) {
    employee(1, {{"E_PAYKBN", "1"}, {"E_BASEPAY", 8000}, {"E_KOTUHI", 500}, {"E_GKING_S1", "1"}, {"E_GKING_K1", 1000}});
    employee(2, {{"E_PAYKBN", "0"}, {"E_BASEPAY", 200000}});
    payRow(1, "26/04", {{"S_DAYS", 20}, {"S_BASKING", 160000}});
    payRow(2, "26/04", {{"S_DAYS", 20}, {"S_BASKING", 200000}});
    payRow(2, "26/03", {{"S_BASKING", 1}});
    auto* w = open<TfrmTotal>();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("給与データ"));
    EXPECT_EQ(w->recordKey(), "26/04");
    EXPECT_EQ(dm->sum_tran.recordCount(), 2);
    for (const char* name : {"btnKingCalc", "btnNotZei", "btnAllSet", "btnNewSet", "Button1", "btnSeek", "btnClose",
                             "DBNavigator1", "DBNavigator2", "DBGrid1", "DBLookupComboBox1", "DBEdit57", "DBEdit60"})
        EXPECT_NE(w->findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
    EXPECT_EQ(w->btnAllSet->text(), QStringLiteral("一括計算"));

    click(w->btnAllSet);
    EXPECT_TRUE(dialogs.shown().empty()) << dialogs.texts().join("|").toStdString();
    EXPECT_EQ(dm->sum_tran.recNo(), 1);
    EXPECT_EQ(cell(1, "26/04", "S_KOTUHI"), 10000);
    EXPECT_EQ(cell(1, "26/04", "S_TOTALT"),
              cell(1, "26/04", "S_TOTALS") + 10000 - cell(1, "26/04", "S_SHAHO") - cell(1, "26/04", "S_ZEI_G"));
    EXPECT_GT(cell(2, "26/04", "S_TOTALT"), 0);
    EXPECT_EQ(cell(2, "26/03", "S_TOTALT"), -1);

    // Closing marks every record of every month.
    w->close();
    EXPECT_EQ(c().scalar("SELECT COUNT(*) FROM sum_tran WHERE S_KNTKBN = 1").integer(), 3);
}

TEST_F(PayWindows, NewSetAsksBeforeReplacingAndWeeklyRowsKeepTheirKey) {
    employee(1, {});
    employee(2, {});
    CheckBox2->setChecked(true);
    payRow(1, "26/04/12", {{"S_BASKING", 5}});
    auto* w = open<TfrmTotal>();
    EXPECT_EQ(w->recordKey(), "26/04/12");
    dialogs.answer(ui::Answer::No);
    click(w->btnNewSet);
    EXPECT_EQ(dialogs.last().text, QStringLiteral("既存のデータがあります。上書きしますか？"));
    EXPECT_EQ(dialogs.last().caption, QStringLiteral("確認"));
    EXPECT_EQ(cell(1, "26/04/12", "S_BASKING"), 5);
    dialogs.answer(ui::Answer::Yes);
    click(w->btnNewSet);
    EXPECT_EQ(cell(1, "26/04/12", "S_BASKING"), -1);
    EXPECT_EQ(dm->sum_tran.recordCount(), 2);
    EXPECT_EQ(c().scalar("SELECT COUNT(*) FROM sum_tran WHERE S_DATE = '26/04'").integer(), 0);
}

TEST_F(PayWindows, TimeDialogWritesIntoTheRowItWasOpenedFor) {
    employee(1, {{"E_FUTZPAY", 1250}});
    employee(2, {{"E_FUTZPAY", 2000}});
    payRow(1, "26/04", {{"S_BASKING", 1}});
    payRow(2, "26/04", {{"S_BASKING", 1}});
    auto* w = open<TfrmTotal>();
    ASSERT_EQ(dm->sum_tran.recNo(), 1);
    w->Act_emp_tankaExecute();
    w->fieldDblClick(w->edit(QStringLiteral("DBEdit11")));
    ASSERT_TRUE(dlgTime->isVisible());
    EXPECT_EQ(dlgTime->Edit4->text(), QStringLiteral("1250"));
    dm->sum_tran.next();  // the window moves on before 確定
    dlgTime->Edit1->setText("1");
    dlgTime->Edit2->setText("30");
    click(dlgTime->btnOK);
    dm->sum_tran.checkBrowseMode();
    EXPECT_EQ(cell(1, "26/04", "S_FUTZAN"), 90);
    EXPECT_EQ(cell(1, "26/04", "S_FUTKING"), 1875);
    EXPECT_EQ(cell(2, "26/04", "S_FUTZAN"), -1);
    EXPECT_EQ(dlgTime->Edit1->text(), QStringLiteral("0"));
}

TEST_F(PayWindows, CountDialogOnlyForKindZeroAndNotForAllowanceNine) {
    employee(1, {{"E_SKING_S3", "0"},
                 {"E_SKING_K3", 300},
                 {"E_GKING_S1", "1"},
                 {"E_GKING_K1", 500},
                 {"E_GKING_S8", "0"},
                 {"E_GKING_K8", 700}});
    payRow(1, "26/04", {{"S_BASKING", 1}});
    auto* w = open<TfrmTotal>();
    w->Act_emp_tankaExecute();
    w->fieldDblClick(w->edit(QStringLiteral("DBEdit21")));  // allowance 1 of kind "1"
    EXPECT_FALSE(dlgCount->isVisible());
    w->fieldDblClick(w->edit(QStringLiteral("DBEdit57")));  // allowance 9
    EXPECT_FALSE(dlgCount->isVisible());
    w->fieldDblClick(w->edit(QStringLiteral("DBEdit27")));  // deduction 3
    ASSERT_TRUE(dlgCount->isVisible());
    dlgCount->Edit1->setText("2");
    click(dlgCount->btnOK);
    dm->sum_tran.checkBrowseMode();
    EXPECT_EQ(cell(1, "26/04", "S_SKING3"), 600);
    EXPECT_EQ(cell(1, "26/04", "S_GKING8"), -1);
}

TEST_F(PayWindows, UnknownCategoryShowsTheMessageAndLeavesTheRow) {
    employee(1, {{"E_PAYKBN", "0"}, {"E_BASEPAY", 100}});
    c().execute("UPDATE emp_tanka SET E_JOBKBN = '77'");
    payRow(1, "26/04", {{"S_SEQNO", 77}});
    auto* w = open<TfrmTotal>();
    ui::guard([&] { w->Act_KingSetExecute(); });
    EXPECT_EQ(dialogs.last().text, QStringLiteral("区分データの値が不正です。\r確認して下さい。"));
    EXPECT_EQ(dm->sum_tran.state(), db::DatasetState::Browse);
    EXPECT_TRUE(dm->sum_tran.fieldByName("S_BASKING").isNull());
}

// A conversion error while the amounts are set must not leave the window's
// field handlers switched off for the rest of its life.
TEST_F(PayWindows, FieldHandlersWorkAgainAfterABadRoundingUnit) {
    c().execute("UPDATE 区分 SET 就業丸め単位 = 'ab'");
    employee(1, {{"E_PAYKBN", "0"}, {"E_BASEPAY", 100}});
    payRow(1, "26/04", {{"S_BASKING", 1}, {"S_DAY1", 22}, {"S_DAYS", 18}, {"S_DAY2", 2}});
    auto* w = open<TfrmTotal>();
    EXPECT_FALSE(ui::guard([&] { w->Act_KingSetExecute(); }));
    ASSERT_FALSE(dialogs.shown().empty());
    EXPECT_TRUE(dialogs.last().text.contains(QStringLiteral("ab"))) << dialogs.last().text.toStdString();
    w->Act_DaysExecute();
    EXPECT_EQ(dm->sum_tran.fieldByName("S_DAY4").asInteger(), 2);
}

TEST_F(PayWindows, DayCountsAndDefaultUnitsOfTheCurrentRow) {
    c().execute("UPDATE 区分 SET 就業丸め単位 = '15分'");
    employee(1);
    payRow(1, "26/04", {{"S_BASKING", 1}, {"S_DAY1", 22}, {"S_DAYS", 18}, {"S_DAY2", 2}, {"S_KINMU", 450}});
    auto* w = open<TfrmTotal>();
    w->Act_DaysExecute();
    w->DBEdit7Enter();
    dm->sum_tran.post();
    EXPECT_EQ(cell(1, "26/04", "S_DAY4"), 2);
    EXPECT_EQ(cell(1, "26/04", "S_TANJI"), 30);
    EXPECT_EQ(w->Edit1->text(), QStringLiteral("7:30"));
    // A set absence count stays.
    c().execute("UPDATE sum_tran SET S_DAY4 = 3");
    dm->sum_tran.refresh();
    w->Act_DaysExecute();
    EXPECT_EQ(dm->sum_tran.state(), db::DatasetState::Browse);
}

TEST_F(PayWindows, BonusNewSetKeepsOrReplacesTheKeysRows) {
    payRow(1, "26-1", {{"S_BASKING", 5}});
    payRow(1, "26/04", {{"S_BASKING", 6}});
    auto* w = open<TfrmTotalB>();
    dialogs.answer(ui::Answer::No);
    click(w->btnNewSet);
    EXPECT_EQ(cell(1, "26-1", "S_BASKING"), 5);
    // Yes with no employee in service: no rows are left under the key.
    dialogs.answer(ui::Answer::Yes);
    click(w->btnNewSet);
    EXPECT_EQ(c().scalar("SELECT COUNT(*) FROM sum_tran WHERE S_DATE = '26-1'").integer(), 0);
    EXPECT_EQ(cell(1, "26/04", "S_BASKING"), 6);
}

TEST_F(PayWindows, PickerHandsTheEmployeeToTheBonusRecord) {
    employee(4);
    payRow(2, "26-1", {});
    auto* w = open<TfrmTotalB>();
    std::unique_ptr<QObject> picker(masters::createEmpSeek());
    click(w->btnSeek);
    auto* seek = qobject_cast<TfrmEmp_seek*>(picker.get());
    ASSERT_NE(seek, nullptr);
    ASSERT_TRUE(seek->isVisible());
    EXPECT_EQ(seek->Edit1->text(), QStringLiteral("Total"));
    seek->Button1Click();
    EXPECT_EQ(dm->sum_tran.fieldByName("S_TANCOD").asInteger(), 4);
    dm->sum_tran.post();
    EXPECT_EQ(cell(4, "26-1", "S_TANCOD"), 4);
    EXPECT_EQ(cell(2, "26-1", "S_TANCOD"), -1);
}

TEST_F(PayWindows, DeductionSlipNeedsAPostedRow) {
    employee(1, {});
    payRow(1, "26/04", {{"S_TOTALT", 200000}});
    auto* w = open<TfrmTotal>();
    dm->sum_tran.edit();
    dm->sum_tran.fieldByName("S_BIKO").setAsString("x");
    click(w->Button1);
    EXPECT_EQ(dialogs.last().text, QStringLiteral("データを確定してから入力して下さい。"));
    EXPECT_EQ(w->frmMainus(), nullptr);
}

TEST_F(PayWindows, BonusWindowKeysMarksAndTellsHowTheTaxWasFound) {
    employee(1, {{"E_PAYKBN", "0"}, {"E_BASEPAY", 250000}, {"E_KNTKBN", 1}});
    payRow(1, "26/03", {{"S_BASKING", 250000}, {"S_SHAHO", 40000}});
    payRow(1, "26-1", {});
    payRow(1, "26-2", {});
    auto* w = open<TfrmTotalB>();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("賞与データ"));
    EXPECT_EQ(w->recordKey(), "26-1");
    EXPECT_EQ(dm->sum_tran.recordCount(), 1);
    w->Edit1->setText("2");
    w->Act_KingSetExecute();
    click(w->btnKingCalc);
    dm->sum_tran.checkBrowseMode();
    EXPECT_EQ(cell(1, "26-1", "S_BASKING"), 500000);
    // 210000 before the bonus: 2.042 % of 500000 in column 1.
    EXPECT_EQ(cell(1, "26-1", "S_ZEI_G"), 10210);
    EXPECT_TRUE(w->StatusBar1->text().contains(QStringLiteral("2.042")));

    // A row added with the navigator is a bonus row of the key.
    w->DBNavigator1->btnClick(ui::NavButton::Insert);
    dm->sum_tran.fieldByName("S_TANCOD").setAsInteger(5);
    dm->sum_tran.post();
    EXPECT_EQ(c().scalar("SELECT S_SHOYO_F FROM sum_tran WHERE S_TANCOD = 5").toString(), "1");
    EXPECT_EQ(c().scalar("SELECT S_DATE FROM sum_tran WHERE S_TANCOD = 5").toString(), "26-1");
}

TEST_F(PayWindows, DeductionSlipTotalsFollowEveryAmountAndClearing) {
    employee(7, {});
    CheckBox2->setChecked(true);
    auto* slip = ui::createForm<TfrmMainus>();
    forms.emplace_back(slip);
    slip->setOrigin(payrecord::SlipOrigin{"26/04/12", 7, 1, true, 200000, true});
    slip->show();
    db::Dataset& s = dm->minus_dat;
    ASSERT_EQ(s.state(), db::DatasetState::Insert);
    EXPECT_EQ(s.fieldByName("M_DATE").asString(), "26/04/12");
    s.fieldByName("M_KING_0").setAsInteger(3000);
    s.fieldByName("M_KING_1").setAsInteger(-500);  // an addition also counts at once
    EXPECT_EQ(s.fieldByName("M_GKING").asInteger(), 2500) << dialogs.texts().join("|").toStdString();
    EXPECT_EQ(s.fieldByName("M_FURI_KG").asInteger(), 197500);
    EXPECT_TRUE(slip->CheckBoxes[0]->isEnabled());
    EXPECT_FALSE(slip->CheckBoxes[1]->isEnabled());
    slip->CheckBoxes[0]->click();
    EXPECT_TRUE(slip->btnClear->isEnabled());
    click(slip->btnClear);
    EXPECT_EQ(s.fieldByName("M_GKING").asInteger(), -500);
    EXPECT_EQ(s.fieldByName("M_FURI_KG").asInteger(), 200500);
    s.post();
    EXPECT_EQ(c().scalar("SELECT COUNT(*) FROM minus_dat WHERE M_DATE = '26/04/12'").integer(), 1);
    // The first use wrote the item list with its header alone.
    EXPECT_EQ(rtl::readTextFile(dir / "Tenbiki.csv"), "No,差引項目,差引金額\r\n");
    EXPECT_EQ(slip->StringGrid1->rowCount(), 5);  // the grid keeps its five rows
}

TEST_F(PayWindows, ClearedLinesLoseTheirTickBoxes) {
    employee(7, {});
    auto* slip = ui::createForm<TfrmMainus>();
    forms.emplace_back(slip);
    slip->setOrigin(payrecord::SlipOrigin{"26/04", 7, 1, true, 100000, true});
    slip->show();
    db::Dataset& s = dm->minus_dat;
    s.fieldByName("M_KING_0").setAsInteger(3000);
    s.fieldByName("M_KING_1").setAsInteger(700);
    ASSERT_TRUE(slip->CheckBoxes[0]->isEnabled());
    slip->CheckBoxes[0]->click();
    click(slip->btnClear);
    // A cleared line holds 0, which cannot be cleared again.
    EXPECT_FALSE(slip->CheckBoxes[0]->isEnabled());
    EXPECT_TRUE(slip->CheckBoxes[1]->isEnabled());
    EXPECT_EQ(s.fieldByName("M_GKING").asInteger(), 700);
}

// An item list with a short line is reported, and the slip still totals its lines.
TEST_F(PayWindows, SlipTotalsWorkAfterABrokenItemList) {
    rtl::writeLines(dir / "Tenbiki.csv", {"No,差引項目,差引金額", "1,組合費,1000", "2,壊れた行"});
    employee(7, {});
    auto* slip = ui::createForm<TfrmMainus>();
    forms.emplace_back(slip);
    ASSERT_FALSE(dialogs.shown().empty());
    slip->setOrigin(payrecord::SlipOrigin{"26/04", 7, 1, true, 100000, true});
    slip->show();
    EXPECT_EQ(slip->StringGrid1->item(1, 1)->text(), QStringLiteral("組合費"));
    dm->minus_dat.fieldByName("M_KING_0").setAsInteger(3000);
    EXPECT_EQ(dm->minus_dat.fieldByName("M_GKING").asInteger(), 3000);
    EXPECT_EQ(dm->minus_dat.fieldByName("M_FURI_KG").asInteger(), 97000);
}

TEST_F(PayWindows, PickerRowsAreInsertedNumberedAndSaved) {
    rtl::writeLines(dir / "Tenbiki.csv", {"No,差引項目,差引金額", "1,組合費,1000", "2,親睦会,500", "3,社宅,30000"});
    employee(7, {});
    auto* slip = ui::createForm<TfrmMainus>();
    forms.emplace_back(slip);
    slip->setOrigin(payrecord::SlipOrigin{"26/04", 7, 1, true, 100000, true});
    slip->show();
    ASSERT_EQ(slip->StringGrid1->rowCount(), 5);
    slip->StringGrid1->setCurrentCell(2, 1);
    click(slip->btnIns);
    slip->StringGrid1->setItem(2, 1, new QTableWidgetItem(QStringLiteral("新項目")));
    slip->StringGrid1->setItem(2, 2, new QTableWidgetItem(QStringLiteral("200")));
    click(slip->btnAdd);
    EXPECT_EQ(rtl::readAllLines(dir / "Tenbiki.csv"),
              (std::vector<std::string>{"No,差引項目,差引金額", "1,組合費,1000", "2,新項目,200", "3,親睦会,500",
                                        "4,社宅,30000"}));
    // Deleting a row saves at once; the rows below move up.
    slip->StringGrid1->setCurrentCell(1, 1);
    click(slip->btnDel);
    EXPECT_EQ(rtl::readAllLines(dir / "Tenbiki.csv").size(), 4u);
    EXPECT_EQ(slip->StringGrid1->item(1, 1)->text(), QStringLiteral("新項目"));
}

TEST_F(PayWindows, SlipOpenedTwiceIsTheSameSlipAndKeepsItsPay) {
    employee(7);
    auto openSlip = [&](long long netPay) {
        auto* slip = ui::createForm<TfrmMainus>();
        forms.emplace_back(slip);
        slip->setOrigin(payrecord::SlipOrigin{"26/04", 7, 1, true, netPay, true});
        slip->show();
        return slip;
    };
    auto* first = openSlip(200000);
    dm->minus_dat.fieldByName("M_KING_0").setAsInteger(1000);
    dm->minus_dat.post();
    first->close();
    auto* second = openSlip(250000);  // the pay record changed meanwhile
    EXPECT_EQ(dm->minus_dat.state(), db::DatasetState::Browse);
    EXPECT_EQ(dm->minus_dat.fieldByName("M_KYUYO").asInteger(), 200000);
    EXPECT_EQ(c().scalar("SELECT COUNT(*) FROM minus_dat").integer(), 1);
    EXPECT_TRUE(second->CheckBoxes[0]->isEnabled());
}

TEST_F(PayWindows, PickerTakesAnItemIntoALine) {
    rtl::writeLines(dir / "Tenbiki.csv", {"No,差引項目,差引金額", "1,組合費,1000", "2,\"社宅 家賃\",30000"});
    employee(7, {});
    auto* slip = ui::createForm<TfrmMainus>();
    forms.emplace_back(slip);
    slip->setOrigin(payrecord::SlipOrigin{"26/04", 7, 1, true, 100000, true});
    slip->show();
    EXPECT_EQ(slip->StringGrid1->rowCount(), 4);
    click(slip->spButtons[3]);
    EXPECT_TRUE(slip->Panel2->isVisible());
    slip->StringGrid1->setCurrentCell(2, 1);
    click(slip->btnOK);
    EXPECT_FALSE(slip->Panel2->isVisible());
    EXPECT_EQ(dm->minus_dat.fieldByName("M_DAT_3").asString(), "社宅 家賃");
    EXPECT_EQ(dm->minus_dat.fieldByName("M_KING_3").asInteger(), 30000);
    EXPECT_EQ(dm->minus_dat.fieldByName("M_FURI_KG").asInteger(), 70000);
}

}  // namespace
