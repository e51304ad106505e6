// The UI-free rules of the time-card windows.
#include <gtest/gtest.h>

#include "rtl/datetime.h"
#include "rtl/errors.h"
#include "timecard/timecardrules.h"

using namespace timecard;

namespace {

struct PeriodCase {
    const char* closing;
    const char* date;
    const char* first;
    const char* last;
    const char* firstMonth;
    const char* lastMonth;
};

class PeriodOfWorkDate : public ::testing::TestWithParam<PeriodCase> {};

TEST_P(PeriodOfWorkDate, HoldsTheDateAndNamesItsTwoMonths) {
    const PeriodCase& c = GetParam();
    const PunchPeriod p = punchPeriod(c.closing, c.date);
    EXPECT_EQ(p.first, c.first);
    EXPECT_EQ(p.last, c.last);
    EXPECT_EQ(p.firstMonth, c.firstMonth);
    EXPECT_EQ(p.lastMonth, c.lastMonth);
}

INSTANTIATE_TEST_SUITE_P(
    ClosingDays, PeriodOfWorkDate,
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
    for (const auto& [closing, date] : std::vector<std::pair<const char*, const char*>>{
             {"abc", "24/05/20"},   // not a number
             {"0", "24/05/20"},     // no day of a month
             {"32", "24/05/20"},
             {"20", "24/02/30"},    // no such date
             {"20", "24/05/xx"},    // day characters not a number
             {"20", "  /  /  "},    // an empty masked date
             {"31", "24/13/01"}}) {
        EXPECT_THROW(punchPeriod(closing, date), rtl::ConversionError) << closing << " " << date;
    }
}

TEST(WorkDate, ReadsTheMaskedTextWithItsBlanks) {
    EXPECT_EQ(parseWorkDate("24/05/20"), (WorkDate{2024, 5, 20}));
    EXPECT_EQ(parseWorkDate(" 4/ 5/ 1"), (WorkDate{2004, 5, 1}));
    EXPECT_THROW(parseWorkDate("24-05-20"), rtl::ConversionError);
}

struct ClockCase {
    int y, mo, d, h, mi;
    EntryClock expected;
};

TEST(EntryClockAtOpening, BeforeSevenTheHourIsRaisedAndTheWorkDateIsTheDayBefore) {
    const ClockCase cases[] = {
        {2024, 5, 21, 0, 40, {"24/05/20", "00:40:00", "24", "40"}},
        {2024, 5, 21, 6, 59, {"24/05/20", "06:59:00", "30", "59"}},
        {2024, 3, 1, 0, 5, {"24/02/29", "00:05:00", "24", "05"}},
        {2024, 1, 1, 2, 30, {"23/12/31", "02:30:00", "26", "30"}},
        {2024, 5, 21, 7, 0, {"24/05/21", "07:00:00", "07", "00"}},
        {2024, 5, 21, 23, 15, {"24/05/21", "23:15:00", "23", "15"}},
    };
    for (const ClockCase& c : cases)
        EXPECT_EQ(entryClock(rtl::encodeDateTime(c.y, c.mo, c.d, c.h, c.mi, 0)), c.expected)
            << c.y << "-" << c.mo << "-" << c.d << " " << c.h << ":" << c.mi;
}

TEST(PunchTimeTyped, TwoDigitsUpToTheNextDayOrRefused) {
    EXPECT_EQ(punchTime("24", "40"), (PunchTime{"24", "40"}));
    EXPECT_EQ(punchTime("7", "5"), (PunchTime{"07", "05"}));
    EXPECT_EQ(punchTime("47", "59"), (PunchTime{"47", "59"}));
    EXPECT_EQ(punchTime("00", "00"), (PunchTime{"00", "00"}));
    for (const auto& [h, m] : std::vector<std::pair<const char*, const char*>>{
             {"48", "00"}, {"12", "60"}, {"", "30"}, {"12", ""}, {"ab", "10"}, {"-1", "10"}})
        EXPECT_THROW(punchTime(h, m), rtl::ConversionError) << h << ":" << m;
}

struct FieldCase {
    PunchField field;
    std::optional<std::string> typed;
    std::optional<std::string> stored;  // nullopt: refused
};

TEST(AttendanceFieldChecks, AcceptNormaliseOrRefuse) {
    const std::optional<std::string> refused;
    const FieldCase cases[] = {
        {PunchField::Month, "5", "05"},  {PunchField::Month, "12", "12"},  {PunchField::Month, "13", refused},
        {PunchField::Month, "00", refused}, {PunchField::Month, "0", refused}, {PunchField::Month, refused, refused},
        {PunchField::Month, "", refused},   {PunchField::Day, "1", "01"},      {PunchField::Day, "31", "31"},
        {PunchField::Day, "32", refused},   {PunchField::Day, "0", refused},   {PunchField::Hour, "25", "25"},
        {PunchField::Hour, "0", "00"},      {PunchField::Hour, "00", "00"},    {PunchField::Hour, "47", "47"},
        {PunchField::Hour, "48", refused},  {PunchField::Hour, "-1", refused}, {PunchField::Minute, "00", "00"},
        {PunchField::Minute, "59", "59"},   {PunchField::Minute, "60", refused},
        {PunchField::Minute, "61", refused}, {PunchField::Minute, refused, refused},
    };
    for (const FieldCase& c : cases)
        EXPECT_EQ(checkPunchField(c.field, c.typed), c.stored)
            << static_cast<int>(c.field) << " '" << c.typed.value_or("<NULL>") << "'";
    EXPECT_THROW(checkPunchField(PunchField::Minute, std::string("1x")), rtl::ConversionError);
}

}  // namespace
