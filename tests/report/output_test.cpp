// What leaves the layer: the CSV export (quoting, line ends, encodings), the
// PDF (texts and embedded fonts), printing a page range, and the preview
// window driven through its object names.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QToolButton>

#include "report/csv.h"
#include "report/paint.h"
#include "report/preview.h"
#include "rtl/textfile.h"
#include "ui/dialogs.h"

using namespace report;

namespace {

Document sample(int pages, QStringList header = {QStringLiteral("氏名"), QStringLiteral("金額")}) {
    Document d;
    d.title = QStringLiteral("テスト");
    d.page = a4(false, 10, 10, 10, 10);
    for (int p = 0; p < pages; ++p) {
        Page page;
        page.texts.push_back(
            {{20, 20, 80, 6}, QStringLiteral("山田太郎 %1頁").arg(p + 1), FontSpec{}, Align::Left, {}});
        page.texts.push_back({{20, 30, 40, 6}, QStringLiteral("123,456"), FontSpec{}, Align::Right, {}});
        page.boxes.push_back({{15, 15, 100, 30}, 0.2});
        d.pages.push_back(page);
    }
    d.csvHeader = header;
    return d;
}

QString run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

QByteArray bytesOf(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

}  // namespace

TEST(Csv, QuotesAsRfc4180AndEndsLinesWithCrLf) {
    Document d = sample(1, {QStringLiteral("a"), QStringLiteral("b,c")});
    d.csvRows = {{QStringLiteral("say \"hi\""), QStringLiteral("1")}, {QStringLiteral("two\nlines"), QString()}};
    EXPECT_EQ(csvText(d), QStringLiteral("a,\"b,c\"\r\n\"say \"\"hi\"\"\",1\r\n\"two\nlines\",\r\n"));
}

TEST(Csv, Cp932ByDefaultUtf8WithBomAsChoiceAndNoSilentQuestionMarks) {
    Document d = sample(1);
    d.csvRows = {{QStringLiteral("髙橋①"), QStringLiteral("1000")}};
    const std::string sjis = csvBytes(d, CsvEncoding::Cp932);
    EXPECT_EQ(rtl::cp932ToUtf8(sjis), "氏名,金額\r\n髙橋①,1000\r\n");
    EXPECT_EQ(csvBytes(d, CsvEncoding::Utf8Bom), "\xEF\xBB\xBF氏名,金額\r\n髙橋①,1000\r\n");

    d.csvRows.push_back({QStringLiteral("𠮷田"), QStringLiteral("1")});
    try {
        csvBytes(d, CsvEncoding::Cp932);
        FAIL() << "no error for a character CP932 lacks";
    } catch (const CsvEncodingError& e) {
        EXPECT_EQ(e.character(), QStringLiteral("𠮷"));
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.csv"));
    EXPECT_THROW(writeCsv(path, d, CsvEncoding::Cp932), CsvEncodingError);
    EXPECT_FALSE(QFile::exists(path));
}

TEST(Pdf, HoldsTheTextsAndEmbedsTheIpaFont) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.pdf"));
    writePdf(path, sample(2));
    const QString text = run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    EXPECT_TRUE(text.contains(QStringLiteral("山田太郎 1頁"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("山田太郎 2頁")));
    EXPECT_TRUE(text.contains(QStringLiteral("123,456")));
    const QString fonts = run(QStringLiteral("pdffonts"), {path});
    EXPECT_TRUE(fonts.contains(QStringLiteral("IPAPGothic"))) << fonts.toStdString();
    for (const QString& line : fonts.split(QLatin1Char('\n')))
        if (line.contains(QStringLiteral("IPAPGothic"))) {
            EXPECT_TRUE(line.contains(QStringLiteral(" yes "))) << line.toStdString();
        }
    const QString info = run(QStringLiteral("pdfinfo"), {path});
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+2"))));
    EXPECT_TRUE(info.contains(QStringLiteral("(A4)"))) << info.toStdString();
}

TEST(Print, PrintsTheChosenPageRange) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("printed.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printDocument(printer, sample(3), 2, 3);
    const QString text = run(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
    EXPECT_FALSE(text.contains(QStringLiteral("1頁")));
    EXPECT_TRUE(text.contains(QStringLiteral("2頁")));
    EXPECT_TRUE(text.contains(QStringLiteral("3頁")));
}

TEST(Preview, PagesZoomsAndSavesWhatItShows) {
    auto doc = std::make_shared<const Document>(sample(3));
    PreviewWindow preview(doc);
    preview.show();
    auto* label = preview.findChild<QLabel*>(QStringLiteral("lblPage"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), QStringLiteral("1 / 3"));
    auto click = [&](const char* name) {
        auto* b = preview.findChild<QToolButton*>(QString::fromLatin1(name));
        ASSERT_NE(b, nullptr) << name;
        b->click();
    };
    click("btnNext");
    EXPECT_EQ(label->text(), QStringLiteral("2 / 3"));
    click("btnLast");
    EXPECT_EQ(label->text(), QStringLiteral("3 / 3"));
    EXPECT_FALSE(preview.findChild<QToolButton*>(QStringLiteral("btnNext"))->isEnabled());
    click("btnFirst");
    EXPECT_EQ(label->text(), QStringLiteral("1 / 3"));
    const double fitted = preview.zoom();
    click("btnZoomIn");
    EXPECT_NEAR(preview.zoom(), fitted * 1.25, 1e-9);
    click("btnFitPage");
    EXPECT_NEAR(preview.zoom(), fitted, 1e-9);

    // Printing goes to whatever the chooser picks, with its range.
    QTemporaryDir dir;
    const QString printed = dir.filePath(QStringLiteral("p.pdf"));
    preview.setPrinterChooser([&](QPrinter& printer, int& from, int& to) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printed);
        from = to = 3;
        return true;
    });
    click("btnPrint");
    EXPECT_TRUE(run(QStringLiteral("pdftotext"), {printed, QStringLiteral("-")}).contains(QStringLiteral("3頁")));

    ui::ScriptedDialogs dialogs;
    dialogs.answer(dir.filePath(QStringLiteral("saved")));  // the suffix is added
    click("btnPdf");
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("saved.pdf"))));
    EXPECT_TRUE(dialogs.last().text.endsWith(QStringLiteral("/テスト.pdf")));  // the title is proposed
    EXPECT_EQ(dialogs.unanswered(), 0);
}

