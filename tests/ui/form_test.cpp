// Forms: steps, key preview focus moves, field checks on exit, closing.
#include <gtest/gtest.h>

#include "helpers.h"
#include "ui/action.h"
#include "ui/dialogs.h"
#include "ui/form.h"
#include "ui/guard.h"

#include <rtl/errors.h>

#include <QLineEdit>
#include <QPointer>
#include <QTimer>
#include <QVBoxLayout>

using namespace ui;
using testutil::focused;
using testutil::showActive;

namespace {

// Three edits and a button, in this tab order: Edit1, Edit2, Button1, Edit3.
class TestForm : public Form {
public:
    TestForm() : Form(QStringLiteral("frmTest")) {
        auto* lay = new QVBoxLayout(this);
        edit1 = new QLineEdit(this);
        edit1->setObjectName("Edit1");
        edit2 = new QLineEdit(this);
        edit2->setObjectName("Edit2");
        button = new Button(QStringLiteral("Button1"), QStringLiteral("実行"), this);
        edit3 = new QLineEdit(this);
        edit3->setObjectName("Edit3");
        for (QWidget* w : {static_cast<QWidget*>(edit1), static_cast<QWidget*>(edit2), static_cast<QWidget*>(button),
                           static_cast<QWidget*>(edit3)})
            lay->addWidget(w);
        button->setOnClick([this] { ++clicks; });
        setEnterMovesFocus(true);
    }
    QLineEdit* edit1;
    QLineEdit* edit2;
    Button* button;
    QLineEdit* edit3;
    int clicks = 0;
    QStringList steps;
    CloseAction closeAction = CloseAction::Hide;

protected:
    void FormCreate() override { steps << "create"; }
    void FormShow() override { steps << "show"; }
    void FormClose(CloseAction& a) override {
        steps << "close";
        a = closeAction;
    }
    void FormDestroy() override { steps << "destroy"; }
};

class FormTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = createForm<TestForm>();
        ASSERT_TRUE(showActive(form));
        form->edit1->setFocus();
        QApplication::processEvents();
        ASSERT_EQ(focused(), form->edit1);
    }
    void TearDown() override { delete form.data(); }
    QPointer<TestForm> form;
    ScriptedDialogs dialogs;
};

}  // namespace

TEST_F(FormTest, EnterAndPageDownMoveForwardPageUpBackWrapping) {
    struct Step {
        Qt::Key key;
        const char* expected;
    };
    const Step steps[] = {
        {Qt::Key_Return, "Edit2"},   {Qt::Key_Enter, "Button1"},
        {Qt::Key_PageDown, "Edit3"}, {Qt::Key_Return, "Edit1"},  // wraps to the first control
        {Qt::Key_PageUp, "Edit3"},                               // and back
        {Qt::Key_PageUp, "Button1"},
    };
    for (const Step& s : steps) {
        QTest::keyClick(focused(), s.key);
        ASSERT_TRUE(focused());
        EXPECT_EQ(focused()->objectName(), QString::fromLatin1(s.expected));
    }
}

TEST_F(FormTest, EnterOnAButtonMovesOnWithoutClickingIt) {
    form->button->setFocus();
    QTest::keyClick(form->button, Qt::Key_Return);
    EXPECT_EQ(focused(), form->edit3);
    EXPECT_EQ(form->clicks, 0);
    form->button->setFocus();
    QTest::keyClick(form->button, Qt::Key_Space);  // space still presses it
    EXPECT_EQ(form->clicks, 1);
}

TEST_F(FormTest, HiddenAndDisabledControlsAreSkipped) {
    form->edit2->setEnabled(false);
    form->button->hide();
    QTest::keyClick(form->edit1, Qt::Key_Return);
    EXPECT_EQ(focused(), form->edit3);
}

TEST_F(FormTest, KeyPreviewSeesKeysFirstAndCanConsumeThem) {
    struct Preview : TestForm {
        int seen = 0;
        void FormKeyDown(int& key, Qt::KeyboardModifiers m) override {
            ++seen;
            if (key == Qt::Key_F5) key = 0;
            else TestForm::FormKeyDown(key, m);
        }
    } preview;
    ASSERT_TRUE(showActive(&preview));
    preview.edit1->setFocus();
    QTest::keyClick(preview.edit1, Qt::Key_A);
    QTest::keyClick(preview.edit1, Qt::Key_F5);
    EXPECT_EQ(preview.seen, 2);
    EXPECT_EQ(preview.edit1->text(), QStringLiteral("a"));
    showActive(form);
}

