// The report record of a report run: the Cabrillo header values, the file word
// that names the summary sheet, the per-mode QSO lines and the contest dates.
// Its work is split by job: the header (report_header.cpp), the QSO lines
// (contest_report.cpp) and the files that close the run (report_files.cpp).
//
// Used only on the host's thread (ResetStats0 and GetResult0 of a report run).
#pragma once

#include <array>
#include <string>
#include <vector>

#include "contest/header_fields.h"
#include "contest/mode_groups.h"
#include "platform/ole_date_time.h"
#include "reports/cabrillo_form.h"

class QsoStore;
class Settings;

// Whoever can show the header form: the real dialog, or a test's operator.
class IHeaderFormHost {
 public:
  virtual ~IHeaderFormHost() = default;

  // Shows the header form modally. kDialogOk after the form took its values
  // back, kDialogCancel when closed otherwise, kDialogFailed when it cannot be
  // shown.
  virtual int RunHeaderForm(Cabrillo& form) = 0;
};

// The opening step of a report run, made ready before it is taken: the
// header values as loaded and the form that shows them.
struct HeaderReview {
  CabrilloHeader loaded;  // what the record keeps when the form is not confirmed
  std::string fileWord;
  COleDateTime start;
  COleDateTime end;
  Cabrillo form;
};

class CContestReport : public CabrilloHeader {
 public:
  std::string m_fileWord;
  // One list per mode group, in the order of the groups' logs (logOrder).
  std::array<std::vector<std::string>, kModeGroupCount> m_modeLines;
  COleDateTime m_start;
  COleDateTime m_end;

  // Opening step of a report run: loads the header values, lets the operator
  // review them in the header form and saves them on OK. 1 confirmed, 0 not.
  // The same as LoadHeader followed by ReviewHeader.
  int PrepareHeader(const std::string& callsign, const COleDateTime& start, const COleDateTime& end,
                    const Settings& settings, IHeaderFormHost& forms);

  // The opening step in two halves, for a caller that must do everything that
  // can fail before it changes anything. LoadHeader reads the settings and
  // fills the form; it changes nothing and may run out of memory.
  HeaderReview LoadHeader(const std::string& callsign, const COleDateTime& start,
                          const COleDateTime& end, const Settings& settings) const;
  // ReviewHeader shows the form and takes the run's values into the record.
  // It never fails: a form that cannot be shown, or whose values cannot be
  // taken in for want of memory, counts as cancelled, and a settings write
  // that runs out of memory loses that value and the ones after it, as a
  // file that cannot be written does.
  int ReviewHeader(HeaderReview& review, const Settings& settings, IHeaderFormHost& forms) noexcept;

  // Formats one QSO line and files it under its mode code; unknown codes drop it.
  void AddQsoLine(const std::string& theirCall, int freqKhz, const std::string& modeCode,
                  const COleDateTime& time, const std::string& exchangeSent,
                  const std::string& exchangeReceived);

  // Files every stored QSO, duplicates included, into freshly emptied lists.
  void ReportPass(const QsoStore& store);

  // Writes the per-mode logs and the summary sheet, which prints `today`.
  // Returns the text the operator is shown: "File produced: <sheet>", then
  // a line "Not written: <file> (<reason>)" for each file that could not be
  // written (the sheet's own line stands alone when the sheet failed).
  std::string WriteReports(const std::string& tableText, const COleDateTime& today) const;
};
