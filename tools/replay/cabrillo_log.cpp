#include "tools/replay/cabrillo_log.h"

#include <algorithm>
#include <string_view>

#include "tools/replay/cabrillo_mode.h"
#include "tools/replay/cabrillo_qso_line.h"

CabrilloLogText FormatCabrilloLog(const CabrilloLogInput& input, std::vector<std::string>& notes) {
  // Time order, as robots want it; contacts of one time keep the log's order,
  // and those without a usable time go last.
  std::vector<const ReplayedContact*> order;
  for (const ReplayedContact& q : input.qsos) {
    order.push_back(&q);
  }
  std::stable_sort(order.begin(), order.end(),
                   [](const ReplayedContact* a, const ReplayedContact* b) {
                     const bool aTimed = HasCabrilloTime(a->time);
                     const bool bTimed = HasCabrilloTime(b->time);
                     if (aTimed != bTimed) {
                       return aTimed;
                     }
                     return aTimed && a->time.m_dt < b->time.m_dt;
                   });

  std::vector<std::string_view> scoredModes;
  for (const ReplayedContact* q : order) {
    if (!q->stored) {
      continue;
    }
    if (HasCabrilloTime(q->time)) {
      scoredModes.push_back(CabrilloMode(q->mode));
    } else {
      notes.push_back("record " + std::to_string(q->record) + " (" + q->call +
                      ") was stored by the plug-in but has no date and time a Cabrillo QSO "
                      "line can hold; it is written as X-QSO");
    }
  }

  CabrilloLogText log;
  log.bytes =
      FormatCabrilloHeader(input.header, input.createdBy, CabrilloCategoryMode(scoredModes), notes);
  for (const ReplayedContact* q : order) {
    const bool scored = q->stored && HasCabrilloTime(q->time);
    log.bytes += FormatCabrilloQsoLine(scored ? "QSO:" : "X-QSO:", *q, input.header.m_callsign);
    log.bytes += "\r\n";
    ++(scored ? log.qsoLines : log.xQsoLines);
  }
  log.bytes += CabrilloHeaderLine("END-OF-LOG", "");
  return log;
}
