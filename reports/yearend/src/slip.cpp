#include "yearend/slip.h"

#include "rtl/datetime.h"
#include "rtl/format.h"
#include "rtl/qt.h"
#include "rtl/strings.h"

namespace yearend {

using namespace report;

namespace {

const FontSpec kMincho{QStringLiteral("ＭＳ Ｐ明朝"), 9};
constexpr double kLineHeight = 4.0;  // a 9-point line
constexpr double kTextWidth = 60.0;  // room for a left-aligned value
// The right copy stands this far right of the left one, except where the
// form's boxes are placed a little differently (given per value below).
struct Place {
    double x, y;
};

// A value that starts at its position.
Item at(const QString& name, Place p, Expr value, double width = kTextWidth) {
    return text(name, {p.x, p.y, width, kLineHeight}, std::move(value), Align::Left, kMincho);
}
// An amount ("#,##0") that ends at its position plus `width`.
Item amount(const QString& name, Place p, double width, Expr value) {
    return text(name, {p.x, p.y, width, kLineHeight}, std::move(value), Align::Right, kMincho);
}

QString yen(long long v) { return rtl::toQString(rtl::formatInteger("#,##0", v)); }

Expr trimmed(const std::string& column) {
    return computed(QString::fromStdString(column), [column](const Row& r) { return r.text(column).trimmed(); });
}

// The birth date, when there is one.
bool hasBirth(const Row& r) {
    const db::Value v = r.value("E_BARTH");
    return v.isNumber() && v.real() != 0;
}
std::string eraName(const Row& r) { return hasBirth(r) ? rtl::eraOf(r.value("E_BARTH").real()).name : std::string(); }

Expr birthPart(const QString& label, const char* mask) {
    return computed(label, [mask](const Row& r) {
        if (!hasBirth(r)) return QString();
        return rtl::toQString(rtl::formatDateTime(mask, r.value("E_BARTH").real()));
    });
}

Expr eraMark(const char* era) {
    return computed(QStringLiteral("'＊' when era of E_BARTH = '%1'").arg(QString::fromUtf8(era)),
                    [era](const Row& r) { return eraName(r) == era ? QStringLiteral("＊") : QString(); });
}

}  // namespace

std::string birthEraYear(rtl::TDateTime birth) {
    if (birth == 0) return {};
    const rtl::Era era = rtl::eraOf(birth);
    if (era.name != "昭和" && era.name != "平成" && era.name != "令和") return {};
    return std::to_string(era.year);
}

report::Report withholdingSlip(const Margins& margins) {
    Report r;
    r.title = QStringLiteral("源泉徴収票");
    r.page = a4(true, topMarginMm(margins.top), 5, leftMarginMm(margins.left), 6);

    Band detail;
    detail.kind = BandKind::Detail;
    detail.name = QStringLiteral("DetailBand1");
    detail.height = 192;
    detail.exported = false;
    auto& items = detail.items;

    const Expr insurance = computed(QStringLiteral("ken_ho + koyo_ho + koyo_sho"), [](const Row& row) {
        return yen(row.integer("ken_ho") + row.integer("koyo_ho") + row.integer("koyo_sho"));
    });
    const Expr eraYear = computed(QStringLiteral("era year of E_BARTH"), [](const Row& row) {
        return hasBirth(row) ? rtl::toQString(birthEraYear(row.value("E_BARTH").real())) : QString();
    });

    // Both copies: the left one (suffix L) and the right one (suffix R).
    struct Copy {
        const char* suffix;
        Place add1, add2, kana, name, pay, totalPay, afterInsurance, tax, insurance, daily, notAdjusted;
        double insuranceWidth;
        Place showa, heisei, year, month, day, co1, co2, coName, coTel;
    };
    const Copy copies[] = {
        {"L",           {16.7, 10.6},   {16.7, 18.3},   {86.5, 15.3},   {86.5, 23.8},   {2.1, 36.2},
         {38.9, 36.2},  {66.7, 36.2},   {116.9, 36.2},  {10.6, 64.0},   {2.1, 71.4},    {2.1, 75.9},
         16.4,          {100.0, 171.4}, {105.3, 171.4}, {112.2, 171.4}, {120.4, 171.4}, {128.3, 171.4},
         {24.9, 179.9}, {24.6, 183.9},  {24.6, 188.4},  {105.6, 188.4}},
        {"R",
         {162.7, 10.8},
         {162.7, 17.7},
         {234.7, 15.3},
         {234.7, 23.8},
         {150.3, 36.2},
         {187.1, 36.2},
         {214.8, 36.2},
         {264.1, 36.2},
         {158.8, 64.0},
         {150.3, 71.4},
         {150.3, 75.9},
         15.1,
         {247.9, 171.4},
         {253.7, 171.4},
         {260.4, 171.4},
         {267.5, 171.4},
         {273.8, 171.4},
         {170.9, 179.9},
         {170.7, 183.9},
         {170.7, 188.4},
         {252.7, 188.4}},
    };
    items.push_back(at(QStringLiteral("QRDBText_dcode"), {16.9, 4.8}, field("dcode")));
    for (const Copy& c : copies) {
        const QString s = QString::fromLatin1(c.suffix);
        auto name = [&](const char* what) { return QString::fromLatin1(what) + s; };
        items.push_back(at(name("E_ADD1"), c.add1, trimmed("E_ADD1")));
        items.push_back(at(name("E_ADD2"), c.add2, trimmed("E_ADD2")));
        items.push_back(at(name("E_NAFURI"), c.kana, trimmed("E_NAFURI")));
        items.push_back(at(name("E_NAME"), c.name, trimmed("E_NAME")));
        items.push_back(at(name("Label_pay"), c.pay, fixed(QStringLiteral("給料賞与"))));
        items.push_back(amount(name("total_1"), c.totalPay, 8.7, money("total_1")));
        items.push_back(amount(name("total_s"), c.afterInsurance, 8.5, money("total_s")));
        items.push_back(amount(name("gensen_z"), c.tax, 11.9, money("gensen_z")));
        items.push_back(amount(name("insurance"), c.insurance, c.insuranceWidth, insurance));
        items.push_back(at(name("Label_daily"), c.daily, fixed(QStringLiteral("日払い賃金"))));
        items.push_back(at(name("Label_notadjusted"), c.notAdjusted, fixed(QStringLiteral("未年調"))));
        items.push_back(at(name("Mark_showa"), c.showa, eraMark("昭和"), 5));
        items.push_back(at(name("Mark_heisei"), c.heisei, eraMark("平成"), 5));
        items.push_back(at(name("Birth_yy"), c.year, eraYear, 8));
        items.push_back(at(name("Birth_mm"), c.month, birthPart(QStringLiteral("E_BARTH mm"), "mm"), 8));
        items.push_back(at(name("Birth_dd"), c.day, birthPart(QStringLiteral("E_BARTH dd"), "dd"), 8));
        items.push_back(at(name("Company_add1"), c.co1, trimmed("住所1")));
        items.push_back(at(name("Company_add2"), c.co2, trimmed("住所2")));
        items.push_back(at(name("Company_name"), c.coName, trimmed("会社名"), 78));
        items.push_back(at(name("Company_tel"), c.coTel, trimmed("電話番号"), 40));
    }
    r.bands.push_back(std::move(detail));
    return r;
}

db::ResultSet fetchWithholdingSlip(db::Connection& c, const std::string& employeeCode) {
    return c.select(
        "SELECT g.*, e.E_ADD1, e.E_ADD2, e.E_NAME, e.E_NAFURI, e.E_BARTH, "
        "co.住所1, co.住所2, co.会社名, co.電話番号 "
        "FROM gensen g "
        "LEFT JOIN emp_tanka e ON e.rowid = (SELECT MIN(rowid) FROM emp_tanka WHERE E_NO = g.code) "
        "LEFT JOIN 会社 co ON co.rowid = (SELECT MIN(rowid) FROM 会社) "
        "WHERE g.dcode = ? ORDER BY g.rowid",
        {employeeCode});
}

report::Document renderWithholdingSlip(db::Connection& c, const std::filesystem::path& workDir,
                                       const std::string& employeeCode, const report::TextMeasurer* measurer) {
    const report::Report declared = withholdingSlip(readMargins(workDir));
    const db::ResultSet rows = fetchWithholdingSlip(c, employeeCode);
    return report::layout(declared, rows, {}, measurer);
}

}  // namespace yearend
