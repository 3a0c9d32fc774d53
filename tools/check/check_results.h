// What a contest check publishes in text: the ranking (results.txt and
// results.csv), each station's UBN list (<CALL>.ubn.txt) and one line per
// claimed QSO for machines (verdicts.tsv).
//
// Pure functions building texts; safe on any thread.
#pragma once

#include <string>
#include <vector>

#include "tools/check/contest_logs.h"
#include "tools/check/log_matcher.h"
#include "tools/check/station_results.h"

// "2016-02-13 0000 to 2016-02-14 2359 (from the summary sheets)".
std::string PeriodText(const CheckSettings& settings);

// "in category HIGH", or for the other group what it holds.
std::string CategoryLabel(const std::string& category);

// "your clock looked about 49 minutes slow" (or fast).
std::string ClockHint(int minutes);

// The checked score against the claim: "-12.5 %", or "" without a credible
// claim above zero.
std::string ScoreChange(const StationResult& result);

// Ranked results as an aligned text table and as CSV with a heading row.
std::string ResultsText(const ContestLogs& logs, const std::vector<StationResult>& ranked,
                        const CheckSettings& settings);
std::string ResultsCsv(const ContestLogs& logs, const std::vector<StationResult>& ranked);

// The file name of a station's UBN list: its file word and ".ubn.txt".
std::string UbnFileName(const Station& station);

// A station's UBN list: its scores, its counts, each line that is not OK with
// its evidence, and the lines that could not be read.
std::string UbnText(const ContestLogs& logs, const std::vector<LineVerdict>& verdicts,
                    const StationResult& result, int stationCount, const CheckSettings& settings);

// One "OWNCALL<TAB>FILE<TAB>LINE<TAB>VERDICT<TAB>DETAIL" line per claimed QSO
// of one station, in reading order.
void AppendVerdictLines(const ContestLogs& logs, const std::vector<LineVerdict>& verdicts,
                        int station, const CheckSettings& settings, std::string& out);

// The evidence of one line's verdict in words, returned or appended to `out`.
std::string VerdictDetail(const ContestLogs& logs, const std::vector<LineVerdict>& verdicts,
                          int qso, const CheckSettings& settings);
void AppendVerdictDetail(const ContestLogs& logs, const std::vector<LineVerdict>& verdicts, int qso,
                         const CheckSettings& settings, std::string& out);

// A claimed QSO as the report run prints its line.
std::string QsoLineText(const ContestLogs& logs, int qso);
