#include "attendance/worktime.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "kronvale/kronvale.h"
#include "rtl/convert.h"
#include "rtl/datetime.h"
#include "rtl/money.h"
#include "rtl/rounding.h"
#include "rtl/strings.h"

namespace attendance {

PeriodDates periodDates(const std::string& firstText, const std::string& lastText) {
    PeriodDates p;
    p.firstText = firstText;
    p.lastText = lastText;
    p.first = rtl::dateOf(rtl::strToDate(firstText));
    p.last = rtl::dateOf(rtl::strToDate(lastText));
    if (p.last < p.first) throw Refusal("支払期間の終わり（" + lastText + "）が始め（" + firstText + "）より前です。");
    return p;
}

bool punchInPeriodRange(const PeriodDates& period, int month, int day) {
    const rtl::DateParts a = rtl::decodeDate(period.first);
    const rtl::DateParts b = rtl::decodeDate(period.last);
    if (a.month == b.month) return month == a.month && day >= a.day && day <= b.day;
    return (month == a.month && day >= a.day) || (month == b.month && day <= b.day);
}

rtl::TDateTime punchDate(const PeriodDates& period, int month, int day) {
    const int year = rtl::decodeDate(period.first).year;
    bool found = false;
    rtl::TDateTime best = 0;
    double bestDistance = 0;
    for (int y : {year, year + 1, year - 1}) {
        rtl::TDateTime d = 0;
        if (!rtl::tryEncodeDate(y, month, day, d)) continue;
        const double distance = d < period.first ? period.first - d : (d > period.last ? d - period.last : 0);
        if (!found || distance < bestDistance) {
            found = true;
            best = d;
            bestDistance = distance;
        }
    }
    if (!found) {
        // Raises the runtime's own message for a date that does not exist.
        rtl::strToDate(rtl::twoDigits(year % 100) + "/" + rtl::twoDigits(month) + "/" + rtl::twoDigits(day));
    }
    return best;
}

bool WorkCategory::nightShift() const { return shiftStart > 18 * 60 && shiftStart <= 24 * 60 && shiftEnd >= 24 * 60; }

namespace {

std::string cell(const std::map<std::string, std::string>& row, const char* column) {
    const auto it = row.find(column);
    return it == row.end() ? std::string() : rtl::trim(it->second);
}

std::string refusalPrefix(const std::string& code) { return "区分 '" + code + "' の"; }

int readClock(const std::string& code, const std::map<std::string, std::string>& row, const char* column) {
    const std::string text = cell(row, column);
    if (text.empty() || text == ":") return 0;
    const size_t colon = text.find(':');
    int32_t h = 0, m = 0;
    if (colon == std::string::npos || !rtl::tryStrToInt(text.substr(0, colon), h) ||
        !rtl::tryStrToInt(text.substr(colon + 1), m) || h < 0 || h > 47 || m < 0 || m > 59)
        throw Refusal(refusalPrefix(code) + column + " '" + text + "' は時刻ではありません。");
    return h * 60 + m;
}

int readUnit(const std::string& code, const std::map<std::string, std::string>& row, const char* column) {
    const std::string text = rtl::copy(cell(row, column), 1, 2);
    if (rtl::trim(text).empty()) return 1;
    int32_t u = 0;
    if (!rtl::tryStrToInt(rtl::trim(text), u))
        throw Refusal(refusalPrefix(code) + column + " '" + text + "' は整数ではありません。");
    return u;
}

}  // namespace

WorkCategory readCategory(const std::string& code, const std::map<std::string, std::string>& row) {
    WorkCategory c;
    c.code = code;
    c.shiftStart = readClock(code, row, "就業開始時刻");
    c.shiftEnd = readClock(code, row, "就業終了時刻");
    c.lateStart = readClock(code, row, "遅刻早退開始時刻");
    c.lateEnd = readClock(code, row, "遅刻早退終了時刻");
    c.breakStart = readClock(code, row, "休憩1開始時刻");
    c.breakEnd = readClock(code, row, "休憩1終了時刻");
    c.earlyStart = readClock(code, row, "早出開始時刻");
    c.earlyEnd = readClock(code, row, "早出終了時刻");
    c.overStart = readClock(code, row, "残業開始時刻");
    c.overEnd = readClock(code, row, "残業終了時刻");
    c.nightStart = readClock(code, row, "深夜開始時刻");
    c.nightEnd = readClock(code, row, "深夜終了時刻");
    c.unit = readUnit(code, row, "就業丸め単位");
    c.overUnit = readUnit(code, row, "残業丸め単位");
    c.lateUnit = readUnit(code, row, "遅早丸め単位");
    // Units per hour must be whole: the pay by units divides the hourly wage by them.
    if (c.unit <= 0 || c.unit > 60 || 60 % c.unit != 0)
        throw Refusal(refusalPrefix(code) + "就業丸め単位 '" + std::to_string(c.unit) +
                      "' では1時間を単位に割り切れません。作業区分を訂正して下さい。");
    return c;
}

WorkCategory missingCategory(const std::string& code) {
    WorkCategory c;
    c.code = code;
    return c;
}

rtl::TDateTime atSeconds(rtl::TDateTime day, long long seconds) {
    long long days = seconds / 86400;
    long long rest = seconds % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    const rtl::DateParts d = rtl::decodeDate(day + static_cast<double>(days));
    return rtl::encodeDateTime(d.year, d.month, d.day, static_cast<int>(rest / 3600), static_cast<int>(rest / 60 % 60),
                               static_cast<int>(rest % 60));
}

rtl::TDateTime atMinutes(rtl::TDateTime day, long long minutes) { return atSeconds(day, minutes * 60); }

int spanMinutes(rtl::TDateTime from, rtl::TDateTime to) {
    int32_t days = 0, hours = 0, minutes = 0, seconds = 0;
    GetFromToDateTime(from, to, &days, &hours, &minutes, &seconds);
    // The whole days count too: a clock-out a day after the clock-in (the
    // longest pair the import makes) is 24 hours, not none.
    return days * 1440 + hours * 60 + minutes;
}

int overlapMinutes(rtl::TDateTime a1, rtl::TDateTime a2, rtl::TDateTime b1, rtl::TDateTime b2) {
    return spanMinutes(std::max(a1, b1), std::min(a2, b2));
}

int roundToUnit(int minutes, int unit) {
    if (minutes <= 0) return 0;
    if (unit <= 1) return minutes;
    return static_cast<int>(rtl::roundFraction(minutes, unit, rtl::Rounding::HalfEven) * unit);
}

long long unitsOf(long long minutes, int unit) { return rtl::roundFraction(minutes, unit, rtl::Rounding::HalfEven); }

std::string clockText(long long minutes) {
    if (minutes < 0) minutes = 0;
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d:%02d", static_cast<int>(minutes / 60 % 100), static_cast<int>(minutes % 60));
    return buf;
}

}  // namespace attendance

