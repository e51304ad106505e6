// The punch import on a working database.
#include <gtest/gtest.h>

#include "attendance/punchimport.h"
#include "fixture.h"
#include "rtl/datetime.h"

namespace attendance::testing {
namespace {

class PunchImport : public AttendanceDb {
protected:
    void SetUp() override {
        AttendanceDb::SetUp();
        // Category 15: the day shift in quarter hours with a lunch break.
        addCategory("15", {{"就業開始時刻", "09:00"},
                           {"就業終了時刻", "18:00"},
                           {"休憩1開始時刻", "12:00"},
                           {"休憩1終了時刻", "13:00"},
                           {"就業丸め単位", "15"}});
        // Category 22: a night shift, 22:00 to 06:00, whole minutes.
        addCategory("22", {{"就業開始時刻", "22:00"}, {"就業終了時刻", "30:00"}, {"就業丸め単位", "01"}});
        addEmployee(1, "15");
    }
    // The rows written, by work date and clock-in: date, in, out, text, minutes, units.
    std::vector<std::vector<std::string>> written() {
        std::vector<std::vector<std::string>> out;
        for (const auto& r : rows("SELECT K_TANCOD, K_DATE, K_INTIM, K_OUTTIM, K_SYUGYO, K_KINMU, K_TANJI, K_KNMKBN "
                                  "FROM kimu_tran ORDER BY K_DATE, K_INTIM")
                                 .rows)
            out.push_back({r[0].toString(), at(r[1]).substr(0, 8), at(r[2]), at(r[3]), r[4].toString(), r[5].toString(),
                           r[6].toString(), r[7].toString()});
        return out;
    }
};

TEST_F(PunchImport, ClockTimesOnTheShiftGiveWorkedMinutesAndUnits) {
    addShift("000001", "07", "01", "08:50:12", "18:20");
    addShift("000001", "07", "02", "09:10", "17:00");
    const PunchImportResult r = importPunches(*conn, july());
    EXPECT_EQ(r.rowsWritten, 2);
    using Row = std::vector<std::string>;
    // The break is not taken off (E_REST_YN is not "1").
    EXPECT_EQ(written(), (std::vector<Row>{
                             {"1", "14/07/01", "14/07/01 08:50:12", "14/07/01 18:20:00", "09:00", "540", "36", "15"},
                             {"1", "14/07/02", "14/07/02 09:10:00", "14/07/02 17:00:00", "07:45", "470", "31", "15"},
                         }));
}

TEST_F(PunchImport, TheBreakIsTakenOffWhenTheEmployeeTakesIt) {
    exec("UPDATE emp_tanka SET E_REST_YN = '1'");
    addShift("000001", "07", "01", "09:00", "18:00");
    importPunches(*conn, july());
    EXPECT_EQ(number("SELECT K_KINMU FROM kimu_tran"), 480);
}

TEST_F(PunchImport, ClockInWithoutClockOutHasNoWorkedTime) {
    addPunch("07", "03", "09", "00", "000001", "0");
    importPunches(*conn, july());
    const auto w = written();
    ASSERT_EQ(w.size(), 1u);
    EXPECT_EQ(w[0][3], "14/07/03 00:00:00");
    EXPECT_EQ(w[0][4], "00:00");
    EXPECT_EQ(w[0][5], "0");
    EXPECT_EQ(w[0][6], "0");
}

TEST_F(PunchImport, HoursFromTwentyFourLieOnTheNextDay) {
    addPunch("07", "05", "25", "10", "000001", "0");
    addPunch("07", "05", "27", "00", "000001", "1");
    importPunches(*conn, july());
    const auto w = written();
    ASSERT_EQ(w.size(), 1u);
    EXPECT_EQ(w[0][1], "14/07/05");
    EXPECT_EQ(w[0][2], "14/07/06 01:10:00");
    EXPECT_EQ(w[0][3], "14/07/06 03:00:00");
}

TEST_F(PunchImport, NightShiftClockInAfterMidnightBelongsToTheDayBefore) {
    exec("UPDATE emp_tanka SET E_JOBKBN = '22'");
    addShift("000001", "07", "05", "00:30", "06:00");  // the shift of the 4th
    addShift("000001", "07", "05", "21:50", "23:00");  // the shift of the 5th
    importPunches(*conn, july());
    const auto w = written();
    ASSERT_EQ(w.size(), 2u);
    EXPECT_EQ(w[0][1], "14/07/04");
    EXPECT_EQ(w[0][5], "330");  // 00:30 to 06:00 inside 22:00 on the 4th to 06:00 on the 5th
    EXPECT_EQ(w[1][1], "14/07/05");
    EXPECT_EQ(w[1][5], "60");
}

TEST_F(PunchImport, EarlyMorningClockInFiledUnderThePreviousDayPairsWithTheNextMorning) {
    exec("UPDATE emp_tanka SET E_JOBKBN = '22'");
    // The time-card entry files a 02:00 clock-in of the 5th as hour 26 of the 4th.
    addPunch("07", "04", "26", "00", "000001", "0");
    addPunch("07", "05", "06", "00", "000001", "1");
    importPunches(*conn, july());
    const auto w = written();
    ASSERT_EQ(w.size(), 1u);
    EXPECT_EQ(w[0][1], "14/07/04");
    EXPECT_EQ(w[0][3], "14/07/05 06:00:00");
    EXPECT_EQ(w[0][5], "240");
}

TEST_F(PunchImport, ClockOutOfAnotherMonthWithTheSameDayIsNotPaired) {
    // Period 21 June to 20 July: the clock-out of 5 June must not end the shift of 5 July.
    addPunch("06", "05", "17", "00", "000001", "1");
    addPunch("07", "05", "09", "00", "000001", "0");
    addPunch("07", "05", "18", "00", "000001", "1");
    importPunches(*conn, periodDates("2014/06/21", "2014/07/20"));
    const auto w = written();
    ASSERT_EQ(w.size(), 1u);
    EXPECT_EQ(w[0][3], "14/07/05 18:00:00");
    EXPECT_EQ(w[0][5], "540");
}

TEST_F(PunchImport, TwoShiftsOnOneDayPairEachWithItsOwnClockOut) {
    addShift("000001", "07", "01", "09:00", "12:00");
    addShift("000001", "07", "01", "13:00", "18:00");
    importPunches(*conn, july());
    const auto w = written();
    ASSERT_EQ(w.size(), 2u);
    EXPECT_EQ(w[0][5], "180");
    EXPECT_EQ(w[1][5], "300");
}

TEST_F(PunchImport, PeriodAcrossTheYearEndPlacesJanuaryInTheNextYear) {
    addShift("000001", "12", "28", "09:00", "18:00");
    addShift("000001", "01", "05", "09:00", "18:00");
    const PunchImportResult r = importPunches(*conn, periodDates("2014/12/21", "2015/01/20"));
    EXPECT_EQ(r.rowsWritten, 2);
    EXPECT_EQ(r.leftOut, 0);
    const auto w = written();
    ASSERT_EQ(w.size(), 2u);
    EXPECT_EQ(w[0][1], "14/12/28");
    EXPECT_EQ(w[1][1], "15/01/05");
    EXPECT_EQ(w[1][5], "540");
}

TEST_F(PunchImport, OnlyThePeriodsRowsAreWrittenAndTheRestIsCounted) {
    addShift("000001", "07", "01", "09:00", "18:00");
    addShift("000001", "08", "01", "09:00", "18:00");
    const PunchImportResult r = importPunches(*conn, july());
    EXPECT_EQ(r.rowsWritten, 1);
    EXPECT_EQ(r.leftOut, 1);
    EXPECT_EQ(number("SELECT COUNT(*) FROM kimu_tran"), 1);
    EXPECT_EQ(importMessages(r), std::vector<std::string>{"支払期間外の出勤打刻 1 件は移行しませんでした。"});
}

TEST_F(PunchImport, PunchesOfUnknownCardsAreCountedThemselves) {
    addEmployee(9, "15", {{"E_DROPKBN", "0"}});
    addEmployee(8, "15", {{"E_DROPKBN", "0"}});
    addShift("000001", "07", "01", "09:00", "18:00");
    addShift("000077", "07", "01", "09:00", "18:00");  // nobody's card
    addShift("000009", "07", "02", "09:00", "18:00");  // retired
    addShift("000009", "07", "03", "09:00", "18:00");
    const PunchImportResult r = importPunches(*conn, july());
    EXPECT_EQ(r.rowsWritten, 1);
    EXPECT_EQ(r.unmatched, 3);
    EXPECT_EQ(importMessages(r), std::vector<std::string>{"3 件の個人別単価が不正です。"});
}

TEST_F(PunchImport, ACodeWhoseFirstRowIsNotInServiceIsSkippedQuietly) {
    exec("UPDATE emp_tanka SET E_DROPKBN = '0'");
    addEmployee(2, "15", {{"E_TANCOD", "000001"}});
    addShift("000001", "07", "01", "09:00", "18:00");
    const PunchImportResult r = importPunches(*conn, july());
    EXPECT_EQ(r.rowsWritten, 0);
    EXPECT_EQ(r.unmatched, 0);
}

TEST_F(PunchImport, ReplacesOnlyThePeriodsRows) {
    exec("INSERT INTO kimu_tran (K_TANCOD, K_DATE, K_TANJI) VALUES (1, ?, 5)", {rtl::encodeDate(2014, 7, 9)});
    exec("INSERT INTO kimu_tran (K_TANCOD, K_DATE, K_TANJI) VALUES (1, ?, 5)", {rtl::encodeDate(2014, 6, 9)});
    addShift("000001", "07", "01", "09:00", "18:00");
    importPunches(*conn, july());
    EXPECT_EQ(number("SELECT COUNT(*) FROM kimu_tran"), 2);
    EXPECT_EQ(number("SELECT COUNT(*) FROM kimu_tran WHERE K_DATE = ?", {rtl::encodeDate(2014, 6, 9)}), 1);
}

TEST_F(PunchImport, RefusalsChangeNothing) {
    exec("INSERT INTO kimu_tran (K_TANCOD, K_DATE, K_TANJI) VALUES (1, ?, 5)", {rtl::encodeDate(2014, 7, 9)});
    // No punch in the period.
    addShift("000001", "08", "01", "09:00", "18:00");
    try {
        importPunches(*conn, july());
        FAIL();
    } catch (const Refusal& e) {
        EXPECT_STREQ(e.what(), kNoDataMessage);
    }
    // A unit that gives no whole units per hour, named with its category.
    addCategory("07", {{"就業丸め単位", "07"}});
    addEmployee(2, "07");
    addShift("000002", "07", "01", "09:00", "18:00");
    try {
        importPunches(*conn, july());
        FAIL();
    } catch (const Refusal& e) {
        EXPECT_NE(std::string(e.what()).find("区分 '07'"), std::string::npos);
    }
    // A card code that is not a number ends the run with the conversion message.
    exec("DELETE FROM 区分 WHERE 区分 = '07'");
    addPunch("07", "02", "09", "00", "A-1", "0");
    EXPECT_THROW(importPunches(*conn, july()), rtl::ConversionError);
    EXPECT_EQ(number("SELECT COUNT(*) FROM kimu_tran"), 1);
    EXPECT_EQ(number("SELECT K_TANJI FROM kimu_tran"), 5);
}

}  // namespace
}  // namespace attendance::testing
