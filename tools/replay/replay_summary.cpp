// A log from another program can carry the same flaw in thousands of records
// (Cloudlog 0.1 writes every FREQ in hertz): one line per kind keeps the
// message readable and the count exact.
#include "tools/replay/replay_summary.h"

#include <algorithm>
#include <cstdio>
#include <unordered_map>

#include "contest/bands.h"
#include "contest/mode_groups.h"

namespace {

// Places named on a gathered line before the list is cut short.
constexpr std::size_t kPlacesShown = 5;

// "header", "record 7", "records 2-15, 20, 31-32, ...": sorted record
// numbers, each once (0: the header), with each run of numbers as one range.
std::string Places(const std::vector<int>& records) {
  const bool header = !records.empty() && records.front() == 0;
  std::vector<std::string> ranges;
  bool cut = false;
  for (std::size_t i = header ? 1 : 0; i < records.size();) {
    std::size_t j = i;
    while (j + 1 < records.size() && records[j + 1] == records[j] + 1) {
      ++j;
    }
    if (ranges.size() == kPlacesShown) {
      cut = true;
      break;
    }
    ranges.push_back(i == j ? std::to_string(records[i])
                            : std::to_string(records[i]) + "-" + std::to_string(records[j]));
    i = j + 1;
  }
  std::string text = header ? "header" : "";
  if (!ranges.empty()) {
    const bool one = ranges.size() == 1 && ranges[0].find('-') == std::string::npos;
    text += (header ? ", " : "") + std::string(one ? "record " : "records ");
    for (std::size_t i = 0; i < ranges.size(); ++i) {
      text += (i > 0 ? ", " : "") + ranges[i];
    }
  }
  return cut ? text + ", ..." : text;
}

std::string Row(std::string_view label, std::size_t count, std::string_view note = {}) {
  char number[32];
  std::snprintf(number, sizeof number, "%7zu", count);
  std::string row = "  " + std::string(label);
  row.resize(std::max<std::size_t>(row.size(), 18), ' ');
  row += number;
  if (!note.empty()) {
    row += "  " + std::string(note);
  }
  return row;
}

}  // namespace

std::vector<std::string> WarningLines(const std::vector<AdifWarning>& warnings) {
  struct Group {
    const AdifWarning* first;
    std::size_t more = 0;
    std::vector<int> records;  // of the others, each once
  };
  std::vector<Group> groups;
  std::unordered_map<std::string_view, std::size_t> byKind;
  for (const AdifWarning& w : warnings) {
    const auto [it, added] = byKind.emplace(w.kind, groups.size());
    if (added) {
      groups.push_back(Group{&w, 0, {}});
      continue;
    }
    Group& g = groups[it->second];
    ++g.more;
    if (g.records.empty() || g.records.back() != w.record) {
      g.records.push_back(w.record);
    }
  }
  std::vector<std::string> lines;
  for (Group& g : groups) {
    std::string line = FormatWarning(*g.first);
    if (g.more > 0) {
      std::sort(g.records.begin(), g.records.end());
      g.records.erase(std::unique(g.records.begin(), g.records.end()), g.records.end());
      line += " (and " + std::to_string(g.more) + " more: " + Places(g.records) + ")";
    }
    lines.push_back(std::move(line));
  }
  return lines;
}

std::string_view RefusalReason(const HostContact& contact) {
  if (std::find(kRefusedBands.begin(), kRefusedBands.end(), contact.band) != kRefusedBands.end()) {
    return "band";
  }
  if (std::find(kRefusedModes.begin(), kRefusedModes.end(), contact.mode) != kRefusedModes.end()) {
    return "mode";
  }
  if (contact.nrSent.empty() || contact.nrRcvd.empty()) {
    return "serial";
  }
  return "other";
}

ReplaySummary SummarizeReplay(std::size_t records, const std::vector<ReplayedContact>& played,
                              const std::vector<bool>& refused,
                              const std::vector<AdifWarning>& warnings) {
  ReplaySummary s;
  s.records = records;
  s.played = played.size();
  s.skipped = records - played.size();
  s.refusedBy = {{"band", 0}, {"mode", 0}, {"serial", 0}, {"other", 0}};
  for (std::size_t i = 0; i < played.size(); ++i) {
    const bool wasRefused = i < refused.size() && refused[i];
    if (wasRefused) {
      const std::string_view reason = RefusalReason(played[i]);
      for (auto& [name, count] : s.refusedBy) {
        count += name == reason ? 1 : 0;
      }
    } else {
      ++s.stored;
    }
    if (played[i].time.m_status != COleDateTime::valid) {
      ++s.undated;
      s.undatedStored += wasRefused ? 0 : 1;
    }
  }
  s.warnings = warnings.size();
  std::unordered_map<std::string_view, std::size_t> byKind;
  for (const AdifWarning& w : warnings) {
    const auto [it, added] = byKind.emplace(w.kind, s.warningsBy.size());
    if (added) {
      s.warningsBy.emplace_back(w.kind, 0);
    }
    ++s.warningsBy[it->second].second;
  }
  std::stable_sort(s.warningsBy.begin(), s.warningsBy.end(),
                   [](const auto& a, const auto& b) { return a.second > b.second; });
  return s;
}

std::vector<std::string> FormatReplaySummary(const ReplaySummary& s) {
  std::string reasons;
  for (const auto& [name, count] : s.refusedBy) {
    if (count > 0 || name != "other") {
      reasons += (reasons.empty() ? "" : ", ") + name + " " + std::to_string(count);
    }
  }
  std::vector<std::string> lines = {
      Row("records read", s.records),
      Row("played", s.played),
      Row("  stored", s.stored),
      Row("  refused", s.played - s.stored, reasons),
      Row("  undated", s.undated,
          "no usable QSO_DATE, passed as an invalid time; " + std::to_string(s.undatedStored) +
              " stored"),
      Row("skipped", s.skipped, "no CALL"),
      Row("warnings", s.warnings),
  };
  for (const auto& [kind, count] : s.warningsBy) {
    lines.push_back(Row("", count, kind));
  }
  return lines;
}
