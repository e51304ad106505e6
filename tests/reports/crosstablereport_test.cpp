// The printed daily cross table on its laid-out pages, and tallyra-bench
// rendering it and writing the wage ledger.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "benchrun.h"
#include "reports/crosstablereport.h"
#include "reports/forms.h"
#include "reports/ledger.h"
#include "rtl/textfile.h"
#include "workfolder.h"
#include "xlsxfile.h"

namespace reports::testing {
namespace {

// 21 employees: one more than a page holds. Employee 40001 has a split shift
// on the 2nd; April has 30 days.
class CrossTableReport : public ReportFolder {
public:
    void SetUp() override {
        ReportFolder::SetUp();
        for (int n = 1; n <= 20; ++n) addEmployee(n, "社員" + std::to_string(n));
        addEmployee(40001, "高橋次郎");
        addAttendance(1, 2024, 4, 1, "08:00");
        addAttendance(40001, 2024, 4, 2, "04:00");
        addAttendance(40001, 2024, 4, 2, "03:30");
        addAttendance(40001, 2024, 4, 30, "06:15");
    }
    report::Document render() {
        EXPECT_EQ(buildCrossTable(
                      connection(), "24/04", [](auto&&...) { return true; }, [](auto&&...) {}),
                  CrossTableOutcome::Built);
        return renderCrossTable(readDayWork(connection()), QStringLiteral("2024/05/20"), nullptr);
    }
};

const report::PlacedText* only(const report::Page& page, const QString& text) {
    const auto found = page.find(text);
    EXPECT_EQ(found.size(), 1u) << text.toStdString();
    return found.empty() ? nullptr : found.front();
}

TEST_F(CrossTableReport, TwentyColumnsAPageAndTheTwentyFirstStartsPageTwo) {
    const report::Document doc = render();
    ASSERT_EQ(doc.pages.size(), 2u);
    EXPECT_EQ(doc.rows, 21u);
    EXPECT_TRUE(doc.page.landscape);
    const double column = (297.0 - 25 - 10) / 20;

    // Page 1: the title with the month and the print date, the first twenty columns.
    const report::Page& first = doc.pages[0];
    ASSERT_NE(only(first, "日別一覧表　（24/04）"), nullptr);
    ASSERT_NE(only(first, "24/05/20"), nullptr);
    const report::PlacedText* one = only(first, "社員1");
    const report::PlacedText* twenty = only(first, "社員20");
    ASSERT_TRUE(one && twenty);
    EXPECT_NEAR(one->box.x, 25.3, 0.01);
    EXPECT_NEAR(twenty->box.x, 25.3 + 19 * column, 0.01);
    EXPECT_NEAR(one->box.y, twenty->box.y, 0.01);
    EXPECT_EQ(first.find(QStringLiteral("高橋次郎")).size(), 0u);

    // Page 2: the twenty-first employee in column 1, level with page 1's columns;
    // the title only on the first page, the day labels on both.
    const report::Page& second = doc.pages[1];
    const auto name = second.named(QStringLiteral("QRDBText_TNAME"));
    ASSERT_FALSE(name.empty());
    EXPECT_EQ(name.front()->text, "高橋次郎");
    EXPECT_NEAR(name.front()->box.x, 25.3, 0.01);
    EXPECT_NEAR(name.front()->box.y, one->box.y, 0.01);
    EXPECT_TRUE(second.find(QStringLiteral("日別一覧表　（24/04）")).empty());
    EXPECT_EQ(second.find(QStringLiteral("31日")).size(), 1u);
    EXPECT_EQ(first.find(QStringLiteral("31日")).size(), 1u);

    // The split shift shows its sum, level with the label of the 2nd; the 31st is empty.
    const report::PlacedText* split = only(second, "07:30");
    const report::PlacedText* label2 = only(second, "2日");
    ASSERT_TRUE(split && label2);
    EXPECT_NEAR(split->box.y, label2->box.y, 0.01);
    const report::PlacedText* last = only(second, "06:15");
    const report::PlacedText* label30 = only(second, "30日");
    ASSERT_TRUE(last && label30);
    EXPECT_NEAR(last->box.y, label30->box.y, 0.01);
    EXPECT_EQ(second.named(QStringLiteral("QRDBText_D31")).size(), 0u);
    EXPECT_EQ(first.named(QStringLiteral("QRDBText_D1")).size(), 1u);  // only 社員1 worked on the 1st
}

TEST_F(CrossTableReport, AnEmptyTableStillPrintsItsPage) {
    const report::Document doc = renderCrossTable({}, QStringLiteral("2024/05/20"), nullptr);
    ASSERT_EQ(doc.pages.size(), 1u);
    EXPECT_EQ(doc.pages[0].find(QStringLiteral("日別一覧表")).size(), 1u);
}

// The hub's report form prints the table as it stands.
TEST_F(CrossTableReport, TheFormPrintsTheTableAsItStands) {
    render();
    const FormInfo* form = findForm(QStringLiteral("frmQR_Closs"));
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->className, "TfrmQR_Closs");
    exec("DELETE FROM kimu_tran");  // no rebuild: the table keeps its rows
    const report::Document doc = form->render(connection(), {}, nullptr);
    EXPECT_EQ(doc.pages.size(), 2u);
    EXPECT_EQ(doc.pages[1].find(QStringLiteral("07:30")).size(), 1u);
}

// ---------------------------------------------------------------- tallyra-bench

using Outcome = BenchOutcome;
Outcome bench(const QStringList& args) { return runBench(args); }

class BenchRender : public CrossTableReport {
public:
    void SetUp() override {
        CrossTableReport::SetUp();
        rtl::writeLines(path("Quendar.ini"), {path("Wendrasol.mdb")});
        addPay(1, "24/04", {{"S_DAYS", 20}});
        addPay(40001, "24/05", {{"S_DAYS", 3}});
        connection().close();
    }
    QString file(const char* name) { return QString::fromStdString(path(name)); }
    QStringList args(const char* form, const char* outOption, const char* out) {
        return {QStringLiteral("render"),  QString::fromStdString(dir.string()), QStringLiteral("--form"),
                QString::fromLatin1(form), QString::fromLatin1(outOption),       file(out)};
    }
};

TEST_F(BenchRender, TheCrossTableIsBuiltInMemoryAndPrinted) {
    const Outcome r = bench(
        args("TfrmQR_Closs", "--pdf", "closs.pdf") +
        QStringList{QStringLiteral("--year"), QStringLiteral("2024"), QStringLiteral("--month"), QStringLiteral("04")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("2 page(s), 21 record(s)"))) << r.out.toStdString();
    EXPECT_TRUE(QFile::exists(file("closs.pdf")));
    EXPECT_EQ(count("SELECT COUNT(*) FROM day_work"), 0);  // the working database is only read
}

TEST_F(BenchRender, AMonthWithoutAttendanceIsNotBuilt) {
    const Outcome r =
        bench(args("TfrmQR_Closs", "--pdf", "june.pdf") + QStringList{QStringLiteral("--year"), QStringLiteral("2024"),
                                                                      QStringLiteral("--month"), QStringLiteral("06")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("編集データが存在しません。"))) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(file("june.pdf")));
}

