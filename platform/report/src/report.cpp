#include "report/report.h"

#include "rtl/format.h"
#include "rtl/qt.h"

namespace report {

db::Value Row::value(const std::string& column) const {
    if (!valid()) return {};
    const auto& cols = rows_->columns;
    for (std::size_t i = 0; i < cols.size(); ++i)
        if (cols[i] == column) return rows_->rows[index_][i];
    return {};
}

long long Row::integer(const std::string& column) const {
    const db::Value v = value(column);
    if (v.isInteger()) return v.integer();
    if (v.isFloat()) return static_cast<long long>(v.real());
    if (v.isText()) {
        bool ok = false;
        const long long n = QString::fromStdString(v.text()).trimmed().toLongLong(&ok);
        return ok ? n : 0;
    }
    return 0;
}

QString Row::text(const std::string& column) const { return rtl::toQString(value(column).toString()); }

Expr fixed(const QString& text) {
    return {QLatin1Char('\'') + text + QLatin1Char('\''), [text](const Row&, const Context&) { return text; }};
}

Expr field(const std::string& column) {
    return {QString::fromStdString(column), [column](const Row& r, const Context&) { return r.text(column); }};
}

Expr money(const std::string& column) {
    return {QString::fromStdString(column) + QStringLiteral(" #,##0"), [column](const Row& r, const Context&) {
                if (r.value(column).isNull()) return QString();
                return rtl::toQString(rtl::formatInteger("#,##0", r.integer(column)));
            }};
}

Expr computed(const QString& label, std::function<QString(const Row&)> fn) {
    return {label, [fn = std::move(fn)](const Row& r, const Context&) { return fn(r); }};
}

Expr printDate() {
    return {QStringLiteral("PrintDate"), [](const Row&, const Context& c) { return c.printDate; }};
}

Expr pageNumber() {
    return {QStringLiteral("PageNumber"), [](const Row&, const Context& c) { return QString::number(c.page); }};
}

Condition when(const QString& label, std::function<bool(const Row&)> fn) {
    return {label, [fn = std::move(fn)](const Row& r, const Context&) { return fn(r); }};
}

Condition above0(const std::string& column) {
    return when(QString::fromStdString(column) + QStringLiteral(" > 0"),
                [column](const Row& r) { return r.integer(column) > 0; });
}

Item text(const QString& name, RectMm box, Expr value, Align align, FontSpec font, Condition printWhen) {
    Item item;
    item.kind = Item::Kind::Text;
    item.name = name;
    item.box = box;
    item.value = std::move(value);
    item.align = align;
    item.font = std::move(font);
    item.printWhen = std::move(printWhen);
    return item;
}

namespace {
Item drawing(Item::Kind kind, RectMm area, double penMm) {
    Item item;
    item.kind = kind;
    item.box = area;
    item.penMm = penMm;
    return item;
}
}  // namespace

Item line(RectMm from, double penMm) { return drawing(Item::Kind::Line, from, penMm); }
Item box(RectMm area, double penMm) { return drawing(Item::Kind::Box, area, penMm); }

double PageSetup::columnWidth() const {
    const int n = columns < 1 ? 1 : columns;
    return (pageWidth() - left - right - columnGap * (n - 1)) / n;
}

PageSetup a4(bool landscape, double top, double bottom, double left, double right) {
    PageSetup p;
    p.landscape = landscape;
    p.top = top;
    p.bottom = bottom;
    p.left = left;
    p.right = right;
    return p;
}

long long Context::sum(const QString& aggregate) const {
    const auto it = totals.find(aggregate);
    return it == totals.end() ? 0 : it->second;
}

QString Context::value(const QString& name) const {
    const auto it = values.find(name);
    return it == values.end() ? QString() : it->second;
}

}  // namespace report
