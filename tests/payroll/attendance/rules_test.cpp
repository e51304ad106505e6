// The shared rules and the day computations, without a database.
#include <ostream>

#include <gtest/gtest.h>

#include "attendance/periodrecompute.h"
#include "attendance/rowrecompute.h"
#include "attendance/worktime.h"
#include "rtl/datetime.h"

namespace attendance {
namespace {

rtl::TDateTime day(int y, int m, int d) { return rtl::encodeDate(y, m, d); }
rtl::TDateTime at(int y, int m, int d, int h, int mi, int s = 0) { return rtl::encodeDateTime(y, m, d, h, mi, s); }

WorkCategory category(std::map<std::string, std::string> texts) {
    std::map<std::string, std::string> row = {
        {"就業開始時刻", "09:00"}, {"就業終了時刻", "18:00"}, {"就業丸め単位", "15"}};
    for (auto& [k, v] : texts) row[k] = v;
    return readCategory("01", row);
}

Employee employee() {
    Employee e;
    e.number = 1;
    e.code = "000001";
    e.category = "01";
    e.status = "1";
    e.baseFlag = "1";
    e.payKind = "0";
    return e;
}

// ---- period and punch dates ----

TEST(PeriodRange, SameMonthTakesTheDaysBetween) {
    const PeriodDates p = periodDates("2014/07/01", "2014/07/31");
    EXPECT_TRUE(punchInPeriodRange(p, 7, 1));
    EXPECT_TRUE(punchInPeriodRange(p, 7, 31));
    EXPECT_FALSE(punchInPeriodRange(p, 6, 30));
    EXPECT_FALSE(punchInPeriodRange(p, 8, 1));
}

TEST(PeriodRange, AcrossAMonthEndTakesBothMonthsParts) {
    // Closing day 20: 21 June to 20 July; the last date keeps the day as stored.
    const PeriodDates p = periodDates("2014/06/21", "2014/07/20");
    EXPECT_TRUE(punchInPeriodRange(p, 6, 21));
    EXPECT_TRUE(punchInPeriodRange(p, 6, 30));
    EXPECT_TRUE(punchInPeriodRange(p, 7, 1));
    EXPECT_TRUE(punchInPeriodRange(p, 7, 20));
    EXPECT_FALSE(punchInPeriodRange(p, 6, 20));
    EXPECT_FALSE(punchInPeriodRange(p, 7, 21));
}

TEST(PeriodRange, ClosingDayWrittenWithOneDigit) {
    const PeriodDates p = periodDates("2014/07/06", "2014/08/5");
    EXPECT_TRUE(punchInPeriodRange(p, 8, 5));
    EXPECT_FALSE(punchInPeriodRange(p, 8, 6));
    EXPECT_TRUE(punchInPeriodRange(p, 7, 6));
}

TEST(PunchDate, TakesTheYearThatPutsTheDateInThePeriod) {
    const PeriodDates p = periodDates("2014/12/21", "2015/01/20");
    EXPECT_EQ(punchDate(p, 12, 28), day(2014, 12, 28));
    EXPECT_EQ(punchDate(p, 1, 5), day(2015, 1, 5));
    // Outside the period: the nearest year.
    EXPECT_EQ(punchDate(p, 1, 25), day(2015, 1, 25));
    EXPECT_EQ(punchDate(p, 12, 1), day(2014, 12, 1));
    EXPECT_THROW(punchDate(p, 2, 30), rtl::ConversionError);
}

// ---- categories ----

TEST(Category, EmptyValuesTakeTheirDefaults) {
    const WorkCategory c = readCategory("02", {{"就業開始時刻", ""}, {"就業終了時刻", ":"}});
    EXPECT_EQ(c.shiftStart, 0);
    EXPECT_EQ(c.shiftEnd, 0);
    EXPECT_EQ(c.unit, 1);
    EXPECT_EQ(c.overUnit, 1);
    EXPECT_EQ(c.lateUnit, 1);
    EXPECT_EQ(readCategory("03", {{"深夜終了時刻", "29:30"}}).nightEnd, 29 * 60 + 30);
}

struct UnitCase {
    const char* name;
    const char* unit;
    bool refused;
    friend void PrintTo(const UnitCase& c, std::ostream* os) { *os << c.name; }
};
class WorkUnit : public ::testing::TestWithParam<UnitCase> {};
TEST_P(WorkUnit, OnlyUnitsThatDivideAnHourAreUsed) {
    auto read = [] { return readCategory("07", {{"就業丸め単位", GetParam().unit}}); };
    if (GetParam().refused) {
        try {
            read();
            FAIL() << "accepted";
        } catch (const Refusal& e) {
            EXPECT_NE(std::string(e.what()).find("区分 '07'"), std::string::npos) << e.what();
        }
    } else {
        EXPECT_NO_THROW(read());
    }
}
INSTANTIATE_TEST_SUITE_P(, WorkUnit,
                         ::testing::Values(UnitCase{"empty", "", false}, UnitCase{"one", "1", false},
                                           UnitCase{"fifteen", "15", false}, UnitCase{"sixty", "60", false},
                                           UnitCase{"zero", "00", true}, UnitCase{"seven", "07", true},
                                           UnitCase{"ninety", "90", true}, UnitCase{"letters", "ab", true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Category, NightShiftStartsInTheEveningAndEndsAfterMidnight) {
    EXPECT_TRUE(category({{"就業開始時刻", "22:00"}, {"就業終了時刻", "30:00"}}).nightShift());
    EXPECT_TRUE(category({{"就業開始時刻", "24:00"}, {"就業終了時刻", "24:00"}}).nightShift());
    EXPECT_FALSE(category({{"就業開始時刻", "18:00"}, {"就業終了時刻", "26:00"}}).nightShift());
    EXPECT_FALSE(category({{"就業開始時刻", "22:00"}, {"就業終了時刻", "23:59"}}).nightShift());
}

// ---- spans and rounding ----

TEST(Span, WholeHoursComeOutWhole) {
    // The nearest doubles of 02:00 and 12:00 split as 9 hours 60 minutes.
    EXPECT_EQ(spanMinutes(at(2024, 1, 15, 2, 0), at(2024, 1, 15, 12, 0)), 600);
    EXPECT_EQ(spanMinutes(at(2024, 1, 15, 9, 0), at(2024, 1, 15, 17, 0)), 480);
    EXPECT_EQ(spanMinutes(at(2024, 1, 15, 17, 0), at(2024, 1, 15, 9, 0)), 0);
    EXPECT_EQ(wholeMinutes(at(2024, 1, 15, 2, 0), at(2024, 1, 15, 12, 0)), 600);
    EXPECT_EQ(wholeMinutes(at(2024, 1, 15, 12, 0), at(2024, 1, 15, 2, 0)), 0);
}

TEST(Span, WholeDaysCount) {
    // A pair a full day long, and a late arrival of more than a day on a
    // window that starts just after midnight, lost their days before.
    EXPECT_EQ(spanMinutes(at(2024, 1, 15, 9, 0), at(2024, 1, 16, 9, 0)), 1440);
    EXPECT_EQ(spanMinutes(at(2024, 1, 15, 0, 30), at(2024, 1, 16, 9, 5)), 1955);
    EXPECT_EQ(
        overlapMinutes(at(2024, 1, 15, 8, 0), at(2024, 1, 16, 8, 0), at(2024, 1, 15, 0, 0), at(2024, 1, 16, 23, 0)),
        1440);
}

TEST(Rounding, UnitsRoundHalvesToEven) {
    EXPECT_EQ(unitsOf(450, 60), 8);   // 7.5
    EXPECT_EQ(unitsOf(510, 60), 8);   // 8.5
    EXPECT_EQ(unitsOf(475, 15), 32);  // 31.67
    EXPECT_EQ(roundToUnit(22, 15), 15);
    EXPECT_EQ(roundToUnit(30, 15), 30);
    EXPECT_EQ(roundToUnit(0, 15), 0);
    EXPECT_EQ(roundToUnit(7, 1), 7);
    EXPECT_EQ(clockText(480), "08:00");
    EXPECT_EQ(clockText(465), "07:45");
}

// ---- whole-period recomputation of one day ----

DayClock clock(rtl::TDateTime workDate, rtl::TDateTime in, rtl::TDateTime out) { return {workDate, in, out}; }

TEST(ComputeDay, WorkedTextShowsThePaidUnits) {
    const WorkCategory c = category({});
    Employee e = employee();
    RecomputedRow r = computeDay(clock(day(2014, 7, 1), at(2014, 7, 1, 9, 0), at(2014, 7, 1, 16, 55)), e, c);
    EXPECT_EQ(r.workedMinutes, 475);
    EXPECT_EQ(r.units, 32);
    EXPECT_EQ(r.worked, "08:00");  // 32 units of 15 minutes, as paid
    r = computeDay(clock(day(2014, 7, 1), at(2014, 7, 1, 9, 0), at(2014, 7, 1, 16, 50)), e, c);
    EXPECT_EQ(r.workedMinutes, 470);
    EXPECT_EQ(r.units, 31);
    EXPECT_EQ(r.worked, "07:45");
}

TEST(ComputeDay, HourlyUnitsRoundHalvesToEven) {
    const WorkCategory c = category({{"就業丸め単位", "60"}, {"就業開始時刻", "08:00"}, {"就業終了時刻", "20:00"}});
    const Employee e = employee();
    EXPECT_EQ(computeDay(clock(day(2014, 7, 1), at(2014, 7, 1, 8, 0), at(2014, 7, 1, 15, 30)), e, c).units, 8);
    EXPECT_EQ(computeDay(clock(day(2014, 7, 1), at(2014, 7, 1, 8, 0), at(2014, 7, 1, 16, 30)), e, c).units, 8);
}

TEST(ComputeDay, OvertimeIsTheOverlapWithItsWindowRoundedToTheUnit) {
    const WorkCategory c = category({{"残業開始時刻", "18:00"}, {"残業終了時刻", "22:00"}, {"残業丸め単位", "15"}});
    Employee e = employee();
    e.overFlag = "1";
    e.overRate = 1250;
    RecomputedRow r = computeDay(clock(day(2014, 7, 1), at(2014, 7, 1, 9, 0), at(2014, 7, 1, 18, 22)), e, c);
    EXPECT_EQ(r.minutes[1], 15);   // 22 minutes: Round(1.47) * 15
    EXPECT_EQ(r.amounts[1], 312);  // 1 unit of 15 minutes at 1250 an hour, cut to the yen
    EXPECT_EQ(r.units, 36);        // 562 - 22 minutes of base = 540
    r = computeDay(clock(day(2014, 7, 1), at(2014, 7, 1, 9, 0), at(2014, 7, 1, 18, 30)), e, c);
    EXPECT_EQ(r.minutes[1], 30);
    // A clock-in after the window start does not count the time before it.
    r = computeDay(clock(day(2014, 7, 1), at(2014, 7, 1, 19, 0), at(2014, 7, 1, 20, 0)), e, c);
    EXPECT_EQ(r.minutes[1], 60);
}

TEST(ComputeDay, PayByUnitsUsesTheExactUnitsPerHour) {
    const WorkCategory c = category({});
    Employee e = employee();
    e.payKind = "2";
    e.basePay = 120;
    const RecomputedRow r = computeDay(clock(day(2014, 7, 1), at(2014, 7, 1, 9, 0), at(2014, 7, 1, 10, 30)), e, c);
    EXPECT_EQ(r.units, 6);
    EXPECT_EQ(r.baseAmount, 180);  // 120 * 1000 / 4 * 6, rounded, / 1000
    // 20-minute units: 3 an hour, 1000 yen an hour gives 333.33 a unit.
    const WorkCategory c20 = category({{"就業丸め単位", "20"}});
    e.basePay = 1000;
    EXPECT_EQ(computeDay(clock(day(2014, 7, 1), at(2014, 7, 1, 9, 0), at(2014, 7, 1, 10, 0)), e, c20).baseAmount, 1000);
    e.payKind = "1";
    EXPECT_EQ(computeDay(clock(day(2014, 7, 1), at(2014, 7, 1, 9, 0), at(2014, 7, 1, 10, 0)), e, c).baseAmount, 1000);
}

TEST(ComputeDay, BreakIsTakenOffOnlyWhereItWasWorked) {
    const WorkCategory c = category({{"休憩1開始時刻", "12:00"}, {"休憩1終了時刻", "13:00"}, {"就業丸め単位", "01"}});
    Employee e = employee();
    e.restFlag = "1";
    EXPECT_EQ(computeDay(clock(day(2014, 7, 1), at(2014, 7, 1, 9, 0), at(2014, 7, 1, 18, 0)), e, c).workedMinutes, 480);
    EXPECT_EQ(computeDay(clock(day(2014, 7, 1), at(2014, 7, 1, 12, 30), at(2014, 7, 1, 18, 0)), e, c).workedMinutes,
              300);
    EXPECT_EQ(computeDay(clock(day(2014, 7, 1), at(2014, 7, 1, 14, 0), at(2014, 7, 1, 18, 0)), e, c).workedMinutes,
              240);
}

TEST(ComputeDay, WithoutCutOffTheWholeClockTimeIsWorkedAndEarlyStartIsApart) {
    const WorkCategory c = category({{"早出開始時刻", "07:00"}, {"早出終了時刻", "09:00"}, {"就業丸め単位", "01"}});
    Employee e = employee();
    e.baseFlag = "0";
    e.earlyFlag = "1";
    e.earlyRate = 1200;
    RecomputedRow r = computeDay(clock(day(2014, 7, 1), at(2014, 7, 1, 6, 30), at(2014, 7, 1, 18, 30)), e, c);
    EXPECT_EQ(r.workedMinutes, 720);  // not cut at either end of the shift
    EXPECT_EQ(r.minutes[0], 120);     // from the early-start time to the shift start
    EXPECT_EQ(r.units, 600);          // worked less early start
    EXPECT_EQ(r.amounts[0], 2400);
    // A clock-in after the shift start has no early start.
    r = computeDay(clock(day(2014, 7, 1), at(2014, 7, 1, 9, 30), at(2014, 7, 1, 18, 0)), e, c);
    EXPECT_EQ(r.minutes[0], 0);
    EXPECT_EQ(r.workedMinutes, 510);
    // Without the early-start flag the early time stays in the base units.
    e.earlyFlag = "0";
    r = computeDay(clock(day(2014, 7, 1), at(2014, 7, 1, 8, 0), at(2014, 7, 1, 18, 0)), e, c);
    EXPECT_EQ(r.minutes[0], 0);
    EXPECT_EQ(r.units, 600);
}

TEST(ComputeDay, LateArrivalAndEarlyDepartureAreMeasuredAgainstTheirWindow) {
    const WorkCategory c =
        category({{"遅刻早退開始時刻", "09:00"}, {"遅刻早退終了時刻", "18:00"}, {"遅早丸め単位", "15"}});
    Employee e = employee();
    e.lateFlag = "1";
    e.lateRate = 1000;
    e.leaveFlag = "1";
    e.leaveRate = 1000;
    RecomputedRow r = computeDay(clock(day(2014, 7, 1), at(2014, 7, 1, 9, 20), at(2014, 7, 1, 17, 0)), e, c);
    EXPECT_EQ(r.minutes[3], 15);  // 20 minutes late, rounded to 15
    EXPECT_EQ(r.minutes[4], 60);
    EXPECT_EQ(r.amounts[3], 250);
    EXPECT_EQ(r.amounts[4], 1000);
    r = computeDay(clock(day(2014, 7, 1), at(2014, 7, 1, 8, 50), at(2014, 7, 1, 18, 10)), e, c);
    EXPECT_EQ(r.minutes[3], 0);
    EXPECT_EQ(r.minutes[4], 0);
}

// Late arrival and early departure by which end of the category's window is
// set, for a clock time of 09:20 to 17:00: both recomputations agree.
struct LateWindowCase {
    const char* name;
    const char* start;
    const char* end;
    long long late, leave;
    friend void PrintTo(const LateWindowCase& c, std::ostream* os) { *os << c.name; }
};
class LateWindow : public ::testing::TestWithParam<LateWindowCase> {};
TEST_P(LateWindow, EachEndCountsOnlyWhenItIsSet) {
    const LateWindowCase& p = GetParam();
    const WorkCategory c =
        category({{"遅刻早退開始時刻", p.start}, {"遅刻早退終了時刻", p.end}, {"就業丸め単位", "01"}});
    Employee e = employee();
    e.lateFlag = "1";
    e.lateRate = 600;
    e.leaveFlag = "1";
    e.leaveRate = 600;
    const DayClock d{day(2014, 7, 1), at(2014, 7, 1, 9, 20), at(2014, 7, 1, 17, 0)};
    const RecomputedRow r = computeDay(d, e, c);
    EXPECT_EQ(r.minutes[3], p.late);
    EXPECT_EQ(r.minutes[4], p.leave);
    EXPECT_EQ(r.amounts[3], p.late * 10);
    EXPECT_EQ(r.amounts[4], p.leave * 10);
    const RowTimes t = computeRowTimes(d, e, c);
    EXPECT_EQ(t.minutes[3], p.late);
    EXPECT_EQ(t.minutes[4], p.leave);
}
INSTANTIATE_TEST_SUITE_P(, LateWindow,
                         ::testing::Values(LateWindowCase{"both_ends", "09:00", "18:00", 20, 60},
                                           LateWindowCase{"no_window", "", "", 0, 0},
                                           LateWindowCase{"start_only", "09:00", "", 20, 0},
                                           LateWindowCase{"end_only", "", "18:00", 0, 60},
                                           LateWindowCase{"end_at_midnight", "09:00", "24:00", 20, 420}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ComputeDay, ARowWithoutPaidUnitsKeepsNoStaleAmounts) {
    const WorkCategory c = category({});
    Employee e = employee();
    e.payKind = "1";
    e.basePay = 8000;
    // No clock-out: the clock-out is the work date at midnight.
    RecomputedRow r = computeDay(clock(day(2014, 7, 1), at(2014, 7, 1, 9, 0), day(2014, 7, 1)), e, c);
    EXPECT_EQ(r.units, 0);
    EXPECT_EQ(r.baseAmount, 0);
    EXPECT_EQ(r.worked, "00:00");
    EXPECT_TRUE(hasNoWorkedTime(r.units, r.worked));
    // Seven minutes at a 15-minute unit round to no unit.
    r = computeDay(clock(day(2014, 7, 1), at(2014, 7, 1, 9, 0), at(2014, 7, 1, 9, 7)), e, c);
    EXPECT_EQ(r.workedMinutes, 7);
    EXPECT_TRUE(hasNoWorkedTime(r.units, r.worked));
}

TEST(ComputeDay, NightShiftWhollyInTheLateNightWindowStillHasWorkedTime) {
    const WorkCategory c = category(
        {{"就業開始時刻", "22:00"}, {"就業終了時刻", "29:00"}, {"深夜開始時刻", "22:00"}, {"深夜終了時刻", "29:00"}});
    Employee e = employee();
    e.nightFlag = "1";
    e.nightRate = 300;
    const RecomputedRow r = computeDay(clock(day(2014, 7, 4), at(2014, 7, 4, 22, 0), at(2014, 7, 5, 5, 0)), e, c);
    EXPECT_EQ(r.minutes[2], 420);
    EXPECT_EQ(r.units, 0);  // all of it is late night
    EXPECT_EQ(r.worked, "07:00");
    EXPECT_FALSE(hasNoWorkedTime(r.units, r.worked));
    EXPECT_EQ(r.amounts[2], 2100);
}

TEST(ComputeDay, NightShiftRowFiledUnderTheDayBeforeIsNotMovedAgain) {
    const WorkCategory c = category({{"就業開始時刻", "22:00"}, {"就業終了時刻", "30:00"}, {"就業丸め単位", "01"}});
    const Employee e = employee();
    // The import files a clock-in at 00:30 on the 5th under the 4th.
    RecomputedRow r = computeDay(clock(day(2014, 7, 4), at(2014, 7, 5, 0, 30), at(2014, 7, 5, 6, 0)), e, c);
    EXPECT_EQ(r.workedMinutes, 330);
    // A row typed in under the clock-in's own date moves to the day before.
    r = computeDay(clock(day(2014, 7, 5), at(2014, 7, 5, 0, 30), at(2014, 7, 5, 6, 0)), e, c);
    EXPECT_EQ(r.workedMinutes, 330);
}

// ---- recomputation of the current row ----

TEST(RowTimes, WorkedTimeIsTheOverlapWithTheShift) {
    const WorkCategory c = category({{"残業開始時刻", "18:00"}, {"残業終了時刻", "22:00"}});
    Employee e = employee();
    e.overFlag = "1";
    const RowTimes r = computeRowTimes(clock(day(2014, 7, 1), at(2014, 7, 1, 8, 50, 12), at(2014, 7, 1, 18, 20)), e, c);
    EXPECT_EQ(r.workedMinutes, 540);
    EXPECT_EQ(r.units, 36);
    EXPECT_EQ(r.worked, "09:00");
    EXPECT_EQ(r.minutes[1], 20);
}

TEST(RowTimes, ReversedSpansAndBreaksOutsideTheClockTimeCountNothing) {
    const WorkCategory c = category({{"休憩1開始時刻", "12:00"}, {"休憩1終了時刻", "13:00"}});
    Employee e = employee();
    e.restFlag = "1";
    // Clock-out before the shift start.
    RowTimes r = computeRowTimes(clock(day(2014, 7, 1), at(2014, 7, 1, 6, 0), at(2014, 7, 1, 8, 0)), e, c);
    EXPECT_EQ(r.workedMinutes, 0);
    EXPECT_EQ(r.units, 0);
    // Afternoon only: the break lies before the clock-in.
    r = computeRowTimes(clock(day(2014, 7, 1), at(2014, 7, 1, 14, 0), at(2014, 7, 1, 18, 0)), e, c);
    EXPECT_EQ(r.workedMinutes, 240);
}

TEST(RowTimes, WindowsAfterMidnightLieOnTheNextDayInWholeMinutes) {
    const WorkCategory c = category({{"就業開始時刻", "22:00"},
                                     {"就業終了時刻", "30:00"},
                                     {"深夜開始時刻", "24:00"},
                                     {"深夜終了時刻", "29:00"},
                                     {"就業丸め単位", "01"}});
    Employee e = employee();
    e.nightFlag = "1";
    const RowTimes r = computeRowTimes(clock(day(2014, 7, 4), at(2014, 7, 4, 22, 0), at(2014, 7, 5, 6, 0)), e, c);
    EXPECT_EQ(r.workedMinutes, 480);
    EXPECT_EQ(r.minutes[2], 300);
}

}  // namespace
}  // namespace attendance
