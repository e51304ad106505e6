// Both windows opened from the real main window through its hub, and the
// close step of the time-card entry switching the main window's buttons.
#include <gtest/gtest.h>

#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>

#include <memory>

#include "app/frmMain.h"
#include "app/regionalformats.h"
#include "app/subwindows.h"
#include "data/DB_Acs.h"
#include "data/delivered.h"
#include "mainwindowtest.h"
#include "rtl/clock.h"
#include "rtl/datetime.h"
#include "rtl/textfile.h"
#include "timecard/TimeInp.h"
#include "timecard/TimeInpRep.h"
#include "timecard/register.h"
#include "ui/action.h"
#include "ui/dialogs.h"

namespace {

class HubWiring : public tsupport::MainWindowTest {
protected:
    void registerWindows() override {
        timecard::registerWindows(
            [this](const QString& name, timecard::FormFactory create) { registerForm(name, std::move(create)); });
    }
    void SetUp() override {
        MainWindowTest::SetUp();
        dialogs.clear();
    }
    rtl::ScopedTestClock clock{rtl::encodeDateTime(2024, 5, 20, 9, 0, 0)};
};

TEST_F(HubWiring, TimeCardEntryOpensFromBothCommandsAndItsCloseSetsTheButtons) {
    main->btnTimeInp->click();
    auto* entry = qobject_cast<TfrmTimeInp*>(app::subWindows().reference("frmTimeInp"));
    ASSERT_NE(entry, nullptr);
    EXPECT_TRUE(entry->isVisible());
    EXPECT_EQ(main->EditPName->text(), QStringLiteral("TimeInp"));

    entry->Edit1->setText(QStringLiteral("000001"));
    entry->Button1->click();
    entry->btnClose->click();
    EXPECT_FALSE(entry->isVisible());
    EXPECT_TRUE(main->btnDayRep->isEnabled());
    EXPECT_TRUE(main->btnJ_Meisai->isEnabled());
    EXPECT_TRUE(main->btnTimeRep->isEnabled());

    main->action("Act_TimeCard")->execute();
    auto* again = qobject_cast<TfrmTimeInp*>(app::subWindows().reference("frmTimeInp"));
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(again->isVisible());
    data::DataModule1->ADOConnection1.execute("DELETE FROM タイムカード");
    again->btnClose->click();
    EXPECT_FALSE(main->btnDayRep->isEnabled());
    EXPECT_FALSE(main->btnJ_Meisai->isEnabled());
    EXPECT_FALSE(main->btnTimeRep->isEnabled());
    EXPECT_TRUE(dialogs.shown().empty()) << dialogs.texts().join("|").toStdString();
}

TEST_F(HubWiring, AttendanceBookOpensFromItsButton) {
    main->btnCardRep->click();
    auto* book = qobject_cast<TfrmTimeInpRep*>(app::subWindows().reference("frmTimeInpRep"));
    ASSERT_NE(book, nullptr);
    EXPECT_TRUE(book->isVisible());
    EXPECT_EQ(main->EditPName->text(), QStringLiteral("TimeInpRep"));
    EXPECT_TRUE(data::DataModule1->TimeCardInp.active());
}

}  // namespace
