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

#include "contest/header_fields.h"

// The header lines from START-OF-LOG to the last before the first QSO line,
// CR LF ended, printable ASCII only. The entrant's values come from `header`
// (m_claimed as CLAIMED-SCORE, the address and soapbox with their "<CR>"
// markers); the categories are those the header form starts from, but for
// `categoryMode` (as CabrilloCategoryMode gives it). `createdBy` names the
// program ("stats-replay 1.0.0"). `notes` gets a line for each value that
// could not be written as given.
std::string FormatCabrilloHeader(const CabrilloHeader& header, std::string_view createdBy,
                                 std::string_view categoryMode, std::vector<std::string>& notes);

// "TAG: value" (or "TAG:" for an empty value) with its line end.
std::string CabrilloHeaderLine(std::string_view tag, std::string_view value);
