// The annual wage ledger: where each record lands, what each cell holds, and
// the saved workbook read back on its own (and, when LibreOffice is there,
// converted by it without complaint).
#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>

#include <clocale>
#include <filesystem>

#include "reports/ledger.h"
#include "rtl/datetime.h"
#include "workfolder.h"
#include "xlsxfile.h"

namespace reports::testing {
namespace {

const LedgerRange kAprToDec{{2024, 4}, {2024, 12}};
const LedgerRange kOctToMar{{2024, 10}, {2025, 3}};

struct PlaceCase {
    const char* name;
    LedgerRange range;
    const char* key;
    KeyPlace::Kind kind;
    int column;
};

void PrintTo(const PlaceCase& c, std::ostream* os) { *os << c.name; }

class KeyPlaces : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(KeyPlaces, LandWhereTheRangeSays) {
    const KeyPlace p = placeKey(GetParam().key, GetParam().range);
    EXPECT_EQ(p.kind, GetParam().kind);
    EXPECT_EQ(p.column, GetParam().column);
}

INSTANTIATE_TEST_SUITE_P(Ledger, KeyPlaces,
                         ::testing::Values(PlaceCase{"FirstMonthInI", kAprToDec, "24/04", KeyPlace::Month, 0},
                                           PlaceCase{"DecemberInAO", kAprToDec, "24/12", KeyPlace::Month, 8},
                                           PlaceCase{"BeforeTheRange", kAprToDec, "24/03", KeyPlace::Outside, -1},
                                           PlaceCase{"AfterTheRange", kAprToDec, "25/01", KeyPlace::Outside, -1},
                                           PlaceCase{"WeeklyKeyByItsMonth", kAprToDec, "24/05/15", KeyPlace::Month, 1},
                                           PlaceCase{"FirstBonus", kAprToDec, "24-1", KeyPlace::Bonus, 12},
                                           PlaceCase{"SecondBonus", kAprToDec, "24-2", KeyPlace::Bonus, 13},
                                           PlaceCase{"ThirdBonus", kAprToDec, "24-3", KeyPlace::OtherBonus, -1},
                                           PlaceCase{"BonusOfAnotherYear", kAprToDec, "23-1", KeyPlace::Outside, -1},
                                           PlaceCase{"NoKey", kAprToDec, "ab/cd", KeyPlace::Outside, -1},
                                           PlaceCase{"MonthThirteen", kAprToDec, "24/13", KeyPlace::Outside, -1},
                                           PlaceCase{"AcrossTheYearFirst", kOctToMar, "24/10", KeyPlace::Month, 0},
                                           PlaceCase{"AcrossTheYearLast", kOctToMar, "25/03", KeyPlace::Month, 5},
                                           PlaceCase{"AcrossTheYearAfter", kOctToMar, "25/04", KeyPlace::Outside, -1},
                                           PlaceCase{"AcrossTheYearBonus", kOctToMar, "25-1",
                                                     KeyPlace::BonusOfOtherYear, -1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LedgerRange, AtMostTwelveMonthsInOrder) {
    EXPECT_EQ(checkLedgerRange({{2024, 1}, {2024, 12}}), "");
    EXPECT_EQ(checkLedgerRange({{2024, 4}, {2025, 3}}), "");
    EXPECT_EQ(checkLedgerRange({{2024, 4}, {2024, 4}}), "");
    EXPECT_EQ(checkLedgerRange({{2024, 1}, {2025, 1}}), RangeTooLongMessage);
    EXPECT_EQ(checkLedgerRange({{2024, 5}, {2024, 4}}), RangeReversedMessage);
    EXPECT_EQ(ledgerColumnLetters(0), "I");
    EXPECT_EQ(ledgerColumnLetters(6), "AG");
    EXPECT_EQ(ledgerColumnLetters(8), "AO");  // December when the range starts in April
    EXPECT_EQ(ledgerColumnLetters(11), "BA");
    EXPECT_EQ(ledgerColumnLetters(12), "BE");
    EXPECT_EQ(ledgerColumnLetters(13), "BI");
}

const LedgerCell* find(const EmployeeLedger& l, const std::string& address) {
    for (const LedgerCell& c : l.cells)
        if (c.address == address) return &c;
    return nullptr;
}

double numberAt(const EmployeeLedger& l, const std::string& address) {
    const LedgerCell* c = find(l, address);
    EXPECT_TRUE(c && c->kind == LedgerCell::Number) << address;
    return c ? c->number : -1;
}

// Transport is split at the employee's cap: up to the cap untaxed (row 25),
// the rest taxed (row 24); no cap means all of it is untaxed.
TEST(LedgerCells, TransportSplitsAtTheCap) {
    const struct {
        long long transport, cap, upTo, above;
    } cases[] = {{150, 100, 100, 50}, {150, 0, 150, 0}, {80, 100, 80, 0}, {100, 100, 100, 0}};
    for (const auto& c : cases) {
        LedgerEmployee e;
        e.transportCap = c.cap;
        PayRecord r;
        r.key = "24/04";
        r.transport = c.transport;
        const EmployeeLedger l = employeeLedger(e, {r}, {}, kAprToDec);
        EXPECT_EQ(numberAt(l, "I25"), c.upTo) << c.transport << " cap " << c.cap;
        EXPECT_EQ(numberAt(l, "I24"), c.above) << c.transport << " cap " << c.cap;
    }
}

// Weekly records of one month add up in that month's column; hours keep two decimals.
TEST(LedgerCells, WeeklyRecordsAddUpInTheirMonth) {
    LedgerEmployee e;
    PayRecord w1, w2;
    w1.key = "24/05/07";
    w1.days = 3;
    w1.workMinutes = 125;
    w1.earlyOvertimeMinutes = 10;
    w1.overtimeMinutes = 20;
    w1.earlyOvertimePay = 100;
    w1.overtimePay = 200;
    w2.key = "24/05/14";
    w2.days = 2;
    w2.workMinutes = 60;
    w2.allowances = {1, 2, 3, 4, 5, 6, 7, 8};
    const EmployeeLedger l = employeeLedger(e, {w1, w2}, {}, kAprToDec);
    EXPECT_EQ(numberAt(l, "M8"), 5);
    EXPECT_DOUBLE_EQ(numberAt(l, "M9"), 3.08);  // 185 minutes
    EXPECT_DOUBLE_EQ(numberAt(l, "M10"), 0.5);
    EXPECT_EQ(numberAt(l, "M21"), 300);
    EXPECT_EQ(numberAt(l, "M20"), 6);
    EXPECT_EQ(numberAt(l, "M27"), 7);
    EXPECT_EQ(numberAt(l, "M28"), 8);
    EXPECT_EQ(find(l, "I8"), nullptr);  // April has no record
    EXPECT_EQ(l.placedRecords, 2);
}

// The desktop's locale may write decimals with a comma (the application
// takes it over at start); the hours keep their fraction all the same.
TEST(LedgerCells, HoursKeepTheirFractionUnderACommaLocale) {
    const std::string before = std::setlocale(LC_NUMERIC, nullptr);
    const char* comma = nullptr;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"})
        if (std::setlocale(LC_NUMERIC, name)) {
            comma = name;
            break;
        }
    if (!comma) GTEST_SKIP() << "no locale with a decimal comma is installed";
    PayRecord r;
    r.key = "24/04";
    r.workMinutes = 185;
    const EmployeeLedger l = employeeLedger({}, {r}, {}, kAprToDec);
    std::setlocale(LC_NUMERIC, before.c_str());
    EXPECT_DOUBLE_EQ(numberAt(l, "I9"), 3.08) << comma;
}

// ---------------------------------------------------------------- the workbook

class LedgerBook : public ReportFolder {
public:
    void SetUp() override {
        ReportFolder::SetUp();
        exec("UPDATE title_mas SET GKING1 = '皆勤手当', GKINGH = '補助', SKING3 = '旅行積立' WHERE CODE = 1");
        addEmployee(1, "山田太郎", "1", rtl::encodeDate(1980, 5, 17), 100);
        addEmployee(7, "佐藤花子", "0");  // left during the year
        addEmployee(9, "鈴木一郎", "1");  // records of another year only
        addPay(1, "24/04", {{"S_DAYS", 20}, {"S_KINMU", 9630}, {"S_BASKING", 180000}, {"S_KOTUHI", 150}});
        addPay(1, "24/06", {{"S_DAYS", 18}, {"S_BASKING", 170000}});
        addPay(1, "24/12", {{"S_DAYS", 19}, {"S_ZEI_G", 3210}, {"S_SKING3", 500}});
        addPay(1, "24-1", {{"S_BASKING", 300000}});
        addPay(1, "24-2", {{"S_BASKING", 310000}});
        addPay(1, "24-3", {{"S_BASKING", 5000}});
        addPay(1, "25/01", {{"S_DAYS", 21}});  // after the range
        addPay(7, "24/05", {{"S_DAYS", 4}});
        addPay(9, "23/05", {{"S_DAYS", 4}});
        templatePath = ensureLedgerTemplate(dir.string());
    }
    std::string templatePath;
};

TEST_F(LedgerBook, EveryEmployeeWithRecordsGetsASheetInNumberOrder) {
    const std::string out = path("Kyuyo_daicho_202406.xlsx");
    const LedgerResult result = writeLedger(connection(), {kAprToDec, 0}, templatePath, out);
    EXPECT_EQ(result.sheets, 2);
    ASSERT_EQ(result.notices.size(), 1u);
    EXPECT_NE(result.notices[0].find("山田太郎　24-3"), std::string::npos) << result.notices[0];

    xlsxtest::Book book(out);
    EXPECT_EQ(book.sheetNames(), (std::vector<std::string>{"Sheet1", "Sheet1 (3)", "Sheet1 (2)"}));
    EXPECT_EQ(book.selectedTabs(), std::vector<std::string>{"Sheet1 (3)"});
    EXPECT_EQ(book.activeTab(), 1);
    const auto names = book.definedNames();
    EXPECT_EQ(names.at({"_xlnm.Print_Area", 0}), "Sheet1!$A$1:$BL$43");
    EXPECT_EQ(names.at({"_xlnm.Print_Area", 1}), "'Sheet1 (3)'!$A$1:$BL$43");
    EXPECT_EQ(names.at({"_xlnm.Print_Area", 2}), "'Sheet1 (2)'!$A$1:$BL$43");
    EXPECT_EQ(names.at({"_xlnm.Print_Titles", 2}), "'Sheet1 (2)'!$A:$H");

    const std::string yamada = "Sheet1 (3)";
    struct Expect {
        const char* address;
        const char* type;
        const char* value;
    };
    for (const Expect& e : {
             Expect{"A2", "inlineStr", "2024 年　　賃　金　台　帳"},
             Expect{"A5", "", "29358"},  // 1980-05-17 as a date serial
             Expect{"Q5", "inlineStr", "01"},
             Expect{"AG5", "inlineStr", "山田太郎"},
             Expect{"B15", "inlineStr", "皆勤手当"},
             Expect{"B26", "inlineStr", "補助"},
             Expect{"B40", "inlineStr", "食事等補助"},
             Expect{"B43", "inlineStr", "旅行積立"},
             Expect{"I7", "inlineStr", "2024年4月"},
             Expect{"AO7", "inlineStr", "2024年12月"},
             Expect{"I8", "", "20"},
             Expect{"I9", "", "160.5"},
             Expect{"I14", "", "180000"},
             Expect{"I25", "", "100"},
             Expect{"I24", "", "50"},
             Expect{"Q8", "", "18"},   // June: the third month column
             Expect{"AO8", "", "19"},  // December, nine months on
             Expect{"AO38", "", "3210"},
             Expect{"AO43", "", "500"},
             Expect{"BE14", "", "300000"},
             Expect{"BI14", "", "310000"},
         }) {
        const xlsxtest::Cell c = book.cell(yamada, e.address);
        EXPECT_EQ(c.type, e.type) << e.address;
        EXPECT_EQ(c.value, e.value) << e.address;
    }
    // The template's formats stay: A5 a date, row 9 hours with two decimals, amounts.
    EXPECT_EQ(book.cell(yamada, "A5").style, 3);
    EXPECT_EQ(book.cell(yamada, "I9").style, 8);
    EXPECT_EQ(book.cell(yamada, "I14").style, 7);
    // May has no record: its column stays as the template left it.
    for (const char* empty : {"M8", "M14", "U8", "AK8", "BA8"}) EXPECT_EQ(book.cell(yamada, empty).value, "") << empty;

    // The employee who left has his ledger; the template sheet is untouched.
    EXPECT_EQ(book.cell("Sheet1 (2)", "AG5").value, "佐藤花子");
    EXPECT_EQ(book.cell("Sheet1 (2)", "M8").value, "4");
    EXPECT_EQ(book.cell("Sheet1 (2)", "A5").value, "");  // no birth date
    EXPECT_EQ(book.cell("Sheet1", "AG5").value, "");
    EXPECT_EQ(book.cell("Sheet1", "I8").value, "");
}

TEST_F(LedgerBook, OneChosenEmployeeGetsHisFilledSheet) {
    const std::string out = path("Kyuyo_daicho_000007.xlsx");
    const LedgerResult result = writeLedger(connection(), {kAprToDec, 7}, templatePath, out);
    EXPECT_EQ(result.sheets, 1);
    xlsxtest::Book book(out);
    EXPECT_EQ(book.sheetNames(), (std::vector<std::string>{"Sheet1", "Sheet1 (2)"}));
    EXPECT_EQ(book.cell("Sheet1 (2)", "AG5").value, "佐藤花子");
    EXPECT_EQ(book.selectedTabs(), std::vector<std::string>{"Sheet1 (2)"});
}

TEST_F(LedgerBook, ARangeAcrossTwoYearsLeavesTheBonusesOutAndSaysWhy) {
    const std::string out = path("Kyuyo_daicho_202503.xlsx");
    const LedgerResult result = writeLedger(connection(), {kOctToMar, 1}, templatePath, out);
    EXPECT_EQ(result.sheets, 1);
    ASSERT_EQ(result.notices.size(), 1u);
    EXPECT_EQ(result.notices[0], BonusYearsMessage);
    xlsxtest::Book book(out);
    EXPECT_EQ(book.cell("Sheet1 (2)", "I8").value, "");   // October has no record
    EXPECT_EQ(book.cell("Sheet1 (2)", "AO8").value, "");  // 2024/12 is the third column: Q
    EXPECT_EQ(book.cell("Sheet1 (2)", "Q8").value, "19");
    EXPECT_EQ(book.cell("Sheet1 (2)", "U8").value, "21");  // 2025/01
    EXPECT_EQ(book.cell("Sheet1 (2)", "BE14").value, "");
    EXPECT_EQ(book.cell("Sheet1 (2)", "A2").value, "2024 年　　賃　金　台　帳");
}

TEST_F(LedgerBook, NoRecordsInTheRangeWritesNothing) {
    const std::string out = path("Kyuyo_daicho_202206.xlsx");
    const LedgerResult result = writeLedger(connection(), {{{2022, 1}, {2022, 6}}, 0}, templatePath, out);
    EXPECT_EQ(result.sheets, 0);
    EXPECT_FALSE(std::filesystem::exists(out));
}

// A bonus that cannot be placed is said even when it is all the range holds.
TEST_F(LedgerBook, BonusesLeftOutAreSaidWhenNoSheetIsWritten) {
    addPay(9, "24-3", {{"S_BASKING", 40000}});
    addPay(9, "25-1", {{"S_BASKING", 50000}});
    const struct {
        const char* name;
        LedgerRange range;
        std::string notice;
    } cases[] = {
        {"ThirdBonusOnly", kAprToDec, otherBonusMessage({"鈴木一郎　24-3"})},
        {"BonusOfARangeAcrossTwoYears", kOctToMar, BonusYearsMessage},
    };
    for (const auto& c : cases) {
        const std::string out = path(std::string(c.name) + ".xlsx");
        const LedgerResult result = writeLedger(connection(), {c.range, 9}, templatePath, out);
        EXPECT_EQ(result.sheets, 0) << c.name;
        EXPECT_EQ(result.notices, std::vector<std::string>{c.notice}) << c.name;
        EXPECT_FALSE(std::filesystem::exists(out)) << c.name;
    }
}

TEST_F(LedgerBook, TheTemplateComesFromTheProgramAndIsNeverWritten) {
    const auto before = std::filesystem::last_write_time(templatePath);
    const auto size = std::filesystem::file_size(templatePath);
    writeLedger(connection(), {kAprToDec, 0}, templatePath, path("a.xlsx"));
    EXPECT_EQ(std::filesystem::last_write_time(templatePath), before);
    EXPECT_EQ(std::filesystem::file_size(templatePath), size);
    // A folder's own template is kept as it is.
    EXPECT_EQ(ensureLedgerTemplate(dir.string()), templatePath);
    xlsxtest::Book fresh(templatePath);
    EXPECT_EQ(fresh.sheetNames(), std::vector<std::string>{"Sheet1"});
    EXPECT_EQ(fresh.cell("Sheet1", "B8").value, "労働日数");
}

// LibreOffice opens the saved ledger and prints it to PDF; a workbook it had
// to repair or could not read gives no PDF.
TEST_F(LedgerBook, LibreOfficeConvertsTheLedger) {
    QString office = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (office.isEmpty()) office = QStandardPaths::findExecutable(QStringLiteral("libreoffice"));
    if (office.isEmpty()) GTEST_SKIP() << "LibreOffice is not installed (Debian package libreoffice-calc)";
    const std::string out = path("Kyuyo_daicho_202406.xlsx");
    writeLedger(connection(), {kAprToDec, 0}, templatePath, out);
    QProcess p;
    p.setWorkingDirectory(QString::fromStdString(dir.string()));
    p.start(office,
            {QStringLiteral("--headless"),
             QStringLiteral("-env:UserInstallation=file://") + QString::fromStdString((dir / "lo-profile").string()),
             QStringLiteral("--convert-to"), QStringLiteral("pdf"), QString::fromStdString(out)});
    ASSERT_TRUE(p.waitForFinished(180000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    EXPECT_TRUE(std::filesystem::exists(path("Kyuyo_daicho_202406.pdf")));
}

}  // namespace
}  // namespace reports::testing
