#include "timecard/timecardrules.h"

#include "rtl/convert.h"
#include "rtl/datetime.h"
#include "rtl/errors.h"
#include "rtl/strings.h"

namespace timecard {

namespace {

// A two-digit field of a date or time text, as a number; false when it is none.
bool readNumber(const std::string& field, int& out) {
    const std::string t = rtl::trim(field);
    return !t.empty() && rtl::tryStrToInt(t, out);
}

}  // namespace

EntryClock entryClock(rtl::TDateTime now) {
    EntryClock c;
    c.time = rtl::formatDateTime("hh:nn:ss", now);
    const int hour = rtl::decodeTime(now).hour;
    rtl::TDateTime workDay = rtl::dateOf(now);
    if (hour < 7) {
        c.hour = rtl::intToStr(hour + 24);
        workDay = rtl::incDay(workDay, -1);
    } else {
        c.hour = rtl::copy(c.time, 1, 2);
    }
    c.minute = rtl::copy(c.time, 4, 2);
    c.workDate = rtl::formatDateTime("yy/mm/dd", workDay);
    return c;
}

PunchTime punchTime(const std::string& hourText, const std::string& minuteText) {
    int h = 0, m = 0;
    if (!readNumber(hourText, h) || !readNumber(minuteText, m) || h < 0 || h > 47 || m < 0 || m > 59 ||
        rtl::length(rtl::trim(hourText)) > 2 || rtl::length(rtl::trim(minuteText)) > 2)
        throw rtl::ConversionError(rtl::msg::notTime(hourText + ":" + minuteText));
    return {rtl::twoDigits(h), rtl::twoDigits(m)};
}

std::optional<std::string> checkPunchField(PunchField field, const std::optional<std::string>& value) {
    if (!value || rtl::trim(*value).empty()) return std::nullopt;
    const int n = rtl::strToInt(*value);
    int low = 0, high = 0;
    switch (field) {
    case PunchField::Month: low = 1, high = 12; break;
    case PunchField::Day: low = 1, high = 31; break;
    case PunchField::Hour: low = 0, high = 47; break;
    case PunchField::Minute: low = 0, high = 59; break;
    }
    if (n < low || n > high) return std::nullopt;
    return rtl::twoDigits(n);
}

bool isInOutFlag(const std::optional<std::string>& value) { return value && (*value == "0" || *value == "1"); }

}  // namespace timecard
