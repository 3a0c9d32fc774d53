// The Cabrillo 3.0 log of a replay. Column layout and header tags follow the
// Cabrillo 3.0 definition as the contest robots read it:
//
//                              --------info sent------- -------info rcvd--------
//   QSO: freq  mo date       time call          rst exch   call          rst exch
//   QSO: ***** ** yyyy-mm-dd nnnn ************* nnn ****** ************* nnn ******
//
// A value longer than its column is written whole and the next column follows
// after one blank, so every field stays a blank-separated token. Header lines
// are kept to 75 characters in all (ADDRESS lines to 45), tag included, which
// meets the limit whichever way a robot counts it: tags Cabrillo lets repeat
// (ADDRESS, up to six lines, OPERATORS, SOAPBOX) wrap at words onto more lines;
// the rare single value too long for its line is cut at a word, and the user is
// told.
#include "tools/cabrillo_log.h"
#include "tools/text.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <string>

#include "platform/profile.h"

namespace {

constexpr std::size_t kHeaderLineMax = 75;
constexpr std::size_t kAddressLineMax = 45;
constexpr std::size_t kAddressLinesMax = 6;

// The categories the header form starts from; only the mode is worked out from
// the log.
constexpr char kContest[] = "KOVA-BRAWLCUP";
constexpr char kCategoryOperator[] = "SINGLE-OP";
constexpr char kCategoryAssisted[] = "NON-ASSISTED";
constexpr char kCategoryBand[] = "ALL";
constexpr char kCategoryPower[] = "HIGH";
constexpr char kCategoryStation[] = "FIXED";
constexpr char kCategoryTransmitter[] = "ONE";
constexpr char kDefaultLocation[] = "DX";

// Settings keys of the header form.
constexpr char kKeyOperators[] = "Operators";
constexpr char kKeyName[] = "Name";
constexpr char kKeyAddress[] = "Address";
constexpr char kKeyAddressCity[] = "Address-City";
constexpr char kKeyAddressState[] = "Address-State";
constexpr char kKeyAddressPostalCode[] = "Address-PostalCode";
constexpr char kKeyAddressCountry[] = "Address-Country";
constexpr char kKeyEmail[] = "Email";
constexpr char kKeyClub[] = "Club";
constexpr char kKeyLocation[] = "Location";
constexpr char kKeySoapBox[] = "SoapBox";
constexpr char kKeyClaimed[] = "Claimed";

// What Cabrillo puts in the frequency column for a band when the frequency is
// not known: the lower band edge in kHz on HF, the band designator from 6 m up.
struct BandDesignator {
  std::string_view band;
  std::string_view designator;
};

constexpr BandDesignator kBandDesignators[] = {
    {"2190m", "136"}, {"630m", "472"},   {"160m", "1800"}, {"80m", "3500"},   {"60m", "5060"},
    {"40m", "7000"},  {"30m", "10100"},  {"20m", "14000"}, {"17m", "18068"},  {"15m", "21000"},
    {"12m", "24890"}, {"10m", "28000"},  {"6m", "50"},     {"4m", "70"},      {"2m", "144"},
    {"1.25m", "222"}, {"70cm", "432"},   {"33cm", "902"},  {"23cm", "1.2G"},  {"13cm", "2.3G"},
    {"9cm", "3.4G"},  {"6cm", "5.7G"},   {"3cm", "10G"},   {"1.25cm", "24G"}, {"6mm", "47G"},
    {"4mm", "75G"},   {"2.5mm", "122G"}, {"2mm", "134G"},  {"1mm", "241G"},
};

// Above this Cabrillo wants band designators, not kilohertz.
constexpr unsigned int kLowestDesignatorHz = 50000000;

// The mode column of RTTY and of the host modes that are not digital; every
// other mode is digital ("DG").
struct ModeColumn {
  std::string_view hostMode;
  std::string_view column;
};

constexpr ModeColumn kModeColumns[] = {
    {"RTTY", "RY"}, {"CW", "CW"}, {"SSB", "PH"},          {"USB", "PH"},
    {"LSB", "PH"},  {"AM", "PH"}, {"DIGITALVOICE", "PH"}, {"FM", "FM"},
};

// The reports a log leaves out most often: what was sent in nearly every
// contact of the mode. A robot cannot read a QSO line with the column missing.
constexpr char kDefaultRstDigital[] = "599";
constexpr char kDefaultRstPhone[] = "59";

// Files the plug-in's report run and error log write in its folder.
constexpr std::string_view kPluginFileNames[] = {
    "err.txt",   "RTTY.log",  "PSK .log",  "HELL .log",
    "MFSK .log", "MT63 .log", "THROB.log", "SSTV.log",
};

// Latin-1 letters U+00C0..U+00FF as the nearest plain letters, so that a name
// keeps its reading; the two signs in the range become their ASCII look-alikes.
constexpr const char* kLatin1Letters[64] = {
    "A", "A", "A", "A", "A", "A", "AE", "C", "E", "E", "E", "E", "I", "I", "I",  "I",
    "D", "N", "O", "O", "O", "O", "O",  "x", "O", "U", "U", "U", "U", "Y", "TH", "ss",
    "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i",  "i",
    "d", "n", "o", "o", "o", "o", "o",  "/", "o", "u", "u", "u", "u", "y", "th", "y",
};

// The Windows-1252 signs in 0x80..0x9F that have a plain counterpart.
struct CodePageSign {
  unsigned char code;
  const char* text;
};

constexpr CodePageSign kCodePageSigns[] = {
    {0x82, ","}, {0x84, "\""}, {0x85, "..."}, {0x8A, "S"},  {0x8B, "<"},  {0x8C, "OE"},
    {0x8E, "Z"}, {0x91, "'"},  {0x92, "'"},   {0x93, "\""}, {0x94, "\""}, {0x96, "-"},
    {0x97, "-"}, {0x9B, ">"},  {0x9A, "s"},   {0x9C, "oe"}, {0x9E, "z"},  {0x9F, "Y"},
};

bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && s.front() == ' ') {
    s.remove_prefix(1);
  }
  while (!s.empty() && s.back() == ' ') {
    s.remove_suffix(1);
  }
  return s;
}

