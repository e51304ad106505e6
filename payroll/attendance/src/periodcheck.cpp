#include "attendance/periodcheck.h"

#include "period/payperiod.h"

namespace attendance {

void checkMonthlyPeriod(const PeriodDates& period, const std::string& year, const std::string& month,
                        const std::string& closingDay) {
    const period::PayPeriod expected = period::monthlyPayPeriod(year, month, closingDay);
    const PeriodDates due = periodDates(expected.first, expected.last);
    if (due.first == period.first && due.last == period.last) return;
    throw Refusal("支払期間（" + period.firstText + "～" + period.lastText + "）が給与年月 " + year + "年" + month +
                  "月 の期間（" + expected.first + "～" + expected.last +
                  "）と一致しません。メイン画面で「変更」を押して期間を設定し、開き直して下さい。");
}

}  // namespace attendance
