#include "report/preview.h"

#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

#include "report/csv.h"
#include "report/paint.h"
#include "rtl/errors.h"
#include "rtl/qt.h"
#include "ui/dialogs.h"
#include "ui/fonts.h"

namespace report {

namespace {

constexpr double ScreenDpi = 96.0;
constexpr double MinZoom = 0.25, MaxZoom = 4.0;

const QString CsvCp932 = QStringLiteral("CSV Shift_JIS (*.csv)");
const QString CsvUtf8 = QStringLiteral("CSV UTF-8 BOM付き (*.csv)");

QToolButton* button(QWidget* parent, const char* name, const QString& caption, QLayout* layout) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setText(caption);
    b->setToolTip(caption);
    b->setAutoRaise(false);
    layout->addWidget(b);
    return b;
}

QString withSuffix(QString path, const QString& suffix) {
    if (QFileInfo(path).suffix().compare(suffix, Qt::CaseInsensitive) != 0) path += QLatin1Char('.') + suffix;
    return path;
}

}  // namespace

PreviewWindow::PreviewWindow(std::shared_ptr<const Document> document, QWidget* parent)
    : QWidget(parent, Qt::Window), document_(std::move(document)), folder_(QDir::currentPath()) {
    setObjectName(QStringLiteral("QRPreview"));
    setWindowTitle(document_->title);
    setFont(ui::defaultFont());
    // Most of the screen, never more than it.
    QSize size(900, 1000);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size() * 0.9);
    resize(size);

    auto* top = new QVBoxLayout(this);
    auto* bar = new QHBoxLayout;
    top->addLayout(bar);
    connect(button(this, "btnFirst", QStringLiteral("|◀"), bar), &QToolButton::clicked, this,
            &PreviewWindow::firstPage);
    connect(button(this, "btnPrior", QStringLiteral("◀"), bar), &QToolButton::clicked, this, &PreviewWindow::priorPage);
    pageLabel_ = new QLabel(this);
    pageLabel_->setObjectName(QStringLiteral("lblPage"));
    pageLabel_->setMinimumWidth(70);
    pageLabel_->setAlignment(Qt::AlignCenter);
    bar->addWidget(pageLabel_);
    connect(button(this, "btnNext", QStringLiteral("▶"), bar), &QToolButton::clicked, this, &PreviewWindow::nextPage);
    connect(button(this, "btnLast", QStringLiteral("▶|"), bar), &QToolButton::clicked, this, &PreviewWindow::lastPage);
    bar->addSpacing(12);
    connect(button(this, "btnZoomIn", QStringLiteral("拡大"), bar), &QToolButton::clicked, this,
            &PreviewWindow::zoomIn);
    connect(button(this, "btnZoomOut", QStringLiteral("縮小"), bar), &QToolButton::clicked, this,
            &PreviewWindow::zoomOut);
    connect(button(this, "btnFitWidth", QStringLiteral("幅に合わせる"), bar), &QToolButton::clicked, this,
            &PreviewWindow::fitWidth);
    connect(button(this, "btnFitPage", QStringLiteral("ページ全体"), bar), &QToolButton::clicked, this,
            &PreviewWindow::fitPage);
    bar->addSpacing(12);
    connect(button(this, "btnPrint", QStringLiteral("印刷"), bar), &QToolButton::clicked, this, &PreviewWindow::print);
    connect(button(this, "btnPdf", QStringLiteral("PDF保存"), bar), &QToolButton::clicked, this,
            &PreviewWindow::savePdf);
    if (!document_->csvHeader.isEmpty())
        connect(button(this, "btnCsv", QStringLiteral("CSV保存"), bar), &QToolButton::clicked, this,
                &PreviewWindow::saveCsv);
    bar->addStretch();

    warning_ = new QLabel(this);
    warning_->setObjectName(QStringLiteral("lblWarning"));
    warning_->setWordWrap(true);
    warning_->setStyleSheet(QStringLiteral("color: #a00000;"));
    warning_->setText(document_->warnings.join(QLatin1Char('\n')));
    warning_->setVisible(!document_->warnings.isEmpty());
    top->addWidget(warning_);

    scroll_ = new QScrollArea(this);
    scroll_->setObjectName(QStringLiteral("pageView"));
    scroll_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    scroll_->setBackgroundRole(QPalette::Dark);
    image_ = new QLabel;
    image_->setAlignment(Qt::AlignCenter);
    scroll_->setWidget(image_);
    // Fitting follows the page view's own size, known only once laid out.
    scroll_->viewport()->installEventFilter(this);
    top->addWidget(scroll_, 1);
    showPage();
}

PreviewWindow::~PreviewWindow() = default;

QImage PreviewWindow::renderPage(int index, double dpi) const {
    const PageSetup& setup = document_->page;
    const QSize size(qRound(setup.pageWidth() / 25.4 * dpi), qRound(setup.pageHeight() / 25.4 * dpi));
    QImage img(size, QImage::Format_RGB32);
    img.setDotsPerMeterX(qRound(dpi / 0.0254));
    img.setDotsPerMeterY(qRound(dpi / 0.0254));
    img.fill(Qt::white);
    if (index >= 0 && index < static_cast<int>(document_->pages.size())) {
        QPainter painter(&img);
        paintPage(painter, document_->pages[static_cast<std::size_t>(index)], dpi);
    }
    return img;
}

