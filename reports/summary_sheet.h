// The summary sheet: the entrant's data, the per-mode score table and the
// entrant's declaration, as one text that the report run writes beside the
// per-mode logs.
//
// Pure functions; the caller supplies "today" so the text can be checked for
// any date.
#pragma once

#include <string>

#include "platform/ole_date_time.h"

class CContestReport;

// The sheet's text with "\n" line ends; a CR already inside a value (the
// continuation lines of the address) stays as it is. `tableText` is the score
// table that GetResult0 prepared; `today` prints on the last line.
std::string SummarySheetText(const CContestReport& report, const std::string& tableText,
                             const COleDateTime& today);

// The bytes a text-mode stream of the host's runtime stores for `text`: every
// LF becomes CR LF, every other byte (a lone CR included) stays.
std::string TextModeBytes(const std::string& text);
