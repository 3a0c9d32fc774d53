// The seven score columns and the host mode names that belong to each.
//
// Mode names match exactly, case counting: "rtty" is no mode of the contest.
// The column order is the order of every table, prefix list and grid row.
#pragma once

#include <array>
#include <string>
#include <string_view>

inline constexpr int kModeGroupCount = 7;

struct ModeGroup {
  std::string_view column;  // table heading and the panel's mode word
  std::array<std::string_view, 3> modes;  // empty entries unused
};

inline constexpr std::array<ModeGroup, kModeGroupCount> kModeGroups = {{
    {"BPSK", {"BPSK31", "BPSK63", "BPSK125"}},
    {"HELL", {"HELL", "", ""}},
    {"MFSK", {"MFSK", "OLIVIA", ""}},
    {"MT63", {"MT63", "", ""}},
    {"RTTY", {"RTTY", "", ""}},
    {"THROB", {"THROB", "", ""}},
    {"SSTV", {"SSTV", "", ""}},
}};

// Column of a host mode name, or -1 when the mode counts nowhere.
inline int ModeGroupOf(std::string_view mode) {
  for (int g = 0; g < kModeGroupCount; ++g) {
    for (std::string_view name : kModeGroups[g].modes) {
      if (!name.empty() && name == mode) {
        return g;
      }
    }
  }
  return -1;
}

// Column of a mode word ("BPSK" .. "SSTV"), or -1 for any other word.
inline int ModeGroupOfWord(std::string_view word) {
  for (int g = 0; g < kModeGroupCount; ++g) {
    if (kModeGroups[g].column == word) {
      return g;
    }
  }
  return -1;
}
