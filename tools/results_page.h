// The results page a sponsor publishes (index.html): the ranked table with
// each station's checked score by score column as a bar, the QSO rate of all
// logs per hour, and each station's UBN list behind its call.
//
// One self-contained file: the pictures are inline SVG and the style is in the
// page, with no script, font or style from elsewhere, so it reads the same
// offline and without JavaScript. Pure; safe on any thread.
#pragma once

#include <string>
#include <vector>

#include "tools/check_results.h"

std::string ResultsPage(const ContestLogs& logs, const std::vector<LineVerdict>& verdicts,
                        const std::vector<StationResult>& ranked, const CheckSettings& settings);

// `text` with the characters HTML gives a meaning escaped.
std::string HtmlEscape(const std::string& text);
