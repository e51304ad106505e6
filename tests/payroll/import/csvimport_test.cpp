// Both CSV layouts into タイムカード through the data module: the rows each
// line gives, both encodings, header and empty lines, and what a refused
// line leaves behind.
#include <gtest/gtest.h>

#include <fstream>

#include "fixture.h"
#include "import/recorderimport.h"
#include "rtl/errors.h"

namespace payroll::testing {
namespace {

class CsvImport : public ImportFolder {};

const Encoding kEncodings[] = {Encoding::Utf8, Encoding::Cp932, Encoding::Utf16};
const char* name(Encoding e) { return e == Encoding::Utf8 ? "UTF-8" : e == Encoding::Cp932 ? "CP932" : "UTF-16"; }

TEST_F(CsvImport, Layout1NightAndDayShiftsInBothEncodings) {
    for (Encoding enc : kEncodings) {
        SCOPED_TRACE(name(enc));
        seedOldPunches();
        const auto file = writeCsv(
            "zalton1.csv",
            {csvLine(13, {{1, "社員"}, {4, "年月日"}, {8, "出勤"}, {11, "退勤"}}),
             layout1Line("7", "2014/07/01", "22:00", "06:30"), layout1Line("000012", "14/07/02", "08:00", "17:00")},
            enc);
        EXPECT_EQ(importCsvLayout1(*dm, file), 4);
        const std::vector<PunchRow> expected = {
            {"07", "01", "22", "00", "0", "7", "0", "00", "0"},
            {"07", "01", "30", "30", "0", "7", "1", "00", "0"},
            {"07", "02", "08", "00", "0", "000012", "0", "00", "0"},
            {"07", "02", "17", "00", "0", "000012", "1", "00", "0"},
        };
        EXPECT_EQ(punches(), expected);
        EXPECT_FALSE(dm->Table2.active());
        exec("DELETE FROM タイムカード");
    }
}

TEST_F(CsvImport, Layout2SchedulesAndEmployeeCodes) {
    // Category 01 (delivered) is 09:00-18:00; 03 runs 22:00 to 06:00 of the
    // next day, written as 30:00 the way recorders store it.
    addCategory("03", "22:00", "30:00");
    addEmployee(7, "000007", "01");
    addEmployee(8, "000008", "03");
    for (Encoding enc : kEncodings) {
        SCOPED_TRACE(name(enc));
        const auto file = writeCsv(
            "zalton2.csv",
            {csvLine(16, {{1, "社員番号"}, {4, "年/月/日"}, {8, "出勤"}, {14, "退勤"}}),
             layout2Line("7", "2014/07/01", "07:50", "08:10"), layout2Line("000008", "2014/07/01", "01:00", "06:00"),
             layout2Line("8", "2014/07/02", "21:50", "06:10")},
            enc);
        EXPECT_EQ(importCsvLayout2(*dm, file), 6);
        const std::vector<PunchRow> expected = {
            {"07", "01", "07", "50", "00", "000007", "0", "00", "0"},
            {"07", "01", "32", "10", "00", "000007", "1", "00", "0"},
            {"07", "01", "25", "00", "00", "000008", "0", "00", "0"},
            {"07", "01", "30", "00", "00", "000008", "1", "00", "0"},
            {"07", "02", "21", "50", "00", "000008", "0", "00", "0"},
            {"07", "02", "30", "10", "00", "000008", "1", "00", "0"},
        };
        EXPECT_EQ(punches(), expected);
    }
}

TEST_F(CsvImport, LinesWithoutPunchesAddNothing) {
    // Empty clock-in fields, blank lines and a blank last line are skipped.
    seedOldPunches();
    const auto file = writeCsv("gaps.csv", {layout1Line("7", "2014/07/01", "", ""), "", "   ",
                                            layout1Line("7", "2014/07/03", "09:00", "18:00"), ""});
    EXPECT_EQ(importCsvLayout1(*dm, file), 2);
    ASSERT_EQ(punches().size(), 2u);
    EXPECT_EQ(punches()[0][1], "03");
}

TEST_F(CsvImport, AFileWithoutAnyPunchIsRefusedAndKeepsTheOldPunches) {
    addEmployee(7, "000007", "01");
    const struct {
        const char* what;
        bool layout2;
        std::vector<std::string> lines;
    } cases[] = {
        {"empty file", false, {}},
        {"blank lines only", true, {"", "  ", ""}},
        {"layout 1 header only", false, {csvLine(13, {{4, "年月日"}})}},
        {"layout 2 header only", true, {csvLine(16, {{4, "年/月/日"}})}},
        {"no clock-in on any line",
         true,
         {csvLine(16, {{4, "年/月/日"}}), layout2Line("7", "2014/07/01", "", ""),
          layout2Line("7", "2014/07/02", "", "17:00")}},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.what);
        seedOldPunches();
        const std::vector<PunchRow> before = punches();
        const auto file = writeCsv("nothing.csv", k.lines, Encoding::Cp932);
        try {
            k.layout2 ? importCsvLayout2(*dm, file) : importCsvLayout1(*dm, file);
            ADD_FAILURE() << "imported";
        } catch (const NoPunchesError& e) {
            EXPECT_EQ(std::string(e.what()),
                      "'nothing.csv' には取り込める打刻がありません。タイムカードのデータはそのままです。");
        }
        EXPECT_EQ(punches(), before);
        exec("DELETE FROM タイムカード");
    }
}

TEST_F(CsvImport, AForgottenClockOutImportsTheClockInAlone) {
    // Category 03 runs across midnight, so layout 2 raises a clock-in after
    // midnight also without its clock-out.
    addCategory("03", "22:00", "30:00");
    addEmployee(8, "000008", "03");
    for (Encoding enc : kEncodings) {
        SCOPED_TRACE(name(enc));
        seedOldPunches();
        EXPECT_EQ(importCsvLayout1(*dm, writeCsv("one.csv",
                                                 {layout1Line("7", "2014/07/01", "08:00", "17:00"),
                                                  layout1Line("7", "2014/07/02", "08:10", ""),
                                                  layout1Line("7", "2014/07/03", "08:20", "17:20")},
                                                 enc)),
                  5);
        const std::vector<PunchRow> one = {
            {"07", "01", "08", "00", "0", "7", "0", "00", "0"}, {"07", "01", "17", "00", "0", "7", "1", "00", "0"},
            {"07", "02", "08", "10", "0", "7", "0", "00", "0"}, {"07", "03", "08", "20", "0", "7", "0", "00", "0"},
            {"07", "03", "17", "20", "0", "7", "1", "00", "0"},
        };
        EXPECT_EQ(punches(), one);

        EXPECT_EQ(importCsvLayout2(*dm, writeCsv("two.csv",
                                                 {layout2Line("8", "2014/07/01", "01:00", ""),
                                                  layout2Line("8", "2014/07/01", "21:50", "")},
                                                 enc)),
                  2);
        const std::vector<PunchRow> two = {
            {"07", "01", "25", "00", "00", "000008", "0", "00", "0"},
            {"07", "01", "21", "50", "00", "000008", "0", "00", "0"},
        };
        EXPECT_EQ(punches(), two);
    }
}

TEST_F(CsvImport, ProgressIsReportedAndItsStopRollsTheImportBack) {
    std::vector<std::string> lines;
    for (int d = 1; d <= 28; ++d)
        for (int e = 1; e <= 20; ++e)
            lines.push_back(layout1Line(std::to_string(e), "2014/02/" + std::to_string(d), "08:00", "17:00"));
    const auto file = writeCsv("month.csv", lines);
    const long long total = static_cast<long long>(lines.size());

    // Every call, in order, ending with all lines done before the commit.
    std::vector<std::pair<long long, long long>> calls;
    EXPECT_EQ(importCsvLayout1(*dm, file,
                               [&](long long done, long long all) {
                                   calls.emplace_back(done, all);
                                   return true;
                               }),
              2 * total);
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls.front(), std::make_pair(0LL, total));
    EXPECT_EQ(calls.back(), std::make_pair(total, total));
    for (size_t i = 1; i < calls.size(); ++i) EXPECT_LE(calls[i - 1].first, calls[i].first);

