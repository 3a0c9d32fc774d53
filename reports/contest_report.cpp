// The report record: header values gathered at the start of a report run,
// QSO lines filed per mode by each report pass, and the files that close the
// run (the per-mode logs here, the summary sheet's text in summary_sheet.cpp).
//
// Host's thread only; the caller holds whatever lock guards the QSO store.
#include "reports/contest_report.h"

#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <fstream>
#include <string_view>

#include "platform/user_interface.h"
#include "plugin/settings.h"
#include "reports/cabrillo_form.h"
#include "reports/summary_sheet.h"
#include "scoring/qso_store.h"

namespace {

// Cabrillo mode code of each scored host mode name (exact comparison).
struct ModeCode {
  std::string_view mode;
  std::string_view code;
};
constexpr ModeCode kModeCodes[] = {
    {"BPSK31", "PS"}, {"BPSK63", "PS"}, {"BPSK125", "PS"}, {"RTTY", "RY"},  {"HELL", "HE"},
    {"MFSK", "MF"},   {"OLIVIA", "OL"}, {"MT63", "MT"},    {"THROB", "TH"}, {"SSTV", "TV"},
};
constexpr std::string_view kUnknownModeCode = "??";

// The line list each code is filed in; OLIVIA shares the MFSK log.
struct CodeList {
  std::string_view code;
  ReportMode list;
};
constexpr CodeList kCodeLists[] = {
    {"RY", kRttyLines}, {"PS", kPskLines},  {"HE", kHellLines},  {"MF", kMfskLines},
    {"OL", kMfskLines}, {"MT", kMt63Lines}, {"TH", kThrobLines}, {"TV", kSstvLines},
};

// Log file of each line list, indexed by ReportMode. The blank before the dot
// in four of them is part of the names the contest's log checkers expect.
constexpr const char* kLogFileNames[kReportModeCount] = {
    "RTTY.log", "PSK .log", "HELL .log", "MFSK .log", "MT63 .log", "THROB.log", "SSTV.log",
};

constexpr char kContestDefault[] = "KOVA-BRAWLCUP ";
constexpr char kEmptyWord[] = "QZHC";

// Windows device names: a file named after one (with any extension) opens the
// device instead of a file.
constexpr std::string_view kDeviceNames[] = {
    "CON",  "PRN",  "AUX",  "NUL",  "COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7",
    "COM8", "COM9", "LPT1", "LPT2", "LPT3", "LPT4", "LPT5", "LPT6", "LPT7", "LPT8", "LPT9",
};

bool IsTrimmedSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

bool IsForbiddenInFileName(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u < 0x20 || c == '<' || c == '>' || c == ':' || c == '"' || c == '|' || c == '?' ||
         c == '*';
}

bool SameNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) {
    return false;
  }
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(a[i])) !=
        std::toupper(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

// Windows looks at the part before the first dot, trailing blanks ignored.
bool IsDeviceName(const std::string& word) {
  std::string_view base(word);
  base = base.substr(0, base.find('.'));
  while (!base.empty() && base.back() == ' ') {
    base.remove_suffix(1);
  }
  for (std::string_view device : kDeviceNames) {
    if (SameNoCase(base, device)) {
      return true;
    }
  }
  return false;
}

std::string Printf(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list measure;
  va_copy(measure, args);
  const int length = std::vsnprintf(nullptr, 0, format, measure);
  va_end(measure);
  std::string text;
  if (length > 0) {
    text.resize(static_cast<std::size_t>(length) + 1);
    std::vsnprintf(&text[0], text.size(), format, args);
    text.resize(static_cast<std::size_t>(length));
  }
  va_end(args);
  return text;
}

std::string_view ModeCodeOf(const std::string& mode) {
  for (const ModeCode& entry : kModeCodes) {
    if (entry.mode == mode) {
      return entry.code;
    }
  }
  return kUnknownModeCode;
}

// Copies the record's header values into the form, and back after OK.
struct FormBinding {
  std::string CContestReport::*record;
  std::string Cabrillo::*form;
};
constexpr FormBinding kFormBindings[] = {
    {&CContestReport::m_callsign, &Cabrillo::m_callsign},
    {&CContestReport::m_operators, &Cabrillo::m_operators},
    {&CContestReport::m_catBand, &Cabrillo::m_catBand},
    {&CContestReport::m_catOperator, &Cabrillo::m_catOperator},
    {&CContestReport::m_catAssisted, &Cabrillo::m_catAssisted},
    {&CContestReport::m_catMode, &Cabrillo::m_catMode},
    {&CContestReport::m_catPower, &Cabrillo::m_catPower},
    {&CContestReport::m_catOverlay, &Cabrillo::m_catOverlay},
    {&CContestReport::m_catStation, &Cabrillo::m_catStation},
    {&CContestReport::m_catTransmitter, &Cabrillo::m_catTransmitter},
    {&CContestReport::m_name, &Cabrillo::m_name},
    {&CContestReport::m_address, &Cabrillo::m_address},
    {&CContestReport::m_addressCity, &Cabrillo::m_addressCity},
    {&CContestReport::m_addressState, &Cabrillo::m_addressState},
    {&CContestReport::m_addressPostalCode, &Cabrillo::m_addressPostalCode},
    {&CContestReport::m_addressCountry, &Cabrillo::m_addressCountry},
    {&CContestReport::m_claimed, &Cabrillo::m_claimed},
    {&CContestReport::m_contest, &Cabrillo::m_contest},
    {&CContestReport::m_email, &Cabrillo::m_email},
    {&CContestReport::m_club, &Cabrillo::m_club},
    {&CContestReport::m_location, &Cabrillo::m_location},
    {&CContestReport::m_soapbox, &Cabrillo::m_soapbox},
};

// Keys saved after OK, in the order they are written.
struct SavedKey {
  const char* key;
  std::string CContestReport::*field;
};
constexpr SavedKey kSavedKeys[] = {
    {settings_key::kOperators, &CContestReport::m_operators},
    {settings_key::kName, &CContestReport::m_name},
    {settings_key::kAddress, &CContestReport::m_address},
    {settings_key::kAddressCity, &CContestReport::m_addressCity},
    {settings_key::kAddressState, &CContestReport::m_addressState},
    {settings_key::kAddressPostalCode, &CContestReport::m_addressPostalCode},
    {settings_key::kAddressCountry, &CContestReport::m_addressCountry},
    {settings_key::kContest, &CContestReport::m_contest},
    {settings_key::kEmail, &CContestReport::m_email},
    {settings_key::kClub, &CContestReport::m_club},
    {settings_key::kLocation, &CContestReport::m_location},
    {settings_key::kSoapBox, &CContestReport::m_soapbox},
};

}  // namespace