// Each way the focus can leave a field must run its check, and a refusal
// must keep the focus there and stop the move.
TEST_F(FormTest, RefusingExitCheckKeepsTheFocusForEveryKindOfMove) {
    int checks = 0;
    form->setOnExit(form->edit1, [&] {
        ++checks;
        if (form->edit1->text() != QStringLiteral("ok")) {
            showMessage(QStringLiteral("データを確認して下さい。"));
            rtl::abortSilently();
        }
    });
    int entered = 0;
    form->setOnEnter(form->edit2, [&] { ++entered; });

    struct Move {
        const char* name;
        std::function<void()> run;
    };
    const std::vector<Move> moves = {
        {"Enter", [&] { QTest::keyClick(form->edit1, Qt::Key_Return); }},
        {"PageDown", [&] { QTest::keyClick(form->edit1, Qt::Key_PageDown); }},
        {"PageUp", [&] { QTest::keyClick(form->edit1, Qt::Key_PageUp); }},
        {"Tab", [&] { QTest::keyClick(form->edit1, Qt::Key_Tab); }},
        {"Backtab", [&] { QTest::keyClick(form->edit1, Qt::Key_Backtab, Qt::ShiftModifier); }},
        {"click on an edit", [&] { QTest::mouseClick(form->edit3, Qt::LeftButton); }},
        {"click on a button", [&] { QTest::mouseClick(form->button, Qt::LeftButton); }},
        {"moveFocusTo", [&] { EXPECT_FALSE(form->moveFocusTo(form->edit2)); }},
        {"setFocus from code", [&] { form->edit2->setFocus(); }},
    };
    for (const Move& m : moves) {
        dialogs.clear();
        const int before = checks;
        m.run();
        QApplication::processEvents();
        EXPECT_EQ(checks, before + 1) << m.name;
        EXPECT_EQ(focused(), form->edit1) << m.name;
        EXPECT_EQ(dialogs.texts(), QStringList{QStringLiteral("データを確認して下さい。")}) << m.name;
    }
    EXPECT_EQ(form->clicks, 0);  // the refused click never reached the button
    EXPECT_EQ(entered, 0);       // nor did the refused moves enter Edit2

    form->edit1->setText(QStringLiteral("ok"));
    QTest::keyClick(form->edit1, Qt::Key_Return);
    EXPECT_EQ(focused(), form->edit2);
    EXPECT_EQ(entered, 1);
    EXPECT_EQ(checks, static_cast<int>(moves.size()) + 1);  // accepted once, not twice
}

TEST_F(FormTest, ErrorInExitCheckIsShownAndKeepsTheFocus) {
    form->setOnExit(form->edit1, [] { throw rtl::ConversionError("'abc' は整数ではありません"); });
    QTest::keyClick(form->edit1, Qt::Key_Tab);
    EXPECT_EQ(focused(), form->edit1);
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.last().kind, DialogKind::Error);
}

TEST_F(FormTest, ExitCheckMayNormaliseTheValue) {
    form->setOnExit(form->edit1, [&] {
        if (form->edit1->text().size() == 1) form->edit1->setText("0" + form->edit1->text());
    });
    QTest::keyClicks(form->edit1, "7");
    QTest::keyClick(form->edit1, Qt::Key_Return);
    EXPECT_EQ(form->edit1->text(), QStringLiteral("07"));
    EXPECT_EQ(focused(), form->edit2);
}

TEST_F(FormTest, StepsRunCreateOnceShowEachTimeAndCloseOnlyHides) {
    EXPECT_EQ(form->steps, (QStringList{"create", "show"}));
    form->create();  // a second create is ignored
    EXPECT_TRUE(form->close());
    EXPECT_FALSE(form->isVisible());
    form->show();
    EXPECT_EQ(form->steps, (QStringList{"create", "show", "close", "show"}));
    EXPECT_FALSE(form.isNull());  // hidden, not freed
}

TEST_F(FormTest, CloseActionNoneKeepsTheFormAndFreeDestroysIt) {
    form->closeAction = CloseAction::None;
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->isVisible());
    form->closeAction = CloseAction::Free;
    form->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(form.isNull());
}

TEST_F(FormTest, FreeRunsTheDestroyStepOnce) {
    QStringList seen;
    struct Spy : TestForm {
        QStringList* out = nullptr;
        void FormDestroy() override { *out << "destroy"; }
    };
    auto* spy = createForm<Spy>();
    spy->out = &seen;
    spy->free();
    EXPECT_EQ(seen, QStringList{"destroy"});
}

TEST_F(FormTest, ModalShowWaitsForTheResult) {
    auto* dlg = createForm<TestForm>();
    QTimer::singleShot(0, dlg, [dlg] {
        EXPECT_TRUE(dlg->isModal());
        dlg->setModalResult(mrOk);
    });
    EXPECT_EQ(dlg->showModal(), mrOk);
    EXPECT_FALSE(dlg->isVisible());
    QTimer::singleShot(0, dlg, [dlg] { dlg->close(); });
    EXPECT_EQ(dlg->showModal(), mrCancel);
    dlg->free();
}

