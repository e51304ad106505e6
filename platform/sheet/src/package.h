// The parts of a zip package in their stored order, read into memory at
// once (the file is closed again) and written out as a new zip file.
#pragma once

#include <QByteArray>

#include <string>
#include <vector>

namespace sheet::detail {

struct Part {
    std::string name;  // zip entry name, e.g. "xl/workbook.xml"
    QByteArray data;
};

// Reads every entry of the zip file `path`, read only. Throws
// rtl::FileError when the file cannot be opened or an entry not read.
std::vector<Part> readPackage(const std::string& path);

// Writes `parts` in the given order as a new zip file `path` (replaced when
// it exists). Throws rtl::FileError on failure; a half-written file is removed.
void writePackage(const std::string& path, const std::vector<Part>& parts);

}  // namespace sheet::detail
