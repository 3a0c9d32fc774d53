// A standard Cabrillo 3.0 log of a replayed contest: the header the robots of
// the contest sponsors want (from the settings the plug-in's header form keeps)
// and one QSO line per contact, so that an ADIF log goes to a submission in one
// step. The plug-in's own per-mode logs and summary sheet are a different thing
// and are not touched by anything here.
//
// Everything but ReadCabrilloSettings is pure; ReadCabrilloSettings reads the
// settings file through the profile functions. Safe on any thread.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ole_date_time.h"
#include "tools/host_qso.h"

// The settings file the plug-in's header form keeps, relative to the folder the
// plug-in writes in, and its section.
inline constexpr char kCabrilloSettingsPath[] = "Plugins\\KOVA-BRAWLCUP.ini";
inline constexpr char kCabrilloSettingsSection[] = "Settings";

// The header values as the settings file holds them: the address and the
// soapbox still carry their "<CR>" and "<LF>" markers, empty means not stored.
struct CabrilloSettings {
  std::string operators;
  std::string name;
  std::string address;
  std::string addressCity;
  std::string addressState;
  std::string addressPostalCode;
  std::string addressCountry;
  std::string email;
  std::string club;
  std::string location;
  std::string soapbox;
  std::string claimed;
};

// Reads the keys the header form stores (and "Claimed", which the score request
// writes) from the settings file at `path`. Missing keys read as the form's
// defaults: Operators is the own callsign, Location "DX", the others empty.
CabrilloSettings ReadCabrilloSettings(const std::string& path, const std::string& ownCall);

// One contact of the log as the host passed it to the plug-in, and whether the
// plug-in stored it.
struct CabrilloQso {
  unsigned int hertz = 0;  // 0: the log gave no usable frequency
  std::string band;        // "20m"; stands in for a missing frequency
  std::string mode;        // the host's mode name
  COleDateTime time{0.0, COleDateTime::invalid};
  std::string call;
  std::string rstSent;
  std::string nrSent;
  std::string rstRcvd;
  std::string nrRcvd;
  bool stored = false;
  int record = 0;  // the ADIF record number, for notes
};

// The contact of ADIF record number `record` as it was handed to the plug-in.
CabrilloQso ToCabrilloQso(const ReplayQso& qso, int record, bool stored);

struct CabrilloLogInput {
  std::string createdBy;  // "stats-replay 1.0.0"
  std::string callsign;   // own callsign
  CabrilloSettings settings;
  std::string claimedScore;       // CLAIMED-SCORE as decided by ClaimedScore
  std::vector<CabrilloQso> qsos;  // log order
};

struct CabrilloLogText {
  std::string bytes;  // the whole file
  int qsoLines = 0;
  int xQsoLines = 0;
};

// The whole file: CR LF line ends, printable ASCII only. `notes` gets one line
// for each thing a user must know because the file could not say it as given
// (a value cut to the line limit, a stored contact without a time).
CabrilloLogText FormatCabrilloLog(const CabrilloLogInput& input, std::vector<std::string>& notes);

// One QSO line, without its line end; `tag` is "QSO:" or "X-QSO:".
std::string FormatCabrilloQsoLine(std::string_view tag, const CabrilloQso& qso,
                                  const std::string& ownCall);

// The frequency column: kilohertz below 30 MHz, the band designator from 6 m
// up, the band's designator when the frequency is missing, "0" when neither is
// known.
std::string CabrilloFrequency(unsigned int hertz, std::string_view band);

// The two-letter mode column for a host mode name: "RY" for RTTY, "CW", "PH"
// for the voice modes, "FM", and "DG" for every other (digital) mode.
std::string_view CabrilloMode(std::string_view hostMode);

// CATEGORY-MODE for the contacts written as QSO lines: RTTY when all are RTTY
// (and for none at all, as the header form offers), DIGI when all are digital,
// MIXED otherwise.
std::string_view CabrilloCategoryMode(const std::vector<std::string_view>& modeColumns);

// The sum of the "Score:" row of the plug-in's result text, as the plug-in adds
// it for "Claimed" (32-bit, wrapping); empty when the text holds no such row.
std::optional<std::int32_t> ClaimedScoreOfResult(std::string_view resultText);

// CLAIMED-SCORE: the "Claimed" value the plug-in wrote, or the sum of its
// result table when the settings file could not be written or holds a value
// the plug-in did not write in this replay (then with a note).
std::string ClaimedScore(const std::string& settingsClaimed, std::string_view resultText,
                         std::vector<std::string>& notes);

// Printable ASCII for a text in the system code page or UTF-8 (see the .cpp).
std::string PrintableAscii(std::string_view text);

// Splits a text into lines of at most `width` characters at blanks; a word
// longer than a line is split, never dropped. Blanks at the breaks go.
std::vector<std::string> WrapWords(std::string_view text, std::size_t width);

// True for a file name the plug-in writes in its folder (err.txt, a per-mode
// log, a summary sheet); compared without regard to case, as Windows does.
bool IsPluginReportFileName(std::string_view fileName);

// True for the name of the plug-in's settings file in its "Plugins" folder.
bool IsPluginSettingsFileName(std::string_view fileName);
