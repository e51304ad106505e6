// Laying a report out: declaration + rows + context + a text measurer give
// pages of positioned texts, lines and boxes. A pure function: the same
// input gives the same pages, and nothing is painted here.
#pragma once

#include <QString>
#include <QStringList>

#include <map>
#include <vector>

#include "report/report.h"

namespace report {

// Width of a text in a font, in millimetres.
class TextMeasurer {
public:
    virtual ~TextMeasurer() = default;
    virtual double widthMm(const QString& text, const FontSpec& font) const = 0;
};

// A measurer that needs no fonts: every character is one em wide
// (half an em for ASCII). Good enough for tests of positions.
class EmMeasurer : public TextMeasurer {
public:
    double widthMm(const QString& text, const FontSpec& font) const override;
};

// Length of a vertical text: one em per character.
double verticalLengthMm(const QString& text, const FontSpec& font);

struct PlacedText {
    RectMm box;  // on the page, from the paper's top-left corner
    QString text;
    FontSpec font;
    Align align = Align::Left;
    QString source;  // component name and expression label
};
struct PlacedLine {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    double penMm = 0.2;
};
struct PlacedBox {
    RectMm box;
    double penMm = 0.2;
};

struct Page {
    std::vector<PlacedText> texts;
    std::vector<PlacedLine> lines;
    std::vector<PlacedBox> boxes;
    // Texts whose source names this component, in print order.
    std::vector<const PlacedText*> named(const QString& component) const;
    // Texts that read exactly `text`.
    std::vector<const PlacedText*> find(const QString& text) const;
};

// A laid-out report: what the preview shows, the printer prints, the PDF
// holds and the CSV export writes.
struct Document {
    QString title;
    PageSetup page;
    std::vector<Page> pages;
    QStringList csvHeader;             // empty: no export
    std::vector<QStringList> csvRows;  // one per printed data band
    QStringList warnings;
    std::size_t rows = 0;  // rows of data laid out
    // One line per text, "page y x [source] text", for reading a layout.
    QString dump() const;
};

struct LayoutInput {
    const Report* report = nullptr;
    const db::ResultSet* rows = nullptr;
    Context context;
    const TextMeasurer* measurer = nullptr;  // null: EmMeasurer
};

Document layout(const LayoutInput& input);
// The same for the common case.
Document layout(const Report& report, const db::ResultSet& rows, Context context = {},
                const TextMeasurer* measurer = nullptr);

}  // namespace report
