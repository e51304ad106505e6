// Painting laid-out pages: on screen, on a printer and into a PDF. Every
// device is used in full-page mode and our own margins (already inside the
// laid-out positions) are the only ones, so a value printed on pre-printed
// paper lands where the layout put it.
#pragma once

#include <QFont>
#include <QHash>
#include <QString>

#include "report/layout.h"

class QPainter;
class QPagedPaintDevice;
class QPrinter;

namespace report {

// The Qt font for a design font (family mapped to the installed faces).
QFont qtFont(const FontSpec& font);

// Measures with the fonts that painting uses. Widths are remembered: a
// report measures the same captions on every page.
class FontMeasurer : public TextMeasurer {
public:
    double widthMm(const QString& text, const FontSpec& font) const override;

private:
    mutable QHash<QString, double> widths_;
};

// Paints one page with `painter` whose device has `dpi` dots per inch in
// both directions; (0, 0) is the paper's top-left corner.
void paintPage(QPainter& painter, const Page& page, double dpi);

// Sets the device's page size, orientation and zero margins from the set-up.
void preparePageLayout(QPagedPaintDevice& device, const PageSetup& setup);

// Prints pages `from`..`to` (1-based, inclusive; 0 = first / last).
void printDocument(QPrinter& printer, const Document& document, int from = 0, int to = 0);

// Writes the whole document as a PDF (fonts embedded). Replaces the file
// only when the whole PDF was written; raises rtl::FileError otherwise.
void writePdf(const QString& path, const Document& document);

}  // namespace report
