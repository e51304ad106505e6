// The keys under which pay records are stored, built from the main window's
// texts as typed. Every reader builds them anew when it needs them.
#pragma once

#include <string>

namespace period {

// Characters 3 and 4 of the pay year, "/", the month unchanged ("2014", "07" -> "14/07").
std::string monthKey(const std::string& year, const std::string& month);

// Characters 3 and 4 of the bonus year, "-", the bonus number ("2014", "2" -> "14-2").
std::string bonusKey(const std::string& bonusYear, const std::string& bonusNumber);

// The key of the month's pay records: the month key of `year`/`month`, or in
// weekly or daily pay the text of the period's last date as it stands
// (EditD2), so each pay run of a week or a day keeps its own records.
std::string payRecordKey(const std::string& year, const std::string& month, bool weeklyOrDaily,
                         const std::string& periodLast);

}  // namespace period
