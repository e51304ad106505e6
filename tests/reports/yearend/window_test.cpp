// The year end from the real main window: 年次処理 builds the year's data,
// the preparation window adjusts one employee's row and prints the slip.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include "app/commands.h"
#include "app/frmMain.h"
#include "app/regionalformats.h"
#include "app/subwindows.h"
#include "data/DB_Acs.h"
#include "data/delivered.h"
#include "mainwindowtest.h"
#include "report/preview.h"
#include "reports/forms.h"
#include "rtl/clock.h"
#include "rtl/datetime.h"
#include "rtl/textfile.h"
#include "ui/action.h"
#include "ui/controls.h"
#include "ui/dbcontrols.h"
#include "ui/dialogs.h"
#include "yearend/GensenInp.h"
#include "yearend/withholding.h"

namespace {

class YearEndWindow : public tsupport::MainWindowTest {
protected:
    void registerWindows() override {
        app::registerSubWindows();
        createStartupObjects();
    }
    void beforeShow() override { app::connectCommands(*main); }
    void SetUp() override {
        MainWindowTest::SetUp();
        if (HasFatalFailure()) return;
        // 2023: twelve months of 250,000 with 30,000 social insurance, one bonus.
        exec("INSERT INTO emp_tanka (E_NO, E_TANCOD, E_NAME, E_DROPKBN) VALUES (1, '000001', '山田太郎', '1')");
        exec("INSERT INTO emp_tanka (E_NO, E_TANCOD, E_NAME, E_DROPKBN) VALUES (2, '000002', '佐藤花子', '1')");
        for (int m = 1; m <= 12; ++m)
            exec(
                "INSERT INTO sum_tran (S_TANCOD, S_DATE, S_BASKING, S_HOKEN, S_KOYOU, S_NENKIN, S_SHAHO, S_ZEI_G) "
                "VALUES (1, ?, 250000, 12000, 1500, 16500, 30000, 5000)",
                {(m < 10 ? "23/0" : "23/") + std::to_string(m)});
        exec(
            "INSERT INTO sum_tran (S_TANCOD, S_DATE, S_SHOYO_F, S_BASKING, S_SHAHO) VALUES (1, '23-1', '1', 400000, "
            "0)");
        dialogs.clear();
    }
    long long stored(const char* column, const char* code = "000001") {
        return number(std::string("SELECT ") + column + " FROM gensen WHERE dcode = ?", {code});
    }
    db::Table& gensen() { return data::DataModule1->gensen; }
    void adjust(const char* column, long long value) {
        gensen().edit();
        gensen().fieldByName(column).setAsInteger(value);
    }
    TfrmGensenInp* open(ui::Button* command) {
        command->click();
        return qobject_cast<TfrmGensenInp*>(app::subWindows().reference(QStringLiteral("frmGensenInp")));
    }
    void buildYear() {
        dialogs.answer(ui::Answer::Yes);
        main->Button9->click();
    }

