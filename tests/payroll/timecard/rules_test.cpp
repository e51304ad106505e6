// The UI-free rules of the time-card windows.
#include <gtest/gtest.h>

#include "rtl/datetime.h"
#include "rtl/errors.h"
#include "timecard/timecardrules.h"

using namespace timecard;

namespace {

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
        {PunchField::Month, "5", "05"},      {PunchField::Month, "12", "12"},
        {PunchField::Month, "13", refused},  {PunchField::Month, "00", refused},
        {PunchField::Month, "0", refused},   {PunchField::Month, refused, refused},
        {PunchField::Month, "", refused},    {PunchField::Day, "1", "01"},
        {PunchField::Day, "31", "31"},       {PunchField::Day, "32", refused},
        {PunchField::Day, "0", refused},     {PunchField::Hour, "25", "25"},
        {PunchField::Hour, "0", "00"},       {PunchField::Hour, "00", "00"},
        {PunchField::Hour, "47", "47"},      {PunchField::Hour, "48", refused},
        {PunchField::Hour, "-1", refused},   {PunchField::Minute, "00", "00"},
        {PunchField::Minute, "59", "59"},    {PunchField::Minute, "60", refused},
        {PunchField::Minute, "61", refused}, {PunchField::Minute, refused, refused},
    };
    for (const FieldCase& c : cases)
        EXPECT_EQ(checkPunchField(c.field, c.typed), c.stored)
            << static_cast<int>(c.field) << " '" << c.typed.value_or("<NULL>") << "'";
    EXPECT_THROW(checkPunchField(PunchField::Minute, std::string("1x")), rtl::ConversionError);
}

}  // namespace
