// The C interface of Kronvale. Nothing of C++ crosses it: every failure is
// caught here.
#include <kronvale/kronvale.h>

#include "datetext.h"
#include "split.h"
#include "zanmid.h"

#include <cstdint>
#include <cstring>
#include <limits>
#include <string_view>

namespace {

using kronvale::detail::IntervalParts;

constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();

void put(std::int32_t* target, std::int64_t value) {
    if (target) *target = static_cast<std::int32_t>(value);
}

// The caller's text as the short strings of the interface take it: at most
// its first 255 bytes; a null pointer is an empty text.
std::string_view shortText(const char* text) {
    if (!text) return {};
    return std::string_view(text, strnlen(text, 255));
}

}  // namespace

extern "C" {

KRONVALE_API void GetFromToDateTime(double From, double To, int32_t* Days, int32_t* Hours, int32_t* Minutes,
                                    int32_t* Seconds) {
    const IntervalParts p = kronvale::detail::splitInterval(From, To);
    put(Days, p.days);
    put(Hours, p.hours);
    put(Minutes, p.minutes);
    put(Seconds, p.seconds);
}

KRONVALE_API void GetFromToTime(double From, double To, int32_t* Hours, int32_t* Minutes, int32_t* Seconds) {
    IntervalParts p = kronvale::detail::splitInterval(From, To);
    const std::int64_t hours = p.days * 24 + p.hours;
    if (hours > kInt32Max) p = IntervalParts{};
    else p.hours = hours;
    put(Hours, p.hours);
    put(Minutes, p.minutes);
    put(Seconds, p.seconds);
}

KRONVALE_API void GetZanMidTime(const char* WorkDate, const char* ShiftStart, const char* ShiftEnd,
                                const char* MorningBound, const char* EveningBound, const char* NightStart,
                                const char* NightEnd, const char* Mode, int32_t* OverMin, int32_t* NightMin) {
    put(OverMin, 0);
    put(NightMin, 0);
    // A text that does not convert raises a conversion error inside. It must
    // not cross this boundary, because a C caller cannot catch it, and a half
    // computed result would pass for a real one: a failure leaves both
    // results 0.
    try {
        const kronvale::detail::ShiftTexts texts{
            shortText(WorkDate),     shortText(ShiftStart), shortText(ShiftEnd), shortText(MorningBound),
            shortText(EveningBound), shortText(NightStart), shortText(NightEnd), shortText(Mode)};
        const kronvale::detail::ShiftMinutes r = kronvale::detail::zanMidTime(texts, kronvale::detail::currentYear());
        put(OverMin, r.OverMin);
        put(NightMin, r.NightMin);
    } catch (...) {
        put(OverMin, 0);
        put(NightMin, 0);
    }
}

}  // extern "C"
