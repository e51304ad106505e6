// The next-day rules of both layouts, clock and code parsing, case by case.
#include <gtest/gtest.h>

#include "import/punchrules.h"
#include "rtl/errors.h"

namespace payroll {
namespace {

ClockText c(const std::string& hour, const std::string& minute) { return {hour, minute}; }

struct PairCase {
    const char* what;
    ClockText in, out;
    ClockText expectIn, expectOut;
};

TEST(Layout1Pair, ClockOutBeforeClockInIsNextDay) {
    const PairCase cases[] = {
        {"night shift 22:00-06:30", c("22", "00"), c("06", "30"), c("22", "00"), c("30", "30")},
        {"day shift 08:00-17:00", c("08", "00"), c("17", "00"), c("08", "00"), c("17", "00")},
        {"same minute stays", c("09", "15"), c("09", "15"), c("09", "15"), c("09", "15")},
        {"one minute earlier", c("09", "15"), c("09", "14"), c("09", "15"), c("33", "14")},
        {"out at midnight", c("18", "00"), c("00", "00"), c("18", "00"), c("24", "00")},
    };
    for (const PairCase& k : cases) {
        SCOPED_TRACE(k.what);
        const PunchPair p = layout1Pair(k.in, k.out);
        EXPECT_EQ(p.in, k.expectIn);
        EXPECT_EQ(p.out, k.expectOut);
    }
}

struct ShiftCase {
    const char* what;
    ClockText start, end;
    ClockText in, out;
    ClockText expectIn, expectOut;
};

TEST(Layout2Pair, ScheduleDecidesTheNextDay) {
    const ShiftCase cases[] = {
        {"09-18, ordinary day", c("09", "00"), c("18", "00"), c("08", "50"), c("18", "10"), c("08", "50"),
         c("18", "10")},
        {"09-18, out before the shift starts", c("09", "00"), c("18", "00"), c("07", "50"), c("08", "10"),
         c("07", "50"), c("32", "10")},
        {"09-18, out after midnight", c("09", "00"), c("18", "00"), c("09", "00"), c("01", "00"), c("09", "00"),
         c("25", "00")},
        {"22-06, in and out after midnight", c("22", "00"), c("06", "00"), c("01", "00"), c("06", "00"), c("25", "00"),
         c("30", "00")},
        {"22-06, ordinary night", c("22", "00"), c("06", "00"), c("21", "55"), c("06", "05"), c("21", "55"),
         c("30", "05")},
        {"22-06, in before midnight, out late", c("22", "00"), c("06", "00"), c("22", "00"), c("07", "00"),
         c("22", "00"), c("31", "00")},
        {"shift ending at 24:00", c("15", "00"), c("24", "00"), c("15", "00"), c("23", "59"), c("15", "00"),
         c("23", "59")},
        {"shift ending at 24:00, out after midnight", c("15", "00"), c("24", "00"), c("15", "00"), c("00", "30"),
         c("15", "00"), c("24", "30")},
    };
    for (const ShiftCase& k : cases) {
        SCOPED_TRACE(k.what);
        const PunchPair p = layout2Pair(k.in, k.out, k.start, k.end);
        EXPECT_EQ(p.in, k.expectIn);
        EXPECT_EQ(p.out, k.expectOut);
    }
}

// A schedule starting at 24:xx raises a clock-out just after midnight twice;
// hour 48 would be read as nothing the attendance import knows, so the pair
// is refused, naming the clock as given. Up to 47 is kept.
TEST(Layout2Pair, RaisedPastHour47IsRefused) {
    try {
        layout2Pair(c("23", "00"), c("00", "00"), c("24", "30"), c("08", "00"));
        ADD_FAILURE() << "accepted";
    } catch (const rtl::ConversionError& e) {
        EXPECT_STREQ(e.what(), "退勤時刻 '00:00' は 48:00 になり、翌日の 47 時を超えるため取り込めません");
    }
    EXPECT_THROW(layout2Pair(c("23", "50"), c("00", "20"), c("24", "30"), c("24", "45")), rtl::ConversionError);
    const PunchPair p = layout2Pair(c("23", "00"), c("23", "59"), c("24", "30"), c("08", "00"));
    EXPECT_EQ(p.out, c("47", "59"));
}

TEST(RecorderClock, TwoDigitPartsAndRefusals) {
    const struct {
        const char* field;
        const char* hour;
        const char* minute;
    } good[] = {{"08:30", "08", "30"}, {"8:05", "08", "05"},  {"08:0", "08", "00"},
                {"23:59", "23", "59"}, {"00:00", "00", "00"}, {"17:45:30", "17", "45"}};
    for (const auto& g : good) {
        SCOPED_TRACE(g.field);
        EXPECT_EQ(parseRecorderClock(g.field), c(g.hour, g.minute));
    }
    for (const char* bad : {"", "0830", "24:00", "08:60", "ab:cd", "08:30:61", "123:00", " ", "08-30"}) {
        SCOPED_TRACE(bad);
        try {
            parseRecorderClock(bad);
            ADD_FAILURE() << "accepted";
        } catch (const rtl::ConversionError& e) {
            EXPECT_EQ(std::string(e.what()), "'" + std::string(bad) + "' は時刻ではありません");
        }
    }
}

TEST(ScheduleClock, HoursAbove24AreLowered) {
    EXPECT_EQ(parseScheduleClock("25:00"), c("01", "00"));
    EXPECT_EQ(parseScheduleClock("30:15"), c("06", "15"));
    EXPECT_EQ(parseScheduleClock("24:00"), c("24", "00"));
    EXPECT_EQ(parseScheduleClock(" 09:00 "), c("09", "00"));
    EXPECT_THROW(parseScheduleClock(""), rtl::ConversionError);
    EXPECT_THROW(parseScheduleClock("48:00"), rtl::ConversionError);
}

TEST(Layout2EmployeeCode, SixDigitsWithLeadingZeros) {
    EXPECT_EQ(layout2EmployeeCode("7"), "000007");
    EXPECT_EQ(layout2EmployeeCode("000007"), "000007");
    EXPECT_EQ(layout2EmployeeCode("123456"), "123456");
    // Wider numbers keep their digits instead of losing the first one.
    EXPECT_EQ(layout2EmployeeCode("1234567"), "1234567");
    EXPECT_EQ(layout2EmployeeCode("1000000"), "1000000");
    for (const char* bad : {"", "7a", "-3", "1.5"}) {
        SCOPED_TRACE(bad);
        EXPECT_THROW(layout2EmployeeCode(bad), rtl::ConversionError);
    }
}

TEST(LineKinds, HeaderBlankShortAndEmptyClockIn) {
    std::vector<std::string> header1(12, "");
    header1[4] = "年月日";
    header1[8] = "出勤";
    EXPECT_EQ(lineKind(header1, kLayout1), LineKind::Header);
    // Each layout has its own header; to layout 2 this line is too short.
    EXPECT_EQ(lineKind(header1, kLayout2), LineKind::TooShort);

    std::vector<std::string> noClockIn(15, "x");
    noClockIn[8] = "";
    EXPECT_EQ(lineKind(noClockIn, kLayout1), LineKind::NoClockIn);
    EXPECT_EQ(lineKind({}, kLayout1), LineKind::Blank);
    // A line cut off before its clock fields, or another program's CSV.
    EXPECT_EQ(lineKind({"1", "7", "a", "b", "14/07/01"}, kLayout1), LineKind::TooShort);
    EXPECT_EQ(lineKind({"a", "b", "c"}, kLayout2), LineKind::TooShort);
    EXPECT_EQ(lineKind(std::vector<std::string>(11, "x"), kLayout1), LineKind::TooShort);
    EXPECT_EQ(lineKind(std::vector<std::string>(12, "x"), kLayout1), LineKind::Punch);
    EXPECT_EQ(lineKind(std::vector<std::string>(14, "x"), kLayout2), LineKind::TooShort);
    EXPECT_EQ(lineKind(std::vector<std::string>(15, "x"), kLayout2), LineKind::Punch);
    // An empty clock-out still makes a punch (the clock-in alone).
    std::vector<std::string> noClockOut(15, "x");
    noClockOut[14] = "";
    EXPECT_EQ(lineKind(noClockOut, kLayout2), LineKind::Punch);
}

TEST(Layout2ClockIn, AloneFollowsThePairsRule) {
    const struct {
        const char* what;
        ClockText start, end, in, expect;
    } cases[] = {
        {"09-18", c("09", "00"), c("18", "00"), c("08", "50"), c("08", "50")},
        {"22-06, in after midnight", c("22", "00"), c("06", "00"), c("01", "00"), c("25", "00")},
        {"22-06, in before midnight", c("22", "00"), c("06", "00"), c("21", "55"), c("21", "55")},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.what);
        EXPECT_EQ(layout2ClockIn(k.in, k.start, k.end), k.expect);
        // The same clock-in as the pair gives it.
        EXPECT_EQ(layout2Pair(k.in, c("12", "00"), k.start, k.end).in, k.expect);
    }
}

}  // namespace
}  // namespace payroll