TEST_F(BenchRender, TheLedgerGoesIntoTheWorkbookNamed) {
    Outcome r = bench(args("TfrmMKyuyoRep", "--xlsx", "all.xlsx") +
                      QStringList{QStringLiteral("--from"), QStringLiteral("2024/04"), QStringLiteral("--to"),
                                  QStringLiteral("2025/03")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("2 sheet(s)"))) << r.out.toStdString();
    xlsxtest::Book all(path("all.xlsx"));
    EXPECT_EQ(all.sheetNames(), (std::vector<std::string>{"Sheet1", "Sheet1 (3)", "Sheet1 (2)"}));
    EXPECT_EQ(all.cell("Sheet1 (2)", "M8").value, "3");
    EXPECT_FALSE(std::filesystem::exists(path(LedgerTemplateName)));  // nothing written into the folder

    r = bench(args("TfrmMKyuyoRep", "--xlsx", "one.xlsx") +
              QStringList{QStringLiteral("--year"), QStringLiteral("2024"), QStringLiteral("--month"),
                          QStringLiteral("06"), QStringLiteral("--employee"), QStringLiteral("000001")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    xlsxtest::Book one(path("one.xlsx"));
    EXPECT_EQ(one.sheetNames(), (std::vector<std::string>{"Sheet1", "Sheet1 (2)"}));
    EXPECT_EQ(one.cell("Sheet1 (2)", "I8").value, "");
    EXPECT_EQ(one.cell("Sheet1 (2)", "U8").value, "20");  // January is column I: April is U
}

TEST_F(BenchRender, LedgerMistakesAreSaidClearly) {
    const struct {
        const char* name;
        QStringList extra;
        int code;
        const char* says;
    } cases[] = {
        {"no range", {}, 2, "needs --from"},
        {"too long", {"--from", "2024/01", "--to", "2025/01"}, 2, "12か月以内"},
        {"unknown employee", {"--year", "2024", "--month", "06", "--employee", "999999"}, 2, "no employee"},
        {"no records", {"--from", "2020/01", "--to", "2020/12"}, 1, "給与データがありません"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Outcome r = bench(args("TfrmMKyuyoRep", "--xlsx", "x.xlsx") + c.extra);
        EXPECT_EQ(r.code, c.code);
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.says))) << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(file("x.xlsx")));
    }
    const Outcome pdf = bench(args("TfrmMKyuyoRep", "--pdf", "x.pdf"));
    EXPECT_EQ(pdf.code, 2);
    EXPECT_TRUE(pdf.err.contains(QStringLiteral("--xlsx"))) << pdf.err.toStdString();
}

}  // namespace
}  // namespace reports::testing
