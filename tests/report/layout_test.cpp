// Laying out banded reports: pages, bands that never split, spacers, forced
// page breaks, groups and aggregates, on rows built in the test.
#include <gtest/gtest.h>

#include "report/layout.h"

using namespace report;

namespace {

// Rows with a group key G and an amount A.
db::ResultSet rowsOf(const std::vector<std::pair<std::string, long long>>& data) {
    db::ResultSet r;
    r.columns = {"G", "A"};
    for (const auto& [g, a] : data) r.rows.push_back({db::Value(g), db::Value(a)});
    return r;
}

db::ResultSet numbered(int n) {
    std::vector<std::pair<std::string, long long>> d;
    for (int i = 1; i <= n; ++i) d.emplace_back("g", i);
    return rowsOf(d);
}

Band detail(double height, std::vector<ChildBand> children = {}) {
    Band b;
    b.kind = BandKind::Detail;
    b.height = height;
    b.items.push_back(text(QStringLiteral("A"), {0, 0, 20, 4}, field("A")));
    b.children = std::move(children);
    return b;
}

Band band(BandKind kind, double height, Item item, int group = -1) {
    Band b;
    b.kind = kind;
    b.height = height;
    b.group = group;
    b.items.push_back(std::move(item));
    return b;
}

// Top of every text named `name`, page by page.
std::vector<std::vector<double>> tops(const Document& d, const QString& name) {
    std::vector<std::vector<double>> out;
    for (const Page& p : d.pages) {
        out.emplace_back();
        for (const PlacedText* t : p.named(name)) out.back().push_back(t->box.y);
    }
    return out;
}

Report a4Report(double top, double bottom) {
    Report r;
    r.page = a4(false, top, bottom, 10, 10);
    return r;
}

}  // namespace

TEST(Layout, BandsFillThePageAndNeverSplit) {
    // 297 - 11 - 10 = 276 mm: four bands of 62.4 + 5.3 fit, the fifth starts page 2.
    Report r = a4Report(11, 10);
    r.bands.push_back(detail(62.4, {{5.3, {}, false}}));
    const Document d = layout(r, numbered(5));
    ASSERT_EQ(d.pages.size(), 2u);
    const auto y = tops(d, QStringLiteral("A"));
    ASSERT_EQ(y[0].size(), 4u);
    EXPECT_DOUBLE_EQ(y[0][0], 11);
    EXPECT_NEAR(y[0][3], 11 + 3 * 67.7, 1e-9);
    ASSERT_EQ(y[1].size(), 1u);
    EXPECT_DOUBLE_EQ(y[1][0], 11);
}

TEST(Layout, SpacerThatDoesNotFitIsDroppedNotCarriedOver) {
    // 297 - 1 - 4 = 292 mm holds three bands of 97.1 but not their three spacers
    // of 0.3: the last spacer is dropped and the fourth band opens page 2 at the top.
    Report r = a4Report(1, 4);
    r.bands.push_back(detail(97.1, {{0.3, {}, false}}));
    const Document d = layout(r, numbered(4));
    ASSERT_EQ(d.pages.size(), 2u);
    const auto y = tops(d, QStringLiteral("A"));
    EXPECT_EQ(y[0].size(), 3u);
    EXPECT_NEAR(y[0][2], 1 + 2 * 97.4, 1e-9);
    ASSERT_EQ(y[1].size(), 1u);
    EXPECT_DOUBLE_EQ(y[1][0], 1);
}

TEST(Layout, ForcedNewPageGoesBetweenBandsNeverAfterTheLast) {
    Report r = a4Report(10, 10);
    r.bands.push_back(detail(10, {{0, {}, true}}));
    EXPECT_EQ(layout(r, numbered(3)).pages.size(), 3u);
    EXPECT_EQ(layout(r, numbered(1)).pages.size(), 1u);
    EXPECT_EQ(layout(r, numbered(0)).pages.size(), 1u);  // an empty report is one empty page
}

