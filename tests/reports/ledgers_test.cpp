// The ledgers, the work record and the envelopes on their laid-out pages:
// paging, headers on every page, totals against the columns they sum,
// categories on pages of their own, and what each form selects.
#include "fixture.h"

#include <set>

#include "report/layout.h"
#include "reports/forms.h"
#include "reports/ledgerdata.h"
#include "reports/ledgers.h"

using namespace rtest;
using report::Document;
using report::Page;
using report::PlacedText;

namespace {

Document render(const char* form, const reports::PrintState& s) {
    const reports::FormInfo* f = reports::findForm(QString::fromLatin1(form));
    EXPECT_NE(f, nullptr) << form;
    return f->render(data::DataModule1->ADOConnection1, s, nullptr);
}

long long number(const QString& s) { return QString(s).remove(QLatin1Char(',')).toLongLong(); }

// Sum of the detail values printed from `column` ("S_BASKING") on a page.
long long columnSum(const Page& page, const char* column) {
    long long sum = 0;
    const QString money = QStringLiteral(" %1 #,##0").arg(QLatin1String(column));
    const QString plain = QStringLiteral(" %1").arg(QLatin1String(column));
    for (const PlacedText& t : page.texts)
        if (t.source.startsWith(QStringLiteral("QRDBText")) && (t.source.endsWith(money) || t.source.endsWith(plain)))
            sum += number(t.text);
    return sum;
}

// The total a band prints for a column ("SummaryBand1", "S_BASKING"); -1 when absent.
long long totalOn(const Page& page, const QString& band, const char* column) {
    const auto found = page.named(band + QString::fromLatin1(column).mid(1));
    return found.empty() ? -1 : number(found.front()->text);
}

// The category (S_SEQNO) a page's records belong to, read from the codes
// printed on it: employee n is in category n % 3 + 1 in these fixtures.
std::set<long long> categoriesOn(const Page& page) {
    std::set<long long> out;
    for (const PlacedText* t : page.named(QStringLiteral("QRDBTextCode"))) out.insert(t->text.toLongLong() % 3 + 1);
    return out;
}

class LedgerTest : public SlipTest {
protected:
    // Employees 1..n, each with a record under `key`; category n % 3 + 1.
    void records(int n, const std::string& key, bool bonus = false) {
        for (int i = 1; i <= n; ++i) {
            if (!bonus) employee(i, "社員" + std::to_string(i));
            Cells c = {{"S_SEQNO", i % 3 + 1},
                       {"S_BASKING", 100000 + i * 1000},
                       {"S_TOTALS", 110000 + i * 1000},
                       {"S_TOTALT", 90000 + i * 100},
                       {"S_DAYS", 10 + i % 7},
                       {"S_ZEI_G", 1000 + i},
                       {"S_HOKEN", 5000 + i},
                       {"S_HOKEN2", 6000 + i},
                       {"S_KOYOU2", 300 + i},
                       {"S_HOKENK2", 0},
                       {"S_NENKIN2", 0},
                       {"S_KIKIN2", 0}};
            if (bonus) c["S_SHOYO_F"] = "1";
            payRecord(key, i, c);
        }
    }
};

}  // namespace

TEST_F(LedgerTest, MonthlyLedgerOf40RecordsPagesWithItsHeaderAndSumsItsColumns) {
    records(40, "26/04");
    payRecord("26/03", 1, {{"S_BASKING", 999999}});  // another month
    const Document d = render("TfrmQR_KyuyoRep", month("2026", "04"));
    ASSERT_GE(d.pages.size(), 2u);
    EXPECT_EQ(d.rows, 40u);
    long long bas = 0, net = 0, days = 0, records = 0;
    for (const Page& p : d.pages) {
        EXPECT_EQ(p.find(QStringLiteral("給　与　台　帳")).size(), 1u);
        EXPECT_EQ(p.find(QStringLiteral("基本給")).size(), 1u);
        EXPECT_EQ(p.named(QStringLiteral("QRDBTextDate")).front()->text, QStringLiteral("26/04"));
        bas += columnSum(p, "S_BASKING");
        net += columnSum(p, "S_TOTALT");
        days += columnSum(p, "S_DAYS");
        records += static_cast<long long>(p.named(QStringLiteral("QRDBTextCode")).size());
    }
    EXPECT_EQ(records, 40);
    // The totals stand once, after the last record.
    for (std::size_t i = 0; i + 1 < d.pages.size(); ++i)
        EXPECT_EQ(totalOn(d.pages[i], QStringLiteral("SummaryBand1"), "S_BASKING"), -1);
    const Page& last = d.pages.back();
    EXPECT_EQ(totalOn(last, QStringLiteral("SummaryBand1"), "S_BASKING"), bas);
    EXPECT_EQ(totalOn(last, QStringLiteral("SummaryBand1"), "S_TOTALT"), net);
    EXPECT_EQ(totalOn(last, QStringLiteral("SummaryBand1"), "S_DAYS"), days);
    EXPECT_EQ(bas, 40 * 100000 + 1000 * (40 * 41 / 2));
    EXPECT_EQ(last.find(QStringLiteral("合　計")).size(), 1u);
}