void PreviewWindow::showPage() {
    const int count = static_cast<int>(document_->pages.size());
    page_ = std::clamp(page_, 0, std::max(0, count - 1));
    pageLabel_->setText(QStringLiteral("%1 / %2").arg(count ? page_ + 1 : 0).arg(count));
    const PageSetup& setup = document_->page;
    const QSize view = scroll_->viewport()->size();
    if (fit_ == Fit::Width) zoom_ = (view.width() - 20) / (setup.pageWidth() / 25.4 * ScreenDpi);
    else if (fit_ == Fit::Page)
        zoom_ = std::min((view.width() - 20) / (setup.pageWidth() / 25.4 * ScreenDpi),
                         (view.height() - 20) / (setup.pageHeight() / 25.4 * ScreenDpi));
    zoom_ = std::clamp(zoom_, MinZoom, MaxZoom);
    image_->setPixmap(QPixmap::fromImage(renderPage(page_, ScreenDpi * zoom_)));
    image_->adjustSize();
    for (const char* name : {"btnFirst", "btnPrior"})
        if (auto* b = findChild<QToolButton*>(QString::fromLatin1(name))) b->setEnabled(page_ > 0);
    for (const char* name : {"btnNext", "btnLast"})
        if (auto* b = findChild<QToolButton*>(QString::fromLatin1(name))) b->setEnabled(page_ + 1 < count);
}

bool PreviewWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == scroll_->viewport() && event->type() == QEvent::Resize && fit_ != Fit::None) showPage();
    return QWidget::eventFilter(watched, event);
}

void PreviewWindow::firstPage() {
    page_ = 0;
    showPage();
}
void PreviewWindow::priorPage() {
    --page_;
    showPage();
}
void PreviewWindow::nextPage() {
    ++page_;
    showPage();
}
void PreviewWindow::lastPage() {
    page_ = static_cast<int>(document_->pages.size()) - 1;
    showPage();
}
void PreviewWindow::zoomIn() {
    fit_ = Fit::None;
    zoom_ *= 1.25;
    showPage();
}
void PreviewWindow::zoomOut() {
    fit_ = Fit::None;
    zoom_ /= 1.25;
    showPage();
}
void PreviewWindow::fitWidth() {
    fit_ = Fit::Width;
    showPage();
}
void PreviewWindow::fitPage() {
    fit_ = Fit::Page;
    showPage();
}

void PreviewWindow::print() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(document_->title);
    printer.setFullPage(true);
    preparePageLayout(printer, document_->page);
    int from = 0, to = 0;
    if (chooser_) {
        if (!chooser_(printer, from, to)) return;
    } else {
        QPrintDialog dialog(&printer, this);
        dialog.setMinMax(1, std::max(1, static_cast<int>(document_->pages.size())));
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
        dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, true);
        if (dialog.exec() != QDialog::Accepted) return;
        if (printer.printRange() == QPrinter::PageRange) {
            from = printer.fromPage();
            to = printer.toPage();
        } else if (printer.printRange() == QPrinter::CurrentPage) {
            from = to = page_ + 1;
        }
    }
    printDocument(printer, *document_, from, to);
}

QString PreviewWindow::suggested(const QString& suffix) const {
    return QDir(folder_).filePath(document_->title + QLatin1Char('.') + suffix);
}

void PreviewWindow::savePdf() {
    QString path = ui::saveFileName(this, QStringLiteral("PDFで保存"), suggested(QStringLiteral("pdf")),
                                    QStringLiteral("PDF (*.pdf)"));
    if (path.isEmpty()) return;
    path = withSuffix(path, QStringLiteral("pdf"));
    try {
        writePdf(path, *document_);
    } catch (const rtl::Error& e) {
        ui::showError(rtl::toQString(e.what()));
    }
}

void PreviewWindow::saveCsv() {
    QString type;
    QString path =
        ui::saveFileName(this, QStringLiteral("CSVで保存"), folder_, CsvCp932 + QStringLiteral(";;") + CsvUtf8, &type);
    if (path.isEmpty()) return;
    path = withSuffix(path, QStringLiteral("csv"));
    CsvEncoding encoding = type == CsvUtf8 ? CsvEncoding::Utf8Bom : CsvEncoding::Cp932;
    try {
        try {
            writeCsv(path, *document_, encoding);
        } catch (const CsvEncodingError& e) {
            if (!ui::askYesNo(QStringLiteral("「%1」は Shift_JIS (CP932) で書けない文字です。\n"
                                             "UTF-8 (BOM付き) で保存しますか？")
                                  .arg(e.character()),
                              QStringLiteral("CSVで保存"), ui::Icon::Warning))
                return;
            writeCsv(path, *document_, CsvEncoding::Utf8Bom);
        }
    } catch (const rtl::Error& e) {
        ui::showError(rtl::toQString(e.what()));
    }
}

}  // namespace report
