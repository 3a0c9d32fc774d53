// What stats-replay tells a user about their log beside the plug-in's result:
// the warnings of the file, those of one kind gathered on one line, and with
// --summary what became of every record. Pure functions; safe on any thread.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tools/replay/adif.h"
#include "tools/common/host_contact.h"

// One line per kind of warning, in the order of each kind's first warning:
// that warning as FormatWarning gives it and, when the kind comes again, how
// many more there are and the first few places ("records 2-15, 20, ...").
std::vector<std::string> WarningLines(const std::vector<AdifWarning>& warnings);

// The contest rule a refused contact breaks, the first in the order the
// plug-in checks them: "band", "mode", "serial"; "other" when it breaks none
// of them (a plug-in that refuses for a reason of its own).
std::string_view RefusalReason(const HostContact& contact);

struct ReplaySummary {
  std::size_t records = 0;  // read from the file
  std::size_t skipped = 0;  // not played: no CALL
  std::size_t played = 0;
  std::size_t stored = 0;
  std::vector<std::pair<std::string, std::size_t>> refusedBy;  // reason, count
  std::size_t undated = 0;                                     // played without a usable QSO_DATE
  std::size_t undatedStored = 0;
  std::size_t warnings = 0;
  std::vector<std::pair<std::string, std::size_t>> warningsBy;  // kind, count; most first
};

// `refused` holds, for each played contact, whether the plug-in refused it.
ReplaySummary SummarizeReplay(std::size_t records, const std::vector<ReplayedContact>& played,
                              const std::vector<bool>& refused,
                              const std::vector<AdifWarning>& warnings);

// The summary as lines of a small table, without line ends.
std::vector<std::string> FormatReplaySummary(const ReplaySummary& summary);
