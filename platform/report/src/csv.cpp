#include "report/csv.h"

#include "rtl/qt.h"
#include "rtl/textfile.h"

namespace report {

namespace {

QString quoted(const QString& field) {
    const bool needs = field.contains(QLatin1Char(',')) || field.contains(QLatin1Char('"')) ||
                       field.contains(QLatin1Char('\r')) || field.contains(QLatin1Char('\n'));
    if (!needs) return field;
    QString out = field;
    out.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + out + QLatin1Char('"');
}

void appendLine(QString& out, const QStringList& fields) {
    for (int i = 0; i < fields.size(); ++i) {
        if (i) out += QLatin1Char(',');
        out += quoted(fields[i]);
    }
    out += QStringLiteral("\r\n");
}

}  // namespace

QString csvText(const Document& document) {
    QString out;
    if (document.csvHeader.isEmpty()) return out;
    appendLine(out, document.csvHeader);
    for (const QStringList& row : document.csvRows) appendLine(out, row);
    return out;
}

std::string csvBytes(const Document& document, CsvEncoding encoding) {
    const std::string utf8 = rtl::fromQString(csvText(document));
    if (encoding == CsvEncoding::Utf8Bom) return "\xEF\xBB\xBF" + utf8;
    std::string missing;
    auto bytes = rtl::utf8ToCp932Exact(utf8, &missing);
    if (!bytes) throw CsvEncodingError(rtl::toQString(missing));
    return *bytes;
}

void writeCsv(const QString& path, const Document& document, CsvEncoding encoding) {
    const std::string bytes = csvBytes(document, encoding);
    rtl::writeTextFile(rtl::fromQString(path), bytes);
}

}  // namespace report
