// Both windows headless, driven through their object names.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>

#include <filesystem>
#include <fstream>

#include "reports/ClossRep.h"
#include "reports/MKyuyoRep.h"
#include "reports/crosstable.h"
#include "reports/ledger.h"
#include "ui/action.h"
#include "ui/controls.h"
#include "workfolder.h"
#include "xlsxfile.h"

namespace reports::testing {
namespace {

class LedgerWindow : public ReportFolder {
public:
    void SetUp() override {
        ReportFolder::SetUp();
        addEmployee(1, "山田太郎");
        addEmployee(2, "山田太郎");  // the same name twice
        addEmployee(3, "田中退職", "0");
        addPay(1, "24/01", {{"S_DAYS", 20}});
        addPay(2, "24/02", {{"S_DAYS", 10}});
        setDocumentOpener([this](const QString& p) {
            opened << p;
            return true;
        });
        w.reset(ui::createForm<TfrmMKyuyoRep>());
        w->show();
    }
    void TearDown() override {
        w.reset();
        setDocumentOpener({});
        ReportFolder::TearDown();
    }
    QStringList opened;
    std::unique_ptr<TfrmMKyuyoRep> w;
};

TEST_F(LedgerWindow, ShowsTheEmployeesInServiceAndThePayYear) {
    EXPECT_EQ(w->windowTitle(), "個人別給与台帳");
    QStringList items;
    for (int i = 0; i < w->ComboBox1->count(); ++i) items << w->ComboBox1->itemText(i);
    EXPECT_EQ(items, (QStringList{"全社員", "山田太郎", "山田太郎"}));
    EXPECT_EQ(w->ComboBox1->currentText(), "全社員");
    EXPECT_EQ(w->EditYY_S->text(), "2024");
    EXPECT_EQ(w->EditMM_S->text(), "01");
    EXPECT_EQ(w->EditYY_E->text(), "2024");
    EXPECT_EQ(w->EditMM_E->text(), "06");
    EXPECT_EQ(w->Edit1->text(), "0");
}

TEST_F(LedgerWindow, AllEmployeesGoIntoTheFileOfTheLastMonthAndItIsOpened) {
    w->btnPrint->click();
    const std::string out = path("Kyuyo_daicho_202406.xlsx");
    ASSERT_TRUE(std::filesystem::exists(out)) << dialogs.texts().join("|").toStdString();
    EXPECT_TRUE(std::filesystem::exists(path(LedgerTemplateName)));  // put there when missing
    EXPECT_EQ(opened, QStringList{QString::fromStdString(out)});
    EXPECT_TRUE(dialogs.shown().empty());
    EXPECT_EQ(xlsxtest::Book(out).sheetNames().size(), 3u);
}

// Two employees of one name: the second one chosen is the second one written.
TEST_F(LedgerWindow, TheChosenEmployeeIsTakenByPositionNotByName) {
    w->ComboBox1->setCurrentIndex(2);
    w->ComboBox1Change();
    EXPECT_EQ(w->Edit1->text(), "000002");
    w->btnPrint->click();
    const std::string out = path("Kyuyo_daicho_000002.xlsx");
    ASSERT_TRUE(std::filesystem::exists(out));
    xlsxtest::Book book(out);
    EXPECT_EQ(book.sheetNames(), (std::vector<std::string>{"Sheet1", "Sheet1 (2)"}));
    EXPECT_EQ(book.cell("Sheet1 (2)", "M8").value, "10");
    w->ComboBox1->setCurrentIndex(0);
    w->ComboBox1Change();
    EXPECT_EQ(w->Edit1->text(), "0");
}

TEST_F(LedgerWindow, AnExistingLedgerIsReplacedOnlyWhenTheUserSaysSo) {
    const std::string out = path("Kyuyo_daicho_202406.xlsx");
    std::ofstream(out) << "mine";
    dialogs.answer("No");
    w->btnPrint->click();
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.last().text, "Kyuyo_daicho_202406.xlsx は既にあります。置き換えますか？");
    EXPECT_EQ(std::filesystem::file_size(out), 4u);
    EXPECT_TRUE(opened.isEmpty());
    dialogs.answer("Yes");
    w->btnPrint->click();
    EXPECT_GT(std::filesystem::file_size(out), 4u);
    EXPECT_EQ(opened.size(), 1);
}

TEST_F(LedgerWindow, BadRangesAreRefusedWithAMessage) {
    const struct {
        const char *yys, *mms, *yye, *mme, *message;
    } cases[] = {
        {"2024", "01", "2025", "01", RangeTooLongMessage},
        {"2024", "05", "2024", "04", RangeReversedMessage},
        {"2024", "13", "2024", "12", "月は1から12で入力して下さい。"},
        {"2024", "01", "2024", "", "'' は整数ではありません"},
    };
    for (const auto& c : cases) {
        dialogs.clear();
        w->EditYY_S->setText(c.yys);
        w->EditMM_S->setText(c.mms);
        w->EditYY_E->setText(c.yye);
        w->EditMM_E->setText(c.mme);
        w->btnPrint->click();
        ASSERT_EQ(dialogs.shown().size(), 1u) << c.message;
        EXPECT_EQ(dialogs.last().text.toStdString(), c.message);
    }
    EXPECT_TRUE(opened.isEmpty());
    int files = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir)) files += e.path().extension() == ".xlsx";
    EXPECT_EQ(files, 0);
}