// Splits at every occurrence of any of the markers; empty pieces are dropped.
std::vector<std::string> SplitAtMarkers(std::string_view text,
                                        std::initializer_list<std::string_view> markers) {
  std::vector<std::string> pieces;
  std::string piece;
  std::size_t i = 0;
  auto flush = [&] {
    const std::string_view t = TrimBlanks(piece);
    if (!t.empty()) {
      pieces.emplace_back(t);
    }
    piece.clear();
  };
  while (i < text.size()) {
    bool marker = false;
    for (std::string_view m : markers) {
      if (text.compare(i, m.size(), m) == 0) {
        flush();
        i += m.size();
        marker = true;
        break;
      }
    }
    if (!marker) {
      piece += text[i++];
    }
  }
  flush();
  return pieces;
}

// One field of a QSO line: a single token of printable ASCII.
std::string QsoField(std::string_view value, std::string_view ifEmpty) {
  const std::string printable = PrintableAscii(value);
  std::string field(TrimBlanks(printable));
  std::replace(field.begin(), field.end(), ' ', '_');
  return field.empty() ? std::string(ifEmpty) : field;
}

// One blank, then the value padded with blanks to `width` (on the left when
// `right`); a longer value is written whole.
void AppendColumn(std::string& line, const std::string& value, std::size_t width, bool right) {
  line += ' ';
  const std::size_t pad = value.size() < width ? width - value.size() : 0;
  if (right) {
    line.append(pad, ' ');
  }
  line += value;
  if (!right) {
    line.append(pad, ' ');
  }
}

bool HasCalendarTime(const COleDateTime& time) {
  CalendarFields fields;
  return time.m_status == COleDateTime::valid && ToCalendarFields(time.m_dt, fields);
}

class HeaderWriter {
 public:
  HeaderWriter(std::string& out, std::vector<std::string>& notes) : out_(out), notes_(notes) {}

  // "TAG: value", cut at a word to the line limit (with a note) when too long;
  // nothing for an empty value.
  void Single(std::string_view tag, std::string_view value) {
    const std::string text(TrimBlanks(PrintableAscii(value)));
    if (text.empty()) {
      return;
    }
    const std::size_t width = kHeaderLineMax - tag.size() - 2;
    if (text.size() <= width) {
      Line(tag, text);
      return;
    }
    const std::string kept = WrapWords(text, width).front();
    notes_.push_back(std::string(tag) + " is longer than a Cabrillo header line allows; only '" +
                     kept + "' is written");
    Line(tag, kept);
  }

