// Finding windows and their controls by object name.
#include <gtest/gtest.h>

#include "ui/action.h"
#include "ui/form.h"
#include "ui/windows.h"

#include <QApplication>
#include <QLineEdit>
#include <QPointer>

#include <memory>
#include <vector>

using namespace ui;

TEST(TopLevelWindow, NewestVisibleThenNewestAliveAndNeverAFreedOne) {
    EXPECT_EQ(topLevelWindow(QStringLiteral("frmNone")), nullptr);

    // Enough windows of one name that the order of Qt's own list cannot pass
    // for the order of creation by chance.
    std::vector<std::unique_ptr<Form>> forms;
    for (int i = 0; i < 6; ++i) forms.push_back(std::make_unique<Form>(QStringLiteral("frmSame")));
    Form other(QStringLiteral("frmOther"));
    QWidget plain;  // a top-level widget that is no form
    plain.setObjectName(QStringLiteral("frmPlain"));

    EXPECT_EQ(topLevelWindow(QStringLiteral("frmSame")), forms.back().get());  // none shown
    for (auto& f : forms) f->show();
    EXPECT_EQ(topLevelWindow(QStringLiteral("frmSame")), forms.back().get());
    forms.back()->hide();
    forms[4]->hide();
    EXPECT_EQ(topLevelWindow(QStringLiteral("frmSame")), forms[3].get());  // visible beats newer
    for (auto& f : forms) f->hide();
    forms[1]->show();
    EXPECT_EQ(topLevelWindow(QStringLiteral("frmSame")), forms[1].get());
    forms[1]->hide();

    // A released form waits for the event loop but is gone for the program.
    QPointer<Form> released = forms.back().release();
    released->release();
    ASSERT_TRUE(released);
    EXPECT_EQ(topLevelWindow(QStringLiteral("frmSame")), forms[4].get());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(released.isNull());

    EXPECT_EQ(topLevelWindow(QStringLiteral("frmOther")), &other);
    EXPECT_EQ(topLevelWindow(QStringLiteral("frmPlain")), &plain);
}

TEST(TopLevelWindow, AControlIsNoWindow) {
    Form main(QStringLiteral("frmMain"));
    auto* edit = new QLineEdit(&main);
    edit->setObjectName(QStringLiteral("frmLookalike"));
    EXPECT_EQ(topLevelWindow(QStringLiteral("frmLookalike")), nullptr);
}

TEST(ChildOf, TheWindowsOwnControlNotOneOfAWindowItOwns) {
    Form main(QStringLiteral("frmMain"));
    // A sub-window owned by the main window, made first, with a field of the same name.
    auto* sub = new Form(QStringLiteral("frmTimeInp"), &main);
    auto* subEdit = new QLineEdit(sub);
    subEdit->setObjectName(QStringLiteral("Edit1"));
    auto* panel = new QWidget(&main);
    auto* mainEdit = new QLineEdit(panel);
    mainEdit->setObjectName(QStringLiteral("Edit1"));
    auto* button = new Button(QStringLiteral("btnDayRep"), QStringLiteral("日別一覧"), panel);

    EXPECT_EQ(childOf<QLineEdit>(&main, QStringLiteral("Edit1")), mainEdit);
    EXPECT_EQ(childOf(&main, QStringLiteral("Edit1")), mainEdit);
    EXPECT_EQ(childOf<QLineEdit>(sub, QStringLiteral("Edit1")), subEdit);
    EXPECT_EQ(childOf<Button>(&main, QStringLiteral("btnDayRep")), button);
    // Of another type, or missing, or without a window: nothing.
    EXPECT_EQ(childOf<QLineEdit>(&main, QStringLiteral("btnDayRep")), nullptr);
    EXPECT_EQ(childOf(&main, QStringLiteral("EditYY")), nullptr);
    EXPECT_EQ(childOf(static_cast<QWidget*>(nullptr), QStringLiteral("Edit1")), nullptr);

    // By the window's name in one go.
    EXPECT_EQ(childOf<QLineEdit>(QStringLiteral("frmMain"), QStringLiteral("Edit1")), mainEdit);
    EXPECT_EQ(childOf<QLineEdit>(QStringLiteral("frmTimeInp"), QStringLiteral("Edit1")), subEdit);
    EXPECT_EQ(childOf<QLineEdit>(QStringLiteral("frmNone"), QStringLiteral("Edit1")), nullptr);
}