TEST_F(LedgerWindow, NothingToWriteIsSaid) {
    w->EditYY_S->setText("2023");
    w->EditYY_E->setText("2023");
    w->btnPrint->click();
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.last().text, NoRecordsMessage);
    EXPECT_FALSE(std::filesystem::exists(path("Kyuyo_daicho_202306.xlsx")));
    EXPECT_TRUE(opened.isEmpty());
}

// A third bonus alone writes no sheet, and the user learns why it is missing.
TEST_F(LedgerWindow, AThirdBonusAloneIsSaidAfterNothingToWrite) {
    addPay(1, "23-3", {{"S_BASKING", 40000}});
    w->EditYY_S->setText("2023");
    w->EditYY_E->setText("2023");
    w->btnPrint->click();
    EXPECT_EQ(dialogs.texts(),
              (QStringList{NoRecordsMessage, QString::fromStdString(otherBonusMessage({"山田太郎　23-3"}))}));
    EXPECT_TRUE(opened.isEmpty());
}

// ---------------------------------------------------------------- the cross-table screen

class CrossTableScreen : public ReportFolder {};

TEST_F(CrossTableScreen, OnePanelPerRowWithItsDays) {
    for (int n = 1; n <= 21; ++n) addEmployee(n * 1000 + 7, "社員" + std::to_string(n));
    addAttendance(1007, 2024, 4, 1, "08:00");
    addAttendance(21007, 2024, 4, 30, "05:15");
    buildCrossTable(
        connection(), "24/04", [](auto&&...) { return true; }, [](auto&&...) {});

    std::unique_ptr<TfrmClossRep> w(ui::createForm<TfrmClossRep>());
    int previews = 0;
    w->setPrintPreview([&] { ++previews; });
    w->show();
    EXPECT_EQ(w->windowTitle(), "日別一覧");
    EXPECT_EQ(w->size(), QSize(833, 653));
    EXPECT_EQ(w->LabelMonth->text(), "24/04 分");
    const QList<QFrame*> panels = w->DBCtrlGrid1->findChildren<QFrame*>(QRegularExpression("^Panel_"));
    ASSERT_EQ(panels.size(), 21);
    auto value = [](QWidget* panel, const char* name) {
        return panel->findChild<QLabel*>(QString::fromLatin1(name))->text();
    };
    QWidget* first = w->DBCtrlGrid1->findChild<QFrame*>("Panel_1");
    QWidget* last = w->DBCtrlGrid1->findChild<QFrame*>("Panel_21");
    EXPECT_EQ(value(first, "TNAME"), "社員1");
    EXPECT_EQ(value(first, "D1"), "08:00");
    EXPECT_EQ(value(last, "TNAME"), "社員21");
    EXPECT_EQ(value(last, "D30"), "05:15");
    EXPECT_EQ(value(last, "D31"), "");
    EXPECT_EQ(first->width(), TfrmClossRep::PanelWidth);
    // Twenty panels fit side by side; the twenty-first is reached by scrolling.
    EXPECT_GT(w->ScrollBox1->horizontalScrollBar()->maximum(), 0);

    w->Button2->click();
    EXPECT_EQ(previews, 1);
    w->Button1->click();
    EXPECT_FALSE(w->isVisible());
}

}  // namespace
}  // namespace reports::testing
