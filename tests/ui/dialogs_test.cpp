// The dialog seam and the handler guard.
#include <gtest/gtest.h>

#include "ui/app.h"
#include "ui/dialogs.h"
#include "ui/guard.h"

#include <rtl/errors.h>

#include <stdexcept>

using namespace ui;

TEST(DialogSeam, PlainMessageHasOkAndTheApplicationTitle) {
    ScriptedDialogs script;
    showMessage(QStringLiteral("データを確認して下さい。"));
    ASSERT_EQ(script.shown().size(), 1u);
    const DialogRecord& r = script.last();
    EXPECT_EQ(r.kind, DialogKind::Message);
    EXPECT_EQ(r.caption, QStringLiteral("Tallyra計算"));
    EXPECT_EQ(r.text, QStringLiteral("データを確認して下さい。"));
    EXPECT_EQ(r.icon, Icon::None);
    EXPECT_EQ(r.buttons, QStringList{QStringLiteral("OK")});
    EXPECT_EQ(script.unanswered(), 0);
}

TEST(DialogSeam, QuestionsTakeScriptedAnswersInOrderAndMessagesTakeNone) {
    ScriptedDialogs script;
    script.answer("Yes").answer(Answer::No);
    EXPECT_TRUE(askYesNo(QStringLiteral("日付を確認して下さい。正しいですか。"), QStringLiteral("日付範囲違反")));
    showMessage(QStringLiteral("between"));  // a message does not use up an answer
    EXPECT_FALSE(askYesNo(QStringLiteral("データを初期化しますか？"), QStringLiteral("データ全削除")));
    EXPECT_EQ(script.captions(), (QStringList{QStringLiteral("日付範囲違反"), QStringLiteral("Tallyra計算"),
                                              QStringLiteral("データ全削除")}));
    EXPECT_EQ(script.shown()[0].buttons, (QStringList{QStringLiteral("はい(&Y)"), QStringLiteral("いいえ(&N)")}));
    EXPECT_EQ(script.shown()[0].answer, QStringLiteral("Yes"));
    EXPECT_EQ(script.shown()[2].answer, QStringLiteral("No"));
    EXPECT_EQ(script.unanswered(), 0);
}

TEST(DialogSeam, UnscriptedQuestionTakesTheDefaultYesAndIsCounted) {
    ScriptedDialogs script;
    EXPECT_TRUE(askYesNo(QStringLiteral("削除しますか？")));
    EXPECT_EQ(script.last().caption, QStringLiteral("Tallyra計算"));
    EXPECT_EQ(script.unanswered(), 1);
}

TEST(DialogSeam, YesNoCancelQuestion) {
    struct Case {
        const char* reply;
        Answer expected;
    };
    for (const Case& c : {Case{"Yes", Answer::Yes}, Case{"No", Answer::No}, Case{"Cancel", Answer::Cancel}}) {
        ScriptedDialogs script;
        script.answer(QString::fromLatin1(c.reply));
        EXPECT_EQ(askYesNoCancel(QStringLiteral("変更を保存しますか？")), c.expected) << c.reply;
        EXPECT_EQ(script.last().buttons.size(), 3);
        EXPECT_EQ(script.last().buttons.last(), QStringLiteral("キャンセル"));
    }
}

TEST(DialogSeam, CancelScriptedForAYesNoBoxReadsAsNo) {
    ScriptedDialogs script;
    script.answer("Cancel");
    EXPECT_FALSE(askYesNo(QStringLiteral("q")));
}

TEST(DialogSeam, FileDialogsTakePathsAndAnEmptyQueueCancels) {
    ScriptedDialogs script;
    script.answer(QStringLiteral("/tmp/x.csv"));
    EXPECT_EQ(openFileName(nullptr, QStringLiteral("開く"), QStringLiteral("/tmp"), QStringLiteral("CSV (*.csv)")),
              QStringLiteral("/tmp/x.csv"));
    EXPECT_EQ(script.last().kind, DialogKind::OpenFile);
    EXPECT_EQ(script.last().filter, QStringLiteral("CSV (*.csv)"));
    EXPECT_TRUE(saveFileName(nullptr, QStringLiteral("保存")).isEmpty());
    EXPECT_EQ(script.unanswered(), 1);
}

TEST(DialogSeam, NestedScriptsRestoreTheOuterOne) {
    ScriptedDialogs outer;
    {
        ScriptedDialogs inner;
        showMessage(QStringLiteral("inner"));
        EXPECT_EQ(inner.shown().size(), 1u);
    }
    showMessage(QStringLiteral("outer"));
    EXPECT_EQ(outer.texts(), QStringList{QStringLiteral("outer")});
}

// ---- the guard

TEST(Guard, ReportsEachKindOfEscapingError) {
    struct Case {
        const char* name;
        std::function<void()> body;
        bool completes;
        QString errorText;  // empty: nothing shown
    };
    const std::vector<Case> cases = {
        {"normal", [] {}, true, {}},
        {"silent abort", [] { rtl::abortSilently(); }, false, {}},
        {"runtime error", [] { throw rtl::ConversionError("'x' は整数ではありません"); }, false,
         QStringLiteral("'x' は整数ではありません")},
        {"std exception", [] { throw std::runtime_error("disk full"); }, false, QStringLiteral("disk full")},
        {"anything", [] { throw 42; }, false, QStringLiteral("予期しないエラーが発生しました。")},
    };
    for (const Case& c : cases) {
        ScriptedDialogs script;
        EXPECT_EQ(guard(c.body), c.completes) << c.name;
        if (c.errorText.isEmpty()) {
            EXPECT_TRUE(script.shown().empty()) << c.name;
        } else {
            ASSERT_EQ(script.shown().size(), 1u) << c.name;
            EXPECT_EQ(script.last().kind, DialogKind::Error);
            EXPECT_EQ(script.last().icon, Icon::Stop);
            EXPECT_EQ(script.last().caption, QStringLiteral("Tallyra計算"));
            EXPECT_EQ(script.last().text, c.errorText) << c.name;
        }
    }
}

TEST(Guard, InnerGuardLetsTheErrorEndTheOuterHandler) {
    ScriptedDialogs script;
    bool afterInner = false;
    guard([&] {
        guard([] { rtl::abortSilently(); });  // e.g. an action executed from a handler
        afterInner = true;
    });
    EXPECT_FALSE(afterInner);
    EXPECT_TRUE(script.shown().empty());
}

TEST(Guard, ErrorsAreShownOnceEvenThroughNestedGuards) {
    ScriptedDialogs script;
    guard([] { guard([] { throw rtl::Error("boom"); }); });
    EXPECT_EQ(script.texts(), QStringList{QStringLiteral("boom")});
}

TEST(Guard, StrictGuardCatchesInsideAnotherGuard) {
    ScriptedDialogs script;
    bool refused = false, after = false;
    guard([&] {
        refused = !guardStrict([] { rtl::abortSilently(); });
        after = true;
    });
    EXPECT_TRUE(refused);
    EXPECT_TRUE(after);
}

TEST(Guard, ApplicationNotifyStopsAnExceptionFromAnEventHandler) {
    struct Thrower : QObject {
        bool event(QEvent* e) override {
            if (e->type() == QEvent::User) throw rtl::Error("from an event");
            return QObject::event(e);
        }
    } thrower;
    ScriptedDialogs script;
    QEvent ev(QEvent::User);
    QCoreApplication::sendEvent(&thrower, &ev);
    EXPECT_EQ(script.texts(), QStringList{QStringLiteral("from an event")});
}
