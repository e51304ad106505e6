#include "reports/slips.h"

#include "exprs.h"
#include "reports/slipdata.h"
#include "rtl/format.h"
#include "rtl/qt.h"

namespace reports {

using namespace report;

namespace {

Expr slipTitle(bool bonus) {
    if (bonus)
        return computed(QStringLiteral("'20' + COPY(S_DATE,1,2) + '年' + COPY(S_DATE,4,1) + '回目　　賞与明細書'"),
                        [](const Row& r) {
                            const QString d = r.text("S_DATE");
                            return QStringLiteral("20") + d.mid(0, 2) + QStringLiteral("年") + d.mid(3, 1) +
                                   QStringLiteral("回目　　賞与明細書");
                        });
    return computed(QStringLiteral("'20' + COPY(S_DATE,1,2) + '年' + COPY(S_DATE,4,2) + '月分　　給与明細書'"),
                    [](const Row& r) {
                        const QString d = r.text("S_DATE");
                        return QStringLiteral("20") + d.mid(0, 2) + QStringLiteral("年") + d.mid(3, 2) +
                               QStringLiteral("月分　　給与明細書");
                    });
}

// 総支給額: the stored gross for pay, the bonus actually paid for bonuses.
Expr grossPay(bool bonus) {
    if (bonus)
        return moneyOf(QStringLiteral("S_BASKING + S_HAYKING + S_FUTKING + S_SINKING + S_KYUKING + S_GKING1..9"),
                       bonusPaid);
    return money("S_TOTALS");
}
long long grossPayOf(const Row& r, bool bonus) { return bonus ? bonusPaid(r) : r.integer("S_TOTALS"); }

Expr taxableAfterInsurance() {
    return computed(QStringLiteral("TaxableGross - S_SHAHO (when > 0)"), [](const Row& r) {
        const long long v = taxableGross(r) - r.integer("S_SHAHO");
        return v > 0 ? yen(v) : QString();
    });
}

Expr otherDeductionsExpr() {
    return moneyOf(QStringLiteral("S_TIKKING + S_SOUKING + S_SKING1 + S_SKING2 + S_SKING3 + S_MEAT_K + S_ZEI_G + "
                                  "S_ZEI_K"),
                   otherDeductions);
}
Expr totalDeductionsExpr() {
    return moneyOf(QStringLiteral("S_TIKKING + S_SOUKING + S_SKING1 + S_SKING2 + S_SKING3 + S_MEAT_K + S_ZEI_G + "
                                  "S_ZEI_K + S_SHAHO"),
                   totalDeductions);
}

// A report of one detail band per row, each followed by a spacer.
Report bandPerRow(const QString& title, PageSetup page, double height, double spacer) {
    Report r;
    r.title = title;
    r.page = page;
    Band d;
    d.kind = BandKind::Detail;
    d.name = QStringLiteral("DetailBand1");
    d.height = height;
    d.children.push_back({spacer, {}, false});
    r.bands.push_back(std::move(d));
    return r;
}

QString slipCaption(bool bonus) { return bonus ? QStringLiteral("賞与明細") : QStringLiteral("給与明細"); }

// ---- the plain-paper slip: a grid of ruled cells, captions over values ----

constexpr double MarkW = 6.0;   // the section marks down the left edge
constexpr double CellW = 18.4;  // ten cells across 190 mm
constexpr double CapH = 4.2;    // caption row
constexpr double ValH = 5.0;    // value row
constexpr double Pad = 0.8;     // text inset from the rules
constexpr double SlipW = MarkW + 10 * CellW;

double colX(int col) { return MarkW + col * CellW; }

struct Cell {
    int col = 0;
    int span = 1;
    Expr caption;
    Expr value;
    Condition show;  // caption and value both; empty: always
    Align align = Align::Right;
    bool captionAlways = false;
};

Cell cell(int col, const QString& caption, Expr value, Condition show = {}, Align align = Align::Right) {
    return {col, 1, fixed(caption), std::move(value), std::move(show), align};
}
Cell cellCaption(int col, Expr caption, Expr value, Condition show) {
    return {col, 1, std::move(caption), std::move(value), std::move(show), Align::Right};
}

// A caption row over a value row at `y`, ruled across all ten cells.
void cellRow(Band& band, double y, const std::vector<Cell>& cells, const QString& prefix) {
    for (int c = 0; c < 10; ++c) {
        band.items.push_back(box({colX(c), y, CellW, CapH}, 0.15));
        band.items.push_back(box({colX(c), y + CapH, CellW, ValH}, 0.15));
    }
    int n = 0;
    for (const Cell& c : cells) {
        const double w = CellW * c.span;
        Item cap = text(QStringLiteral("%1Cap%2").arg(prefix).arg(++n), {colX(c.col) + Pad / 2, y, w - Pad, CapH},
                        c.caption, Align::Center, pt(9), c.captionAlways ? Condition{} : c.show);
        cap.shrinkToPt = 5.5;
        band.items.push_back(cap);
        Item val = text(QStringLiteral("%1Val%2").arg(prefix).arg(n), {colX(c.col) + Pad, y + CapH, w - 2 * Pad, ValH},
                        c.value, c.align, pt(9), c.show);
        val.shrinkToPt = 6;
        band.items.push_back(val);
    }
}

// The section mark ("勤" over "怠") down the left edge, ruled.
void mark(Band& band, double y, double h, const QString& top, const QString& bottom) {
    band.items.push_back(box({0, y, MarkW, h}, 0.15));
    band.items.push_back(text(QStringLiteral("Mark") + top, {0, y, MarkW, h / 2}, fixed(top), Align::Center));
    band.items.push_back(
        text(QStringLiteral("Mark") + bottom, {0, y + h / 2, MarkW, h / 2}, fixed(bottom), Align::Center));
}

Cell gking(int n) {
    const std::string cap = "GKING" + std::to_string(n), amount = "S_GKING" + std::to_string(n);
    return cellCaption(n - 1, field(cap), money(amount), above0(amount));
}

Cell sking(int n, int col) {
    const std::string cap = "SKING" + std::to_string(n), amount = "S_SKING" + std::to_string(n);
    return cellCaption(col, field(cap), money(amount), above0(amount));
}

// The CSV columns of both pay-record slips: the printed captions (allowance
// and deduction captions from the first record), amounts as plain integers,
// minutes as printed.
std::vector<CsvColumn> slipCsv(bool bonus) {
    auto integer = [](const char* column) {
        const std::string c = column;
        return computed(QString::fromLatin1(column), [c](const Row& r) { return QString::number(r.integer(c)); });
    };
    auto minutes = [](const char* column, bool pad, const char* amount) {
        const std::string c = column, a = amount ? amount : "";
        return computed(QString::fromLatin1(column), [c, a, pad](const Row& r) {
            if (!a.empty() && r.integer(a) <= 0) return QString();
            return pad ? minutesPadded(r.integer(c)) : minutesUnpadded(r.integer(c));
        });
    };
    auto number = [](const QString& label, std::function<long long(const Row&)> fn) {
        return computed(label, [fn = std::move(fn)](const Row& r) { return QString::number(fn(r)); });
    };
    std::vector<CsvColumn> c = {
        {fixed(QStringLiteral("所　　　属")), field("S_SEQNO")},
        {fixed(QStringLiteral("社員ｺｰﾄﾞ")), field("S_TANCOD")},
        {fixed(QStringLiteral("氏　　名")), field("S_NAME")},
        {fixed(QStringLiteral("差引支給額")), integer("S_TOTALT")},
        {fixed(QStringLiteral("勤務日数")), integer("S_DAYS")},
        {fixed(QStringLiteral("勤務時間")), minutes("S_KINMU", !bonus, nullptr)},
        {fixed(QStringLiteral("早出残")), minutes("S_HAYZAN", false, "S_HAYKING")},
        {fixed(QStringLiteral("普通残")), minutes("S_FUTZAN", false, "S_FUTKING")},
        {fixed(QStringLiteral("深夜残")), minutes("S_SINZAN", false, "S_SINKING")},
        {fixed(QStringLiteral("遅　刻")), minutes("S_TIKOKU", false, "S_TIKKING")},
        {fixed(QStringLiteral("早　退")), minutes("S_SOUTAI", false, "S_SOUKING")},
        {fixed(QStringLiteral("基本給")), integer("S_BASKING")},
        {fixed(QStringLiteral("早出残業")), integer("S_HAYKING")},
        {fixed(QStringLiteral("普通残業")), integer("S_FUTKING")},
        {fixed(QStringLiteral("深夜残業")), integer("S_SINKING")},
        {fixed(QStringLiteral("休日手当")), integer("S_KYUKING")},
        {fixed(QStringLiteral("交通費")), integer("S_KOTUHI")},
        {field("GKINGH"), integer("S_HOJYO")},
    };
    static const char* const caps[] = {"GKING1", "GKING2", "GKING3", "GKING4", "GKING5",
                                       "GKING6", "GKING7", "GKING8", "GKING9"};
    static const char* const amounts[] = {"S_GKING1", "S_GKING2", "S_GKING3", "S_GKING4", "S_GKING5",
                                          "S_GKING6", "S_GKING7", "S_GKING8", "S_GKING9"};
    for (int i = 0; i < 9; ++i) c.push_back({field(caps[i]), integer(amounts[i])});
    c.push_back({fixed(QStringLiteral("総支給額")),
                 number(QStringLiteral("総支給額"), [bonus](const Row& r) { return grossPayOf(r, bonus); })});
    for (auto [cap, col] : {std::pair{"健康保険", "S_HOKEN"},
                            {"介護保険", "S_HOKENK"},
                            {"厚生年金", "S_NENKIN"},
                            {"厚生基金", "S_KIKIN"},
                            {"雇用保険", "S_KOYOU"},
                            {"社保合計", "S_SHAHO"}})
        c.push_back({fixed(QString::fromUtf8(cap)), integer(col)});
    c.push_back({fixed(QStringLiteral("課税対象額")), number(QStringLiteral("課税対象額"), [](const Row& r) {
                     return std::max(0LL, taxableGross(r) - r.integer("S_SHAHO"));
                 })});
    for (auto [cap, col] : {std::pair{"遅　刻", "S_TIKKING"},
                            {"早　退", "S_SOUKING"},
                            {"食事控除", "S_MEAT_K"},
                            {"所得税", "S_ZEI_G"},
                            {"住民税", "S_ZEI_K"}})
        c.push_back({fixed(QString::fromUtf8(cap)), integer(col)});
    c.push_back({field("SKING1"), integer("S_SKING1")});
    c.push_back({field("SKING2"), integer("S_SKING2")});
    c.push_back({field("SKING3"), integer("S_SKING3")});
    c.push_back({fixed(QStringLiteral("他控除計")), number(QStringLiteral("他控除計"), otherDeductions)});
    c.push_back({fixed(QStringLiteral("控除額計")), number(QStringLiteral("控除額計"), totalDeductions)});
    return c;
}

Report plainSlip(bool bonus) {
    Report r = bandPerRow(slipCaption(bonus), a4(false, 11, 10, 10, 10), 62.4, 5.3);
    Band& d = r.bands.back();

    // Title, then the header cells: 所属, 社員ｺｰﾄﾞ, 氏名, 差引支給額.
    FontSpec title = pt(10);
    d.items.push_back(
        text(QStringLiteral("QRExprTitle"), {0, 0, colX(4) - 1, CapH + ValH}, slipTitle(bonus), Align::Left, title));
    const double hy = 0;
    auto headBox = [&](int col, int span) {
        d.items.push_back(box({colX(col), hy, CellW * span, CapH}, 0.15));
        d.items.push_back(box({colX(col), hy + CapH, CellW * span, ValH}, 0.15));
    };
    headBox(4, 1);
    headBox(5, 1);
    headBox(6, 3);
    headBox(9, 1);
    auto headCell = [&](const char* name, int col, int span, const QString& caption, Expr value, Align align) {
        d.items.push_back(text(QStringLiteral("%1Cap").arg(QLatin1String(name)), {colX(col), hy, CellW * span, CapH},
                               fixed(caption), Align::Center));
        d.items.push_back(text(QStringLiteral("%1Val").arg(QLatin1String(name)),
                               {colX(col) + Pad, hy + CapH, CellW * span - 2 * Pad, ValH}, std::move(value), align));
    };
    headCell("Seq", 4, 1, QStringLiteral("所　　　属"), field("S_SEQNO"), Align::Center);
    headCell("Code", 5, 1, QStringLiteral("社員ｺｰﾄﾞ"), field("S_TANCOD"), Align::Right);
    headCell("Name", 6, 3, QStringLiteral("氏　　名"), field("S_NAME"), Align::Left);
    headCell("Net", 9, 1, QStringLiteral("差引支給額"), money("S_TOTALT"), Align::Right);

    const double pair = CapH + ValH;
    // Attendance.
    const double ay = pair + 1.0;
    mark(d, ay, pair, QStringLiteral("勤"), QStringLiteral("怠"));
    cellRow(d, ay,
            {cell(0, QStringLiteral("勤務日数"), field("S_DAYS")),
             cell(1, QStringLiteral("勤務時間"), bonus ? unpadded("S_KINMU") : padded("S_KINMU")),
             cell(2, QStringLiteral("早出残"), unpadded("S_HAYZAN"), above0("S_HAYKING")),
             cell(3, QStringLiteral("普通残"), unpadded("S_FUTZAN"), above0("S_FUTKING")),
             cell(4, QStringLiteral("深夜残"), unpadded("S_SINZAN"), above0("S_SINKING")),
             cell(5, QStringLiteral("遅　刻"), unpadded("S_TIKOKU"), above0("S_TIKKING")),
             cell(6, QStringLiteral("早　退"), unpadded("S_SOUTAI"), above0("S_SOUKING")),
             cell(7, QStringLiteral("累計時間"), Expr{})},
            QStringLiteral("Att"));
    // Pay.
    const double py = ay + pair + 1.0;
    mark(d, py, 2 * pair, QStringLiteral("支"), QStringLiteral("給"));
    cellRow(d, py,
            {cell(0, QStringLiteral("基本給"), money("S_BASKING")),
             cell(1, QStringLiteral("早出残業"), money("S_HAYKING"), above0("S_HAYKING")),
             cell(2, QStringLiteral("普通残業"), money("S_FUTKING"), above0("S_FUTKING")),
             cell(3, QStringLiteral("深夜残業"), money("S_SINKING"), above0("S_SINKING")),
             cell(4, QStringLiteral("休日手当"), money("S_KYUKING"), above0("S_KYUKING")),
             cell(5, QStringLiteral("交通費"), money("S_KOTUHI")),
             cellCaption(6, field("GKINGH"), money("S_HOJYO"), above0("S_HOJYO"))},
            QStringLiteral("Pay1_"));
    std::vector<Cell> pay2;
    for (int n = 1; n <= 9; ++n) pay2.push_back(gking(n));
    pay2.push_back(cell(9, QStringLiteral("総支給額"), grossPay(bonus)));
    cellRow(d, py + pair, pay2, QStringLiteral("Pay2_"));
    // Deductions.
    const double dy = py + 2 * pair + 1.0;
    mark(d, dy, 2 * pair, QStringLiteral("控"), QStringLiteral("除"));
    Cell fund = cell(3, QStringLiteral("厚生基金"), money("S_KIKIN"), above0("S_KIKIN"));
    fund.captionAlways = true;  // the caption stands on every slip, as designed
    cellRow(d, dy,
            {cell(0, QStringLiteral("健康保険"), money("S_HOKEN"), above0("S_HOKEN")),
             cell(1, QStringLiteral("介護保険"), money("S_HOKENK"), above0("S_HOKENK")),
             cell(2, QStringLiteral("厚生年金"), money("S_NENKIN"), above0("S_NENKIN")), fund,
             cell(4, QStringLiteral("雇用保険"), money("S_KOYOU"), above0("S_KOYOU")),
             cell(5, QStringLiteral("社保合計"), money("S_SHAHO")),
             cell(6, QStringLiteral("課税対象額"), taxableAfterInsurance()),
             cell(7, QStringLiteral("遅　刻"), money("S_TIKKING"), above0("S_TIKKING")),
             cell(8, QStringLiteral("早　退"), money("S_SOUKING"), above0("S_SOUKING")),
             cell(9, QStringLiteral("食事控除"), money("S_MEAT_K"), above0("S_MEAT_K"))},
            QStringLiteral("Ded1_"));
    cellRow(d, dy + pair,
            {cell(0, QStringLiteral("所得税"), money("S_ZEI_G")), cell(1, QStringLiteral("住民税"), money("S_ZEI_K")),
             sking(1, 2), sking(2, 3), sking(3, 4), cell(8, QStringLiteral("他控除計"), otherDeductionsExpr()),
             cell(9, QStringLiteral("控除額計"), totalDeductionsExpr())},
            QStringLiteral("Ded2_"));
    r.csv = slipCsv(bonus);
    return r;
}

// ---- the pre-printed form: values only, at the paper's fixed places ----

constexpr double BoxX[8] = {9.0, 32.3, 55.3, 78.6, 101.9, 125.1, 148.4, 171.7};
constexpr double BoxW = 17.2;
constexpr double LineH = 4.5;

Item amountAt(const QString& name, int box, double y, Expr value, Condition show = {}) {
    return text(name, {BoxX[box], y, BoxW, LineH}, std::move(value), Align::Right, pt(9), std::move(show));
}
Item captionAt(const QString& name, int box, double y, Expr caption, Condition show = {}) {
    Item it = text(name, {BoxX[box] + 1.5, y, 14.8, LineH}, std::move(caption), Align::Center, pt(9), std::move(show));
    it.shrinkToPt = 5.5;
    return it;
}

Report preprintedSlip(bool bonus) {
    Report r = bandPerRow(slipCaption(bonus), a4(false, 1, 4, 10, 10), 97.1, 0.3);
    Band& d = r.bands.back();
    auto& it = d.items;

    // Header line.
    const double hy = 9.0;
    it.push_back(text(QStringLiteral("QRExprYear"), {4.5, hy, 11, LineH},
                      computed(QStringLiteral("'20' + COPY(S_DATE,1,2)"),
                               [](const Row& r) { return QStringLiteral("20") + r.text("S_DATE").mid(0, 2); })));
    if (bonus)
        it.push_back(text(QStringLiteral("QRExprTitle"), {100, hy, 60, LineH},
                          computed(QStringLiteral("COPY(S_DATE,4,1) + '回目　　賞与明細書'"), [](const Row& r) {
                              return r.text("S_DATE").mid(3, 1) + QStringLiteral("回目　　賞与明細書");
                          })));
    else
        it.push_back(text(
            QStringLiteral("QRExprMonth"), {16.9, hy, 9, LineH},
            computed(QStringLiteral("COPY(S_DATE,4,2)"), [](const Row& r) { return r.text("S_DATE").mid(3, 2); })));
    it.push_back(text(QStringLiteral("QRDBTextSeq"), {28.0, hy, 20, LineH}, field("S_SEQNO")));
    it.push_back(text(QStringLiteral("QRDBTextCode"), {49.7, hy, 13.2, LineH}, field("S_TANCOD"), Align::Right));
    it.push_back(text(QStringLiteral("QRDBTextName"), {69.8, hy, 50, LineH}, field("S_NAME")));

    // Pay: captions over boxes 1..7, amounts in boxes 0..7.
    const double c2 = 18.5, a2 = 26.5;
    it.push_back(captionAt(QStringLiteral("CapHay"), 1, c2, fixed(QStringLiteral("早出残業")), above0("S_HAYKING")));
    it.push_back(captionAt(QStringLiteral("CapFut"), 2, c2, fixed(QStringLiteral("普通残業")), above0("S_FUTKING")));
    it.push_back(captionAt(QStringLiteral("CapSin"), 3, c2, fixed(QStringLiteral("深夜残業")), above0("S_SINKING")));
    it.push_back(captionAt(QStringLiteral("CapKyu"), 4, c2, fixed(QStringLiteral("休日手当")), above0("S_KYUKING")));
    it.push_back(captionAt(QStringLiteral("CapKotuhi"), 5, c2, fixed(QStringLiteral("交通費"))));
    it.push_back(captionAt(QStringLiteral("CapHojyo"), 6, c2, field("GKINGH"), above0("S_HOJYO")));
    it.push_back(captionAt(QStringLiteral("CapG1"), 7, c2, field("GKING1"), above0("S_GKING1")));
    it.push_back(amountAt(QStringLiteral("ValBase"), 0, a2, money("S_BASKING")));
    it.push_back(amountAt(QStringLiteral("ValHay"), 1, a2, money("S_HAYKING"), above0("S_HAYKING")));
    it.push_back(amountAt(QStringLiteral("ValFut"), 2, a2, money("S_FUTKING"), above0("S_FUTKING")));
    it.push_back(amountAt(QStringLiteral("ValSin"), 3, a2, money("S_SINKING"), above0("S_SINKING")));
    it.push_back(amountAt(QStringLiteral("ValKyu"), 4, a2, money("S_KYUKING"), above0("S_KYUKING")));
    it.push_back(amountAt(QStringLiteral("ValKotuhi"), 5, a2, money("S_KOTUHI")));
    it.push_back(amountAt(QStringLiteral("ValHojyo"), 6, a2, money("S_HOJYO"), above0("S_HOJYO")));
    it.push_back(amountAt(QStringLiteral("ValG1"), 7, a2, money("S_GKING1"), above0("S_GKING1")));

    // Allowances 2-4 and 7-9, the gross at the right. (5 and 6 have no box.)
    const double c3 = 31.5, a3 = 38.6;
    int b = 0;
    for (int n : {2, 3, 4, 7, 8, 9}) {
        const std::string cap = "GKING" + std::to_string(n), amount = "S_GKING" + std::to_string(n);
        it.push_back(captionAt(QStringLiteral("CapG%1").arg(n), b, c3, field(cap), above0(amount)));
        it.push_back(amountAt(QStringLiteral("ValG%1").arg(n), b, a3, money(amount), above0(amount)));
        ++b;
    }
    it.push_back(amountAt(QStringLiteral("ValGross"), 7, a3, grossPay(bonus)));

    // Deductions: insurance, tax, and the total (its caption printed here).
    const double a4y = 51.9;
    it.push_back(amountAt(QStringLiteral("ValHoken"), 0, a4y,
                          moneyOf(QStringLiteral("S_HOKEN + S_HOKENK"),
                                  [](const Row& r) { return r.integer("S_HOKEN") + r.integer("S_HOKENK"); }),
                          when(QStringLiteral("S_HOKEN + S_HOKENK > 0"),
                               [](const Row& r) { return r.integer("S_HOKEN") + r.integer("S_HOKENK") > 0; })));
    it.push_back(amountAt(QStringLiteral("ValNenkin"), 1, a4y, money("S_NENKIN")));
    it.push_back(amountAt(QStringLiteral("ValKoyou"), 2, a4y, money("S_KOYOU"), above0("S_KOYOU")));
    it.push_back(amountAt(QStringLiteral("ValShaho"), 3, a4y, money("S_SHAHO")));
    it.push_back(amountAt(QStringLiteral("ValTaxable"), 4, a4y, taxableAfterInsurance()));
    it.push_back(amountAt(QStringLiteral("ValZeiG"), 5, a4y, money("S_ZEI_G")));
    it.push_back(amountAt(QStringLiteral("ValZeiK"), 6, a4y, money("S_ZEI_K")));
    it.push_back(captionAt(QStringLiteral("CapDeduct"), 7, a4y - 7.0, fixed(QStringLiteral("控除額計"))));
    it.push_back(amountAt(QStringLiteral("ValDeduct"), 7, a4y, totalDeductionsExpr()));

    // Item deductions, the gross again at the right.
    const double c5 = 57.4, a5 = 64.3;
    it.push_back(captionAt(QStringLiteral("CapTik"), 0, c5, fixed(QStringLiteral("遅　刻")), above0("S_TIKKING")));
    it.push_back(captionAt(QStringLiteral("CapSou"), 1, c5, fixed(QStringLiteral("早　退")), above0("S_SOUKING")));
    it.push_back(amountAt(QStringLiteral("ValTik"), 0, a5, money("S_TIKKING"), above0("S_TIKKING")));
    it.push_back(amountAt(QStringLiteral("ValSou"), 1, a5, money("S_SOUKING"), above0("S_SOUKING")));
    for (int n = 1; n <= 3; ++n) {
        const std::string cap = "SKING" + std::to_string(n), amount = "S_SKING" + std::to_string(n);
        it.push_back(captionAt(QStringLiteral("CapS%1").arg(n), n + 1, c5, field(cap), above0(amount)));
        it.push_back(amountAt(QStringLiteral("ValS%1").arg(n), n + 1, a5, money(amount), above0(amount)));
    }
    it.push_back(captionAt(QStringLiteral("CapMeat"), 5, c5, fixed(QStringLiteral("食事控除")), above0("S_MEAT_K")));
    it.push_back(amountAt(QStringLiteral("ValMeat"), 5, a5, money("S_MEAT_K"), above0("S_MEAT_K")));
    it.push_back(amountAt(QStringLiteral("ValGross2"), 7, a5, grossPay(bonus)));

    // Attendance line.
    const double ay = 79.4;
    const double dayX[6] = {6.6, 14.0, 21.2, 28.6, 36.0, 43.7};
    const char* const days[6] = {"S_DAY1", "S_DAYS", "S_DAY2", "S_DAY3", "S_DAY4", "S_DAY5"};
    for (int i = 0; i < 6; ++i)
        it.push_back(text(QStringLiteral("ValDay%1").arg(i), {dayX[i], ay, 5.3, LineH}, field(days[i]), Align::Right));
    it.push_back(text(QStringLiteral("ValKinmu"), {56.6, ay, 12, LineH}, unpadded("S_KINMU")));
    it.push_back(
        text(QStringLiteral("ValZan"), {69.6, ay, 12, LineH},
             computed(QStringLiteral("S_HAYZAN + S_FUTZAN h:m"),
                      [](const Row& r) { return minutesUnpadded(r.integer("S_HAYZAN") + r.integer("S_FUTZAN")); }),
             Align::Left, pt(9), when(QStringLiteral("S_HAYKING + S_FUTKING > 0"), [](const Row& r) {
                 return r.integer("S_HAYKING") + r.integer("S_FUTKING") > 0;
             })));
    it.push_back(text(QStringLiteral("ValSinzan"), {82.6, ay, 12, LineH}, unpadded("S_SINZAN"), Align::Left, pt(9),
                      above0("S_SINKING")));
    it.push_back(amountAt(QStringLiteral("ValNet"), 7, ay, money("S_TOTALT")));

    r.csv = slipCsv(bonus);
    // The paper has no box for allowances 5 and 6.
    r.warnings = [](const db::ResultSet& rows) {
        QStringList out;
        for (std::size_t i = 0; i < rows.rows.size(); ++i) {
            const Row row(&rows, i);
            for (int n : {5, 6}) {
                const std::string amount = "S_GKING" + std::to_string(n);
                if (row.integer(amount) == 0) continue;
                QString caption = row.text("GKING" + std::to_string(n)).trimmed();
                if (caption.isEmpty()) caption = QStringLiteral("手当%1").arg(n);
                out << QStringLiteral("%1 %2: この用紙には「%3」(%4円) の欄がないため印刷されません。")
                           .arg(row.text("S_TANCOD"), row.text("S_NAME"), caption, yen(row.integer(amount)));
            }
        }
        return out;
    };
    return r;
}

}  // namespace

Report paySlip() { return plainSlip(false); }
Report bonusSlip() { return plainSlip(true); }
Report paySlipPreprinted() { return preprintedSlip(false); }
Report bonusSlipPreprinted() { return preprintedSlip(true); }

// ---- the deduction slip: the employee's receipt and the office copy ----

Report deductionSlip() {
    Report r = bandPerRow(QStringLiteral("天引明細"), a4(false, 11, 10, 10, 10), 62.4, 5.3);
    Band& d = r.bands.back();
    auto& it = d.items;
    const double copyW = 92.0, rightX = 98.0;
    // Down the band: title, the head cells (caption over value), the list
    // header, ten item lines and the total, the receipt line at the foot.
    const double titleH = 4.6, capY = 4.8, capH = 3.6, valY = capY + capH, valH = 4.2;
    const double ly = 13.0, headH = 3.8, rowH = 3.8;

    const Expr month = computed(QStringLiteral("COPY(M_DATE,1,2) + '年' + COPY(M_DATE,4,2) + '月'"), [](const Row& r) {
        const QString k = r.text("M_DATE");
        return k.mid(0, 2) + QStringLiteral("年") + k.mid(3, 2) + QStringLiteral("月");
    });
    FontSpec title = pt(10);
    auto item = [](int n) { return std::to_string(n); };

    // Both copies: title, then the ten lines.
    for (int copy = 0; copy < 2; ++copy) {
        const double x = copy == 0 ? 0 : rightX;
        const QString side = copy == 0 ? QStringLiteral("L") : QStringLiteral("R");
        it.push_back(text(side + QStringLiteral("Month"), {x, 0, 22, titleH}, month, Align::Left, title));
        it.push_back(text(side + QStringLiteral("Title"), {x + 24, 0, 40, titleH}, fixed(QStringLiteral("天引明細書")),
                          Align::Left, title));
        const double noW = copy == 0 ? 0 : 8;
        const double itemW = copyW - noW - 24;
        it.push_back(box({x, ly, copyW, rowH * 11 + headH}, 0.2));
        if (copy == 1)
            it.push_back(
                text(side + QStringLiteral("CapNo"), {x, ly, noW, headH}, fixed(QStringLiteral("No")), Align::Center));
        it.push_back(text(side + QStringLiteral("CapItem"), {x + noW, ly, itemW, headH},
                          fixed(QStringLiteral("計　算　項　目")), Align::Center));
        it.push_back(text(side + QStringLiteral("CapAmount"), {x + noW + itemW, ly, 24, headH},
                          fixed(QStringLiteral("天引金額")), Align::Center));
        it.push_back(line({x, ly + headH, copyW, 0}, 0.2));
        it.push_back(line({x + noW + itemW, ly, 0, rowH * 11 + headH}, 0.15));
        if (copy == 1) it.push_back(line({x + noW, ly, 0, rowH * 11 + headH}, 0.15));
        for (int n = 0; n <= 9; ++n) {
            const double y = ly + headH + n * rowH;
            const std::string dat = "M_DAT_" + item(n), king = "M_KING_" + item(n);
            if (copy == 1)
                it.push_back(text(side + QStringLiteral("No%1").arg(n), {x, y, noW - 1, rowH},
                                  fixed(QString::number(n + 1)), Align::Right));
            it.push_back(text(side + QStringLiteral("Dat%1").arg(n), {x + noW + 1, y, itemW - 2, rowH}, field(dat)));
            it.push_back(text(side + QStringLiteral("King%1").arg(n), {x + noW + itemW + 1, y, 22, rowH}, money(king),
                              Align::Right, pt(9), above0(king)));
            it.push_back(line({x, y + rowH, copyW, 0}, 0.1));
        }
        // The total on the eleventh line.
        const double ty = ly + headH + 10 * rowH;
        it.push_back(text(side + QStringLiteral("CapTotal"), {x + noW + 1, ty, itemW - 2, rowH},
                          fixed(QStringLiteral("合　　計")), Align::Center));
        it.push_back(
            text(side + QStringLiteral("Total"), {x + noW + itemW + 1, ty, 22, rowH}, money("M_GKING"), Align::Right));
    }

    // Left copy: name, transfer and pay over the list; at the foot the receipt line.
    auto headCell = [&](const QString& name, double x, double w, const QString& caption, Expr value, Align align) {
        it.push_back(box({x, capY, w, capH}, 0.15));
        it.push_back(box({x, valY, w, valH}, 0.15));
        it.push_back(text(name + QStringLiteral("Cap"), {x, capY, w, capH}, fixed(caption), Align::Center));
        it.push_back(text(name + QStringLiteral("Val"), {x + 0.8, valY, w - 1.6, valH}, std::move(value), align));
    };
    headCell(QStringLiteral("LName"), 0, 44, QStringLiteral("氏　　名"), field("M_TANMEI"), Align::Left);
    headCell(QStringLiteral("LFuri"), 44, 24, QStringLiteral("振込金額"), money("M_FURI_KG"), Align::Right);
    headCell(QStringLiteral("LKyuyo"), 68, 24, QStringLiteral("給与金額"), money("M_KYUYO"), Align::Right);
    const double fy = ly + headH + 11 * rowH + 0.2, footH = 3.6;
    it.push_back(text(QStringLiteral("LConfirm"), {0, fy, 20, footH}, fixed(QStringLiteral("了承確認"))));
    it.push_back(text(QStringLiteral("LSign"), {22, fy, 50, footH}, field("M_TANMEI")));
    it.push_back(text(QStringLiteral("LSeal"), {80, fy, 8, footH}, fixed(QStringLiteral("印")), Align::Center));
    it.push_back(line({20, fy + footH, 72, 0}, 0.15));

    // Right copy: category, code, name, transfer, pay.
    headCell(QStringLiteral("RSeq"), rightX, 11, QStringLiteral("所　属"), field("M_SEQNO"), Align::Center);
    headCell(QStringLiteral("RCode"), rightX + 11, 15, QStringLiteral("社員ｺｰﾄﾞ"), field("M_TANCOD"), Align::Right);
    headCell(QStringLiteral("RName"), rightX + 26, 26, QStringLiteral("氏　　名"), field("M_TANMEI"), Align::Left);
    headCell(QStringLiteral("RFuri"), rightX + 52, 20, QStringLiteral("振込金額"), money("M_FURI_KG"), Align::Right);
    headCell(QStringLiteral("RKyuyo"), rightX + 72, 20, QStringLiteral("給与金額"), money("M_KYUYO"), Align::Right);

    return r;
}

}  // namespace reports
