// A spreadsheet workbook in the Office Open XML format (.xlsx), edited in
// memory: opened from a template file (read only, the file is closed at
// once and never written), sheets copied, one sheet made the active one,
// cells written by address, and saved under another name.
//
// Cells keep the template's formatting: a written cell keeps its style, and
// a cell the template leaves out takes its row's or column's style. Text is
// stored inline in the cell, numbers and dates as numbers (a date as its
// serial, days since 1899-12-30, shown by the cell's date format).
//
// Every failure raises rtl::AutomationError (a sheet or cell that is not
// there, a malformed part) or rtl::FileError (opening, saving).
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace sheet {

class Workbook {
public:
    // Reads the whole workbook file into memory.
    static Workbook open(const std::string& templatePath);

    Workbook(Workbook&&) noexcept;
    Workbook& operator=(Workbook&&) noexcept;
    ~Workbook();

    // Sheet names in workbook order.
    std::vector<std::string> sheetNames() const;
    bool hasSheet(const std::string& name) const;

    // Copies sheet `source` (its cells, layout, page set-up and its own
    // relationships) into a new sheet `newName` placed right after sheet
    // `after`. The source's print area and print titles are defined for the
    // copy as well. Throws when a name is unknown, `newName` is taken or is
    // no valid sheet name.
    void copySheet(const std::string& source, const std::string& after, const std::string& newName);

    // Makes `name` the active sheet: the one the workbook opens on and the
    // only selected tab.
    void activate(const std::string& name);
    std::string activeSheet() const;

    // Cell values by address ("A5", "BE14").
    void setNumber(const std::string& sheetName, const std::string& address, double value);
    void setText(const std::string& sheetName, const std::string& address, const std::string& text);
    // A date-time as days since 1899-12-30 (the time of day as the fraction).
    void setDate(const std::string& sheetName, const std::string& address, double serial);

    // Writes the workbook to `path`: first into a temporary file in the same
    // folder, then renamed over `path`, so a failed save leaves an existing
    // file untouched. Saving over the template that was opened is refused.
    void saveAs(const std::string& path) const;

private:
    struct Impl;
    explicit Workbook(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> d_;
};

// True when `name` may name a sheet: 1 to 31 characters, none of : \ / ? * [ ]
// and not starting or ending with an apostrophe.
bool validSheetName(const std::string& name);

}  // namespace sheet
