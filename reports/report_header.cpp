// The opening step of a report run: the header values come from the settings
// file and fixed defaults, the operator reviews them in the header form, and a
// confirmed form is saved back and brought into the record's continuation form.
//
// Host's thread only; the form runs modally, so no lock may be held.
#include <string>

#include "contest/settings.h"
#include "platform/dialog_result.h"
#include "platform/text.h"
#include "reports/cabrillo_form.h"
#include "reports/contest_report.h"
#include "reports/file_word.h"

int CContestReport::PrepareHeader(const std::string& callsign, const COleDateTime& start,
                                  const COleDateTime& end, const Settings& settings,
                                  IHeaderFormHost& forms) {
  m_callsign = callsign;
  m_start = start;
  m_end = end;
  m_fileWord = FileWordOf(callsign);

  m_operators = settings.Read(settings_key::kOperators, m_callsign);
  m_name = settings.Read(settings_key::kName);
  m_address = settings.Read(settings_key::kAddress);
  m_addressCity = settings.Read(settings_key::kAddressCity);
  m_addressState = settings.Read(settings_key::kAddressState);
  m_addressPostalCode = settings.Read(settings_key::kAddressPostalCode);
  m_addressCountry = settings.Read(settings_key::kAddressCountry);
  m_claimed = settings.Read(settings_key::kClaimed);

  m_contest = header_default::kContest;
  m_catOperator = header_default::kCatOperator;
  m_catBand = header_default::kCatBand;
  m_catMode = header_default::kCatMode;
  m_catPower = header_default::kCatPower;
  m_catTransmitter = header_default::kCatTransmitter;
  m_catStation = header_default::kCatStation;
  m_catAssisted = header_default::kCatAssisted;
  m_location = header_default::kLocation;

  m_email = settings.Read(settings_key::kEmail);
  m_club = settings.Read(settings_key::kClub);
  m_soapbox = settings.Read(settings_key::kSoapBox);
  // The soapbox is kept on one settings line with its line breaks as markers;
  // the form shows them as the lines the operator typed.
  m_soapbox = ReplaceAll(ReplaceAll(m_soapbox, "<CR>", "\r"), "<LF>", "\n");

  Cabrillo form;
  static_cast<CabrilloHeader&>(form) = *this;
  if (forms.RunHeaderForm(form) != kDialogOk) {
    return 0;
  }

  // The claimed score is the plug-in's own sum; the form only shows it.
  const std::string claimed = m_claimed;
  static_cast<CabrilloHeader&>(*this) = form;
  m_claimed = claimed;

  m_soapbox = ReplaceAll(ReplaceAll(m_soapbox, "\r", "<CR>"), "\n", "<LF>");
  for (const StoredHeaderField& stored : kStoredHeaderFields) {
    settings.Write(stored.key, this->*stored.member);
  }
  // Cabrillo continues a multi-line header value on lines that repeat the
  // keyword. The address is typed on one line with "<CR>" where a line ends.
  m_soapbox = ReplaceAll(ReplaceAll(m_soapbox, "<CR>", "\r\nSOAPBOX: "), "<LF>", "");
  m_address = ReplaceAll(ReplaceAll(m_address, "<CR>", "\r\nADDRESS: "), "<LF>", "");
  for (std::vector<std::string>& lines : m_modeLines) {
    lines.clear();
  }
  return 1;
}
