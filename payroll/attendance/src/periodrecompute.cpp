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
    auto at = [&](int minutes) { return atMinutes(workDate, minutes); };
    const rtl::TDateTime shiftStart = at(c.shiftStart);

    long long w = 0, early = 0;
    if (e.baseFlag == "1") {
        // Time before the shift is cut off; the end is not.
        w = spanMinutes(std::max(in, shiftStart), out);
    } else {
        w = spanMinutes(in, out);
        if (e.earlyFlag == "1" && in < shiftStart) early = spanMinutes(std::max(in, at(c.earlyStart)), shiftStart);
    }
    const long long over = e.overFlag == "1" ? overlapMinutes(in, out, at(c.overStart), at(c.overEnd)) : 0;
    const long long night = e.nightFlag == "1" ? overlapMinutes(in, out, at(c.nightStart), at(c.nightEnd)) : 0;
    // Late arrival and early departure against the window's start and end
    // (none when the category sets no window).
    const bool lateWindow = c.lateStart != c.lateEnd;
    const long long late =
        e.lateFlag == "1" && lateWindow && in > at(c.lateStart) ? spanMinutes(at(c.lateStart), in) : 0;
    const long long leave =
        e.leaveFlag == "1" && lateWindow && out < at(c.lateEnd) ? spanMinutes(out, at(c.lateEnd)) : 0;

    long long w2 = w - early - over - night;
    if (e.restFlag == "1") {
        const long long rest = overlapMinutes(in, out, at(c.breakStart), at(c.breakEnd));
        w -= rest;
        w2 -= rest;
    }
    w = std::max(w, 0LL);
    w2 = std::max(w2, 0LL);
    r.workedMinutes = w;
    const long long t = unitsOf(w, c.unit);
    if (t <= 0) return r;  // no worked time: no units, premiums or amounts
    const long long t2 = unitsOf(w2, c.unit);

    r.worked = clockText(t * c.unit);
    r.units = t2;
    const long long minutes[5] = {roundToUnit(static_cast<int>(early), c.overUnit),
                                  roundToUnit(static_cast<int>(over), c.overUnit),
                                  roundToUnit(static_cast<int>(night), c.overUnit),
                                  roundToUnit(static_cast<int>(late), c.lateUnit),
                                  roundToUnit(static_cast<int>(leave), c.lateUnit)};
    const long long rates[5] = {flagged(e.earlyFlag, e.earlyRate), flagged(e.overFlag, e.overRate),
                                flagged(e.nightFlag, e.nightRate), flagged(e.lateFlag, e.lateRate),
                                flagged(e.leaveFlag, e.leaveRate)};
    for (int k = 0; k < 5; ++k) {
        r.minutes[k] = minutes[k];
        r.amounts[k] = premiumAmount(minutes[k], c.unit, rates[k]);
    }
    if (e.payKind == "1") {
        r.baseAmount = e.basePay;
    } else if (e.payKind == "2") {
        // Round(Round(E_BASEPAY * 1000 / UPH * T2) / 1000) with UPH = 60 / U exactly.
        const long long milli = rtl::roundFraction(static_cast<__int128>(e.basePay) * 1000 * c.unit * t2, 60,
                                                   rtl::Rounding::HalfEven);
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
