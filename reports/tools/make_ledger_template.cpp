// Writes the wage-ledger template Kyuyo_daicho.xlsx: one sheet "Sheet1" laid
// out as the statutory wage ledger of one employee for one year. Run at build
// time; the program carries the result and puts it into a working folder
// that has none.
//
// The cells the ledger fills:
//   A2        title across the sheet
//   A5 Q5 AG5 birth date (date format), job category, name
//   B8..B43   row captions (some come from the caption table)
//   I..BA     twelve month columns, four sheet columns each (I7.. the month)
//   BE, BI    the two bonuses
// rows 8 to 43 hold the values: days, hours (two decimals), amounts.
#include <zip.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

std::string col(int c) {
    std::string s;
    while (c > 0) {
        s.insert(s.begin(), static_cast<char>('A' + (c - 1) % 26));
        c = (c - 1) / 26;
    }
    return s;
}

std::string esc(const std::string& t) {
    std::string o;
    for (char c : t) {
        if (c == '&') o += "&amp;";
        else if (c == '<') o += "&lt;";
        else if (c == '>') o += "&gt;";
        else if (c == '"') o += "&quot;";
        else o += c;
    }
    return o;
}

// Style indices of styles.xml below.
enum Style {
    Plain = 0,
    Title = 1,
    Header = 2,
    DateValue = 3,
    TextValue = 4,
    Caption = 5,
    Section = 6,
    Amount = 7,
    Hours = 8,
    MonthHeader = 9,
};

constexpr int kLastColumn = 64;       // BL
constexpr int kFirstMonthColumn = 9;  // I

struct Cell {
    int style = Plain;
    std::string text;  // inline text, empty for none
};

class Sheet {
public:
    void put(int row, int column, int style, const std::string& text = {}) { cells_[{row, column}] = {style, text}; }
    // A merged block: every cell styled (so borders show all round), the text in the first.
    void block(int row1, int col1, int row2, int col2, int style, const std::string& text = {}) {
        for (int r = row1; r <= row2; ++r)
            for (int c = col1; c <= col2; ++c) put(r, c, style);
        if (!text.empty()) put(row1, col1, style, text);
        if (row1 != row2 || col1 != col2)
            merges_.push_back(col(col1) + std::to_string(row1) + ":" + col(col2) + std::to_string(row2));
    }
    void height(int row, double points) { heights_[row] = points; }

    std::string xml() const {
        std::string x =
            "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
            "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
            "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
            "<sheetPr><pageSetUpPr fitToPage=\"1\"/></sheetPr>"
            "<dimension ref=\"A2:BL43\"/>"
            "<sheetViews><sheetView tabSelected=\"1\" zoomScale=\"85\" workbookViewId=\"0\"/></sheetViews>"
            "<sheetFormatPr defaultRowHeight=\"13.5\"/>"
            "<cols><col min=\"1\" max=\"1\" width=\"4.5\" customWidth=\"1\"/>"
            "<col min=\"2\" max=\"8\" width=\"2.6\" customWidth=\"1\"/>"
            "<col min=\"9\" max=\"64\" width=\"2.6\" customWidth=\"1\"/></cols><sheetData>";
        int currentRow = 0;
        for (const auto& [pos, cell] : cells_) {
            if (pos.first != currentRow) {
                if (currentRow) x += "</row>";
                currentRow = pos.first;
                x += "<row r=\"" + std::to_string(currentRow) + "\"";
                if (auto h = heights_.find(currentRow); h != heights_.end())
                    x += " ht=\"" + std::to_string(h->second).substr(0, 4) + "\" customHeight=\"1\"";
                x += ">";
            }
            x += "<c r=\"" + col(pos.second) + std::to_string(pos.first) + "\"";
            if (cell.style) x += " s=\"" + std::to_string(cell.style) + "\"";
            if (cell.text.empty()) x += "/>";
            else x += " t=\"inlineStr\"><is><t>" + esc(cell.text) + "</t></is></c>";
        }
        if (currentRow) x += "</row>";
        x += "</sheetData><mergeCells count=\"" + std::to_string(merges_.size()) + "\">";
        for (const std::string& m : merges_) x += "<mergeCell ref=\"" + m + "\"/>";
        x += "</mergeCells>"
             "<printOptions horizontalCentered=\"1\"/>"
             "<pageMargins left=\"0.4\" right=\"0.4\" top=\"0.5\" bottom=\"0.5\" header=\"0.3\" footer=\"0.3\"/>"
             "<pageSetup paperSize=\"9\" orientation=\"landscape\" fitToWidth=\"1\" fitToHeight=\"1\"/>"
             "</worksheet>";
        return x;
    }

private:
    std::map<std::pair<int, int>, Cell> cells_;
    std::vector<std::string> merges_;
    std::map<int, double> heights_;
};

