#include "report/layout.h"

#include <QDate>

#include <algorithm>
#include <cmath>

namespace report {

double EmMeasurer::widthMm(const QString& text, const FontSpec& font) const {
    const double em = font.pointSize * 25.4 / 72.0;
    double w = 0;
    for (const QChar c : text) w += c.unicode() < 0x80 ? em / 2 : em;
    return w;
}

std::vector<const PlacedText*> Page::named(const QString& component) const {
    std::vector<const PlacedText*> out;
    for (const PlacedText& t : texts)
        if (t.source == component || t.source.startsWith(component + QLatin1Char(' '))) out.push_back(&t);
    return out;
}

std::vector<const PlacedText*> Page::find(const QString& text) const {
    std::vector<const PlacedText*> out;
    for (const PlacedText& t : texts)
        if (t.text == text) out.push_back(&t);
    return out;
}

QString Document::dump() const {
    QString out;
    for (std::size_t p = 0; p < pages.size(); ++p)
        for (const PlacedText& t : pages[p].texts)
            out += QStringLiteral("%1 %2 %3 [%4] %5\n")
                       .arg(p + 1)
                       .arg(t.box.y, 0, 'f', 1)
                       .arg(t.box.x, 0, 'f', 1)
                       .arg(t.source, t.text);
    return out;
}

namespace {

constexpr double Epsilon = 1e-6;

class Layouter {
public:
    Layouter(const LayoutInput& in)
        : r_(*in.report), rows_(*in.rows), ctx_(in.context), measure_(in.measurer ? in.measurer : &em_) {
        if (ctx_.printDate.isEmpty()) ctx_.printDate = QDate::currentDate().toString(QStringLiteral("yyyy/MM/dd"));
        doc_.title = r_.title;
        doc_.page = r_.page;
        for (const Band& b : r_.bands)
            if (b.kind == BandKind::PageFooter) footerHeight_ += b.height;
    }

    Document run() {
        const std::size_t n = rows_.rows.size();
        doc_.rows = n;
        if (r_.exportsCsv()) {
            const Row first = n ? Row(&rows_, 0) : Row();
            for (const CsvColumn& c : r_.csv) doc_.csvHeader << c.caption(first, ctx_);
        }
        // A page header shows the row printed first on its page.
        if (n) currentRow_ = Row(&rows_, 0);
        startPage();
        std::vector<QString> keys(r_.groups.size());
        for (std::size_t i = 0; i < n; ++i) {
            const Row row(&rows_, i);
            // The outermost group whose key changed; the groups inside it change too.
            std::size_t changed = r_.groups.size();
            for (std::size_t g = 0; g < r_.groups.size(); ++g) {
                const QString k = r_.groups[g].key(row, ctx_);
                if ((i == 0 || k != keys[g]) && changed == r_.groups.size()) changed = g;
                keys[g] = k;
            }
            if (i > 0)
                for (std::size_t g = r_.groups.size(); g-- > changed;)
                    placeKind(BandKind::GroupFooter, static_cast<int>(g), Row(&rows_, i - 1));
            for (std::size_t g = changed; g < r_.groups.size(); ++g) {
                if (i > 0 && r_.groups[g].newPage && !pageEmpty_) pendingBreak_ = true;
                resetGroup(static_cast<int>(g));
                placeKind(BandKind::GroupHeader, static_cast<int>(g), row);
            }
            for (const Band& b : r_.bands)
                if (b.kind == BandKind::Detail) place(b, row, true);
        }
        const Row last = n ? Row(&rows_, n - 1) : Row();
        for (std::size_t g = r_.groups.size(); g-- > 0;) placeKind(BandKind::GroupFooter, static_cast<int>(g), last);
        // A group footer bound to no group closes the whole report.
        placeKind(BandKind::GroupFooter, -1, last);
        placeKind(BandKind::Summary, -1, last);
        finishPage(last);
        if (r_.warnings) doc_.warnings << r_.warnings(rows_);
        return std::move(doc_);
    }

private:
    double bodyTop() const { return bodyTop_; }
    double bodyBottom() const { return r_.page.pageHeight() - r_.page.bottom - footerHeight_; }
    double columnX() const { return r_.page.left + column_ * (r_.page.columnWidth() + r_.page.columnGap); }

    void placeKind(BandKind kind, int group, const Row& row) {
        for (const Band& b : r_.bands)
            if (b.kind == kind && b.group == group) place(b, row, false);
    }

    void startPage() {
        doc_.pages.emplace_back();
        ctx_.page = static_cast<int>(doc_.pages.size());
        column_ = 0;
        for (const Aggregate& a : r_.aggregates)
            if (a.reset == Aggregate::Reset::Page) ctx_.totals[a.name] = 0;
        y_ = r_.page.top;
        for (const Band& b : r_.bands)
            if (b.kind == BandKind::PageHeader || b.kind == BandKind::ColumnHeader) {
                if (!b.printWhen(currentRow_, ctx_)) continue;
                draw(b.items, r_.page.left, y_, currentRow_);
                y_ += b.height;
            }
        bodyTop_ = y_;
        pageEmpty_ = true;
    }

