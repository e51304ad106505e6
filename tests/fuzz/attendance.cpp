// The pay-run computations of the attendance jobs. The first byte chooses:
//  0  the rounding helpers (roundToUnit, unitsOf, clockText) against integer
//     arithmetic;
//  1  one day's computation (computeDay, measureKinds) for a generated work
//     category, employee and clock-in/clock-out at whole minutes, against an
//     oracle that measures every window in whole minutes after the work
//     date's midnight, with the invariants spelled out (no minutes below 0,
//     an overlap never longer than the clock span, the worked-time text equal
//     to the paid units times the unit);
//  2  the pairing of the punch import (planPunchImport) on generated punches
//     of two cards: every clock-out is used at most once, a pair runs forward
//     and lasts at most a day, pairs of a card come in time order and a pair
//     ends before the card's next clock-in; every clock-in is counted once.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "attendance/periodrecompute.h"
#include "attendance/punchimport.h"
#include "attendance/store.h"
#include "attendance/worktime.h"
#include "db/connection.h"
#include "fuzz.h"
#include "rtl/datetime.h"
#include "rtl/errors.h"

namespace {

using namespace attendance;

// Round(n / d), halves to even, d > 0.
long long roundHalfEven(long long n, long long d) {
    long long q = n / d, r = n % d;
    if (r < 0) {
        r += d;
        --q;
    }
    if (2 * r > d || (2 * r == d && (q & 1))) ++q;
    return q;
}

std::string hhmm(long long minutes) {
    if (minutes < 0) minutes = 0;
    const long long h = minutes / 60 % 100, m = minutes % 60;
    std::string s = std::to_string(h);
    if (s.size() < 2) s.insert(0, "0");
    std::string t = std::to_string(m);
    if (t.size() < 2) t.insert(0, "0");
    return s + ":" + t;
}

void roundingHelpers(fuzz::Input& in) {
    const long long minutes = in.take<int32_t>() % 10000000;
    const int unit = in.take<int8_t>();
    const int r = roundToUnit(static_cast<int>(minutes), unit);
    const long long want = minutes <= 0 ? 0 : unit <= 1 ? minutes : roundHalfEven(minutes, unit) * unit;
    fuzz::check(r == want, "roundToUnit(" + std::to_string(minutes) + ", " + std::to_string(unit) +
                               ") = " + std::to_string(r) + ", want " + std::to_string(want));
    fuzz::check(r >= 0, "roundToUnit below 0");
    if (unit >= 1) {
        const long long u = unitsOf(minutes, unit);
        fuzz::check(u == roundHalfEven(minutes, unit),
                    "unitsOf(" + std::to_string(minutes) + ", " + std::to_string(unit) + ") = " + std::to_string(u));
    }
    const std::string text = clockText(minutes);
    fuzz::check(text == hhmm(minutes), "clockText(" + std::to_string(minutes) + ") = " + text);
}

const int kUnits[] = {1, 2, 3, 4, 5, 6, 10, 12, 15, 20, 30, 60};

// A clock time of a category: 00:00 .. 47:59.
int clockMinutes(fuzz::Input& in) { return in.take<uint16_t>() % (48 * 60); }

std::string flag(fuzz::Input& in) { return in.flag() ? "1" : "0"; }

long long overlap(long long a1, long long a2, long long b1, long long b2) {
    return std::max(0LL, std::min(a2, b2) - std::max(a1, b1));
}

void oneDay(fuzz::Input& in) {
    WorkCategory c;
    c.shiftStart = clockMinutes(in);
    c.shiftEnd = clockMinutes(in);
    c.lateStart = in.flag() ? 0 : clockMinutes(in);
    c.lateEnd = in.flag() ? 0 : clockMinutes(in);
    c.breakStart = clockMinutes(in);
    c.breakEnd = clockMinutes(in);
    c.earlyStart = clockMinutes(in);
    c.earlyEnd = clockMinutes(in);
    c.overStart = clockMinutes(in);
    c.overEnd = clockMinutes(in);
    c.nightStart = clockMinutes(in);
    c.nightEnd = clockMinutes(in);
    c.unit = kUnits[in.byte() % 12];
    // The other units are read as any two-character number.
    c.overUnit = in.byte() % 101 - 1;
    c.lateUnit = in.byte() % 101 - 1;

    Employee e;
    e.restFlag = flag(in);
    e.baseFlag = flag(in);
    e.earlyFlag = flag(in);
    e.overFlag = flag(in);
    e.nightFlag = flag(in);
    e.lateFlag = flag(in);
    e.leaveFlag = flag(in);
    e.payKind = std::to_string(in.byte() % 3);
    e.basePay = in.take<uint32_t>() % 10000000;
    e.earlyRate = in.take<uint16_t>();
    e.overRate = in.take<uint16_t>();
    e.nightRate = in.take<uint16_t>();
    e.lateRate = in.take<uint16_t>();
    e.leaveRate = in.take<uint16_t>();

    // The row: its work date, a clock-in up to a day before or two days
    // after its midnight, a clock-out up to a day later (or an hour earlier).
    const rtl::TDateTime rowDate = rtl::encodeDate(2026, 1, 1) + in.byte() % 120;
    const long long inMinute = static_cast<long long>(in.take<uint16_t>() % (4 * 1440)) - 1440;
    const long long length = static_cast<long long>(in.take<uint16_t>() % (1440 + 61)) - 60;
    const bool hasOut = !in.flag();
    const long long outMinute = inMinute + length;

    DayClock day;
    day.workDate = rowDate;
    day.in = atMinutes(rowDate, inMinute);
    if (hasOut) day.out = atMinutes(rowDate, outMinute);
    const RecomputedRow r = computeDay(day, e, c);

    const std::string where = "day: in " + std::to_string(inMinute) + ", length " + std::to_string(length);
    fuzz::check(r.workedMinutes >= 0 && r.units >= 0, where + ": minutes or units below 0");
    for (int i = 0; i < 5; ++i) fuzz::check(r.minutes[i] >= 0 && r.amounts[i] >= 0, where + ": a kind below 0");
    if (!hasOut) {
        fuzz::check(r.workedMinutes == 0 && r.units == 0 && r.worked == "00:00", where + ": no clock-out, yet time");
        return;
    }

    // The oracle, in minutes after the midnight of the day the work belongs
    // to (a night shift's clock-in from 00:00 to 06:59 on the row's own date
    // belongs to the day before).
    long long a = inMinute, b = outMinute;
    const bool nightShift = c.shiftStart > 18 * 60 && c.shiftStart <= 24 * 60 && c.shiftEnd >= 24 * 60;
    fuzz::check(nightShift == c.nightShift(), "nightShift()");
    if (nightShift && a >= 0 && a < 7 * 60) {
        a += 1440;
        b += 1440;
    }
    const long long span = std::max(0LL, b - a);
    long long early = 0, over = 0, night = 0, late = 0, leave = 0, rest = 0;
    if (e.baseFlag != "1" && e.earlyFlag == "1" && a < c.shiftStart)
        early = std::max(0LL, c.shiftStart - std::max<long long>(a, c.earlyStart));
    if (e.overFlag == "1") over = overlap(a, b, c.overStart, c.overEnd);
    if (e.nightFlag == "1") night = overlap(a, b, c.nightStart, c.nightEnd);
    if (e.lateFlag == "1" && c.lateStart != 0 && a > c.lateStart) late = a - c.lateStart;
    if (e.leaveFlag == "1" && c.lateEnd != 0 && b < c.lateEnd) leave = c.lateEnd - b;
    if (e.restFlag == "1") rest = overlap(a, b, c.breakStart, c.breakEnd);
    for (long long k : {over, night, rest}) fuzz::check(k <= span, where + ": an overlap longer than the span");

    const rtl::TDateTime workDate = rowDate + (a != inMinute ? -1 : 0);
    const KindMinutes k =
        measureKinds(*day.in, *day.out, workDate, e, c,
                     [](rtl::TDateTime f, rtl::TDateTime t) -> long long { return spanMinutes(f, t); });
    const long long got[6] = {k.early, k.over, k.night, k.late, k.leave, k.rest};
    const long long want[6] = {early, over, night, late, leave, rest};
    static const char* const names[6] = {"early", "over", "night", "late", "leave", "rest"};
    for (int i = 0; i < 6; ++i)
        fuzz::check(got[i] == want[i],
                    where + ": " + names[i] + " " + std::to_string(got[i]) + ", want " + std::to_string(want[i]));

    long long w = e.baseFlag == "1" ? std::max(0LL, b - std::max<long long>(a, c.shiftStart)) : span;
    long long w2 = std::max(w - early - over - night - rest, 0LL);
    w = std::max(w - rest, 0LL);
    fuzz::check(r.workedMinutes == w,
                where + ": worked " + std::to_string(r.workedMinutes) + ", want " + std::to_string(w));
    const long long t = roundHalfEven(w, c.unit);
    if (t <= 0) {
        fuzz::check(r.units == 0 && r.worked == "00:00" && r.baseAmount == 0, where + ": no units, yet paid");
        for (int i = 0; i < 5; ++i)
            fuzz::check(r.minutes[i] == 0 && r.amounts[i] == 0, where + ": no units, yet kinds");
        return;
    }
    // The worked-time text is the paid units times the unit, within half a unit of the worked minutes.
    fuzz::check(r.worked == hhmm(t * c.unit), where + ": worked text " + r.worked);
    fuzz::check(2 * std::abs(t * c.unit - w) <= c.unit, where + ": paid units off by more than half a unit");
    fuzz::check(r.units == roundHalfEven(w2, c.unit), where + ": units " + std::to_string(r.units));
    const long long rounded[5] = {early, over, night, late, leave};
    const int units[5] = {c.overUnit, c.overUnit, c.overUnit, c.lateUnit, c.lateUnit};
    const long long rates[5] = {e.earlyFlag == "1" ? e.earlyRate : 0, e.overFlag == "1" ? e.overRate : 0,
                                e.nightFlag == "1" ? e.nightRate : 0, e.lateFlag == "1" ? e.lateRate : 0,
                                e.leaveFlag == "1" ? e.leaveRate : 0};
    for (int i = 0; i < 5; ++i) {
        const long long m = rounded[i] <= 0 ? 0
                            : units[i] <= 1 ? rounded[i]
                                            : roundHalfEven(rounded[i], units[i]) * units[i];
        fuzz::check(r.minutes[i] == m, where + ": " + names[i] + " rounded " + std::to_string(r.minutes[i]) +
                                           ", want " + std::to_string(m));
        const long long amount = roundHalfEven(m, c.unit) * c.unit * rates[i] / 60;
        fuzz::check(r.amounts[i] == amount, where + ": " + names[i] + " amount " + std::to_string(r.amounts[i]) +
                                                ", want " + std::to_string(amount));
    }
    long long base = 0;
    if (e.payKind == "1") base = e.basePay;
    if (e.payKind == "2") base = roundHalfEven(roundHalfEven(e.basePay * 1000 * c.unit * r.units, 60), 1000);
    fuzz::check(r.baseAmount == base,
                where + ": base " + std::to_string(r.baseAmount) + ", want " + std::to_string(base));
}

// Two cards: "1" works a day shift 09:00-18:00 in units of 15 minutes, "2" a
// night shift 22:00-30:00 with a break, in units of 30.
struct PairingFixture {
    fuzz::ScratchFolder dir{"attendance"};
    std::unique_ptr<db::Connection> connection;
    std::unique_ptr<CategoryBook> categories;
    std::vector<Employee> employees;
    PeriodDates period;

