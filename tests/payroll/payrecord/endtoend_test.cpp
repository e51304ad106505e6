// One employee's month from the punches to the net pay, worked by hand:
// the punch import, the recomputation and the month totals of the attendance
// jobs, then the pay records' batch calculation.
#include <gtest/gtest.h>

#include "attendance/monthtotals.h"
#include "attendance/periodrecompute.h"
#include "attendance/punchimport.h"
#include "fixture.h"
#include "payrecord/actions.h"
#include "rtl/datetime.h"

namespace payrecord {
namespace {

class PunchesToNetPay : public testing::PayFolder {
protected:
    void punch(const char* month, const char* day, const char* hour, const char* minute, const char* inOut) {
        c().execute(
            "INSERT INTO タイムカード (月, 日, 時, 分, 秒, IDコード, 入退, 異例コード, CR) "
            "VALUES (?, ?, ?, ?, '00', '000001', ?, '00', '0')",
            {month, day, hour, minute, inOut});
    }
};

// Category 15: work 09:00-18:00, overtime 18:00-22:00, rounding unit 15.
// Employee 1: daily pay 8000, overtime 1250 an hour, allowance 1 300 a day,
// transport 500 a day, health insurance and employment insurance by rate,
// no dependant, aged 35 (no care).
// Punches: 1 July 09:00-18:30, 2 July 09:00-19:00.
//   attendance: overtime 30 + 60 = 90 minutes, 625 + 1250 = 1875 yen
//   month totals: 2 days, base 8000 × 2 = 16000, transport 500 × 2 = 1000
//   pay record: allowance 1 300 × 2 = 600 (transport under 1200: 1000)
//   taxable gross 16000 + 1875 + 600 = 18475; insurable pay 19475
//   health 19475 × 49.25‰ = 959.14 -> 959; employment × 5‰ = 97.375 -> 97
//   social insurance 1056; tax key 17419: monthly table, 甲 0 below 105000: 0
//   net 18475 + 1000 − 1056 = 18419
TEST_F(PunchesToNetPay, OneEmployeeMonthByHand) {
    c().execute(
        "INSERT INTO 区分 (区分, 就業開始時刻, 就業終了時刻, 残業開始時刻, 残業終了時刻, 就業丸め単位) "
        "VALUES ('15', '09:00', '18:00', '18:00', '22:00', '15')");
    employee(1, "15",
             {{"E_PAYKBN", "1"},
              {"E_BASEPAY", 8000},
              {"E_FUTZ_YN", "1"},
              {"E_FUTZPAY", 1250},
              {"E_GKING_S1", "2"},
              {"E_GKING_K1", 300},
              {"E_KOTUHI", 500},
              {"E_HOKEN_YN", 1},
              {"E_KOYOU_YN", "1"},
              {"E_KNTKBN", 0},
              {"E_BARTH", rtl::encodeDate(1979, 1, 10)}});
    punch("07", "01", "09", "00", "0");
    punch("07", "01", "18", "30", "1");
    punch("07", "02", "09", "00", "0");
    punch("07", "02", "19", "00", "1");

    const attendance::PeriodDates july = attendance::periodDates("2014/07/01", "2014/07/31");
    attendance::importPunches(c(), july);
    attendance::recomputePeriod(c(), july);
    attendance::sumMonth(c(), july, "14/07");
    EXPECT_EQ(cell(1, "14/07", "S_DAYS"), 2);
    EXPECT_EQ(cell(1, "14/07", "S_FUTZAN"), 90);
    EXPECT_EQ(cell(1, "14/07", "S_FUTKING"), 1875);
    EXPECT_EQ(cell(1, "14/07", "S_BASKING"), 16000);

    const BatchResult r = calculateMonth(*dm, "14/07", rtl::encodeDate(2014, 8, 10));
    EXPECT_EQ(r.rows, 1);
    EXPECT_EQ(r.stoppedBy, "");
    EXPECT_EQ(cell(1, "14/07", "S_GKING1"), 600);
    EXPECT_EQ(cell(1, "14/07", "S_KOTUHI"), 1000);
    EXPECT_EQ(cell(1, "14/07", "S_HOKEN"), 959);
    EXPECT_EQ(cell(1, "14/07", "S_HOKENK"), 0);
    EXPECT_EQ(cell(1, "14/07", "S_KOYOU"), 97);
    EXPECT_EQ(cell(1, "14/07", "S_SHAHO"), 1056);
    EXPECT_EQ(cell(1, "14/07", "S_ZEI_G"), 0);
    EXPECT_EQ(cell(1, "14/07", "S_TOTALS"), 18475);
    EXPECT_EQ(cell(1, "14/07", "S_TOTALT"), 18419);
}

}  // namespace
}  // namespace payrecord
