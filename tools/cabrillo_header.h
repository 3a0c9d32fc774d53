// The header of a Cabrillo 3.0 log: the tags the robots of the contest
// sponsors want, from the settings the plug-in's header form keeps. Lines are
// kept to 75 characters in all (ADDRESS lines to 45), tag included, which meets
// the limit whichever way a robot counts it: tags Cabrillo lets repeat
// (ADDRESS, up to six lines, OPERATORS, SOAPBOX) wrap at words onto more lines;
// the rare single value too long for its line is cut at a word, and the user is
// told. Pure; safe on any thread.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tools/cabrillo_settings.h"

struct CabrilloHeaderValues {
  std::string createdBy;  // "stats-replay 1.0.0"
  std::string callsign;   // own callsign
  CabrilloSettings settings;
  std::string claimedScore;  // CLAIMED-SCORE as decided by ClaimedScore
};

// The header lines from START-OF-LOG to the last before the first QSO line,
// CR LF ended, printable ASCII only; `categoryMode` as CabrilloCategoryMode
// gives it. `notes` gets a line for each value that could not be written as
// given.
std::string FormatCabrilloHeader(const CabrilloHeaderValues& values, std::string_view categoryMode,
                                 std::vector<std::string>& notes);

// "TAG: value" (or "TAG:" for an empty value) with its line end.
std::string CabrilloHeaderLine(std::string_view tag, std::string_view value);