struct GroupedCase {
    const char* name;
    const char* form;
    bool bonus;
};

// A case prints as its name, so the test list stays readable.
void PrintTo(const GroupedCase& c, std::ostream* os) { *os << c.name; }

class GroupedLedger : public LedgerTest, public ::testing::WithParamInterface<GroupedCase> {};

TEST_P(GroupedLedger, EachCategoryStartsAPageWithItsTotalsAndRunningPageTotals) {
    const GroupedCase& c = GetParam();
    for (int i = 1; i <= 30; ++i) employee(i, "社員" + std::to_string(i));
    records(30, c.bonus ? "26-1" : "26/04", c.bonus);
    const Document d = render(c.form, c.bonus ? bonus("2026", "1") : month("2026", "04"));
    ASSERT_GE(d.pages.size(), 3u);
    long long running = 0;
    std::set<long long> seen;
    long long previousCategory = 0;
    long long categorySum = 0;
    for (const Page& p : d.pages) {
        const auto cats = categoriesOn(p);
        ASSERT_EQ(cats.size(), 1u) << "one category per page";
        const long long cat = *cats.begin();
        if (cat != previousCategory) {
            EXPECT_FALSE(seen.count(cat)) << "a category is not split by another";
            seen.insert(cat);
            categorySum = 0;
            previousCategory = cat;
        }
        // Captions in the group header on every page of the category.
        EXPECT_EQ(p.find(QStringLiteral("支給額")).size(), 1u);
        const long long onPage = columnSum(p, "S_BASKING");
        running += onPage;
        categorySum += onPage;
        EXPECT_EQ(totalOn(p, QStringLiteral("PageFooterBand1"), "S_BASKING"), running);
        const long long groupTotal = totalOn(p, QStringLiteral("GroupFooterBand1"), "S_BASKING");
        if (groupTotal != -1) {
            EXPECT_EQ(groupTotal, categorySum);
        }
    }
    EXPECT_EQ(seen, (std::set<long long>{1, 2, 3}));
    EXPECT_NE(totalOn(d.pages.back(), QStringLiteral("GroupFooterBand1"), "S_BASKING"), -1);
}

