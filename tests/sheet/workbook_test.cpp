// The workbook layer on a small hand-written template: two sheets, a print
// area and print titles, styles by cell, row and column, a formula with its
// calculation chain and a shared string. Everything is read back from the
// saved file with the independent reader.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "rtl/errors.h"
#include "sheet/workbook.h"
#include "xlsxfile.h"

namespace {

namespace fs = std::filesystem;

const char* kWorksheetCt = "application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml";

std::vector<std::pair<std::string, std::string>> templateParts() {
    const std::string ws =
        "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
        "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"";
    return {
        {"[Content_Types].xml",
         "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
         "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
         "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
         "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
         "<Override PartName=\"/xl/workbook.xml\" "
         "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/>"
         "<Override PartName=\"/xl/worksheets/sheet1.xml\" ContentType=\"" +
             std::string(kWorksheetCt) +
             "\"/>"
             "<Override PartName=\"/xl/worksheets/sheet2.xml\" ContentType=\"" +
             std::string(kWorksheetCt) +
             "\"/>"
             "<Override PartName=\"/xl/calcChain.xml\" "
             "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.calcChain+xml\"/>"
             "</Types>"},
        {"_rels/.rels",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
         "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
         "<Relationship Id=\"rId1\" "
         "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
         "Target=\"xl/workbook.xml\"/></Relationships>"},
        {"xl/workbook.xml",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?><workbook " + ws +
             ">"
             "<bookViews><workbookView activeTab=\"1\"/></bookViews>"
             "<sheets><sheet name=\"Sheet1\" sheetId=\"1\" r:id=\"rId1\"/>"
             "<sheet name=\"Notes\" sheetId=\"2\" r:id=\"rId2\"/></sheets>"
             "<definedNames>"
             "<definedName name=\"_xlnm.Print_Area\" localSheetId=\"0\">Sheet1!$A$1:$BL$44</definedName>"
             "<definedName name=\"_xlnm.Print_Titles\" localSheetId=\"0\">Sheet1!$A:$H,Sheet1!$1:$7</definedName>"
             "<definedName name=\"_xlnm.Print_Area\" localSheetId=\"1\">Notes!$A$1:$C$3</definedName>"
             "<definedName name=\"Total\">Sheet1!$D$4</definedName>"
             "</definedNames></workbook>"},
        {"xl/_rels/workbook.xml.rels",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
         "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
         "<Relationship Id=\"rId1\" "
         "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet\" "
         "Target=\"worksheets/sheet1.xml\"/>"
         "<Relationship Id=\"rId2\" "
         "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet\" "
         "Target=\"worksheets/sheet2.xml\"/>"
         "<Relationship Id=\"rId3\" "
         "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings\" "
         "Target=\"sharedStrings.xml\"/>"
         "<Relationship Id=\"rId4\" "
         "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/calcChain\" "
         "Target=\"calcChain.xml\"/>"
         "</Relationships>"},
        {"xl/sharedStrings.xml",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
         "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" count=\"1\" uniqueCount=\"1\">"
         "<si><t>氏名</t></si></sst>"},
        {"xl/calcChain.xml",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
         "<calcChain xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><c r=\"D4\" "
         "i=\"1\"/></calcChain>"},
        {"xl/worksheets/sheet1.xml",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?><worksheet " + ws +
             ">"
             "<dimension ref=\"A1:D9\"/>"
             "<sheetViews><sheetView workbookViewId=\"0\"/></sheetViews>"
             "<cols><col min=\"3\" max=\"3\" width=\"9\" style=\"4\" customWidth=\"1\"/></cols>"
             "<sheetData>"
             "<row r=\"1\" spans=\"1:4\"><c r=\"A1\" t=\"s\"><v>0</v></c></row>"
             "<row r=\"4\"><c r=\"A4\" s=\"1\"><v>7</v></c><c r=\"D4\" s=\"1\"><f>A4*2</f><v>14</v></c></row>"
             "<row r=\"5\"><c r=\"A5\" s=\"2\"/><c r=\"Q5\" s=\"3\"/></row>"
             "<row r=\"9\" s=\"5\" customFormat=\"1\"/>"
             "</sheetData>"
             "<pageSetup paperSize=\"9\" orientation=\"landscape\"/></worksheet>"},
        {"xl/worksheets/sheet2.xml", "<?xml version=\"1.0\" encoding=\"UTF-8\"?><worksheet " + ws +
                                         ">"
                                         "<sheetViews><sheetView tabSelected=\"1\" workbookViewId=\"0\"/></sheetViews>"
                                         "<sheetData/></worksheet>"},
    };
}

class WorkbookTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("tallyra_sheet_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        templatePath_ = (dir_ / "template.xlsx").string();
        xlsxtest::writeZip(templatePath_, templateParts());
        templateBytes_ = bytes(templatePath_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    static std::string bytes(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    std::string out(const char* name = "out.xlsx") const { return (dir_ / name).string(); }

    fs::path dir_;
    std::string templatePath_;
    std::string templateBytes_;
};

// Copies made the way the ledger makes them: each right after Sheet1, so the
// newest copy stands first.
TEST_F(WorkbookTest, CopiesGoInOrderWithTheirOwnPartsAndPrintSetUp) {
    sheet::Workbook book = sheet::Workbook::open(templatePath_);
    book.copySheet("Sheet1", "Sheet1", "Sheet1 (2)");
    book.copySheet("Sheet1", "Sheet1", "Sheet1 (3)");
    EXPECT_EQ(book.sheetNames(), (std::vector<std::string>{"Sheet1", "Sheet1 (3)", "Sheet1 (2)", "Notes"}));
    book.saveAs(out());

    xlsxtest::Book back(out());
    EXPECT_EQ(back.sheetNames(), (std::vector<std::string>{"Sheet1", "Sheet1 (3)", "Sheet1 (2)", "Notes"}));
    std::set<std::string> partsSeen;
    for (const std::string& name : back.sheetNames()) {
        const std::string part = back.sheetPart(name);
        EXPECT_TRUE(back.hasEntry(part)) << name;
        EXPECT_TRUE(partsSeen.insert(part).second) << "two sheets share " << part;
        EXPECT_EQ(back.contentType("/" + part), kWorksheetCt) << name;
    }
    // The copies carry the template's cells and page set-up.
    EXPECT_EQ(back.cell("Sheet1 (3)", "A4").value, "7");
    EXPECT_FALSE(back.doc(back.sheetPart("Sheet1 (2)")).elementsByTagName("pageSetup").isEmpty());

    const auto names = back.definedNames();
    const std::map<std::pair<std::string, int>, std::string> expected = {
        {{"_xlnm.Print_Area", 0}, "Sheet1!$A$1:$BL$44"},
        {{"_xlnm.Print_Titles", 0}, "Sheet1!$A:$H,Sheet1!$1:$7"},
        {{"_xlnm.Print_Area", 1}, "'Sheet1 (3)'!$A$1:$BL$44"},
        {{"_xlnm.Print_Titles", 1}, "'Sheet1 (3)'!$A:$H,'Sheet1 (3)'!$1:$7"},
        {{"_xlnm.Print_Area", 2}, "'Sheet1 (2)'!$A$1:$BL$44"},
        {{"_xlnm.Print_Titles", 2}, "'Sheet1 (2)'!$A:$H,'Sheet1 (2)'!$1:$7"},
        {{"_xlnm.Print_Area", 3}, "Notes!$A$1:$C$3"},  // moved along with its sheet
        {{"Total", -1}, "Sheet1!$D$4"},
    };
    EXPECT_EQ(names, expected);
    // The sheet that was active (Notes) stays active at its new position.
    EXPECT_EQ(back.activeTab(), 3);
    EXPECT_EQ(bytes(templatePath_), templateBytes_) << "the template was written";
}

TEST_F(WorkbookTest, RefusesBadCopies) {
    sheet::Workbook book = sheet::Workbook::open(templatePath_);
    EXPECT_THROW(book.copySheet("Nope", "Sheet1", "X"), rtl::AutomationError);
    EXPECT_THROW(book.copySheet("Sheet1", "Nope", "X"), rtl::AutomationError);
    EXPECT_THROW(book.copySheet("Sheet1", "Sheet1", "notes"), rtl::AutomationError);  // names ignore case
    EXPECT_THROW(book.copySheet("Sheet1", "Sheet1", "a/b"), rtl::AutomationError);
    EXPECT_THROW(book.copySheet("Sheet1", "Sheet1", std::string(32, 'x')), rtl::AutomationError);
    EXPECT_EQ(book.sheetNames().size(), 2u);
}

TEST_F(WorkbookTest, ActivatingLeavesExactlyOneSelectedTab) {
    sheet::Workbook book = sheet::Workbook::open(templatePath_);
    book.copySheet("Sheet1", "Sheet1", "Sheet1 (2)");
    book.activate("Sheet1 (2)");
    EXPECT_EQ(book.activeSheet(), "Sheet1 (2)");
    book.saveAs(out());
    xlsxtest::Book back(out());
    EXPECT_EQ(back.selectedTabs(), std::vector<std::string>{"Sheet1 (2)"});
    EXPECT_EQ(back.activeTab(), 1);
}

TEST_F(WorkbookTest, CellsTakeTheirTypeAndKeepTheTemplateStyle) {
    sheet::Workbook book = sheet::Workbook::open(templatePath_);
    book.copySheet("Sheet1", "Sheet1", "Sheet1 (2)");
    const std::string s = "Sheet1 (2)";
    book.setDate(s, "A5", 45292);  // 2024-01-01, styled as a date by the template
    book.setText(s, "Q5", "パート");
    book.setNumber(s, "A4", 12.25);
    book.setText(s, "D4", " 手当 ");   // replaces a formula
    book.setNumber(s, "C20", 3);       // no such row: takes column C's style
    book.setNumber(s, "B9", 1);        // a styled row
    book.setNumber(s, "BI43", -1500);  // beyond the used range
    book.setNumber(s, "BI44", 300000);
    book.setNumber(s, "BI45", 0.1);
    book.setText(s, "E2",
                 std::string("a\x01"
                             "b"));  // a control character cannot be stored
    book.saveAs(out());

    xlsxtest::Book back(out());
    struct Expect {
        const char* address;
        const char* type;
        const char* value;
        int style;
    };
    for (const Expect& e :
         {Expect{"A5", "", "45292", 2}, Expect{"Q5", "inlineStr", "パート", 3}, Expect{"A4", "", "12.25", 1},
          Expect{"D4", "inlineStr", " 手当 ", 1}, Expect{"C20", "", "3", 4}, Expect{"B9", "", "1", 5},
          Expect{"BI43", "", "-1500", 0}, Expect{"BI44", "", "300000", 0}, Expect{"BI45", "", "0.1", 0},
          Expect{"E2", "inlineStr", "ab", 0}, Expect{"A1", "s", "0", 0}}) {
        const xlsxtest::Cell c = back.cell(s, e.address);
        EXPECT_TRUE(c.present) << e.address;
        EXPECT_EQ(c.type, e.type) << e.address;
        EXPECT_EQ(c.value, e.value) << e.address;
        EXPECT_EQ(c.style, e.style) << e.address;
    }
    EXPECT_FALSE(back.cell(s, "D4").hasFormula);
    // The template's own sheet is untouched.
    EXPECT_FALSE(back.cell("Sheet1", "Q5").value.size());
    EXPECT_TRUE(back.cell("Sheet1", "D4").hasFormula);

    // Rows and cells stay in order; the used range covers the new cells.
    const QDomDocument ws = back.doc(back.sheetPart(s));
    int lastRow = 0;
    const QDomNodeList rows = ws.elementsByTagName("row");
    for (int i = 0; i < rows.count(); ++i) {
        const int r = rows.at(i).toElement().attribute("r").toInt();
        EXPECT_GT(r, lastRow);
        lastRow = r;
    }
    EXPECT_EQ(ws.elementsByTagName("dimension").at(0).toElement().attribute("ref"), "A1:BI45");
    QDomElement fourth;
    for (int i = 0; i < rows.count(); ++i)
        if (rows.at(i).toElement().attribute("r") == "4") fourth = rows.at(i).toElement();
    const QDomNodeList row4 = fourth.elementsByTagName("c");
    ASSERT_EQ(row4.count(), 2);
    EXPECT_EQ(row4.at(0).toElement().attribute("r"), "A4");
    EXPECT_EQ(row4.at(1).toElement().attribute("r"), "D4");
}

TEST_F(WorkbookTest, TheCalculationChainIsLeftOut) {
    sheet::Workbook book = sheet::Workbook::open(templatePath_);
    book.saveAs(out());
    xlsxtest::Book back(out());
    EXPECT_FALSE(back.hasEntry("xl/calcChain.xml"));
    for (const auto& [id, target] : back.workbookRelationships()) EXPECT_NE(target, "calcChain.xml");
    EXPECT_EQ(back.contentType("/xl/calcChain.xml"), "application/xml");  // no override left
    EXPECT_EQ(back.entryNames().front(), "[Content_Types].xml");
}

TEST_F(WorkbookTest, SavingReplacesTheTargetButNeverTheTemplate) {
    sheet::Workbook book = sheet::Workbook::open(templatePath_);
    book.setNumber("Sheet1", "A4", 99);
    {
        std::ofstream old(out(), std::ios::binary);
        old << "an older ledger";
    }
    book.saveAs(out());
    EXPECT_EQ(xlsxtest::Book(out()).cell("Sheet1", "A4").value, "99");
    // No temporary file stays behind.
    int files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir_)) ++files;
    EXPECT_EQ(files, 2);

    EXPECT_THROW(book.saveAs(templatePath_), rtl::FileError);
    EXPECT_THROW(book.saveAs((dir_ / "." / "template.xlsx").string()), rtl::FileError);
    EXPECT_EQ(bytes(templatePath_), templateBytes_);
    // A folder that is not there: nothing is written, the error says so.
    EXPECT_THROW(book.saveAs((dir_ / "missing" / "x.xlsx").string()), rtl::FileError);
}

TEST_F(WorkbookTest, OpeningSomethingElseFails) {
    EXPECT_THROW(sheet::Workbook::open((dir_ / "none.xlsx").string()), rtl::FileError);
    const std::string text = (dir_ / "text.xlsx").string();
    std::ofstream(text) << "not a zip";
    EXPECT_THROW(sheet::Workbook::open(text), rtl::FileError);
    const std::string zip = (dir_ / "other.zip").string();
    xlsxtest::writeZip(zip, {{"readme.txt", "hello"}});
    EXPECT_THROW(sheet::Workbook::open(zip), rtl::AutomationError);
}

}  // namespace
