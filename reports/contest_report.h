// The report record of a report run: the Cabrillo header values, the file word
// that names the summary sheet, the per-mode QSO lines and the contest dates.
//
// Used only on the host's thread (ResetStats0 and GetResult0 of a report run).
#pragma once

#include <array>
#include <string>
#include <vector>

#include "platform/ole_date_time.h"

class IUserInterface;
class QsoStore;
class Settings;

// Line lists, in the order the logs are written.
enum ReportMode : int {
  kRttyLines,
  kPskLines,
  kHellLines,
  kMfskLines,
  kMt63Lines,
  kThrobLines,
  kSstvLines
};
inline constexpr int kReportModeCount = 7;

// Returns `source` with every `find` replaced by `replacement`; stores the
// count in `*count` when given. Equal `find` and `replacement` return the
// source and leave the count alone.
std::string ReplaceAll(const std::string& source, const std::string& find,
                       const std::string& replacement, int* count = nullptr);

// The word that names the summary sheet, taken from the host's callsign: "/"
// and "\" become "_", surrounding white space goes, every other character
// Windows forbids in a file name becomes "_", and a Windows device name (CON,
// NUL, COM1 ...) gets a leading "_". An empty word gives "QZHC".
std::string FileWordOf(const std::string& callsign);

class CContestReport {
 public:
  std::string m_callsign;
  std::string m_name;
  std::string m_address;
  std::string m_claimed;
  std::string m_contest;
  std::string m_email;
  std::string m_club;
  std::string m_soapbox;
  std::string m_operators;
  std::string m_catOperator;
  std::string m_catAssisted;
  std::string m_catStation;
  std::string m_catBand;
  std::string m_catMode;
  std::string m_catPower;
  std::string m_catTransmitter;
  std::string m_addressCity;
  std::string m_addressState;
  std::string m_addressPostalCode;
  std::string m_addressCountry;
  std::string m_catOverlay;
  std::string m_location;
  std::string m_fileWord;
  std::array<std::vector<std::string>, kReportModeCount> m_modeLines;
  COleDateTime m_start;
  COleDateTime m_end;

  // Opening step of a report run: loads the header values, lets the operator
  // review them in the header form and saves them on OK. 1 confirmed, 0 not.
  int PrepareHeader(const std::string& callsign, const COleDateTime& start, const COleDateTime& end,
                    const Settings& settings, IUserInterface& ui);

  // Formats one QSO line and files it under its mode code; unknown codes drop it.
  void AddQsoLine(const std::string& theirCall, int freqKhz, const std::string& modeCode,
                  const COleDateTime& time, const std::string& exchangeSent,
                  const std::string& exchangeReceived);

  // Files every stored QSO, duplicates included, into freshly emptied lists.
  void ReportPass(const QsoStore& store);

  // Writes the per-mode logs and the summary sheet; returns the text that
  // names the summary sheet.
  std::string WriteReports(const std::string& tableText) const;
};
