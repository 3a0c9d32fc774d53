// The report pass: every stored QSO becomes one Cabrillo QSO line in the list
// of its mode group's log.
//
// Host's thread only; the caller holds whatever lock guards the QSO store.
#include "reports/contest_report.h"

#include <string_view>

#include "contest/report_formats.h"
#include "platform/text.h"
#include "scoring/qso_store.h"

namespace {

using LineLists = std::array<std::vector<std::string>, kModeGroupCount>;

void FileQsoLine(LineLists& lists, const std::string& ownCall, const std::string& theirCall,
                 int freqKhz, const std::string& modeCode, const COleDateTime& time,
                 const std::string& exchangeSent, const std::string& exchangeReceived) {
  const int group = ModeGroupOfCode(modeCode);
  if (group < 0) {
    return;
  }
  const std::string when = FormatDateTime(time, kQsoLineTimeFormat);
  lists[kModeGroups[group].logOrder].push_back(
      FormatText(kQsoLineFormat, freqKhz, modeCode.c_str(),
                 when.c_str(), ownCall.c_str(), exchangeSent.c_str(), theirCall.c_str(),
                 exchangeReceived.c_str()) +
      "\r\n");
}

}  // namespace

void CContestReport::AddQsoLine(const std::string& theirCall, int freqKhz,
                                const std::string& modeCode, const COleDateTime& time,
                                const std::string& exchangeSent,
                                const std::string& exchangeReceived) {
  FileQsoLine(m_modeLines, m_callsign, theirCall, freqKhz, modeCode, time, exchangeSent,
              exchangeReceived);
}

void CContestReport::ReportPass(const QsoStore& store) {
  // Every pass files the whole store again into lists that start empty: a
  // second score request in the same run must not write each QSO twice. The
  // lists are filled aside and swapped in, so running out of memory half way
  // leaves the last pass's lists as they were.
  LineLists lists;
  for (const CInfo& qso : store.records()) {
    const std::string_view code = ModeCodeOf(qso.m_mode);
    if (!code.empty()) {
      FileQsoLine(lists, m_callsign, qso.m_call, qso.m_freqKhz, std::string(code), qso.m_time,
                  qso.m_nrSent, qso.m_nrRcvd);
    }
  }
  m_modeLines.swap(lists);
}
