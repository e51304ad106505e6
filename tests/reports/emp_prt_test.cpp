// The envelope selection window driven by its object names: marking and
// clearing everyone, a mark typed and not yet saved, the two previews.
#include "fixture.h"

#include <QLineEdit>
#include <QPointer>

#include "data/DB_Acs.h"
#include "report/preview.h"
#include "reports/Emp_Prt.h"
#include "reports/forms.h"
#include "ui/action.h"
#include "ui/dbgrid.h"

using namespace rtest;

namespace {

class EnvelopeWindow : public SlipTest {
protected:
    void SetUp() override {
        SlipTest::SetUp();
        person(1, "山田太郎", "1", "0");
        person(2, "退職者", "0", "0");
        person(3, "佐藤花子", "1", "0");
        w = ui::createForm<TfrmEmp_Prt>(nullptr);
        w->showModeless();
    }
    void TearDown() override {
        delete w.data();
        SlipTest::TearDown();
    }
    void person(int no, const std::string& name, const char* inService, const char* mark) {
        insert("emp_tanka", {{"E_NO", no},
                             {"E_TANCOD", rtl::fromQString(QString::asprintf("%06d", no))},
                             {"E_NAME", name},
                             {"E_DROPKBN", inService},
                             {"PRT_FLG", mark}});
    }
    QStringList marks() {
        QStringList out;
        const db::ResultSet r = conn().select("SELECT PRT_FLG FROM emp_tanka ORDER BY E_NO");
        for (const auto& row : r.rows) out << rtl::toQString(row[0].toString());
        return out;
    }
    // The names on the envelopes of a report's preview, page by page.
    static QStringList printed(reports::ReportForm* report) {
        QStringList out;
        if (!report || !report->preview()) return out;
        for (const report::Page& p : report->preview()->document().pages)
            for (const report::PlacedText& t : p.texts) out << t.text;
        return out;
    }
    QPointer<TfrmEmp_Prt> w;
};

}  // namespace

TEST_F(EnvelopeWindow, ShowsTheEmployeesInServiceWithTheirMarks) {
    EXPECT_EQ(w->windowTitle(), QStringLiteral("封筒印刷選択"));
    EXPECT_EQ(data::DataModule1->Q_emp_tankaP.recordCount(), 2);
    ASSERT_EQ(w->DBGrid1->columns().size(), 4u);
    EXPECT_EQ(w->DBGrid1->columns()[3].fieldName, QStringLiteral("PRT_FLG"));
    EXPECT_FALSE(w->DBGrid1->columns()[3].readOnly);
    EXPECT_TRUE(w->DBGrid1->columns()[1].readOnly);
    EXPECT_EQ(w->DBGrid1->pickList(3), (QStringList{"0", "1"}));
    for (const char* name : {"btnChkAll", "btnChkNo", "btnPrt", "btnPrtC", "btnClose"})
        EXPECT_NE(w->findChild<ui::Button*>(QString::fromLatin1(name)), nullptr) << name;
}

TEST_F(EnvelopeWindow, SelectAllMarksARetiredEmployeeWhoStillGetsNoEnvelope) {
    w->btnChkAll->click();
    EXPECT_EQ(marks(), (QStringList{"1", "1", "1"}));
    w->btnPrt->click();
    EXPECT_TRUE(dialogs.shown().empty()) << dialogs.texts().join('\n').toStdString();
    EXPECT_EQ(printed(w->envelopeRight()), (QStringList{"山田太郎  殿", "佐藤花子  殿"}));
    EXPECT_EQ(w->EditPName->text(), QStringLiteral("QR_FutoL4"));
    w->btnPrtC->click();
    EXPECT_EQ(printed(w->envelopeCentre()), (QStringList{"山田太郎  殿", "佐藤花子  殿"}));
}

TEST_F(EnvelopeWindow, AMarkChangedAndNotYetSavedIsPrinted) {
    db::Query& q = data::DataModule1->Q_emp_tankaP;
    q.last();  // 佐藤花子
    q.edit();
    q.fieldByName("PRT_FLG").setAsString("1");
    ASSERT_EQ(marks(), (QStringList{"0", "0", "0"}));
    w->btnPrtC->click();
    EXPECT_EQ(marks(), (QStringList{"0", "0", "1"}));
    EXPECT_EQ(printed(w->envelopeCentre()), QStringList{"佐藤花子  殿"});
}

TEST_F(EnvelopeWindow, AfterClearAllBothPrintButtonsSayThereIsNothingToPrint) {
    w->btnChkAll->click();
    w->btnChkNo->click();
    EXPECT_EQ(marks(), (QStringList{"0", "0", "0"}));
    for (ui::Button* b : {w->btnPrt, w->btnPrtC}) {
        dialogs.clear();
        b->click();
        ASSERT_EQ(dialogs.shown().size(), 1u);
        EXPECT_EQ(dialogs.last().text, QStringLiteral("印刷対象がありません"));
    }
    EXPECT_EQ(w->envelopeRight()->preview(), nullptr);
    EXPECT_EQ(w->envelopeCentre()->preview(), nullptr);
}

TEST_F(EnvelopeWindow, ClosingFreesTheEnvelopeReportsAndClosesTheList) {
    w->btnChkAll->click();
    w->btnPrt->click();
    QPointer<reports::ReportForm> right = w->envelopeRight();
    QPointer<report::PreviewWindow> preview = right->preview();
    ASSERT_FALSE(preview.isNull());
    w->btnClose->click();
    EXPECT_TRUE(right.isNull());
    EXPECT_TRUE(preview.isNull());
    EXPECT_FALSE(data::DataModule1->Q_emp_tankaP.active());
}
