// The pay period and the keys of pay records.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "period/keys.h"
#include "period/payperiod.h"
#include "rtl/datetime.h"
#include "rtl/errors.h"

using namespace period;

namespace {

TEST(Keys, MonthAndBonusKeysTakeCharactersThreeAndFourOfTheYear) {
    EXPECT_EQ(monthKey("2014", "07"), "14/07");
    EXPECT_EQ(monthKey("2014", "7"), "14/7");  // one-digit month stays as typed
    EXPECT_EQ(monthKey("14", "07"), "/07");
    EXPECT_EQ(bonusKey("2014", "2"), "14-2");
    EXPECT_EQ(bonusKey("2026", "1"), "26-1");
}

struct MonthCase {
    const char* year;
    const char* month;
    const char* closing;
    const char* first;
    const char* last;
};

void PrintTo(const MonthCase& c, std::ostream* os) {
    *os << c.year << "-" << c.month << " closing \"" << c.closing << '"';
}

class MonthlyPayPeriod : public ::testing::TestWithParam<MonthCase> {};

TEST_P(MonthlyPayPeriod, FromTheClosingDay) {
    const MonthCase& c = GetParam();
    const PayPeriod p = monthlyPayPeriod(c.year, c.month, c.closing);
    EXPECT_EQ(p.first, c.first) << "closing '" << c.closing << "'";
    EXPECT_EQ(p.last, c.last) << "closing '" << c.closing << "'";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MonthlyPayPeriod,
    ::testing::Values(MonthCase{"2014", "07", "20", "2014/07/21", "2014/08/20"},
                      MonthCase{"2014", "07", "5", "2014/07/06", "2014/08/5"},  // last day as stored
                      MonthCase{"2014", "07", "05", "2014/07/06", "2014/08/05"},
                      MonthCase{"2014", "07", "8", "2014/07/09", "2014/08/8"},
                      MonthCase{"2014", "07", "9", "2014/07/10", "2014/08/9"},
                      MonthCase{"2014", "07", "31", "2014/07/01", "2014/07/31"},
                      MonthCase{"2014", "07", " 31 ", "2014/07/01", "2014/07/31"},
                      MonthCase{"2014", "07", "", "2014/07/01", "2014/07/31"},
                      MonthCase{"2014", "07", "  ", "2014/07/01", "2014/07/31"},
                      MonthCase{"2014", "02", "30", "2014/02/01", "2014/02/28"},
                      MonthCase{"2016", "02", "31", "2016/02/01", "2016/02/29"},
                      MonthCase{"2014", "12", "20", "2014/12/21", "2015/01/20"},  // crosses the year
                      MonthCase{"2014", "12", "", "2014/12/01", "2014/12/31"},
                      MonthCase{"2014", "7", "20", "2014/7/21", "2014/08/20"},  // month typed as one digit
                      MonthCase{"2014", "07", "1", "2014/07/02", "2014/08/1"},
                      // A first day the pay month lacks starts the period on the 1st of the next month.
                      MonthCase{"2015", "02", "28", "2015/03/01", "2015/03/28"},
                      MonthCase{"2015", "02", "29", "2015/03/01", "2015/03/29"},
                      MonthCase{"2016", "02", "28", "2016/02/29", "2016/03/28"},
                      MonthCase{"2016", "02", "29", "2016/03/01", "2016/03/29"},
                      // A last day its month lacks becomes that month's last day.
                      MonthCase{"2015", "01", "29", "2015/01/30", "2015/02/28"},
                      MonthCase{"2016", "01", "29", "2016/01/30", "2016/02/29"},
                      MonthCase{"2014", "03", "29", "2014/03/30", "2014/04/29"}));

TEST(MonthlyPayPeriodFailure, ClosingDayOrMonthThatIsNoNumberRaisesTheConversionError) {
    struct Bad {
        const char* year;
        const char* month;
        const char* closing;
        const char* message;
    };
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

TEST(Keys, WeeklyOrDailyPayRecordsTakeTheLastDateOfTheDayRange) {
    EXPECT_EQ(payRecordKey("2014", "07", false, "14/07/31"), "14/07");
    EXPECT_EQ(payRecordKey("2014", "07", true, "14/07/31"), "14/07/31");
    EXPECT_EQ(payRecordKey("2014", "07", true, "  /  /  "), "  /  /  ");  // as typed, unchecked
}

TEST(PeriodOnDates, TheDayAfterTheClosingDayToTheClosingDayOfTheNextMonth) {
    using rtl::encodeDate;
    EXPECT_EQ(calendarMonth(2024, 2), (DateRange{encodeDate(2024, 2, 1), encodeDate(2024, 2, 29)}));
    EXPECT_EQ(afterClosingDay(2014, 12, 20), (DateRange{encodeDate(2014, 12, 21), encodeDate(2015, 1, 20)}));
    EXPECT_EQ(afterClosingDay(2015, 2, 28), (DateRange{encodeDate(2015, 3, 1), encodeDate(2015, 3, 28)}));
    EXPECT_EQ(afterClosingDay(2024, 1, 30), (DateRange{encodeDate(2024, 1, 31), encodeDate(2024, 2, 29)}));
    EXPECT_TRUE(afterClosingDay(2024, 1, 20).contains(encodeDate(2024, 2, 20)));
    EXPECT_FALSE(afterClosingDay(2024, 1, 20).contains(encodeDate(2024, 2, 21)));
}

struct PeriodCase {
    const char* closing;
    const char* date;
    const char* first;
    const char* last;
    const char* firstMonth;
    const char* lastMonth;
};

void PrintTo(const PeriodCase& c, std::ostream* os) { *os << c.date << " closing \"" << c.closing << '"'; }

class PeriodOfWorkDate : public ::testing::TestWithParam<PeriodCase> {};

TEST_P(PeriodOfWorkDate, HoldsTheDateAndNamesItsTwoMonths) {
    const PeriodCase& c = GetParam();
    const PunchPeriod p = punchPeriod(c.closing, c.date);
    EXPECT_EQ(p.first, c.first);
    EXPECT_EQ(p.last, c.last);
    EXPECT_EQ(p.firstMonth, c.firstMonth);
    EXPECT_EQ(p.lastMonth, c.lastMonth);
}

INSTANTIATE_TEST_SUITE_P(ClosingDays, PeriodOfWorkDate,
                         ::testing::Values(
                             // closing day 20: from the 21st to the 20th of the next month
                             PeriodCase{"20", "24/05/20", "2024/04/21", "2024/05/20", "04", "05"},
                             PeriodCase{"20", "24/05/21", "2024/05/21", "2024/06/20", "05", "06"},
                             PeriodCase{"20", "24/12/25", "2024/12/21", "2025/01/20", "12", "01"},
                             PeriodCase{"20", "24/01/10", "2023/12/21", "2024/01/20", "12", "01"},
                             // closing day 5: the first day with a leading zero, the last as stored
                             PeriodCase{"5", "24/05/03", "2024/04/06", "2024/05/5", "04", "05"},
                             PeriodCase{"5", "24/05/06", "2024/05/06", "2024/06/5", "05", "06"},
                             PeriodCase{"8", "24/05/09", "2024/05/09", "2024/06/8", "05", "06"},
                             PeriodCase{"9", "24/05/09", "2024/04/10", "2024/05/9", "04", "05"},
                             // "31", also with blanks: the calendar month
                             PeriodCase{"31", "24/02/10", "2024/02/01", "2024/02/29", "02", "02"},
                             PeriodCase{" 31 ", "23/02/10", "2023/02/01", "2023/02/28", "02", "02"},
                             // only "31" is the calendar month: "30" after a 31-day month is a day like any other
                             PeriodCase{"30", "24/04/10", "2024/03/31", "2024/04/30", "03", "04"},
                             PeriodCase{"30", "24/05/31", "2024/05/31", "2024/06/30", "05", "06"},
                             // closing days the day-after rule cannot place take the main window's rule
                             PeriodCase{"", "24/05/20", "2024/05/01", "2024/05/31", "05", "05"},
                             PeriodCase{"30", "24/05/10", "2024/05/01", "2024/05/31", "05", "05"},
                             PeriodCase{"30", "24/03/10", "2024/03/01", "2024/03/31", "03", "03"},
                             PeriodCase{"29", "24/03/15", "2024/03/01", "2024/03/29", "03", "03"},
                             PeriodCase{"28", "23/03/01", "2023/03/01", "2023/03/28", "03", "03"},
                             PeriodCase{"29", "24/03/30", "2024/03/30", "2024/04/29", "03", "04"}));

TEST(PeriodOfWorkDateFailures, BadClosingDaysAndDatesRaiseTheConversionError) {
    for (const auto& [closing, date] :
         std::vector<std::pair<const char*, const char*>>{{"abc", "24/05/20"},  // not a number
                                                          {"0", "24/05/20"},    // no day of a month
                                                          {"32", "24/05/20"},
                                                          {"20", "24/02/30"},  // no such date
                                                          {"20", "24/05/xx"},  // day characters not a number
                                                          {"20", "  /  /  "},  // an empty masked date
                                                          {"31", "24/13/01"}}) {
        EXPECT_THROW(punchPeriod(closing, date), rtl::ConversionError) << closing << " " << date;
    }
}

TEST(WorkDate, ReadsTheMaskedTextWithItsBlanks) {
    EXPECT_EQ(parseWorkDate("24/05/20"), (WorkDate{2024, 5, 20}));
    EXPECT_EQ(parseWorkDate(" 4/ 5/ 1"), (WorkDate{2004, 5, 1}));
    EXPECT_THROW(parseWorkDate("24-05-20"), rtl::ConversionError);
}

}  // namespace
