#include "period/keys.h"

#include "rtl/strings.h"

namespace period {

std::string monthKey(const std::string& year, const std::string& month) { return rtl::copy(year, 3, 2) + "/" + month; }

std::string bonusKey(const std::string& bonusYear, const std::string& bonusNumber) {
    return rtl::copy(bonusYear, 3, 2) + "-" + bonusNumber;
}

std::string payRecordKey(const std::string& year, const std::string& month, bool weeklyOrDaily,
                         const std::string& periodLast) {
    return weeklyOrDaily ? periodLast : monthKey(year, month);
}

}  // namespace period
