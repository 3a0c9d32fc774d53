// The pages a sponsor publishes: the results page (index.html) with what the
// sponsor states (the period, the settings, what the verdict words mean, which
// folders and files were not used), the QSO rate of all logs, the verdict
// totals, the ranking overall and by power category with each station's
// score change, and the clubs' totals; the page of the logs received
// (logs.html); and one page per station (stations/<word>.html) with its UBN
// list, linked from its call.
//
// Each page stands alone: the pictures are inline SVG and the style is in the
// page, with no script, font or style from elsewhere, so it reads the same
// offline and without JavaScript. The results page stays small whatever the
// contest's size: the details are on the station pages. Pure; safe on any
// thread.
#pragma once

#include <string>
#include <vector>

#include "tools/check/check_results.h"

// `stationPages`: the station pages are published beside the results page,
// so calls link to them (false when they are sent privately).
std::string ResultsPage(const ContestLogs& logs, const std::vector<LineVerdict>& verdicts,
                        const std::vector<StationResult>& ranked, const CheckSettings& settings,
                        bool stationPages);

// The logs received: each station's call, category, club, files and lines,
// and the files of its folder that were not used.
std::string LogsPage(const ContestLogs& logs, const std::vector<StationResult>& ranked,
                     bool stationPages);

// The page of one station: its place, scores, notes, and every QSO line that
// is not OK with its evidence, the other stations' calls linked to their pages.
std::string StationPage(const ContestLogs& logs, const std::vector<LineVerdict>& verdicts,
                        const StationResult& result, int stationCount,
                        const CheckSettings& settings, bool resultsBeside);

// A station's page: its file name, and its path from the results folder.
std::string StationPageFileName(const Station& station);
std::string StationPagePath(const Station& station);

// `text` with the characters HTML gives a meaning escaped, and made valid
// UTF-8 without control characters.
std::string HtmlEscape(const std::string& text);