TEST(Preview, CsvAsksBeforeFallingBackToUtf8) {
    Document d = sample(1);
    d.csvRows = {{QStringLiteral("𠮷田"), QStringLiteral("5")}};
    PreviewWindow preview(std::make_shared<const Document>(d));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("x.csv"));
    {
        ui::ScriptedDialogs dialogs;
        dialogs.answer(path).answer(ui::Answer::No);
        preview.saveCsv();
        EXPECT_TRUE(dialogs.last().text.contains(QStringLiteral("𠮷")));
        EXPECT_FALSE(QFile::exists(path));  // nothing written, nothing lost
    }
    {
        ui::ScriptedDialogs dialogs;
        dialogs.answer(path).answer(ui::Answer::Yes);
        preview.saveCsv();
        EXPECT_EQ(bytesOf(path), QByteArray("\xEF\xBB\xBF") + QStringLiteral("氏名,金額\r\n𠮷田,5\r\n").toUtf8());
    }
    {
        // UTF-8 chosen in the dialog: no question.
        ui::ScriptedDialogs dialogs;
        dialogs.answerFile(dir.filePath(QStringLiteral("y")), QStringLiteral("CSV UTF-8 BOM付き (*.csv)"));
        preview.saveCsv();
        EXPECT_EQ(dialogs.shown().size(), 1u);
        EXPECT_TRUE(bytesOf(dir.filePath(QStringLiteral("y.csv"))).startsWith("\xEF\xBB\xBF"));
    }
}

TEST(Preview, NoCsvButtonWhenTheReportDoesNotExport) {
    PreviewWindow preview(std::make_shared<const Document>(sample(1, {})));
    EXPECT_EQ(preview.findChild<QToolButton*>(QStringLiteral("btnCsv")), nullptr);
    EXPECT_NE(preview.findChild<QToolButton*>(QStringLiteral("btnPdf")), nullptr);
}

namespace {
// The rectangle holding every dark pixel of a page painted at 100 dpi.
QRect inkOf(const Page& page) {
    QImage img(827, 1169, QImage::Format_RGB32);
    img.setDotsPerMeterX(3937);
    img.setDotsPerMeterY(3937);
    img.fill(Qt::white);
    {
        QPainter painter(&img);
        paintPage(painter, page, 100);
    }
    QRect ink;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qGray(img.pixel(x, y)) < 128) ink |= QRect(x, y, 1, 1);
    return ink;
}
}  // namespace

TEST(Paint, VerticalTextRunsDownItsColumnOrAlongAWideBoxTurned) {
    FontSpec mincho{QStringLiteral("ＭＳ Ｐ明朝"), 22, false, true};
    Page tall;
    tall.texts.push_back({{50, 20, 12, 120}, QStringLiteral("山田ー太郎  殿"), mincho, Align::Center, {}});
    const QRect a = inkOf(tall);
    EXPECT_GT(a.height(), 4 * a.width()) << a.width() << "x" << a.height();
    EXPECT_GE(a.left(), 50 / 25.4 * 100 - 1);
    EXPECT_LE(a.right(), 62 / 25.4 * 100 + 1);

    Page wide;
    wide.texts.push_back({{20, 50, 108.2, 7.9}, QStringLiteral("山田太郎  殿"), mincho, Align::Center, {}});
    const QRect b = inkOf(wide);
    EXPECT_GT(b.width(), 4 * b.height()) << b.width() << "x" << b.height();
}
