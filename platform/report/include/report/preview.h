// The print preview: a modeless window over one laid-out document, which it
// owns. Printing, the PDF and the CSV export all take that document, so what
// is printed is what is shown, whatever the main window's keys are by then.
//
// Controls (object names): btnFirst, btnPrior, btnNext, btnLast, lblPage
// ("n / m"), btnZoomIn, btnZoomOut, btnFitWidth, btnFitPage, btnPrint,
// btnPdf, btnCsv (only when the report exports), lblWarning, pageView.
#pragma once

#include <QWidget>

#include <functional>
#include <memory>

#include "report/layout.h"

class QLabel;
class QPrinter;
class QScrollArea;
class QToolButton;

namespace report {

class PreviewWindow : public QWidget {
    Q_OBJECT
public:
    explicit PreviewWindow(std::shared_ptr<const Document> document, QWidget* parent = nullptr);
    ~PreviewWindow() override;

    const Document& document() const { return *document_; }
    int pageIndex() const { return page_; }  // 0-based
    double zoom() const { return zoom_; }    // 1.0 = paper size at 96 dpi

    void firstPage();
    void priorPage();
    void nextPage();
    void lastPage();
    void zoomIn();
    void zoomOut();
    void fitWidth();
    void fitPage();
    // The printer dialog, then the chosen pages to the printer.
    void print();
    // A file dialog, then the PDF / the CSV file. Errors are shown, not thrown.
    void savePdf();
    void saveCsv();

    // Replaces the printer dialog (tests, scripted runs): returns false to
    // cancel; may set the printer and the page range (0 = all).
    using PrinterChooser = std::function<bool(QPrinter& printer, int& from, int& to)>;
    void setPrinterChooser(PrinterChooser chooser) { chooser_ = std::move(chooser); }
    // Where the file dialogs start.
    void setFolder(const QString& folder) { folder_ = folder; }

    // The current page drawn as the screen shows it.
    QImage renderPage(int index, double dpi) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showPage();
    // The file the save dialogs propose: the report's title in the folder.
    QString suggested(const QString& suffix) const;
    enum class Fit { None, Width, Page };
    std::shared_ptr<const Document> document_;
    int page_ = 0;
    double zoom_ = 1.0;
    Fit fit_ = Fit::Page;
    QString folder_;
    PrinterChooser chooser_;
    QLabel* pageLabel_ = nullptr;
    QLabel* warning_ = nullptr;
    QLabel* image_ = nullptr;
    QScrollArea* scroll_ = nullptr;
};

}  // namespace report
