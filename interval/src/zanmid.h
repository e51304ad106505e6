// Overtime and late-night minutes of a shift. Internal to Kronvale.
#pragma once

#include <cstdint>
#include <string_view>

namespace kronvale::detail {

struct ShiftTexts {
    std::string_view WorkDate;      // "yy/mm/dd": the day the shift starts
    std::string_view ShiftStart;    // "HH:MM"
    std::string_view ShiftEnd;      // "HH:MM"; not after the start means the next day
    std::string_view MorningBound;  // morning boundary of the normal working window
    std::string_view EveningBound;  // evening boundary of the normal working window
    std::string_view NightStart;    // start of the late-night window
    std::string_view NightEnd;      // end of the late-night window
    std::string_view Mode;          // "0" or "1"
};

struct ShiftMinutes {
    std::int32_t OverMin = 0;
    std::int32_t NightMin = 0;
};

// Throws ConversionError when a text does not convert; currentYear places a
// two-digit year of the work date.
ShiftMinutes zanMidTime(const ShiftTexts& texts, int currentYear);

}  // namespace kronvale::detail
