// A banded report declared as data: page set-up in millimetres, bands with
// items on them, groups, aggregates and the columns of its CSV export.
//
// Printed values are small typed functions on the current row (no run-time
// expression language); each keeps a label with the expression it stands
// for, so a dump of the laid-out pages can be read against the form's design.
// Nothing here knows about payroll.
#pragma once

#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "db/connection.h"
#include "db/value.h"

namespace report {

// A rectangle in millimetres; x to the right, y down.
struct RectMm {
    double x = 0, y = 0, w = 0, h = 0;
    double right() const { return x + w; }
    double bottom() const { return y + h; }
    bool operator==(const RectMm&) const = default;
};

enum class Align { Left, Center, Right };

// A font as the design names it ("ＭＳ Ｐゴシック" 9 pt); mapped to the
// installed faces when painted.
struct FontSpec {
    QString family = QStringLiteral("ＭＳ Ｐゴシック");
    double pointSize = 9;
    bool bold = false;
    // Vertical writing: the text runs top to bottom, one glyph per em.
    bool vertical = false;
    bool operator==(const FontSpec&) const = default;
};

// One row of a report's data: the columns of its result and one row's values.
class Row {
public:
    Row() = default;
    Row(const db::ResultSet* rows, std::size_t index) : rows_(rows), index_(index) {}
    bool valid() const { return rows_ != nullptr && index_ < rows_->rows.size(); }
    std::size_t index() const { return index_; }
    // The value of a column; NULL for an unknown column or no row.
    db::Value value(const std::string& column) const;
    // A column as a whole number (NULL, empty text or no row gives 0).
    long long integer(const std::string& column) const;
    // A column as text ("" for NULL).
    QString text(const std::string& column) const;

private:
    const db::ResultSet* rows_ = nullptr;
    std::size_t index_ = 0;
};

class Context;

// A printed value: `label` holds the expression it stands for.
struct Expr {
    QString label;
    std::function<QString(const Row&, const Context&)> fn;
    QString operator()(const Row& r, const Context& c) const { return fn ? fn(r, c) : QString(); }
};
// A "print only when" condition, labelled the same way.
struct Condition {
    QString label;
    std::function<bool(const Row&, const Context&)> fn;
    explicit operator bool() const { return static_cast<bool>(fn); }
    bool operator()(const Row& r, const Context& c) const { return !fn || fn(r, c); }
};

// Helpers for the common kinds of value.
Expr fixed(const QString& text);
Expr field(const std::string& column);  // the column as text
Expr money(const std::string& column);  // "#,##0"
Expr computed(const QString& label, std::function<QString(const Row&)> fn);
Expr printDate();  // the context's print date
Expr pageNumber();
Condition when(const QString& label, std::function<bool(const Row&)> fn);
Condition above0(const std::string& column);  // column > 0

struct Item {
    enum class Kind { Text, Line, Box };
    Kind kind = Kind::Text;
    QString name;  // component name, shown in layout dumps
    RectMm box;    // relative to the band's top-left corner
    FontSpec font;
    Align align = Align::Left;
    Expr value;           // Text items
    Condition printWhen;  // empty: always
    double penMm = 0.2;   // Line and Box items; a Line runs from (x, y) to (x + w, y + h)
    // Text too wide for its box is set in smaller type, down to this size
    // (0: never shrink). Vertical text is measured along the box's longer
    // side, one em per character.
    double shrinkToPt = 0;
    // When set, a text that had to be shrunk is named in the document's
    // warnings: "%1" is the text, "%2" its size in points.
    QString shrinkNotice;
    // The same for a text still too long at the smallest size.
    QString overflowNotice;
};

// Item builders.
Item text(const QString& name, RectMm box, Expr value, Align align = Align::Left, FontSpec font = {},
          Condition printWhen = {});
Item line(RectMm from, double penMm = 0.2);
Item box(RectMm box, double penMm = 0.2);

enum class BandKind {
    PageHeader,    // top of every page, the first included
    ColumnHeader,  // under the page header on every page
    GroupHeader,
    Detail,  // one per row
    GroupFooter,
    Summary,     // once, after the last row
    PageFooter,  // foot of every page, the last included
};

// A child band follows its parent on the same page. With no items it is a
// spacer (dropped when it does not fit at the foot of a page); with
// `newPageAfter` it ends the page (never after the last band of the report).
struct ChildBand {
    double height = 0;
    std::vector<Item> items;
    bool newPageAfter = false;
};

struct Band {
    BandKind kind = BandKind::Detail;
    QString name;
    double height = 0;
    std::vector<Item> items;
    Condition printWhen;
    std::vector<ChildBand> children;
    // Group bands: the group they belong to (index into Report::groups). A
    // group footer of no group (-1) prints once, after the last row.
    int group = -1;
    // Detail bands: each one printed gives one row of the CSV export.
    bool exported = true;
};

struct Group {
    QString name;
    Expr key;              // a new group starts where this changes
    bool newPage = false;  // each group (after the first) starts a new page
};

// A running total or count, read by items through Context::sum / count.
struct Aggregate {
    enum class Reset { Report, Group, Page };
    QString name;
    std::function<long long(const Row&)> value;  // null: counts rows
    Reset reset = Reset::Report;
    int group = -1;  // Reset::Group: which group
};

struct PageSetup {
    // Paper size in millimetres (portrait measures; the orientation turns it).
    double paperWidth = 210, paperHeight = 297;
    bool landscape = false;
    double top = 10, bottom = 10, left = 10, right = 10;
    int columns = 1;
    double columnGap = 0;
    double pageWidth() const { return landscape ? paperHeight : paperWidth; }
    double pageHeight() const { return landscape ? paperWidth : paperHeight; }
    double columnWidth() const;
};
PageSetup a4(bool landscape, double top, double bottom, double left, double right);

struct CsvColumn {
    Expr caption;  // evaluated on the first row (an empty row when there is none)
    Expr value;
};

// A report form's declaration.
struct Report {
    QString title;  // window caption of the preview
    PageSetup page;
    std::vector<Band> bands;
    std::vector<Group> groups;
    std::vector<Aggregate> aggregates;
    std::vector<CsvColumn> csv;  // empty: the form does not export
    // Remarks for the reader of the preview, computed from all rows
    // (e.g. values this layout has no place for).
    std::function<QStringList(const db::ResultSet&)> warnings;

    bool exportsCsv() const { return !csv.empty(); }
};

// What the items see while the report is laid out.
class Context {
public:
    int page = 0;                         // 1-based page number
    QString printDate;                    // fixed once per layout ("yyyy/MM/dd")
    std::map<QString, QString> values;    // report-wide values (labels, keys)
    std::map<QString, long long> totals;  // aggregates by name

    long long sum(const QString& aggregate) const;
    long long count(const QString& aggregate) const { return sum(aggregate); }
    QString value(const QString& name) const;
};

}  // namespace report
