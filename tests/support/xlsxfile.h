// Test support: reads an .xlsx file back on its own (libzip and Qt Xml,
// independent of the workbook layer under test) and writes small zip
// fixtures.
#pragma once

#include <QByteArray>
#include <QDomDocument>

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace xlsxtest {

// Writes a zip file holding `parts` (entry name, content) in this order.
void writeZip(const std::string& path, const std::vector<std::pair<std::string, std::string>>& parts);

struct Cell {
    bool present = false;
    std::string type;   // the t attribute: "" (number), "inlineStr", "s", "str", ...
    std::string value;  // number text, or the text of an inline or shared string
    int style = 0;      // the s attribute
    bool hasFormula = false;
};

class Book {
public:
    explicit Book(const std::string& path);

    std::vector<std::string> entryNames() const { return order_; }
    bool hasEntry(const std::string& name) const { return parts_.count(name) != 0; }
    QDomDocument doc(const std::string& part) const;

    std::vector<std::string> sheetNames() const;
    std::string sheetPart(const std::string& sheet) const;
    Cell cell(const std::string& sheet, const std::string& address) const;
    // Names of the sheets whose first view is a selected tab.
    std::vector<std::string> selectedTabs() const;
    int activeTab() const;
    // Defined name text by (name, localSheetId); -1 for a global name.
    std::map<std::pair<std::string, int>, std::string> definedNames() const;
    // The content type of a part ("/xl/worksheets/sheet2.xml"), by override or default.
    std::string contentType(const std::string& part) const;
    // Ids of all relationships of the workbook part, and their targets.
    std::map<std::string, std::string> workbookRelationships() const;

private:
    std::map<std::string, QByteArray> parts_;
    std::vector<std::string> order_;
};

}  // namespace xlsxtest
