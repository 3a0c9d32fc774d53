#include "plugin/stats_plugin.h"

#include <mutex>
#include <optional>
#include <string>
#include <utility>

#include "plugin/module_state.h"
#include "plugin/user_interface.h"
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

// Each export works out its new values aside and changes the module only
// with steps that cannot fail (swaps and clears), so that running out of
// memory half way leaves the module as it was.
const char* PluginGetResult(ModuleState& m, int* out) {
  std::string produced;
  bool reportRun = false;
  {
    std::lock_guard<std::mutex> lock(m.mutex);
    const bool anyStored = !m.qsos.empty();
    BandList bands = m.bandList;
    ScoreTable table = ComputeScore(m.qsos, bands);
    std::string resultText = ResultText(m.heading, table, m.reportFlag == 0 && anyStored);
    std::string tableText = TableText(table);
    // The report form shows this as the claimed score, so it is the sum over
    // the seven columns rather than a constant.
    m.settings.WriteNumber(settings_key::kClaimed, ClaimedScore(table));
    reportRun = m.reportFlag != 0;
    if (reportRun) {
      m.report.ReportPass(m.qsos);
    }
    m.bandList.swap(bands);
    m.resultText.swap(resultText);
    m.tableText.swap(tableText);
    m.prefixLists.swap(table.prefixLists);
    if (reportRun) {
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
  // Everything that needs memory is made ready first: the texts of the
  // heading, the grid rows and the header form. The module then changes only
  // by swaps and clears, and the header form cannot fail, so running out of
  // memory leaves the module as it was or as a whole reset leaves it (a form
  // whose values cannot be taken in counts as cancelled).
  ResultHeading heading{FormatDateTime(start, "%d.%m"), FormatDateTime(end, "%d.%m.%Y"),
                        m.settings.Read(settings_key::kMode), callsign};
  WorkedGrid grid;
  LabelGridRows(grid);
  std::optional<HeaderReview> review;
  if (reportFlag != 0) {
    review.emplace(m.report.LoadHeader(callsign, start, end, m.settings));
  }
  {
    std::lock_guard<std::mutex> lock(m.mutex);
    m.heading = std::move(heading);  // the dates, the contestant, the mode word
    m.qsos.Clear();
    m.bandList.clear();
    m.grid.swap(grid);
    m.reportFlag = reportFlag;
  }
  // From here the panel sees the new pass: an empty log, and a mode word that
  // its buttons may change at any time, also while the header form is open.
  // The form is modal and the panel toggle may wait for the panel thread, so
  // neither runs under the lock the panel thread needs.
  if (review) {
    m.report.ReviewHeader(*review, m.settings, *m.ui);
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
