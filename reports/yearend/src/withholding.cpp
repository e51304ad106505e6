#include "yearend/withholding.h"

#include <cctype>
#include <map>
#include <string_view>

#include "db/connection.h"
#include "payrecord/store.h"
#include "rtl/convert.h"
#include "rtl/datetime.h"
#include "rtl/errors.h"
#include "rtl/strings.h"
#include "yearend/store.h"

namespace yearend {

namespace {

int monthIndex(int year, int month) { return year * 12 + (month - 1); }

bool allDigits(std::string_view s) {
    if (s.empty()) return false;
    for (char ch : s)
        if (!std::isdigit(static_cast<unsigned char>(ch))) return false;
    return true;
}

std::vector<std::string> splitAt(const std::string& text, char sep) {
    std::vector<std::string> parts(1);
    for (char ch : text) {
        if (ch == sep) parts.emplace_back();
        else parts.back() += ch;
    }
    return parts;
}

}  // namespace

bool MonthRange::oneCalendarYear() const { return fromYear == toYear && fromMonth == 1 && toMonth == 12; }

bool MonthRange::contains(int year, int month) const {
    const int at = monthIndex(year, month);
    return monthIndex(fromYear, fromMonth) <= at && at <= monthIndex(toYear, toMonth);
}

MonthRange monthRange(const std::string& fromYear, const std::string& fromMonth, const std::string& toYear,
                      const std::string& toMonth) {
    MonthRange r;
    r.fromYear = rtl::strToInt(rtl::trim(fromYear));
    r.fromMonth = rtl::strToInt(rtl::trim(fromMonth));
    r.toYear = rtl::strToInt(rtl::trim(toYear));
    r.toMonth = rtl::strToInt(rtl::trim(toMonth));
    const bool monthsValid = r.fromMonth >= 1 && r.fromMonth <= 12 && r.toMonth >= 1 && r.toMonth <= 12;
    // The page's years have four digits: "23" is no year of pay records, and
    // would replace everyone's data with zeros.
    auto yearValid = [](int year) { return year >= 1000 && year <= 9999; };
    if (!monthsValid || !yearValid(r.fromYear) || !yearValid(r.toYear) ||
        monthIndex(r.fromYear, r.fromMonth) > monthIndex(r.toYear, r.toMonth))
        throw rtl::Error(kBadRangeMessage);
    return r;
}

KeyPlace placeOfKey(const std::string& key) {
    const std::vector<std::string> slash = splitAt(key, '/');
    if (slash.size() == 2 && allDigits(slash[0]) && allDigits(slash[1]) && slash[0].size() <= 2) {
        const int month = rtl::strToInt(slash[1]);
        if (month >= 1 && month <= 12)
            return {RecordKind::Monthly, rtl::expandTwoDigitYear(rtl::strToInt(slash[0])), month};
        return {};
    }
    if (slash.size() == 3) {
        rtl::TDateTime date = 0;
        if (!rtl::tryStrToDate(key, date)) return {};
        return {RecordKind::WeeklyDaily, rtl::yearOf(date), rtl::monthOf(date)};
    }
    const std::size_t dash = key.find('-');
    if (slash.size() == 1 && dash != std::string::npos) {
        const std::string year = key.substr(0, dash), number = key.substr(dash + 1);
        if (allDigits(year) && year.size() <= 2 && allDigits(number))
            return {RecordKind::Bonus, rtl::expandTwoDigitYear(rtl::strToInt(year)), 0};
    }
    return {};
}

Aggregation aggregate(const std::vector<SlipEmployee>& employees, const std::vector<StoredPay>& records,
                      const payrecord::TaxableFlags& flags, const MonthRange& range) {
    Aggregation out;
    std::map<long long, std::size_t> rowOf;
    out.rows.reserve(employees.size());
    for (const SlipEmployee& e : employees) {
        // A number given twice sums into its first row and gives the second
        // a row of zeros, as a walk that sums per employee would.
        WithholdingRow row;
        row.code = e.number;
        row.dcode = e.code;
        row.dname = e.name;
        rowOf.emplace(e.number, out.rows.size());
        out.rows.push_back(std::move(row));
    }
    // Social insurance per row, kept apart until the end: total_s needs it.
    std::vector<Yen> social(out.rows.size(), 0);

    for (const StoredPay& p : records) {
        const auto found = rowOf.find(p.employee);
        if (found == rowOf.end()) continue;
        const KeyPlace place = placeOfKey(p.key);
        switch (place.kind) {
        case RecordKind::Monthly:
        case RecordKind::WeeklyDaily:
            if (!range.contains(place.year, place.month)) continue;
            ++(place.kind == RecordKind::Monthly ? out.monthly : out.weeklyDaily);
            break;
        case RecordKind::Bonus:
            if (place.year < range.fromYear || place.year > range.toYear) continue;
            if (!range.oneCalendarYear()) {
                ++out.bonusLeftOut;
                continue;
            }
            ++out.bonus;
            break;
        case RecordKind::Unknown: continue;
        }
        WithholdingRow& w = out.rows[found->second];
        w.kinmu += p.pay.days;
        w.mid_kinmu += p.pay.kinmu;
        w.total_1 += payrecord::taxableGross(p.pay, flags);
        w.ken_ho += p.health + p.care;
        w.gensen_z += p.pay.zeiG;
        w.jyumin_z += p.pay.zeiK;
        w.koyo_ho += p.employment;
        // S_SHAHO holds the pension fund: the pension figure carries it too,
        // so the slip's insurance total matches what was deducted.
        w.koyo_sho += p.pension + p.fund;
        w.kotu_hi += p.pay.kotuhi;
        w.sub1 += p.pay.hojyo;
        w.meat_back += p.pay.meat;
        w.total_t += p.net;
        social[found->second] += p.pay.shaho;
    }
    for (std::size_t i = 0; i < out.rows.size(); ++i) out.rows[i].total_s = out.rows[i].total_1 - social[i];
    return out;
}

Aggregation buildWithholdingData(db::Connection& c, const MonthRange& range) {
    return c.runJob([&] {
        Aggregation result = aggregate(readSlipEmployees(c), readStoredPays(c), payrecord::readTaxableFlags(c), range);
        replaceWithholdingRows(c, result.rows);
        return result;
    });
}

std::string finishedMessage(const Aggregation& r) {
    std::string text = "年次集計が終了しました。\r源泉データ " + std::to_string(r.rows.size()) +
                       " 件を作成しました。\r" + "月給 " + std::to_string(r.monthly) + " 件、週給/日給 " +
                       std::to_string(r.weeklyDaily) + " 件、賞与 " + std::to_string(r.bonus) + " 件を集計しました。";
    if (r.bonusLeftOut > 0)
        text += "\r支給範囲が1年間（1月～12月）でないため、賞与 " + std::to_string(r.bonusLeftOut) +
                " 件は含めていません。";
    return text;
}

}  // namespace yearend
