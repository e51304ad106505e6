#include "reports/crosstablereport.h"

namespace reports {
namespace {

constexpr double kTitleHeight = 8.5;
constexpr double kNameHeight = 10;
constexpr double kLineHeight = 4.35;  // 31 lines under the name: 146 mm in all
constexpr double kLabelWidth = 12;

// The name set on two lines within the column: up to `perLine` characters each.
QString nameLine(const QString& name, int line, int perLine) {
    return line == 0 ? name.left(perLine) : name.mid(perLine);
}

}  // namespace

report::Report crossTableReport() {
    report::Report r;
    r.title = QStringLiteral("日別一覧表");
    r.page = report::a4(true, 20, 10, 25, 10);
    r.page.columns = 20;
    r.page.columnGap = 0;
    const double width = r.page.columnWidth();
    const double pageWidth = r.page.pageWidth() - r.page.left - r.page.right;

    report::FontSpec title{QStringLiteral("ＭＳ Ｐゴシック"), 12};
    report::FontSpec small{QStringLiteral("ＭＳ Ｐゴシック"), 9};
    report::FontSpec name{QStringLiteral("ＭＳ Ｐゴシック"), 8};
    const report::Condition firstPage{QStringLiteral("PageNumber = 1"),
                                      [](const report::Row&, const report::Context& c) { return c.page == 1; }};

    // The title band on the first page; the day labels beside the columns on every page.
    report::Band header;
    header.kind = report::BandKind::PageHeader;
    header.name = QStringLiteral("TitleBand1");
    header.height = kTitleHeight;
    header.items.push_back(report::text(QStringLiteral("QRLabel1"), {0, 0, pageWidth, kTitleHeight},
                                        {QStringLiteral("'日別一覧表' + DMONTH"),
                                         [](const report::Row&, const report::Context& c) {
                                             const QString month = c.value(QStringLiteral("DMONTH"));
                                             return month.isEmpty() ? QStringLiteral("日別一覧表")
                                                                    : QStringLiteral("日別一覧表　（%1）").arg(month);
                                         }},
                                        report::Align::Center, title, firstPage));
    header.items.push_back(report::text(
        QStringLiteral("QRSysData1"), {pageWidth - 40, 2, 40, kTitleHeight - 2},
        {QStringLiteral("Date"), [](const report::Row&, const report::Context& c) { return c.printDate.mid(2); }},
        report::Align::Right, small, firstPage));
    const double labelsTop = kTitleHeight;
    header.items.push_back(report::box({-kLabelWidth, labelsTop, kLabelWidth, kNameHeight + 31 * kLineHeight}));
    header.items.push_back(report::line({-kLabelWidth, labelsTop + kNameHeight, kLabelWidth, 0}));
    for (int d = 1; d <= 31; ++d) {
        const double y = labelsTop + kNameHeight + (d - 1) * kLineHeight;
        header.items.push_back(report::text(QStringLiteral("QRLabelD%1").arg(d),
                                            {-kLabelWidth, y, kLabelWidth - 1, kLineHeight},
                                            report::fixed(QStringLiteral("%1日").arg(d)), report::Align::Right, small));
        if (d % 5 == 0 && d < 30)
            header.items.push_back(report::line({-kLabelWidth, y + kLineHeight, kLabelWidth, 0}, 0.1));
    }
    r.bands.push_back(header);

    // One column per row.
    report::Band detail;
    detail.kind = report::BandKind::Detail;
    detail.name = QStringLiteral("DetailBand1");
    detail.height = kNameHeight + 31 * kLineHeight;
    detail.items.push_back(report::box({0, 0, width, detail.height}));
    for (int line = 0; line < 2; ++line) {
        report::Item item = report::text(
            QStringLiteral("QRDBText_TNAME"), {0.3, line * kNameHeight / 2, width - 0.6, kNameHeight / 2},
            report::computed(QStringLiteral("TNAME"),
                             [line](const report::Row& row) { return nameLine(row.text("TNAME"), line, 4); }),
            report::Align::Center, name);
        item.shrinkToPt = 5;
        detail.items.push_back(item);
    }
    detail.items.push_back(report::line({0, kNameHeight, width, 0}));
    for (int d = 1; d <= 31; ++d) {
        const double y = kNameHeight + (d - 1) * kLineHeight;
        const std::string column = "D" + std::to_string(d);
        detail.items.push_back(report::text(QStringLiteral("QRDBText_D%1").arg(d), {0.3, y, width - 1, kLineHeight},
                                            report::field(column), report::Align::Right, small));
        if (d % 5 == 0 && d < 30) detail.items.push_back(report::line({0, y + kLineHeight, width, 0}, 0.1));
    }
    r.bands.push_back(detail);
    return r;
}

db::ResultSet crossTableRows(const DayWorkTable& table) {
    db::ResultSet rs;
    rs.columns = {"TANCOD", "TNAME"};
    for (int d = 1; d <= 31; ++d) rs.columns.push_back("D" + std::to_string(d));
    for (const DayWorkRow& r : table.rows) {
        std::vector<db::Value> values{r.employee, r.name};
        for (const std::string& d : r.days) values.emplace_back(d);
        rs.rows.push_back(std::move(values));
    }
    return rs;
}

report::Document renderCrossTable(const DayWorkTable& table, const QString& printDate,
                                  const report::TextMeasurer* measurer) {
    static const report::Report declared = crossTableReport();
    report::Context context;
    context.printDate = printDate;
    context.values[QStringLiteral("DMONTH")] = QString::fromStdString(table.month);
    return report::layout(declared, crossTableRows(table), context, measurer);
}

std::optional<DayWorkTable> crossTableOf(db::Connection& connection, const std::string& monthKey) {
    const MonthSpan month = monthOfKey(monthKey);
    const std::vector<AttendanceRow> attendance = attendanceOfMonth(connection, month);
    if (attendance.empty()) return std::nullopt;
    DayWorkTable table;
    table.month = monthKey;
    table.rows = crossTable(crossEmployees(connection), attendance, month);
    return table;
}

}  // namespace reports