INSTANTIATE_TEST_SUITE_P(Ledgers, GroupedLedger,
                         ::testing::Values(GroupedCase{"BonusLedgerByCategory", "TfrmQR_KyuyoRepS2", true},
                                           GroupedCase{"InsuranceLedgerByCategory", "TfrmQR_HokenRep2", false},
                                           GroupedCase{"BonusInsuranceLedgerByCategory", "TfrmQR_HokenRepS2", true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(LedgerTest, ByCategoryMonthlyLedgerPrintsItsGrandTotalsOnceAtTheEnd) {
    records(40, "26/04");
    const Document d = render("TfrmQR_KyuyoRep2", month("2026", "04"));
    ASSERT_GE(d.pages.size(), 2u);
    long long running = 0, ends = 0;
    for (const Page& p : d.pages) {
        running += columnSum(p, "S_BASKING");
        EXPECT_EQ(totalOn(p, QStringLiteral("PageFooterBand1"), "S_BASKING"), running);
        if (totalOn(p, QStringLiteral("GroupFooterBand1"), "S_BASKING") != -1) ++ends;
    }
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(totalOn(d.pages.back(), QStringLiteral("GroupFooterBand1"), "S_BASKING"), running);
    // By category, then employee.
    const auto codes = d.pages.front().named(QStringLiteral("QRDBTextCode"));
    ASSERT_GE(codes.size(), 2u);
    EXPECT_EQ(codes[0]->text, QStringLiteral("3"));
    EXPECT_EQ(codes[1]->text, QStringLiteral("6"));
}

TEST_F(LedgerTest, InsuranceLedgerPutsTheEmployerShareUnderTheInsuranceColumns) {
    records(2, "26/04");
    const Document d = render("TfrmQR_HokenRep", month("2026", "04"));
    ASSERT_EQ(d.pages.size(), 1u);
    const Page& p = d.pages[0];
    const char* captions[] = {"健康保険", "介護保険", "厚生年金", "厚生基金", "雇用保険"};
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(captions[i]);
        const auto cap = p.find(QString::fromUtf8(captions[i]));
        const auto employer = p.named(QStringLiteral("QRDBTextEmployer%1").arg(i + 1));
        ASSERT_EQ(cap.size(), 1u);
        ASSERT_EQ(employer.size(), 2u);
        EXPECT_NEAR(employer[0]->box.x, cap[0]->box.x, 1e-9);
        EXPECT_NEAR(employer[0]->box.w, cap[0]->box.w, 1e-9);
    }
    // The employer's line is the second line of its record.
    const auto hoken = p.named(QStringLiteral("QRDBTextEmployer1"));
    EXPECT_EQ(hoken[0]->text, QStringLiteral("6,001"));
    const auto own = p.find(QStringLiteral("5,001"));
    ASSERT_EQ(own.size(), 1u);
    EXPECT_NEAR(hoken[0]->box.y - own[0]->box.y, 4.5, 1e-9);
    EXPECT_EQ(totalOn(p, QStringLiteral("SummaryBand1"), "S_HOKEN2"), 6001 + 6002);
    EXPECT_EQ(totalOn(p, QStringLiteral("SummaryBand1"), "S_KOYOU2"), 301 + 302);
    // The export: a line per record, amounts as plain integers.
    ASSERT_EQ(d.csvRows.size(), 2u);
    const int code = static_cast<int>(d.csvHeader.indexOf(QStringLiteral("社員ｺｰﾄﾞ")));
    const int employerHoken = static_cast<int>(d.csvHeader.indexOf(QStringLiteral("健康保険(事業主)")));
    ASSERT_GE(code, 0);
    ASSERT_GE(employerHoken, 0);
    EXPECT_EQ(d.csvRows[0][code], QStringLiteral("1"));
    EXPECT_EQ(d.csvRows[0][employerHoken], QStringLiteral("6001"));
    // Worked units in smaller type.
    for (const PlacedText& t : p.texts)
        if (t.source.endsWith(QStringLiteral(" S_TANJI"))) {
            EXPECT_EQ(t.font.pointSize, 7);
        }
}

TEST_F(LedgerTest, LedgersOfWeeklyPayUseThePayRecordsKey) {
    records(3, "26/04/07");
    records(0, "26/04");
    reports::PrintState s;
    s.weekly = true;
    s.periodFrom = "26/04/01";
    s.periodTo = "26/04/07";
    s.year = "2026";
    s.month = "04";
    for (const char* form : {"TfrmQR_KyuyoRep", "TfrmQR_KyuyoRep2", "TfrmQR_HokenRep", "TfrmQR_HokenRep2"})
        EXPECT_EQ(render(form, s).rows, 3u) << form;
}

TEST_F(LedgerTest, AnnualLedgerListsThePayYearInDateOrder) {
    employee(1, "社員1");
    for (const char* key : {"26-1", "26/10", "26/04/07", "26/04", "25/04", "26/02", "27/01", "25-1"})
        payRecord(key, 1, {{"S_SHOYO_F", key[2] == '-' ? "1" : "0"}});
    const db::ResultSet rows = reports::fetchAnnualLedger(conn(), "2026");
    QStringList keys;
    for (std::size_t i = 0; i < rows.rows.size(); ++i) keys << report::Row(&rows, i).text("S_DATE");
    EXPECT_EQ(keys, (QStringList{"26/02", "26/04", "26/04/07", "26/10", "26-1"}));

    reports::PrintState s = month("2026", "04");
    const Document d = render("TfrmQR_KyuyoRepN", s);
    EXPECT_EQ(d.rows, 5u);
    EXPECT_EQ(d.pages[0].named(QStringLiteral("QRLabelNendo")).front()->text, QStringLiteral("26年度"));
    EXPECT_EQ(totalOn(d.pages.back(), QStringLiteral("GroupFooterBand1"), "S_DAYS"), 5 * 20);
}

TEST_F(LedgerTest, WorkRecordStartsEachEmployeeOnAPageWithNoBlankLastPage) {
    for (int e : {2, 1, 3}) {
        employee(e, "社員" + std::to_string(e));
        for (int day = 1; day <= 3; ++day)
            insert("kimu_tran", {{"K_TANCOD", e},
                                 {"K_DATE", 46112.0 + day},  // 2026-04-02..04
                                 {"K_INTIM", 46112.0 + day + 9.0 / 24},
                                 {"K_SYUGYO", "08:00"}});
    }
    insert("kimu_tran", {{"K_TANCOD", 1}, {"K_DATE", 46150.0}});  // outside the period
    reports::PrintState s;
    s.periodFrom = "2026/04/01";
    s.periodTo = "2026/04/30";
    const Document d = render("TfrmQR_Kinmu", s);
    ASSERT_EQ(d.pages.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        const Page& p = d.pages[i];
        EXPECT_EQ(p.named(QStringLiteral("QRDBTextCode")).front()->text, QString::number(i + 1));
        EXPECT_EQ(p.named(QStringLiteral("QRDBTextName")).front()->text, QStringLiteral("社員%1").arg(i + 1));
        EXPECT_EQ(p.named(QStringLiteral("QRExprCount")).front()->text, QStringLiteral("3"));
        EXPECT_EQ(p.find(QStringLiteral("休日時間")).size(), 1u);
        EXPECT_EQ(p.find(QStringLiteral("26/04/02")).size(), 1u);
        EXPECT_EQ(p.find(QStringLiteral("09:00")).size(), 3u);
    }
    // Laid out again (a second preview, a print from the preview): the same pages.
    EXPECT_EQ(render("TfrmQR_Kinmu", s).dump(), d.dump());
    EXPECT_EQ(d.csvRows.size(), 9u);
}

TEST_F(LedgerTest, EnvelopesGoToMarkedEmployeesInServiceOnePageEach) {
    insert("emp_tanka", {{"E_NO", 1}, {"E_NAME", "山田太郎"}, {"E_DROPKBN", "1"}, {"PRT_FLG", "1"}});
    insert("emp_tanka", {{"E_NO", 2}, {"E_NAME", "退職者"}, {"E_DROPKBN", "0"}, {"PRT_FLG", "1"}});
    insert("emp_tanka", {{"E_NO", 3}, {"E_NAME", "印刷しない"}, {"E_DROPKBN", "1"}, {"PRT_FLG", "0"}});
    insert("emp_tanka", {{"E_NO", 4}, {"E_NAME", "佐藤花子"}, {"E_DROPKBN", "1"}, {"PRT_FLG", "1"}});
    for (const char* form : {"TfrmQR_FutoL4", "TfrmQR_FutoL4C"}) {
        SCOPED_TRACE(form);
        const Document d = render(form, {});
        ASSERT_EQ(d.pages.size(), 2u);  // no page after the last envelope
        EXPECT_EQ(d.pages[0].texts.at(0).text, QStringLiteral("山田太郎  殿"));
        EXPECT_EQ(d.pages[1].texts.at(0).text, QStringLiteral("佐藤花子  殿"));
        EXPECT_TRUE(d.pages[0].texts.at(0).font.vertical);
        EXPECT_EQ(d.pages[0].texts.at(0).font.pointSize, reports::EnvelopeNamePt);
        EXPECT_TRUE(d.warnings.isEmpty());
    }
    const Document right = render("TfrmQR_FutoL4", {});
    EXPECT_NEAR(right.pages[0].texts[0].box.x, 10 + 44.5, 1e-9);
    EXPECT_NEAR(right.pages[0].texts[0].box.y, 10 + 27.5, 1e-9);
    EXPECT_NEAR(right.page.pageWidth(), 241.3, 1e-9);
}

TEST_F(LedgerTest, ALongNameShrinksInsideItsBoxAndThePreviewSaysSo) {
    const std::string name = "寿限無寿限無五劫の擦り切れ海砂利水魚";
    insert("emp_tanka", {{"E_NO", 1}, {"E_NAME", name}, {"E_DROPKBN", "1"}, {"PRT_FLG", "1"}});
    const Document d = render("TfrmQR_FutoL4C", {});
    ASSERT_EQ(d.pages.size(), 1u);
    const PlacedText& t = d.pages[0].texts.at(0);
    EXPECT_LT(t.font.pointSize, reports::EnvelopeNamePt);
    EXPECT_GE(t.font.pointSize, reports::EnvelopeNameFloorPt);
    EXPECT_LE(report::verticalLengthMm(t.text, t.font), std::max(t.box.w, t.box.h));
    ASSERT_EQ(d.warnings.size(), 1);
    EXPECT_TRUE(d.warnings[0].contains(rtl::toQString(name)));
}

TEST_F(LedgerTest, NobodyMarkedGivesAnEmptyPreviewThatSaysSo) {
    insert("emp_tanka", {{"E_NO", 1}, {"E_NAME", "山田太郎"}, {"E_DROPKBN", "1"}, {"PRT_FLG", "0"}});
    const Document d = render("TfrmQR_FutoL4", {});
    EXPECT_EQ(d.rows, 0u);
    EXPECT_EQ(d.warnings, QStringList{QStringLiteral("印刷対象がありません")});
}
