// The slips opened from the real main window's commands.
#include "fixture.h"

#include <QCheckBox>
#include <QLineEdit>

#include <memory>

#include "app/frmMain.h"
#include "app/regionalformats.h"
#include "app/subwindows.h"
#include "report/preview.h"
#include "reports/Emp_Prt.h"
#include "reports/forms.h"
#include "reports/register.h"
#include "rtl/textfile.h"
#include "ui/action.h"
#include "ui/controls.h"

using namespace rtest;

namespace {

class Hub : public SlipTest {
protected:
    void SetUp() override {
        SlipTest::SetUp();
        previousDir = QDir::currentPath();
        QDir::setCurrent(work.path());
        rtl::writeLines(QDir(work.path()).filePath(QStringLiteral("Quendar.ini")).toStdString(), {dbPath});
        for (const auto& f : reports::reportForms())
            app::subWindows().registerReport(f.formName, f.create,
                                             [](QObject* o) { static_cast<reports::ReportForm*>(o)->Preview(); });
        store = std::make_unique<app::FileRegionalStore>(
            QDir(work.path()).filePath(QStringLiteral("cfg/International.conf")).toStdString());
        main.reset(ui::createForm<TfrmMain>(nullptr, store.get()));
        main->showModeless();
        ASSERT_TRUE(main->startupDone());
        main->EditYY->setText(QStringLiteral("2026"));
        main->EditMM->setText(QStringLiteral("04"));
        main->EditYY2->setText(QStringLiteral("2026"));
    }
    void TearDown() override {
        app::subWindows().freeAll();
        for (const auto& f : reports::reportForms()) app::subWindows().unregister(f.formName);
        main.reset();
        QDir::setCurrent(previousDir);
        SlipTest::TearDown();
    }
    reports::ReportForm* form(const char* name) {
        return qobject_cast<reports::ReportForm*>(app::subWindows().reference(QString::fromLatin1(name)));
    }
    void click(const char* button) { main->findChild<ui::Button*>(QString::fromLatin1(button))->click(); }

    QString previousDir;
    std::unique_ptr<app::FileRegionalStore> store;
    std::unique_ptr<TfrmMain> main;
};

}  // namespace

TEST_F(Hub, PaySlipCommandOpensThePreviewOfTheChosenLayout) {
    payRecord("26/04", 1);
    click("btnK_Meisai");
    ASSERT_NE(form("frmQR_Kyuyo"), nullptr);
    EXPECT_EQ(main->EditPName->text(), QStringLiteral("QR_Kyuyo"));
    QPointer<report::PreviewWindow> preview = form("frmQR_Kyuyo")->preview();
    ASSERT_TRUE(preview);
    EXPECT_TRUE(preview->isVisible());
    EXPECT_EQ(preview->document().csvRows.size(), 1u);

    // The pre-printed form by the setting; the previous form and its preview are freed.
    conn().execute("UPDATE sys_mas SET PRT_FLG = '1'");
    click("btnK_Meisai");
    EXPECT_FALSE(preview);
    ASSERT_NE(form("frmQR_Kyuyo1170"), nullptr);
    EXPECT_EQ(main->EditPName->text(), QStringLiteral("QR_Kyuyo1170"));
    EXPECT_TRUE(form("frmQR_Kyuyo1170")->preview()->isVisible());
}

TEST_F(Hub, NoRecordsOfTheMonthShowTheMessageAndOpenNothing) {
    payRecord("26/03", 1);
    insert("minus_dat", {{"M_No", 1}, {"M_DATE", "26/03"}});
    for (const char* button : {"btnK_Meisai", "btnMainus"}) {
        SCOPED_TRACE(button);
        dialogs.clear();
        click(button);
        ASSERT_EQ(dialogs.shown().size(), 1u);
        EXPECT_EQ(dialogs.last().text, QStringLiteral("指定月の給与明細データがありません。"));
        EXPECT_TRUE(main->EditPName->text().isEmpty());
    }
    EXPECT_EQ(form("frmQR_Kyuyo"), nullptr);
    EXPECT_EQ(form("frmQR_Minus"), nullptr);
}

