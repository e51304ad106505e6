#include "report/paint.h"

#include <QFile>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

#include <cmath>

#include "rtl/errors.h"
#include "rtl/qt.h"
#include "ui/fonts.h"

namespace report {

QFont qtFont(const FontSpec& design) {
    QFont font(ui::mapFontFamily(design.family));
    font.setPointSizeF(design.pointSize);
    font.setBold(design.bold);
    font.setStyleHint(QFont::SansSerif);
    // Positions are in millimetres: glyph advances must not snap to pixels
    // of the screen, or a preview and its PDF would break lines differently.
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

double FontMeasurer::widthMm(const QString& text, const FontSpec& font) const {
    const QString key = QStringLiteral("%1\x1f%2\x1f%3\x1f").arg(font.family).arg(font.pointSize).arg(font.bold) + text;
    if (const auto it = widths_.constFind(key); it != widths_.constEnd()) return *it;
    // In pixels of 1/7200 inch, independent of any screen.
    QFont f = qtFont(font);
    f.setPixelSize(std::max(1, qRound(font.pointSize * 100)));
    const QFontMetricsF metrics(f);
    const double mm = metrics.horizontalAdvance(text) / 7200.0 * 25.4;
    widths_.insert(key, mm);
    return mm;
}

namespace {

QRectF px(const RectMm& r, double k) { return {r.x * k, r.y * k, r.w * k, r.h * k}; }

// Characters that vertical Japanese text turns a quarter: the long-vowel
// mark, dashes, wave dashes and brackets.
bool turnedInVertical(QChar c) {
    static const QString turned = QStringLiteral("ー－—―‐-~〜～…‥（）()「」『』【】〔〕［］[]｛｝{}＜＞<>《》〈〉＝=");
    return turned.contains(c);
}

// Small kana and the ideographic comma and full stop sit towards the upper
// right of their cell in vertical text.
bool shiftedInVertical(QChar c) {
    static const QString small = QStringLiteral("ぁぃぅぇぉっゃゅょゎァィゥェォッャュョヮヵヶ、。，．");
    return small.contains(c);
}

// One glyph per em down a column through the middle of the box, centred
// along it. A box wider than tall holds the column along its width, turned
// a quarter so that it reads top to bottom once the paper is turned (as
// vertical fonts print on a landscape page).
void drawVertical(QPainter& painter, const PlacedText& t, double k) {
    QRectF box = px(t.box, k);
    painter.save();
    if (box.width() > box.height()) {
        painter.translate(box.center());
        painter.rotate(90);
        box = QRectF(-box.height() / 2, -box.width() / 2, box.height(), box.width());
    }
    const double em = t.font.pointSize / 72.0 * 25.4 * k;
    const double length = em * t.text.size();
    double y = box.top() + (t.align == Align::Left    ? 0
                            : t.align == Align::Right ? box.height() - length
                                                      : (box.height() - length) / 2);
    const double x = box.center().x() - em / 2;
    for (const QChar c : t.text) {
        QRectF cell(x, y, em, em);
        if (turnedInVertical(c)) {
            painter.save();
            painter.translate(cell.center());
            painter.rotate(90);
            painter.drawText(QRectF(-em / 2, -em / 2, em, em), Qt::AlignCenter | Qt::TextDontClip, QString(c));
            painter.restore();
        } else {
            if (shiftedInVertical(c)) cell.translate(em * 0.15, -em * 0.15);
            painter.drawText(cell, Qt::AlignCenter | Qt::TextDontClip, QString(c));
        }
        y += em;
    }
    painter.restore();
}

}  // namespace

void paintPage(QPainter& painter, const Page& page, double dpi) {
    const double k = dpi / 25.4;  // device units per millimetre
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    for (const PlacedBox& b : page.boxes) {
        painter.setPen(QPen(Qt::black, std::max(1.0, b.penMm * k)));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(px(b.box, k));
    }
    for (const PlacedLine& l : page.lines) {
        painter.setPen(QPen(Qt::black, std::max(1.0, l.penMm * k)));
        painter.drawLine(QPointF(l.x1 * k, l.y1 * k), QPointF(l.x2 * k, l.y2 * k));
    }
    painter.setPen(Qt::black);
    // Most texts share one font: set it only when it changes.
    const FontSpec* current = nullptr;
    for (const PlacedText& t : page.texts) {
        if (!current || !(*current == t.font)) {
            painter.setFont(qtFont(t.font));
            current = &t.font;
        }
        if (t.font.vertical) {
            drawVertical(painter, t, k);
            continue;
        }
        int flags = Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextDontClip;
        flags |= t.align == Align::Right ? Qt::AlignRight : t.align == Align::Center ? Qt::AlignHCenter : Qt::AlignLeft;
        painter.drawText(px(t.box, k), flags, t.text);
    }
    painter.restore();
}

void preparePageLayout(QPagedPaintDevice& device, const PageSetup& setup) {
    const QPageSize size(QSizeF(setup.paperWidth, setup.paperHeight), QPageSize::Millimeter, QString(),
                         QPageSize::ExactMatch);
    device.setPageLayout(QPageLayout(size, setup.landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                                     QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
}

void printDocument(QPrinter& printer, const Document& document, int from, int to) {
    printer.setFullPage(true);
    preparePageLayout(printer, document.page);
    const int count = static_cast<int>(document.pages.size());
    const int first = std::max(1, from == 0 ? 1 : from);
    const int last = std::min(count, to == 0 ? count : to);
    if (first > last) return;
    QPainter painter(&printer);
    for (int p = first; p <= last; ++p) {
        if (p > first) printer.newPage();
        paintPage(painter, document.pages[static_cast<std::size_t>(p - 1)], printer.resolution());
    }
}

void writePdf(const QString& path, const Document& document) {
    const QString tmp = path + QStringLiteral(".tmp~");
    QFile::remove(tmp);
    bool ok = false;
    {
        QPdfWriter writer(tmp);
        writer.setResolution(600);
        writer.setTitle(document.title);
        writer.setCreator(QStringLiteral("Tallyra"));
        preparePageLayout(writer, document.page);
        QPainter painter;
        ok = painter.begin(&writer);
        if (ok) {
            for (std::size_t p = 0; p < document.pages.size(); ++p) {
                if (p > 0) writer.newPage();
                paintPage(painter, document.pages[p], writer.resolution());
            }
            ok = painter.end();
        }
    }
    const std::string target = rtl::fromQString(path);
    if (!ok) {
        QFile::remove(tmp);
        throw rtl::FileError(rtl::msg::cannotCreateFile(target), target);
    }
    QFile::remove(path);
    if (!QFile::rename(tmp, path)) {
        QFile::remove(tmp);
        throw rtl::FileError(rtl::msg::cannotWriteFile(target), target);
    }
}

}  // namespace report
