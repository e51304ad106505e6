#include <gtest/gtest.h>

#include "app/workstate.h"
#include "rtl/datetime.h"
#include "rtl/errors.h"

using namespace app;

TEST(Keys, MonthAndBonusKeysTakeCharactersThreeAndFourOfTheYear)
{
    EXPECT_EQ(monthKey("2014", "07"), "14/07");
    EXPECT_EQ(monthKey("2014", "7"), "14/7");  // one-digit month stays as typed
    EXPECT_EQ(monthKey("14", "07"), "/07");
    EXPECT_EQ(bonusKey("2014", "2"), "14-2");
    EXPECT_EQ(bonusKey("2026", "1"), "26-1");
}

struct PeriodCase {
    const char* year;
    const char* month;
    const char* closing;
    const char* first;
    const char* last;
};

class MonthlyPayPeriod : public ::testing::TestWithParam<PeriodCase> {};

TEST_P(MonthlyPayPeriod, FromTheClosingDay)
{
    const PeriodCase& c = GetParam();
    const PayPeriod p = monthlyPayPeriod(c.year, c.month, c.closing);
    EXPECT_EQ(p.first, c.first) << "closing '" << c.closing << "'";
    EXPECT_EQ(p.last, c.last) << "closing '" << c.closing << "'";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MonthlyPayPeriod,
    ::testing::Values(
        PeriodCase{"2014", "07", "20", "2014/07/21", "2014/08/20"},
        PeriodCase{"2014", "07", "5", "2014/07/06", "2014/08/5"},    // last day as stored
        PeriodCase{"2014", "07", "05", "2014/07/06", "2014/08/05"},
        PeriodCase{"2014", "07", "8", "2014/07/09", "2014/08/8"},
        PeriodCase{"2014", "07", "9", "2014/07/10", "2014/08/9"},
        PeriodCase{"2014", "07", "31", "2014/07/01", "2014/07/31"},
        PeriodCase{"2014", "07", " 31 ", "2014/07/01", "2014/07/31"},
        PeriodCase{"2014", "07", "", "2014/07/01", "2014/07/31"},
        PeriodCase{"2014", "07", "  ", "2014/07/01", "2014/07/31"},
        PeriodCase{"2014", "02", "30", "2014/02/01", "2014/02/28"},
        PeriodCase{"2016", "02", "31", "2016/02/01", "2016/02/29"},
        PeriodCase{"2014", "12", "20", "2014/12/21", "2015/01/20"},  // crosses the year
        PeriodCase{"2014", "12", "", "2014/12/01", "2014/12/31"},
        PeriodCase{"2014", "7", "20", "2014/7/21", "2014/08/20"},    // month typed as one digit
        PeriodCase{"2014", "07", "1", "2014/07/02", "2014/08/1"},
        // A first day the pay month lacks starts the period on the 1st of the next month.
        PeriodCase{"2015", "02", "28", "2015/03/01", "2015/03/28"},
        PeriodCase{"2015", "02", "29", "2015/03/01", "2015/03/29"},
        PeriodCase{"2016", "02", "28", "2016/02/29", "2016/03/28"},
        PeriodCase{"2016", "02", "29", "2016/03/01", "2016/03/29"},
        // A last day its month lacks becomes that month's last day.
        PeriodCase{"2015", "01", "29", "2015/01/30", "2015/02/28"},
        PeriodCase{"2016", "01", "29", "2016/01/30", "2016/02/29"},
        PeriodCase{"2014", "03", "29", "2014/03/30", "2014/04/29"}));

TEST(MonthlyPayPeriodFailure, ClosingDayOrMonthThatIsNoNumberRaisesTheConversionError)
{
    struct Bad { const char* year; const char* month; const char* closing; const char* message; };
    const Bad cases[] = {
        {"2014", "07", "abc", "'abc' は整数ではありません"},
        {"2014", "07", "2a", "'2a' は整数ではありません"},
        {"2014", "07", "0", "'2014/08/0' は日付ではありません"},
        {"2014", "07", "32", "'2014/08/32' は日付ではありません"},
        {"2014", "13", "20", "'2014/13/01' は日付ではありません"},
        {"20x4", "07", "20", "'20x4/07/01' は日付ではありません"},
        {"", "", "20", "'//01' は日付ではありません"},
    };
    for (const Bad& c : cases) {
        try {
            monthlyPayPeriod(c.year, c.month, c.closing);
            ADD_FAILURE() << "no error for closing '" << c.closing << "'";
        } catch (const rtl::ConversionError& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
    }
}

TEST(DefaultMonths, PayMonthIsTheMonthBeforeToday)
{
    struct Case { int y, m, d; DefaultMonths expected; };
    const Case cases[] = {
        {2026, 3, 31, {"2026", "02", "2026", "2025", "01", "2025", "12"}},
        {2024, 3, 31, {"2024", "02", "2024", "2023", "01", "2023", "12"}},
        {2026, 1, 15, {"2025", "12", "2025", "2024", "01", "2024", "12"}},
        {2026, 1, 1, {"2025", "12", "2025", "2024", "01", "2024", "12"}},
        {2026, 7, 10, {"2026", "06", "2026", "2025", "01", "2025", "12"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(defaultMonths(rtl::encodeDate(c.y, c.m, c.d)), c.expected)
            << c.y << "-" << c.m << "-" << c.d;
    }
}

TEST(DefaultDayRange, AWeekAgoToYesterday)
{
    EXPECT_EQ(defaultDayRange(rtl::encodeDate(2026, 3, 5)), (DayRange{"26/02/26", "26/03/04"}));
    EXPECT_EQ(defaultDayRange(rtl::encodeDate(2026, 1, 1)), (DayRange{"25/12/25", "25/12/31"}));
}

TEST(RecorderLayoutTable, ByRecYN)
{
    using A = RecorderAction;
    struct Case { const char* recYN; RecorderLayout expected; };
    // panel1, action, button shown, button enabled, ZLT1, ZLT2
    const Case cases[] = {
        {"1", {true, A::Korbe, true, false, true, true}},
        {"2", {true, A::Zalton, true, false, true, false}},
        {"3", {true, A::Zalton, true, false, false, true}},
        {"0", {false, A::Zalton, false, false, true, true}},
        {"", {false, A::Zalton, true, false, true, true}},
        {"4", {false, A::Zalton, true, false, true, true}},
        {" 1", {false, A::Zalton, true, false, true, true}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(recorderLayout(c.recYN), c.expected) << "REC_YN '" << c.recYN << "'";
}
