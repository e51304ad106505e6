#include "attendance/periodrecompute.h"

#include <algorithm>
#include <map>

#include "db/connection.h"
#include "rtl/datetime.h"
#include "rtl/money.h"
#include "rtl/rounding.h"

namespace attendance {

namespace {

long long flagged(const std::string& flag, long long rate) { return flag == "1" ? rate : 0; }

long long kronvaleSpan(rtl::TDateTime from, rtl::TDateTime to) { return spanMinutes(from, to); }

// Round(Int(Round(m / U) * U * rate / 60)): whole units of the kind times the
// hourly rate, cut to whole yen.
long long premiumAmount(long long minutes, int unit, long long rate) {
    const long long units = unitsOf(minutes, unit);
    return rtl::roundFraction(static_cast<__int128>(units) * unit * rate, 60, rtl::Rounding::Truncate);
}

}  // namespace

bool hasNoWorkedTime(long long units, const std::string& workedText) {
    if (units > 0) return false;
    return workedText.empty() || workedText == "00:00";
}

RecomputedRow computeDay(const DayClock& day, const Employee& e, const WorkCategory& c) {
    RecomputedRow r;
    r.worked = clockText(0);
    if (!day.in || !day.out) return r;
    const rtl::TDateTime in = *day.in, out = *day.out;

    // A night shift's early-morning clock-in filed on its own date belongs to
    // the day before; one already filed under that day stays there.
    rtl::TDateTime workDate = rtl::dateOf(day.workDate);
    if (c.nightShift() && rtl::dateOf(in) == workDate && rtl::decodeTime(in).hour <= 6)
        workDate = rtl::incDay(workDate, -1);
    const rtl::TDateTime shiftStart = atMinutes(workDate, c.shiftStart);
    const KindMinutes k = measureKinds(in, out, workDate, e, c, kronvaleSpan);

    // Worked minutes run to the clock-out; with the cut-off they start at the
    // shift start at the earliest.
    long long w = e.baseFlag == "1" ? spanMinutes(std::max(in, shiftStart), out) : spanMinutes(in, out);
    long long w2 = w - k.early - k.over - k.night;
    w = std::max(w - k.rest, 0LL);
    w2 = std::max(w2 - k.rest, 0LL);
    r.workedMinutes = w;
    const long long t = unitsOf(w, c.unit);
    if (t <= 0) return r;  // no worked time: no units, premiums or amounts
    const long long t2 = unitsOf(w2, c.unit);

    r.worked = clockText(t * c.unit);
    r.units = t2;
    long long minutes[5];
    k.roundTo(c, minutes);
    const long long rates[5] = {flagged(e.earlyFlag, e.earlyRate), flagged(e.overFlag, e.overRate),
                                flagged(e.nightFlag, e.nightRate), flagged(e.lateFlag, e.lateRate),
                                flagged(e.leaveFlag, e.leaveRate)};
    for (int i = 0; i < 5; ++i) {
        r.minutes[i] = minutes[i];
        r.amounts[i] = premiumAmount(minutes[i], c.unit, rates[i]);
    }
    if (e.payKind == "1") {
        r.baseAmount = e.basePay;
    } else if (e.payKind == "2") {
        // Round(Round(E_BASEPAY * 1000 / UPH * T2) / 1000) with UPH = 60 / U exactly.
        const long long milli =
            rtl::roundFraction(static_cast<__int128>(e.basePay) * 1000 * c.unit * t2, 60, rtl::Rounding::HalfEven);
        r.baseAmount = rtl::roundFraction(milli, 1000, rtl::Rounding::HalfEven);
    }
    return r;
}

PeriodRecomputeResult recomputePeriod(db::Connection& connection, const PeriodDates& period) {
    const std::vector<AttendanceRow> rows = readPeriodRows(connection, period);
    if (rows.empty()) throw Refusal(kNoDataMessage);
    if (countPeriodPunches(connection, period) <= 0) throw Refusal(kNoDataMessage);
    const std::vector<Employee> employees = readEmployees(connection);
    const CategoryBook categories(connection);

    std::map<long long, const Employee*> inService;
    for (const Employee& e : employees)
        if (e.inService()) inService.emplace(e.number, &e);

    PeriodRecomputeResult result;
    std::vector<RecomputedRow> updates;
    updates.reserve(rows.size());
    for (const AttendanceRow& row : rows) {
        const auto it = inService.find(row.employee);
        if (it == inService.end()) {
            ++result.rowsWithoutEmployee;
            continue;
        }
        const Employee& e = *it->second;
        RecomputedRow r = computeDay({row.date, row.in, row.out}, e, categories.of(e.category));
        r.rowid = row.rowid;
        updates.push_back(std::move(r));
    }
    connection.runJob([&] { updateRows(connection, updates); });
    result.rowsWritten = static_cast<long long>(updates.size());
    return result;
}

std::vector<std::string> recomputeMessages(const PeriodRecomputeResult& result) {
    if (result.rowsWithoutEmployee <= 0) return {};
    return {std::to_string(result.rowsWithoutEmployee) + kBadRatesSuffix};
}

}  // namespace attendance
