#include "reports/ledgers.h"

#include <QRegularExpression>

#include <algorithm>

#include "exprs.h"
#include "rtl/datetime.h"

namespace reports {

using namespace report;

namespace {

// ---- a ledger grid: columns across the page, one or two lines per record ----

constexpr double LineH = 4.5;  // one line of a caption band, a record or a total

struct Column {
    double x = 0, w = 0;
};

// One value of a record, with its caption in the column header at the same
// place (captions may be empty).
struct Cell {
    int col = 0;
    int line = 0;
    Expr caption;
    Expr value;
    Align align = Align::Right;
    Condition show;
    FontSpec font = pt(9);
    int span = 1;
    QString name;        // component name
    QString csvCaption;  // the CSV caption of a cell printed without one
};

// A column whose total the ledger prints, at the place of its cell.
struct Total {
    int col = 0;
    int line = 0;
    const char* column = "";
};

struct Grid {
    std::vector<Column> columns;
    std::vector<Cell> cells;
    std::vector<Cell> captionsOnly;  // captions with no value under them
    std::vector<Total> totals;
    QString totalCaption;
    int lines = 2;
    int captionLines = 2;
};

RectMm at(const Grid& g, int col, int line, int span, double top) {
    const Column& c = g.columns[static_cast<std::size_t>(col)];
    const Column& last = g.columns[static_cast<std::size_t>(col + span - 1)];
    return {c.x + 0.6, top + line * LineH, last.x + last.w - c.x - 1.2, LineH};
}

Cell cell(int col, int line, const QString& caption, Expr value, Condition show = {}) {
    Cell c;
    c.col = col;
    c.line = line;
    if (!caption.isEmpty()) c.caption = fixed(caption);
    c.value = std::move(value);
    c.show = std::move(show);
    return c;
}
Cell amount(int col, int line, const QString& caption, const char* column) {
    return cell(col, line, caption, money(column));
}
// An allowance or deduction: the caption is a column of the caption row.
Cell captioned(int col, int line, const std::string& captionColumn, const std::string& column) {
    Cell c = cell(col, line, QString(), money(column));
    c.caption = field(captionColumn);
    return c;
}
Cell minutesIfAny(int col, int line, const QString& caption, Expr value, const char* column) {
    return cell(col, line, caption, std::move(value), above0(column));
}

std::string sumName(const char* column, const char* scope) { return std::string(scope) + column; }

// Captions as the header shows them, centred, in smaller type when long.
void captionItems(const Grid& g, Band& band, double top) {
    int n = 0;
    auto put = [&](const Cell& c) {
        if (!c.caption.fn) return;
        Item it =
            text(QStringLiteral("QRLabel%1").arg(++n), at(g, c.col, c.line, c.span, top), c.caption, Align::Center);
        it.shrinkToPt = 6;
        band.items.push_back(std::move(it));
    };
    for (const Cell& c : g.captionsOnly) put(c);
    for (const Cell& c : g.cells) put(c);
    const double right = g.columns.back().x + g.columns.back().w;
    band.items.push_back(line({0, top, right, 0}, 0.3));
    band.items.push_back(line({0, top + g.captionLines * LineH + 0.5, right, 0}, 0.3));
}

Band captionBand(const Grid& g, BandKind kind, int group) {
    Band b;
    b.kind = kind;
    b.name = kind == BandKind::GroupHeader ? QStringLiteral("GroupHeaderBand1") : QStringLiteral("ColumnHeaderBand1");
    b.group = group;
    b.height = g.captionLines * LineH + 1.5;
    captionItems(g, b, 0.2);
    return b;
}

Band detailBand(const Grid& g) {
    Band b;
    b.kind = BandKind::Detail;
    b.name = QStringLiteral("DetailBand1");
    b.height = g.lines * LineH + 0.8;
    int n = 0;
    for (const Cell& c : g.cells) {
        if (!c.value.fn) continue;
        const QString name = c.name.isEmpty() ? QStringLiteral("QRDBText%1").arg(++n) : c.name;
        Item it = text(name, at(g, c.col, c.line, c.span, 0.2), c.value, c.align, c.font, c.show);
        it.shrinkToPt = c.font.pointSize > 7 ? 6 : 0;
        b.items.push_back(std::move(it));
    }
    const double right = g.columns.back().x + g.columns.back().w;
    b.items.push_back(line({0, g.lines * LineH + 0.5, right, 0}, 0.1));
    return b;
}

// Totals of the aggregates named scope + column, placed under their columns.
Band totalsBand(const Grid& g, BandKind kind, int group, const char* scope, const QString& name) {
    Band b;
    b.kind = kind;
    b.name = name;
    b.group = group;
    b.height = g.lines * LineH + 1.5;
    const double right = g.columns.back().x + g.columns.back().w;
    b.items.push_back(line({0, 0.2, right, 0}, 0.3));
    b.items.push_back(
        text(name + QStringLiteral("Caption"), at(g, 1, 0, 1, 0.5), fixed(g.totalCaption), Align::Center));
    for (const Total& t : g.totals) {
        const QString agg = QString::fromStdString(sumName(t.column, scope));
        Expr sum{QStringLiteral("SUM(%1)").arg(QLatin1String(t.column)),
                 [agg](const Row&, const Context& c) { return yen(c.sum(agg)); }};
        // Totals outgrow their column: the box reaches into the left half of
        // the column before it when that one holds no total.
        RectMm box = at(g, t.col, t.line, 1, 0.5);
        const bool leftFree = t.col > 0 && std::none_of(g.totals.begin(), g.totals.end(), [&](const Total& o) {
                                  return o.line == t.line && o.col == t.col - 1;
                              });
        const double reach = leftFree ? g.columns[static_cast<std::size_t>(t.col - 1)].w * 0.45 : 0;
        box.x -= reach;
        box.w += reach;
        Item it = text(name + QString::fromLatin1(t.column).mid(1), box, std::move(sum), Align::Right);
        it.shrinkToPt = 6;
        b.items.push_back(std::move(it));
    }
    return b;
}

void addSums(Report& r, const Grid& g, const char* scope, Aggregate::Reset reset, int group = -1) {
    for (const Total& t : g.totals) {
        const std::string column = t.column;
        r.aggregates.push_back({QString::fromStdString(sumName(t.column, scope)),
                                [column](const Row& row) { return row.integer(column); }, reset, group});
    }
}

// CSV: one line per record, a field per printed cell under its caption
// (cells without one take `csvCaption`), amounts as plain integers as the
// slips export them.
std::vector<CsvColumn> csvOf(const Grid& g) {
    std::vector<CsvColumn> out;
    for (const Cell& c : g.cells) {
        if (!c.value.fn) continue;
        Expr caption = c.caption.fn ? c.caption : fixed(c.csvCaption);
        Expr value{c.value.label, [v = c.value, show = c.show](const Row& r, const Context& ctx) {
                       if (!show(r, ctx)) return QString();
                       QString text = v(r, ctx);
                       static const QRegularExpression amount(QStringLiteral("^-?[0-9]{1,3}(,[0-9]{3})+$"));
                       if (amount.match(text).hasMatch()) text.remove(QLatin1Char(','));
                       return text;
                   }};
        out.push_back({std::move(caption), std::move(value)});
    }
    return out;
}

// ---- the page header of the ledgers ----

Band ledgerHeader(const QString& title, double width, bool yearLabel) {
    Band b;
    b.kind = BandKind::PageHeader;
    b.name = QStringLiteral("PageHeaderBand1");
    b.height = 12;
    const double mid = width / 2;
    b.items.push_back(text(QStringLiteral("QRSysData1"), {0, 3, 40, 5}, printDate()));
    b.items.push_back(
        text(QStringLiteral("QRLabelTitle"), {mid - 40, 1.5, 80, 7}, fixed(title), Align::Center, pt(12)));
    b.items.push_back(text(QStringLiteral("QRDBTextDate"), {mid + 42, 3, 18, 5}, field("S_DATE")));
    if (yearLabel)
        b.items.push_back(text(QStringLiteral("QRLabelNendo"), {mid + 60, 3, 20, 5},
                               {QStringLiteral("COPY(EditYY,3,2) + '年度'"),
                                [](const Row&, const Context& c) { return c.value(QStringLiteral("Nendo")); }}));
    b.items.push_back(text(QStringLiteral("QRSysData2"), {width - 30, 3, 30, 5}, pageNumber(), Align::Right));
    return b;
}

PageSetup ledgerPage() { return a4(true, 4, 10, 10, 10); }

// ---- pay ledgers ----

// Code and name share the first two columns; 18 columns of values follow.
std::vector<Column> payColumns(double width) {
    // The net pay, last, is a little wider: its total is the largest number.
    constexpr double names = 38, last = 16;
    std::vector<Column> c = {{0, 12}, {12, names - 12}};
    const double w = (width - names - last) / 17;
    for (int i = 0; i < 17; ++i) c.push_back({names + i * w, w});
    c.push_back({names + 17 * w, last});
    return c;
}

Expr deductionTotal() {
    return moneyOf(QStringLiteral("S_TIKKING + S_SOUKING + S_SKING1 + S_SKING2 + S_SKING3 + S_MEAT_K + S_ZEI_G + "
                                  "S_ZEI_K"),
                   otherDeductions);
}

void codeAndName(Grid& g, const char* nameColumn) {
    Cell caption = cell(0, 0, QStringLiteral("氏　　名"), {});
    caption.span = 2;
    g.captionsOnly.push_back(caption);
    Cell code = cell(0, 0, QString(), field("S_TANCOD"));
    code.name = QStringLiteral("QRDBTextCode");
    code.csvCaption = QStringLiteral("社員ｺｰﾄﾞ");
    g.cells.push_back(code);
    Cell name = cell(1, 0, QString(), field(nameColumn), {});
    name.align = Align::Left;
    name.name = QStringLiteral("QRDBTextName");
    name.csvCaption = QStringLiteral("氏　　名");
    g.cells.push_back(name);
}

// The totals every pay ledger prints.
void payTotals(Grid& g, int basCol, int daysCol) {
    g.totals = {{daysCol, 1, "S_DAYS"}, {basCol, 0, "S_BASKING"}, {13, 0, "S_TOTALS"},
                {17, 0, "S_ZEI_G"},     {18, 0, "S_ZEI_K"},       {19, 0, "S_TOTALT"}};
}

// Line 1 from allowance 1 to the net pay, the same on every pay ledger.
void allowancesToNet(Grid& g) {
    auto& c = g.cells;
    for (int n = 1; n <= 4; ++n) {
        c.push_back(captioned(8 + n, 0, "GKING" + std::to_string(n), "S_GKING" + std::to_string(n)));
    }
    const std::pair<const char*, const char*> amounts[] = {
        {"小　計", "S_TOTALS"}, {"交通費", "S_KOTUHI"}, {"補助費", "S_HOJYO"}, {"食事控除", "S_MEAT_K"},
        {"所得税", "S_ZEI_G"},  {"他税", "S_ZEI_K"},    {"支給額", "S_TOTALT"}};
    for (int i = 0; i < 7; ++i) c.push_back(amount(13 + i, 0, QString::fromUtf8(amounts[i].first), amounts[i].second));
}

// Line 2 from allowance 5 to the deduction total, starting at column `first`.
void allowancesToDeductions(Grid& g, int first) {
    auto& c = g.cells;
    int col = first;
    for (int n = 5; n <= 9; ++n) {
        c.push_back(captioned(col++, 1, "GKING" + std::to_string(n), "S_GKING" + std::to_string(n)));
    }
    c.push_back(amount(col++, 1, QStringLiteral("社保計"), "S_SHAHO"));
    for (int n = 1; n <= 3; ++n) {
        c.push_back(captioned(col++, 1, "SKING" + std::to_string(n), "S_SKING" + std::to_string(n)));
    }
    Cell ded = cell(col, 1, QStringLiteral("控除計"), deductionTotal());
    ded.name = QStringLiteral("QRExprDeductions");
    c.push_back(ded);
}

Grid monthlyGrid() {
    Grid g;
    g.columns = payColumns(ledgerPage().columnWidth());
    g.totalCaption = QStringLiteral("合　計");
    codeAndName(g, "TNAME");
    auto& c = g.cells;
    c.push_back(amount(2, 0, QStringLiteral("基本給"), "S_BASKING"));
    c.push_back(minutesIfAny(3, 0, QStringLiteral("早出残業"), padded("S_HAYZAN"), "S_HAYZAN"));
    c.push_back(minutesIfAny(4, 0, QStringLiteral("普通残業"), padded("S_FUTZAN"), "S_FUTZAN"));
    c.push_back(minutesIfAny(5, 0, QStringLiteral("深夜残業"), padded("S_SINZAN"), "S_SINZAN"));
    c.push_back(minutesIfAny(6, 0, QStringLiteral("休日出"), padded("S_KYUSYU"), "S_KYUSYU"));
    c.push_back(amount(7, 0, QStringLiteral("雇用"), "S_KOYOU"));
    c.push_back(amount(8, 0, QStringLiteral("年金"), "S_NENKIN"));
    allowancesToNet(g);
    c.push_back(cell(0, 1, QStringLiteral("日数"), field("S_DAYS")));
    c.push_back(cell(2, 1, QStringLiteral("時間"), padded("S_KINMU")));
    c.push_back(amount(3, 1, QStringLiteral("早残金額"), "S_HAYKING"));
    c.push_back(amount(4, 1, QStringLiteral("普残金額"), "S_FUTKING"));
    c.push_back(amount(5, 1, QStringLiteral("深残金額"), "S_SINKING"));
    c.push_back(amount(6, 1, QStringLiteral("休日給"), "S_KYUKING"));
    c.push_back(amount(7, 1, QStringLiteral("健保料"), "S_HOKEN"));
    c.push_back(amount(8, 1, QStringLiteral("介護料"), "S_HOKENK"));
    allowancesToDeductions(g, 9);
    payTotals(g, 2, 0);
    return g;
}

// The bonus, by-category and annual ledgers.
Grid otherPayGrid() {
    Grid g;
    g.columns = payColumns(ledgerPage().columnWidth());
    g.totalCaption = QStringLiteral("合　　計");
    codeAndName(g, "S_NAME");
    auto& c = g.cells;
    c.push_back(minutesIfAny(2, 0, QStringLiteral("早出残業"), unpadded("S_HAYZAN"), "S_HAYZAN"));
    c.push_back(minutesIfAny(3, 0, QStringLiteral("普通残業"), unpadded("S_FUTZAN"), "S_FUTZAN"));
    c.push_back(minutesIfAny(4, 0, QStringLiteral("深夜残業"), unpadded("S_SINZAN"), "S_SINZAN"));
    c.push_back(amount(5, 0, QStringLiteral("基本給"), "S_BASKING"));
    c.push_back(amount(6, 0, QStringLiteral("早出残業"), "S_HAYKING"));
    c.push_back(amount(7, 0, QStringLiteral("普通残業"), "S_FUTKING"));
    c.push_back(amount(8, 0, QStringLiteral("深夜残業"), "S_SINKING"));
    allowancesToNet(g);
    c.push_back(cell(0, 1, QStringLiteral("日数"), field("S_DAYS")));
    c.push_back(cell(1, 1, QStringLiteral("時間"), unpadded("S_KINMU")));
    c.push_back(minutesIfAny(2, 1, QStringLiteral("休日給"), unpadded("S_KYUSYU"), "S_KYUSYU"));
    c.push_back(minutesIfAny(3, 1, QStringLiteral("遅　刻"), unpadded("S_TIKOKU"), "S_TIKOKU"));
    c.push_back(minutesIfAny(4, 1, QStringLiteral("早　退"), unpadded("S_SOUTAI"), "S_SOUTAI"));
    c.push_back(amount(5, 1, QStringLiteral("雇用"), "S_KOYOU"));
    c.push_back(amount(6, 1, QStringLiteral("健保料"), "S_HOKEN"));
    c.push_back(amount(7, 1, QStringLiteral("介護料"), "S_HOKENK"));
    c.push_back(amount(8, 1, QStringLiteral("年金"), "S_NENKIN"));
    c.push_back(amount(9, 1, QStringLiteral("休日給"), "S_KYUKING"));
    allowancesToDeductions(g, 10);
    payTotals(g, 5, 0);
    return g;
}

// ---- insurance ledgers ----

Grid insuranceGrid() {
    Grid g;
    g.columns = {{0, 12}, {12, 30}, {42, 10}, {52, 9}, {61, 13}};
    const double x0 = 74, w = (ledgerPage().columnWidth() - x0) / 12;
    for (int i = 0; i < 12; ++i) g.columns.push_back({x0 + i * w, w});
    g.totalCaption = QStringLiteral("合　　計");
    g.captionLines = 1;
    codeAndName(g, "S_NAME");
    auto& c = g.cells;
    c.push_back(cell(2, 0, QStringLiteral("日数"), field("S_DAYS")));
    Cell units = cell(3, 0, QString(), field("S_TANJI"));
    units.font = pt(7);
    units.csvCaption = QStringLiteral("単位");
    c.push_back(units);
    Cell time = cell(4, 0, QStringLiteral("時間"), unpadded("S_KINMU"));
    c.push_back(time);
    const std::pair<const char*, const char*> money1[] = {
        {"基本給", "S_BASKING"},  {"小　計", "S_TOTALS"},  {"健康保険", "S_HOKEN"}, {"介護保険", "S_HOKENK"},
        {"厚生年金", "S_NENKIN"}, {"厚生基金", "S_KIKIN"}, {"雇用保険", "S_KOYOU"}, {"社保計", "S_SHAHO"},
        {"食事控除", "S_MEAT_K"}, {"所得税", "S_ZEI_G"},   {"他税", "S_ZEI_K"},     {"支給額", "S_TOTALT"},
    };
    for (int i = 0; i < 12; ++i) c.push_back(amount(5 + i, 0, QString::fromUtf8(money1[i].first), money1[i].second));
    // The employer's share under the insurance columns.
    const char* employer[] = {"S_HOKEN2", "S_HOKENK2", "S_NENKIN2", "S_KIKIN2", "S_KOYOU2"};
    for (int i = 0; i < 5; ++i) {
        Cell e = amount(7 + i, 1, QString(), employer[i]);
        e.name = QStringLiteral("QRDBTextEmployer%1").arg(i + 1);
        e.csvCaption = QString::fromUtf8(money1[2 + i].first) + QStringLiteral("(事業主)");
        c.push_back(e);
    }
    g.totals = {{2, 0, "S_DAYS"},    {5, 0, "S_BASKING"}, {6, 0, "S_TOTALS"}, {7, 0, "S_HOKEN"},   {8, 0, "S_HOKENK"},
                {9, 0, "S_NENKIN"},  {10, 0, "S_KIKIN"},  {11, 0, "S_KOYOU"}, {12, 0, "S_SHAHO"},  {14, 0, "S_ZEI_G"},
                {15, 0, "S_ZEI_K"},  {16, 0, "S_TOTALT"}, {7, 1, "S_HOKEN2"}, {8, 1, "S_HOKENK2"}, {9, 1, "S_NENKIN2"},
                {10, 1, "S_KIKIN2"}, {11, 1, "S_KOYOU2"}};
    return g;
}

// ---- putting a ledger together ----

enum class Totals {
    Summary,        // once after the last record
    EndOnly,        // a group footer of no group: once, at the end
    RunningAndEnd,  // running totals on every page, grand totals at the end
    PerCategory,    // a page per category, its totals, running totals on every page
};

constexpr const char* ReportSum = "R_";
constexpr const char* GroupSum = "G_";

Report ledger(const QString& caption, const QString& title, const Grid& g, Totals totals, bool yearLabel = false) {
    Report r;
    r.title = caption;
    r.page = ledgerPage();
    const double width = r.page.columnWidth();
    r.bands.push_back(ledgerHeader(title, width, yearLabel));
    if (totals == Totals::PerCategory) {
        r.groups.push_back({QStringLiteral("S_SEQNO"), field("S_SEQNO"), true});
        r.bands.push_back(captionBand(g, BandKind::GroupHeader, 0));
    } else {
        r.bands.push_back(captionBand(g, BandKind::ColumnHeader, -1));
    }
    r.bands.push_back(detailBand(g));
    addSums(r, g, ReportSum, Aggregate::Reset::Report);
    switch (totals) {
    case Totals::Summary:
        r.bands.push_back(totalsBand(g, BandKind::Summary, -1, ReportSum, QStringLiteral("SummaryBand1")));
        break;
    case Totals::EndOnly:
        r.bands.push_back(totalsBand(g, BandKind::GroupFooter, -1, ReportSum, QStringLiteral("GroupFooterBand1")));
        break;
    case Totals::RunningAndEnd:
        r.bands.push_back(totalsBand(g, BandKind::GroupFooter, -1, ReportSum, QStringLiteral("GroupFooterBand1")));
        r.bands.push_back(totalsBand(g, BandKind::PageFooter, -1, ReportSum, QStringLiteral("PageFooterBand1")));
        break;
    case Totals::PerCategory:
        addSums(r, g, GroupSum, Aggregate::Reset::Group, 0);
        r.bands.push_back(totalsBand(g, BandKind::GroupFooter, 0, GroupSum, QStringLiteral("GroupFooterBand1")));
        r.bands.push_back(totalsBand(g, BandKind::PageFooter, -1, ReportSum, QStringLiteral("PageFooterBand1")));
        break;
    }
    r.csv = csvOf(g);
    return r;
}

QString twoWide(const char* s) { return QString::fromUtf8(s); }

// ---- the work record ----

Expr dateOf(const char* column, const char* mask) {
    const std::string c = column, m = mask;
    return computed(QStringLiteral("%1 %2").arg(QLatin1String(column), QLatin1String(mask)), [c, m](const Row& r) {
        const db::Value v = r.value(c);
        if (v.isNull() || !v.isNumber()) return r.text(c);
        return rtl::toQString(rtl::formatDateTime(m, v.real()));
    });
}

// ---- envelopes ----

Report envelope(PageSetup page, double bandH, double x, double y) {
    Report r;
    r.title = QStringLiteral("封筒宛名印刷");
    r.page = page;
    Band d;
    d.kind = BandKind::Detail;
    d.name = QStringLiteral("DetailBand1");
    d.height = bandH;
    FontSpec f;
    f.family = QStringLiteral("ＭＳ Ｐ明朝");
    f.pointSize = EnvelopeNamePt;
    f.vertical = true;
    Item name = text(QStringLiteral("QRExpr1"), {x, y, 108.2, 7.9},
                     computed(QStringLiteral("emp_tanka.E_NAME + '  殿'"),
                              [](const Row& row) { return row.text("E_NAME") + QStringLiteral("  殿"); }),
                     Align::Center, f);
    name.shrinkToPt = EnvelopeNameFloorPt;
    name.shrinkNotice = QStringLiteral("「%1」は長いため %2 pt に縮めて印刷します。");
    name.overflowNotice = QStringLiteral("「%1」は %2 pt でも枠に収まりません。");
    d.items.push_back(std::move(name));
    d.children.push_back({0, {}, true});
    r.bands.push_back(std::move(d));
    r.warnings = [](const db::ResultSet& rows) {
        QStringList out;
        if (rows.rows.empty()) out << QStringLiteral("印刷対象がありません");
        return out;
    };
    return r;
}

}  // namespace

Report payLedger() {
    return ledger(QStringLiteral("給与台帳"), twoWide("給　与　台　帳"), monthlyGrid(), Totals::Summary);
}
Report payLedgerByCategory() {
    return ledger(twoWide("給　与　台　帳"), twoWide("給　与　台　帳"), otherPayGrid(), Totals::RunningAndEnd);
}
Report annualPayLedger() {
    return ledger(QStringLiteral("年間給与一覧"), twoWide("給　与　台　帳"), otherPayGrid(), Totals::EndOnly, true);
}
Report bonusLedger() {
    return ledger(QStringLiteral("給与台帳"), twoWide("給　与　台　帳"), otherPayGrid(), Totals::Summary);
}
Report bonusLedgerByCategory() {
    return ledger(twoWide("給　与　台　帳"), twoWide("給　与　台　帳"), otherPayGrid(), Totals::PerCategory);
}
Report insuranceLedger() {
    return ledger(twoWide("保　険　台　帳"), twoWide("保　険　台　帳"), insuranceGrid(), Totals::Summary);
}
Report insuranceLedgerByCategory() {
    return ledger(twoWide("保　険　台　帳"), twoWide("保　険　台　帳"), insuranceGrid(), Totals::PerCategory);
}
Report bonusInsuranceLedger() {
    return ledger(QStringLiteral("賞与保険台帳"), twoWide("保　険　台　帳"), insuranceGrid(), Totals::Summary);
}
Report bonusInsuranceLedgerByCategory() {
    return ledger(QStringLiteral("賞与保険台帳"), twoWide("保　険　台　帳"), insuranceGrid(), Totals::PerCategory);
}

Report workRecord() {
    Report r;
    r.title = QStringLiteral("勤務明細表");
    r.page = a4(false, 10, 10, 10, 10);
    const double width = r.page.columnWidth();
    Band head;
    head.kind = BandKind::PageHeader;
    head.name = QStringLiteral("PageHeaderBand1");
    head.height = 12;
    head.items.push_back(text(QStringLiteral("QRSysData1"), {0, 3, 40, 5}, printDate()));
    head.items.push_back(text(QStringLiteral("QRLabelTitle"), {width / 2 - 30, 1.5, 60, 7},
                              fixed(QStringLiteral("勤務明細表")), Align::Center, pt(12)));
    head.items.push_back(text(QStringLiteral("QRSysData2"), {width - 30, 3, 30, 5}, pageNumber(), Align::Right));
    r.bands.push_back(std::move(head));

    Grid g;
    g.columns.push_back({0, 22});
    const double w = (width - 22) / 9;
    for (int i = 0; i < 9; ++i) g.columns.push_back({22 + i * w, w});
    g.lines = 1;
    g.captionLines = 1;
    Cell day = cell(0, 0, QStringLiteral("勤務日"), dateOf("K_DATE", "yy/mm/dd"));
    day.align = Align::Left;
    g.cells.push_back(day);
    g.cells.push_back(cell(1, 0, QStringLiteral("出社時刻"), dateOf("K_INTIM", "hh:nn")));
    g.cells.push_back(cell(2, 0, QStringLiteral("退社時刻"), dateOf("K_OUTTIM", "hh:nn")));
    const std::pair<const char*, const char*> times[] = {
        {"勤務時間", "K_SYUGYO"}, {"早出残業", "K_HAYZAN"}, {"普通残業", "K_FUTZAN"}, {"深夜残業", "K_SINZAN"},
        {"遅刻時間", "K_TIKOKU"}, {"早退時間", "K_SOUTAI"}, {"休日時間", "K_KYUSYU"},
    };
    for (int i = 0; i < 7; ++i)
        g.cells.push_back(cell(3 + i, 0, QString::fromUtf8(times[i].first), field(times[i].second)));

    // Per employee: code and name over the captions, the rows, their count,
    // then a new page.
    r.groups.push_back({QStringLiteral("K_TANCOD"), field("K_TANCOD"), false});
    Band gh = captionBand(g, BandKind::GroupHeader, 0);
    for (Item& it : gh.items) it.box.y += 6;
    gh.height += 6;
    gh.items.push_back(text(QStringLiteral("QRDBTextCode"), {0, 0.5, 20, 5}, field("K_TANCOD")));
    gh.items.push_back(text(QStringLiteral("QRDBTextName"), {22, 0.5, 60, 5}, field("TNAME")));
    r.bands.push_back(std::move(gh));
    r.bands.push_back(detailBand(g));

    r.aggregates.push_back({QStringLiteral("COUNT"), nullptr, Aggregate::Reset::Group, 0});
    Band gf;
    gf.kind = BandKind::GroupFooter;
    gf.name = QStringLiteral("GroupFooterBand1");
    gf.group = 0;
    gf.height = 6;
    gf.items.push_back(line({0, 0.3, width, 0}, 0.3));
    gf.items.push_back(
        text(QStringLiteral("QRExprCount"), {0.6, 0.8, 20, LineH},
             {QStringLiteral("COUNT"),
              [](const Row&, const Context& c) { return QString::number(c.count(QStringLiteral("COUNT"))); }},
             Align::Right));
    gf.children.push_back({0, {}, true});
    r.bands.push_back(std::move(gf));

    std::vector<CsvColumn> csv = {{fixed(QStringLiteral("社員ｺｰﾄﾞ")), field("K_TANCOD")},
                                  {fixed(QStringLiteral("氏名")), field("TNAME")}};
    for (CsvColumn& c : csvOf(g)) csv.push_back(std::move(c));
    r.csv = std::move(csv);
    return r;
}

Report envelopeRight() {
    PageSetup page;
    page.paperWidth = 104.8;
    page.paperHeight = 241.3;
    page.landscape = true;
    return envelope(page, 70.6, 44.5, 27.5);
}

Report envelopeCentre() { return envelope(a4(true, 10, 10, 10, 10), 189.2, 46.6, 86.8); }

}  // namespace reports
