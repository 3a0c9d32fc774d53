#include "plugin/stats_plugin.h"

#include <mutex>
#include <string>

#include "plugin/user_interface.h"
#include "plugin/module_state.h"
#include "scoring/call_check.h"
#include "scoring/score.h"
#include "windows/panel_control.h"
#include "windows/panel_toggle.h"
#include "windows/worked_grid.h"

int PluginAddData(ModuleState& m, const std::string& ownCall, CInfo qso) {
  std::lock_guard<std::mutex> lock(m.mutex);
  return AddQso(m.qsos, m.bandList, m.errorLog, ownCall, std::move(qso));
}

int PluginRemoveData(ModuleState& m, const std::string& call, const std::string& band) {
  std::lock_guard<std::mutex> lock(m.mutex);
  m.qsos.RemoveFirst(call, band);
  return 1;
}

int PluginCheckCall(ModuleState& m, const std::string& call, const std::string& mode,
                    const std::string& prefix, const std::string& exchange, const char* band,
                    const char* otherBand) {
  if (BandsDisagree(band, otherBand)) {
    return kCheckBandMismatch;
  }
  m.panel->Nudge();
  std::lock_guard<std::mutex> lock(m.mutex);
  return CheckCall(m.qsos, call, mode, prefix, exchange, band ? band : "");
}

const char* PluginGetResult(ModuleState& m, int* out) {
  std::string produced;
  bool reportRun = false;
  {
    std::lock_guard<std::mutex> lock(m.mutex);
    const bool anyStored = !m.qsos.empty();
    ScoreTable table = ComputeScore(m.qsos, m.bandList);
    m.resultText = ResultText(m.heading, table, m.reportFlag == 0 && anyStored);
    m.tableText = TableText(table);
    m.prefixLists = std::move(table.prefixLists);
    // The report form shows this as the claimed score, so it is the sum over
    // the seven columns rather than a constant.
    m.settings.WriteNumber(settings_key::kClaimed, ClaimedScore(table));
    reportRun = m.reportFlag != 0;
    if (reportRun) {
      m.report.ReportPass(m.qsos);
      produced = m.report.WriteReports(m.tableText, LocalToday());
    }
  }
  if (reportRun) {
    m.ui->ShowMessage(produced, "Output");
    if (out != nullptr) {
      *out = -1;
    }
  }
  return m.resultText.c_str();
}

int PluginResetStats(ModuleState& m, int reportFlag, const std::string& callsign,
                     const COleDateTime& start, const COleDateTime& end) {
  {
    std::lock_guard<std::mutex> lock(m.mutex);
    m.heading.startDate = FormatDateTime(start, "%d.%m");
    m.heading.endDate = FormatDateTime(end, "%d.%m.%Y");
    m.qsos.Clear();
    m.heading.contestant = callsign;
    m.heading.modeWord = m.settings.Read(settings_key::kMode);
    m.bandList.clear();
    LabelGridRows(m.grid);
    m.reportFlag = reportFlag;
  }
  // The header form is modal and the panel toggle may wait for the panel
  // thread: neither runs under the lock the panel thread needs.
  if (reportFlag != 0) {
    m.report.PrepareHeader(callsign, start, end, m.settings, *m.ui);
    m.settings.Write(settings_key::kStart, "1");
  }
  PanelToggle(m.settings, *m.panel);
  m.errorLog.Start();
  return 1;
}

void PluginSetup(ModuleState& m) {
  int checked = m.settings.ReadNumber(settings_key::kMaster);
  if (checked < 0 || checked > 2) {
    checked = 0;
  }
  if (m.ui->RunSetupDialog(checked) == kDialogOk) {
    m.settings.WriteNumber(settings_key::kMaster, checked);
  }
}