namespace attendance {

KindMinutes measureKinds(rtl::TDateTime in, rtl::TDateTime out, rtl::TDateTime workDate, const Employee& e,
                         const WorkCategory& c, SpanFunction span) {
    auto at = [&](int minutes) { return atMinutes(workDate, minutes); };
    auto overlap = [&](int from, int to) { return span(std::max(in, at(from)), std::min(out, at(to))); };
    KindMinutes k;
    const rtl::TDateTime shiftStart = at(c.shiftStart);
    if (e.baseFlag != "1" && e.earlyFlag == "1" && in < shiftStart)
        k.early = span(std::max(in, at(c.earlyStart)), shiftStart);
    if (e.overFlag == "1") k.over = overlap(c.overStart, c.overEnd);
    if (e.nightFlag == "1") k.night = overlap(c.nightStart, c.nightEnd);
    // A late/early time left empty (00:00) sets no limit: measured from the
    // day's midnight it would take a whole morning or evening off the pay.
    if (e.lateFlag == "1" && c.lateStart != 0 && in > at(c.lateStart)) k.late = span(at(c.lateStart), in);
    if (e.leaveFlag == "1" && c.lateEnd != 0 && out < at(c.lateEnd)) k.leave = span(out, at(c.lateEnd));
    if (e.restFlag == "1") k.rest = overlap(c.breakStart, c.breakEnd);
    return k;
}

void KindMinutes::roundTo(const WorkCategory& c, long long out[5]) const {
    out[0] = roundToUnit(static_cast<int>(early), c.overUnit);
    out[1] = roundToUnit(static_cast<int>(over), c.overUnit);
    out[2] = roundToUnit(static_cast<int>(night), c.overUnit);
    out[3] = roundToUnit(static_cast<int>(late), c.lateUnit);
    out[4] = roundToUnit(static_cast<int>(leave), c.lateUnit);
}

}  // namespace attendance
