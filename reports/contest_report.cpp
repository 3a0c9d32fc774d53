// The report pass: every stored QSO becomes one Cabrillo QSO line in the list
// of its mode group's log.
//
// Host's thread only; the caller holds whatever lock guards the QSO store.
#include "reports/contest_report.h"

#include <string_view>

#include "platform/text.h"
#include "scoring/qso_store.h"

void CContestReport::AddQsoLine(const std::string& theirCall, int freqKhz,
                                const std::string& modeCode, const COleDateTime& time,
                                const std::string& exchangeSent,
                                const std::string& exchangeReceived) {
  const int group = ModeGroupOfCode(modeCode);
  if (group < 0) {
    return;
  }
  const std::string when = FormatDateTime(time, "%Y-%m-%d %H%M");
  m_modeLines[kModeGroups[group].logOrder].push_back(FormatText(
      "QSO: %5i %2s %s %-13s %-6s %-13s %s\r\n", freqKhz, modeCode.c_str(), when.c_str(),
      m_callsign.c_str(), exchangeSent.c_str(), theirCall.c_str(), exchangeReceived.c_str()));
}

void CContestReport::ReportPass(const QsoStore& store) {
  // Every pass files the whole store again, so the lists start empty: a
  // second score request in the same run must not write each QSO twice.
  for (std::vector<std::string>& lines : m_modeLines) {
    lines.clear();
  }
  for (const CInfo& qso : store.records()) {
    const std::string_view code = ModeCodeOf(qso.m_mode);
    if (!code.empty()) {
      AddQsoLine(qso.m_call, qso.m_freqKhz, std::string(code), qso.m_time, qso.m_nrSent,
                 qso.m_nrRcvd);
    }
  }
}