    // The default range is January to December 2023.
    rtl::ScopedTestClock clock{rtl::encodeDateTime(2024, 5, 20, 9, 0, 0)};
};

constexpr long long kPay = 12 * 250000 + 400000;
constexpr long long kSocial = 12 * 30000;

TEST_F(YearEndWindow, TheYearsDataIsBuiltAfterTheQuestion) {
    EXPECT_EQ(main->EditYYS->text(), QStringLiteral("2023"));
    dialogs.answer(ui::Answer::No);
    main->Button9->click();
    EXPECT_EQ(stored("COUNT(*)"), 0);

    buildYear();
    ASSERT_EQ(dialogs.shown().size(), 3u);
    EXPECT_EQ(dialogs.shown()[1].text, QString::fromUtf8(yearend::kAskText));
    EXPECT_EQ(dialogs.shown()[1].caption, QStringLiteral("年次処理"));
    EXPECT_TRUE(dialogs.shown()[2].text.contains(QStringLiteral("源泉データ 2 件を作成しました。")));
    EXPECT_TRUE(dialogs.shown()[2].text.contains(QStringLiteral("月給 12 件、週給/日給 0 件、賞与 1 件")));
    EXPECT_EQ(stored("total_1"), kPay);
    EXPECT_EQ(stored("total_s"), kPay - kSocial);
    EXPECT_FALSE(main->cursor().shape() == Qt::WaitCursor);

    // A month that is none: a message, and the data stays.
    main->EditMME->setText(QStringLiteral("13"));
    dialogs.clear();
    main->Button9->click();
    EXPECT_EQ(dialogs.texts(), QStringList{QString::fromUtf8(yearend::kBadRangeMessage)});
    EXPECT_EQ(stored("total_1"), kPay);
}

TEST_F(YearEndWindow, AdjustComputeTwiceAfterANewSearchAndPrint) {
    buildYear();
    TfrmGensenInp* w = open(main->btnGensen1);
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(main->EditPName->text(), QStringLiteral("GensenInp"));
    EXPECT_TRUE(w->btnPrt->isVisibleTo(w));
    EXPECT_FALSE(w->btnPrt_Pub->isVisibleTo(w));
    EXPECT_FALSE(w->btnPrt_old->isVisibleTo(w));

    w->Edit1->setText(QStringLiteral("1"));
    w->Edit1Exit();
    EXPECT_EQ(w->Edit1->text(), QStringLiteral("000001"));
    w->btnGo->click();
    ASSERT_EQ(gensen().recordCount(), 1);
    EXPECT_EQ(w->DBEdit2->text(), QStringLiteral("山田太郎"));

    adjust("teate1", 10000);
    w->btnCalc->click();
    EXPECT_EQ(w->Edit_chk->text(), QStringLiteral("1"));
    EXPECT_EQ(stored("total_1"), kPay + 10000);  // saved by 計算
    adjust("teate1", 20000);
    adjust("teate3", 700);
    w->btnCalc->click();
    EXPECT_EQ(stored("total_1"), kPay + 20000);
    EXPECT_EQ(stored("gensen_z"), 12 * 5000 + 700);

    // A new search and 計算 start from the same bases: nothing added twice.
    w->btnGo->click();
    EXPECT_EQ(w->Edit_chk->text(), QStringLiteral("0"));
    w->btnCalc->click();
    EXPECT_EQ(stored("total_1"), kPay + 20000);
    EXPECT_EQ(stored("gensen_z"), 12 * 5000 + 700);
    EXPECT_EQ(stored("total_s"), kPay + 20000 - kSocial);
    EXPECT_EQ(stored("total_t"), kPay + 20000 - kSocial - (12 * 5000 + 700));

    // The code typed is not the row shown: search first.
    dialogs.clear();
    w->Edit1->setText(QStringLiteral("000002"));
    w->btnPrt->click();
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.last().text, TfrmGensenInp::searchFirst());
    EXPECT_EQ(dialogs.last().caption, TfrmGensenInp::buttonCaption());
    EXPECT_EQ(dialogs.last().buttons, QStringList{QStringLiteral("OK")});

    auto* slip = qobject_cast<reports::ReportForm*>(app::subWindows().reference(QStringLiteral("frmQR_Gensen")));
    ASSERT_NE(slip, nullptr);
    EXPECT_EQ(slip->preview(), nullptr);

    w->Edit1->setText(QStringLiteral("000001"));
    w->ComboBox1->setText(QStringLiteral("-"));
    w->Edit_Prt1->setText(QStringLiteral("3"));
    w->Edit_Prt2->setText(QStringLiteral("4"));
    w->btnPrt->click();
    ASSERT_NE(slip->preview(), nullptr);
    const report::Document& doc = slip->preview()->document();
    EXPECT_DOUBLE_EQ(doc.page.top, 2.0);
    EXPECT_DOUBLE_EQ(doc.page.left, 14.0);
    ASSERT_EQ(doc.pages.size(), 1u);
    EXPECT_EQ(doc.pages.front().find(QStringLiteral("3,420,000")).size(), 2u);  // both copies
    EXPECT_EQ(rtl::readAllLines(work.filePath("Gensen.Txt").toStdString()), (std::vector<std::string>{"", "-3", "4"}));
}

