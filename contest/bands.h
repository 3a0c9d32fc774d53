// The bands the contest knows: those the operator windows show (the
// worked-before grid has a row for each but 6 m, and the radio's frequency
// picks one by its whole megahertz) and those on which no QSO counts.
//
// Constant data; safe on any thread.
#pragma once

#include <array>
#include <cmath>
#include <string_view>

struct OperatorBand {
  std::string_view label;  // the host's band name, "160m"
  int megahertz;           // whole megahertz of a frequency on it
};

inline constexpr std::array<OperatorBand, 7> kOperatorBands = {{
    {"160m", 1},
    {"80m", 3},
    {"40m", 7},
    {"20m", 14},
    {"15m", 21},
    {"10m", 28},
    {"6m", 50},
}};

// The worked-before grid has rows for the first six operator bands.
inline constexpr int kGridRows = 6;

// The WARC bands: the contest refuses QSOs made there.
inline constexpr std::array<std::string_view, 3> kRefusedBands = {"30m", "17m", "12m"};

// Index into kOperatorBands of a frequency in hertz, by its whole megahertz
// truncated toward zero, or -1 (29.5 MHz included). Compared as doubles so
// that NaN and frequencies past the int range give -1 instead of overflowing
// a conversion.
inline int OperatorBandOfHertz(double hertz) {
  const double megahertz = std::trunc(hertz / 1000000.0);
  for (std::size_t i = 0; i < kOperatorBands.size(); ++i) {
    if (megahertz == kOperatorBands[i].megahertz) {
      return static_cast<int>(i);
    }
  }
  return -1;
}