  // "TAG: value" lines, the values wrapped at words, at most `maxLines` of them
  // (with a note on what is left out).
  void Repeated(std::string_view tag, const std::vector<std::string>& values, std::size_t lineMax,
                std::size_t maxLines = SIZE_MAX) {
    std::vector<std::string> lines;
    for (const std::string& value : values) {
      for (std::string& piece : WrapWords(PrintableAscii(value), lineMax - tag.size() - 2)) {
        lines.push_back(std::move(piece));
      }
    }
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (i == maxLines) {
        notes_.push_back(std::string(tag) + " has more lines than Cabrillo allows; '" + lines[i] +
                         "' and what follows are left out");
        break;
      }
      Line(tag, lines[i]);
    }
  }

  void Line(std::string_view tag, std::string_view value) {
    out_ += tag;
    out_ += ':';
    if (!value.empty()) {
      out_ += ' ';
      out_ += value;
    }
    out_ += "\r\n";
  }

 private:
  std::string& out_;
  std::vector<std::string>& notes_;
};

}  // namespace

CabrilloSettings ReadCabrilloSettings(const std::string& path, const std::string& ownCall) {
  auto read = [&](const char* key, const std::string& fallback) {
    return ProfileReadString(path, kCabrilloSettingsSection, key, fallback);
  };
  CabrilloSettings s;
  s.operators = read(kKeyOperators, ownCall);
  s.name = read(kKeyName, "");
  s.address = read(kKeyAddress, "");
  s.addressCity = read(kKeyAddressCity, "");
  s.addressState = read(kKeyAddressState, "");
  s.addressPostalCode = read(kKeyAddressPostalCode, "");
  s.addressCountry = read(kKeyAddressCountry, "");
  s.email = read(kKeyEmail, "");
  s.club = read(kKeyClub, "");
  s.location = read(kKeyLocation, kDefaultLocation);
  s.soapbox = read(kKeySoapBox, "");
  s.claimed = read(kKeyClaimed, "");
  return s;
}

CabrilloQso ToCabrilloQso(const ReplayQso& qso, int record, bool stored) {
  CabrilloQso c;
  c.hertz = qso.hertz;
  c.band = qso.band;
  c.mode = qso.mode;
  c.time = qso.time;
  c.call = qso.call;
  c.rstSent = qso.rstSent;
  c.nrSent = qso.nrSent;
  c.rstRcvd = qso.rstRcvd;
  c.nrRcvd = qso.nrRcvd;
  c.stored = stored;
  c.record = record;
  return c;
}

// Cabrillo allows only printable ASCII. Texts come in the system code page
// (Windows-1252) or, from files made elsewhere, UTF-8; both are read: a
// well-formed two-byte UTF-8 sequence for U+0080..U+00FF is taken as that
// character, any other byte as Windows-1252. Latin-1 letters become their plain
// letters (é -> e, ß -> ss, Æ -> AE), the typographic quotes, dashes and the
// ellipsis their ASCII forms, tab, line breaks and the no-break space a blank,
// and everything else "?", so a replaced character still shows where it was.
std::string PrintableAscii(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    unsigned int c = static_cast<unsigned char>(text[i]);
    if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
      continue;
    }
    if ((c == 0xC2 || c == 0xC3) && i + 1 < text.size()) {
      const unsigned int next = static_cast<unsigned char>(text[i + 1]);
      if ((next & 0xC0) == 0x80) {
        c = ((c & 0x1F) << 6) | (next & 0x3F);
        ++i;
      }
    }
    if (c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == 0xA0) {
      out += ' ';
    } else if (c >= 0xC0) {
      out += kLatin1Letters[c - 0xC0];
    } else {
      const auto sign = std::find_if(std::begin(kCodePageSigns), std::end(kCodePageSigns),
                                     [c](const CodePageSign& s) { return s.code == c; });
      out += sign != std::end(kCodePageSigns) ? sign->text : "?";
    }
  }
  return out;
}

std::vector<std::string> WrapWords(std::string_view text, std::size_t width) {
  std::vector<std::string> lines;
  std::string line;
  std::size_t i = 0;
  while (i < text.size()) {
    if (text[i] == ' ') {
      ++i;
      continue;
    }
    const std::size_t end = std::min(text.find(' ', i), text.size());
    std::string_view word = text.substr(i, end - i);
    i = end;
    if (!line.empty() && line.size() + 1 + word.size() <= width) {
      line += ' ';
      line += word;
      continue;
    }
    if (!line.empty()) {
      lines.push_back(std::move(line));
      line.clear();
    }
    while (word.size() > width) {
      lines.emplace_back(word.substr(0, width));
      word.remove_prefix(width);
    }
    line = std::string(word);
  }
  if (!line.empty()) {
    lines.push_back(std::move(line));
  }
  return lines;
}

