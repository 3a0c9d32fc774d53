// The contest's facts the log checker reads off a submitted log: the seven
// score columns with their Cabrillo mode codes, the host mode name each code is
// replayed as, the per-mode log file of each column, and the six bands with
// their edges in kHz. Every other checker file asks here, so that moving to the
// contest's shared tables changes this file only.
//
// Constant data; safe on any thread.
#pragma once

#include <array>
#include <string_view>

namespace contest_facts {

inline constexpr int kGroupCount = 7;
inline constexpr int kBandCount = 6;

struct Group {
  std::string_view heading;                   // score column: "BPSK" ...
  std::string_view logFile;                   // per-mode log the report run writes
  std::array<std::string_view, 2> codes;      // Cabrillo mode codes; "" unused
  std::array<std::string_view, 2> hostModes;  // the host mode name of each code
};

// In score-column order. BPSK31, BPSK63 and BPSK125 all print as "PS", so a PSK
// line is replayed as BPSK31; MFSK and OLIVIA keep their own codes and names.
inline constexpr std::array<Group, kGroupCount> kGroups = {{
    {"BPSK", "PSK .log", {"PS", ""}, {"BPSK31", ""}},
    {"HELL", "HELL .log", {"HE", ""}, {"HELL", ""}},
    {"MFSK", "MFSK .log", {"MF", "OL"}, {"MFSK", "OLIVIA"}},
    {"MT63", "MT63 .log", {"MT", ""}, {"MT63", ""}},
    {"RTTY", "RTTY.log", {"RY", ""}, {"RTTY", ""}},
    {"THROB", "THROB.log", {"TH", ""}, {"THROB", ""}},
    {"SSTV", "SSTV.log", {"TV", ""}, {"SSTV", ""}},
}};

struct Band {
  std::string_view name;  // the host's band name
  int lowKhz;
  int highKhz;
};

// The rows of the worked-before grid, lowest first.
inline constexpr std::array<Band, kBandCount> kBands = {{
    {"160m", 1800, 2000},
    {"80m", 3500, 4000},
    {"40m", 7000, 7300},
    {"20m", 14000, 14350},
    {"15m", 21000, 21450},
    {"10m", 28000, 29700},
}};

// The score column of a Cabrillo mode code, with the code's place in that
// column's list in `*codeIndex`; -1 for a code the contest does not know.
inline int GroupOfCode(std::string_view code, int* codeIndex) {
  for (int g = 0; g < kGroupCount; ++g) {
    for (int c = 0; c < 2; ++c) {
      if (!kGroups[g].codes[c].empty() && kGroups[g].codes[c] == code) {
        *codeIndex = c;
        return g;
      }
    }
  }
  return -1;
}

// The band holding a frequency in kHz, or -1 outside the contest's bands.
inline int BandOfKhz(int khz) {
  for (int b = 0; b < kBandCount; ++b) {
    if (khz >= kBands[b].lowKhz && khz <= kBands[b].highKhz) {
      return b;
    }
  }
  return -1;
}

}  // namespace contest_facts
