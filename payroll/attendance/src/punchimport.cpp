#include "attendance/punchimport.h"

#include <algorithm>
#include <map>
#include <optional>

#include "db/connection.h"
#include "rtl/convert.h"
#include "rtl/datetime.h"
#include "rtl/strings.h"

namespace attendance {

namespace {

// A clock punch placed in time.
struct Placed {
    const Punch* punch = nullptr;
    rtl::TDateTime date = 0;  // the punch's own date
    rtl::TDateTime at = 0;    // date plus its clock (hours of 24 and more on the next day)
    int hour = 0;             // the hour as written
};

int numberOr(const std::string& text, int fallback) {
    const std::string t = rtl::trim(text);
    if (t.empty()) return fallback;
    return rtl::strToInt(t);
}

Placed placeClockIn(const PeriodDates& period, const Punch& p) {
    Placed x;
    x.punch = &p;
    x.date = punchDate(period, rtl::strToInt(rtl::trim(p.month)), rtl::strToInt(rtl::trim(p.day)));
    x.hour = numberOr(p.hour, 0);
    const int minute = rtl::strToInt(rtl::trim(p.minute));
    const int second = numberOr(p.second, 0);
    x.at = atSeconds(x.date, x.hour * 3600LL + minute * 60LL + second);
    return x;
}

// Clock-outs keep whole minutes; an empty hour or minute counts as 0.
Placed placeClockOut(const PeriodDates& period, const Punch& p) {
    Placed x;
    x.punch = &p;
    x.date = punchDate(period, rtl::strToInt(rtl::trim(p.month)), rtl::strToInt(rtl::trim(p.day)));
    x.hour = numberOr(p.hour, 0);
    x.at = atMinutes(x.date, x.hour * 60LL + numberOr(p.minute, 0));
    return x;
}

// Worked minutes: the overlap of the punch interval with the shift, less the
// break's overlap when the employee takes one off.
int workedMinutes(rtl::TDateTime in, rtl::TDateTime out, rtl::TDateTime workDate, const WorkCategory& c,
                  bool breakOff) {
    int w = overlapMinutes(in, out, atMinutes(workDate, c.shiftStart), atMinutes(workDate, c.shiftEnd));
    if (breakOff) w -= overlapMinutes(in, out, atMinutes(workDate, c.breakStart), atMinutes(workDate, c.breakEnd));
    return std::max(w, 0);
}

}  // namespace

PlannedImport planPunchImport(const PeriodDates& period, const std::vector<Punch>& punches,
                              const std::vector<Employee>& employees, const CategoryBook& categories) {
    // Clock-ins and clock-outs of each card, in time order.
    std::map<std::string, std::vector<Placed>> ins, outs;
    for (const Punch& p : punches) {
        const std::string kind = rtl::trim(p.inOut);
        if (kind == "0") {
            rtl::strToInt(p.card);  // a card code must be a number
            ins[p.card].push_back(placeClockIn(period, p));
        } else if (kind == "1") {
            outs[p.card].push_back(placeClockOut(period, p));
        }
    }
    auto byTime = [](const Placed& a, const Placed& b) { return a.at < b.at; };
    for (auto& [card, list] : ins) std::stable_sort(list.begin(), list.end(), byTime);
    for (auto& [card, list] : outs) std::stable_sort(list.begin(), list.end(), byTime);

    PlannedImport plan;
    for (const auto& [card, cardIns] : ins) {
        // Who the card belongs to: a count of employees in service with that
        // code, then the first row with the code.
        bool inService = false;
        const Employee* first = nullptr;
        for (const Employee& e : employees) {
            if (e.code != card) continue;
            if (!first) first = &e;
            if (e.inService()) inService = true;
        }
        const std::vector<Placed>& cardOuts = outs[card];
        size_t nextOut = 0;
        for (size_t i = 0; i < cardIns.size(); ++i) {
            const Placed& in = cardIns[i];
            // The earliest clock-out after this clock-in, before the card's
            // next clock-in and at most a day later.
            std::optional<rtl::TDateTime> out;
            const rtl::TDateTime limit =
                i + 1 < cardIns.size() ? std::min(cardIns[i + 1].at, in.at + 1.0) : in.at + 1.0;
            while (nextOut < cardOuts.size() && cardOuts[nextOut].at <= in.at) ++nextOut;
            if (nextOut < cardOuts.size()) {
                const rtl::TDateTime candidate = cardOuts[nextOut].at;
                const bool beforeNextIn = i + 1 >= cardIns.size() || candidate < cardIns[i + 1].at;
                if (beforeNextIn && candidate <= limit) {
                    out = candidate;
                    ++nextOut;
                }
            }

            if (!inService) {
                if (period.contains(in.date)) ++plan.result.unmatched;
                else ++plan.result.leftOut;
                continue;
            }
            if (!first->inService()) continue;  // the code's first row is not in service

            const WorkCategory& category = categories.of(first->category);
            rtl::TDateTime workDate = in.date;
            if (category.nightShift() && in.hour >= 0 && in.hour <= 6) workDate = rtl::incDay(workDate, -1);
            if (!period.contains(workDate)) {
                ++plan.result.leftOut;
                continue;
            }
            ImportedRow row;
            row.employee = rtl::strToInt64(rtl::trim(first->code));
            row.date = workDate;
            row.category = first->category;
            row.in = in.at;
            // Without a clock-out the row has no worked time: out at midnight of the punch date.
            row.out = out ? *out : in.date;
            row.workedMinutes = out ? workedMinutes(in.at, *out, workDate, category, first->restFlag == "1") : 0;
            row.units = row.workedMinutes / category.unit;
            row.worked = clockText(row.units * category.unit);
            plan.rows.push_back(std::move(row));
        }
    }
    plan.result.rowsWritten = static_cast<long long>(plan.rows.size());
    return plan;
}

PunchImportResult importPunches(db::Connection& connection, const PeriodDates& period) {
    const std::vector<Punch> punches = readPunches(connection);
    if (countPeriodPunches(punches, period) <= 0) throw Refusal(kNoDataMessage);
    const std::vector<Employee> employees = readEmployees(connection);
    const CategoryBook categories(connection);
    const PlannedImport plan = planPunchImport(period, punches, employees, categories);
    connection.runJob([&] { replacePeriodRows(connection, period, plan.rows); });
    return plan.result;
}

std::vector<std::string> importMessages(const PunchImportResult& result) {
    std::vector<std::string> messages;
    if (result.unmatched > 0) messages.push_back(std::to_string(result.unmatched) + kBadRatesSuffix);
    if (result.leftOut > 0)
        messages.push_back("支払期間外の出勤打刻 " + std::to_string(result.leftOut) + " 件は移行しませんでした。");
    return messages;
}

}  // namespace attendance