TEST(Layout, PageHeaderAndFooterOnEveryPageFirstAndLastIncluded) {
    Report r = a4Report(10, 10);
    r.bands.push_back(band(BandKind::PageHeader, 10, text(QStringLiteral("PH"), {0, 0, 50, 5}, pageNumber())));
    r.bands.push_back(band(BandKind::PageFooter, 8, text(QStringLiteral("PF"), {0, 0, 50, 5}, pageNumber())));
    r.bands.push_back(detail(50));
    // Body: 297 - 20 - 10 - 8 = 259 mm, five bands of 50 per page.
    const Document d = layout(r, numbered(11));
    ASSERT_EQ(d.pages.size(), 3u);
    for (std::size_t p = 0; p < 3; ++p) {
        ASSERT_EQ(d.pages[p].named(QStringLiteral("PH")).size(), 1u);
        EXPECT_EQ(d.pages[p].named(QStringLiteral("PH"))[0]->text, QString::number(p + 1));
        ASSERT_EQ(d.pages[p].named(QStringLiteral("PF")).size(), 1u);
        EXPECT_DOUBLE_EQ(d.pages[p].named(QStringLiteral("PF"))[0]->box.y, 297 - 10 - 8);
        EXPECT_DOUBLE_EQ(tops(d, QStringLiteral("A"))[p][0], 20);
    }
    EXPECT_EQ(tops(d, QStringLiteral("A"))[0].size(), 5u);
}

TEST(Layout, GroupsWithFootersNewPagesAndAggregatesOfEachScope) {
    Report r = a4Report(10, 10);
    r.groups.push_back({QStringLiteral("G"), field("G"), true});
    r.aggregates = {
        {QStringLiteral("groupSum"), [](const Row& row) { return row.integer("A"); }, Aggregate::Reset::Group, 0},
        {QStringLiteral("groupCount"), nullptr, Aggregate::Reset::Group, 0},
        {QStringLiteral("reportSum"), [](const Row& row) { return row.integer("A"); }, Aggregate::Reset::Report},
        {QStringLiteral("pageSum"), [](const Row& row) { return row.integer("A"); }, Aggregate::Reset::Page},
    };
    auto total = [](const char* name) {
        const QString n = QString::fromLatin1(name);
        return Expr{n, [n](const Row&, const Context& c) { return QString::number(c.sum(n)); }};
    };
    r.bands.push_back(band(BandKind::GroupHeader, 6, text(QStringLiteral("GH"), {0, 0, 50, 5}, field("G")), 0));
    r.bands.push_back(detail(6));
    Band footer = band(BandKind::GroupFooter, 6, text(QStringLiteral("GF"), {0, 0, 50, 5}, total("groupSum")), 0);
    footer.items.push_back(text(QStringLiteral("GC"), {60, 0, 50, 5}, total("groupCount")));
    r.bands.push_back(footer);
    r.bands.push_back(band(BandKind::Summary, 6, text(QStringLiteral("SUM"), {0, 0, 50, 5}, total("reportSum"))));
    r.bands.push_back(band(BandKind::PageFooter, 6, text(QStringLiteral("PF"), {0, 0, 50, 5}, total("pageSum"))));
    const Document d = layout(r, rowsOf({{"x", 1}, {"x", 2}, {"y", 10}, {"z", 100}, {"z", 200}}));
    ASSERT_EQ(d.pages.size(), 3u);  // one page per group, none after the last
    const QStringList expectHeader = {QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("z")};
    const QStringList expectFooter = {QStringLiteral("3"), QStringLiteral("10"), QStringLiteral("300")};
    const QStringList expectCount = {QStringLiteral("2"), QStringLiteral("1"), QStringLiteral("2")};
    for (int p = 0; p < 3; ++p) {
        const Page& page = d.pages[static_cast<std::size_t>(p)];
        EXPECT_EQ(page.named(QStringLiteral("GH")).at(0)->text, expectHeader[p]);
        EXPECT_EQ(page.named(QStringLiteral("GF")).at(0)->text, expectFooter[p]);
        EXPECT_EQ(page.named(QStringLiteral("GC")).at(0)->text, expectCount[p]);
        EXPECT_EQ(page.named(QStringLiteral("PF")).at(0)->text, expectFooter[p]);  // page totals reset per page
    }
    EXPECT_EQ(d.pages[2].named(QStringLiteral("SUM")).at(0)->text, QStringLiteral("313"));
}

