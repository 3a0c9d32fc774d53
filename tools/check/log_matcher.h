// The contest's checking rules: every claimed QSO line gets one verdict from
// the other stations' logs.
//
// Lines are found by a hash on (own station, worked call, band, score column)
// and paired in time order, so the work grows with the number of lines, never
// with the number of pairs of logs. In order:
// 1. a line that repeats an earlier one of its log (same call, band and score
//    column) is a DUPE, whatever else is found for it;
// 2. both halves of a QSO (each log holding the other's call on the same band
//    and score column, at most the window apart) are paired, closest in time
//    first, each line serving one QSO at most;
// 3. a line still alone whose call is one edit from a station that sent a log
//    is paired with a line of that station holding this station's call, on
//    the same band and score column within the window: the call was
//    miscopied (BUSTED-CALL), and the other station's line keeps its QSO;
// 4. a paired line is OK when the serial it received equals the one the other
//    station sent (as numbers where both are numbers), else BUSTED-EXCH;
// 5. a line left alone is NIL when its call sent a log, else UNCHECKED when
//    another log holds that call, else UNIQUE.
//
// Pure; safe on any thread.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "tools/check/contest_logs.h"
#include "tools/check/verdicts.h"

struct LineVerdict {
  Verdict verdict = Verdict::kOk;
  // The line that decided it: the other half (OK, BUSTED-EXCH), the line of
  // the station whose call was miscopied (BUSTED-CALL), the earlier line
  // (DUPE), or the worked station's nearest line with this call, band and
  // column (NIL); -1 when there is none.
  std::int32_t other = -1;
  // UNCHECKED and UNIQUE: how many other stations logged the call.
  std::int32_t otherLoggers = 0;
};

// One verdict per line of `logs.qsos`, in that order.
std::vector<LineVerdict> MatchLogs(const ContestLogs& logs, int windowMinutes);

// True when two serials are the same: as numbers when both are numbers (so
// "007" equals "7"), else as written.
bool SameSerial(std::string_view a, std::string_view b);
