// The contest's seven mode groups and everything that varies with them: the
// heading of the score column (also the panel's mode word), the host mode names
// that count in the group with the two-letter code each gets on a Cabrillo QSO
// line, the per-mode log the report run files those lines in, and the mode
// column of a standard Cabrillo 3.0 log.
//
// Table order is column order: score table, prefix lists, worked-before grid
// cells (cell = column + 1) and Multiplier window all follow it. Mode names
// match exactly, case counting: "rtty" is no mode of the contest.
//
// Constant data; safe on any thread.
#pragma once

#include <array>
#include <string>
#include <string_view>

inline constexpr int kModeGroupCount = 7;

struct HostMode {
  std::string_view name;  // as the host passes it
  std::string_view code;  // Cabrillo mode code of the plug-in's QSO lines
};

struct ModeGroup {
  std::string_view heading;
  std::array<HostMode, 3> modes;  // entries with an empty name are unused
  // The per-mode log. The blank before the dot in four of the names is part of
  // the names the contest's log checkers expect.
  std::string_view logName;
  // Place of the log in the report run's order: RTTY, PSK, HELL, MFSK, MT63,
  // THROB, SSTV (not the column order).
  int logOrder;
  std::string_view standardMode;  // Cabrillo 3.0 mode column: "RY" or "DG"
};

inline constexpr std::array<ModeGroup, kModeGroupCount> kModeGroups = {{
    {"BPSK", {{{"BPSK31", "PS"}, {"BPSK63", "PS"}, {"BPSK125", "PS"}}}, "PSK .log", 1, "DG"},
    {"HELL", {{{"HELL", "HE"}, {}, {}}}, "HELL .log", 2, "DG"},
    {"MFSK", {{{"MFSK", "MF"}, {"OLIVIA", "OL"}, {}}}, "MFSK .log", 3, "DG"},
    {"MT63", {{{"MT63", "MT"}, {}, {}}}, "MT63 .log", 4, "DG"},
    {"RTTY", {{{"RTTY", "RY"}, {}, {}}}, "RTTY.log", 0, "RY"},
    {"THROB", {{{"THROB", "TH"}, {}, {}}}, "THROB.log", 5, "DG"},
    {"SSTV", {{{"SSTV", "TV"}, {}, {}}}, "SSTV.log", 6, "DG"},
}};

// A row left out is filled with empty fields, not refused: every row must
// name its column, its first host mode and its log.
static_assert(
    [] {
      for (const ModeGroup& g : kModeGroups) {
        if (g.heading.empty() || g.modes[0].name.empty() || g.logName.empty() ||
            g.standardMode.empty()) {
          return false;
        }
      }
      return true;
    }(),
    "kModeGroups: one full row per mode group");

// Modes in which the contest refuses QSOs.
inline constexpr std::array<std::string_view, 2> kRefusedModes = {"CW", "SSB"};

// Where a host mode name (or, with `byCode`, a Cabrillo mode code) stands in
// the table: its column, and the entry within it. Column -1 when nowhere.
struct HostModePlace {
  int group = -1;
  const HostMode* mode = nullptr;
};
constexpr HostModePlace FindHostMode(std::string_view text, bool byCode = false) {
  for (int g = 0; g < kModeGroupCount; ++g) {
    for (const HostMode& m : kModeGroups[g].modes) {
      if (!m.name.empty() && (byCode ? m.code : m.name) == text) {
        return {g, &m};
      }
    }
  }
  return {};
}

// Column of a host mode name, or -1 when the mode counts nowhere.
constexpr int ModeGroupOf(std::string_view mode) { return FindHostMode(mode).group; }

// Column of a heading or mode word ("BPSK" .. "SSTV"), or -1 for any other word.
constexpr int ModeGroupOfWord(std::string_view word) {
  for (int g = 0; g < kModeGroupCount; ++g) {
    if (kModeGroups[g].heading == word) {
      return g;
    }
  }
  return -1;
}

// Column of a Cabrillo mode code ("PS", "MF", "OL" ...), or -1.
constexpr int ModeGroupOfCode(std::string_view code) { return FindHostMode(code, true).group; }

// Column of the group whose log comes at place `order` of the report run.
constexpr int ModeGroupOfLogOrder(int order) {
  for (int g = 0; g < kModeGroupCount; ++g) {
    if (kModeGroups[g].logOrder == order) {
      return g;
    }
  }
  return -1;
}

static_assert(
    [] {
      for (int order = 0; order < kModeGroupCount; ++order) {
        if (ModeGroupOfLogOrder(order) < 0) {
          return false;
        }
      }
      return true;
    }(),
    "every log has its place in the report run");

// The Cabrillo mode code of a host mode name, or empty when it counts nowhere.
constexpr std::string_view ModeCodeOf(std::string_view mode) {
  const HostModePlace place = FindHostMode(mode);
  return place.mode != nullptr ? place.mode->code : std::string_view();
}

// The headings in column order, each after a tab: "\tBPSK\tHELL ... \tSSTV".
inline std::string TabbedHeadings() {
  std::string text;
  for (const ModeGroup& group : kModeGroups) {
    text += '\t';
    text += group.heading;
  }
  return text;
}