TEST(Layout, PageFooterRunningTotalsCountOnlyRowsPrintedBeforeIt) {
    // A band that moves to the next page is counted on that page, not in the
    // footer of the page it did not fit on.
    Report r = a4Report(10, 10);
    r.aggregates = {{QStringLiteral("run"), [](const Row& row) { return row.integer("A"); }}};
    r.bands.push_back(detail(100));
    r.bands.push_back(
        band(BandKind::PageFooter, 7,
             text(QStringLiteral("PF"), {0, 0, 50, 5}, Expr{QStringLiteral("run"), [](const Row&, const Context& c) {
                                                                return QString::number(c.sum(QStringLiteral("run")));
                                                            }})));
    const Document d = layout(r, numbered(5));  // 270 mm body: two bands a page
    ASSERT_EQ(d.pages.size(), 3u);
    EXPECT_EQ(d.pages[0].named(QStringLiteral("PF")).at(0)->text, QStringLiteral("3"));
    EXPECT_EQ(d.pages[1].named(QStringLiteral("PF")).at(0)->text, QStringLiteral("10"));
    EXPECT_EQ(d.pages[2].named(QStringLiteral("PF")).at(0)->text, QStringLiteral("15"));
}

TEST(Layout, ConditionsEmptyValuesAndCsvRowsPerPrintedBand) {
    Report r = a4Report(10, 10);
    Band b = detail(10);
    b.items.push_back(text(QStringLiteral("Big"), {30, 0, 20, 4}, money("A"), Align::Right, {}, above0("A")));
    b.items.push_back(text(QStringLiteral("Nothing"), {60, 0, 20, 4}, fixed(QString())));
    b.printWhen = when(QStringLiteral("A <> 2"), [](const Row& row) { return row.integer("A") != 2; });
    r.bands.push_back(b);
    r.csv = {{fixed(QStringLiteral("金額")), field("A")}};
    const Document d = layout(r, rowsOf({{"", 0}, {"", 2}, {"", 1234}}));
    EXPECT_EQ(d.pages[0].named(QStringLiteral("A")).size(), 2u);  // the band of A = 2 is not printed
    ASSERT_EQ(d.pages[0].named(QStringLiteral("Big")).size(), 1u);
    EXPECT_EQ(d.pages[0].named(QStringLiteral("Big"))[0]->text, QStringLiteral("1,234"));
    EXPECT_TRUE(d.pages[0].named(QStringLiteral("Nothing")).empty());
    EXPECT_EQ(d.csvHeader, QStringList{QStringLiteral("金額")});
    ASSERT_EQ(d.csvRows.size(), 2u);
    EXPECT_EQ(d.csvRows[1], QStringList{QStringLiteral("1234")});
}

TEST(Layout, TextTooWideShrinksToItsFloor) {
    Report r = a4Report(10, 10);
    Band b;
    b.kind = BandKind::Detail;
    b.height = 10;
    Item it = text(QStringLiteral("T"), {0, 0, 8, 5}, field("G"));
    it.shrinkToPt = 6;
    b.items.push_back(it);
    r.bands.push_back(b);
    // EmMeasurer: a full-width character is one em; 9 pt = 3.175 mm.
    const Document d = layout(r, rowsOf({{"手当", 0}, {"手当五", 0}, {"とても長い手当名", 0}}));
    const auto t = d.pages[0].named(QStringLiteral("T"));
    ASSERT_EQ(t.size(), 3u);
    EXPECT_DOUBLE_EQ(t[0]->font.pointSize, 9);    // 6.35 mm fits in 8
    EXPECT_DOUBLE_EQ(t[1]->font.pointSize, 7.5);  // 3 em: 8.5 mm at 8 pt, 7.9 mm at 7.5 pt
    EXPECT_DOUBLE_EQ(t[2]->font.pointSize, 6);    // stays at the floor, too wide still
}