    // Stopped at any call, the last one included: the old punches stay.
    for (size_t stopAt : {size_t{0}, size_t{1}, calls.size() - 1}) {
        SCOPED_TRACE(stopAt);
        seedOldPunches();
        exec("DELETE FROM タイムカード WHERE 月 <> '06'");
        const std::vector<PunchRow> before = punches();
        size_t call = 0;
        EXPECT_THROW(importCsvLayout1(*dm, file, [&](long long, long long) { return call++ != stopAt; }),
                     ImportCancelled);
        EXPECT_EQ(punches(), before);
    }
}

TEST_F(CsvImport, QuotedFieldsAndBlanksFollowCommaText) {
    // A quoted name with a comma and a blank, blanks around separators.
    const std::string line = "1 , 7 ,\"山田, 太郎\",x3, 2014/07/04 ,x5,x6,x7, 08:30 ,x9,x10, 17:15 ,x12";
    EXPECT_EQ(importCsvLayout1(*dm, writeCsv("q.csv", {line}, Encoding::Cp932)), 2);
    const std::vector<PunchRow> expected = {
        {"07", "04", "08", "30", "0", "7", "0", "00", "0"},
        {"07", "04", "17", "15", "0", "7", "1", "00", "0"},
    };
    EXPECT_EQ(punches(), expected);
}

