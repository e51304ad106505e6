// The report forms: Preview reads the keys of the main window, the preview
// owns what it shows, and freeing the form closes its preview.
#include "fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>

#include "report/preview.h"
#include "reports/forms.h"

using namespace rtest;

namespace {

// Just the main window's fields the forms read, under their object names.
struct FakeMain {
    FakeMain() {
        window.setObjectName(QStringLiteral("frmMain"));
        for (const char* name : {"EditYY", "EditMM", "EditYY2", "EditD1", "EditD2", "Edit1"}) {
            auto* e = new QLineEdit(&window);
            e->setObjectName(QString::fromLatin1(name));
        }
        auto* combo = new QComboBox(&window);
        combo->setObjectName(QStringLiteral("ComboBox1"));
        combo->addItems({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")});
        auto* weekly = new QCheckBox(&window);
        weekly->setObjectName(QStringLiteral("CheckBox2"));
        window.show();
    }
    void set(const char* name, const char* text) {
        window.findChild<QLineEdit*>(QString::fromLatin1(name))->setText(QString::fromUtf8(text));
    }
    QWidget window;
};

}  // namespace

TEST_F(SlipTest, PreviewShowsTheMainWindowsMonthAndKeepsItsPages) {
    FakeMain main;
    main.set("EditYY", "2026");
    main.set("EditMM", "04");
    for (int i = 1; i <= 5; ++i) payRecord("26/04", i);
    auto* form = new reports::TfrmQR_Kyuyo;
    EXPECT_EQ(form->objectName(), QStringLiteral("frmQR_Kyuyo"));
    form->Preview();
    QPointer<report::PreviewWindow> preview = form->preview();
    ASSERT_TRUE(preview);
    EXPECT_TRUE(preview->isVisible());
    EXPECT_EQ(preview->windowTitle(), QStringLiteral("給与明細"));
    EXPECT_EQ(preview->findChild<QLabel*>(QStringLiteral("lblPage"))->text(), QStringLiteral("1 / 2"));

    // What is shown stays what prints: later changes to keys or rows do not reach it.
    main.set("EditMM", "05");
    conn().execute("DELETE FROM sum_tran");
    EXPECT_EQ(preview->document().pages.size(), 2u);
    EXPECT_EQ(preview->document().csvRows.size(), 5u);

    // A second preview of the same form replaces the first; freeing the form closes it.
    form->Preview();
    EXPECT_FALSE(preview);
    QPointer<report::PreviewWindow> second = form->preview();
    EXPECT_EQ(second->document().csvRows.size(), 0u);
    delete form;
    EXPECT_FALSE(second);
}

TEST_F(SlipTest, BonusFormReadsTheBonusPageFields) {
    FakeMain main;
    main.set("EditYY", "2025");  // the month page's year does not matter
    main.set("EditYY2", "2026");
    main.window.findChild<QComboBox*>(QStringLiteral("ComboBox1"))->setCurrentIndex(1);
    payRecord("26-2", 1, {{"S_SHOYO_F", "1"}});
    payRecord("25-2", 2, {{"S_SHOYO_F", "1"}});
    reports::TfrmQR_KyuyoS form;
    form.Preview();
    ASSERT_NE(form.preview(), nullptr);
    ASSERT_EQ(form.preview()->document().csvRows.size(), 1u);
    EXPECT_EQ(form.preview()->document().csvRows[0][1], QStringLiteral("1"));
}

TEST_F(SlipTest, PreprintedPreviewWarnsAboutAllowancesWithoutABox) {
    FakeMain main;
    main.set("EditYY", "2026");
    main.set("EditMM", "04");
    employee(3, "佐藤一郎");
    payRecord("26/04", 3, {{"S_GKING6", 700}});
    reports::TfrmQR_Kyuyo1170 form;
    form.Preview();
    auto* warning = form.preview()->findChild<QLabel*>(QStringLiteral("lblWarning"));
    ASSERT_NE(warning, nullptr);
    EXPECT_TRUE(warning->isVisible());
    EXPECT_TRUE(warning->text().contains(QStringLiteral("佐藤一郎"))) << warning->text().toStdString();
    EXPECT_TRUE(warning->text().contains(QStringLiteral("手当6")));
}
