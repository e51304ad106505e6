#include <kronvale/kronvale.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>

namespace {

struct Shift {
    std::string workDate = "24/01/15";
    std::string start;
    std::string end;
    std::string morning = "08:00";
    std::string evening = "17:00";
    std::string nightStart = "22:00";
    std::string nightEnd = "05:00";
    std::string mode = "0";
};

struct Minutes {
    int32_t over, night;
    bool operator==(const Minutes&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Minutes& m) {
    return os << "{over " << m.over << ", night " << m.night << "}";
}

// Results start as garbage so that a result left unset shows.
Minutes zanMid(const Shift& s) {
    Minutes m{-7, -7};
    GetZanMidTime(s.workDate.c_str(), s.start.c_str(), s.end.c_str(), s.morning.c_str(), s.evening.c_str(),
                  s.nightStart.c_str(), s.nightEnd.c_str(), s.mode.c_str(), &m.over, &m.night);
    return m;
}

Shift shift(std::string start, std::string end, std::string mode = "0") {
    Shift s;
    s.start = std::move(start);
    s.end = std::move(end);
    s.mode = std::move(mode);
    return s;
}

Shift withBounds(Shift s, std::string morning, std::string evening, std::string nightStart, std::string nightEnd) {
    s.morning = std::move(morning);
    s.evening = std::move(evening);
    s.nightStart = std::move(nightStart);
    s.nightEnd = std::move(nightEnd);
    return s;
}

Shift on(Shift s, std::string workDate) {
    s.workDate = std::move(workDate);
    return s;
}

struct ZanMidCase {
    std::string name;
    Shift shift;
    Minutes expected;
};

void PrintTo(const ZanMidCase& c, std::ostream* os) {
    const Shift& s = c.shift;
    *os << c.name << " [" << s.workDate << " " << s.start << "-" << s.end << " bounds " << s.morning << "/" << s.evening
        << " night " << s.nightStart << "-" << s.nightEnd << " mode '" << s.mode << "']";
}

class ZanMidTime : public testing::TestWithParam<ZanMidCase> {};

TEST_P(ZanMidTime, GivesOvertimeAndLateNightMinutes) { EXPECT_EQ(zanMid(GetParam().shift), GetParam().expected); }

std::string caseName(const testing::TestParamInfo<ZanMidCase>& info) { return info.param.name; }

// Mode "0", start and end on the same day. Bounds unless stated: morning
// 08:00, evening 17:00, night 22:00 to 05:00.
INSTANTIATE_TEST_SUITE_P(WithinOneDay, ZanMidTime,
                         testing::Values(
                             // 17:00 to 22:00 is 300, less the 60 minutes started after 08:00.
                             ZanMidCase{"NineToEleven", shift("09:00", "23:00"), {240, 60}},
                             ZanMidCase{"NormalDay", shift("08:00", "17:00"), {0, 0}},
                             ZanMidCase{"EarlyStartIsOvertime", shift("06:00", "17:00"), {120, 0}},
                             ZanMidCase{"StartInsideTheNight", shift("04:00", "12:00"), {180, 60}},
                             ZanMidCase{"EveningOvertimeLessLateStart", shift("09:00", "20:00"), {120, 0}},
                             ZanMidCase{"LateStartAfterTenIsNotDeducted", shift("11:00", "20:00"), {180, 0}},
                             ZanMidCase{"FourDigitYear", on(shift("09:00", "23:00"), "2024/01/15"), {240, 60}},
                             ZanMidCase{"TwoDigitYearOfALeapDay", on(shift("09:00", "23:00"), "00/02/29"), {240, 60}}),
                         caseName);

INSTANTIATE_TEST_SUITE_P(
    OverMidnight, ZanMidTime,
    testing::Values(
        // Q = 480 is longer than the 450 minutes worked, so the end moves to
        // 01:00 of the next day: the evening 17:00 to 22:00 is overtime and
        // 22:00 to 01:00 late night, not the whole night window.
        ZanMidCase{"ShortShiftEndMovesToTheWholeWindow",
                   withBounds(shift("17:00", "00:30"), "09:00", "17:00", "22:00", "05:00"),
                   {300, 180}},
        // Ending after the night but before the next morning: the evening and
        // the morning hour after the night end are overtime.
        ZanMidCase{"DayStartEndsInTheMorning",
                   withBounds(shift("16:00", "06:00"), "09:00", "17:00", "22:00", "05:00"),
                   {360, 420}},
        // A start after the evening boundary puts the morning boundary on the
        // next day, so Q = 0 and the end stays at 00:30. The final case takes
        // the shift: P3 = 18:00 to 09:00, P4 = 17:00 to 22:00.
        ZanMidCase{"StartAfterEveningKeepsItsEnd",
                   withBounds(shift("18:00", "00:30"), "09:00", "17:00", "22:00", "05:00"),
                   {1200, 150}},
        // The final case overrides the table: P3 = 22:00 to 08:00, P4 = 17:00
        // to 22:00, late night 22:00 to 06:00.
        ZanMidCase{"NightShiftTakenByTheFinalCase", shift("22:00", "06:00"), {900, 480}},
        ZanMidCase{"NightShiftAcrossTheYearEnd", on(shift("22:00", "06:00"), "24/12/31"), {900, 480}},
        ZanMidCase{"NightShiftOnLeapDay", on(shift("22:00", "06:00"), "24/02/28"), {900, 480}},
        // Start inside the normal window, end before the next morning
        // boundary: the evening, the night window, then 05:00 to 07:00.
        ZanMidCase{"DayStartEndsNextMorning", shift("16:00", "07:00"), {300 + 120, 420}},
        // End after the next morning boundary: the morning counts up to 08:00.
        ZanMidCase{"DayStartEndsAfterNextMorning", shift("16:00", "09:30"), {300 + 180, 420}},
        // Started an hour after the morning boundary and before 10: that hour
        // is deducted from the evening and the 05:00 to 08:00 morning.
        ZanMidCase{"NineToNextMorningLessLateStart", shift("09:00", "08:00"), {300 + 180 - 60, 420}}),
    caseName);

// Mode "1": at least seven hours; overtime is the time outside the night.
INSTANTIATE_TEST_SUITE_P(SevenHours, ZanMidTime,
                         testing::Values(
                             // The end moves to 16:00, G = 420; MIN(22:00, 16:00) = 0.
                             ZanMidCase{"ShortDayShiftMovesToSevenHours", shift("09:00", "12:00", "1"), {420, 0}},
                             // A start at 17:00 or later moves the end to the next day: 00:00.
                             ZanMidCase{"EveningStartMovesPastMidnight", shift("17:00", "18:00", "1"), {300, 120}},
                             ZanMidCase{"StartBeforeTheNightEnds", shift("03:00", "12:00", "1"), {420, 120}},
                             ZanMidCase{"AcrossTheWholeNight", shift("20:00", "06:00", "1"), {180, 420}},
                             ZanMidCase{"StartInsideTheNight", shift("23:00", "08:00", "1"), {180, 360}},
                             ZanMidCase{"ShortNightShiftMovesToSevenHours", shift("23:00", "02:00", "1"), {60, 360}},
                             // Start after the night start and end inside the night: the span is
                             // stored as overtime and the rest of the seven hours as late night.
                             ZanMidCase{"InsideTheNightStoresTheSpanAsOvertime",
                                        withBounds(shift("22:00", "05:00", "1"), "08:00", "17:00", "20:00", "06:00"),
                                        {420, 0}}),
                         caseName);

// Anything but "0" or "1" computes nothing.
INSTANTIATE_TEST_SUITE_P(BadMode, ZanMidTime,
                         testing::Values(ZanMidCase{"DoubleZero", shift("09:00", "23:00", "00"), {0, 0}},
                                         ZanMidCase{"LeadingBlank", shift("09:00", "23:00", " 0"), {0, 0}},
                                         ZanMidCase{"TrailingBlank", shift("09:00", "23:00", "1 "), {0, 0}},
                                         ZanMidCase{"Two", shift("09:00", "23:00", "2"), {0, 0}},
                                         ZanMidCase{"Empty", shift("09:00", "23:00", ""), {0, 0}}),
                         caseName);

// A text that does not convert leaves both results 0 instead of escaping as an
// error or leaving half-computed minutes.
INSTANTIATE_TEST_SUITE_P(
    BadText, ZanMidTime,
    testing::Values(
        ZanMidCase{"HourAbove23", shift("25:00", "23:00"), {0, 0}},
        ZanMidCase{"HourAbove23InModeOne", shift("09:00", "24:00", "1"), {0, 0}},
        ZanMidCase{"MinuteAbove59", withBounds(shift("09:00", "23:00"), "08:00", "17:00", "22:61", "05:00"), {0, 0}},
        ZanMidCase{"NotANumber", shift("ab:cd", "23:00"), {0, 0}}, ZanMidCase{"EmptyTime", shift("", "23:00"), {0, 0}},
        ZanMidCase{"BadNightEnd", withBounds(shift("09:00", "23:00", "1"), "08:00", "17:00", "22:00", "05:0x"), {0, 0}},
        ZanMidCase{"ImpossibleDate", on(shift("09:00", "23:00"), "24/02/30"), {0, 0}},
        ZanMidCase{"NotALeapYear", on(shift("09:00", "23:00"), "23/02/29"), {0, 0}},
        ZanMidCase{"NotADate", on(shift("09:00", "23:00"), "yesterday"), {0, 0}},
        ZanMidCase{"DateWithATime", on(shift("09:00", "23:00"), "24/01/15 09:00"), {0, 0}},
        ZanMidCase{"BadTextWithBadMode", shift("25:00", "23:00", "2"), {0, 0}}),
    caseName);

TEST(ZanMidTimeTexts, OnlyTheFirst255BytesAreUsed) {
    Shift s = shift("09:00", "23:00");
    s.workDate = "24/01/15" + std::string(255 - 8, ' ');
    EXPECT_EQ(zanMid(s), (Minutes{240, 60}));
    s.workDate += "garbage";
    EXPECT_EQ(zanMid(s), (Minutes{240, 60}));
    s.workDate = "24/01/15 garbage";
    EXPECT_EQ(zanMid(s), (Minutes{0, 0}));
}

TEST(ZanMidTimeTexts, NullTextGivesZeros) {
    Minutes m{-7, -7};
    GetZanMidTime("24/01/15", nullptr, "23:00", "08:00", "17:00", "22:00", "05:00", "0", &m.over, &m.night);
    EXPECT_EQ(m, (Minutes{0, 0}));
    m = {-7, -7};
    GetZanMidTime("24/01/15", "09:00", "23:00", "08:00", "17:00", "22:00", "05:00", nullptr, &m.over, &m.night);
    EXPECT_EQ(m, (Minutes{0, 0}));
}

TEST(ZanMidTimeTexts, NullResultPointerIsSkipped) {
    int32_t night = -7;
    GetZanMidTime("24/01/15", "09:00", "23:00", "08:00", "17:00", "22:00", "05:00", "0", nullptr, &night);
    EXPECT_EQ(night, 60);
}

extern "C" void kronvale_zan_mid_from_c(const char* mode, int32_t* over, int32_t* night);

TEST(ZanMidTimeFromC, CallableFromACTranslationUnit) {
    Minutes m{-7, -7};
    kronvale_zan_mid_from_c("0", &m.over, &m.night);
    EXPECT_EQ(m, (Minutes{240, 60}));
    kronvale_zan_mid_from_c("x", &m.over, &m.night);
    EXPECT_EQ(m, (Minutes{0, 0}));
}

}  // namespace
