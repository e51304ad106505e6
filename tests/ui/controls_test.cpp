// Plain controls: masked edits, combo change semantics, radio groups, the
// busy helper, label ties and fonts.
#include <gtest/gtest.h>

#include "helpers.h"
#include "ui/busy.h"
#include "ui/controls.h"
#include "ui/dialogs.h"
#include "ui/fonts.h"
#include "ui/form.h"
#include "ui/guard.h"
#include "ui/maskedit.h"

#include <rtl/errors.h>

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFontDatabase>
#include <QLineEdit>
#include <QLocale>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

using namespace ui;
using testutil::focused;
using testutil::showActive;

TEST(EditMaskText, TableOfMasksAndDisplays) {
    struct Case {
        const char* mask;
        const char* display;
        const char* text;
        bool complete;
    };
    const Case cases[] = {
        {"!99/99/00;1;_", "__/__/__", "  /  /  ", false}, {"!99/99/00;1;_", "24/05/20", "24/05/20", true},
        {"!99/99/00;1;_", "5_/_3/20", " 5/ 3/20", true},   // optional digits as leading blanks
        {"99/99/00;1;_", "5_/_3/20", "5 / 3/20", true},    // without '!' as they stand
        {"!99/99/00;1;_", "24/05/2_", "24/05/2 ", false},  // a required digit missing
        {"!99/99/00;0;_", "24/05/20", "240520", true},     // literals not kept
        {"!90:00:00>;1;_", "_8:30:00", " 8:30:00", true}, {"!90:00:00>;1;_", "08:3_:00", "08:3 :00", false},
    };
    for (const Case& c : cases) {
        EditMask m(QString::fromUtf8(c.mask));
        EXPECT_EQ(m.textFromDisplay(QString::fromUtf8(c.display)), QString::fromUtf8(c.text))
            << c.mask << " " << c.display;
        EXPECT_EQ(m.isComplete(QString::fromUtf8(c.display)), c.complete) << c.mask << " " << c.display;
    }
}

TEST(EditMaskText, QtMaskSwapsRequiredAndOptionalDigits) {
    EXPECT_EQ(EditMask(QStringLiteral("!99/99/00;1;_")).qtInputMask(), QStringLiteral("00/00/99;_"));
    EXPECT_EQ(EditMask(QStringLiteral("!90:00:00>;1;_")).qtInputMask(), QStringLiteral("09:99:99>;_"));
    EXPECT_EQ(EditMask(QStringLiteral("LlAaCc#")).qtInputMask(), QStringLiteral("AaNnXx#;_"));
    EXPECT_EQ(EditMask(QStringLiteral("\\9-0;1;*")).qtInputMask(), QStringLiteral("\\9-9;*"));
}

class MaskEditTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto* lay = new QVBoxLayout(&form);
        date = new MaskEdit(QStringLiteral("MaskEdit1"), QStringLiteral("!99/99/00;1;_"), &form);
        time = new MaskEdit(QStringLiteral("MaskEdit2"), QStringLiteral("!90:00:00>;1;_"), &form);
        other = new QLineEdit(&form);
        lay->addWidget(date);
        lay->addWidget(time);
        lay->addWidget(other);
        form.setEnterMovesFocus(true);
        ASSERT_TRUE(showActive(&form));
    }
    ScriptedDialogs dialogs;
    Form form{QStringLiteral("frmMask")};
    MaskEdit* date;
    MaskEdit* time;
    QLineEdit* other;
};

TEST_F(MaskEditTest, EmptyTextHasFullLength) {
    EXPECT_EQ(date->text(), QStringLiteral("  /  /  "));
    EXPECT_EQ(time->text(), QStringLiteral("  :  :  "));
    EXPECT_EQ(date->editText(), QStringLiteral("__/__/__"));
}

TEST_F(MaskEditTest, TypingFillsPositionsAndSkipsLiterals) {
    date->setFocus();
    date->home(false);
    QTest::keyClicks(date, "240520");
    EXPECT_EQ(date->text(), QStringLiteral("24/05/20"));
    time->setFocus();
    time->home(false);
    QTest::keyClicks(time, "083000");
    EXPECT_EQ(time->text(), QStringLiteral("08:30:00"));
}

TEST_F(MaskEditTest, SetTextFromCodeAndLettersRejected) {
    date->setText(QStringLiteral("14/07/31"));
    EXPECT_EQ(date->text(), QStringLiteral("14/07/31"));
    date->setFocus();
    date->home(false);
    QTest::keyClicks(date, "ab");
    EXPECT_EQ(date->text(), QStringLiteral("14/07/31"));
}

