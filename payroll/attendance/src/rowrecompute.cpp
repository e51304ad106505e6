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

RowTimes computeRowTimes(const DayClock& day, const Employee& e, const WorkCategory& c) {
    RowTimes r;
    const rtl::TDateTime in = day.in.value_or(0), out = day.out.value_or(0);
    const rtl::TDateTime workDate = rtl::dateOf(day.workDate);
    const KindMinutes k = measureKinds(in, out, workDate, e, c, wholeMinutes);
    // Worked minutes are the overlap with the shift, less the break's.
    const long long w = std::max(
        wholeMinutes(std::max(in, atMinutes(workDate, c.shiftStart)), std::min(out, atMinutes(workDate, c.shiftEnd))) -
            k.rest,
        0LL);
    const long long t = unitsOf(w, c.unit);
    r.workedMinutes = w;
    r.units = t;
    r.worked = clockText(std::max(t, 0LL) * c.unit);
    k.roundTo(c, r.minutes);
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
