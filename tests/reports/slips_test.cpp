// The slips on their laid-out pages: band positions, the conditional cells,
// the hours-and-minutes forms, the money identity, and what each form selects.
#include "fixture.h"

#include <QProcess>

#include <limits>

#include "report/csv.h"
#include "report/paint.h"
#include "reports/forms.h"
#include "reports/slipdata.h"
#include "rtl/textfile.h"

using namespace rtest;
using report::Document;
using report::Page;
using report::PlacedText;

namespace {

Document render(const char* form, const reports::PrintState& s, const report::TextMeasurer* m = nullptr) {
    const reports::FormInfo* f = reports::findForm(QString::fromLatin1(form));
    EXPECT_NE(f, nullptr) << form;
    return f->render(data::DataModule1->ADOConnection1, s, m);
}

// The value cell under a caption of the plain slip (caption "XxxCapN" over "XxxValN").
const PlacedText* under(const Page& page, const QString& caption, int slip = 0) {
    int seen = 0;
    for (const PlacedText& t : page.texts) {
        if (t.text != caption || !t.source.contains(QStringLiteral("Cap"))) continue;
        if (seen++ != slip) continue;
        const QString valueName =
            t.source.section(QLatin1Char(' '), 0, 0).replace(QStringLiteral("Cap"), QStringLiteral("Val"));
        for (const PlacedText& v : page.texts)
            if (v.source.section(QLatin1Char(' '), 0, 0) == valueName && std::abs(v.box.y - t.box.bottom()) < 0.01)
                return &v;
        return nullptr;
    }
    return nullptr;
}

std::vector<double> namesAt(const Page& page, const QString& component) {
    std::vector<double> y;
    for (const PlacedText* t : page.named(component)) y.push_back(t->box.y);
    return y;
}

}  // namespace

TEST_F(SlipTest, FivePayRecordsGiveTwoPagesOfFourSlips) {
    for (int i = 1; i <= 5; ++i) {
        employee(i, "社員" + std::to_string(i));
        payRecord("26/04", i, {{"S_BASKING", 100000 * i}});
    }
    payRecord("26/03", 1);  // another month
    const Document d = render("TfrmQR_Kyuyo", month("2026", "04"));
    ASSERT_EQ(d.pages.size(), 2u);
    const auto y1 = namesAt(d.pages[0], QStringLiteral("NameVal"));
    ASSERT_EQ(y1.size(), 4u);
    for (int i = 0; i < 4; ++i) EXPECT_NEAR(y1[static_cast<std::size_t>(i)], 11 + 4.2 + i * (62.4 + 5.3), 1e-9);
    EXPECT_EQ(namesAt(d.pages[1], QStringLiteral("NameVal")).size(), 1u);
    EXPECT_EQ(d.pages[1].named(QStringLiteral("NameVal"))[0]->text, QStringLiteral("社員5"));
    EXPECT_EQ(under(d.pages[1], QStringLiteral("基本給"))->text, QStringLiteral("500,000"));
    EXPECT_EQ(d.pages[0].named(QStringLiteral("QRExprTitle"))[0]->text, QStringLiteral("2026年04月分　　給与明細書"));
}

TEST_F(SlipTest, ThreePreprintedSlipsStandOnOnePage) {
    for (int i = 1; i <= 4; ++i) payRecord("26/04", i);
    const Document d = render("TfrmQR_Kyuyo1170", month("2026", "04"));
    ASSERT_EQ(d.pages.size(), 2u);
    const auto y = namesAt(d.pages[0], QStringLiteral("QRExprYear"));
    ASSERT_EQ(y.size(), 3u);
    EXPECT_NEAR(y[0], 1 + 9.0, 1e-9);
    EXPECT_NEAR(y[2], 1 + 2 * 97.4 + 9.0, 1e-9);
    EXPECT_NEAR(namesAt(d.pages[1], QStringLiteral("QRExprYear"))[0], 1 + 9.0, 1e-9);
    // Fixed places on the paper: the code right-aligned in 49.7..62.9, the net in the last box.
    const PlacedText* code = d.pages[0].named(QStringLiteral("QRDBTextCode"))[0];
    EXPECT_NEAR(code->box.x, 10 + 49.7, 1e-9);
    EXPECT_NEAR(code->box.right(), 10 + 62.9, 1e-9);
    EXPECT_EQ(code->align, report::Align::Right);
    EXPECT_NEAR(d.pages[0].named(QStringLiteral("ValNet"))[0]->box.x, 10 + 171.7, 1e-9);
    EXPECT_NEAR(d.pages[0].named(QStringLiteral("ValNet"))[0]->box.y, 1 + 79.4, 1e-9);
}

