// The whole-period recomputation and the month totals on a working database.
#include <gtest/gtest.h>

#include "attendance/monthtotals.h"
#include "attendance/periodrecompute.h"
#include "attendance/punchimport.h"
#include "fixture.h"
#include "rtl/datetime.h"

namespace attendance::testing {
namespace {

class Recompute : public AttendanceDb {
protected:
    void SetUp() override {
        AttendanceDb::SetUp();
        addCategory("15", {{"就業開始時刻", "09:00"},
                           {"就業終了時刻", "18:00"},
                           {"残業開始時刻", "18:00"},
                           {"残業終了時刻", "22:00"},
                           {"就業丸め単位", "15"}});
    }
};

TEST_F(Recompute, RewritesEveryRowOfThePeriodInOneGo) {
    addEmployee(1, "15", {{"E_FUTZ_YN", "1"}, {"E_FUTZPAY", 1250}, {"E_PAYKBN", "2"}, {"E_BASEPAY", 1000}});
    addShift("000001", "07", "01", "09:00", "18:30");
    addShift("000001", "07", "02", "09:00", "18:00");
    importPunches(*conn, july());
    // The user corrects the clock-out of the 2nd.
    exec("UPDATE kimu_tran SET K_OUTTIM = ? WHERE K_DATE = ?",
         {rtl::encodeDateTime(2014, 7, 2, 19, 0, 0), rtl::encodeDate(2014, 7, 2)});
    const PeriodRecomputeResult r = recomputePeriod(*conn, july());
    EXPECT_EQ(r.rowsWritten, 2);
    EXPECT_TRUE(recomputeMessages(r).empty());
    const auto rs =
        rows("SELECT K_SYUGYO, K_KINMU, K_TANJI, K_FUTZAN, K_FUTKING, K_BASKING FROM kimu_tran ORDER BY K_DATE");
    ASSERT_EQ(rs.rows.size(), 2u);
    auto row = [&](size_t i) {
        std::vector<std::string> v;
        for (const auto& c : rs.rows[i]) v.push_back(c.toString());
        return v;
    };
    EXPECT_EQ(row(0), (std::vector<std::string>{"09:30", "570", "36", "30", "625", "9000"}));
    EXPECT_EQ(row(1), (std::vector<std::string>{"10:00", "600", "36", "60", "1250", "9000"}));
}

TEST_F(Recompute, ARowThatLostItsWorkedTimeKeepsNoStaleAmount) {
    addEmployee(1, "15", {{"E_PAYKBN", "1"}, {"E_BASEPAY", 8000}});
    addShift("000001", "07", "01", "09:00", "18:00");
    importPunches(*conn, july());
    recomputePeriod(*conn, july());
    EXPECT_EQ(number("SELECT K_BASKING FROM kimu_tran"), 8000);
    // The clock-out is corrected to five minutes after the clock-in.
    exec("UPDATE kimu_tran SET K_OUTTIM = ?", {rtl::encodeDateTime(2014, 7, 1, 9, 5, 0)});
    recomputePeriod(*conn, july());
    EXPECT_EQ(number("SELECT K_BASKING FROM kimu_tran"), 0);
    EXPECT_EQ(number("SELECT K_TANJI FROM kimu_tran"), 0);
    EXPECT_EQ(text("SELECT K_SYUGYO FROM kimu_tran"), "00:00");
    EXPECT_THROW(sumMonth(*conn, july(), "14/07"), Refusal);
}

TEST_F(Recompute, RowsOfNobodyInServiceAreCountedNotComputed) {
    addEmployee(1, "15");
    addShift("000001", "07", "01", "09:00", "18:00");
    importPunches(*conn, july());
    exec("INSERT INTO kimu_tran (K_TANCOD, K_DATE, K_TANJI, K_SYUGYO) VALUES (42, ?, 3, '00:45')",
         {rtl::encodeDate(2014, 7, 3)});
    const PeriodRecomputeResult r = recomputePeriod(*conn, july());
    EXPECT_EQ(r.rowsWritten, 1);
    EXPECT_EQ(recomputeMessages(r), std::vector<std::string>{"1 件の個人別単価が不正です。"});
    EXPECT_EQ(text("SELECT K_SYUGYO FROM kimu_tran WHERE K_TANCOD = 42"), "00:45");
}

TEST_F(Recompute, RefusesAnEmptyPeriodAndAPeriodWithoutPunches) {
    addEmployee(1, "15");
    EXPECT_THROW(recomputePeriod(*conn, july()), Refusal);
    exec("INSERT INTO kimu_tran (K_TANCOD, K_DATE, K_TANJI) VALUES (1, ?, 5)", {rtl::encodeDate(2014, 7, 9)});
    EXPECT_THROW(recomputePeriod(*conn, july()), Refusal);
    EXPECT_EQ(number("SELECT K_TANJI FROM kimu_tran"), 5);
}

// ---- month totals ----

class MonthTotals : public AttendanceDb {
protected:
    void SetUp() override {
        AttendanceDb::SetUp();
        addCategory("15", {{"就業丸め単位", "15"}});
    }
    // One attendance row as the recomputation leaves it.
    void day(long long employee, int d, long long units, const std::string& worked = "08:00",
             const std::vector<std::pair<std::string, db::Value>>& more = {}, int month = 7) {
        std::string names = "K_TANCOD, K_DATE, K_TANJI, K_SYUGYO";
        std::string marks = "?, ?, ?, ?";
        db::Params p{employee, rtl::encodeDate(2014, month, d), units, worked};
        for (const auto& [n, v] : more) {
            names += ", " + n;
            marks += ", ?";
            p.push_back(v);
        }
        exec("INSERT INTO kimu_tran (" + names + ") VALUES (" + marks + ")", p);
    }
    long long record(const std::string& column, long long employee = 1) {
        return number("SELECT " + column + " FROM sum_tran WHERE S_TANCOD = ? AND S_DATE = '14/07'", {employee});
    }
};

TEST_F(MonthTotals, TransportBelowTwoThousandIsPerDay) {
    addEmployee(1, "15", {{"E_KOTUHI", 1999}});
    addEmployee(2, "15", {{"E_KOTUHI", 2000}});
    for (int d = 1; d <= 20; ++d) {
        day(1, d, 32);
        day(2, d, 32);
    }
    EXPECT_EQ(sumMonth(*conn, july(), "14/07").records, 2);
    EXPECT_EQ(record("S_KOTUHI", 1), 39980);
    EXPECT_EQ(record("S_KOTUHI", 2), 2000);
    EXPECT_EQ(record("S_DAYS", 1), 20);
    EXPECT_EQ(record("S_TANJI", 1), 640);
    EXPECT_EQ(record("S_KNTKBN", 1), 1);
}

TEST_F(MonthTotals, PremiumIsTheLargerOfTheDayAmountsAndTheMinutesAtTheRate) {
    addEmployee(1, "15", {{"E_FUTZPAY", 1250}});
    day(1, 1, 32, "08:00", {{"K_FUTZAN", "45"}, {"K_FUTKING", 990}});
    day(1, 2, 32, "08:00", {{"K_FUTZAN", "50"}, {"K_FUTKING", 990}});
    sumMonth(*conn, july(), "14/07");
    EXPECT_EQ(record("S_FUTZAN"), 95);
    EXPECT_EQ(record("S_FUTKING"), 1980);  // the days: 95 minutes at 1250 give only 1979.17
    exec("UPDATE kimu_tran SET K_FUTKING = 980");
    sumMonth(*conn, july(), "14/07");
    EXPECT_EQ(record("S_FUTKING"), 1979);
    EXPECT_EQ(number("SELECT COUNT(*) FROM sum_tran"), 1);
}

TEST_F(MonthTotals, HalvesRoundUp) {
    // 15 minutes at 50 yen an hour: 12.5 yen.
    addEmployee(1, "15", {{"E_SINZPAY", 50}});
    day(1, 1, 32, "08:00", {{"K_SINZAN", "15"}});
    sumMonth(*conn, july(), "14/07");
    EXPECT_EQ(record("S_SINKING"), 13);
}

TEST_F(MonthTotals, PayByUnitsTakesTheLargerOfTheDaysAndTheUnitsAtTheWage) {
    addEmployee(1, "15", {{"E_PAYKBN", "2"}, {"E_BASEPAY", 1000}});
    day(1, 1, 16, "04:00", {{"K_BASKING", 3850}});
    day(1, 2, 15, "03:45", {{"K_BASKING", 3850}});
    sumMonth(*conn, july(), "14/07");
    EXPECT_EQ(record("S_BASKING"), 7750);  // 1000 / 4 * 31
    EXPECT_EQ(record("S_KINMU"), 465);
    // Half up: 1002 a hour, 1 unit of 15 minutes = 250.5.
    exec("UPDATE emp_tanka SET E_BASEPAY = 1002");
    exec("UPDATE kimu_tran SET K_TANJI = 1, K_BASKING = 0 WHERE K_DATE = ?", {rtl::encodeDate(2014, 7, 1)});
    exec("DELETE FROM kimu_tran WHERE K_DATE = ?", {rtl::encodeDate(2014, 7, 2)});
    sumMonth(*conn, july(), "14/07");
    EXPECT_EQ(record("S_BASKING"), 251);
}

TEST_F(MonthTotals, MonthlyAndDailyWagesIgnoreTheUnits) {
    addEmployee(1, "15", {{"E_PAYKBN", "0"}, {"E_BASEPAY", 250000}});
    addEmployee(2, "15", {{"E_PAYKBN", "1"}, {"E_BASEPAY", 9000}});
    for (int d = 1; d <= 3; ++d) {
        day(1, d, 32);
        day(2, d, 32);
    }
    sumMonth(*conn, july(), "14/07");
    EXPECT_EQ(record("S_BASKING", 1), 250000);
    EXPECT_EQ(record("S_BASKING", 2), 27000);
}

TEST_F(MonthTotals, HolidayTimeIsSummedOverEveryDay) {
    addEmployee(1, "15");
    day(1, 6, 32, "08:00", {{"K_KYUSYU", "480"}, {"K_KYUKING", 4000}});
    day(1, 13, 32, "08:00", {{"K_KYUSYU", "240"}, {"K_KYUKING", 2000}});
    day(1, 14, 32);
    sumMonth(*conn, july(), "14/07");
    EXPECT_EQ(record("S_KYUSYU"), 720);
    EXPECT_EQ(record("S_KYUKING"), 6000);
}

TEST_F(MonthTotals, LateDaysAreCounted) {
    addEmployee(1, "15");
    day(1, 1, 32, "08:00", {{"K_TIKOKU", "15"}, {"K_TIKKING", 250}});
    day(1, 2, 32, "08:00", {{"K_TIKOKU", "0"}, {"K_TIKKING", 0}});
    day(1, 3, 32, "08:00", {{"K_TIKOKU", "30"}, {"K_TIKKING", 500}});
    sumMonth(*conn, july(), "14/07");
    EXPECT_EQ(record("S_DAY5"), 2);
    EXPECT_EQ(record("S_TIKOKU"), 45);
}

TEST_F(MonthTotals, RecordsTakeTheKeyTheRunReplacesEvenForAnEarlierMonthsRows) {
    // Period 21 June to 20 July; the employee only worked in June.
    addEmployee(1, "15");
    day(1, 25, 32, "08:00", {}, 6);
    exec("INSERT INTO sum_tran (S_TANCOD, S_DATE, S_DAYS) VALUES (1, '14/07', 99)");
    sumMonth(*conn, periodDates("2014/06/21", "2014/07/20"), "14/07");
    EXPECT_EQ(number("SELECT COUNT(*) FROM sum_tran"), 1);
    EXPECT_EQ(record("S_DAYS"), 1);
}

TEST_F(MonthTotals, OnlyEmployeesInServiceWithRowsGetARecord) {
    addEmployee(1, "15");
    addEmployee(2, "15");
    addEmployee(3, "15", {{"E_DROPKBN", "0"}});
    day(1, 1, 32);
    day(3, 1, 32);
    EXPECT_EQ(sumMonth(*conn, july(), "14/07").records, 1);
    EXPECT_EQ(number("SELECT S_TANCOD FROM sum_tran"), 1);
}

TEST_F(MonthTotals, WeeklyKeyIsTheLastDateOfThePeriod) {
    addEmployee(1, "15");
    day(1, 21, 32);
    sumMonth(*conn, periodDates("14/07/19", "14/07/25"), "14/07/25");
    EXPECT_EQ(text("SELECT S_DATE FROM sum_tran"), "14/07/25");
}

TEST_F(MonthTotals, RowsWithoutWorkedTimeStopTheRunBeforeAnythingIsDeleted) {
    addEmployee(1, "15");
    exec("INSERT INTO sum_tran (S_TANCOD, S_DATE, S_DAYS) VALUES (1, '14/07', 99)");
    day(1, 1, 0, "00:00");
    day(1, 2, 0, "00:00");
    day(1, 3, 32);
    // A night shift wholly in the late-night window: no base units, but worked time.
    day(1, 4, 0, "07:00", {{"K_SINZAN", "420"}});
    try {
        sumMonth(*conn, july(), "14/07");
        FAIL();
    } catch (const Refusal& e) {
        EXPECT_STREQ(e.what(), "2 個のデータが不正です。訂正して下さい。");
    }
    EXPECT_EQ(record("S_DAYS"), 99);
    exec("DELETE FROM kimu_tran WHERE K_TANJI = 0 AND K_SYUGYO = '00:00'");
    sumMonth(*conn, july(), "14/07");
    EXPECT_EQ(record("S_DAYS"), 2);
}

TEST_F(MonthTotals, TextThatIsNoNumberKeepsTheOldRecords) {
    addEmployee(1, "15");
    exec("INSERT INTO sum_tran (S_TANCOD, S_DATE, S_DAYS) VALUES (1, '14/07', 99)");
    day(1, 1, 32, "08:00", {{"K_FUTZAN", "1:5"}});
    try {
        sumMonth(*conn, july(), "14/07");
        FAIL();
    } catch (const Refusal& e) {
        EXPECT_EQ(std::string(e.what()).rfind(kInconsistentMessage, 0), 0u) << e.what();
    }
    EXPECT_EQ(record("S_DAYS"), 99);
}

TEST_F(MonthTotals, AFailedWriteRestoresTheMonthsRecords) {
    addEmployee(1, "15");
    addEmployee(2, "15");
    exec("INSERT INTO sum_tran (S_TANCOD, S_DATE, S_DAYS) VALUES (1, '14/07', 99)");
    day(1, 1, 32);
    day(2, 1, 32);
    // The second record cannot be written.
    exec(
        "CREATE TRIGGER refuse_two BEFORE INSERT ON sum_tran WHEN NEW.S_TANCOD = 2 "
        "BEGIN SELECT RAISE(ABORT, 'refused'); END");
    EXPECT_THROW(sumMonth(*conn, july(), "14/07"), rtl::DatabaseError);
    EXPECT_EQ(number("SELECT COUNT(*) FROM sum_tran"), 1);
    EXPECT_EQ(record("S_DAYS"), 99);
}

}  // namespace
}  // namespace attendance::testing
