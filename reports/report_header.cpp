// The opening step of a report run: the header values come from the settings
// file and fixed defaults, the operator reviews them in the header form, and a
// confirmed form is saved back and brought into the record's continuation form.
//
// Host's thread only; the form runs modally, so no lock may be held. The
// values are worked out in a copy and moved into the record only at the end,
// so that running out of memory on the way leaves the record as it was.
#include <string>
#include <utility>

#include "contest/settings.h"
#include "platform/dialog_result.h"
#include "platform/text.h"
#include "reports/cabrillo_form.h"
#include "reports/contest_report.h"
#include "contest/file_word.h"

int CContestReport::PrepareHeader(const std::string& callsign, const COleDateTime& start,
                                  const COleDateTime& end, const Settings& settings,
                                  IHeaderFormHost& forms) {
  CabrilloHeader h = *this;  // the overlay keeps its last confirmed value
  h.m_callsign = callsign;
  std::string fileWord = FileWordOf(callsign);

  h.m_operators = settings.Read(settings_key::kOperators, h.m_callsign);
  h.m_name = settings.Read(settings_key::kName);
  h.m_address = settings.Read(settings_key::kAddress);
  h.m_addressCity = settings.Read(settings_key::kAddressCity);
  h.m_addressState = settings.Read(settings_key::kAddressState);
  h.m_addressPostalCode = settings.Read(settings_key::kAddressPostalCode);
  h.m_addressCountry = settings.Read(settings_key::kAddressCountry);
  h.m_claimed = settings.Read(settings_key::kClaimed);

  h.m_contest = header_default::kContest;
  h.m_catOperator = header_default::kCatOperator;
  h.m_catBand = header_default::kCatBand;
  h.m_catMode = header_default::kCatMode;
  h.m_catPower = header_default::kCatPower;
  h.m_catTransmitter = header_default::kCatTransmitter;
  h.m_catStation = header_default::kCatStation;
  h.m_catAssisted = header_default::kCatAssisted;
  h.m_location = header_default::kLocation;

  h.m_email = settings.Read(settings_key::kEmail);
  h.m_club = settings.Read(settings_key::kClub);
  // The soapbox is kept on one settings line with its line breaks as markers;
  // the form shows them as the lines the operator typed.
  h.m_soapbox = ReplaceAll(ReplaceAll(settings.Read(settings_key::kSoapBox), "<CR>", "\r"), "<LF>",
                           "\n");

  Cabrillo form;
  static_cast<CabrilloHeader&>(form) = h;
  if (forms.RunHeaderForm(form) != kDialogOk) {
    static_cast<CabrilloHeader&>(*this) = std::move(h);
    m_fileWord = std::move(fileWord);
    m_start = start;
    m_end = end;
    return 0;
  }

  // The claimed score is the plug-in's own sum; the form only shows it.
  std::string claimed = std::move(h.m_claimed);
  h = static_cast<const CabrilloHeader&>(form);
  h.m_claimed = std::move(claimed);

  h.m_soapbox = ReplaceAll(ReplaceAll(h.m_soapbox, "\r", "<CR>"), "\n", "<LF>");
  for (const StoredHeaderField& stored : kStoredHeaderFields) {
    settings.Write(stored.key, h.*stored.member);
  }
  // Cabrillo continues a multi-line header value on lines that repeat the
  // keyword. The address is typed on one line with "<CR>" where a line ends.
  h.m_soapbox = ReplaceAll(ReplaceAll(h.m_soapbox, "<CR>", "\r\nSOAPBOX: "), "<LF>", "");
  h.m_address = ReplaceAll(ReplaceAll(h.m_address, "<CR>", "\r\nADDRESS: "), "<LF>", "");

  static_cast<CabrilloHeader&>(*this) = std::move(h);
  m_fileWord = std::move(fileWord);
  m_start = start;
  m_end = end;
  for (std::vector<std::string>& lines : m_modeLines) {
    lines.clear();
  }
  return 1;
}
