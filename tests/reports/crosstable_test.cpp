// The daily cross table: day totals, and the builder on a working database
// (a 30-day month, a split shift, an employee number beyond 16 bits, rows
// of other months, the count check and the question).
#include <gtest/gtest.h>

#include "reports/crosstable.h"
#include "workfolder.h"

namespace reports::testing {
namespace {

struct TotalCase {
    const char* name;
    std::vector<std::string> worked;
    const char* total;
};

void PrintTo(const TotalCase& c, std::ostream* os) { *os << c.name; }

class DayTotals : public ::testing::TestWithParam<TotalCase> {};

TEST_P(DayTotals, SumTheDaysRows) { EXPECT_EQ(dayTotal(GetParam().worked), GetParam().total); }

INSTANTIATE_TEST_SUITE_P(CrossTable, DayTotals,
                         ::testing::Values(TotalCase{"NoRow", {}, ""}, TotalCase{"OneRowAsStored", {"08:00"}, "08:00"},
                                           TotalCase{"OneEmptyRow", {""}, ""},
                                           TotalCase{"SplitShift", {"04:00", "03:30"}, "07:30"},
                                           TotalCase{"CarriesIntoHours", {"04:45", "03:30"}, "08:15"},
                                           TotalCase{"OneWithoutTime", {"04:00", ""}, "04:00"},
                                           TotalCase{"NoneWithTime", {"", ""}, ""},
                                           TotalCase{"PastMidnight", {"20:00", "09:00"}, "29:00"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CrossTableMonth, FollowsTheMonthKey) {
    EXPECT_EQ(monthOfKey("24/04").days, 30);
    EXPECT_EQ(monthOfKey("24/02").days, 29);
    EXPECT_EQ(monthOfKey("23/02").days, 28);
    EXPECT_EQ(monthOfKey("24/12").days, 31);
}

class CrossTableBuild : public ReportFolder {
public:
    void SetUp() override {
        ReportFolder::SetUp();
        addEmployee(40001, "高橋次郎");
        addEmployee(1, "山田太郎");
        addEmployee(7, "佐藤花子", "0");  // not in service: still a column
        addAttendance(1, 2024, 4, 1, "08:00");
        addAttendance(1, 2024, 4, 2, "04:00");  // a split shift
        addAttendance(1, 2024, 4, 2, "03:30");
        addAttendance(1, 2024, 4, 30, "07:45");
        addAttendance(1, 2024, 3, 31, "09:00");  // the month before
        addAttendance(1, 2024, 5, 1, "09:00");   // the month after
        addAttendance(40001, 2024, 4, 3, "06:00");
        addAttendance(555, 2024, 4, 3, "06:00");  // not in the master
    }
    CrossTableOutcome build(const std::string& monthKey, bool answer = true) {
        return buildCrossTable(
            connection(), monthKey,
            [&](const std::string& text, const std::string& caption) {
                asked.push_back(caption + "|" + text);
                return answer;
            },
            [&](const std::string& text) { told.push_back(text); });
    }
    std::vector<std::string> asked, told;
};

TEST_F(CrossTableBuild, OneColumnPerEmployeeWithTheMonthsDays) {
    EXPECT_EQ(build("24/04"), CrossTableOutcome::Built);
    EXPECT_EQ(asked, std::vector<std::string>{"データ作成|日別データを作成しますか。？"});
    EXPECT_TRUE(told.empty());

    const DayWorkTable t = readDayWork(connection());
    EXPECT_EQ(t.month, "24/04");
    ASSERT_EQ(t.rows.size(), 3u);
    EXPECT_EQ(t.rows[0].employee, 1);
    EXPECT_EQ(t.rows[1].employee, 7);
    EXPECT_EQ(t.rows[2].employee, 40001);
    EXPECT_EQ(t.rows[2].name, "高橋次郎");

    const auto& yamada = t.rows[0].days;
    EXPECT_EQ(yamada[0], "08:00");
    EXPECT_EQ(yamada[1], "07:30");
    EXPECT_EQ(yamada[29], "07:45");
    EXPECT_EQ(yamada[30], "");  // April has 30 days
    EXPECT_EQ(t.rows[2].days[2], "06:00");
    for (const std::string& d : t.rows[1].days) EXPECT_EQ(d, "");
    EXPECT_EQ(count("SELECT COUNT(*) FROM day_work WHERE DMONTH = '24/04'"), 3);
}

TEST_F(CrossTableBuild, AMonthWithoutAttendanceKeepsTheLastTable) {
    ASSERT_EQ(build("24/04"), CrossTableOutcome::Built);
    // June has no attendance row, though other months have.
    EXPECT_EQ(build("24/06"), CrossTableOutcome::NoAttendance);
    EXPECT_EQ(told, std::vector<std::string>{NoAttendanceMessage});
    EXPECT_EQ(readDayWork(connection()).month, "24/04");
    EXPECT_EQ(count("SELECT COUNT(*) FROM day_work"), 3);
}

TEST_F(CrossTableBuild, NoMeansNothingIsBuilt) {
    exec("INSERT INTO day_work (TANCOD, TNAME, D1) VALUES (99, 'old', '01:00')");
    EXPECT_EQ(build("24/04", false), CrossTableOutcome::Declined);
    EXPECT_EQ(count("SELECT COUNT(*) FROM day_work"), 1);
    EXPECT_TRUE(told.empty());
}

// A write that fails halfway leaves the previous table whole.
TEST_F(CrossTableBuild, AFailedWriteKeepsThePreviousTable) {
    ASSERT_EQ(build("24/04"), CrossTableOutcome::Built);
    std::vector<DayWorkRow> rows(2);
    rows[0].employee = 1;
    rows[0].name = "ok";
    rows[1].employee = 2;
    rows[1].name = std::string(60, 'x');  // wider than TNAME: the statement fails
    EXPECT_ANY_THROW(replaceDayWork(connection(), rows, "24/05"));
    EXPECT_EQ(readDayWork(connection()).month, "24/04");
    EXPECT_EQ(count("SELECT COUNT(*) FROM day_work"), 3);
}

}  // namespace
}  // namespace reports::testing