TEST_F(SlipTest, ItemsAnEmployeeDoesNotHaveShowNeitherCaptionNorValue) {
    employee(7, "山田花子");
    payRecord("26/04", 7, {{"S_BASKING", 180000}, {"S_TOTALS", 180000}, {"S_TOTALT", 180000}});
    const Document d = render("TfrmQR_Kyuyo", month("2026", "04"));
    const Page& p = d.pages.at(0);
    for (const char* caption : {"早出残",   "普通残",   "深夜残",   "遅　刻", "早　退", "早出残業",  "普通残業",
                                "深夜残業", "休日手当", "手当H",    "手当1",  "手当9",  "健康保険",  "介護保険",
                                "厚生年金", "雇用保険", "食事控除", "控除1",  "控除3",  "課税対象額"})
        if (QString::fromUtf8(caption) != QStringLiteral("課税対象額")) {
            EXPECT_TRUE(p.find(QString::fromUtf8(caption)).empty()) << caption;
        }
    for (const char* always : {"基本給", "交通費", "総支給額", "厚生基金", "社保合計", "所得税", "住民税", "控除額計"})
        EXPECT_EQ(p.find(QString::fromUtf8(always)).size(), 1u) << always;
    // 課税対象額 keeps its caption; its value is there because it is above zero.
    EXPECT_EQ(under(p, QStringLiteral("課税対象額"))->text, QStringLiteral("180,000"));
    EXPECT_EQ(under(p, QStringLiteral("厚生基金")), nullptr);
    EXPECT_EQ(under(p, QStringLiteral("交通費"))->text, QStringLiteral("0"));
}

struct MinutesCase {
    const char* name;
    long long minutes;
    const char* padded;
    const char* unpadded;
};

void PrintTo(const MinutesCase& c, std::ostream* os) { *os << c.name; }

class Minutes : public SlipTest, public ::testing::WithParamInterface<MinutesCase> {};

TEST(MinutesText, TheWholeRangePrints) {
    // The smallest value once printed its sign twice and negative minutes.
    const long long smallest = std::numeric_limits<long long>::min();
    EXPECT_EQ(reports::minutesPadded(smallest), QStringLiteral("-153722867280912930:08"));
    EXPECT_EQ(reports::minutesUnpadded(smallest), QStringLiteral("-153722867280912930:8"));
    EXPECT_EQ(reports::minutesPadded(std::numeric_limits<long long>::max()), QStringLiteral("153722867280912930:07"));
}

TEST_P(Minutes, PrintInWholeMinutes) {
    const MinutesCase c = GetParam();
    EXPECT_EQ(reports::minutesPadded(c.minutes), QString::fromLatin1(c.padded));
    EXPECT_EQ(reports::minutesUnpadded(c.minutes), QString::fromLatin1(c.unpadded));
    // On the slips: the pay slip's worked time is padded, the overtime and the
    // bonus slip's worked time unpadded.
    payRecord("26/04", 1, {{"S_KINMU", c.minutes}, {"S_FUTZAN", c.minutes}, {"S_FUTKING", 1}});
    payRecord("26-1", 1, {{"S_KINMU", c.minutes}, {"S_SHOYO_F", "1"}});
    const Document pay = render("TfrmQR_Kyuyo", month("2026", "04"));
    EXPECT_EQ(under(pay.pages[0], QStringLiteral("勤務時間"))->text, QString::fromLatin1(c.padded));
    EXPECT_EQ(under(pay.pages[0], QStringLiteral("普通残"))->text, QString::fromLatin1(c.unpadded));
    const Document bonus = render("TfrmQR_KyuyoS", SlipTest::bonus("2026", "1"));
    EXPECT_EQ(under(bonus.pages[0], QStringLiteral("勤務時間"))->text, QString::fromLatin1(c.unpadded));
}

INSTANTIATE_TEST_SUITE_P(Slips, Minutes,
                         ::testing::Values(MinutesCase{"zero", 0, "0:00", "0:0"},
                                           MinutesCase{"tenHours", 600, "10:00", "10:0"},
                                           MinutesCase{"sixtyOne", 61, "1:01", "1:1"},
                                           MinutesCase{"oneShort", 599, "9:59", "9:59"}),
                         [](const auto& info) { return std::string(info.param.name); });

