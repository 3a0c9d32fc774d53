// What CheckCall0 answers the host about a callsign being typed. The host
// reads the numbers, so they are fixed; tools that play the host print them
// by name.
//
// Constant data; safe on any thread.
#pragma once

#include <string_view>

enum CheckCallAnswer : int {
  kCheckDupe = 0,
  kCheckKnownPrefix = 1,
  kCheckNewMultiplier = 2,
  kCheckBandMismatch = 4,
};

// The answer in words, for people reading a tool's output.
constexpr std::string_view CheckCallMeaning(int answer) {
  switch (answer) {
    case kCheckDupe:
      return "duplicate";
    case kCheckKnownPrefix:
      return "known prefix";
    case kCheckNewMultiplier:
      return "new multiplier";
    case kCheckBandMismatch:
      return "bands differ";
    default:
      return "unknown answer";
  }
}