TEST_F(YearEndWindow, ClosingAsksForTheUnsavedRowAndKeepsTheMargins) {
    buildYear();
    TfrmGensenInp* w = open(main->btnGensen2);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(main->EditPName->text(), QStringLiteral("GensenInp2"));
    // This mode prints the slip too.
    EXPECT_TRUE(w->btnPrt->isVisibleTo(w));
    EXPECT_NE(app::subWindows().reference(QStringLiteral("frmQR_Gensen")), nullptr);

    w->Edit1->setText(QStringLiteral("000001"));
    w->btnGo->click();
    adjust("teate3", 500);
    w->ComboBox2->setText(QStringLiteral("-"));
    w->Edit_Prt2->setText(QStringLiteral("2"));
    dialogs.clear();
    dialogs.answer(ui::Answer::Yes);
    w->Button4->click();
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(dialogs.texts(), QStringList{QStringLiteral("変更が保存されていません。保存しますか？")});
    // Saved with its totals computed, not as typed.
    EXPECT_EQ(stored("teate3"), 500);
    EXPECT_EQ(stored("gensen_z"), 12 * 5000 + 500);
    EXPECT_EQ(rtl::readAllLines(work.filePath("Gensen.Txt").toStdString()), (std::vector<std::string>{"", "0", "-2"}));

    w = open(main->btnGensen1);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->ComboBox2->text(), QStringLiteral("-"));
    EXPECT_EQ(w->Edit_Prt2->text(), QStringLiteral("2"));
    EXPECT_EQ(w->ComboBox1->text(), QStringLiteral("+"));
}

TEST_F(YearEndWindow, AnOpenWindowShowsTheRowsOfANewRun) {
    buildYear();
    TfrmGensenInp* w = open(main->btnGensen1);
    ASSERT_NE(w, nullptr);
    w->Edit1->setText(QStringLiteral("000001"));
    w->btnGo->click();
    EXPECT_EQ(gensen().fieldByName("total_1").asLargeInt(), kPay);
    exec("INSERT INTO sum_tran (S_TANCOD, S_DATE, S_BASKING) VALUES (1, '23/12', 1000)");
    buildYear();
    ASSERT_EQ(gensen().recordCount(), 1);
    EXPECT_EQ(gensen().fieldByName("total_1").asLargeInt(), kPay + 1000);
    adjust("teate1", 5);
    w->btnCalc->click();
    EXPECT_EQ(stored("total_1"), kPay + 1000 + 5);
    EXPECT_EQ(stored("COUNT(*)"), 1);
}

TEST_F(YearEndWindow, AMarginFileThatCannotBeWrittenIsReportedAndTheWindowStillCloses) {
    buildYear();
    TfrmGensenInp* w = open(main->btnGensen1);
    ASSERT_NE(w, nullptr);
    // A folder where the file should be: writing it fails.
    ASSERT_TRUE(QDir(work.path()).mkdir(QStringLiteral("Gensen.Txt")));
    dialogs.clear();
    w->Button4->click();
    EXPECT_FALSE(w->isVisible());
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].kind, ui::DialogKind::Error);

    // The hub is not held up by it either.
    ASSERT_TRUE(QDir(work.path()).rmdir(QStringLiteral("Gensen.Txt")));
    w = open(main->btnGensen2);
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
}

struct PrintCase {
    const char* name;
    const char* searched;  // the code searched for
    const char* typed;     // Edit1 when 徴収票印刷 is pressed
    bool prints;
};

class PrintCode : public YearEndWindow, public ::testing::WithParamInterface<PrintCase> {};

// The slip finds its rows by the code typed, compared as the database
// compares: it prints when that finds the row on screen, and otherwise asks
// for a search instead of printing an empty slip.
TEST_P(PrintCode, PrintsTheRowOnScreenOrAsksForASearch) {
    const PrintCase& c = GetParam();
    exec("INSERT INTO emp_tanka (E_NO, E_TANCOD, E_NAME, E_DROPKBN) VALUES (3, 'A00003', '高橋健太', '1')");
    buildYear();
    TfrmGensenInp* w = open(main->btnGensen1);
    ASSERT_NE(w, nullptr);
    w->Edit1->setText(QString::fromLatin1(c.searched));
    w->btnGo->click();
    ASSERT_EQ(gensen().recordCount(), 1);
    auto* slip = qobject_cast<reports::ReportForm*>(app::subWindows().reference(QStringLiteral("frmQR_Gensen")));
    ASSERT_NE(slip, nullptr);

    dialogs.clear();
    w->Edit1->setText(QString::fromLatin1(c.typed));
    w->btnPrt->click();
    if (c.prints) {
        EXPECT_TRUE(dialogs.shown().empty());
        ASSERT_NE(slip->preview(), nullptr);
        EXPECT_EQ(slip->preview()->document().rows, 1u);
    } else {
        EXPECT_EQ(dialogs.texts(), QStringList{TfrmGensenInp::searchFirst()});
        EXPECT_EQ(slip->preview(), nullptr);
    }
}