namespace {
// A full month: overtime, a late and an early amount, a non-taxable
// allowance 8, subsidy, transport, insurance, taxes, an item deduction.
// Taxable gross = 200000 + 5000 + 12000 + 3000 + 8000 + 10000 + 2000 - 1200 - 800 = 238000.
const Cells fullMonth = {
    {"S_BASKING", 200000},
    {"S_HAYKING", 5000},
    {"S_FUTKING", 12000},
    {"S_SINKING", 3000},
    {"S_KYUKING", 8000},
    {"S_GKING1", 10000},
    {"S_GKING5", 2000},
    {"S_GKING8", 3000},
    {"S_HOJYO", 4000},
    {"S_KOTUHI", 15000},
    {"S_TIKKING", 1200},
    {"S_TIKOKU", 45},
    {"S_SOUKING", 800},
    {"S_SOUTAI", 30},
    {"S_SKING1", 1000},
    {"S_MEAT_K", 3000},
    {"S_HOKEN", 10500},
    {"S_HOKENK", 1890},
    {"S_NENKIN", 20000},
    {"S_KOYOU", 1300},
    {"S_SHAHO", 33690},
    {"S_ZEI_G", 5000},
    {"S_ZEI_K", 7000},
    // gross before the late and early deductions; net as the pay record writes it
    {"S_TOTALS", 243000},
    {"S_TOTALT", 210310},
};
}  // namespace

TEST_F(SlipTest, PaySlipReconcilesGrossTransportSubsidyDeductionsAndNet) {
    payRecord("26/04", 1, fullMonth);
    const Page p = render("TfrmQR_Kyuyo", month("2026", "04")).pages.at(0);
    const long long gross = amount(under(p, QStringLiteral("総支給額")));
    const long long transport = amount(under(p, QStringLiteral("交通費")));
    const long long subsidy = amount(under(p, QStringLiteral("手当H")));
    const long long deductions = amount(under(p, QStringLiteral("控除額計")));
    const long long net = amount(under(p, QStringLiteral("差引支給額")));
    EXPECT_EQ(gross, 243000);
    EXPECT_EQ(deductions, 51690);
    EXPECT_EQ(gross + transport + subsidy - deductions, net);
    EXPECT_EQ(net, 210310);
    EXPECT_EQ(amount(under(p, QStringLiteral("他控除計"))), 51690 - 33690);
    // Taxable gross less social insurance, not S_TOTALS - S_SHAHO (209,310).
    EXPECT_EQ(amount(under(p, QStringLiteral("課税対象額"))), 238000 - 33690);
    EXPECT_EQ(under(p, QStringLiteral("遅　刻"), 0)->text, QStringLiteral("0:45"));
    EXPECT_EQ(under(p, QStringLiteral("遅　刻"), 1)->text, QStringLiteral("1,200"));
    EXPECT_EQ(under(p, QStringLiteral("手当5"))->text, QStringLiteral("2,000"));

    // Allowance 8 marked taxable moves into the taxable gross.
    conn().execute("UPDATE title_mas SET GK_FLG8 = '1'");
    const Page q = render("TfrmQR_Kyuyo", month("2026", "04")).pages.at(0);
    EXPECT_EQ(amount(under(q, QStringLiteral("課税対象額"))), 241000 - 33690);
}

TEST_F(SlipTest, PensionFundPrintsItsAmountInsideSocialInsurance) {
    payRecord("26/04", 1, {{"S_KIKIN", 1500}, {"S_NENKIN", 18000}, {"S_SHAHO", 19500}});
    const Page p = render("TfrmQR_Kyuyo", month("2026", "04")).pages.at(0);
    EXPECT_EQ(under(p, QStringLiteral("厚生基金"))->text, QStringLiteral("1,500"));
    EXPECT_EQ(amount(under(p, QStringLiteral("厚生年金"))) + amount(under(p, QStringLiteral("厚生基金"))),
              amount(under(p, QStringLiteral("社保合計"))));
}

