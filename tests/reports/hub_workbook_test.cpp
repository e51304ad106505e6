// The daily cross table and the wage ledger opened from the real main window.
#include <gtest/gtest.h>

#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>

#include <filesystem>
#include <memory>

#include "app/commands.h"
#include "app/frmMain.h"
#include "app/regionalformats.h"
#include "app/shell.h"
#include "app/subwindows.h"
#include "data/DB_Acs.h"
#include "data/delivered.h"
#include "mainwindowtest.h"
#include "report/preview.h"
#include "reports/ClossRep.h"
#include "reports/MKyuyoRep.h"
#include "reports/crosstable.h"
#include "reports/forms.h"
#include "rtl/clock.h"
#include "rtl/datetime.h"
#include "rtl/textfile.h"
#include "ui/action.h"
#include "ui/dialogs.h"

namespace {

class ReportsHub : public tsupport::MainWindowTest {
protected:
    void registerWindows() override {
        app::setShellHooksForTesting({[this](const QString& f) {
                                          opened << f;
                                          return true;
                                      },
                                      [](const QString&) { return true; }});
        app::registerSubWindows();
    }
    void beforeShow() override { app::connectCommands(*main); }
    void SetUp() override {
        MainWindowTest::SetUp();
        if (HasFatalFailure()) return;
        main->EditYY->setText("2024");
        main->EditMM->setText("04");
        dialogs.clear();
        auto& c = data::DataModule1->ADOConnection1;
        c.execute("INSERT INTO emp_tanka (E_NO, E_TANCOD, E_NAME, E_DROPKBN) VALUES (40001, '040001', '高橋', '1')");
        c.execute("INSERT INTO kimu_tran (K_TANCOD, K_DATE, K_SYUGYO) VALUES (40001, ?, '08:00')",
                  {rtl::encodeDate(2024, 4, 9)});
        c.execute("INSERT INTO sum_tran (S_TANCOD, S_DATE, S_DAYS) VALUES (40001, '24/04', 20)");
    }
    void TearDown() override {
        MainWindowTest::TearDown();
        app::resetShellHooks();
        reports::setDocumentOpener({});
    }
    QStringList opened;
    rtl::ScopedTestClock clock{rtl::encodeDateTime(2024, 5, 20, 9, 0, 0)};
};

TEST_F(ReportsHub, DailyTableIsBuiltForThePayMonthAndShown) {
    dialogs.answer("Yes").answer("Yes");
    main->btnDayRep->click();
    EXPECT_EQ(dialogs.texts(), (QStringList{"日別データを再構築しますか。？", "日別データを作成しますか。？"}));
    auto* screen = qobject_cast<TfrmClossRep*>(app::subWindows().reference("frmClossRep"));
    ASSERT_NE(screen, nullptr);
    EXPECT_TRUE(screen->isVisible());
    EXPECT_EQ(main->EditPName->text(), "ClossRep");
    const reports::DayWorkTable t = reports::readDayWork(data::DataModule1->ADOConnection1);
    EXPECT_EQ(t.month, "24/04");
    ASSERT_EQ(t.rows.size(), 1u);
    EXPECT_EQ(t.rows[0].employee, 40001);
    EXPECT_EQ(t.rows[0].days[8], "08:00");

    // "印刷" opens the preview of the report form created with the screen.
    auto* form = qobject_cast<reports::ReportForm*>(app::subWindows().reference("frmQR_Closs"));
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->preview(), nullptr);
    screen->Button2->click();
    ASSERT_NE(form->preview(), nullptr);
    EXPECT_TRUE(form->preview()->isVisible());
}

TEST_F(ReportsHub, LedgerWindowWritesAndOpensTheWorkbook) {
    main->btnDaichou->click();
    auto* ledger = qobject_cast<TfrmMKyuyoRep*>(app::subWindows().reference("frmMKyuyoRep"));
    ASSERT_NE(ledger, nullptr);
    EXPECT_EQ(main->EditPName->text(), "MKyuyoRep");
    EXPECT_EQ(ledger->EditMM_E->text(), "04");
    ledger->btnPrint->click();
    const QString out = work.filePath("Kyuyo_daicho_202404.xlsx");
    EXPECT_TRUE(QFile::exists(out)) << dialogs.texts().join("|").toStdString();
    ASSERT_EQ(opened.size(), 1);
    EXPECT_TRUE(opened[0].endsWith("/Kyuyo_daicho_202404.xlsx")) << opened[0].toStdString();
}

}  // namespace