std::string CabrilloFrequency(unsigned int hertz, std::string_view band) {
  std::string bandName(band);
  if (hertz >= kLowestDesignatorHz) {
    bandName = BandOfFrequency(hertz);
  }
  if (hertz == 0 || hertz >= kLowestDesignatorHz) {
    for (const BandDesignator& b : kBandDesignators) {
      if (SameTextIgnoringCase(b.band, bandName)) {
        return std::string(b.designator);
      }
    }
  }
  // The plug-in's own kilohertz: the hertz divided, the fraction dropped.
  return std::to_string(hertz / 1000);
}

std::string_view CabrilloMode(std::string_view hostMode) {
  for (const ModeColumn& m : kModeColumns) {
    if (SameTextIgnoringCase(m.hostMode, hostMode)) {
      return m.column;
    }
  }
  return "DG";
}

std::string_view CabrilloCategoryMode(const std::vector<std::string_view>& modeColumns) {
  bool allRtty = true;
  bool allDigital = true;
  for (std::string_view m : modeColumns) {
    allRtty = allRtty && m == "RY";
    allDigital = allDigital && (m == "RY" || m == "DG");
  }
  return allRtty ? "RTTY" : allDigital ? "DIGI" : "MIXED";
}

std::string FormatCabrilloQsoLine(std::string_view tag, const CabrilloQso& qso,
                                  const std::string& ownCall) {
  const std::string_view mode = CabrilloMode(qso.mode);
  const char* rst = mode == "PH" || mode == "FM" ? kDefaultRstPhone : kDefaultRstDigital;
  std::string when = "0000-00-00 0000";
  if (HasCalendarTime(qso.time)) {
    when = FormatDateTime(qso.time, "%Y-%m-%d %H%M");
  }
  const std::string fields[] = {
      CabrilloFrequency(qso.hertz, qso.band), std::string(mode),          when,
      Upper(QsoField(ownCall, "-")),          QsoField(qso.rstSent, rst), QsoField(qso.nrSent, "-"),
      Upper(QsoField(qso.call, "-")),         QsoField(qso.rstRcvd, rst), QsoField(qso.nrRcvd, "-"),
  };
  // Column widths of the layout above; the received exchange ends the line
  // and is not padded.
  std::string line(tag);
  AppendColumn(line, fields[0], 5, true);
  AppendColumn(line, fields[1], 2, false);
  AppendColumn(line, fields[2], 0, false);
  AppendColumn(line, fields[3], 13, false);
  AppendColumn(line, fields[4], 3, false);
  AppendColumn(line, fields[5], 6, false);
  AppendColumn(line, fields[6], 13, false);
  AppendColumn(line, fields[7], 3, false);
  AppendColumn(line, fields[8], 0, false);
  return line;
}

std::optional<std::int32_t> ClaimedScoreOfResult(std::string_view resultText) {
  constexpr std::string_view kRow = "Score:";
  std::size_t at = 0;
  while (at != std::string_view::npos) {
    if (resultText.compare(at, kRow.size(), kRow) == 0) {
      break;
    }
    at = resultText.find('\n', at);
    at = at == std::string_view::npos ? at : at + 1;
  }
  if (at == std::string_view::npos) {
    return std::nullopt;
  }
  std::size_t end = resultText.find_first_of("\r\n", at);
  const std::string_view row = resultText.substr(
      at + kRow.size(), end == std::string_view::npos ? end : end - at - kRow.size());
  std::uint32_t sum = 0;
  bool any = false;
  std::size_t i = 0;
  while (i < row.size()) {
    if (row[i] == ' ' || row[i] == '\t') {
      ++i;
      continue;
    }
    bool negative = false;
    if (row[i] == '-') {
      negative = true;
      ++i;
    }
    if (i >= row.size() || !std::isdigit(static_cast<unsigned char>(row[i]))) {
      return std::nullopt;
    }
    std::uint32_t value = 0;
    while (i < row.size() && std::isdigit(static_cast<unsigned char>(row[i]))) {
      value = value * 10u + static_cast<std::uint32_t>(row[i] - '0');
      ++i;
    }
    sum += negative ? 0u - value : value;
    any = true;
  }
  if (!any) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(sum);
}

std::string ClaimedScore(const std::string& settingsClaimed, std::string_view resultText,
                         std::vector<std::string>& notes) {
  const std::optional<std::int32_t> sum = ClaimedScoreOfResult(resultText);
  if (!sum) {
    return settingsClaimed.empty() ? std::string("0") : settingsClaimed;
  }
  const std::string table = std::to_string(*sum);
  if (!settingsClaimed.empty() && settingsClaimed != table) {
    notes.push_back("the settings hold Claimed=" + settingsClaimed +
                    ", which the plug-in did not write in this replay (is the settings file "
                    "writable?); the score table's " +
                    table + " is claimed");
  }
  return table;
}

