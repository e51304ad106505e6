// The withholding slip laid out: the form's fixed positions shifted by the
// margins of Gensen.Txt, both copies, the era year of the birth date, and
// nothing printed for an empty box.
#include <gtest/gtest.h>

#include "fixture.h"
#include "report/layout.h"
#include "rtl/datetime.h"
#include "rtl/qt.h"
#include "yearend/slip.h"

namespace yearend::testing {
namespace {

class Slip : public YearEndDb {
public:
    void SetUp() override {
        YearEndDb::SetUp();
        exec(
            "INSERT INTO emp_tanka (E_NO, E_TANCOD, E_NAME, E_NAFURI, E_ADD1, E_BARTH) "
            "VALUES (1, '000001', '山田太郎', 'ヤマダタロウ', ' 東京都千代田区 ', ?)",
            {rtl::encodeDate(1980, 5, 1)});
        exec("UPDATE 会社 SET 会社名 = '株式会社テスト', 住所1 = '港区芝', 電話番号 = '03-1234-5678'");
        exec(
            "INSERT INTO gensen (code, dcode, dname, total_1, total_s, gensen_z, ken_ho, koyo_ho, koyo_sho) "
            "VALUES (1, '000001', '山田太郎', 3548140, 3042140, 92400, 200000, 20000, 286000)");
    }
    report::Document render(const std::string& code = "000001") {
        return renderWithholdingSlip(*conn, dir, code, &measurer);
    }
    static const report::PlacedText* one(const report::Page& page, const char* component) {
        const auto found = page.named(QString::fromLatin1(component));
        return found.size() == 1 ? found.front() : nullptr;
    }
    report::EmMeasurer measurer;
};

TEST_F(Slip, TextsStandAtTheFormsPositionsShiftedByTheMargins) {
    writeMargins(dir, "", {{"-", "3"}, {"+", "4"}});  // top 5 - 3 = 2 mm, left 12 + 4 / 2 = 14 mm
    const report::Document doc = render();
    ASSERT_EQ(doc.pages.size(), 1u);
    EXPECT_TRUE(doc.page.landscape);
    EXPECT_DOUBLE_EQ(doc.page.top, 2.0);
    EXPECT_DOUBLE_EQ(doc.page.left, 14.0);
    const report::Page& p = doc.pages.front();

    const struct {
        const char* component;
        double x, y;   // the form's position (left-aligned: start; amounts: start of their box)
        double width;  // amounts: the box they end in; 0 for left-aligned values
        const char* text;
    } cases[] = {
        {"QRDBText_dcode", 16.9, 4.8, 0, "000001"},
        {"E_ADD1L", 16.7, 10.6, 0, "東京都千代田区"},
        {"E_ADD1R", 162.7, 10.8, 0, "東京都千代田区"},
        {"E_NAFURIL", 86.5, 15.3, 0, "ヤマダタロウ"},
        {"E_NAMER", 234.7, 23.8, 0, "山田太郎"},
        {"Label_payL", 2.1, 36.2, 0, "給料賞与"},
        {"total_1L", 38.9, 36.2, 8.7, "3,548,140"},
        {"total_sR", 214.8, 36.2, 8.5, "3,042,140"},
        {"gensen_zL", 116.9, 36.2, 11.9, "92,400"},
        {"insuranceL", 10.6, 64.0, 16.4, "506,000"},
        {"insuranceR", 158.8, 64.0, 15.1, "506,000"},
        {"Label_dailyR", 150.3, 71.4, 0, "日払い賃金"},
        {"Label_notadjustedL", 2.1, 75.9, 0, "未年調"},
        {"Mark_showaL", 100.0, 171.4, 0, "＊"},
        {"Birth_yyL", 112.2, 171.4, 0, "55"},
        {"Birth_mmR", 267.5, 171.4, 0, "05"},
        {"Birth_ddL", 128.3, 171.4, 0, "01"},
        {"Company_add1R", 170.9, 179.9, 0, "港区芝"},
        {"Company_nameL", 24.6, 188.4, 0, "株式会社テスト"},
        {"Company_telR", 252.7, 188.4, 0, "03-1234-5678"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.component);
        const report::PlacedText* t = one(p, c.component);
        ASSERT_NE(t, nullptr);
        EXPECT_EQ(t->text, QString::fromUtf8(c.text));
        EXPECT_NEAR(t->box.x, 14.0 + c.x, 1e-9);
        EXPECT_NEAR(t->box.y, 2.0 + c.y, 1e-9);
        if (c.width > 0) {
            EXPECT_EQ(t->align, report::Align::Right);
            EXPECT_NEAR(t->box.right(), 14.0 + c.x + c.width, 1e-9);
        }
        EXPECT_EQ(t->font.family, QStringLiteral("ＭＳ Ｐ明朝"));
        EXPECT_DOUBLE_EQ(t->font.pointSize, 9);
    }
    // Empty boxes print nothing: no second address line, no 平成 mark, no
    // company address line 2, and no code on the right copy.
    for (const char* empty : {"E_ADD2L", "E_ADD2R", "Mark_heiseiL", "Company_add2L"}) {
        const report::PlacedText* t = one(p, empty);
        EXPECT_TRUE(t == nullptr || t->text.isEmpty()) << empty;
    }
    EXPECT_TRUE(p.named(QStringLiteral("QRDBText_dcodeR")).empty());
    EXPECT_TRUE(doc.csvHeader.isEmpty());
}

TEST_F(Slip, WithoutAMarginFileTheLayoutsOwnMargins) {
    const report::Document doc = render();
    EXPECT_DOUBLE_EQ(doc.page.top, 5.0);
    EXPECT_DOUBLE_EQ(doc.page.left, 12.0);
    EXPECT_DOUBLE_EQ(doc.page.bottom, 5.0);
    EXPECT_DOUBLE_EQ(doc.page.right, 6.0);
}

TEST_F(Slip, AnEmployeeWithoutARowPrintsNothing) { EXPECT_EQ(render("000002").rows, 0u); }

struct EraCase {
    const char* name;
    int year, month, day;  // 0: no birth date
    const char* showa;
    const char* heisei;
    const char* eraYear;
};

class BirthYear : public Slip, public ::testing::WithParamInterface<EraCase> {};

TEST_P(BirthYear, IsTheEraYearBesideItsMark) {
    const EraCase& c = GetParam();
    exec("UPDATE emp_tanka SET E_BARTH = ?",
         {c.year ? db::Value(rtl::encodeDate(c.year, c.month, c.day)) : db::Value()});
    const report::Document doc = render();
    ASSERT_EQ(doc.pages.size(), 1u);
    const report::Page& p = doc.pages.front();
    auto shown = [&](const char* component) {
        const report::PlacedText* t = one(p, component);
        return t ? t->text : QString();
    };
    for (const char* side : {"L", "R"}) {
        const std::string s = side;
        EXPECT_EQ(shown(("Mark_showa" + s).c_str()), QString::fromUtf8(c.showa));
        EXPECT_EQ(shown(("Mark_heisei" + s).c_str()), QString::fromUtf8(c.heisei));
        EXPECT_EQ(shown(("Birth_yy" + s).c_str()), QString::fromUtf8(c.eraYear));
    }
}

INSTANTIATE_TEST_SUITE_P(, BirthYear,
                         ::testing::Values(EraCase{"showa_55", 1980, 5, 1, "＊", "", "55"},
                                           EraCase{"heisei_2", 1990, 1, 1, "", "＊", "2"},
                                           EraCase{"showa_64", 1989, 1, 7, "＊", "", "64"},
                                           EraCase{"reiwa_2", 2020, 1, 1, "", "", "2"},
                                           EraCase{"no_birth_date", 0, 0, 0, "", "", ""}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace yearend::testing