TEST_F(SlipTest, BonusSlipPrintsTheBonusPaidAndReconciles) {
    // Taxable gross 300500 - 500 = 300000; S_TOTALS holds the standard bonus
    // cut to thousands; allowance 8 (2000) is non-taxable.
    payRecord("26-1", 3,
              {{"S_SHOYO_F", "1"},
               {"S_BASKING", 300500},
               {"S_GKING8", 2000},
               {"S_TIKKING", 500},
               {"S_SKING1", 1000},
               {"S_ZEI_G", 12000},
               {"S_SHAHO", 45000},
               {"S_HOKEN", 45000},
               {"S_TOTALS", 300000},
               {"S_TOTALT", 244000}});
    for (const char* form : {"TfrmQR_KyuyoS", "TfrmQR_KyuyoS1170"}) {
        SCOPED_TRACE(form);
        const Page p = render(form, bonus("2026", "1")).pages.at(0);
        const bool plain = QString::fromLatin1(form) == QStringLiteral("TfrmQR_KyuyoS");
        const long long gross =
            plain ? amount(under(p, QStringLiteral("総支給額"))) : amount(p.named(QStringLiteral("ValGross"))[0]);
        const long long deductions =
            plain ? amount(under(p, QStringLiteral("控除額計"))) : amount(p.named(QStringLiteral("ValDeduct"))[0]);
        const long long net =
            plain ? amount(under(p, QStringLiteral("差引支給額"))) : amount(p.named(QStringLiteral("ValNet"))[0]);
        EXPECT_EQ(gross, 302500);
        EXPECT_EQ(gross - deductions, net);
        EXPECT_EQ(net, 244000);
    }
    const Page p = render("TfrmQR_KyuyoS", bonus("2026", "1")).pages.at(0);
    EXPECT_EQ(p.named(QStringLiteral("QRExprTitle"))[0]->text, QStringLiteral("2026年1回目　　賞与明細書"));
}

TEST_F(SlipTest, BonusSlipsSelectByBonusYearAndNumberOnly) {
    employee(1, "今年");
    employee(2, "昨年");
    employee(3, "未確定");
    payRecord("26-1", 1, {{"S_SHOYO_F", "1"}});
    payRecord("25-1", 2, {{"S_SHOYO_F", "1"}});
    payRecord("26-1", 3, {{"S_SHOYO_F", "0"}});
    payRecord("26/01", 1);
    const Document d = render("TfrmQR_KyuyoS", bonus("2026", "1"));
    ASSERT_EQ(d.csvRows.size(), 1u);
    EXPECT_EQ(d.csvRows[0][2], QStringLiteral("今年"));
}

TEST_F(SlipTest, WeeklyPayUsesTheLastDateOfThePeriodAsKey) {
    employee(4, "週給");
    payRecord("26/04/07", 4, {{"S_BASKING", 30000}});
    payRecord("26/04", 4, {{"S_BASKING", 99999}});
    reports::PrintState s = month("2026", "04");
    s.weekly = true;
    s.periodFrom = "26/04/01";
    s.periodTo = "26/04/07";
    const Document d = render("TfrmQR_Kyuyo", s);
    ASSERT_EQ(d.csvRows.size(), 1u);
    EXPECT_EQ(under(d.pages[0], QStringLiteral("基本給"))->text, QStringLiteral("30,000"));
}

TEST_F(SlipTest, PreprintedFormWarnsAboutAllowancesItHasNoBoxFor) {
    employee(1, "佐藤");
    payRecord("26/04", 1, {{"S_GKING5", 1500}, {"S_GKING6", 0}});
    payRecord("26/04", 2);
    const Document d = render("TfrmQR_Kyuyo1170", month("2026", "04"));
    ASSERT_EQ(d.warnings.size(), 1);
    EXPECT_TRUE(d.warnings[0].contains(QStringLiteral("佐藤")));
    EXPECT_TRUE(d.warnings[0].contains(QStringLiteral("手当5")));
    EXPECT_TRUE(d.warnings[0].contains(QStringLiteral("1,500")));
    EXPECT_TRUE(d.pages[0].find(QStringLiteral("手当5")).empty());
    EXPECT_TRUE(render("TfrmQR_Kyuyo", month("2026", "04")).warnings.isEmpty());
}