bool IsPluginReportFileName(std::string_view fileName) {
  for (std::string_view name : kPluginFileNames) {
    if (SameTextIgnoringCase(name, fileName)) {
      return true;
    }
  }
  constexpr std::string_view kSheet = ".sum";
  return fileName.size() >= kSheet.size() &&
         SameTextIgnoringCase(fileName.substr(fileName.size() - kSheet.size()), kSheet);
}

bool IsPluginSettingsFileName(std::string_view fileName) {
  const std::string_view path = kCabrilloSettingsPath;
  return SameTextIgnoringCase(path.substr(path.find('\\') + 1), fileName);
}

CabrilloLogText FormatCabrilloLog(const CabrilloLogInput& input, std::vector<std::string>& notes) {
  // Time order, as robots want it; contacts of one time keep the log's order,
  // and those without a usable time go last.
  std::vector<const CabrilloQso*> order;
  for (const CabrilloQso& q : input.qsos) {
    order.push_back(&q);
  }
  std::stable_sort(order.begin(), order.end(), [](const CabrilloQso* a, const CabrilloQso* b) {
    const bool aTimed = HasCalendarTime(a->time);
    const bool bTimed = HasCalendarTime(b->time);
    if (aTimed != bTimed) {
      return aTimed;
    }
    return aTimed && a->time.m_dt < b->time.m_dt;
  });

  std::vector<std::string_view> scoredModes;
  for (const CabrilloQso* q : order) {
    if (!q->stored) {
      continue;
    }
    if (HasCalendarTime(q->time)) {
      scoredModes.push_back(CabrilloMode(q->mode));
    } else {
      notes.push_back("record " + std::to_string(q->record) + " (" + q->call +
                      ") was stored by the plug-in but has no date and time a Cabrillo QSO "
                      "line can hold; it is written as X-QSO");
    }
  }

  const CabrilloSettings& s = input.settings;
  CabrilloLogText log;
  std::string& out = log.bytes;
  HeaderWriter header(out, notes);
  header.Line("START-OF-LOG", "3.0");
  header.Single("CREATED-BY", input.createdBy);
  header.Line("CONTEST", kContest);
  header.Single("CALLSIGN", Upper(input.callsign));
  header.Single("LOCATION", s.location.empty() ? kDefaultLocation : s.location);
  header.Line("CATEGORY-OPERATOR", kCategoryOperator);
  header.Line("CATEGORY-ASSISTED", kCategoryAssisted);
  header.Line("CATEGORY-BAND", kCategoryBand);
  header.Line("CATEGORY-MODE", CabrilloCategoryMode(scoredModes));
  header.Line("CATEGORY-POWER", kCategoryPower);
  header.Line("CATEGORY-STATION", kCategoryStation);
  header.Line("CATEGORY-TRANSMITTER", kCategoryTransmitter);
  header.Single("CLAIMED-SCORE", input.claimedScore);
  header.Single("CLUB", s.club);
  header.Repeated("OPERATORS", {s.operators.empty() ? input.callsign : s.operators},
                  kHeaderLineMax);
  header.Single("NAME", s.name);
  header.Single("EMAIL", s.email);
  // The form keeps an address typed on one line with "<CR>" where a new line
  // begins; "<LF>" marks nothing of its own.
  header.Repeated("ADDRESS", SplitAtMarkers(s.address, {"<CR><LF>", "<CR>", "<LF>"}),
                  kAddressLineMax, kAddressLinesMax);
  header.Single("ADDRESS-CITY", s.addressCity);
  header.Single("ADDRESS-STATE-PROVINCE", s.addressState);
  header.Single("ADDRESS-POSTALCODE", s.addressPostalCode);
  header.Single("ADDRESS-COUNTRY", s.addressCountry);
  header.Repeated("SOAPBOX", SplitAtMarkers(s.soapbox, {"<CR><LF>", "<CR>", "<LF>"}),
                  kHeaderLineMax);

  for (const CabrilloQso* q : order) {
    const bool scored = q->stored && HasCalendarTime(q->time);
    out += FormatCabrilloQsoLine(scored ? "QSO:" : "X-QSO:", *q, input.callsign);
    out += "\r\n";
    ++(scored ? log.qsoLines : log.xQsoLines);
  }
  header.Line("END-OF-LOG", "");
  return log;
}