TEST_F(Hub, WeeklyPaySlipsCountAndPrintUnderTheLastDateOfThePeriod) {
    payRecord("26/04/07", 1);
    main->CheckBox2->setChecked(true);
    main->EditD1->setText(QStringLiteral("26/04/01"));
    main->EditD2->setText(QStringLiteral("26/04/07"));
    click("btnK_Meisai");
    ASSERT_NE(form("frmQR_Kyuyo"), nullptr);
    EXPECT_EQ(form("frmQR_Kyuyo")->preview()->document().csvRows.size(), 1u);
    EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(Hub, BonusSlipCommandOpensTheBonusPreview) {
    payRecord("26-2", 1, {{"S_SHOYO_F", "1"}});
    main->ComboBox1->setCurrentIndex(main->ComboBox1->findText(QStringLiteral("2")));
    click("btnShoyoPrt");
    ASSERT_NE(form("frmQR_KyuyoS"), nullptr);
    EXPECT_EQ(main->EditPName->text(), QStringLiteral("QR_KyuyoS"));
    EXPECT_EQ(form("frmQR_KyuyoS")->preview()->document().csvRows.size(), 1u);
}

TEST_F(Hub, DeductionSlipCommandOpensItsPreviewWithoutCsv) {
    insert("minus_dat", {{"M_No", 1}, {"M_DATE", "26/04"}, {"M_TANMEI", "鈴木一郎"}, {"M_GKING", 1000}});
    click("btnMainus");
    ASSERT_NE(form("frmQR_Minus"), nullptr);
    EXPECT_EQ(main->EditPName->text(), QStringLiteral("QR_Minus"));
    report::PreviewWindow* preview = form("frmQR_Minus")->preview();
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->windowTitle(), QStringLiteral("天引明細"));
    EXPECT_FALSE(preview->document().pages.at(0).find(QStringLiteral("鈴木一郎")).empty());
    EXPECT_EQ(preview->findChild<QWidget*>(QStringLiteral("btnCsv")), nullptr);
}

TEST_F(Hub, LedgerCommandsOpenTheVariantThatCategoryPrintingChooses) {
    employee(1, "山田太郎");
    payRecord("26/04", 1, {{"S_BASKING", 150000}});
    payRecord("26-1", 1, {{"S_SHOYO_F", "1"}, {"S_BASKING", 300000}});
    const struct {
        const char* button;
        bool byCategory;
        const char* form;
    } cases[] = {
        {"btnKyuyoRep", false, "frmQR_KyuyoRep"},   {"btnKyuyoRep", true, "frmQR_KyuyoRep2"},
        {"btnHokenPrt", false, "frmQR_HokenRep"},   {"btnHokenPrt", true, "frmQR_HokenRep2"},
        {"btnShoyoRep", false, "frmQR_KyuyoRepS"},  {"btnShoyoRep", true, "frmQR_KyuyoRepS2"},
        {"btnHokenSPrt", false, "frmQR_HokenRepS"}, {"btnHokenSPrt", true, "frmQR_HokenRepS2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.button) + (c.byCategory ? " by category" : ""));
        main->findChild<QCheckBox*>(QStringLiteral("CheckBox1"))->setChecked(c.byCategory);
        click(c.button);
        reports::ReportForm* f = form(c.form);
        ASSERT_NE(f, nullptr);
        ASSERT_NE(f->preview(), nullptr);
        EXPECT_EQ(f->preview()->document().rows, 1u);
        EXPECT_EQ(main->EditPName->text(), QString::fromLatin1(c.form).mid(3));
    }
}

TEST_F(Hub, EnvelopeCommandsOpenTheSelectionWhoseReportsAreItsOwn) {
    reports::registerWindows([](const QString& name, reports::FormFactory create) {
        if (name == QLatin1String("frmEmp_Prt")) app::subWindows().registerForm(name, std::move(create));
    });
    insert("emp_tanka", {{"E_NO", 1}, {"E_NAME", "山田太郎"}, {"E_DROPKBN", "1"}, {"PRT_FLG", "1"}});
    for (const char* button : {"btnFuto", "Button7"}) {
        SCOPED_TRACE(button);
        click(button);
        auto* w = qobject_cast<TfrmEmp_Prt*>(app::subWindows().reference(QStringLiteral("frmEmp_Prt")));
        ASSERT_NE(w, nullptr);
        EXPECT_TRUE(w->isVisible());
        EXPECT_EQ(main->EditPName->text(), QStringLiteral("Emp_Prt"));
        w->btnPrt->click();
        ASSERT_NE(w->envelopeRight()->preview(), nullptr);
        EXPECT_EQ(w->envelopeRight()->preview()->document().pages.size(), 1u);
    }
    app::subWindows().unregister(QStringLiteral("frmEmp_Prt"));
}
