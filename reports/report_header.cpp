// The opening step of a report run: the header values come from the settings
// file and fixed defaults, the operator reviews them in the header form, and a
// confirmed form is saved back and brought into the record's continuation form.
//
// Host's thread only; the form runs modally, so no lock may be held. Whatever
// needs memory is done in copies, and the record takes the result only by
// moves, so that running out of memory on the way leaves the record as it was
// or as after a cancelled form.
#include <string>
#include <utility>

#include "contest/file_word.h"
#include "contest/settings.h"
#include "platform/dialog_result.h"
#include "platform/text.h"
#include "reports/cabrillo_form.h"
#include "reports/contest_report.h"

int CContestReport::PrepareHeader(const std::string& callsign, const COleDateTime& start,
                                  const COleDateTime& end, const Settings& settings,
                                  IHeaderFormHost& forms) {
  HeaderReview review = LoadHeader(callsign, start, end, settings);
  return ReviewHeader(review, settings, forms);
}

HeaderReview CContestReport::LoadHeader(const std::string& callsign, const COleDateTime& start,
                                        const COleDateTime& end, const Settings& settings) const {
  HeaderReview review{*this, FileWordOf(callsign), start, end, Cabrillo()};
  CabrilloHeader& h = review.loaded;  // the overlay keeps its last confirmed value
  h.m_callsign = callsign;

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
  h.m_soapbox =
      ReplaceAll(ReplaceAll(settings.Read(settings_key::kSoapBox), "<CR>", "\r"), "<LF>", "\n");

  static_cast<CabrilloHeader&>(review.form) = h;
  return review;
}

int CContestReport::ReviewHeader(HeaderReview& review, const Settings& settings,
                                 IHeaderFormHost& forms) noexcept {
  CabrilloHeader stored;     // as the settings file keeps them
  CabrilloHeader confirmed;  // as the record keeps them
  bool taken = false;
  try {
    if (forms.RunHeaderForm(review.form) == kDialogOk) {
      stored = static_cast<const CabrilloHeader&>(review.form);
      // The claimed score is the plug-in's own sum; the form only shows it.
      stored.m_claimed = review.loaded.m_claimed;
      stored.m_soapbox = ReplaceAll(ReplaceAll(stored.m_soapbox, "\r", "<CR>"), "\n", "<LF>");
      confirmed = stored;
      // Cabrillo continues a multi-line header value on lines that repeat the
      // keyword. The address is typed on one line with "<CR>" where a line
      // ends.
      confirmed.m_soapbox =
          ReplaceAll(ReplaceAll(stored.m_soapbox, "<CR>", "\r\nSOAPBOX: "), "<LF>", "");
      confirmed.m_address =
          ReplaceAll(ReplaceAll(stored.m_address, "<CR>", "\r\nADDRESS: "), "<LF>", "");
      taken = true;
    }
  } catch (...) {
    taken = false;  // the form failed, or its values could not be taken in
  }

  if (taken) {
    try {
      for (const StoredHeaderField& field : kStoredHeaderFields) {
        settings.Write(field.key, stored.*field.member);
      }
    } catch (...) {
      // The values not yet stored are lost, as on a disk that is full.
    }
  }

  static_cast<CabrilloHeader&>(*this) = taken ? std::move(confirmed) : std::move(review.loaded);
  m_fileWord.swap(review.fileWord);
  m_start = review.start;
  m_end = review.end;
  if (taken) {
    for (std::vector<std::string>& lines : m_modeLines) {
      lines.clear();
    }
  }
  return taken ? 1 : 0;
}