    PairingFixture() {
        const std::string path = (dir.path() / "categories.db").string();
        std::ofstream(path).close();
        connection = std::make_unique<db::Connection>(path);
        connection->execute(
            "CREATE TABLE 区分 (区分 TEXT, 就業開始時刻 TEXT, 就業終了時刻 TEXT, 休憩1開始時刻 TEXT,"
            " 休憩1終了時刻 TEXT, 就業丸め単位 TEXT)");
        connection->execute("INSERT INTO 区分 VALUES ('01', '09:00', '18:00', '12:00', '13:00', '15')");
        connection->execute("INSERT INTO 区分 VALUES ('02', '22:00', '30:00', '26:00', '27:00', '30')");
        categories = std::make_unique<CategoryBook>(*connection);
        for (int n = 1; n <= 2; ++n) {
            Employee e;
            e.number = n;
            e.code = std::to_string(n);
            e.category = n == 1 ? "01" : "02";
            e.status = "1";
            e.restFlag = "1";
            employees.push_back(e);
        }
        period = periodDates("2026/04/01", "2026/04/30");
    }
};

void pairing(fuzz::Input& in) {
    static PairingFixture f;
    std::vector<Punch> punches;
    // Clock-outs of each card by their time in minutes since the period's
    // month began (month 3 counts backwards), with how often each was punched.
    std::map<std::string, std::map<long long, int>> outs;
    long long clockIns = 0;
    const size_t count = in.byte() % 40;
    for (size_t i = 0; i < count && in.left() > 0; ++i) {
        Punch p;
        const int month = 3 + in.byte() % 3;
        const int day = 1 + in.byte() % 31;
        const int hour = in.byte() % 48;
        const int minute = in.byte() % 60;
        const int second = in.byte() % 60;
        p.month = std::to_string(month);
        p.day = std::to_string(day);
        p.hour = std::to_string(hour);
        p.minute = std::to_string(minute);
        p.second = in.flag() ? std::to_string(second) : "";
        p.card = in.flag() ? "1" : "2";
        p.inOut = in.flag() ? "0" : "1";
        const int monthDays = month == 4 ? 30 : 31;
        if (day > monthDays) continue;  // no such date: the import refuses it
        if (p.inOut == "0") ++clockIns;
        const rtl::TDateTime date = rtl::encodeDate(2026, month, day);
        if (p.inOut == "1")
            ++outs[p.card][static_cast<long long>(date - rtl::encodeDate(2026, 4, 1)) * 1440 + hour * 60 + minute];
        punches.push_back(std::move(p));
    }

    const PlannedImport plan = planPunchImport(f.period, punches, f.employees, *f.categories);
    fuzz::check(plan.result.rowsWritten == static_cast<long long>(plan.rows.size()), "rows written");
    fuzz::check(plan.result.rowsWritten + plan.result.unmatched + plan.result.leftOut == clockIns,
                "clock-ins counted " + std::to_string(plan.result.rowsWritten) + " + " +
                    std::to_string(plan.result.unmatched) + " + " + std::to_string(plan.result.leftOut) + " of " +
                    std::to_string(clockIns));
    fuzz::check(plan.result.unmatched == 0, "an employee in service unmatched");

    const rtl::TDateTime origin = rtl::encodeDate(2026, 4, 1);
    auto secondsOf = [&](rtl::TDateTime t) { return static_cast<long long>(std::llround((t - origin) * 86400.0)); };
    std::map<long long, std::vector<const ImportedRow*>> byEmployee;
    for (const ImportedRow& row : plan.rows) {
        fuzz::check(f.period.contains(row.date), "a row outside the period");
        fuzz::check(row.workedMinutes >= 0 && row.units >= 0, "worked minutes below 0");
        byEmployee[row.employee].push_back(&row);
    }
    for (const auto& [employee, rows] : byEmployee) {
        const std::string card = std::to_string(employee);
        const int unit = employee == 1 ? 15 : 30;
        std::map<long long, int> used;
        for (size_t i = 0; i < rows.size(); ++i) {
            const ImportedRow& row = *rows[i];
            const long long inSecond = secondsOf(row.in), outSecond = secondsOf(row.out);
            const bool paired = row.out > row.in;
            if (!paired) {
                fuzz::check(row.out == rtl::dateOf(row.out) && row.workedMinutes == 0,
                            "an unpaired clock-in with a clock-out or worked time");
            } else {
                fuzz::check(outSecond % 60 == 0, "a clock-out not on a whole minute");
                const long long outMinute = outSecond / 60;
                fuzz::check(outs[card].count(outMinute) > 0, "a clock-out that was never punched");
                fuzz::check(++used[outMinute] <= outs[card][outMinute], "a clock-out used twice");
                fuzz::check(outSecond - inSecond <= 86400, "a pair longer than a day");
                fuzz::check(row.workedMinutes * 60 <= outSecond - inSecond, "worked longer than the pair");
            }
            fuzz::check(row.units == row.workedMinutes / unit && row.worked == hhmm(row.units * unit),
                        "units or worked text");
            if (i + 1 < rows.size()) {
                fuzz::check(rows[i + 1]->in >= row.in, "pairs out of order");
                if (paired) fuzz::check(row.out < rows[i + 1]->in, "a pair that ends after the next clock-in");
            }
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input in(data, size);
    switch (in.byte() % 3) {
    case 0: roundingHelpers(in); break;
    case 1: oneDay(in); break;
    case 2: pairing(in); break;
    }
    return 0;
}
