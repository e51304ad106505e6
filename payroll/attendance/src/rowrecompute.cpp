#include "attendance/rowrecompute.h"

#include <algorithm>
#include <cmath>

#include "attendance/store.h"
#include "rtl/datetime.h"

namespace attendance {

long long wholeMinutes(rtl::TDateTime from, rtl::TDateTime to) {
    if (from >= to) return 0;
    // In milliseconds first, so an instant's nearest double counts as the instant.
    const long long ms = std::llround((to - from) * 86400000.0);
    return ms / 60000;
}

namespace {
long long overlap(rtl::TDateTime a1, rtl::TDateTime a2, rtl::TDateTime b1, rtl::TDateTime b2) {
    return wholeMinutes(std::max(a1, b1), std::min(a2, b2));
}
}  // namespace

RowTimes computeRowTimes(const DayClock& day, const Employee& e, const WorkCategory& c) {
    RowTimes r;
    const rtl::TDateTime in = day.in.value_or(0), out = day.out.value_or(0);
    const rtl::TDateTime workDate = rtl::dateOf(day.workDate);
    auto at = [&](int minutes) { return atMinutes(workDate, minutes); };
    const rtl::TDateTime shiftStart = at(c.shiftStart);

    long long w = overlap(in, out, shiftStart, at(c.shiftEnd));
    long long early = 0;
    if (e.baseFlag != "1" && e.earlyFlag == "1" && in < shiftStart)
        early = wholeMinutes(std::max(in, at(c.earlyStart)), shiftStart);
    const long long over = e.overFlag == "1" ? overlap(in, out, at(c.overStart), at(c.overEnd)) : 0;
    const long long night = e.nightFlag == "1" ? overlap(in, out, at(c.nightStart), at(c.nightEnd)) : 0;
    const bool lateWindow = c.lateStart != c.lateEnd;
    const long long late =
        e.lateFlag == "1" && lateWindow && in > at(c.lateStart) ? wholeMinutes(at(c.lateStart), in) : 0;
    const long long leave =
        e.leaveFlag == "1" && lateWindow && out < at(c.lateEnd) ? wholeMinutes(out, at(c.lateEnd)) : 0;
    if (e.restFlag == "1") w -= overlap(in, out, at(c.breakStart), at(c.breakEnd));
    w = std::max(w, 0LL);

    const long long t = unitsOf(w, c.unit);
    r.workedMinutes = w;
    r.units = t;
    r.worked = clockText(std::max(t, 0LL) * c.unit);
    r.minutes[0] = roundToUnit(static_cast<int>(early), c.overUnit);
    r.minutes[1] = roundToUnit(static_cast<int>(over), c.overUnit);
    r.minutes[2] = roundToUnit(static_cast<int>(night), c.overUnit);
    r.minutes[3] = roundToUnit(static_cast<int>(late), c.lateUnit);
    r.minutes[4] = roundToUnit(static_cast<int>(leave), c.lateUnit);
    return r;
}

RowContext readRowContext(db::Connection& connection, long long employee) {
    RowContext ctx;
    ctx.category = missingCategory({});
    for (const Employee& e : readEmployees(connection)) {
        if (e.number != employee) continue;
        ctx.employee = e;
        ctx.category = CategoryBook(connection).of(e.category);
        break;
    }
    return ctx;
}

}  // namespace attendance
