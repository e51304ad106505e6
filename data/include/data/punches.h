// The punch store: every read and write of the punch table タイムカード that
// the time-card windows and the imports make, each keeping its statement.
// Every function raises the database's error.
#pragma once

#include <optional>
#include <string>

namespace data {

class TDataModule1;

// All punches.
long long countPunches(TDataModule1& dm);
// Punches whose month (月) is neither `firstMonth` nor `lastMonth`.
long long countPunchesOutside(TDataModule1& dm, const std::string& firstMonth, const std::string& lastMonth);
// Punches of card `card` on `month`/`day` with the in/out flag `inOut` ("0" in, "1" out).
long long countPunchesOf(TDataModule1& dm, const std::string& card, const std::string& month, const std::string& day,
                         const std::string& inOut);
// Deletes every punch.
void deleteAllPunches(TDataModule1& dm);
// Opens TimeCardInp on the punches of `card` (all punches without one), by month, day and in/out flag.
void openPunchList(TDataModule1& dm, const std::optional<std::string>& card);

}  // namespace data