INSTANTIATE_TEST_SUITE_P(, PrintCode,
                         ::testing::Values(PrintCase{"the_code_searched", "000001", "000001", true},
                                           PrintCase{"letters_in_another_case", "a00003", "a00003", true},
                                           PrintCase{"a_trailing_blank", "000001", "000001 ", false},
                                           PrintCase{"another_employee", "000001", "000002", false},
                                           PrintCase{"blanks_only", "000001", "  ", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(YearEndWindow, OnlyAnAllDigitCodeIsPadded) {
    TfrmGensenInp* w = open(main->btnGensen1);
    ASSERT_NE(w, nullptr);
    const struct {
        const char* typed;
        const char* after;
    } cases[] = {{"12", "000012"}, {"123456", "123456"}, {"1234567", "1234567"}, {"A12", "A12"}, {"", ""}};
    for (const auto& c : cases) {
        w->Edit1->setText(QString::fromLatin1(c.typed));
        w->Edit1Exit();
        EXPECT_EQ(w->Edit1->text(), QString::fromLatin1(c.after)) << c.typed;
    }
    // Without a search there is nothing to compute or print.
    dialogs.clear();
    w->Edit1->clear();
    w->Button3->click();
    w->btnPrt->click();
    EXPECT_EQ(dialogs.texts(), (QStringList{TfrmGensenInp::searchFirst(), TfrmGensenInp::searchFirst()}));
}

TEST_F(YearEndWindow, KeysMoveAlongTheAdjustmentsAndAmountsTakeAMinus) {
    buildYear();
    TfrmGensenInp* w = open(main->btnGensen1);
    ASSERT_NE(w, nullptr);
    QApplication::setActiveWindow(w);
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w, 2000));
    ASSERT_EQ(QApplication::focusWidget(), w->Edit1);
    w->Edit1->setText(QStringLiteral("1"));
    QTest::keyClick(w->Edit1, Qt::Key_Return);  // padded on the way to 検索表示
    EXPECT_EQ(QApplication::focusWidget(), w->btnGo);
    EXPECT_EQ(w->Edit1->text(), QStringLiteral("000001"));
    w->btnGo->click();

    ASSERT_TRUE(w->moveFocusTo(w->DBEdit22));
    QTest::keyClicks(w->DBEdit22, QStringLiteral("-300"));
    EXPECT_EQ(QApplication::focusWidget(), w->DBEdit22);
    QTest::keyClick(w->DBEdit22, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), w->DBEdit23);
    QTest::keyClick(w->DBEdit23, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), w->btnCalc);
    QTest::keyClick(w->btnCalc, Qt::Key_PageUp);
    EXPECT_EQ(QApplication::focusWidget(), w->DBEdit23);
    w->btnCalc->click();
    EXPECT_EQ(stored("teate3"), -300);
    EXPECT_EQ(stored("gensen_z"), 12 * 5000 - 300);

    // Outside the amounts "+" and "-" move the focus and are not typed.
    ASSERT_TRUE(w->moveFocusTo(w->Edit1));
    QTest::keyClick(w->Edit1, Qt::Key_Plus);
    EXPECT_EQ(QApplication::focusWidget(), w->btnGo);
    QTest::keyClick(w->btnGo, Qt::Key_Minus);
    EXPECT_EQ(QApplication::focusWidget(), w->Edit1);
    EXPECT_EQ(w->Edit1->text(), QStringLiteral("000001"));
}

TEST_F(YearEndWindow, TheUnitWageWindowOpensForASearchedCode) {
    TfrmGensenInp* w = open(main->btnGensen1);
    ASSERT_NE(w, nullptr);
    auto* wages = qobject_cast<QWidget*>(app::subWindows().reference(QStringLiteral("frmEmp_Tanka")));
    ASSERT_NE(wages, nullptr);
    EXPECT_FALSE(wages->isVisible());
    w->Edit1->setText(QStringLiteral("000001"));
    w->Button3->click();
    EXPECT_TRUE(wages->isVisible());
}

}  // namespace
