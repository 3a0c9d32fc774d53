// The host program's automation object, as far as the mode switch panel uses
// it: run a macro, read the callsign in the host's entry field, read the radio
// frequency.
//
// On Windows this is the host's "Vexa2.Application" object reached through
// IDispatch, and every call must be made on the panel thread that looked it
// up. Each call may fail (the host has gone away, a result of the wrong type);
// the caller then abandons whatever it was doing.
#pragma once

#include <string>

// Dispatch identifiers and the one fixed argument of the host's members.
inline constexpr long kDispidRunMacro = 16;   // method, one BSTR
inline constexpr long kDispidEntryText = 8;   // method, one 32-bit integer
inline constexpr long kDispidFrequency = 2;   // property get, a double in hertz
inline constexpr int kEntryTextArgument = 5;  // selects the callsign field

class IHostAutomation {
 public:
  virtual ~IHostAutomation() = default;

  // Has the host run `macro`. False when the call failed.
  virtual bool RunMacro(const std::string& macro) = 0;
  // The text of entry field `argument` in the thread's ANSI code page; a null
  // string reads as empty text. False when the call failed or the result held
  // no string.
  virtual bool ReadEntryText(int argument, std::string& text) = 0;
  // The radio frequency in hertz. False when the call failed or the result
  // held no number.
  virtual bool ReadFrequency(double& hertz) = 0;
};
