#include "tools/replay/cabrillo_qso_line.h"

#include <algorithm>
#include <iterator>

#include "platform/text.h"
#include "tools/replay/cabrillo_mode.h"
#include "tools/replay/host_qso.h"
#include "tools/replay/printable_ascii.h"

namespace {

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

// The reports a log leaves out most often: what was sent in nearly every
// contact of the mode. A robot cannot read a QSO line with the column missing.
constexpr char kDefaultRstDigital[] = "599";
constexpr char kDefaultRstPhone[] = "59";

// The columns of the layout above, in order: width and alignment. The date
// and time are one field of fixed size; the received exchange ends the line
// and is not padded.
struct Column {
  std::size_t width;
  bool right;
};

constexpr Column kColumns[] = {
    {5, true},   {2, false}, {0, false},  // freq, mode, date and time
    {13, false}, {3, false}, {6, false},  // sent: call, rst, exchange
    {13, false}, {3, false}, {0, false},  // received: call, rst, exchange
};

// One field of a QSO line: a single token of printable ASCII.
std::string QsoField(std::string_view value, std::string_view ifEmpty) {
  const std::string printable = PrintableAscii(value);
  std::string field(TrimWhiteSpace(printable));
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

}  // namespace

bool HasCabrilloTime(const COleDateTime& time) {
  CalendarFields fields;
  return time.m_status == COleDateTime::valid && ToCalendarFields(time.m_dt, fields);
}

std::string CabrilloFrequency(unsigned int hertz, std::string_view band) {
  std::string bandName(band);
  if (hertz >= kLowestDesignatorHz) {
    bandName = BandOfFrequency(hertz);
  }
  if (hertz == 0 || hertz >= kLowestDesignatorHz) {
    for (const BandDesignator& b : kBandDesignators) {
      if (EqualsNoCase(b.band, bandName)) {
        return std::string(b.designator);
      }
    }
  }
  // The plug-in's own kilohertz: the hertz divided, the fraction dropped.
  return std::to_string(hertz / 1000);
}

std::string FormatCabrilloQsoLine(std::string_view tag, const HostContact& qso,
                                  const std::string& ownCall) {
  const std::string_view mode = CabrilloMode(qso.mode);
  const char* rst = mode == "PH" || mode == "FM" ? kDefaultRstPhone : kDefaultRstDigital;
  std::string when = "0000-00-00 0000";
  if (HasCabrilloTime(qso.time)) {
    when = FormatDateTime(qso.time, "%Y-%m-%d %H%M");
  }
  const std::string fields[std::size(kColumns)] = {
      CabrilloFrequency(qso.hertz, qso.band), std::string(mode),          when,
      ToUpperAscii(QsoField(ownCall, "-")),   QsoField(qso.rstSent, rst), QsoField(qso.nrSent, "-"),
      ToUpperAscii(QsoField(qso.call, "-")),  QsoField(qso.rstRcvd, rst), QsoField(qso.nrRcvd, "-"),
  };
  std::string line(tag);
  for (std::size_t i = 0; i < std::size(kColumns); ++i) {
    AppendColumn(line, fields[i], kColumns[i].width, kColumns[i].right);
  }
  return line;
}