TEST_F(FormTest, ErrorsInsideAModalLoopAreCaughtThere) {
    auto* dlg = createForm<TestForm>();
    dlg->button->setOnClick([] { throw rtl::Error("inner failure"); });
    bool continued = false;
    guard([&] {
        QTimer::singleShot(0, dlg, [dlg] {
            dlg->button->click();
            dlg->setModalResult(mrOk);
        });
        dlg->showModal();
        continued = true;
    });
    EXPECT_TRUE(continued);
    EXPECT_EQ(dialogs.texts(), QStringList{QStringLiteral("inner failure")});
    dlg->free();
}

// ---- actions

TEST(Actions, ButtonsShareAnActionsCaptionStateAndCommand) {
    ScriptedDialogs dialogs;
    Form form(QStringLiteral("frmAct"));
    int runs = 0;
    Action act(QStringLiteral("Act_Zalton"), QStringLiteral("ザルトン"), &form, [&] { ++runs; });
    Button a(QStringLiteral("btnRec_YN"), {}, &form), b(QStringLiteral("btnOther"), {}, &form);
    a.setAction(&act);
    b.setAction(&act);
    EXPECT_EQ(a.text(), QStringLiteral("ザルトン"));
    a.click();
    b.click();
    act.execute();
    EXPECT_EQ(runs, 3);
    act.setCaption(QStringLiteral("コルベ"));
    act.setEnabled(false);
    EXPECT_EQ(b.text(), QStringLiteral("コルベ"));
    EXPECT_FALSE(b.isEnabled());
    b.hide();  // hidden by code; a caption change must not show it again
    act.setCaption(QStringLiteral("x"));
    EXPECT_TRUE(b.isHidden());
}

TEST(Actions, ButtonStateSetByCodeStaysUntilThatStateOfTheActionChanges) {
    Form form(QStringLiteral("frmAct"));
    Action act(QStringLiteral("Act_MainRep"), QStringLiteral("一覧表示"), &form);
    Button b(QStringLiteral("btnTimeRep"), {}, &form);
    b.setAction(&act);
    ASSERT_TRUE(b.isEnabled());

    b.setEnabled(false);  // e.g. no punches to list yet
    act.setCaption(QStringLiteral("一覧"));
    act.setToolTip(QStringLiteral("ヒント"));
    EXPECT_FALSE(b.isEnabled());
    EXPECT_EQ(b.text(), QStringLiteral("一覧"));
    EXPECT_EQ(b.toolTip(), QStringLiteral("ヒント"));

    // The action's own enabled state still rules when it changes.
    act.setEnabled(false);
    act.setEnabled(true);
    EXPECT_TRUE(b.isEnabled());

    // Linking anew takes every property of the action again.
    b.setEnabled(false);
    b.setText(QStringLiteral("x"));
    b.setAction(&act);
    EXPECT_TRUE(b.isEnabled());
    EXPECT_EQ(b.text(), QStringLiteral("一覧"));
}

TEST(Actions, ExecuteFromAHandlerStopsThatHandlerOnAbort) {
    ScriptedDialogs dialogs;
    Form form(QStringLiteral("frmAct"));
    Action check(QStringLiteral("Act_Check"), QStringLiteral("c"), &form, [] { rtl::abortSilently(); });
    bool after = false;
    Button btn(QStringLiteral("btn"), QStringLiteral("b"), &form);
    btn.setOnClick([&] {
        check.execute();
        after = true;
    });
    btn.click();
    EXPECT_FALSE(after);
    EXPECT_TRUE(dialogs.shown().empty());
    check.trigger();  // from a menu: guarded by itself
    EXPECT_TRUE(dialogs.shown().empty());
}

TEST(FormActivation, ActivateStepRunsWhenTheWindowBecomesActive) {
    struct Spy : Form {
        Spy() : Form(QStringLiteral("frmSpy")) {}
        int activations = 0;
        void FormActivate() override { ++activations; }
    };
    Spy a, b;
    ASSERT_TRUE(showActive(&a));
    const int first = a.activations;
    EXPECT_GE(first, 1);
    ASSERT_TRUE(showActive(&b));
    ASSERT_TRUE(showActive(&a));
    EXPECT_EQ(a.activations, first + 1);
}

// A hidden window comes back to the front through the one call, whether it
// is a form (its show step runs) or a plain widget.
TEST(ShowModeless, BringsAFormOrAPlainWidgetToTheFront) {
    QPointer<TestForm> form = createForm<TestForm>();
    QWidget plain;
    plain.setObjectName(QStringLiteral("plain"));
    ASSERT_TRUE(showActive(&plain));

    showModeless(form);
    EXPECT_TRUE(QTest::qWaitForWindowActive(form, 2000));
    EXPECT_EQ(form->steps, (QStringList{"create", "show"}));

    plain.hide();
    showModeless(&plain);
    EXPECT_TRUE(plain.isVisible());
    EXPECT_TRUE(QTest::qWaitForWindowActive(&plain, 2000));

    showModeless(nullptr);  // no window: nothing to show
    delete form.data();
}