TEST_F(MaskEditTest, IncompleteChangedTextIsRefusedOnExit) {
    date->setFocus();
    date->home(false);
    QTest::keyClicks(date, "2405");
    QTest::keyClick(date, Qt::Key_Return);
    EXPECT_EQ(focused(), date);
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.last().kind, DialogKind::Error);
    QTest::keyClicks(date, "20");
    QTest::keyClick(date, Qt::Key_Return);
    EXPECT_EQ(focused(), time);
    // An untouched empty edit may be left.
    QTest::keyClick(time, Qt::Key_Return);
    EXPECT_EQ(focused(), other);
}

// ---- combo box

TEST(ComboChange, FiresOnTypingAndChoosingNotOnCode) {
    ScriptedDialogs dialogs;
    Form form(QStringLiteral("frmCombo"));
    auto* lay = new QVBoxLayout(&form);
    auto* combo = new ComboBox(QStringLiteral("ComboBox1"), &form);
    lay->addWidget(combo);
    combo->setItems({QStringLiteral("山田"), QStringLiteral("佐藤")});
    int changes = 0;
    combo->setOnChange([&] { ++changes; });
    ASSERT_TRUE(showActive(&form));
    combo->setText(QStringLiteral("佐藤"));
    combo->setCurrentIndex(0);
    combo->setEditText(QStringLiteral("x"));
    EXPECT_EQ(changes, 0);
    combo->setFocus();
    combo->lineEdit()->clear();
    QTest::keyClicks(combo, "ab");
    EXPECT_EQ(changes, 2);     // each typed character
    emit combo->activated(1);  // what choosing from the list sends
    EXPECT_EQ(changes, 3);
    QTest::keyClick(combo, Qt::Key_Down);  // choosing with the keyboard
    EXPECT_GE(changes, 3);
}

TEST(ComboChange, ListOnlyComboSetTextSelectsTheMatch) {
    ComboBox combo(QStringLiteral("ComboBox1"), nullptr, false);
    combo.setItems({"1", "2", "3"});
    combo.setText("2");
    EXPECT_EQ(combo.currentIndex(), 1);
    combo.setText("9");
    EXPECT_EQ(combo.currentIndex(), -1);
}

TEST(CheckBoxClick, UserClickFiresAndSetCheckedDoesNot) {
    QCheckBox box(QStringLiteral("週給又は日給"));
    int clicks = 0;
    onUserClick(&box, [&] { ++clicks; });
    box.setChecked(true);
    EXPECT_EQ(clicks, 0);
    box.show();
    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(5, box.height() / 2));
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(box.isChecked());
}

TEST(RadioGroupItems, IndexFromCodeFiresNothingUserPickDoes) {
    RadioGroup group(QStringLiteral("RadioGroup1"), QStringLiteral("給与支払区分"));
    group.setItems({QStringLiteral("月給"), QStringLiteral("日給"), QStringLiteral("時給")}, 3);
    int picks = 0;
    group.setOnClick([&] { ++picks; });
    EXPECT_EQ(group.itemIndex(), -1);
    group.setItemIndex(2);
    EXPECT_EQ(group.itemIndex(), 2);
    group.setItemIndex(-1);
    EXPECT_EQ(group.itemIndex(), -1);
    EXPECT_EQ(picks, 0);
    group.button(1)->click();
    EXPECT_EQ(group.itemIndex(), 1);
    EXPECT_EQ(picks, 1);
}

// ---- busy helper

namespace {

// How a handler's work can end: normally, with an error, with the silent abort.
struct WayOut {
    const char* name;
    std::function<void()> body;
};
const std::vector<WayOut>& everyWayOut() {
    static const std::vector<WayOut> ways = {
        {"normal", [] {}},
        {"error", [] { throw rtl::Error("failed"); }},
        {"abort", [] { rtl::abortSilently(); }},
    };
    return ways;
}

}  // namespace

TEST(Busy, PanelAndCursorsResetOnEveryWayOut) {
    ScriptedDialogs dialogs;
    QWidget window;
    auto* panel = new QWidget(&window);
    auto* grid = new QWidget(&window);
    grid->setCursor(Qt::IBeamCursor);
    auto* edit = new QWidget(&window);
    panel->hide();
    window.show();
    const auto& cases = everyWayOut();
    for (const WayOut& c : cases) {
        guard([&] {
            BusyScope busy(panel, {grid, edit});
            EXPECT_TRUE(panel->isVisible()) << c.name;
            EXPECT_EQ(grid->cursor().shape(), Qt::WaitCursor) << c.name;
            EXPECT_EQ(edit->cursor().shape(), Qt::WaitCursor) << c.name;
            c.body();
        });
        EXPECT_FALSE(panel->isVisible()) << c.name;
        EXPECT_EQ(grid->cursor().shape(), Qt::IBeamCursor) << c.name;
        EXPECT_FALSE(edit->testAttribute(Qt::WA_SetCursor)) << c.name;
    }
}