std::string ReplaceAll(const std::string& source, const std::string& find,
                       const std::string& replacement, int* count) {
  if (find == replacement || find.empty()) {
    return source;
  }
  std::string result;
  int n = 0;
  std::size_t from = 0;
  for (std::size_t at = source.find(find); at != std::string::npos; at = source.find(find, from)) {
    result.append(source, from, at - from);
    result += replacement;
    from = at + find.size();
    ++n;
  }
  result.append(source, from, std::string::npos);
  if (count != nullptr) {
    *count = n;
  }
  return result;
}

std::string FileWordOf(const std::string& callsign) {
  std::string word = ReplaceAll(ReplaceAll(callsign, "/", "_"), "\\", "_");
  std::size_t begin = 0;
  std::size_t end = word.size();
  while (begin < end && IsTrimmedSpace(word[begin])) {
    ++begin;
  }
  while (end > begin && IsTrimmedSpace(word[end - 1])) {
    --end;
  }
  word = word.substr(begin, end - begin);
  if (word.empty()) {
    return kEmptyWord;
  }
  for (char& c : word) {
    if (IsForbiddenInFileName(c)) {
      c = '_';
    }
  }
  if (IsDeviceName(word)) {
    word.insert(0, "_");
  }
  return word;
}

int CContestReport::PrepareHeader(const std::string& callsign, const COleDateTime& start,
                                  const COleDateTime& end, const Settings& settings,
                                  IUserInterface& ui) {
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

  m_contest = kContestDefault;
  m_catOperator = "SINGLE-OP";
  m_catBand = "ALL";
  m_catMode = "RTTY";
  m_catPower = "HIGH";
  m_catTransmitter = "ONE";
  m_catStation = "FIXED";
  m_catAssisted = "NON-ASSISTED";
  m_location = "DX";

  m_email = settings.Read(settings_key::kEmail);
  m_club = settings.Read(settings_key::kClub);
  m_soapbox = settings.Read(settings_key::kSoapBox);
  // The soapbox is kept on one settings line with its line breaks as markers;
  // the form shows them as the lines the operator typed.
  m_soapbox = ReplaceAll(ReplaceAll(m_soapbox, "<CR>", "\r"), "<LF>", "\n");

  Cabrillo form;
  for (const FormBinding& b : kFormBindings) {
    form.*b.form = this->*b.record;
  }
  if (ui.RunHeaderForm(form) != kDialogOk) {
    return 0;
  }

  for (const FormBinding& b : kFormBindings) {
    // The claimed score is the plug-in's own sum; the form only shows it.
    if (b.record != &CContestReport::m_claimed) {
      this->*b.record = form.*b.form;
    }
  }
  m_soapbox = ReplaceAll(ReplaceAll(m_soapbox, "\r", "<CR>"), "\n", "<LF>");
  for (const SavedKey& saved : kSavedKeys) {
    settings.Write(saved.key, this->*saved.field);
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

void CContestReport::AddQsoLine(const std::string& theirCall, int freqKhz,
                                const std::string& modeCode, const COleDateTime& time,
                                const std::string& exchangeSent,
                                const std::string& exchangeReceived) {
  for (const CodeList& entry : kCodeLists) {
    if (entry.code == modeCode) {
      const std::string when = FormatDateTime(time, "%Y-%m-%d %H%M");
      m_modeLines[entry.list].push_back(Printf(
          "QSO: %5i %2s %s %-13s %-6s %-13s %s\r\n", freqKhz, modeCode.c_str(), when.c_str(),
          m_callsign.c_str(), exchangeSent.c_str(), theirCall.c_str(), exchangeReceived.c_str()));
      return;
    }
  }
}

void CContestReport::ReportPass(const QsoStore& store) {
  // Every pass files the whole store again, so the lists start empty: a
  // second score request in the same run must not write each QSO twice.
  for (std::vector<std::string>& lines : m_modeLines) {
    lines.clear();
  }
  for (const CInfo& qso : store.records()) {
    const std::string_view code = ModeCodeOf(qso.m_mode);
    if (code != kUnknownModeCode) {
      AddQsoLine(qso.m_call, qso.m_freqKhz, std::string(code), qso.m_time, qso.m_nrSent,
                 qso.m_nrRcvd);
    }
  }
}

std::string CContestReport::WriteReports(const std::string& tableText) const {
  for (int mode = 0; mode < kReportModeCount; ++mode) {
    const std::vector<std::string>& lines = m_modeLines[mode];
    if (lines.empty()) {
      continue;  // an older log of this mode stays as it is
    }
    std::ofstream log(kLogFileNames[mode], std::ios::binary | std::ios::trunc);
    for (const std::string& line : lines) {
      log.write(line.data(), static_cast<std::streamsize>(line.size()));
    }
  }

  const std::string sheetName = m_fileWord + ".sum";
  const std::string bytes = TextModeBytes(SummarySheetText(*this, tableText, LocalToday()));
  std::ofstream sheet(sheetName, std::ios::binary | std::ios::trunc);
  sheet.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return "File produced: " + sheetName;
}