std::string ledgerSheet() {
    Sheet s;
    s.height(2, 24);
    s.block(2, 1, 2, kLastColumn, Title, "賃　金　台　帳");
    s.block(4, 1, 4, 16, Header, "生年月日");
    s.block(4, 17, 4, 32, Header, "職種");
    s.block(4, 33, 4, kLastColumn, Header, "氏名");
    s.height(5, 20);
    s.block(5, 1, 5, 16, DateValue);
    s.block(5, 17, 5, 32, TextValue);
    s.block(5, 33, 5, kLastColumn, TextValue);

    s.height(7, 18);
    s.block(7, 1, 7, 8, Header, "賃金計算期間");
    for (int m = 0; m < 12; ++m) s.block(7, kFirstMonthColumn + 4 * m, 7, kFirstMonthColumn + 4 * m + 3, MonthHeader);
    s.block(7, 57, 7, 60, MonthHeader, "賞与 1");
    s.block(7, 61, 7, 64, MonthHeader, "賞与 2");

    // Row captions; the empty ones in 15..20, 26..28 and 40..43 come from
    // the caption table when the ledger is written.
    const std::map<int, std::string> captions = {
        {8, "労働日数"},        {9, "労働時間数"},      {10, "時間外労働時間数"}, {11, "休日労働時間数"},
        {12, "深夜労働時間数"}, {14, "基本給"},         {21, "時間外手当"},       {22, "休日手当"},
        {23, "深夜手当"},       {24, "通勤手当(課税)"}, {25, "通勤手当(非課税)"}, {32, "健康保険料"},
        {33, "介護保険料"},     {34, "厚生年金保険料"}, {35, "雇用保険料"},       {38, "所得税"},
        {39, "住民税"},
    };
    s.block(8, 1, 13, 1, Section, "勤怠");
    s.block(14, 1, 31, 1, Section, "支給");
    s.block(32, 1, 43, 1, Section, "控除");
    for (int row = 8; row <= 43; ++row) {
        s.height(row, 15);
        const auto caption = captions.find(row);
        s.block(row, 2, row, 8, Caption, caption == captions.end() ? std::string() : caption->second);
        const int style = (row >= 9 && row <= 12) ? Hours : Amount;
        for (int c = kFirstMonthColumn; c <= kLastColumn; c += 4) s.block(row, c, row, c + 3, style);
    }
    return s.xml();
}

const char* kStyles =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
    "<numFmts count=\"1\"><numFmt numFmtId=\"164\" formatCode=\"yyyy/mm/dd\"/></numFmts>"
    "<fonts count=\"3\">"
    "<font><sz val=\"9\"/><name val=\"IPAPGothic\"/><family val=\"3\"/><charset val=\"128\"/></font>"
    "<font><b/><sz val=\"16\"/><name val=\"IPAPGothic\"/><family val=\"3\"/><charset val=\"128\"/></font>"
    "<font><sz val=\"10\"/><name val=\"IPAPGothic\"/><family val=\"3\"/><charset val=\"128\"/></font>"
    "</fonts>"
    "<fills count=\"3\"><fill><patternFill patternType=\"none\"/></fill>"
    "<fill><patternFill patternType=\"gray125\"/></fill>"
    "<fill><patternFill patternType=\"solid\"><fgColor rgb=\"FFE7E6E6\"/><bgColor indexed=\"64\"/></patternFill></fill>"
    "</fills>"
    "<borders count=\"2\"><border><left/><right/><top/><bottom/><diagonal/></border>"
    "<border><left style=\"thin\"><color auto=\"1\"/></left><right style=\"thin\"><color auto=\"1\"/></right>"
    "<top style=\"thin\"><color auto=\"1\"/></top><bottom style=\"thin\"><color "
    "auto=\"1\"/></bottom><diagonal/></border>"
    "</borders>"
    "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/></cellStyleXfs>"
    "<cellXfs count=\"10\">"
    // 0 plain
    "<xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/>"
    // 1 title
    "<xf numFmtId=\"0\" fontId=\"1\" fillId=\"0\" borderId=\"0\" xfId=\"0\" applyFont=\"1\" applyAlignment=\"1\">"
    "<alignment horizontal=\"center\" vertical=\"center\"/></xf>"
    // 2 header
    "<xf numFmtId=\"0\" fontId=\"0\" fillId=\"2\" borderId=\"1\" xfId=\"0\" applyFill=\"1\" applyBorder=\"1\" "
    "applyAlignment=\"1\"><alignment horizontal=\"center\" vertical=\"center\"/></xf>"
    // 3 date value
    "<xf numFmtId=\"164\" fontId=\"2\" fillId=\"0\" borderId=\"1\" xfId=\"0\" applyNumberFormat=\"1\" "
    "applyFont=\"1\" applyBorder=\"1\" applyAlignment=\"1\"><alignment horizontal=\"center\" vertical=\"center\"/></xf>"
    // 4 text value
    "<xf numFmtId=\"0\" fontId=\"2\" fillId=\"0\" borderId=\"1\" xfId=\"0\" applyFont=\"1\" applyBorder=\"1\" "
    "applyAlignment=\"1\"><alignment horizontal=\"center\" vertical=\"center\" shrinkToFit=\"1\"/></xf>"
    // 5 row caption
    "<xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"1\" xfId=\"0\" applyBorder=\"1\" applyAlignment=\"1\">"
    "<alignment horizontal=\"left\" vertical=\"center\" shrinkToFit=\"1\"/></xf>"
    // 6 section label
    "<xf numFmtId=\"0\" fontId=\"0\" fillId=\"2\" borderId=\"1\" xfId=\"0\" applyFill=\"1\" applyBorder=\"1\" "
    "applyAlignment=\"1\"><alignment horizontal=\"center\" vertical=\"center\" textRotation=\"255\"/></xf>"
    // 7 amount
    "<xf numFmtId=\"3\" fontId=\"0\" fillId=\"0\" borderId=\"1\" xfId=\"0\" applyNumberFormat=\"1\" "
    "applyBorder=\"1\" applyAlignment=\"1\"><alignment horizontal=\"right\" vertical=\"center\" "
    "shrinkToFit=\"1\"/></xf>"
    // 8 hours, two decimals
    "<xf numFmtId=\"2\" fontId=\"0\" fillId=\"0\" borderId=\"1\" xfId=\"0\" applyNumberFormat=\"1\" "
    "applyBorder=\"1\" applyAlignment=\"1\"><alignment horizontal=\"right\" vertical=\"center\" "
    "shrinkToFit=\"1\"/></xf>"
    // 9 month header
    "<xf numFmtId=\"0\" fontId=\"0\" fillId=\"2\" borderId=\"1\" xfId=\"0\" applyFill=\"1\" applyBorder=\"1\" "
    "applyAlignment=\"1\"><alignment horizontal=\"center\" vertical=\"center\" shrinkToFit=\"1\"/></xf>"
    "</cellXfs>"
    "<cellStyles count=\"1\"><cellStyle name=\"標準\" xfId=\"0\" builtinId=\"0\"/></cellStyles>"
    "</styleSheet>";