TEST_F(SlipTest, DeductionSlipLineWithoutAmountShowsItsTextAlone) {
    insert("minus_dat", {{"M_No", 1},
                         {"M_SEQNO", 2},
                         {"M_TANCOD", 5},
                         {"M_DATE", "26/04"},
                         {"M_TANMEI", "鈴木一郎"},
                         {"M_DAT_0", "社宅費"},
                         {"M_KING_0", 20000},
                         {"M_DAT_1", "積立金（今月休止）"},
                         {"M_KING_1", 0},
                         {"M_GKING", 20000},
                         {"M_KYUYO", 250000},
                         {"M_FURI_KG", 230000}});
    insert("minus_dat", {{"M_No", 2}, {"M_TANCOD", 6}, {"M_DATE", "26/03"}, {"M_TANMEI", "先月"}});
    const Document d = render("TfrmQR_Minus", month("2026", "04"));
    ASSERT_EQ(d.pages.size(), 1u);
    const Page& p = d.pages[0];
    EXPECT_TRUE(p.find(QStringLiteral("先月")).empty());
    for (const char* side : {"L", "R"}) {
        SCOPED_TRACE(side);
        const QString s = QString::fromLatin1(side);
        EXPECT_EQ(p.named(s + QStringLiteral("Dat1"))[0]->text, QStringLiteral("積立金（今月休止）"));
        EXPECT_TRUE(p.named(s + QStringLiteral("King1")).empty());
        EXPECT_EQ(p.named(s + QStringLiteral("King0"))[0]->text, QStringLiteral("20,000"));
        EXPECT_EQ(p.named(s + QStringLiteral("Total"))[0]->text, QStringLiteral("20,000"));
        EXPECT_EQ(p.named(s + QStringLiteral("Month"))[0]->text, QStringLiteral("26年04月"));
    }
    EXPECT_EQ(p.named(QStringLiteral("RNo9"))[0]->text, QStringLiteral("10"));
    EXPECT_EQ(p.named(QStringLiteral("LFuriVal"))[0]->text, QStringLiteral("230,000"));
    EXPECT_EQ(p.named(QStringLiteral("LSign"))[0]->text, QStringLiteral("鈴木一郎"));
    EXPECT_TRUE(d.csvHeader.isEmpty());  // this form does not export
}

TEST_F(SlipTest, PdfOfPaySlipsHoldsNamesAndAmountsInEmbeddedIpaFonts) {
    employee(1, "山田太郎");
    employee(2, "高橋花子");
    payRecord("26/04", 1, fullMonth);
    payRecord("26/04", 2, {{"S_BASKING", 187654}, {"S_TOTALS", 187654}, {"S_TOTALT", 187654}});
    report::FontMeasurer fonts;
    const Document d = render("TfrmQR_Kyuyo", month("2026", "04"), &fonts);
    const QString pdf = QDir(work.path()).filePath(QStringLiteral("slips.pdf"));
    report::writePdf(pdf, d);
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    text.waitForFinished();
    const QString out = QString::fromUtf8(text.readAllStandardOutput());
    for (const char* s : {"山田太郎", "高橋花子", "210,310", "243,000", "187,654", "給与明細書", "差引支給額"})
        EXPECT_TRUE(out.contains(QString::fromUtf8(s))) << s;
    QProcess info;
    info.start(QStringLiteral("pdffonts"), {pdf});
    info.waitForFinished();
    const QString fontList = QString::fromUtf8(info.readAllStandardOutput());
    EXPECT_TRUE(fontList.contains(QStringLiteral("IPAPGothic"))) << fontList.toStdString();
    for (const QString& line : fontList.split(QLatin1Char('\n')).mid(2))
        if (!line.trimmed().isEmpty()) {
            EXPECT_TRUE(line.contains(QStringLiteral(" yes "))) << line.toStdString();
        }
}

TEST_F(SlipTest, CsvOfThreeSlipsReadsBack) {
    employee(1, "山田太郎");
    employee(2, "高橋, 花子");
    employee(3, "髙木");
    payRecord("26/04", 1, fullMonth);
    payRecord("26/04", 2, {{"S_BASKING", 150000}, {"S_TOTALT", 150000}, {"S_KINMU", 61}});
    payRecord("26/04", 3);
    const Document d = render("TfrmQR_Kyuyo", month("2026", "04"));
    const QString path = QDir(work.path()).filePath(QStringLiteral("slips.csv"));
    report::writeCsv(path, d, report::CsvEncoding::Cp932);
    const std::string back = rtl::readTextFile(rtl::fromQString(path));
    const QStringList lines = rtl::toQString(back).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4);
    const QStringList header = lines[0].split(QLatin1Char(','));
    EXPECT_EQ(header.mid(0, 6),
              (QStringList{QStringLiteral("所　　　属"), QStringLiteral("社員ｺｰﾄﾞ"), QStringLiteral("氏　　名"),
                           QStringLiteral("差引支給額"), QStringLiteral("勤務日数"), QStringLiteral("勤務時間")}));
    EXPECT_TRUE(header.contains(QStringLiteral("手当H")));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("1,1,山田太郎,210310,20,160:00,")));
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("1,2,\"高橋, 花子\",150000,20,1:01,")));
    EXPECT_TRUE(lines[3].startsWith(QStringLiteral("1,3,髙木,0,")));
    const int gross = static_cast<int>(header.indexOf(QStringLiteral("総支給額")));
    ASSERT_GT(gross, 0);
    EXPECT_EQ(lines[1].split(QLatin1Char(','))[gross], QStringLiteral("243000"));
}