TEST(Layout, DumpNamesComponentAndExpression) {
    Report r = a4Report(10, 10);
    r.bands.push_back(detail(10));
    const QString dump = layout(r, numbered(1)).dump();
    EXPECT_EQ(dump, QStringLiteral("1 10.0 10.0 [A A] 1\n"));
}

TEST(Layout, BandsFlowDownEachColumnBeforeTheNextPage) {
    Report r = a4Report(10, 10);
    r.page.columns = 2;
    r.page.columnGap = 10;  // columns of (190 - 10) / 2 = 90 mm
    r.bands.push_back(detail(100));
    const Document d = layout(r, numbered(5));  // 277 mm: two bands a column
    ASSERT_EQ(d.pages.size(), 2u);
    const auto texts = d.pages[0].named(QStringLiteral("A"));
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_DOUBLE_EQ(texts[1]->box.x, 10);
    EXPECT_DOUBLE_EQ(texts[2]->box.x, 110);
    EXPECT_DOUBLE_EQ(texts[2]->box.y, 10);
    EXPECT_DOUBLE_EQ(d.pages[1].named(QStringLiteral("A"))[0]->box.x, 10);
}

TEST(Layout, GroupFooterOfNoGroupPrintsOnceAfterTheLastRowWithGrandTotals) {
    Report r = a4Report(10, 10);
    r.aggregates = {{QStringLiteral("all"), [](const Row& row) { return row.integer("A"); }}};
    r.bands.push_back(detail(50));
    r.bands.push_back(
        band(BandKind::GroupFooter, 6,
             text(QStringLiteral("GF"), {0, 0, 50, 5}, Expr{QStringLiteral("all"), [](const Row&, const Context& c) {
                                                                return QString::number(c.sum(QStringLiteral("all")));
                                                            }})));
    const Document d = layout(r, numbered(7));  // 277 mm: five bands on page 1
    ASSERT_EQ(d.pages.size(), 2u);
    EXPECT_TRUE(d.pages[0].named(QStringLiteral("GF")).empty());
    ASSERT_EQ(d.pages[1].named(QStringLiteral("GF")).size(), 1u);
    EXPECT_EQ(d.pages[1].named(QStringLiteral("GF"))[0]->text, QStringLiteral("28"));
}

TEST(Layout, PageHeaderShowsTheFirstRowOfItsPage) {
    Report r = a4Report(10, 10);
    r.groups.push_back({QStringLiteral("G"), field("G"), true});
    r.bands.push_back(band(BandKind::PageHeader, 10, text(QStringLiteral("PH"), {0, 0, 50, 5}, field("G"))));
    r.bands.push_back(band(BandKind::PageFooter, 10, text(QStringLiteral("PF"), {0, 0, 50, 5}, field("G"))));
    r.bands.push_back(detail(10));
    const Document d = layout(r, rowsOf({{"x", 1}, {"x", 2}, {"y", 3}}));
    ASSERT_EQ(d.pages.size(), 2u);
    EXPECT_EQ(d.pages[0].named(QStringLiteral("PH")).at(0)->text, QStringLiteral("x"));
    EXPECT_EQ(d.pages[0].named(QStringLiteral("PF")).at(0)->text, QStringLiteral("x"));  // the last row on the page
    EXPECT_EQ(d.pages[1].named(QStringLiteral("PH")).at(0)->text, QStringLiteral("y"));
}
