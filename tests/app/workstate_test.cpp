#include <gtest/gtest.h>

#include "app/workstate.h"
#include "rtl/datetime.h"

using namespace app;

TEST(DefaultMonths, PayMonthIsTheMonthBeforeToday) {
    struct Case {
        int y, m, d;
        DefaultMonths expected;
    };
    const Case cases[] = {
        {2026, 3, 31, {"2026", "02", "2026", "2025", "01", "2025", "12"}},
        {2024, 3, 31, {"2024", "02", "2024", "2023", "01", "2023", "12"}},
        {2026, 1, 15, {"2025", "12", "2025", "2024", "01", "2024", "12"}},
        {2026, 1, 1, {"2025", "12", "2025", "2024", "01", "2024", "12"}},
        {2026, 7, 10, {"2026", "06", "2026", "2025", "01", "2025", "12"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(defaultMonths(rtl::encodeDate(c.y, c.m, c.d)), c.expected) << c.y << "-" << c.m << "-" << c.d;
    }
}

TEST(DefaultDayRange, AWeekAgoToYesterday) {
    EXPECT_EQ(defaultDayRange(rtl::encodeDate(2026, 3, 5)), (DayRange{"26/02/26", "26/03/04"}));
    EXPECT_EQ(defaultDayRange(rtl::encodeDate(2026, 1, 1)), (DayRange{"25/12/25", "25/12/31"}));
}

TEST(RecorderLayoutTable, ByRecYN) {
    using A = RecorderAction;
    struct Case {
        const char* recYN;
        RecorderLayout expected;
    };
    // panel1, action, button shown, button enabled, ZLT1, ZLT2
    const Case cases[] = {
        {"1", {true, A::Korbe, true, false, true, true}},    {"2", {true, A::Zalton, true, false, true, false}},
        {"3", {true, A::Zalton, true, false, false, true}},  {"0", {false, A::Zalton, false, false, true, true}},
        {"", {false, A::Zalton, true, false, true, true}},   {"4", {false, A::Zalton, true, false, true, true}},
        {" 1", {false, A::Zalton, true, false, true, true}},
    };
    for (const Case& c : cases) EXPECT_EQ(recorderLayout(c.recYN), c.expected) << "REC_YN '" << c.recYN << "'";
}