const char* kContentTypes =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
    "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
    "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
    "<Override PartName=\"/xl/workbook.xml\" "
    "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/>"
    "<Override PartName=\"/xl/worksheets/sheet1.xml\" "
    "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>"
    "<Override PartName=\"/xl/styles.xml\" "
    "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml\"/>"
    "</Types>";

const char* kRootRels =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Id=\"rId1\" "
    "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
    "Target=\"xl/workbook.xml\"/></Relationships>";

const char* kWorkbook =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
    "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
    "<bookViews><workbookView activeTab=\"0\"/></bookViews>"
    "<sheets><sheet name=\"Sheet1\" sheetId=\"1\" r:id=\"rId1\"/></sheets>"
    "<definedNames>"
    "<definedName name=\"_xlnm.Print_Area\" localSheetId=\"0\">Sheet1!$A$1:$BL$43</definedName>"
    "<definedName name=\"_xlnm.Print_Titles\" localSheetId=\"0\">Sheet1!$A:$H</definedName>"
    "</definedNames></workbook>";

const char* kWorkbookRels =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Id=\"rId1\" "
    "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet\" "
    "Target=\"worksheets/sheet1.xml\"/>"
    "<Relationship Id=\"rId2\" "
    "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles\" "
    "Target=\"styles.xml\"/></Relationships>";

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUT.xlsx\n", argv[0]);
        return 2;
    }
    const std::vector<std::pair<std::string, std::string>> parts = {
        {"[Content_Types].xml", kContentTypes},
        {"_rels/.rels", kRootRels},
        {"xl/workbook.xml", kWorkbook},
        {"xl/_rels/workbook.xml.rels", kWorkbookRels},
        {"xl/styles.xml", kStyles},
        {"xl/worksheets/sheet1.xml", ledgerSheet()},
    };
    int error = 0;
    zip_t* z = zip_open(argv[1], ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!z) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    for (const auto& [name, content] : parts) {
        zip_source_t* src = zip_source_buffer(z, content.data(), content.size(), 0);
        if (!src || zip_file_add(z, name.c_str(), src, ZIP_FL_ENC_UTF_8) < 0) {
            std::fprintf(stderr, "cannot add %s\n", name.c_str());
            zip_discard(z);
            return 1;
        }
        // Fixed times, so the same sources give the same file.
        zip_file_set_mtime(z, static_cast<zip_uint64_t>(zip_get_num_entries(z, 0) - 1), 1735689600, 0);
    }
    if (zip_close(z) != 0) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