struct RefusedCase {
    const char* what;
    bool layout2;
    std::vector<std::string> lines;
    int line;
    const char* reason;
};

TEST_F(CsvImport, RefusedLineKeepsTheOldPunchesAndNamesTheLine) {
    const std::vector<RefusedCase> cases = {
        {"no date",
         false,
         {layout1Line("7", "2014/07/01", "08:00", "17:00"), layout1Line("7", "2014/13/01", "08:00", "17:00")},
         2,
         "'2014/13/01' は日付ではありません"},
        {"line cut off before its clock-out",
         false,
         {csvLine(13, {{4, "年月日"}}), layout1Line("7", "2014/07/01", "08:00", "17:00"),
          csvLine(11, {{1, "7"}, {4, "2014/07/02"}, {8, "08:00"}})},
         3,
         "項目が 11 個しかありません（12 個必要です）"},
        {"another program's file", true, {"a,b,c", "x,y,z"}, 1, "項目が 3 個しかありません（15 個必要です）"},
        {"clock-out not clock text",
         false,
         {layout1Line("7", "2014/07/01", "08:00", "退勤")},
         1,
         "'退勤' は時刻ではありません"},
        {"clock-in not clock text",
         false,
         {layout1Line("7", "2014/07/01", "8時", "17:00")},
         1,
         "'8時' は時刻ではありません"},
        {"layout 2 employee not a number",
         true,
         {layout2Line("A7", "2014/07/01", "08:00", "17:00")},
         1,
         "'A7' は整数ではありません"},
        {"layout 2 employee unknown",
         true,
         {layout2Line("7", "2014/07/01", "08:00", "17:00"), layout2Line("9", "2014/07/01", "08:00", "17:00")},
         2,
         "社員コード '000009' は社員マスタにありません"},
        {"layout 2 category without times",
         true,
         {layout2Line("6", "2014/07/01", "08:00", "17:00")},
         1,
         "社員コード '000006' の区分 '04' の就業開始時刻 '' は時刻ではありません"},
    };
    for (const RefusedCase& k : cases) {
        SCOPED_TRACE(k.what);
        fresh();
        addEmployee(7, "000007", "01");
        addEmployee(6, "000006", "04");
        addCategory("04", "", "");
        seedOldPunches();
        const std::vector<PunchRow> before = punches();
        const auto file = writeCsv("bad.csv", k.lines, Encoding::Cp932);
        try {
            k.layout2 ? importCsvLayout2(*dm, file) : importCsvLayout1(*dm, file);
            ADD_FAILURE() << "imported";
        } catch (const ImportLineError& e) {
            EXPECT_EQ(e.line(), k.line);
            EXPECT_EQ(e.reason(), k.reason);
            EXPECT_EQ(std::string(e.what()), std::string(k.reason) + "（" + std::to_string(k.line) + " 行目）");
        }
        EXPECT_EQ(punches(), before);
        EXPECT_FALSE(dm->Table2.active());
        // The connection is usable afterwards: a good file imports.
        EXPECT_EQ(importCsvLayout1(*dm, writeCsv("ok.csv", {layout1Line("7", "14/07/05", "08:00", "17:00")})), 2);
    }
}

// Layout 2 refuses a line whose clock-out the schedule would raise past hour
// 47, naming the line, and keeps the punches as they were.
TEST_F(CsvImport, Layout2ClockRaisedPastHour47RefusesTheLine) {
    addEmployee(3, "000003", "03");
    addCategory("03", "24:30", "08:00");
    seedOldPunches();
    const std::vector<PunchRow> before = punches();
    const auto file = writeCsv("late.csv", {layout2Line("3", "2014/07/01", "23:00", "07:00"),
                                            layout2Line("3", "2014/07/02", "23:00", "00:00")});
    try {
        importCsvLayout2(*dm, file);
        ADD_FAILURE() << "imported";
    } catch (const ImportLineError& e) {
        EXPECT_EQ(e.line(), 2);
        EXPECT_EQ(e.reason(), "退勤時刻 '00:00' は 48:00 になり、翌日の 47 時を超えるため取り込めません");
    }
    EXPECT_EQ(punches(), before);
}

TEST_F(CsvImport, MissingFileChangesNothing) {
    seedOldPunches();
    EXPECT_THROW(importCsvLayout1(*dm, dir / "nowhere.csv"), rtl::FileError);
    EXPECT_EQ(punches().size(), 2u);
}

}  // namespace
}  // namespace payroll::testing
