// Comma-separated export of a laid-out report: the declared captions as the
// first line, then one line per printed data band in print order; fields
// quoted as RFC 4180 says, lines ended with CR LF.
#pragma once

#include <QString>

#include <stdexcept>
#include <string>

#include "report/layout.h"

namespace report {

enum class CsvEncoding {
    Cp932,    // what Japanese spreadsheet programs open by double-click
    Utf8Bom,  // every character kept; the mark tells spreadsheets it is UTF-8
};

// The export as UTF-8 text.
QString csvText(const Document& document);

// Raised when CP932 has no form for a character of the export.
class CsvEncodingError : public std::runtime_error {
public:
    explicit CsvEncodingError(QString character)
        : std::runtime_error("character not in CP932"), character_(std::move(character)) {}
    const QString& character() const { return character_; }

private:
    QString character_;
};

// The bytes of the file in that encoding; CsvEncodingError for CP932 when a
// character cannot be written (never a silent "?").
std::string csvBytes(const Document& document, CsvEncoding encoding);

// Writes the file atomically (a temporary file replaces it once complete).
// Raises CsvEncodingError or rtl::FileError; nothing is written then.
void writeCsv(const QString& path, const Document& document, CsvEncoding encoding);

}  // namespace report