namespace {
// The program's wait cursor: the override cursor, as a wait cursor.
bool waitCursorShown() {
    return QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
}
}  // namespace

TEST(LongJob, WaitCursorForTheWholeJobOnEveryWayOut) {
    ScriptedDialogs dialogs;
    QWidget window;
    window.show();
    const auto& cases = everyWayOut();
    for (const WayOut& c : cases) {
        int calls = 0;
        guard([&] {
            runLongJob(&window, "取込", "取り込んでいます", [&](const JobProgress& progress) {
                EXPECT_TRUE(waitCursorShown()) << c.name;
                // A quick job never shows the progress dialog.
                for (int i = 0; i <= 10; ++i, ++calls) EXPECT_TRUE(progress(i, 10)) << c.name;
                EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << c.name;
                c.body();
            });
        });
        EXPECT_EQ(calls, 11) << c.name;
        EXPECT_EQ(QApplication::overrideCursor(), nullptr) << c.name;
    }
    EXPECT_EQ(dialogs.texts(), QStringList{"failed"});
}

TEST(LongJob, ProgressDialogAfterTheDelayAndItsCancel) {
    const auto saved = progressDialogDelay();
    setProgressDialogDelay(std::chrono::milliseconds(0));
    QWidget window;
    window.show();
    // Cancel is pressed while the job processes events between its steps.
    bool pressed = false;
    auto pressCancel = [&] {
        auto* dialog = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->objectName(), "dlgProgress");
        EXPECT_EQ(dialog->windowTitle(), "取込");
        EXPECT_EQ(dialog->labelText(), "取り込んでいます");
        EXPECT_TRUE(waitCursorShown());
        auto* cancel = dialog->findChild<QPushButton*>("CancelBtn");
        ASSERT_NE(cancel, nullptr);
        EXPECT_EQ(cancel->text(), "キャンセル");
        cancel->click();
        pressed = true;
    };
    long long answeredStop = -1;
    runLongJob(&window, "取込", "取り込んでいます", [&](const JobProgress& progress) {
        QElapsedTimer t;
        t.start();
        for (long long i = 0; t.elapsed() < 5000; ++i) {
            if (!progress(std::min(i, 999LL), 1000)) {
                answeredStop = i;
                return;
            }
            if (i == 0) QTimer::singleShot(0, pressCancel);
        }
    });
    EXPECT_TRUE(pressed);
    EXPECT_GT(answeredStop, 0);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    setProgressDialogDelay(saved);
}

// ---- accessibility and fonts

TEST(Accessibility, LabelsNameTheirControls) {
    QWidget w;
    auto* edit = new QLineEdit(&w);
    edit->setObjectName("EditYY");
    auto* label = makeLabel(QStringLiteral("Label1"), QStringLiteral("年(&Y)"), edit, &w);
    EXPECT_EQ(label->buddy(), edit);
    EXPECT_EQ(accessibleNameOf(edit), QStringLiteral("年(Y)"));  // what the label shows
    label->setText(QStringLiteral("支給年"));                    // labels set at run time stay in step
    EXPECT_EQ(accessibleNameOf(edit), QStringLiteral("支給年"));
    auto* lonely = new QLineEdit(&w);
    lonely->setObjectName("Edit1");
    EXPECT_EQ(unnamedInputs(&w), QStringList{QStringLiteral("Edit1")});
    lonely->setAccessibleName(QStringLiteral("作業フォルダ"));
    EXPECT_TRUE(unnamedInputs(&w).isEmpty());
}

TEST(Fonts, DesignNamesMapToInstalledIpaFonts) {
    struct Case {
        const char* design;
        const char* mapped;
    };
    const Case cases[] = {{"ＭＳ Ｐゴシック", "IPAPGothic"},
                          {"ＭＳ Ｐ明朝", "IPAPMincho"},
                          {"ＭＳ ゴシック", "IPAGothic"},
                          {"Arial", "Arial"}};
    for (const Case& c : cases) EXPECT_EQ(mapFontFamily(QString::fromUtf8(c.design)), QString::fromUtf8(c.mapped));
    const QStringList families = QFontDatabase::families();
    EXPECT_TRUE(families.contains(QStringLiteral("IPAPGothic")));
    EXPECT_TRUE(families.contains(QStringLiteral("IPAPMincho")));
    EXPECT_EQ(QApplication::font().family(), QStringLiteral("IPAPGothic"));
}

TEST(Language, QtsOwnDialogsSpeakJapanese) {
    EXPECT_EQ(QLocale().language(), QLocale::Japanese);
    QDialogButtonBox box(QDialogButtonBox::Cancel | QDialogButtonBox::Open);
    EXPECT_EQ(box.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("キャンセル"));
}
