#include "attendance/monthtotals.h"

#include <algorithm>
#include <map>

#include "attendance/periodrecompute.h"
#include "db/connection.h"
#include "rtl/convert.h"
#include "rtl/money.h"
#include "rtl/rounding.h"
#include "rtl/strings.h"

namespace attendance {

namespace {

long long minuteText(const std::string& text) {
    const std::string t = rtl::trim(text);
    return t.empty() ? 0 : rtl::strToInt64(t);
}

// Hours of characters 1-2 and minutes of characters 4-5 of a clock text.
long long clockMinutes(const std::string& text) {
    return rtl::strToInt(rtl::copy(text, 1, 2)) * 60LL + rtl::strToInt(rtl::copy(text, 4, 2));
}

long long halfUp(__int128 numerator, __int128 denominator) {
    return rtl::roundFraction(numerator, denominator, rtl::Rounding::HalfUp);
}

}  // namespace

PayRecord sumEmployee(const Employee& e, const WorkCategory& c, const std::vector<const AttendanceRow*>& rows,
                      const std::string& key) {
    PayRecord p;
    p.key = key;
    long long baseTotal = 0;
    const bool byUnits = e.payKind == "2";
    for (const AttendanceRow* row : rows) {
        ++p.days;
        p.units += row->units;
        for (int k = 0; k < 6; ++k) {
            p.minutes[k] += minuteText(row->minutes[k]);
            p.amounts[k] += row->amounts[k];
        }
        if (byUnits) {
            p.workedMinutes += clockMinutes(row->worked);
            baseTotal += row->baseAmount;
        }
        if (row->amounts[4] > 0) ++p.lateDays;
    }
    if (!rows.empty()) {
        p.seqNo = rows.back()->seqNo;
        p.employee = rows.back()->employee;
    }
    // Each premium kind: the larger of the day amounts and its minutes at the
    // hourly rate (half up). The holiday kind is the sum of its days.
    const long long rates[6] = {e.earlyRate, e.overRate, e.nightRate, 0, e.lateRate, e.leaveRate};
    for (int k = 0; k < 6; ++k) {
        if (k == 3) continue;
        p.amounts[k] = std::max(p.amounts[k], halfUp(static_cast<__int128>(p.minutes[k]) * rates[k], 60));
    }
    // Transport below 2000 yen is a day's amount, from 2000 on a month's.
    p.transport = e.transport < 2000 ? e.transport * p.days : e.transport;
    // Base: E_BASEPAY / (60 / U) * units, half up, or the day amounts if larger.
    const long long tb = halfUp(static_cast<__int128>(e.basePay) * c.unit * p.units, 60);
    p.base = std::max(baseTotal, tb);
    if (e.payKind == "0") p.base = e.basePay;
    else if (e.payKind == "1") p.base = e.basePay * p.days;
    return p;
}

MonthTotalsResult sumMonth(db::Connection& connection, const PeriodDates& period, const std::string& key) {
    const std::vector<AttendanceRow> rows = readPeriodRows(connection, period);
    const long long bad = std::count_if(rows.begin(), rows.end(),
                                        [](const AttendanceRow& r) { return hasNoWorkedTime(r.units, r.worked); });
    if (bad > 0) throw BadRowsRefusal(std::to_string(bad) + kBadRowsSuffix);

    std::map<long long, std::vector<const AttendanceRow*>> byEmployee;
    for (const AttendanceRow& r : rows) byEmployee[r.employee].push_back(&r);
    std::vector<Employee> employees = readEmployees(connection);
    std::stable_sort(employees.begin(), employees.end(),
                     [](const Employee& a, const Employee& b) { return a.number < b.number; });
    const CategoryBook categories(connection);

    std::vector<PayRecord> records;
    for (const Employee& e : employees) {
        if (!e.inService()) continue;
        const auto it = byEmployee.find(e.number);
        if (it == byEmployee.end()) continue;
        const WorkCategory& category = categories.of(e.category);
        try {
            records.push_back(sumEmployee(e, category, it->second, key));
        } catch (const rtl::ConversionError& err) {
            throw Refusal(std::string(kInconsistentMessage) + "\n" + err.what());
        }
    }
    connection.runJob([&] { replaceMonthRecords(connection, key, records); });
    return {static_cast<long long>(records.size())};
}

}  // namespace attendance