    void finishPage(const Row& row) {
        double y = bodyBottom();
        for (const Band& b : r_.bands)
            if (b.kind == BandKind::PageFooter) {
                if (b.printWhen(row, ctx_)) draw(b.items, r_.page.left, y, row);
                y += b.height;
            }
    }

    void newPage(const Row& row) {
        finishPage(row);
        startPage();
    }

    // Room for `h` mm at the current position: next column, else next page.
    void makeRoom(double h, const Row& previous) {
        if (pendingBreak_) {
            pendingBreak_ = false;
            if (!pageEmpty_) {
                newPage(previous);
                return;
            }
        }
        if (y_ + h <= bodyBottom() + Epsilon || pageEmpty_) return;
        if (column_ + 1 < std::max(1, r_.page.columns)) {
            ++column_;
            y_ = bodyTop();
            return;
        }
        newPage(previous);
    }

    void place(const Band& b, const Row& row, bool detail) {
        if (!b.printWhen(row, ctx_)) return;
        currentRow_ = row;
        makeRoom(b.height, lastPlaced_);
        if (detail) accumulate(row);
        draw(b.items, columnX(), y_, row);
        y_ += b.height;
        pageEmpty_ = false;
        lastPlaced_ = row;
        if (detail && b.exported && r_.exportsCsv()) {
            QStringList line;
            for (const CsvColumn& c : r_.csv) line << c.value(row, ctx_);
            doc_.csvRows.push_back(line);
        }
        for (const ChildBand& c : b.children) {
            const bool fits = y_ + c.height <= bodyBottom() + Epsilon;
            if (c.items.empty() && !fits) {
                // A spacer at the foot of a page is not carried over.
            } else {
                if (!fits) makeRoom(c.height, row);
                draw(c.items, columnX(), y_, row);
                y_ += c.height;
            }
            if (c.newPageAfter) pendingBreak_ = true;
        }
    }

    void accumulate(const Row& row) {
        for (const Aggregate& a : r_.aggregates) ctx_.totals[a.name] += a.value ? a.value(row) : 1;
    }

    void resetGroup(int g) {
        for (const Aggregate& a : r_.aggregates)
            if (a.reset == Aggregate::Reset::Group && a.group == g) ctx_.totals[a.name] = 0;
    }

    void draw(const std::vector<Item>& items, double x0, double y0, const Row& row) {
        Page& page = doc_.pages.back();
        for (const Item& it : items) {
            if (!it.printWhen(row, ctx_)) continue;
            const RectMm at{x0 + it.box.x, y0 + it.box.y, it.box.w, it.box.h};
            switch (it.kind) {
            case Item::Kind::Line: page.lines.push_back({at.x, at.y, at.x + at.w, at.y + at.h, it.penMm}); break;
            case Item::Kind::Box: page.boxes.push_back({at, it.penMm}); break;
            case Item::Kind::Text: {
                const QString s = it.value(row, ctx_);
                if (s.isEmpty()) break;
                FontSpec font = it.font;
                if (it.shrinkToPt > 0) {
                    while (font.pointSize - 0.5 >= it.shrinkToPt - Epsilon && tooLong(s, font, at))
                        font.pointSize -= 0.5;
                    if (tooLong(s, font, at)) {
                        if (!it.overflowNotice.isEmpty()) doc_.warnings << it.overflowNotice.arg(s).arg(font.pointSize);
                    } else if (font.pointSize < it.font.pointSize && !it.shrinkNotice.isEmpty()) {
                        doc_.warnings << it.shrinkNotice.arg(s).arg(font.pointSize);
                    }
                }
                QString source = it.name;
                if (!it.value.label.isEmpty()) source += QLatin1Char(' ') + it.value.label;
                page.texts.push_back({at, s, font, it.align, source});
                break;
            }
            }
        }
    }

    // Text longer than its box: across for horizontal text; for vertical
    // text one em per character down the box's longer side.
    bool tooLong(const QString& s, const FontSpec& font, const RectMm& at) const {
        if (font.vertical) return verticalLengthMm(s, font) > std::max(at.w, at.h) + Epsilon;
        return measure_->widthMm(s, font) > at.w + Epsilon;
    }

    const Report& r_;
    const db::ResultSet& rows_;
    Context ctx_;
    EmMeasurer em_;
    const TextMeasurer* measure_;
    Document doc_;
    double footerHeight_ = 0;
    double bodyTop_ = 0;
    double y_ = 0;
    int column_ = 0;
    bool pageEmpty_ = true;
    bool pendingBreak_ = false;
    Row currentRow_;
    Row lastPlaced_;
};

}  // namespace

double verticalLengthMm(const QString& text, const FontSpec& font) {
    return font.pointSize * 25.4 / 72.0 * static_cast<double>(text.size());
}

Document layout(const LayoutInput& input) {
    static const db::ResultSet noRows;
    LayoutInput in = input;
    if (!in.rows) in.rows = &noRows;
    return Layouter(in).run();
}

Document layout(const Report& report, const db::ResultSet& rows, Context context, const TextMeasurer* measurer) {
    LayoutInput in;
    in.report = &report;
    in.rows = &rows;
    in.context = std::move(context);
    in.measurer = measurer;
    return layout(in);
}

}  // namespace report
